// The analysis run of the "Делать" button, split in two so it can be tested without a window:
//
//   PaintFormulasPage(target);                  // step 1, before the counts are read
//   ... read the counts; stop at the first bad cell ...
//   TRunOutcome o = ComputeRun(counts1, counts2, smoothing);
//   if (!o.Result) { show o.Refusal; stop; }    // nothing has changed
//   ApplyRun(*o.Result, target);                // steps 4 to 10
//   ... show the results window ...
//
// ComputeRun is a pure function: every number, text and chart point of the run comes out of it.
// ApplyRun writes them into the results window through the interfaces of ReportTarget.h and sets
// the run's kept results (FirstIsLogistic, Capacity, GrowthK1, GrowthK2).
// All texts are Windows-1251.
#pragma once

#include "analysis/NumMethods.h"
#include "analysis/ReportTarget.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The results of the last applied run; they keep their values between runs.
extern bool FirstIsLogistic;
extern int32_t Capacity;
extern double GrowthK1;
extern double GrowthK2;

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

struct TRunResult {
    int32_t Smoothing = SmoothLeastSquares;
    bool FirstIsLogistic = false;
    int32_t Capacity = 1000;
    // Population 1 and 2.
    std::array<TPopulationRun, 2> Population;
    // Label3 .. Label6 of the results window.
    std::array<std::string, 4> Labels;
    // The least-squares check of both populations (analysis/CheckPage.h).
    std::shared_ptr<const TCheckPage> Check;
};

struct TRunOutcome {
    // Empty when the run is refused.
    std::optional<TRunResult> Result;
    // Why it was refused, for a modal box captioned "Ошибка ввода" with the error icon.
    std::string Refusal;
};

// The whole computation of a run from the counts of both populations and the smoothing choice.
// Counts that would divide by zero (an exponential population at 0, or a logistic population at
// S, in months 1 to 9) and projections that leave the range of doubles refuse the run.
TRunOutcome ComputeRun(const TCountArray &counts1, const TCountArray &counts2, int32_t smoothing);

// The points of series 0 or 1 of Chart1 .. Chart6, Chart11, Chart12 after the run.
TPointList ChartPoints(const TRunResult &run, int chart, int series);

// Step 1: clears Image1 and paints the formulas page.
void PaintFormulasPage(TResultsTarget &target);

// Steps 4 to 10: month charts, the four labels, the coefficient, week, two-year and three-year
// pages with their charts, in the run's order, then the check page; sets the kept results. Expects
// the formulas page to have been painted on the same target (the coefficient page measures a line
// on it).
void ApplyRun(const TRunResult &run, TResultsTarget &target);

// How an analysis run ended.
enum class TRunEnd { Applied, BadCount, Refused };

// The analysis run of the run button, up to the showing of the results window: the formulas
// page; then readCounts, which fills the counts of population 1 and 2 and returns false at the
// first bad one; then the computation and, unless it is refused (refusal receives the reason,
// Windows-1251), the pages, charts and labels, the charts flushed once. The window and
// zelvano-report both run it. A formula error passes out as EIncorrectExpr.
TRunEnd RunAnalysis(TResultsTarget &target,
                    const std::function<bool(TCountArray &, TCountArray &)> &readCounts,
                    int32_t smoothing, std::string &refusal);
// The same run of counts already read (zelvano-report, the benchmarks); never BadCount.
TRunEnd RunAnalysis(TResultsTarget &target, const TCountArray &counts1, const TCountArray &counts2,
                    int32_t smoothing, std::string &refusal);
