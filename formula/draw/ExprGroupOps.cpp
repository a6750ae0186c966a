#include "formula/draw/ExprGroupOps.h"

#include "formula/draw/ExprLayout.h"

#include "runtime/NumText.h"

#include <algorithm>
#include <span>
#include <vector>

using namespace ExprLayout;

namespace {

// Outline tables in units of 1/10000 of the sign height, y growing upward.
struct TOutlinePoint {
    int16_t X, Y;
};

// clang-format off
constexpr TOutlinePoint SumOutline[49] = {
    {3695, -2777}, {3695, -2777}, {3480, -2734}, {3480, -2734}, {3297, -3475}, {3050, -3776},
    {2642, -3904}, {2342, -4001}, {2062, -4044}, {1815, -4044}, {1815, -4044}, {-2578, -4044},
    {-2578, -4044}, {-2578, -4044}, {795, 499}, {795, 499}, {795, 499}, {-2213, 4570},
    {-2213, 4570}, {-2213, 4570}, {1761, 4570}, {1761, 4570}, {2546, 4570}, {2975, 4184},
    {3093, 3195}, {3093, 3195}, {3308, 3195}, {3308, 3195}, {3308, 3195}, {3158, 5000},
    {3158, 5000}, {3158, 5000}, {-3695, 5000}, {-3695, 5000}, {-3695, 5000}, {-3695, 4807},
    {-3695, 4807}, {-3695, 4807}, {-107, 38}, {-107, 38}, {-107, 38}, {-3695, -4796},
    {-3695, -4796}, {-3695, -4796}, {-3695, -5000}, {-3695, -5000}, {-3695, -5000}, {3351, -5000},
    {3351, -5000},
};
constexpr TOutlinePoint ProdOutline[76] = {
    {2132, -3958}, {2132, -4560}, {1896, -4796}, {1262, -4796}, {1262, -4796}, {1080, -4796},
    {1080, -4796}, {1080, -4796}, {1080, -5000}, {1080, -5000}, {1080, -5000}, {4281, -5000},
    {4281, -5000}, {4281, -5000}, {4281, -4796}, {4281, -4796}, {4281, -4796}, {4087, -4796},
    {4087, -4796}, {3464, -4796}, {3228, -4560}, {3228, -3958}, {3228, -3958}, {3228, 3969},
    {3228, 3969}, {3228, 4560}, {3464, 4807}, {4087, 4807}, {4087, 4807}, {4281, 4807},
    {4281, 4807}, {4281, 4807}, {4281, 5000}, {4281, 5000}, {4281, 5000}, {-4280, 5000},
    {-4280, 5000}, {-4280, 5000}, {-4280, 4807}, {-4280, 4807}, {-4280, 4807}, {-4097, 4807},
    {-4097, 4807}, {-3453, 4807}, {-3217, 4560}, {-3217, 3969}, {-3217, 3969}, {-3217, -3958},
    {-3217, -3958}, {-3217, -4560}, {-3464, -4796}, {-4097, -4796}, {-4097, -4796}, {-4280, -4796},
    {-4280, -4796}, {-4280, -4796}, {-4280, -5000}, {-4280, -5000}, {-4280, -5000}, {-1068, -5000},
    {-1068, -5000}, {-1068, -5000}, {-1068, -4796}, {-1068, -4796}, {-1068, -4796}, {-1262, -4796},
    {-1262, -4796}, {-1895, -4796}, {-2143, -4560}, {-2143, -3958}, {-2143, -3958}, {-2143, 4581},
    {-2143, 4581}, {-2143, 4581}, {2132, 4581}, {2132, 4581},
};
constexpr TOutlinePoint IntegralOutline[52] = {
    {960, 355}, {960, -259}, {979, -969}, {1017, -1756}, {1065, -2630}, {1190, -3311},
    {1190, -3964}, {1190, -4175}, {1113, -4251}, {998, -4251}, {835, -4251}, {653, -3944},
    {441, -3944}, {192, -3944}, {0, -4136}, {0, -4424}, {0, -4760}, {240, -5000},
    {576, -5000}, {825, -5000}, {1036, -4894}, {1209, -4674}, {1478, -4347}, {1622, -3704},
    {1651, -2764}, {1699, -1104}, {1727, -154}, {1727, 67}, {1727, 873}, {1660, 1929},
    {1545, 3253}, {1516, 3580}, {1497, 3810}, {1497, 3944}, {1497, 4165}, {1583, 4251},
    {1689, 4251}, {1843, 4251}, {2092, 3983}, {2246, 3983}, {2495, 3983}, {2687, 4184},
    {2687, 4482}, {2687, 4741}, {2409, 5000}, {2092, 5000}, {1795, 5000}, {1459, 4789},
    {1286, 4367}, {1152, 4040}, {1075, 3628}, {1056, 3138},
};
constexpr TOutlinePoint RingOuterOutline[13] = {
    {1343, 1343}, {604, 1343}, {0, 739}, {0, 0}, {0, -739}, {604, -1343},
    {1343, -1343}, {2082, -1343}, {2686, -739}, {2686, 0}, {2686, 739}, {2082, 1343},
    {1343, 1343},
};
constexpr TOutlinePoint RingInnerOutline[13] = {
    {1343, 1037}, {757, 1037}, {306, 568}, {306, 0}, {306, -568}, {757, -1037},
    {1343, -1037}, {1928, -1037}, {2380, -568}, {2380, 0}, {2380, 568}, {1928, 1037},
    {1343, 1037},
};
// clang-format on

// Repeated integral signs are painted only where a surface can show them: no picture reaches
// beyond this many pixels from the origin, and a huge sign count must not paint for ever.
constexpr int64_t PaintReach = 32767;

// Quotients rounded down and up, for a positive divisor.
int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}
int64_t CeilDiv(int64_t a, int64_t b) {
    return a / b + (a % b > 0 ? 1 : 0);
}

