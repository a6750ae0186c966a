// What the benchmarks that need a Qt application share: headless unless a platform is set, with
// the program's font substitutions, so text is measured in the faces the program uses; for those
// with a main of their own that prints a table, the formula font and a collector of medians.
#pragma once

#include "bench/BenchRun.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

inline void HeadlessUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

template <class TApplication> int RunQtBenchmarks(int argc, char **argv) {
    HeadlessUnlessSet();
    TApplication application(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The application of a formula benchmark with a main of its own, the formula font at 10 points.
class TFormulaBenchApp {
public:
    TFormulaBenchApp(int &argc, char **argv) : FApplication(argc, argv) {
        InstallFontSubstitutions();
        InitFormulaFont();
        SetFormulaFontSize(10);
    }
    ~TFormulaBenchApp() { DoneFormulaFont(); }

    // False, with a line saying that there are none, for no formulas to measure.
    bool Have(const std::vector<std::string> &formulas, const char *none) const {
        if (formulas.empty()) std::fprintf(stderr, "%s\n", none);
        return !formulas.empty();
    }

private:
    struct THeadless {
        THeadless() { HeadlessUnlessSet(); }
    } FHeadless; // before the application
    QGuiApplication FApplication;
};

// Keeps the time per iteration of every run, processor time (on a shared machine wall time says
// less) or wall time, and gives the median over the repetitions in microseconds.
class TMedianCollector : public benchmark::ConsoleReporter {
public:
    explicit TMedianCollector(bool processorTime) : FProcessorTime(processorTime) {}
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs) {
            if (r.run_type != Run::RT_Iteration || Skipped(r)) continue;
            const double perUnit = r.time_unit == benchmark::kMillisecond   ? 1e3
                                   : r.time_unit == benchmark::kMicrosecond ? 1.0
                                                                            : 1e-3;
            FTimes[r.benchmark_name()].push_back(
                (FProcessorTime ? r.GetAdjustedCPUTime() : r.GetAdjustedRealTime()) * perUnit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Micros(const std::string &name) const {
        const auto it = FTimes.find(name);
        return it == FTimes.end() || it->second.empty() ? 0 : Median(it->second);
    }
    static double Median(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

private:
    const bool FProcessorTime;
    std::map<std::string, std::vector<double>> FTimes;
};
