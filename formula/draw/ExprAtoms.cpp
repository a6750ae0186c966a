#include "formula/draw/ExprAtoms.h"

#include "formula/draw/ExprLayout.h"

#include "runtime/Language.h"
#include "runtime/NumText.h"

#include <cmath>
#include <string_view>

namespace {

// The middle dot of Windows-1251, written between a mantissa and its power of ten.
constexpr char MiddleDot = '\xB7';

unsigned char FirstChar(const std::string &s) {
    return static_cast<unsigned char>(s.front());
}
unsigned char LastChar(const std::string &s) {
    return static_cast<unsigned char>(s.back());
}

bool InRange(unsigned c, unsigned lo, unsigned hi) {
    return c >= lo && c <= hi;
}
bool OneOf(unsigned char c, std::string_view set) {
    return set.find(static_cast<char>(c)) != std::string_view::npos;
}

// Free space above the ink of an upright text, in UnitY, by its first character (Windows-1251).
long double SimpleCapFactor(unsigned char c) {
    if (c == 0xA8 || c == 0xC9) return 2.5L; // Ё, Й
    if (c == 0xB8 || c == 0xE9) return 7;    // ё, й
    if (InRange(c, 'A', 'Z') || OneOf(c, "bdfhkl") || InRange(c, 0xC0, 0xDF)) return 4;
    if (OneOf(c, "ijt")) return 7;
    if (InRange(c, 'a', 'z') || InRange(c, 0xE0, 0xFF)) return 9.5L;
    return 0;
}

// Accent shifts of an italic name, in UnitX, by its first (left) and last (right) character.
long double VarLeftFactor(unsigned char c) {
    if (!InRange(c, 'A', 'z')) return 0;
    if (OneOf(c, "Af")) return 5;
    if (OneOf(c, "CGHIJKMNOQXp")) return 2;
    if (OneOf(c, "UVW")) return 1.5L;
    if (OneOf(c, "[\\]^_`x")) return 0;
    if (OneOf(c, "uvw")) return -0.5L;
    return 1;
}

long double VarRightFactor(unsigned char c) {
    if (!InRange(c, 'A', 'z')) return 0;
    if (OneOf(c, "Af")) return 5.5L;
    if (OneOf(c, "BDEFIPRX")) return 4;
    if (OneOf(c, "ijlt")) return 3;
    if (c == 'T') return 2.4L;
    if (OneOf(c, "MN")) return 1.5L;
    if (OneOf(c, "abcdeghkmnoqrsuvwxyz")) return 1;
    if (OneOf(c, "[\\]^_`")) return 0;
    return 2;
}

// Where a superscript (after the last character's overhang) and a subscript (under its slant)
// of an italic name begin, in UnitX.
long double VarPowerFactor(unsigned char c) {
    if (c == 'd' || c == 'f') return 2;
    if (c == 'r') return 1;
    return 0;
}

long double VarIndexFactor(unsigned char c) {
    if (c == 'R') return 1.5L;
    if (c == 'W') return 6;
    if (c == 'x') return 1;
    return 3;
}

// The node's own font, italic, in its colour: the font of variables and of the Planck constant.
void SelectItalic(const TExprClass &node) {
    TCanvas *canvas = node.Canvas();
    if (!canvas) return;
    TFontData d = node.Font().Data();
    d.Color = node.GetColor();
    d.Style |= fsItalic;
    canvas->SetFont(d);
}

bool GreekCapital(uint16_t c) {
    return InRange(c, 913, 929) || InRange(c, 931, 937);
}

// Reads a number text of the runtime's formats (decimal comma) back; false when it is not
// wholly a number (INF, NAN), so the caller keeps the text as it is.
bool ReadBack(const std::string &text, long double &value) {
    std::string s = text;
    for (char &c : s)
        if (c == DecimalSeparator()) c = '.';
    return !s.empty() && ValExtended(s, value) == 0;
}

// The general-format text of a number text read back, which drops trailing zeros.
std::string Normalized(const std::string &text) {
    long double v;
    return ReadBack(text, v) ? FloatToStrGeneral(v, DecimalSeparator()) : text;
}

} // namespace

