// Fractions, roots, brackets, arguments and indices on the recording canvas. Fonts: -13 gives
// PenWidthX = PenWidthY = 1, -26 gives 2 and 2 (see the canvas metrics). Expected geometry is
// worked out by hand from the layout rules.
#include "formula/draw/ExprFuncs.h"
#include "formula/draw/ExprStructs.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Points = std::vector<TPoint>;

// The bracket outlines painted, in order.
std::vector<Points> Outlines(const TRecordingCanvas &canvas) {
    std::vector<Points> out;
    for (const auto &c : canvas.CallsOf("PolyBezier"))
        out.push_back(c.Points);
    return out;
}

// Points listed with a repeat count, as the outline tables give them.
Points Listed(std::initializer_list<std::tuple<int32_t, int32_t, int>> items) {
    Points out;
    for (auto [x, y, n] : items)
        for (int i = 0; i < n; ++i)
            out.push_back({x, y});
    return out;
}

// The upper half followed by its reflection about the middle of rows top .. top + h - 1.
Points Mirrored(Points upper, int32_t top, int32_t h) {
    const size_t n = upper.size();
    for (size_t i = n; i-- > 0;)
        upper.push_back({upper[i].X, 2 * top + h - 1 - upper[i].Y});
    return upper;
}

// Brackets of the given kinds around a 20 x 30 box (axis row 15) at the 26-pixel font (v = w =
// 2), drawn at (x, y): the node's box and its outlines, one per bracket, all inside the box.
struct TBracketed {
    TLayoutBox Box;
    std::vector<Points> Outlines;
};

TBracketed DrawBrackets(uint8_t left, uint8_t right, int32_t x = 0, int32_t y = 0) {
    TRecordingCanvas canvas;
    TExprBracketed b(Fixed(20, 30, 15), left, right);
    Prepare(b, canvas, -26);
    b.Draw(x, y, 0, 0);
    ExpectShapesInside(canvas, x, y, x + b.Width(), y + b.Height());
    return {BoxOf(b), Outlines(canvas)};
}

} // namespace

TEST(ExprRatio, BarOnTheAxisAndCentredParts) {
    TRecordingCanvas canvas;
    auto numOwned = Fixed(10, 16), denOwned = Fixed(20, 16);
    TFixedNode *num = numOwned.get(), *den = denOwned.get();
    TExprRatio ratio(std::move(numOwned), std::move(denOwned));
    ratio.SetColor(0x0000FF);
    Prepare(ratio, canvas, -13);
    ASSERT_EQ(ratio.PenWidthY(), 1);
    ASSERT_EQ(ratio.PenWidthX(), 1);

    EXPECT_EQ(ratio.Width(), 28); // 8 pixels wider than the denominator
    EXPECT_EQ(ratio.Height(), 35);
    EXPECT_EQ(ratio.MidLineUp(), 17); // w + w div 2 below the numerator's 16 rows
    EXPECT_EQ(ratio.MidLineDn(), -17);

    ratio.Draw(100, 50, 0, 0);
    // The wider part has 4 columns on each side; the narrower one is centred over it.
    EXPECT_EQ(den->PaintX, 104);
    EXPECT_EQ(den->PaintY, 68); // first row under the bar
    EXPECT_EQ(num->PaintX, 109);
    EXPECT_EQ(num->PaintY + num->H - 1, 66); // last row over the bar
    const auto bars = canvas.CallsOf("FillRect");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].Args, (std::vector<int32_t>{103, 67, 126, 68}));
    EXPECT_EQ(bars[0].BrushColor, 0x0000FFu);
    EXPECT_EQ(bars[0].PenColor, 0x0000FFu);
}

