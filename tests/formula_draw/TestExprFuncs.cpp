// Functions, limits, spaces, primes, at-value bars, accents and stacked lines on the recording
// canvas. Font -13 gives PenWidthX = PenWidthY = 1 and UnitY = 16 / 27.6; font -26 gives 2 and
// 2. Expected geometry is worked out by hand from the layout rules.
#include "formula/draw/ExprFuncs.h"
#include "tests/support/FixedNode.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Points = std::vector<TPoint>;
using Args = std::vector<int32_t>;

// A letter-sized accented node: 10 x 16, axis 8, with the given free space above its ink.
std::unique_ptr<TFixedNode> Letter(int32_t capDY, int32_t left = 0, int32_t right = 0) {
    auto n = ScriptBase(11, 6, 7);
    n->CapDYValue = capDY;
    n->CapLeft = left;
    n->CapRight = right;
    return n;
}

} // namespace

TEST(ExprCommonFunc, NameAndArgumentShareTheAxis) {
    TRecordingCanvas canvas;
    auto nameOwned = Fixed(12, 16, 8), argOwned = Fixed(20, 30, 20);
    TFixedNode *name = nameOwned.get(), *arg = argOwned.get();
    TExprCommonFunc func(std::move(nameOwned), std::move(argOwned));
    Prepare(func, canvas, -13);
    EXPECT_EQ(BoxOf(func), (TLayoutBox{35, 30, 20, -9}));
    func.Draw(0, 0, 0, 0);
    EXPECT_EQ(name->PaintedAt(), (TPoint{0, 12}));
    EXPECT_EQ(arg->PaintedAt(), (TPoint{15, 0}));

    // Only an argument in visible brackets lets another factor follow directly.
    EXPECT_EQ(func.FactorFlags(), 1u);
    arg->Flags = 19;
    EXPECT_EQ(func.FactorFlags(), 3u);
}

TEST(ExprFunc, OneLetterNamesAreItalicAndAlwaysBracketed) {
    TExprFunc f("f", std::make_unique<TExprArgument>(Fixed(5, 5)));
    EXPECT_NE(dynamic_cast<TExprVar *>(f.Son()), nullptr);
    EXPECT_TRUE(f.ArgumentAlwaysBracketed());
    EXPECT_TRUE(static_cast<TExprArgument *>(f.Son2())->NeedBrackets());

    // An upright name: no brackets around a single product...
    TExprFunc sin("sin", std::make_unique<TExprArgument>(Fixed(5, 5)));
    EXPECT_NE(dynamic_cast<TExprFuncName *>(sin.Son()), nullptr);
    EXPECT_EQ(static_cast<TExprSimple *>(sin.Son())->Text(), "sin");
    EXPECT_FALSE(sin.ArgumentAlwaysBracketed());
    EXPECT_FALSE(static_cast<TExprArgument *>(sin.Son2())->NeedBrackets());

    // ...but around a sum or a list.
    auto x = Fixed(5, 5);
    auto plus = Fixed(5, 5);
    plus->Forces = true;
    x->SetNext(std::move(plus));
    TExprFunc sum("sin", std::make_unique<TExprArgument>(std::move(x)));
    EXPECT_TRUE(static_cast<TExprArgument *>(sum.Son2())->NeedBrackets());
    auto a = Fixed(5, 5);
    a->SetNext(std::make_unique<TExprComma>());
    TExprFunc list("max", std::make_unique<TExprArgument>(std::move(a)));
    EXPECT_TRUE(static_cast<TExprArgument *>(list.Son2())->NeedBrackets());
}