// TExprSimple

TExprSimple::TExprSimple(std::string text) : FText(std::move(text)) {}

int32_t TExprSimple::CalcWidth() {
    AssignFont();
    int64_t w = FCanvas->TextWidth(FText);
    if (!FText.empty()) {
        // Overhanging strokes (italic slants) must stay inside the box.
        TABC abc;
        if (FCanvas->CharABCWidths(FirstChar(FText), abc) && abc.A < 0) w -= abc.A;
        if (FCanvas->CharABCWidths(LastChar(FText), abc) && abc.C < 0) w -= abc.C;
    }
    return Sat32(w);
}

int32_t TExprSimple::CalcHeight() {
    AssignFont();
    return FCanvas->TextHeight(FText);
}

void TExprSimple::Paint(int32_t X, int32_t Y) {
    AssignFont();
    if (FText.empty()) return;
    TABC abc;
    if (FCanvas->CharABCWidths(FirstChar(FText), abc) && abc.A < 0) X = SatSub(X, abc.A);
    FCanvas->TextOut(X, Y, FText);
}

int32_t TExprSimple::CalcCapDY() {
    if (FText.empty()) return 0;
    return Round32(SimpleCapFactor(FirstChar(FText)) * FUnitY);
}

// TExprVar

void TExprVar::AssignFont() {
    SelectItalic(*this);
}

void TExprVar::CalcCapDX(int32_t &Left, int32_t &Right) {
    if (FText.empty()) {
        Left = Right = 0;
        return;
    }
    Left = Round32(VarLeftFactor(FirstChar(FText)) * FUnitX);
    Right = Round32(VarRightFactor(LastChar(FText)) * FUnitX);
}

int32_t TExprVar::CalcPowerX() {
    if (FText.empty()) return Width();
    return SatAdd(Width(), Round32(VarPowerFactor(LastChar(FText)) * FUnitX));
}

int32_t TExprVar::CalcIndexX() {
    if (FText.empty()) return Width();
    return SatSub(Width(), Round32(VarIndexFactor(LastChar(FText)) * FUnitX));
}

// TExprNumber

TExprNumber::TExprNumber(long double value, bool expForm) : FExpForm(expForm) {
    InitValue(value);
}

TExprNumber::TExprNumber(bool expForm) : FExpForm(expForm) {}

void TExprNumber::InitValue(long double value) {
    // A start value different from the first one, so that SetValue always takes effect.
    FValue = value != 0 ? 0 : 1;
    SetValue(value);
}

void TExprNumber::SetValue(long double value) {
    if (value == FValue) return;
    FValue = value;
    FTextStale = true;
    // Everything measured from the text; the axis row and the index positions too, since a
    // power of ten may appear or go.
    Invalidate(vmWidth | vmHeight | vmCapDY | vmMidLineUp | vmMidLineDn | vmPowerX | vmIndexX |
               vmPowerY | vmIndexY);
}

void TExprNumber::SplitText() {
    if (!FTextStale) return;
    FTextStale = false;
    const std::string s = BuildText();
    const std::size_t e = s.find('E');
    if (e != std::string::npos) {
        FMantissa = Normalized(s.substr(0, e));
        FExponent = s.substr(e + 1);
        if (!FExponent.empty() && FExponent.front() == '+') FExponent.erase(0, 1);
        // Leading zeros go, but one digit always stays; a minus sign stops the removal.
        std::size_t zeros = 0;
        while (zeros + 1 < FExponent.size() && FExponent[zeros] == '0')
            ++zeros;
        FExponent.erase(0, zeros);
        if (FMantissa.find('.') != std::string::npos) {
            while (!FMantissa.empty() && FMantissa.back() == '0')
                FMantissa.pop_back();
            if (!FMantissa.empty() && FMantissa.back() == '.') FMantissa.pop_back();
        }
    } else {
        FMantissa = Normalized(s);
        FExponent.clear();
    }
}

std::string TExprNumber::BuildText() {
    return FExpForm ? FloatToStrExponent(FValue, 14, 0, DecimalSeparator())
                    : FloatToStrGeneral(FValue, DecimalSeparator());
}

