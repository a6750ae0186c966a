// One analysis run from the counts: the computation alone, and the computation applied to a
// results window that discards everything (the run's own share of a press of "Делать").
#include "analysis/CheckPage.h"
#include "analysis/Report.h"

#include <benchmark/benchmark.h>

namespace {

const TCountArray Counts1 = {180, 981, 1429, 1680, 1821, 1900, 1944, 1969, 1983, 1995};
const TCountArray Counts2 = {8, 10, 14, 19, 26, 35, 47, 64, 86, 116};

class TNullArea : public TImageArea {
public:
    int32_t Width() const override { return 477; }
    int32_t Height() const override { return 643; }
    void Clear() override {}
    void SelectTextFont(std::string_view, int32_t, bool, uint8_t) override {}
    int32_t TextHeightOf(std::string_view) override { return 16; }
    void TextOut(int32_t, int32_t, std::string_view text) override {
        benchmark::DoNotOptimize(text.data());
    }
    int32_t DrawFormula(std::string_view formula, int32_t, int32_t, bool) override {
        benchmark::DoNotOptimize(formula.data());
        return 20;
    }
};

class TNullSeries : public TChartSeries {
public:
    void Clear() override {}
    void AddXY(double x, double y) override {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
};

class TNullTarget : public TResultsTarget {
public:
    TImageArea &Image(int) override { return FArea; }
    TChartSeries &Series(int, int) override { return FSeries; }
    void SetLabel(int, std::string_view) override {}
    void SetFormulaFontSize(int32_t) override {}

private:
    TNullArea FArea;
    TNullSeries FSeries;
};

void BM_ComputeRun(benchmark::State &state) {
    const auto smoothing = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        TRunOutcome o = ComputeRun(Counts1, Counts2, smoothing);
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_ComputeRun)->Arg(SmoothNone)->Arg(SmoothLagrange)->Arg(SmoothLeastSquares);

void BM_WholeRunOnNullWindow(benchmark::State &state) {
    TNullTarget target;
    for (auto _ : state) {
        PaintFormulasPage(target);
        TRunOutcome o = ComputeRun(Counts1, Counts2, SmoothLagrange);
        ApplyRun(*o.Result, target);
    }
}
BENCHMARK(BM_WholeRunOnNullWindow);

// The least-squares check alone (six fits, warnings, page lines, chart points): what it adds to
// every run. Target: well under 1 ms.
void BM_CheckPage(benchmark::State &state) {
    const TRunOutcome o = ComputeRun(Counts1, Counts2, SmoothNone);
    for (auto _ : state) {
        TCheckPage page = ComputeCheckPage(*o.Result);
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_CheckPage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
