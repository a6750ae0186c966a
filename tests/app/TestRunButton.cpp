#include "analysis/MainData.h"
#include "app/Unit1.h"
#include "results/Explore.h"
#include "results/Unit2.h"
#include "tests/app/FormFixture.h"
#include "tests/results/ModalHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {

class RunButton : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        Counts1.fill(-7);
        Counts2.fill(-7);
        InputError = 0;
    }
};

// The editor of the grid's current cell, when one is open.
QLineEdit *Editor(TStringGrid *grid) {
    return grid->viewport()->findChild<QLineEdit *>();
}

TCountArray VariantCounts(int row, int population) {
    TCountArray counts{};
    for (int m = 1; m <= 10; ++m)
        counts[m - 1] = VariantCountOf(row, population, m);
    return counts;
}

} // namespace

TEST(CountText, SignAndDigitsWithin32Bits) {
    struct {
        const char16_t *Text;
        bool Ok;
        int32_t Value;
    } const cases[] = {
        {u"0", true, 0},
        {u"997", true, 997},
        {u"0005", true, 5},
        {u"+12", true, 12},
        {u"-12", true, -12},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, INT32_MIN},
        {u"2147483648", false, 0},
        {u"-2147483649", false, 0},
        {u"99999999999999999999", false, 0},
        {u"", false, 0},
        {u"-", false, 0},
        {u"+", false, 0},
        {u" 5", false, 0},
        {u"5 ", false, 0},
        {u"1a", false, 0},
        {u"1.5", false, 0},
        {u"1,5", false, 0},
        {u"0x10", false, 0},
        {u"\u0663", false, 0},   // an Arabic-Indic digit
        {u"12\u00a0", false, 0}, // a no-break space
        {u"\u4e00", false, 0},   // outside the code page
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.Text);
        SCOPED_TRACE(text.toStdString());
        int32_t value = -1;
        EXPECT_EQ(CountFromText(text, value), c.Ok);
        EXPECT_EQ(value, c.Value);
    }
    // A NUL inside the text is a character like any other.
    int32_t value = -1;
    EXPECT_FALSE(CountFromText(QString(QChar(u'1')) + QChar(0) + QChar(u'2'), value));
}

TEST_F(RunButton, ParseCountReportsABadTextOnceAndGivesZero) {
    EXPECT_EQ(FForm->ParseCount(QStringLiteral("42")), 42);
    EXPECT_EQ(InputError, 0);
    EXPECT_TRUE(FAnswerer.Records.empty());
    EXPECT_EQ(FForm->ParseCount(QStringLiteral("2147483648")), 0);
    EXPECT_EQ(InputError, -1);
    ASSERT_EQ(FAnswerer.Records.size(), 1u);
    const TModalRecord &box = FAnswerer.Records[0];
    EXPECT_EQ(box.Title, QStringLiteral("Ошибка ввода"));
    EXPECT_EQ(box.Text, QStringLiteral("Вы ввели неверные данные"));
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(RunButton, AllCellsConvertThenTheResultsWindowOpens) {
    Press();
    EXPECT_EQ(Shown("QMessageBox"), 0);
    EXPECT_EQ(Shown("TFrmRun"), 1);
    EXPECT_EQ(Counts1, VariantCounts(9, 1));
    EXPECT_EQ(Counts2, VariantCounts(9, 2));
    EXPECT_FALSE(FFrmRun.isVisible());
    // Signs and the extremes of the range are counts too.
    FForm->StringGrid1()->SetCells(0, 1, QStringLiteral("-2147483648"));
    FForm->StringGrid2()->SetCells(9, 1, QStringLiteral("+2147483647"));
    Press();
    EXPECT_EQ(Shown("TFrmRun"), 1);
    EXPECT_EQ(Counts1[0], INT32_MIN);
    EXPECT_EQ(Counts2[9], INT32_MAX);
}

TEST_F(RunButton, OnlyTheFirstBadCellIsReportedAndTheWindowStaysClosed) {
    FForm->StringGrid1()->SetCells(3, 1, QString());
    FForm->StringGrid1()->SetCells(5, 1, QStringLiteral("x"));
    FForm->StringGrid2()->SetCells(0, 1, QString());
    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
    Press();
    ASSERT_EQ(FAnswerer.Records.size(), 1u);
    EXPECT_EQ(FAnswerer.Records[0].Title, QStringLiteral("Ошибка ввода"));
    EXPECT_EQ(FAnswerer.Records[0].Text,
              QStringLiteral("Вы ввели неверные данные\nПопуляция №1, месяц 4: нет числа"));
    EXPECT_EQ(InputError, 0);
    // The named cell has the focus, open for typing.
    EXPECT_EQ(FForm->StringGrid1()->currentColumn(), 3);
    QLineEdit *editor = Editor(FForm->StringGrid1());
    ASSERT_NE(editor, nullptr);
    // The window's focus (offscreen, the window is not made active again after the box).
    EXPECT_EQ(FForm->focusWidget(), editor);
    const auto v10 = VariantCounts(9, 1);
    EXPECT_EQ(Counts1[0], v10[0]);
    EXPECT_EQ(Counts1[2], v10[2]);
    EXPECT_EQ(Counts1[3], 0);  // the bad cell
    EXPECT_EQ(Counts1[4], -7); // not read
    EXPECT_EQ(Counts2[0], -7);
    // The grids keep their text for correcting; a cell's text is selected to be typed over.
    EXPECT_EQ(FForm->StringGrid1()->Cells(5, 1), QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_Escape);
    FForm->StringGrid1()->SetCells(3, 1, QStringLiteral("5"));
    FAnswerer.Records.clear();
    Press();
    ASSERT_EQ(FAnswerer.Records.size(), 1u);
    EXPECT_EQ(FAnswerer.Records[0].Text,
              QStringLiteral("Вы ввели неверные данные\nПопуляция №1, месяц 6: \"x\""));
    editor = Editor(FForm->StringGrid1());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->selectedText(), QStringLiteral("x"));
}

