// The exporters on a table of constructs (ExportCases.h), the speech texts of the program's own
// formulas, the phrase table as the only source of spoken words, and the registry check.
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprPicture.h"
#include "formula/export/ExprExport.h"
#include "tests/formula_export/ExportCases.h"
#include "tests/formula_make/ParseHelpers.h"
#include "tests/support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

PExpr Parse(const char *utf8) {
    TExprBuilder builder;
    return builder.BuildExpr(Cp(utf8));
}

// What stands inside the <math> element.
std::string MathMLBody(TExprClass &root) {
    const std::string m = ExprToMathML(root);
    const std::string open = R"(<math xmlns="http://www.w3.org/1998/Math/MathML" display="block">)";
    if (m.rfind(open, 0) != 0 || m.size() < open.size() + 7) return "not a math element: " + m;
    return m.substr(open.size(), m.size() - open.size() - 7);
}

// The formula as the program lays it out: between the picture's blanks, measured.
struct TLaidOut {
    explicit TLaidOut(const char *utf8) : Layout(" ", Parse(utf8), " ") {
        TExprFont font;
        font.SetHeight(-13);
        Layout.Measure(font, &Canvas);
    }
    TRecordingCanvas Canvas;
    TPictureLayout Layout;
};

} // namespace

TEST(ExprExport, EveryNodeKindHasEveryFormat) {
    for (TExportFormat f : {TExportFormat::Latex, TExportFormat::MathML, TExportFormat::Speech})
        EXPECT_EQ(KindsWithoutExport(f), std::vector<std::string>()) << static_cast<int>(f);
    // A class of its own is not its base class: no format passes it off as one.
    class TUnknown : public TExprVar {
    public:
        TUnknown() : TExprVar("u") {}
    };
    TUnknown unknown;
    EXPECT_THROW(ExprToLatex(unknown), std::logic_error);
    EXPECT_THROW(ExprToMathML(unknown), std::logic_error);
    EXPECT_THROW(ExprToSpeech(unknown), std::logic_error);
}

TEST(ExprExport, ConstructsToLatexAndMathML) {
    for (const TExportCase &c : ExportCases) {
        SCOPED_TRACE(c.Formula);
        // The picture's tree, laid out, says the same as the bare parse.
        TLaidOut laidOut(c.Formula);
        EXPECT_EQ(ExprToLatex(laidOut.Layout.Chain()), c.Latex);
        EXPECT_EQ(MathMLBody(laidOut.Layout.Chain()), ExpandedMathML(c.MathML));
        const PExpr parsed = Parse(c.Formula);
        EXPECT_EQ(ExprToLatex(*parsed), c.Latex);
    }
}

TEST(ExprExport, MathMLElementAndAltText) {
    const PExpr e = Parse("x");
    EXPECT_EQ(ExprToMathML(*e, {false, "икс \"в\" <строке>\n&"}),
              R"(<math xmlns="http://www.w3.org/1998/Math/MathML" display="inline" )"
              R"(alttext="икс &quot;в&quot; &lt;строке&gt; &amp;"><mi>x</mi></math>)");
    // Nothing to show: an empty element, an empty LaTeX and speech.
    TLaidOut nothing("Nil");
    EXPECT_EQ(MathMLBody(nothing.Layout.Chain()), "");
    EXPECT_EQ(ExprToLatex(nothing.Layout.Chain()), "");
    EXPECT_EQ(ExprToSpeech(nothing.Layout.Chain()), "");
}

