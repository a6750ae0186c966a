#include "analysis/Run.h"

#include "analysis/CheckPage.h"
#include "analysis/Texts.h"
#include "runtime/NumText.h"

#include <cmath>

using E = long double;

namespace {

TPointList RawPoints(const TCountArray &counts) {
    TPointList points;
    for (int i = 1; i <= 10; ++i)
        points.push_back({double(i), double(counts[i - 1])});
    return points;
}

// The month chart of one population for the smoothing choice.
void MonthChart(TPopulationRun &p, int32_t smoothing) {
    p.MonthLine.clear();
    p.MonthMarkers.clear();
    switch (smoothing) {
    case SmoothNone:
        p.MonthLine = RawPoints(p.Counts);
        p.MonthMarkers = p.MonthLine;
        break;
    case SmoothLagrange: {
        const double step =
            static_cast<double>(E(std::abs(int64_t{MonthNodes[9]} - MonthNodes[0])) / 1000);
        double x = MonthNodes[0];
        p.MonthLine.reserve(1001);
        for (int i = 0; i < 1001; ++i) {
            const double y = LagrangeValue(9, MonthNodes, p.Counts, x);
            p.MonthLine.push_back({static_cast<double>(E(x) + 1), y});
            // Repeated addition, not i * step: the samples drift exactly as they always have.
            x = static_cast<double>(E(x) + step);
        }
        p.MonthMarkers = RawPoints(p.Counts);
        break;
    }
    case SmoothLeastSquares: {
        TCoeffArray coeffs{};
        LeastSquaresFit(9, 4, MonthNodes, p.Counts, coeffs);
        const double step = static_cast<double>(E(int64_t{MonthNodes[9]} - MonthNodes[0]) / 50);
        double x = MonthNodes[0];
        double y = PolyValue(4, coeffs, x);
        p.MonthLine.reserve(51);
        for (int i = 0; i < 51; ++i) {
            p.MonthLine.push_back({static_cast<double>(E(x) + 1), y});
            x = static_cast<double>(E(x) + step);
            y = PolyValue(4, coeffs, x);
        }
        p.MonthMarkers = RawPoints(p.Counts);
        break;
    }
    default: // an unknown choice shows nothing
        break;
    }
}

// True when population 1 follows the logistic model: its counts lie above, on average, the
// straight line from 0 in month 1 to its last count in month 10.
bool DecideFirstIsLogistic(const TCountArray &c) {
    const double r = IntRatio(9, c[9]);
    double ramp = 0.0;
    for (int i = 0; i <= 9; ++i)
        ramp = static_cast<double>(E(ramp) + E(i) * r);
    double sum = 0.0;
    for (int i = 0; i <= 9; ++i)
        sum = static_cast<double>(E(sum) + c[i]);
    return sum > ramp;
}

int32_t DecideCapacity(int32_t last) {
    // 64 bits: the distances of any 32-bit count are formed without overflow.
    const int64_t to2000 = std::abs(2000 - int64_t{last});
    const int64_t to1000 = std::abs(1000 - int64_t{last});
    return to2000 < to1000 ? 2000 : 1000;
}

// Why the interval coefficients of a population cannot be formed, or empty. The message names
// the population: which of the two the run took as logistic is not visible in the input window.
std::string DivisionRefusal(const TPopulationRun &p, int population, int32_t S) {
    const std::string which = TrW("Run", " (популяция №") + IntToStr(population) + ")";
    for (int i = 0; i < 9; ++i) {
        if (!p.Logistic && p.Counts[i] == 0)
            return TrW("Run", "Численность экспоненциальной популяции в месяцах 1–9 не должна быть "
                              "равна 0") +
                   which;
        if (p.Logistic && p.Counts[i] == S)
            return TrW("Run", "Численность логистической популяции в месяцах 1–9 не должна быть "
                              "равна S = ") +
                   IntToStr(S) + which;
    }
    return {};
}

void GrowthCoefficients(TPopulationRun &p, int32_t S) {
    double k = 0.0;
    for (int i = 0; i < 9; ++i) {
        const int64_t diff = int64_t{p.Counts[i + 1]} - p.Counts[i];
        const int64_t divisor = p.Logistic ? int64_t{S} - p.Counts[i] : int64_t{p.Counts[i]};
        const E q = E(diff) / E(divisor);
        p.IntervalK[i] = static_cast<double>(q);
        k = static_cast<double>(E(k) + q);
    }
    p.K = static_cast<double>(E(k) / 9);
}

double Step(const TPopulationRun &p, double S, double X, double dt) {
    return p.Logistic ? LogisticStep(p.K, S, X, dt) : ExponentialStep(p.K, X, dt);
}

void Projections(TPopulationRun &p, int32_t S) {
    p.Week[0] = p.Counts[2];
    for (int n = 1; n <= 8; ++n)
        p.Week[n] = Step(p, S, p.Week[n - 1], 0.25);
    p.TwoYears[0] = p.Counts[0];
    for (int n = 1; n < 24; ++n)
        p.TwoYears[n] = Step(p, S, p.TwoYears[n - 1], 1);
    p.ThreeYears[0] = p.Counts[0];
    for (int n = 1; n < 36; ++n)
        p.ThreeYears[n] = Step(p, S, p.ThreeYears[n - 1], 1);
}

bool AllFinite(const TPopulationRun &p) {
    auto finite = [](const auto &values) {
        for (double v : values)
            if (!std::isfinite(v)) return false;
        return true;
    };
    return std::isfinite(p.K) && finite(p.IntervalK) && finite(p.Week) && finite(p.TwoYears) &&
           finite(p.ThreeYears);
}

// A number written right after an operator. A negative one goes into always-drawn brackets:
// the formula language reads "+-" as the plus-minus sign, and "1--2" is no way to write 1 - (-2).
std::string Operand(const std::string &number) {
    return number.starts_with('-') ? "!(" + number + ")" : number;
}

// The step line of a page: dt = 0.25 on the week page, 1 on the year pages.
std::string StepLine(const TPopulationRun &p, int32_t S, int n, double x, double next, bool week) {
    const std::string k = Operand(FormulaNumber(p.K));
    const std::string N = IntToStr(n), X = FormulaNumber(x), X1 = FormulaNumber(next);
    const std::string dt = week ? "*.0.25" : "";
    if (p.Logistic)
        return "X_" + N + "=(1-" + k + dt + ")*." + Operand(X) + "+" + k + "*." + IntToStr(S) + dt +
               "=" + X1;
    return "X_" + N + "=" + X + "*.(1+" + k + dt + ")=" + X1;
}

void PageTexts(TPopulationRun &p, int population, int32_t S) {
    const std::string s = IntToStr(S);
    if (population == 1)
        p.Title = (p.Logistic ? TrW("Run", "Первая популяция - логистическая модель")
                              : TrW("Run", "Первая популяция - экспоненциальная модель"));
    else
        p.Title = (p.Logistic ? TrW("Run", "Вторая популяция - логистическая модель")
                              : TrW("Run", "Вторая популяция - экспоненциальная модель"));
    p.KFormula = p.Logistic ? "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))"
                            : "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))";
    for (int i = 1; i <= 9; ++i) {
        const std::string xi = IntToStr(p.Counts[i - 1]), xi1 = IntToStr(p.Counts[i]);
        const std::string divisor =
            p.Logistic ? "((" + s + "-" + Operand(xi) + ")*.1)" : "(" + xi + "*.1)";
        p.IntervalLines[i - 1] = "k_(" + IntToStr(i) + "&String(\",\")&" + IntToStr(i + 1) + ")=(" +
                                 xi1 + "-" + Operand(xi) + ")/" + divisor + "=" +
                                 FormulaNumber(p.IntervalK[i - 1]);
    }
    const std::string k = FormulaNumber(p.K);
    p.MeanLine = "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=" + k;
    p.ModelLine =
        p.Logistic ? "diff(x)/diff(t)=" + k + "*.!(" + s + "-x)" : "diff(x)/diff(t)=" + k + "*.x";

    p.WeekFormulas = {
        "diff(t)=1/4", "diff(X)=ind(X,i+1)-X_i",
        p.Logistic ? "(X_(i+1)-X_i)/diff(t)=k*.(S-X_i)" : "(X_(i+1)-X_i)/diff(t)=k*.X_i",
        p.Logistic ? "ind(X,i+1)=(1-k*diff(t))*.X_i+k*.S*.diff(t)" : "ind(X,i+1)=X_i*.(1+k*.dt)"};
    p.WeekLines[0] = "X_0=" + IntToStr(p.Counts[2]);
    for (int n = 1; n <= 8; ++n)
        p.WeekLines[n] = StepLine(p, S, n, p.Week[n - 1], p.Week[n], true);
    p.TwoYearLines[0] = "X_0=" + FormulaNumber(p.TwoYears[0]);
    for (int n = 1; n < 24; ++n)
        p.TwoYearLines[n] = StepLine(p, S, n, p.TwoYears[n - 1], p.TwoYears[n], false);
    p.ThreeYearLines[0] = "X_1=" + FormulaNumber(p.ThreeYears[0]);
    for (int j = 1; j < 36; ++j)
        p.ThreeYearLines[j] = StepLine(p, S, j + 1, p.ThreeYears[j - 1], p.ThreeYears[j], false);
}

} // namespace

