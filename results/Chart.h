// The month and week charts: two series, each kept in ascending X order, axis ranges that
// follow the data.
#pragma once

#include "results/ChartBase.h"

#include <QString>

class TChart : public TChartBase {
    Q_OBJECT
public:
    // markersOnLine: series 0 shows its 2 x 2 point markers too (series 1 always does).
    // measuredMarkers: series 1 holds measured counts, drawn as outlined round marks of
    // MeasuredMarkerSize px with a legend entry "данные" instead of 2 x 2 dots.
    TChart(const QString &bottomTitle, const QString &leftTitle, bool markersOnLine,
           QWidget *parent = nullptr, bool measuredMarkers = false);

    static constexpr int MeasuredMarkerSize = 7;

    // Series 0 (the line) and 1 (the dots).
    static constexpr int SeriesCount = 2;
};
