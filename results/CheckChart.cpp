#include "results/CheckChart.h"

#include "results/FontSetup.h"

#include <QChart>
#include <QCoreApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>

namespace {

struct TStyle {
    const char *Name;
    QColor Color;
    Qt::PenStyle Pen;
};

// The run's model in the red of the other charts; the fits in colours that stay apart in print.
const TStyle Styles[TCheckChart::SeriesCount] = {
    {QT_TRANSLATE_NOOP("TCheckChart", "программа"), Qt::red, Qt::SolidLine},
    {QT_TRANSLATE_NOOP("TCheckChart", "данные"), Qt::black, Qt::NoPen},
    {QT_TRANSLATE_NOOP("TCheckChart", "экспонента"), QColor(0, 90, 200), Qt::DashLine},
    {QT_TRANSLATE_NOOP("TCheckChart", "насыщение"), QColor(0, 140, 60), Qt::SolidLine},
    {QT_TRANSLATE_NOOP("TCheckChart", "Ферхюльст"), QColor(170, 60, 170), Qt::DashDotLine},
};

// The bottom axis shows the ten months, one tick each; the chart is low, so the left axis takes
// few steps.
constexpr int MaxIntervalsX = 9;
constexpr int MaxIntervalsY = 4;

} // namespace

TCheckChart::TCheckChart(QWidget *parent)
    : TChartBase(QCoreApplication::translate("TCheckChart", "Месяцы"),
                 QCoreApplication::translate("TCheckChart", "Численность"), MaxIntervalsX,
                 MaxIntervalsY, parent, 1, 10) {
    QChart *c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    const QFont small = ClassicFont(QStringLiteral("MS Sans Serif"), 10);
    // On the right: the chart is wide and low, and a legend below would squash the plot.
    c->legend()->setAlignment(Qt::AlignRight);
    c->legend()->setContentsMargins(0, 0, 0, 0);
    c->legend()->setFont(small);
    c->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    for (QCategoryAxis *axis : {AxisX(), AxisY()}) {
        axis->setTitleFont(small);
        axis->setLabelsFont(small);
    }

    for (const TStyle &style : Styles) {
        QXYSeries *view = nullptr;
        if (style.Pen == Qt::NoPen) {
            auto *dots = new QScatterSeries(c);
            dots->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            dots->setMarkerSize(6);
            dots->setColor(style.Color);
            dots->setBorderColor(style.Color);
            view = dots;
        } else {
            view = new QLineSeries(c);
            view->setPen(QPen(style.Color, 2, style.Pen));
        }
        view->setName(QCoreApplication::translate("TCheckChart", style.Name));
        AddSeries(view);
        // The legend names only what is drawn: an undetermined fit has no curve and no entry.
        auto listed = [c, view] {
            for (QLegendMarker *marker : c->legend()->markers(view))
                marker->setVisible(view->count() > 0);
        };
        listed();
        connect(view, &QXYSeries::pointsReplaced, this, listed);
    }
    UpdateRanges();
}
