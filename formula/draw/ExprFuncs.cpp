#include "formula/draw/ExprFuncs.h"

#include "formula/draw/ExprLayout.h"
#include "runtime/NumText.h"

#include <algorithm>

using namespace ExprLayout;

namespace {

// The formula text lets any integer through as a number of primes or dots; painting billions
// of them would hang the program, so counts are clamped to this many.
constexpr int32_t MaxMarkCount = 1000;

int32_t MarkCount(int32_t count) {
    return std::clamp(count, 0, MaxMarkCount);
}

} // namespace

// TExprCommonFunc

bool TExprCommonFunc::ArgumentAlwaysBracketed() {
    return Son() ? Son()->ArgAlwaysBracketed() : TExprClass::ArgAlwaysBracketed();
}

void TExprCommonFunc::Paint(int32_t X, int32_t Y) {
    const int64_t up = MidLineUp();
    if (Son()) Son()->Draw(X, Sat32(Y + up - Up(Son())), 0, 0);
    if (Son2())
        Son2()->Draw(Sat32(X + W(Son()) + 3 * static_cast<int64_t>(PenWidthX())),
                     Sat32(Y + up - Up(Son2())), 0, 0);
}

int32_t TExprCommonFunc::CalcWidth() {
    return Sat32(W(Son()) + W(Son2()) + 3 * static_cast<int64_t>(PenWidthX()));
}

int32_t TExprCommonFunc::CalcHeight() {
    return Sat32(static_cast<int64_t>(MidLineUp()) - MidLineDn() + 1);
}

int32_t TExprCommonFunc::CalcMidLine(bool Down) {
    return Down ? Sat32(std::min(Dn(Son()), Dn(Son2()))) : Sat32(std::max(Up(Son()), Up(Son2())));
}

uint32_t TExprCommonFunc::FactorFlags() {
    // Anything may stand after a function only when its argument shows brackets.
    if (Son2() && (Son2()->FactorFlags() & efBrackets) != 0) return efLeft | efRight;
    return efLeft;
}

// TExprFuncName

bool TExprFuncName::ArgAlwaysBracketed() {
    return false;
}

bool TExprFuncName::IsFuncName() {
    return true;
}

// TExprFunc

namespace {

PExpr FuncNamePart(const std::string &name) {
    if (name.size() == 1) return std::make_unique<TExprVar>(name);
    return std::make_unique<TExprFuncName>(name);
}

} // namespace

TExprFunc::TExprFunc(const std::string &name, PExpr argument)
    : TExprCommonFunc(FuncNamePart(name), std::move(argument)) {}

// TExprBase

bool TExprBase::NeedBrackets() {
    return Son() && Son()->Next();
}

// TExprComma

bool TExprComma::ForcesArgBrackets() {
    return true;
}

int32_t TExprComma::CalcCapDY() {
    return MaxInt;
}

// TExprLim

TExprLim::TExprLim(PExpr condition) {
    // Stored here so that the condition gets the reduced font of this class's PassFontToSon.
    SetSon(std::move(condition));
}

void TExprLim::Paint(int32_t X, int32_t Y) {
    const int64_t ws = W(Son());
    AssignFont();
    const TSize lim = Canvas()->TextExtent("lim");
    Canvas()->TextOut(Sat32(X + std::max<int64_t>(0, (ws - lim.cx) / 2)), Y, "lim");
    if (Son())
        Son()->Draw(Sat32(X + std::max<int64_t>(0, (lim.cx - ws) / 2)), SatAdd(Y, lim.cy), 0, 0);
}

bool TExprLim::ArgAlwaysBracketed() {
    return false;
}

int32_t TExprLim::CalcWidth() {
    AssignFont();
    const int64_t lim = Canvas()->TextWidth("lim");
    return Sat32(std::max(lim, W(Son())));
}

int32_t TExprLim::CalcHeight() {
    AssignFont();
    const int64_t lim = Canvas()->TextHeight("lim");
    return Sat32(lim + H(Son()));
}

