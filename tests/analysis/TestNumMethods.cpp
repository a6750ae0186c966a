#include "analysis/NumMethods.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
TCountArray Polynomial(const TCoeffArray &c) {
    TCountArray y{};
    for (int k = 0; k < 10; ++k)
        y[k] = static_cast<int32_t>(c[0] + k * (c[1] + k * (c[2] + k * (c[3] + k * c[4]))));
    return y;
}
} // namespace

TEST(LeastSquaresFit, ReproducesPolynomialsOfDegreeAtMostFour) {
    for (const TCoeffArray &exact :
         {TCoeffArray{7, -4, 3, -1, 2}, TCoeffArray{3, 2, 0, 0, 0}, TCoeffArray{-50, 0, 0, 0, 1}}) {
        TCoeffArray c{};
        LeastSquaresFit(9, 4, MonthNodes, Polynomial(exact), c);
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(c[i], exact[i], 1e-7) << i;
        for (int k = 0; k < 10; ++k)
            EXPECT_NEAR(PolyValue(4, c, k), Polynomial(exact)[k], 1e-6);
    }
}

TEST(LeastSquaresFit, LowerDegreeLeavesTheUpperCoefficientsAlone) {
    TCoeffArray c{0, 0, 0, 99, 99};
    LeastSquaresFit(9, 2, MonthNodes, Polynomial({5, -3, 2, 0, 0}), c);
    EXPECT_NEAR(c[0], 5, 1e-9);
    EXPECT_NEAR(c[1], -3, 1e-9);
    EXPECT_NEAR(c[2], 2, 1e-9);
    EXPECT_EQ(c[3], 99);
    EXPECT_EQ(c[4], 99);
    // The best line through points on a parabola: y = 2x^2 has the mean 57 at mean x 4.5, and
    // slope cov / var = 18.
    LeastSquaresFit(9, 1, MonthNodes, Polynomial({0, 0, 2, 0, 0}), c);
    EXPECT_NEAR(c[1], 18, 1e-9);
    EXPECT_NEAR(c[0], 57 - 18 * 4.5, 1e-9);
}

TEST(LeastSquaresFit, OutOfRangeSizesAreLimitedToTheArrays) {
    TCoeffArray a{}, b{};
    const TCountArray y = Polynomial({1, 1, 1, 1, 1});
    LeastSquaresFit(200, 9, MonthNodes, y, a);
    LeastSquaresFit(9, 4, MonthNodes, y, b);
    EXPECT_EQ(a, b);
}

TEST(PolyValue, Horner) {
    EXPECT_EQ(PolyValue(4, {1, 2, 3, 0, 0}, 2), 17);
    EXPECT_EQ(PolyValue(2, {1, 2, 3, 100, 100}, 2), 17); // higher coefficients unused
    EXPECT_EQ(PolyValue(0, {4.5, 2, 3, 0, 0}, 1e6), 4.5);
    EXPECT_EQ(PolyValue(4, {0, 0, 0, 0, 1}, -3), 81);
}

TEST(LagrangeValue, PassesThroughEveryNode) {
    const TCountArray y = {8, 504, 752, 876, 938, 969, 984, 992, 996, 997};
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(LagrangeValue(9, MonthNodes, y, i), y[i], 1e-9) << i;
    EXPECT_EQ(LagrangeValue(9, MonthNodes, y, 0), 8); // exact: every other factor is 0
    EXPECT_EQ(LagrangeValue(-1, MonthNodes, y, 3), 0);
    EXPECT_EQ(LagrangeValue(0, MonthNodes, y, 3.7), 8);
    // Two nodes: the straight line through them.
    EXPECT_NEAR(LagrangeValue(1, MonthNodes, y, 0.5), (8 + 504) / 2.0, 1e-12);
    // A degree-9 polynomial through counts on a cubic is that cubic, also between nodes.
    EXPECT_NEAR(LagrangeValue(9, MonthNodes, Polynomial({1, 0, 0, 2, 0}), 4.5),
                1 + 2 * 4.5 * 4.5 * 4.5, 1e-7);
}

