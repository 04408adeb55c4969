#include "optim/certificate.h"

#include "task/task_builder.h"
#include "task/ticks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace kov {

namespace {

constexpr double kNone = -std::numeric_limits<double>::infinity();
// The most values the programme keeps (stages x states of a stage); far above what a task within
// the phase-state limit needs.
constexpr std::int64_t kMaxCells = 50'000'000;

// One alternative as the programme sees it for one variant.
struct Alt {
    std::int64_t cost = 0; // ticks
    std::int64_t inc = 0;  // pay-back income by the variant's horizon, ticks
    double amount = 0;
};

// Which alternatives of one group a programme may take.
enum class Force { Any, Taken, NotTaken };

// The states of one stage, (x0, x1, x2) with x0 fastest, and the moves between stages.
class Programme {
public:
    Programme(const SolverTask& task, int v)
        : task_(task)
        , h_(task.header)
        , v_(v) {
        if (v < 0 || std::size_t(v) >= task.variants.size()) {
            throw std::invalid_argument("certificate: no investment variant " +
                                        std::to_string(v + 1));
        }
        const InvestmentTicks& t = task.variants[std::size_t(v)];
        own_ = t.own;
        K_ = std::int64_t(t.own) + t.credit;
        P_ = payback_cap(task, v);
        G_ = h_.ogrn;
        mz_ = std::int64_t(task.groups.size());
        horizon_ = h_.prok != 1 ? 0 : h_.reg == 1 ? h_.soi : payback_horizon(h_, v);
        if (h_.delta <= 0 || K_ < 0 || P_ < 0 || G_ < 0) {
            throw std::invalid_argument("certificate: a task no input file can yield");
        }
        if (P_ > kMaxCells || K_ > kMaxCells || G_ > kMaxCells ||
            (K_ + 1) * (P_ + 1) > kMaxCells / (G_ + 1) ||
            (K_ + 1) * (P_ + 1) * (G_ + 1) > kMaxCells / (mz_ + 1)) {
            throw std::invalid_argument("certificate: the variant has too many states");
        }
        layer_ = (K_ + 1) * (P_ + 1) * (G_ + 1);
        alts_.resize(task.groups.size());
        for (std::size_t g = 0; g < task.groups.size(); ++g) {
            const auto& group = task.groups[g];
            if (group.empty()) {
                throw std::invalid_argument("certificate: a group without alternatives");
            }
            alts_[g].resize(group.size());
            for (std::size_t a = 1; a < group.size(); ++a) {
                alts_[g][a] = alt_of(group[a], group[a].amount);
            }
        }
    }

    Alt alt_of(const SolverAlternative& s, double amount) const {
        Alt a;
        a.cost = round_to_ticks(s.object_cost + s.modernisation_cost, h_.delta, h_.toc);
        a.amount = amount;
        if (h_.prok == 1) {
            SolverAlternative changed = s;
            changed.amount = amount;
            a.inc = payback_ticks(h_, changed, horizon_);
        }
        return a;
    }

    std::int64_t index(std::int64_t x0, std::int64_t x1, std::int64_t x2) const {
        return (x2 * (P_ + 1) + x1) * (K_ + 1) + x0;
    }

    // The successor of (x0, x1, x2) by alternative a >= 1; false when it is not admissible.
    bool step(const Alt& a, std::int64_t x0, std::int64_t x1, std::int64_t x2,
              std::int64_t& to) const {
        if (a.cost > K_ - x0) {
            return false;
        }
        std::int64_t x2n = 0;
        if (G_ > 0) {
            if (x2 == G_) {
                return false;
            }
            x2n = x2 + 1;
        }
        const std::int64_t x1n = a.inc >= P_ - x1 ? P_ : x1 + a.inc;
        to = index(x0 + a.cost, x1n, x2n);
        return true;
    }

    double closing(std::int64_t x0, std::int64_t x1) const {
        if (!payback_met(h_, v_, own_, x0, x1)) {
            return kNone;
        }
        if (h_.prmp != 1) {
            return 0;
        }
        return x0 > own_ ? -h_.delta * (double(x0) + double(x0 - own_) * h_.ps / 100)
                         : -h_.delta * double(x0);
    }

