#include "results/AxisScale.h"
#include "results/Chart.h"
#include "results/CheckChart.h"

#include <gtest/gtest.h>

TEST(AxisLabels, CompactAtAnyMagnitudeAndFreeOfTickNoise) {
    struct {
        double Value, Step;
        const char *Text;
    } const cases[] = {
        {1e23, 2e22, "1·10²³"},
        {1e23, 0, "1·10²³"}, // 1e23 is 9,99…·10²² as a double
        {-1.2e16, 2e15, "−1,2·10¹⁶"},
        {-1.2e16, 0, "−1,2·10¹⁶"},
        {0.5, 0.25, "0,5"},
        {0.5, 0, "0,5"},
        {997, 1, "997"},
        {997, 0, "997"},
        {-12500, 2500, "−12\u00A0500"},
        {2500, 500, "2500"},
        {2.5e-4, 5e-5, "2,5·10⁻⁴"},
        {123456789, 0, "1,235·10⁸"},
        // The zero line and a tick of variant 5's three-year chart as the tick arithmetic
        // leaves them, and a tick that needs the step's decimals in its mantissa.
        {-16777216, 2e22, "0"},
        {20000000000000008388608.0, 2e22, "2·10²²"},
        {-7.5e15, 2.5e15, "−7,5·10¹⁵"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Value);
        const QString text = AxisLabelText(c.Value, c.Step);
        EXPECT_EQ(text, QString::fromUtf8(c.Text));
        EXPECT_LE(text.size(), 10);
    }
}

TEST(AxisScale, BottomAxesSpanTheDataAndLeftAxesRoundOut) {
    // The Lagrange curve ends a hair past month 10.
    TAxisScale months = AxisScaleFor(1, 10.000000000000002, 24, false);
    EXPECT_EQ(months.Min, 1);
    EXPECT_EQ(months.Max, 10);
    EXPECT_EQ(months.Ticks, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    const TAxisScale years = AxisScaleFor(0, 35, 24, false);
    EXPECT_EQ(years.Max, 35);
    EXPECT_EQ(years.Step, 2);
    EXPECT_EQ(years.Ticks.back(), 34);
    // Whole ends count whole months or weeks: never a step of half a unit.
    EXPECT_EQ(AxisScaleFor(0, 2, 24, false).Step, 1);

    const TAxisScale counts = AxisScaleFor(8, 997, 6, true);
    EXPECT_EQ(counts.Min, 0);
    EXPECT_EQ(counts.Max, 1000);
    EXPECT_EQ(counts.Step, 200);
    const TAxisScale huge = AxisScaleFor(-8.6e22, 8, 6, true);
    EXPECT_EQ(huge.Min, -1e23);
    EXPECT_EQ(huge.Max, 0);
    EXPECT_LE(huge.Ticks.size(), 7u);
    // A single value still gets a span.
    const TAxisScale flat = AxisScaleFor(1000, 1000, 6, true);
    EXPECT_LT(flat.Min, 1000);
    EXPECT_GT(flat.Max, 1000);
}

TEST(AxisScale, AChartLabelsItsTicksWithTheseTexts) {
    TChart chart(QStringLiteral("Месяцы"), QStringLiteral("Численность популяции"), true);
    chart.Series(1).AddXY(0, 8);
    for (int month = 1; month <= 35; ++month)
        chart.Series(0).AddXY(month, month < 30 ? -1e3 * month : -8.6e22 * (month - 29) / 6);
    chart.Flush();
    const QStringList left = chart.AxisY()->categoriesLabels();
    EXPECT_EQ(left.first(), QStringLiteral("−1·10²³"));
    EXPECT_EQ(left.last(), QStringLiteral("0"));
    EXPECT_EQ(chart.AxisY()->endValue(left.last()), 0);
    const QStringList bottom = chart.AxisX()->categoriesLabels();
    EXPECT_EQ(bottom.first(), QStringLiteral("0"));
    EXPECT_EQ(bottom.last(), QStringLiteral("34"));
    EXPECT_EQ(chart.AxisX()->max(), 35);
}

TEST(AxisScale, TheCheckChartShowsTheTenMonthsAndTheSameLabels) {
    TCheckChart chart;
    QStringList months;
    for (int month = 1; month <= 10; ++month)
        months << QString::number(month);
    EXPECT_EQ(chart.AxisX()->categoriesLabels(), months); // even before the counts come
    for (int month = 1; month <= 10; ++month)
        chart.AddXY(1, month, month < 10 ? 10 * month : 6.18e8);
    chart.Flush();
    EXPECT_EQ(chart.AxisX()->categoriesLabels(), months);
    const QStringList left = chart.AxisY()->categoriesLabels();
    EXPECT_EQ(left.first(), QStringLiteral("0"));
    EXPECT_EQ(left.last(), QStringLiteral("8·10⁸"));
}