// Widths of the signs as shares of their height, taken from the classic signs' outlines;
// the resolution ratio widens them on surfaces with wider pixels.
constexpr long double SumWidthRatio = 0.739L;
constexpr long double ProdWidthRatio = 0.8561L;
constexpr long double IntegralWidthRatio = 0.2687L;

int64_t SignWidth(int64_t h, long double r, long double ratio) {
    return Round(h * ratio * r);
}

// The canvas points of an outline scaled to the sign height h and the resolution ratio r,
// each table x shifted by dx and each table y by dy first.
std::vector<TPoint> ScaleOutline(std::span<const TOutlinePoint> table, int64_t x0, int64_t y0,
                                 int32_t h, long double r, int32_t dx = 0, int32_t dy = 0) {
    std::vector<TPoint> pts;
    pts.reserve(table.size());
    for (const TOutlinePoint &p : table) {
        const long double px = p.X + dx, py = p.Y + dy;
        pts.push_back(Pt(x0 + Round(px / 10000.0L * h * r), y0 - Round(py / 10000.0L * h)));
    }
    return pts;
}

// One filled Bezier figure in the node's colour.
void FillOutline(TExprClass &node, std::span<const TPoint> pts) {
    FillBezierFigure(node, pts, false);
}

// Stroke thicknesses of the small signs.
struct TSmallStrokes {
    int64_t t1, t2, t3, t4;
    TSmallStrokes(int64_t h, long double r)
        : t1(std::max<int64_t>(1, Round(0.1L * h))), t2(std::max<int64_t>(1, Round(0.05L * h * r))),
          t3(std::max<int64_t>(1, Round(0.1L * h * r))),
          t4(std::max<int64_t>(1, Round(0.05L * h))) {}
};

// The box of a small sign centred on (cx, cy): its height, strokes, width, left column, top row
// and right column.
struct TSmallSign {
    int64_t h;
    TSmallStrokes s;
    int64_t w, L, T, R;
    TSmallSign(int64_t height, long double r, long double widthRatio, int64_t cx, int64_t cy)
        : h(height), s(height, r), w(SignWidth(height, r, widthRatio)), L(cx - w / 2),
          T(cy - height / 2), R(L + w - 1) {}
};