    // Where alternative a leads the row (x1, x2): the first state of the successors of the row's
    // states x0 = 0..K - cost, which lie side by side; -1 when it takes no more objects.
    std::int64_t row_target(const Alt& a, std::int64_t x1, std::int64_t x2) const {
        if (a.cost > K_ || (G_ > 0 && x2 == G_)) {
            return -1;
        }
        const std::int64_t x1n = a.inc >= P_ - x1 ? P_ : x1 + a.inc;
        return index(a.cost, x1n, G_ > 0 ? x2 + 1 : 0);
    }

    // The best value from every state of every stage to the end: layer s holds stage s. The
    // states of one row (x1, x2) are worked out together, alternative by alternative.
    std::vector<std::vector<double>> backward(int forced_group = -1,
                                              Force force = Force::Any) const {
        std::vector<std::vector<double>> b(std::size_t(mz_ + 1));
        auto& last = b[std::size_t(mz_)];
        last.resize(std::size_t(layer_));
        for (std::int64_t x1 = 0; x1 <= P_; ++x1) {
            for (std::int64_t x0 = 0; x0 <= K_; ++x0) {
                const double c = closing(x0, x1);
                for (std::int64_t x2 = 0; x2 <= G_; ++x2) {
                    last[std::size_t(index(x0, x1, x2))] = c;
                }
            }
        }
        const std::size_t row = std::size_t(K_ + 1);
        for (std::int64_t s = mz_ - 1; s >= 0; --s) {
            const Force f = s == forced_group ? force : Force::Any;
            const double* next = b[std::size_t(s + 1)].data();
            auto& layer = b[std::size_t(s)];
            if (f == Force::Taken) {
                layer.assign(std::size_t(layer_), kNone);
            } else {
                layer = b[std::size_t(s + 1)]; // alternative 0 keeps the state
            }
            if (f == Force::NotTaken) {
                continue;
            }
            const auto& alts = alts_[std::size_t(s)];
            for (std::int64_t x2 = 0; x2 <= G_; ++x2) {
                for (std::int64_t x1 = 0; x1 <= P_; ++x1) {
                    double* cur = layer.data() + index(0, x1, x2);
                    for (std::size_t a = 1; a < alts.size(); ++a) {
                        const std::int64_t to = row_target(alts[a], x1, x2);
                        if (to < 0) {
                            continue;
                        }
                        const double amount = alts[a].amount;
                        const double* succ = next + to;
                        const std::size_t n = row - std::size_t(alts[a].cost);
                        for (std::size_t i = 0; i < n; ++i) {
                            const double q = amount + succ[i];
                            cur[i] = q > cur[i] ? q : cur[i];
                        }
                    }
                }
            }
        }
        return b;
    }

    // The best sum of amounts of the groups before stage s that reaches each state of stage s.
    std::vector<std::vector<double>> forward() const {
        std::vector<std::vector<double>> f(std::size_t(mz_ + 1));
        f[0].assign(std::size_t(layer_), kNone);
        f[0][0] = 0;
        const std::size_t row = std::size_t(K_ + 1);
        for (std::int64_t s = 0; s < mz_; ++s) {
            f[std::size_t(s + 1)] = f[std::size_t(s)]; // alternative 0 keeps the state
            const double* cur = f[std::size_t(s)].data();
            double* next = f[std::size_t(s + 1)].data();
            const auto& alts = alts_[std::size_t(s)];
            for (std::int64_t x2 = 0; x2 <= G_; ++x2) {
                for (std::int64_t x1 = 0; x1 <= P_; ++x1) {
                    const double* here = cur + index(0, x1, x2);
                    for (std::size_t a = 1; a < alts.size(); ++a) {
                        const std::int64_t to = row_target(alts[a], x1, x2);
                        if (to < 0) {
                            continue;
                        }
                        const double amount = alts[a].amount;
                        double* succ = next + to;
                        const std::size_t n = row - std::size_t(alts[a].cost);
                        for (std::size_t i = 0; i < n; ++i) {
                            const double q = here[i] + amount;
                            succ[i] = q > succ[i] ? q : succ[i];
                        }
                    }
                }
            }
        }
        return f;
    }

