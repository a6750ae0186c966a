// Every formula the program paints on its twelve pages, over the 30 variants and the three
// smoothings, every line of bench/formulas.txt and every construct of ExportCases.h exports as
// laid out for the picture: well-formed MathML in its namespace, LaTeX that KaTeX (Debian's
// libjs-katex under node) accepts, and a speech text of one clean line.
#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "formula/draw/ExprDraw.h"
#include "formula/draw/ExprPicture.h"
#include "formula/export/ExprExport.h"
#include "runtime/Cp1251.h"
#include "tests/analysis/FakeTarget.h"
#include "tests/formula_export/ExportCases.h"
#include "tests/formula_make/ParseHelpers.h"
#include "tests/support/RecordingCanvas.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

struct TExported {
    std::string Formula; // UTF-8
    std::string Latex, MathML, Speech, English;
};

// The formulas, each once, exported from the tree of its picture.
const std::vector<TExported> &Corpus() {
    static const std::vector<TExported> corpus = [] {
        std::vector<std::string> texts;
        for (int row = 0; row < VariantCount; ++row)
            for (int32_t smoothing : {SmoothNone, SmoothLagrange, SmoothLeastSquares}) {
                TCountArray counts1{}, counts2{};
                for (int month = 1; month <= 10; ++month) {
                    counts1[month - 1] = VariantCountOf(row, 1, month);
                    counts2[month - 1] = VariantCountOf(row, 2, month);
                }
                TFakeTarget target;
                const TAnalysisRun run = RunAnalysis(target, counts1, counts2, smoothing);
                if (run.End != TRunEnd::Applied)
                    ADD_FAILURE() << "variant " << row + 1 << " refused: " << run.Refusal;
                // Each page keeps what was painted on it since it was cleared: the whole page.
                for (int page = 1; page <= 11; ++page)
                    for (std::string &f : target.Image(page).Formulas())
                        texts.push_back(std::move(f));
            }
        std::ifstream bench(ZELVANO_SOURCE_DIR "/bench/formulas.txt");
        for (std::string line; std::getline(bench, line);)
            if (!line.empty()) texts.push_back(Cp(line));
        for (const TExportCase &c : ExportCases)
            texts.push_back(Cp(c.Formula));

        std::vector<TExported> out;
        std::set<std::string> seen;
        TRecordingCanvas canvas;
        TExprFont font;
        font.SetHeight(-13);
        for (const std::string &text : texts) {
            if (!seen.insert(text).second) continue;
            TExprBuilder builder;
            TPictureLayout picture(" ", builder.BuildExpr(text), " ");
            picture.Measure(font, &canvas);
            out.push_back({Cp1251ToUtf8(text), ExprToLatex(picture.Chain()),
                           ExprToMathML(picture.Chain()), ExprToSpeech(picture.Chain()),
                           ExprToSpeech(picture.Chain(), EnglishSpeech())});
        }
        return out;
    }();
    return corpus;
}

// Why xml is not a sound MathML element, or empty: well-formed, every element in the MathML
// namespace and known, the scripts, fractions and roots with the right number of parts, tables
// made of rows of cells, tokens holding text only.
std::string MathMLFault(const std::string &xml) {
    static const QString ns = QStringLiteral("http://www.w3.org/1998/Math/MathML");
    static const std::map<QString, int> parts = {
        {"mfrac", 2},  {"mroot", 2},   {"msub", 2},  {"msup", 2},       {"msubsup", 3},
        {"munder", 2}, {"mover", 2},   {"mi", 0},    {"mn", 0},         {"mo", 0},
        {"mtext", 0},  {"mspace", 0},  {"math", -1}, {"munderover", 3}, {"mrow", -1},
        {"msqrt", -1}, {"mtable", -1}, {"mtr", -1},  {"mtd", -1}};
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    struct TOpen {
        QString Name;
        int Children;
    };
    std::vector<TOpen> open;
    int roots = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType t = reader.readNext();
        if (t == QXmlStreamReader::StartElement) {
            const QString name = reader.name().toString();
            if (reader.namespaceUri() != ns)
                return "outside the MathML namespace: " + name.toStdString();
            if (!parts.count(name)) return "not a MathML element: " + name.toStdString();
            const QString parent = open.empty() ? QString() : open.back().Name;
            if (open.empty() ? name != "math" : name == "math") return "math is not the root";
            if ((name == "mtr") != (parent == "mtable") || (name == "mtd") != (parent == "mtr"))
                return (name + " in " + parent).toStdString();
            if (!open.empty()) ++open.back().Children;
            roots += open.empty();
            open.push_back({name, 0});
        } else if (t == QXmlStreamReader::EndElement) {
            const TOpen o = open.back();
            open.pop_back();
            const int wanted = parts.at(o.Name);
            if (wanted >= 0 && o.Children != wanted)
                return (o.Name + " with " + QString::number(o.Children) + " parts").toStdString();
        }
    }
    if (reader.hasError()) return reader.errorString().toStdString();
    return roots == 1 ? std::string() : "not one math element";
}

