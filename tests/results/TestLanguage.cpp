#include "analysis/MainData.h"
#include "analysis/Run.h"
#include "analysis/RunCsv.h"
#include "results/Language.h"
#include "runtime/Cp1251.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

namespace {

TRunResult Variant1() {
    TCountArray c1{}, c2{};
    for (int m = 1; m <= 10; ++m) {
        c1[m - 1] = VariantCountOf(0, 1, m);
        c2[m - 1] = VariantCountOf(0, 2, m);
    }
    return *ComputeRun(c1, c2, 2).Result;
}

// Puts Russian back however a test ends, so the other suites see the texts they expect.
struct TRussianAfter {
    ~TRussianAfter() { InstallLanguage(TLanguage::Russian); }
};

} // namespace

TEST(Language, ChosenFromTheCommandLineTheSavedChoiceAndTheSystem) {
    for (const char *name : {"ru", "ru_RU.UTF-8", "ru-UA", "RU", "", "C", "POSIX", "C.UTF-8"})
        EXPECT_EQ(LanguageOfName(QString::fromLatin1(name)), TLanguage::Russian) << name;
    for (const char *name : {"en", "en_US.UTF-8", "en-GB", "de-DE", "uk_UA", "fr"})
        EXPECT_EQ(LanguageOfName(QString::fromLatin1(name)), TLanguage::English) << name;

    EXPECT_EQ(LanguageOption(QStringLiteral("en")), TLanguage::English);
    EXPECT_EQ(LanguageOption(QStringLiteral("ru")), TLanguage::Russian);
    for (const char *bad : {"", "EN", "english", "de", "en_US"})
        EXPECT_FALSE(LanguageOption(QString::fromLatin1(bad))) << bad;

    const QStringList german{QStringLiteral("de-DE"), QStringLiteral("ru-RU")};
    EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, german), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, {}), TLanguage::Russian);
    EXPECT_EQ(ChooseLanguage(std::nullopt, TLanguage::Russian, german), TLanguage::Russian);
    EXPECT_EQ(ChooseLanguage(TLanguage::English, TLanguage::Russian, {}), TLanguage::English);
}

TEST(Language, EnglishReachesTheRunsTextsNumbersAndQtsButtonsAndRussianComesBack) {
    TRussianAfter restore;
    const TRunResult russian = Variant1();
    const std::string russianCsv = RunTablesCsv(russian);

    ASSERT_TRUE(InstallLanguage(TLanguage::English));
    const TRunResult english = Variant1();
    EXPECT_EQ(Cp1251ToUtf8(english.Labels[0]), "Population 1 follows the logistic model");
    EXPECT_EQ(Cp1251ToUtf8(english.Population[1].Title), "Population 2 - exponential model");
    const std::string csv = RunTablesCsv(english);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF"
                        "Population,Quantity,Number,Value,As on the page\r\n",
                        0),
              0u);
    EXPECT_NE(csv.find("\r\n1,k,,0.4"), std::string::npos);
    EXPECT_EQ(csv.find(';'), std::string::npos);
    // Fields holding the separator are quoted.
    EXPECT_NE(csv.find("\"Least squares, exponential: status\""), std::string::npos);
    for (unsigned char c : csv.substr(3))
        EXPECT_LT(c, 0x80) << "every English CSV character is ASCII";
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("x"), QStringLiteral("x"),
                        QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
    }

    ASSERT_TRUE(InstallLanguage(TLanguage::Russian));
    EXPECT_EQ(RunTablesCsv(Variant1()), russianCsv);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("x"), QStringLiteral("x"),
                    QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));
}
