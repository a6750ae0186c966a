// The check page: warnings, agreement over the built-in variants, the painted lines and chart
// series, and the dump records.
#include "analysis/CheckPage.h"
#include "runtime/Cp1251.h"
#include "tests/analysis/FakeTarget.h"
#include "tests/analysis/Variants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

TRunResult Computed(const TCountArray &c1, const TCountArray &c2) {
    TRunOutcome o = ComputeRun(c1, c2, SmoothNone);
    EXPECT_TRUE(o.Result) << Cp1251ToUtf8(o.Refusal);
    return o.Result ? *o.Result : TRunResult{};
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace

TEST(CheckPage, WarningsWhereTheRunGoesWrong) {
    // Variant 5: one count drops from 998 to 939, which makes k = -2.71 and the projections
    // negative; the fit still finds the saturation curve.
    TRunResult run = Computed(Variant(5).Counts1, Variant(5).Counts2);
    ASSERT_TRUE(run.Check);
    const TPopulationCheck &p1 = run.Check->Population[0];
    EXPECT_EQ(p1.Warnings,
              (std::vector<std::string>{
                  "Коэффициент k программы отрицателен, хотя численность выросла: по модели "
                  "программы популяция убывает.",
                  "Прогноз программы даёт отрицательную численность (понедельный, за два года, "
                  "за три года).",
                  "Численность падает: от месяца 8 к месяцу 9 (с 998 до 939)."}));
    EXPECT_TRUE(p1.Agrees);
    EXPECT_EQ(p1.Fit.Preferred(), TFitModel::Saturation);
    EXPECT_TRUE(run.Check->Population[1].Warnings.empty());

    // Counts above S, and only the tables that do go negative are named.
    run = Computed({8, 504, 752, 876, 938, 969, 1012, 992, 996, 1003}, Variant(1).Counts2);
    EXPECT_EQ(run.Check->Population[0].Warnings,
              (std::vector<std::string>{"Численность выше S = 1000 в месяцах 7, 10.",
                                        "Численность падает: от месяца 7 к месяцу 8 (с 1012 до "
                                        "992)."}));
    EXPECT_TRUE(
        Computed(Variant(1).Counts1, Variant(1).Counts2).Check->Population[0].Warnings.empty());
}

TEST(CheckPage, AgreementOverTheBuiltInVariants) {
    // Every logistic population follows the saturation curve best; every exponential one the
    // exponential, except variant 20, whose last count 565 bends the curve over.
    for (int v = 1; v <= 30; ++v) {
        const TRunResult run = Computed(Variant(v).Counts1, Variant(v).Counts2);
        const TPopulationCheck &logistic = run.Check->Population[0];
        const TPopulationCheck &exponential = run.Check->Population[1];
        ASSERT_TRUE(logistic.ProgramLogistic) << v;
        EXPECT_EQ(logistic.Fit.Preferred(), TFitModel::Saturation) << v;
        EXPECT_TRUE(logistic.Agrees) << v;
        EXPECT_EQ(exponential.Agrees, v != 20) << v;
        EXPECT_EQ(exponential.Fit.Preferred(),
                  v == 20 ? TFitModel::Logistic : TFitModel::Exponential)
            << v;
    }
}

TEST(CheckPage, PaintedLinesAndCharts) {
    TFakeTarget t;
    PaintFormulasPage(t);
    const TRunOutcome o = ComputeRun(Variant(5).Counts1, Variant(5).Counts2, SmoothNone);
    ASSERT_TRUE(o.Result);
    ApplyRun(*o.Result, t);
    const TCheckPage &page = *o.Result->Check;
    for (int i = 0; i < 2; ++i) {
        const TFakeArea &area = t.Image(10 + i);
        const std::vector<TCheckLine> &lines = page.Population[i].Lines;
        ASSERT_EQ(area.Items.size(), lines.size() + 2); // the clear and the font come first
        // With the gaps between the blocks, unless the lines then run past the bottom: then
        // without, and smaller.
        const int32_t points = area.Items[1].FontSize;
        auto bottom = [&](bool gaps) {
            int32_t y = 10;
            for (std::size_t n = 0; n < lines.size(); ++n)
                y += (gaps ? lines[n].GapBefore : 0) + (lines[n].Formula
                                                            ? area.Items[n + 2].Height
                                                            : TFakeArea::LineHeight(points, false));
            return y;
        };
        const bool gaps = points == 8 && bottom(true) <= area.Height();
        // The fake's lines are taller than the real ones: population 1 takes the second way.
        EXPECT_EQ(gaps, i == 1);
        int32_t y = 10;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const TFakeItem &item = area.Items[n + 2];
            y += gaps ? lines[n].GapBefore : 0;
            EXPECT_EQ(item.Text, lines[n].Text);
            EXPECT_EQ(item.Y, y);
            y += lines[n].Formula ? item.Height : TFakeArea::LineHeight(points, false);
        }
        for (int s = 0; s < CheckSeriesCount; ++s)
            EXPECT_EQ(t.Series(13 + i, s).Points, page.Population[i].Series[s]);
    }

    // Population 1: the run's model leaves the chart at once and ends on its lower edge, a
    // quarter of the counts' range below 0; the three fits are drawn month 1 to month 10.
    const auto &series = page.Population[0].Series;
    ASSERT_EQ(series[CheckProgram].size(), 2u);
    EXPECT_EQ(series[CheckProgram][1].Y, -999.0 / 4);
    EXPECT_GT(series[CheckProgram][1].X, 1);
    EXPECT_LT(series[CheckProgram][1].X, 2);
    for (int s = CheckFirstCurve; s < CheckSeriesCount; ++s) {
        ASSERT_EQ(series[s].size(), 91u);
        EXPECT_EQ(series[s].front().X, 1);
        EXPECT_EQ(series[s].back().X, 10);
    }
    EXPECT_EQ(series[CheckCounts][8].Y, 939);
    // Population 2: undetermined fits draw nothing.
    EXPECT_TRUE(page.Population[1].Series[CheckFirstCurve + 1].empty());
    EXPECT_EQ(page.Population[1].Series[CheckProgram].size(), 10u);

    const std::vector<std::string> formulas = t.Image(10).Formulas();
    EXPECT_NE(std::find(formulas.begin(), formulas.end(), "X(t)=988.2-(988.2-7)*.e^(-0.948*t)"),
              formulas.end());
    EXPECT_NE(std::find(formulas.begin(), formulas.end(),
                        "A=7+-20&Space(10)&k=0.948+-0.05"
                        "&Space(10)&S=988.2+-8.7"),
              formulas.end());
}

