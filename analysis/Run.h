// The computation of an analysis run: a pure function of the counts and the smoothing choice.
// Painting it is analysis/Report.h's work. All texts are Windows-1251.
#pragma once

#include "analysis/RunResult.h"

#include <optional>
#include <string>

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