namespace {
// The part of a number written in the full-size font: the mantissa and "·10", or "10" alone
// when the mantissa is 1.
std::string PowerBase(const std::string &mantissa) {
    if (mantissa == "1") return "10";
    std::string s = mantissa;
    s += MiddleDot;
    s += "10";
    return s;
}
} // namespace

int32_t TExprNumber::CalcWidth() {
    SplitText();
    AssignFont();
    if (FExponent.empty()) return FCanvas->TextWidth(FMantissa);
    const int64_t w = FCanvas->TextWidth(PowerBase(FMantissa));
    TFontData d = FCanvas->Font();
    d.Height = ScriptHeight(d.Height);
    FCanvas->SetFont(d);
    return Sat32(w + FCanvas->TextWidth(FExponent));
}

int32_t TExprNumber::CalcHeight() {
    SplitText();
    AssignFont();
    const int32_t h = FCanvas->TextHeight(FMantissa);
    return FExponent.empty() ? h : Round32(h * 1.2L);
}

int32_t TExprNumber::CalcMidLine(bool Down) {
    SplitText();
    if (FExponent.empty()) return TExprClass::CalcMidLine(Down);
    AssignFont();
    const int64_t h = FCanvas->TextHeight(FMantissa);
    return Down ? Sat32(-((h - 1) / 2)) : Sat32(Round(h * 0.2L) + h / 2);
}

void TExprNumber::Paint(int32_t X, int32_t Y) {
    SplitText();
    AssignFont();
    if (FExponent.empty()) {
        FCanvas->TextOut(X, Y, FMantissa);
        return;
    }
    // The power of ten is lowered by d; the exponent stays at the top of the box.
    const int32_t h = FCanvas->TextHeight(FMantissa);
    const int32_t d = Round32(h * 0.2L);
    const std::string base = PowerBase(FMantissa);
    FCanvas->TextOut(X, SatAdd(Y, d), base);
    const int32_t w = FCanvas->TextWidth(base);
    TFontData f = FCanvas->Font();
    f.Height = ScriptHeight(f.Height);
    FCanvas->SetFont(f);
    FCanvas->TextOut(SatAdd(X, w), Y, FExponent);
}

int32_t TExprNumber::CalcCapDY() {
    SplitText();
    return Round32(FUnitY * (FExponent.empty() ? 8 : 3));
}

uint32_t TExprNumber::FactorFlags() {
    return FValue < 0 ? efRight | efNegative : efRight;
}

// TExprExpNumber

TExprExpNumber::TExprExpNumber(long double value, int32_t precision, int32_t digits,
                               int32_t expLimit)
    : TExprNumber(false), FPrecision(precision), FDigits(digits), FExpLimit(expLimit) {
    InitValue(value);
}

std::string TExprExpNumber::BuildText() {
    // The formats take 1 to 18 significant digits and at most 18 decimals.
    const int p = FPrecision < 1 ? 1 : FPrecision > 18 ? 18 : FPrecision;
    const int d = FDigits < 0 ? 0 : FDigits > 18 ? 18 : FDigits;
    if (FValue != 0 && std::log10(std::fabs(FValue)) <= -static_cast<long double>(FExpLimit))
        return FloatToStrExponent(FValue, p, 1, DecimalSeparator());
    return FloatToStrFixed(FValue, p, d, DecimalSeparator());
}

// TExprExtSymbol

TExprExtSymbol::TExprExtSymbol(uint16_t code) : FCode(code) {}

int32_t TExprExtSymbol::CalcWidth() {
    AssignFont();
    const char16_t text[1] = {static_cast<char16_t>(FCode)};
    int64_t w = FCanvas->TextExtentW(std::u16string_view(text, 1)).cx;
    // The classic query is 8-bit: codes above 255 fail and get no overhang correction.
    TABC abc;
    if (FCanvas->CharABCWidths(FCode, abc)) {
        if (abc.A < 0) w -= abc.A;
        if (abc.C < 0) w -= abc.C;
    }
    return Sat32(w);
}

