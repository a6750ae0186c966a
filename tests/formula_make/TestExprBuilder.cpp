// The expression builder: grammar levels, products and fractions, factors and their postfix
// operators, and the error messages with their positions. Trees are compared as tree dumps.
#include "tests/formula_make/ParseHelpers.h"

#include <gtest/gtest.h>

namespace {

const std::string X = "(Var \"x\")";
const std::string A = "(Var \"a\")";
const std::string B = "(Var \"b\")";
const std::string Plus = "(Sign 43)";
const std::string Minus = "(Sign 8722)";
const std::string Dot = "(Sign 183)";
const std::string Eq = "(Sign 61)";
std::string Chain(const std::string &members) {
    return "(Chain [" + members + "])";
}
std::string Arg(const std::string &members, int kinds = 1) {
    const std::string k = std::to_string(kinds);
    return "(Argument " + k + " " + k + " 0 [" + members + "])";
}
std::string Num(const std::string &v) {
    return "(Number " + v + ")";
}

} // namespace

TEST(ExprBuilder, ListsJoinItemsAndCommasOnlyWhereAllowed) {
    EXPECT_EQ(Tree("a&b"), Chain(A + " " + B));
    EXPECT_EQ(Tree("a & b"), Chain(A + " " + B));
    // At the top level a comma is drawn with a 7-unit space after it; blanks after it are passed.
    EXPECT_EQ(Tree("a,  b"), Chain(A + " (Comma) (Space 7) " + B));
    EXPECT_EQ(Tree("!(a, b)"), "(Round 1 1 [" + A + " (Comma) (Space 7) " + B + "])");
    EXPECT_EQ(Tree("[a,b]"), "(Bracketed 2 2 [" + A + " (Comma) (Space 7) " + B + "])");
    EXPECT_EQ(Tree("{a,b}"), "(Bracketed 3 3 [" + A + " (Comma) (Space 7) " + B + "])");
    EXPECT_EQ(Tree("|a,b|"), "(Bracketed 4 4 [" + A + " (Comma) (Space 7) " + B + "])");
    EXPECT_EQ(Error("(a, b)"), "Ожидается \")\" в позиции 3");
    EXPECT_EQ(Error("Sqrt(a, b)"), "Ожидается \")\" в позиции 7");
    // A single item in round brackets is bare; several make an argument node.
    EXPECT_EQ(Tree("(x)"), X);
    EXPECT_EQ(Tree("((x))"), X);
    EXPECT_EQ(Tree("(a&b)"), Arg(A + " " + B));
    EXPECT_EQ(Tree("!(x)"), "(Round 1 1 [" + X + "])");
}

TEST(ExprBuilder, BlanksEndItems) {
    EXPECT_EQ(Tree("a+b c"), Chain(A + " " + Plus + " " + B));
    EXPECT_EQ(Tree("a)b"), A);
    EXPECT_EQ(Error("(a b)"), "Ожидается \")\" в позиции 3");
    // Positions count the normalized text: "<=" is one character there.
    EXPECT_EQ(Error("(a<=b c)"), "Ожидается \")\" в позиции 5");
    EXPECT_EQ(Error("a+ b"), "Недопустимый символ в позиции 3");
    // Blanks after a comma are passed, but never the last typed one before the appended blank.
    EXPECT_EQ(Error("a,  "), "Недопустимый символ в позиции 4");
}

TEST(ExprBuilder, RelationsAndSumsMakeOneRow) {
    EXPECT_EQ(Tree("a=b<x"), Chain(A + " " + Eq + " " + B + " (Sign 60) " + X));
    const struct {
        const char *text;
        int code;
    } relations[] = {{"<>", 8800}, {">=", 8805}, {"<=", 8804}, {">>", 2}, {"<<", 1},
                     {"->", 8594}, {"~~", 8776}, {"==", 8801}, {">~", 4}, {"<~", 3},
                     {"=~", 7},    {">", 62},    {"~", 126}};
    for (const auto &r : relations)
        EXPECT_EQ(Tree(std::string("a") + r.text + "b"),
                  Chain(A + " (Sign " + std::to_string(r.code) + ") " + B))
            << r.text;
    EXPECT_EQ(Tree("a+b-x+-a-+b"), Chain(A + " " + Plus + " " + B + " " + Minus + " " + X +
                                         " (Sign 5) " + A + " (Sign 6) " + B));
    // "--" is no pair: a binary minus and a prefix minus.
    EXPECT_EQ(Tree("1--2"), Chain(Num("1") + " " + Minus + " " + Minus + " " + Num("2")));
}

