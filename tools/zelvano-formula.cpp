// zelvano-formula: one formula text as the program typesets it, from the command line.
#include "formula/draw/ExprClass.h"
#include "formula/draw/ExprParents.h"
#include "formula/export/ExprExport.h"
#include "formula/make/ExprDump.h"
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "results/Language.h"
#include "results/WholeFile.h"
#include "runtime/Cp1251.h"
#include "tools/CommandLine.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Written in Russian; the English help is its translation in the catalogue.
const char *const Usage = QT_TRANSLATE_NOOP(
    "FormulaTool",
    "Использование: zelvano-formula [--size ПТ] [--framed] [--boxes] [--tree] [--classic]\n"
    "                               [--latex] [--mathml] [--speech]\n"
    "                               [-o ФАЙЛ [--scale N]] (ФОРМУЛА | -f ТЕКСТ)\n"
    "\n"
    "Набирает ФОРМУЛУ, записанную на языке формул Zelvano (в UTF-8; каждый знак должен\n"
    "быть в кодировке Windows-1251), так, как её показывают рисунки формул программы.\n"
    "\n"
    "  --size ПТ   размер шрифта формулы в пунктах, от 1 до 1000 (по умолчанию 10)\n"
    "  --framed    нарисовать рамку в один пиксель, как у рисунка результата в рамке\n"
    "  --boxes     обвести прямоугольник каждого узла и отметить его ось (для отладки)\n"
    "  --tree      вывести дерево узлов, которое строит разбор, одной строкой\n"
    "  --latex     вывести формулу в LaTeX (математический режим, для LaTeX с amsmath\n"
    "              или KaTeX)\n"
    "  --mathml    вывести формулу в MathML представления (один элемент <math>)\n"
    "  --speech    вывести формулу так, как её прочитает вслух экранный диктор (на языке\n"
    "              --lang)\n"
    "  -f ТЕКСТ    прочитать формулу из текстового файла ТЕКСТ («-» — со стандартного\n"
    "              ввода); один перевод строки в конце отбрасывается\n"
    "  -o ФАЙЛ     записать рисунок в ФАЙЛ.png или векторной графикой в ФАЙЛ.svg или\n"
    "              ФАЙЛ.pdf: гладкие контуры и весь рисунок формулы с узким белым полем\n"
    "              (ничего не обрезано там, где знак выходит за рисунок программы)\n"
    "  --scale N   для PNG: в N раз больше разрешения экрана, от 1 до 8 (по умолчанию 1)\n"
    "  --classic   в точности рисунок программы: его размер, обрезка там же, где у\n"
    "              программы, контуры без сглаживания, как на классической поверхности\n"
    "  --lang ЯЗ   ru или en: язык справки, сообщений и речи и десятичный разделитель\n"
    "              чисел (по умолчанию язык системы; русский, если язык не задан)\n"
    "  --help      показать эту справку\n"
    "  --version   показать версию\n"
    "\n"
    "Без -o, --tree, --latex, --mathml и --speech выводятся ширина и высота рисунка\n"
    "в виде «Ш В». Дерево, LaTeX, MathML и речь выводятся в этом порядке, каждое одной\n"
    "строкой, в UTF-8; последние три говорят о том, что показывает рисунок.\n"
    "ФОРМУЛА, которая начинается с «-», пишется после «--». Формулы длиннее 1048576\n"
    "знаков не принимаются («Формула слишком велика»).\n"
    "\n"
    "Код возврата: 0 — успешно; 2 — ошибка в тексте формулы (сообщение и место ошибки\n"
    "в нормализованном тексте выводятся одной строкой в стандартный поток ошибок);\n"
    "1 — любой другой сбой.\n");

struct TOptions {
    int Size = 10;
    bool Framed = false;
    bool Boxes = false;
    bool Tree = false;
    bool Latex = false;
    bool MathML = false;
    bool Speech = false;
    std::string Output;
    std::string Formula;
    bool HaveFormula = false;
    // "-f": Formula names the file that holds the formula.
    bool FromFile = false;
    int Scale = 1;
    bool Classic = false;
};

// The largest PNG written, in pixels (a gigabyte of bitmap).
constexpr int64_t MaxPngPixels = int64_t{1} << 28;
// The white margin around the ink, in picture pixels.
constexpr int InkMargin = 2;

