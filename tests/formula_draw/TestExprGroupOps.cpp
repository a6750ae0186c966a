// Group operators on the recording canvas: sign size, layout with limits, both drawings.
#include "formula/draw/ExprGroupOps.h"
#include "formula/draw/ExprStructs.h"
#include "runtime/NumText.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using TBox = TFixedNode;

std::unique_ptr<TBox> Box(int32_t w, int32_t h, int32_t mid = -1) {
    return Fixed(w, h, mid);
}

// A row that reports itself as enclosed in visible brackets, as a bracketed group does.
class TBracketedRow : public TExprChain {
public:
    using TExprChain::TExprChain;
    uint32_t FactorFlags() override { return efLeft | efRight | efBrackets; }
};

// Prepares a tree as the picture builder does. A -13 font: text height 16, so the letter
// half-height is 8, and both pen widths are 1.
template <class T> T &Prepare(T &node, TRecordingCanvas &canvas, int32_t fontHeight = -13) {
    node.SetFont(TestFont(fontHeight));
    node.SetCanvas(&canvas);
    return node;
}

// A sum whose sign height is forced, for heights no operand yields (2.25 times an integer
// half-extent never rounds to 55).
class TForcedSum : public TExprSumma {
public:
    using TExprSumma::TExprSumma;
    void ForceSymbolHeight(int32_t h) {
        FSymbolHeight = h;
        MarkValid(vmUser2);
    }
};

} // namespace

TEST(ExprGroupOps, SumWithoutLimits) {
    TRecordingCanvas canvas;
    TExprSumma sum(Box(10, 20), nullptr, nullptr);
    Prepare(sum, canvas);
    // Half-extent 10 (axis row 10 of 20): 2.25 * 10 = 22.5 rounds to the even 22.
    EXPECT_EQ(sum.SymbolHeight(), 22);
    EXPECT_EQ(sum.SymbolWidth(), 16); // Round(22 * 0.739)
    EXPECT_EQ(BoxOf(sum), (TLayoutBox{16 + 10 + 5, 2 + 22 + 2, 2 + 11, -(2 + 10)}));
    EXPECT_EQ(sum.FactorFlags(), 3u);

    sum.Draw(100, 50, 0, 0);
    // The operand starts 5 pen widths after the sign column, its axis on the sign's centre.
    auto *operand = static_cast<TBox *>(sum.Son());
    EXPECT_EQ(operand->PaintedAt(), (TPoint{100 + 16 + 5, 63 - 10}));

    // The small sign: cx = 100 + 8 + 2, cy = 63; t1 = t3 = 2, t2 = 1.
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    const std::vector<TPoint> expected = {
        {102, 52}, {117, 52}, {117, 56}, {117, 54}, {117, 53}, {103, 53}, {112, 63}, {103, 72},
        {117, 72}, {117, 70}, {117, 70}, {117, 73}, {102, 73}, {102, 72}, {111, 63}, {102, 53},
    };
    EXPECT_EQ(polys[0].Points, expected);
    EXPECT_TRUE(canvas.CallsOf("PolyBezier").empty());
}

TEST(ExprGroupOps, SignSizeHasALetterMinimumAndFollowsTheOperandsAxis) {
    TRecordingCanvas canvas;
    TExprProd tiny(Box(2, 2), nullptr, nullptr);
    Prepare(tiny, canvas);
    EXPECT_EQ(tiny.SymbolHeight(), 18); // 2.25 * (16 div 2)

    // The larger half-extent about the axis counts, not the height: 30 rows with the axis on
    // row 5 reach 24 rows below it.
    TExprProd low(Box(2, 30, 5), nullptr, nullptr);
    Prepare(low, canvas);
    EXPECT_EQ(low.SymbolHeight(), 54);
    EXPECT_EQ(low.SymbolWidth(), 46); // Round(54 * 0.8561)

    // The width follows the horizontal-to-vertical resolution ratio.
    TRecordingCanvas wide(192, 96);
    TExprSumma sum(Box(2, 2), nullptr, nullptr);
    TExprCirc circ(Box(2, 2), nullptr, nullptr);
    Prepare(sum, wide);
    Prepare(circ, wide);
    EXPECT_EQ(sum.SymbolHeight(), 18);
    EXPECT_EQ(sum.SymbolWidth(), 27);  // Round(18 * 0.739 * 2) = Round(26.604)
    EXPECT_EQ(circ.SymbolWidth(), 10); // Round(9.6732)
}

