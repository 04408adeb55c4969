#pragma once

// The solver tasks the benchmarks share: a small, a medium and two maximal ones, built straight
// as solver input.

#include "optim/solver.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

using namespace kov;

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
inline SolverTask make_task(int tipz, int groups, int mods, int incomes,
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

inline std::vector<InvestmentTicks> money(int count, std::int32_t own, std::int32_t credit,
                                          std::int32_t payback, int step, int payback_step) {
    std::vector<InvestmentTicks> v;
    for (int k = 0; k < count; ++k) {
        v.push_back({own - k * step, credit, payback - k * payback_step});
    }
    return v;
}

inline const std::vector<BenchTask>& tasks() {
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

inline const BenchTask& task_named(const std::string& name) {
    for (const auto& t : tasks()) {
        if (name == t.name) {
            return t;
        }
    }
    std::abort();
}

} // namespace bench
