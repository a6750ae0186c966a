#include "results/WholeFile.h"

#include <QBuffer>
#include <QCoreApplication>
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
    static const struct {
        int Error;
        const char *Reason;
    } reasons[] = {
        {ENOSPC, QT_TRANSLATE_NOOP("WholeFile", "нет места на диске")},
        {EDQUOT, QT_TRANSLATE_NOOP("WholeFile", "превышена дисковая квота")},
        {EFBIG, QT_TRANSLATE_NOOP("WholeFile", "файл слишком велик")},
        {EACCES, QT_TRANSLATE_NOOP("WholeFile", "нет прав на запись")},
        {EPERM, QT_TRANSLATE_NOOP("WholeFile", "нет прав на запись")},
        {EROFS, QT_TRANSLATE_NOOP("WholeFile", "диск доступен только для чтения")},
        {EISDIR, QT_TRANSLATE_NOOP("WholeFile", "это папка, а не файл")},
        {ENOENT, QT_TRANSLATE_NOOP("WholeFile", "такой папки нет")},
        {ENOTDIR, QT_TRANSLATE_NOOP("WholeFile", "часть пути — не папка")},
        {ENAMETOOLONG, QT_TRANSLATE_NOOP("WholeFile", "слишком длинное имя")},
        {EIO, QT_TRANSLATE_NOOP("WholeFile", "ошибка ввода-вывода")},
    };
    QString reason = systemText;
    for (const auto &r : reasons)
        if (r.Error == error) reason = QCoreApplication::translate("WholeFile", r.Reason);
    return QCoreApplication::translate("WholeFile", "Не удалось записать файл «%1»: %2.")
        .arg(QDir::toNativeSeparators(file), reason);
}

QString WriteWholeFile(const QString &file, QByteArrayView content, QString *russian) {
    if (file.isEmpty()) {
        if (russian)
            *russian = QCoreApplication::translate("WholeFile",
                                                   "Не удалось записать файл: у него нет имени.");
        return QStringLiteral("cannot write a file without a name");
    }
    // A folder or a device under that name is not replaced by a file.
    const QFileInfo info(file);
    if (info.exists() && !info.isFile()) {
        const QString line = QStringLiteral("cannot write \"%1\": not a regular file").arg(file);
        if (russian)
            *russian = info.isDir()
                           ? RussianWriteFailure(file, EISDIR, QString())
                           : QCoreApplication::translate("WholeFile",
                                                         "Не удалось записать файл «%1»: это не "
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
