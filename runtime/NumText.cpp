#include "runtime/NumText.h"

#include "runtime/NumTextSeam.h"
#include <charconv>

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale.h>
#include <stdlib.h>
#include <vector>

TFrexpFunction NumTextFrexp = [](long double v, int *e) { return std::frexp(v, e); };

namespace {

// The exact decimal value of a finite number: Digits without leading or trailing zeros (empty
// for 0), value = Digits[0].Digits[1..] x 10^Exponent.
struct TExactDecimal {
    bool Negative = false;
    std::string Digits;
    int32_t Exponent = 0;
};

// A non-negative big integer in base 10^9, least significant limb first.
class TBigDecimal {
public:
    explicit TBigDecimal(uint64_t v) {
        do {
            FLimbs.push_back(static_cast<uint32_t>(v % Base));
            v /= Base;
        } while (v != 0);
    }

    void Multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (uint32_t &limb : FLimbs) {
            const uint64_t t = static_cast<uint64_t>(limb) * factor + carry;
            limb = static_cast<uint32_t>(t % Base);
            carry = t / Base;
        }
        while (carry != 0) {
            FLimbs.push_back(static_cast<uint32_t>(carry % Base));
            carry /= Base;
        }
    }

    std::string ToString() const {
        std::string s = std::to_string(FLimbs.back());
        for (std::size_t i = FLimbs.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(FLimbs[i]);
            s.append(9 - part.size(), '0');
            s += part;
        }
        return s;
    }

private:
    static constexpr uint64_t Base = 1000000000;
    std::vector<uint32_t> FLimbs;
};

// Every binary fraction has a finite decimal expansion: m x 2^-k = m x 5^k / 10^k. Exact for
// all finite long doubles, denormals included, so rounding decisions never suffer from a
// second rounding inside a C library.
TExactDecimal ExactDecimal(long double v) {
    TExactDecimal d;
    d.Negative = std::signbit(v);
    if (v == 0) return d;
    int e2 = 0;
    const long double frac = NumTextFrexp(std::fabs(v), &e2);
    // A mantissa without a set bit would make the loop below endless, and one outside [0, 1)
    // would not fit the integer; the value then reads as 0.
    if (!(frac > 0 && frac < 1)) return d;
    uint64_t m = static_cast<uint64_t>(std::ldexp(frac, 64));
    e2 -= 64;
    if (m == 0) return d;
    while ((m & 1) == 0) {
        m >>= 1;
        ++e2;
    }
    TBigDecimal n(m);
    int32_t shift = 0;
    if (e2 >= 0) {
        for (; e2 >= 30; e2 -= 30)
            n.Multiply(1u << 30);
        n.Multiply(1u << e2);
    } else {
        int k = -e2;
        shift = k;
        for (; k >= 13; k -= 13)
            n.Multiply(1220703125u); // 5^13
        uint32_t p = 1;
        while (k-- > 0)
            p *= 5;
        n.Multiply(p);
    }
    d.Digits = n.ToString();
    d.Exponent = static_cast<int32_t>(d.Digits.size()) - 1 - shift;
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
    return d;
}

// Keeps 'keep' significant digits, rounding half away from zero (on the magnitude).
void RoundDigits(TExactDecimal &d, int64_t keep) {
    if (d.Digits.empty() || keep >= static_cast<int64_t>(d.Digits.size())) return;
    if (keep < 0) {
        d.Digits.clear();
        return;
    }
    const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        std::size_t i = d.Digits.size();
        while (i > 0 && d.Digits[i - 1] == '9')
            --i;
        if (i == 0) {
            d.Digits.assign(1, '1');
            ++d.Exponent;
        } else {
            d.Digits.resize(i);
            ++d.Digits[i - 1];
        }
    }
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
}

// The digits of d as a fixed-point text with at least minDecimals decimals (padded with
// zeros) and without a separator when there are none.
std::string FixedText(const TExactDecimal &d, int minDecimals, char separator) {
    std::string intPart, fracPart;
    if (d.Exponent >= 0) {
        const auto intLen = static_cast<std::size_t>(d.Exponent) + 1;
        intPart = d.Digits.substr(0, intLen);
        intPart.append(intLen - intPart.size(), '0');
        if (d.Digits.size() > intLen) fracPart = d.Digits.substr(intLen);
    } else {
        intPart = "0";
        if (!d.Digits.empty())
            fracPart = std::string(static_cast<std::size_t>(-d.Exponent - 1), '0') + d.Digits;
    }
    if (static_cast<int>(fracPart.size()) < minDecimals)
        fracPart.append(static_cast<std::size_t>(minDecimals) - fracPart.size(), '0');
    std::string s(d.Negative && !d.Digits.empty() ? 1 : 0, '-');
    s += intPart;
    if (!fracPart.empty()) {
        s += separator;
        s += fracPart;
    }
    return s;
}

