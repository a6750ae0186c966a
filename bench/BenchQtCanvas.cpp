// The Qt drawing surface under the formula engine: a hand-built row x² + 1,5·10⁻³ − αβ built,
// measured and painted as a formula picture is, and the surface's cached measuring calls.
#include "bench/QtBenchMain.h"
#include "formula/draw/ExprAtoms.h"
#include "formula/draw/ExprParents.h"
#include "formula/draw/ExprStructs.h"
#include "results/QtCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

PExpr IssueChain() {
    auto power = std::make_unique<TExprIndex>(std::make_unique<TExprVar>("x"), nullptr,
                                              std::make_unique<TExprNumber>(2, false));
    auto chain = std::make_unique<TExprChain>(std::move(power));
    TExprClass *first = chain->Son();
    first->AddNext(std::make_unique<TExprSign>('+'));
    first->AddNext(std::make_unique<TExprNumber>(0.0015L, true));
    first->AddNext(std::make_unique<TExprSign>(8722));
    first->AddNext(std::make_unique<TExprExtSymbol>(945));
    first->AddNext(std::make_unique<TExprExtSymbol>(946));
    return chain;
}

TExprFont FormulaFontOf(int points) {
    TExprFont font;
    font.SetName("Comic Sans MS");
    font.SetSize(points);
    return font;
}

// Build, measure and paint the row on a picture of its size: everything of a formula picture
// but the parser and the bitmap of the page.
void BM_BuildLayOutPaintRow(benchmark::State &state) {
    const TExprFont font = FormulaFontOf(10);
    QImage image(200, 40, QImage::Format_RGB32);
    for (auto _ : state) {
        PExpr row = IssueChain();
        TQtCanvas canvas;
        row->SetCanvas(&canvas);
        row->SetFont(font);
        const int w = row->Width(), h = row->Height();
        image.fill(Qt::white);
        QPainter painter(&image);
        canvas.SetPainter(&painter);
        row->Draw(5, 5, 0, 0);
        painter.end();
        benchmark::DoNotOptimize(w + h);
    }
}
BENCHMARK(BM_BuildLayOutPaintRow)->Unit(benchmark::kMicrosecond);

// Layout alone, without painting.
void BM_BuildLayOutRow(benchmark::State &state) {
    const TExprFont font = FormulaFontOf(10);
    for (auto _ : state) {
        PExpr row = IssueChain();
        TQtCanvas canvas;
        row->SetCanvas(&canvas);
        row->SetFont(font);
        benchmark::DoNotOptimize(row->Width() + row->Height());
    }
}
BENCHMARK(BM_BuildLayOutRow)->Unit(benchmark::kMicrosecond);

// The calls every atom makes: select the font, measure a text, ask for an ABC width.
void BM_SelectAndMeasure(benchmark::State &state) {
    TQtCanvas canvas;
    TFontData upright;
    upright.Name = "Comic Sans MS";
    upright.Height = -13;
    TFontData italic = upright;
    italic.Style = fsItalic;
    for (auto _ : state) {
        canvas.SetFont(upright);
        benchmark::DoNotOptimize(canvas.TextExtent("1,5\xB7"
                                                   "10"));
        canvas.SetFont(italic);
        TABC abc;
        benchmark::DoNotOptimize(canvas.CharABCWidths('x', abc));
        benchmark::DoNotOptimize(canvas.TextExtentW(u"\u03B1"));
    }
}
BENCHMARK(BM_SelectAndMeasure)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char **argv) {
    return RunQtBenchmarks<QGuiApplication>(argc, argv);
}