TEST(ExprFunc, SquaredNameTreatsItsArgumentLikeTheName) {
    auto name =
        std::make_unique<TExprIndex>(std::make_unique<TExprFuncName>("sin"), nullptr, Fixed(4, 4));
    TExprCommonFunc func(std::move(name), std::make_unique<TExprArgument>(Fixed(5, 5)));
    EXPECT_FALSE(static_cast<TExprArgument *>(func.Son2())->NeedBrackets());

    auto letter =
        std::make_unique<TExprIndex>(std::make_unique<TExprVar>("f"), nullptr, Fixed(4, 4));
    TExprCommonFunc func2(std::move(letter), std::make_unique<TExprArgument>(Fixed(5, 5)));
    EXPECT_TRUE(static_cast<TExprArgument *>(func2.Son2())->NeedBrackets());
}

TEST(ExprFunc, BracketedArgumentWidensTheFunction) {
    TRecordingCanvas canvas;
    TExprFunc f("f", std::make_unique<TExprArgument>(Fixed(20, 30, 15)));
    Prepare(f, canvas, -26);
    // f, 3v, and the argument with two round brackets of Round(0.191192 * 34) + 2v.
    EXPECT_EQ(f.Width(), f.Son()->Width() + 6 + 42);
    TExprFunc sin("sin", std::make_unique<TExprArgument>(Fixed(20, 30, 15)));
    Prepare(sin, canvas, -26);
    EXPECT_EQ(sin.Width(), sin.Son()->Width() + 6 + 20);
}

TEST(ExprBase, BracketsOnlyAroundARow) {
    TRecordingCanvas canvas;
    TExprBase single(Fixed(20, 30, 15));
    Prepare(single, canvas, -26);
    EXPECT_FALSE(single.NeedBrackets());
    EXPECT_EQ(single.Width(), 20);
    single.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.CallsOf("PolyBezier").empty());

    auto first = Fixed(20, 30, 15);
    first->SetNext(Fixed(10, 30, 15));
    TExprBase row(std::move(first));
    Prepare(row, canvas, -26);
    EXPECT_TRUE(row.NeedBrackets());
    EXPECT_EQ(row.Width(), 30 + 22);
    row.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("PolyBezier").size(), 2u);
}

TEST(ExprComma, ForcesBracketsAndSetsNoAccentLimit) {
    TRecordingCanvas canvas;
    TExprComma comma;
    Prepare(comma, canvas, -13);
    EXPECT_EQ(comma.Code(), 44);
    EXPECT_TRUE(comma.ForcesArgBrackets());
    EXPECT_EQ(comma.CapDY(), MaxInt);
}

TEST(ExprLim, LimAndConditionCentredOnEachOther) {
    TRecordingCanvas canvas;
    // A condition narrower than "lim" (three advances of 6) is centred under it, a wider one
    // under "lim".
    auto narrowOwned = Fixed(10, 8), wideOwned = Fixed(30, 8);
    TFixedNode *narrow = narrowOwned.get(), *wide = wideOwned.get();
    TExprLim lim(std::move(narrowOwned)), overWide(std::move(wideOwned));
    Prepare(lim, canvas, -13);
    Prepare(overWide, canvas, -13);
    EXPECT_EQ(narrow->Font().Height(), -9); // Round(0.7 * -13)
    EXPECT_EQ(narrow->Canvas(), &canvas);
    EXPECT_EQ(lim.Width(), 18);
    EXPECT_EQ(lim.Height(), 24);
    EXPECT_EQ(lim.MidLineUp(), 8); // the middle of "lim"
    EXPECT_EQ(lim.MidLineDn(), -15);
    EXPECT_FALSE(lim.ArgAlwaysBracketed());
    EXPECT_EQ(overWide.Width(), 30);

    lim.Draw(0, 0, 0, 0);
    overWide.Draw(10, 10, 0, 0);
    const auto texts = canvas.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, u"lim");
    EXPECT_EQ(texts[0].Args, (Args{0, 0}));
    EXPECT_EQ(texts[0].Font.Height, -13);
    EXPECT_EQ(narrow->PaintedAt(), (TPoint{4, 16}));
    EXPECT_EQ(texts[1].Args, (Args{16, 10}));
    EXPECT_EQ(wide->PaintedAt(), (TPoint{10, 26}));

    // The argument after "lim" lines up with the middle of "lim" and needs no brackets.
    TExprCommonFunc func(std::make_unique<TExprLim>(Fixed(30, 8)),
                         std::make_unique<TExprArgument>(Fixed(6, 16)));
    Prepare(func, canvas, -13);
    EXPECT_FALSE(static_cast<TExprArgument *>(func.Son2())->NeedBrackets());
    EXPECT_EQ(func.MidLineUp(), 9); // the argument's axis, w lower in its hidden brackets
    EXPECT_EQ(func.Son()->MidLineUp(), 8);
}

