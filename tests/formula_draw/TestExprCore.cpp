// The node protocol and the containers on the recording canvas.
#include "formula/draw/ExprParents.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

using TBox = TFixedNode;

std::unique_ptr<TBox> Box(int32_t w, int32_t h, int *alive = nullptr) {
    auto b = Fixed(w, h);
    b->Alive = alive;
    if (alive) ++*alive;
    return b;
}

} // namespace

TEST(ExprCore, NodeWithoutCanvasIsValidAndZero) {
    TBox b(10, 20);
    EXPECT_EQ(b.ValidMask(), vmAllValid);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.MidLineUp(), 0);
    EXPECT_EQ(b.CapDXRight(), 0);
    EXPECT_EQ(b.WidthCalls, 0);
    b.Draw(0, 0, 0, 0); // must not paint without a surface
    EXPECT_EQ(b.Paints, 0);
}

TEST(ExprCore, CacheComputesOnceUntilStale) {
    TRecordingCanvas canvas;
    TBox b(10, 20);
    b.SetCanvas(&canvas);
    EXPECT_EQ(b.ValidMask(), vmAllStale);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.WidthCalls, 1);
    EXPECT_EQ(b.ValidMask() & vmWidth, 0u);

    // The same surface again changes nothing: no metrics recomputed, nothing stale.
    const int measured = canvas.MeasureCount;
    b.SetCanvas(&canvas);
    EXPECT_EQ(canvas.MeasureCount, measured);
    EXPECT_EQ(b.ValidMask() & vmWidth, 0u);

    // A font change makes everything stale again.
    b.SetFont(TestFont(-20));
    EXPECT_EQ(b.ValidMask(), vmAllStale);
    b.W = 12;
    EXPECT_EQ(b.Width(), 12);
    EXPECT_EQ(b.WidthCalls, 2);

    // Without a surface the last values stay and count as valid.
    b.SetCanvas(nullptr);
    EXPECT_EQ(b.ValidMask(), vmAllValid);
    b.W = 99;
    EXPECT_EQ(b.Width(), 12);
}

TEST(ExprCore, LineMetricsFollowTheFont) {
    TRecordingCanvas canvas;
    TBox b(1, 1);
    b.SetCanvas(&canvas);
    b.SetFont(TestFont(-13));
    EXPECT_EQ(b.PenWidthY(), 1);
    EXPECT_EQ(b.PenWidthX(), 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.UnitX()), static_cast<double>(16 / 27.6L));
    EXPECT_DOUBLE_EQ(static_cast<double>(b.UnitY()), static_cast<double>(b.UnitX()));

    // A surface twice as dense vertically: UnitY doubles, and PenWidthX follows PenWidthY.
    TRecordingCanvas tall(96, 192);
    b.SetFont(TestFont(-52));
    b.SetCanvas(&tall);
    EXPECT_EQ(b.PenWidthY(), 4);
    EXPECT_EQ(b.PenWidthX(), 2);
    EXPECT_DOUBLE_EQ(static_cast<double>(b.UnitY()), static_cast<double>(2 * b.UnitX()));
}

TEST(ExprCore, ColourStopsAtEqualAndInherits) {
    TExprChain chain(Box(1, 1));
    TExprClass *first = chain.Son();
    first->AddNext(Box(1, 1));
    first->AddNext(Box(1, 1));
    chain.Son()->SetParent(&chain);
    TExprClass *second = first->Next(), *third = second->Next();

    EXPECT_EQ(third->GetColor(), clBlack); // nobody has a colour: black
    chain.SetColor(0x0000FF);
    EXPECT_EQ(third->GetColor(), 0x0000FFu); // inherited through Parent

    first->SetColor(0x00FF00);
    EXPECT_EQ(third->Color(), 0x00FF00u); // the rest of the chain follows
    second->SetColor(0x123456);
    // The first node already has the colour: nothing further down is visited.
    first->SetColor(0x00FF00);
    EXPECT_EQ(second->Color(), 0x123456u);
    EXPECT_EQ(third->Color(), 0x123456u);
}

