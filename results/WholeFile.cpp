#include "results/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>

namespace {

// Sets both texts of a failure and returns the English line.
QString Failure(const QString &file, int error, const QString &reason, QString *russian) {
    if (russian) *russian = RussianWriteFailure(file, error, reason);
    return QStringLiteral("cannot write \"%1\": %2").arg(file, reason);
}

} // namespace

QString RussianWriteFailure(const QString &file, int error, const QString &systemText) {
    QString reason;
    switch (error) {
    case ENOSPC:
        reason = QStringLiteral("нет места на диске");
        break;
    case EDQUOT:
        reason = QStringLiteral("превышена дисковая квота");
        break;
    case EFBIG:
        reason = QStringLiteral("файл слишком велик");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("нет прав на запись");
        break;
    case EROFS:
        reason = QStringLiteral("диск доступен только для чтения");
        break;
    case EISDIR:
        reason = QStringLiteral("это папка, а не файл");
        break;
    case ENOENT:
        reason = QStringLiteral("такой папки нет");
        break;
    case ENOTDIR:
        reason = QStringLiteral("часть пути — не папка");
        break;
    case ENAMETOOLONG:
        reason = QStringLiteral("слишком длинное имя");
        break;
    case EIO:
        reason = QStringLiteral("ошибка ввода-вывода");
        break;
    default:
        reason = systemText;
        break;
    }
    return QStringLiteral("Не удалось записать файл «%1»: %2.")
        .arg(QDir::toNativeSeparators(file), reason);
}

QString WriteWholeFile(const QString &file, QByteArrayView content, QString *russian) {
    if (file.isEmpty()) {
        if (russian) *russian = QStringLiteral("Не удалось записать файл: у него нет имени.");
        return QStringLiteral("cannot write a file without a name");
    }
    // A folder or a device under that name is not replaced by a file.
    const QFileInfo info(file);
    if (info.exists() && !info.isFile()) {
        const QString line = QStringLiteral("cannot write \"%1\": not a regular file").arg(file);
        if (russian)
            *russian = info.isDir() ? RussianWriteFailure(file, EISDIR, QString())
                                    : QStringLiteral("Не удалось записать файл «%1»: это не "
                                                     "обычный файл.")
                                          .arg(QDir::toNativeSeparators(file));
        return line;
    }
    QSaveFile out(file);
    // Never written in place: a failure part way would leave a damaged file.
    out.setDirectWriteFallback(false);
    // Unbuffered, so the write itself meets and reports a failure rather than a later flush.
    // errno is read right after each failing call: it names the cause.
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure(file, errno, out.errorString(), russian);
    // A short write sets no error; the next one meets the cause (a full disk) and reports it.
    for (qsizetype done = 0; done < content.size();) {
        errno = 0;
        const qint64 written = out.write(content.data() + done, content.size() - done);
        if (written <= 0) {
            const int error = errno;
            const QString reason = out.errorString();
            out.cancelWriting();
            return Failure(file, error, reason, russian);
        }
        done += written;
    }
    // The flush and the close happen here; the earlier file is replaced only when both succeed.
    errno = 0;
    if (!out.commit()) return Failure(file, errno, out.errorString(), russian);
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
