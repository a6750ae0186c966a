// Keyword calls, strings and integer arguments, and the program's own formula texts.
#include "formula/draw/ExprParents.h"
#include "formula/make/ExprKeywords.h"
#include "tests/formula_make/ParseHelpers.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

const std::string X = "(Var \"x\")";
const std::string Y = "(Var \"y\")";
const std::string A = "(Var \"a\")";
const std::string B = "(Var \"b\")";
const std::string Plus = "(Sign 43)";
const std::string D = "(Var \"d\")";
const std::string Partial = "(ExtSymbol 8706)";
std::string Chain(const std::string &members) {
    return "(Chain [" + members + "])";
}
std::string Num(const std::string &v) {
    return "(Number " + v + ")";
}
std::string Pow(const std::string &base, const std::string &sup) {
    return "(Index [" + base + "] _ [" + sup + "])";
}
const std::string APlusB = A + " " + Plus + " " + B;

} // namespace

TEST(ExprKeywords, RootsPowersAndIndices) {
    EXPECT_EQ(Tree("Sqrt(a+b)"), "(Root [" + Chain(APlusB) + "] _)");
    EXPECT_EQ(Tree("Root(3,x)"), "(Root [" + X + "] [" + Num("3") + "])");
    EXPECT_EQ(Tree("Sqr(x)"), Pow(X, Num("2")));
    EXPECT_EQ(Tree("Sqr(x^2)"), Pow("(Bracketed 1 1 [" + Pow(X, Num("2")) + "])", Num("2")));
    EXPECT_EQ(Tree("Sqr(a+b)"), Pow("(Base 1 1 [" + APlusB + "])", Num("2")));
    EXPECT_EQ(Tree("Sqr(X_i)"), "(Index [(Var \"X\")] [(Var \"i\")] [" + Num("2") + "])");
    EXPECT_EQ(Tree("Pow(x, a+b)"), Pow(X, Chain(APlusB)));
    // Compound single bases get brackets: fractions and the results of Pow, Sqr, Strokes, Lim.
    EXPECT_EQ(Tree("Pow(a/b, 2)"),
              Pow("(Bracketed 1 1 [(Ratio [" + A + "] [" + B + "])])", Num("2")));
    EXPECT_EQ(Tree("Pow(Pow(x,2),3)"), Pow("(Bracketed 1 1 [" + Pow(X, Num("2")) + "])", Num("3")));
    EXPECT_EQ(Tree("Pow(Strokes(x),2)"),
              Pow("(Bracketed 1 1 [" + Pow(X, "(Strokes 1)") + "])", Num("2")));
    EXPECT_EQ(Tree("Pow(Lim(n,a),2)").substr(0, 33), "(Index [(Bracketed 1 1 [(CommonFu");
    EXPECT_EQ(Tree("Pow(Fact(n),2)"), Pow("(Base 1 1 [(Var \"n\") (Simple \"!\")])", Num("2")));
    // Not compound: a bracketed group keeps its own brackets, a function takes it on its name.
    EXPECT_EQ(Tree("Pow((a+b),2)"), Pow("(Argument 1 1 0 [" + APlusB + "])", Num("2")));
    EXPECT_EQ(Tree("Pow(sin(x),2)"), "(Func [" + Pow("(FuncName \"sin\")", Num("2")) +
                                         "] [(Argument 1 1 0 [" + X + "])])");
    EXPECT_EQ(Tree("Ind(x, i+1)"),
              "(Index [" + X + "] [" + Chain("(Var \"i\") " + Plus + " " + Num("1")) + "] _)");
    EXPECT_EQ(Tree("ind(X,i)^2"), "(Index [(Var \"X\")] [(Var \"i\")] [" + Num("2") + "])");
}

