// Number texts are formatted for every cell of the large grids, so their cost matters.
#include "io/numbers.h"

#include <benchmark/benchmark.h>

static void BM_FormatFixed(benchmark::State& state) {
    double x = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::format_fixed(x, 2, ','));
        x += 0.01;
    }
}
BENCHMARK(BM_FormatFixed);

static void BM_FormatGeneral(benchmark::State& state) {
    double x = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::format_general(x, ','));
        x += 0.01;
    }
}
BENCHMARK(BM_FormatGeneral);

BENCHMARK_MAIN();
