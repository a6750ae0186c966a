// All formulas of one run (variant 10, the program's default, least squares) exported to LaTeX,
// MathML and speech together, against painting the same formulas, in one session: both from the
// laid-out pictures the window keeps (what a copy or the screen reader works from), and both from
// the formula texts (parse and export, against parse, layout and paint). A table after the runs
// puts them side by side.
#include "analysis/MainData.h"
#include "analysis/Report.h"
#include "bench/QtBenchMain.h"
#include "formula/draw/ExprParents.h"
#include "formula/export/ExprExport.h"
#include "formula/make/ExprMake.h"
#include "results/DrawFunc.h"
#include "results/FontSetup.h"
#include "tests/analysis/FakeTarget.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> RunFormulas() {
    TFakeTarget target;
    TCountArray counts1{}, counts2{};
    for (int month = 1; month <= 10; ++month) {
        counts1[month - 1] = VariantCountOf(9, 1, month);
        counts2[month - 1] = VariantCountOf(9, 2, month);
    }
    RunAnalysis(target, counts1, counts2, SmoothLeastSquares);
    std::vector<std::string> formulas;
    for (int page = 1; page <= 11; ++page)
        for (std::string &f : target.Image(page).Formulas())
            formulas.push_back(std::move(f));
    return formulas;
}

std::size_t ExportAll(TExprClass &chain) {
    return ExprToLatex(chain).size() + ExprToMathML(chain).size() + ExprToSpeech(chain).size();
}

using TPictures = std::vector<std::unique_ptr<TFormulaPicture>>;

void PaintPictures(benchmark::State &state, const TPictures *pictures) {
    for (auto _ : state)
        for (const auto &p : *pictures) {
            QImage image = p->Bitmap();
            benchmark::DoNotOptimize(image.constBits());
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pictures->size()));
}

void ExportPictures(benchmark::State &state, const TPictures *pictures) {
    for (auto _ : state)
        for (const auto &p : *pictures)
            benchmark::DoNotOptimize(ExportAll(p->Chain()));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pictures->size()));
}

void PaintTexts(benchmark::State &state, const std::vector<std::string> *formulas) {
    for (auto _ : state)
        for (const std::string &f : *formulas) {
            TFormulaPicture picture(" ", f, " ");
            QImage image = picture.Bitmap();
            benchmark::DoNotOptimize(image.constBits());
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas->size()));
}

// The exports need no layout: from a text they cost the parse and the walks.
void ExportTexts(benchmark::State &state, const std::vector<std::string> *formulas) {
    for (auto _ : state)
        for (const std::string &f : *formulas) {
            TExprBuilder builder;
            const PExpr root = builder.BuildExpr(f);
            benchmark::DoNotOptimize(ExportAll(*root));
        }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas->size()));
}

} // namespace

int main(int argc, char **argv) {
    TFormulaBenchApp application(argc, argv);

    const std::vector<std::string> formulas = RunFormulas();
    if (!application.Have(formulas, "the run painted no formulas")) return 1;
    TPictures pictures;
    for (const std::string &f : formulas)
        pictures.push_back(std::make_unique<TFormulaPicture>(" ", f, " "));

    benchmark::RegisterBenchmark("Run/Paint/FromPictures", PaintPictures, &pictures)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Run/Export/FromPictures", ExportPictures, &pictures)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Run/Paint/FromTexts", PaintTexts, &formulas)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Run/Export/FromTexts", ExportTexts, &formulas)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    TMedianCollector collector(true);
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\n%zu formulas of one run, processor microseconds for all of them (median):\n",
                formulas.size());
    std::printf("%-16s %14s %24s %8s\n", "from", "paint", "LaTeX + MathML + speech", "ratio");
    for (const char *from : {"FromPictures", "FromTexts"}) {
        const double paint = collector.Micros(std::string("Run/Paint/") + from);
        const double exported = collector.Micros(std::string("Run/Export/") + from);
        std::printf("%-16s %14.0f %24.0f %8.2f\n", from, paint, exported,
                    paint > 0 ? exported / paint : 0.0);
    }
    return 0;
}