TEST(ExprKeywords, LogLimFuncAndAbs) {
    EXPECT_EQ(Tree("Log(2, x)"),
              "(CommonFunc [(Index [(FuncName \"Log\")] [" + Num("2") + "] _)] [" + X + "])");
    EXPECT_EQ(Tree("LOG!(2, x)"), "(CommonFunc [(Index [(FuncName \"LOG\")] [" + Num("2") +
                                      "] _)] [(Round 1 1 [" + X + "])])");
    EXPECT_EQ(Tree("Log!(2, a+b)"), "(CommonFunc [(Index [(FuncName \"Log\")] [" + Num("2") +
                                        "] _)] [(Argument 1 1 1 [" + APlusB + "])])");
    const std::string cond = Chain(X + " (Sign 8594) " + Num("0"));
    EXPECT_EQ(Tree("Lim(x->0, f)"), "(CommonFunc [(Lim [" + cond + "])] [(Var \"f\")])");
    EXPECT_EQ(Tree("Lim!(x->0, f)"),
              "(CommonFunc [(Lim [(Round 1 1 [" + cond + "])])] [(Var \"f\")])");
    EXPECT_EQ(Tree("Func(f, a, b)"),
              "(CommonFunc [(Var \"f\")] [(Argument 1 1 0 [" + A + " (Comma) " + B + "])])");
    EXPECT_EQ(Tree("Func!(g+h, x)"), "(CommonFunc [" +
                                         Chain("(Var \"g\") " + Plus + " (Var \"h\")") +
                                         "] [(Argument 1 1 1 [" + X + "])])");
    EXPECT_EQ(Error("Func(f)"), "Ожидается \",\" в позиции 7");
    EXPECT_EQ(Tree("Abs(a+b)"), "(Bracketed 4 4 [" + APlusB + "])");
    EXPECT_EQ(Tree("Abs(x)"), "(Bracketed 4 4 [" + X + "])");
}

TEST(ExprKeywords, Differentials) {
    EXPECT_EQ(Tree("Diff(x)"), Chain("(Space 4) " + D + " " + X));
    EXPECT_EQ(Tree("diff(x, 2)"), Chain("(Space 4) " + D + " " + Pow(X, Num("2"))));
    EXPECT_EQ(Tree("Pdiff(x)"), Chain("(Space 4) " + Partial + " " + X));
    EXPECT_EQ(Tree("Diff(a+b)"), Chain("(Space 4) " + D + " (Base 1 1 [" + APlusB + "])"));
    EXPECT_EQ(Tree("Diffn(x, 2)"), Chain("(Space 4) " + Pow(D, Num("2")) + " " + X));
    EXPECT_EQ(Tree("Pdiffn(x, n)"), Chain("(Space 4) " + Pow(Partial, "(Var \"n\")") + " " + X));
    EXPECT_EQ(Tree("Diffr(x)"), "(Ratio [" + D + "] [" + Chain(D + " " + X) + "])");
    // Numerator and denominator each own a copy of the degree.
    EXPECT_EQ(Tree("Diffr(x, 2)"),
              "(Ratio [" + Pow(D, Num("2")) + "] [" + Chain(D + " " + Pow(X, Num("2"))) + "])");
    EXPECT_EQ(Tree("Pdiffr(x, n+1)"),
              "(Ratio [" + Pow(Partial, Chain("(Var \"n\") " + Plus + " " + Num("1"))) + "] [" +
                  Chain(Partial + " " + Pow(X, Chain("(Var \"n\") " + Plus + " " + Num("1")))) +
                  "])");
    EXPECT_EQ(Tree("Diffrf(y, x)"),
              "(Ratio [" + Chain(D + " " + Y) + "] [" + Chain(D + " " + X) + "])");
    EXPECT_EQ(Tree("Diffrf(y,x,2)"), "(Ratio [" + Chain(Pow(D, Num("2")) + " " + Y) + "] [" +
                                         Chain(D + " " + Pow(X, Num("2"))) + "])");
    EXPECT_EQ(Tree("Pdiffrf(f, x)"), "(Ratio [" + Chain(Partial + " (Var \"f\")") + "] [" +
                                         Chain(Partial + " " + X) + "])");
    // Every nested degree doubles the tree: a bounded number of copies, then the formula is
    // too large (instead of a tree of 2^60 nodes).
    std::string nested = "x";
    for (int k = 0; k < 10; ++k)
        nested = "Diffr(x," + nested + ")";
    EXPECT_EQ(Tree(nested).substr(0, 7), "(Ratio ");
    for (int k = 10; k < 60; ++k)
        nested = "Diffr(x," + nested + ")";
    EXPECT_EQ(Error(nested), "Формула слишком велика");
}

