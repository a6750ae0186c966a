// zelvano-formula as a program: its outputs, files and exit statuses, checked against the
// formula pictures the program itself makes.
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "tests/tools/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

using TFormulaRun = TToolRun;

// Runs the tool, with input on its standard input and, when given, a file size limit.
TFormulaRun RunFormula(const QStringList &args, const QByteArray &input = QByteArray(),
                       std::optional<rlim_t> fileLimit = std::nullopt) {
    return RunTool(QStringLiteral(ZELVANO_FORMULA_EXE), args, input, fileLimit);
}

// The picture the program makes of a formula text at a point size.
QImage ProgramPicture(const char *formula, int points, bool framed = false,
                      TShapeDrawing drawing = TShapeDrawing::Smooth) {
    InitFormulaFont();
    SetFormulaFontSize(points);
    TFormulaPicture picture(" ", formula, " ");
    QImage image = picture.Bitmap(TPictureSurface::Sized, framed, drawing);
    DoneFormulaFont();
    return image;
}

QImage written(const QString &png) {
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

QString Size(const QImage &image) {
    return QStringLiteral("%1 %2\n").arg(image.width()).arg(image.height());
}

} // namespace

TEST(FormulaTool, PrintsThePictureSize) {
    TFormulaRun run = RunFormula({QStringLiteral("X_i")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, Size(ProgramPicture("X_i", 10)));
    EXPECT_EQ(run.Err, QString());
    run = RunFormula({QStringLiteral("--size"), QStringLiteral("6"), QStringLiteral("X_i")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, Size(ProgramPicture("X_i", 6)));
    // The formula is UTF-8 and typeset in Windows-1251.
    run = RunFormula({QStringLiteral("String(\"Численность\")")});
    EXPECT_EQ(run.Exit, 0);
    InitFormulaFont();
    SetFormulaFontSize(10);
    const QImage cyrillic =
        FormulaBitmap("String(\"\xD7\xE8\xF1\xEB\xE5\xED\xED\xEE\xF1\xF2\xFC\")");
    DoneFormulaFont();
    EXPECT_EQ(run.Out, Size(cyrillic));
}

TEST(FormulaTool, TreeDump) {
    const struct {
        const char *formula, *tree;
    } cases[] = {
        {"a+b", "(Chain [(Var \"a\") (Sign 43) (Var \"b\")])\n"},
        {"x*2", "(Chain [(Number 2) (Var \"x\")])\n"},
        {"2*3", "(Number 6)\n"},
        {"String(\"ё\\\")", "(Simple \"ё\\\\\")\n"},
    };
    for (const auto &c : cases) {
        const TFormulaRun run =
            RunFormula({QStringLiteral("--tree"), QString::fromUtf8(c.formula)});
        EXPECT_EQ(run.Exit, 0) << c.formula;
        EXPECT_EQ(run.Out, QString::fromUtf8(c.tree)) << c.formula;
    }
    // A formula that begins with "-" follows "--".
    TFormulaRun run =
        RunFormula({QStringLiteral("--tree"), QStringLiteral("--"), QStringLiteral("-x")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, QStringLiteral("(Chain [(Sign 8722) (Var \"x\")])\n"));
    run = RunFormula({QStringLiteral("--tree"), QStringLiteral("-x")});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Out, QString());
}

// The text forms print what the picture shows, one line each in a fixed order, in UTF-8.
TEST(FormulaTool, PrintsLatexMathMLAndSpeech) {
    TFormulaRun run = RunFormula({QStringLiteral("--speech"), QStringLiteral("--mathml"),
                                  QStringLiteral("--tree"), QStringLiteral("--latex"),
                                  QStringLiteral("X_i^2=0.5*Sqrt(a)")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, QString());
    EXPECT_EQ(run.Out, QStringLiteral(
                           "(Chain [(Index [(Var \"X\")] [(Var \"i\")] [(Number 2)]) (Sign 61) "
                           "(Number 0.5) (Root [(Var \"a\")] _)])\n"
                           "X_{i}^{2}=0{,}5\\sqrt{a}\n"
                           "<math xmlns=\"http://www.w3.org/1998/Math/MathML\" display=\"block\">"
                           "<msubsup><mi>X</mi><mi>i</mi><mn>2</mn></msubsup><mo>=</mo><mn>0,5</mn>"
                           "<msqrt><mi>a</mi></msqrt></math>\n"
                           "X с индексом i в квадрате равно 0,5 корень из a\n"));
    // A formula error prints nothing.
    run = RunFormula({QStringLiteral("--latex"), QStringLiteral("(a")});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, QString());
}

TEST(FormulaTool, FormulaErrorsAreOneLineWithStatusTwo) {
    TFormulaRun run = RunFormula({QStringLiteral("(a b)")});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, QStringLiteral("Ожидается \")\" в позиции 3\n"));
    EXPECT_EQ(run.Out, QString());
    run = RunFormula({QStringLiteral("--tree"), QStringLiteral("String(abc")});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, QStringLiteral("Незавершённая строка\n"));
    run = RunFormula({QStringLiteral("Space(2000000000)")});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, QStringLiteral("Формула слишком велика\n"));
}

