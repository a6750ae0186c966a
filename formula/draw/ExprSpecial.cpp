#include "formula/draw/ExprSpecial.h"

#include "formula/draw/ExprLayout.h"
#include "runtime/NumText.h"

#include <algorithm>

using namespace ExprLayout;

// TExprMatrix

int32_t TExprMatrix::CellWidth() {
    if (NeedsCalc(vmUser1)) CalcCellSize();
    return FCellWidth;
}

int32_t TExprMatrix::CellHeight() {
    if (NeedsCalc(vmUser1)) CalcCellSize();
    return FCellHeight;
}

void TExprMatrix::CalcCellSize() {
    // Every item counts, painted or not, so surplus items still size the cells.
    const TRowExtent extent = RowExtentOf(Son());
    int64_t width = 0;
    for (TExprClass *m = Son(); m; m = m->Next())
        width = std::max<int64_t>(width, m->Width());
    FCellWidth = Sat32(width);
    FCellHeight = Sat32(extent.Height());
    MarkValid(vmUser1);
}

int32_t TExprMatrix::CalcWidth() {
    // A matrix without columns has no width rather than a negative one, which would pull
    // the following members of a row over it.
    const long double cols = std::max(FColCount, 0);
    return Round32(std::max(0.0L, CellWidth() * cols + (6 * cols - 2) * FPenWidthX));
}

int32_t TExprMatrix::CalcHeight() {
    return Round32(static_cast<long double>(CellHeight()) * std::max(FRowCount, 0));
}

void TExprMatrix::Paint(int32_t X, int32_t Y) {
    const int64_t cw = CellWidth(), ch = CellHeight(), px = FPenWidthX;
    TExprClass *item = Son();
    int64_t y = Y + ch / 2;
    // The loops end with the items, so huge counts cost nothing.
    for (int32_t row = 0; row < FRowCount && item; ++row) {
        int64_t x = X + 2 * px + cw / 2;
        for (int32_t col = 0; col < FColCount && item; ++col) {
            item->Draw(Sat32(x), Sat32(y), 1, 1);
            item = item->Next();
            x += cw + 6 * px;
        }
        y += ch;
    }
}

// TExprCase

int32_t TExprCase::CalcWidth() {
    int64_t a = 0, b = 0;
    bool odd = true;
    for (TExprClass *m = Son(); m; m = m->Next(), odd = !odd) {
        int64_t &widest = odd ? a : b;
        widest = std::max(widest, static_cast<int64_t>(m->Width()));
    }
    return Sat32(a + 18 * static_cast<int64_t>(FPenWidthX) + b);
}

namespace {

// One line of a case list, a value with its condition: the rows above the shared axis row and
// below it (the axis row counted in neither).
struct TCaseLine {
    int64_t Up, Down;
    TCaseLine(TExprClass &value, TExprClass &cond)
        : Up(std::max(value.MidLineUp(), cond.MidLineUp())),
          Down(-std::min<int64_t>(value.MidLineDn(), cond.MidLineDn())) {}
};

} // namespace

int32_t TExprCase::CalcHeight() {
    int64_t total = 0;
    for (TExprClass *value = Son(); value && value->Next(); value = value->Next()->Next()) {
        TExprClass *cond = value->Next();
        const TCaseLine line(*value, *cond);
        total += line.Up + line.Down;
        if (cond->Next()) total += 2 * static_cast<int64_t>(FPenWidthY);
    }
    // An odd height puts the default axis row exactly on the brace's point.
    if (total % 2 == 0) ++total;
    return Sat32(total);
}

void TExprCase::Paint(int32_t X, int32_t Y) {
    const int64_t H = Height(), W = Width();
    const int64_t px = FPenWidthX, py = FPenWidthY;
    const int64_t x = X, y = Y;
    FillBezierFigure(*this, CurlyOutline(x, y, H, px, py, true), false);

    int64_t row = y;
    for (TExprClass *value = Son(); value && value->Next(); value = value->Next()->Next()) {
        TExprClass *cond = value->Next();
        const TCaseLine line(*value, *cond);
        row += line.Up;
        value->Draw(Sat32(x + 7 * px), Sat32(row), 0, 1);
        cond->Draw(Sat32(x + W), Sat32(row), 2, 1);
        row += line.Down + 2 * py;
    }
}

// TExprLambda

void TExprLambda::Paint(int32_t X, int32_t Y) {
    TExprExtSymbol::Paint(X, Y);
    const int64_t top = Y + Round(9 * FUnitY);
    SetPenAndBrush();
    FCanvas->FillRect(Sat32(X + Round(1.5L * FUnitX)), Sat32(top),
                      Sat32(X + static_cast<int64_t>(Width()) - Round(2 * FUnitX)),
                      Sat32(top + FPenWidthY));
}

// TExprNabla

void TExprNabla::Paint(int32_t X, int32_t Y) {
    // The delta's own font, turned by 180 degrees. Its pixel height stays that of the font the
    // box was measured in: re-deriving it from the point size at the surface's resolution
    // would draw a larger or smaller glyph than the box on any surface that is not at the
    // font's own resolution, and off by a pixel at fractional point sizes.
    TFontData turned = FFont->Data();
    turned.Escapement = 1800;
    turned.Color = GetColor();
    const TFontData previous = FCanvas->Font();
    FCanvas->SetFont(turned);
    const std::u16string_view delta = u"\u0394";
    const TSize ext = FCanvas->TextExtentW(delta);
    // Turned about its reference point, the glyph fills (X, Y) .. (X + cx, Y + cy).
    FCanvas->TextOutW(SatAdd(X, ext.cx), SatAdd(Y, ext.cy), delta);
    FCanvas->SetFont(previous);
}

// TExprAsterix

void TExprAsterix::Paint(int32_t X, int32_t Y) {
    AssignFont();
    FCanvas->TextOut(X, Sat32(Y + Round(8 * FUnitY)), "*");
}

// TExprEmpty

int32_t TExprEmpty::CalcHeight() {
    AssignFont();
    return FCanvas->TextHeight("A");
}
