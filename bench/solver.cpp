// The solver's engine against the plain formulation kept by the tests, on a small, a medium and
// two maximal tasks: time per task, iteration cycles, transitions, the cost of one transition
// update (building included) and the peak of memory in use. The last line of the output,
// "solver speedup X", gives reference time / engine time on the maximal task.
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

// ---- Tasks ----------------------------------------------------------------------------------

// A deterministic stream of small numbers.
struct Numbers {
    std::uint64_t state;
    int pick(int lo, int hi) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + static_cast<int>((state >> 33) % std::uint64_t(hi - lo + 1));
    }
};

struct BenchTask {
    const char* name;
    SolverTask task;
};

// `groups` objects, each with modernisation variants 0..mods and `incomes` income variants per
// modernisation variant (with pay-back; one without), money in ticks of 1.
SolverTask make_task(int tipz, int groups, int mods, int incomes,
                     std::vector<InvestmentTicks> variants, int ogrn, std::uint64_t seed) {
    Numbers n{seed};
    SolverTask t;
    TaskHeader& h = t.header;
    h.tipz = tipz;
    h.reg = 1;
    h.prmp = tipz <= 2 ? 1 : 2;
    h.prok = tipz % 2 == 0 ? 1 : 0;
    h.delta = 1;
    h.ps = 8;
    h.ogrn = ogrn;
    h.nt = static_cast<std::int32_t>(variants.size());
    h.soi = 12;
    h.tmx = 0.6;
    h.tmn = 0.2;
    t.variants = std::move(variants);
    const std::int64_t K = t.variants[0].own + t.variants[0].credit;
    for (int g = 1; g <= groups; ++g) {
        auto& alts = t.groups.emplace_back(1);
        const double object_cost = double(K) / groups * n.pick(40, 90) / 100.0;
        for (int j = 0; j <= mods; ++j) {
            const double modernisation = j == 0 ? 0 : double(K) / groups * n.pick(5, 40) / 100.0;
            const double duration = j == 0 ? 0 : n.pick(1, 4);
            for (int k = 1; k <= (h.prok == 1 ? incomes : 1); ++k) {
                SolverAlternative a;
                a.triple = {g, j, k};
                a.object_cost = object_cost;
                a.modernisation_cost = modernisation;
                a.amount = h.prmp == 1 ? (object_cost + modernisation) * n.pick(80, 160) / 100.0
                                       : n.pick(1, 50) / 10.0;
                a.duration = duration;
                const double a1 = n.pick(1, 6), a2 = a1 + n.pick(1, 10);
                a.curve = {{0, 0}, {a1, n.pick(20, 70) / 100.0}, {a2, 1}};
                alts.push_back(std::move(a));
            }
        }
    }
    return t;
}

std::vector<InvestmentTicks> money(int count, std::int32_t own, std::int32_t credit,
                                   std::int32_t payback, int step, int payback_step) {
    std::vector<InvestmentTicks> v;
    for (int k = 0; k < count; ++k) {
        v.push_back({own - k * step, credit, payback - k * payback_step});
    }
    return v;
}

const std::vector<BenchTask>& tasks() {
    static const std::vector<BenchTask> all = [] {
        std::vector<BenchTask> t;
        // 3 groups of 4 alternatives, 2 variants of a few hundred states.
        t.push_back({"small", make_task(1, 3, 2, 1, money(2, 60, 20, 0, 10, 0), 0, 1)});
        // Exploitation with pay-back: 5 groups of 16 alternatives, at most 2 objects; the pay-back
        // bounds are 30 ticks times the coefficients 0.6, 0.4 and 0.2.
        t.push_back({"medium", make_task(4, 5, 2, 5, money(3, 25, 5, 18, 0, 6), 2, 2)});
        // 10 variants of up to 19992 states, 10 groups of 7 alternatives (the most without
        // pay-back).
        t.push_back({"maximal", make_task(1, 10, 5, 1, money(10, 1600, 398, 0, 1, 0), 0, 3)});
        // Pay-back: 5 variants of up to 19802 states, 4 groups of 31 alternatives (the most a
        // group can hold). The pay-back bounds are 89 ticks times the coefficients 0.6 .. 0.2
        // rounded to nearest: the first two lie below what spending all the money needs.
        t.push_back(
            {"maximal_payback",
             make_task(2, 4, 5, 5,
                       {{70, 19, 53}, {70, 19, 44}, {70, 19, 36}, {70, 19, 27}, {70, 19, 18}}, 0,
                       4)});
        return t;
    }();
    return all;
}

const BenchTask& task_named(const std::string& name) {
    for (const auto& t : tasks()) {
        if (name == t.name) {
            return t;
        }
    }
    std::abort();
}

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
