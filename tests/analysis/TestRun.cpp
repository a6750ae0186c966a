#include "analysis/Run.h"
#include "runtime/Cp1251.h"
#include "tests/analysis/FakeTarget.h"
#include "tests/analysis/Variants.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace {

TRunResult Computed(const TCountArray &c1, const TCountArray &c2,
                    int32_t smoothing = SmoothLeastSquares) {
    TRunOutcome o = ComputeRun(c1, c2, smoothing);
    EXPECT_TRUE(o.Result.has_value()) << Cp1251ToUtf8(o.Refusal);
    return o.Result.value_or(TRunResult{});
}

std::string Refusal(const TCountArray &c1, const TCountArray &c2) {
    TRunOutcome o = ComputeRun(c1, c2, SmoothLeastSquares);
    EXPECT_FALSE(o.Result.has_value());
    return Cp1251ToUtf8(o.Refusal);
}

const TCountArray V1a = Variant(1).Counts1;
const TCountArray V1b = Variant(1).Counts2;

} // namespace

TEST(RunModel, Variant1) {
    const TRunResult r = Computed(V1a, V1b);
    EXPECT_TRUE(r.FirstIsLogistic); // T = 8016 > R = 4985
    EXPECT_EQ(r.Capacity, 1000);
    EXPECT_TRUE(r.Population[0].Logistic);
    EXPECT_FALSE(r.Population[1].Logistic);
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[0]), "Первая популяция изменяется по логистичесой модели");
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[1]), "Вторая популяция изменяется по экспоненциальной модели");
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[2]), "Максимальное знаяение роста популяции S = 1000");
    EXPECT_EQ(r.Labels[3], "");
    // k_i of population 1: 0.5 six times, 15/31, 0.5, 0.25.
    const long double k1 = (0.5L * 7 + 15.0L / 31 + 0.25L) / 9;
    EXPECT_NEAR(r.Population[0].K, static_cast<double>(k1), 1e-15);
    EXPECT_NEAR(r.Population[0].K, 0.47043, 1e-5);
    EXPECT_NEAR(r.Population[1].K, 0.50078, 1e-5);
    EXPECT_EQ(r.Population[0].IntervalK[0], 0.5);
    EXPECT_EQ(r.Population[0].IntervalK[8], 0.25);
    EXPECT_EQ(r.Population[1].IntervalK[0], 0.5);
}

TEST(RunModel, EveryBuiltInVariantHasALogisticFirstPopulation) {
    for (int v = 1; v <= 30; ++v) {
        TRunOutcome o = ComputeRun(Variant(v).Counts1, Variant(v).Counts2, SmoothNone);
        ASSERT_TRUE(o.Result) << v;
        EXPECT_TRUE(o.Result->FirstIsLogistic) << v;
    }
}

TEST(RunModel, TheTestIsStrict) {
    // r = 1, T = R = 45: population 1 is exponential, its k is 1.25 / 9.
    const TRunResult r = Computed({4, 4, 4, 4, 4, 4, 4, 4, 4, 9}, V1b);
    EXPECT_FALSE(r.FirstIsLogistic);
    EXPECT_FALSE(r.Population[0].Logistic);
    EXPECT_TRUE(r.Population[1].Logistic);
    EXPECT_DOUBLE_EQ(r.Population[0].K, 1.25 / 9);
    EXPECT_EQ(r.Population[0].IntervalK[8], 1.25);
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[0]), "Первая популяция изменяется по экспоненциальной модели");
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[1]), "Вторая популяция изменяется по логистичесой модели");
    EXPECT_EQ(r.Labels[2], "");
    EXPECT_EQ(Cp1251ToUtf8(r.Labels[3]), "Максимальное знаяение роста популяции S = 1000");
    // A straight increasing line from above 0 is logistic (T - R is five times the first count).
    EXPECT_TRUE(Computed({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, V1b).FirstIsLogistic);
}

TEST(RunModel, Variant1Swapped) {
    const TRunResult r = Computed(V1b, V1a); // T = 1821 < R = 3090
    EXPECT_FALSE(r.FirstIsLogistic);
    EXPECT_EQ(r.Capacity, 1000);
    EXPECT_NEAR(r.Population[0].K, 0.50078, 1e-5);
    EXPECT_NEAR(r.Population[1].K, 0.47043, 1e-5);
}

