// The tree dump format for every node class, and deep copies.
#include "formula/draw/ExprDraw.h"
#include "formula/make/ExprClone.h"
#include "tests/formula_make/ParseHelpers.h"

#include <gtest/gtest.h>

namespace {

template <class T, class... A> PExpr Make(A &&...args) {
    return std::make_unique<T>(std::forward<A>(args)...);
}

PExpr Row(PExpr a, PExpr b) {
    a->SetNext(std::move(b));
    return a;
}

PExpr V(const char *t) {
    return Make<TExprVar>(t);
}

} // namespace

TEST(ExprDump, LeavesAndAttributes) {
    EXPECT_EQ(DumpExpr(Make<TExprClass>().get()), "(Class)");
    EXPECT_EQ(DumpExpr(Make<TExprSimple>(Cp("ф\"\\")).get()), "(Simple \"ф\\\"\\\\\")");
    EXPECT_EQ(DumpExpr(V("x").get()), "(Var \"x\")");
    EXPECT_EQ(DumpExpr(Make<TExprFuncName>("sin").get()), "(FuncName \"sin\")");
    EXPECT_EQ(DumpExpr(Make<TExprAsterix>().get()), "(Asterix)");
    EXPECT_EQ(DumpExpr(Make<TExprNumber>(6, false).get()), "(Number 6)");
    EXPECT_EQ(DumpExpr(Make<TExprNumber>(0.5, true).get()), "(Number 0.5 exp)");
    EXPECT_EQ(DumpExpr(Make<TExprNumber>(1e20, false).get()), "(Number 1e+20)");
    EXPECT_EQ(DumpExpr(Make<TExprNumber>(-0.25, false).get()), "(Number -0.25)");
    EXPECT_EQ(DumpExpr(Make<TExprExpNumber>(0.00012L, 3, 2, 1).get()), "(ExpNumber 0.00012 3 2 1)");
    EXPECT_EQ(DumpExpr(Make<TExprExtSymbol>(945).get()), "(ExtSymbol 945)");
    EXPECT_EQ(DumpExpr(Make<TExprSign>(8722).get()), "(Sign 8722)");
    EXPECT_EQ(DumpExpr(Make<TExprComma>().get()), "(Comma)");
    EXPECT_EQ(DumpExpr(Make<TExprPlank>().get()), "(Plank)");
    EXPECT_EQ(DumpExpr(Make<TExprLambda>().get()), "(Lambda)");
    EXPECT_EQ(DumpExpr(Make<TExprNabla>().get()), "(Nabla)");
    EXPECT_EQ(DumpExpr(Make<TExprSpace>(-7).get()), "(Space -7)");
    EXPECT_EQ(DumpExpr(Make<TExprStrokes>(2).get()), "(Strokes 2)");
    EXPECT_EQ(DumpExpr(Make<TExprEmpty>().get()), "(Empty)");
}

