#include "results/Chart.h"

#include "results/AxisScale.h"
#include "results/FontSetup.h"

#include <QCategoryAxis>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QLocale>
#include <QMetaObject>
#include <QScatterSeries>

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

// Tick steps per axis: the bottom axis counts months or weeks, each of them labelled up to two
// years; the left axis leaves each label room for its text.
constexpr int MaxIntervalsX = 24;
constexpr int MaxIntervalsY = 6;

// Labels are the axis's categories, each written at its tick (a category ends there).
void ApplyScale(QCategoryAxis *axis, const TAxisScale &scale) {
    for (const QString &label : axis->categoriesLabels())
        axis->remove(label);
    axis->setRange(scale.Min, scale.Max);
    axis->setStartValue(scale.Min);
    for (double tick : scale.Ticks) {
        // Categories need distinct labels; a tick whose label repeats another is left bare.
        const QString label = AxisLabelText(tick, scale.Step);
        if (!axis->categoriesLabels().contains(label)) axis->append(label, tick);
    }
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

    FAxisX = new QCategoryAxis(FChart);
    FAxisY = new QCategoryAxis(FChart);
    for (QCategoryAxis *axis : {FAxisX, FAxisY})
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
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
    // The bottom axis spans the data exactly (months 1 to 10, weeks 0 to 8); the left one
    // rounds out to whole steps.
    ApplyScale(FAxisX, AxisScaleFor(minX, maxX, MaxIntervalsX, false));
    ApplyScale(FAxisY, AxisScaleFor(minY, maxY, MaxIntervalsY, true));
}
