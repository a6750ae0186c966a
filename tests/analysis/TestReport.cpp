#include "analysis/Run.h"
#include "runtime/Cp1251.h"
#include "tests/analysis/FakeTarget.h"
#include "tests/analysis/Variants.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

using K = TFakeItem;

std::string W(std::string_view utf8) {
    std::string out;
    EXPECT_TRUE(Utf8ToCp1251(utf8, out)) << utf8;
    return out;
}

int32_t LH(int32_t points, bool bold = false) {
    return TFakeArea::LineHeight(points, bold);
}
int32_t PH(int32_t size, std::string_view text) {
    return TFakeArea::PictureHeight(size, text);
}

TFakeItem Text(int32_t x, int32_t y, std::string text, int32_t points, bool bold = false) {
    TFakeItem i{K::KText, x, y, std::move(text)};
    i.FontSize = points;
    i.Bold = bold;
    return i;
}
TFakeItem Formula(int32_t x, int32_t y, std::string text, int32_t size, bool framed = false) {
    TFakeItem i{K::KFormula, x, y, text, framed};
    i.Height = PH(size, text);
    i.FontSize = size;
    return i;
}
TFakeItem Font(int32_t points, bool bold) {
    TFakeItem i{K::KFont};
    i.FontSize = points;
    i.Bold = bold;
    return i;
}

// The whole run on a fake window, as the run button does it.
void RunOn(TFakeTarget &t, const TCountArray &c1, const TCountArray &c2,
           int32_t smoothing = SmoothLeastSquares) {
    PaintFormulasPage(t);
    TRunOutcome o = ComputeRun(c1, c2, smoothing);
    ASSERT_TRUE(o.Result) << Cp1251ToUtf8(o.Refusal);
    ApplyRun(*o.Result, t);
}

// The index of the first (or last) event e; the end when there is none.
std::size_t IndexOf(const std::vector<std::string> &events, const std::string &e,
                    bool last = false) {
    std::size_t found = events.size();
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i] == e && (last || found == events.size())) found = i;
    EXPECT_NE(found, events.size()) << e;
    return found;
}

// The shown X and X' of a step line; a bracketed negative X ("!(-5)") as its number.
std::pair<std::string, std::string> StepNumbers(const std::string &line, bool logistic) {
    const std::string to = line.substr(line.rfind('=') + 1);
    if (logistic) {
        // X_n=(1-k)*.X+k*.S=X', k itself possibly in brackets.
        std::size_t a = line.find("=(1-") + 1;
        for (int depth = 0; a < line.size(); ++a) {
            if (line[a] == '(') ++depth;
            if (line[a] == ')' && --depth == 0) break;
        }
        a += 3;
        if (line.compare(a, 3, "!(-") == 0)
            return {line.substr(a + 2, line.find(')', a) - a - 2), to};
        return {line.substr(a, line.find('+', a) - a), to};
    }
    const auto a = line.find('=') + 1;
    return {line.substr(a, line.find("*.(") - a), to};
}

const TCountArray V1a = Variant(1).Counts1;
const TCountArray V1b = Variant(1).Counts2;

} // namespace