TEST(ExprKeywords, PrimesFactorialsAccentsAndValueAt) {
    EXPECT_EQ(Tree("Strokes(f)"), Pow("(Var \"f\")", "(Strokes 1)"));
    EXPECT_EQ(Tree("Strokes(f, 3)"), Pow("(Var \"f\")", "(Strokes 3)"));
    EXPECT_EQ(Tree("Strokes(f,)"), Pow("(Var \"f\")", "(Strokes 0)"));
    EXPECT_EQ(Tree("Fact(n)"), Chain("(Var \"n\") (Simple \"!\")"));
    EXPECT_EQ(Tree("Fact(n+1)"),
              Chain("(Base 1 1 [(Var \"n\") " + Plus + " " + Num("1") + "]) (Simple \"!\")"));
    EXPECT_EQ(Tree("At(f(x), x=0)"), "(AtValue [(Func [(Var \"f\")] [(Argument 1 1 0 [" + X +
                                         "])])] [" + Chain(X + " (Sign 61) " + Num("0")) + "])");
    EXPECT_EQ(Tree("Line(x)"), "(Cap 4 0 [" + X + "])");
    EXPECT_EQ(Tree("Vect(x)"), "(Cap 1 0 [" + X + "])");
    EXPECT_EQ(Tree("Cap(x)"), "(Cap 2 0 [" + X + "])");
    EXPECT_EQ(Tree("Tilde(x)"), "(Cap 3 0 [" + X + "])");
    EXPECT_EQ(Tree("Points(x)"), "(Cap 0 1 [" + X + "])");
    EXPECT_EQ(Tree("Points(x, 3)"), "(Cap 0 3 [" + X + "])");
    EXPECT_EQ(Tree("Line(a+b)"), "(Cap 4 0 [" + Chain(APlusB) + "])");
}

TEST(ExprKeywords, StacksMatricesCasesAndSystems) {
    EXPECT_EQ(Tree("StandL(a, b+x)"),
              "(Stand 0 [" + A + " " + Chain(B + " " + Plus + " " + X) + "])");
    EXPECT_EQ(Tree("StandC(a)"), "(Stand 1 [" + A + "])");
    EXPECT_EQ(Tree("standr(a,b)"), "(Stand 2 [" + A + " " + B + "])");
    EXPECT_EQ(Tree("Matrix(2, 2, a, b, x, y)"),
              "(Matrix 2 2 [" + A + " " + B + " " + X + " " + Y + "])");
    EXPECT_EQ(Error("Matrix(3)"), "Ожидается \",\" в позиции 9");
    EXPECT_EQ(Tree("Case(x, x>0, -x, x<=0)"),
              "(Case [" + X + " " + Chain(X + " (Sign 62) " + Num("0")) + " " +
                  Chain("(Sign 8722) " + X) + " " + Chain(X + " (Sign 8804) " + Num("0")) + "])");
    EXPECT_EQ(Tree("System(x=1, y)"), "(Bracketed 3 0 [(Stand 0 [" +
                                          Chain(X + " (Sign 61) " + Num("1")) + " " + Y + "])])");
}