TEST(ExprBuilder, ProductsJoinFactorsAsAMathematicianWrites) {
    EXPECT_EQ(Tree("a*b"), Chain(A + " " + B));
    // A number moves in front and numbers are multiplied out.
    EXPECT_EQ(Tree("x*2"), Chain(Num("2") + " " + X));
    EXPECT_EQ(Tree("2*3"), Num("6"));
    EXPECT_EQ(Tree("2*x*3"), Chain(Num("6") + " " + X));
    EXPECT_EQ(Tree("2*3*x"), Chain(Num("6") + " " + X));
    EXPECT_EQ(Tree("2*-3"), Chain(Minus + " " + Num("6")));
    // In extended precision 0.1 * 3 is 0.3 (in double it would be 0.30000000000000004).
    EXPECT_EQ(Tree("0.1*3"), Num("0.3"));
    EXPECT_EQ(Tree("a*-b"), Chain(Minus + " " + B + " " + A));
    EXPECT_EQ(Tree("x*(a+b)"), Chain(X + " " + Arg(A + " " + Plus + " " + B)));
    EXPECT_EQ(Tree("(a+b)*(c+d)"), Chain(Arg(A + " " + Plus + " " + B) + " " +
                                         Arg("(Var \"c\") " + Plus + " (Var \"d\")")));
    const std::string sinx = "(Func [(FuncName \"sin\")] [" + Arg(X) + "])";
    // A factor that joins on both sides goes into the first gap that takes it.
    EXPECT_EQ(Tree("2*sin(x)*a"), Chain(Num("2") + " " + A + " " + sinx));
    // No gap: a middle dot.
    EXPECT_EQ(Tree("-sin(x)*a"), Chain(Minus + " " + sinx + " " + Dot + " " + A));
    EXPECT_EQ(Tree("sin(x)*sin(x)"), Chain(sinx + " " + Dot + " " + sinx));
}

TEST(ExprBuilder, ExplicitProductSigns) {
    EXPECT_EQ(Tree("a*.b"), Chain(A + " " + Dot + " " + B));
    EXPECT_EQ(Tree("a*+b"), Chain(A + " (Sign 215) " + B));
    EXPECT_EQ(Tree("a/+b"), Chain(A + " (Sign 247) " + B));
    EXPECT_EQ(Tree("a//b"), Chain(A + " (Sign 47) " + B));
    // "**" joins without a sign and without reordering or multiplying.
    EXPECT_EQ(Tree("x**2"), Chain(X + " " + Num("2")));
    EXPECT_EQ(Tree("2**3"), Chain(Num("2") + " " + Num("3")));
    EXPECT_EQ(Tree("2*.3"), Chain(Num("2") + " " + Dot + " " + Num("3")));
}

