// The runtime's number texts and readers: decimal readers that report the first rejected
// character, the general / exponent / fixed float formats with a decimal separator (the
// program's locale uses a comma), banker's Round and MulDiv.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads an optional sign ('+' or '-') and decimal digits. Returns 0 when the whole text was
// accepted, else the 1-based index of the first rejected character (an empty text gives 1,
// a lone sign 2). A digit that would take the value outside the signed 32-bit range is
// rejected: its index is returned and *overflow (when given) is set. value receives the
// number read so far (0 when nothing was read).
int ValInt32(std::string_view s, int32_t &value, bool *overflow = nullptr);

// Reads the longest prefix of the form: digits ['.' digits] [('E'|'e') ['+'|'-'] digits],
// optionally preceded by a sign. A point or an exponent letter not followed by a digit is not
// part of the number. Returns 0 when the whole text was accepted, else the 1-based index of the
// first rejected character; value receives the correctly rounded value of the accepted prefix
// (0 when nothing was accepted). As with ValInt32, a sign not followed by a digit gives 2.
// A value beyond the extended range reads as an infinity.
int ValExtended(std::string_view s, long double &value);

// General format with 15 significant digits: fixed notation when the decimal exponent allows it
// (at most 15 integer digits, magnitude at least 0.00001), else exponent notation without '+'
// and without leading zeros ("1E20", "1,5E-6", "-1,23456789012346E15"). No trailing zeros;
// 0 is "0"; NaN "NAN", infinities "INF" and "-INF". The 15 digits are rounded half away from
// zero on the exact binary value; the fixed/exponent choice is made on the rounded value.
std::string FloatToStrGeneral(long double v, char separator = ',');

// Plain decimal notation (never an exponent): v's exact value rounded half away from zero to at
// most 'decimals' (0..4950) decimals, trailing zeros of the fraction and a bare separator
// dropped, no sign when the result is 0: 0.59375 (4) -> "0,5938", -0.00004 (4) -> "0". NaN and the
// infinities as in the general format.
std::string FloatToStrPlain(long double v, int decimals, char separator = ',');

// Exponent format: 'precision' significant digits (1..18), trailing zeros kept, the exponent
// always signed and at least 'digits' (0..4) digits long: 12345.678 (3, 0) -> "1,23E+4".
std::string FloatToStrExponent(long double v, int precision, int digits, char separator = ',');

// Fixed format: rounded half away from zero to 'precision' significant digits or to 'digits'
// decimals, whichever keeps fewer digits, written with exactly 'digits' (0..18) decimals; exponent
// format (exponent digits 0) when the integer digits exceed precision. No sign when the rounded
// value is 0.
std::string FloatToStrFixed(long double v, int precision, int digits, char separator = ',');

// To the nearest integer, an exact half to the even neighbour; saturates at the int64 range,
// NaN gives 0.
int64_t Round(long double x);

// Round(x) clamped to the signed 32-bit range: what layout code stores.
int32_t Round32(long double x);

// Clamps a 64-bit intermediate result to the signed 32-bit range.
int32_t Sat32(int64_t x);

// A coordinate moved by an offset, in 64 bits and clamped to 32: a position beyond the range
// stops at its edge instead of wrapping.
inline int32_t SatAdd(int64_t at, int64_t offset) {
    return Sat32(at + offset);
}
inline int32_t SatSub(int64_t at, int64_t offset) {
    return Sat32(at - offset);
}

// a * b / c with the intermediate in 64 bits, the quotient rounded half away from zero;
// -1 when c is 0 or the quotient does not fit 32 bits (as the classic call does).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// Decimal text of an integer ("-" and digits).
std::string IntToStr(int64_t v);

// The shortest text with a point that reads back to exactly v ("0.1", "1e+23"), for records
// and files that other programs read.
std::string ShortestText(double v);
