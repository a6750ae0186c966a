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

// Written in Russian; the English help is its translation in the catalogue.
const char *const Usage = QT_TRANSLATE_NOOP(
    "ReportTool",
    "Использование: zelvano-report [--variant N | --counts1 \"ч1 ... ч10\"\n"
    "                              --counts2 \"ч1 ... ч10\"] [--smoothing 0|1|2]\n"
    "                              (--dump | --png ПАПКА [--scale N] | --pdf ФАЙЛ |\n"
    "                               --html ФАЙЛ | --csv ФАЙЛ)\n"
    "\n"
    "Выполняет расчёт кнопки «Делать» программы Zelvano без окна.\n"
    "\n"
    "  --variant N      встроенный вариант, от 1 до 30 (по умолчанию 10)\n"
    "  --counts1 ТЕКСТ  десять ежемесячных подсчётов популяции 1 через пробелы,\n"
    "                   табуляции или переводы строки\n"
    "  --counts2 ТЕКСТ  то же для популяции 2 (обе или ни одной)\n"
    "  --smoothing С    графики по месяцам: 0 — без сглаживания, 1 — многочлен\n"
    "                   Лагранжа, 2 — метод наименьших квадратов (по умолчанию 2)\n"
    "  --dump           вывести расчёт текстовыми записями в стандартный вывод\n"
    "  --png ПАПКА      записать в ПАПКУ Image1.png .. Image11.png и десять ChartN.png:\n"
    "                   все или, при сбое, ни одного\n"
    "  --scale N        с --png: в N раз больше разрешения экрана, от 1 до 8\n"
    "                   (по умолчанию 1); вёрстка страниц та же, тексты и формулы\n"
    "                   рисуются чётко\n"
    "  --pdf ФАЙЛ       записать отчёт для печати: по альбомной странице A4\n"
    "                   на каждую вкладку\n"
    "  --html ФАЙЛ      записать урок одним HTML-файлом, которому больше ничего\n"
    "                   не нужно: страницы с текстами, формулами (векторные рисунки\n"
    "                   с MathML и описанием для чтения вслух) и графиками, для любого\n"
    "                   браузера\n"
    "  --csv ФАЙЛ       записать значения расчёта таблицей для электронных таблиц:\n"
    "                   по строке на значение, как вычислено и как показано на\n"
    "                   странице; в UTF-8, по-русски через точку с запятой и с\n"
    "                   десятичной запятой, по-английски через запятую и с десятичной\n"
    "                   точкой\n"
    "  --lang ru|en     язык записей, страниц, файлов, справки и сообщений\n"
    "                   (по умолчанию язык системы; русский, если язык не задан)\n"
    "  --help           показать эту справку\n"
    "  --version        показать версию\n"
    "\n"
    "Код возврата: 0 — готово; 1 — неверный подсчёт, отказ в расчёте (сообщение\n"
    "выводится в стандартный поток ошибок) или вывод, который не удалось записать;\n"
    "2 — неверный вызов.\n");

const char *const SmoothingNames[] = {
    QT_TRANSLATE_NOOP("ReportTool", "без сглаживания"),
    QT_TRANSLATE_NOOP("ReportTool", "аппроксимация многочленом Лангранжем"),
    QT_TRANSLATE_NOOP("ReportTool", "аппроксимация методом наименьших квадратов")};

const char *const OneOutput =
    QT_TRANSLATE_NOOP("ReportTool", "укажите одно из --dump, --png, --pdf, --html, --csv");

enum class TOutput { None, Dump, Png, Pdf, Csv, Html };