TEST(ExprExport, SpeechOfTheProgramsFormulas) {
    const struct {
        const char *Formula, *Speech;
    } cases[] = {
        {"k=(ind(X,i+1)-ind(X,i))/(ind(X,i)*.diff(t))",
         "k равно: дробь, в числителе X с индексом i плюс 1 минус X с индексом i, в знаменателе X "
         "с индексом i умножить на d t"},
        {"diff(X)/diff(t)=k*.X_i",
         "дробь, в числителе d X, в знаменателе d t, конец дроби, равно k умножить на X с "
         "индексом i"},
        {"k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704",
         "k равно: дробь, в числителе сумма от i равно 2 до 10, k с индексом i минус 1, i, в "
         "знаменателе 9, конец дроби, равно 0,4704"},
        {"ind(X,i+1)=(1-k*diff(t))*.X_i+k*.S*.diff(t)",
         "X с индексом i плюс 1 равно скобка открывается 1 минус k d t скобка закрывается умножить "
         "на X с индексом i плюс k умножить на S умножить на d t"},
        {"X_i&Space(8)&String(\" - общая численность популяции на данный момент времени;\")",
         "X с индексом i - общая численность популяции на данный момент времени"},
        {"diff(t)=1/4", "d t равно 1 делить на 4"},
        {"X(t)=969/(1+7.5456*.e^(-1.77*t))",
         "X от t равно: дробь, в числителе 969, в знаменателе 1 плюс 7,5456 умножить на e в "
         "степени минус 1,77 t"},
        {"String(\"95 %:\")&Space(4)&A&Space(2)&Symbol(8712)&Space(2)&[267,782]",
         "95 %: A принадлежит квадратная скобка открывается 267, 782 квадратная скобка "
         "закрывается"},
        // Short forms, and the ends of structures that something follows.
        {"Sqrt(x)+Sqr(a)+Pow(b,3)+Root(3,y)", "корень из x плюс a в квадрате плюс b в кубе плюс "
                                              "кубический корень из y"},
        {"Sqrt(a+b)+e^(x+1)-|x|",
         "корень из a плюс b, конец корня, плюс e в степени x плюс 1, конец степени, минус модуль "
         "x"},
        {"f(x)=Case(x,x>0,-x,x<=0)",
         "f от x равно: по случаям: x, если x больше 0; минус x, если x меньше или равно 0"},
        {"Lim(x->0,sin(x)/x)=1", "предел при x стремится к 0 от дробь, в числителе синус x, в "
                                 "знаменателе x, конец дроби, равно 1"},
        {"Log(2,x)+f``+alpha_1^2", "логарифм по основанию 2 x плюс f 2 штриха плюс альфа с "
                                   "индексом 1 в квадрате"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Formula);
        TLaidOut laidOut(c.Formula);
        EXPECT_EQ(ExprToSpeech(laidOut.Layout.Chain()), c.Speech);
    }
}

// Every spoken word comes from the phrase table: with texts that give the keys, no Russian is
// left, and the parts land where the patterns put them.
TEST(ExprExport, SpeechWordsComeFromTheTexts) {
    class TKeys final : public TSpeechTexts {
    public:
        std::string Text(TSpeechId id, long long n) const override {
            std::string pattern = std::string("<") + SpeechPhrase(id).Key;
            if (n) pattern += " " + std::to_string(n);
            for (const char *part : {" %1", " %2", " %3", " %4"})
                if (std::string(SpeechPhrase(id).Russian).find(part + 1) != std::string::npos)
                    pattern += part;
            return pattern + ">";
        }
    };
    const char *formula =
        "k=Summa(Sqrt(a)/(b+c),i=1,n)*.Pow(x,3)-|y|+Matrix(1,2,alpha,Omega)+Intm(4,f)+"
        "Case(Vect(v),t>=0)+f```+Lim(x->Inf,sin(x))+Points(z,5)+#1500+!(Nabla*.Plank)";
    TLaidOut laidOut(formula);
    const std::string speech = ExprToSpeech(laidOut.Layout.Chain(), TKeys());
    for (unsigned char c : speech)
        EXPECT_TRUE(c != 0xD0 && c != 0xD1)
            << "a Cyrillic letter outside the phrase table: " << speech;
    for (const char *said :
         {"<fraction <root.square a > b <sign.plus> c >, <fraction.end>",
          "<matrix 2 1 <matrix.row 1 <greek.alpha> >;", "<symbol.capital <greek.omega> >",
          "<operator.integraln 4> f", "<accent.dots 5 z >", "<number.tenpower 1,5 3 >"})
        EXPECT_NE(speech.find(said), std::string::npos) << said << " in " << speech;
}

TEST(ExprExport, RussianPluralForms) {
    const char *forms = "штрих|штриха|штрихов";
    for (long long n : {1, 21, 101, -1})
        EXPECT_EQ(RussianPlural(forms, n), "штрих") << n;
    for (long long n : {2, 4, 22, 34})
        EXPECT_EQ(RussianPlural(forms, n), "штриха") << n;
    for (long long n : {0, 5, 11, 12, 14, 111, 25})
        EXPECT_EQ(RussianPlural(forms, n), "штрихов") << n;
    EXPECT_EQ(FillSpeech("%2 и %1, 100%% %3", {"a", "b"}), "b и a, 100% ");
}