int32_t TExprLim::CalcMidLine(bool Down) {
    AssignFont();
    const int64_t h = Canvas()->TextHeight("lim");
    // The axis runs through the middle of "lim", so the argument lines up with it.
    return Down ? Sat32(-((h - 1) / 2) - H(Son())) : Sat32(h / 2);
}

void TExprLim::PassFontToSon() {
    HandReducedFont(Son());
}

void TExprLim::PassCanvasToSon() {
    HandOwnCanvas(Son());
}

// TExprSpace

// A negative Count is a backspace: the width is negative, so the following member of a row
// moves left by that much. The space itself never paints anything.
int32_t TExprSpace::CalcWidth() {
    return Sat32(static_cast<int64_t>(FCount) * PenWidthX());
}

// TExprStrokes

// A negative Count draws no primes and is as wide as zero primes (2 PenWidthX); counts above
// MaxMarkCount are clamped.
void TExprStrokes::Paint(int32_t X, int32_t Y) {
    const int32_t n = MarkCount(FCount);
    if (n == 0) return;
    SetPenAndBrush();
    const int64_t v = PenWidthX(), w = PenWidthY();
    const int64_t y0 = Y + Round(UnitY() * 2);
    int64_t x = X;
    for (int32_t i = 0; i < n; ++i, x += 4 * v) {
        const TPoint tri[3] = {{Sat32(x + 2 * v), Sat32(y0)},
                               {Sat32(x + 4 * v - 1), Sat32(y0)},
                               {Sat32(x + 2 * v), Sat32(y0 + 6 * w - 1)}};
        Canvas()->Polygon(tri);
    }
}

int32_t TExprStrokes::CalcWidth() {
    return Sat32((4 * static_cast<int64_t>(MarkCount(FCount)) + 2) * PenWidthX());
}

int32_t TExprStrokes::CalcHeight() {
    AssignFont();
    return Round32(Canvas()->TextHeight("A") * 0.6L);
}

// TExprAtValue

TExprAtValue::TExprAtValue(PExpr expression, PExpr condition) {
    // Stored here so that the condition gets the reduced font of this class's PassFontToSon2.
    SetSon(std::move(expression));
    SetSon2(std::move(condition));
}

void TExprAtValue::Paint(int32_t X, int32_t Y) {
    const int64_t h1 = H(Son()), h2 = H(Son2());
    const int64_t height = std::max(h1, h2);
    if (Son()) Son()->Draw(X, Sat32(Y + std::max<int64_t>(0, h2 - h1)), 0, 0);
    const int64_t x = X + W(Son());
    SetPenAndBrush();
    Canvas()->FillRect(Sat32(x), Y, Sat32(x + PenWidthX()), Sat32(Y + height));
    // The condition's bottom row is one row below the bar's last row, like a subscript.
    if (Son2())
        Son2()->Draw(Sat32(x + 3 * static_cast<int64_t>(PenWidthX())), Sat32(Y + height), 0, 2);
}

int32_t TExprAtValue::CalcWidth() {
    return Sat32(W(Son()) + 3 * static_cast<int64_t>(PenWidthX()) + W(Son2()));
}

int32_t TExprAtValue::CalcHeight() {
    return Sat32(std::max(H(Son()), H(Son2())));
}

int32_t TExprAtValue::CalcMidLine(bool Down) {
    if (Down) return Sat32(Dn(Son()));
    return Sat32(std::max<int64_t>(0, H(Son2()) - H(Son())) + Up(Son()));
}

uint32_t TExprAtValue::FactorFlags() {
    return Son() && (Son()->FactorFlags() & efLeft) != 0 ? uint32_t{efLeft} : 0u;
}

void TExprAtValue::PassFontToSon2() {
    HandReducedFont(Son2());
}

void TExprAtValue::PassCanvasToSon2() {
    HandOwnCanvas(Son2());
}

// TExprCap

