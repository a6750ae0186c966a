// The painting half of an analysis run, split from the computation so it can be tested without a
// window:
//
//   PaintFormulasPage(target);                  // step 1, before the counts are read
//   ... read the counts; stop at the first bad cell ...
//   TRunOutcome o = ComputeRun(counts1, counts2, smoothing);
//   if (!o.Result) { show o.Refusal; stop; }    // nothing has changed
//   ApplyRun(*o.Result, target);                // steps 4 to 10
//   ... keep *o.Result with the results window and show it ...
//
// ApplyRun writes the result into the results window through the interfaces of ReportTarget.h.
// Texts are Windows-1251.
#pragma once

#include "analysis/ReportTarget.h"
#include "analysis/Run.h"

#include <functional>
#include <optional>
#include <string>

// Step 1: clears Image1 and paints the formulas page.
void PaintFormulasPage(TResultsTarget &target);

// Steps 4 to 10: month charts, the four labels, the coefficient, week, two-year and three-year
// pages with their charts, in the run's order, then the check page. Expects the formulas page to
// have been painted on the same target (the coefficient page measures a line on it).
void ApplyRun(const TRunResult &run, TResultsTarget &target);

// ApplyRun's parts, in its order. Each part sets what it paints with, so a part may be painted
// alone, later and in any order (a window brings a page up to date when it is shown); only the
// coefficient page reads the formulas page.
enum class TRunPart { Months, Coefficients, Week, TwoYears, ThreeYears, Check };
inline constexpr TRunPart RunParts[] = {TRunPart::Months,     TRunPart::Coefficients,
                                        TRunPart::Week,       TRunPart::TwoYears,
                                        TRunPart::ThreeYears, TRunPart::Check};
void ApplyRunPart(const TRunResult &run, TResultsTarget &target, TRunPart part);

// A computed run painted whole: the formulas page, ApplyRun, the charts flushed once. For a
// result that did not come out of RunAnalysis on this target.
void PaintRun(const TRunResult &run, TResultsTarget &target);

// How an analysis run ended.
enum class TRunEnd { Applied, BadCount, Refused };

// An analysis run's end and, when it was applied, the result its pages show.
struct TAnalysisRun {
    TRunEnd End = TRunEnd::BadCount;
    // Set when End is Applied: the one result every output of the run reads.
    std::optional<TRunResult> Result;
    // Why the run was refused (Windows-1251), when End is Refused.
    std::string Refusal;
};

// The analysis run of the run button, up to the showing of the results window: the formulas
// page; then readCounts, which fills the counts of population 1 and 2 and returns false at the
// first bad one; then the computation and, unless it is refused, the pages, charts and labels,
// the charts flushed once. The window and zelvano-report both run it. A formula error passes out
// as EIncorrectExpr.
TAnalysisRun RunAnalysis(TResultsTarget &target,
                         const std::function<bool(TCountArray &, TCountArray &)> &readCounts,
                         int32_t smoothing);
// The same run of counts already read (zelvano-report, the benchmarks); never BadCount.
TAnalysisRun RunAnalysis(TResultsTarget &target, const TCountArray &counts1,
                         const TCountArray &counts2, int32_t smoothing);