TEST(ExprRatio, ThickBarKeepsItsDistance) {
    TRecordingCanvas canvas;
    auto numOwned = Fixed(9, 20), denOwned = Fixed(4, 10);
    TFixedNode *num = numOwned.get(), *den = denOwned.get();
    TExprRatio ratio(std::move(numOwned), std::move(denOwned));
    Prepare(ratio, canvas, -26);
    ASSERT_EQ(ratio.PenWidthY(), 2);
    ASSERT_EQ(ratio.PenWidthX(), 2);

    EXPECT_EQ(ratio.Width(), 25);
    EXPECT_EQ(ratio.Height(), 36);
    EXPECT_EQ(ratio.MidLineUp(), 23); // 20 + 2 + 1
    // An even bar counts its centre row on both sides: one row more than the height.
    EXPECT_EQ(ratio.MidLineDn(), -13);

    ratio.Draw(0, 0, 0, 0);
    const auto bar = canvas.CallsOf("FillRect").at(0).Args;
    EXPECT_EQ(bar, (std::vector<int32_t>{6, 22, 20, 24})); // rows 22 and 23, w thick
    // A free row between the numerator and the bar, two between the bar and the denominator.
    EXPECT_EQ(num->PaintY + num->H - 1, 20);
    EXPECT_EQ(den->PaintY, 26);
    EXPECT_EQ(den->PaintY + den->H - 1, ratio.Height() - 1);
    EXPECT_EQ(num->PaintX, 12 - 4);
    EXPECT_EQ(den->PaintX, 12 - 2);
}

TEST(ExprRoot, TwelveVerticesWithoutDegree) {
    TRecordingCanvas canvas;
    auto radOwned = Fixed(20, 30, 15);
    TFixedNode *rad = radOwned.get();
    TExprRoot root(std::move(radOwned), nullptr);
    Prepare(root, canvas, -26);

    // Slant: Round((30 + 2) / 2) = 16.
    EXPECT_EQ(BoxOf(root), (TLayoutBox{20 + 16 + 16, 36, 21, -14}));

    root.Draw(100, 50, 0, 0);
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    const Points expected = {{102, 62}, {111, 62}, {111, 76}, {124, 52}, {149, 52}, {149, 57},
                             {148, 57}, {148, 53}, {125, 53}, {108, 86}, {108, 63}, {102, 63}};
    EXPECT_EQ(polys[0].Points, expected);
    EXPECT_EQ(rad->PaintX, 125); // under the overbar, at V8
    EXPECT_EQ(rad->PaintY, 55);
    // The polygon is painted last, over its content.
    EXPECT_EQ(canvas.Calls.back().Kind, "Polygon");
}

TEST(ExprRoot, SlantRoundsHalvesToEven) {
    TRecordingCanvas canvas;
    TExprRoot root(Fixed(10, 16), nullptr);
    Prepare(root, canvas, -13);
    // (16 + 1) / 2 = 8.5 rounds to 8.
    EXPECT_EQ(root.Width(), 10 + 8 + 8);
    root.Draw(0, 0, 0, 0);
    const auto p = canvas.CallsOf("Polygon").at(0).Points;
    EXPECT_EQ(p[2], (TPoint{5, 14})); // Round(19 - 3 sqrt 3)
    EXPECT_EQ(p[3], (TPoint{12, 1}));
    EXPECT_EQ(p[4], (TPoint{24, 1}));
    EXPECT_EQ(p[9], (TPoint{4, 19}));
}

TEST(ExprRoot, DegreeShiftsTheSignAndGrowsTheNode) {
    TRecordingCanvas canvas;
    auto radOwned = Fixed(20, 30, 15), degOwned = Fixed(14, 20);
    TFixedNode *rad = radOwned.get(), *deg = degOwned.get();
    TExprRoot root(std::move(radOwned), std::move(degOwned));
    Prepare(root, canvas, -26);

    // The degree has its own reduced font and metrics.
    EXPECT_EQ(deg->Font().Height(), -18);
    EXPECT_EQ(deg->PenWidthY(), 1);
    EXPECT_EQ(rad->Font().Height(), -26);

    // A degree of 10w rows: 6w taller, axis 6w lower; dx = 14 - 5v = 4.
    EXPECT_EQ(BoxOf(root), (TLayoutBox{52 + 4, 36 + 12, 21 + 12, -14}));

    root.Draw(0, 0, 0, 0);
    const Points expected = {{6, 24},  {15, 24}, {15, 38}, {28, 14}, {53, 14}, {53, 19},
                             {52, 19}, {52, 15}, {29, 15}, {12, 48}, {12, 25}, {6, 25}};
    EXPECT_EQ(canvas.CallsOf("Polygon").at(0).Points, expected);
    // Bottom-right corner of the degree just above the tick.
    EXPECT_EQ(deg->PaintX + deg->W - 1, 15);
    EXPECT_EQ(deg->PaintY + deg->H - 1, 22);
    EXPECT_EQ(rad->PaintedAt(), (TPoint{29, 17}));
}