TEST(ExprKeywords, GroupOperators) {
    const std::string lower = Chain("(Var \"k\") (Sign 61) " + Num("1"));
    EXPECT_EQ(Tree("Summa(a)"), "(Summa [" + A + "] _ _)");
    EXPECT_EQ(Tree("Summa(a, k=1)"), "(Summa [" + A + "] [" + lower + "] _)");
    EXPECT_EQ(Tree("Prod(a, k=1, n)"), "(Prod [" + A + "] [" + lower + "] [(Var \"n\")])");
    EXPECT_EQ(Tree("Circ(a+b)"), "(Circ [(Argument 1 1 0 [" + APlusB + "])] _ _)");
    EXPECT_EQ(Tree("Summa!(a)"), "(Summa [(Round 1 1 [" + A + "])] _ _)");
    EXPECT_EQ(Tree("Prod!(a+b)"), "(Prod [(Argument 1 1 1 [" + APlusB + "])] _ _)");
    EXPECT_EQ(Tree("Int(f, 0, 1)"),
              "(Integral 1 [(Var \"f\")] [" + Num("0") + "] [" + Num("1") + "])");
    EXPECT_EQ(Tree("Intm(2, f, D)"), "(Integral 2 [(Var \"f\")] [(Var \"D\")] _)");
    EXPECT_EQ(Tree("Intm(0, f)"), "(Integral 0 [(Var \"f\")] _ _)");
}

TEST(ExprKeywords, SmallConstructs) {
    EXPECT_EQ(Tree("Space(8)"), "(Space 8)");
    EXPECT_EQ(Tree("Space()"), "(Space 0)");
    EXPECT_EQ(Tree("Space(-3)"), "(Space -3)");
    EXPECT_EQ(Tree("Space(+3)"), "(Space 3)");
    EXPECT_EQ(Error("Space(x)"), "Ожидается \")\" в позиции 7");
    // A sign without digits is no number: nothing is consumed.
    EXPECT_EQ(Error("Space(-)"), "Ожидается \")\" в позиции 7");
    EXPECT_EQ(Tree("Comma(3)"), Chain("(Comma) (Space 3)"));
    EXPECT_EQ(Tree("Symbol(8734)"), "(ExtSymbol 8734)");
    EXPECT_EQ(Tree("Angle(ABC)"), Chain("(Sign 12) (Simple \"ABC\")"));
    EXPECT_EQ(Tree("Brackets([), x)"), "(Bracketed 2 1 [" + X + "])");
    EXPECT_EQ(Tree("Brackets(0|, x)"), "(Bracketed 0 4 [" + X + "])");
    EXPECT_EQ(Tree("Brackets({}, a+b)"), "(Bracketed 3 3 [" + Chain(APlusB) + "])");
    EXPECT_EQ(Tree("Brackets(||,x)"), "(Bracketed 4 4 [" + X + "])");
    EXPECT_EQ(Error("Brackets((, x)"), "Ожидается знак закрывающей скобки в позиции 11");
    EXPECT_EQ(Error("Brackets(]), x)"), "Ожидается знак открывающей скобки в позиции 10");
    EXPECT_EQ(Error("Brackets(()x)"), "Ожидается \",\" в позиции 12");
    EXPECT_EQ(Error("Brackets(["), "Незавершённая строка");
    EXPECT_EQ(Error("Brackets("), "Ожидается знак открывающей скобки в позиции 10");
}

TEST(ExprKeywords, Num) {
    EXPECT_EQ(Tree("Num(12.5)"), "(ExpNumber 12.5 4 4 2)");
    EXPECT_EQ(Tree("Num(0.00012, 3)"), "(ExpNumber 0.00012 3 4 2)");
    EXPECT_EQ(Tree("Num(1e5, 3, 2, 1)"), "(ExpNumber 1e+05 3 2 1)");
    EXPECT_EQ(Tree("Num(-0.5)"), "(ExpNumber -0.5 4 4 2)");
    EXPECT_EQ(Error("Num(x)"), "Ожидается число в позиции 5");
    EXPECT_EQ(Error("Num(-x)"), "Ожидается число в позиции 5");
    EXPECT_EQ(Error("Num(1, )"), "Ожидается число в позиции 8");
    EXPECT_EQ(Error("Num(1, 2, x)"), "Ожидается число в позиции 11");
}