    // The plan along the first best alternatives from the start state.
    std::vector<ChoiceTriple> walk(const std::vector<std::vector<double>>& b) const {
        std::vector<ChoiceTriple> plan;
        std::int64_t x0 = 0, x1 = 0, x2 = 0;
        for (std::int64_t s = 0; s < mz_; ++s) {
            const auto& next = b[std::size_t(s + 1)];
            const auto& alts = alts_[std::size_t(s)];
            std::size_t chosen = 0;
            double best = next[std::size_t(index(x0, x1, x2))];
            std::int64_t to = index(x0, x1, x2);
            for (std::size_t a = 1; a < alts.size(); ++a) {
                std::int64_t j = 0;
                if (step(alts[a], x0, x1, x2, j)) {
                    const double q = alts[a].amount + next[std::size_t(j)];
                    if (q > best) {
                        best = q;
                        chosen = a;
                        to = j;
                    }
                }
            }
            plan.push_back(chosen == 0 ? kNotTaken : task_.groups[std::size_t(s)][chosen].triple);
            x0 = to % (K_ + 1);
            x1 = to / (K_ + 1) % (P_ + 1);
            x2 = to / ((K_ + 1) * (P_ + 1));
        }
        return plan;
    }

    std::optional<double> value_of(const std::vector<ChoiceTriple>& plan) const {
        if (plan.size() != alts_.size()) {
            throw std::invalid_argument("certificate: a plan of " + std::to_string(plan.size()) +
                                        " records for " + std::to_string(alts_.size()) + " groups");
        }
        std::vector<std::size_t> taken(plan.size(), 0);
        std::int64_t x0 = 0, x1 = 0, x2 = 0;
        bool admissible = true;
        for (std::size_t s = 0; s < plan.size(); ++s) {
            const auto& group = task_.groups[s];
            std::size_t a = 0;
            if (!(plan[s] == kNotTaken)) {
                a = 1;
                while (a < group.size() && !(group[a].triple == plan[s])) {
                    ++a;
                }
                if (a == group.size()) {
                    throw std::invalid_argument("certificate: a record of group " +
                                                std::to_string(s + 1) +
                                                " that is none of its alternatives");
                }
            }
            taken[s] = a;
            if (a > 0 && admissible) {
                std::int64_t j = 0;
                admissible = step(alts_[s][a], x0, x1, x2, j);
                x0 = j % (K_ + 1);
                x1 = j / (K_ + 1) % (P_ + 1);
                x2 = j / ((K_ + 1) * (P_ + 1));
            }
        }
        double value = admissible ? closing(x0, x1) : kNone;
        if (value == kNone) {
            return std::nullopt;
        }
        // The same sums in the same order as the programme's, so the best plan's value is the
        // programme's to the last bit.
        for (std::size_t s = plan.size(); s-- > 0;) {
            if (taken[s] > 0) {
                value = alts_[s][taken[s]].amount + value;
            }
        }
        return value;
    }

    double tolerance() const {
        double b = 0;
        for (const auto& alts : alts_) {
            double largest = 0;
            for (const auto& a : alts) {
                largest = std::max(largest, std::abs(a.amount));
            }
            b += largest;
        }
        b += h_.delta * double(K_) * (1 + std::abs(h_.ps) / 100);
        return std::max(1e-9, 1e-9 * b);
    }