bool BracesBalance(const std::string &latex) {
    int depth = 0;
    for (std::size_t k = 0; k < latex.size(); ++k) {
        if (latex[k] == '\\') {
            ++k;
            continue;
        }
        depth += latex[k] == '{' ? 1 : latex[k] == '}' ? -1 : 0;
        if (depth < 0) return false;
    }
    return depth == 0;
}

} // namespace

TEST(ExportCorpus, EveryFormulaOfTheProgramExports) {
    const std::vector<TExported> &corpus = Corpus();
    ASSERT_GT(corpus.size(), 2000u);
    for (const TExported &e : corpus) {
        SCOPED_TRACE(e.Formula);
        EXPECT_EQ(MathMLFault(e.MathML), "") << e.MathML;
        EXPECT_TRUE(!e.Latex.empty() && BracesBalance(e.Latex)) << e.Latex;
        ASSERT_FALSE(e.Speech.empty());
        EXPECT_TRUE(e.Speech.front() != ' ' && e.Speech.back() != ' ' &&
                    e.Speech.find("  ") == std::string::npos &&
                    e.Speech.find(" ,") == std::string::npos)
            << e.Speech;
        for (const std::string *s : {&e.Latex, &e.MathML, &e.Speech})
            for (unsigned char c : *s)
                ASSERT_GE(c, 0x20) << "a control character in " << *s;
    }
}

// English speech reads as an English maths class would, and no Russian word of the phrase table
// is left in it: every Cyrillic letter of an English speech is one the formula itself writes.
TEST(ExportCorpus, SpeechInEnglish) {
    SetTextLanguage(TLanguage::English, nullptr);
    const struct {
        const char *Formula, *Speech;
    } cases[] = {
        {"X(t)=969/(1+7.5456*.e^(-1.77*t))",
         "X of t equals: the fraction with numerator 969 and denominator 1 plus 7.5456 times e to "
         "the power minus 1.77 t"},
        {"a/b+x/(y+1)", "the fraction a over b plus the fraction with numerator x and denominator "
                        "y plus 1"},
        {"Sqrt(a+b)+Root(3,y)-x^2+alpha_1^3",
         "the square root of a plus b, end of root, plus the cube root of y minus x squared plus "
         "alpha sub 1 cubed"},
        {"k=Summa(k_i,i=2,10)/9", "k equals: the fraction with numerator the sum from i equals 2 "
                                  "to 10 of k sub i and denominator 9"},
        {"f```+Points(z,1)+ln(x)<=|y|", "f with 3 primes plus z dot plus the natural log of x is "
                                        "less than or equal to the absolute value of y"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Formula);
        TRecordingCanvas canvas;
        TExprFont font;
        font.SetHeight(-13);
        TExprBuilder builder;
        TPictureLayout picture(" ", builder.BuildExpr(Cp(c.Formula)), " ");
        picture.Measure(font, &canvas);
        EXPECT_EQ(ExprToSpeech(picture.Chain(), SpeechIn(TextLanguage())), c.Speech);
    }
    SetTextLanguage(TLanguage::Russian, nullptr);

    auto cyrillic = [](const std::string &utf8) {
        std::set<std::string> letters;
        for (std::size_t k = 0; k + 1 < utf8.size(); ++k)
            if (utf8[k] == '\xD0' || utf8[k] == '\xD1') letters.insert(utf8.substr(k, 2));
        return letters;
    };
    for (const TExported &e : Corpus()) {
        const std::set<std::string> written = cyrillic(e.Formula);
        for (const std::string &letter : cyrillic(e.English))
            ASSERT_TRUE(written.count(letter)) << e.English << " of " << e.Formula;
    }
}

TEST(ExportCorpus, KatexAcceptsTheLatex) {
    const QString katex = QStringLiteral("/usr/share/javascript/katex/katex.js");
    QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty()) node = QStandardPaths::findExecutable(QStringLiteral("nodejs"));
    if (node.isEmpty() || !QFileInfo::exists(katex))
        GTEST_SKIP() << "needs node and KaTeX (Debian's nodejs and libjs-katex, see scripts/setup)";

    const std::vector<TExported> &corpus = Corpus();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString lines = dir.filePath(QStringLiteral("latex.txt"));
    {
        QFile file(lines);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const TExported &e : corpus)
            file.write(QByteArray::fromStdString(e.Latex + "\n"));
    }
    QProcess process;
    process.start(node, {QStringLiteral(ZELVANO_SOURCE_DIR "/tests/formula_export/KatexCheck.js"),
                         katex, lines});
    ASSERT_TRUE(process.waitForFinished(240000)) << "node did not finish";
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0)
        << out.toStdString() << QString::fromUtf8(process.readAllStandardError()).toStdString();
    // Name the formulas behind the refused lines.
    for (const QString &refusal : out.split('\n', Qt::SkipEmptyParts)) {
        const std::size_t line = refusal.section(' ', 1, 1).chopped(1).toULongLong();
        if (line >= 1 && line <= corpus.size())
            ADD_FAILURE() << corpus[line - 1].Formula << "\n  " << corpus[line - 1].Latex << "\n  "
                          << refusal.toStdString();
    }
}