TEST(FormulasPage, EveryLineWithItsFontPositionAndAdvance) {
    TFakeTarget t;
    PaintFormulasPage(t);
    TFakeArea &a = t.Image(1);
    EXPECT_EQ(a.FontFace, "Comic Sans MS");
    EXPECT_EQ(a.FontCharset, 204);
    EXPECT_EQ(t.FormulaFontSize, 10);

    // What the page holds, with the advance that follows each line: 'L' the line height of the
    // font of the moment, a number n: h + n.
    struct Line {
        K::TKind kind;
        int32_t x;
        const char *text;
        int advance; // -1: line height
        int points = 0;
        bool bold = false;
    };
    // Each model starts with its title, its equation and "где".
    auto heading = [](const char *title, int32_t x, const char *equation) {
        return std::vector<Line>{{K::KFont, 0, "", 0, 12, true},
                                 {K::KText, 10, title, -1},
                                 {K::KFormula, x, equation, 10},
                                 {K::KFont, 0, "", 0, 10, false},
                                 {K::KText, 10, "где", -1}};
    };
    std::vector<Line> lines =
        heading("Экспоненциальная модель роста популяции", 15, "diff(X)/diff(t)=k*.X_i");
    const Line exponential[] = {
        {K::KFormula, 10,
         "diff(X)&String(\" - прирост численности популяции за период времени\")&diff(t)&String(;)",
         0},
        {K::KFormula, 15,
         "k&Space(14)&String(\" - коэффициент, учитывающий скорость процесса нарастания "
         "численности;\")",
         0},
        {K::KFormula, 15,
         "X_i&Space(8)&String(\" - общая численность популяции на данный момент времени;\")", 10},
        {K::KFormula, 15, "X_(i+1)=X_i+diff(x)", 10},
        {K::KText, 25,
         "Определить значение коэффициента роста можно, если известна численность популяции в "
         "какие-либо моменты времени:",
         -1},
        {K::KFormula, 15, "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))", 10},
    };
    lines.insert(lines.end(), std::begin(exponential), std::end(exponential));
    for (const Line &l :
         heading("Логистическая модель роста популяции", 10, "diff(x)/diff(t)=k*.(S-X_i)"))
        lines.push_back(l);
    const Line logistic[] = {
        {K::KFormula, 15,
         "S&Space(14)&String(\" - максимально возможная численность популяции в данной среде "
         "обитания;\")",
         10},
        {K::KText, 25, "Определить значение коэффициента роста можно следующим образом:", -1},
        {K::KFormula, 15, "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))", 0},
    };
    lines.insert(lines.end(), std::begin(logistic), std::end(logistic));
    std::vector<TFakeItem> expected = {TFakeItem(K::KClear)};
    int32_t y = 10, points = 0;
    bool bold = false;
    for (const Line &l : lines) {
        if (l.kind == K::KFont) {
            points = l.points, bold = l.bold;
            expected.push_back(Font(points, bold));
        } else if (l.kind == K::KText) {
            expected.push_back(Text(l.x, y, W(l.text), points, bold));
            y += LH(points, bold);
        } else {
            expected.push_back(Formula(l.x, y, W(l.text), 10));
            y += PH(10, W(l.text)) + l.advance;
        }
    }
    EXPECT_EQ(a.Items, expected);
    // The first lines by hand: the 12 point bold line is 27 high.
    EXPECT_EQ(a.Items[3].Y, 37);
    EXPECT_EQ(a.Items[5].Y, 37 + PH(10, "diff(X)/diff(t)=k*.X_i") + 10);
}

TEST(CoefficientPage, Variant1BothPopulations) {
    TFakeTarget t;
    RunOn(t, V1a, V1b);
    const std::string closing = W("Выражение мат модели с числовыми коэфициентами:");
    const struct {
        int image;
        const char *title;
        const char *kFormula;
        const char *first, *last, *mean, *model;
        int32_t meanAdvance, textAdvance;
    } pages[] = {
        {2, "Первая популяция - логистическая модель",
         "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))",
         "k_(1&String(\",\")&2)=(504-8)/((1000-8)*.1)=0.5",
         "k_(9&String(\",\")&10)=(997-996)/((1000-996)*.1)=0.25",
         "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704", "diff(x)/diff(t)=0.4704*.!(1000-x)", 10,
         5},
        {3, "Вторая популяция - экспоненциальная модель",
         "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))", "k_(1&String(\",\")&2)=(24-16)/(16*.1)=0.5",
         "k_(9&String(\",\")&10)=(618-412)/(412*.1)=0.5",
         "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.5008", "diff(x)/diff(t)=0.5008*.x", 10, 0},
    };
    for (const auto &p : pages) {
        const TFakeArea &a = t.Image(p.image);
        // The 8 point font was selected before the area was cleared.
        ASSERT_EQ(a.Items.size(), 1u + 1 + 1 + 9 + 1 + 1 + 1) << p.image;
        EXPECT_EQ(a.Items[0].Kind, K::KClear);
        EXPECT_EQ(a.Items[1], Text(10, 10, W(p.title), 8));
        // The title's advance is the line of the formulas page's 10 point font, not 8 point.
        int32_t y = 10 + LH(10);
        EXPECT_EQ(a.Items[2], Formula(15, y, p.kFormula, 8));
        y += PH(8, p.kFormula) + 5;
        for (int i = 0; i < 9; ++i) {
            const TFakeItem &line = a.Items[3 + i];
            EXPECT_EQ(line.Y, y);
            EXPECT_EQ(line.X, 15);
            EXPECT_EQ(line.FontSize, 8);
            y += line.Height;
        }
        EXPECT_EQ(a.Items[3].Text, p.first);
        EXPECT_EQ(a.Items[11].Text, p.last);
        EXPECT_EQ(a.Items[12], Formula(15, y, p.mean, 8));
        y += PH(8, p.mean) + p.meanAdvance;
        EXPECT_EQ(a.Items[13], Text(10, y, closing, 8));
        y += LH(8) + p.textAdvance;
        EXPECT_EQ(a.Items[14], Formula(15, y, p.model, 8, true));
    }
}

