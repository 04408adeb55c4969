// The certificate of a plan against plain enumeration of every plan of small generated tasks, and
// the "why this plan" thresholds confirmed one tick either side.
#include "optim/certificate.h"
#include "optim/solve_task.h"
#include "solver_fixture.h"
#include "task/task_builder.h"
#include "task/ticks.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace kov;
using solver_fixture::Shape;
using solver_fixture::TaskGenerator;

namespace {

// Every plan of variant v, one alternative per group, judged by the task's rules written out
// plainly: the money in ticks, the object limit, and the pay-back income summed without a cap.
struct Enumeration {
    std::optional<double> best;
    std::optional<double> best_taken;     // of the plans that take group `group`
    std::optional<double> best_not_taken; // of those that do not
};

Enumeration enumerate(const SolverTask& task, int v, int group = -1) {
    const TaskHeader& h = task.header;
    const InvestmentTicks& t = task.variants[std::size_t(v)];
    const std::int64_t K = std::int64_t(t.own) + t.credit;
    const double horizon = h.prok != 1 ? 0 : h.reg == 1 ? h.soi : payback_horizon(h, v);
    Enumeration out;
    auto keep = [](std::optional<double>& best, double x) {
        if (!best || x > *best) {
            best = x;
        }
    };
    std::vector<std::size_t> pick(task.groups.size(), 0);
    for (;;) {
        std::int64_t money = 0, income = 0;
        int objects = 0;
        double amount = 0;
        for (std::size_t g = 0; g < pick.size(); ++g) {
            if (pick[g] == 0) {
                continue;
            }
            const SolverAlternative& a = task.groups[g][pick[g]];
            money += round_to_ticks(a.object_cost + a.modernisation_cost, h.delta, h.toc);
            income += h.prok == 1 ? payback_ticks(h, a, horizon) : 0;
            amount += a.amount;
            ++objects;
        }
        if (money <= K && (h.ogrn == 0 || objects <= h.ogrn) &&
            payback_met(h, v, t.own, money, income)) {
            double value = amount;
            if (h.prmp == 1) {
                value -= h.delta * (double(money) +
                                    double(std::max<std::int64_t>(0, money - t.own)) * h.ps / 100);
            }
            keep(out.best, value);
            if (group >= 0) {
                keep(pick[std::size_t(group)] > 0 ? out.best_taken : out.best_not_taken, value);
            }
        }
        std::size_t g = 0;
        while (g < pick.size() && ++pick[g] == task.groups[g].size()) {
            pick[g++] = 0;
        }
        if (g == pick.size()) {
            return out;
        }
    }
}

bool near(double a, double b, double tol) {
    return std::abs(a - b) <= tol;
}

// Every best plan takes the group's object (+1), none does (-1), or both kinds exist (0).
int in_best_plans(const SolverTask& task, int v, int g) {
    const Enumeration e = enumerate(task, v, g);
    const double tol = value_tolerance(task, v);
    if (!e.best_taken) {
        return -1;
    }
    if (!e.best_not_taken || *e.best_taken > *e.best_not_taken + tol) {
        return 1;
    }
    return *e.best_not_taken > *e.best_taken + tol ? -1 : 0;
}

std::vector<Shape> shapes() {
    std::vector<Shape> out;
    for (int tipz = 1; tipz <= 4; ++tipz) {
        for (int reg = 1; reg <= 2; ++reg) {
            for (bool limit : {false, true}) {
                Shape s;
                s.tipz = tipz;
                s.reg = reg;
                s.limit = limit;
                s.max_groups = 4;
                s.max_money = 10;
                out.push_back(s);
            }
        }
    }
    Shape hopeless; // mode 2 with pay-back that no plan meets
    hopeless.tipz = 2;
    hopeless.reg = 2;
    hopeless.hopeless = true;
    out.push_back(hopeless);
    Shape late = hopeless;
    late.hopeless = false;
    late.late = true;
    late.tipz = 4;
    out.push_back(late);
    return out;
}

} // namespace