TEST(RunModel, CapacityIsTheNearerOf1000And2000) {
    const struct {
        int32_t last, S;
    } cases[] = {{1500, 1000}, {1501, 2000},      {0, 1000},   {-5, 1000},  {INT32_MIN, 1000},
                 {3000, 2000}, {INT32_MAX, 2000}, {997, 1000}, {1961, 2000}};
    for (const auto &c : cases) {
        // Population 1 logistic: nine counts of 5 (never S, never 0) lie above the ramp.
        TCountArray first = {5, 5, 5, 5, 5, 5, 5, 5, 5, c.last};
        if (c.last > 5) first.fill(c.last);
        const TRunResult r = Computed(first, V1b);
        ASSERT_TRUE(r.FirstIsLogistic) << c.last;
        EXPECT_EQ(r.Capacity, c.S) << c.last;
        // The same through population 2 when population 1 is exponential.
        TCountArray second = {5, 5, 5, 5, 5, 5, 5, 5, 5, c.last};
        EXPECT_EQ(Computed(V1b, second).Capacity, c.S) << c.last;
    }
}

TEST(RunModel, ExtremeCountsNeverOverflow) {
    // Exponential population 1 jumping across the whole 32-bit range.
    const TCountArray c = {INT32_MIN, INT32_MAX, INT32_MIN, 1, 1, 1, 1, 1, 1, 1};
    const TRunResult r = Computed(c, V1b);
    ASSERT_FALSE(r.FirstIsLogistic);
    EXPECT_EQ(r.Population[0].IntervalK[0], static_cast<double>(4294967295.0L / -2147483648.0L));
    EXPECT_EQ(r.Population[0].IntervalK[1], static_cast<double>(-4294967295.0L / 2147483647.0L));
    EXPECT_EQ(r.Population[0].IntervalLines[0],
              "k_(1&String(\",\")&2)=(2147483647-!(-2147483648))/(-2147483648*.1)=-2");
    // A logistic divisor S - X far outside 32 bits.
    const TRunResult l = Computed({INT32_MAX, INT32_MAX, 5, 5, 5, 5, 5, 5, 5, 5}, V1b);
    ASSERT_TRUE(l.FirstIsLogistic);
    EXPECT_EQ(l.Population[0].IntervalK[1],
              static_cast<double>((5.0L - INT32_MAX) / (1000.0L - INT32_MAX)));
}

TEST(RunRefusal, DivisionByZeroIsRefusedWithTheReason) {
    const std::string zero =
        "Численность экспоненциальной популяции в месяцах 1–9 не должна быть равна 0 "
        "(популяция №2)";
    TCountArray exp = V1b;
    exp[8] = 0; // month 9 of the exponential population 2
    EXPECT_EQ(Refusal(V1a, exp), zero);
    exp = V1b;
    exp[0] = 0;
    EXPECT_EQ(Refusal(V1a, exp), zero);
    exp = V1b;
    exp[9] = 0; // month 10 divides nothing
    Computed(V1a, exp);

    TCountArray log = V1a;
    log[4] = 1000; // S = 1000
    EXPECT_EQ(Refusal(log, V1b),
              "Численность логистической популяции в месяцах 1–9 не должна быть равна S = 1000 "
              "(популяция №1)");
    log = {2000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1900}; // S = 2000
    EXPECT_EQ(Refusal(log, V1b),
              "Численность логистической популяции в месяцах 1–9 не должна быть равна S = 2000 "
              "(популяция №1)");
    log = V1a;
    log[9] = 1000; // the last count may equal S
    Computed(log, V1b);
    // Exponential population 1 at 0, swapped roles.
    EXPECT_EQ(Refusal({0, 1, 1, 1, 1, 1, 1, 1, 1, 100}, V1a),
              "Численность экспоненциальной популяции в месяцах 1–9 не должна быть равна 0 "
              "(популяция №1)");
}

TEST(RunRefusal, RunawayProjection) {
    // Logistic, S = 1000, k about -1.2e9: the values grow by that factor each month and leave
    // the range of doubles within three years, though not within two.
    const TCountArray c = {999,       INT32_MIN, 999,       INT32_MIN, 999,
                           INT32_MIN, 999,       INT32_MIN, 999,       INT32_MIN};
    EXPECT_EQ(Refusal(c, V1b), "Прогноз выходит за пределы представимых чисел");
}

TEST(RunValues, FiniteHugeValuesAreKept) {
    // Variant 5: population 1 below -10^15 from the 22nd monthly step on.
    const TRunResult r = Computed(Variant(5).Counts1, Variant(5).Counts2);
    const TPopulationRun &p = r.Population[0];
    EXPECT_GT(p.TwoYears[21], -1e15);
    EXPECT_LT(p.TwoYears[22], -1e15);
    EXPECT_LT(p.ThreeYears[22], -1e15);
}