TEST(CoefficientPage, ExponentialFirstPopulationAdvancesLess) {
    TFakeTarget t;
    RunOn(t, {4, 4, 4, 4, 4, 4, 4, 4, 4, 9}, V1b);
    const TFakeArea &a = t.Image(2);
    EXPECT_EQ(a.Items[1].Text, W("Первая популяция - экспоненциальная модель"));
    EXPECT_EQ(a.Items[2].Text, "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))");
    EXPECT_EQ(a.Items[3].Text, "k_(1&String(\",\")&2)=(4-4)/(4*.1)=0");
    EXPECT_EQ(a.Items[11].Text, "k_(9&String(\",\")&10)=(9-4)/(4*.1)=1.25");
    const TFakeItem &mean = a.Items[12];
    EXPECT_EQ(mean.Text, "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.1389");
    EXPECT_EQ(a.Items[13].Y, mean.Y + mean.Height); // h, not h + 10
    EXPECT_EQ(a.Items[14].Y, a.Items[13].Y + LH(8) + 5);
    EXPECT_EQ(a.Items[14].Text, "diff(x)/diff(t)=0.1389*.x");
    // Population 2 is now the logistic one: h + 10 and no extra 5.
    const TFakeArea &b = t.Image(3);
    EXPECT_EQ(b.Items[1].Text, W("Вторая популяция - логистическая модель"));
    EXPECT_EQ(b.Items[3].Text, "k_(1&String(\",\")&2)=(24-16)/((1000-16)*.1)=0.0081");
    EXPECT_EQ(b.Items[13].Y, b.Items[12].Y + b.Items[12].Height + 10);
    EXPECT_EQ(b.Items[14].Y, b.Items[13].Y + LH(8));
    EXPECT_EQ(b.Items[14].Text.rfind("*.!(1000-x)"), b.Items[14].Text.size() - 11);
}

TEST(WeekPage, Variant1) {
    TFakeTarget t;
    RunOn(t, V1a, V1b);
    const TFakeArea &a = t.Image(4);
    // Cleared together with the coefficient page, then the 8 point font.
    ASSERT_EQ(a.Items.size(), 1u + 1 + 1 + 4 + 1 + 8);
    EXPECT_EQ(a.Items[0].Kind, K::KClear);
    EXPECT_EQ(a.Items[1], Font(8, false));
    EXPECT_EQ(a.Items[2], Text(10, 10, W("Первая популяция - логистическая модель"), 8));
    int32_t y = 10 + LH(8);
    const char *general[] = {"diff(t)=1/4", "diff(X)=ind(X,i+1)-X_i",
                             "(X_(i+1)-X_i)/diff(t)=k*.(S-X_i)",
                             "ind(X,i+1)=(1-k*diff(t))*.X_i+k*.S*.diff(t)"};
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(a.Items[3 + f], Formula(15, y, general[f], 8));
        y += PH(8, general[f]) + (f == 3 ? 25 : 0);
    }
    EXPECT_EQ(a.Items[7], Formula(15, y, "X_0=752", 8));
    y += PH(8, "X_0=752") + 5;
    EXPECT_EQ(a.Items[8].Text, "X_1=(1-0.4704*.0.25)*.752+0.4704*.1000*.0.25=781.1667");
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(a.Items[7 + n].Y, y);
        y += a.Items[7 + n].Height + 5;
    }
    EXPECT_EQ(a.Items[15].Text.substr(0, 4), "X_8=");
    EXPECT_EQ(StepNumbers(a.Items[15].Text, true).second, "908.8522");

    const TFakeArea &b = t.Image(5);
    EXPECT_EQ(b.Items[2].Text, W("Вторая популяция - экспоненциальная модель"));
    const std::vector<std::string> f = b.Formulas();
    ASSERT_EQ(f.size(), 13u);
    EXPECT_EQ(std::vector<std::string>(f.begin(), f.begin() + 6),
              (std::vector<std::string>{"diff(t)=1/4", "diff(X)=ind(X,i+1)-X_i",
                                        "(X_(i+1)-X_i)/diff(t)=k*.X_i", "ind(X,i+1)=X_i*.(1+k*.dt)",
                                        "X_0=36", "X_1=36*.(1+0.5008*.0.25)=40.5071"}));
}

