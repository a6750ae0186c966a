// zelvano-report as a program: its records, exit codes and files, checked against the window's
// own run of the same counts.
#include "analysis/RunCsv.h"
#include "app/Unit1.h"
#include "results/ResultsActions.h"
#include "results/Unit2.h"
#include "tests/results/ModalHelper.h"
#include "tests/tools/ToolRun.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

namespace {

TToolRun RunReport(const QStringList &args, std::optional<rlim_t> fileLimit = std::nullopt,
                   const QString &scaleFactor = QString()) {
    // The scale factor: the screen's device pixel ratio.
    return RunTool(QStringLiteral(ZELVANO_REPORT_EXE), args, QByteArray(), fileLimit,
                   scaleFactor.isEmpty()
                       ? QStringList()
                       : QStringList{QStringLiteral("QT_SCALE_FACTOR=") + scaleFactor});
}

const QString Variant1Counts1 = QStringLiteral("8 504 752 876 938 969 984 992 996 997");
const QString Variant1Counts2 = QStringLiteral("16 24 36 54 81 122 183 275 412 618");

// The results window after the window's own run of a variant with least-squares smoothing.
class TWindowRun {
public:
    explicit TWindowRun(int variant) {
        FForm = std::make_unique<TForm1>(TSettingsPlace{FTemp.filePath(QStringLiteral("p")),
                                                        FTemp.filePath(QStringLiteral("c"))});
        FForm->SetResultsWindow(&FrmRun);
        FForm->ComboBox1()->setEditText(QString::number(variant));
        FForm->Button1()->click();
    }
    TFrmRun FrmRun;

private:
    QTemporaryDir FTemp;
    std::unique_ptr<TForm1> FForm;
    TModalAnswerer FAnswerer;
};

// The lines after the record header, up to the next header or record of the fits.
QStringList Block(const QStringList &lines, const QString &header) {
    static const QRegularExpression next(QStringLiteral("^(series|page|fit|se|choice|warning) "));
    const qsizetype at = lines.indexOf(header);
    if (at < 0) return {};
    QStringList block;
    for (qsizetype i = at + 1; i < lines.size() && !next.match(lines[i]).hasMatch(); ++i)
        block << lines[i];
    return block;
}

// A picture record: kind, x, three more integers (y, width, height), then the quoted text.
bool IsPicture(const QString &line, const char *kind, int x, const char *quoted) {
    const QStringList f = line.split(u' ');
    if (f.size() < 6 || f[0] != QLatin1String(kind) || f[1].toInt() != x) return false;
    for (int i = 2; i <= 4; ++i) {
        bool ok = false;
        if (f[i].toInt(&ok) < 0 || !ok) return false;
    }
    return f.mid(5).join(u' ') == QString::fromUtf8(quoted);
}

} // namespace