TEST(ExprKeywords, KeywordsAreCaseInsensitiveAndNeedTheirBracket) {
    EXPECT_EQ(Tree("SQRT(x)"), Tree("sqrt(x)"));
    EXPECT_EQ(Tree("sQr(x)"), Pow(X, Num("2")));
    EXPECT_EQ(Tree("Sqrt!(x)"), "(Root [" + X + "] _)");
    EXPECT_EQ(Tree("Space"), "(Var \"Space\")");
    EXPECT_EQ(Tree("Space2"), "(Index [(Var \"Space\")] [" + Num("2") + "] _)");
    // A keyword with digits is a general function with a subscript.
    EXPECT_EQ(Tree("Sqrt2(x)"), "(Func [(Index [(FuncName \"Sqrt\")] [" + Num("2") +
                                    "] _)] [(Argument 1 1 0 [" + X + "])])");
}

TEST(ExprKeywords, Strings) {
    EXPECT_EQ(Tree("String(,)"), "(Simple \",\")");
    EXPECT_EQ(Tree("String(;)"), "(Simple \";\")");
    EXPECT_EQ(Tree("String()"), "(Simple \"\")");
    EXPECT_EQ(Tree("String(\" - прирост\")"), "(Simple \" - прирост\")");
    EXPECT_EQ(Tree("String(\"a\"\"b\")"), "(Simple \"a\\\"b\")");
    EXPECT_EQ(Tree("String(\"\")"), "(Simple \"\")");
    EXPECT_EQ(Tree("String(\"\"\"\")"), "(Simple \"\\\"\")");
    // Unquoted, quotes are ordinary characters and a closing bracket ends the text.
    EXPECT_EQ(Tree("String(a\"b)"), "(Simple \"a\\\"b\")");
    EXPECT_EQ(Tree("String(\"a)b\")"), "(Simple \"a)b\")");
    EXPECT_EQ(Tree("String(a\\b)"), "(Simple \"a\\\\b\")");
    EXPECT_EQ(Error("String(abc"), "Незавершённая строка");
    EXPECT_EQ(Error("String(\"abc)"), "Незавершённая строка");
    EXPECT_EQ(Error("String(\"abc\"x)"), "Ожидается \")\" в позиции 13");
    EXPECT_EQ(Error("String(\""), "Незавершённая строка");
    EXPECT_EQ(Tree("Angle(\"A B\")"), Chain("(Sign 12) (Simple \"A B\")"));
}

TEST(ExprKeywords, StringsShowWhatWasTyped) {
    EXPECT_EQ(Tree("String(a<=b)"), "(Simple \"a<=b\")");
    EXPECT_EQ(Tree("String(\"x -> y ... z\")"), "(Simple \"x -> y ... z\")");
    EXPECT_EQ(Tree("String(a & b)"), "(Simple \"a & b\")");
    EXPECT_EQ(Tree("String(k*.x**y!(z)"), "(Simple \"k*.x**y!(z\")");
    EXPECT_EQ(Tree("a<=b&String(<>)&c"),
              Chain(A + " (Sign 8804) " + B + " (Simple \"<>\") (Var \"c\")"));
    EXPECT_EQ(Tree("Angle(~~)"), Chain("(Sign 12) (Simple \"~~\")"));
}

TEST(ExprKeywords, NumbersThatDoNotFitAreRefused) {
    EXPECT_EQ(Tree("Space(2147483647)"), "(Space 2147483647)");
    EXPECT_EQ(Tree("Space(-2147483648)"), "(Space -2147483648)");
    EXPECT_EQ(Error("Space(2147483648)"), "Число вне допустимого диапазона в позиции 7");
    EXPECT_EQ(Error("Matrix(2,99999999999,a)"), "Число вне допустимого диапазона в позиции 10");
    EXPECT_EQ(Tree("x2147483647"), "(Index [" + X + "] [" + Num("2147483647") + "] _)");
    EXPECT_EQ(Error("x2147483648"), "Число вне допустимого диапазона в позиции 2");
    EXPECT_EQ(Tree("x" + std::string(300, '0') + "7"), "(Index [" + X + "] [" + Num("7") + "] _)");
    EXPECT_EQ(Error("Space(" + std::string(256, '0') + ")"),
              "Число длиннее 255 знаков в позиции 7");
    EXPECT_EQ(Tree("Space(" + std::string(254, '0') + "1)"), "(Space 1)");
    EXPECT_EQ(Error("f" + std::string(256, '1') + "(x)"), "Число длиннее 255 знаков в позиции 2");
    // A code the symbol cannot hold would show another character.
    EXPECT_EQ(Error("Symbol(65536)"), "Число вне допустимого диапазона в позиции 8");
    EXPECT_EQ(Error("Symbol(-1)"), "Число вне допустимого диапазона в позиции 8");
    EXPECT_EQ(Tree("Symbol(65535)"), "(ExtSymbol 65535)");
}

