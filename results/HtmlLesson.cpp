#include "results/HtmlLesson.h"

#include "analysis/CheckPage.h"
#include "results/Chart.h"
#include "results/CheckChart.h"
#include "results/FormulaShare.h"
#include "results/Image.h"
#include "results/PageReading.h"
#include "results/RunTarget.h"
#include "results/WholeFile.h"
#include "runtime/Language.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLabel>
#include <QLegend>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QXYSeries>

#include <cmath>
#include <map>

namespace {

// The report pages, the exploring page left out.
constexpr int ReportPages = 12;

const char *const Style = R"(
:root{color-scheme:light}
body{font-family:"DejaVu Sans",Arial,sans-serif;line-height:1.45;color:#111;background:#fff;
margin:0 auto;max-width:1160px;padding:0 12px 24px}
header h1{font-size:1.6em;margin:.6em 0 .1em}
nav ol{padding-left:1.4em;columns:2 14em}
h2{font-size:1.35em;border-bottom:2px solid #246;margin:1.6em 0 .5em;padding-bottom:.1em}
p,li,figcaption{overflow-wrap:anywhere}
.area{margin:.6em 0}
.row{display:flex;flex-wrap:wrap;align-items:center;column-gap:.6em;margin:.15em 0;min-height:1em}
.row>p{margin:0}
.formula{max-width:100%;overflow-x:auto;overflow-y:hidden}
.formula svg{display:block}
.mathml{display:none}
.glyphs{position:absolute}
.label{font-weight:bold;margin:.8em 0 .2em}
figure.chart{margin:.6em 0 1.2em}
figure.chart svg{display:block;width:100%;height:auto}
.legend{list-style:none;padding:0;margin:.2em 0;display:flex;flex-wrap:wrap;gap:.3em 1.2em}
.swatch{display:inline-block;width:1.4em;height:.3em;vertical-align:middle;margin-right:.4em}
.swatch.dots{width:.5em;height:.5em}
.tables{overflow-x:auto;max-width:100%}
table{border-collapse:collapse;margin:.5em 0 1em}
caption{text-align:left;font-weight:bold;padding:.2em 0}
th,td{border:1px solid #999;padding:.15em .5em}
td{white-space:nowrap}
td{text-align:right;font-variant-numeric:tabular-nums}
td:first-child{text-align:left}
@media print{
nav{display:none}
body{max-width:none;padding:0}
section.page{break-before:page}
main>section.page:first-child{break-before:auto}
.formula,.tables{overflow:visible}
figure.chart,table,.row{break-inside:avoid}
}
)";

QString Escaped(const QString &text) {
    return text.toHtmlEscaped();
}

QString Utf8(const std::string &text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Number(double value) {
    if (!std::isfinite(value)) return QStringLiteral("—");
    return QString::number(value, 'g', 6).replace(u'.', u',').replace(u'-', QChar(0x2212));
}

// A formula as its SVG with the speech text as label, and its MathML beside it.
QString FormulaHtml(const TAreaOp &op) {
    const TFormulaTexts texts = FormulaTexts(op.Text, op.FontHeight);
    QByteArray svg = FormulaSvg(op.Text, op.FontHeight, op.Framed);
    if (svg.isEmpty()) return {};
    const QString label = Escaped(Utf8(texts.Speech));
    svg.replace(
        0, 4,
        QStringLiteral("<svg role=\"math\" aria-label=\"%1\" class=\"f\"").arg(label).toUtf8());
    QString html = QStringLiteral("<div class=\"formula\">") + QString::fromUtf8(svg);
    if (!texts.MathML.empty())
        html += QStringLiteral("<span class=\"mathml\" aria-hidden=\"true\">") +
                Utf8(texts.MathML) + QStringLiteral("</span>");
    return html + QStringLiteral("</div>\n");
}

QString AreaHtml(const TQtImageArea &area) {
    QString html = QStringLiteral("<div class=\"area\">\n");
    for (const auto &row : ReadingRows(area.Log())) {
        html += QStringLiteral("<div class=\"row\">");
        for (const TAreaOp *op : row) {
            if (op->Kind == TAreaOp::KText) {
                const QString text = OpText(*op).trimmed();
                if (!text.isEmpty())
                    html +=
                        QStringLiteral("<p%1>%2</p>")
                            .arg(op->Font.Style ? QStringLiteral(" class=\"label\"") : QString(),
                                 Escaped(text));
            } else {
                html += FormulaHtml(*op);
            }
        }
        html += QStringLiteral("</div>\n");
    }
    return html + QStringLiteral("</div>\n");
}

QString ChartHtml(TChartBase &chart) {
    chart.Flush();
    QChart *plot = chart.chart();
    plot->resize(chart.size());
    if (QGraphicsLayout *layout = plot->layout()) layout->activate();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(96);
        svg.setSize(chart.size());
        svg.setViewBox(QRect(QPoint(0, 0), chart.size()));
        QPainter painter;
        if (!painter.begin(&svg)) return {};
        chart.scene()->render(&painter, QRectF(QPointF(0, 0), chart.size()),
                              QRectF(QPointF(0, 0), chart.size()), Qt::IgnoreAspectRatio);
        painter.end();
    }
    bytes = InlineSvg(bytes);
    if (bytes.isEmpty()) return {};
    const QString summary = Escaped(ChartSummary(chart));
    bytes.replace(0, 4,
                  QStringLiteral("<svg role=\"img\" aria-label=\"%1\" style=\"max-width:%2px\"")
                      .arg(summary)
                      .arg(chart.width())
                      .toUtf8());
    QString html = QStringLiteral("<figure class=\"chart\">") + QString::fromUtf8(bytes);
    // A chart without a legend of its own gets one below.
    if (plot->legend()->isVisible()) return html + QStringLiteral("</figure>\n");
    html += QStringLiteral("<figcaption><ul class=\"legend\">");
    for (int i : DrawnSeries(chart)) {
        const TChartLine *line = &chart.Series(i);
        const QColor colour = line->View() ? line->View()->color() : QColor(Qt::black);
        const bool dots = qobject_cast<const QScatterSeries *>(line->View());
        html +=
            QStringLiteral("<li><span class=\"swatch%1\" style=\"background:%2\"></span>%3</li>")
                .arg(dots ? QStringLiteral(" dots") : QString(), colour.name(),
                     Escaped(SeriesName(chart, i)));
    }
    return html + QStringLiteral("</ul></figcaption></figure>\n");
}

// The fits of both populations as tables.
QString CheckTables(const TCheckPage &check) {
    QString html = QStringLiteral("<div class=\"tables\">\n");
    for (std::size_t p = 0; p < check.Population.size(); ++p) {
        const TPopulationCheck &population = check.Population[p];
        html += QStringLiteral("<table><caption>%2</caption>\n"
                               "<tr><th scope=\"col\">%3</th><th scope=\"col\">A</th>"
                               "<th scope=\"col\">r</th><th scope=\"col\">S</th>"
                               "<th scope=\"col\">RSS</th><th scope=\"col\">AICc</th>"
                               "<th scope=\"col\">ΔAICc</th><th scope=\"col\">%4</th></tr>\n")
                    .arg(QCoreApplication::translate("HtmlLesson", "Популяция %1: подбор моделей")
                             .arg(p + 1),
                         QCoreApplication::translate("HtmlLesson", "Модель"),
                         QCoreApplication::translate("HtmlLesson", "Вес"));
        for (const TModelFit &fit : population.Fit.Models) {
            html += QStringLiteral("<tr><th scope=\"row\">%1</th>")
                        .arg(Escaped(Utf8(FitModelHeading(fit.Model))));
            if (!fit.Determined()) {
                html += QStringLiteral("<td colspan=\"7\">%1</td></tr>\n")
                            .arg(QCoreApplication::translate("HtmlLesson", "не определена"));
                continue;
            }
            auto cell = [&](bool has, double value) {
                html +=
                    QStringLiteral("<td>%1</td>").arg(has ? Number(value) : QStringLiteral("—"));
            };
            cell(true, fit.A());
            cell(true, fit.Rate());
            cell(fit.ParameterCount > 2, fit.S());
            cell(true, fit.Rss);
            cell(fit.HasAicc, fit.Aicc);
            cell(fit.HasWeight, fit.DeltaAicc);
            cell(fit.HasWeight, fit.Weight);
            html += QStringLiteral("</tr>\n");
        }
        html += QStringLiteral("</table>\n");
    }
    return html + QStringLiteral("</div>\n");
}

QString PageHtml(TFrmRunTarget &target, const TRunResult *run, QWidget &page) {
    QString html;
    bool check = false;
    for (QWidget *widget : ReadingOrder(page)) {
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (!label->text().trimmed().isEmpty())
                html += QStringLiteral("<p class=\"label\">%1</p>\n")
                            .arg(Escaped(label->text().trimmed()));
        } else if (auto *chart = qobject_cast<TChartBase *>(widget)) {
            check = check || qobject_cast<TCheckChart *>(widget);
            html += ChartHtml(*chart);
        } else {
            for (int n = 1; n <= 11; ++n)
                if (target.Image(n).Widget() == widget) html += AreaHtml(target.Image(n));
        }
    }
    if (check && run && run->Check) html += CheckTables(*run->Check);
    return html;
}

// A path drawn more than once in the lesson (the same letter in the same size) is written once
// and used by reference: the formulas then take a fraction of the room.
QString ShareRepeatedPaths(const QString &html) {
    static const QRegularExpression pathElement(
        QStringLiteral("<path fill-rule=\"evenodd\" d=\"([^\"]{40,})\"/>"));
    std::map<QString, int> uses;
    for (auto m = pathElement.globalMatch(html); m.hasNext();)
        ++uses[m.next().captured(1)];
    std::map<QString, int> ids;
    QString defs;
    for (const auto &[d, count] : uses) {
        if (count < 2) continue;
        const int id = static_cast<int>(ids.size());
        ids.emplace(d, id);
        defs +=
            QStringLiteral("<path id=\"g%1\" fill-rule=\"evenodd\" d=\"%2\"/>\n").arg(id).arg(d);
    }
    if (ids.empty()) return html;
    QString out;
    out.reserve(html.size());
    qsizetype from = 0;
    for (auto m = pathElement.globalMatch(html); m.hasNext();) {
        const QRegularExpressionMatch path = m.next();
        const auto id = ids.find(path.captured(1));
        if (id == ids.end()) continue;
        out += QStringView(html).mid(from, path.capturedStart() - from);
        out += QStringLiteral("<use href=\"#g%1\"/>").arg(id->second);
        from = path.capturedEnd();
    }
    out += QStringView(html).mid(from);
    const QString body = QStringLiteral("<body>\n");
    const qsizetype at = out.indexOf(body);
    out.insert(at + body.size(), QStringLiteral("<svg class=\"glyphs\" aria-hidden=\"true\" "
                                                "width=\"0\" height=\"0\"><defs>\n") +
                                     defs + QStringLiteral("</defs></svg>\n"));
    return out;
}

} // namespace