TEST_F(RunButton, TheSecondGridIsReportedOnlyWhenTheFirstConverts) {
    FForm->StringGrid2()->SetCells(6, 1, QString());
    FForm->StringGrid2()->SetCells(8, 1, QStringLiteral("1e3"));
    Press();
    EXPECT_EQ(Shown("QMessageBox"), 1);
    EXPECT_EQ(Shown("TFrmRun"), 0);
    EXPECT_EQ(Counts1, VariantCounts(9, 1));
    const auto v10 = VariantCounts(9, 2);
    for (int m = 0; m < 6; ++m)
        EXPECT_EQ(Counts2[m], v10[m]) << m;
    EXPECT_EQ(Counts2[6], 0);
    EXPECT_EQ(Counts2[7], -7);

    // Corrected, the next press runs through.
    FForm->StringGrid2()->SetCells(6, 1, QStringLiteral("47"));
    FForm->StringGrid2()->SetCells(8, 1, QStringLiteral("86"));
    Press();
    EXPECT_EQ(Shown("QMessageBox"), 0);
    EXPECT_EQ(Shown("TFrmRun"), 1);
}

TEST_F(RunButton, AValueAbove2147483647IsAnInputError) {
    FForm->StringGrid1()->SetCells(9, 1, QStringLiteral("2147483648"));
    Press();
    EXPECT_EQ(Shown("QMessageBox"), 1);
    EXPECT_EQ(Shown("TFrmRun"), 0);
    EXPECT_EQ(Counts1[9], 0);
}

TEST_F(RunButton, KeyHookPassesDigitsAndBackspaceOnly) {
    for (char16_t c = 1; c < 0x500; ++c) {
        QChar key(c);
        FForm->StringGrid1KeyPress(key);
        const bool passes = (c >= u'0' && c <= u'9') || c == 8;
        EXPECT_EQ(key.unicode(), passes ? c : 0) << int(c);
    }
}

TEST_F(RunButton, TypingIntoACellFiltersCharactersAndKeepsEditingKeys) {
    FForm->show();
    TStringGrid *grid = FForm->StringGrid1();
    grid->setFocus();
    grid->setCurrentCell(0, 2);

    // A rejected character does not even open the editor.
    for (char c : {'a', '-', '.', ' ', ','})
        QTest::keyClick(grid, c);
    EXPECT_EQ(Editor(grid), nullptr);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("1429"));

    QTest::keyClick(grid, '5'); // opens the editor with the digit
    QLineEdit *editor = Editor(grid);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("5"));
    QTest::keyClicks(editor, QStringLiteral("a-. x+"));
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QStringLiteral("Ж"), Qt::NoModifier);
    QTest::keyClick(editor, '7');
    EXPECT_EQ(editor->text(), QStringLiteral("57"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), QStringLiteral("5"));
    QTest::keyClicks(editor, QStringLiteral("12"));
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text(), QStringLiteral("51"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits from the event loop
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("51"));
    // Enter kept the count and moved to the next month; the arrows move back.
    EXPECT_EQ(grid->currentColumn(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Editor(grid), nullptr);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), 2);
}