TEST(ExprBuilder, FractionsSpanTheWholeProduct) {
    EXPECT_EQ(Tree("a/b"), "(Ratio [" + A + "] [" + B + "])");
    EXPECT_EQ(Tree("a/b/c"), "(Ratio [" + A + "] [" + Chain(B + " (Var \"c\")") + "])");
    EXPECT_EQ(Tree("a/b*c"), "(Ratio [" + Chain(A + " (Var \"c\")") + "] [" + B + "])");
    EXPECT_EQ(Tree("2/x*3"), "(Ratio [" + Num("6") + "] [" + X + "])");
    // Round brackets that only group a side are dropped; drawn brackets stay.
    EXPECT_EQ(Tree("(a+b)/(a-b)"), "(Ratio [" + Arg(A + " " + Plus + " " + B, 0) + "] [" +
                                       Arg(A + " " + Minus + " " + B, 0) + "])");
    EXPECT_EQ(Tree("!(a+b)/x"),
              "(Ratio [(Round 1 1 [" + A + " " + Plus + " " + B + "])] [" + X + "])");
    EXPECT_EQ(Tree("[a+b]/x"),
              "(Ratio [(Bracketed 2 2 [" + A + " " + Plus + " " + B + "])] [" + X + "])");
    // A bracketed base with a power keeps its brackets: the power belongs to the group.
    EXPECT_EQ(Tree("(a+b)^2/x"), "(Ratio [(Index [(Bracketed 1 1 [" + A + " " + Plus + " " + B +
                                     "])] _ [" + Num("2") + "])] [" + X + "])");
}

TEST(ExprBuilder, NumberLiterals) {
    EXPECT_EQ(Tree("12.5"), Num("12.5"));
    EXPECT_EQ(Tree("1e20"), Num("1e+20"));
    EXPECT_EQ(Tree("2.5E-3"), Num("0.0025"));
    EXPECT_EQ(Tree("#5"), "(Number 5 exp)");
    EXPECT_EQ(Tree("#1.5e3"), "(Number 1500 exp)");
    // A point or exponent letter without digits is not part of the number: it ends the item.
    EXPECT_EQ(Tree("2.x"), Num("2"));
    EXPECT_EQ(Tree("2e"), Num("2"));
    EXPECT_EQ(Tree("2e+x"), Num("2"));
    EXPECT_EQ(Error("#x"), "Ожидается цифра в позиции 2");
    EXPECT_EQ(Error("#-1"), "Ожидается цифра в позиции 2");
    // At most 255 characters, an exponent that would begin at the limit included.
    EXPECT_EQ(Tree("1" + std::string(254, '0') + "*0"), Num("0"));
    EXPECT_EQ(Tree("1" + std::string(251, '0') + "e+0*0"), Num("0"));
    EXPECT_EQ(Error("x+1" + std::string(255, '0')), "Число длиннее 255 знаков в позиции 3");
    EXPECT_EQ(Error("1" + std::string(253, '0') + "e+5"), "Число длиннее 255 знаков в позиции 1");
    EXPECT_EQ(Error(std::string(1 << 20, '7')), "Число длиннее 255 знаков в позиции 1");
    // Beyond the extended range a literal would read as an infinity.
    EXPECT_EQ(Error("x=1e99999"), "Число вне допустимого диапазона в позиции 3");
    EXPECT_EQ(Error("Num(-1e5000)"), "Число вне допустимого диапазона в позиции 5");
    EXPECT_EQ(Tree("1e4000*0"), Num("0"));
}

TEST(ExprBuilder, TextsOverTheLimitAreRefusedBeforeBuilding) {
    const std::string longest = std::string(TExprBuilder::MaxFormulaLength - 1, '(') + ")";
    EXPECT_EQ(Error(longest + "x"), "Формула слишком велика");
    // At the limit the text is read: here the nesting stops it.
    EXPECT_EQ(Error(longest), "Слишком глубокая вложенность в позиции 257");
    // A shorter text can still ask for too many nodes.
    std::string sum = "a";
    while (sum.size() < 2 * TExprBuilder::MaxNodes)
        sum += "+a";
    EXPECT_EQ(Error(sum), "Формула слишком велика");
    EXPECT_EQ(Tree(sum.substr(0, TExprBuilder::MaxNodes / 2 + 1)).substr(0, 7), "(Chain ");
    // A node per "!" and no factor between them: the run counts against the budget as well.
    EXPECT_EQ(Error("x" + std::string(TExprBuilder::MaxFormulaLength - 1, '!')),
              "Формула слишком велика");
}