TEST(FormulaTool, OtherFailuresHaveStatusOne) {
    const QStringList bad[] = {
        {},
        {QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("--size"), QStringLiteral("0"), QStringLiteral("x")},
        {QStringLiteral("--size"), QStringLiteral("ten"), QStringLiteral("x")},
        // One form for every number option of the tools: digits only.
        {QStringLiteral("--size"), QStringLiteral(" 5"), QStringLiteral("x")},
        {QStringLiteral("--size"), QStringLiteral("+5"), QStringLiteral("x")},
        {QStringLiteral("--size"), QStringLiteral("07"), QStringLiteral("x")},
        {QStringLiteral("-o"), QString(), QStringLiteral("x")},
        {QStringLiteral("-f"), QStringLiteral("/nonexistent/formula.txt")},
        {QStringLiteral("-f"), QStringLiteral("-"), QStringLiteral("x")},
        {QStringLiteral("--size")},
        {QStringLiteral("--colour"), QStringLiteral("x")},
        {QStringLiteral("-o"), QStringLiteral("x.jpg"), QStringLiteral("x")},
        {QStringLiteral("-o"), QStringLiteral("/nonexistent/folder/x.png"), QStringLiteral("x")},
        // Not a Windows-1251 character.
        {QStringLiteral("x+\u4E00")},
    };
    for (const QStringList &args : bad) {
        const TFormulaRun run = RunFormula(args);
        EXPECT_EQ(run.Exit, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.Err.startsWith(QStringLiteral("zelvano-formula: ")))
            << run.Err.toStdString();
    }
    const TFormulaRun help = RunFormula({QStringLiteral("--help")});
    EXPECT_EQ(help.Exit, 0);
    for (const char *word : {"--size", "--framed", "--boxes", "--tree", "--latex", "--mathml",
                             "--speech", "-o", ".svg", ".pdf", "--"})
        EXPECT_TRUE(help.Out.contains(QString::fromLatin1(word))) << word;
}

// The help, Qt's parser errors, the tool's own messages and the speech follow --lang wherever it
// stands, else the system's language: Russian where none is set.
TEST(FormulaTool, TextsFollowTheLanguage) {
    const QStringList english = {QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_ALL="),
                                 QStringLiteral("LC_MESSAGES="), QStringLiteral("LANGUAGE=")};
    const QStringList none = {QStringLiteral("LANG="), QStringLiteral("LC_ALL="),
                              QStringLiteral("LC_MESSAGES="), QStringLiteral("LANGUAGE=")};
    auto run = [](const QStringList &args, const QStringList &environment = {}) {
        return RunTool(QStringLiteral(ZELVANO_FORMULA_EXE), args, QByteArray(), std::nullopt,
                       environment);
    };
    const QString usage = QStringLiteral("Usage: zelvano-formula ");
    const QString russianUsage = QStringLiteral("Использование: zelvano-formula ");
    EXPECT_TRUE(run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--help")})
                    .Out.startsWith(usage));
    EXPECT_TRUE(
        run({QStringLiteral("--help"), QStringLiteral("--lang"), QStringLiteral("ru")}, english)
            .Out.startsWith(russianUsage));
    EXPECT_TRUE(run({QStringLiteral("--help")}, english).Out.startsWith(usage));
    const TToolRun russian = run({QStringLiteral("--help")}, none);
    EXPECT_TRUE(russian.Out.startsWith(russianUsage));
    EXPECT_FALSE(russian.Out.contains(QStringLiteral("Usage")));

    EXPECT_EQ(run({QStringLiteral("--lang=en"), QStringLiteral("--size")}).Err,
              QStringLiteral("zelvano-formula: missing value after '--size'\n"
                             "Try 'zelvano-formula --help'.\n"));
    EXPECT_EQ(run({QStringLiteral("--size"), QStringLiteral("0"), QStringLiteral("x"),
                   QStringLiteral("--lang"), QStringLiteral("ru")},
                  english)
                  .Err,
              QStringLiteral("zelvano-formula: --size: нужно целое число пунктов от 1 до 1000, а "
                             "не «0»\nПо команде «zelvano-formula --help» можно получить "
                             "справку.\n"));
    EXPECT_EQ(run({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--speech"),
                   QStringLiteral("Sqrt(x)+y_1^2")})
                  .Out,
              QStringLiteral("the square root of x plus y sub 1 squared\n"));
    EXPECT_EQ(run({QStringLiteral("--speech"), QStringLiteral("Sqrt(x)")}, none).Out,
              QStringLiteral("корень из x\n"));
}

