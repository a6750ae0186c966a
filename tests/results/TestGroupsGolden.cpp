// Golden pictures of the group operators in both drawings, a matrix, a case distinction and
// the special symbols, built by hand and painted with the Qt surface.
#include "formula/draw/ExprDraw.h"
#include "tests/results/Golden.h"
#include "tests/support/ExprBuild.h"

#include <gtest/gtest.h>

namespace {

PExpr Sub(PExpr base, PExpr index) {
    return std::make_unique<TExprIndex>(std::move(base), std::move(index), nullptr);
}

PExpr Fraction(PExpr num, PExpr den) {
    return std::make_unique<TExprRatio>(std::move(num), std::move(den));
}

// Operator kinds of the pictures below.
enum class TOp { Sum, Prod, Circ, DoubleInt };

// The operator over a_i from i = 1 to n (the contour integral and the double integral over a
// region with their differentials), then "=" and a fraction so the sign's size can be compared
// with the text around it.
PExpr Operator(TOp op) {
    switch (op) {
    case TOp::Sum:
        return RowOf(std::make_unique<TExprSumma>(Sub(Var("a"), Var("i")),
                                                  RowOf(Var("i"), Sign('='), Num(1)), Var("n")),
                     Sign('='), Fraction(Var("n"), Num(2)));
    case TOp::Prod:
        return RowOf(std::make_unique<TExprProd>(Sub(Var("x"), Var("k")),
                                                 RowOf(Var("k"), Sign('='), Num(1)), Var("m")),
                     Sign('='), Fraction(Var("p"), Var("q")));
    case TOp::Circ:
        return RowOf(
            std::make_unique<TExprCirc>(RowOf(Var("E"), Sign(183), Var("dl")), Var("L"), nullptr),
            Sign('='), Num(0));
    case TOp::DoubleInt:
        return RowOf(std::make_unique<TExprIntegral>(RowOf(Var("f"), Var("dx"), Var("dy")),
                                                     Var("D"), nullptr, 2),
                     Sign('='), Fraction(Num(1), Num(3)));
    }
    return nullptr;
}

// 12 points gives signs below 56 pixels (the polygon form), 40 points far above (the outlines).
constexpr int SmallPoints = 12;
constexpr int LargePoints = 40;

} // namespace

TEST(GroupsGolden, EachOperatorInBothForms) {
    const std::pair<TOp, const char *> operators[] = {
        {TOp::Sum, "sum"}, {TOp::Prod, "prod"}, {TOp::Circ, "circ"}, {TOp::DoubleInt, "int2"}};
    for (const auto &[op, name] : operators) {
        for (const auto &[points, form] :
             {std::pair{SmallPoints, "small"}, {LargePoints, "large"}}) {
            const std::string golden = std::string("groups_") + name + "_" + form;
            SCOPED_TRACE(golden);
            auto expr = Operator(op);
            EXPECT_TRUE(MatchesGolden(RenderExpr(*expr, points), golden));
        }
    }
}

TEST(GroupsGolden, ManyIntegralsAndNestedOperators) {
    // Integral signs "many times" with an ellipsis, then a sum over a product with limits
    // sharing the product's sign size.
    auto many = std::make_unique<TExprIntegral>(Var("f"), Var("V"), nullptr, 0);
    auto nested = std::make_unique<TExprSumma>(
        std::make_unique<TExprProd>(Sub(Var("a"), Var("ij")), RowOf(Var("j"), Sign('='), Num(1)),
                                    Var("m")),
        RowOf(Var("i"), Sign('='), Num(1)), Var("n"));
    auto row = RowOf(std::move(many), std::make_unique<TExprSpace>(12), std::move(nested));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*row, 16), "groups_nested"));
}

TEST(GroupsGolden, Matrix) {
    // A 2 x 3 matrix in round brackets: every cell as large as the fraction.
    auto cells = ChainOf(Var("a"), Num(0), Fraction(Num(1), Var("k")), Var("b"),
                         Sub(Var("c"), Num(2)), RowOf(Sign(8722), Var("d")));
    auto m =
        RowOf(Var("A"), Sign('='),
              std::make_unique<TExprRound>(std::make_unique<TExprMatrix>(std::move(cells), 3, 2)));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*m, 16), "groups_matrix"));
}

TEST(GroupsGolden, CaseDistinction) {
    auto items = ChainOf(Num(1), RowOf(Var("x"), Sign('>'), Num(0)), Num(0),
                         RowOf(Var("x"), Sign('='), Num(0)), RowOf(Sign(8722), Num(1)),
                         RowOf(Var("x"), Sign('<'), Num(0)));
    auto c = RowOf(std::make_unique<TExprFunc>("sgn", std::make_unique<TExprArgument>(Var("x"))),
                   Sign('='), std::make_unique<TExprCase>(std::move(items)));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*c, 16), "groups_case"));
}

TEST(GroupsGolden, SpecialSymbols) {
    // The barred lambda beside a plain one, the nabla beside a capital delta, a lowered
    // asterisk between letters, and an empty placeholder under a fraction bar.
    auto row =
        RowOf(std::make_unique<TExprLambda>(), std::make_unique<TExprExtSymbol>(955),
              std::make_unique<TExprSpace>(8), std::make_unique<TExprNabla>(),
              std::make_unique<TExprExtSymbol>(916), std::make_unique<TExprSpace>(8), Var("a"),
              std::make_unique<TExprAsterix>(), Var("b"), std::make_unique<TExprSpace>(8),
              Fraction(Var("x"), std::make_unique<TExprEmpty>()));
    EXPECT_TRUE(MatchesGolden(RenderExpr(*row, 20), "groups_symbols"));
}