TEST(ExprBuilder, PrefixOperators) {
    EXPECT_EQ(Tree("-x"), Chain(Minus + " " + X));
    EXPECT_EQ(Tree("+-x"), Chain("(Sign 5) " + X));
    EXPECT_EQ(Tree("--x"), Chain(Minus + " " + Minus + " " + X));
    // The operand keeps its postfix operators.
    EXPECT_EQ(Tree("-x^2"), Chain(Minus + " (Index [" + X + "] _ [" + Num("2") + "])"));
    EXPECT_EQ(Tree("_x"), "(Cap 1 0 [" + X + "])");
    EXPECT_EQ(Tree("..."), "(ExtSymbol 8230)");
    EXPECT_EQ(Tree("a+...+b"), Chain(A + " " + Plus + " (ExtSymbol 8230) " + Plus + " " + B));
}

TEST(ExprBuilder, PostfixOperators) {
    EXPECT_EQ(Tree("x!"), Chain(X + " (Simple \"!\")"));
    EXPECT_EQ(Tree("x!!"), Chain(X + " (Simple \"!\") (Simple \"!\")"));
    EXPECT_EQ(Tree("(a+b)!"),
              Chain("(Bracketed 1 1 [" + A + " " + Plus + " " + B + "]) (Simple \"!\")"));
    EXPECT_EQ(Tree("x^2"), "(Index [" + X + "] _ [" + Num("2") + "])");
    // The exponent takes the postfix operators after it.
    EXPECT_EQ(Tree("x^2^3"),
              "(Index [" + X + "] _ [(Index [" + Num("2") + "] _ [" + Num("3") + "])])");
    EXPECT_EQ(Tree("x^2_i"), "(Index [" + X + "] _ [(Index [" + Num("2") + "] [(Var \"i\")] _)])");
    // An index takes none: both scripts land on the same base.
    EXPECT_EQ(Tree("X_i^2"), "(Index [(Var \"X\")] [(Var \"i\")] [" + Num("2") + "])");
    EXPECT_EQ(Tree("x_i!"), Chain("(Index [" + X + "] [(Var \"i\")] _) (Simple \"!\")"));
    EXPECT_EQ(Error("x_(i^2)"), "Ожидается \")\" в позиции 5");
    EXPECT_EQ(Error("x_f(i^2)"), "Ожидается \")\" в позиции 6");
    // Bracket groups as scripts lose their brackets.
    EXPECT_EQ(Tree("x^(a+b)"), "(Index [" + X + "] _ [" + Arg(A + " " + Plus + " " + B, 0) + "])");
    EXPECT_EQ(Tree("k_(i-1&String(,)&i)"),
              "(Index [(Var \"k\")] [" +
                  Arg("(Var \"i\") " + Minus + " " + Num("1") + " (Simple \",\") (Var \"i\")", 0) +
                  "] _)");
    EXPECT_EQ(Tree("(a+b)^2"),
              "(Index [(Bracketed 1 1 [" + A + " " + Plus + " " + B + "])] _ [" + Num("2") + "])");
    EXPECT_EQ(Tree("x`"), "(Index [" + X + "] _ [(Strokes 1)])");
    EXPECT_EQ(Tree("x```"), "(Index [" + X + "] _ [(Strokes 3)])");
    EXPECT_EQ(Tree("x_1`"), "(Index [" + X + "] [" + Num("1") + "] [(Strokes 1)])");
    // A second subscript goes round the whole index.
    EXPECT_EQ(Tree("x_1_2"),
              "(Index [(Index [" + X + "] [" + Num("1") + "] _)] [" + Num("2") + "] _)");
}

