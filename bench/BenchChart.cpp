// Filling a shown chart with a projection's 1001 points, as a run does for each series.
#include "bench/QtBenchMain.h"
#include "results/Chart.h"

#include <QApplication>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void BM_FillShownChart(benchmark::State &state) {
    TChart chart(QStringLiteral("Недели"), QStringLiteral("Численность популяции"), true);
    chart.resize(721, 269);
    chart.show();
    QCoreApplication::processEvents();
    const int points = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int s = 0; s < TChart::SeriesCount; ++s) {
            chart.Series(s).Clear();
            for (int i = 0; i < points; ++i)
                chart.Series(s).AddXY(i, 1000 * std::tanh(i * 0.01));
        }
        chart.Flush();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * points * TChart::SeriesCount);
}
BENCHMARK(BM_FillShownChart)->Arg(1001)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunQtBenchmarks<QApplication>(argc, argv);
}
