#include "results/Chart.h"

#include "results/FontSetup.h"

#include <QChart>
#include <QCoreApplication>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>

namespace {

const QColor SeriesColor(Qt::red);
const QColor MeasuredFill(30, 110, 230);
const QColor MeasuredOutline(0, 30, 90);
QString MeasuredName() {
    return QCoreApplication::translate("TChart", "данные");
}

// The 2 x 2 rectangle drawn at each point.
QImage PointMarker() {
    QImage marker(2, 2, QImage::Format_ARGB32);
    marker.fill(SeriesColor);
    return marker;
}

// Tick steps per axis: the bottom axis counts months or weeks, each of them labelled up to two
// years; the left axis leaves each label room for its text.
constexpr int MaxIntervalsX = 24;
constexpr int MaxIntervalsY = 6;

} // namespace

TChart::TChart(const QString &bottomTitle, const QString &leftTitle, bool markersOnLine,
               QWidget *parent, bool measuredMarkers)
    : TChartBase(bottomTitle, leftTitle, MaxIntervalsX, MaxIntervalsY, parent) {
    chart()->legend()->hide();
    chart()->setTitle(QString());
    const QFont titleFont = ClassicFont(QStringLiteral("MS Sans Serif"), 11);
    AxisX()->setTitleFont(titleFont);
    AxisY()->setTitleFont(titleFont);

    auto *line = new QLineSeries(chart());
    line->setPen(QPen(SeriesColor, 1));
    if (markersOnLine) line->setLightMarker(PointMarker());
    AddSeries(line);

    auto *dots = new QScatterSeries(chart());
    dots->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    dots->setMarkerSize(2);
    dots->setColor(SeriesColor);
    dots->setBorderColor(SeriesColor);
    dots->setPen(Qt::NoPen);
    if (measuredMarkers) {
        // Measured counts must stand out from the red curve through them: a larger round mark
        // in another colour with a dark outline, named in the legend.
        dots->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        dots->setMarkerSize(MeasuredMarkerSize);
        dots->setColor(MeasuredFill);
        dots->setBorderColor(MeasuredOutline);
        dots->setPen(QPen(MeasuredOutline, 1));
        dots->setName(MeasuredName());
    }
    AddSeries(dots);
    if (measuredMarkers) {
        QLegend *legend = chart()->legend();
        legend->setAlignment(Qt::AlignTop);
        legend->setMarkerShape(QLegend::MarkerShapeFromSeries);
        legend->setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 11));
        legend->show();
        // The curve has no entry: only the marks need naming.
        for (QLegendMarker *marker : legend->markers(line))
            marker->setVisible(false);
    }

    UpdateRanges();
}