TEST(ExprGroupOps, NestedOperatorsShareTheInnerSize) {
    TRecordingCanvas canvas;
    // A sum over a product with both limits; the sum has none of its own.
    auto prod = std::make_unique<TExprProd>(Box(10, 40), Box(12, 9), Box(8, 7));
    TExprProd *inner = prod.get();
    TExprSumma sum(std::move(prod), nullptr, nullptr);
    Prepare(sum, canvas);
    EXPECT_EQ(inner->SymbolHeight(), 45); // Round(2.25 * 20)
    EXPECT_EQ(sum.SymbolHeight(), 45);
    // The outer box reserves the inner limits' rows: the inner sign lines up with the outer.
    EXPECT_EQ(inner->Height(), 9 + 45 + 7);
    EXPECT_EQ(sum.Height(), 9 + 45 + 7);
    EXPECT_EQ(sum.MidLineUp(), inner->MidLineUp());
    EXPECT_EQ(sum.MidLineDn(), inner->MidLineDn());

    // Inner limits lower than the outer's own: the outer ones decide.
    TExprSumma withLimits(std::make_unique<TExprProd>(Box(10, 40), Box(2, 3), nullptr), Box(4, 5),
                          Box(4, 6));
    Prepare(withLimits, canvas);
    EXPECT_EQ(withLimits.Height(), 5 + 45 + 6);

    // Operators one after the other in a plain row: the first operator member gives the size.
    auto row = std::make_unique<TExprChain>(Box(3, 4));
    row->Son()->SetNext(std::make_unique<TExprIntegral>(Box(10, 60), nullptr, nullptr, 1));
    row->Son()->Next()->SetNext(std::make_unique<TExprSumma>(Box(2, 2), nullptr, nullptr));
    TExprSumma outer(std::move(row), nullptr, nullptr);
    Prepare(outer, canvas);
    EXPECT_EQ(outer.SymbolHeight(), 68); // Round(2.25 * 30) = Round(67.5)
}

TEST(ExprGroupOps, BracketedOperandKeepsItsOwnSize) {
    TRecordingCanvas canvas;
    // A bracketed group holding a sum over a tall operand.
    auto group =
        std::make_unique<TBracketedRow>(std::make_unique<TExprSumma>(Box(4, 80), nullptr, nullptr));
    TExprSumma outer(std::move(group), nullptr, nullptr);
    Prepare(outer, canvas);
    auto *inner = static_cast<TExprGroupOp *>(static_cast<TExprChain *>(outer.Son())->Son());
    EXPECT_EQ(inner->SymbolHeight(), 90);
    // Measured from the group's own extent instead: the inner box of 2 + 90 + 2 rows has its
    // axis on row 47.
    EXPECT_EQ(outer.Son()->MidLineUp(), 47);
    EXPECT_EQ(outer.Son()->MidLineDn(), -46);
    EXPECT_EQ(outer.SymbolHeight(), 106); // Round(2.25 * 47)
    EXPECT_NE(outer.SymbolHeight(), inner->SymbolHeight());

    // The same with real round brackets, and with an argument that shows none: only the
    // latter is searched for an operator.
    TExprSumma round(
        std::make_unique<TExprRound>(std::make_unique<TExprSumma>(Box(4, 80), nullptr, nullptr)),
        nullptr, nullptr);
    Prepare(round, canvas);
    EXPECT_EQ(round.SymbolHeight(), Round32(2.25L * round.Son()->MidLineUp()));
    EXPECT_NE(round.SymbolHeight(), 90);
    auto bare = std::make_unique<TExprArgument>(Box(3, 3));
    bare->Son()->SetNext(std::make_unique<TExprSumma>(Box(4, 80), nullptr, nullptr));
    TExprSumma plain(std::move(bare), nullptr, nullptr);
    Prepare(plain, canvas);
    ASSERT_EQ(plain.Son()->FactorFlags() & (efRoundBrackets | efBrackets), 0u);
    EXPECT_EQ(plain.SymbolHeight(), 90);
}

