// zelvano-report: one analysis run without a window, through the same run and the same results
// window the program uses (kept hidden), written out as text records, PNG files or a PDF report.
#include "analysis/CheckPage.h"
#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "analysis/RunCsv.h"
#include "analysis/Texts.h"
#include "formula/make/ExprMake.h"
#include "results/CheckChart.h"
#include "results/FontSetup.h"
#include "results/HtmlLesson.h"
#include "results/Language.h"
#include "results/ResultsPdf.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"
#include "results/WholeFile.h"
#include "runtime/Cp1251.h"
#include "runtime/NumText.h"
#include "tools/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int ExitBadInput = 1; // a bad count, a refused run, an output that cannot be written
constexpr int ExitUsage = 2;

const char *const Usage =
    "Usage: zelvano-report [--variant N | --counts1 \"c1 ... c10\" --counts2 \"c1 ... c10\"]\n"
    "                      [--smoothing 0|1|2]\n"
    "                      (--dump | --png DIR [--scale N] | --pdf FILE | --html FILE |\n"
    "                       --csv FILE)\n"
    "\n"
    "Runs the analysis of Zelvano's \"Делать\" button without a window.\n"
    "\n"
    "  --variant N      built-in variant 1 .. 30 (default 10)\n"
    "  --counts1 TEXT   the ten monthly counts of population 1, separated by blanks,\n"
    "                   tabs or line breaks\n"
    "  --counts2 TEXT   the same for population 2 (both or neither)\n"
    "  --smoothing S    month charts: 0 none, 1 Lagrange, 2 least squares (default 2)\n"
    "  --dump           print the run as text records on standard output\n"
    "  --png DIR        write Image1.png .. Image11.png and the ten ChartN.png into DIR,\n"
    "                   all of them or, on a failure, none\n"
    "  --scale N        with --png: N times the screen resolution, 1 to 8 (default 1);\n"
    "                   the pages keep their layout, texts and formulas are drawn sharp\n"
    "  --pdf FILE       write a printable report, one A4 landscape page per tab page\n"
    "  --html FILE      write the lesson as one HTML file that needs nothing else: the\n"
    "                   pages with their texts, formulas (vector pictures with MathML\n"
    "                   and a spoken description) and charts, for any browser\n"
    "  --csv FILE       write the run's values as a table for spreadsheets: one row per\n"
    "                   value, as computed and as the page shows it; UTF-8, in\n"
    "                   Russian with semicolons and decimal commas, in English with\n"
    "                   commas and decimal points\n"
    "  --lang ru|en     the language of the records, pages and files (default: the\n"
    "                   system's; Russian where none is set)\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 done; 1 a bad count, a refused run (the message goes to standard error)\n"
    "or output that cannot be written; 2 wrong usage.\n";

const char *const SmoothingNames[] = {
    QT_TRANSLATE_NOOP("ReportTool", "без сглаживания"),
    QT_TRANSLATE_NOOP("ReportTool", "аппроксимация многочленом Лангранжем"),
    QT_TRANSLATE_NOOP("ReportTool", "аппроксимация методом наименьших квадратов")};

const char *const OneOutput = "give one of --dump, --png, --pdf, --html, --csv";

enum class TOutput { None, Dump, Png, Pdf, Csv, Html };

struct TOptions {
    int Variant = 10;
    std::optional<QString> Counts1, Counts2;
    int Smoothing = 2;
    TOutput Output = TOutput::None;
    QString Path;
    int Scale = 1;
    std::optional<TLanguage> Language;
    bool ScaleGiven = false;
};

void Print(std::FILE *to, const std::string &text) {
    std::fwrite(text.data(), 1, text.size(), to);
}

int UsageError(const std::string &message) {
    return ::UsageError("zelvano-report", message, ExitUsage);
}

// An integer option value within lo .. hi.
bool IntArgument(const QString &text, int lo, int hi, int &value) {
    const std::optional<int> v = WholeNumberArgument(text.toStdString(), lo, hi);
    if (v) value = *v;
    return v.has_value();
}

