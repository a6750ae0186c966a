#include "results/WholeFile.h"

#include <QSaveFile>

bool WriteWholeFile(const QString &path, const std::function<bool(QIODevice &, QString &)> &write,
                    QString &error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (!write(file, error)) {
        file.cancelWriting();
        return false;
    }
    // A write error seen on the way is kept by the file and makes commit fail.
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString &error) {
    return WriteWholeFile(
        path,
        [&bytes](QIODevice &file, QString &reason) {
            if (file.write(bytes) == bytes.size()) return true;
            reason = file.errorString();
            return false;
        },
        error);
}
