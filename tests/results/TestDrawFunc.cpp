#include "results/DrawFunc.h"
#include "results/FontSetup.h"

#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include <gtest/gtest.h>

TEST(FormulaFont, InitGivesComicSansWithDefaultsAndBlackAffixes) {
    PrefixColor = SuffixColor = 0x123456;
    InitFormulaFont();
    ASSERT_NE(FormulaFont, nullptr);
    const TFontData defaults;
    EXPECT_EQ(FormulaFont->Name(), "Comic Sans MS");
    EXPECT_EQ(FormulaFont->Height(), defaults.Height);
    EXPECT_EQ(FormulaFont->Style(), 0);
    EXPECT_EQ(FormulaFont->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(FormulaFont->Color(), clBlack);
    EXPECT_EQ(PrefixColor, clBlack);
    EXPECT_EQ(SuffixColor, clBlack);
    DoneFormulaFont();
    EXPECT_EQ(FormulaFont, nullptr);
}

TEST(FormulaFont, SizeInPointsBecomesACharacterHeightAt96Dpi) {
    InitFormulaFont();
    int changes = 0;
    FormulaFont->OnChange = [&] { ++changes; };
    SetFormulaFontSize(10);
    EXPECT_EQ(FormulaFont->Height(), -13);
    SetFormulaFontSize(8);
    EXPECT_EQ(FormulaFont->Height(), -11);
    SetFormulaFontSize(6);
    EXPECT_EQ(FormulaFont->Height(), -8);
    EXPECT_EQ(FormulaFont->Size(), 6);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(FormulaFont->Name(), "Comic Sans MS");
    DoneFormulaFont();
}

TEST(FormulaFont, CallsWithoutAFontAreHarmless) {
    DoneFormulaFont();
    SetFormulaFontSize(10);
    DoneFormulaFont();
    EXPECT_EQ(FormulaFont, nullptr);
    InitFormulaFont();
    SetFormulaFontSize(12);
    InitFormulaFont(); // starts over
    EXPECT_EQ(FormulaFont->Height(), TFontData().Height);
    DoneFormulaFont();
}

TEST(FontSetup, ClassicFacesResolveToDejaVu) {
    InstallFontSubstitutions();
    InstallFontSubstitutions();
    struct {
        const char *Face, *Resolved;
    } const cases[] = {{"Comic Sans MS", "DejaVu Sans"},
                       {"MS Sans Serif", "DejaVu Sans"},
                       {"Times New Roman", "DejaVu Serif"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Face);
        const QString face = QString::fromLatin1(c.Face);
        EXPECT_EQ(QFontInfo(QFont(face)).family(), QString::fromLatin1(c.Resolved));
        EXPECT_LE(QFont::substitutes(face).size(), 1);
    }
    const QFont bold = ClassicFont(QStringLiteral("Comic Sans MS"), 11, true);
    EXPECT_EQ(bold.pixelSize(), 11);
    EXPECT_TRUE(bold.bold());
    EXPECT_TRUE(QFontInfo(bold).bold());
}