TEST(ExprCore, DrawAlignment) {
    TRecordingCanvas canvas;
    TBox b(10, 11);
    b.SetCanvas(&canvas);
    b.Draw(100, 50, 2, 0);
    EXPECT_EQ(b.PaintX, 91); // columns 91 .. 100
    b.Draw(100, 50, 1, 0);
    EXPECT_EQ(b.PaintX, 95); // columns 95 .. 104
    b.Draw(100, 50, 0, 1);
    EXPECT_EQ(b.PaintY, 45); // axis row 5 of 11
    b.Draw(100, 50, 7, 2);
    EXPECT_EQ(b.PaintX, 100); // unknown alignments leave the coordinate
    EXPECT_EQ(b.PaintY, 40);
}

TEST(ExprCore, DefaultMidLines) {
    TRecordingCanvas canvas;
    TBox even(1, 10), odd(1, 11);
    even.SetCanvas(&canvas);
    odd.SetCanvas(&canvas);
    EXPECT_EQ(even.MidLineUp(), 5);
    EXPECT_EQ(even.MidLineDn(), -4);
    EXPECT_EQ(odd.MidLineUp(), 5);
    EXPECT_EQ(odd.MidLineDn(), -5);
}

TEST(ExprCore, ChainAlignsMembersOnTheAxis) {
    TRecordingCanvas canvas;
    // A tall member (axis 15 of 31) and a short one (axis 2 of 5).
    TExprChain chain(Box(7, 31));
    chain.Son()->AddNext(Box(5, 5));
    chain.SetCanvas(&canvas);
    auto *tall = static_cast<TBox *>(chain.Son());
    auto *shortBox = static_cast<TBox *>(tall->Next());
    EXPECT_EQ(chain.Width(), 12);
    EXPECT_EQ(chain.Height(), 31); // 16 above and 15 below the axis, not 36 and not 31 by luck
    EXPECT_EQ(chain.MidLineUp(), 15);
    EXPECT_EQ(chain.MidLineDn(), -15);

    chain.Draw(10, 20, 0, 0);
    EXPECT_EQ(tall->PaintedAt(), (TPoint{10, 20}));
    EXPECT_EQ(shortBox->PaintX, 17);
    EXPECT_EQ(shortBox->PaintY + shortBox->MidLineUp(), tall->PaintY + tall->MidLineUp());
}

TEST(ExprCore, ChainExtentIsAboveAndBelowTheAxis) {
    TRecordingCanvas canvas;
    // Two boxes of 20 rows, one with its axis near the top and one near the bottom: the row
    // is as high as the most above plus the most below the axis.
    TExprChain chain(Fixed(3, 20, 2));
    chain.Son()->AddNext(Fixed(3, 20, 17));
    chain.SetCanvas(&canvas);
    EXPECT_EQ(chain.Height(), 18 + 17);
    EXPECT_EQ(chain.MidLineUp(), 17);
    EXPECT_EQ(chain.MidLineDn(), -17);
    EXPECT_EQ(chain.CapDY(), 0);
    TExprChain empty;
    empty.SetCanvas(&canvas);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_EQ(empty.CapDY(), MaxInt);
    EXPECT_EQ(empty.FactorFlags(), 3u);
}

