// The geometry toolkit of the node implementations: measurements of optional children, points
// and coordinates widened to 64 bits so that sums of huge sizes cannot overflow and clamped
// where they are stored, the script scale, the extent of a row and the curly bracket's outline.
#pragma once

#include "formula/draw/ExprClass.h"
#include "runtime/NumText.h"

#include <algorithm>
#include <span>
#include <vector>

// Scripts (indices, powers, limits, degrees, the twins of a group operator) are set in a font
// whose signed height is the owner's times this scale, rounded.
constexpr long double ScriptScale = 0.7L;

inline int32_t ScriptHeight(int32_t height) {
    return Round32(height * ScriptScale);
}

namespace ExprLayout {

inline int64_t W(TExprClass *n) {
    return n ? n->Width() : 0;
}
inline int64_t H(TExprClass *n) {
    return n ? n->Height() : 0;
}
inline int64_t Up(TExprClass *n) {
    return n ? n->MidLineUp() : 0;
}
inline int64_t Dn(TExprClass *n) {
    return n ? n->MidLineDn() : 0;
}
inline TPoint Pt(int64_t x, int64_t y) {
    return {Sat32(x), Sat32(y)};
}

// The extent of a row whose members share one axis row: the rows above the axis,
// the axis row included, and the rows below it.
struct TRowExtent {
    int64_t Up = 0, Down = 0;

    void Add(TExprClass &member) {
        const int64_t mu = member.MidLineUp();
        Up = std::max(Up, mu + 1);
        Down = std::max(Down, int64_t{member.Height()} - mu - 1);
    }
    int64_t Height() const { return Up + Down; }
};

// The extent of the row that begins with first.
inline TRowExtent RowExtentOf(TExprClass *first) {
    TRowExtent e;
    for (TExprClass *m = first; m; m = m->Next())
        e.Add(*m);
    return e;
}

// The outline of a curly bracket for a box of height h with top row y, in pen widths
// v (across) and w (down): a start point and Bezier segments of three points, the lower half
// mirroring the upper one about the middle row. Both brackets start at column x: the right one
// is the left one turned about a vertical axis, but for the inner serif of the point, which sits
// one w lower (the classic shapes differ there).
std::vector<TPoint> CurlyOutline(int64_t x, int64_t y, int64_t h, int64_t v, int64_t w, bool left);

// Fills a figure of Bezier segments with the node's pen and brush; closed also closes the
// figure before the path ends.
void FillBezierFigure(TExprClass &node, std::span<const TPoint> points, bool closed);

} // namespace ExprLayout