TEST(ExprGroupOps, WideLimitWidensTheSignColumn) {
    TRecordingCanvas canvas;
    TExprSumma sum(Box(10, 20), Box(40, 8), nullptr);
    Prepare(sum, canvas);
    EXPECT_EQ(sum.SymbolWidth(), 16);
    EXPECT_EQ(sum.Width(), 40 + 10 + 5);
    EXPECT_EQ(sum.Height(), 8 + 22 + 2);
    EXPECT_EQ(sum.MidLineUp(), 2 + 11);

    sum.Draw(0, 0, 0, 0);
    const int32_t cx = 20 + 2, cy = 13;
    auto *lower = static_cast<TBox *>(sum.Twin1());
    auto *operand = static_cast<TBox *>(sum.Son());
    EXPECT_EQ(lower->PaintX, cx - 20); // centred on the column
    EXPECT_EQ(lower->PaintY, cy + 11); // its top row on cy + h div 2
    EXPECT_EQ(operand->PaintX, 40 + 5);
    // The sign stays centred on the column.
    const auto poly = canvas.CallsOf("Polygon").at(0).Points;
    EXPECT_EQ(poly[0].X, cx - 8);
    EXPECT_EQ(poly[1].X, cx - 8 + 15);
}

TEST(ExprGroupOps, UpperLimitSitsOnTheSign) {
    TRecordingCanvas canvas;
    TExprProd prod(Box(10, 20), Box(6, 9), Box(30, 7));
    Prepare(prod, canvas);
    EXPECT_EQ(prod.Height(), 9 + 22 + 7);
    EXPECT_EQ(prod.MidLineUp(), 7 + 11);
    EXPECT_EQ(prod.MidLineDn(), -(9 + 10));
    prod.Draw(10, 10, 0, 0);
    auto *upper = static_cast<TBox *>(prod.Twin2());
    auto *lower = static_cast<TBox *>(prod.Twin1());
    const int32_t cx = 10 + 15 + 2, cy = 10 + 18;
    EXPECT_EQ(upper->PaintX, cx - 15);
    EXPECT_EQ(upper->PaintY + 7 - 1, cy - 11); // bottom row on cy - h div 2
    EXPECT_EQ(lower->PaintedAt(), (TPoint{cx - 3, cy + 11}));
    // Limits get the reduced font.
    EXPECT_EQ(prod.Twin1()->Font().Height(), -9);
}

namespace {

// Glyphs whose ink fills their whole text cell, as small screen fonts draw them.
class TFullCellCanvas : public TRecordingCanvas {
public:
    bool GlyphMetrics(uint32_t code, TGlyphMetrics &gm) override {
        if (!TRecordingCanvas::GlyphMetrics(code, gm)) return false;
        if (code == '_') return true; // the pen width stays
        gm.GlyphOrigin.Y = Ascent(Font().Height);
        gm.BlackBoxY = static_cast<uint32_t>(CellHeight(Font().Height));
        return true;
    }
};

} // namespace

TEST(ExprGroupOps, LimitsWhoseInkFillsTheirCellKeepABlankRowFromTheSign) {
    // Sign height 22 (even): the lower limit's box would begin right below the sign and the
    // upper one's end on its first row. Each moves off by what leaves one blank row.
    TFullCellCanvas canvas;
    TExprSumma even(Box(10, 20), Box(6, 9), Box(6, 7));
    Prepare(even, canvas);
    ASSERT_EQ(even.SymbolHeight(), 22);
    EXPECT_EQ(even.Height(), (9 + 1) + 22 + (7 + 1));
    even.Draw(0, 0, 0, 0);
    const int32_t cy = even.MidLineUp();
    EXPECT_EQ(static_cast<TBox *>(even.Twin1())->PaintY, cy + 11 + 1);
    EXPECT_EQ(static_cast<TBox *>(even.Twin2())->PaintY + 7 - 1, cy - 11 - 2);

    // Sign height 27 (odd): the lower limit's box would begin on the sign's last row.
    TExprSumma odd(Box(10, 24), Box(6, 9), nullptr);
    Prepare(odd, canvas);
    ASSERT_EQ(odd.SymbolHeight(), 27);
    EXPECT_EQ(odd.Height(), (9 + 1) + 27 + 2);
    odd.Draw(0, 0, 0, 0);
    EXPECT_EQ(static_cast<TBox *>(odd.Twin1())->PaintY, odd.MidLineUp() + 13 + 2);

    // An outer operator keeps its operand's moved limits inside its box.
    TExprSumma outer(std::make_unique<TExprProd>(Box(10, 20), Box(6, 9), nullptr), nullptr,
                     nullptr);
    Prepare(outer, canvas);
    EXPECT_EQ(outer.MidLineDn(), -((9 + 1) + 10));
}

