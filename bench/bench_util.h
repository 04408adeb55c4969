#pragma once

// What the benchmark programs share: running the registered benchmarks, and timing one call.

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace bench {

// Runs every registered benchmark (with the given reporter, if any). False when the command line
// holds arguments the benchmark library does not know.
inline bool run_registered(int& argc, char** argv,
                           benchmark::BenchmarkReporter* reporter = nullptr) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return false;
    }
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return true;
}

// The wall time of one call of `f`, in seconds.
template <class F> double seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The wall time and the processor time (of all the process's threads) of one call of `f`, in
// seconds; on a loaded machine the processor time tells more.
struct Times {
    double wall = 0, cpu = 0;
};
template <class F> Times times(F&& f) {
    const std::clock_t start = std::clock();
    Times t;
    t.wall = seconds(f);
    t.cpu = double(std::clock() - start) / CLOCKS_PER_SEC;
    return t;
}

} // namespace bench