TEST(ExprSpace, WidthInPenUnits) {
    TRecordingCanvas canvas;
    TExprSpace space(5), none(0), back(-3), huge(MaxInt);
    for (TExprSpace *s : {&space, &none, &back, &huge})
        Prepare(*s, canvas, -26);
    EXPECT_EQ(space.Width(), 10);
    EXPECT_EQ(none.Width(), 0);
    EXPECT_EQ(back.Width(), -6);
    EXPECT_EQ(huge.Width(), MaxInt);
    EXPECT_EQ(space.Height(), 0);
    for (TExprSpace *s : {&space, &none, &back, &huge})
        s->Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
}

TEST(ExprSpace, NegativeSpaceIsABackspace) {
    TRecordingCanvas canvas;
    TExprChain row(Fixed(10, 16));
    row.Son()->SetNext(std::make_unique<TExprSpace>(-3));
    row.Son()->Next()->SetNext(Fixed(10, 16));
    auto *last = static_cast<TFixedNode *>(row.Son()->Next()->Next());
    Prepare(row, canvas, -13);
    EXPECT_EQ(row.Width(), 17);
    row.Draw(0, 0, 0, 0);
    EXPECT_EQ(last->PaintX, 7);
}

TEST(ExprStrokes, WidthsAndPrimes) {
    TRecordingCanvas canvas;
    TExprStrokes one(1), three(3), two(2);
    for (TExprStrokes *s : {&one, &three, &two})
        Prepare(*s, canvas, -13);
    EXPECT_EQ(one.Width(), 6);
    EXPECT_EQ(three.Width(), 14);
    EXPECT_EQ(one.Height(), 10); // Round(0.6 * 16)

    two.SetColor(0xFF0000);
    two.Draw(0, 0, 0, 0);
    const auto tris = canvas.CallsOf("Polygon");
    ASSERT_EQ(tris.size(), 2u);
    EXPECT_EQ(tris[0].Points, (Points{{2, 1}, {3, 1}, {2, 6}}));
    EXPECT_EQ(tris[1].Points, (Points{{6, 1}, {7, 1}, {6, 6}}));
    EXPECT_EQ(tris[1].BrushColor, 0xFF0000u);
    ExpectShapesInside(canvas, 0, 0, two.Width(), two.Height());

    TExprStrokes thick(1);
    Prepare(thick, canvas, -26);
    canvas.Clear();
    thick.Draw(0, 0, 0, 0);
    EXPECT_EQ(thick.Width(), 12);
    EXPECT_EQ(thick.Height(), 19);
    EXPECT_EQ(canvas.CallsOf("Polygon").at(0).Points, (Points{{4, 2}, {7, 2}, {4, 13}}));
}

TEST(ExprStrokes, NegativeAndHugeCounts) {
    // A negative count draws no primes and is as wide as none; a huge one is clamped so that
    // painting stays bounded, and every prime stays inside the box.
    TRecordingCanvas canvas;
    TExprStrokes negative(-4), zero(0), huge(2000000000);
    for (TExprStrokes *s : {&negative, &zero, &huge})
        Prepare(*s, canvas, -13);
    EXPECT_EQ(negative.Width(), 2);
    EXPECT_EQ(zero.Width(), 2);
    negative.Draw(0, 0, 0, 0);
    zero.Draw(0, 0, 0, 0);
    EXPECT_TRUE(canvas.Calls.empty());
    EXPECT_EQ(huge.Width(), 4002);
    huge.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("Polygon").size(), 1000u);
    ExpectShapesInside(canvas, 0, 0, huge.Width(), huge.Height());
}

