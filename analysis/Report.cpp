// The painting half of the run: the report pages and the chart filling, in the run's order.
#include "analysis/Report.h"

#include "analysis/CheckPage.h"
#include "analysis/Texts.h"
#include "runtime/NumText.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr std::string_view TextFace = "Comic Sans MS";
constexpr uint8_t RussianCharset = 204;

// A vertical cursor on one image area. Positions are summed in 64 bits and clamped, so absurd
// picture heights cannot overflow.
class TPageCursor {
public:
    TPageCursor(TImageArea &area, int32_t y) : FArea(area), FY(y) {}

    int32_t Y() const { return FY; }
    void Advance(int64_t dy) { FY = Sat32(int64_t{FY} + dy); }

    void Text(int32_t x, std::string_view text) { FArea.TextOut(x, FY, text); }
    // Paints a formula at (x, y) and returns its picture height.
    int32_t Formula(int32_t x, std::string_view text, bool framed = false) {
        return FArea.DrawFormula(text, x, FY, framed);
    }
    int32_t LineHeight() { return FArea.TextHeightOf("X"); }

private:
    TImageArea &FArea;
    int32_t FY;
};

void SelectFont(TImageArea &area, int32_t points, bool bold) {
    area.SelectTextFont(TextFace, points, bold, RussianCharset);
}

// Refills both series of a chart with the run's points (ChartPoints), series 0 first. Only the
// raw month charts take the two series point by point, as the classic run added them.
void FillChart(const TRunResult &run, TResultsTarget &target, int chart) {
    TChartSeries &line = target.Series(chart, 0);
    TChartSeries &markers = target.Series(chart, 1);
    const TPointList linePoints = ChartPoints(run, chart, 0);
    const TPointList markerPoints = ChartPoints(run, chart, 1);
    const bool alternate = (chart == 1 || chart == 2) && run.Smoothing == SmoothNone;
    if (alternate) {
        for (std::size_t n = 0; n < std::max(linePoints.size(), markerPoints.size()); ++n) {
            if (n < linePoints.size()) line.AddXY(linePoints[n].X, linePoints[n].Y);
            if (n < markerPoints.size()) markers.AddXY(markerPoints[n].X, markerPoints[n].Y);
        }
        return;
    }
    for (const TChartPoint &p : linePoints)
        line.AddXY(p.X, p.Y);
    for (const TChartPoint &p : markerPoints)
        markers.AddXY(p.X, p.Y);
}

void ClearSeries(TResultsTarget &target, int chart) {
    target.Series(chart, 0).Clear();
    target.Series(chart, 1).Clear();
}

// Clears the charts, then fills them in the given order.
void RefillCharts(const TRunResult &run, TResultsTarget &target,
                  std::initializer_list<int> charts) {
    for (int chart : charts)
        ClearSeries(target, chart);
    for (int chart : charts)
        FillChart(run, target, chart);
}

void PaintCoefficients(const TPopulationRun &p, bool first, TImageArea &area,
                       TImageArea &formulasPage) {
    TPageCursor c(area, 10);
    c.Text(10, p.Title);
    // The line is measured on the formulas page, where the 10 point font was selected last.
    c.Advance(formulasPage.TextHeightOf("X"));
    c.Advance(int64_t{c.Formula(15, p.KFormula)} + 5);
    for (const std::string &line : p.IntervalLines)
        c.Advance(c.Formula(15, line));
    const int32_t h = c.Formula(15, p.MeanLine);
    c.Advance(first && !p.Logistic ? h : int64_t{h} + 10);
    c.Text(10, TrW("Report", "Выражение мат модели с числовыми коэфициентами:"));
    c.Advance(int64_t{c.LineHeight()} + (first ? 5 : 0));
    c.Formula(15, p.ModelLine, true);
}

void PaintWeek(const TPopulationRun &p, TImageArea &area) {
    TPageCursor c(area, 10);
    c.Text(10, p.Title);
    c.Advance(c.LineHeight());
    for (std::size_t f = 0; f < p.WeekFormulas.size(); ++f) {
        const int32_t h = c.Formula(15, p.WeekFormulas[f]);
        c.Advance(f + 1 == p.WeekFormulas.size() ? int64_t{h} + 25 : h);
    }
    for (const std::string &line : p.WeekLines)
        c.Advance(int64_t{c.Formula(15, line)} + 5);
}

// The two-year and three-year pages: one formula a line from y = top.
template <std::size_t N>
void PaintLines(const std::array<std::string, N> &lines, TImageArea &area, int32_t top) {
    TPageCursor c(area, top);
    for (const std::string &line : lines)
        c.Advance(c.Formula(15, line));
}

// The two-year or three-year page: population 1 on the image `first`, population 2 on the next,
// each cleared and painted one formula a line from y = top in the 6 point formula font.
template <std::size_t N>
void PaintYears(const std::array<std::string, N> &lines1, const std::array<std::string, N> &lines2,
                TResultsTarget &target, int first, int32_t top) {
    target.SetFormulaFontSize(6);
    target.Image(first).Clear();
    target.Image(first + 1).Clear();
    PaintLines(lines1, target.Image(first), top);
    PaintLines(lines2, target.Image(first + 1), top);
}

// A model's part of the formulas page: its title in 12 point bold, its equation, and "где" in
// 10 point, which the explanations follow.
void ModelHeading(TPageCursor &c, TImageArea &area, const std::string &title, int32_t formulaX,
                  const char *formula) {
    SelectFont(area, 12, true);
    c.Text(10, title);
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(formulaX, formula)} + 10);
    SelectFont(area, 10, false);
    c.Text(10, TrW("Report", "где"));
    c.Advance(c.LineHeight());
}

} // namespace