TEST(ExprDump, ContainersAndSlots) {
    EXPECT_EQ(DumpExpr(Make<TExprChain>(Row(V("a"), V("b"))).get()),
              "(Chain [(Var \"a\") (Var \"b\")])");
    EXPECT_EQ(DumpExpr(Make<TExprChain>().get()), "(Chain _)");
    EXPECT_EQ(DumpExpr(Make<TExprBracketed>(V("a"), ebSquare, ebNone).get()),
              "(Bracketed 2 0 [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprRound>(V("a")).get()), "(Round 1 1 [(Var \"a\")])");
    auto arg = std::make_unique<TExprArgument>(V("a"));
    EXPECT_EQ(DumpExpr(arg.get()), "(Argument 1 1 0 [(Var \"a\")])");
    arg->SetForceBrackets();
    arg->RemoveBrackets();
    EXPECT_EQ(DumpExpr(arg.get()), "(Argument 0 0 1 [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprBase>(V("a")).get()), "(Base 1 1 [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprRatio>(V("a"), V("b")).get()),
              "(Ratio [(Var \"a\")] [(Var \"b\")])");
    EXPECT_EQ(DumpExpr(Make<TExprRoot>(V("a"), nullptr).get()), "(Root [(Var \"a\")] _)");
    EXPECT_EQ(DumpExpr(Make<TExprIndex>(V("a"), nullptr, V("b")).get()),
              "(Index [(Var \"a\")] _ [(Var \"b\")])");
    EXPECT_EQ(DumpExpr(Make<TExprCommonFunc>(V("f"), V("x")).get()),
              "(CommonFunc [(Var \"f\")] [(Var \"x\")])");
    EXPECT_EQ(DumpExpr(Make<TExprFunc>("ln", V("x")).get()),
              "(Func [(FuncName \"ln\")] [(Var \"x\")])");
    EXPECT_EQ(DumpExpr(Make<TExprLim>(V("n")).get()), "(Lim [(Var \"n\")])");
    EXPECT_EQ(DumpExpr(Make<TExprAtValue>(V("f"), V("c")).get()),
              "(AtValue [(Var \"f\")] [(Var \"c\")])");
    EXPECT_EQ(DumpExpr(Make<TExprCap>(V("a"), ecTilde, 0).get()), "(Cap 3 0 [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprStand>(Row(V("a"), V("b")), 2).get()),
              "(Stand 2 [(Var \"a\") (Var \"b\")])");
    EXPECT_EQ(DumpExpr(Make<TExprMatrix>(V("a"), 3, 4).get()), "(Matrix 3 4 [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprCase>(V("a")).get()), "(Case [(Var \"a\")])");
    EXPECT_EQ(DumpExpr(Make<TExprSumma>(V("a"), nullptr, V("n")).get()),
              "(Summa [(Var \"a\")] _ [(Var \"n\")])");
    EXPECT_EQ(DumpExpr(Make<TExprProd>(V("a"), V("k"), nullptr).get()),
              "(Prod [(Var \"a\")] [(Var \"k\")] _)");
    EXPECT_EQ(DumpExpr(Make<TExprCirc>(V("a"), nullptr, nullptr).get()),
              "(Circ [(Var \"a\")] _ _)");
    EXPECT_EQ(DumpExpr(Make<TExprIntegral>(V("a"), nullptr, nullptr, 3).get()),
              "(Integral 3 [(Var \"a\")] _ _)");
}

TEST(ExprDump, NodeAloneOrWithItsSiblings) {
    PExpr row = Row(V("a"), Row(Make<TExprSign>(43), V("b")));
    EXPECT_EQ(DumpExpr(row.get()), "(Var \"a\")");
    EXPECT_EQ(DumpChain(row.get()), "(Var \"a\") (Sign 43) (Var \"b\")");
    EXPECT_EQ(DumpExpr(nullptr), "_");
}

TEST(ExprClone, CopiesAreEqualAndIndependent) {
    const char *formulas[] = {
        "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704",
        "(a+b)/(c+d)*#5",
        "f1(x)^2+Vect(sin(x))+Line(f2(y))",
        "Log!(2,x)*Lim!(x->0,f)*Func!(g,a,b)",
        "Root(3,x)+Sqrt(y)+Matrix(2,1,a,b)+Case(a,b)+System(a,b)+StandR(a,b)",
        "Summa(a)+Prod(a,b,c)+Circ(a)+Intm(3,a)+At(f,x)+Num(1.5,3,2,1)",
        "Nil+Empty+Plank+Asterix+Nabla+Plambda+Comma+Const+Space(3)+Strokes(x,2)+x```",
        "alpha(x)+Brackets([|,x)+String(a)+Angle(b)+Points(x,2)+Tilde(x)+Cap(x)",
    };
    for (const char *f : formulas) {
        TExprBuilder b;
        PExpr e = b.BuildExpr(Cp(f));
        PExpr c = CloneExpr(e.get());
        EXPECT_EQ(DumpChain(c.get()), DumpChain(e.get())) << f;
    }
    PExpr n = Row(Make<TExprNumber>(2, false), V("x"));
    PExpr c = CloneExpr(n.get());
    static_cast<TExprNumber *>(c.get())->SetValue(5);
    EXPECT_EQ(DumpChain(n.get()), "(Number 2) (Var \"x\")");
    EXPECT_EQ(DumpChain(c.get()), "(Number 5) (Var \"x\")");
    EXPECT_EQ(CloneExpr(nullptr), nullptr);
}
