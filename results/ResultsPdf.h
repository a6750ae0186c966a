// The results window as a printable report: one A4 landscape page per tab page, in tab order,
// each with what the tab shows. Image areas are painted again from their logs with the same
// drawing code as on the screen, now as vector graphics, and charts are rendered as vectors.
#pragma once

#include <QString>

class QPagedPaintDevice;
class QTabWidget;
class TFrmRunTarget;

// Paints the report of the tab pages, whose image areas target paints on, heading at the top of
// every page, on the pages of device (a PDF writer, or a printer with the paper and margins its
// user chose). False when the device cannot be painted on.
bool PaintResultsReport(const QTabWidget &pages, TFrmRunTarget &target, QPagedPaintDevice &device,
                        const QString &heading);

// Writes that report as an A4 landscape PDF file. The file is written whole or not at all: false
// with a one-line message in error (naming the file and the reason) when it cannot be written,
// and the same as a Russian sentence in russian when given.
bool WriteResultsPdf(const QTabWidget &pages, TFrmRunTarget &target, const QString &file,
                     const QString &heading, QString &error, QString *russian = nullptr);
