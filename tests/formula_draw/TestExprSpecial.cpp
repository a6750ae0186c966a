// Matrices, case distinctions and the special symbols on the recording canvas.
#include "formula/draw/ExprSpecial.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using TBox = TFixedNode;

// A chain of boxes, each given as {width, height, axis row}.
PExpr Boxes(std::initializer_list<std::array<int32_t, 3>> sizes) {
    PExpr first;
    for (const auto &s : sizes) {
        auto box = std::make_unique<TBox>(s[0], s[1], s[2]);
        if (!first)
            first = std::move(box);
        else
            LastInChain(first.get())->SetNext(std::move(box));
    }
    return first;
}

std::vector<TBox *> Items(TExprParent &owner) {
    std::vector<TBox *> out;
    for (TExprClass *m = owner.Son(); m; m = m->Next())
        out.push_back(static_cast<TBox *>(m));
    return out;
}

// A -13 font gives pen widths of 1 and a text height of 16; -26 gives 2 and 32.
template <class T> T &Prepare(T &node, TRecordingCanvas &canvas, int32_t fontHeight = -13) {
    node.SetFont(TestFont(fontHeight));
    node.SetCanvas(&canvas);
    return node;
}

// A special symbol at the 26-pixel font, in colour, painted at (x, y): it takes the box of its
// glyph, 13 x 32, and writes one text by the call kind.
TCanvasCall PaintedSymbol(TExprClass &symbol, TRecordingCanvas &canvas, const char *kind, int32_t x,
                          int32_t y, TColor colour = clBlack) {
    Prepare(symbol, canvas, -26);
    EXPECT_EQ(symbol.Width(), 13);
    EXPECT_EQ(symbol.Height(), 32);
    symbol.SetColor(colour);
    symbol.Draw(x, y, 0, 0);
    const auto texts = canvas.CallsOf(kind);
    EXPECT_EQ(texts.size(), 1u);
    return texts.empty() ? TCanvasCall{} : texts[0];
}

} // namespace

TEST(ExprSpecial, MatrixOfFourLetters) {
    TRecordingCanvas canvas;
    // The short third item reaches 9 rows below its axis, the others 9 above theirs: a cell
    // is taller than any single item.
    TExprMatrix m(Boxes({{6, 16, 8}, {8, 16, 8}, {5, 12, 2}, {7, 16, 8}}), 2, 2);
    Prepare(m, canvas);
    EXPECT_EQ(m.CellWidth(), 8);
    EXPECT_EQ(m.CellHeight(), 9 + 9);
    EXPECT_EQ(m.Width(), 2 * 8 + 10);
    EXPECT_EQ(m.Height(), 2 * 18);
    EXPECT_EQ(m.MidLineUp(), 18);

    m.Draw(10, 20, 0, 0);
    const auto items = Items(m);
    // Centred in the cells, axis rows on the cells' middle rows (29 and 47).
    EXPECT_EQ(items[0]->PaintedAt(), (TPoint{16 - 3, 29 - 8}));
    EXPECT_EQ(items[1]->PaintedAt(), (TPoint{30 - 4, 29 - 8}));
    EXPECT_EQ(items[2]->PaintedAt(), (TPoint{16 - 2, 47 - 2}));
    EXPECT_EQ(items[3]->PaintedAt(), (TPoint{30 - 3, 47 - 8}));
}

TEST(ExprSpecial, MatrixWithSurplusAndMissingItems) {
    TRecordingCanvas canvas;
    TExprMatrix five(Boxes({{6, 16, 8}, {6, 16, 8}, {6, 16, 8}, {6, 16, 8}, {20, 30, 15}}), 2, 2);
    Prepare(five, canvas);
    // The fifth item is measured for the cells but not painted.
    EXPECT_EQ(five.CellWidth(), 20);
    EXPECT_EQ(five.CellHeight(), 16 + 14);
    EXPECT_EQ(five.Width(), 2 * 20 + 10);
    five.Draw(0, 0, 0, 0);
    const auto items = Items(five);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(items[i]->Paints, 1);
    EXPECT_EQ(items[4]->Paints, 0);

    TExprMatrix three(Boxes({{6, 16, 8}, {6, 16, 8}, {6, 16, 8}}), 2, 2);
    Prepare(three, canvas);
    three.Draw(0, 0, 0, 0);
    const auto some = Items(three);
    EXPECT_EQ(some[2]->PaintX, 2 + 3 - 3); // first cell of the second row
    EXPECT_EQ(some[2]->PaintY, 16 + 8 - 8);
    EXPECT_EQ(three.Height(), 2 * 16);

    // Six pen widths between columns: wide pens move the second column.
    TRecordingCanvas wide(192, 96);
    TExprMatrix row(Boxes({{6, 16, 8}, {6, 16, 8}}), 2, 1);
    Prepare(row, wide);
    ASSERT_EQ(row.PenWidthX(), 2);
    EXPECT_EQ(row.Width(), 12 + 10 * 2);
    row.Draw(0, 0, 0, 0);
    EXPECT_EQ(Items(row)[1]->PaintX, 4 + 3 + 6 + 12 - 3);
}

