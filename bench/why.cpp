// "Why this plan" on the two maximal tasks: the thresholds of every object of every variant by
// exact re-solves with bisection to a tick. The last line of the output, "why maximal s X", is the
// wall time in seconds of the slower of the two.
#include "bench_tasks.h"
#include "bench_util.h"

#include "optim/certificate.h"

#include <algorithm>
#include <cstdio>

namespace {

using namespace kov;

std::size_t why_all(const SolverTask& task, const SolverResult& solved) {
    std::size_t thresholds = 0;
    for (std::size_t v = 0; v < task.variants.size(); ++v) {
        thresholds += why_plan(task, int(v), solved.variants[v].choices)->size();
    }
    return thresholds;
}

const char* const kMaximal[] = {"maximal", "maximal_payback"};

} // namespace

int main(int argc, char** argv) {
    std::vector<SolverResult> solved;
    for (const char* name : kMaximal) {
        solved.push_back(solve(bench::task_named(name).task, {}, nullptr));
    }
    for (std::size_t k = 0; k < solved.size(); ++k) {
        const SolverTask& task = bench::task_named(kMaximal[k]).task;
        benchmark::RegisterBenchmark((std::string("why/") + kMaximal[k]).c_str(),
                                     [&task, &solved, k](benchmark::State& s) {
                                         for (auto _ : s) {
                                             benchmark::DoNotOptimize(why_all(task, solved[k]));
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }
    double slowest = 0;
    for (std::size_t k = 0; k < solved.size(); ++k) {
        const SolverTask& task = bench::task_named(kMaximal[k]).task;
        std::size_t thresholds = 0;
        double best = 1e300;
        for (int run = 0; run < 3; ++run) {
            best = std::min(best, bench::seconds([&] { thresholds = why_all(task, solved[k]); }));
        }
        std::printf("%-16s why %9.3f ms  thresholds %zu\n", kMaximal[k], best * 1e3, thresholds);
        slowest = std::max(slowest, best);
    }
    std::printf("why maximal s %.3f\n", slowest);
    return 0;
}
