// A live edit on the exploring page of the real results window (offscreen unless a platform is
// set): one count changed, the run recomputed, every page brought up to date and the visible page
// repainted. Also a 600-step drag and the heap after 10,000 edits.
#include "analysis/Report.h"
#include "bench/QtBenchMain.h"
#include "results/Explore.h"
#include "results/RunTarget.h"
#include "results/Unit2.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabWidget>
#include <QUndoStack>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

const TCountArray Counts1 = {180, 981, 1429, 1680, 1821, 1900, 1944, 1969, 1983, 1995};
const TCountArray Counts2 = {8, 10, 14, 19, 26, 35, 47, 64, 86, 116};

// The window as "Делать" leaves it, shown on the given page (the coefficient page by default).
std::unique_ptr<TFrmRun> OpenWindow(int tab = 4) {
    auto frm = std::make_unique<TFrmRun>();
    TRunOutcome first = ComputeRun(Counts1, Counts2, SmoothLeastSquares);
    PaintRun(*first.Result, frm->Target());
    frm->KeepRun({std::make_shared<const TRunResult>(std::move(*first.Result)), "b", "b"});
    if (tab == 13)
        frm->PageControl1()->setCurrentIndex(frm->PageControl1()->count() - 1);
    else
        frm->ShowPage(tab);
    frm->show();
    QApplication::processEvents();
    return frm;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * double(v.size())))];
}

double Millis(TClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// One edit end to end: the change, the run, the page in sight painted and repainted, and what
// the event loop does after it (chart layouts among it). The argument is the page in sight: the
// coefficient page, the week chart page, the check page, the exploring page itself.
void BM_LiveEdit(benchmark::State &state) {
    const auto frm = OpenWindow(static_cast<int>(state.range(0)));
    TExplorePage &page = *frm->Explore();
    std::vector<double> whole;
    int step = 0;
    for (auto _ : state) {
        const auto t0 = TClock::now();
        page.SetCount(1, 3, 1429 + (++step % 50));
        frm->RunExploredNow();
        frm->PageControl1()->currentWidget()->repaint();
        QApplication::processEvents();
        const auto t1 = TClock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        whole.push_back(Millis(t1 - t0));
    }
    state.counters["median_ms"] = Percentile(whole, 0.5);
    state.counters["p99_ms"] = Percentile(whole, 0.99);
}
BENCHMARK(BM_LiveEdit)
    ->UseManualTime()
    ->Iterations(400)
    ->Unit(benchmark::kMillisecond)
    ->Arg(4)
    ->Arg(6)
    ->Arg(12)
    ->Arg(13);

// Where an edit's time would go on a window of its own (so its charts' work does not leak into
// the edit above): the computation, the page in sight, every page, and switching to the next tab.
void BM_LiveEditParts(benchmark::State &state) {
    const auto frm = OpenWindow();
    std::vector<double> compute, visible, all;
    int step = 0;
    for (auto _ : state) {
        TCountArray counts = Counts1;
        counts[2] += ++step % 50;
        const auto c0 = TClock::now();
        TRunOutcome o = ComputeRun(counts, Counts2, SmoothLeastSquares);
        const auto c1 = TClock::now();
        ApplyRunPart(*o.Result, frm->Target(), TRunPart::Coefficients);
        const auto c2 = TClock::now();
        ApplyRun(*o.Result, frm->Target());
        const auto c3 = TClock::now();
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(c3 - c0).count());
        compute.push_back(Millis(c1 - c0));
        visible.push_back(Millis(c2 - c1));
        all.push_back(Millis(c3 - c2));
    }
    state.counters["compute_ms"] = Percentile(compute, 0.5);
    state.counters["page_in_sight_ms"] = Percentile(visible, 0.5);
    state.counters["every_page_ms"] = Percentile(all, 0.5);
}
BENCHMARK(BM_LiveEditParts)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

// 600 mouse moves of a marker, each handled as the event loop would handle it (no coalescing
// helps: every move gets its own run); the drag must end on the last value.
void BM_Drag600(benchmark::State &state) {
    const auto frm = OpenWindow();
    TExplorePage &page = *frm->Explore();
    frm->PageControl1()->setCurrentWidget(&page);
    QApplication::processEvents();
    TCountChart *chart = page.CountChart(1);
    for (auto _ : state) {
        page.Start(page.Base());
        const QPointF start = chart->MarkerAt(5);
        const int runs = frm->ExploredRuns();
        QMouseEvent press(QEvent::MouseButtonPress, start, chart->mapToGlobal(start),
                          Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(chart, &press);
        const auto t0 = TClock::now();
        QPointF at = start;
        for (int i = 0; i < 600; ++i) {
            at.setY(start.y() - (i % 200) - 1);
            QMouseEvent move(QEvent::MouseMove, at, chart->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(chart, &move);
            QApplication::processEvents();
        }
        const int32_t last = chart->CountAt(at.y());
        QMouseEvent release(QEvent::MouseButtonRelease, at, chart->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, {});
        QApplication::sendEvent(chart, &release);
        QApplication::processEvents();
        const double seconds = std::chrono::duration<double>(TClock::now() - t0).count();
        state.SetIterationTime(seconds);
        state.counters["updates_per_s"] = (frm->ExploredRuns() - runs) / seconds;
        state.counters["ends_on_last"] = frm->ShownResult()->Population[0].Counts[5] == last &&
                                         page.Current().Counts[0][5] == last;
    }
}
BENCHMARK(BM_Drag600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The heap in use before and after 10,000 edits (after a warm-up), in percent.
void BM_Heap10000Edits(benchmark::State &state) {
    const auto frm = OpenWindow();
    TExplorePage &page = *frm->Explore();
    auto edits = [&](int n) {
        for (int i = 0; i < n; ++i) {
            page.SetCount(2, 4, 19 + i % 40);
            frm->RunExploredNow();
            frm->PageControl1()->currentWidget()->repaint();
            // Without the event loop the charts' scenes keep every pending change.
            QApplication::processEvents();
        }
    };
    for (auto _ : state) {
        page.Start(page.Base());
        edits(200);
        page.UndoStack()->clear();
        const double before = double(mallinfo2().uordblks);
        edits(10000);
        // The undo history keeps one small step per edit, which is what it is for.
        const double withHistory = double(mallinfo2().uordblks);
        page.UndoStack()->clear();
        const double after = double(mallinfo2().uordblks);
        state.counters["heap_change_pct"] = (after - before) / before * 100;
        state.counters["history_kb"] = (withHistory - after) / 1024;
        state.counters["heap_mb"] = before / 1048576;
    }
}
BENCHMARK(BM_Heap10000Edits)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunQtBenchmarks<QApplication>(argc, argv);
}