TEST(LagrangeValue, ExtremeNodesDoNotOverflow) {
    const TCountArray x = {INT32_MIN, INT32_MAX, 0, 0, 0, 0, 0, 0, 0, 0};
    const TCountArray y = {1, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    // The node difference 2^32 - 1 is formed exactly: halfway between the nodes the line gives 2.
    EXPECT_NEAR(LagrangeValue(1, x, y, -0.5), 2, 1e-9);
}

TEST(IntRatio, SecondArgumentOverFirst) {
    EXPECT_DOUBLE_EQ(IntRatio(9, 997), 997.0 / 9.0);
    EXPECT_EQ(IntRatio(4, 2), 0.5);
    EXPECT_EQ(IntRatio(-1, INT32_MIN), 2147483648.0);
}

TEST(Steps, OneEulerStepOfEachModel) {
    EXPECT_EQ(LogisticStep(0.5, 1000, 8, 1), 504);
    EXPECT_EQ(LogisticStep(0.5, 1000, 200, 0.25), 0.875 * 200 + 125);
    EXPECT_EQ(ExponentialStep(0.5, 16, 1), 24);
    EXPECT_EQ(ExponentialStep(0.5, 16, 0.25), 18);
    for (double k : {0.47043010752688175, -2.7114697, 1e-9, 123.456, -0.3})
        for (double dt : {0.25, 1.0}) {
            EXPECT_EQ(LogisticStep(k, 1000, 1000, dt), 1000) << k; // a population at S stays
            EXPECT_EQ(LogisticStep(k, 2000, 2000, dt), 2000) << k;
            EXPECT_EQ(ExponentialStep(k, 0, dt), 0) << k;
        }
}

TEST(Steps, EvaluatedInExtendedPrecision) {
    // Inputs where rounding every operation to double would change the last digit (the double
    // results are -3157.3341853882694 and 1251.3901793108525).
    EXPECT_EQ(LogisticStep(-0.29271057693277092, 1000, -2873.8546294996377, 0.25),
              -3157.3341853882689);
    EXPECT_EQ(ExponentialStep(-1.2488120368366651, 1819.4179330037423, 0.25), 1251.3901793108528);
}

TEST(RoundDecimals, NearestWithAnExactHalfAwayFromZero) {
    const struct {
        double x, r;
    } cases[] = {
        {0.59375, 0.5938},   {0.34375, 0.3438},   {22.0 / 64, 0.3438},
        {-2.71147, -2.7115}, {-0.47049, -0.4705}, {-0.00007, -0.0001},
        {0.12346, 0.1235},   {0.12344, 0.1234},   {0.00004, 0},
        {0.00005, 0.0001},   {0.00009, 0.0001},   {5, 5},
        {-0.59375, -0.5938}, {2.71828, 2.7183},   {1.23454, 1.2345},
        {0.99996, 1},        {-1e-300, 0},        {999999999.99995, 1000000000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundDecimals(4, c.x), c.r) << c.x;
    EXPECT_FALSE(std::signbit(RoundDecimals(4, -0.00004)));
    EXPECT_EQ(RoundDecimals(0, 2.5), 3);
    EXPECT_EQ(RoundDecimals(0, -2.5), -3);
    EXPECT_EQ(RoundDecimals(2, 0.125), 0.13);
    EXPECT_EQ(RoundDecimals(255, 0.1), 0.1);
}

TEST(RoundDecimals, HugeAndNonFiniteValuesUnchanged) {
    for (double x : {1e15, -1e15, 1.5e15 + 0.5, -1234567890123456.0, 1e300, -1.7e308})
        EXPECT_EQ(RoundDecimals(4, x), x);
    EXPECT_EQ(RoundDecimals(4, 999999999999999.875), 999999999999999.875);
    EXPECT_TRUE(std::isnan(RoundDecimals(4, std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(RoundDecimals(4, -std::numeric_limits<double>::infinity()),
              -std::numeric_limits<double>::infinity());
}

TEST(CommaToPoint, FirstCommaOnly) {
    std::string out = "stale";
    CommaToPoint("1,2345", out);
    EXPECT_EQ(out, "1.2345");
    CommaToPoint("12", out);
    EXPECT_EQ(out, "12");
    CommaToPoint("1,2,3", out);
    EXPECT_EQ(out, "1.2,3");
    CommaToPoint("", out);
    EXPECT_EQ(out, "");
}

TEST(FormulaNumber, TextsForFormulas) {
    EXPECT_EQ(FormulaNumber(0.47043), "0.4704");
    EXPECT_EQ(FormulaNumber(0.5), "0.5");
    EXPECT_EQ(FormulaNumber(752), "752");
    EXPECT_EQ(FormulaNumber(-2.71147), "-2.7115");
    EXPECT_EQ(FormulaNumber(0.34375), "0.3438");
    EXPECT_EQ(FormulaNumber(-29.5), "-29.5");
    EXPECT_EQ(FormulaNumber(0), "0");
    EXPECT_EQ(FormulaNumber(-0.00004), "0");
    EXPECT_EQ(FormulaNumber(0.00007), "0.0001");
    EXPECT_EQ(FormulaNumber(781.16666666), "781.1667");
    EXPECT_EQ(FormulaNumber(123456789012.34567), "123456789012.346"); // 15 digits
    EXPECT_EQ(FormulaNumber(-1234567890123456.0), "-1.23456789012346E15");
    EXPECT_EQ(FormulaNumber(1e15), "1E15");
    EXPECT_EQ(FormulaNumber(2.5e300), "2.5E300");
}
