// The chart of the check page: the counts as markers, the run's model and the three fitted
// curves, each in its own colour and named in a legend under the plot. Like TChart it collects
// points and hands them to the view in one replace, with axis ranges that follow the data.
#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>

#include <array>

class QChart;
class QValueAxis;
class QXYSeries;

class TCheckChart : public QChartView {
    Q_OBJECT
public:
    explicit TCheckChart(QWidget *parent = nullptr);
    ~TCheckChart() override;

    // 0 the run's model, 1 the counts, 2 .. 4 the exponential, saturation and logistic fits.
    static constexpr int SeriesCount = 5;

    // An index out of range throws std::out_of_range.
    void Clear(int index);
    void AddXY(int index, double x, double y);
    const QList<QPointF> &Points(int index) const;
    QXYSeries *View(int index) const;

    // Hands collected points to the views and recomputes the axis ranges. Runs by itself from
    // the event loop and before the chart is shown.
    void Flush();

    QValueAxis *AxisX() const { return FAxisX; }
    QValueAxis *AxisY() const { return FAxisY; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct TLine {
        QXYSeries *View = nullptr;
        QList<QPointF> Points;
        bool Dirty = false;
    };
    TLine &Line(int index);
    void Changed(TLine &line);
    void UpdateRanges();

    QChart *FChart = nullptr;
    QValueAxis *FAxisX = nullptr;
    QValueAxis *FAxisY = nullptr;
    std::array<TLine, SeriesCount> FLines;
    bool FFlushQueued = false;
};
