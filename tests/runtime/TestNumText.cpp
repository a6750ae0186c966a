#include "runtime/NumText.h"
#include "runtime/NumTextSeam.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr long double Inf = std::numeric_limits<long double>::infinity();
constexpr long double NaN = std::numeric_limits<long double>::quiet_NaN();
long double FakeMantissa = 0;
} // namespace

TEST(ValInt32, AcceptsSignAndDigitsAndReportsTheFirstRejectedCharacter) {
    struct Case {
        const char *text;
        int result;
        int32_t value;
        bool overflow;
    };
    const Case cases[] = {
        {"123", 0, 123, false},
        {"+7", 0, 7, false},
        {"-0", 0, 0, false},
        {"00012", 0, 12, false},
        {"", 1, 0, false},
        {"-", 2, 0, false},
        {"+", 2, 0, false},
        {"+-1", 2, 0, false},
        {" 1", 1, 0, false},
        {"1 ", 2, 1, false},
        {"12a3", 3, 12, false},
        {"1.5", 2, 1, false},
        {"2147483647", 0, 2147483647, false},
        {"-2147483648", 0, INT32_MIN, false},
        {"2147483648", 10, 214748364, true},
        {"-2147483649", 11, -214748364, true},
        {"99999999999999999999", 10, 999999999, true},
    };
    for (const Case &c : cases) {
        int32_t v = -1;
        bool overflow = !c.overflow;
        EXPECT_EQ(ValInt32(c.text, v, &overflow), c.result) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(overflow, c.overflow) << c.text;
    }
}

