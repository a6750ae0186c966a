// Output files written whole or not at all. The bytes go to a temporary file in the target's
// folder, which replaces the target only after every write, the flush and the close succeeded;
// on any failure the temporary file is removed and an earlier file of that name stays as it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QImage;

// Writes content to file. Returns the empty text when it is done, else one line naming the file
// and the system's reason, for example
//   cannot write "/tmp/r.pdf": No space left on device
// and then, when russian is given, the same as one Russian sentence for the window, for example
//   Не удалось записать файл «/tmp/r.pdf»: нет места на диске.
QString WriteWholeFile(const QString &file, QByteArrayView content, QString *russian = nullptr);

// The Russian sentence of a file that cannot be written: the reason in Russian for the common
// system errors (errno values), else the system's own text.
QString RussianWriteFailure(const QString &file, int error, const QString &systemText);

// The PNG encoding of image, made in memory: the encoder then never meets a failing disk (and
// never prints its own complaint about one). Empty when the image cannot be encoded.
QByteArray PngBytes(const QImage &image);
