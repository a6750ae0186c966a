// Finished formula pictures (parse, lay out, paint, ready to show) of the 24 formulas of
// formulas.txt at the program's 10 point formula font (13 px): drawn aliased as the classic
// surface draws them, and smooth at device pixel ratios 1 and 2. After the runs a table puts the
// three side by side per formula, with the median over the formulas and the pictures per second
// of the whole set.
#include "bench/QtBenchMain.h"
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

struct TDrawingKind {
    const char *Name;
    TShapeDrawing Drawing;
    int Ratio;
};

const TDrawingKind Kinds[] = {{"Classic", TShapeDrawing::Classic, 1},
                              {"Smooth1", TShapeDrawing::Smooth, 1},
                              {"Smooth2", TShapeDrawing::Smooth, 2}};

QImage Finished(const std::string &formula, const TDrawingKind &kind) {
    TFormulaPicture picture(" ", formula, " ");
    return picture.Bitmap(TPictureSurface::Sized, false, kind.Drawing, kind.Ratio);
}

void Picture(benchmark::State &state, const std::string &formula, const TDrawingKind &kind) {
    for (auto _ : state) {
        QImage image = Finished(formula, kind);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}

void AllPictures(benchmark::State &state, const std::vector<std::string> &formulas,
                 const TDrawingKind &kind) {
    for (auto _ : state)
        for (const std::string &f : formulas) {
            QImage image = Finished(f, kind);
            benchmark::DoNotOptimize(image.constBits());
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas.size()));
}

} // namespace

int main(int argc, char **argv) {
    TFormulaBenchApp application(argc, argv);

    const std::vector<std::string> formulas = ReadFormulas();
    if (!application.Have(formulas, "no formulas in bench/formulas.txt")) return 1;
    for (const TDrawingKind &kind : Kinds) {
        benchmark::RegisterBenchmark((std::string("Pictures/") + kind.Name + "/All").c_str(),
                                     AllPictures, formulas, kind)
            ->Unit(benchmark::kMicrosecond);
        for (std::size_t k = 0; k < formulas.size(); ++k) {
            char name[64];
            std::snprintf(name, sizeof name, "Picture/%s/%02zu", kind.Name, k + 1);
            benchmark::RegisterBenchmark(name, Picture, formulas[k], kind)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    TMedianCollector collector(false);
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\n%-4s %12s %12s %12s  %s\n", "#", "classic (us)", "smooth (us)", "smooth x2 (us)",
                "formula");
    std::vector<double> columns[3];
    for (std::size_t k = 0; k < formulas.size(); ++k) {
        double t[3];
        for (int c = 0; c < 3; ++c) {
            char name[64];
            std::snprintf(name, sizeof name, "Picture/%s/%02zu", Kinds[c].Name, k + 1);
            t[c] = collector.Micros(name);
            if (t[c] > 0) columns[c].push_back(t[c]);
        }
        std::printf("%-4zu %12.2f %12.2f %12.2f  %s\n", k + 1, t[0], t[1], t[2],
                    Cp1251ToUtf8(formulas[k]).c_str());
    }
    auto median = [](const std::vector<double> &v) {
        return v.empty() ? 0 : TMedianCollector::Median(v);
    };
    std::printf("%-4s %12.2f %12.2f %12.2f  median per formula\n", "", median(columns[0]),
                median(columns[1]), median(columns[2]));
    double perSecond[3] = {};
    for (int c = 0; c < 3; ++c) {
        const double all = collector.Micros(std::string("Pictures/") + Kinds[c].Name + "/All");
        if (all > 0) perSecond[c] = 1e6 * static_cast<double>(formulas.size()) / all;
    }
    std::printf("%-4s %12.0f %12.0f %12.0f  finished pictures per second over the whole set\n", "",
                perSecond[0], perSecond[1], perSecond[2]);
    return 0;
}