TEST(CheckPage, ZerosAndNegativesGiveAPlainAnswer) {
    // A logistic population with zeros and a negative count: the run goes through, and the page
    // names what could not be fitted and why.
    const TRunResult run = Computed({0, 50, 0, -2, 80, 90, 0, 95, 98, 100}, Variant(1).Counts2);
    const TPopulationCheck &p1 = run.Check->Population[0];
    ASSERT_TRUE(p1.ProgramLogistic);
    EXPECT_EQ(p1.Fit.Preferred(), TFitModel::Exponential);
    EXPECT_FALSE(p1.Agrees);
    // The plain lines joined again where they were broken; negative counts with the minus sign.
    std::string texts;
    for (const TCheckLine &line : p1.Lines)
        if (!line.Formula) texts += line.Text + (line.Text.back() == '.' ? "\n" : " ");
    for (const char *expected :
         {"Модель насыщения: не определена, данные не показывают насыщения.",
          "Выбор модели не совпадает с программой (логистическая модель).", "(с 0 до \u22122)"})
        EXPECT_NE(texts.find(expected), std::string::npos) << expected;

    // Large values keep six significant digits, in the power-of-ten form of the axes.
    const TRunResult census = Computed({3929214, 5308483, 7239881, 9638453, 12866020, 17069453,
                                        23191876, 31443321, 38558371, 50189209},
                                       Variant(1).Counts2);
    bool found = false;
    for (const TCheckLine &line : census.Check->Population[0].Lines)
        found = found || line.Text.find("RSS = 5,23146·10¹²; AICc = 279,83;") != std::string::npos;
    EXPECT_TRUE(found);

    // Nothing positive at all: no model, and the records say so.
    const TRunResult none = Computed({-1, -1, -1, -1, -1, -1, -1, -1, -1, -5}, Variant(1).Counts2);
    ASSERT_TRUE(none.Check->Population[0].ProgramLogistic);
    EXPECT_FALSE(none.Check->Population[0].Fit.HasPreferred());
    std::vector<std::string> noneTexts;
    for (const TCheckLine &line : none.Check->Population[0].Lines)
        if (!line.Formula) noneTexts.push_back(line.Text);
    for (const char *expected : {"Ни одна модель не определена по этим данным.",
                                 "Подгонка не определена; у программы логистическая модель."})
        EXPECT_NE(std::find(noneTexts.begin(), noneTexts.end(), expected), noneTexts.end())
            << expected;
    const std::vector<std::string> records = Lines(CheckRecords(*none.Check));
    for (const char *expected :
         {"fit 1 exponential undetermined _ _ _ _ _", "se 1 logistic _ _ _", "choice 1 _ 0"})
        EXPECT_NE(std::find(records.begin(), records.end(), expected), records.end()) << expected;
}

TEST(CheckPage, Records) {
    const TRunResult run = Computed(Variant(5).Counts1, Variant(5).Counts2);
    const std::vector<std::string> records = Lines(CheckRecords(*run.Check));
    // Each population: three fits, three standard-error records, the choice, its warnings.
    std::vector<std::string> kinds;
    for (const std::string &r : records)
        kinds.push_back(r.substr(0, r.find(' ')));
    EXPECT_EQ(kinds, (std::vector<std::string>{"fit", "fit", "fit", "se", "se", "se", "choice",
                                               "warning", "warning", "warning", "fit", "fit", "fit",
                                               "se", "se", "se", "choice"}));
    ASSERT_EQ(records.size(), 17u);
    // Reals are the shortest texts that read back to the same doubles.
    const TModelFit &sat = run.Check->Population[0].Fit.Of(TFitModel::Saturation);
    std::istringstream fields(records[1]);
    std::string word;
    std::vector<double> values;
    for (int n = 0; fields >> word; ++n)
        if (n >= 4) values.push_back(std::stod(word));
    EXPECT_EQ(values, (std::vector<double>{sat.A(), sat.Rate(), sat.S(), sat.Rss, sat.Aicc}));
    EXPECT_EQ(records[1].substr(0, 20), "fit 1 saturation ok ");
    EXPECT_EQ(records[3].substr(0, 21), "se 1 exponential 124.");
    EXPECT_EQ(records[3].substr(records[3].size() - 2), " _");
    EXPECT_EQ(records[6], "choice 1 saturation 1");
    EXPECT_EQ(records[9],
              "warning 1 \"Численность падает: от месяца 8 к месяцу 9 (с 998 до 939).\"");
    EXPECT_EQ(records[11], "fit 2 saturation undetermined _ _ _ _ _");
    EXPECT_EQ(records[14], "se 2 saturation _ _ _");
    EXPECT_EQ(records[16], "choice 2 exponential 1");
}
