// What one analysis run computes: every number, text and chart point of its pages, the check
// included. The run's outputs (pages, charts, dump, CSV, PDF, printing, PNG) all read one such
// result. Texts are Windows-1251.
#pragma once

#include "analysis/NumMethods.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Smoothing choices of the month charts (the radio group's item index).
enum TSmoothing : int32_t { SmoothNone = 0, SmoothLagrange = 1, SmoothLeastSquares = 2 };

struct TChartPoint {
    double X;
    double Y;
    bool operator==(const TChartPoint &) const = default;
};
using TPointList = std::vector<TChartPoint>;

// Everything the run computes for one population.
struct TPopulationRun {
    TCountArray Counts{};
    bool Logistic = false;
    // The nine interval coefficients as shown (each quotient rounded to double) and the mean.
    std::array<double, 9> IntervalK{};
    double K = 0;
    // Projections, unrounded: weeks 0 .. 8 from month 3 (dt = 1/4); months 0 .. 23 and
    // 0 .. 35 from month 1 (dt = 1; the three-year page numbers them 1 .. 36).
    std::array<double, 9> Week{};
    std::array<double, 24> TwoYears{};
    std::array<double, 36> ThreeYears{};
    // The month chart: the raw or smoothed line (series 0) and the markers (series 1).
    TPointList MonthLine;
    TPointList MonthMarkers;

    // Texts of the pages.
    std::string Title;                          // coefficient and week pages
    std::string KFormula;                       // the general k formula
    std::array<std::string, 9> IntervalLines;   // k_(i,i+1) = ...
    std::string MeanLine;                       // k = Summa(...)/9 = k
    std::string ModelLine;                      // the framed model with its numbers
    std::array<std::string, 4> WeekFormulas;    // the general week formulas
    std::array<std::string, 9> WeekLines;       // X_0 = ..., then the eight steps
    std::array<std::string, 24> TwoYearLines;   // X_0 = ..., then 23 steps
    std::array<std::string, 36> ThreeYearLines; // X_1 = ..., then 35 steps
};

struct TCheckPage;

// FirstIsLogistic, Capacity and each population's K are what the classic run kept after a run;
// the results window keeps the whole result of the run it shows.
struct TRunResult {
    int32_t Smoothing = SmoothLeastSquares;
    bool FirstIsLogistic = false;
    int32_t Capacity = 1000;
    // Population 1 and 2.
    std::array<TPopulationRun, 2> Population;
    // Label3 .. Label6 of the results window.
    std::array<std::string, 4> Labels;
    // The least-squares check of both populations (analysis/CheckPage.h); shared, so copies of
    // a result do not copy its fits.
    std::shared_ptr<const TCheckPage> Check;
};