TEST(FormulaTool, WritesThePictureAsTheProgramPaintsIt) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("f.png"));
    const char *formula = "diff(x)/diff(t)=0.4704*.!(1000-x)";
    auto written = [&] { return QImage(png).convertToFormat(QImage::Format_RGB32); };
    // Nothing of this formula reaches beyond the program's picture: the smooth picture as is.
    TFormulaRun run = RunFormula({QStringLiteral("-o"), png, QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(written(), ProgramPicture(formula, 10));
    run = RunFormula(
        {QStringLiteral("--classic"), QStringLiteral("-o"), png, QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(written(), ProgramPicture(formula, 10, false, TShapeDrawing::Classic));
    EXPECT_NE(written(), ProgramPicture(formula, 10));

    run = RunFormula({QStringLiteral("--classic"), QStringLiteral("--framed"),
                      QStringLiteral("--size"), QStringLiteral("8"), QStringLiteral("-o"), png,
                      QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(written(), ProgramPicture(formula, 8, true, TShapeDrawing::Classic));

    // The overlay changes the picture, not its size.
    run = RunFormula({QStringLiteral("--classic"), QStringLiteral("--boxes"), QStringLiteral("-o"),
                      png, QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    const QImage boxes = written();
    EXPECT_EQ(boxes.size(), ProgramPicture(formula, 10).size());
    EXPECT_NE(boxes, ProgramPicture(formula, 10, false, TShapeDrawing::Classic));
}

// Roots, descenders, matrices and limits reach beyond the program's picture at some sizes; the
// default output keeps them whole, with white all round.
TEST(FormulaTool, DefaultPngKeepsAllTheInkInsideAWhiteMargin) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("f.png"));
    const char *formulas[] = {"Sqrt(x^2+y^2)+Root(3,a+b)+Sqrt(Sqrt(z))",
                              "Abs(Matrix(2,2,a_1,b_2,c_3,y_4))", "Lim(n->Infinity,(1+1/n)^n)",
                              "Root(5,g_j*q_y)"};
    auto inkAt = [](const QImage &image, int x, int y) {
        return (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    };
    bool grown = false;
    for (const char *f : formulas)
        for (int size : {6, 7, 9, 10, 13, 17, 24, 31, 48}) {
            const QString args = QStringLiteral("%1 at %2").arg(QLatin1String(f)).arg(size);
            const TFormulaRun run = RunFormula({QStringLiteral("--size"), QString::number(size),
                                                QStringLiteral("-o"), png, QLatin1String(f)});
            ASSERT_EQ(run.Exit, 0) << args.toStdString() << run.Err.toStdString();
            const QImage image = written(png);
            const QImage program = ProgramPicture(f, size);
            ASSERT_GE(image.width(), program.width()) << args.toStdString();
            ASSERT_GE(image.height(), program.height()) << args.toStdString();
            grown = grown || image.size() != program.size();
            for (int x = 0; x < image.width(); ++x)
                ASSERT_FALSE(inkAt(image, x, 0) || inkAt(image, x, image.height() - 1))
                    << args.toStdString() << " column " << x;
            for (int y = 0; y < image.height(); ++y)
                ASSERT_FALSE(inkAt(image, 0, y) || inkAt(image, image.width() - 1, y))
                    << args.toStdString() << " row " << y;
        }
    // The program's own crop cuts some of them.
    EXPECT_TRUE(grown);

    // A scaled PNG is the same output at a finer resolution.
    const char *f = formulas[0];
    ASSERT_EQ(RunFormula({QStringLiteral("-o"), png, QLatin1String(f)}).Exit, 0);
    const QSize single = written(png).size();
    ASSERT_EQ(RunFormula({QStringLiteral("--scale"), QStringLiteral("3"), QStringLiteral("-o"), png,
                          QLatin1String(f)})
                  .Exit,
              0);
    EXPECT_EQ(written(png).size(), single * 3);
    for (const char *bad : {"0", "9", "2x"})
        EXPECT_EQ(RunFormula({QStringLiteral("--scale"), QLatin1String(bad), QStringLiteral("-o"),
                              png, QLatin1String(f)})
                      .Exit,
                  1)
            << bad;
    EXPECT_EQ(RunFormula({QStringLiteral("--scale"), QStringLiteral("2"), QStringLiteral("-o"),
                          dir.filePath(QStringLiteral("f.svg")), QLatin1String(f)})
                  .Exit,
              1);
}

TEST(FormulaTool, WritesVectorGraphicsOfTheSameLayout) {
    QTemporaryDir dir;
    const char *formula = "k=Summa(k_(i-1&String(,)&i),i=2,10)/9=0.4704";
    const QImage picture = ProgramPicture(formula, 10);

    const QString svg = dir.filePath(QStringLiteral("f.svg"));
    TFormulaRun run = RunFormula({QStringLiteral("-o"), svg, QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    // One unit per picture pixel.
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), picture.size()));

    const QString pdf = dir.filePath(QStringLiteral("f.pdf"));
    run = RunFormula({QStringLiteral("-o"), pdf, QString::fromLatin1(formula)});
    EXPECT_EQ(run.Exit, 0);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    EXPECT_TRUE(data.startsWith("%PDF"));
    // The page is the picture at 96 dpi, in whole points.
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch m = mediaBox.match(QString::fromLatin1(data));
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), picture.width() * 72.0 / 96.0, 1.0);
    EXPECT_NEAR(m.captured(2).toDouble(), picture.height() * 72.0 / 96.0, 1.0);
}

TEST(FormulaTool, AFullDiskLeavesTheEarlierFileAndNoPartOfTheNew) {
    QTemporaryDir dir;
    for (const char *name : {"f.png", "f.svg", "f.pdf"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        const TFormulaRun run =
            RunFormula({QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("-o"), path,
                        QStringLiteral("k=Summa(k_i,i=2,10)/9")},
                       QByteArray(), 64);
        EXPECT_EQ(run.Exit, 1) << name;
        EXPECT_EQ(run.Err, QStringLiteral("zelvano-formula: cannot write \"%1\": %2\n")
                               .arg(path, QString::fromLocal8Bit(std::strerror(EFBIG))));
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), QByteArray("earlier")) << name;
        earlier.close();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QString::fromLatin1(name)});
        earlier.remove();
    }
}