TEST(ExprKeywords, ReportExamplesHaveTheDocumentedShape) {
    const std::string dX = Chain("(Space 4) " + D + " (Var \"X\")");
    const std::string dt = Chain("(Space 4) " + D + " (Var \"t\")");
    const std::string Xi = "(Index [(Var \"X\")] [(Var \"i\")] _)";
    EXPECT_EQ(Tree("diff(X)/diff(t)=k*.X_i"),
              Chain("(Ratio [" + dX + "] [" + dt + "]) (Sign 61) (Var \"k\") (Sign 183) " + Xi));
    const std::string sum =
        "(Summa [(Index [(Var \"k\")] [(Argument 0 0 0 [(Var \"i\") (Sign 8722) " + Num("1") +
        " (Simple \",\") (Var \"i\")])] _)] [" + Chain("(Var \"i\") (Sign 61) " + Num("2")) +
        "] [" + Num("10") + "])";
    EXPECT_EQ(Tree("k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704"),
              Chain("(Var \"k\") (Sign 61) (Ratio [" + sum + "] [" + Num("9") + "]) (Sign 61) " +
                    Num("0.4704")));
    const std::string kdt = "(Var \"k\") (Space 4) " + D + " (Var \"t\")";
    EXPECT_EQ(Tree("ind(X,i+1)=(1-k*diff(t))*.X_i+k*.S*.diff(t)"),
              Chain("(Index [(Var \"X\")] [" + Chain("(Var \"i\") " + Plus + " " + Num("1")) +
                    "] _) (Sign 61) (Argument 1 1 0 [" + Num("1") + " (Sign 8722) " + kdt +
                    "]) (Sign 183) " + Xi + " " + Plus +
                    " (Var \"k\") (Sign 183) (Var \"S\") (Sign 183) (Space 4) " + D +
                    " (Var \"t\")"));
    // "+-" of a negative number after a plus is read as the plus-minus sign.
    EXPECT_EQ(Tree("X_1=(1--2.7114*.0.25)*.841+-2.7114*.1000*.0.25=908.8522")
                      .find("(Sign 5) " + Num("2.7114")) != std::string::npos,
              true);
    EXPECT_EQ(Tree("X_22=(1--2.7114)*.-1.23456789012346E15+-2.7114*.1000=-4.58E15")
                      .find(Num("1234567890123460")) != std::string::npos,
              true);
}