TEST(ExprRoot, SmallDegreeAddsNothing) {
    TRecordingCanvas canvas;
    TExprRoot root(Fixed(20, 30, 15), Fixed(10, 8)); // 5v wide, 4w high
    Prepare(root, canvas, -26);
    EXPECT_EQ(root.Width(), 52);
    EXPECT_EQ(root.Height(), 36);
    EXPECT_EQ(root.MidLineUp(), 21);
}

TEST(ExprBracketed, RoundOutlinesLeftAndRight) {
    TRecordingCanvas canvas;
    auto inner = Fixed(20, 30, 15);
    TFixedNode *content = inner.get();
    TExprBracketed b(std::move(inner), ebRound, ebRound);
    Prepare(b, canvas, -26);

    // H = 30 + 2w; each bracket Round(0.191192 H) + 2v = 11 wide.
    EXPECT_EQ(BoxOf(b), (TLayoutBox{42, 34, 17, -16}));

    b.Draw(0, 0, 0, 0);
    const auto o = Outlines(canvas);
    ASSERT_EQ(o.size(), 2u);
    // L = 7, a = 5, b = 10, c = 9.
    EXPECT_EQ(o[0], (Points{{7, 2}, {2, 12}, {2, 21}, {7, 31}, {0, 22}, {0, 11}, {7, 2}}));
    EXPECT_EQ(o[1], (Points{{34, 2}, {39, 12}, {39, 21}, {34, 31}, {41, 22}, {41, 11}, {34, 2}}));
    // The content sits w lower than in a bare row, after the left bracket.
    EXPECT_EQ(content->PaintedAt(), (TPoint{11, 2}));
    ExpectShapesInside(canvas, 0, 0, b.Width(), b.Height());
}

TEST(ExprBracketed, EachOutlineIsAClosedFilledPath) {
    TRecordingCanvas canvas;
    TExprBracketed b(Fixed(20, 30, 15), ebSquare, ebModule);
    b.SetColor(0x00FF00);
    Prepare(b, canvas, -26);
    b.Draw(0, 0, 0, 0);
    std::vector<std::string> kinds;
    for (const auto &c : canvas.Calls)
        kinds.push_back(c.Kind);
    const std::vector<std::string> one = {"BeginPath", "PolyBezier", "CloseFigure", "EndPath",
                                          "StrokeAndFillPath"};
    std::vector<std::string> expected = one;
    expected.insert(expected.end(), one.begin(), one.end());
    EXPECT_EQ(kinds, expected);
    for (const auto &c : canvas.CallsOf("StrokeAndFillPath")) {
        EXPECT_EQ(c.PenColor, 0x00FF00u);
        EXPECT_EQ(c.BrushColor, 0x00FF00u);
        EXPECT_EQ(c.PenStyle, TPenStyle::Solid);
        EXPECT_EQ(c.BrushStyle, TBrushStyle::Solid);
    }
}