// Qt's notes (a missing runtime folder and the like) would break the one-line error contract
// of standard error; only fatal messages pass.
void QuietQt(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "zelvano-formula: %s\n", message.toLocal8Bit().constData());
}

int Fail(const std::string &message) {
    std::fprintf(stderr, "zelvano-formula: %s\n", message.c_str());
    return 1;
}

bool EndsWith(const std::string &s, const char *suffix) {
    const std::size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (std::size_t k = 0; k < n; ++k) {
        char c = s[s.size() - n + k];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[k]) return false;
    }
    return true;
}

// Parses the command line; returns -1 to go on, else the exit status.
int ParseArguments(const QStringList &args, TOptions &o) {
    QCommandLineParser parser;
    const char *const flags[] = {"framed", "boxes", "tree", "latex", "mathml", "speech", "classic"};
    for (const char *flag : flags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    for (const char *valued : {"size", "o", "f", "scale", "lang"})
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(valued), QString(), QStringLiteral("VALUE")));
    if (auto exit = ParseCommandLine(
            parser, args, "zelvano-formula", ZELVANO_VERSION, "FormulaTool", Usage, 1,
            [](const QString &typed) {
                return Filled(
                    ToolText("FormulaTool",
                             "неизвестный параметр «%1» (формула, которая начинается с «-», "
                             "пишется после «--»)"),
                    {typed.toLatin1().toStdString()});
            }))
        return *exit;
    bool *const flagged[] = {&o.Framed, &o.Boxes,  &o.Tree,   &o.Latex,
                             &o.MathML, &o.Speech, &o.Classic};
    for (std::size_t i = 0; i < std::size(flags); ++i)
        *flagged[i] = parser.isSet(QString::fromLatin1(flags[i]));
    auto value = [&](const char *name) {
        return parser.value(QString::fromLatin1(name)).toLatin1().toStdString();
    };
    auto usage = [](const std::string &message) {
        return UsageError("zelvano-formula", message, 1);
    };

    if (parser.isSet(QStringLiteral("size"))) {
        const std::string v = value("size");
        const std::optional<int> size = WholeNumberArgument(v, 1, 1000);
        if (!size)
            return usage(
                Filled(ToolText("FormulaTool",
                                "--size: нужно целое число пунктов от 1 до 1000, а не «%1»"),
                       {v}));
        o.Size = *size;
    }
    if (parser.isSet(QStringLiteral("scale"))) {
        const std::string v = value("scale");
        const std::optional<int> scale = WholeNumberArgument(v, 1, 8);
        if (!scale)
            return usage(Filled(
                ToolText("FormulaTool", "--scale: нужно целое число от 1 до 8, а не «%1»"), {v}));
        o.Scale = *scale;
    }
    // The language itself is installed by now.
    if (parser.isSet(QStringLiteral("lang")) &&
        !LanguageOption(parser.value(QStringLiteral("lang"))))
        return usage(
            Filled(ToolText("FormulaTool", "--lang: нужно ru или en, а не «%1»"), {value("lang")}));
    if (parser.isSet(QStringLiteral("o"))) {
        o.Output = value("o");
        if (o.Output.empty()) return usage(ToolText("FormulaTool", "-o: нужно имя файла"));
    }
    const QStringList formulas = parser.positionalArguments();
    const qsizetype files = parser.values(QStringLiteral("f")).size();
    if (formulas.size() + files > 1)
        return usage(ToolText("FormulaTool", "нужна только одна формула"));
    if (files == 1) {
        o.Formula = value("f");
        if (o.Formula.empty())
            return usage(ToolText("FormulaTool", "-f: нужно имя файла («-» — стандартный ввод)"));
        o.FromFile = true;
    } else if (formulas.size() == 1) {
        o.Formula = formulas[0].toLatin1().toStdString();
    } else {
        return usage(ToolText("FormulaTool", "формула не задана"));
    }
    o.HaveFormula = true;
    if (!o.Output.empty() && !EndsWith(o.Output, ".png") && !EndsWith(o.Output, ".svg") &&
        !EndsWith(o.Output, ".pdf"))
        return usage(
            Filled(ToolText("FormulaTool",
                            "имя выходного файла должно оканчиваться на .png, .svg или .pdf: «%1»"),
                   {o.Output}));
    if (o.Scale != 1 && !EndsWith(o.Output, ".png"))
        return usage(ToolText("FormulaTool", "--scale задаётся только для PNG (-o ФАЙЛ.png)"));
    return -1;
}

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The rectangle to write, in device pixels at ratio with the picture's top-left corner at the
// origin: the program's picture, grown where ink reaches beyond it, with a white margin around
// all the ink. The classic picture is the program's rectangle.
QRect OutputRect(TFormulaPicture &picture, const TOptions &o, int ratio) {
    const QRect nominal(0, 0, picture.Width() * ratio, picture.Height() * ratio);
    if (o.Classic) return nominal;
    const QRect ink = picture.InkRect(o.Framed, TShapeDrawing::Smooth, ratio);
    if (ink.isEmpty()) return nominal;
    const int m = InkMargin * ratio;
    return nominal | ink.adjusted(-m, -m, m, m);
}

