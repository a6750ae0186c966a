// The page "Проверка": the least-squares check of each population next to the run's own model,
// with warnings where the run's method goes wrong. Image10 (population 1) and Image11
// (population 2) carry the texts and formulas; Chart13 and Chart14 the curves:
//   series 0  the run's model month by month (its two-year projection over months 1 .. 10)
//   series 1  the counts, as markers
//   series 2, 3, 4  the fitted exponential, saturation and logistic curves
// A series stays empty for an undetermined fit. Formula texts are Windows-1251, plain texts UTF-8
// (the minus sign and the superscripts of the numbers are not in the code page).
#pragma once

#include "analysis/Fit.h"
#include "analysis/ReportTarget.h"
#include "analysis/RunResult.h"

#include <array>
#include <string>
#include <vector>

// Chart series of the check charts.
enum TCheckSeries : int { CheckProgram = 0, CheckCounts = 1, CheckFirstCurve = 2 };
inline constexpr int CheckSeriesCount = 5;

// One line of an image area: plain text in the area's font, or a formula picture.
struct TCheckLine {
    bool Formula = false;
    // The formula text (Windows-1251) or the plain text (UTF-8).
    std::string Text;
    // Extra room above the line, in pixels.
    int32_t GapBefore = 0;
};

struct TPopulationCheck {
    TPopulationFit Fit;
    bool ProgramLogistic = false;
    double ProgramK = 0;
    bool Agrees = false;
    // Each a plain sentence, UTF-8.
    std::vector<std::string> Warnings;
    std::vector<TCheckLine> Lines;
    // The points of series 0 .. 4 of the population's chart.
    std::array<TPointList, CheckSeriesCount> Series;
};

struct TCheckPage {
    std::array<TPopulationCheck, 2> Population;
};

// A fitted model's name as a heading, UTF-8: "Модель насыщения".
std::string FitModelHeading(TFitModel model);

// The fits, the warnings, the page's lines and the chart points of a run.
TCheckPage ComputeCheckPage(const TRunResult &run);

// Clears and paints Image10 and Image11 and refills Chart13 and Chart14.
void ApplyCheckPage(const TCheckPage &page, TResultsTarget &target);

// The records of the fits for zelvano-report --dump, in UTF-8, one per line:
//   fit <population> <model> <status> <A> <rate> <S> <rss> <aicc>
//   se <population> <model> <se_A> <se_rate> <se_S>
//   choice <population> <model> <agrees 0|1>
//   warning <population> "<text>"
// with "_" for a value that does not apply or is undetermined.
std::string CheckRecords(const TCheckPage &page);
