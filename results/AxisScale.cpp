#include "results/AxisScale.h"

#include "runtime/Language.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace {

// x taken as the whole number next to it when it differs by rounding noise only.
double SnapWhole(double x) {
    const double r = std::round(x);
    return std::abs(x - r) <= 1e-9 * std::max(1.0, std::abs(x)) ? r : x;
}

// The decimals a multiple of step needs: 0 for 5, 1 for 0,5, 2 for 0,25 (at most 15).
int DecimalsOf(double step) {
    int d = 0;
    double scaled = step;
    while (d < 15 && std::abs(scaled - std::round(scaled)) > 1e-6 * std::max(1.0, scaled)) {
        ++d;
        scaled *= 10;
    }
    return d;
}

// Plain decimal text of v with at most `decimals` decimals (trailing zeros dropped), a decimal
// comma, and no-break spaces between the digit groups of five or more integer digits.
QString PlainText(double v, int decimals) {
    QString text = QString::number(std::abs(v), 'f', decimals);
    const bool zero = text.toDouble() == 0;
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.')) text.chop(1);
    }
    qsizetype point = text.indexOf(u'.');
    if (point < 0) point = text.size();
    if (point >= 5)
        for (qsizetype at = point - 3; at > 0; at -= 3)
            text.insert(at, QChar(0x00A0));
    text.replace(u'.', QChar(DecimalSeparator()));
    return v < 0 && !zero ? QStringLiteral("\u2212") + text : text;
}

QString Superscript(int n) {
    static const char16_t digits[] =
        u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString out = n < 0 ? QStringLiteral("\u207B") : QString();
    const QString plain = QString::number(std::abs(n));
    for (QChar c : plain)
        out += QChar(digits[c.unicode() - u'0']);
    return out;
}

} // namespace

TAxisScale AxisScaleFor(double lo, double hi, int maxIntervals, bool loose) {
    maxIntervals = std::max(maxIntervals, 1);
    if (!loose) {
        lo = SnapWhole(lo);
        hi = SnapWhole(hi);
    }
    if (lo == hi) {
        const double pad = std::max(1.0, std::abs(lo) / 20);
        lo -= pad;
        hi += pad;
    }
    TAxisScale scale;
    scale.Min = lo;
    scale.Max = hi;
    const double span = hi - lo;
    if (!std::isfinite(span) || !(span > 0)) {
        // Beyond the range of doubles: the ends alone, written as precisely as they need.
        scale.Ticks = {lo, hi};
        scale.Step = 0;
        return scale;
    }
    // Whole ends of an exact axis count whole things (months, weeks): no step below one.
    const bool whole = !loose && lo == std::round(lo) && hi == std::round(hi);
    double magnitude = std::pow(10.0, std::floor(std::log10(span / maxIntervals)));
    if (whole) magnitude = std::max(magnitude, 1.0);
    static constexpr double LooseSteps[] = {1, 2, 2.5, 5};
    static constexpr double ExactSteps[] = {1, 2, 5};
    double step = 0, first = 0, last = 0;
    for (int tries = 0; tries < 8 && step == 0; ++tries, magnitude *= 10) {
        for (double m :
             loose ? std::span<const double>(LooseSteps) : std::span<const double>(ExactSteps)) {
            const double s = m * magnitude;
            // Tick indices: multiples of s, out to the ends (loose) or inside them.
            const double a = loose ? std::floor(SnapWhole(lo / s)) : std::ceil(SnapWhole(lo / s));
            const double b = loose ? std::ceil(SnapWhole(hi / s)) : std::floor(SnapWhole(hi / s));
            if (b - a <= maxIntervals) {
                step = s;
                first = a;
                last = b;
                break;
            }
        }
    }
    if (step == 0) {
        scale.Ticks = {lo, hi};
        scale.Step = 0;
        return scale;
    }
    scale.Step = step;
    if (loose) {
        scale.Min = first * step;
        scale.Max = last * step;
    }
    for (double i = first; i <= last; ++i)
        scale.Ticks.push_back(i * step);
    return scale;
}

QString AxisLabelText(double value, double step) {
    if (!std::isfinite(value)) return QString::number(value);
    if (step > 0) {
        // A tick is a whole multiple of the step; what the arithmetic added is noise.
        const double q = value / step;
        if (std::abs(q - std::round(q)) <= 1e-6 * std::max(1.0, std::abs(q)))
            value = std::round(q) * step;
        if (std::abs(value) < step * 1e-6) value = 0;
    }
    const double magnitude = std::abs(value);
    if (magnitude == 0) return QStringLiteral("0");
    if (magnitude < 1e6 && magnitude >= 1e-3) {
        const int decimals = step > 0
                                 ? DecimalsOf(step)
                                 : std::clamp(3 - int(std::floor(std::log10(magnitude))), 0, 6);
        return PlainText(value, decimals);
    }
    // Power-of-ten form: a mantissa from 1 up to 10 with the decimals the step needs there.
    int exponent = int(std::floor(std::log10(magnitude)));
    auto decimalsAt = [step](int e) {
        return step > 0 ? std::min(DecimalsOf(step / std::pow(10.0, e)), 14) : 3;
    };
    const int d = decimalsAt(exponent);
    const double scaled = std::round(magnitude / std::pow(10.0, exponent) * std::pow(10.0, d));
    // The logarithm or the rounding can land a hair off: 9,99… rounds to 10, so one power up.
    if (scaled >= std::pow(10.0, d + 1))
        ++exponent;
    else if (scaled < std::pow(10.0, d))
        --exponent;
    return PlainText(value / std::pow(10.0, exponent), decimalsAt(exponent)) +
           QStringLiteral("\u00B710") + Superscript(exponent);
}
