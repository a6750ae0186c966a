// What the program's line charts share, over Qt Charts: series that collect their points and
// hand them to the view in one replace (appending point by point to a live view costs a relayout
// per point), flushed from the event loop and before the chart is shown; and category axes whose
// ranges, ticks and labels follow the finite points by the rules of AxisScale.
#pragma once

#include "results/AxisScale.h"

#include <QCategoryAxis>
#include <QChartView>
#include <QList>
#include <QPointF>

#include <deque>

class QChart;
class QXYSeries;
class TChartBase;

// One series of a chart.
class TChartLine {
public:
    // Removes every point.
    void Clear();
    // Adds (x, y) after the points whose X is less than or equal to x; returns its index.
    int AddXY(double x, double y);

    int Count() const { return static_cast<int>(FPoints.size()); }
    const QList<QPointF> &Points() const { return FPoints; }
    // The Qt series that draws the points (holds them after the chart's Flush).
    QXYSeries *View() const { return FView; }

private:
    friend class TChartBase;
    TChartBase *FOwner = nullptr;
    QXYSeries *FView = nullptr;
    QList<QPointF> FPoints;
    bool FDirty = false;
};

class TChartBase : public QChartView {
    Q_OBJECT
public:
    ~TChartBase() override;

    // An index out of range throws std::out_of_range.
    TChartLine &Series(int index);
    const TChartLine &Series(int index) const;

    // Hands collected points to the views and recomputes the axis ranges. Runs by itself from
    // the event loop while the chart is shown, and before it is shown; call it before grabbing
    // the view directly.
    void Flush();

    QCategoryAxis *AxisX() const { return FAxisX; }
    QCategoryAxis *AxisY() const { return FAxisY; }

    // Shows the chart scaled by zoom: laid out at the view's size over zoom and drawn scaled,
    // so lines and texts stay sharp and in the same places.
    void SetZoom(qreal zoom);

protected:
    // The bottom axis takes at most maxIntervalsX tick steps and spans the data exactly (and
    // at least fromX .. toX where fromX < toX); the left one takes at most maxIntervalsY and
    // rounds out to whole steps. A chart with white backgrounds, Russian number texts, no
    // animation; the axes have their titles and are attached, the series are added after.
    TChartBase(const QString &bottomTitle, const QString &leftTitle, int maxIntervalsX,
               int maxIntervalsY, QWidget *parent, double fromX = 0, double toX = 0);

    // A new series drawn by view (which the chart takes over), on both axes.
    TChartLine &AddSeries(QXYSeries *view);
    // Sets the axis ranges, ticks and labels for the points (for none: 0 .. 1).
    void UpdateRanges();

    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TChartLine;
    void Changed();

    QCategoryAxis *FAxisX = nullptr;
    QCategoryAxis *FAxisY = nullptr;
    const int FMaxIntervalsX, FMaxIntervalsY;
    const double FFromX, FToX;
    // A deque: series handed out by reference stay where they are.
    std::deque<TChartLine> FLines;
    bool FFlushQueued = false;
    // What the axes show now.
    TAxisScale FAppliedX, FAppliedY;
    qreal FZoom = 1;
};