TRunOutcome ComputeRun(const TCountArray &counts1, const TCountArray &counts2, int32_t smoothing) {
    TRunResult run;
    run.Smoothing = smoothing;
    run.Population[0].Counts = counts1;
    run.Population[1].Counts = counts2;
    for (TPopulationRun &p : run.Population)
        MonthChart(p, smoothing);

    run.FirstIsLogistic = DecideFirstIsLogistic(counts1);
    run.Population[0].Logistic = run.FirstIsLogistic;
    run.Population[1].Logistic = !run.FirstIsLogistic;
    run.Labels[0] = (run.FirstIsLogistic
                         ? TrW("Run", "Первая популяция изменяется по логистичесой модели")
                         : TrW("Run", "Первая популяция изменяется по экспоненциальной модели"));
    run.Labels[1] =
        (run.FirstIsLogistic ? TrW("Run", "Вторая популяция изменяется по экспоненциальной модели")
                             : TrW("Run", "Вторая популяция изменяется по логистичесой модели"));

    run.Capacity = DecideCapacity(run.FirstIsLogistic ? counts1[9] : counts2[9]);
    const std::string capacityText =
        TrW("Run", "Максимальное знаяение роста популяции S = ") + IntToStr(run.Capacity);
    run.Labels[run.FirstIsLogistic ? 2 : 3] = capacityText;

    TRunOutcome outcome;
    for (int i = 0; i < 2; ++i) {
        outcome.Refusal = DivisionRefusal(run.Population[i], i + 1, run.Capacity);
        if (!outcome.Refusal.empty()) return outcome;
    }
    for (TPopulationRun &p : run.Population) {
        GrowthCoefficients(p, run.Capacity);
        Projections(p, run.Capacity);
        if (!AllFinite(p)) {
            outcome.Refusal = TrW("Run", "Прогноз выходит за пределы представимых чисел");
            return outcome;
        }
    }
    for (int i = 0; i < 2; ++i)
        PageTexts(run.Population[i], i + 1, run.Capacity);
    run.Check = std::make_shared<const TCheckPage>(ComputeCheckPage(run));
    outcome.Result = std::move(run);
    return outcome;
}

