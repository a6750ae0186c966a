// A thin line-chart component over Qt Charts: two series, each kept in ascending X order, axis
// ranges that follow the data. Points are collected in the series and handed to the view in one
// replace: appending point by point to a live view costs a relayout per point.
#pragma once

#include <QCategoryAxis>
#include <QChartView>
#include <QList>
#include <QPointF>
#include <QString>

#include <array>

class QChart;
class QXYSeries;
class TChart;

// One series of a TChart.
class TChartLine {
public:
    // Removes every point.
    void Clear();
    // Adds (x, y) after the points whose X is less than or equal to x; returns its index.
    int AddXY(double x, double y);

    int Count() const { return static_cast<int>(FPoints.size()); }
    const QList<QPointF> &Points() const { return FPoints; }
    // The Qt series that draws the points (holds them after TChart::Flush).
    QXYSeries *View() const { return FView; }

private:
    friend class TChart;
    TChart *FOwner = nullptr;
    QXYSeries *FView = nullptr;
    QList<QPointF> FPoints;
    bool FDirty = false;
};

class TChart : public QChartView {
    Q_OBJECT
public:
    // markersOnLine: series 0 shows its 2 x 2 point markers too (series 1 always does).
    TChart(const QString &bottomTitle, const QString &leftTitle, bool markersOnLine,
           QWidget *parent = nullptr);
    ~TChart() override;

    static constexpr int SeriesCount = 2;
    // Series 0 (the line) or 1 (the dots); an index out of range throws std::out_of_range.
    TChartLine &Series(int index);

    // Hands collected points to the view and recomputes the axis ranges. Runs by itself from the
    // event loop and before the chart is shown; call it before grabbing the view directly.
    void Flush();

    QCategoryAxis *AxisX() const { return FAxisX; }
    QCategoryAxis *AxisY() const { return FAxisY; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    friend class TChartLine;
    void Changed();
    void UpdateRanges();

    QChart *FChart = nullptr;
    QCategoryAxis *FAxisX = nullptr;
    QCategoryAxis *FAxisY = nullptr;
    std::array<TChartLine, SeriesCount> FSeries;
    bool FFlushQueued = false;
};