TEST(ExprBracketed, SquareOutlinesLeftAndRight) {
    const auto [box, o] = DrawBrackets(ebSquare, ebSquare);
    EXPECT_EQ(box.Width, 40);
    ASSERT_EQ(o.size(), 2u);
    const Points left = Listed({{2, 2, 2}, {9, 2, 3}, {9, 3, 2}, {8, 3, 1}, {5, 2, 1}, {5, 5, 2}});
    const Points right =
        Listed({{37, 2, 2}, {30, 2, 3}, {30, 3, 2}, {31, 3, 1}, {34, 2, 1}, {34, 5, 2}});
    EXPECT_EQ(o[0], Mirrored(left, 0, 34));
    EXPECT_EQ(o[1], Mirrored(right, 0, 34));
    // The lower half by hand, for the left bracket.
    const Points lower =
        Listed({{5, 28, 2}, {5, 31, 1}, {8, 30, 1}, {9, 30, 2}, {9, 31, 3}, {2, 31, 2}});
    EXPECT_EQ(Points(o[0].begin() + 11, o[0].end()), lower);
}

TEST(ExprBracketed, CurlyOutlinesLeftAndRight) {
    const auto [box, o] = DrawBrackets(ebFigure, ebFigure);
    EXPECT_EQ(box.Height, 34); // 34 - w is even already
    EXPECT_EQ(box.Width, 48);
    ASSERT_EQ(o.size(), 2u);
    // m = (34 - 22) div 2 + 1 = 7.
    const Points left = Listed({{2, 16, 1},
                                {3, 16, 1},
                                {6, 13, 1},
                                {6, 12, 2},
                                {6, 5, 2},
                                {6, 2, 1},
                                {8, 2, 1},
                                {13, 2, 2},
                                {13, 3, 2},
                                {9, 3, 2},
                                {9, 5, 2},
                                {9, 12, 2},
                                {9, 11, 1},
                                {8, 16, 1},
                                {5, 16, 2}});
    const Points right = Listed({{45, 16, 1},
                                 {44, 16, 1},
                                 {41, 13, 1},
                                 {41, 12, 2},
                                 {41, 5, 2},
                                 {41, 2, 1},
                                 {39, 2, 1},
                                 {34, 2, 2},
                                 {34, 3, 2},
                                 {38, 3, 2},
                                 {38, 5, 2},
                                 {38, 12, 2},
                                 {38, 13, 1},
                                 {39, 16, 1},
                                 {42, 16, 2}});
    ASSERT_EQ(left.size(), 23u);
    EXPECT_EQ(o[0], Mirrored(left, 0, 34));
    EXPECT_EQ(o[1], Mirrored(right, 0, 34));
    // The point: rows 16 and 17, w rows around the middle.
    EXPECT_EQ(o[0][23], (TPoint{5, 17}));
    EXPECT_EQ(o[0].back(), (TPoint{2, 17}));
}

TEST(ExprBracketed, BarOutlinesLeftAndRight) {
    const auto [box, o] = DrawBrackets(ebModule, ebModule, 10, 20);
    EXPECT_EQ(box.Width, 32);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_EQ(o[0], Mirrored(Listed({{12, 22, 2}, {13, 22, 3}}), 20, 34));
    EXPECT_EQ(o[1], Mirrored(Listed({{38, 22, 2}, {39, 22, 3}}), 20, 34));
    EXPECT_EQ(o[0][5], (TPoint{13, 51}));
}

TEST(ExprBracketed, CurlyHeightHasTheParityOfW) {
    // Heights and axis rows of many contents: a curly bracket makes height - w even, and the
    // extra row is below the axis, so the height still equals MidLineUp - MidLineDn + 1.
    for (int32_t font : {-13, -26, -39}) {
        for (int32_t h = 1; h <= 40; ++h) {
            for (int32_t mid : {0, h / 3, h / 2, h - 1}) {
                TRecordingCanvas canvas;
                TExprBracketed b(Fixed(5, h, mid), ebNone, ebFigure);
                Prepare(b, canvas, font);
                const int32_t w = b.PenWidthY();
                SCOPED_TRACE(testing::Message() << "font " << font << " h " << h << " mid " << mid);
                EXPECT_EQ((b.Height() - w) % 2, 0);
                EXPECT_EQ(b.Height(), b.MidLineUp() - b.MidLineDn() + 1);
                EXPECT_EQ(b.MidLineUp(), mid + w);
                EXPECT_TRUE(b.Height() == h + 2 * w || b.Height() == h + 2 * w + 1);
            }
        }
    }
}

