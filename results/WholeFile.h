// Writing a file whole or not at all: the content goes to a temporary file beside the target,
// which replaces the target only once everything is written. A failure leaves an earlier file
// of that name as it was and no partial file.
#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Calls write with the open temporary file, then puts it in place of path. write returns
// false (after filling error) to give up. False, with the reason in error, when the file
// cannot be written.
bool WriteWholeFile(const QString &path, const std::function<bool(QIODevice &, QString &)> &write,
                    QString &error);

// The same for bytes held in memory.
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString &error);