TEST(ExprBuilder, ScriptsOnFunctionsGoOnTheName) {
    const std::string argx = "[" + Arg(X) + "]";
    EXPECT_EQ(Tree("f(x)^2"), "(Func [(Index [(Var \"f\")] _ [" + Num("2") + "])] " + argx + ")");
    EXPECT_EQ(Tree("f(x)_1"), "(Func [(Index [(Var \"f\")] [" + Num("1") + "] _)] " + argx + ")");
    EXPECT_EQ(Tree("f(x)^2^3"), "(Func [(Index [(Var \"f\")] _ [(Index [" + Num("2") + "] _ [" +
                                    Num("3") + "])])] " + argx + ")");
    EXPECT_EQ(Tree("f(x)_1^2"),
              "(Func [(Index [(Var \"f\")] [" + Num("1") + "] [" + Num("2") + "])] " + argx + ")");
    // A name that already carries a superscript: the next one goes round the whole function.
    EXPECT_EQ(Tree("Strokes(f(x))^2"), "(Index [(Func [(Index [(Var \"f\")] _ [(Strokes 1)])] " +
                                           argx + ")] _ [" + Num("2") + "])");
    // Digits of the name are a subscript: the power joins them.
    EXPECT_EQ(Tree("f2(x)^3"),
              "(Func [(Index [(Var \"f\")] [" + Num("2") + "] [" + Num("3") + "])] " + argx + ")");
    EXPECT_EQ(Tree("Pow(f(x)^2,3)"), "(Index [(Bracketed 1 1 [(Func [(Index [(Var \"f\")] _ [" +
                                         Num("2") + "])] " + argx + ")])] _ [" + Num("3") + "])");
}

