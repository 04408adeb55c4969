// The solver's engine against the plain formulation kept by the tests, on a small, a medium and
// two maximal tasks: time per task, iteration cycles, transitions, the cost of one transition
// update (building included) and the peak of memory in use. The last line of the output,
// "solver speedup X", gives reference time / engine time on the maximal task.
#include "bench_tasks.h"
#include "bench_util.h"

#include "optim/solver.h"
#include "solver_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>
#include <time.h>
#include <vector>

// ---- Memory in use, counted over every allocation of the program ---------------------------

namespace {
std::size_t g_in_use = 0;
std::size_t g_peak = 0;
} // namespace

// Not inlined: the compiler would otherwise pair the inlined free() with operator new and warn.
[[gnu::noinline]] void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) {
        throw std::bad_alloc();
    }
    g_in_use += malloc_usable_size(p);
    g_peak = std::max(g_peak, g_in_use);
    return p;
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    if (p) {
        g_in_use -= malloc_usable_size(p);
        std::free(p);
    }
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

using namespace kov;
using bench::task_named;
using bench::tasks;

// ---- Measures -------------------------------------------------------------------------------

using SolveFn = SolverResult (*)(const SolverTask&, const SchemeParameters&, SolverObserver*);

SolverResult engine(const SolverTask& t, const SchemeParameters& p, SolverObserver* o) {
    return solve(t, p, o);
}
SolverResult reference(const SolverTask& t, const SchemeParameters& p, SolverObserver* o) {
    return reference_solve(t, p, o);
}

struct Totals {
    double cycles = 0;
    double transitions = 0;
    double updates = 0; // cycles x transitions, over the variants
};

Totals totals(const SolverResult& r) {
    Totals t;
    for (const auto& v : r.variants) {
        t.cycles += v.cycles;
        t.transitions += double(v.transitions);
        t.updates += double(v.cycles) * double(v.transitions);
    }
    return t;
}

// CPU time of the process in seconds: other programs on the machine do not inflate it.
double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void run_solver(benchmark::State& state, SolveFn fn, const std::string& name) {
    const SolverTask& task = task_named(name).task;
    const SchemeParameters params;
    SolverResult r;
    std::size_t peak = 0;
    double seconds = 0;
    for (auto _ : state) {
        const std::size_t base = g_in_use;
        g_peak = g_in_use;
        const double t0 = cpu_seconds();
        r = fn(task, params, nullptr);
        seconds += cpu_seconds() - t0;
        peak = std::max(peak, g_peak - base);
        benchmark::DoNotOptimize(r);
    }
    if (r.outcome != SolverOutcome::Solved) {
        state.SkipWithError("the task was not solved");
        return;
    }
    const Totals t = totals(r);
    state.counters["variants"] = double(r.variants.size());
    state.counters["cycles"] = t.cycles;
    state.counters["transitions"] = t.transitions;
    state.counters["ns_per_update"] = seconds * 1e9 / (double(state.iterations()) * t.updates);
    state.counters["peak_bytes"] = double(peak);
}

void register_all() {
    for (const auto& t : tasks()) {
        const std::string name = t.name;
        benchmark::RegisterBenchmark(("engine/" + name).c_str(), [name](benchmark::State& s) {
            run_solver(s, engine, name);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("reference/" + name).c_str(),
            [name](benchmark::State& s) { run_solver(s, reference, name); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
    }
}

bool same(const SolverResult& a, const SolverResult& b) {
    if (!(a == b)) {
        return false;
    }
    for (std::size_t v = 0; v < a.variants.size(); ++v) {
        if (std::bit_cast<std::uint64_t>(a.variants[v].gain) !=
            std::bit_cast<std::uint64_t>(b.variants[v].gain)) {
            return false;
        }
    }
    return true;
}

// The best of `runs` timed solutions, in CPU seconds.
double best_time(SolveFn fn, const SolverTask& task, int runs, SolverResult& out) {
    double best = 1e300;
    for (int k = 0; k < runs; ++k) {
        const double t0 = cpu_seconds();
        out = fn(task, {}, nullptr);
        best = std::min(best, cpu_seconds() - t0);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    // Every allocation from the heap, never handed back to the system: the reference's large
    // transition arrays then cost no page faults, and both solvers are timed on their work.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    register_all();
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }

    // The comparison a script reads: every task solved alike, and the speed-up on the maximal one.
    bool identical = true;
    double speedup = 0;
    for (const auto& t : tasks()) {
        SolverResult e, r;
        const double te = best_time(engine, t.task, 20, e);
        const double tr = best_time(reference, t.task, 3, r);
        const bool ok = same(e, r);
        identical = identical && ok;
        const Totals n = totals(e);
        std::printf("%-16s engine %9.3f ms  reference %9.3f ms  x%6.1f  cycles %6.0f  "
                    "transitions %9.0f  %s\n",
                    t.name, te * 1e3, tr * 1e3, tr / te, n.cycles, n.transitions,
                    ok ? "identical" : "DIFFERENT");
        if (std::string(t.name) == "maximal") {
            speedup = tr / te;
        }
    }
    if (!identical) {
        std::printf("solver results differ\n");
        return 1;
    }
    std::printf("solver speedup %.1f\n", speedup);
    return 0;
}