// Parses the arguments; an empty result means go on, else it is the exit status.
std::optional<int> ParseArguments(const QStringList &args, TOptions &o) {
    QCommandLineParser parser;
    auto valued = [](const char *name, const char *valueName) {
        return QCommandLineOption(QString::fromLatin1(name), QString(),
                                  QString::fromLatin1(valueName));
    };
    parser.addOptions({valued("variant", "N"), valued("counts1", "TEXT"), valued("counts2", "TEXT"),
                       valued("smoothing", "S"), valued("scale", "N"), valued("png", "DIR"),
                       valued("pdf", "FILE"), valued("csv", "FILE"), valued("html", "FILE"),
                       valued("lang", "LANG"),
                       QCommandLineOption(QStringLiteral("dump"))});
    if (auto exit = ParseCommandLine(
            parser, args, "zelvano-report", ZELVANO_VERSION, Usage, ExitUsage,
            [](const QString &typed) { return "unknown argument " + typed.toStdString(); }))
        return exit;
    if (!parser.positionalArguments().isEmpty())
        return UsageError("unknown argument " + parser.positionalArguments()[0].toStdString());

    const QString variant = parser.value(QStringLiteral("variant"));
    if (parser.isSet(QStringLiteral("variant")) &&
        !IntArgument(variant, 1, VariantCount, o.Variant))
        return UsageError("--variant needs a number from 1 to 30");
    for (const char *name : {"counts1", "counts2"})
        if (parser.isSet(QString::fromLatin1(name)))
            (name[6] == '1' ? o.Counts1 : o.Counts2) = parser.value(QString::fromLatin1(name));
    if (parser.isSet(QStringLiteral("smoothing")) &&
        !IntArgument(parser.value(QStringLiteral("smoothing")), 0, 2, o.Smoothing))
        return UsageError("--smoothing needs 0, 1 or 2");
    if (parser.isSet(QStringLiteral("lang"))) {
        o.Language = LanguageOption(parser.value(QStringLiteral("lang")));
        if (!o.Language) return UsageError("--lang needs ru or en");
    }
    o.ScaleGiven = parser.isSet(QStringLiteral("scale"));
    if (o.ScaleGiven && !IntArgument(parser.value(QStringLiteral("scale")), 1, 8, o.Scale))
        return UsageError("--scale needs a whole number from 1 to 8");

    const std::pair<const char *, TOutput> outputs[] = {{"dump", TOutput::Dump},
                                                        {"png", TOutput::Png},
                                                        {"pdf", TOutput::Pdf},
                                                        {"csv", TOutput::Csv},
                                                        {"html", TOutput::Html}};
    int given = 0;
    for (const QString &name : parser.optionNames())
        for (const auto &[output, kind] : outputs)
            if (name == QLatin1String(output)) {
                ++given;
                o.Output = kind;
            }
    if (given != 1) return UsageError(OneOutput);
    if (o.Output != TOutput::Dump) {
        const char *name = outputs[static_cast<int>(o.Output) - 1].first;
        o.Path = parser.value(QString::fromLatin1(name));
        if (o.Path.isEmpty()) return UsageError(std::string("--") + name + " needs a path");
    }
    if (o.Counts1.has_value() != o.Counts2.has_value())
        return UsageError("give both --counts1 and --counts2");
    if (o.Counts1 && parser.isSet(QStringLiteral("variant")))
        return UsageError("give --variant or the counts, not both");
    if (o.ScaleGiven && o.Output != TOutput::Png) return UsageError("--scale goes with --png");
    return std::nullopt;
}

// Ten counts of population's text as the grid converts its cells. At a bad, missing or extra
// count, false with error saying which, in the words of the input window's labels and columns.
bool CountsFromText(const QString &text, int population, TCountArray &counts, QString &error) {
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\r\\n]+"));
    const QStringList cells = text.split(blanks, Qt::SkipEmptyParts);
    const QString where =
        QCoreApplication::translate("ReportTool", "Популяция №%1").arg(population);
    for (int c = 0; c < 10; ++c) {
        const QString cell = cells.value(c);
        if (c >= cells.size() ||
            !CountFromText(std::u16string_view(reinterpret_cast<const char16_t *>(cell.utf16()),
                                               static_cast<size_t>(cell.size())),
                           counts[static_cast<size_t>(c)])) {
            error = QString::fromStdString(BadCountText(population, c + 1, cell.toStdString()));
            return false;
        }
    }
    if (cells.size() > 10) {
        error = QCoreApplication::translate("ReportTool", "%1: лишнее число \"%2\" после месяца 10")
                    .arg(where, cells[10]);
        return false;
    }
    return true;
}

std::string Utf8(std::string_view cp1251) {
    return Cp1251ToUtf8(cp1251);
}

std::string Quoted(std::string_view utf8) {
    return QuotedRecord(utf8);
}

std::string Real(double v) {
    return ShortestText(v);
}