int64_t IntegralSignWidth(int64_t h, long double r) {
    return SignWidth(h, r, IntegralWidthRatio);
}

// Blank rows at least between a sign and the ink of its limits.
constexpr int64_t LimitClearRows = 1;

// Blank rows between the boxes of a sign of height h and its limits, placed at the sign's half
// height: the lower limit's box begins on the row after the sign's last for an even h and on
// that last row for an odd one; the upper limit's box ends on the sign's first row.
int64_t LowerBoxGap(int64_t h) {
    return h / 2 - (h - 1) / 2 - 1;
}
constexpr int64_t UpperBoxGap = -1;

// Blank rows a text cell of node's font keeps above the tops of its capitals, ascenders and
// digits (Above) and below their feet (Below), as the surface's glyph boxes tell; none where it
// does not tell. Small fonts leave none above: their ink starts on the cell's first row.
struct TCellRoom {
    int64_t Above = 0, Below = 0;
};

TCellRoom CellRoom(TExprClass &node) {
    TCanvas *canvas = node.Canvas();
    if (!canvas) return {};
    node.AssignFont();
    const TTextMetrics tm = canvas->TextMetrics();
    TCellRoom room{tm.Ascent, tm.Descent};
    for (const char c : {'A', 'd', '0'}) {
        TGlyphMetrics gm;
        if (!canvas->GlyphMetrics(static_cast<unsigned char>(c), gm)) return {};
        const int64_t top = gm.GlyphOrigin.Y, foot = top - int64_t{gm.BlackBoxY};
        room.Above = std::min(room.Above, tm.Ascent - top);
        room.Below = std::min(room.Below, tm.Descent + foot);
    }
    return {std::max<int64_t>(0, room.Above), std::max<int64_t>(0, room.Below)};
}

} // namespace

// TExprGroupOp

int32_t TExprGroupOp::SymbolHeight() {
    if (NeedsCalc(vmUser2)) {
        FSymbolHeight = CalcSymbolHeight();
        MarkValid(vmUser2);
    }
    return FSymbolHeight;
}

int32_t TExprGroupOp::SymbolWidth() {
    if (NeedsCalc(vmUser1)) {
        FSymbolWidth = CalcSymbolWidth();
        MarkValid(vmUser1);
    }
    return FSymbolWidth;
}

int32_t TExprGroupOp::CalcSymbolHeight() {
    TExprClass *son = Son();
    // Operators written one after the other in a plain row share the inner sign's size; a
    // bracketed group keeps its own.
    auto *chain = dynamic_cast<TExprChain *>(son);
    if (chain && (chain->FactorFlags() & (efRoundBrackets | efBrackets)) == 0) {
        for (TExprClass *m = chain->Son(); m; m = m->Next())
            if (auto *op = dynamic_cast<TExprGroupOp *>(m)) return op->SymbolHeight();
    } else if (auto *op = dynamic_cast<TExprGroupOp *>(son))
        return op->SymbolHeight();

    int64_t e = 0;
    if (son) e = std::max<int64_t>(son->MidLineUp(), -static_cast<int64_t>(son->MidLineDn()));
    AssignFont();
    const int64_t a = FCanvas->TextHeight("A") / 2;
    return Round32(2.25L * std::max(e, a));
}

long double TExprGroupOp::ResolutionRatio() const {
    const int32_t dx = FCanvas ? FCanvas->DpiX() : 0, dy = FCanvas ? FCanvas->DpiY() : 0;
    return dx > 0 && dy > 0 ? static_cast<long double>(dx) / dy : 1.0L;
}

// A limit's ink stands off the sign by the blank rows between their boxes plus those its cell
// keeps around the ink; where that leaves fewer than LimitClearRows, the limit moves away by the
// rest (small fonts whose ink starts on the cell's first row would touch the sign).
int64_t TExprGroupOp::LowerShift() {
    if (!FTwin1) return 0;
    const int64_t gap = LowerBoxGap(SymbolHeight()) + CellRoom(*FTwin1).Above;
    return std::max<int64_t>(0, LimitClearRows - gap);
}

