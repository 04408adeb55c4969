// The certificate of optimality against the solve it certifies, on the two maximal tasks: the
// time to solve every variant, and the time to find every variant's best value and compare it
// with the plan found. The last line of the output, "proof extra ratio X", is the certificate's
// time over the solve time on the maximal task where that ratio is larger.
#include "bench_tasks.h"
#include "bench_util.h"

#include "optim/certificate.h"

#include <algorithm>
#include <cstdio>

namespace {

using namespace kov;

std::vector<Certificate> certify_all(const SolverTask& task, const SolverResult& solved) {
    std::vector<Certificate> out;
    for (std::size_t v = 0; v < task.variants.size(); ++v) {
        out.push_back(certify(task, int(v), solved.variants[v].choices));
    }
    return out;
}

template <class F> double best_of(int runs, F&& f) {
    double best = 1e300;
    for (int k = 0; k < runs; ++k) {
        best = std::min(best, bench::seconds(f));
    }
    return best;
}

const char* const kMaximal[] = {"maximal", "maximal_payback"};

} // namespace

int main(int argc, char** argv) {
    for (const char* name : kMaximal) {
        const SolverTask& task = bench::task_named(name).task;
        benchmark::RegisterBenchmark((std::string("solve/") + name).c_str(),
                                     [&task](benchmark::State& s) {
                                         for (auto _ : s) {
                                             benchmark::DoNotOptimize(solve(task, {}, nullptr));
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
        const SolverResult solved = solve(task, {}, nullptr);
        benchmark::RegisterBenchmark((std::string("certificate/") + name).c_str(),
                                     [&task, solved](benchmark::State& s) {
                                         for (auto _ : s) {
                                             benchmark::DoNotOptimize(certify_all(task, solved));
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }
    double ratio = 0;
    for (const char* name : kMaximal) {
        const SolverTask& task = bench::task_named(name).task;
        SolverResult solved;
        const double solve_s = best_of(5, [&] { solved = solve(task, {}, nullptr); });
        std::vector<Certificate> certificates;
        const double proof_s = best_of(5, [&] { certificates = certify_all(task, solved); });
        const auto optimal = std::count_if(certificates.begin(), certificates.end(),
                                           [](const Certificate& c) { return c.optimal(); });
        std::printf("%-16s solve %9.3f ms  certificate %9.3f ms  ratio %.4f  optimal %d of %zu\n",
                    name, solve_s * 1e3, proof_s * 1e3, proof_s / solve_s, int(optimal),
                    certificates.size());
        ratio = std::max(ratio, proof_s / solve_s);
    }
    std::printf("proof extra ratio %.4f\n", ratio);
    return 0;
}
