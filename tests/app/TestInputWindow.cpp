#include "analysis/MainData.h"
#include "app/Unit1.h"
#include "results/Unit2.h"
#include "tests/results/ModalHelper.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList Row(const TStringGrid *grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->ColCount(); ++c)
        cells << grid->Cells(c, row);
    return cells;
}

QStringList Counts(int variant, int population) {
    QStringList counts;
    for (int m = 1; m <= 10; ++m)
        counts << QString::number(VariantCountOf(variant - 1, population, m));
    return counts;
}

QStringList Texts(std::initializer_list<int> values) {
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts;
}

// Picks a list item as the user does: the index changes and the item is activated.
void Pick(QComboBox *combo, const QString &text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

class InputWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FTemp.isValid());
        FPlace = {FTemp.filePath(QStringLiteral("program")),
                  FTemp.filePath(QStringLiteral("config"))};
        ASSERT_TRUE(QDir().mkpath(FPlace.ProgramFolder));
    }
    std::unique_ptr<TForm1> Start() { return std::make_unique<TForm1>(FPlace); }
    QByteArray SavedFile() const {
        QFile file(QDir(FPlace.ProgramFolder).filePath(QStringLiteral("data.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Save(const QByteArray &content) {
        QFile file(QDir(FPlace.ProgramFolder).filePath(QStringLiteral("data.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir FTemp;
    TSettingsPlace FPlace;
};

} // namespace

TEST(VariantTable, RowsAreInOrderAndHoldTheIrregularMonths) {
    static_assert(std::is_const_v<decltype(VariantTable)>);
    for (int row = 0; row < VariantCount; ++row)
        EXPECT_EQ(VariantTable[row][0], row + 1);
    EXPECT_EQ(VariantCountOf(4, 1, 9), 939);  // variant 5, after 998, before 999
    EXPECT_EQ(VariantCountOf(12, 2, 4), 90);  // variant 13, before 30
    EXPECT_EQ(VariantCountOf(26, 1, 8), 963); // variant 27, after 970
    // Repeats between rows hold too.
    for (int m = 1; m <= 10; ++m)
        EXPECT_EQ(VariantCountOf(21, 1, m), VariantCountOf(27, 1, m));
}

TEST_F(InputWindow, Layout) {
    auto form = Start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelvano"));
    EXPECT_EQ(form->size(), QSize(528, 385));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form->font().pixelSize(), 11);

    struct {
        QLabel *Label;
        const char *Text;
        QPoint Pos;
        int Pixels;
    } const labels[] = {{form->Label1(), "Популяция №1", {8, 69}, 11},
                        {form->Label2(), "Популяция №2", {8, 165}, 11},
                        {form->Label3(), "Вариант №:", {8, 13}, 11},
                        {form->Label4(), "Тип сглаживания графика", {8, 288}, 9}};
    for (const auto &l : labels) {
        SCOPED_TRACE(l.Text);
        EXPECT_EQ(l.Label->text(), QString::fromUtf8(l.Text));
        EXPECT_EQ(l.Label->pos(), l.Pos);
        EXPECT_EQ(l.Label->font().pixelSize(), l.Pixels);
        EXPECT_TRUE(l.Label->font().bold());
        EXPECT_GE(l.Label->width(), l.Label->sizeHint().width()); // nothing cut off
    }
    EXPECT_EQ(form->Button1()->text(), QStringLiteral("Делать"));
    EXPECT_EQ(form->Button1()->geometry(), QRect(304, 280, 217, 97));
    EXPECT_EQ(form->ComboBox1()->geometry(), QRect(8, 32, 497, 21));
    EXPECT_TRUE(form->ComboBox1()->isEditable());
    EXPECT_EQ(form->ComboBox1()->view()->sizeHintForRow(0), 13); // item height
    EXPECT_EQ(form->StringGrid1()->geometry(), QRect(8, 88, 513, 53));
    EXPECT_EQ(form->StringGrid2()->geometry(), QRect(7, 184, 513, 53));
    EXPECT_EQ(form->RadioGroup1()->geometry(), QRect(8, 299, 257, 78));

    QStringList items;
    for (int i = 0; i < form->ComboBox1()->count(); ++i)
        items << form->ComboBox1()->itemText(i);
    QStringList expected;
    for (int i = 1; i <= 30; ++i)
        expected << QString::number(i);
    EXPECT_EQ(items, expected);

    const QStringList radios = {QStringLiteral("Без сглаживания"),
                                QStringLiteral("Аппроксимация многочленом Лангранжем"),
                                QStringLiteral("Аппроксимация методом наименьших квадратов")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->RadioGroup1()->Buttons()->button(i)->text(), radios[i]);
        EXPECT_EQ(form->RadioGroup1()->Buttons()->button(i)->font().pixelSize(), 9);
    }
    EXPECT_EQ(form->RadioGroup1()->ItemIndex(), 2);

    QStringList titles;
    for (int i = 1; i <= 10; ++i)
        titles << QStringLiteral("месяц %1").arg(i);
    for (const TStringGrid *grid : {form->StringGrid1(), form->StringGrid2()}) {
        EXPECT_EQ(grid->ColCount(), 10);
        EXPECT_EQ(grid->RowCount(), 2);
        EXPECT_EQ(Row(grid, 0), titles);
        EXPECT_TRUE(grid->verticalHeader()->isHidden());
        EXPECT_EQ(grid->columnWidth(0), 50);
        EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
        EXPECT_FALSE(grid->tabKeyNavigation());
    }

    // Tab order: Button1, ComboBox1, StringGrid1, StringGrid2, RadioGroup1.
    EXPECT_EQ(form->Button1()->nextInFocusChain(), form->ComboBox1());
    QWidget *afterCombo = form->ComboBox1()->nextInFocusChain();
    while (afterCombo->parentWidget() == form->ComboBox1())
        afterCombo = afterCombo->nextInFocusChain();
    EXPECT_EQ(afterCombo, form->StringGrid1());
    QWidget *afterGrid = form->StringGrid1();
    do
        afterGrid = afterGrid->nextInFocusChain();
    while (form->StringGrid1()->isAncestorOf(afterGrid));
    EXPECT_EQ(afterGrid, form->StringGrid2());
}

TEST(StartPosition, CentredAcrossAndLiftedByAnEighth) {
    EXPECT_EQ(TForm1::StartPosition({1024, 768}, {534, 411}), QPoint(512 - 267, 384 - 205 - 96));
    // Each value halved on its own, truncating: 1365 / 2 - 535 / 2 = 682 - 267.
    EXPECT_EQ(TForm1::StartPosition({1365, 767}, {535, 413}), QPoint(415, 383 - 206 - 95));
    EXPECT_EQ(TForm1::StartPosition({400, 300}, {528, 385}), QPoint(200 - 264, 150 - 192 - 37));
}

TEST_F(InputWindow, FirstStartShowsVariant10AndSaves9AtExit) {
    auto form = Start();
    EXPECT_EQ(VariantIndex, 9);
    EXPECT_EQ(form->ComboBox1()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(form->ComboBox1()->currentIndex(), -1);
    EXPECT_EQ(Row(form->StringGrid1(), 1), Counts(10, 1));
    EXPECT_EQ(Row(form->StringGrid2(), 1), Counts(10, 2));
    EXPECT_TRUE(SavedFile().isEmpty());
    form.reset();
    EXPECT_EQ(SavedFile(), QByteArray("[variant]\nnumber=9\n"));
}

TEST_F(InputWindow, ChoosingAVariantIsKeptAcrossARestart) {
    auto form = Start();
    Pick(form->ComboBox1(), QStringLiteral("1"));
    EXPECT_EQ(VariantIndex, 0);
    EXPECT_EQ(Row(form->StringGrid1(), 1), Texts({8, 504, 752, 876, 938, 969, 984, 992, 996, 997}));
    EXPECT_EQ(Row(form->StringGrid2(), 1), Texts({16, 24, 36, 54, 81, 122, 183, 275, 412, 618}));
    form.reset();
    EXPECT_EQ(SavedFile(), QByteArray("[variant]\nnumber=0\n"));

    form = Start();
    EXPECT_EQ(form->ComboBox1()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(Row(form->StringGrid1(), 1), Counts(1, 1));
}

TEST_F(InputWindow, Variants5And30InTheGrids) {
    auto form = Start();
    Pick(form->ComboBox1(), QStringLiteral("5"));
    EXPECT_EQ(Row(form->StringGrid1(), 1), Texts({8, 603, 841, 934, 973, 989, 995, 998, 939, 999}));
    EXPECT_EQ(Row(form->StringGrid2(), 1), Texts({10, 16, 25, 40, 64, 102, 163, 260, 416, 665}));
    Pick(form->ComboBox1(), QStringLiteral("30"));
    EXPECT_EQ(VariantIndex, 29);
    EXPECT_EQ(Row(form->StringGrid1(), 1),
              Texts({24, 375, 600, 744, 836, 895, 932, 956, 971, 981}));
    EXPECT_EQ(Row(form->StringGrid2(), 1), Texts({20, 29, 42, 60, 86, 124, 179, 258, 372, 536}));
}

TEST_F(InputWindow, ChoosingTheSameVariantAgainRestoresEditedCells) {
    auto form = Start();
    Pick(form->ComboBox1(), QStringLiteral("13"));
    form->StringGrid1()->SetCells(0, 1, QStringLiteral("777"));
    form->StringGrid2()->SetCells(9, 1, QString());
    Pick(form->ComboBox1(), QStringLiteral("13"));
    EXPECT_EQ(Row(form->StringGrid1(), 1), Counts(13, 1));
    EXPECT_EQ(Row(form->StringGrid2(), 1), Texts({6, 9, 13, 90, 30, 46, 69, 104, 156, 234}));
}

TEST_F(InputWindow, TypedTextSelectsOnlyWhenItNamesAnItem) {
    auto form = Start();
    QComboBox *combo = form->ComboBox1();
    combo->setEditText(QStringLiteral("27"));
    EXPECT_EQ(VariantIndex, 26);
    EXPECT_EQ(Row(form->StringGrid1(), 1),
              Texts({11, 446, 690, 826, 903, 946, 970, 963, 988, 993}));
    form->StringGrid1()->SetCells(2, 1, QStringLiteral("5"));
    for (const char *text : {"", "0", "31", "-1", "abc", " 5", "5 ", "05", "2147483648"}) {
        combo->setEditText(QString::fromUtf8(text));
        EXPECT_EQ(VariantIndex, 26) << text;
    }
    EXPECT_EQ(form->StringGrid1()->Cells(2, 1), QStringLiteral("5"));
    // Enter on such a text shows the grids' variant again and leaves the grids alone.
    form->show();
    combo->setEditText(QStringLiteral("99"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), QStringLiteral("27"));
    EXPECT_EQ(form->StringGrid1()->Cells(2, 1), QStringLiteral("5"));
    // Typing keeps the list as it is.
    EXPECT_EQ(combo->count(), 30);
    form.reset();
    EXPECT_EQ(SavedFile(), QByteArray("[variant]\nnumber=26\n"));
}

TEST_F(InputWindow, UnusableSettingsStartOnVariant10) {
    const QByteArray contents[] = {"[variant]\nnumber=30\n", "[variant]\nnumber=-3\n",
                                   "[variant]\nnumber=ten\n",
                                   QByteArray::fromHex("7f454c46020101000000000000000000")};
    for (const QByteArray &content : contents) {
        SCOPED_TRACE(content.toHex().toStdString());
        Save(content);
        auto form = Start();
        EXPECT_EQ(form->ComboBox1()->currentText(), QStringLiteral("10"));
        EXPECT_EQ(Row(form->StringGrid1(), 1), Counts(10, 1));
        form.reset();
        // What is written back is accepted by the next start.
        EXPECT_EQ(ReadVariantIndex(FPlace), 9);
        EXPECT_TRUE(SavedFile().contains("\nnumber=9\n"));
    }
}

TEST_F(InputWindow, AnUnwritableProgramFolderKeepsTheChoiceInTheConfigFolder) {
    const QString blocker = FTemp.filePath(QStringLiteral("file"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    FPlace.ProgramFolder = blocker + QStringLiteral("/program");
    auto form = Start();
    Pick(form->ComboBox1(), QStringLiteral("2"));
    form.reset();
    QFile saved(QDir(FPlace.ConfigFolder).filePath(QStringLiteral("data.ini")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("[variant]\nnumber=1\n"));
    form = Start();
    EXPECT_EQ(form->ComboBox1()->currentText(), QStringLiteral("2"));

    // Nowhere to write: the window still closes, silently.
    FPlace.ConfigFolder = blocker + QStringLiteral("/config");
    form = Start();
    TModalAnswerer answerer;
    form.reset();
    EXPECT_TRUE(answerer.Records.empty());
}
