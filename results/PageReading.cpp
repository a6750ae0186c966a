#include "results/PageReading.h"

#include "results/ChartBase.h"
#include "results/QtFontCache.h"
#include "runtime/Language.h"

#include <QCoreApplication>
#include <QScatterSeries>
#include <QXYSeries>

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::vector<std::vector<const TAreaOp *>> ReadingRows(const std::vector<TAreaOp> &log) {
    std::vector<const TAreaOp *> ops;
    for (const TAreaOp &op : log)
        if (op.Kind != TAreaOp::KClear) ops.push_back(&op);
    std::stable_sort(ops.begin(), ops.end(),
                     [](const TAreaOp *a, const TAreaOp *b) { return a->Y < b->Y; });
    std::vector<std::vector<const TAreaOp *>> rows;
    int32_t bottom = 0;
    for (const TAreaOp *op : ops) {
        const int32_t height =
            op->Kind == TAreaOp::KFormula ? op->Height : std::abs(op->Font.Height);
        if (rows.empty() || op->Y >= bottom) {
            rows.emplace_back();
            bottom = op->Y + std::max(height, 1);
        }
        rows.back().push_back(op);
    }
    for (auto &row : rows)
        std::stable_sort(row.begin(), row.end(),
                         [](const TAreaOp *a, const TAreaOp *b) { return a->X < b->X; });
    return rows;
}

std::vector<const TAreaOp *> ReadingItems(const std::vector<TAreaOp> &log) {
    std::vector<const TAreaOp *> items;
    for (const auto &row : ReadingRows(log))
        for (const TAreaOp *op : row)
            if (op->Kind == TAreaOp::KFormula || !OpText(*op).trimmed().isEmpty())
                items.push_back(op);
    return items;
}

QString OpText(const TAreaOp &op) {
    return op.Utf8 ? QString::fromUtf8(op.Text.data(), static_cast<qsizetype>(op.Text.size()))
                   : FromCp1251(op.Text);
}

std::vector<QWidget *> ReadingOrder(const QWidget &page) {
    std::vector<QWidget *> widgets;
    for (QObject *child : page.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget->isVisibleTo(&page)) widgets.push_back(widget);
    }
    std::stable_sort(widgets.begin(), widgets.end(), [](const QWidget *a, const QWidget *b) {
        const QRect ra = a->geometry(), rb = b->geometry();
        // Side by side when each starts above the other's bottom: the left one first.
        const bool beside = ra.top() < rb.bottom() && rb.top() < ra.bottom();
        if (beside && ra.left() != rb.left()) return ra.left() < rb.left();
        return ra.top() < rb.top();
    });
    return widgets;
}

namespace {

QString Number(double value) {
    return QString::number(value, 'g', 6).replace(u'.', QChar::fromLatin1(DecimalSeparator()));
}

} // namespace

std::vector<int> DrawnSeries(const TChartBase &chart) {
    std::vector<int> drawn;
    // A chart hands out its series by index until one is out of range.
    for (int i = 0;; ++i) {
        try {
            if (chart.Series(i).Count() > 0) drawn.push_back(i);
        } catch (const std::out_of_range &) {
            return drawn;
        }
    }
}

QString SeriesName(const TChartBase &chart, int index) {
    const QXYSeries *view = chart.Series(index).View();
    if (view && !view->name().isEmpty()) return view->name();
    return qobject_cast<const QScatterSeries *>(view)
               ? QCoreApplication::translate("PageReading", "точки")
               : QCoreApplication::translate("PageReading", "линия");
}

QString ChartSummary(const TChartBase &chart) {
    QStringList parts;
    auto axis = [&](const QString &side, const QCategoryAxis *a) {
        if (!a) return;
        QString title = a->titleText();
        parts << QCoreApplication::translate("PageReading", "%1: %2, от %3 до %4")
                     .arg(side,
                          title.isEmpty()
                              ? QCoreApplication::translate("PageReading", "без подписи")
                              : title,
                          Number(a->min()), Number(a->max()));
    };
    axis(QCoreApplication::translate("PageReading", "По горизонтали"), chart.AxisX());
    axis(QCoreApplication::translate("PageReading", "по вертикали"), chart.AxisY());
    QStringList lines;
    for (int i : DrawnSeries(chart)) {
        const TChartLine *line = &chart.Series(i);
        double low = 0, high = 0;
        bool any = false;
        for (const QPointF &p : line->Points()) {
            if (!std::isfinite(p.y())) continue;
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
        }
        lines << (any ? QCoreApplication::translate("PageReading", "%1, %2 знач., от %3 до %4")
                            .arg(SeriesName(chart, i))
                            .arg(line->Count())
                            .arg(Number(low), Number(high))
                      : SeriesName(chart, i));
    }
    QString text = QCoreApplication::translate("PageReading", "График. ") +
                   parts.join(QStringLiteral("; ")) + u'.';
    if (!lines.isEmpty())
        text += QCoreApplication::translate("PageReading", " Линии: ") +
                lines.join(QStringLiteral("; ")) + u'.';
    return text;
}