TEST(Certificate, ExactOptimumAgreesWithEnumeration) {
    TaskGenerator gen(0x70726f6fu);
    int cases = 0, with_plan = 0, none = 0, solver_optimal = 0;
    for (int round = 0; round < 12; ++round) {
        for (const Shape& shape : shapes()) {
            const auto t = gen.next(shape);
            const SolverTask task = solver_task(t.input, t.bdon, "input");
            const SolverResult solved = solve(task, {}, nullptr);
            for (int v = 0; v < int(task.variants.size()); ++v) {
                SCOPED_TRACE("round " + std::to_string(round) + " tipz " +
                             std::to_string(shape.tipz) + " variant " + std::to_string(v + 1));
                ++cases;
                const Enumeration e = enumerate(task, v);
                const ExactOptimum best = solve_exactly(task, v);
                const double tol = value_tolerance(task, v);
                ASSERT_EQ(best.value.has_value(), e.best.has_value());
                if (!e.best) {
                    ++none;
                    EXPECT_TRUE(best.plan.empty());
                    continue;
                }
                ++with_plan;
                EXPECT_TRUE(near(*best.value, *e.best, tol)) << *best.value << " " << *e.best;
                // The optimum's plan has the optimum's value to the last bit.
                const auto own = plan_value(task, v, best.plan);
                ASSERT_TRUE(own.has_value());
                EXPECT_EQ(*own, *best.value);
                if (solved.complete) {
                    const Certificate c = certify(task, v, solved.variants[std::size_t(v)].choices);
                    ASSERT_TRUE(c.solved);
                    ASSERT_TRUE(c.gap().has_value());
                    EXPECT_GE(*c.gap(), 0);
                    if (c.plan_value) {
                        EXPECT_LE(*c.plan_value, *e.best + tol);
                    }
                    solver_optimal += c.optimal() ? 1 : 0;
                }
            }
        }
    }
    // The generated tasks reach plans, variants without any admissible plan, and plans the
    // solver finds optimal.
    EXPECT_GT(with_plan, 200);
    EXPECT_GT(none, 0);
    EXPECT_GT(solver_optimal, with_plan / 2);
    EXPECT_EQ(cases, with_plan + none);
}

// Two objects, money for one: the second earns 7 net of its cost, the first 5.
TEST(Certificate, KnownKnapsackAndItsThresholds) {
    SolverTask task;
    task.header = solver_fixture::task_header(1);
    task.variants = {{5, 0, 0}};
    task.groups = {solver_fixture::group(1, {{5, 10}}), solver_fixture::group(2, {{5, 12}})};
    const ExactOptimum best = solve_exactly(task, 0);
    ASSERT_TRUE(best.value);
    EXPECT_DOUBLE_EQ(*best.value, 7);
    EXPECT_EQ(best.plan, (std::vector<ChoiceTriple>{kNotTaken, {2, 0, 1}}));

    const Certificate worse = certify(task, 0, {{1, 0, 1}, kNotTaken});
    EXPECT_FALSE(worse.optimal());
    EXPECT_DOUBLE_EQ(*worse.gap(), 2);
    EXPECT_DOUBLE_EQ(*worse.gap_percent(), 2.0 / 7 * 100);
    EXPECT_TRUE(certify(task, 0, best.plan).optimal());
    EXPECT_EQ(*certify(task, 0, best.plan).gap(), 0);
    // Over the money: not admissible, so it has no value.
    EXPECT_FALSE(plan_value(task, 0, {{1, 0, 1}, {2, 0, 1}}));
    EXPECT_THROW(plan_value(task, 0, {{1, 1, 1}, kNotTaken}), std::invalid_argument);
    EXPECT_THROW(plan_value(task, 0, {kNotTaken}), std::invalid_argument);

    const auto why = why_plan(task, 0, best.plan);
    ASSERT_TRUE(why);
    ASSERT_EQ(why->size(), 2u);
    // Object 1 enters once its revenue rises by more than 2: by 3 ticks.
    EXPECT_FALSE((*why)[0].taken);
    EXPECT_TRUE((*why)[0].reachable);
    EXPECT_DOUBLE_EQ((*why)[0].change, 3);
    // Object 2 can do without at a fall of 2, where both plans earn 5.
    EXPECT_TRUE((*why)[1].taken);
    EXPECT_DOUBLE_EQ((*why)[1].change, 2);

    // An object dearer than all the money never enters.
    task.groups.push_back(solver_fixture::group(3, {{6, 100}}));
    const auto dear = why_plan(task, 0, {kNotTaken, {2, 0, 1}, kNotTaken});
    ASSERT_TRUE(dear);
    EXPECT_FALSE((*dear)[2].reachable);
}