TEST_F(RunButton, PastedCountsFillTheCellsOn) {
    FForm->show();
    TStringGrid *grid1 = FForm->StringGrid1();
    TStringGrid *grid2 = FForm->StringGrid2();
    QClipboard *clipboard = QApplication::clipboard();

    // A spreadsheet row from the current cell on.
    grid1->setFocus();
    grid1->setCurrentCell(0, 1);
    clipboard->setText(QStringLiteral("8\t504\t752\n"));
    QTest::keyClick(grid1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid1->Cells(1, 1), QStringLiteral("8"));
    EXPECT_EQ(grid1->Cells(3, 1), QStringLiteral("752"));
    EXPECT_EQ(grid1->Cells(4, 1), QString::number(VariantCountOf(9, 1, 5)));
    EXPECT_EQ(grid1->Note(), QString());
    // A column with Windows line breaks, pasted into an open editor near the end: what does
    // not fit after month 10 is dropped, and the note says so.
    grid2->setFocus();
    grid2->setCurrentCell(0, 7);
    QTest::keyClick(grid2, Qt::Key_F2);
    ASSERT_NE(Editor(grid2), nullptr);
    clipboard->setText(QStringLiteral("16\r\n24\r\n36\r\n54\r\n"));
    QTest::keyClick(Editor(grid2), Qt::Key_Insert, Qt::ShiftModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Editor(grid2), nullptr);
    EXPECT_EQ(grid2->Cells(7, 1), QStringLiteral("16"));
    EXPECT_EQ(grid2->Cells(9, 1), QStringLiteral("36"));
    EXPECT_EQ(grid2->Cells(6, 1), QString::number(VariantCountOf(9, 2, 7)));
    EXPECT_EQ(grid2->Note(), QStringLiteral("вставлено 3 из 4 чисел"));

    // Ctrl+C on the grid copies its ten counts as one row.
    QTest::keyClick(grid2, Qt::Key_C, Qt::ControlModifier);
    QStringList row;
    for (int c = 0; c < 10; ++c)
        row << grid2->Cells(c, 1);
    EXPECT_EQ(clipboard->text(), row.join(u'\t'));
    Press();
    EXPECT_EQ(Shown("TFrmRun"), 1);
    EXPECT_EQ(Counts1[2], 504);
    EXPECT_EQ(Counts2[9], 36);
}

TEST_F(RunButton, EveryPasteIsReadAsTypingReadsAndNothingIsLostSilently) {
    FForm->show();
    TStringGrid *grid = FForm->StringGrid1();
    QClipboard *clipboard = QApplication::clipboard();
    grid->setFocus();
    auto paste = [&](int col, const QString &text) {
        grid->setCurrentCell(0, col);
        clipboard->setText(text);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    };
    // One copied spreadsheet cell into an open editor: its line break does not stay.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    QLineEdit *editor = Editor(grid);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    clipboard->setText(QStringLiteral("123\r\n"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("123"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("123"));

    // What the reading leaves out is noted under the cell (the reading itself: TestGridClipboard).
    paste(6, QStringLiteral("12a; 40") + QChar(0) + QStringLiteral("41 -5"));
    EXPECT_EQ(grid->Cells(6, 1), QString::number(VariantCountOf(9, 1, 7)));
    EXPECT_EQ(grid->Cells(7, 1), QStringLiteral("40"));
    EXPECT_EQ(grid->Cells(8, 1), QStringLiteral("41"));
    EXPECT_EQ(grid->Note(), QStringLiteral("пропущено нечисловых значений: 2"));
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), grid->Note());
}

