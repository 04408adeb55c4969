#include "optim/solver.h"

#include "task/task_builder.h"
#include "task/ticks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

// The vector helpers below are always inlined, so no call passes a vector by value and the
// calling convention of wide vectors does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace kov {

namespace {

// One admissible alternative of a group for the variant being solved: its cost fits the money.
struct Move {
    std::int64_t cost; // ticks
    std::int64_t inc;  // pay-back income, ticks
    double amount;     // reward
    std::int32_t alt;  // position in the group
};

// Where the states of a variant lie: state 0 the restart state, then stage mz down to 1, within
// a stage by x2, x1, x0 (x0 fastest), and the start state last.
struct Layout {
    std::int64_t K = 0, P = 0, G = 0, mz = 0; // P: P*, the cap of the pay-back income
    std::int64_t row = 1;                     // states of one (x1, x2) row: K + 1
    std::int64_t layer = 1;                   // states of one stage
    std::int64_t N = 2;

    std::int64_t base(std::int64_t s) const { return 1 + (mz - s) * layer; }
    std::int64_t start() const { return N - 1; }
    std::int64_t row_offset(std::int64_t x1, std::int64_t x2) const {
        return (x2 * (P + 1) + x1) * row;
    }
};

std::int64_t saturating_mul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

bool change_within(double now, double before, double threshold) {
    return std::abs(now - before) / (1e-10 + std::abs(now + before) / 2) <= threshold;
}

// Q of a transition: (1/omega) x new(successor) + reward - (1/omega - 1) x old(successor).
inline double transition_value(double inv, double fresh, double reward, double keep, double old) {
    return inv * fresh + reward - keep * old;
}

// One alternative's transitions from the states of a row: state x0 (x0 < len) leads to the
// successor whose new and old values are fresh[x0] and old[x0].
struct Run {
    const double* fresh;
    const double* old;
    std::int64_t len;
    double reward;
};

// One cycle of the value iteration: its constants and the arrays it reads and writes.
struct Cycle {
    double w, inv, keep, stay, threshold;
    double g;         // the gain: the start state's old value
    double pull;      // -omega x g
    double* nw;       // new values
    const double* od; // old values
    bool check;       // the stopping test is made in this cycle
    bool pass;        // no state has failed it so far
};

// The first largest Q of state x0 over the runs (run 0, alternative 0, covers the whole row):
// a later transition replaces the best only when strictly greater.
[[gnu::always_inline]] inline double best_at(const Cycle& c, const Run* runs, std::size_t count,
                                             std::int64_t x) {
    const Run& r0 = runs[0];
    double best = transition_value(c.inv, r0.fresh[x], r0.reward, c.keep, r0.old[x]);
    for (std::size_t k = 1; k < count; ++k) {
        const Run& r = runs[k];
        if (x < r.len) {
            const double q = transition_value(c.inv, r.fresh[x], r.reward, c.keep, r.old[x]);
            best = q > best ? q : best;
        }
    }
    return best;
}

// The new value of state i from its largest Q: -omega x g + (1 - omega) x old + omega x (B + g).
// `test` goes false when the state fails the stopping test.
[[gnu::always_inline]] inline void settle_one(const Cycle& c, std::int64_t i, double best,
                                              bool& test) {
    const double v = c.pull + c.stay * c.od[i] + c.w * (best + c.g);
    c.nw[i] = v;
    if (test) {
        test = change_within(v, c.od[i], c.threshold);
    }
}

// Records a failed stopping test of a row.
inline void note_test(Cycle& c, bool test) {
    c.pass = c.pass && (!c.check || test);
}

// Four states at once: element by element the same IEEE operations as the scalar code. The
// select "q > b ? q : b" keeps the first maximum, ties, signed zeros and NaN included.
using V4 = double __attribute__((vector_size(32)));
using M4 = std::int64_t __attribute__((vector_size(32)));
constexpr std::int64_t kBlock = 16; // states per block; their best values stay in registers

[[gnu::always_inline]] inline V4 load4(const double* p) {
    V4 v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}
[[gnu::always_inline]] inline void store4(double* p, const V4& v) {
    __builtin_memcpy(p, &v, sizeof v);
}
[[gnu::always_inline]] inline V4 splat(double x) {
    return V4{x, x, x, x};
}
[[gnu::always_inline]] inline V4 first_max(const V4& q, const V4& best) {
    return q > best ? q : best;
}
[[gnu::always_inline]] inline V4 magnitude(const V4& x) {
    return reinterpret_cast<V4>(reinterpret_cast<M4>(x) & ~reinterpret_cast<M4>(splat(-0.0)));
}
[[gnu::always_inline]] inline V4 run_values(const Run& r, std::int64_t x, const V4& inv,
                                            const V4& reward, const V4& keep) {
    return inv * load4(r.fresh + x) + reward - keep * load4(r.old + x);
}

[[gnu::always_inline]] inline void settle_four(const Cycle& c, std::int64_t i, const V4& best,
                                               bool& test) {
    const V4 o = load4(c.od + i);
    const V4 v = splat(c.pull) + splat(c.stay) * o + splat(c.w) * (best + splat(c.g));
    store4(c.nw + i, v);
    if (test) {
        const V4 ratio = magnitude(v - o) / (splat(1e-10) + magnitude(v + o) / splat(2));
        const M4 within = ratio <= splat(c.threshold);
        test = (within[0] & within[1] & within[2] & within[3]) != 0;
    }
}

// New values of the n states of a row from i0 on, each from the first largest Q over the runs.
[[gnu::always_inline]] inline void update_row_with(Cycle& c, const Run* runs, std::size_t count,
                                                   std::int64_t i0, std::int64_t n) {
    bool test = c.check && c.pass;
    const V4 inv = splat(c.inv), keep = splat(c.keep);
    std::int64_t x = 0;
    for (; x + kBlock <= n; x += kBlock) {
        V4 reward = splat(runs[0].reward);
        V4 b0 = run_values(runs[0], x, inv, reward, keep);
        V4 b1 = run_values(runs[0], x + 4, inv, reward, keep);
        V4 b2 = run_values(runs[0], x + 8, inv, reward, keep);
        V4 b3 = run_values(runs[0], x + 12, inv, reward, keep);
        for (std::size_t k = 1; k < count; ++k) {
            const Run& r = runs[k];
            if (r.len >= x + kBlock) {
                reward = splat(r.reward);
                b0 = first_max(run_values(r, x, inv, reward, keep), b0);
                b1 = first_max(run_values(r, x + 4, inv, reward, keep), b1);
                b2 = first_max(run_values(r, x + 8, inv, reward, keep), b2);
                b3 = first_max(run_values(r, x + 12, inv, reward, keep), b3);
            } else if (r.len > x) { // the run ends inside the block
                double part[kBlock];
                store4(part, b0);
                store4(part + 4, b1);
                store4(part + 8, b2);
                store4(part + 12, b3);
                for (std::int64_t y = x; y < r.len; ++y) {
                    const double q =
                        transition_value(c.inv, r.fresh[y], r.reward, c.keep, r.old[y]);
                    part[y - x] = q > part[y - x] ? q : part[y - x];
                }
                b0 = load4(part);
                b1 = load4(part + 4);
                b2 = load4(part + 8);
                b3 = load4(part + 12);
            }
        }
        settle_four(c, i0 + x, b0, test);
        settle_four(c, i0 + x + 4, b1, test);
        settle_four(c, i0 + x + 8, b2, test);
        settle_four(c, i0 + x + 12, b3, test);
    }
    for (; x + 4 <= n; x += 4) { // what is left of the row, four states at a time
        V4 b = run_values(runs[0], x, inv, splat(runs[0].reward), keep);
        for (std::size_t k = 1; k < count; ++k) {
            const Run& r = runs[k];
            if (r.len >= x + 4) {
                b = first_max(run_values(r, x, inv, splat(r.reward), keep), b);
            } else {
                for (std::int64_t y = x; y < r.len; ++y) {
                    const double q =
                        transition_value(c.inv, r.fresh[y], r.reward, c.keep, r.old[y]);
                    b[y - x] = q > b[y - x] ? q : b[y - x];
                }
            }
        }
        settle_four(c, i0 + x, b, test);
    }
    for (; x < n; ++x) {
        settle_one(c, i0 + x, best_at(c, runs, count, x), test);
    }
    note_test(c, test);
}

// New values of the n closing states of a row from i0 on, whose Q are given.
[[gnu::always_inline]] inline void update_closing_with(Cycle& c, const double* q, std::int64_t i0,
                                                       std::int64_t n) {
    bool test = c.check && c.pass;
    std::int64_t x = 0;
    for (; x + 4 <= n; x += 4) {
        settle_four(c, i0 + x, load4(q + x), test);
    }
    for (; x < n; ++x) {
        settle_one(c, i0 + x, q[x], test);
    }
    note_test(c, test);
}

// The kernels compiled for the baseline instruction set and, where the processor has it, for
// AVX2 (wider registers, the same operations).
using RowKernel = void (*)(Cycle&, const Run*, std::size_t, std::int64_t, std::int64_t);
using ClosingKernel = void (*)(Cycle&, const double*, std::int64_t, std::int64_t);

void update_row(Cycle& c, const Run* runs, std::size_t count, std::int64_t i0, std::int64_t n) {
    update_row_with(c, runs, count, i0, n);
}
void update_closing(Cycle& c, const double* q, std::int64_t i0, std::int64_t n) {
    update_closing_with(c, q, i0, n);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define KOV_SOLVER_AVX2 1
[[gnu::target("avx2")]] void update_row_avx2(Cycle& c, const Run* runs, std::size_t count,
                                             std::int64_t i0, std::int64_t n) {
    update_row_with(c, runs, count, i0, n);
}
[[gnu::target("avx2")]] void update_closing_avx2(Cycle& c, const double* q, std::int64_t i0,
                                                 std::int64_t n) {
    update_closing_with(c, q, i0, n);
}
#endif

struct Kernels {
    RowKernel row = update_row;
    ClosingKernel closing = update_closing;
};

Kernels kernels_for(SolverKernel kernel) {
    Kernels k;
#if defined(KOV_SOLVER_AVX2)
    if (kernel == SolverKernel::Widest && __builtin_cpu_supports("avx2")) {
        k.row = update_row_avx2;
        k.closing = update_closing_avx2;
    }
#else
    (void)kernel;
#endif
    return k;
}

// The engine of one task: buffers sized for its largest variant, reused by every variant.
class Engine {
public:
    Engine(const SolverTask& task, const SchemeParameters& parameters, SolverKernel kernel)
        : kernels_(kernels_for(kernel))
        , task_(task)
        , h_(task.header)
        , par_(parameters)
        , mz_(static_cast<std::int64_t>(task.groups.size())) {
        cost_.resize(task.groups.size());
        for (std::size_t g = 0; g < task.groups.size(); ++g) {
            const auto& alts = task.groups[g];
            cost_[g].resize(alts.size(), 0);
            for (std::size_t a = 1; a < alts.size(); ++a) {
                cost_[g][a] = round_to_ticks(alts[a].object_cost + alts[a].modernisation_cost,
                                             h_.delta, h_.toc);
                if (cost_[g][a] < 0) {
                    throw std::invalid_argument("solver: negative cost of group " +
                                                std::to_string(g + 1) + " alternative " +
                                                std::to_string(a));
                }
            }
        }
    }

    // Solves variant v (0-based). Returns false when the iteration limit was reached.
    bool solve_variant(int v, VariantSolution& out, SolverObserver* obs) {
        const int number = v + 1;
        if (obs) {
            obs->variant_started(number);
        }
        build_moves(v);
        number_states(v);
        out.states = lay_.N;
        if (obs) {
            obs->states_numbered(number, lay_.N);
        }
        build_closing(v);
        out.transitions = count_transitions();
        if (obs) {
            obs->transitions_built(number);
        }
        out.cycles = 0;
        if (!iterate()) {
            return false;
        }
        const bool nothing = gain_ <= penalty_.nothing && h_.reg == 2 && h_.prok == 1;
        if (nothing) {
            gain_ = 0;
        }
        out.gain = gain_;
        if (obs) {
            obs->iterated(number, cycles_, gain_);
        }
        out.cycles = cycles_;
        if (nothing) {
            out.choices.assign(static_cast<std::size_t>(mz_), kInvestNothing);
        } else {
            walk_policy(out.choices);
        }
        if (obs) {
            obs->plan_found(number);
        }
        return true;
    }

private:
    // The admissible alternatives of every group for variant v, in group order: cost within K,
    // with the pay-back income by the variant's horizon.
    void build_moves(int v) {
        const InvestmentTicks& t = task_.variants[static_cast<std::size_t>(v)];
        const std::int64_t K = std::int64_t(t.own) + t.credit;
        const double horizon = h_.prok != 1 ? 0 : h_.reg == 1 ? h_.soi : payback_horizon(h_, v);
        const bool same_incomes = have_incomes_ && horizon == income_horizon_;
        if (h_.prok == 1 && !same_incomes) {
            income_.resize(task_.groups.size());
            for (std::size_t g = 0; g < task_.groups.size(); ++g) {
                const auto& alts = task_.groups[g];
                income_[g].assign(alts.size(), 0);
                for (std::size_t a = 1; a < alts.size(); ++a) {
                    income_[g][a] = payback_ticks(h_, alts[a], horizon);
                }
            }
            have_incomes_ = true;
            income_horizon_ = horizon;
        }
        moves_.clear();
        first_move_.assign(task_.groups.size() + 1, 0);
        for (std::size_t g = 0; g < task_.groups.size(); ++g) {
            first_move_[g] = moves_.size();
            const auto& alts = task_.groups[g];
            moves_.push_back({0, 0, 0.0, 0});
            for (std::size_t a = 1; a < alts.size(); ++a) {
                if (cost_[g][a] > K) {
                    continue;
                }
                moves_.push_back({cost_[g][a], h_.prok == 1 ? income_[g][a] : 0, alts[a].amount,
                                  static_cast<std::int32_t>(a)});
            }
        }
        first_move_[task_.groups.size()] = moves_.size();
    }

    void number_states(int v) {
        const InvestmentTicks& t = task_.variants[static_cast<std::size_t>(v)];
        lay_.K = std::int64_t(t.own) + t.credit;
        lay_.P = payback_cap(task_, v);
        lay_.G = h_.ogrn;
        lay_.mz = mz_;
        lay_.row = lay_.K + 1;
        // Without groups there is no stage to lay out (and P* may then be as large as it likes).
        lay_.layer = mz_ > 0 ? (lay_.G + 1) * (lay_.P + 1) * lay_.row : 0;
        lay_.N = mz_ * lay_.layer + 2;
        // The first cycle reads only the old values: they start at 0. Every other array is
        // written in a cycle before it is read.
        const auto n = static_cast<std::size_t>(lay_.N);
        value_[1].assign(n, 0.0);
        value_[0].resize(n);
    }

    // The value of the closing transition of every (x0, x1) of the last stage: its reward seen
    // through state 0, whose new and old values are always 0. Without groups only the start
    // state (0, 0) closes.
    void build_closing(int v) {
        const InvestmentTicks& t = task_.variants[static_cast<std::size_t>(v)];
        const double inv = 1 / par_.omega;
        const double keep = 1 / par_.omega - 1;
        penalty_ = payback_penalty(task_, v);
        const std::int64_t last_x1 = mz_ > 0 ? lay_.P : 0;
        const std::int64_t last_x0 = mz_ > 0 ? lay_.K : 0;
        closing_.resize(static_cast<std::size_t>(mz_ > 0 ? (lay_.P + 1) * lay_.row : 1));
        for (std::int64_t x1 = 0; x1 <= last_x1; ++x1) {
            for (std::int64_t x0 = 0; x0 <= last_x0; ++x0) {
                double reward = 0;
                if (!payback_met(h_, v, t.own, x0, x1)) {
                    reward = penalty_.reward;
                } else if (h_.prmp == 1) {
                    reward = x0 > t.own
                                 ? -h_.delta * (double(x0) + double(x0 - t.own) * h_.ps / 100)
                                 : -h_.delta * double(x0);
                }
                closing_[static_cast<std::size_t>(x1 * lay_.row + x0)] =
                    transition_value(inv, 0.0, reward, keep, 0.0);
            }
        }
    }

    std::int64_t count_transitions() const {
        if (mz_ == 0) {
            return 2; // the restart state's and the start state's closing transition
        }
        std::int64_t n = 1 + lay_.layer; // restart state, closing states
        for (std::int64_t s = 1; s < mz_; ++s) {
            for (std::int64_t x2 = 0; x2 <= lay_.G; ++x2) {
                for (std::size_t m = first_move_[s]; m < first_move_[s + 1]; ++m) {
                    if (moves_[m].alt > 0 && lay_.G > 0 && x2 == lay_.G) {
                        continue;
                    }
                    n += (lay_.P + 1) * (lay_.row - moves_[m].cost);
                }
            }
        }
        n += static_cast<std::int64_t>(first_move_[1] - first_move_[0]);
        return n;
    }

    // The pay-back income and the objects taken after the move from (x1, x2); false when the
    // move would take more objects than the limit allows.
    bool successor(const Move& mv, std::int64_t x1, std::int64_t x2, std::int64_t& x1n,
                   std::int64_t& x2n) const {
        x1n = x1;
        x2n = x2;
        if (mv.alt > 0) {
            if (lay_.G > 0) {
                if (x2 == lay_.G) {
                    return false;
                }
                x2n = x2 + 1;
            }
            x1n = mv.inc >= lay_.P - x1 ? lay_.P : x1 + mv.inc; // min(P, x1 + inc)
        }
        return true;
    }

    // The runs of successors of row (x1, x2) of stage s, which decides group s + 1.
    std::size_t runs_of_row(std::int64_t s, std::int64_t x1, std::int64_t x2, const double* pn,
                            const double* po) {
        const std::int64_t next = lay_.base(s + 1);
        std::size_t count = 0;
        for (std::size_t m = first_move_[s]; m < first_move_[s + 1]; ++m) {
            const Move& mv = moves_[m];
            std::int64_t x1n = 0, x2n = 0;
            if (!successor(mv, x1, x2, x1n, x2n)) {
                continue;
            }
            const std::int64_t first = next + lay_.row_offset(x1n, x2n) + mv.cost;
            runs_[count++] = {pn + first, po + first, lay_.row - mv.cost, mv.amount};
        }
        return count;
    }

    bool iterate() {
        Cycle c{};
        c.w = par_.omega;
        c.inv = 1 / c.w;
        c.keep = 1 / c.w - 1;
        c.stay = 1 - c.w;
        c.threshold = par_.threshold;
        runs_.resize(max_moves());
        int cur = 0;
        int k = 1;
        cycles_ = 0;
        for (;;) {
            c.nw = value_[cur].data();
            c.od = value_[cur ^ 1].data();
            c.g = 1 * c.od[lay_.start()] + 0.0;
            c.pull = -c.w * c.g;
            c.check = k == par_.check_every;
            c.pass = true;
            // The restart state: its value is 0 in every cycle.
            c.nw[0] = 0.0;
            if (c.check) {
                c.pass = change_within(0.0, c.od[0], c.threshold);
            }
            if (mz_ > 0) {
                // The last stage: closing transitions only.
                const std::int64_t base = lay_.base(mz_);
                for (std::int64_t x2 = 0; x2 <= lay_.G; ++x2) {
                    for (std::int64_t x1 = 0; x1 <= lay_.P; ++x1) {
                        kernels_.closing(c, closing_.data() + x1 * lay_.row,
                                         base + lay_.row_offset(x1, x2), lay_.row);
                    }
                }
                for (std::int64_t s = mz_ - 1; s >= 1; --s) {
                    const std::int64_t base_s = lay_.base(s);
                    for (std::int64_t x2 = 0; x2 <= lay_.G; ++x2) {
                        for (std::int64_t x1 = 0; x1 <= lay_.P; ++x1) {
                            const std::size_t count = runs_of_row(s, x1, x2, c.nw, c.od);
                            kernels_.row(c, runs_.data(), count, base_s + lay_.row_offset(x1, x2),
                                         lay_.row);
                        }
                    }
                }
                kernels_.row(c, runs_.data(), runs_of_row(0, 0, 0, c.nw, c.od), lay_.start(), 1);
            } else {
                kernels_.closing(c, closing_.data(), lay_.start(), 1);
            }
            ++cycles_;
            gain_ = c.g;
            if (!c.check) {
                ++k;
                cur ^= 1;
                continue;
            }
            if (c.pass) {
                final_ = cur;
                return true;
            }
            if (cycles_ >= par_.max_cycles) {
                return false;
            }
            k = 1;
            cur ^= 1;
        }
    }

    std::size_t max_moves() const {
        std::size_t most = 1;
        for (std::size_t g = 0; g + 1 < first_move_.size(); ++g) {
            most = std::max(most, first_move_[g + 1] - first_move_[g]);
        }
        return most;
    }

    // From the start state along the decisions of the last cycle: each decision is the first
    // transition of largest Q, recomputed from that cycle's values.
    void walk_policy(std::vector<ChoiceTriple>& choices) {
        const double* fresh = value_[final_].data();
        const double* old = value_[final_ ^ 1].data();
        const double inv = 1 / par_.omega;
        const double keep = 1 / par_.omega - 1;
        std::int64_t x0 = 0, x1 = 0, x2 = 0;
        for (std::int64_t s = 0; s < mz_; ++s) {
            const std::int64_t next = lay_.base(s + 1);
            double best = 0;
            const Move* chosen = nullptr;
            std::int64_t cx1 = 0, cx2 = 0;
            for (std::size_t m = first_move_[s]; m < first_move_[s + 1]; ++m) {
                const Move& mv = moves_[m];
                std::int64_t x1n = 0, x2n = 0;
                if (mv.cost > lay_.K - x0 || !successor(mv, x1, x2, x1n, x2n)) {
                    continue;
                }
                const std::int64_t j = next + lay_.row_offset(x1n, x2n) + x0 + mv.cost;
                const double q = transition_value(inv, fresh[j], mv.amount, keep, old[j]);
                if (!chosen || q > best) {
                    best = q;
                    chosen = &mv;
                    cx1 = x1n;
                    cx2 = x2n;
                }
            }
            const auto& alts = task_.groups[static_cast<std::size_t>(s)];
            choices[static_cast<std::size_t>(s)] =
                chosen->alt == 0 ? kNotTaken : alts[static_cast<std::size_t>(chosen->alt)].triple;
            x0 += chosen->cost;
            x1 = cx1;
            x2 = cx2;
        }
    }

    Kernels kernels_;
    const SolverTask& task_;
    const TaskHeader& h_;
    SchemeParameters par_;
    std::int64_t mz_;
    std::vector<std::vector<std::int64_t>> cost_;   // per group, per alternative
    std::vector<std::vector<std::int64_t>> income_; // pay-back ticks by income_horizon_
    bool have_incomes_ = false;
    double income_horizon_ = 0;
    std::vector<Move> moves_;
    std::vector<std::size_t> first_move_; // moves of group g: [first_move_[g], first_move_[g+1])
    Layout lay_;
    std::vector<double> value_[2]; // new and old values, by turns
    std::vector<double> closing_;
    PaybackPenalty penalty_;
    std::vector<Run> runs_;
    int cycles_ = 0;
    double gain_ = 0;
    int final_ = 0;
};

void check_task(const SolverTask& task) {
    const TaskHeader& h = task.header;
    auto refuse = [](const std::string& what) { throw std::invalid_argument("solver: " + what); };
    if (h.reg != 1 && h.reg != 2) {
        refuse("investment mode " + std::to_string(h.reg));
    }
    if (h.prmp != 1 && h.prmp != 2) {
        refuse("maximised parameter " + std::to_string(h.prmp));
    }
    if (h.prok != 0 && h.prok != 1) {
        refuse("pay-back flag " + std::to_string(h.prok));
    }
    if (h.ogrn < 0) {
        refuse("object limit " + std::to_string(h.ogrn));
    }
    for (const auto& t : task.variants) {
        if (t.own < 0 || t.credit < 0 || t.payback < 0) {
            refuse("negative tick amount");
        }
    }
    for (const auto& g : task.groups) {
        if (g.empty()) {
            refuse("a group without alternatives");
        }
        for (const auto& a : g) {
            if (!std::isfinite(a.amount)) {
                refuse("an amount that is not a finite number");
            }
        }
    }
}

} // namespace

std::int64_t payback_cap(const SolverTask& task, int v) {
    const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
    return payback_cap(task.header, TickAmounts{t.own, t.credit, t.payback}, v);
}

std::int64_t phase_states(const SolverTask& task, int v) {
    const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
    const std::int64_t P = payback_cap(task, v);
    std::int64_t n = static_cast<std::int64_t>(task.groups.size());
    n = saturating_mul(n, std::int64_t(t.own) + t.credit + 1);
    n = saturating_mul(n, P == std::numeric_limits<std::int64_t>::max() ? P : P + 1);
    n = saturating_mul(n, std::int64_t(task.header.ogrn) + 1);
    return n > std::numeric_limits<std::int64_t>::max() - 2 ? n : n + 2;
}

PaybackPenalty payback_penalty(const SolverTask& task, int v) {
    const TaskHeader& h = task.header;
    const InvestmentTicks& t = task.variants[static_cast<std::size_t>(v)];
    double b = 0;
    for (const auto& alts : task.groups) {
        double largest = 0;
        for (std::size_t a = 1; a < alts.size(); ++a) {
            largest = std::max(largest, std::abs(alts[a].amount));
        }
        b += largest;
    }
    if (h.prmp == 1) {
        b += h.delta * double(std::int64_t(t.own) + t.credit) * (1 + h.ps / 100);
    }
    PaybackPenalty p;
    if (!(b >= 90000000.0)) {
        return p;
    }
    double power = 1; // 10^e, the smallest power of ten not below b
    while (power < b) {
        power *= 10;
    }
    p.reward = -(power * 10);
    p.nothing = p.reward / 10;
    return p;
}

SolverOutcome check_parameters(const SchemeParameters& p) {
    if (!(p.omega >= 0.099999 && p.omega < 0.999999)) {
        return SolverOutcome::OmegaOutOfRange;
    }
    if (!(p.threshold >= 0.000999 && p.threshold <= 0.100001)) {
        return SolverOutcome::ThresholdOutOfRange;
    }
    if (p.check_every < 1) {
        return SolverOutcome::CheckEveryOutOfRange;
    }
    if (p.max_cycles < 10) {
        return SolverOutcome::MaxCyclesOutOfRange;
    }
    return SolverOutcome::Solved;
}

std::int64_t payback_ticks(const TaskHeader& header, const SolverAlternative& alternative,
                           double horizon) {
    const double income = expected_income(alternative.curve, alternative.amount,
                                          alternative.duration, header.prmp, horizon);
    const std::int64_t ticks = round_to_ticks(income, header.delta, header.toc);
    return ticks < 0 ? 0 : ticks;
}

SolverResult solve(const SolverTask& task, const SchemeParameters& parameters,
                   SolverObserver* observer) {
    return solve(task, parameters, observer, SolverKernel::Widest);
}

SolverResult solve(const SolverTask& task, const SchemeParameters& parameters,
                   SolverObserver* observer, SolverKernel kernel) {
    check_task(task);
    Engine engine(task, parameters, kernel);
    SolverResult result;
    const int nsg = static_cast<int>(task.variants.size());
    const std::int64_t mz = static_cast<std::int64_t>(task.groups.size());
    result.variants.resize(task.variants.size());
    if (mz > 0) {
        for (auto& v : result.variants) {
            v.choices.assign(task.groups.size(), kNotSolved);
        }
    }
    auto refuse = [&](SolverOutcome outcome, int variant, std::int64_t states) {
        result.outcome = outcome;
        result.failed_variant = variant;
        result.failed_states = states;
        if (observer) {
            observer->refused(outcome, parameters, variant, states);
        }
        return result;
    };
    if (const SolverOutcome bad = check_parameters(parameters); bad != SolverOutcome::Solved) {
        return refuse(bad, 0, 0);
    }
    for (int v = 0; v < nsg; ++v) {
        const std::int64_t n = phase_states(task, v);
        if (n > kMaxPhaseStates) {
            return refuse(SolverOutcome::TooManyStates, v + 1, n);
        }
    }
    if (observer) {
        observer->task_read(nsg);
    }
    for (int v = 0; v < nsg; ++v) {
        VariantSolution& out = result.variants[static_cast<std::size_t>(v)];
        if (!engine.solve_variant(v, out, observer)) {
            return refuse(SolverOutcome::IterationLimit, v + 1, out.states);
        }
    }
    result.complete = true;
    return result;
}

} // namespace kov
