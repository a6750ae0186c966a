#include "results/Chart.h"

#include "results/FontSetup.h"

#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QLocale>
#include <QMetaObject>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

const QColor SeriesColor(Qt::red);

// The 2 x 2 rectangle drawn at each point.
QImage PointMarker() {
    QImage marker(2, 2, QImage::Format_ARGB32);
    marker.fill(SeriesColor);
    return marker;
}

// A single value still needs a span to draw on.
void Widen(double &lo, double &hi) {
    if (lo != hi) return;
    const double pad = std::max(1.0, std::abs(lo) / 20);
    lo -= pad;
    hi += pad;
}

} // namespace

void TChartLine::Clear() {
    if (FPoints.isEmpty() && !FDirty) return;
    FPoints.clear();
    FDirty = true;
    FOwner->Changed();
}

int TChartLine::AddXY(double x, double y) {
    // Filling usually runs in ascending X, so the end is tried first.
    qsizetype at = FPoints.size();
    if (at > 0 && !(FPoints.back().x() <= x)) {
        // The first point whose X is greater than x; NaN compares false and goes to the end.
        qsizetype lo = 0, hi = at;
        while (lo < hi) {
            const qsizetype mid = lo + (hi - lo) / 2;
            if (x < FPoints[mid].x())
                hi = mid;
            else
                lo = mid + 1;
        }
        at = lo;
    }
    FPoints.insert(at, QPointF(x, y));
    FDirty = true;
    FOwner->Changed();
    return static_cast<int>(at);
}

TChart::TChart(const QString &bottomTitle, const QString &leftTitle, bool markersOnLine,
               QWidget *parent)
    // The chart goes in through the constructor: a view made without one creates its own, which
    // setChart would orphan.
    : QChartView(new QChart(), parent) {
    FChart = chart();
    FChart->setAnimationOptions(QChart::NoAnimation);
    FChart->legend()->hide();
    FChart->setTitle(QString());
    FChart->setBackgroundBrush(Qt::white);
    FChart->setBackgroundRoundness(0);
    FChart->setPlotAreaBackgroundVisible(false);
    FChart->setLocalizeNumbers(true);
    FChart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));

    auto *line = new QLineSeries(FChart);
    line->setPen(QPen(SeriesColor, 1));
    line->setPointLabelsVisible(false);
    if (markersOnLine) line->setLightMarker(PointMarker());

    auto *dots = new QScatterSeries(FChart);
    dots->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    dots->setMarkerSize(2);
    dots->setColor(SeriesColor);
    dots->setBorderColor(SeriesColor);
    dots->setPen(Qt::NoPen);
    dots->setPointLabelsVisible(false);

    FChart->addSeries(line);
    FChart->addSeries(dots);

    FAxisX = new QValueAxis(FChart);
    FAxisY = new QValueAxis(FChart);
    FAxisX->setTitleText(bottomTitle);
    FAxisY->setTitleText(leftTitle);
    const QFont titleFont = ClassicFont(QStringLiteral("MS Sans Serif"), 11);
    FAxisX->setTitleFont(titleFont);
    FAxisY->setTitleFont(titleFont);
    FChart->addAxis(FAxisX, Qt::AlignBottom);
    FChart->addAxis(FAxisY, Qt::AlignLeft);
    for (QXYSeries *s : {static_cast<QXYSeries *>(line), static_cast<QXYSeries *>(dots)}) {
        s->attachAxis(FAxisX);
        s->attachAxis(FAxisY);
    }

    FSeries[0].FView = line;
    FSeries[1].FView = dots;
    for (TChartLine &s : FSeries)
        s.FOwner = this;

    setBackgroundBrush(Qt::white);
    UpdateRanges();
}

TChart::~TChart() = default;

TChartLine &TChart::Series(int index) {
    if (index < 0 || index >= SeriesCount)
        throw std::out_of_range("TChart::Series: no such series");
    return FSeries[static_cast<size_t>(index)];
}

void TChart::Changed() {
    if (FFlushQueued) return;
    FFlushQueued = true;
    QMetaObject::invokeMethod(this, &TChart::Flush, Qt::QueuedConnection);
}

void TChart::Flush() {
    FFlushQueued = false;
    bool changed = false;
    for (TChartLine &s : FSeries) {
        if (!s.FDirty) continue;
        s.FView->replace(s.FPoints);
        s.FDirty = false;
        changed = true;
    }
    if (changed) UpdateRanges();
}

void TChart::showEvent(QShowEvent *event) {
    Flush();
    QChartView::showEvent(event);
}

void TChart::UpdateRanges() {
    bool any = false;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const TChartLine &s : FSeries) {
        for (const QPointF &p : s.FPoints) {
            // A point Qt cannot place does not widen the axes.
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            if (!any) {
                minX = maxX = p.x();
                minY = maxY = p.y();
                any = true;
                continue;
            }
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
    }
    if (!any) {
        minX = minY = 0;
        maxX = maxY = 1;
    }
    Widen(minX, maxX);
    Widen(minY, maxY);
    FAxisX->setRange(minX, maxX);
    FAxisY->setRange(minY, maxY);
    // Nice numbers need a finite span; a span beyond the double range keeps the raw limits.
    for (QValueAxis *axis : {FAxisX, FAxisY}) {
        if (!std::isfinite(axis->max() - axis->min())) continue;
        axis->applyNiceNumbers();
        // As many decimals as the tick step needs: "200", "0,25".
        const double step = (axis->max() - axis->min()) / std::max(axis->tickCount() - 1, 1);
        int decimals = 0;
        while (decimals < 6 && std::abs(step * std::pow(10.0, decimals) -
                                        std::round(step * std::pow(10.0, decimals))) > 1e-9)
            ++decimals;
        axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    }
}