TEST(YearPages, Variant1FirstLinesAndNumbering) {
    TFakeTarget t;
    RunOn(t, V1a, V1b);
    const TFakeArea &two1 = t.Image(6), &two2 = t.Image(7);
    const TFakeArea &three1 = t.Image(8), &three2 = t.Image(9);
    EXPECT_EQ(two1.Items[1], Formula(15, 10, "X_0=8", 6));
    EXPECT_EQ(two1.Items[2],
              Formula(15, 10 + PH(6, "X_0=8"), "X_1=(1-0.4704)*.8+0.4704*.1000=474.6667", 6));
    EXPECT_EQ(two2.Items[1].Text, "X_0=16");
    EXPECT_EQ(two2.Items[2].Text, "X_1=16*.(1+0.5008)=24.0126");
    EXPECT_EQ(three1.Items[1], Formula(15, 2, "X_1=8", 6));
    EXPECT_EQ(three1.Items[2].Text, "X_2=(1-0.4704)*.8+0.4704*.1000=474.6667");
    EXPECT_EQ(three2.Items[1].Text, "X_1=16");
    for (const TFakeArea *a : {&two1, &two2, &three1, &three2}) {
        const bool three = a == &three1 || a == &three2;
        const std::vector<std::string> f = a->Formulas();
        ASSERT_EQ(f.size(), three ? 36u : 24u);
        EXPECT_EQ(f.back().substr(0, 5), three ? "X_36=" : "X_23=");
        // Lines follow each other by their heights; only formulas, no text.
        int32_t y = three ? 2 : 10;
        for (std::size_t i = 1; i < a->Items.size(); ++i) {
            ASSERT_EQ(a->Items[i].Kind, K::KFormula);
            EXPECT_EQ(a->Items[i].Y, y);
            EXPECT_EQ(a->Items[i].X, 15);
            y += a->Items[i].Height;
        }
    }
}

TEST(StepTables, ShownStartOfEachLineIsTheShownResultOfThePrevious) {
    for (int v : {1, 5, 17}) {
        TFakeTarget t;
        RunOn(t, Variant(v).Counts1, Variant(v).Counts2);
        for (int image = 4; image <= 9; ++image) {
            const bool logistic = image % 2 == 0; // population 1 of the built-ins
            std::vector<std::string> f = t.Image(image).Formulas();
            if (image <= 5) f.erase(f.begin(), f.begin() + 4); // the general week formulas
            std::string shown = f[0].substr(f[0].find('=') + 1);
            for (std::size_t n = 1; n < f.size(); ++n) {
                const auto [from, to] = StepNumbers(f[n], logistic);
                EXPECT_EQ(from, shown) << v << " " << f[n];
                shown = to;
            }
        }
    }
}

