// Pasted text read as counts, straight from the text: what the grid then puts and notes.
#include "app/GridClipboard.h"

#include <gtest/gtest.h>

TEST(ReadPasted, CellsAreReadAsTypingReadsThemAndWhatIsLeftOutIsCounted) {
    // An empty spreadsheet cell keeps its place; group separators join a number's digits; one
    // final line break adds no cell.
    const TPastedValues row =
        ReadPasted(QStringLiteral("8\t\t1\u00A0197\t2\u202F500\t3'000\r\n"), 10);
    EXPECT_EQ(row.Cells, (QStringList{"8", QString(), "1197", "2500", "3000"}));
    EXPECT_TRUE(row.Cells[1].isNull());
    EXPECT_EQ(row.Note(), QString());

    // What typing would refuse is not put; blanks, semicolons and control characters separate
    // the values of one cell.
    const TPastedValues mixed =
        ReadPasted(QStringLiteral("12a; 40") + QChar(0) + QStringLiteral("41 -5"), 10);
    EXPECT_EQ(mixed.Cells, (QStringList{QString(), "40", "41", QString()}));
    EXPECT_TRUE(mixed.Cells[0].isNull() && mixed.Cells[3].isNull());
    EXPECT_EQ(mixed.Note(), QStringLiteral("пропущено нечисловых значений: 2"));

    // Beyond the room: a column, and a second row, are dropped and said to be.
    const TPastedValues column = ReadPasted(QStringLiteral("16\r\n24\r\n36\r\n54\r\n"), 3);
    EXPECT_EQ(column.Cells, (QStringList{"16", "24", "36"}));
    EXPECT_EQ(column.Note(), QStringLiteral("вставлено 3 из 4 чисел"));
    QString rows;
    for (int i = 1; i <= 21; ++i)
        rows += QString::number(i) + (i % 10 == 0 ? QStringLiteral("\r\n") : QStringLiteral("\t"));
    EXPECT_EQ(ReadPasted(rows, 10).Note(), QStringLiteral("вставлено 10 из 21 числа"));
}

TEST(ReadPasted, AHugeTextIsReadOnlyAsFarAsTheLimit) {
    QString huge(50 * 1024 * 1024, u'7');
    for (qsizetype i = 3; i < huge.size(); i += 4)
        huge[i] = u'\n';
    const TPastedValues values = ReadPasted(huge, 10);
    EXPECT_TRUE(values.Cut);
    EXPECT_EQ(values.Numbers, MaxPasteChars / 4);
    EXPECT_EQ(values.Cells.constLast(), QStringLiteral("777"));
    EXPECT_EQ(values.Note(), QStringLiteral("вставлено 10 из более чем 16384 чисел"));
}
