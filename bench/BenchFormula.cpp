// links: zelvano_results
// Finished formula pictures (parse, lay out, paint, crop) of the 24 formulas of formulas.txt at
// the program's 10 point formula font (13 px), on the surface sized to the formula and on the
// classic 2000 x 1000 surface. After the runs a table puts the two side by side per formula, with
// the median over the formulas and the pictures per second of the whole set.
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "runtime/Cp1251.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadFormulas() {
    std::ifstream in(ZELVANO_SOURCE_DIR "/bench/formulas.txt");
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        std::string text;
        Utf8ToCp1251(line, text);
        out.push_back(text);
    }
    return out;
}

void Picture(benchmark::State &state, const std::string &formula, TPictureSurface surface) {
    for (auto _ : state) {
        QImage image = FormulaBitmapEx(" ", formula, " ", surface);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}

void AllPictures(benchmark::State &state, const std::vector<std::string> &formulas,
                 TPictureSurface surface) {
    for (auto _ : state)
        for (const std::string &f : formulas) {
            QImage image = FormulaBitmapEx(" ", f, " ", surface);
            benchmark::DoNotOptimize(image.constBits());
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas.size()));
}

// Keeps the time per iteration of every run, for the table after the console output.
class TCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                const double ns =
                    r.GetAdjustedRealTime() * (r.time_unit == benchmark::kMicrosecond   ? 1e3
                                               : r.time_unit == benchmark::kMillisecond ? 1e6
                                                                                        : 1.0);
                Times[r.benchmark_name()].push_back(ns);
            }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median over the repetitions of one benchmark, in microseconds.
    double Micros(const std::string &name) const {
        auto it = Times.find(name);
        if (it == Times.end() || it->second.empty()) return 0;
        return Median(it->second) / 1e3;
    }
    static double Median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    std::map<std::string, std::vector<double>> Times;
};

const char *SurfaceName(TPictureSurface s) {
    return s == TPictureSurface::Sized ? "Sized" : "Fixed";
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutions();
    InitFormulaFont();
    SetFormulaFontSize(10);

    const std::vector<std::string> formulas = ReadFormulas();
    if (formulas.empty()) {
        std::fprintf(stderr, "no formulas in bench/formulas.txt\n");
        return 1;
    }
    const TPictureSurface surfaces[] = {TPictureSurface::Sized, TPictureSurface::Fixed};
    for (TPictureSurface s : surfaces) {
        benchmark::RegisterBenchmark((std::string("Pictures/") + SurfaceName(s) + "/All").c_str(),
                                     AllPictures, formulas, s)
            ->Unit(benchmark::kMicrosecond);
        for (std::size_t k = 0; k < formulas.size(); ++k) {
            char name[64];
            std::snprintf(name, sizeof name, "Picture/%s/%02zu", SurfaceName(s), k + 1);
            benchmark::RegisterBenchmark(name, Picture, formulas[k], s)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    TCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\n%-4s %12s %12s  %s\n", "#", "sized (us)", "fixed (us)", "formula");
    std::vector<double> sized, fixed;
    for (std::size_t k = 0; k < formulas.size(); ++k) {
        char a[64], b[64];
        std::snprintf(a, sizeof a, "Picture/Sized/%02zu", k + 1);
        std::snprintf(b, sizeof b, "Picture/Fixed/%02zu", k + 1);
        const double s = collector.Micros(a), f = collector.Micros(b);
        if (s > 0) sized.push_back(s);
        if (f > 0) fixed.push_back(f);
        std::printf("%-4zu %12.2f %12.2f  %s\n", k + 1, s, f, Cp1251ToUtf8(formulas[k]).c_str());
    }
    auto median = [](const std::vector<double> &v) {
        return v.empty() ? 0 : TCollector::Median(v);
    };
    std::printf("%-4s %12.2f %12.2f  median per formula\n", "", median(sized), median(fixed));
    const double allSized = collector.Micros("Pictures/Sized/All");
    const double allFixed = collector.Micros("Pictures/Fixed/All");
    if (allSized > 0 && allFixed > 0)
        std::printf("%-4s %12.0f %12.0f  finished pictures per second over the whole set\n", "",
                    1e6 * static_cast<double>(formulas.size()) / allSized,
                    1e6 * static_cast<double>(formulas.size()) / allFixed);
    DoneFormulaFont();
    return 0;
}
