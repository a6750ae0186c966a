#include "results/CheckChart.h"

#include "results/FontSetup.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QMetaObject>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

struct TStyle {
    const char *Name;
    QColor Color;
    Qt::PenStyle Pen;
};

// The run's model in the red of the other charts; the fits in colours that stay apart in print.
const TStyle Styles[TCheckChart::SeriesCount] = {
    {"программа", Qt::red, Qt::SolidLine},
    {"данные", Qt::black, Qt::NoPen},
    {"экспонента", QColor(0, 90, 200), Qt::DashLine},
    {"насыщение", QColor(0, 140, 60), Qt::SolidLine},
    {"Ферхюльст", QColor(170, 60, 170), Qt::DashDotLine},
};

} // namespace

TCheckChart::TCheckChart(QWidget *parent) : QChartView(new QChart(), parent) {
    FChart = chart();
    FChart->setAnimationOptions(QChart::NoAnimation);
    FChart->setBackgroundBrush(Qt::white);
    FChart->setBackgroundRoundness(0);
    FChart->setPlotAreaBackgroundVisible(false);
    FChart->setLocalizeNumbers(true);
    FChart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    FChart->setMargins(QMargins(4, 4, 4, 4));
    const QFont small = ClassicFont(QStringLiteral("MS Sans Serif"), 10);
    // On the right: the chart is wide and low, and a legend below would squash the plot.
    FChart->legend()->setAlignment(Qt::AlignRight);
    FChart->legend()->setContentsMargins(0, 0, 0, 0);
    FChart->legend()->setFont(small);
    FChart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    FAxisX = new QValueAxis(FChart);
    FAxisY = new QValueAxis(FChart);
    FAxisX->setTitleText(QStringLiteral("Месяцы"));
    FAxisY->setTitleText(QStringLiteral("Численность"));
    FAxisX->setTitleFont(small);
    FAxisY->setTitleFont(small);
    FAxisX->setLabelsFont(small);
    FAxisY->setLabelsFont(small);
    FChart->addAxis(FAxisX, Qt::AlignBottom);
    FChart->addAxis(FAxisY, Qt::AlignLeft);

    for (int i = 0; i < SeriesCount; ++i) {
        const TStyle &style = Styles[i];
        QXYSeries *view = nullptr;
        if (style.Pen == Qt::NoPen) {
            auto *dots = new QScatterSeries(FChart);
            dots->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            dots->setMarkerSize(6);
            dots->setColor(style.Color);
            dots->setBorderColor(style.Color);
            view = dots;
        } else {
            view = new QLineSeries(FChart);
            view->setPen(QPen(style.Color, 2, style.Pen));
        }
        view->setName(QString::fromUtf8(style.Name));
        view->setPointLabelsVisible(false);
        FChart->addSeries(view);
        view->attachAxis(FAxisX);
        view->attachAxis(FAxisY);
        FLines[static_cast<size_t>(i)].View = view;
        for (QLegendMarker *marker : FChart->legend()->markers(view))
            marker->setVisible(false);
    }
    setBackgroundBrush(Qt::white);
    UpdateRanges();
}

TCheckChart::~TCheckChart() = default;

TCheckChart::TLine &TCheckChart::Line(int index) {
    if (index < 0 || index >= SeriesCount) throw std::out_of_range("TCheckChart: no such series");
    return FLines[static_cast<size_t>(index)];
}

void TCheckChart::Clear(int index) {
    TLine &line = Line(index);
    if (line.Points.isEmpty() && !line.Dirty) return;
    line.Points.clear();
    Changed(line);
}

void TCheckChart::AddXY(int index, double x, double y) {
    TLine &line = Line(index);
    line.Points.append(QPointF(x, y));
    Changed(line);
}

const QList<QPointF> &TCheckChart::Points(int index) const {
    return const_cast<TCheckChart *>(this)->Line(index).Points;
}

QXYSeries *TCheckChart::View(int index) const {
    return const_cast<TCheckChart *>(this)->Line(index).View;
}

void TCheckChart::Changed(TLine &line) {
    line.Dirty = true;
    if (FFlushQueued) return;
    FFlushQueued = true;
    QMetaObject::invokeMethod(this, &TCheckChart::Flush, Qt::QueuedConnection);
}

void TCheckChart::Flush() {
    FFlushQueued = false;
    bool changed = false;
    for (TLine &line : FLines) {
        if (!line.Dirty) continue;
        line.View->replace(line.Points);
        line.Dirty = false;
        changed = true;
        // The legend names only what is drawn: an undetermined fit has no curve and no entry.
        for (QLegendMarker *marker : FChart->legend()->markers(line.View))
            marker->setVisible(!line.Points.isEmpty());
    }
    if (changed) UpdateRanges();
}

void TCheckChart::showEvent(QShowEvent *event) {
    Flush();
    QChartView::showEvent(event);
}

void TCheckChart::UpdateRanges() {
    double minX = 1, maxX = 10, minY = 0, maxY = 0;
    bool any = false;
    for (const TLine &line : FLines) {
        for (const QPointF &p : line.Points) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = any ? std::min(minY, p.y()) : p.y();
            maxY = any ? std::max(maxY, p.y()) : p.y();
            any = true;
        }
    }
    if (minY == maxY) {
        const double pad = std::max(1.0, std::abs(minY) / 20);
        minY -= pad;
        maxY += pad;
    }
    FAxisX->setRange(minX, maxX);
    FAxisY->setRange(minY, maxY);
    FAxisX->setTickCount(10);
    FAxisX->setLabelFormat(QStringLiteral("%.0f"));
    FAxisY->applyNiceNumbers();
    const double step = (FAxisY->max() - FAxisY->min()) / std::max(FAxisY->tickCount() - 1, 1);
    FAxisY->setLabelFormat(step >= 1 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
}