TEST(ExprBracketed, CurlyParityRowFollowsTheHeight) {
    TRecordingCanvas canvas;
    // Row of 31 with the axis at 15: 35 - w is odd, so one more row, below the axis.
    TExprBracketed odd(Fixed(20, 31, 15), ebFigure, ebRound);
    Prepare(odd, canvas, -26);
    // The round bracket on the other side follows the grown height: Round(6.88) + 4.
    EXPECT_EQ(BoxOf(odd), (TLayoutBox{14 + 20 + 11, 36, 17, -18}));

    // Row of 30 with the axis at 14: the height needs no row, and neither does the axis.
    TExprBracketed even(Fixed(20, 30, 14), ebFigure, ebFigure);
    Prepare(even, canvas, -26);
    EXPECT_EQ(BoxOf(even), (TLayoutBox{14 + 20 + 14, 34, 16, -17}));
}

TEST(ExprBracketed, OneSidedBracketClearsTheAccentShifts) {
    TRecordingCanvas canvas;
    auto content = [] {
        auto inner = Fixed(20, 30, 15);
        inner->CapDYValue = 5;
        inner->CapLeft = 3;
        inner->CapRight = 4;
        inner->Flags = 6;
        return inner;
    };
    TExprBracketed b(content(), ebNone, ebModule);
    Prepare(b, canvas, -26);
    EXPECT_EQ(b.Width(), 20 + 6);
    EXPECT_EQ(b.CapDY(), 0);
    EXPECT_EQ(b.CapDXLeft(), 0);
    EXPECT_EQ(b.CapDXRight(), 0);
    EXPECT_EQ(b.FactorFlags(), 6u); // not enclosed on both sides: the row's flags
    b.Draw(0, 0, 0, 0);
    const auto o = Outlines(canvas);
    ASSERT_EQ(o.size(), 1u);
    EXPECT_EQ(o[0].front(), (TPoint{22, 2})); // a right bar after the content

    // Two kinds 0: nothing drawn, the row's accent shifts and flags.
    TExprBracketed none(content(), ebNone, ebNone);
    Prepare(none, canvas, -26);
    canvas.Clear();
    none.Draw(0, 0, 0, 0);
    EXPECT_TRUE(Outlines(canvas).empty());
    EXPECT_EQ(none.Width(), 20);
    EXPECT_EQ(none.Height(), 34);
    EXPECT_EQ(none.CapDY(), 5);
    EXPECT_EQ(none.CapDXLeft(), 3);
    EXPECT_EQ(none.CapDXRight(), 4);
}

TEST(ExprBracketed, FactorFlagsOfBracketPairs) {
    TExprRound round(Fixed(1, 1));
    TExprBracketed twoRound(Fixed(1, 1), ebRound, ebRound);
    TExprBracketed square(Fixed(1, 1), ebSquare, ebSquare);
    TExprBracketed mixed(Fixed(1, 1), ebRound, ebFigure);
    EXPECT_EQ(round.FactorFlags(), 19u);
    EXPECT_EQ(twoRound.FactorFlags(), 27u);
    EXPECT_EQ(square.FactorFlags(), 19u);
    EXPECT_EQ(mixed.FactorFlags(), 19u);

    auto inner = Fixed(1, 1);
    inner->Flags = 4;
    TExprArgument hidden(std::move(inner)); // brackets not shown: the row's flags
    EXPECT_EQ(hidden.FactorFlags(), 4u);
    hidden.SetForceBrackets();
    EXPECT_EQ(hidden.FactorFlags(), 27u);
}

