#include "results/Chart.h"

#include <QChart>
#include <QCoreApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

std::vector<double> Xs(const QList<QPointF> &points) {
    std::vector<double> xs;
    for (const QPointF &p : points)
        xs.push_back(p.x());
    return xs;
}

void ExpectRange(const QValueAxis *axis, double lo, double hi) {
    EXPECT_LE(axis->min(), lo);
    EXPECT_GE(axis->max(), hi);
}

} // namespace

TEST(Chart, KeepsPointsInAscendingXAndPlacesEqualXAfterExisting) {
    TChart chart(QStringLiteral("Месяцы"), QStringLiteral("Численность популяции"), false);
    TChartLine &line = chart.Series(0);
    EXPECT_EQ(line.AddXY(5, 50), 0);
    EXPECT_EQ(line.AddXY(7, 70), 1);
    EXPECT_EQ(line.AddXY(1, 10), 0);
    EXPECT_EQ(line.AddXY(6, 60), 2);
    EXPECT_EQ(line.AddXY(5, 51), 2); // after the existing X = 5
    EXPECT_EQ(Xs(line.Points()), (std::vector<double>{1, 5, 5, 6, 7}));
    EXPECT_EQ(line.Points()[1].y(), 50);
    EXPECT_EQ(line.Points()[2].y(), 51);
    // Y values are not sorted.
    line.AddXY(8, -3);
    EXPECT_EQ(line.Points().back(), QPointF(8, -3));

    chart.Flush();
    EXPECT_EQ(line.View()->points(), line.Points());
}

TEST(Chart, ClearEmptiesOnlyItsSeriesAndRefillShowsOnlyNewPoints) {
    TChart chart(QStringLiteral("Недели"), QStringLiteral("Численность популяции"), true);
    for (int i = 0; i < 10; ++i) {
        chart.Series(0).AddXY(i, i * i);
        chart.Series(1).AddXY(i, i);
    }
    chart.Flush();
    chart.Series(0).Clear();
    chart.Series(0).AddXY(100, 1);
    chart.Flush();
    EXPECT_EQ(chart.Series(0).View()->points(), (QList<QPointF>{{100, 1}}));
    EXPECT_EQ(chart.Series(1).View()->count(), 10);
    chart.Series(1).Clear();
    chart.Flush();
    EXPECT_EQ(chart.Series(1).View()->count(), 0);
    EXPECT_EQ(chart.Series(1).Count(), 0);
}

TEST(Chart, SeriesIndexOutOfRangeThrows) {
    TChart chart(QString(), QString(), false);
    EXPECT_THROW(chart.Series(2), std::out_of_range);
    EXPECT_THROW(chart.Series(-1), std::out_of_range);
}

TEST(Chart, AxisRangesFollowTheDataAfterEachFill) {
    TChart chart(QStringLiteral("Месяцы"), QStringLiteral("Численность популяции"), false);
    for (int i = 0; i < 10; ++i)
        chart.Series(0).AddXY(i, 100 + 10 * i);
    chart.Series(1).AddXY(3, 2000);
    chart.Flush();
    ExpectRange(chart.AxisX(), 0, 9);
    ExpectRange(chart.AxisY(), 100, 2000);
    EXPECT_LT(chart.AxisY()->max(), 4000); // follows the data, not a fixed scale

    chart.Series(0).Clear();
    chart.Series(1).Clear();
    for (int i = 0; i < 5; ++i)
        chart.Series(0).AddXY(-i, -0.5 * i);
    chart.Flush();
    ExpectRange(chart.AxisX(), -4, 0);
    ExpectRange(chart.AxisY(), -2, 0);
    EXPECT_GT(chart.AxisY()->min(), -10);
    EXPECT_LT(chart.AxisX()->max(), 5);
}

TEST(Chart, DegenerateDataStillGivesUsableRanges) {
    TChart chart(QString(), QString(), false);
    chart.Series(0).AddXY(3, 7);
    chart.Flush();
    EXPECT_LT(chart.AxisX()->min(), 3);
    EXPECT_GT(chart.AxisX()->max(), 3);
    EXPECT_LT(chart.AxisY()->min(), 7);
    EXPECT_GT(chart.AxisY()->max(), 7);

    const double inf = std::numeric_limits<double>::infinity();
    chart.Series(1).AddXY(std::nan(""), 1);
    chart.Series(1).AddXY(4, inf);
    chart.Series(1).AddXY(4, 9);
    chart.Flush();
    EXPECT_TRUE(std::isfinite(chart.AxisX()->min()) && std::isfinite(chart.AxisX()->max()));
    EXPECT_TRUE(std::isfinite(chart.AxisY()->min()) && std::isfinite(chart.AxisY()->max()));
    ExpectRange(chart.AxisY(), 7, 9);
    EXPECT_EQ(chart.Series(1).Count(), 3);
}

