// The results window as one self-contained HTML5 lesson: every report page in tab order with its
// title; texts as text; formulas as inline SVG drawn by the formula engine at their page size,
// each with role="math", its speech text as label and its MathML beside it; charts as inline SVG
// with their axes, titles and a legend; the check page's fits as tables. Nothing is loaded from
// elsewhere; it reads on a phone's narrow screen and prints one page per section.
#pragma once

#include <QByteArray>
#include <QString>

class QTabWidget;
class TFrmRunTarget;
struct TRunResult;

// The lesson of the tab pages (TabSheet1 .. TabSheet12, in tab order), whose image areas target
// paints on and which show run; run, when given, also fills the check page's tables.
QByteArray LessonHtml(const QTabWidget &pages, TFrmRunTarget &target, const TRunResult *run,
                      const QString &heading);

// Writes that lesson whole or not at all: false with a one-line message in error (naming the file
// and the reason), and the same as a Russian sentence in russian when given.
bool WriteLessonHtml(const QTabWidget &pages, TFrmRunTarget &target, const TRunResult *run,
                     const QString &file, const QString &heading, QString &error,
                     QString *russian = nullptr);
