#include "results/WholeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace {

QString Failure(const QString &file, const QString &reason) {
    return QStringLiteral("cannot write \"%1\": %2").arg(file, reason);
}

} // namespace

QString WriteWholeFile(const QString &file, QByteArrayView content) {
    if (file.isEmpty()) return QStringLiteral("cannot write a file without a name");
    // A folder or a device under that name is not replaced by a file.
    const QFileInfo info(file);
    if (info.exists() && !info.isFile()) return Failure(file, QStringLiteral("not a regular file"));
    QSaveFile out(file);
    // Never written in place: a failure part way would leave a damaged file.
    out.setDirectWriteFallback(false);
    // Unbuffered, so the write itself meets and reports a failure rather than a later flush.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure(file, out.errorString());
    // A short write sets no error; the next one meets the cause (a full disk) and reports it.
    for (qsizetype done = 0; done < content.size();) {
        const qint64 written = out.write(content.data() + done, content.size() - done);
        if (written <= 0) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return Failure(file, reason);
        }
        done += written;
    }
    // The flush and the close happen here; the earlier file is replaced only when both succeed.
    if (!out.commit()) return Failure(file, out.errorString());
    return QString();
}

QByteArray PngBytes(const QImage &image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    if (!writer.write(image)) return QByteArray();
    return bytes;
}