TEST(ExprSpecial, MatrixWithoutCellsOrWithHugeCounts) {
    TRecordingCanvas canvas;
    TExprMatrix none(Boxes({{6, 16, 8}}), 0, 0);
    Prepare(none, canvas);
    EXPECT_EQ(none.Width(), 0); // not -2 pen widths
    EXPECT_EQ(none.Height(), 0);
    TExprMatrix negative(Boxes({{6, 16, 8}}), -3, -4);
    Prepare(negative, canvas);
    EXPECT_EQ(negative.Width(), 0);
    EXPECT_EQ(negative.Height(), 0);
    negative.Draw(0, 0, 0, 0);
    EXPECT_EQ(Items(negative)[0]->Paints, 0);

    // Counts far beyond the items: sizes saturate, painting ends with the items.
    TExprMatrix huge(Boxes({{6, 16, 8}, {6, 16, 8}}), MaxInt, MaxInt);
    Prepare(huge, canvas);
    EXPECT_EQ(huge.Width(), MaxInt);
    EXPECT_EQ(huge.Height(), MaxInt);
    huge.Draw(0, 0, 0, 0);
    EXPECT_EQ(Items(huge)[1]->Paints, 1);
    EXPECT_EQ(Items(huge)[1]->PaintY, Items(huge)[0]->PaintY); // both in the first row
}

TEST(ExprSpecial, CaseWithTwoPairs) {
    TRecordingCanvas canvas;
    // Pair 1: 8 rows above, 7 below the axis; pair 2: 12 above, 7 below.
    TExprCase c(Boxes({{10, 16, 8}, {20, 16, 8}, {12, 20, 12}, {6, 10, 4}}));
    Prepare(c, canvas);
    EXPECT_EQ(c.Width(), 12 + 18 + 20);
    EXPECT_EQ(c.Height(), 15 + 2 + 19 + 1); // 36 is even: one more row
    EXPECT_EQ(c.Height() % 2, 1);
    EXPECT_EQ(c.MidLineUp(), 18);

    c.Draw(0, 0, 0, 0);
    const auto items = Items(c);
    EXPECT_EQ(items[0]->PaintedAt(), (TPoint{7, 0}));
    // Conditions end on column X + Width.
    EXPECT_EQ(items[1]->PaintedAt(), (TPoint{50 - 19, 0}));
    EXPECT_EQ(items[2]->PaintedAt(), (TPoint{7, 17}));
    EXPECT_EQ(items[3]->PaintedAt(), (TPoint{50 - 5, 29 - 4}));

    // An odd sum stays as it is.
    TExprCase odd(Boxes({{10, 16, 8}, {20, 16, 8}}));
    Prepare(odd, canvas);
    EXPECT_EQ(odd.Height(), 15);
    TExprCase even(Boxes({{10, 17, 8}, {20, 17, 8}}));
    Prepare(even, canvas);
    EXPECT_EQ(even.Height(), 17);
}

TEST(ExprSpecial, CaseWithAnUnpairedValue) {
    TRecordingCanvas canvas;
    TExprCase c(Boxes({{10, 16, 8}, {20, 16, 8}, {30, 40, 20}}));
    Prepare(c, canvas);
    EXPECT_EQ(c.Width(), 30 + 18 + 20); // the last value still widens the value column
    EXPECT_EQ(c.Height(), 15 + 2);      // but adds no rows of its own
    c.Draw(0, 0, 0, 0);
    const auto items = Items(c);
    EXPECT_EQ(items[0]->Paints, 1);
    EXPECT_EQ(items[1]->Paints, 1);
    EXPECT_EQ(items[2]->Paints, 0);

    TExprCase empty(nullptr);
    Prepare(empty, canvas);
    EXPECT_EQ(empty.Width(), 18);
    EXPECT_EQ(empty.Height(), 1);
    canvas.Clear();
    empty.Draw(0, 0, 0, 0); // only the brace
    EXPECT_EQ(canvas.CallsOf("PolyBezier").size(), 1u);
}

