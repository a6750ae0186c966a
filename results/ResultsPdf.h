// The results window as a printable report: one A4 landscape page per tab page, in tab order,
// each with what the tab shows. Image areas are painted again from their logs with the same
// drawing code as on the screen, now as vector graphics, and charts are rendered as vectors.
#pragma once

#include <QString>

class TFrmRun;
class TFrmRunTarget;

// Writes the report of the window that target paints on to file; heading goes at the top of
// every page. False with a message in error when the file cannot be written.
bool WriteResultsPdf(TFrmRunTarget &target, const QString &file, const QString &heading,
                     QString &error);
