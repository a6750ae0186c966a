#include "analysis/NumMethods.h"

#include "runtime/NumText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

// Stored values are doubles; "E" marks every expression that is evaluated in extended precision
// and rounded once where it is stored.
using E = long double;

namespace {
double Store(E v) {
    return static_cast<double>(v);
}
} // namespace

void LeastSquaresFit(uint8_t n, uint8_t m, TCountArray X, TCountArray Y, TCoeffArray &C) {
    n = std::min<uint8_t>(n, 9);
    m = std::min<uint8_t>(m, 4);
    double A[5][5] = {};
    double b[5] = {};
    for (int i = 0; i <= m; ++i) {
        for (int j = i; j <= m; ++j) {
            double sum = 0.0;
            for (int k = 0; k <= n; ++k) {
                double power = 1.0;
                for (int p = 0; p < i + j; ++p)
                    power = Store(E(power) * X[k]);
                sum = Store(E(sum) + power);
            }
            A[i][j] = sum;
            A[j][i] = sum;
        }
    }
    for (int i = 0; i <= m; ++i) {
        double sum = 0.0;
        for (int k = 0; k <= n; ++k) {
            double term = Y[k];
            for (int p = 0; p < i; ++p)
                term = Store(E(term) * X[k]);
            sum = Store(E(sum) + term);
        }
        b[i] = sum;
    }
    for (int k = 0; k < m; ++k) {
        for (int i = k + 1; i <= m; ++i) {
            for (int j = k + 1; j <= m; ++j)
                A[j][i] = Store(E(A[j][i]) - (E(A[k][i]) * A[j][k]) / A[k][k]);
            b[i] = Store(E(b[i]) - (E(b[k]) * A[k][i]) / A[k][k]);
        }
    }
    for (int i = m; i >= 0; --i) {
        C[i] = b[i];
        for (int j = i + 1; j <= m; ++j)
            C[i] = Store(E(C[i]) - E(A[j][i]) * C[j]);
        C[i] = Store(E(C[i]) / A[i][i]);
    }
}

double PolyValue(uint8_t m, TCoeffArray C, double x) {
    m = std::min<uint8_t>(m, 4);
    double s = 0.0;
    for (int i = m; i >= 0; --i)
        s = Store(E(s) * x + C[i]);
    return s;
}

double LagrangeValue(int32_t n, TCountArray X, TCountArray Y, double x) {
    n = std::min<int32_t>(n, 9);
    double s = 0.0;
    for (int32_t i = 0; i <= n; ++i) {
        double p = 1.0;
        for (int32_t j = 0; j <= n; ++j) {
            if (j == i) continue;
            // 64 bits: the node difference of arbitrary 32-bit nodes must not overflow.
            const int64_t d = int64_t{X[i]} - X[j];
            p = Store(((E(x) - X[j]) * p) / E(d));
        }
        s = Store(E(s) + E(Y[i]) * p);
    }
    return s;
}

double IntRatio(int32_t a, int32_t b) {
    return Store(E(b) / E(a));
}

double LogisticStep(double k, double S, double X, double dt) {
    return Store((1 - E(k) * dt) * X + E(k) * S * dt);
}

double ExponentialStep(double k, double X, double dt) {
    return Store((E(k) * dt + 1) * X);
}

double RoundDecimals(uint8_t N, double x) {
    if (!std::isfinite(x) || std::fabs(x) >= 1e15) return x;
    // The exactly rounded decimal text, read back to the nearest double.
    const std::string text = FloatToStrPlain(x, N, '.');
    double r = 0;
    std::from_chars(text.data(), text.data() + text.size(), r);
    return r;
}

void CommaToPoint(std::string_view s, std::string &out) {
    out.assign(s);
    const auto comma = out.find(',');
    if (comma != std::string::npos) out[comma] = '.';
}

std::string FormulaNumber(double v) {
    std::string out;
    CommaToPoint(FloatToStrGeneral(RoundDecimals(4, v)), out);
    return out;
}