// Paints the picture for an output whose top-left corner is box's (in picture pixels).
void PaintOutput(TFormulaPicture &picture, const TOptions &o, QPainter &painter, QRectF box) {
    if (o.Classic) {
        picture.Paint(painter, 0, 0, o.Framed, TShapeDrawing::Classic);
        return;
    }
    painter.translate(-box.topLeft());
    painter.fillRect(box, Qt::white);
    picture.PaintInk(painter, 0, 0, o.Framed, TShapeDrawing::Smooth);
}

// The picture as a PNG at the scale, made in memory; empty with why if it cannot be made.
QByteArray PngPicture(TFormulaPicture &picture, const TOptions &o, std::string &why) {
    const int r = o.Scale;
    // Checked before any bitmap is made: the ink search paints at this size too.
    const int64_t most = (int64_t{picture.Width()} + 2 * InkMargin) *
                         (int64_t{picture.Height()} + 2 * InkMargin) * r * r;
    const QRect box = most > MaxPngPixels ? QRect() : OutputRect(picture, o, r);
    if (box.isEmpty() || int64_t{box.width()} * box.height() > MaxPngPixels) {
        why =
            Filled(ToolText("FormulaTool",
                            "рисунок слишком велик для PNG в масштабе %1 (не больше %2 пикселей)"),
                   {std::to_string(r), std::to_string(MaxPngPixels)});
        return QByteArray();
    }
    QImage image(box.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(r);
    image.setDotsPerMeterX(3780 * r);
    image.setDotsPerMeterY(3780 * r);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintOutput(picture, o, painter,
                    QRectF(QPointF(box.topLeft()) / r, QSizeF(box.size()) / r));
    }
    return PngBytes(image);
}

// The picture in the output file's format, made in memory; empty with why if it cannot be made.
QByteArray PictureBytes(TFormulaPicture &picture, const TOptions &o, std::string &why) {
    if (EndsWith(o.Output, ".png")) return PngPicture(picture, o, why);
    why = Filled(ToolText("FormulaTool", "не удалось построить рисунок для «%1»"), {o.Output});
    // The ink is found at four times the resolution (once for a picture of millions of pixels),
    // and the page is given whole picture pixels around it.
    const int r = int64_t{picture.Width()} * picture.Height() <= (int64_t{1} << 22) ? 4 : 1;
    const QRect device = OutputRect(picture, o, r);
    const int left = FloorDiv(device.left(), r), top = FloorDiv(device.top(), r);
    const int right = -FloorDiv(-(device.left() + device.width()), r);
    const int bottom = -FloorDiv(-(device.top() + device.height()), r);
    const QRect box(left, top, right - left, bottom - top);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const int w = box.width(), h = box.height();
    QPainter painter;
    if (EndsWith(o.Output, ".svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(96);
        svg.setSize(QSize(w, h));
        svg.setViewBox(QRect(0, 0, w, h));
        svg.setTitle(QStringLiteral("Zelvano formula"));
        if (!painter.begin(&svg)) return QByteArray();
        PaintOutput(picture, o, painter, box);
        return painter.end() ? bytes : QByteArray();
    }
    QPdfWriter pdf(&buffer);
    // One device unit is one picture pixel at 96 dpi.
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(w * 72.0 / 96.0, h * 72.0 / 96.0), QPageSize::Point,
                              QStringLiteral("Formula"), QPageSize::ExactMatch));
    pdf.setTitle(QStringLiteral("Zelvano formula"));
    if (!painter.begin(&pdf)) return QByteArray();
    PaintOutput(picture, o, painter, box);
    return painter.end() ? bytes : QByteArray();
}

