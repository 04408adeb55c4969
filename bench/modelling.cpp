// The statistical modelling of a large task: 10 investment variants of 10 objects with 100000
// trials each, against a literal reference that scans the delay grid point by point. The
// modelling on one thread and on all cores must both give the reference's thresholds and
// simulated means. The last two lines are the speedups, each from the best of several runs: on
// one thread (what the algorithm gains) and on all cores.
#include "bench_util.h"

#include "io/numbers.h"
#include "stats/modelling.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>

namespace {

constexpr std::int32_t kTrials = 100000;
constexpr int kVariants = 10;
constexpr int kObjects = 10;

// Exploitation objects with curves of 2 to 10 points, so the trial incomes spread out.
kov::ModellingInput large_task() {
    kov::ModellingInput in;
    kov::BdonData& d = in.bdon;
    d.header.type = "A";
    d.header.code = "001";
    d.header.mode = 1;
    d.header.cost_unit = "thousand";
    d.header.time_unit = "month";
    d.header.m = kObjects;
    for (int i = 0; i < kObjects; ++i) {
        kov::DborObject o;
        o.code = "00000" + std::to_string(i);
        o.cost = 100 + 10 * i;
        d.objects.push_back(o);
        kov::DborVariant v;
        v.duration = 1 + i % 3;
        v.e = 1;
        d.variants.push_back({v});
        d.sale_variants.push_back({{}});
        d.expl_variants.push_back({{{2.0 + i, 0}}});
        d.sale_points.push_back({{}});
        std::vector<kov::DborPoint> curve{{0, 0}};
        const int points = 2 + i % 9;
        for (int k = 1; k < points; ++k) {
            curve.push_back({curve.back().x + 1.5 + (i + k) % 4, double(k) / (points - 1)});
        }
        d.expl_variants.back()[0][0].q = std::int32_t(curve.size());
        d.expl_points.push_back({{curve}});
    }
    in.header.shifr = "BENCH1";
    in.header.reg = 1;
    in.header.tipz = 4;
    in.header.prmp = 2;
    in.header.prok = 1;
    in.header.soi = 14;
    in.header.tmx = 2;
    in.header.tmn = 1;
    in.header.nt = kVariants;
    in.header.nsg = kVariants;
    in.header.mz = kObjects;
    in.header.ps = 12;
    in.variants.assign(kVariants, {800, 400});
    for (int v = 0; v < kVariants; ++v) {
        std::vector<kov::ChoiceTriple> plan;
        for (int g = 0; g < kObjects; ++g) {
            plan.push_back((g + v) % 7 == 0 ? kov::kNotTaken : kov::ChoiceTriple{g + 1, 0, 1});
        }
        in.plans.push_back(plan);
    }
    in.solution_file = "bench";
    return in;
}

struct Reference {
    std::vector<double> means;
    std::vector<kov::TStatBlock> blocks;
};

// The simulation step by step: every draw scans the grid from its first point.
Reference reference_modelling(const kov::ModellingInput& in, std::int32_t trials) {
    Reference out;
    const kov::TaskHeader& h = in.header;
    for (const auto& plan : in.plans) {
        std::vector<kov::DelayGrid> grids;
        std::vector<double> rooms, amounts;
        for (const kov::ChoiceTriple& c : plan) {
            if (!c.real()) {
                continue;
            }
            const auto o = std::size_t(c.object - 1);
            grids.push_back(kov::build_delay_grid(in.bdon.expl_points[o][0][0]));
            rooms.push_back(h.soi - in.bdon.variants[o][0].duration);
            amounts.push_back(in.bdon.expl_variants[o][0][0].income);
        }
        kov::StatRandom random;
        random.reset();
        std::vector<double> incomes;
        double mean = 0;
        for (std::int32_t t = 0; t < trials; ++t) {
            double income = 0;
            for (std::size_t k = 0; k < grids.size(); ++k) {
                const double delay = kov::draw_delay(grids[k], random.next());
                if (!(delay > rooms[k])) {
                    income += (rooms[k] - delay) * amounts[k];
                }
            }
            incomes.push_back(income);
            mean += income;
        }
        out.means.push_back(mean / trials);
        std::sort(incomes.begin(), incomes.end());
        kov::TStatBlock block{};
        for (int j = 1; j <= 10; ++j) {
            block[std::size_t(j - 1)] = {j / 10.0, incomes[kov::threshold_position(trials, j)]};
        }
        out.blocks.push_back(block);
    }
    return out;
}

const kov::ModellingInput& task() {
    static const kov::ModellingInput in = large_task();
    return in;
}

void BM_Modelling(benchmark::State& state) {
    kov::ModellingOptions options;
    options.threads = unsigned(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::model_statistics(task(), kTrials, options));
    }
}
BENCHMARK(BM_Modelling)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }

    Reference reference;
    double reference_time = 1e9;
    for (int run = 0; run < 3; ++run) {
        reference_time =
            std::min(reference_time,
                     bench::seconds([&] { reference = reference_modelling(task(), kTrials); }));
    }
    // The best of five runs with `threads` threads (0: all cores); false when it differs from the
    // reference.
    auto best_modelling = [&](unsigned threads, double& best) {
        kov::ModellingOptions options;
        options.threads = threads;
        kov::StatFile modelled;
        best = 1e9;
        for (int run = 0; run < 5; ++run) {
            best = std::min(best, bench::seconds([&] {
                                modelled = kov::model_statistics(task(), kTrials, options);
                            }));
        }
        for (const kov::TStatVariant& r : modelled.variants) {
            const auto v = std::size_t(r.number - 1);
            if (r.simulated_mean != reference.means[v] ||
                modelled.blocks[v] != reference.blocks[v]) {
                std::cout << "modelling on " << (threads ? "one thread" : "all cores")
                          << " differs from the reference in variant " << r.number << "\n";
                return false;
            }
        }
        return true;
    };
    double one_thread_time = 0, all_cores_time = 0;
    if (!best_modelling(1, one_thread_time) || !best_modelling(0, all_cores_time)) {
        return EXIT_FAILURE;
    }
    std::cout << "reference time " << kov::format_fixed(reference_time, 3, '.') << " s\n"
              << "modelling time one thread " << kov::format_fixed(one_thread_time, 4, '.')
              << " s\n"
              << "modelling time all cores " << kov::format_fixed(all_cores_time, 4, '.') << " s\n"
              << "modelling speedup " << kov::format_fixed(reference_time / one_thread_time, 1, '.')
              << "\n"
              << "modelling speedup all cores "
              << kov::format_fixed(reference_time / all_cores_time, 1, '.') << std::endl;
    return EXIT_SUCCESS;
}