TEST(Certificate, NothingSolvedOrInvestedHasNoThresholds) {
    SolverTask task;
    task.header = solver_fixture::task_header(1);
    task.variants = {{5, 0, 0}};
    task.groups = {solver_fixture::group(1, {{5, 10}})};
    EXPECT_FALSE(certify(task, 0, {kNotSolved}).solved);
    EXPECT_FALSE(certify(task, 0, {}).solved);
    EXPECT_TRUE(why_plan(task, 0, {kNotSolved})->empty());
    EXPECT_TRUE(why_plan(task, 0, {kInvestNothing})->empty());
    // Investing in nothing while a plan is admissible is not optimal, and its gap is unknown.
    const Certificate c = certify(task, 0, {kInvestNothing});
    EXPECT_TRUE(c.solved && c.nothing);
    EXPECT_FALSE(c.optimal());
    EXPECT_FALSE(c.gap());
}

TEST(Certificate, WhyCanBeCancelled) {
    SolverTask task;
    task.header = solver_fixture::task_header(3);
    task.variants = {{9, 0, 0}};
    for (int g = 1; g <= 4; ++g) {
        task.groups.push_back(solver_fixture::group(g, {{3, g}}));
    }
    const auto plan = solve_exactly(task, 0).plan;
    int calls = 0;
    EXPECT_FALSE(why_plan(task, 0, plan, [&](int done, int total) {
        EXPECT_EQ(total, 4);
        return ++calls, done < 2;
    }));
    EXPECT_EQ(calls, 3);
    std::vector<int> seen;
    ASSERT_TRUE(why_plan(task, 0, plan, [&](int done, int) { return seen.push_back(done), true; }));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

// Each threshold is where the best plans change: one tick before it the plan stands, one tick
// past it the plan has changed, judged by enumerating every plan of the changed task.
TEST(Certificate, WhyThresholdsHoldOneTickEitherSide) {
    TaskGenerator gen(0x77687921u);
    int taken = 0, entering = 0, never = 0;
    for (int round = 0; round < 6; ++round) {
        for (const Shape& shape : shapes()) {
            const auto t = gen.next(shape);
            const SolverTask task = solver_task(t.input, t.bdon, "input");
            const double delta = task.header.delta;
            for (int v = 0; v < int(task.variants.size()); ++v) {
                const ExactOptimum best = solve_exactly(task, v);
                if (!best.value) {
                    continue;
                }
                const auto why = why_plan(task, v, best.plan);
                ASSERT_TRUE(why);
                for (const WhyThreshold& w : *why) {
                    SCOPED_TRACE("round " + std::to_string(round) + " tipz " +
                                 std::to_string(shape.tipz) + " variant " + std::to_string(v + 1) +
                                 " group " + std::to_string(w.group + 1));
                    const double sign = w.taken ? -1 : 1;
                    auto at = [&](double change) {
                        return in_best_plans(with_amount_change(task, w.group, sign * change), v,
                                             w.group);
                    };
                    if (!w.reachable) {
                        ++never;
                        EXPECT_EQ(at(1e6 * delta), -1);
                        continue;
                    }
                    ASSERT_EQ(std::fmod(w.change, delta), 0);
                    if (w.taken) {
                        ++taken;
                        // The plan's objects are in every best plan until the threshold...
                        if (w.change >= delta) {
                            EXPECT_EQ(at(w.change - delta), 1);
                        }
                        // ...and from it on some best plan does without them.
                        EXPECT_LE(at(w.change), 0);
                        EXPECT_LE(at(w.change + delta), 0);
                        EXPECT_EQ(
                            object_in_best_plans(
                                with_amount_change(task, w.group, -(w.change + delta)), v, w.group),
                            at(w.change + delta));
                    } else {
                        ++entering;
                        if (w.change >= delta) {
                            EXPECT_LE(at(w.change - delta), 0);
                        }
                        EXPECT_EQ(at(w.change), 1);
                        EXPECT_EQ(at(w.change + delta), 1);
                    }
                }
            }
        }
    }
    EXPECT_GT(taken, 20);
    EXPECT_GT(entering, 20);
    EXPECT_GT(never, 0);
}
