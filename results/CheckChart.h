// The chart of the check page: the counts as markers, the run's model and the three fitted
// curves, each in its own colour and named in a legend beside the plot.
#pragma once

#include "results/ChartBase.h"

class TCheckChart : public TChartBase {
    Q_OBJECT
public:
    explicit TCheckChart(QWidget *parent = nullptr);

    // 0 the run's model, 1 the counts, 2 .. 4 the exponential, saturation and logistic fits.
    static constexpr int SeriesCount = 5;

    // Of series index; an index out of range throws std::out_of_range.
    void Clear(int index) { Series(index).Clear(); }
    void AddXY(int index, double x, double y) { Series(index).AddXY(x, y); }
    const QList<QPointF> &Points(int index) const { return Series(index).Points(); }
    QXYSeries *View(int index) const { return Series(index).View(); }
};