TEST(ExprAtValue, TheBarSpansTheTallerPartAndTheConditionSitsAtItsFoot) {
    TRecordingCanvas canvas;
    auto exprOwned = Fixed(20, 16, 8), tallOwned = Fixed(10, 24), shortOwned = Fixed(10, 8);
    TFixedNode *expr = exprOwned.get(), *tall = tallOwned.get(), *low = shortOwned.get();
    // A tall condition pushes the expression down.
    TExprAtValue at(std::move(exprOwned), std::move(tallOwned));
    Prepare(at, canvas, -13);
    EXPECT_EQ(tall->Font().Height(), -9);
    EXPECT_EQ(expr->Font().Height(), -13);
    EXPECT_EQ(BoxOf(at), (TLayoutBox{33, 24, 16, -7}));
    at.Draw(0, 0, 0, 0);
    EXPECT_EQ(expr->PaintY + expr->H, at.Height()); // the expression ends on the last row
    EXPECT_EQ(expr->PaintX, 0);
    EXPECT_EQ(canvas.CallsOf("FillRect").at(0).Args, (Args{20, 0, 21, 24}));
    EXPECT_EQ(tall->PaintX, 23);
    EXPECT_EQ(tall->PaintY + tall->H - 1, 24); // one row below the bar's last row

    // A short one stands at the expression's foot.
    auto shortExprOwned = Fixed(20, 16, 8);
    TFixedNode *shortExpr = shortExprOwned.get();
    TExprAtValue foot(std::move(shortExprOwned), std::move(shortOwned));
    Prepare(foot, canvas, -26);
    EXPECT_EQ(foot.Width(), 20 + 6 + 10);
    EXPECT_EQ(foot.Height(), 16);
    EXPECT_EQ(foot.MidLineUp(), 8);
    canvas.Clear();
    foot.Draw(0, 0, 0, 0);
    EXPECT_EQ(shortExpr->PaintY, 0);
    EXPECT_EQ(canvas.CallsOf("FillRect").at(0).Args, (Args{20, 0, 22, 16}));
    EXPECT_EQ(low->PaintedAt(), (TPoint{26, 9}));
    EXPECT_EQ(foot.FactorFlags(), 1u);
    shortExpr->Flags = 2;
    EXPECT_EQ(foot.FactorFlags(), 0u);
}

