// The guide: one Russian text for every language until others are written, and its worked
// example the numbers a run of variant 1 really gives.
#include "analysis/Run.h"
#include "results/Guide.h"
#include "tests/analysis/Variants.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A number as the guide writes it: four decimals at most, a decimal comma.
QString Shown(double v) {
    return QString::fromStdString(FormulaNumber(v)).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

TEST(Guide, IsOneRussianTextWhoseExampleIsVariantOne) {
    const QString guide = GuideHtml(QStringLiteral("ru"));
    ASSERT_FALSE(guide.isEmpty());
    EXPECT_EQ(GuideHtml(QStringLiteral("ru_RU")), guide);
    EXPECT_EQ(GuideHtml(QStringLiteral("de")), guide);
    // Places other texts link to.
    for (const char *id :
         {"pages", "method", "check", "rss", "aicc", "weight", "undetermined", "example"})
        EXPECT_TRUE(guide.contains(QStringLiteral("id=\"%1\"").arg(QLatin1String(id)))) << id;

    const TRunOutcome outcome =
        ComputeRun(TestVariants[0].Counts1, TestVariants[0].Counts2, SmoothLeastSquares);
    ASSERT_TRUE(outcome.Result);
    const TRunResult &run = *outcome.Result;
    ASSERT_TRUE(run.FirstIsLogistic);
    const TPopulationRun &p1 = run.Population[0], &p2 = run.Population[1];
    // Digits grouped by blanks read as one number.
    QString text = guide;
    text.remove(QRegularExpression(QStringLiteral("(?<=\\d)&nbsp;(?=\\d)")));
    for (const QString &number :
         {QString::number(run.Capacity), Shown(p1.IntervalK[0]), Shown(p1.IntervalK[5]),
          Shown(p1.IntervalK[8]), Shown(p1.K), Shown(p1.Week[1]), Shown(p1.Week[8]),
          Shown(p1.TwoYears[1]), Shown(p1.TwoYears[23]), Shown(p2.K), Shown(p2.TwoYears[23]),
          Shown(p2.ThreeYears[35])})
        EXPECT_TRUE(text.contains(number)) << number.toStdString();
}
