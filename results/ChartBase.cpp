#include "results/ChartBase.h"

#include "results/AxisScale.h"
#include "runtime/Language.h"

#include <QChart>
#include <QLocale>
#include <QMetaObject>
#include <QResizeEvent>
#include <QTransform>
#include <QXYSeries>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Labels are the axis's categories, each written at its tick (a category ends there). An axis
// already at scale is left alone: each category change lays the chart out again.
void ApplyScale(QCategoryAxis *axis, const TAxisScale &scale, TAxisScale &applied) {
    if (scale.Min == applied.Min && scale.Max == applied.Max && scale.Step == applied.Step &&
        scale.Ticks == applied.Ticks && !applied.Ticks.empty())
        return;
    applied = scale;
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

TChartBase::TChartBase(const QString &bottomTitle, const QString &leftTitle, int maxIntervalsX,
                       int maxIntervalsY, QWidget *parent, double fromX, double toX)
    // The chart goes in through the constructor: a view made without one creates its own, which
    // setChart would orphan.
    : QChartView(new QChart(), parent), FMaxIntervalsX(maxIntervalsX),
      FMaxIntervalsY(maxIntervalsY), FFromX(fromX), FToX(toX) {
    QChart *c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundBrush(Qt::white);
    c->setBackgroundRoundness(0);
    c->setPlotAreaBackgroundVisible(false);
    c->setLocalizeNumbers(true);
    c->setLocale(TextLanguage() == TLanguage::English
                     ? QLocale(QLocale::English, QLocale::UnitedStates)
                     : QLocale(QLocale::Russian, QLocale::Russia));
    FAxisX = new QCategoryAxis(c);
    FAxisY = new QCategoryAxis(c);
    for (QCategoryAxis *axis : {FAxisX, FAxisY})
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    FAxisX->setTitleText(bottomTitle);
    FAxisY->setTitleText(leftTitle);
    c->addAxis(FAxisX, Qt::AlignBottom);
    c->addAxis(FAxisY, Qt::AlignLeft);
    setBackgroundBrush(Qt::white);
}

TChartBase::~TChartBase() = default;

TChartLine &TChartBase::AddSeries(QXYSeries *view) {
    view->setPointLabelsVisible(false);
    chart()->addSeries(view);
    view->attachAxis(FAxisX);
    view->attachAxis(FAxisY);
    TChartLine &line = FLines.emplace_back();
    line.FOwner = this;
    line.FView = view;
    return line;
}

TChartLine &TChartBase::Series(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= FLines.size())
        throw std::out_of_range("chart: no such series");
    return FLines[static_cast<std::size_t>(index)];
}

const TChartLine &TChartBase::Series(int index) const {
    return const_cast<TChartBase *>(this)->Series(index);
}

void TChartBase::Changed() {
    if (FFlushQueued) return;
    FFlushQueued = true;
    // A hidden chart keeps its points until it is shown: laying out charts nobody sees made
    // every live change of the counts many times slower.
    QMetaObject::invokeMethod(
        this,
        [this] {
            FFlushQueued = false;
            if (isVisible()) Flush();
        },
        Qt::QueuedConnection);
}

void TChartBase::Flush() {
    FFlushQueued = false;
    bool changed = false;
    for (TChartLine &s : FLines) {
        if (!s.FDirty) continue;
        s.FView->replace(s.FPoints);
        s.FDirty = false;
        changed = true;
    }
    if (changed) UpdateRanges();
}

void TChartBase::showEvent(QShowEvent *event) {
    Flush();
    QChartView::showEvent(event);
}

void TChartBase::UpdateRanges() {
    bool any = false;
    double minX = 0, maxX = 1, minY = 0, maxY = 1;
    for (const TChartLine &s : FLines) {
        for (const QPointF &p : s.FPoints) {
            // A point Qt cannot place does not widen the axes.
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            minX = any ? std::min(minX, p.x()) : p.x();
            maxX = any ? std::max(maxX, p.x()) : p.x();
            minY = any ? std::min(minY, p.y()) : p.y();
            maxY = any ? std::max(maxY, p.y()) : p.y();
            any = true;
        }
    }
    if (FFromX < FToX) {
        minX = any ? std::min(minX, FFromX) : FFromX;
        maxX = any ? std::max(maxX, FToX) : FToX;
    }
    ApplyScale(FAxisX, AxisScaleFor(minX, maxX, FMaxIntervalsX, false), FAppliedX);
    ApplyScale(FAxisY, AxisScaleFor(minY, maxY, FMaxIntervalsY, true), FAppliedY);
}

void TChartBase::SetZoom(qreal zoom) {
    if (qFuzzyCompare(zoom, FZoom)) return;
    FZoom = zoom;
    setTransform(QTransform::fromScale(zoom, zoom));
    QResizeEvent event(size(), size());
    resizeEvent(&event);
}

void TChartBase::resizeEvent(QResizeEvent *event) {
    QChartView::resizeEvent(event);
    if (qFuzzyCompare(FZoom, 1) || !chart()) return;
    chart()->resize(QSizeF(size()) / FZoom);
    setSceneRect(chart()->geometry());
}