TEST(ExprCap, HatOverATallLetterRaisesTheNode) {
    TRecordingCanvas canvas;
    auto sonOwned = Letter(2);
    TFixedNode *son = sonOwned.get();
    TExprCap cap(std::move(sonOwned), ecCap, 0);
    Prepare(cap, canvas, -13);
    // The hat needs 11w; the letter has 2 free rows: raised by 9.
    EXPECT_EQ(BoxOf(cap), (TLayoutBox{10, 25, 17, -7}));
    EXPECT_EQ(cap.PowerX(), 11); // as wide as the letter: the letter's
    EXPECT_EQ(cap.PowerY(), 15);
    EXPECT_EQ(cap.IndexX(), 7);
    EXPECT_EQ(cap.CapDY(), 0);

    cap.Draw(0, 0, 0, 0);
    EXPECT_EQ(son->PaintedAt(), (TPoint{0, 9}));
    const auto texts = canvas.CallsOf("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, u"^");
    // Centred: (10 - 6) / 2; Round(15 UnitY) = 9 above the row over the ink.
    EXPECT_EQ(texts[0].Args, (Args{2, 1}));
    EXPECT_EQ(texts[0].Font.Height, -13);
}

TEST(ExprCap, HatWiderThanItsLetter) {
    TRecordingCanvas canvas;
    auto son = Fixed(4, 16, 8);
    son->CapDYValue = 2;
    son->IndexXValue = 3;
    TFixedNode *letter = son.get();
    TExprCap cap(std::move(son), ecCap, 0);
    Prepare(cap, canvas, -13);
    EXPECT_EQ(cap.Width(), 6);
    EXPECT_EQ(cap.PowerX(), 6);
    EXPECT_EQ(cap.IndexX(), 1 + 3);
    cap.Draw(0, 0, 0, 0);
    EXPECT_EQ(letter->PaintX, 1);
    EXPECT_EQ(canvas.CallsOf("TextOut").at(0).Args[0], 0);
}

TEST(ExprCap, BarOverASmallLetterKeepsTheHeight) {
    TRecordingCanvas canvas;
    TExprCap cap(Letter(6, 1, 2), ecLine, 0);
    cap.SetColor(0x00FF00);
    Prepare(cap, canvas, -13);
    EXPECT_EQ(cap.Height(), 16);
    EXPECT_EQ(cap.MidLineUp(), 8);
    EXPECT_EQ(cap.Width(), 12); // the slant on the right widens it
    EXPECT_EQ(cap.PowerX(), 12);
    EXPECT_EQ(cap.CapDY(), 2);
    cap.Draw(0, 0, 0, 0);
    const auto bars = canvas.CallsOf("FillRect");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].Args, (Args{1, 3, 12, 4}));
    EXPECT_EQ(bars[0].BrushColor, 0x00FF00u);
}

TEST(ExprCap, VectorOverALetterLeaningLeft) {
    TRecordingCanvas canvas;
    auto sonOwned = Letter(8, -2, 1);
    TFixedNode *son = sonOwned.get();
    TExprCap cap(std::move(sonOwned), ecVector, 0);
    Prepare(cap, canvas, -13);
    EXPECT_EQ(cap.Width(), 13); // widened by -L and by R
    EXPECT_EQ(cap.Height(), 16);
    EXPECT_EQ(cap.IndexX(), 2 + 7);
    EXPECT_EQ(cap.PowerX(), 13);
    cap.Draw(0, 0, 0, 0);
    EXPECT_EQ(son->PaintX, 2);
    // Odd t: a one-pixel tip; the shaft starts at the node's left edge.
    const Points expected = {{0, 4}, {11, 4}, {11, 3}, {12, 4}, {11, 5}, {11, 4}, {0, 4}};
    EXPECT_EQ(canvas.CallsOf("Polygon").at(0).Points, expected);
}

TEST(ExprCap, VectorWithAnEvenPenHasATwoPixelTip) {
    TRecordingCanvas canvas;
    auto son = Fixed(20, 30, 15);
    son->CapDYValue = 20;
    son->CapLeft = -3;
    son->CapRight = 2;
    TExprCap cap(std::move(son), ecVector, 0);
    Prepare(cap, canvas, -26);
    EXPECT_EQ(cap.Width(), 25);
    cap.Draw(0, 0, 0, 0);
    const Points expected = {{0, 12},  {21, 12}, {21, 10}, {24, 12},
                             {24, 13}, {21, 15}, {21, 13}, {0, 13}};
    EXPECT_EQ(canvas.CallsOf("Polygon").at(0).Points, expected);
}