int64_t TExprGroupOp::UpperShift() {
    if (!FTwin2) return 0;
    const int64_t gap = UpperBoxGap + CellRoom(*FTwin2).Below;
    return std::max<int64_t>(0, LimitClearRows - gap);
}

int64_t TExprGroupOp::LowerReach() {
    if (!FTwin1) return 0;
    const int64_t rows = LowerBoxGap(SymbolHeight()) + LowerShift() + FTwin1->Height();
    // A box that already holds a spare row below the limit keeps it.
    return std::max<int64_t>(FTwin1->Height(), rows);
}

int64_t TExprGroupOp::UpperReach() {
    if (!FTwin2) return 0;
    return std::max<int64_t>(FTwin2->Height(), UpperBoxGap + UpperShift() + FTwin2->Height());
}

int64_t TExprGroupOp::LowerPart() {
    int64_t lo = FTwin1 ? LowerReach() : 2 * static_cast<int64_t>(FPenWidthY);
    // The operand's own lower limit must stay inside this box too.
    if (auto *op = dynamic_cast<TExprGroupOp *>(Son()); op && op->Twin1())
        lo = std::max<int64_t>(lo, op->LowerReach());
    return lo;
}

int64_t TExprGroupOp::UpperPart() {
    int64_t up = FTwin2 ? UpperReach() : 2 * static_cast<int64_t>(FPenWidthY);
    if (auto *op = dynamic_cast<TExprGroupOp *>(Son()); op && op->Twin2())
        up = std::max<int64_t>(up, op->UpperReach());
    return up;
}

int64_t TExprGroupOp::ColumnWidth() {
    const int64_t lw = FTwin1 ? FTwin1->Width() : 0, uw = FTwin2 ? FTwin2->Width() : 0;
    return std::max({lw, uw, static_cast<int64_t>(SymbolWidth())});
}

int32_t TExprGroupOp::CalcWidth() {
    const int64_t son = Son() ? Son()->Width() : 0;
    return Sat32(ColumnWidth() + son + 5 * static_cast<int64_t>(FPenWidthX));
}

int32_t TExprGroupOp::CalcHeight() {
    return Sat32(LowerPart() + SymbolHeight() + UpperPart());
}

int32_t TExprGroupOp::CalcMidLine(bool Down) {
    const int64_t h = SymbolHeight();
    return Down ? Sat32(-(LowerPart() + (h - 1) / 2)) : Sat32(UpperPart() + h / 2);
}

void TExprGroupOp::Paint(int32_t X, int32_t Y) {
    const int64_t c = ColumnWidth();
    const int64_t px = FPenWidthX;
    const int32_t cx = Sat32(X + c / 2 + 2 * px);
    const int32_t cy = SatAdd(Y, MidLineUp());
    const int64_t f = SymbolHeight() / 2;
    if (FTwin2) FTwin2->Draw(cx, Sat32(cy - f - UpperShift()), 1, 2);
    if (FTwin1) FTwin1->Draw(cx, Sat32(cy + f + LowerShift()), 1, 0);
    // Large signs are smooth outlines; small ones are pixel-aligned so they stay crisp.
    if (f > 27)
        PaintBigSymbol(cx, cy);
    else
        PaintSmallSymbol(cx, cy);
    if (Son()) Son()->Draw(Sat32(X + c + 5 * px), cy, 0, 1);
}

void TExprGroupOp::PaintSmallStroke(int64_t L, int64_t T, bool setPenAndBrush) {
    const int64_t h = SymbolHeight();
    const long double r = ResolutionRatio();
    const TSmallStrokes s(h, r);
    int64_t w = IntegralSignWidth(h, r);
    if (w % 2 == 0) ++w; // an odd width centres the stem on one column
    const int64_t hw = w / 2;
    const int64_t v = Round(hw * r);
    const int64_t m = std::max<int64_t>(1, v / 2);
    if (setPenAndBrush) SetPenAndBrush();
    FCanvas->Ellipse(Sat32(L + hw + 1), Sat32(T), Sat32(L + w), Sat32(T + v));
    FCanvas->Ellipse(Sat32(L), Sat32(T + h - v), Sat32(L + hw), Sat32(T + h));
    const int64_t yb = T + h - m - 2;
    const TPoint stem[6] = {
        Pt(L + hw, T + m + 1),
        Pt(L + hw - s.t2, T + m + 1 + 2 * s.t1),
        Pt(L + hw - s.t2, yb - 4 * s.t1),
        Pt(L + hw, yb),
        Pt(L + hw + s.t2, yb - 2 * s.t1),
        Pt(L + hw + s.t2, T + m + 1 + 4 * s.t1),
    };
    FCanvas->Polygon(stem);
}

