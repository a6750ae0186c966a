#include "results/ResultsPdf.h"

#include "results/Chart.h"
#include "results/CheckChart.h"
#include "results/FontSetup.h"
#include "results/Image.h"
#include "results/PageZoom.h"
#include "results/RunTarget.h"
#include "results/WholeFile.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollArea>
#include <QTabWidget>

#include <algorithm>
#include <vector>

namespace {

// Device units of the PDF: the screen's 96 dpi, so the pages' pixel geometry, the fonts' pixel
// sizes and the one-pixel lines keep their proportions. The output stays vector graphics.
constexpr int Resolution = 96;
constexpr int HeaderHeight = 40;
constexpr int FooterHeight = 22;

const QString ComicFace = QStringLiteral("Comic Sans MS");

void PaintLabel(QPainter &painter, const QLabel &label) {
    if (label.text().isEmpty()) return;
    painter.save();
    painter.setFont(label.font());
    painter.setPen(label.palette().color(QPalette::WindowText));
    // Wide enough for the whole text: on paper nothing is cut at the label's edge.
    QRect box = label.geometry();
    box.setWidth(std::max(box.width(), painter.fontMetrics().horizontalAdvance(label.text()) + 2));
    painter.drawText(box, static_cast<int>(label.alignment()) | Qt::TextSingleLine, label.text());
    painter.restore();
}

// A chart view's scene, whose lines and texts stay vectors on the PDF. A view that was never
// shown has not laid its chart out at its size yet, so it is laid out first.
void PaintChart(QPainter &painter, QChartView &view) {
    QChart *plot = view.chart();
    plot->resize(view.size());
    if (QGraphicsLayout *layout = plot->layout()) layout->activate();
    painter.save();
    view.scene()->render(&painter, QRectF(view.geometry()), QRectF(QPointF(0, 0), view.size()),
                         Qt::IgnoreAspectRatio);
    painter.restore();
}

// The widgets of one tab page, placed at their page geometry.
void PaintPage(QPainter &painter, QWidget &page, TFrmRunTarget &target) {
    for (QObject *child : page.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || !widget->isVisibleTo(&page) || widget->property("notInReport").toBool())
            continue;
        const QRect box = widget->geometry();
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            PaintLabel(painter, *label);
        } else if (auto *chart = qobject_cast<TChart *>(widget)) {
            chart->Flush();
            PaintChart(painter, *chart);
        } else if (auto *check = qobject_cast<TCheckChart *>(widget)) {
            check->Flush();
            PaintChart(painter, *check);
        } else {
            for (int n = 1; n <= 11; ++n) {
                if (target.Image(n).Widget() != widget) continue;
                painter.save();
                painter.translate(box.topLeft());
                TQtImageArea area(painter, box.width(), box.height());
                area.Replay(target.Image(n).Log());
                painter.restore();
            }
        }
    }
}

} // namespace

bool PaintResultsReport(const QTabWidget &pages, TFrmRunTarget &target, QPagedPaintDevice &device,
                        const QString &heading) {
    const QTabWidget *tabs = &pages;
    // Paper shows the pages as laid out, whatever the zoom on screen.
    const TPageZoom::TUnzoomed unzoomed(pages);

    QPainter painter;
    if (!painter.begin(&device)) return false;
    // Everything below is laid out in 96-dpi units, whatever the device's resolution.
    const double dpiX = device.logicalDpiX() / double(Resolution);
    const double dpiY = device.logicalDpiY() / double(Resolution);
    painter.scale(dpiX, dpiY);
    const int width = int(device.width() / dpiX), height = int(device.height() / dpiY);
    const QFont captionFont = ClassicFont(ComicFace, 20, true);
    const QFont smallFont = ClassicFont(ComicFace, 12);

    // The pages of the report: every tab but those marked as not part of it.
    // A tab holds its page in the area that scrolls it.
    auto pageOf = [tabs](int i) {
        QWidget *page = tabs->widget(i);
        if (auto *scroll = qobject_cast<QScrollArea *>(page); scroll && scroll->widget())
            page = scroll->widget();
        return page;
    };
    std::vector<int> reportTabs;
    for (int i = 0; i < tabs->count(); ++i)
        if (!pageOf(i)->property("notInReport").toBool()) reportTabs.push_back(i);
    const int pageCount = static_cast<int>(reportTabs.size());
    for (int n = 0; n < pageCount; ++n) {
        const int i = reportTabs[static_cast<size_t>(n)];
        if (n > 0 && !device.newPage()) return false;
        QWidget *page = pageOf(i);

        painter.setPen(Qt::black);
        painter.setFont(captionFont);
        painter.drawText(QRect(0, 0, width, HeaderHeight - 8), Qt::AlignLeft | Qt::AlignBottom,
                         tabs->tabText(i).trimmed());
        painter.setFont(smallFont);
        painter.drawText(QRect(0, 0, width, HeaderHeight - 8), Qt::AlignRight | Qt::AlignBottom,
                         heading);
        painter.drawText(QRect(0, height - FooterHeight, width, FooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 / %2").arg(n + 1).arg(pageCount));

        // The page's contents, scaled to fit between header and footer.
        const QSize size = page->size();
        const double scale = std::min(double(width) / size.width(),
                                      double(height - HeaderHeight - FooterHeight) / size.height());
        painter.save();
        painter.translate((width - size.width() * scale) / 2, HeaderHeight);
        painter.scale(scale, scale);
        painter.setClipRect(QRect(QPoint(0, 0), size));
        PaintPage(painter, *page, target);
        painter.restore();
    }
    return painter.end();
}

bool WriteResultsPdf(const QTabWidget &pages, TFrmRunTarget &target, const QString &file,
                     const QString &heading, QString &error, QString *russian) {
    // Made in memory and written whole: a full disk leaves no truncated report.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(Resolution);
        pdf.setTitle(QStringLiteral("Zelvano: ") + heading);
        pdf.setCreator(QStringLiteral("Zelvano"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        if (!PaintResultsReport(pages, target, pdf, heading)) {
            error = QStringLiteral("cannot make the report for \"%1\"").arg(file);
            if (russian)
                *russian = QCoreApplication::translate("ResultsPdf",
                                                       "Не удалось составить отчёт для файла «%1».")
                               .arg(QDir::toNativeSeparators(file));
            return false;
        }
    }
    error = WriteWholeFile(file, bytes, russian);
    return error.isEmpty();
}
