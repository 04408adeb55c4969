#include "solver_reference.h"

#include "dbor/expected_income.h"
#include "task/ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace kov;

namespace {

struct State {
    std::int64_t x0, x1, x2, s;
};

struct Transition {
    int id;    // -1 for the first transition of its state, -2 for the second, ...
    int group; // 1-based; 0 for a closing transition
    int alt;   // alternative of the group
    std::int64_t to;
    double reward;
};

struct Alternative {
    std::int64_t cost;
    double amount;
    std::int64_t inc;
};

} // namespace

SolverResult reference_solve(const SolverTask& task, const SchemeParameters& par,
                             SolverObserver* obs, PaybackRules rules) {
    const TaskHeader& h = task.header;
    const std::int64_t mz = static_cast<std::int64_t>(task.groups.size());
    const int nsg = static_cast<int>(task.variants.size());
    SolverResult result;

    // Solution records, all (0, 0, 0).
    result.variants.resize(static_cast<std::size_t>(nsg));
    if (mz > 0 && nsg > 0) {
        for (auto& v : result.variants) {
            v.choices.assign(static_cast<std::size_t>(mz), ChoiceTriple{0, 0, 0});
        }
    }
    auto stop = [&](SolverOutcome outcome, int variant, std::int64_t states) {
        result.outcome = outcome;
        result.failed_variant = variant;
        result.failed_states = states;
        if (obs) {
            obs->refused(outcome, par, variant, states);
        }
        return result;
    };

    // The scheme parameters.
    if (!(0.099999 <= par.omega && par.omega < 0.999999)) {
        return stop(SolverOutcome::OmegaOutOfRange, 0, 0);
    }
    if (!(0.000999 <= par.threshold && par.threshold <= 0.100001)) {
        return stop(SolverOutcome::ThresholdOutOfRange, 0, 0);
    }
    if (!(par.check_every >= 1)) {
        return stop(SolverOutcome::CheckEveryOutOfRange, 0, 0);
    }
    if (!(par.max_cycles >= 10)) {
        return stop(SolverOutcome::MaxCyclesOutOfRange, 0, 0);
    }

    const double step = h.nt < 2 ? 0 : (h.tmx - h.tmn) / (h.nt - 1);

    // P*: from P on, the first count of pay-back income ticks that meets the requirement of the
    // largest spend, x0 = K, judged as the closing reward judges it.
    auto cap = [&](int v) {
        const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
        const std::int64_t O = t.own;
        const std::int64_t K = std::int64_t(t.own) + t.credit;
        const double c_v = h.tmx - v * step;
        std::int64_t n = t.payback;
        if (h.prok != 1 || rules == PaybackRules::Original) {
            return n;
        }
        for (;;) {
            bool passes = true;
            if (h.reg == 1) {
                passes = K == 0 || !(double(n) / double(K) < c_v - 1e-8);
            } else {
                const double I = K > O ? double(K - O) * h.ps / 100 : 0.0;
                passes = !(double(n) < double(K) + I + h.nsd / h.delta - 1e-8);
            }
            if (passes) {
                return n;
            }
            ++n;
        }
    };

    // The phase-state limit, for every variant before any is solved.
    for (int v = 0; v < nsg; ++v) {
        const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
        const std::int64_t K = std::int64_t(t.own) + t.credit;
        const std::int64_t N = mz * (K + 1) * (cap(v) + 1) * (h.ogrn + 1) + 2;
        if (N > 20000) {
            return stop(SolverOutcome::TooManyStates, v + 1, N);
        }
    }

    if (obs) {
        obs->task_read(nsg);
    }

    for (int v = 0; v < nsg; ++v) {
        VariantSolution& out = result.variants[static_cast<std::size_t>(v)];
        if (obs) {
            obs->variant_started(v + 1);
        }
        const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
        const std::int64_t O = t.own;
        const std::int64_t K = std::int64_t(t.own) + t.credit;
        const std::int64_t P = cap(v);
        const std::int64_t G = h.ogrn;
        const double c_v = h.tmx - v * step;
        const double h_v = h.tmn + v * step;
        const double H = h.reg == 1 ? h.soi : h_v;

        // The alternatives of every group.
        std::vector<std::vector<Alternative>> alts(static_cast<std::size_t>(mz));
        for (std::int64_t g = 0; g < mz; ++g) {
            const auto& group = task.groups[static_cast<std::size_t>(g)];
            for (std::size_t a = 0; a < group.size(); ++a) {
                Alternative alt{0, 0.0, 0};
                if (a > 0) {
                    alt.cost = round_to_ticks(group[a].object_cost + group[a].modernisation_cost,
                                              h.delta, h.toc);
                    alt.amount = group[a].amount;
                    if (h.prok == 1) {
                        const double e = expected_income(group[a].curve, group[a].amount,
                                                         group[a].duration, h.prmp, H);
                        alt.inc = std::max<std::int64_t>(0, round_to_ticks(e, h.delta, h.toc));
                    }
                }
                alts[static_cast<std::size_t>(g)].push_back(alt);
            }
        }

        // The closing reward of a plan that fails pay-back and the gain of a variant where no
        // plan pays back: scaled to B, the largest sum of amounts and money a plan can reach.
        double B = 0;
        for (std::int64_t g = 0; g < mz; ++g) {
            double largest = 0;
            for (const Alternative& a : alts[static_cast<std::size_t>(g)]) {
                largest = std::max(largest, std::abs(a.amount));
            }
            B = B + largest;
        }
        if (h.prmp == 1) {
            B = B + h.delta * double(K) * (1 + h.ps / 100);
        }
        double penalty = -100000000.0;
        double nothing_bound = -10000000.0;
        if (B >= 90000000 && rules == PaybackRules::Mended) {
            double power = 1; // 10 to the ceiling of log10 B
            while (power < B) {
                power = power * 10;
            }
            penalty = -(power * 10);
            nothing_bound = penalty / 10;
        }

        // Numbering of the states, and the index table.
        const std::int64_t N = mz * (K + 1) * (P + 1) * (G + 1) + 2;
        std::vector<std::int64_t> index(
            static_cast<std::size_t>((K + 2) * (P + 2) * (G + 2) * (mz + 2)), -1);
        auto slot = [&](std::int64_t x0, std::int64_t x1, std::int64_t x2, std::int64_t s) {
            return static_cast<std::size_t>(((s * (G + 2) + x2) * (P + 2) + x1) * (K + 2) + x0);
        };
        std::vector<State> states;
        states.push_back({0, 0, 0, -1}); // the restart state
        for (std::int64_t s = mz; s >= 1; --s) {
            for (std::int64_t x2 = 0; x2 <= G; ++x2) {
                for (std::int64_t x1 = 0; x1 <= P; ++x1) {
                    for (std::int64_t x0 = 0; x0 <= K; ++x0) {
                        index[slot(x0, x1, x2, s)] = static_cast<std::int64_t>(states.size());
                        states.push_back({x0, x1, x2, s});
                    }
                }
            }
        }
        index[slot(0, 0, 0, 0)] = static_cast<std::int64_t>(states.size());
        states.push_back({0, 0, 0, 0});
        out.states = N;
        if (obs) {
            obs->states_numbered(v + 1, N);
        }

        // The transitions.
        std::vector<Transition> trans;
        std::vector<std::size_t> first(static_cast<std::size_t>(N)),
            count(static_cast<std::size_t>(N));
        first[0] = 0;
        trans.push_back({-1, 0, 0, N - 1, 0.0});
        count[0] = 1;
        for (std::int64_t i = 1; i < N; ++i) {
            const State st = states[static_cast<std::size_t>(i)];
            first[static_cast<std::size_t>(i)] = trans.size();
            int id = -1;
            if (st.s < mz) {
                const int g = static_cast<int>(st.s) + 1;
                const auto& group = alts[static_cast<std::size_t>(g - 1)];
                for (std::size_t a = 0; a < group.size(); ++a) {
                    std::int64_t x2n = st.x2;
                    if (a >= 1 && G > 0) {
                        if (st.x2 == G) {
                            continue;
                        }
                        x2n = st.x2 + 1;
                    }
                    if (group[a].cost > K - st.x0) { // x0 + cost > K, without overflow
                        continue;
                    }
                    const std::int64_t x1n =
                        group[a].inc >= P - st.x1 ? P : st.x1 + group[a].inc; // min(P, x1 + inc)
                    const std::int64_t to = index[slot(st.x0 + group[a].cost, x1n, x2n, st.s + 1)];
                    trans.push_back({id--, g, static_cast<int>(a), to, group[a].amount});
                }
            } else {
                const std::int64_t x0 = st.x0, x1 = st.x1;
                bool fails = false;
                if (h.prok == 1) {
                    if (h.reg == 1) {
                        fails = x0 > 0 && double(x1) / double(x0) < c_v - 1e-8;
                    } else {
                        const double I = x0 > O ? double(x0 - O) * h.ps / 100 : 0.0;
                        fails = double(x1) < double(x0) + I + h.nsd / h.delta - 1e-8;
                    }
                }
                double reward = 0;
                if (fails) {
                    reward = penalty;
                } else if (h.prmp == 1) {
                    reward = x0 > O ? -h.delta * (double(x0) + double(x0 - O) * h.ps / 100)
                                    : -h.delta * double(x0);
                }
                trans.push_back({id--, 0, 0, 0, reward});
            }
            count[static_cast<std::size_t>(i)] = trans.size() - first[static_cast<std::size_t>(i)];
        }
        out.transitions = static_cast<std::int64_t>(trans.size());
        if (obs) {
            obs->transitions_built(v + 1);
        }

        // The value iteration.
        const double w = par.omega;
        std::vector<double> oldv(static_cast<std::size_t>(N), 0.0),
            newv(static_cast<std::size_t>(N), 0.0);
        std::vector<int> decision(static_cast<std::size_t>(N), 0);
        int cycles = 0;
        int k = 1;
        double g = 0;
        bool converged = false;
        for (;;) {
            g = 1 * oldv[static_cast<std::size_t>(N - 1)] + 0.0;
            newv[0] = 0;
            for (std::int64_t i = 1; i < N; ++i) {
                double B = 0;
                int best = 0;
                for (std::size_t n = 0; n < count[static_cast<std::size_t>(i)]; ++n) {
                    const Transition& tr = trans[first[static_cast<std::size_t>(i)] + n];
                    const auto j = static_cast<std::size_t>(tr.to);
                    const double Q = (1 / w) * newv[j] + tr.reward - (1 / w - 1) * oldv[j];
                    if (n == 0 || Q > B) {
                        B = Q;
                        best = tr.id;
                    }
                }
                decision[static_cast<std::size_t>(i)] = best;
                newv[static_cast<std::size_t>(i)] =
                    -w * g + (1 - w) * oldv[static_cast<std::size_t>(i)] + w * (B + g);
            }
            ++cycles;
            if (k != par.check_every) {
                ++k;
                oldv = newv;
                continue;
            }
            bool pass = true;
            for (std::int64_t i = 0; i < N; ++i) {
                const double a = newv[static_cast<std::size_t>(i)];
                const double b = oldv[static_cast<std::size_t>(i)];
                if (!(std::abs(a - b) / (1e-10 + std::abs(a + b) / 2) <= par.threshold)) {
                    pass = false;
                }
            }
            if (pass) {
                converged = true;
                break;
            }
            if (cycles >= par.max_cycles) {
                break;
            }
            k = 1;
            oldv = newv;
        }
        if (!converged) {
            return stop(SolverOutcome::IterationLimit, v + 1, N);
        }

        const bool nothing = g <= nothing_bound && h.reg == 2 && h.prok == 1;
        if (nothing) {
            g = 0;
            std::fill(out.choices.begin(), out.choices.end(), ChoiceTriple{-1, -2, -3});
        }
        out.gain = g;
        if (obs) {
            obs->iterated(v + 1, cycles, g);
        }
        out.cycles = cycles;

        // The policy walk.
        if (!nothing) {
            std::int64_t x0 = 0, x1 = 0, x2 = 0, stage = 0;
            for (;;) {
                const std::int64_t i = index[slot(x0, x1, x2, stage)];
                const Transition& tr =
                    trans[first[static_cast<std::size_t>(i)] +
                          static_cast<std::size_t>(-decision[static_cast<std::size_t>(i)] - 1)];
                if (tr.group == 0) {
                    break;
                }
                const SolverAlternative& chosen =
                    task.groups[static_cast<std::size_t>(tr.group - 1)]
                               [static_cast<std::size_t>(tr.alt)];
                out.choices[static_cast<std::size_t>(tr.group - 1)] =
                    tr.alt == 0 ? ChoiceTriple{-1, -1, -1} : chosen.triple;
                const Alternative& a =
                    alts[static_cast<std::size_t>(tr.group - 1)][static_cast<std::size_t>(tr.alt)];
                stage = stage + 1;
                x0 = std::min(K, x0 + a.cost);
                x1 = a.inc >= P - x1 ? P : x1 + a.inc;
                if (tr.alt >= 1 && G > 0 && x2 < G) {
                    x2 = x2 + 1;
                }
            }
        }
        if (obs) {
            obs->plan_found(v + 1);
        }
    }
    result.complete = true;
    return result;
}