TEST(ExprGroupOps, SmallAndLargeFormsSplitAtHalfHeight27) {
    TRecordingCanvas canvas;
    // h = 54 (half-extent 24) is still small.
    TExprSumma s54(Box(2, 49), nullptr, nullptr);
    Prepare(s54, canvas);
    ASSERT_EQ(s54.SymbolHeight(), 54);
    s54.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("Polygon").size(), 1u);
    EXPECT_TRUE(canvas.CallsOf("PolyBezier").empty());

    canvas.Clear();
    TForcedSum s55(Box(2, 49), nullptr, nullptr);
    Prepare(s55, canvas);
    s55.ForceSymbolHeight(55);
    EXPECT_EQ(s55.Height(), 2 + 55 + 2);
    s55.Draw(0, 0, 0, 0);
    ASSERT_EQ(canvas.CallsOf("Polygon").size(), 1u);
    EXPECT_EQ(canvas.CallsOf("Polygon")[0].Points.size(), 16u);
    EXPECT_TRUE(canvas.CallsOf("PolyBezier").empty());

    canvas.Clear();
    TForcedSum s56(Box(2, 49), nullptr, nullptr);
    Prepare(s56, canvas);
    s56.ForceSymbolHeight(56);
    s56.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.CallsOf("Polygon").empty());
    const auto curves = canvas.CallsOf("PolyBezier");
    ASSERT_EQ(curves.size(), 1u);
    ASSERT_EQ(curves[0].Points.size(), 49u);
    // cx = 41 div 2 + 2 = 22, cy = 2 + 28 = 30. The first point (3695, -2777) and the top
    // left corner (-3695, 5000); table y grows upward.
    EXPECT_EQ(curves[0].Points[0], (TPoint{22 + 21, 30 + 16}));
    EXPECT_EQ(curves[0].Points[32], (TPoint{22 - 21, 30 - 28}));
    EXPECT_EQ(curves[0].Points[48], (TPoint{22 + 19, 30 + 28}));
    std::vector<std::string> kinds;
    for (const auto &c : canvas.Calls)
        if (c.Kind != "TextOut") kinds.push_back(c.Kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"BeginPath", "PolyBezier", "EndPath",
                                               "StrokeAndFillPath"}));
}

TEST(ExprGroupOps, ProductBothForms) {
    TRecordingCanvas canvas;
    TExprProd large(Box(2, 120), nullptr, nullptr), small(Box(2, 2), nullptr, nullptr);
    large.SetColor(0x0000FF);
    Prepare(large, canvas);
    Prepare(small, canvas);
    ASSERT_EQ(large.SymbolHeight(), 135);
    ASSERT_EQ(small.SymbolHeight(), 18);

    // The large form: an outline, in the node's colour.
    large.Draw(0, 0, 0, 0);
    const auto curves = canvas.CallsOf("PolyBezier");
    ASSERT_EQ(curves.size(), 1u);
    ASSERT_EQ(curves[0].Points.size(), 76u);
    const int32_t cx = 116 / 2 + 2, cy = 2 + 67;
    // (4281, -5000): Round(57.7935) = 58 right, Round(67.5) = 68 down (to even).
    EXPECT_EQ(curves[0].Points[11], (TPoint{cx + 58, cy + 68}));
    // (-4280, 4807): Round(-57.78) = -58, Round(64.8945) = 65 up.
    EXPECT_EQ(curves[0].Points[38], (TPoint{cx - 58, cy - 65}));
    const auto fill = canvas.CallsOf("StrokeAndFillPath");
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].BrushColor, 0x0000FFu);
    EXPECT_EQ(fill[0].PenColor, 0x0000FFu);

    // The small form: one polygon. w = Round(15.4098) = 15, cx = 7 + 2 = 9, cy = 2 + 9 = 11;
    // L = 2, T = 2, R = 16, B = 19; t3 = Round(1.8) = 2, t4 = Round(0.9) = 1.
    canvas.Clear();
    small.Draw(0, 0, 0, 0);
    const std::vector<TPoint> expected = {
        {2, 2},   {16, 2},  {16, 2},  {14, 2}, {14, 19}, {16, 19}, {16, 19},
        {11, 19}, {11, 19}, {13, 19}, {13, 2}, {5, 2},   {5, 19},  {7, 19},
        {7, 19},  {2, 19},  {2, 19},  {4, 19}, {4, 2},   {2, 2},
    };
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].Points, expected);
    EXPECT_EQ(polys[0].BrushStyle, TBrushStyle::Solid);
}