int32_t TExprExtSymbol::CalcHeight() {
    AssignFont();
    const char16_t text[1] = {static_cast<char16_t>(FCode)};
    return FCanvas->TextExtentW(std::u16string_view(text, 1)).cy;
}

void TExprExtSymbol::Paint(int32_t X, int32_t Y) {
    AssignFont();
    TABC abc;
    if (FCanvas->CharABCWidths(FCode, abc) && abc.A < 0) X = SatSub(X, abc.A);
    const char16_t text[1] = {static_cast<char16_t>(FCode)};
    FCanvas->TextOutW(X, Y, std::u16string_view(text, 1));
}

int32_t TExprExtSymbol::CalcCapDY() {
    const uint16_t c = FCode;
    if (c == ucEllipsis) {
        // As large as the integer range allows: k = MaxInt / UnitY - 1.
        if (!(FUnitY > 0) || !std::isfinite(FUnitY)) return MaxInt;
        return Round32((MaxInt / FUnitY - 1) * FUnitY);
    }
    long double k = 0;
    if (GreekCapital(c) || c == 946 || c == 948 || c == 950 || c == 952 || c == 955 || c == 958)
        k = 4;
    else if (c == 945 || c == 947 || c == 949 || c == 951 || c == 953 || c == 954 || c == 956 ||
             c == 957 || InRange(c, 959, 961) || InRange(c, 963, 969))
        k = 8.8L;
    return Round32(k * FUnitY);
}

void TExprExtSymbol::CalcCapDX(int32_t &Left, int32_t &Right) {
    const uint16_t c = FCode;
    // The capital Beta (914) stands upright enough to need no shift.
    const long double l =
        c == 913 || InRange(c, 915, 929) || InRange(c, 931, 937) || c == 952 ? 1 : 0;
    long double r = 0;
    if (GreekCapital(c))
        r = -1;
    else if (c == 949)
        r = 1;
    else if (c == 952)
        r = -0.5L;
    Left = Round32(l * FUnitX);
    Right = Round32(r * FUnitX);
}

int32_t TExprExtSymbol::CalcPowerX() {
    if (FCode == ucPartial) return SatAdd(Width(), Round32(2 * FUnitX));
    return Width();
}

// TExprPlank

TExprPlank::TExprPlank() : TExprExtSymbol(ucPlank) {}

void TExprPlank::AssignFont() {
    SelectItalic(*this);
}

int32_t TExprPlank::CalcCapDY() {
    return Round32(FUnitY * 4);
}

void TExprPlank::CalcCapDX(int32_t &Left, int32_t &Right) {
    Left = Right = Round32(FUnitX);
}

// TExprSign

int32_t TExprSign::CalcWidth() {
    const int64_t v = FPenWidthX;
    int64_t w;
    switch (FCode) {
    case esMuchLess:
    case esMuchGreater:
        AssignFont();
        w = Round(1.7L * FCanvas->TextWidth("<"));
        break;
    case esApproxLess:
    case esApproxGreater:
        AssignFont();
        w = FCanvas->TextWidth("<");
        break;
    case esPlusMinus:
    case esMinusPlus:
        AssignFont();
        w = FCanvas->TextWidth("+");
        break;
    case esAlmostEqual:
        AssignFont();
        w = FCanvas->TextWidth("~");
        break;
    case esParallel:
        return Sat32(8 * v);
    case esPerpendicular:
    case esAngle: {
        AssignFont();
        // The same parity as the stem, so that the stem stands exactly in the middle.
        const int64_t t = FCanvas->TextWidth("_");
        w = t + ((t & 1) ^ (v & 1));
        break;
    }
    default:
        w = TExprExtSymbol::CalcWidth();
    }
    return Sat32(w + 4 * v);
}