TPointList ChartPoints(const TRunResult &run, int chart, int series) {
    const TPopulationRun &p1 = run.Population[0];
    const TPopulationRun &p2 = run.Population[1];
    // (n, values[n]) from n = first on.
    auto line = [](const auto &values, int first) {
        TPointList points;
        for (int n = first; n < static_cast<int>(values.size()); ++n)
            points.push_back({double(n), values[n]});
        return points;
    };
    if (series != 0 && series != 1) return {};
    switch (chart) {
    case 1:
        return series == 0 ? p1.MonthLine : p1.MonthMarkers;
    case 2:
        return series == 0 ? p2.MonthLine : p2.MonthMarkers;
    case 3:
    case 4: {
        // The line runs from week 0, the markers stand at the eight steps.
        const TPopulationRun &p = chart == 3 ? p1 : p2;
        return series == 0 ? line(p.Week, 0) : line(p.Week, 1);
    }
    case 6:
    case 5:
        return series == 0 ? line(chart == 6 ? p1.TwoYears : p2.TwoYears, 0) : TPointList{};
    case 12:
        // Population 1's start is a lone marker; its line begins at month 1.
        return series == 0 ? line(p1.ThreeYears, 1) : TPointList{{0, p1.ThreeYears[0]}};
    case 11:
        return series == 0 ? line(p2.ThreeYears, 0) : TPointList{};
    default:
        return {};
    }
}