TEST(ValExtended, ReadsTheLongestNumberPrefix) {
    struct Case {
        const char *text;
        int result;
        long double value;
    };
    const Case cases[] = {
        {"1.5", 0, 1.5L},
        {"-0.25", 0, -0.25L},
        {"1.", 2, 1},
        {"1.5E", 4, 1.5L},
        {"1e+", 2, 1},
        {"2E-3x", 5, 2e-3L},
        {"7e2", 0, 700},
        {"3.25e+1)", 8, 32.5L},
        {"1,5", 2, 1},
        {".5", 1, 0},
        {"-", 2, 0},
        {"-x", 2, 0},
        {"", 1, 0},
        {"0.1", 0, 0.1L},
        {"123456789012345678901234567890", 0, 123456789012345678901234567890.0L},
    };
    for (const Case &c : cases) {
        long double v = -1;
        EXPECT_EQ(ValExtended(c.text, v), c.result) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    long double v = 0;
    EXPECT_EQ(ValExtended("1E99999", v), 0);
    EXPECT_EQ(v, Inf);
    EXPECT_EQ(ValExtended("1E-99999", v), 0);
    EXPECT_EQ(v, 0);
}

TEST(FloatToStrGeneral, FixedNotationWithinItsRange) {
    EXPECT_EQ(FloatToStrGeneral(0), "0");
    EXPECT_EQ(FloatToStrGeneral(-0.0L), "0");
    EXPECT_EQ(FloatToStrGeneral(1), "1");
    EXPECT_EQ(FloatToStrGeneral(752), "752");
    EXPECT_EQ(FloatToStrGeneral(-1.5), "-1,5");
    EXPECT_EQ(FloatToStrGeneral(0.1), "0,1");
    EXPECT_EQ(FloatToStrGeneral(0.47043), "0,47043");
    EXPECT_EQ(FloatToStrGeneral(2.5, '.'), "2.5");
    EXPECT_EQ(FloatToStrGeneral(1.0L / 3), "0,333333333333333");
    EXPECT_EQ(FloatToStrGeneral(2.0L / 3), "0,666666666666667");
    EXPECT_EQ(FloatToStrGeneral(0.00001L), "0,00001");
    EXPECT_EQ(FloatToStrGeneral(-0.000012345L), "-0,000012345");
    EXPECT_EQ(FloatToStrGeneral(999999999999999.0L), "999999999999999");
    EXPECT_EQ(FloatToStrGeneral(123456789012345.6L), "123456789012346");
}

TEST(FloatToStrGeneral, ExponentNotationOutsideItAndOnTheRoundedValue) {
    EXPECT_EQ(FloatToStrGeneral(1e15L), "1E15");
    EXPECT_EQ(FloatToStrGeneral(1e20L), "1E20");
    EXPECT_EQ(FloatToStrGeneral(0.0000015L), "1,5E-6");
    EXPECT_EQ(FloatToStrGeneral(-1234567890123456.0L), "-1,23456789012346E15");
    // 15 digits round up to the next power of ten, which decides the notation.
    EXPECT_EQ(FloatToStrGeneral(999999999999999.5), "1E15");
    EXPECT_EQ(FloatToStrGeneral(0.000009999999999999996L), "0,00001");
    EXPECT_EQ(FloatToStrGeneral(0.000009999999999999L), "9,999999999999E-6");
    // An exact tie at the 16th digit goes away from zero (banker's would give ...344).
    EXPECT_EQ(FloatToStrGeneral(1234567890123445.0), "1,23456789012345E15");
    EXPECT_EQ(FloatToStrGeneral(LDBL_TRUE_MIN), "3,64519953188247E-4951");
    EXPECT_EQ(FloatToStrGeneral(LDBL_MAX), "1,18973149535723E4932");
    EXPECT_EQ(FloatToStrGeneral(-DBL_MAX), "-1,79769313486232E308");
    EXPECT_EQ(FloatToStrGeneral(NaN), "NAN");
    EXPECT_EQ(FloatToStrGeneral(Inf), "INF");
    EXPECT_EQ(FloatToStrGeneral(-Inf), "-INF");
}

TEST(FloatToStrPlain, RoundsTheExactValueHalfAwayFromZero) {
    struct Case {
        long double value;
        int decimals;
        const char *text;
    };
    const Case cases[] = {
        {0.59375, 4, "0,5938"}, // exact binary halves
        {0.34375, 4, "0,3438"},
        {-0.59375, 4, "-0,5938"},
        {0.125, 2, "0,13"},
        {2.5, 0, "3"},
        {-0.5, 0, "-1"},
        {-2.71147, 4, "-2,7115"},
        {-0.47049, 4, "-0,4705"},
        {-0.00007, 4, "-0,0001"},
        {0.00005, 4, "0,0001"}, // the double lies just above 0.00005
        {0.00004, 4, "0"},
        {-0.00004, 4, "0"},
        {0.12346, 4, "0,1235"},
        {0.12344, 4, "0,1234"},
        {0.12345, 4, "0,1235"}, // the double lies above the tie
        {-9.995, 2, "-9,99"},   // and this one below it
        {0.99996, 4, "1"},
        {5, 4, "5"},
        {1e20L, 4, "100000000000000000000"},
        {0.1, 30, "0,100000000000000005551115123126"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FloatToStrPlain(c.value, c.decimals), c.text) << c.text;
    EXPECT_EQ(FloatToStrPlain(1.5, 1, '.'), "1.5");
    EXPECT_EQ(FloatToStrPlain(-Inf, 4), "-INF");
}

TEST(FloatToStrExponent, PrecisionAndExponentDigits) {
    EXPECT_EQ(FloatToStrExponent(12345.678L, 3, 0), "1,23E+4");
    EXPECT_EQ(FloatToStrExponent(12345.678L, 3, 4), "1,23E+0004");
    EXPECT_EQ(FloatToStrExponent(5, 14, 0), "5,0000000000000E+0");
    EXPECT_EQ(FloatToStrExponent(0.00001L, 4, 1), "1,000E-5");
    EXPECT_EQ(FloatToStrExponent(-0.0005L, 2, 2), "-5,0E-04");
    EXPECT_EQ(FloatToStrExponent(0, 3, 2), "0,00E+00");
    EXPECT_EQ(FloatToStrExponent(7, 1, 0), "7E+0");
    EXPECT_EQ(FloatToStrExponent(9.9951L, 3, 0), "1,00E+1");
    EXPECT_EQ(FloatToStrExponent(-9.995, 3, 0), "-9,99E+0");
    EXPECT_EQ(FloatToStrExponent(1e300L, 2, 1), "1,0E+300");
    EXPECT_EQ(FloatToStrExponent(1.5, 99, 9), "1,50000000000000000E+0000"); // clamped to 18 and 4
    EXPECT_EQ(FloatToStrExponent(NaN, 4, 0), "NAN");
}

TEST(FloatToStrFixed, DecimalsPrecisionAndTheSwitchToExponentForm) {
    EXPECT_EQ(FloatToStrFixed(1.23456L, 15, 2), "1,23");
    EXPECT_EQ(FloatToStrFixed(1.235, 15, 2), "1,24");
    EXPECT_EQ(FloatToStrFixed(2.5, 15, 0), "3");
    EXPECT_EQ(FloatToStrFixed(-2.5, 15, 0), "-3");
    EXPECT_EQ(FloatToStrFixed(1.23456789L, 4, 6), "1,235000");
    EXPECT_EQ(FloatToStrFixed(0.0005L, 4, 4), "0,0005");
    EXPECT_EQ(FloatToStrFixed(0.006L, 4, 2), "0,01");
    EXPECT_EQ(FloatToStrFixed(0.00004L, 4, 4), "0,0000");
    EXPECT_EQ(FloatToStrFixed(-0.00004L, 4, 4), "0,0000");
    EXPECT_EQ(FloatToStrFixed(0, 4, 2), "0,00");
    EXPECT_EQ(FloatToStrFixed(1500, 4, 4), "1500,0000");
    EXPECT_EQ(FloatToStrFixed(123456, 4, 2), "1,235E+5");
    EXPECT_EQ(FloatToStrFixed(99999.6L, 5, 0), "1,0000E+5");
    EXPECT_EQ(FloatToStrFixed(-Inf, 4, 4), "-INF");
}

TEST(Round, HalfToEvenAndSaturation) {
    const struct {
        long double x;
        int64_t r;
    } cases[] = {
        {0.5L, 0},
        {1.5L, 2},
        {2.5L, 2},
        {-0.5L, 0},
        {-1.5L, -2},
        {-2.5L, -2},
        {2.4999999L, 2},
        {2.5000001L, 3},
        {-2.5000001L, -3},
        {7, 7},
        {4503599627370497.5L, 4503599627370498},
        {-13.999999L, -14},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Round(c.x), c.r) << static_cast<double>(c.x);
    EXPECT_EQ(Round(NaN), 0);
    EXPECT_EQ(Round(1e30L), INT64_MAX);
    EXPECT_EQ(Round(Inf), INT64_MAX);
    EXPECT_EQ(Round(-1e30L), INT64_MIN);
    EXPECT_EQ(Round(-0x1p63L), INT64_MIN);
    EXPECT_EQ(Round(0x1p63L - 0.5L), INT64_MAX); // the even neighbour is 2^63
    EXPECT_EQ(Round32(-20 * 0.7L), -14);
    EXPECT_EQ(Round32(16 * 0.7L), 11);
    EXPECT_EQ(Round32(3e9L), INT32_MAX);
    EXPECT_EQ(Round32(-3e9L), INT32_MIN);
    EXPECT_EQ(Sat32(int64_t{1} << 40), INT32_MAX);
    EXPECT_EQ(Sat32(-(int64_t{1} << 40)), INT32_MIN);
    EXPECT_EQ(Sat32(-5), -5);
}

TEST(MulDiv, RoundsHalfAwayAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, 1, -2), -2);
    EXPECT_EQ(MulDiv(-3, -1, 2), 2);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(8, 1, 3), 3);
    EXPECT_EQ(MulDiv(-8, 1, 3), -3);
    EXPECT_EQ(MulDiv(65536, 65536, 4), 1073741824);
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, 1), -1);
    EXPECT_EQ(MulDiv(INT32_MIN, -1, 1), -1);
    EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
    EXPECT_EQ(MulDiv(INT32_MIN, INT32_MIN, INT32_MIN), INT32_MIN);
}

TEST(IntToStr, Extremes) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-1000), "-1000");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

TEST(NumTexts, ASplitWithoutMantissaBitsEndsAsZero) {
    // What emulated 80-bit arithmetic gave for a huge literal: without the guard every format
    // below would shift the empty mantissa for ever.
    const TFrexpFunction real = NumTextFrexp;
    for (long double fake : {0.0L, 1.0L, Inf, NaN}) {
        NumTextFrexp = [](long double, int *e) {
            *e = 0;
            return FakeMantissa;
        };
        FakeMantissa = fake;
        EXPECT_EQ(FloatToStrGeneral(5), "0") << static_cast<double>(fake);
        EXPECT_EQ(FloatToStrPlain(5, 2), "0");
        EXPECT_EQ(FloatToStrExponent(5, 3, 0), FloatToStrExponent(0, 3, 0));
        EXPECT_EQ(FloatToStrFixed(5, 15, 2), FloatToStrFixed(0, 15, 2));
    }
    NumTextFrexp = real;
    EXPECT_EQ(FloatToStrGeneral(5), "5");
}