void TExprSign::Paint(int32_t X, int32_t Y) {
    const int64_t v = FPenWidthX, w = FPenWidthY;
    const int64_t x0 = static_cast<int64_t>(X) + 2 * v;
    const int32_t X0 = Sat32(x0);
    switch (FCode) {
    case esMuchLess:
    case esMuchGreater: {
        const char *glyph = FCode == esMuchLess ? "<" : ">";
        AssignFont();
        const int64_t shift = Round(0.7L * FCanvas->TextWidth(glyph));
        FCanvas->TextOut(X0, Y, glyph);
        FCanvas->TextOut(Sat32(x0 + shift), Y, glyph);
        return;
    }
    case esApproxLess:
    case esApproxGreater:
        AssignFont();
        FCanvas->TextOut(X0, Y, FCode == esApproxLess ? "<" : ">");
        FCanvas->TextOut(X0, SatAdd(Y, Round(7 * FUnitY)), "~");
        return;
    case esPlusMinus:
    case esMinusPlus: {
        AssignFont();
        const int64_t ascent = FCanvas->TextMetrics().Ascent;
        const bool plusMinus = FCode == esPlusMinus;
        FCanvas->TextOut(X0, Sat32(plusMinus ? Y - w : Y + w), "+");
        TGlyphMetrics gm;
        if (!FCanvas->GlyphMetrics('+', gm)) return;
        // The bar as wide as the ink of "+", one pen width away from it.
        const int64_t oy = gm.GlyphOrigin.Y;
        const int64_t t = plusMinus ? Y + ascent - oy + gm.BlackBoxY : Y + ascent - oy - w;
        const int64_t l = x0 + gm.GlyphOrigin.X;
        SetPenAndBrush();
        FCanvas->FillRect(Sat32(l), Sat32(t), Sat32(l + gm.BlackBoxX), Sat32(t + w));
        return;
    }
    case esAlmostEqual: {
        const int64_t W = Width();
        AssignFont();
        FCanvas->TextOut(X0, SatSub(Y, Round(4.5L * FUnitY)), "~");
        const int64_t t = Y + Round(15.5L * FUnitY);
        SetPenAndBrush();
        FCanvas->FillRect(SatAdd(x0, Round(0.5L * FUnitX)), Sat32(t),
                          Sat32(X + W - 2 * v - Round(0.6L * FUnitX)), Sat32(t + w));
        return;
    }
    case esParallel: {
        AssignFont();
        const TTextMetrics tm = FCanvas->TextMetrics();
        const int32_t top = SatAdd(Y, tm.Descent), bottom = Sat32(int64_t{Y} + tm.Ascent + 1);
        SetPenAndBrush();
        FCanvas->FillRect(Sat32(X + 2 * v), top, Sat32(X + 3 * v), bottom);
        FCanvas->FillRect(Sat32(X + 5 * v), top, Sat32(X + 6 * v), bottom);
        return;
    }
    case esPerpendicular:
    case esAngle: {
        const int64_t W = Width();
        AssignFont();
        const TTextMetrics tm = FCanvas->TextMetrics();
        const int64_t base = int64_t{Y} + tm.Ascent + 1; // the row below the base bar
        const int64_t u = int64_t{Y} + tm.Descent + Round(4 * FUnitY);
        SetPenAndBrush();
        FCanvas->FillRect(X0, Sat32(base - w), Sat32(X + W - 2 * v), Sat32(base));
        if (FCode == esPerpendicular) {
            const int64_t s = X + (W - v) / 2;
            FCanvas->FillRect(Sat32(s), Sat32(u), Sat32(s + v), Sat32(base));
        } else {
            const int32_t m = Sat32(X + W / 2);
            const TPoint points[4] = {
                {X0, Sat32(base - w)}, {m, Sat32(u)}, {m, Sat32(u + w - 1)}, {X0, Sat32(base - 1)}};
            FCanvas->Polygon(points);
        }
        return;
    }
    default:
        TExprExtSymbol::Paint(X0, Y);
    }
}

bool TExprSign::ForcesArgBrackets() {
    return FCode == '+' || FCode == ucMinus || FCode == esPlusMinus || FCode == esMinusPlus;
}

uint32_t TExprSign::FactorFlags() {
    const bool minus = FCode == ucMinus || FCode == esPlusMinus || FCode == esMinusPlus;
    return minus ? uint32_t{efNegative} : 0u;
}

int32_t TExprSign::CalcCapDY() {
    return MaxInt;
}
