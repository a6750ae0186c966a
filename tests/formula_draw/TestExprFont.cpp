// The font model and how a node follows changes of its font, on the recording canvas.
#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

TEST(ExprFont, NotifiesOncePerActualChange) {
    TExprFont font;
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetHeight(-20);
    font.SetHeight(-20);
    font.SetStyle(fsBold | fsItalic);
    font.SetColor(0x00FF00);
    font.SetName("Comic Sans MS");
    font.SetCharset(RUSSIAN_CHARSET);
    EXPECT_EQ(changes, 5);

    // Copying several differing attributes at once fires once; copying equal ones not at all.
    TExprFont other = TestFont(-9);
    other.SetStyle(fsUnderline | fsStrikeOut);
    changes = 0;
    font.Assign(other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Data(), other.Data());
    font.Assign(other);
    EXPECT_EQ(changes, 1);
    // A copy is a plain value: it does not call the original's handler.
    TExprFont copy(font);
    copy.SetHeight(-30);
    EXPECT_EQ(changes, 1);
}

TEST(ExprFont, PointSizeAndHeightAtTheResolution) {
    TExprFont font;
    struct TCase {
        int32_t Ppi, Points, Height;
    };
    // -MulDiv(points, ppi, 72), an exact half rounded away from zero.
    for (const TCase c : {TCase{96, 10, -13}, TCase{96, 8, -11}, TCase{96, 6, -8},
                          TCase{120, 10, -17}, TCase{100, 9, -13}, TCase{72, 12, -12}}) {
        font.SetPixelsPerInch(c.Ppi);
        font.SetSize(c.Points);
        EXPECT_EQ(font.Height(), c.Height) << c.Ppi << " " << c.Points;
    }
    font.SetPixelsPerInch(96);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10); // 9.75
    font.SetHeight(20);         // a cell height gives a negative size
    EXPECT_EQ(font.Size(), -15);
    font.SetPixelsPerInch(0); // no resolution: defined, not a division by zero
    EXPECT_EQ(font.Size(), 1);
}

TEST(ExprFont, NodeStartsInTimesWithCyrillicCharset) {
    TExprSimple node("x");
    EXPECT_EQ(node.Font().Name(), "Times New Roman");
    EXPECT_EQ(node.Font().Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(node.Color(), clInherit);
}

TEST(ExprFont, DirectFontChangeReachesMetricsAndTheChain) {
    TRecordingCanvas canvas;
    TExprSimple head("ab");
    head.AddNext(std::make_unique<TExprSimple>("c"));
    head.SetCanvas(&canvas);
    head.SetFont(TestFont(-13));
    TExprClass *next = head.Next();
    EXPECT_EQ(head.Width(), 12);
    EXPECT_EQ(next->Width(), 6);
    EXPECT_EQ(head.ValidMask() & vmWidth, 0u);

    // Changing an attribute of the node's own font is a font change like SetFont.
    head.Font().SetHeight(-52);
    EXPECT_EQ(head.ValidMask(), vmAllStale);
    EXPECT_EQ(head.PenWidthY(), 4);
    EXPECT_EQ(head.Width(), 52);
    EXPECT_EQ(next->Font().Height(), -52);
    EXPECT_EQ(next->PenWidthY(), 4);
    EXPECT_EQ(next->Width(), 26);
}

TEST(ExprFont, InheritedMetricsAreTakenAsGiven) {
    TRecordingCanvas canvas;
    TExprSimple node("A");
    node.InheritCanvas(&canvas, 7, 9, 1.5L, 2.5L);
    EXPECT_EQ(node.ValidMask(), vmAllStale);
    EXPECT_EQ(node.PenWidthX(), 7); // no CalcLineMetrics: the owner's units
    EXPECT_EQ(node.UnitY(), 2.5L);
    node.InheritFont(TestFont(-40), 3, 4, 1.25L, 1.75L);
    EXPECT_EQ(node.Font().Height(), -40);
    EXPECT_EQ(node.PenWidthX(), 3);
    EXPECT_EQ(node.PenWidthY(), 4);
    EXPECT_EQ(node.UnitX(), 1.25L);
    EXPECT_EQ(node.CapDY(), 7); // Round(4 * 1.75) from the inherited UnitY
    // The same canvas again: nothing happens, not even to the metrics.
    node.InheritCanvas(&canvas, 1, 1, 1, 1);
    EXPECT_EQ(node.PenWidthX(), 3);
    EXPECT_EQ(node.ValidMask() & vmCapDY, 0u);
    node.InheritCanvas(nullptr, 1, 1, 1, 1);
    EXPECT_EQ(node.ValidMask(), vmAllValid);
}

TEST(ExprFont, ReplacingAChildMakesTheContainerStale) {
    TRecordingCanvas canvas;
    TExprChain row(std::make_unique<TExprSimple>("ab"));
    row.SetCanvas(&canvas);
    row.SetFont(TestFont(-13));
    EXPECT_EQ(row.Width(), 12);
    row.SetSon(std::make_unique<TExprSimple>("abcd"));
    EXPECT_EQ(row.ValidMask(), vmAllStale);
    EXPECT_EQ(row.Son()->Canvas(), &canvas); // the new child gets font and canvas
    EXPECT_EQ(row.Son()->Font().Height(), -13);
    EXPECT_EQ(row.Width(), 24);
    PExpr cut = row.CutOffSon();
    EXPECT_EQ(row.Width(), 0);
    EXPECT_EQ(cut->Width(), 24);
}