// TExprSumma

void TExprSumma::PaintSmallSymbol(int32_t cx, int32_t cy) {
    const auto [h, s, w, L, T, R] =
        TSmallSign(SymbolHeight(), ResolutionRatio(), SumWidthRatio, cx, cy);
    const TPoint pts[16] = {
        Pt(L, T),
        Pt(R, T),
        Pt(R, T + 2 * s.t1),
        Pt(R - s.t2 + 1, T + s.t1),
        Pt(R - s.t2 + 1, T + s.t1 - 1),
        Pt(L + s.t3 - 1, T + s.t1 - 1),
        Pt(cx + s.t3, cy),
        Pt(L + s.t3 - 1, T + h - s.t1),
        Pt(R - s.t2 + 1, T + h - s.t1),
        Pt(R - s.t2 + 1, T + h - 2 * s.t1),
        Pt(R, T + h - 2 * s.t1),
        Pt(R, T + h - 1),
        Pt(L, T + h - 1),
        Pt(L, T + h - s.t1),
        Pt(cx + 1, cy),
        Pt(L, T + s.t1 - 1),
    };
    SetPenAndBrush();
    FCanvas->Polygon(pts);
}

int32_t TExprSumma::CalcSymbolWidth() {
    return Sat32(SignWidth(SymbolHeight(), ResolutionRatio(), SumWidthRatio));
}

void TExprSumma::PaintBigSymbol(int32_t cx, int32_t cy) {
    FillOutline(*this, ScaleOutline(SumOutline, cx, cy, SymbolHeight(), ResolutionRatio()));
}

// TExprProd

int32_t TExprProd::CalcSymbolWidth() {
    return Sat32(SignWidth(SymbolHeight(), ResolutionRatio(), ProdWidthRatio));
}

void TExprProd::PaintBigSymbol(int32_t cx, int32_t cy) {
    FillOutline(*this, ScaleOutline(ProdOutline, cx, cy, SymbolHeight(), ResolutionRatio()));
}

void TExprProd::PaintSmallSymbol(int32_t cx, int32_t cy) {
    const auto [h, s, w, L, T, R] =
        TSmallSign(SymbolHeight(), ResolutionRatio(), ProdWidthRatio, cx, cy);
    const int64_t B = T + h - 1;
    const int64_t t3 = s.t3, t4 = s.t4;
    const TPoint pts[20] = {
        Pt(L, T),
        Pt(R, T),
        Pt(R, T + t4 - 1),
        Pt(R - t3, T + t4 - 1),
        Pt(R - t3, B - t4 + 1),
        Pt(R, B - t4 + 1),
        Pt(R, B),
        Pt(L + w - 3 * t3, B),
        Pt(L + w - 3 * t3, B - t4 + 1),
        Pt(L + w - 2 * t3, B - t4 + 1),
        Pt(L + w - 2 * t3, T + t4 - 1),
        Pt(L + 2 * t3 - 1, T + t4 - 1),
        Pt(L + 2 * t3 - 1, B - t4 + 1),
        Pt(L + 3 * t3 - 1, B - t4 + 1),
        Pt(L + 3 * t3 - 1, B),
        Pt(L, B),
        Pt(L, B - t4 + 1),
        Pt(L + t3, B - t4 + 1),
        Pt(L + t3, T + t4 - 1),
        Pt(L, T + t4 - 1),
    };
    SetPenAndBrush();
    FCanvas->Polygon(pts);
}

// TExprCirc

int32_t TExprCirc::CalcSymbolWidth() {
    return Sat32(SignWidth(SymbolHeight(), ResolutionRatio(), IntegralWidthRatio));
}

