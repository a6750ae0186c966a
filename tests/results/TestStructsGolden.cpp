// Golden pictures of fractions, roots, brackets, functions, limits and accents, built by hand
// and painted with the Qt surface, so the outlines can be checked by eye and kept.
#include "formula/draw/ExprDraw.h"
#include "tests/results/Golden.h"
#include "tests/support/ExprBuild.h"

#include <gtest/gtest.h>

namespace {

// x over y + 1.
PExpr Fraction() {
    return std::make_unique<TExprRatio>(Var("x"), RowOf(Var("y"), Sign('+'), Num(1)));
}

} // namespace

TEST(StructsGolden, Fraction) {
    auto ratio = Fraction();
    EXPECT_TRUE(MatchesGolden(RenderExpr(*ratio, 16), "structs_fraction"));
}

TEST(StructsGolden, RootWithDegree) {
    TExprRoot root(RowOf(Var("a"), Sign('+'), Var("b")), Num(3));
    EXPECT_TRUE(MatchesGolden(RenderExpr(root, 16), "structs_root"));
}

TEST(StructsGolden, BracketKindsGrowWithAFraction) {
    std::vector<PExpr> row;
    for (uint8_t kind : {ebRound, ebSquare, ebFigure, ebModule}) {
        if (!row.empty()) row.push_back(Sign('+'));
        row.push_back(std::make_unique<TExprBracketed>(Fraction(), kind, kind));
    }
    auto brackets = std::make_unique<TExprChain>(Siblings(std::move(row)));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*brackets, 16), "structs_brackets"));
}

TEST(StructsGolden, SquaredFunctionNameAndLim) {
    // sin² x · f(x), then lim over x → ∞ of a fraction.
    auto squared = std::make_unique<TExprCommonFunc>(
        std::make_unique<TExprIndex>(std::make_unique<TExprFuncName>("sin"), nullptr, Num(2)),
        std::make_unique<TExprArgument>(Var("x")));
    auto f = std::make_unique<TExprFunc>("f", std::make_unique<TExprArgument>(Var("x")));
    auto lim = std::make_unique<TExprCommonFunc>(
        std::make_unique<TExprLim>(
            RowOf(Var("x"), Sign(8594), std::make_unique<TExprExtSymbol>(8734))),
        std::make_unique<TExprArgument>(Fraction()));
    auto row = RowOf(std::move(squared), Sign(183), std::move(f), std::make_unique<TExprSpace>(8),
                     std::move(lim));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*row, 16), "structs_functions"));
}

TEST(StructsGolden, EachAccent) {
    // Two dots over a, an arrow over v, a hat over A, a tilde over n, a bar over x, and the
    // arrow over a tall italic F whose ink leans.
    auto row =
        RowOf(std::make_unique<TExprCap>(Var("a"), ecPoints, 2), std::make_unique<TExprSpace>(6),
              std::make_unique<TExprCap>(Var("v"), ecVector, 0), std::make_unique<TExprSpace>(6),
              std::make_unique<TExprCap>(Var("A"), ecCap, 0), std::make_unique<TExprSpace>(6),
              std::make_unique<TExprCap>(Var("n"), ecTilde, 0), std::make_unique<TExprSpace>(6),
              std::make_unique<TExprCap>(Var("x"), ecLine, 0), std::make_unique<TExprSpace>(6),
              std::make_unique<TExprCap>(Var("F"), ecVector, 0));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*row, 20), "structs_accents"));
}

TEST(StructsGolden, PrimesAtValueAndStack) {
    // f'' , a value-at bar with its condition, and three stacked lines centred.
    auto primes =
        std::make_unique<TExprIndex>(Var("f"), nullptr, std::make_unique<TExprStrokes>(2));
    auto at = std::make_unique<TExprAtValue>(Fraction(), RowOf(Var("x"), Sign('='), Num(0)));
    auto lines = Var("a");
    lines->SetNext(RowOf(Var("b"), Sign('+'), Var("c")));
    lines->Next()->SetNext(Fraction());
    auto stand = std::make_unique<TExprStand>(std::move(lines), 1);
    auto row = RowOf(std::move(primes), std::make_unique<TExprSpace>(8), std::move(at),
                     std::make_unique<TExprSpace>(8), std::move(stand));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*row, 16), "structs_decorations"));
}
