// The results window as a printable report: one A4 landscape page per tab page, in tab order,
// each with what the tab shows. Image areas are painted again from their logs with the same
// drawing code as on the screen, now as vector graphics, and charts are rendered as vectors.
#pragma once

#include <QString>

class TFrmRun;
class TFrmRunTarget;

// Writes the report of the window that target paints on to file; heading goes at the top of
// every page. The file is written whole or not at all: false with a one-line message in error
// (naming the file and the reason) when it cannot be written.
bool WriteResultsPdf(TFrmRunTarget &target, const QString &file, const QString &heading,
                     QString &error);