    // Group g with every amount changed by `change` (never below 0): the best value of the plans
    // that take the object, from the other groups' forward and backward values.
    double best_taken(std::int64_t g, double change, const std::vector<std::vector<double>>& f,
                      const std::vector<std::vector<double>>& b) const {
        const auto& group = task_.groups[std::size_t(g)];
        std::vector<Alt> alts;
        for (std::size_t a = 1; a < group.size(); ++a) {
            alts.push_back(change == 0 ? alts_[std::size_t(g)][a]
                                       : alt_of(group[a], std::max(0.0, group[a].amount + change)));
        }
        const double* before = f[std::size_t(g)].data();
        const double* after = b[std::size_t(g + 1)].data();
        const std::size_t row = std::size_t(K_ + 1);
        double best = kNone;
        for (std::int64_t x2 = 0; x2 <= G_; ++x2) {
            for (std::int64_t x1 = 0; x1 <= P_; ++x1) {
                const double* here = before + index(0, x1, x2);
                for (const Alt& a : alts) {
                    const std::int64_t to = row_target(a, x1, x2);
                    if (to < 0) {
                        continue;
                    }
                    const double* succ = after + to;
                    const std::size_t n = row - std::size_t(a.cost);
                    for (std::size_t i = 0; i < n; ++i) {
                        const double q = here[i] + (a.amount + succ[i]);
                        best = q > best ? q : best;
                    }
                }
            }
        }
        return best;
    }

    double best_not_taken(std::int64_t g, const std::vector<std::vector<double>>& f,
                          const std::vector<std::vector<double>>& b) const {
        const auto& before = f[std::size_t(g)];
        const auto& after = b[std::size_t(g + 1)];
        double best = kNone;
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i] != kNone) {
                best = std::max(best, before[i] + after[i]);
            }
        }
        return best;
    }

    bool affordable(std::int64_t g) const {
        const auto& alts = alts_[std::size_t(g)];
        return std::any_of(alts.begin() + 1, alts.end(),
                           [&](const Alt& a) { return a.cost <= K_; });
    }

    double largest_amount(std::int64_t g) const {
        double m = 0;
        for (const auto& a : task_.groups[std::size_t(g)]) {
            m = std::max(m, a.amount);
        }
        return m;
    }

    std::int64_t groups() const { return mz_; }

private:
    const SolverTask& task_;
    const TaskHeader& h_;
    int v_;
    std::int64_t own_ = 0, K_ = 0, P_ = 0, G_ = 0, mz_ = 0, layer_ = 1;
    double horizon_ = 0;
    std::vector<std::vector<Alt>> alts_;
};

// Whether every best plan takes the object when the best value of the plans that take it is
// `taken` and of those that do not is `not_taken`.
bool enters(double taken, double not_taken, double tol) {
    if (taken == kNone) {
        return false;
    }
    return not_taken == kNone || taken > not_taken + tol;
}

bool is_plan(const std::vector<ChoiceTriple>& plan, std::size_t groups) {
    if (plan.size() != groups) {
        return false;
    }
    return std::none_of(plan.begin(), plan.end(), [](const ChoiceTriple& c) {
        return c == kNotSolved || c == kInvestNothing;
    });
}

} // namespace

ExactOptimum solve_exactly(const SolverTask& task, int v) {
    const Programme p(task, v);
    const auto b = p.backward();
    ExactOptimum out;
    if (b[0][0] != kNone) {
        out.value = b[0][0];
        out.plan = p.walk(b);
    }
    return out;
}

std::optional<double> plan_value(const SolverTask& task, int v,
                                 const std::vector<ChoiceTriple>& plan) {
    return Programme(task, v).value_of(plan);
}

double value_tolerance(const SolverTask& task, int v) {
    return Programme(task, v).tolerance();
}

bool Certificate::optimal() const {
    if (!solved) {
        return false;
    }
    if (nothing) {
        return !best_value;
    }
    return plan_value && best_value && !(*best_value > *plan_value);
}

std::optional<double> Certificate::gap() const {
    if (solved && nothing && !best_value) {
        return 0.0;
    }
    if (!solved || !plan_value || !best_value) {
        return std::nullopt;
    }
    return std::max(0.0, *best_value - *plan_value);
}

std::optional<double> Certificate::gap_percent() const {
    const auto g = gap();
    if (!g || !best_value || *best_value == 0) {
        return std::nullopt;
    }
    return *g / std::abs(*best_value) * 100;
}

