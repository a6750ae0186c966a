// The guide: Russian and English with the same places to link to, the language rule, and a
// worked example whose numbers are what a run of variant 1 really gives, written in each
// language's own notation.
#include "analysis/CheckPage.h"
#include "analysis/Run.h"
#include "results/Guide.h"
#include "tests/analysis/Variants.h"

#include <QRegularExpression>

#include <set>

#include <gtest/gtest.h>

namespace {

struct TNotation {
    const char *Language;
    QChar Decimal;
    QString ListSeparator;
    // Digit groups of long numbers ("181&nbsp;744,4785", "181,744.4785").
    QString Grouping;
    // A decimal written the other language's way.
    QString ForeignDecimal;
};

const TNotation Notations[] = {
    {"ru", QLatin1Char(','), QStringLiteral("; "), QStringLiteral("(?<=\\d)&nbsp;(?=\\d)"),
     QStringLiteral("\\d\\.\\d")},
    {"en", QLatin1Char('.'), QStringLiteral(", "), QStringLiteral("(?<=\\d),(?=\\d{3}(?!\\d))"),
     QStringLiteral("\\d,\\d")},
};

// A number of formula text ("999.57") as the guide writes it in the language.
QString Shown(const std::string &formulaNumber, const TNotation &n) {
    return QString::fromStdString(formulaNumber).replace(QLatin1Char('.'), n.Decimal);
}

std::vector<QString> Captured(const QString &text, const QString &pattern) {
    std::vector<QString> out;
    for (const QRegularExpressionMatch &m : QRegularExpression(pattern).globalMatch(text))
        out.push_back(m.captured(1));
    return out;
}

} // namespace

TEST(Guide, RussianForRussianOrNoLanguageEnglishForEveryOther) {
    const QString ru = GuideHtml(QStringLiteral("ru")), en = GuideHtml(QStringLiteral("en"));
    ASSERT_FALSE(ru.isEmpty());
    ASSERT_FALSE(en.isEmpty());
    EXPECT_NE(ru, en);
    for (const char *language :
         {"ru_RU", "ru-RU", "RU", "ru_RU.UTF-8", "", "C", "C.UTF-8", "POSIX"})
        EXPECT_EQ(GuideHtml(QLatin1String(language)), ru) << language;
    for (const char *language : {"en_US", "en-GB", "de", "pt_BR.UTF-8", "zh-Hans-CN", "uk"})
        EXPECT_EQ(GuideHtml(QLatin1String(language)), en) << language;
    EXPECT_FALSE(en.contains(QRegularExpression(QStringLiteral("\\p{Cyrillic}"))));
}

TEST(Guide, BothLanguagesHaveTheSamePlacesToLinkTo) {
    const QString ru = GuideHtml(QStringLiteral("ru")), en = GuideHtml(QStringLiteral("en"));
    const QString idPattern = QStringLiteral("\\bid=\"([^\"]+)\"");
    const std::vector<QString> ruIds = Captured(ru, idPattern), enIds = Captured(en, idPattern);
    const std::set<QString> ids(ruIds.begin(), ruIds.end());
    EXPECT_EQ(ids.size(), ruIds.size()) << "an id used twice";
    EXPECT_EQ(std::set<QString>(enIds.begin(), enIds.end()), ids);
    EXPECT_EQ(enIds, ruIds) << "the same order of sections";
    // Places other texts link to.
    for (const char *id :
         {"pages", "method", "check", "rss", "aicc", "weight", "undetermined", "example"})
        EXPECT_TRUE(ids.count(QLatin1String(id))) << id;
    for (const QString *guide : {&ru, &en})
        for (const QString &target : Captured(*guide, QStringLiteral("href=\"#([^\"]*)\"")))
            EXPECT_TRUE(ids.count(target)) << target.toStdString();
}

TEST(Guide, WorkedExampleIsVariantOneInEachLanguagesNotation) {
    const TRunOutcome outcome =
        ComputeRun(TestVariants[0].Counts1, TestVariants[0].Counts2, SmoothLeastSquares);
    ASSERT_TRUE(outcome.Result);
    const TRunResult &run = *outcome.Result;
    ASSERT_TRUE(run.FirstIsLogistic);
    const TPopulationRun &p1 = run.Population[0], &p2 = run.Population[1];
    std::vector<std::string> numbers = {std::to_string(run.Capacity)};
    for (double v :
         {p1.IntervalK[0], p1.IntervalK[5], p1.IntervalK[8], p1.K, p1.Week[1], p1.Week[8],
          p1.TwoYears[1], p1.TwoYears[23], p2.K, p2.TwoYears[23], p2.ThreeYears[35]})
        numbers.push_back(FormulaNumber(v));

    // The saturation fit of population 1 as its page shows it: "A=7.93+-0.31 ... k=... S=...",
    // then the intervals, S's last.
    const std::vector<TCheckLine> &lines = run.Check->Population[0].Lines;
    const auto fitLine = std::find_if(lines.begin(), lines.end(), [](const TCheckLine &l) {
        return l.Formula && l.Text.find("k=") != std::string::npos &&
               l.Text.find("+-") != std::string::npos;
    });
    ASSERT_TRUE(fitLine != lines.end() && fitLine + 1 != lines.end());
    const QString values = QString::fromStdString(fitLine->Text);
    const QString intervals = QString::fromStdString((fitLine + 1)->Text);
    const QRegularExpressionMatch lastInterval =
        QRegularExpression(QStringLiteral("\\[([-0-9.]+),([-0-9.]+)\\]$")).match(intervals);
    ASSERT_TRUE(lastInterval.hasMatch()) << intervals.toStdString();

    for (const TNotation &n : Notations) {
        QString text = GuideHtml(QLatin1String(n.Language));
        text.remove(QRegularExpression(n.Grouping));
        for (const std::string &number : numbers)
            EXPECT_TRUE(text.contains(Shown(number, n))) << n.Language << " " << number;
        int parameters = 0;
        for (const QRegularExpressionMatch &m :
             QRegularExpression(QStringLiteral("([AkS])=([-0-9.]+)\\+-([0-9.]+)"))
                 .globalMatch(values)) {
            ++parameters;
            const QString shown = QStringLiteral("<i>%1</i> = %2 ± %3")
                                      .arg(m.captured(1), Shown(m.captured(2).toStdString(), n),
                                           Shown(m.captured(3).toStdString(), n));
            EXPECT_TRUE(text.contains(shown)) << n.Language << " " << shown.toStdString();
        }
        EXPECT_EQ(parameters, 3) << values.toStdString();
        const QString interval =
            QLatin1Char('[') + Shown(lastInterval.captured(1).toStdString(), n) + n.ListSeparator +
            Shown(lastInterval.captured(2).toStdString(), n) + QLatin1Char(']');
        EXPECT_TRUE(text.contains(interval)) << n.Language << " " << interval.toStdString();
        text.remove(QRegularExpression(QStringLiteral("<sub>[^<]*</sub>")));
        EXPECT_FALSE(text.contains(QRegularExpression(n.ForeignDecimal))) << n.Language;
    }
}
