#include "formula/draw/ExprLayout.h"

#include <array>

namespace ExprLayout {

namespace {

// One point of the curly bracket's upper half: the column Across * v + AcrossFix in from the
// bracket's outer edge (the side of its point), and the row Down * w + DownFix from the top
// (or, for FromPoint, from the row that puts the serifs of the point around the middle row);
// Times: how often it is repeated (a repeated point makes a straight Bezier segment).
struct TCurlyPoint {
    int8_t Across, AcrossFix;
    bool FromPoint;
    int8_t Down, DownFix;
    int8_t Times;
    // The right bracket's row where it is not the left one's (the classic shapes differ in
    // the point's inner serif), else 0.
    int8_t RightDown = 0;
};

constexpr std::array<TCurlyPoint, 15> CurlyUpperHalf = {{
    {1, 0, true, 5, -1, 1},
    {2, -1, true, 5, -1, 1},
    {3, 0, true, 4, -2, 1},
    {3, 0, true, 3, -1, 2},
    {3, 0, false, 3, -1, 2},
    {3, 0, false, 1, 0, 1},
    {4, 0, false, 1, 0, 1},
    {7, -1, false, 1, 0, 2},
    {7, -1, false, 2, -1, 2},
    {5, -1, false, 2, -1, 2},
    {5, -1, false, 3, -1, 2},
    {5, -1, true, 3, -1, 2},
    {5, -1, true, 3, -2, 1, 4},
    {5, -2, true, 5, -1, 1},
    {3, -1, true, 5, -1, 2},
}};

} // namespace

std::vector<TPoint> CurlyOutline(int64_t x, int64_t y, int64_t h, int64_t v, int64_t w, bool left) {
    const int64_t point = y + (h - 11 * w) / 2 + 1;
    // The right bracket is drawn from its outer column 7v - 1 back towards the content.
    const int64_t edge = left ? x : x + 7 * v - 1;
    std::vector<std::array<int64_t, 2>> upper;
    for (const TCurlyPoint &p : CurlyUpperHalf) {
        const int64_t across = p.Across * v + p.AcrossFix;
        const int64_t px = left ? edge + across : edge - across;
        const int64_t down = !left && p.RightDown != 0 ? p.RightDown : p.Down;
        const int64_t py = (p.FromPoint ? point : y) + down * w + p.DownFix;
        for (int k = 0; k < p.Times; ++k)
            upper.push_back({px, py});
    }
    std::vector<TPoint> outline;
    outline.reserve(2 * upper.size());
    for (const auto &p : upper)
        outline.push_back(Pt(p[0], p[1]));
    for (std::size_t i = upper.size(); i-- > 0;)
        outline.push_back(Pt(upper[i][0], 2 * y + h - 1 - upper[i][1]));
    return outline;
}

void FillBezierFigure(TExprClass &node, std::span<const TPoint> points, bool closed) {
    TCanvas *c = node.Canvas();
    c->BeginPath();
    c->PolyBezier(points);
    if (closed) c->CloseFigure();
    c->EndPath();
    node.SetPenAndBrush();
    c->StrokeAndFillPath();
}

} // namespace ExprLayout