TEST(Chart, ALargeFillReachesALiveViewInOneReplace) {
    TChart chart(QStringLiteral("Недели"), QStringLiteral("Численность популяции"), true);
    chart.resize(721, 269);
    chart.show();
    QCoreApplication::processEvents();
    QXYSeries *view = chart.Series(0).View();
    QSignalSpy replaced(view, &QXYSeries::pointsReplaced);
    QSignalSpy added(view, &QXYSeries::pointAdded);

    chart.Series(0).Clear();
    for (int i = 0; i <= 1000; ++i)
        chart.Series(0).AddXY(i * 0.25, std::sin(i * 0.01));
    EXPECT_EQ(view->count(), 0);       // nothing handed over point by point
    QCoreApplication::processEvents(); // the queued flush
    EXPECT_EQ(view->count(), 1001);
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(added.count(), 0);
    ExpectRange(chart.AxisX(), 0, 250);
}

TEST(Chart, ShowingHandsOverPendingPoints) {
    TChart chart(QString(), QString(), false);
    chart.Series(1).AddXY(1, 2);
    chart.show();
    EXPECT_EQ(chart.Series(1).View()->points(), (QList<QPointF>{{1, 2}}));
}

TEST(Chart, StyleOfTheSeriesAndTheChart) {
    for (bool markersOnLine : {false, true}) {
        SCOPED_TRACE(markersOnLine);
        TChart chart(QStringLiteral("Недели"), QStringLiteral("Численность популяции"),
                     markersOnLine);
        QChart *c = chart.chart();
        EXPECT_FALSE(c->legend()->isVisible());
        EXPECT_TRUE(c->title().isEmpty());
        EXPECT_EQ(c->animationOptions(), QChart::NoAnimation);
        EXPECT_EQ(c->backgroundBrush().color(), QColor(Qt::white));
        EXPECT_EQ(c->series().size(), 2);
        EXPECT_EQ(chart.AxisX()->titleText(), QStringLiteral("Недели"));
        EXPECT_EQ(chart.AxisY()->titleText(), QStringLiteral("Численность популяции"));

        auto *line = qobject_cast<QLineSeries *>(chart.Series(0).View());
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->pen().color(), QColor(Qt::red));
        EXPECT_NE(line->pen().style(), Qt::NoPen);
        EXPECT_FALSE(line->pointLabelsVisible());
        EXPECT_EQ(!line->lightMarker().isNull(), markersOnLine);
        if (markersOnLine) {
            EXPECT_EQ(line->lightMarker().size(), QSize(2, 2));
        }

        auto *dots = qobject_cast<QScatterSeries *>(chart.Series(1).View());
        ASSERT_NE(dots, nullptr);
        EXPECT_EQ(dots->markerShape(), QScatterSeries::MarkerShapeRectangle);
        EXPECT_EQ(dots->markerSize(), 2);
        EXPECT_EQ(dots->color(), QColor(Qt::red));
        EXPECT_FALSE(dots->pointLabelsVisible());
    }
}

TEST(Chart, MeasuredCountsStandOutFromTheCurveAndAreNamedInTheLegend) {
    TChart chart(QStringLiteral("Месяцы"), QStringLiteral("Численность популяции"), false, nullptr,
                 true);
    chart.resize(657, 321);
    for (int m = 1; m <= 10; ++m) {
        chart.Series(0).AddXY(m, 100 * m);
        chart.Series(1).AddXY(m, 100 * m);
    }
    chart.show();
    chart.Flush();
    QCoreApplication::processEvents();

    QLegend *legend = chart.chart()->legend();
    EXPECT_TRUE(legend->isVisible());
    QStringList entries;
    for (QLegendMarker *marker : legend->markers())
        if (marker->isVisible()) entries << marker->label();
    EXPECT_EQ(entries, QStringList{QStringLiteral("данные")});

    // A mark on the curve shows its own fill around its centre, not the curve's red.
    const QImage shot = chart.grab().toImage();
    QXYSeries *dots = chart.Series(1).View();
    const QPoint centre = chart.mapFromScene(chart.chart()->mapToPosition(QPointF(5, 500), dots));
    int own = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor c = shot.pixelColor(centre + QPoint(dx, dy));
            own += c.blue() > 150 && c.red() < 120;
        }
    EXPECT_GE(own, 9);
}