TEST(ReportTool, DumpRecordsOfVariant1) {
    const TToolRun run =
        RunReport({QStringLiteral("--variant"), QStringLiteral("1"), QStringLiteral("--dump")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    ASSERT_GT(lines.size(), 20);
    const QStringList head = {
        QStringLiteral("run 1 2"),
        QStringLiteral("counts 1 ") + Variant1Counts1,
        QStringLiteral("counts 2 ") + Variant1Counts2,
        QStringLiteral("label Label3 \"Первая популяция изменяется по логистичесой модели\""),
        QStringLiteral("label Label4 \"Вторая популяция изменяется по экспоненциальной модели\""),
        QStringLiteral("label Label5 \"Максимальное знаяение роста популяции S = 1000\""),
        QStringLiteral("label Label6 \"\""),
        QStringLiteral("page Image1 961 643"),
        QStringLiteral("text 10 10 \"Экспоненциальная модель роста популяции\""),
    };
    EXPECT_EQ(lines.mid(0, head.size()), head);

    // Quotes and backslashes inside a formula text are escaped.
    const QStringList coefficients = Block(lines, QStringLiteral("page Image2 477 643"));
    ASSERT_EQ(coefficients.size(), 14);
    EXPECT_EQ(coefficients[0],
              QStringLiteral("text 10 10 \"Первая популяция - логистическая модель\""));
    EXPECT_TRUE(IsPicture(coefficients[2], "formula", 15,
                          "\"k_(1&String(\\\",\\\")&2)=(504-8)/((1000-8)*.1)=0.5\""))
        << coefficients[2].toStdString();
    EXPECT_TRUE(IsPicture(coefficients[13], "framed", 15, "\"diff(x)/diff(t)=0.4704*.!(1000-x)\""))
        << coefficients[13].toStdString();

    // Each two-year line starts where the picture above it ended.
    const QStringList twoYears = Block(lines, QStringLiteral("page Image6 477 643"));
    ASSERT_EQ(twoYears.size(), 24);
    int y = 10;
    for (const QString &line : twoYears) {
        const QStringList f = line.split(u' ');
        ASSERT_GE(f.size(), 6);
        EXPECT_EQ(f[0], QStringLiteral("formula"));
        EXPECT_EQ(f[2].toInt(), y) << line.toStdString();
        y += f[4].toInt();
    }

    // The series in their order, each with as many point records as it says.
    QStringList headers;
    for (const QString &line : lines)
        if (line.startsWith(u"series ")) headers << line;
    const QString order = QStringLiteral(
        "Chart1 0 51|Chart1 1 10|Chart2 0 51|Chart2 1 10|Chart3 0 9|Chart3 1 8|Chart4 0 9|"
        "Chart4 1 8|Chart6 0 24|Chart6 1 0|Chart5 0 24|Chart5 1 0|Chart12 0 35|Chart12 1 1|"
        "Chart11 0 36|Chart11 1 0|Chart13 0 10|Chart13 1 10|Chart13 2 91|Chart13 3 91|"
        "Chart13 4 91|Chart14 0 10|Chart14 1 10|Chart14 2 91|Chart14 3 0|Chart14 4 0");
    EXPECT_EQ(headers.join(u'|'), QStringLiteral("series ") + order.split(u'|').join("|series "));
    for (const QString &header : headers)
        EXPECT_EQ(Block(lines, header).size(), header.section(u' ', 3).toInt())
            << header.toStdString();
    EXPECT_EQ(Block(lines, QStringLiteral("series Chart1 1 10")).first(),
              QStringLiteral("point 1 8"));
    EXPECT_EQ(Block(lines, QStringLiteral("series Chart3 0 9")).first(),
              QStringLiteral("point 0 752"));
    EXPECT_EQ(Block(lines, QStringLiteral("series Chart12 1 1")).first(),
              QStringLiteral("point 0 8"));
}

TEST(ReportTool, DumpPointsAreTheWindowsOwnInTheShortestExactTexts) {
    const QStringList lines = RunReport({"--variant", "1", "--dump"}).Lines();
    TWindowRun window(1);
    const QList<QPointF> &curve = window.FrmRun.Chart(1)->Series(0).Points();
    const QStringList records = Block(lines, QStringLiteral("series Chart1 0 51"));
    ASSERT_EQ(records.size(), curve.size());
    for (qsizetype i = 0; i < curve.size(); ++i) {
        const QStringList f = records[i].split(u' ');
        ASSERT_EQ(f.size(), 3);
        for (int axis = 0; axis < 2; ++axis) {
            const std::string text = f[1 + axis].toStdString();
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            EXPECT_EQ(value, axis == 0 ? curve[i].x() : curve[i].y()) << text;
            char shortest[64];
            EXPECT_EQ(std::string(shortest, std::to_chars(shortest, shortest + 64, value).ptr),
                      text);
        }
    }
}

TEST(ReportTool, CheckRecordsComeAfterAllOthers) {
    const TToolRun run =
        RunReport({QStringLiteral("--variant"), QStringLiteral("5"), QStringLiteral("--dump")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    const QStringList lines = run.Lines();
    // The classic records end with the three-year chart of population 2; then the fits, then
    // the check page and its charts.
    const qsizetype last = lines.indexOf(QStringLiteral("series Chart11 1 0"));
    ASSERT_GT(last, 0);
    EXPECT_TRUE(lines[last + 1].startsWith(u"fit 1 exponential ok "));
    EXPECT_EQ(lines[last + 7], QStringLiteral("choice 1 saturation 1"));
    EXPECT_TRUE(lines[last + 8].startsWith(u"warning 1 \"Коэффициент k программы отрицателен"));
    const qsizetype page = lines.indexOf(QStringLiteral("page Image10 477 465"));
    EXPECT_EQ(lines[page - 1], QStringLiteral("choice 2 exponential 1"));
    // Every line of the page, typeset with the real fonts, stands inside its area.
    for (const char *header : {"page Image10 477 465", "page Image11 484 465"}) {
        const QStringList block = Block(lines, QString::fromUtf8(header));
        ASSERT_GT(block.size(), 10) << header;
        // The title is a text line; the picture under it starts one text line lower.
        const int textHeight = block[1].section(u' ', 2, 2).toInt() - 10;
        for (const QString &line : block) {
            const QStringList f = line.split(u' ');
            const int bottom = f[2].toInt() + (f[0] == u"text" ? textHeight : f[4].toInt());
            EXPECT_LE(bottom, 465) << line.toStdString();
            if (f[0] != u"text") {
                EXPECT_LE(f[1].toInt() + f[3].toInt(), 477) << line.toStdString();
            }
        }
    }
    // Population 2's saturation and logistic fits are undetermined: their series are empty.
    EXPECT_EQ(lines.last(), QStringLiteral("series Chart14 4 0"));
}

TEST(ReportTool, CountsAreReadAsTheGridReadsThem) {
    // Variant 1 swapped: population 1 is exponential now.
    TToolRun run =
        RunReport({QStringLiteral("--counts1"), Variant1Counts2, QStringLiteral("--counts2"),
                   QStringLiteral(" ") + Variant1Counts1, QStringLiteral("--smoothing"),
                   QStringLiteral("0"), QStringLiteral("--dump")});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    QStringList lines = run.Lines();
    EXPECT_EQ(lines.value(0), QStringLiteral("run 0 0"));
    EXPECT_EQ(
        lines.value(3),
        QStringLiteral("label Label3 \"Первая популяция изменяется по экспоненциальной модели\""));
    EXPECT_EQ(lines.value(5), QStringLiteral("label Label5 \"\""));
    EXPECT_EQ(lines.value(6),
              QStringLiteral("label Label6 \"Максимальное знаяение роста популяции S = 1000\""));
    EXPECT_TRUE(lines.contains(QStringLiteral("series Chart1 0 10")));

    // Signs and the ends of the 32-bit range are counts; beyond it, or anything else, is not.
    run = RunReport({"--counts1", "+16\t24 36 54\n81 122  183 275 412 2147483647", "--counts2",
                     Variant1Counts1, "--dump"});
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
    // The message says which count to mend, in the input window's words.
    const std::pair<QString, QString> bad[] = {
        {QStringLiteral("16 24 36 54 81 122 183 275 412 2147483648"),
         QStringLiteral("месяц 10: \"2147483648\"")},
        {QStringLiteral("16 24 36 54 81 122 183 275 412"), QStringLiteral("месяц 10: нет числа")},
        {QStringLiteral("16 24 36 54 81 122 183 x 412 618"), QStringLiteral("месяц 8: \"x\"")},
        {QStringLiteral("16 24 36 54 81 122 183 275 412 618\u00a0"),
         QStringLiteral("месяц 10: \"618\u00a0\"")},
        {QStringLiteral("16 24 36 54 81 122 183 275 412 618 7"),
         QStringLiteral("лишнее число \"7\" после месяца 10")},
    };
    for (const auto &[counts, which] : bad) {
        run = RunReport({"--counts1", Variant1Counts1, "--counts2", counts, "--dump"});
        EXPECT_EQ(run.Exit, 1) << counts.toStdString();
        const QString where = which.startsWith(u'л') ? QStringLiteral("Популяция №2: ")
                                                     : QStringLiteral("Популяция №2, ");
        EXPECT_EQ(run.Err, QStringLiteral("Вы ввели неверные данные: ") + where + which + u'\n');
        EXPECT_TRUE(run.Out.isEmpty());
    }
    run = RunReport({"--counts1", "1 2 3", "--counts2", "x", "--dump"});
    EXPECT_EQ(run.Err,
              QStringLiteral("Вы ввели неверные данные: Популяция №1, месяц 4: нет числа\n"));
}

TEST(ReportTool, ARefusedRunOrWrongUsageFails) {
    TToolRun run = RunReport({"--counts1", Variant1Counts1, "--counts2",
                              "16 24 0 54 81 122 183 275 412 618", "--pdf", "unused.pdf"});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, QStringLiteral("Численность экспоненциальной популяции в месяцах 1–9 не "
                                      "должна быть равна 0 (популяция №2)\n"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("unused.pdf")));

    const QStringList usage[] = {
        {},
        {"--variant", "31", "--dump"},
        {"--variant", "x", "--dump"},
        {"--variant", " 5", "--dump"},
        {"--variant", "+5", "--dump"},
        {"--variant", "07", "--dump"},
        {"--smoothing", "+1", "--dump"},
        {"--pdf", ""},
        {"--smoothing", "3", "--dump"},
        {"--counts1", Variant1Counts1, "--dump"},
        {"--variant", "1", "--counts1", Variant1Counts1, "--counts2", Variant1Counts2, "--dump"},
        {"--dump", "--pdf", "a.pdf"},
        {"--png"},
        {"--dump", "--colour"},
        {"--dump", "--dump"},
        {"--dump=1"},
        {"--dump", "stray"},
    };
    for (const QStringList &args : usage) {
        run = RunReport(QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + args);
        EXPECT_EQ(run.Exit, 2) << args.join(u' ').toStdString();
        // One line naming the problem and the hint, not the whole help.
        const QStringList lines = run.Err.split(u'\n');
        ASSERT_EQ(lines.size(), 3) << run.Err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("zelvano-report: ")));
        EXPECT_EQ(lines[1], QStringLiteral("Try 'zelvano-report --help'."));
    }
    // In the language of --lang, wherever it stands; Russian where no language is set.
    run = RunReport({QStringLiteral("--dump"), QStringLiteral("--colour"), QStringLiteral("--lang"),
                     QStringLiteral("ru")});
    EXPECT_EQ(run.Err, QStringLiteral("zelvano-report: неизвестный аргумент --colour\nПо команде "
                                      "«zelvano-report --help» можно получить справку.\n"));
    run = RunReport({QStringLiteral("--help"), QStringLiteral("--lang"), QStringLiteral("en")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Usage: zelvano-report")));
    run = RunTool(QStringLiteral(ZELVANO_REPORT_EXE), {QStringLiteral("--help")}, QByteArray(),
                  std::nullopt,
                  {QStringLiteral("LANG="), QStringLiteral("LC_ALL="),
                   QStringLiteral("LC_MESSAGES="), QStringLiteral("LANGUAGE=")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Использование: zelvano-report")));
}

TEST(ReportTool, PngFilesAreThePicturesOfTheWindow) {
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("new/png"));
    const TToolRun run = RunReport({"--variant", "1", "--png", dir});
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    TWindowRun window(1);
    for (int n = 1; n <= 11; ++n) {
        const QImage png(dir + QStringLiteral("/Image%1.png").arg(n));
        const QImage &bitmap = window.FrmRun.Image(n)->Bitmap();
        EXPECT_EQ(png.size(), bitmap.size()) << n;
        EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) == bitmap) << n;
    }
    for (int chart : TFrmRun::ChartNumbers) {
        const QImage png(dir + QStringLiteral("/Chart%1.png").arg(chart));
        EXPECT_EQ(png.size(), window.FrmRun.Chart(chart)->size()) << chart;
    }

    // A folder that cannot be made is a failure, not a silent success.
    QFile blocker(temp.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(RunReport({"--variant", "1", "--png", blocker.fileName()}).Exit, 1);
}

// The pages keep their 96-dpi layout at any device pixel ratio: the records are the same byte for
// byte, and the PNG files are the same pictures, drawn at the scale asked for.
TEST(ReportTool, TheLayoutIsTheSameAtEveryPixelRatio) {
    for (const char *variant : {"1", "10"}) {
        const TToolRun plain = RunReport({"--variant", variant, "--dump"});
        const TToolRun doubled = RunReport({"--variant", variant, "--dump"}, std::nullopt, "2");
        ASSERT_EQ(plain.Exit, 0);
        ASSERT_EQ(doubled.Exit, 0) << doubled.Err.toStdString();
        EXPECT_GT(plain.Out.count(QStringLiteral("\nformula ")), 100);
        EXPECT_EQ(plain.Out, doubled.Out) << variant;
    }

    QTemporaryDir temp;
    const QString one = temp.filePath(QStringLiteral("one")),
                  two = temp.filePath(QStringLiteral("two"));
    const QString onAScaledScreen = temp.filePath(QStringLiteral("screen"));
    ASSERT_EQ(RunReport({"--variant", "1", "--png", one}).Exit, 0);
    ASSERT_EQ(RunReport({"--variant", "1", "--png", two, "--scale", "2"}).Exit, 0);
    ASSERT_EQ(RunReport({"--variant", "1", "--png", onAScaledScreen}, std::nullopt, "2").Exit, 0);
    const QStringList names = QDir(one).entryList(QDir::Files);
    EXPECT_EQ(names.size(), 21);
    for (const QString &name : names) {
        const QImage single(one + u'/' + name), doubled(two + u'/' + name);
        EXPECT_EQ(doubled.size(), single.size() * 2) << name.toStdString();
        // Drawn at the finer resolution, not enlarged.
        EXPECT_NE(doubled.convertToFormat(QImage::Format_RGB32),
                  single.convertToFormat(QImage::Format_RGB32).scaled(single.size() * 2))
            << name.toStdString();
        if (name.startsWith(u"Image")) {
            EXPECT_EQ(QImage(onAScaledScreen + u'/' + name), single) << name.toStdString();
        }
    }
    EXPECT_EQ(RunReport({"--variant", "1", "--dump", "--scale", "2"}).Exit, 2);
    EXPECT_EQ(RunReport({"--variant", "1", "--png", two, "--scale", "9"}).Exit, 2);
}

// Runs the tool with args that write file; the file's bytes (empty when it is missing).
QByteArray WrittenFile(const QStringList &args, const QString &file) {
    const TToolRun run = RunReport(args);
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
    QFile written(file);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

TEST(ReportTool, PdfHasAnA4LandscapePagePerTabWithVectorFormulas) {
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("report.pdf"));
    const QString content =
        QString::fromLatin1(WrittenFile({"--variant", "1", "--pdf", file}, file));
    EXPECT_TRUE(content.startsWith(QStringLiteral("%PDF-")));
    EXPECT_EQ(content.count(QRegularExpression(QStringLiteral("/Type /Page\\b(?!s)"))), 12);
    EXPECT_EQ(
        content.count(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 842[.0]* 595[.0]*\\]"))),
        12);
    // No page is a picture: the only images are the charts' 2 x 2 point markers.
    int images = 0;
    const QRegularExpression image(QStringLiteral("/Subtype /Image[^>]*/Width (\\d+)"));
    for (auto m = image.globalMatch(content); m.hasNext(); ++images)
        EXPECT_LE(m.next().captured(1).toInt(), 2);
    EXPECT_GT(images, 0);

    EXPECT_EQ(
        RunReport({"--variant", "1", "--pdf", temp.filePath(QStringLiteral("no/such/x.pdf"))}).Exit,
        1);
}

// The lesson of three variants in headless Chromium, at a desktop's and a phone's width; the
// screenshots stay in the test's output folder.
TEST(ReportTool, HtmlLessonReadsInABrowserOnADesktopAndAPhone) {
    QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (chromium.isEmpty() || node.isEmpty())
        GTEST_SKIP() << "needs chromium and node (see scripts/setup)";
    const QString out = QStringLiteral(ZELVANO_TEST_OUTPUT_DIR "/browser");
    QDir(out).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(out));
    QStringList args = {QStringLiteral(ZELVANO_SOURCE_DIR "/tests/tools/BrowserCheck.js"), chromium,
                        out, QStringLiteral("12")};
    for (int variant : {1, 5, 23}) {
        const QString file = QStringLiteral("%1/variant-%2.html").arg(out).arg(variant);
        const QByteArray html =
            WrittenFile({"--variant", QString::number(variant), "--html", file}, file);
        ASSERT_TRUE(html.startsWith("<!DOCTYPE html>")) << variant;
        args << file;
    }
    QProcess browser;
    browser.start(node, args);
    ASSERT_TRUE(browser.waitForFinished(240000)) << "the browser check did not finish";
    EXPECT_EQ(browser.exitCode(), 0) << browser.readAllStandardOutput().toStdString()
                                     << browser.readAllStandardError().toStdString();
    for (const char *width : {"1280", "360"})
        EXPECT_TRUE(QFile::exists(QStringLiteral("%1/variant-5-%2.png").arg(out, width)));

    EXPECT_EQ(RunReport({"--variant", "1", "--html",
                         QStringLiteral(ZELVANO_TEST_OUTPUT_DIR "/no/x.html")})
                  .Exit,
              1);
}

TEST(ReportTool, CsvIsTheTablesTheWindowSaves) {
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("tables.csv"));
    const QByteArray tables = WrittenFile({"--variant", "1", "--csv", file}, file);
    EXPECT_TRUE(tables.contains("1;Понедельный рост;8;908,852"));
    TWindowRun window(1);
    ASSERT_NE(window.FrmRun.ShownResult(), nullptr);
    EXPECT_EQ(tables, QByteArray::fromStdString(RunTablesCsv(*window.FrmRun.ShownResult())));

    const QString unwritable = temp.filePath(QStringLiteral("no/such/tables.csv"));
    const TToolRun failed = RunReport({"--variant", "1", "--csv", unwritable});
    EXPECT_EQ(failed.Exit, 1);
    EXPECT_TRUE(failed.Err.contains(unwritable));
}

TEST(ReportTool, AFullDiskLeavesEarlierFilesAndNoPartOfTheNew) {
    QTemporaryDir temp;
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    const QString pdf = temp.filePath(QStringLiteral("r.pdf"));
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    TToolRun run = RunReport({"--lang", "en", "--variant", "7", "--pdf", pdf}, 16384);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err,
              QStringLiteral("zelvano-report: cannot write \"%1\": %2\n").arg(pdf, reason));
    // In Russian, the window's sentence.
    run = RunReport({"--lang", "ru", "--variant", "7", "--pdf", pdf}, 16384);
    EXPECT_EQ(run.Err,
              QStringLiteral("zelvano-report: не удалось записать файл «%1»: файл слишком велик\n")
                  .arg(pdf));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    earlier.close();
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{QStringLiteral("r.pdf")});

    // Every picture is bigger than the limit: the first one stops the run, and nothing of it
    // is left.
    const QString dir = temp.filePath(QStringLiteral("png"));
    run = RunReport({"--lang", "en", "--variant", "7", "--png", dir}, 64);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(
        run.Err,
        QStringLiteral("zelvano-report: cannot write \"%1/Image1.png\": %2\n").arg(dir, reason));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList());

    // The set is written whole or not at all: a failure at one file keeps the earlier set, with
    // no mix of new and stale files and nothing of the attempt left.
    ASSERT_EQ(RunReport({"--variant", "1", "--png", dir}).Exit, 0);
    auto content = [&](const QString &name) {
        QFile file(dir + u'/' + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not a file)");
    };
    std::map<QString, QByteArray> earlierSet;
    for (const QString &name : QDir(dir).entryList(QDir::Files))
        earlierSet[name] = content(name);
    ASSERT_EQ(earlierSet.size(), 21u);
    QFile::remove(dir + QStringLiteral("/Chart5.png"));
    ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/Chart5.png")));
    run = RunReport({"--lang", "en", "--variant", "7", "--png", dir});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err,
              QStringLiteral("zelvano-report: cannot write \"%1/Chart5.png\": not a regular file\n")
                  .arg(dir));
    std::map<QString, QByteArray> after;
    for (const QString &name :
         QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (name != u"Chart5.png") after[name] = content(name);
    earlierSet.erase(QStringLiteral("Chart5.png"));
    EXPECT_TRUE(after == earlierSet);
}