TEST(ExprCap, Dots) {
    TRecordingCanvas canvas;
    TExprCap two(Letter(2), ecPoints, 2);
    Prepare(two, canvas, -13);
    EXPECT_EQ(two.Width(), 10);
    EXPECT_EQ(two.Height(), 19); // 5w of room, 2 free rows
    two.Draw(0, 0, 0, 0);
    auto dots = canvas.CallsOf("Ellipse");
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0].Args, (Args{2, 1, 4, 3}));
    EXPECT_EQ(dots[1].Args, (Args{6, 1, 8, 3}));

    // Four dots are wider than the letter: the letter moves right to stay centred.
    auto sonOwned = Letter(2);
    TFixedNode *son = sonOwned.get();
    TExprCap four(std::move(sonOwned), ecPoints, 4);
    Prepare(four, canvas, -13);
    canvas.Clear();
    EXPECT_EQ(four.Width(), 14);
    EXPECT_EQ(four.IndexX(), 2 + 7);
    four.Draw(0, 0, 0, 0);
    dots = canvas.CallsOf("Ellipse");
    ASSERT_EQ(dots.size(), 4u);
    EXPECT_EQ(dots[0].Args, (Args{0, 1, 2, 3}));
    EXPECT_EQ(dots[3].Args, (Args{12, 1, 14, 3}));
    EXPECT_EQ(son->PaintedAt(), (TPoint{2, 3}));
}

TEST(ExprCap, NoDotsForZeroNegativeAndClampedCounts) {
    // Count 0 and any negative Count draw nothing; the node is as wide as the letter and the
    // letter is still lowered by the dots' room. A huge Count is clamped, inside the box.
    TRecordingCanvas canvas;
    for (int32_t count : {0, -1, -5, INT32_MIN}) {
        auto sonOwned = Letter(2);
        TFixedNode *son = sonOwned.get();
        TExprCap cap(std::move(sonOwned), ecPoints, count);
        Prepare(cap, canvas, -13);
        canvas.Clear();
        EXPECT_EQ(cap.Count(), count);
        EXPECT_EQ(cap.Width(), 10);
        EXPECT_EQ(cap.Height(), 19);
        EXPECT_EQ(cap.IndexX(), 7);
        cap.Draw(0, 0, 0, 0);
        EXPECT_TRUE(canvas.CallsOf("Ellipse").empty());
        EXPECT_EQ(son->PaintY, 3);
    }
    TExprCap huge(Letter(2), ecPoints, MaxInt);
    Prepare(huge, canvas, -13);
    canvas.Clear();
    huge.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("Ellipse").size(), 1000u);
    ExpectShapesInside(canvas, 0, 0, huge.Width(), huge.Height());
}

TEST(ExprCap, Tilde) {
    TRecordingCanvas canvas;
    TExprCap cap(Letter(2), ecTilde, 0);
    Prepare(cap, canvas, -13);
    EXPECT_EQ(cap.Height(), 20); // 6w of room
    cap.Draw(0, 0, 0, 0);
    const auto t = canvas.CallsOf("TextOut").at(0);
    EXPECT_EQ(t.Text, u"~");
    EXPECT_EQ(t.Args, (Args{2, 5 - 11})); // Round(18.5 UnitY) = 11 above the row over the ink
}

TEST(ExprCap, AccentOverANodeWithoutALimitStaysInTheBox) {
    // Signs and commas report the largest integer as their free space; an accent over one
    // alone must neither overflow nor leave the node.
    TRecordingCanvas canvas;
    for (uint8_t kind : {ecPoints, ecVector, ecLine}) {
        TExprCap cap(Letter(MaxInt), kind, 3);
        Prepare(cap, canvas, -13);
        canvas.Clear();
        EXPECT_EQ(cap.Height(), 16);
        cap.Draw(0, 0, 0, 0);
        EXPECT_FALSE(canvas.Calls.empty());
        ExpectShapesInside(canvas, 0, 0, cap.Width(), cap.Height());
    }
    TExprCap bar(Letter(MaxInt), ecLine, 0);
    Prepare(bar, canvas, -13);
    canvas.Clear();
    bar.Draw(0, 0, 0, 0);
    EXPECT_EQ(canvas.CallsOf("FillRect").at(0).Args, (Args{0, 13, 10, 14}));
    EXPECT_EQ(bar.CapDY(), 12);
}