TEST(ExprSpecial, CaseBraceSpansTheWholeHeight) {
    // Pen widths 4 across and 2 down, so the two cannot be mixed up.
    TRecordingCanvas canvas(192, 96);
    TExprCase c(Boxes({{10, 16, 8}, {20, 16, 8}}));
    Prepare(c, canvas, -26);
    ASSERT_EQ(c.PenWidthX(), 4);
    ASSERT_EQ(c.PenWidthY(), 2);
    ASSERT_EQ(c.Height(), 15);
    c.SetColor(0x0000FF);
    c.Draw(10, 20, 0, 0);
    const auto curves = canvas.CallsOf("PolyBezier");
    ASSERT_EQ(curves.size(), 1u);
    const auto &p = curves[0].Points;
    ASSERT_EQ(p.size(), 46u);
    // e = Y + (15 - 22) div 2 + 1 = Y - 2 (the division truncates toward zero).
    EXPECT_EQ(p[0], (TPoint{14, 27}));  // the point, on the axis row Y + 7
    EXPECT_EQ(p[45], p[0]);             // mirrored onto itself: a closed outline
    EXPECT_EQ(p[9], (TPoint{37, 22}));  // the upper arm's tip: X + 7PX - 1, Y + PY
    EXPECT_EQ(p[36], (TPoint{37, 32})); // and the lower one's: Y + H - 1 - PY
    EXPECT_EQ(p[20], (TPoint{28, 27})); // X + 5PX - 2, e + 5PY - 1
    EXPECT_EQ(p[25], (TPoint{28, 27}));
    EXPECT_EQ(p[3], (TPoint{22, 23})); // X + 3PX, e + 3PY - 1
    EXPECT_EQ(p[42], (TPoint{22, 31}));
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(p[45 - i].Y, 2 * 20 + 15 - 1 - p[i].Y) << i;
    const auto fill = canvas.CallsOf("StrokeAndFillPath");
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].BrushColor, 0x0000FFu);

    // Whatever the number of rows, the arms reach the first and the last row but one pen.
    TRecordingCanvas plain;
    TExprCase tall(Boxes({{4, 16, 8}, {4, 16, 8}, {4, 30, 3}, {4, 16, 8}, {4, 9, 4}, {4, 9, 4}}));
    Prepare(tall, plain);
    tall.Draw(0, 0, 0, 0);
    const auto brace = plain.CallsOf("PolyBezier").at(0).Points;
    const auto [lo, hi] = std::minmax_element(brace.begin(), brace.end(),
                                              [](TPoint a, TPoint b) { return a.Y < b.Y; });
    EXPECT_EQ(lo->Y, 1);
    EXPECT_EQ(hi->Y, tall.Height() - 2);
}

TEST(ExprSpecial, LambdaStroke) {
    TRecordingCanvas canvas;
    TExprLambda lambda;
    EXPECT_EQ(lambda.Code(), 955);
    EXPECT_EQ(PaintedSymbol(lambda, canvas, "TextOutW", 100, 50, 0x00FF00).Text, u"\u03BB");
    // UnitX = UnitY = 32 / 27.6: the stroke from 2 to 13 - 2 across, rows 10 and 11.
    const auto bars = canvas.CallsOf("FillRect");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].Args, (std::vector<int32_t>{102, 60, 111, 62}));
    EXPECT_EQ(bars[0].BrushColor, 0x00FF00u);
}

TEST(ExprSpecial, NablaFillsTheDeltasBoxUpsideDown) {
    TRecordingCanvas canvas;
    TExprNabla nabla;
    EXPECT_EQ(nabla.Code(), 916);
    const TCanvasCall text = PaintedSymbol(nabla, canvas, "TextOutW", 5, 7, 0x123456);
    EXPECT_EQ(text.Text, u"\u0394");
    // Turned about the far corner of the box.
    EXPECT_EQ(text.Args, (std::vector<int32_t>{5 + 13, 7 + 32}));
    EXPECT_EQ(text.Font.Escapement, 1800);
    EXPECT_EQ(text.Font.Height, -26);
    EXPECT_EQ(text.Font.Color, 0x123456u);
    // The node's font is selected again afterwards.
    EXPECT_EQ(canvas.Font().Escapement, 0);

    // On a surface of another resolution the turned glyph keeps the box's font size.
    TRecordingCanvas dense(96, 192);
    TExprNabla other;
    Prepare(other, dense, -22);
    other.Draw(0, 0, 0, 0);
    const auto turned = dense.CallsOf("TextOutW").at(0);
    EXPECT_EQ(turned.Font.Height, -22);
    EXPECT_EQ(turned.Args, (std::vector<int32_t>{other.Width(), other.Height()}));
}

TEST(ExprSpecial, AsteriskIsLoweredByEightUnits) {
    TRecordingCanvas canvas;
    TExprAsterix star;
    EXPECT_EQ(star.Text(), "*");
    EXPECT_EQ(PaintedSymbol(star, canvas, "TextOut", 3, 4).Args,
              (std::vector<int32_t>{3, 4 + 9})); // Round(8 * 1.1594)

    // Vertical units, not horizontal ones.
    TRecordingCanvas tall(96, 192);
    TExprAsterix other;
    Prepare(other, tall, -26);
    other.Draw(0, 0, 0, 0);
    EXPECT_EQ(tall.CallsOf("TextOut").at(0).Args[1], 19); // Round(8 * 2.3188)
}

TEST(ExprSpecial, EmptyRaisesARowToLetterHeight) {
    TRecordingCanvas canvas;
    auto row = std::make_unique<TBox>(10, 4);
    row->SetNext(std::make_unique<TExprEmpty>());
    TExprChain chain(std::move(row));
    Prepare(chain, canvas);
    TExprClass *empty = chain.Son()->Next();
    EXPECT_EQ(empty->Width(), 0);
    EXPECT_EQ(empty->Height(), 16);
    EXPECT_EQ(chain.Width(), 10);
    EXPECT_EQ(chain.Height(), 16);
    canvas.Clear();
    chain.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
}