TEST(ExprGroupOps, ContourIntegralBothForms) {
    TRecordingCanvas canvas;
    TExprCirc small(Box(10, 20), nullptr, nullptr);
    Prepare(small, canvas);
    small.SetColor(0x00FF00);
    ASSERT_EQ(small.SymbolHeight(), 22);
    EXPECT_EQ(small.SymbolWidth(), 6);
    EXPECT_EQ(small.Width(), 6 + 10 + 5);
    small.Draw(0, 0, 0, 0);
    // cx = 3 + 2 = 5, cy = 13; the stroke is 7 wide (made odd), hw = 3, v = 3, m = 1.
    const auto ellipses = canvas.CallsOf("Ellipse");
    ASSERT_EQ(ellipses.size(), 3u);
    EXPECT_EQ(ellipses[0].Args, (std::vector<int32_t>{2, 10, 9, 17})); // the ring
    EXPECT_EQ(ellipses[0].BrushStyle, TBrushStyle::Clear);
    EXPECT_EQ(ellipses[0].PenColor, 0x00FF00u);
    const int32_t L = 5 - 3, T = 13 - 11;
    EXPECT_EQ(ellipses[1].Args, (std::vector<int32_t>{L + 4, T, L + 7, T + 3}));
    EXPECT_EQ(ellipses[1].BrushStyle, TBrushStyle::Solid);
    EXPECT_EQ(ellipses[1].BrushColor, 0x00FF00u);
    EXPECT_EQ(ellipses[2].Args, (std::vector<int32_t>{L, T + 19, L + 3, T + 22}));
    // The stem: t1 = 2, t2 = 1, Yb = T + 22 - 1 - 2.
    const std::vector<TPoint> stem = {{L + 3, T + 2},  {L + 2, T + 6},  {L + 2, T + 11},
                                      {L + 3, T + 19}, {L + 4, T + 15}, {L + 4, T + 10}};
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].Points, stem);

    canvas.Clear();
    TExprCirc big(Box(10, 60), nullptr, nullptr);
    Prepare(big, canvas);
    ASSERT_EQ(big.SymbolHeight(), 68);
    big.Draw(0, 0, 0, 0);
    const auto curves = canvas.CallsOf("PolyBezier");
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves[0].Points.size(), 52u);
    EXPECT_EQ(curves[1].Points.size(), 13u);
    EXPECT_EQ(curves[2].Points.size(), 13u);
    // The ring is centred on the sign's centre: cx = 18 div 2 + 2 = 11, cy = 2 + 34 = 36.
    // Outer (0, 0) less 1343: Round(-9.1324) = -9; inner top (0, 1037): Round(7.0516) = 7 up.
    EXPECT_EQ(curves[1].Points[3], (TPoint{11 - 9, 36}));
    EXPECT_EQ(curves[2].Points[0], (TPoint{11, 36 - 7}));
    // The stem path and the ring path are filled separately.
    EXPECT_EQ(canvas.CallsOf("BeginPath").size(), 2u);
    EXPECT_EQ(canvas.CallsOf("StrokeAndFillPath").size(), 2u);
    EXPECT_TRUE(canvas.CallsOf("Ellipse").empty());
}

TEST(ExprGroupOps, IntegralWithThreeSigns) {
    TRecordingCanvas canvas;
    TExprIntegral integral(Box(10, 20), nullptr, nullptr, 3);
    Prepare(integral, canvas);
    ASSERT_EQ(integral.SymbolHeight(), 22);
    EXPECT_EQ(integral.SymbolWidth(), 3 * 6 + 2 * 1);
    EXPECT_EQ(integral.Width(), 20 + 10 + 5);
    integral.Draw(0, 0, 0, 0);
    // cx = 10 + 2, L = 12 - 10 = 2: signs at 2, 9, 16, each two hooks and a stem.
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(polys[i].Points[0].X, 2 + 7 * i + 3);
    EXPECT_EQ(canvas.CallsOf("Ellipse").size(), 6u);
    EXPECT_EQ(static_cast<TBox *>(integral.Son())->PaintX, 20 + 5);

    // The large form places its signs alike: each outline starts at its sign's left column
    // (table point (960, 355)) and spans the sign's rows from the top row T.
    canvas.Clear();
    TExprIntegral big(Box(10, 60), nullptr, nullptr, 2);
    Prepare(big, canvas);
    ASSERT_EQ(big.SymbolHeight(), 68);
    const int32_t w = 18; // Round(68 * 0.2687) = Round(18.2716)
    EXPECT_EQ(big.SymbolWidth(), 2 * w + 1);
    big.Draw(0, 0, 0, 0);
    const auto curves = canvas.CallsOf("PolyBezier");
    ASSERT_EQ(curves.size(), 2u);
    const int32_t L = 2, T = 2; // cx = 37 div 2 + 2, cy = 2 + 34
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(curves[i].Points.size(), 52u);
        const int32_t left = L + i * (w + 1);
        // (960, 355 - 5000): 6.528 right, 31.586 below the top.
        EXPECT_EQ(curves[i].Points[0], (TPoint{left + 7, T + 32}));
        // (0, -4136 - 5000) and (2687, 4482 - 5000): the far ends of the sign.
        EXPECT_EQ(curves[i].Points[14], (TPoint{left, T + 62}));
        EXPECT_EQ(curves[i].Points[42], (TPoint{left + 18, T + 4}));
    }
}