void PaintFormulasPage(TResultsTarget &target) {
    TImageArea &area = target.Image(1);
    area.Clear();
    TPageCursor c(area, 10);
    target.SetFormulaFontSize(10);

    ModelHeading(c, area, TrW("Report", "Экспоненциальная модель роста популяции"), 15,
                 "diff(X)/diff(t)=k*.X_i");
    c.Advance(
        c.Formula(10, "diff(X)&String(\"" +
                          TrW("Report", " - прирост численности популяции за период времени") +
                          "\")&diff(t)&String(;)"));
    c.Advance(c.Formula(
        15,
        "k&Space(14)&String(\"" +
            TrW("Report", " - коэффициент, учитывающий скорость процесса нарастания численности;") +
            "\")"));
    c.Advance(int64_t{c.Formula(15, "X_i&Space(8)&String(\"" +
                                        TrW("Report", " - общая численность популяции на данный "
                                                      "момент времени;") +
                                        "\")")} +
              10);
    c.Advance(int64_t{c.Formula(15, "X_(i+1)=X_i+diff(x)")} + 10);
    c.Text(25, TrW("Report", "Определить значение коэффициента роста можно, если известна "
                             "численность популяции в какие-либо моменты времени:"));
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(15, "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))")} + 10);

    ModelHeading(c, area, TrW("Report", "Логистическая модель роста популяции"), 10,
                 "diff(x)/diff(t)=k*.(S-X_i)");
    c.Advance(int64_t{c.Formula(15, "S&Space(14)&String(\"" +
                                        TrW("Report", " - максимально возможная численность "
                                                      "популяции в данной среде обитания;") +
                                        "\")")} +
              10);
    c.Text(25, TrW("Report", "Определить значение коэффициента роста можно следующим образом:"));
    c.Advance(c.LineHeight());
    c.Formula(15, "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))");
}

namespace {

// A part of the run; in a whole run the coefficient page also clears the week page's areas, as
// the run always did, and the week page paints on in the size the coefficient page set.
void ApplyPart(const TRunResult &run, TResultsTarget &target, TRunPart part, bool whole) {
    const TPopulationRun &p1 = run.Population[0];
    const TPopulationRun &p2 = run.Population[1];
    switch (part) {
    case TRunPart::Months:
        RefillCharts(run, target, {1, 2});
        target.SetLabel(3, run.Labels[0]);
        target.SetLabel(4, run.Labels[1]);
        target.SetLabel(5, run.Labels[2]);
        target.SetLabel(6, run.Labels[3]);
        return;
    case TRunPart::Coefficients:
        SelectFont(target.Image(2), 8, false);
        SelectFont(target.Image(3), 8, false);
        target.SetFormulaFontSize(8);
        for (int image = 2; image <= (whole ? 5 : 3); ++image)
            target.Image(image).Clear();
        PaintCoefficients(p1, true, target.Image(2), target.Image(1));
        PaintCoefficients(p2, false, target.Image(3), target.Image(1));
        return;
    case TRunPart::Week:
        RefillCharts(run, target, {3, 4});
        if (!whole) {
            target.SetFormulaFontSize(8);
            target.Image(4).Clear();
            target.Image(5).Clear();
        }
        SelectFont(target.Image(4), 8, false);
        SelectFont(target.Image(5), 8, false);
        PaintWeek(p1, target.Image(4));
        PaintWeek(p2, target.Image(5));
        return;
    case TRunPart::TwoYears:
        RefillCharts(run, target, {6, 5});
        PaintYears(p1.TwoYearLines, p2.TwoYearLines, target, 6, 10);
        return;
    case TRunPart::ThreeYears:
        RefillCharts(run, target, {12, 11});
        PaintYears(p1.ThreeYearLines, p2.ThreeYearLines, target, 8, 2);
        return;
    case TRunPart::Check:
        if (run.Check) ApplyCheckPage(*run.Check, target);
        return;
    }
}

} // namespace

void ApplyRunPart(const TRunResult &run, TResultsTarget &target, TRunPart part) {
    ApplyPart(run, target, part, false);
}

void ApplyRun(const TRunResult &run, TResultsTarget &target) {
    for (TRunPart part : RunParts)
        ApplyPart(run, target, part, true);
}

void PaintRun(const TRunResult &run, TResultsTarget &target) {
    PaintFormulasPage(target);
    ApplyRun(run, target);
    target.FlushCharts();
}

TAnalysisRun RunAnalysis(TResultsTarget &target,
                         const std::function<bool(TCountArray &, TCountArray &)> &readCounts,
                         int32_t smoothing) {
    TAnalysisRun run;
    PaintFormulasPage(target);
    TCountArray counts1{}, counts2{};
    if (!readCounts(counts1, counts2)) return run;
    TRunOutcome outcome = ComputeRun(counts1, counts2, smoothing);
    if (!outcome.Result) {
        run.End = TRunEnd::Refused;
        run.Refusal = std::move(outcome.Refusal);
        return run;
    }
    ApplyRun(*outcome.Result, target);
    target.FlushCharts();
    run.End = TRunEnd::Applied;
    run.Result = std::move(outcome.Result);
    return run;
}

TAnalysisRun RunAnalysis(TResultsTarget &target, const TCountArray &counts1,
                         const TCountArray &counts2, int32_t smoothing) {
    auto given = [&](TCountArray &c1, TCountArray &c2) {
        c1 = counts1;
        c2 = counts2;
        return true;
    };
    return RunAnalysis(target, given, smoothing);
}