TEST(FormulaTool, ReadsTheFormulaFromAFileOrStandardInput) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("formula.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("X_i\r\n");
    f.close();
    const QString size = Size(ProgramPicture("X_i", 10));
    TFormulaRun run = RunFormula({QStringLiteral("-f"), file});
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, size);
    run = RunFormula({QStringLiteral("-f"), QStringLiteral("-")}, "X_i\n");
    EXPECT_EQ(run.Out, size);

    // Beyond the limit nothing is built; the text is not even read to its end.
    const QByteArray huge(3 * TExprBuilder::MaxFormulaLength + 64 * 1024, 'a');
    for (const QByteArray &text : {QByteArray(TExprBuilder::MaxFormulaLength + 1, 'a'), huge}) {
        run = RunFormula({QStringLiteral("-f"), QStringLiteral("-")}, text);
        EXPECT_EQ(run.Exit, 2);
        EXPECT_EQ(run.Err, QStringLiteral("Формула слишком велика\n"));
    }
}

TEST(FormulaTool, AFailedWriteToStandardOutputIsAFailure) {
    // A full disk (/dev/full) and a pipe closed by its reader, for the size line and the tree.
    for (const char *option : {"--size", "--tree"}) {
        SCOPED_TRACE(option);
        const QStringList args = {
            QStringLiteral("--lang"), QStringLiteral("en"), QString::fromLatin1(option),
            QString::fromLatin1(option[2] == 's' ? "10" : "--"), QStringLiteral("X_i")};
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        full.start(QStringLiteral(ZELVANO_FORMULA_EXE), args);
        ASSERT_TRUE(full.waitForFinished(60000));
        EXPECT_EQ(full.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(full.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(full.readAllStandardError()),
                  QStringLiteral("zelvano-formula: cannot write to standard output: %1\n")
                      .arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));

        // The reader is gone long before the tool has started up and writes.
        QProcess closed;
        closed.start(QStringLiteral("bash"),
                     QStringList{QStringLiteral("-o"), QStringLiteral("pipefail"),
                                 QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\" | true"),
                                 QStringLiteral(ZELVANO_FORMULA_EXE)} +
                         args);
        ASSERT_TRUE(closed.waitForFinished(60000));
        EXPECT_EQ(closed.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(closed.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(closed.readAllStandardError()).count(u'\n'), 1);
    }
}