QByteArray LessonHtml(const QTabWidget &tabs, TFrmRunTarget &target, const TRunResult *run,
                      const QString &heading) {
    struct TPage {
        QWidget *Widget;
        QString Title;
    };
    // A page may sit inside a scrolling frame on its tab.
    static const QRegularExpression sheet(QStringLiteral("^TabSheet(\\d+)$"));
    std::vector<TPage> pages;
    for (int i = 0; i < tabs.count(); ++i) {
        QWidget *page = tabs.widget(i);
        if (!sheet.match(page->objectName()).hasMatch()) {
            const QList<QWidget *> inside = page->findChildren<QWidget *>(sheet);
            page = inside.isEmpty() ? nullptr : inside.first();
        }
        if (!page || sheet.match(page->objectName()).captured(1).toInt() > ReportPages) continue;
        pages.push_back({page, tabs.tabText(i).trimmed()});
    }

    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%3\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'; img-src data:\">\n"
                       "<meta name=\"generator\" content=\"Zelvano\">\n"
                       "<title>Zelvano: %1</title>\n<style>%2</style>\n</head>\n<body>\n"
                       "<header><h1>Zelvano</h1><p>%1</p>\n<nav aria-label=\"%4\"><ol>\n")
            .arg(Escaped(heading), QString::fromUtf8(Style),
                 TextLanguage() == TLanguage::English ? QStringLiteral("en") : QStringLiteral("ru"),
                 QCoreApplication::translate("HtmlLesson", "Страницы"));
    for (std::size_t i = 0; i < pages.size(); ++i)
        html += QStringLiteral("<li><a href=\"#page-%1\">%2</a></li>\n")
                    .arg(i + 1)
                    .arg(Escaped(pages[i].Title));
    html += QStringLiteral("</ol></nav></header>\n<main>\n");
    for (std::size_t i = 0; i < pages.size(); ++i)
        html +=
            QStringLiteral("<section class=\"page\" id=\"page-%1\" aria-labelledby=\"title-%1\">\n"
                           "<h2 id=\"title-%1\">%2</h2>\n%3</section>\n")
                .arg(i + 1)
                .arg(Escaped(pages[i].Title), PageHtml(target, run, *pages[i].Widget));
    html += QStringLiteral("</main>\n</body>\n</html>\n");
    return ShareRepeatedPaths(html).toUtf8();
}

bool WriteLessonHtml(const QTabWidget &pages, TFrmRunTarget &target, const TRunResult *run,
                     const QString &file, const QString &heading, QString &error,
                     QString *russian) {
    error = WriteWholeFile(file, LessonHtml(pages, target, run, heading), russian);
    return error.isEmpty();
}