// The formula text of the file "-f" names ("-" for standard input) in UTF-8, one final line
// break dropped. Refuses a file too long to hold an acceptable formula before reading all of it.
int ReadFormulaFile(const std::string &name, std::string &text) {
    std::FILE *in = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!in)
        return Fail(Filled(ToolText("FormulaTool", "не удалось прочитать «%1»: %2"),
                           {name, std::strerror(errno)}));
    // A Windows-1251 character takes at most three bytes of UTF-8.
    const std::size_t most = 3 * TExprBuilder::MaxFormulaLength + 2;
    text.clear();
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0 && text.size() <= most)
        text.append(chunk, got);
    const bool failed = std::ferror(in) != 0;
    const int error = errno;
    if (in != stdin) std::fclose(in);
    if (failed)
        return Fail(Filled(ToolText("FormulaTool", "не удалось прочитать «%1»: %2"),
                           {name, std::strerror(error)}));
    if (text.size() > most) {
        std::fprintf(stderr, "%s\n", EIncorrectExpr(ExprMessages::TooLarge()).what());
        return 2;
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return -1;
}

} // namespace

int main(int argc, char **argv) {
    // A closed pipe is reported as a failed write, not by a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    TOptions o;
    // Byte for byte: a formula or a file name is taken as it was given, UTF-8 or not.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLatin1(argv[i]);

    // A command-line tool needs no display. The application comes first, for the language of
    // every text; it gets none of the arguments, which are the tool's alone.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQt);
    int appArgc = 1;
    char *appArgv[] = {argv[0], nullptr};
    QGuiApplication app(appArgc, appArgv);
    if (const int status = ParseArguments(args, o); status >= 0) return status;

    if (o.FromFile) {
        const std::string name = o.Formula;
        if (const int status = ReadFormulaFile(name, o.Formula); status >= 0) return status;
    }
    std::string formula;
    std::size_t bad = 0;
    if (!Utf8ToCp1251(o.Formula, formula, &bad))
        return Fail(Filled(
            ToolText("FormulaTool", "формула — не текст UTF-8 из знаков Windows-1251 (байт %1)"),
            {std::to_string(bad + 1)}));

    InstallFontSubstitutions();
    InitFormulaFont();
    SetFormulaFontSize(o.Size);
    SetExprDebugBoxes(o.Boxes);

    int status = 0;
    try {
        if (o.Tree) {
            TExprBuilder builder;
            const PExpr root = builder.BuildExpr(formula);
            std::printf("%s\n", DumpExpr(root.get()).c_str());
        }
        const bool texts = o.Latex || o.MathML || o.Speech;
        if (!o.Output.empty() || !o.Tree || texts) {
            TFormulaPicture picture(" ", formula, " ");
            if (o.Latex) std::printf("%s\n", ExprToLatex(picture.Chain()).c_str());
            if (o.MathML) std::printf("%s\n", ExprToMathML(picture.Chain()).c_str());
            if (o.Speech)
                std::printf("%s\n",
                            ExprToSpeech(picture.Chain(), SpeechIn(TextLanguage())).c_str());
            if (o.Output.empty()) {
                if (!o.Tree && !texts) std::printf("%d %d\n", picture.Width(), picture.Height());
            } else {
                std::string why;
                const QByteArray bytes = PictureBytes(picture, o, why);
                if (bytes.isEmpty()) {
                    status = Fail(why);
                } else {
                    QString sentence;
                    const QString error =
                        WriteWholeFile(QString::fromStdString(o.Output), bytes, &sentence);
                    if (!error.isEmpty()) status = Fail(ToolLine(error, sentence));
                }
            }
        }
    } catch (const EIncorrectExpr &e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 2;
    } catch (const std::exception &e) {
        status = Fail(e.what());
    }
    // A full disk or a closed pipe on standard output is a failure like any other write.
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == 0)
        status = Fail(
            Filled(ToolText("FormulaTool", "не удалось записать в стандартный вывод: %1"),
                   {errno != 0 ? std::strerror(errno) : ToolText("FormulaTool", "ошибка записи")}));
    DoneFormulaFont();
    return status;
}