// The records of the run: its numbers from the result, its pages as the target painted them.
std::string Dump(int variant, const TRunResult &run, TFrmRunTarget &target) {
    std::string out = "run " + std::to_string(variant) + " " + std::to_string(run.Smoothing) + "\n";
    for (int p = 1; p <= 2; ++p) {
        out += "counts " + std::to_string(p);
        for (int32_t c : run.Population[static_cast<size_t>(p - 1)].Counts) {
            out += ' ';
            out += std::to_string(c);
        }
        out += "\n";
    }
    for (int n = 3; n <= 6; ++n)
        out += "label Label" + std::to_string(n) + " " +
               Quoted(Utf8(run.Labels[static_cast<size_t>(n - 3)])) + "\n";
    auto page = [&](int n) {
        TQtImageArea &area = target.Image(n);
        out += "page Image" + std::to_string(n) + " " + std::to_string(area.Width()) + " " +
               std::to_string(area.Height()) + "\n";
        for (const TAreaOp &op : area.Log()) {
            const std::string at = std::to_string(op.X) + " " + std::to_string(op.Y) + " ";
            if (op.Kind == TAreaOp::KText)
                out += "text " + at + Quoted(op.Utf8 ? op.Text : Utf8(op.Text)) + "\n";
            else if (op.Kind == TAreaOp::KFormula)
                out += (op.Framed ? "framed " : "formula ") + at + std::to_string(op.Width) + " " +
                       std::to_string(op.Height) + " " + Quoted(Utf8(op.Text)) + "\n";
        }
    };
    auto series = [&](int chart, int index, const TPointList &points) {
        out += "series Chart" + std::to_string(chart) + " " + std::to_string(index) + " " +
               std::to_string(points.size()) + "\n";
        for (const TChartPoint &p : points)
            out += "point " + Real(p.X) + " " + Real(p.Y) + "\n";
    };
    for (int n = 1; n <= 9; ++n)
        page(n);
    for (int chart : {1, 2, 3, 4, 6, 5, 12, 11})
        for (int index = 0; index < 2; ++index)
            series(chart, index, ChartPoints(run, chart, index));
    // The check page comes after every record of the eleven classic pages.
    out += CheckRecords(*run.Check);
    for (int n = 10; n <= 11; ++n)
        page(n);
    for (int i = 0; i < 2; ++i)
        for (int index = 0; index < CheckSeriesCount; ++index)
            series(13 + i, index, run.Check->Population[static_cast<size_t>(i)].Series[index]);
    return out;
}

