// The painting half of the run: the report pages and the chart filling, in the run's order.
#include "analysis/CheckPage.h"
#include "analysis/Run.h"
#include "analysis/Texts.h"
#include "runtime/NumText.h"

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

void ClearSeries(TResultsTarget &target, int chart) {
    target.Series(chart, 0).Clear();
    target.Series(chart, 1).Clear();
}

void AddPoints(TChartSeries &series, const TPointList &points) {
    for (const TChartPoint &p : points)
        series.AddXY(p.X, p.Y);
}

void FillMonthCharts(const TRunResult &run, TResultsTarget &target) {
    ClearSeries(target, 1);
    ClearSeries(target, 2);
    for (int i = 0; i < 2; ++i) {
        const TPopulationRun &p = run.Population[i];
        TChartSeries &line = target.Series(i + 1, 0);
        TChartSeries &markers = target.Series(i + 1, 1);
        if (run.Smoothing == SmoothNone) {
            // Raw counts go to both series point by point.
            for (std::size_t n = 0; n < p.MonthLine.size(); ++n) {
                line.AddXY(p.MonthLine[n].X, p.MonthLine[n].Y);
                markers.AddXY(p.MonthMarkers[n].X, p.MonthMarkers[n].Y);
            }
        } else {
            AddPoints(line, p.MonthLine);
            AddPoints(markers, p.MonthMarkers);
        }
    }
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
    c.Text(10, Win1251("Выражение мат модели с числовыми коэфициентами:"));
    c.Advance(int64_t{c.LineHeight()} + (first ? 5 : 0));
    c.Formula(15, p.ModelLine, true);
}

void PaintWeek(const TPopulationRun &p, TImageArea &area, TChartSeries &line,
               TChartSeries &markers) {
    TPageCursor c(area, 10);
    c.Text(10, p.Title);
    c.Advance(c.LineHeight());
    for (std::size_t f = 0; f < p.WeekFormulas.size(); ++f) {
        const int32_t h = c.Formula(15, p.WeekFormulas[f]);
        c.Advance(f + 1 == p.WeekFormulas.size() ? int64_t{h} + 25 : h);
    }
    c.Advance(int64_t{c.Formula(15, p.WeekLines[0])} + 5);
    line.AddXY(0, p.Week[0]);
    for (int n = 1; n <= 8; ++n) {
        c.Advance(int64_t{c.Formula(15, p.WeekLines[n])} + 5);
        line.AddXY(n, p.Week[n]);
        markers.AddXY(n, p.Week[n]);
    }
}

void PaintTwoYears(const TPopulationRun &p, TImageArea &area, TChartSeries &line) {
    TPageCursor c(area, 10);
    c.Advance(c.Formula(15, p.TwoYearLines[0]));
    line.AddXY(0, p.TwoYears[0]);
    for (int n = 1; n < 24; ++n) {
        c.Advance(c.Formula(15, p.TwoYearLines[n]));
        line.AddXY(n, p.TwoYears[n]);
    }
}

// start: the series that receives the start value; the steps go to line.
void PaintThreeYears(const TPopulationRun &p, TImageArea &area, TChartSeries &start,
                     TChartSeries &line) {
    TPageCursor c(area, 2);
    c.Advance(c.Formula(15, p.ThreeYearLines[0]));
    start.AddXY(0, p.ThreeYears[0]);
    for (int j = 1; j < 36; ++j) {
        c.Advance(c.Formula(15, p.ThreeYearLines[j]));
        line.AddXY(j, p.ThreeYears[j]);
    }
}

} // namespace

