// zelvano-formula: one formula text as the program typesets it, from the command line.
#include "formula/draw/ExprClass.h"
#include "formula/make/ExprDump.h"
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "runtime/Cp1251.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char *const Usage =
    "Usage: zelvano-formula [--size PT] [--framed] [--boxes] [--tree] [-o FILE] FORMULA\n"
    "\n"
    "Typesets FORMULA, a text in Zelvano's formula language (UTF-8; every character must exist\n"
    "in Windows-1251), as the program's formula pictures show it.\n"
    "\n"
    "  --size PT   formula font size in points, 1 to 1000 (default 10)\n"
    "  --framed    draw the one-pixel frame of a framed result picture\n"
    "  --boxes     outline every node's box and mark its axis row (debug overlay)\n"
    "  --tree      print the node tree the parser builds, on one line\n"
    "  -o FILE     write the picture: FILE.png exactly as the program paints it, FILE.svg or\n"
    "              FILE.pdf the same layout as vector graphics\n"
    "  --help      show this text\n"
    "  --version   show the version\n"
    "\n"
    "Without -o and --tree the picture's width and height are printed as \"W H\".\n"
    "A FORMULA that begins with \"-\" follows \"--\".\n"
    "\n"
    "Exit status: 0 on success; 2 for an error in the formula text (the message and its position\n"
    "in the normalized text go to standard error as one line); 1 for any other failure.\n";

struct TOptions {
    int Size = 10;
    bool Framed = false;
    bool Boxes = false;
    bool Tree = false;
    std::string Output;
    std::string Formula;
    bool HaveFormula = false;
};

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
int ParseArguments(int argc, char **argv, TOptions &o) {
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!optionsDone && a == "--") {
            optionsDone = true;
            continue;
        }
        if (!optionsDone && a.size() > 1 && a[0] == '-') {
            if (a == "--help" || a == "-h") {
                std::fputs(Usage, stdout);
                return 0;
            }
            if (a == "--version") {
                std::fputs("zelvano-formula " ZELVANO_VERSION "\n", stdout);
                return 0;
            }
            if (a == "--framed") {
                o.Framed = true;
            } else if (a == "--boxes") {
                o.Boxes = true;
            } else if (a == "--tree") {
                o.Tree = true;
            } else if (a == "--size" || a == "-o") {
                if (i + 1 >= argc) return Fail(a + " needs a value (see --help)");
                const std::string v = argv[++i];
                if (a == "-o") {
                    o.Output = v;
                    continue;
                }
                int size = 0;
                const auto r = std::from_chars(v.data(), v.data() + v.size(), size);
                if (r.ec != std::errc() || r.ptr != v.data() + v.size() || size < 1 || size > 1000)
                    return Fail("--size takes a whole number of points from 1 to 1000, not \"" + v +
                                "\"");
                o.Size = size;
            } else
                return Fail("unknown option \"" + a + "\" (a formula that begins with \"-\" " +
                            "follows \"--\"; see --help)");
            continue;
        }
        if (o.HaveFormula) return Fail("one formula only (see --help)");
        o.Formula = a;
        o.HaveFormula = true;
    }
    if (!o.HaveFormula) return Fail("no formula given (see --help)");
    if (!o.Output.empty() && !EndsWith(o.Output, ".png") && !EndsWith(o.Output, ".svg") &&
        !EndsWith(o.Output, ".pdf"))
        return Fail("the output file must end in .png, .svg or .pdf: \"" + o.Output + "\"");
    return -1;
}

bool WriteVector(TFormulaPicture &picture, const TOptions &o) {
    const QString path = QString::fromStdString(o.Output);
    const int w = picture.Width(), h = picture.Height();
    if (EndsWith(o.Output, ".svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setResolution(96);
        svg.setSize(QSize(w, h));
        svg.setViewBox(QRect(0, 0, w, h));
        svg.setTitle(QStringLiteral("Zelvano formula"));
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        picture.Paint(painter, 0, 0, o.Framed);
        return painter.end();
    }
    QPdfWriter pdf(path);
    // One device unit is one picture pixel at 96 dpi.
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(w * 72.0 / 96.0, h * 72.0 / 96.0), QPageSize::Point,
                              QStringLiteral("Formula"), QPageSize::ExactMatch));
    pdf.setTitle(QStringLiteral("Zelvano formula"));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    picture.Paint(painter, 0, 0, o.Framed);
    return painter.end();
}

} // namespace

int main(int argc, char **argv) {
    TOptions o;
    if (const int status = ParseArguments(argc, argv, o); status >= 0) return status;

    std::string formula;
    std::size_t bad = 0;
    if (!Utf8ToCp1251(o.Formula, formula, &bad))
        return Fail("the formula is not UTF-8 text of Windows-1251 characters (byte " +
                    std::to_string(bad + 1) + ")");

    // A command-line tool needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQt);
    QGuiApplication app(argc, argv);
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
        if (!o.Output.empty() || !o.Tree) {
            TFormulaPicture picture(" ", formula, " ");
            if (o.Output.empty()) {
                std::printf("%d %d\n", picture.Width(), picture.Height());
            } else if (EndsWith(o.Output, ".png")) {
                const QImage image = picture.Bitmap(TPictureSurface::Sized, o.Framed);
                if (!image.save(QString::fromStdString(o.Output), "PNG"))
                    status = Fail("cannot write \"" + o.Output + "\"");
            } else if (!WriteVector(picture, o))
                status = Fail("cannot write \"" + o.Output + "\"");
        }
    } catch (const EIncorrectExpr &e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 2;
    } catch (const std::exception &e) {
        status = Fail(e.what());
    }
    std::fflush(stdout);
    DoneFormulaFont();
    return status;
}