// A widget's look at scale times the screen resolution: painted, not enlarged.
QImage ScaledGrab(QWidget &view, int scale) {
    QImage image(view.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.render(&painter);
    return image;
}

// Writes Image1.png .. Image11.png as painted and each chart at its size, all at scale times the
// screen resolution. The set is written whole or not at all: every file goes to a staging folder
// inside dir first, and only when all of them are there do they replace the earlier ones (renames
// within one folder, which need no room). On a failure dir is left as it was, and false with a
// message naming the file.
bool WritePng(const QString &dir, TFrmRun &frmRun, int scale, std::string &error) {
    TFrmRunTarget &target = frmRun.Target();
    if (!QDir().mkpath(dir)) {
        error = "cannot create \"" + dir.toStdString() + "\"";
        return false;
    }
    const QDir folder(dir);
    std::vector<std::pair<QString, QByteArray>> files;
    auto add = [&](QImage image, const QString &name) {
        // The resolution tells viewers and printers the picture's size at the screen's.
        image.setDotsPerMeterX(3780 * scale);
        image.setDotsPerMeterY(3780 * scale);
        files.emplace_back(name, PngBytes(image));
        if (!files.back().second.isEmpty()) return true;
        error =
            QStringLiteral("cannot encode \"%1\" as PNG").arg(folder.filePath(name)).toStdString();
        return false;
    };
    for (int n = 1; n <= 11; ++n) {
        // The area's log painted again at the scale, whatever the ratio of the hidden window.
        TQtImageArea &source = target.Image(n);
        QImage image(source.Width() * scale, source.Height() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            TQtImageArea area(painter, source.Width(), source.Height());
            area.Replay(source.Log());
        }
        if (!add(image, QStringLiteral("Image%1.png").arg(n))) return false;
    }
    for (int chart : TFrmRun::ChartNumbers) {
        TChart *view = frmRun.Chart(chart);
        view->Flush();
        if (!add(ScaledGrab(*view, scale), QStringLiteral("Chart%1.png").arg(chart))) return false;
    }
    for (int chart : {13, 14}) {
        TCheckChart *view = frmRun.CheckChart(chart);
        view->Flush();
        if (!add(ScaledGrab(*view, scale), QStringLiteral("Chart%1.png").arg(chart))) return false;
    }
    // A name held by a folder or a device would stop the renames half way.
    for (const auto &[name, bytes] : files) {
        const QFileInfo info(folder.filePath(name));
        if (info.exists() && !info.isFile()) {
            error = "cannot write \"" + info.filePath().toStdString() + "\": not a regular file";
            return false;
        }
    }
    QTemporaryDir staging(folder.filePath(QStringLiteral(".zelvano-png-XXXXXX")));
    if (!staging.isValid()) {
        error = "cannot write into \"" + dir.toStdString() +
                "\": " + staging.errorString().toStdString();
        return false;
    }
    for (const auto &[name, bytes] : files) {
        const QString staged = staging.filePath(name);
        const QString failure = WriteWholeFile(staged, bytes);
        if (failure.isEmpty()) continue;
        // Named as the file it was to become.
        const QString prefix = QStringLiteral("cannot write \"%1\": ").arg(staged);
        error = "cannot write \"" + folder.filePath(name).toStdString() + "\": " +
                (failure.startsWith(prefix) ? failure.mid(prefix.size()) : failure).toStdString();
        return false;
    }
    for (const auto &[name, bytes] : files) {
        const QString path = folder.filePath(name);
        if (std::rename(QFile::encodeName(staging.filePath(name)).constData(),
                        QFile::encodeName(path).constData()) != 0) {
            error = "cannot write \"" + path.toStdString() + "\": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

// Qt's own diagnostics would mix with the program's messages on standard error.
void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Print(stderr, "zelvano-report: " + message.toStdString() + "\n");
}

int Run(const TOptions &o) {
    InstallFontSubstitutions();

    TCountArray counts1{}, counts2{};
    if (o.Counts1) {
        QString which;
        if (!CountsFromText(*o.Counts1, 1, counts1, which) ||
            !CountsFromText(*o.Counts2, 2, counts2, which)) {
            Print(stderr,
                  QCoreApplication::translate("ReportTool", "Вы ввели неверные данные: %1\n")
                      .arg(which)
                      .toStdString());
            return ExitBadInput;
        }
    } else {
        for (int m = 1; m <= 10; ++m) {
            counts1[m - 1] = VariantCountOf(o.Variant - 1, 1, m);
            counts2[m - 1] = VariantCountOf(o.Variant - 1, 2, m);
        }
    }

    TFrmRun frmRun;
    TAnalysisRun analysis = RunAnalysis(frmRun.Target(), counts1, counts2, o.Smoothing);
    if (analysis.End != TRunEnd::Applied) {
        Print(stderr, Utf8(analysis.Refusal) + "\n");
        return ExitBadInput;
    }
    const TRunResult &run = *analysis.Result;

    const QString heading =
        (o.Counts1 ? QCoreApplication::translate("ReportTool", "свои данные")
                   : QCoreApplication::translate("ReportTool", "вариант %1").arg(o.Variant)) +
        QStringLiteral(", ") + QCoreApplication::translate("ReportTool", SmoothingNames[o.Smoothing]);
    std::string error;
    switch (o.Output) {
    case TOutput::Dump:
        Print(stdout, Dump(o.Counts1 ? 0 : o.Variant, run, frmRun.Target()));
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) error = "cannot write the records";
        break;
    case TOutput::Png:
        WritePng(o.Path, frmRun, o.Scale, error);
        break;
    case TOutput::Pdf: {
        QString message;
        if (!WriteResultsPdf(*frmRun.PageControl1(), frmRun.Target(), o.Path, heading, message))
            error = message.toStdString();
        break;
    }
    case TOutput::Html: {
        QString message;
        if (!WriteLessonHtml(*frmRun.PageControl1(), frmRun.Target(), &run, o.Path, heading,
                             message))
            error = message.toStdString();
        break;
    }
    case TOutput::Csv:
        error = WriteWholeFile(o.Path, QByteArray::fromStdString(RunTablesCsv(run))).toStdString();
        break;
    case TOutput::None:
        break;
    }
    if (!error.empty()) {
        Print(stderr, "zelvano-report: " + error + "\n");
        return ExitBadInput;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    // A closed pipe is reported as a failed write, not by a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    TOptions options;
    if (const std::optional<int> exit = ParseArguments(args, options)) return *exit;

    // No display needed: the results window stays hidden and paints off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelvano"));
    InstallLanguage(ChooseLanguage(options.Language, std::nullopt, SystemUiLanguages()));
    try {
        return Run(options);
    } catch (const std::exception &e) {
        Print(stderr, std::string("zelvano-report: ") + e.what() + "\n");
        return ExitBadInput;
    }
}