void TExprCirc::PaintBigSymbol(int32_t cx, int32_t cy) {
    const int32_t h = SymbolHeight();
    const long double r = ResolutionRatio();
    FillOutline(*this, ScaleOutline(IntegralOutline, cx, cy, h, r, -1343));
    // Both ring curves in one path: the alternate fill leaves the inner disc open.
    const std::vector<TPoint> outer = ScaleOutline(RingOuterOutline, cx, cy, h, r, -1343);
    const std::vector<TPoint> inner = ScaleOutline(RingInnerOutline, cx, cy, h, r, -1343);
    FCanvas->BeginPath();
    FCanvas->PolyBezier(outer);
    FCanvas->CloseFigure();
    FCanvas->PolyBezier(inner);
    FCanvas->CloseFigure();
    FCanvas->EndPath();
    SetPenAndBrush();
    FCanvas->StrokeAndFillPath();
}

void TExprCirc::PaintSmallSymbol(int32_t cx, int32_t cy) {
    const int64_t h = SymbolHeight();
    const long double r = ResolutionRatio();
    int64_t w = IntegralSignWidth(h, r);
    if (w % 2 == 0) ++w;
    const int64_t hw = w / 2;
    const int64_t v = Round(hw * r);
    const TColor color = GetColor();
    FCanvas->SetPen(TPenStyle::Solid, 1, color);
    FCanvas->SetBrush(TBrushStyle::Clear, color);
    FCanvas->Ellipse(Sat32(cx - hw), Sat32(cy - v), Sat32(cx + hw + 1), Sat32(cy + v + 1));
    FCanvas->SetBrush(TBrushStyle::Solid, color);
    PaintSmallStroke(cx - w / 2, cy - h / 2, false);
}

// TExprIntegral

int32_t TExprIntegral::CalcSymbolWidth() {
    const int64_t w = IntegralSignWidth(SymbolHeight(), ResolutionRatio());
    const long double px = FPenWidthX;
    if (FCount >= 1) return Round32(static_cast<long double>(w) * FCount + (FCount - 1) * px);
    // The ellipsis is measured in the node's own font, the one it is written in.
    AssignFont();
    const int64_t ellipsis = FCanvas->TextExtentW(u"\u2026").cx;
    return Sat32(3 * w + 4 * static_cast<int64_t>(FPenWidthX) + ellipsis);
}

void TExprIntegral::PaintSigns(int32_t cx, int32_t cy, bool big) {
    const int32_t h = SymbolHeight();
    const long double r = ResolutionRatio();
    const int64_t w = IntegralSignWidth(h, r);
    const int64_t px = FPenWidthX;
    const int64_t L = cx - SymbolWidth() / 2, T = cy - h / 2;
    auto sign = [&](int64_t left) {
        if (big)
            FillOutline(*this, ScaleOutline(IntegralOutline, left, T, h, r, 0, -5000));
        else
            PaintSmallStroke(left, T, true);
    };
    if (FCount >= 1) {
        const int64_t step = w + px;
        int64_t first = 0, last = FCount - 1;
        if (step <= 0)
            last = 0; // every sign on the same columns: one shows them all
        else {
            // Only the signs that reach into the paintable columns.
            first = std::max<int64_t>(first, CeilDiv(-PaintReach - (L + w), step));
            last = std::min<int64_t>(last, FloorDiv(PaintReach - L, step));
        }
        for (int64_t i = std::max<int64_t>(first, 0); i <= last; ++i)
            sign(L + i * step);
        return;
    }
    sign(L);
    sign(L + w + px);
    AssignFont();
    const int64_t a = FCanvas->TextHeight("A");
    FCanvas->TextOutW(Sat32(L + 2 * w + 3 * px), Sat32(T + h - a), u"\u2026");
    sign(L + SymbolWidth() - w);
}

void TExprIntegral::PaintBigSymbol(int32_t cx, int32_t cy) {
    PaintSigns(cx, cy, true);
}

void TExprIntegral::PaintSmallSymbol(int32_t cx, int32_t cy) {
    PaintSigns(cx, cy, false);
}