TEST(ExprKeywords, EveryFormulaOfTheProgramParses) {
    const char *formulas[] = {
        // The formulas page.
        "diff(X)/diff(t)=k*.X_i",
        "diff(X)&String(\" - прирост численности популяции за период времени\")&diff(t)&String(;)",
        "k&Space(14)&String(\" - коэффициент, учитывающий скорость процесса нарастания "
        "численности;\")",
        "X_i&Space(8)&String(\" - общая численность популяции на данный момент времени;\")",
        "X_(i+1)=X_i+diff(x)",
        "k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))",
        "diff(x)/diff(t)=k*.(S-X_i)",
        "S&Space(14)&String(\" - максимально возможная численность популяции в данной среде "
        "обитания;\")",
        "k=(ind(X,i+1)-ind(X,i))/((S-ind(X,i))*.diff(t))",
        // The coefficient page.
        "k_(1&String(\",\")&2)=(504-8)/((1000-8)*.1)=0.5",
        "k_(9&String(\",\")&10)=(997-996)/((1000-996)*.1)=0.25",
        "k_(1&String(\",\")&2)=(24-16)/(16*.1)=0.5",
        "k_(8&String(\",\")&9)=(939-998)/((1000-998)*.1)=-29.5",
        "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704",
        "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=-2.7114",
        "diff(x)/diff(t)=0.4704*.!(1000-x)",
        "diff(x)/diff(t)=0.5008*.x",
        // The week page.
        "diff(t)=1/4",
        "diff(X)=ind(X,i+1)-X_i",
        "(X_(i+1)-X_i)/diff(t)=k*.(S-X_i)",
        "(X_(i+1)-X_i)/diff(t)=k*.X_i",
        "ind(X,i+1)=(1-k*diff(t))*.X_i+k*.S*.diff(t)",
        "ind(X,i+1)=X_i*.(1+k*.dt)",
        "X_0=752",
        "X_1=(1-0.4704*.0.25)*.752+0.4704*.1000*.0.25=781.1667",
        "X_8=(1-0.4704*.0.25)*.897.3829+0.4704*.1000*.0.25=908.8522",
        "X_1=36*.(1+0.5008*.0.25)=40.5071",
        "X_1=(1--2.7114*.0.25)*.841+-2.7114*.1000*.0.25=-40.6421",
        // The two-year and three-year pages.
        "X_0=8",
        "X_1=(1-0.4704)*.8+0.4704*.1000=474.6667",
        "X_1=16*.(1+0.5008)=24.0126",
        "X_1=8",
        "X_36=(1-0.4704)*.999.9999+0.4704*.1000=1000",
        "X_22=(1--2.7114)*.-1.23456789012346E15+-2.7114*.1000=-4.58165458617455E15",
    };
    for (const char *f : formulas)
        EXPECT_EQ(Error(f).substr(0, 7), "parsed:") << f;
}

// The cells of a matrix are required like the other arguments that are not optional: a missing
// comma is the "," error at its position.
TEST(ExprKeywords, MatrixCellsAreRequired) {
    EXPECT_EQ(Error("Matrix(3,1)"), "Ожидается \",\" в позиции 11");
    EXPECT_EQ(Error("Matrix(2, 2)"), "Ожидается \",\" в позиции 12");
    EXPECT_EQ(Tree("Matrix(1,1,a)"), "(Matrix 1 1 [" + A + "])");
}

// A factor made by the prefix "_" is not compound, like any accent: used as a base it gets no
// round brackets, whatever stands under the arrow.
TEST(ExprKeywords, ArrowedFactorIsNotCompound) {
    const std::string arrowedPow = "(Cap 1 0 [" + Pow(X, Num("2")) + "])";
    EXPECT_EQ(Tree("Sqr(_x^2)"), Pow(arrowedPow, Num("2")));
    EXPECT_EQ(Tree("Diff(_Pow(x,2))"), Chain("(Space 4) " + D + " " + arrowedPow));
    // Without the arrow the same factors are compound and bracketed.
    EXPECT_EQ(Tree("Sqr(x^2)"), Pow("(Bracketed 1 1 [" + Pow(X, Num("2")) + "])", Num("2")));
}

// Each keyword called with its required arguments builds a node of the class its table row
// names: the call's result, or a member of the row it returns.
TEST(ExprKeywords, EveryKeywordBuildsTheClassItsRowNames) {
    for (const TKeyword &k : AllKeywords()) {
        std::string call = std::string(k.Name) + "(";
        for (char s : k.Shape.substr(0, k.Shape.find_first_of("[{"))) {
            switch (s) {
            case 'i':
            case 'I':
            case 'N':
                call += "2";
                break;
            case 'K':
                call += "()";
                break;
            case ',':
                call += ",";
                break;
            default: // a list or a string
                call += "y";
            }
        }
        TExprBuilder b;
        const PExpr e = b.BuildExpr(call + ")");
        const TExprClass &root = *e;
        const TExprClass *m = typeid(root) == typeid(TExprChain)
                                  ? static_cast<const TExprChain &>(root).Son()
                                  : &root;
        while (m && typeid(*m) != *k.Builds)
            m = m->Next();
        EXPECT_NE(m, nullptr) << call << ") builds " << DumpExpr(e.get());
    }
}
