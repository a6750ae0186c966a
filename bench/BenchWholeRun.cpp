// One whole run of "Делать" from the counts to the nine painted image areas (real formula
// pictures) and the filled chart series of the results window, as the window makes it.
#include "analysis/Report.h"
#include "bench/QtBenchMain.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_WholeRun(benchmark::State &state) {
    TFrmRun frmRun;
    TFrmRunTarget &target = frmRun.Target();
    const TCountArray counts1 = {180, 981, 1429, 1680, 1821, 1900, 1944, 1969, 1983, 1995};
    const TCountArray counts2 = {8, 10, 14, 19, 26, 35, 47, 64, 86, 116};
    const int32_t smoothing = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        if (RunAnalysis(target, counts1, counts2, smoothing).End != TRunEnd::Applied)
            state.SkipWithError("the run did not go through");
        benchmark::DoNotOptimize(frmRun.Image(9)->Bitmap().constBits());
    }
}
// Least squares (the default) and Lagrange, whose month curves have 1001 points.
BENCHMARK(BM_WholeRun)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunQtBenchmarks<QApplication>(argc, argv);
}
