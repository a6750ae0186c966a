// The small numeric routines of the analysis run: the two smoothing methods of the month charts,
// the one-step rules of both growth models, and the rounding and writing of numbers for formula
// text. Every expression is evaluated in 80-bit long double and rounded to double where its
// result is stored, in the order of operations the run has always used, so results are
// reproducible to the last bit.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Ten monthly counts of one population (index 0 = month 1), or the ten x nodes.
using TCountArray = std::array<int32_t, 10>;
// Coefficients of a polynomial of degree at most 4; c[i] belongs to x^i.
using TCoeffArray = std::array<double, 5>;

// The abscissae of the ten months (month number minus one).
inline constexpr TCountArray MonthNodes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

// Least-squares polynomial of degree m through the points (X[k], Y[k]), k = 0 .. n, by the
// normal equations and Gaussian elimination without pivoting. Fills C[0 .. m] and leaves the
// rest alone. n is limited to 9 and m to 4 (the array sizes).
void LeastSquaresFit(uint8_t n, uint8_t m, TCountArray X, TCountArray Y, TCoeffArray &C);

// Horner's rule for the polynomial C[0 .. m] (m limited to 4).
double PolyValue(uint8_t m, TCoeffArray C, double x);

// The Lagrange interpolation polynomial through (X[i], Y[i]), i = 0 .. n, at x; 0 for n < 0,
// n limited to 9. Equal nodes divide by zero (an infinite or undefined result).
double LagrangeValue(int32_t n, TCountArray X, TCountArray Y, double x);

// b / a (note the order).
double IntRatio(int32_t a, int32_t b);

// One explicit Euler step of dX/dt = k (S - X): (1 - k dt) X + k S dt.
double LogisticStep(double k, double S, double X, double dt);

// One explicit Euler step of dX/dt = k X: (k dt + 1) X.
double ExponentialStep(double k, double X, double dt);

// x rounded to N decimals: the nearest value with N decimals, an exact half away from zero,
// decided on the exact value of the double. Values of magnitude 10^15 or more, infinities and
// NaN are returned unchanged.
double RoundDecimals(uint8_t N, double x);

// The first comma of s turned into a point; later commas stay.
void CommaToPoint(std::string_view s, std::string &out);

// How a real value is written into formula text: RoundDecimals(4, v) in the general format,
// its decimal comma turned into a point. 0.47043 -> "0.4704", 752 -> "752".
std::string FormulaNumber(double v);