Certificate certify(const SolverTask& task, int v, const std::vector<ChoiceTriple>& plan) {
    Certificate c;
    const bool nothing = !plan.empty() && std::all_of(plan.begin(), plan.end(),
                                                      [](auto& r) { return r == kInvestNothing; });
    c.solved = nothing || is_plan(plan, task.groups.size());
    if (!c.solved) {
        return c;
    }
    const Programme p(task, v);
    const auto b = p.backward();
    if (b[0][0] != kNone) {
        c.best_value = b[0][0];
        c.best_plan = p.walk(b);
    }
    c.nothing = nothing;
    if (!nothing) {
        c.plan_value = p.value_of(plan);
        // Values within the tolerance are the same value: the plan is then optimal.
        if (c.plan_value && c.best_value && *c.best_value - *c.plan_value <= p.tolerance()) {
            c.plan_value = c.best_value;
        }
    }
    return c;
}

std::optional<std::vector<WhyThreshold>> why_plan(const SolverTask& task, int v,
                                                  const std::vector<ChoiceTriple>& plan,
                                                  const WhyProgress& progress) {
    std::vector<WhyThreshold> out;
    if (!is_plan(plan, task.groups.size())) {
        return out;
    }
    const Programme p(task, v);
    const auto f = p.forward();
    const auto b = p.backward();
    const double tol = p.tolerance();
    const double delta = task.header.delta;
    const std::int64_t mz = p.groups();
    for (std::int64_t g = 0; g < mz; ++g) {
        if (progress && !progress(int(g), int(mz))) {
            return std::nullopt;
        }
        WhyThreshold w;
        w.group = int(g);
        w.choice = plan[std::size_t(g)];
        w.taken = w.choice.real();
        const double without = p.best_not_taken(g, f, b);
        // Every best plan takes the object after a change of k ticks.
        auto in = [&](std::int64_t k) {
            const double change = double(k) * delta * (w.taken ? -1 : 1);
            return enters(p.best_taken(g, change, f, b), without, tol);
        };
        if (w.taken) {
            // Below the largest amount every amount is 0 and the object earns nothing.
            std::int64_t lo = 0;
            std::int64_t hi = std::int64_t(std::ceil(p.largest_amount(g) / delta)) + 1;
            if (!in(0)) {
                hi = 0;
            }
            while (hi - lo > 1) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                (in(mid) ? lo : hi) = mid;
            }
            w.change = double(hi) * delta;
        } else if (!p.affordable(g)) {
            w.reachable = false;
        } else if (in(0)) {
            w.change = 0;
        } else {
            // A plan with the object gains every tick of the rise, so it enters once the rise
            // passes the difference; where no plan with it pays back yet, the rise is searched by
            // doubling up to far beyond every value a plan can reach.
            const double with = p.best_taken(g, 0, f, b);
            const double scale = tol * 1e9 + delta; // tolerance() is 1e-9 of the value scale
            const double limit = with != kNone      ? without - with + 2 * delta + tol
                                 : without != kNone ? 1e3 * (std::abs(without) + scale)
                                                    : 1e3 * scale;
            std::int64_t lo = 0, hi = 1;
            while (!in(hi)) {
                lo = hi;
                if (double(hi) * delta > limit || hi > (std::int64_t(1) << 52)) {
                    w.reachable = false;
                    break;
                }
                hi *= 2;
            }
            if (w.reachable) {
                while (hi - lo > 1) {
                    const std::int64_t mid = lo + (hi - lo) / 2;
                    (in(mid) ? hi : lo) = mid;
                }
                w.change = double(hi) * delta;
            }
        }
        out.push_back(w);
    }
    if (progress && !progress(int(mz), int(mz))) {
        return std::nullopt;
    }
    return out;
}

SolverTask with_amount_change(const SolverTask& task, int g, double change) {
    SolverTask t = task;
    auto& alts = t.groups.at(std::size_t(g));
    for (std::size_t a = 1; a < alts.size(); ++a) {
        alts[a].amount = std::max(0.0, alts[a].amount + change);
    }
    return t;
}

int object_in_best_plans(const SolverTask& task, int v, int g) {
    const Programme p(task, v);
    const double taken = p.backward(g, Force::Taken)[0][0];
    const double not_taken = p.backward(g, Force::NotTaken)[0][0];
    const double tol = p.tolerance();
    if (enters(taken, not_taken, tol)) {
        return 1;
    }
    return enters(not_taken, taken, tol) || taken == kNone ? -1 : 0;
}

} // namespace kov