namespace {

// The quantities an accent is laid out from. The dots accent clamps its Count like the primes
// do: a negative Count draws no dots and acts as Count 0 (the node is as wide as Son and Son
// is still lowered by the dots' room).
struct TCapLayout {
    int64_t CapWidth = 0, CapHeight = 0, Raise = 0;
    int64_t L = 0, R = 0, w = 0, m = 0, half = 0;
    int64_t SonCapDY = 0; // free space above Son's ink, at most Son's height
    int64_t Offset = 0;   // Son's left edge in the node
};

bool LineLike(uint8_t kind) {
    return kind == ecVector || kind == ecLine;
}

// Computes the accent's layout; also used by the getters, so keep it free of painting.
TCapLayout CapLayout(TExprCap &n) {
    TCapLayout c;
    TExprClass *son = n.Son();
    TCanvas *canvas = n.Canvas();
    const int64_t v = n.PenWidthX(), pw = n.PenWidthY();
    switch (n.Kind()) {
    case ecPoints:
        c.CapWidth = (4 * static_cast<int64_t>(MarkCount(n.Count())) - 2) * v;
        c.CapHeight = 5 * pw;
        break;
    case ecVector:
        c.CapHeight = 6 * pw;
        break;
    case ecCap:
        n.AssignFont();
        c.CapWidth = canvas->TextWidth("^");
        c.CapHeight = 11 * pw;
        break;
    case ecTilde:
        n.AssignFont();
        c.CapWidth = canvas->TextWidth("~");
        c.CapHeight = 6 * pw;
        break;
    case ecLine:
        c.CapHeight = 4 * pw;
        break;
    default: // unknown kinds draw no accent and take no room
        break;
    }
    if (son) {
        // A node that sets no limit (a sign, a comma) reports the largest integer; an accent
        // cannot use more free space than the node has rows, or it would leave the box.
        c.SonCapDY = std::clamp<int64_t>(son->CapDY(), INT32_MIN, son->Height());
        c.L = son->CapDXLeft();
        c.R = son->CapDXRight();
        c.w = son->Width();
    }
    c.Raise = std::max<int64_t>(0, c.CapHeight - c.SonCapDY);
    c.m = (c.L + c.w + c.R) / 2;
    c.half = c.CapWidth / 2;
    c.Offset = LineLike(n.Kind()) ? std::max<int64_t>(0, -c.L) : std::max<int64_t>(c.half - c.m, 0);
    return c;
}

} // namespace

void TExprCap::Paint(int32_t X, int32_t Y) {
    const TCapLayout c = CapLayout(*this);
    if (Son()) Son()->Draw(Sat32(X + c.Offset), Sat32(Y + c.Raise), 0, 0);
    SetPenAndBrush();
    const int64_t v = PenWidthX(), pw = PenWidthY();
    const int64_t xl = X + std::max<int64_t>(0, c.L);
    const int64_t xr = static_cast<int64_t>(X) + Width() + std::min<int64_t>(0, c.R);
    const int64_t yb = Y + c.Raise + c.SonCapDY - pw;
    const int64_t xc = X + c.Offset + c.m - c.half;
    TCanvas *canvas = Canvas();
    switch (FKind) {
    case ecPoints: {
        const int32_t n = MarkCount(FCount);
        for (int32_t i = 0; i < n; ++i) {
            const int64_t x = xc + 4 * v * i;
            canvas->Ellipse(Sat32(x), Sat32(yb - 3 * pw), Sat32(x + 2 * v), Sat32(yb - pw));
        }
        break;
    }
    case ecVector: {
        // Nothing to put an arrow over in a node without width.
        if (xr <= xl) break;
        const int64_t t = pw, y = yb - 3 * t;
        // The head begins 2t before the tip, but never left of the shaft's start.
        const int64_t xh = std::max(xl, xr - 2 * t);
        if (t % 2 != 0) {
            const TPoint pts[7] = {Pt(xl, y),
                                   Pt(xh, y),
                                   Pt(xh, y - t),
                                   Pt(xr - 1, y + t / 2),
                                   Pt(xh, y + 2 * t - 1),
                                   Pt(xh, y + t - 1),
                                   Pt(xl, y + t - 1)};
            canvas->Polygon(pts);
        } else {
            const TPoint pts[8] = {Pt(xl, y),
                                   Pt(xh, y),
                                   Pt(xh, y - t),
                                   Pt(xr - 1, y + t / 2 - 1),
                                   Pt(xr - 1, y + t / 2),
                                   Pt(xh, y + 2 * t - 1),
                                   Pt(xh, y + t - 1),
                                   Pt(xl, y + t - 1)};
            canvas->Polygon(pts);
        }
        break;
    }
    case ecCap:
        AssignFont();
        canvas->TextOut(Sat32(xc), Sat32(yb - Round(UnitY() * 15)), "^");
        break;
    case ecTilde:
        AssignFont();
        canvas->TextOut(Sat32(xc), Sat32(yb - Round(UnitY() * 18.5L)), "~");
        break;
    case ecLine:
        AssignFont();
        canvas->FillRect(Sat32(xl), Sat32(yb - 2 * pw), Sat32(xr), Sat32(yb - pw));
        break;
    default:
        break;
    }
}