struct TOptions {
    int Variant = 10;
    std::optional<QString> Counts1, Counts2;
    int Smoothing = 2;
    TOutput Output = TOutput::None;
    QString Path;
    int Scale = 1;
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
                       valued("lang", "LANG"), QCommandLineOption(QStringLiteral("dump"))});
    if (auto exit =
            ParseCommandLine(parser, args, "zelvano-report", ZELVANO_VERSION, "ReportTool", Usage,
                             ExitUsage, [](const QString &typed) {
                                 return Filled(ToolText("ReportTool", "неизвестный аргумент %1"),
                                               {typed.toStdString()});
                             }))
        return exit;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(Filled(ToolText("ReportTool", "неизвестный аргумент %1"),
                                 {parser.positionalArguments()[0].toStdString()}));

    const QString variant = parser.value(QStringLiteral("variant"));
    if (parser.isSet(QStringLiteral("variant")) &&
        !IntArgument(variant, 1, VariantCount, o.Variant))
        return UsageError(ToolText("ReportTool", "--variant: нужно число от 1 до 30"));
    for (const char *name : {"counts1", "counts2"})
        if (parser.isSet(QString::fromLatin1(name)))
            (name[6] == '1' ? o.Counts1 : o.Counts2) = parser.value(QString::fromLatin1(name));
    if (parser.isSet(QStringLiteral("smoothing")) &&
        !IntArgument(parser.value(QStringLiteral("smoothing")), 0, 2, o.Smoothing))
        return UsageError(ToolText("ReportTool", "--smoothing: нужно 0, 1 или 2"));
    // The language itself is installed by now.
    if (parser.isSet(QStringLiteral("lang")) &&
        !LanguageOption(parser.value(QStringLiteral("lang"))))
        return UsageError(ToolText("ReportTool", "--lang: нужно ru или en"));
    o.ScaleGiven = parser.isSet(QStringLiteral("scale"));
    if (o.ScaleGiven && !IntArgument(parser.value(QStringLiteral("scale")), 1, 8, o.Scale))
        return UsageError(ToolText("ReportTool", "--scale: нужно целое число от 1 до 8"));

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
    if (given != 1) return UsageError(ToolText("ReportTool", OneOutput));
    if (o.Output != TOutput::Dump) {
        const char *name = outputs[static_cast<int>(o.Output) - 1].first;
        o.Path = parser.value(QString::fromLatin1(name));
        if (o.Path.isEmpty())
            return UsageError(Filled(ToolText("ReportTool", "--%1: нужен путь"), {name}));
    }
    if (o.Counts1.has_value() != o.Counts2.has_value())
        return UsageError(ToolText("ReportTool", "укажите и --counts1, и --counts2"));
    if (o.Counts1 && parser.isSet(QStringLiteral("variant")))
        return UsageError(
            ToolText("ReportTool", "укажите --variant или подсчёты, но не то и другое"));
    if (o.ScaleGiven && o.Output != TOutput::Png)
        return UsageError(ToolText("ReportTool", "--scale задаётся только вместе с --png"));
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
        error = Filled(ToolText("ReportTool", "не удалось создать «%1»"), {dir.toStdString()});
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
        error = Filled(ToolText("ReportTool", "не удалось записать «%1» в формате PNG"),
                       {folder.filePath(name).toStdString()});
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
            error = Filled(ToolText("ReportTool", "не удалось записать «%1»: это не обычный файл"),
                           {info.filePath().toStdString()});
            return false;
        }
    }
    QTemporaryDir staging(folder.filePath(QStringLiteral(".zelvano-png-XXXXXX")));
    if (!staging.isValid()) {
        error = Filled(ToolText("ReportTool", "не удалось записать в «%1»: %2"),
                       {dir.toStdString(), staging.errorString().toStdString()});
        return false;
    }
    for (const auto &[name, bytes] : files) {
        const QString staged = staging.filePath(name);
        QString sentence;
        QString failure = WriteWholeFile(staged, bytes, &sentence);
        if (failure.isEmpty()) continue;
        // Named as the file it was to become.
        const QString path = folder.filePath(name);
        error = ToolLine(failure.replace(staged, path), sentence.replace(staged, path));
        return false;
    }
    for (const auto &[name, bytes] : files) {
        const QString path = folder.filePath(name);
        if (std::rename(QFile::encodeName(staging.filePath(name)).constData(),
                        QFile::encodeName(path).constData()) != 0) {
            error = Filled(ToolText("ReportTool", "не удалось записать «%1»: %2"),
                           {path.toStdString(), std::strerror(errno)});
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
        QStringLiteral(", ") +
        QCoreApplication::translate("ReportTool", SmoothingNames[o.Smoothing]);
    std::string error;
    switch (o.Output) {
    case TOutput::Dump:
        Print(stdout, Dump(o.Counts1 ? 0 : o.Variant, run, frmRun.Target()));
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            error = ToolText("ReportTool", "не удалось вывести записи");
        break;
    case TOutput::Png:
        WritePng(o.Path, frmRun, o.Scale, error);
        break;
    case TOutput::Pdf: {
        QString message, sentence;
        if (!WriteResultsPdf(*frmRun.PageControl1(), frmRun.Target(), o.Path, heading, message,
                             &sentence))
            error = ToolLine(message, sentence);
        break;
    }
    case TOutput::Html: {
        QString message, sentence;
        if (!WriteLessonHtml(*frmRun.PageControl1(), frmRun.Target(), &run, o.Path, heading,
                             message, &sentence))
            error = ToolLine(message, sentence);
        break;
    }
    case TOutput::Csv: {
        QString sentence;
        const QString message =
            WriteWholeFile(o.Path, QByteArray::fromStdString(RunTablesCsv(run)), &sentence);
        if (!message.isEmpty()) error = ToolLine(message, sentence);
        break;
    }
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

    // No display needed: the results window stays hidden and paints off screen. The application
    // comes first, for the language of every text; it gets none of the arguments, which are the
    // tool's alone.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    int appArgc = 1;
    char *appArgv[] = {argv[0], nullptr};
    QApplication application(appArgc, appArgv);
    QCoreApplication::setApplicationName(QStringLiteral("zelvano"));
    TOptions options;
    if (const std::optional<int> exit = ParseArguments(args, options)) return *exit;
    try {
        return Run(options);
    } catch (const std::exception &e) {
        Print(stderr, std::string("zelvano-report: ") + e.what() + "\n");
        return ExitBadInput;
    }
}