bool NonFiniteText(long double v, std::string &s) {
    if (std::isnan(v))
        s = "NAN";
    else if (std::isinf(v))
        s = v < 0 ? "-INF" : "INF";
    else
        return false;
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// strtold_l with the C locale: the program's own locale (a comma) must not change what the
// reader accepts.
long double ParseCLocale(const std::string &text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtold_l(text.c_str(), nullptr, cLocale);
}

// The exact decimal of v for a format of 1 to 18 significant digits (precision is brought into
// that range); false, with the text of v in text, when v is not finite.
bool FormatDecimal(long double v, int &precision, TExactDecimal &d, std::string &text) {
    if (NonFiniteText(v, text)) return false;
    precision = std::clamp(precision, 1, 18);
    d = ExactDecimal(v);
    return true;
}

} // namespace

int ValInt32(std::string_view s, int32_t &value, bool *overflow) {
    value = 0;
    if (overflow) *overflow = false;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i >= s.size() || !IsDigit(s[i])) return static_cast<int>(i) + 1;
    int64_t v = 0;
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i])) break;
        const int64_t next = v * 10 + (s[i] - '0');
        if (next > limit) {
            if (overflow) *overflow = true;
            break;
        }
        v = next;
        value = static_cast<int32_t>(negative ? -v : v);
    }
    return i == s.size() ? 0 : static_cast<int>(std::min<std::size_t>(i, INT32_MAX - 1)) + 1;
}

int ValExtended(std::string_view s, long double &value) {
    value = 0;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= s.size() || !IsDigit(s[i])) return static_cast<int>(i) + 1;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1])) {
        i += 2;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    if (i + 1 < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-') ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    value = ParseCLocale(std::string(s.substr(0, i)));
    return i == s.size() ? 0 : static_cast<int>(std::min<std::size_t>(i, INT32_MAX - 1)) + 1;
}

std::string FloatToStrGeneral(long double v, char separator) {
    std::string s;
    if (NonFiniteText(v, s)) return s;
    TExactDecimal d = ExactDecimal(v);
    RoundDigits(d, 15);
    if (d.Digits.empty()) return "0";
    if (d.Exponent >= -5 && d.Exponent <= 14) return FixedText(d, 0, separator);
    s.assign(d.Negative ? 1 : 0, '-');
    s += d.Digits[0];
    if (d.Digits.size() > 1) {
        s += separator;
        s += d.Digits.substr(1);
    }
    s += 'E';
    s += std::to_string(d.Exponent);
    return s;
}

std::string FloatToStrPlain(long double v, int decimals, char separator) {
    std::string s;
    if (NonFiniteText(v, s)) return s;
    decimals = std::clamp(decimals, 0, 4950);
    TExactDecimal d = ExactDecimal(v);
    RoundDigits(d, int64_t{d.Exponent} + 1 + decimals);
    return FixedText(d, 0, separator);
}

std::string FloatToStrExponent(long double v, int precision, int digits, char separator) {
    std::string s;
    TExactDecimal d;
    if (!FormatDecimal(v, precision, d, s)) return s;
    digits = std::clamp(digits, 0, 4);
    RoundDigits(d, precision);
    if (d.Digits.empty()) d.Exponent = 0;
    d.Digits.resize(static_cast<std::size_t>(precision), '0');
    s.assign(d.Negative && d.Digits[0] != '0' ? 1 : 0, '-');
    s += d.Digits[0];
    if (precision > 1) {
        s += separator;
        s += d.Digits.substr(1);
    }
    s += 'E';
    s += d.Exponent < 0 ? '-' : '+';
    const std::string e = std::to_string(std::abs(d.Exponent));
    s.append(e.size() < static_cast<std::size_t>(digits) ? digits - e.size() : 0, '0');
    s += e;
    return s;
}

std::string FloatToStrFixed(long double v, int precision, int digits, char separator) {
    std::string s;
    TExactDecimal d;
    if (!FormatDecimal(v, precision, d, s)) return s;
    digits = std::clamp(digits, 0, 18);
    RoundDigits(d, std::min<int64_t>(precision, int64_t{d.Exponent} + 1 + digits));
    if (!d.Digits.empty() && d.Exponent + 1 > precision)
        return FloatToStrExponent(v, precision, 0, separator);
    return FixedText(d, digits, separator);
}

int64_t Round(long double x) {
    if (std::isnan(x)) return 0;
    if (x >= 0x1p63L) return std::numeric_limits<int64_t>::max();
    if (x <= -0x1p63L) return std::numeric_limits<int64_t>::min();
    // Done by hand so that the result does not depend on the FPU's rounding mode; x - floor(x)
    // is exact in binary floating point.
    long double f = std::floor(x);
    const long double rest = x - f;
    if (rest > 0.5L || (rest == 0.5L && std::fmod(f, 2.0L) != 0)) f += 1;
    if (f >= 0x1p63L) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(f);
}

int32_t Round32(long double x) {
    return Sat32(Round(x));
}

int32_t Sat32(int64_t x) {
    return static_cast<int32_t>(std::clamp<int64_t>(x, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t n = static_cast<int64_t>(a) * b;
    const bool negative = (n < 0) != (c < 0);
    const uint64_t un = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    const uint64_t uc =
        c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
    const uint64_t q = (un + uc / 2) / uc;
    if (negative ? q > (uint64_t{1} << 31) : q > static_cast<uint64_t>(INT32_MAX)) return -1;
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

std::string IntToStr(int64_t v) {
    return std::to_string(v);
}

std::string ShortestText(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}