int32_t TExprCap::CalcWidth() {
    const TCapLayout c = CapLayout(*this);
    if (LineLike(FKind)) return Sat32((c.L < 0 ? c.w - c.L : c.w) + (c.R >= 1 ? c.R : 0));
    return Sat32(std::max(c.m, c.half) + std::max(c.w - c.m, c.half));
}

int32_t TExprCap::CalcHeight() {
    return Sat32(H(Son()) + CapLayout(*this).Raise);
}

int32_t TExprCap::CalcMidLine(bool Down) {
    if (Down) return Sat32(Dn(Son()));
    return Sat32(Up(Son()) + CapLayout(*this).Raise);
}

int32_t TExprCap::CalcPowerX() {
    if (!Son()) return Width();
    return Width() == Son()->Width() ? Son()->PowerX() : Width();
}

int32_t TExprCap::CalcIndexX() {
    const int64_t index = Son() ? Son()->IndexX() : 0;
    return Sat32(CapLayout(*this).Offset + index);
}

int32_t TExprCap::CalcPowerY() {
    const int64_t power = Son() ? Son()->PowerY() : 0;
    return Sat32(power + CapLayout(*this).Raise);
}

int32_t TExprCap::CalcCapDY() {
    const TCapLayout c = CapLayout(*this);
    return Sat32(std::max<int64_t>(0, c.SonCapDY - c.CapHeight));
}

uint32_t TExprCap::FactorFlags() {
    return Son() ? Son()->FactorFlags() : TExprClass::FactorFlags();
}

// TExprStand

void TExprStand::Paint(int32_t X, int32_t Y) {
    const int64_t width = Width();
    int64_t y = Y;
    for (TExprClass *line = Son(); line; line = line->Next()) {
        switch (FAlign) {
        case 1:
            line->Draw(Sat32(X + width / 2), Sat32(y), 1, 0);
            break;
        case 2:
            // The last column of the node, so the widest line fills the box exactly.
            line->Draw(Sat32(X + width - 1), Sat32(y), 2, 0);
            break;
        default:
            line->Draw(X, Sat32(y), 0, 0);
            break;
        }
        y += line->Height();
    }
}

int32_t TExprStand::CalcWidth() {
    if (!Son()) return 0;
    int64_t width = Son()->Width();
    for (TExprClass *line = Son()->Next(); line; line = line->Next())
        width = std::max<int64_t>(width, line->Width());
    return Sat32(width);
}

int32_t TExprStand::CalcHeight() {
    int64_t height = 0;
    for (TExprClass *line = Son(); line; line = line->Next())
        height += line->Height();
    return Sat32(height);
}