TEST(ExprBuilder, AccentsGoOnTheLetter) {
    EXPECT_EQ(Tree("Vect(a_i)"), "(Index [(Cap 1 0 [" + A + "])] [(Var \"i\")] _)");
    EXPECT_EQ(Tree("Vect(a^2)"), "(Cap 1 0 [(Index [" + A + "] _ [" + Num("2") + "])])");
    EXPECT_EQ(Tree("Vect(sin(x))"), "(Func [(Cap 1 0 [(FuncName \"sin\")])] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("Line(f1(x))"),
              "(Func [(Index [(Cap 4 0 [(Var \"f\")])] [" + Num("1") + "] _)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("_a_i"), "(Index [(Cap 1 0 [" + A + "])] [(Var \"i\")] _)");
}

TEST(ExprBuilder, BracketsThatAreDrawnStay) {
    // Bars, square and curly brackets and always-drawn round brackets keep their kind under a
    // script or a factorial.
    EXPECT_EQ(Tree("|a+b|^2"),
              "(Index [(Bracketed 4 4 [" + A + " " + Plus + " " + B + "])] _ [" + Num("2") + "])");
    EXPECT_EQ(Tree("[a+b]!"),
              Chain("(Bracketed 2 2 [" + A + " " + Plus + " " + B + "]) (Simple \"!\")"));
    EXPECT_EQ(Tree("{a,b}`"),
              "(Index [(Bracketed 3 3 [" + A + " (Comma) (Space 7) " + B + "])] _ [(Strokes 1)])");
    EXPECT_EQ(Tree("!(a+b)^2"),
              "(Index [(Round 1 1 [" + A + " " + Plus + " " + B + "])] _ [" + Num("2") + "])");
    EXPECT_EQ(Tree("Abs(a+b)_1"),
              "(Index [(Bracketed 4 4 [" + A + " " + Plus + " " + B + "])] [" + Num("1") + "] _)");
    // A base of several nodes becomes visible round brackets; what followed it stays.
    EXPECT_EQ(Tree("Fact((a+b))!"), Chain("(Bracketed 1 1 [" + A + " " + Plus + " " + B +
                                          "]) (Simple \"!\") (Simple \"!\")"));
    EXPECT_EQ(Tree("Sqr(a+b)^3"), "(Index [(Index [(Base 1 1 [" + A + " " + Plus + " " + B +
                                      "])] _ [" + Num("2") + "])] _ [" + Num("3") + "])");
}

TEST(ExprBuilder, RowsUnderAScriptAreKeptWhole) {
    // A script or accent measures one node: a row of several is put in one chain node first,
    // so no member is lost.
    EXPECT_EQ(Tree("x^-1"), "(Index [" + X + "] _ [" + Chain(Minus + " " + Num("1")) + "])");
    EXPECT_EQ(Tree("x_-1"), "(Index [" + X + "] [" + Chain(Minus + " " + Num("1")) + "] _)");
    EXPECT_EQ(Tree("Diff(x)^2"),
              "(Index [(Bracketed 1 1 [(Space 4) (Var \"d\") " + X + "])] _ [" + Num("2") + "])");
    EXPECT_EQ(Tree("x!^2"),
              "(Index [(Bracketed 1 1 [" + X + " (Simple \"!\")])] _ [" + Num("2") + "])");
    EXPECT_EQ(Tree("_-x"), "(Cap 1 0 [" + Chain(Minus + " " + X) + "])");
    EXPECT_EQ(Tree("Const1"),
              "(Index [" + Chain("(Simple \"Const\") (Space 3)") + "] [" + Num("1") + "] _)");
}

TEST(ExprBuilder, NamesDigitsAndGreek) {
    EXPECT_EQ(Tree("x1"), "(Index [" + X + "] [" + Num("1") + "] _)");
    EXPECT_EQ(Tree("X12"), "(Index [(Var \"X\")] [" + Num("12") + "] _)");
    EXPECT_EQ(Tree("ab2c"), "(Var \"ab2c\")");
    EXPECT_EQ(Tree("alpha2"), "(Index [(ExtSymbol 945)] [" + Num("2") + "] _)");
    EXPECT_EQ(Tree("Sqrt"), "(Var \"Sqrt\")");
    EXPECT_EQ(Tree("x_y"), "(Index [" + X + "] [(Var \"y\")] _)");
    // Cyrillic names are upright text; a Latin first letter makes a variable.
    EXPECT_EQ(Tree("Скорость"), "(Simple \"Скорость\")");
    EXPECT_EQ(Tree("vЁж"), "(Var \"vЁж\")");
    EXPECT_EQ(Tree("ёж2"), "(Index [(Simple \"ёж\")] [" + Num("2") + "] _)");

    const char *greek[] = {"alpha", "beta",    "gamma",   "delta", "epsilon", "zeta",
                           "eta",   "theta",   "iota",    "kappa", "lambda",  "mu",
                           "nu",    "xi",      "omicron", "pi",    "rho",     "sigma",
                           "tau",   "upsilon", "phi",     "chi",   "psi",     "omega"};
    for (int k = 0; k < 24; ++k) {
        const int capital = 913 + k + (k >= 17 ? 1 : 0);
        std::string upper = greek[k];
        for (char &c : upper)
            c = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(Tree(greek[k]), "(ExtSymbol " + std::to_string(capital + 32) + ")") << greek[k];
        EXPECT_EQ(Tree(upper), "(ExtSymbol " + std::to_string(capital) + ")") << upper;
        EXPECT_EQ(GreekCode(Cp(greek[k])), capital + 32);
    }
    EXPECT_EQ(Tree("Omega"), "(ExtSymbol 937)");
    EXPECT_EQ(Tree("oMEGA"), "(ExtSymbol 969)");
    EXPECT_EQ(Tree("sigma"), "(ExtSymbol 963)");
    EXPECT_EQ(Tree("alph"), "(Var \"alph\")");
}

TEST(ExprBuilder, SymbolNames) {
    EXPECT_EQ(Tree("plambda"), "(Lambda)");
    EXPECT_EQ(Tree("Nabla"), "(Nabla)");
    EXPECT_EQ(Tree("inf"), "(ExtSymbol 8734)");
    EXPECT_EQ(Tree("Plank"), "(Plank)");
    EXPECT_EQ(Tree("nil"), "(Class)");
    EXPECT_EQ(Tree("comma"), "(Comma)");
    EXPECT_EQ(Tree("Const"), Chain("(Simple \"Const\") (Space 3)"));
    EXPECT_EQ(Tree("asterix"), "(Asterix)");
    EXPECT_EQ(Tree("MINUS"), "(ExtSymbol 8722)");
    EXPECT_EQ(Tree("parallel"), "(Sign 10)");
    EXPECT_EQ(Tree("perpendicular"), "(Sign 11)");
    EXPECT_EQ(Tree("angle"), "(Sign 12)");
    EXPECT_EQ(Tree("empty"), "(Empty)");
    EXPECT_EQ(Tree("nabla1"), "(Index [(Nabla)] [" + Num("1") + "] _)");
}

TEST(ExprBuilder, GeneralFunctions) {
    EXPECT_EQ(Tree("sin(x)"), "(Func [(FuncName \"sin\")] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("f(a, b)"), "(Func [(Var \"f\")] [" + Arg(A + " (Comma) (Space 7) " + B) + "])");
    EXPECT_EQ(Tree("f!(x)"), "(Func [(Var \"f\")] [(Argument 1 1 1 [" + X + "])])");
    EXPECT_EQ(Tree("f1(x)"),
              "(Func [(Index [(Var \"f\")] [" + Num("1") + "] _)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("alpha1(x)"),
              "(CommonFunc [(Index [(ExtSymbol 945)] [" + Num("1") + "] _)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("Phi(x)"), "(CommonFunc [(ExtSymbol 934)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("nabla(x)"), "(CommonFunc [(Nabla)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("Plambda(x)"), "(CommonFunc [(Lambda)] [" + Arg(X) + "])");
    // Function name digits are a decimal number of any size up to 255 digits.
    EXPECT_EQ(Tree("g12345678901(x)"),
              "(Func [(Index [(Var \"g\")] [" + Num("12345678901") + "] _)] [" + Arg(X) + "])");
    EXPECT_EQ(Tree("Фун(x)"), "(Func [(FuncName \"Фун\")] [" + Arg(X) + "])");
    EXPECT_EQ(Error("f()"), "Недопустимый символ в позиции 3");
    EXPECT_EQ(Error("f(x"), "Ожидается \")\" в позиции 4");
}

TEST(ExprBuilder, ErrorMessagesAndPositions) {
    EXPECT_EQ(Error(""), "Недопустимый символ в позиции 1");
    EXPECT_EQ(Error(" "), "Недопустимый символ в позиции 1");
    EXPECT_EQ(Error("a+"), "Недопустимый символ в позиции 3");
    EXPECT_EQ(Error("a*)"), "Недопустимый символ в позиции 3");
    EXPECT_EQ(Error("a<=?"), "Недопустимый символ в позиции 3");
    EXPECT_EQ(Error("[a"), "Ожидается \"]\" в позиции 3");
    EXPECT_EQ(Error("{a)"), "Ожидается \"}\" в позиции 3");
    EXPECT_EQ(Error("|a"), "Ожидается \"|\" в позиции 3");
    EXPECT_EQ(Error("!(a"), "Ожидается \")\" в позиции 3");
    EXPECT_EQ(Error("Pow(x)"), "Ожидается \",\" в позиции 6");
    EXPECT_EQ(Error("Num()"), "Ожидается число в позиции 5");
    EXPECT_EQ(Error("Symbol(x)"), "Ожидается число в позиции 8");
    EXPECT_EQ(Error("Brackets(x, y)"), "Ожидается знак открывающей скобки в позиции 10");
    EXPECT_EQ(Error("Brackets(((, y)"), "Ожидается знак закрывающей скобки в позиции 11");
    EXPECT_EQ(Error("String(abc"), "Незавершённая строка");
    // The report line without its number fails at the appended blank.
    EXPECT_EQ(Error("k=Summa(k_(i-1&String(,)&i),i=2,10)/9="), "Недопустимый символ в позиции 39");
}

TEST(ExprBuilder, ErrorCarriesTextAndPosition) {
    TExprBuilder b;
    try {
        b.BuildExpr("(a b)");
        FAIL() << "no error";
    } catch (const EIncorrectExpr &e) {
        EXPECT_EQ(e.Text(), ExprMessages::ExpectRound());
        EXPECT_EQ(e.Position(), 3);
        EXPECT_EQ(e.Message(), ExprMessages::ExpectRound() + "3");
    }
    try {
        b.BuildExpr("String(");
        FAIL() << "no error";
    } catch (const EIncorrectExpr &e) {
        EXPECT_EQ(e.Position(), 0);
        EXPECT_EQ(e.Message(), ExprMessages::UnterminatedString());
    }
}

TEST(ExprBuilder, BuilderStateAfterACall) {
    TExprBuilder b;
    EXPECT_TRUE(b.SplitFuncDigits && b.SplitNameDigits && b.PostfixEnabled);
    PExpr e = b.BuildExpr("a<=b c");
    EXPECT_EQ(b.Text, "a" + std::string(1, '\3') + "b c ");
    EXPECT_EQ(b.Pos, 4);
    // A call that failed inside an index must not leave postfix operators switched off.
    EXPECT_THROW(b.BuildExpr("x_(y"), EIncorrectExpr);
    e = b.BuildExpr("x_1^2");
    EXPECT_EQ(DumpExpr(e.get()), "(Index [" + X + "] [" + Num("1") + "] [" + Num("2") + "])");
}

TEST(ExprBuilder, DigitSplittingCanBeSwitchedOff) {
    TExprBuilder b;
    b.SplitNameDigits = false;
    b.SplitFuncDigits = false;
    EXPECT_EQ(DumpExpr(b.BuildExpr("x1").get()), "(Var \"x1\")");
    EXPECT_EQ(DumpExpr(b.BuildExpr("f1(x)").get()), "(Func [(FuncName \"f1\")] [" + Arg(X) + "])");
}

TEST(ExprBuilder, DeepNestingIsRefused) {
    auto nested = [](int n) { return std::string(n, '(') + "x" + std::string(n, ')'); };
    EXPECT_EQ(Tree(nested(255)), X);
    EXPECT_EQ(Error(nested(256)), "Слишком глубокая вложенность в позиции 257");
    // Calls nest lists too: the 257th list starts after 256 "Sqrt(".
    std::string calls;
    for (int k = 0; k < 300; ++k)
        calls += "Sqrt(";
    EXPECT_EQ(Error(calls + "x"), "Слишком глубокая вложенность в позиции 1281");
    // Prefix signs nest factors.
    EXPECT_EQ(Tree(std::string(1023, '-') + "x").substr(0, 7), "(Chain ");
    EXPECT_EQ(Error(std::string(1024, '-') + "x"), "Слишком глубокая вложенность в позиции 1025");
    EXPECT_EQ(Error(std::string(100000, '_') + "x"), "Слишком глубокая вложенность в позиции 1025");
    std::string powers = "x";
    for (int k = 0; k < 2000; ++k)
        powers += "^x";
    EXPECT_EQ(Error(powers).rfind("Слишком глубокая вложенность в позиции ", 0), 0u);
    // A run of scripts nests the tree without nesting calls; it is limited the same way.
    std::string subs = "x";
    for (int k = 0; k < 1022; ++k)
        subs += "_1";
    EXPECT_EQ(Tree(subs).substr(0, 7), "(Index ");
    EXPECT_EQ(Error(subs + "_1"), "Слишком глубокая вложенность в позиции 2047");
    EXPECT_EQ(Error("x" + std::string(5000, '`') + std::string(5000, '`')).substr(0, 7), "parsed:");
}

TEST(ExprBuilder, LongRowsStayLinear) {
    // Rows of many thousand members parse (and free) without deep recursion.
    std::string sum = "a", facts = "x", list = "a";
    for (int k = 0; k < 20000; ++k) {
        sum += "+a";
        facts += "!";
        list += "&a";
    }
    EXPECT_EQ(Tree(sum).substr(0, 7), "(Chain ");
    EXPECT_EQ(Tree(facts).substr(0, 7), "(Chain ");
    EXPECT_EQ(Tree(list).substr(0, 7), "(Chain ");
}