TEST(ExprCore, OwnershipOfChainsAndSons) {
    int alive = 0;
    {
        auto parent = std::make_unique<TExprParent>(Box(1, 1, &alive));
        parent->Son()->SetNext(Box(1, 1, &alive));
        EXPECT_EQ(alive, 2);
        EXPECT_EQ(parent->Son()->Next()->Parent(), parent.get()); // SetNext passes Parent

        parent->SetSon(Box(1, 1, &alive)); // frees the old chain of two
        EXPECT_EQ(alive, 1);

        parent->Son()->AddNext(Box(1, 1, &alive));
        parent->Son()->AddNext(Box(1, 1, &alive));
        EXPECT_EQ(alive, 3);
        PExpr rest = parent->Son()->CutOffNext(); // frees nothing
        EXPECT_EQ(alive, 3);
        EXPECT_EQ(parent->Son()->Next(), nullptr);
        rest.reset();
        EXPECT_EQ(alive, 1);

        PExpr son = parent->CutOffSon();
        parent.reset(); // the cut-off son outlives its former owner
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ExprCore, EveryLinkGivesTheWholeChainOneParent) {
    TRecordingCanvas canvas;
    TExprParent parent(Box(1, 1));
    parent.SetCanvas(&canvas);
    parent.SetFont(TestFont(-17));
    auto extra = Box(1, 1);
    extra->SetNext(Box(1, 1));
    TExprClass *added = extra.get();
    TExprClass *behind = extra->Next();
    parent.Son()->AddNext(std::move(extra));
    EXPECT_EQ(added->Canvas(), &canvas);
    EXPECT_EQ(added->Font().Height(), -17);
    // SetParent stops at the first member that has the parent already, so a member appended
    // without one would never get it.
    EXPECT_EQ(added->Parent(), &parent);
    EXPECT_EQ(behind->Parent(), &parent);

    // A row cut off and placed under another owner moves there whole.
    TExprParent other(Box(1, 1));
    other.Son()->SetNext(parent.Son()->CutOffNext());
    EXPECT_EQ(added->Parent(), &other);
    EXPECT_EQ(behind->Parent(), &other);
    PExpr row = other.Son()->CutOffNext();
    parent.SetSon(std::move(row));
    EXPECT_EQ(added->Parent(), &parent);
    EXPECT_EQ(behind->Parent(), &parent);
}

TEST(ExprCore, TwinsGetSevenTenthsOfTheFont) {
    TRecordingCanvas canvas;
    TExprTwinParent twin(Box(1, 1), Box(1, 1), Box(1, 1));
    twin.SetCanvas(&canvas);
    twin.SetFont(TestFont(-20));
    EXPECT_EQ(twin.Son()->Font().Height(), -20);
    EXPECT_EQ(twin.Twin1()->Font().Height(), -14);
    EXPECT_EQ(twin.Twin2()->Font().Height(), -14);
    // Twins compute their own metrics from the smaller font.
    EXPECT_EQ(twin.Twin1()->Canvas(), &canvas);
    EXPECT_DOUBLE_EQ(static_cast<double>(twin.Twin1()->UnitX()),
                     static_cast<double>(TRecordingCanvas::CellHeight(-14) / 27.6L));

    twin.SetFont(TestFont(-16));
    twin.SetTwin(1, Box(1, 1));
    EXPECT_EQ(twin.Twin1()->Font().Height(), -11); // Round(-11.2)
    EXPECT_EQ(twin.Twin1()->Canvas(), &canvas);
    twin.SetFont(TestFont(-15));
    EXPECT_EQ(twin.Twin2()->Font().Height(), -10); // Round(-10.5): the even neighbour
}

TEST(ExprCore, FontReachesEveryMemberOfARow) {
    TRecordingCanvas canvas;
    TExprChain chain(Box(1, 1));
    for (int i = 0; i < 5; ++i)
        chain.Son()->AddNext(Box(1, 1));
    chain.SetCanvas(&canvas);
    chain.SetFont(TestFont(-26));
    for (TExprClass *m = chain.Son(); m; m = m->Next()) {
        EXPECT_EQ(m->Font().Height(), -26);
        EXPECT_EQ(m->PenWidthY(), 2);
        EXPECT_EQ(m->ValidMask(), vmAllStale);
    }
}

TEST(ExprCore, LongRowsAndDeepTreesStayCheap) {
    // One row of many members and a deep nest of twins: propagation must neither nest one call
    // per member nor repeat itself at every level.
    TRecordingCanvas canvas;
    TExprChain row(Box(1, 1));
    TExprClass *last = row.Son();
    for (int i = 0; i < 200000; ++i) {
        last->SetNext(Box(1, 1));
        last = last->Next();
    }
    row.SetCanvas(&canvas);
    row.SetFont(TestFont(-13));
    EXPECT_EQ(last->Font().Height(), -13);
    EXPECT_EQ(row.Width(), 200001);

    PExpr nest = Box(1, 1);
    for (int i = 0; i < 400; ++i)
        nest = std::make_unique<TExprTwinParent>(Box(1, 1), std::move(nest), nullptr);
    canvas.Clear();
    nest->SetCanvas(&canvas);
    nest->SetFont(TestFont(-40));
    EXPECT_LT(canvas.MeasureCount, 400 * 40);
}
