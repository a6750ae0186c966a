// The print and save buttons of the results window, after runs the input window made.
#include "analysis/Fit.h"
#include "results/HelpWindow.h"
#include "results/ResultsActions.h"
#include "tests/app/FormFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

namespace {

class ResultsActions : public TFormFixture {
protected:
    TResultsActions &Actions() { return *FFrmRun.Actions(); }
    // Answers the save dialog with `path` and records what it suggested.
    void SaveAs(const QString &path) {
        Actions().AskFileName = [this, path](const QString &, const QString &suggested,
                                             const QString &, const QString &) {
            FSuggested << QFileInfo(suggested).fileName();
            return path;
        };
    }
    QByteArray Read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int Pages(const QByteArray &pdf) {
        return static_cast<int>(QString::fromLatin1(pdf).count(
            QRegularExpression(QStringLiteral("/Type /Page\\b(?!s)"))));
    }
    QStringList FSuggested;
};

} // namespace

TEST_F(ResultsActions, TheButtonsKeepTheRunShownInTablesAPdfAndPrint) {
    const TResultsActions &a = Actions();
    for (QPushButton *button : {a.Button2(), a.Button3(), a.Button5(), a.Button4()}) {
        EXPECT_EQ(button->parentWidget(), &FFrmRun);
        EXPECT_EQ(button->geometry().top(), 680);
        EXPECT_EQ(button->height(), 33);
        EXPECT_LE(button->geometry().right(), FFrmRun.Button1()->geometry().left() - 8);
    }
    EXPECT_EQ(a.Button2()->text(), QStringLiteral("Печать…"));
    EXPECT_EQ(a.Button3()->text(), QStringLiteral("Сохранить PDF…"));
    EXPECT_EQ(a.Button4()->text(), QStringLiteral("Сохранить таблицы…"));
    EXPECT_EQ(a.Button5()->text(), QStringLiteral("Сохранить HTML…"));
    EXPECT_LE(a.Button3()->geometry().right(), a.Button5()->geometry().left() - 8);
    EXPECT_LE(a.Button5()->geometry().right(), a.Button4()->geometry().left() - 8);

    FForm->ComboBox1()->setEditText(QStringLiteral("5"));
    const uint64_t fitsBefore = PopulationFitCount();
    Press();
    ASSERT_EQ(Shown("TFrmRun"), 1);
    ASSERT_NE(FFrmRun.ShownResult(), nullptr);
    EXPECT_EQ(a.Run().Result.get(), FFrmRun.ShownResult());
    EXPECT_EQ(a.Run().Heading,
              QStringLiteral("вариант 5, аппроксимация методом наименьших квадратов"));

    const QString csv = FTemp.filePath(QStringLiteral("tables.csv"));
    SaveAs(csv);
    a.Button4()->click();
    const QByteArray tables = Read(csv);
    EXPECT_TRUE(tables.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(tables.contains("1;k;;-2,711470771614458;-2,7115\r\n"));

    const QString pdf = FTemp.filePath(QStringLiteral("report.pdf"));
    SaveAs(pdf);
    a.Button3()->click();
    EXPECT_EQ(Pages(Read(pdf)), 12);
    const QString html = FTemp.filePath(QStringLiteral("lesson.html"));
    SaveAs(html);
    a.Button5()->click();
    const QByteArray lesson = Read(html);
    EXPECT_TRUE(lesson.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(lesson.contains("вариант 5, аппроксимация методом наименьших квадратов"));
    EXPECT_EQ(FSuggested, (QStringList{"zelvano-вариант-5.csv", "zelvano-вариант-5.pdf",
                                       "zelvano-вариант-5.html"}));

    // Printing through the print path onto a printer that writes a PDF file.
    const QString printed = FTemp.filePath(QStringLiteral("printed.pdf"));
    Actions().AskPrinter = [&](QPrinter &printer) {
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        // The saved PDF's margins, not the printer's few millimetres.
        EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    };
    a.Button2()->click();
    EXPECT_EQ(Pages(Read(printed)), 12);
    EXPECT_EQ(Shown("QMessageBox"), 0);
    // One "Делать" fitted each population once; the tables, the PDF and the print read that run.
    EXPECT_EQ(PopulationFitCount() - fitsBefore, 2u);

    // Edited counts are the user's own data.
    FForm->StringGrid1()->SetCells(0, 1, QStringLiteral("9"));
    Press();
    SaveAs(csv);
    a.Button4()->click();
    EXPECT_EQ(FSuggested.last(), QStringLiteral("zelvano-свои-данные.csv"));
    EXPECT_TRUE(a.Run().Heading.startsWith(QStringLiteral("свои данные, ")));
    EXPECT_TRUE(Read(csv).contains("1;Численность за месяц;1;9;9\r\n"));
}

TEST_F(ResultsActions, AFileThatCannotBeWrittenIsShownAndLeavesNothingBehind) {
    Press();
    ASSERT_EQ(Shown("TFrmRun"), 1);
    // A plain file where a folder should be: even root cannot write below it.
    QFile blocker(FTemp.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const char *name : {"blocker/tables.csv", "blocker/report.pdf", "blocker/lesson.html"}) {
        SCOPED_TRACE(name);
        const QString path = FTemp.filePath(QString::fromLatin1(name));
        SaveAs(path);
        FAnswerer.Records.clear();
        (path.endsWith(u".csv")   ? Actions().Button4()
         : path.endsWith(u".pdf") ? Actions().Button3()
                                  : Actions().Button5())
            ->click();
        ASSERT_EQ(Shown("QMessageBox"), 1);
        const TModalRecord &box = FAnswerer.Records[0];
        EXPECT_EQ(box.Title, QStringLiteral("Ошибка записи"));
        EXPECT_EQ(box.Icon, QMessageBox::Critical);
        // One Russian sentence: the path once, the reason in Russian.
        EXPECT_EQ(box.Text, QStringLiteral("Не удалось записать файл «%1»: часть пути — не папка.")
                                .arg(QDir::toNativeSeparators(path)));
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST_F(ResultsActions, ShortcutsPrintSaveAndOpenTheGuideWhereThePageIsExplained) {
    Press();
    ASSERT_EQ(Shown("TFrmRun"), 1);
    int printAsked = 0;
    Actions().AskPrinter = [&](QPrinter &) { return ++printAsked, false; };
    SaveAs(QString()); // cancelled
    FFrmRun.show();
    FFrmRun.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&FFrmRun));
    QTest::keyClick(&FFrmRun, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&FFrmRun, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(FSuggested, QStringList{"zelvano-вариант-10.pdf"});
    EXPECT_EQ(printAsked, 1);

    // F1 on the check page opens the guide in a window of the results window, scrolled to the
    // check's terms; F1 in the input window opens its own guide at the top.
    FFrmRun.ShowPage(12);
    QTest::keyClick(&FFrmRun, Qt::Key_F1);
    auto *guide = FFrmRun.findChild<TGuideWindow *>();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_TRUE(guide->Browser()->toPlainText().contains(QStringLiteral("AICc")));
    const int checkAt = guide->Browser()->verticalScrollBar()->value();
    EXPECT_GT(checkAt, 0);
    FFrmRun.ShowPage(4);
    QTest::keyClick(&FFrmRun, Qt::Key_F1);
    EXPECT_EQ(FFrmRun.findChildren<TGuideWindow *>().size(), 1);
    EXPECT_LT(guide->Browser()->verticalScrollBar()->value(), checkAt);
    FFrmRun.hide();

    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
    QTest::keyClick(FForm.get(), Qt::Key_F1);
    auto *inputGuide = FForm->findChild<TGuideWindow *>();
    ASSERT_NE(inputGuide, nullptr);
    EXPECT_EQ(inputGuide->Browser()->verticalScrollBar()->value(), 0);

    const QString about = AboutText();
    for (const char *part :
         {"Zelvano 1.0", "GPL-3.0-or-later", "Qt 6.", "LGPL-3.0", "GSL 2.", "GPL-3.0</li>"})
        EXPECT_TRUE(about.contains(QString::fromUtf8(part))) << part;
}