TEST(RunValues, AnyCountsGiveFiniteNumbersOrARefusal) {
    // Counts from the whole 32-bit range, biased towards the awkward ones.
    std::mt19937 random(20240601);
    const int32_t special[] = {0, 1, -1, 999, 1000, 1001, 2000, INT32_MIN, INT32_MAX};
    auto count = [&] {
        const uint32_t pick = random() % 4;
        if (pick == 0) return special[random() % std::size(special)];
        if (pick == 1) return static_cast<int32_t>(random() % 3000);
        return static_cast<int32_t>(random());
    };
    int refused = 0;
    for (int run = 0; run < 300; ++run) {
        TCountArray c1, c2;
        for (int32_t &c : c1)
            c = count();
        for (int32_t &c : c2)
            c = count();
        const TRunOutcome o = ComputeRun(c1, c2, run % 3);
        if (!o.Result) {
            EXPECT_FALSE(o.Refusal.empty());
            ++refused;
            continue;
        }
        for (const TPopulationRun &p : o.Result->Population) {
            for (const TChartPoint &pt : p.MonthLine)
                ASSERT_TRUE(std::isfinite(pt.Y));
            for (const std::string &line : p.ThreeYearLines)
                ASSERT_EQ(line.find("INF"), std::string::npos) << line;
        }
    }
    EXPECT_LT(refused, 200) << "refusals should be the exception"; // 113 with this seed
}

TEST(MonthCharts, PointsForEachSmoothing) {
    const struct {
        int32_t smoothing;
        std::size_t line, markers;
    } cases[] = {{SmoothNone, 10, 10},
                 {SmoothLagrange, 1001, 10},
                 {SmoothLeastSquares, 51, 10},
                 {3, 0, 0},
                 {-1, 0, 0}};
    for (const auto &c : cases) {
        const TRunResult r = Computed(V1a, V1b, c.smoothing);
        for (int chart : {1, 2}) {
            EXPECT_EQ(ChartPoints(r, chart, 0).size(), c.line) << c.smoothing;
            EXPECT_EQ(ChartPoints(r, chart, 1).size(), c.markers) << c.smoothing;
        }
    }
    const TRunResult raw = Computed(V1a, V1b, SmoothNone);
    EXPECT_EQ(ChartPoints(raw, 1, 0), ChartPoints(raw, 1, 1));
    EXPECT_EQ(ChartPoints(raw, 2, 0)[9], (TChartPoint{10, 618}));
}

TEST(MonthCharts, LagrangeCurveOfVariant1) {
    const TRunResult r = Computed(V1a, V1b, SmoothLagrange);
    const TPointList line = ChartPoints(r, 1, 0);
    EXPECT_EQ(line.front(), (TChartPoint{1, 8}));
    EXPECT_NEAR(line.back().X, 10, 1e-9);
    EXPECT_NEAR(line.back().Y, 997, 1e-3);
    // Samples drift by repeated addition of 0.009.
    double x = 0;
    for (int i = 0; i < 500; ++i)
        x = static_cast<double>(static_cast<long double>(x) + 0.009);
    EXPECT_EQ(line[500].X, static_cast<double>(static_cast<long double>(x) + 1));
    const TPointList markers = ChartPoints(r, 1, 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(markers[i], (TChartPoint{double(i + 1), double(V1a[i])}));
}

TEST(MonthCharts, LeastSquaresReproducesALine) {
    const TCountArray line = {3, 5, 7, 9, 11, 13, 15, 17, 19, 21};
    const TRunResult r = Computed(line, V1b, SmoothLeastSquares);
    const TPointList points = ChartPoints(r, 1, 0);
    ASSERT_EQ(points.size(), 51u);
    EXPECT_NEAR(points.back().X, 10, 1e-9);
    for (const TChartPoint &p : points)
        EXPECT_NEAR(p.Y, 3 + 2 * (p.X - 1), 1e-6) << p.X;
}

TEST(ProjectionCharts, SeriesAssignment) {
    const TRunResult r = Computed(V1a, V1b);
    const struct {
        int chart;
        std::size_t s0, s1;
    } cases[] = {{3, 9, 8}, {4, 9, 8}, {6, 24, 0}, {5, 24, 0}, {12, 35, 1}, {11, 36, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(ChartPoints(r, c.chart, 0).size(), c.s0) << c.chart;
        EXPECT_EQ(ChartPoints(r, c.chart, 1).size(), c.s1) << c.chart;
    }
    EXPECT_EQ(ChartPoints(r, 3, 0).front(), (TChartPoint{0, 752}));
    EXPECT_EQ(ChartPoints(r, 3, 1).front().X, 1);
    EXPECT_EQ(ChartPoints(r, 4, 0).front(), (TChartPoint{0, 36}));
    EXPECT_EQ(ChartPoints(r, 12, 1), (TPointList{{0, 8}}));
    EXPECT_EQ(ChartPoints(r, 12, 0).front(), (TChartPoint{1, r.Population[0].ThreeYears[1]}));
    EXPECT_EQ(ChartPoints(r, 11, 0).front(), (TChartPoint{0, 16}));
    EXPECT_EQ(ChartPoints(r, 6, 0).back(), (TChartPoint{23, r.Population[0].TwoYears[23]}));
    EXPECT_TRUE(ChartPoints(r, 7, 0).empty());
    EXPECT_TRUE(ChartPoints(r, 1, 2).empty());
}