TEST(ExprCap, SecondAccentUsesTheRoomLeft) {
    TRecordingCanvas canvas;
    // A bar over a letter with 9 free rows leaves 5; dots need 5 more: no raise at all.
    TExprCap outer(std::make_unique<TExprCap>(Letter(9), ecLine, 0), ecPoints, 1);
    Prepare(outer, canvas, -13);
    EXPECT_EQ(outer.Son()->CapDY(), 5);
    EXPECT_EQ(outer.Height(), 16);
    EXPECT_EQ(outer.CapDY(), 0);
    auto flagged = Letter(9);
    flagged->Flags = 6;
    TExprCap cap(std::move(flagged), ecTilde, 0);
    EXPECT_EQ(cap.FactorFlags(), 6u);
}

TEST(ExprStand, ThreeAlignments) {
    for (uint8_t align : {0, 1, 2}) {
        TRecordingCanvas canvas;
        auto first = Fixed(10, 5);
        first->SetNext(Fixed(6, 7));
        first->Next()->SetNext(Fixed(8, 3));
        TExprStand stand(std::move(first), align);
        Prepare(stand, canvas, -13);
        EXPECT_EQ(stand.Width(), 10);
        EXPECT_EQ(stand.Height(), 15);
        EXPECT_EQ(stand.MidLineUp(), 7);
        stand.Draw(100, 0, 0, 0);
        auto *a = static_cast<TFixedNode *>(stand.Son());
        auto *b = static_cast<TFixedNode *>(a->Next());
        auto *c = static_cast<TFixedNode *>(b->Next());
        EXPECT_EQ(a->PaintY, 0);
        EXPECT_EQ(b->PaintY, 5);
        EXPECT_EQ(c->PaintY, 12);
        const std::vector<int32_t> xs = {a->PaintX, b->PaintX, c->PaintX};
        // Left; centred on column 105 of the box 100 .. 109; right-aligned, each line's last
        // column on the box's last column, 109.
        const std::vector<std::vector<int32_t>> expected = {
            {100, 100, 100}, {100, 102, 101}, {100, 104, 102}};
        EXPECT_EQ(xs, expected[align]) << "align " << int(align);
    }
}

TEST(ExprFuncs, HugeContentSaturates) {
    // Sizes and anchors at the ends of the integer range stay defined (checked under UBSan).
    TRecordingCanvas canvas;
    auto big = [] {
        auto n = Fixed(MaxInt, MaxInt, MaxInt / 2);
        n->CapDYValue = MaxInt;
        n->CapLeft = -MaxInt;
        n->CapRight = MaxInt;
        n->PowerXValue = n->PowerYValue = n->IndexXValue = MaxInt;
        return n;
    };
    std::vector<PExpr> nodes;
    nodes.push_back(std::make_unique<TExprCommonFunc>(big(), big()));
    nodes.push_back(std::make_unique<TExprLim>(big()));
    nodes.push_back(std::make_unique<TExprAtValue>(big(), big()));
    for (uint8_t kind = ecPoints; kind <= ecLine; ++kind)
        nodes.push_back(std::make_unique<TExprCap>(big(), kind, MaxInt));
    auto lines = big();
    lines->SetNext(big());
    nodes.push_back(std::make_unique<TExprStand>(std::move(lines), 2));
    nodes.push_back(std::make_unique<TExprSpace>(INT32_MIN));
    nodes.push_back(std::make_unique<TExprStrokes>(MaxInt));
    for (auto &n : nodes) {
        Prepare(*n, canvas, -26);
        n->Width();
        n->Height();
        n->MidLineUp();
        n->MidLineDn();
        n->PowerX();
        n->PowerY();
        n->IndexX();
        n->CapDY();
        n->Draw(MaxInt, MaxInt, 1, 1);
        n->Draw(INT32_MIN, INT32_MIN, 2, 2);
    }
    EXPECT_EQ(nodes[0]->Width(), MaxInt);
    EXPECT_EQ(nodes[2]->Height(), MaxInt);
}
