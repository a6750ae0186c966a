// Building the node tree of long formula texts: "2*x*" repeated (numbers that meet are multiplied
// and the letters juxtaposed, so every factor moves along the row) and "a+" repeated (one node
// per character). The time per byte should not grow with the length; peak_MB is the most heap
// the builder held at once above what was allocated before it started.
#include "formula/make/ExprMake.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {

std::atomic<std::size_t> Allocated{0}, Peak{0};

void *Take(std::size_t size) {
    // The size sits in front of the block so that delete can subtract it.
    auto *block = static_cast<std::size_t *>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block) throw std::bad_alloc();
    *block = size;
    const std::size_t now = Allocated += size;
    for (std::size_t peak = Peak; now > peak && !Peak.compare_exchange_weak(peak, now);) {
    }
    return reinterpret_cast<char *>(block) + sizeof(std::max_align_t);
}

void Give(void *p) {
    if (!p) return;
    auto *block =
        reinterpret_cast<std::size_t *>(static_cast<char *>(p) - sizeof(std::max_align_t));
    Allocated -= *block;
    std::free(block);
}

std::string Repeated(const std::string &unit, std::size_t length) {
    std::string text;
    text.reserve(length);
    while (text.size() + unit.size() <= length)
        text += unit;
    // A whole number of units, ending in a factor rather than an operator.
    if (!text.empty()) text.pop_back();
    return text;
}

void Build(benchmark::State &state, const std::string &unit) {
    const std::string text = Repeated(unit, static_cast<std::size_t>(state.range(0)));
    std::size_t peak = 0;
    bool refused = false;
    for (auto _ : state) {
        const std::size_t before = Allocated;
        Peak = before;
        try {
            TExprBuilder builder;
            PExpr tree = builder.BuildExpr(text);
            benchmark::DoNotOptimize(tree.get());
        } catch (const EIncorrectExpr &) {
            refused = true;
        }
        peak = std::max(peak, Peak - before);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["ns_per_byte"] = benchmark::Counter(
        static_cast<double>(text.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["peak_MB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
    state.counters["refused"] = refused;
}

} // namespace

void *operator new(std::size_t size) {
    return Take(size);
}
void *operator new[](std::size_t size) {
    return Take(size);
}
void operator delete(void *p) noexcept {
    Give(p);
}
void operator delete[](void *p) noexcept {
    Give(p);
}
void operator delete(void *p, std::size_t) noexcept {
    Give(p);
}
void operator delete[](void *p, std::size_t) noexcept {
    Give(p);
}

BENCHMARK_CAPTURE(Build, TwoTimesX, std::string("2*x*"))
    ->Arg(16 << 10)
    ->Arg(128 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Build, APlus, std::string("a+"))->Arg(1 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