void PaintFormulasPage(TResultsTarget &target) {
    TImageArea &area = target.Image(1);
    area.Clear();
    TPageCursor c(area, 10);
    SelectFont(area, 12, true);
    target.SetFormulaFontSize(10);

    c.Text(10, Win1251("Экспоненциальная модель роста популяции"));
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(15, "diff(X)/diff(t)=k*.X_i")} + 10);
    SelectFont(area, 10, false);
    c.Text(10, Win1251("где"));
    c.Advance(c.LineHeight());
    c.Advance(c.Formula(10, Win1251("diff(X)&String(\" - прирост численности популяции за период "
                                    "времени\")&diff(t)&String(;)")));
    c.Advance(c.Formula(15, Win1251("k&Space(14)&String(\" - коэффициент, учитывающий скорость "
                                    "процесса нарастания численности;\")")));
    c.Advance(int64_t{c.Formula(15, Win1251("X_i&Space(8)&String(\" - общая численность "
                                            "популяции на данный момент времени;\")"))} +
              10);
    c.Advance(int64_t{c.Formula(15, "X_(i+1)=X_i+diff(x)")} + 10);
    c.Text(25, Win1251("Определить значение коэффициента роста можно, если известна численность "
                       "популяции в какие-либо моменты времени:"));
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(15, "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))")} + 10);

    SelectFont(area, 12, true);
    c.Text(10, Win1251("Логистическая модель роста популяции"));
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(10, "diff(x)/diff(t)=k*.(S-X_i)")} + 10);
    SelectFont(area, 10, false);
    c.Text(10, Win1251("где"));
    c.Advance(c.LineHeight());
    c.Advance(int64_t{c.Formula(15, Win1251("S&Space(14)&String(\" - максимально возможная "
                                            "численность популяции в данной среде обитания;\")"))} +
              10);
    c.Text(25, Win1251("Определить значение коэффициента роста можно следующим образом:"));
    c.Advance(c.LineHeight());
    c.Formula(15, "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))");
}

void ApplyRun(const TRunResult &run, TResultsTarget &target) {
    const TPopulationRun &p1 = run.Population[0];
    const TPopulationRun &p2 = run.Population[1];

    FillMonthCharts(run, target);

    FirstIsLogistic = run.FirstIsLogistic;
    target.SetLabel(3, run.Labels[0]);
    target.SetLabel(4, run.Labels[1]);
    Capacity = run.Capacity;
    target.SetLabel(5, run.Labels[2]);
    target.SetLabel(6, run.Labels[3]);

    // Coefficient page; the week page's areas are cleared with it.
    SelectFont(target.Image(2), 8, false);
    SelectFont(target.Image(3), 8, false);
    target.SetFormulaFontSize(8);
    for (int image = 2; image <= 5; ++image)
        target.Image(image).Clear();
    GrowthK1 = p1.K;
    PaintCoefficients(p1, true, target.Image(2), target.Image(1));
    GrowthK2 = p2.K;
    PaintCoefficients(p2, false, target.Image(3), target.Image(1));

    ClearSeries(target, 3);
    ClearSeries(target, 4);
    SelectFont(target.Image(4), 8, false);
    SelectFont(target.Image(5), 8, false);
    PaintWeek(p1, target.Image(4), target.Series(3, 0), target.Series(3, 1));
    PaintWeek(p2, target.Image(5), target.Series(4, 0), target.Series(4, 1));

    ClearSeries(target, 6);
    ClearSeries(target, 5);
    target.SetFormulaFontSize(6);
    target.Image(6).Clear();
    target.Image(7).Clear();
    PaintTwoYears(p1, target.Image(6), target.Series(6, 0));
    PaintTwoYears(p2, target.Image(7), target.Series(5, 0));

    ClearSeries(target, 12);
    ClearSeries(target, 11);
    target.SetFormulaFontSize(6);
    target.Image(8).Clear();
    target.Image(9).Clear();
    PaintThreeYears(p1, target.Image(8), target.Series(12, 1), target.Series(12, 0));
    PaintThreeYears(p2, target.Image(9), target.Series(11, 0), target.Series(11, 0));

    if (run.Check) ApplyCheckPage(*run.Check, target);
}