TEST(StepTables, Variant5NegativeK) {
    TFakeTarget t;
    RunOn(t, Variant(5).Counts1, Variant(5).Counts2);
    const std::vector<std::string> k = t.Image(2).Formulas();
    EXPECT_EQ(k[8], "k_(8&String(\",\")&9)=(939-998)/((1000-998)*.1)=-29.5");
    EXPECT_EQ(k[10], "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=-2.7115");
    EXPECT_EQ(k[11], "diff(x)/diff(t)=-2.7115*.!(1000-x)");
    // A negative number right after an operator is bracketed: "+-" would read as plus-minus.
    const std::vector<std::string> week = t.Image(4).Formulas();
    EXPECT_EQ(week[5], "X_1=(1-!(-2.7115)*.0.25)*.841+!(-2.7115)*.1000*.0.25=733.219");
    EXPECT_EQ(week[7].substr(0, week[7].find('+')), "X_3=(1-!(-2.7115)*.0.25)*.552.3768");
    EXPECT_EQ(week[9].substr(0, week[9].find('+')), "X_5=(1-!(-2.7115)*.0.25)*.!(-260.1666)");
    // Below -10^15 from the 22nd monthly step on, written with an exponent.
    const std::vector<std::string> two = t.Image(6).Formulas();
    EXPECT_EQ(two[23], "X_23=(1-!(-2.7115))*.!(-3.36143453041685E15)+!(-2.7115)*.1000="
                       "-1.24758660103404E16");
    EXPECT_EQ(StepNumbers(two[21], true).second.find('E'), std::string::npos);
    const std::string x22 = StepNumbers(two[22], true).second;
    EXPECT_EQ(x22.substr(0, 1), "-");
    EXPECT_NE(x22.find('.'), std::string::npos);
    EXPECT_EQ(x22.substr(x22.size() - 3), "E15");
    EXPECT_NE(StepNumbers(two[23], true).second.find('E'), std::string::npos);
    const std::vector<std::string> three = t.Image(8).Formulas();
    EXPECT_EQ(StepNumbers(three[21], true).second.find('E'), std::string::npos); // X_22
    EXPECT_NE(StepNumbers(three[22], true).second.find('E'), std::string::npos); // X_23
    EXPECT_EQ(three[22].substr(0, 5), "X_23=");
}

TEST(StepTables, ANegativeCountAfterAMinusIsBracketedAndAtABracketsStartIsNot) {
    TCountArray c1 = V1a, c2 = V1b;
    c1[0] = -8;
    c2[0] = -16;
    TFakeTarget t;
    RunOn(t, c1, c2);
    EXPECT_EQ(t.Image(2).Formulas()[1],
              "k_(1&String(\",\")&2)=(504-!(-8))/((1000-!(-8))*.1)=0.5079");
    EXPECT_EQ(t.Image(3).Formulas()[1], "k_(1&String(\",\")&2)=(24-!(-16))/(-16*.1)=-2.5");
    EXPECT_EQ(t.Image(6).Formulas()[0], "X_0=-8");
}

TEST(StepTables, APopulationAtSStaysThere) {
    // k = (0 + 2 + 0 + 2 + 0 + 2 + 0 + 2 + 1) / 9 = 1 exactly, S = 1000: one step to S.
    TFakeTarget t;
    RunOn(t, {0, 0, 2000, 2000, 0, 0, 2000, 2000, 0, 1000}, V1b);
    const std::vector<std::string> two = t.Image(6).Formulas();
    EXPECT_EQ(two[1], "X_1=(1-1)*.0+1*.1000=1000");
    for (std::size_t n = 2; n < two.size(); ++n)
        EXPECT_EQ(two[n], "X_" + std::to_string(n) + "=(1-1)*.1000+1*.1000=1000");
    for (const TChartPoint &p : t.Series(6, 0).Points)
        EXPECT_EQ(p.Y, p.X == 0 ? 0 : 1000);
}

TEST(ApplyRun, ChartsGetTheComputedPoints) {
    TFakeTarget t;
    PaintFormulasPage(t);
    const TRunOutcome o = ComputeRun(V1a, V1b, SmoothLagrange);
    ASSERT_TRUE(o.Result);
    ApplyRun(*o.Result, t);
    for (int chart : {1, 2, 3, 4, 5, 6, 11, 12})
        for (int s = 0; s < 2; ++s)
            EXPECT_EQ(t.Series(chart, s).Points, ChartPoints(*o.Result, chart, s))
                << chart << " " << s;
    EXPECT_EQ(t.Labels.at(3), o.Result->Labels[0]);
    EXPECT_EQ(t.Labels.at(5), o.Result->Labels[2]);
    EXPECT_EQ(t.Labels.at(6), "");
}

// A window paints a page when it is shown: the parts, in any order and over an earlier run,
// must leave what the whole run leaves.
TEST(ApplyRun, PartsInAnyOrderPaintWhatTheWholeRunPaints) {
    TFakeTarget whole, parts;
    RunOn(whole, V1a, V1b);
    RunOn(parts, V1b, V1a, SmoothNone);
    TRunOutcome o = ComputeRun(V1a, V1b, SmoothLeastSquares);
    ASSERT_TRUE(o.Result);
    for (auto part = std::rbegin(RunParts); part != std::rend(RunParts); ++part)
        ApplyRunPart(*o.Result, parts, *part);
    for (int image = 1; image <= 11; ++image)
        EXPECT_EQ(parts.Image(image).Items, whole.Image(image).Items) << "Image" << image;
    for (int chart : {1, 2, 3, 4, 5, 6, 11, 12, 13, 14})
        for (int s = 0; s < (chart >= 13 ? 5 : 2); ++s)
            EXPECT_EQ(parts.Series(chart, s).Points, whole.Series(chart, s).Points) << chart;
    EXPECT_EQ(parts.Labels, whole.Labels);
}