TEST(ExprGroupOps, IntegralWithManySigns) {
    TRecordingCanvas canvas;
    TExprIntegral integral(Box(10, 20), nullptr, nullptr, 0);
    Prepare(integral, canvas);
    // Three signs of 6, 4 pen widths and the ellipsis (6 wide in this font).
    EXPECT_EQ(integral.SymbolWidth(), 18 + 4 + 6);
    integral.Draw(0, 0, 0, 0);
    const int32_t L = 2, T = 2; // cx = 28 div 2 + 2, cy = 2 + 11
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_EQ(polys.size(), 3u);
    EXPECT_EQ(polys[0].Points[0].X, L + 3);
    EXPECT_EQ(polys[1].Points[0].X, L + 7 + 3);
    EXPECT_EQ(polys[2].Points[0].X, L + 28 - 6 + 3); // the last sign ends the column
    const auto texts = canvas.CallsOf("TextOutW");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, u"\u2026");
    EXPECT_EQ(texts[0].Args, (std::vector<int32_t>{L + 12 + 3, T + 22 - 16}));
    // Written in the operator's own font even after the limits selected theirs.
    EXPECT_EQ(texts[0].Font.Height, -13);

    canvas.Clear();
    TExprIntegral negative(Box(10, 20), Box(30, 5), nullptr, -7);
    Prepare(negative, canvas);
    negative.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("Polygon").size(), 3u);
    ASSERT_EQ(canvas.CallsOf("TextOutW").size(), 1u);
    EXPECT_EQ(canvas.CallsOf("TextOutW")[0].Font.Height, -13);
}

TEST(ExprGroupOps, HugeSignCountsStayBounded) {
    TRecordingCanvas canvas;
    TExprIntegral integral(Box(10, 20), nullptr, nullptr, MaxInt);
    Prepare(integral, canvas);
    EXPECT_EQ(integral.SymbolWidth(), MaxInt);
    EXPECT_EQ(integral.Width(), MaxInt);
    // Only the signs a surface can show are painted: it finishes, and the first sign is there.
    integral.Draw(0, 0, 0, 0);
    const auto polys = canvas.CallsOf("Polygon");
    ASSERT_FALSE(polys.empty());
    EXPECT_LT(polys.size(), 10000u);
    EXPECT_GE(polys.back().Points[0].X, 32767 - 7);

    // A huge operand: sizes saturate instead of overflowing.
    TExprSumma sum(Box(MaxInt, MaxInt), Box(MaxInt, MaxInt), Box(MaxInt, MaxInt));
    Prepare(sum, canvas);
    EXPECT_EQ(sum.SymbolHeight(), MaxInt);
    EXPECT_EQ(sum.Width(), MaxInt);
    EXPECT_EQ(sum.Height(), MaxInt);
    canvas.Clear();
    sum.Draw(0, 0, 0, 0);
}

TEST(ExprGroupOps, MeasuresStayCachedUntilTheFontChanges) {
    TRecordingCanvas canvas;
    TExprSumma sum(Box(10, 20), nullptr, nullptr);
    Prepare(sum, canvas);
    sum.Height();
    sum.Width();
    const int measured = canvas.MeasureCount;
    EXPECT_EQ(sum.SymbolHeight(), 22);
    EXPECT_EQ(sum.SymbolWidth(), 16);
    EXPECT_EQ(canvas.MeasureCount, measured);
    // A larger font raises the letter minimum above the operand's half-extent.
    sum.SetFont(TestFont(-26)); // text height 32
    EXPECT_EQ(sum.SymbolHeight(), 36);
    EXPECT_EQ(sum.Height(), 4 + 36 + 4); // pen width 2
}