TEST_F(RunButton, TheKeyboardReachesEveryControlAndRunsTheButton) {
    FForm->show();
    FForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FForm.get()));
    TStringGrid *grid1 = FForm->StringGrid1();
    TStringGrid *grid2 = FForm->StringGrid2();
    TRadioGroup *radios = FForm->RadioGroup1();

    // Each grid is one Tab stop, from any cell.
    grid1->setFocus();
    grid1->setCurrentCell(0, 3);
    QTest::keyClick(grid1, Qt::Key_Tab);
    EXPECT_TRUE(grid2->hasFocus());
    QTest::keyClick(grid2, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(grid1->hasFocus());

    // Enter moves month by month, from month 10 on to the next grid; typing over a cell and
    // Enter (keypad Enter too) keeps the count.
    grid1->setCurrentCell(0, 8);
    QTest::keyClick(grid1, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(grid1->currentColumn(), 9);
    QTest::keyClick(grid1, '9'); // opens the editor
    ASSERT_NE(Editor(grid1), nullptr);
    QTest::keyClicks(Editor(grid1), QStringLiteral("98"));
    QTest::keyClick(Editor(grid1), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid1->Cells(9, 1), QStringLiteral("998"));
    EXPECT_TRUE(grid2->hasFocus());
    EXPECT_EQ(grid2->currentColumn(), 0);
    // Tab from an open editor keeps the count and leaves the grid.
    QTest::keyClick(grid2, '1');
    ASSERT_NE(Editor(grid2), nullptr);
    QTest::keyClicks(Editor(grid2), QStringLiteral("7"));
    QTest::keyClick(Editor(grid2), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid2->Cells(0, 1), QStringLiteral("17"));

    // The smoothing choice: Tab lands on the checked item, the arrows move the check with it.
    QWidget *focused = QApplication::focusWidget();
    EXPECT_EQ(focused, radios->Buttons()->button(2));
    QTest::keyClick(focused, Qt::Key_Up);
    EXPECT_EQ(radios->ItemIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(radios->ItemIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), radios->Buttons()->button(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(radios->ItemIndex(), 1);
    // The group is one stop too: Tab leaves it, Shift+Tab comes back to the checked item.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(radios->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), radios->Buttons()->button(1));

    // Enter and keypad Enter on "Делать" run it with what was typed.
    FAnswerer.Records.clear();
    FForm->Button1()->setFocus();
    QTest::keyClick(FForm->Button1(), Qt::Key_Return);
    EXPECT_EQ(Shown("TFrmRun"), 1);
    EXPECT_EQ(Counts1[9], 998);
    EXPECT_EQ(Counts2[0], 17);
    QTest::keyClick(FForm->Button1(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Shown("TFrmRun"), 2);
}

TEST_F(RunButton, ClosingAfterExploringHandsTheCountsToTheGridsAndWithoutAChangeLeavesThem) {
    FForm->ComboBox1()->setEditText(QStringLiteral("3"));
    const QString heading = FForm->ComboBox1()->currentText();
    // Closed without a change: the grids, the variant box and the smoothing stay.
    Press();
    EXPECT_EQ(FForm->StringGrid1()->Cells(0, 1), QString::number(VariantCountOf(2, 1, 1)));
    EXPECT_EQ(FForm->ComboBox1()->currentText(), heading);

    // Closed after a count and the smoothing changed on the exploring page.
    FAnswerer.OnModal = [this](QWidget *window) {
        FFrmRun.Explore()->SetCount(1, 1, 4321);
        FFrmRun.Explore()->SetSmoothing(SmoothNone);
        FFrmRun.RunExploredNow();
        EXPECT_TRUE(FFrmRun.Actions()->Run().Heading.startsWith(QStringLiteral("свои данные")));
        static_cast<QDialog *>(window)->accept();
    };
    Press();
    EXPECT_EQ(FForm->StringGrid1()->Cells(0, 1), QStringLiteral("4321"));
    EXPECT_EQ(FForm->StringGrid2()->Cells(9, 1), QString::number(VariantCountOf(2, 2, 10)));
    EXPECT_EQ(FForm->RadioGroup1()->ItemIndex(), SmoothNone);
    EXPECT_EQ(FForm->ComboBox1()->currentText(), TForm1::OwnDataText());
    // "Делать" again shows what was last seen.
    FAnswerer.OnModal = nullptr;
    Press();
    EXPECT_EQ(FFrmRun.ShownResult()->Population[0].Counts[0], 4321);
    EXPECT_EQ(FFrmRun.ShownResult()->Smoothing, SmoothNone);
}