TEST(ApplyRun, OrderOfTheRun) {
    TFakeTarget t;
    RunOn(t, V1a, V1b, SmoothNone);
    const auto &e = t.Events;
    // Month charts: all four series cleared, then population 1, raw points alternating.
    EXPECT_EQ(std::vector<std::string>(e.begin() + IndexOf(e, "clear chart 1 0"),
                                       e.begin() + IndexOf(e, "clear chart 1 0") + 6),
              (std::vector<std::string>{"clear chart 1 0", "clear chart 1 1", "clear chart 2 0",
                                        "clear chart 2 1", "add chart 1 0", "add chart 1 1"}));
    EXPECT_LT(IndexOf(e, "add chart 1 1", true), IndexOf(e, "add chart 2 0"));
    EXPECT_LT(IndexOf(e, "add chart 2 1", true), IndexOf(e, "label 3"));
    EXPECT_LT(IndexOf(e, "label 6"), IndexOf(e, "formula size 8"));
    // The week page's areas are cleared before any coefficient is painted.
    EXPECT_LT(IndexOf(e, "clear image 5"), IndexOf(e, "formula image 2"));
    EXPECT_LT(IndexOf(e, "formula image 2", true), IndexOf(e, "formula image 3"));
    // Week charts cleared after the coefficient page, before the week page.
    EXPECT_LT(IndexOf(e, "formula image 3", true), IndexOf(e, "clear chart 3 0"));
    EXPECT_LT(IndexOf(e, "clear chart 4 1"), IndexOf(e, "formula image 4"));
    EXPECT_LT(IndexOf(e, "add chart 3 1", true), IndexOf(e, "add chart 4 0"));
    // Two-year charts: population 1 (Chart6) first; then the three-year ones (Chart12 first).
    EXPECT_LT(IndexOf(e, "formula image 5", true), IndexOf(e, "clear chart 6 0"));
    EXPECT_LT(IndexOf(e, "clear chart 5 1"), IndexOf(e, "formula size 6"));
    EXPECT_LT(IndexOf(e, "add chart 6 0", true), IndexOf(e, "add chart 5 0"));
    EXPECT_LT(IndexOf(e, "add chart 5 0", true), IndexOf(e, "clear chart 12 0"));
    EXPECT_LT(IndexOf(e, "clear chart 11 1"), IndexOf(e, "clear image 8"));
    EXPECT_LT(IndexOf(e, "add chart 12 0", true), IndexOf(e, "add chart 11 0"));
    // Every picture of a page in its formula size.
    for (int image = 1; image <= 9; ++image)
        for (const TFakeItem &i : t.Image(image).Items) {
            if (i.Kind == K::KFormula) {
                EXPECT_EQ(i.FontSize, image == 1 ? 10 : image <= 5 ? 8 : 6) << image;
            }
        }
}

TEST(ApplyRun, RunsDoNotAccumulate) {
    TFakeTarget once, twice, other;
    RunOn(once, V1a, V1b, SmoothLagrange);
    RunOn(twice, Variant(7).Counts1, Variant(7).Counts2, SmoothNone);
    RunOn(twice, V1a, V1b, SmoothLagrange);
    RunOn(other, V1a, V1b, SmoothLagrange);
    RunOn(other, V1a, V1b, SmoothLagrange);
    for (TFakeTarget *t : {&twice, &other}) {
        for (int image = 1; image <= 9; ++image)
            EXPECT_EQ(t->Image(image).Items, once.Image(image).Items) << image;
        for (int chart : {1, 2, 3, 4, 5, 6, 11, 12})
            for (int s = 0; s < 2; ++s)
                EXPECT_EQ(t->Series(chart, s).Points, once.Series(chart, s).Points) << chart;
        EXPECT_EQ(t->Labels, once.Labels);
    }
}
