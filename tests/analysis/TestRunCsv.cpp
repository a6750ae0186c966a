#include "analysis/CheckPage.h"
#include "analysis/RunCsv.h"
#include "tests/analysis/Variants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <sstream>
#include <tuple>

namespace {

using TRow = std::vector<std::string>;

// The file as a spreadsheet reads it: rows of semicolon-separated fields.
std::vector<TRow> Rows(const std::string &csv) {
    std::vector<TRow> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.ends_with('\r')) << line;
        line.pop_back();
        TRow row;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ';');)
            row.push_back(field);
        if (line.ends_with(';')) row.emplace_back();
        rows.push_back(row);
    }
    return rows;
}

// A number with a decimal comma, as a Russian spreadsheet reads it.
double Number(std::string text) {
    for (char &c : text)
        if (c == ',') c = '.';
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
    return v;
}

} // namespace

TEST(RunTablesCsv, Variant1ReadsBackWithTheValuesOfThePages) {
    const TRunOutcome o = ComputeRun(Variant(1).Counts1, Variant(1).Counts2, SmoothLeastSquares);
    ASSERT_TRUE(o.Result);
    const std::string csv = RunTablesCsv(*o.Result);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::vector<TRow> rows = Rows(csv.substr(3));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (TRow{"Популяция", "Величина", "Номер", "Значение", "Как на странице"}));
    // Per population: 10 counts, the model, 9 interval k, k, 9 + 24 + 36 projections; S once;
    // then the least-squares check.
    const auto check = std::find_if(rows.begin(), rows.end(),
                                    [](const TRow &row) { return row[1].starts_with("МНК"); });
    EXPECT_EQ(check - rows.begin(), 1 + 2 * 90 + 1);

    std::map<std::tuple<std::string, std::string, std::string>, TRow> byKey;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 5u) << i;
        byKey[{rows[i][0], rows[i][1], rows[i][2]}] = rows[i];
    }
    auto shown = [&](const char *population, const char *quantity, const char *number) {
        const auto found = byKey.find({population, quantity, number});
        return found == byKey.end() ? std::string("(none)") : found->second[4];
    };
    // Population, quantity, number and the text the page shows ("(none)": no such row).
    const std::array<std::array<const char *, 4>, 19> expected = {{
        {"1", "Понедельный рост", "0", "752"},
        {"1", "Понедельный рост", "1", "781,1667"},
        {"1", "Понедельный рост", "8", "908,8522"},
        {"2", "Понедельный рост", "1", "40,5071"},
        {"1", "k(i,i+1)", "1", "0,5"},
        {"1", "k", "", "0,4704"},
        {"2", "k", "", "0,5008"},
        {"1", "Модель", "", "логистическая"},
        {"2", "Модель", "", "экспоненциальная"},
        {"1", "S", "", "1000"},
        {"2", "S", "", "(none)"},
        {"1", "Численность за месяц", "10", "997"},
        {"2", "За два года", "1", "24,0126"},
        {"1", "За три года", "2", "474,6667"}, // numbered from 1, as the page
        {"1", "МНК: лучшая модель", "", "насыщения"},
        {"1", "МНК: согласна с программой", "", "да"},
        {"2", "МНК: лучшая модель", "", "экспоненциальная"},
        {"2", "МНК, насыщения: статус", "", "не определена"},
        {"2", "МНК, насыщения: S", "", "(none)"},
    }};
    for (const auto &[population, quantity, number, text] : expected)
        EXPECT_EQ(shown(population, quantity, number), text) << quantity << ' ' << number;

    // Each computed value reads back to the very double the run holds.
    for (int p = 0; p < 2; ++p) {
        const TPopulationRun &run = o.Result->Population[static_cast<size_t>(p)];
        const std::string n = std::to_string(p + 1);
        EXPECT_EQ(Number(byKey[{n, "k", ""}][3]), run.K);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(Number(byKey[{n, "k(i,i+1)", std::to_string(i + 1)}][3]), run.IntervalK[i]);
        for (int w = 0; w < 9; ++w)
            EXPECT_EQ(Number(byKey[{n, "Понедельный рост", std::to_string(w)}][3]), run.Week[w]);
        for (int m = 0; m < 36; ++m)
            EXPECT_EQ(Number(byKey[{n, "За три года", std::to_string(m + 1)}][3]),
                      run.ThreeYears[m]);
    }
    const TModelFit &saturation = o.Result->Check->Population[0].Fit.Of(TFitModel::Saturation);
    EXPECT_EQ(Number(byKey[{"1", "МНК, насыщения: S", ""}][3]), saturation.S());
    EXPECT_EQ(Number(byKey[{"1", "МНК, насыщения: ст. ошибка k", ""}][3]),
              saturation.Parameters[FitRate].StdError);
}

TEST(RunTablesCsv, HugeValuesKeepAnExponentARussianSpreadsheetReads) {
    const TRunOutcome o = ComputeRun(Variant(5).Counts1, Variant(5).Counts2, SmoothNone);
    ASSERT_TRUE(o.Result);
    const std::string csv = RunTablesCsv(*o.Result);
    const double x35 = o.Result->Population[0].ThreeYears[35];
    ASSERT_LT(x35, -1e20);
    for (const TRow &row : Rows(csv.substr(3))) {
        if (row[0] != "1" || row[1] != "За три года" || row[2] != "36") continue;
        EXPECT_EQ(row[3].find('.'), std::string::npos);
        EXPECT_EQ(Number(row[3]), x35);
        EXPECT_NE(row[4].find("E"), std::string::npos);
        EXPECT_NEAR(Number(row[4]) / x35, 1, 1e-14);
        return;
    }
    ADD_FAILURE() << "no row for X_36";
}