TEST(ExprBracketed, RemoveBracketsLeavesTheRow) {
    TRecordingCanvas canvas;
    TExprBracketed b(Fixed(20, 30, 15), ebRound, ebRound);
    Prepare(b, canvas, -26);
    EXPECT_EQ(b.Width(), 42);
    EXPECT_EQ(b.CapDY(), 0);
    b.RemoveBrackets();
    EXPECT_EQ(b.LeftBracket(), ebNone);
    EXPECT_EQ(b.RightBracket(), ebNone);
    EXPECT_EQ(b.ValidMask() & 0x0C3u, 0x0C3u);
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.FactorFlags(), 3u);
    canvas.Clear();
    b.Draw(0, 0, 0, 0);
    EXPECT_TRUE(Outlines(canvas).empty());
}

TEST(ExprBracketed, UnknownKindsDrawNothing) {
    TRecordingCanvas canvas;
    TExprBracketed b(Fixed(20, 30, 15), 7, 200);
    Prepare(b, canvas, -26);
    EXPECT_EQ(b.Width(), 20);
    b.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
}

TEST(ExprArgument, HiddenBracketsMeasureLikeTheRow) {
    TRecordingCanvas canvas;
    auto inner = Fixed(20, 30, 15);
    TFixedNode *content = inner.get();
    TExprArgument arg(std::move(inner));
    Prepare(arg, canvas, -26);
    EXPECT_FALSE(arg.NeedBrackets());
    EXPECT_EQ(arg.Width(), 20);
    EXPECT_EQ(arg.Height(), 34); // the row and 2w
    EXPECT_EQ(arg.MidLineUp(), 17);
    arg.Draw(5, 5, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
    EXPECT_EQ(content->PaintedAt(), (TPoint{5, 7}));

    arg.SetForceBrackets();
    EXPECT_TRUE(arg.ForceBrackets());
    EXPECT_EQ(arg.ValidMask(), vmAllStale);
    EXPECT_EQ(arg.Width(), 42);
}

TEST(ExprArgument, BracketsForSignsAndCommas) {
    auto first = Fixed(5, 5);
    first->SetNext(Fixed(5, 5));
    TExprArgument product(std::move(first));
    EXPECT_FALSE(product.NeedBrackets());

    auto a = Fixed(5, 5);
    auto sign = Fixed(5, 5);
    sign->Forces = true;
    a->SetNext(std::move(sign));
    a->Next()->SetNext(Fixed(5, 5));
    TExprArgument sum(std::move(a));
    EXPECT_TRUE(sum.NeedBrackets());

    auto x = Fixed(5, 5);
    x->SetNext(std::make_unique<TExprComma>());
    TExprArgument list(std::move(x));
    EXPECT_TRUE(list.NeedBrackets());
}

TEST(ExprArgument, FunctionNameDecides) {
    // A name part that always wants brackets gets them even around a single product.
    auto name = Fixed(12, 16);
    TFixedNode *namePart = name.get();
    TExprCommonFunc func(std::move(name), std::make_unique<TExprArgument>(Fixed(20, 16)));
    auto *arg = static_cast<TExprArgument *>(func.Son2());
    EXPECT_TRUE(arg->NeedBrackets());
    namePart->AlwaysBracketed = false;
    EXPECT_FALSE(arg->NeedBrackets());
}

TEST(ExprIndex, LowSuperscriptAddsNoHeight) {
    TRecordingCanvas canvas;
    auto baseOwned = ScriptBase(11, 5, 9, 10);
    TFixedNode *base = baseOwned.get();
    auto supOwned = Fixed(6, 4);
    TFixedNode *sup = supOwned.get();
    TExprIndex index(std::move(baseOwned), nullptr, std::move(supOwned));
    Prepare(index, canvas, -13);
    EXPECT_EQ(BoxOf(index), (TLayoutBox{17, 16, 8, -7}));
    index.Draw(0, 0, 0, 0);
    EXPECT_EQ(base->PaintY, 0);
    EXPECT_EQ(sup->PaintX, 11);
    EXPECT_EQ(sup->PaintY + sup->H - 1, 5); // bottom row on the base's superscript line
}

TEST(ExprIndex, TallIndicesGrowTheNode) {
    TRecordingCanvas canvas;
    auto baseOwned = ScriptBase(11, 5, 9, 10);
    baseOwned->CapDYValue = 3;
    TFixedNode *base = baseOwned.get();
    auto subOwned = Fixed(12, 8), supOwned = Fixed(6, 12);
    supOwned->CapDYValue = 1;
    TFixedNode *sub = subOwned.get(), *sup = supOwned.get();
    TExprIndex index(std::move(baseOwned), std::move(subOwned), std::move(supOwned));
    Prepare(index, canvas, -20);

    EXPECT_EQ(sub->Font().Height(), -14);
    EXPECT_EQ(sup->Font().Height(), -14);
    // up = 12 - 5, dn = 8 + 10 - 16.
    EXPECT_EQ(index.Height(), 16 + 7 + 2);
    EXPECT_EQ(index.MidLineUp(), 15);
    EXPECT_EQ(index.MidLineDn(), -9);
    EXPECT_EQ(index.Width(), 21); // the subscript reaches furthest
    EXPECT_EQ(index.CapDY(), 1);  // the superscript's

    index.Draw(0, 0, 0, 0);
    EXPECT_EQ(base->PaintedAt(), (TPoint{0, 7}));
    EXPECT_EQ(sup->PaintedAt(), (TPoint{11, 1}));
    EXPECT_EQ(sub->PaintedAt(), (TPoint{9, 17}));
    EXPECT_EQ(sub->PaintY + sub->H, index.Height()); // the subscript ends on the last row

    TExprIndex subOnly(Fixed(10, 16), Fixed(3, 3), nullptr);
    static_cast<TFixedNode *>(subOnly.Son())->CapDYValue = 3;
    Prepare(subOnly, canvas, -20);
    EXPECT_EQ(subOnly.CapDY(), 3); // the base's without a superscript
}

TEST(ExprIndex, FlagsAndFunctionNames) {
    auto base = Fixed(1, 1);
    base->Flags = 5;
    TExprIndex index(std::move(base), Fixed(1, 1), nullptr);
    EXPECT_EQ(index.FactorFlags(), 7u);
    EXPECT_TRUE(index.ArgAlwaysBracketed());

    TExprIndex named(std::make_unique<TExprFuncName>("sin"), nullptr, Fixed(1, 1));
    EXPECT_FALSE(named.ArgAlwaysBracketed());
    TExprIndex letter(std::make_unique<TExprVar>("f"), nullptr, Fixed(1, 1));
    EXPECT_TRUE(letter.ArgAlwaysBracketed());
}

TEST(ExprStructs, HugeContentSaturates) {
    // Sizes at the end of the integer range must stay defined (checked under UBSan).
    TRecordingCanvas canvas;
    TExprRatio ratio(Fixed(MaxInt, MaxInt), Fixed(MaxInt, MaxInt));
    Prepare(ratio, canvas, -26);
    EXPECT_EQ(ratio.Width(), MaxInt);
    EXPECT_EQ(ratio.Height(), MaxInt);
    ratio.Draw(MaxInt, MaxInt, 1, 1);

    TExprRoot root(Fixed(MaxInt, MaxInt), Fixed(MaxInt, MaxInt));
    Prepare(root, canvas, -26);
    EXPECT_EQ(root.Width(), MaxInt);
    EXPECT_EQ(root.Height(), MaxInt);
    root.Draw(-MaxInt, -MaxInt, 2, 2);

    for (uint8_t kind = ebRound; kind <= ebModule; ++kind) {
        TExprBracketed b(Fixed(MaxInt, MaxInt, MaxInt / 2), kind, kind);
        Prepare(b, canvas, -26);
        EXPECT_EQ(b.Width(), MaxInt);
        b.Draw(0, 0, 0, 0);
    }

    TExprIndex index(Fixed(MaxInt, MaxInt), Fixed(MaxInt, MaxInt), Fixed(MaxInt, MaxInt));
    Prepare(index, canvas, -26);
    EXPECT_EQ(index.Height(), MaxInt);
    index.Draw(0, 0, 0, 0);
}
