// Plans that must pay back. The income the process gathers is capped at P*, so a bound P rounded
// below what spending all the money needs loses no plan; a plan that fails pay-back is never
// chosen over one that pays back, however large the amounts. Checked against every plan of small
// tasks, and against the rules first written (cap P, penalty -1e8) where those lose plans.
#include "optim/solve_task.h"

#include "solver_fixture.h"
#include "solver_reference.h"
#include "task/task_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace kov;
using solver_fixture::group;
using solver_fixture::task_header;

namespace {

// A mode-1 sale task with pay-back of one variant (tick 1): the coefficient c, horizon 5.
SolverTask sale_with_payback(double c, InvestmentTicks money) {
    SolverTask t;
    t.header = task_header(2);
    t.header.nt = 1;
    t.header.tmx = t.header.tmn = c;
    t.header.soi = 5;
    t.variants = {money};
    return t;
}

// The plans of variant v judged one by one, without the process: what each alternative costs,
// brings and pays back (uncapped), and the best value of the plans that fit the money and the
// object limit and pay back.
class Plans {
public:
    Plans(const SolverTask& t, int v)
        : t_(t)
        , v_(v) {
        const TaskHeader& h = t.header;
        const double horizon = h.reg == 1 ? h.soi : payback_horizon(h, v);
        for (const auto& alts : t.groups) {
            auto& g = alts_.emplace_back();
            g.push_back({0, 0, 0});
            for (std::size_t a = 1; a < alts.size(); ++a) {
                g.push_back({round_to_ticks(alts[a].object_cost + alts[a].modernisation_cost,
                                            h.delta, h.toc),
                             payback_ticks(h, alts[a], horizon), alts[a].amount});
            }
        }
    }

    // The value of a plan (one alternative per group), or nothing when it is not admissible.
    std::optional<double> value(const std::vector<std::size_t>& plan) const {
        const TaskHeader& h = t_.header;
        const InvestmentTicks& m = t_.variants[static_cast<std::size_t>(v_)];
        std::int64_t x0 = 0, x1 = 0, taken = 0;
        double amount = 0;
        for (std::size_t g = 0; g < plan.size(); ++g) {
            const Alt& a = alts_[g][plan[g]];
            x0 += a.cost;
            x1 += a.inc;
            amount += a.amount;
            taken += plan[g] > 0;
        }
        if (x0 > std::int64_t(m.own) + m.credit || (h.ogrn > 0 && taken > h.ogrn) ||
            !payback_met(h, v_, m.own, x0, x1)) {
            return std::nullopt;
        }
        if (h.prmp == 2) {
            return amount;
        }
        const double interest = x0 > m.own ? double(x0 - m.own) * h.ps / 100 : 0.0;
        return amount - h.delta * (double(x0) + interest);
    }

    // The best value of an admissible plan, by every plan in turn.
    std::optional<double> best() const {
        std::optional<double> best;
        std::vector<std::size_t> plan(alts_.size(), 0);
        for (;;) {
            if (const auto v = value(plan); v && (!best || *v > *best)) {
                best = v;
            }
            std::size_t g = 0;
            while (g < plan.size() && ++plan[g] == alts_[g].size()) {
                plan[g++] = 0;
            }
            if (g == plan.size()) {
                return best;
            }
        }
    }

    // The plan a solution stands for: the position of each record's triple in its group;
    // nothing when a record is no alternative of its group (investing in nothing).
    std::optional<std::vector<std::size_t>>
    plan_of(const std::vector<ChoiceTriple>& choices) const {
        std::vector<std::size_t> plan;
        for (std::size_t g = 0; g < choices.size(); ++g) {
            const auto& alts = t_.groups[g];
            std::size_t a = 0;
            while (a < alts.size() && choices[g] != kNotTaken && alts[a].triple != choices[g]) {
                ++a;
            }
            if (a == alts.size()) {
                return std::nullopt;
            }
            plan.push_back(a);
        }
        return plan;
    }

private:
    struct Alt {
        std::int64_t cost, inc;
        double amount;
    };
    const SolverTask& t_;
    int v_;
    std::vector<std::vector<Alt>> alts_;
};

// Expects the solution of variant v to be the best admissible plan: a plan of that value, or
// investing in nothing when no plan pays back.
void expect_best_plan(const SolverTask& t, int v, const VariantSolution& s,
                      const std::string& what) {
    const Plans plans(t, v);
    const std::optional<double> best = plans.best();
    if (!best) {
        EXPECT_EQ(s.choices, std::vector<ChoiceTriple>(t.groups.size(), kInvestNothing)) << what;
        return;
    }
    const auto plan = plans.plan_of(s.choices);
    ASSERT_TRUE(plan.has_value()) << what << ": no plan found, but one pays back";
    const std::optional<double> found = plans.value(*plan);
    ASSERT_TRUE(found.has_value()) << what << ": the plan found does not pay back";
    EXPECT_NEAR(*found, *best, 1e-9 * std::max(1.0, std::abs(*best))) << what;
}

} // namespace

TEST(SolverPayback, BoundRoundedBelowTheNeedLosesNoPlan) {
    // K = 7, c = 0.51, P = R(3.4999) = 3: spending all 7 ticks needs 3.57 of income, which an
    // income capped at 3 never reaches. Both objects together cost 7 and pay back 14.
    SolverTask t = sale_with_payback(0.51, {7, 0, 3});
    t.groups = {group(1, {{3, 6}}, 1), group(2, {{4, 8}}, 1)};
    EXPECT_EQ(payback_cap(t, 0), 4);
    EXPECT_EQ(phase_states(t, 0), 2 * 8 * 5 + 2);
    const SolverResult r = solve(t, {}, nullptr);
    EXPECT_EQ(r.variants[0].choices, (std::vector<ChoiceTriple>{{1, 0, 1}, {2, 0, 1}}));
    EXPECT_NEAR(r.variants[0].gain, 14 - 7, 1e-3);
    // Capped at P, the process took the second object alone.
    const SolverResult first = reference_solve(t, {}, nullptr, PaybackRules::Original);
    EXPECT_EQ(first.variants[0].choices, (std::vector<ChoiceTriple>{kNotTaken, {2, 0, 1}}));
}

TEST(SolverPayback, PlanFoundIsTheBestOfEveryPlanThatPaysBack) {
    // Generated pay-back tasks of both modes, every third round with amounts of up to some 1e9
    // and incomes that come late: every variant against all its plans.
    solver_fixture::TaskGenerator gen(0x50424bu);
    int variants = 0, capped = 0, lost_before = 0, large = 0;
    for (int round = 0; round < 12; ++round) {
        for (int reg = 1; reg <= 2; ++reg) {
            for (int tipz : {2, 4}) {
                for (bool limit : {false, true}) {
                    solver_fixture::Shape shape;
                    shape.tipz = tipz;
                    shape.reg = reg;
                    shape.limit = limit;
                    shape.max_money = 10;
                    shape.max_payback = 4;
                    shape.hopeless = reg == 2 && round % 4 == 0;
                    shape.scale = round % 3 == 2 ? 2e7 : 1;
                    shape.late = round % 3 == 2;
                    const solver_fixture::GeneratedTask g = gen.next(shape);
                    const SolverTask t = solver_task(g.input, g.bdon, "input");
                    const SolverResult r = solve(t, {}, nullptr);
                    ASSERT_EQ(r.outcome, SolverOutcome::Solved) << g.input.header.shifr;
                    const SolverResult first =
                        reference_solve(t, {}, nullptr, PaybackRules::Original);
                    for (int v = 0; v < static_cast<int>(t.variants.size()); ++v) {
                        const auto& s = r.variants[static_cast<std::size_t>(v)];
                        const std::string what =
                            "round " + std::to_string(round) + " mode " + std::to_string(reg) +
                            " type " + std::to_string(tipz) + " variant " + std::to_string(v + 1);
                        expect_best_plan(t, v, s, what);
                        ++variants;
                        large += payback_penalty(t, v).reward < -1e8;
                        if (payback_cap(t, v) > t.variants[static_cast<std::size_t>(v)].payback) {
                            ++capped;
                            lost_before +=
                                first.variants[static_cast<std::size_t>(v)].choices != s.choices;
                        }
                    }
                }
            }
        }
    }
    // Most variants have a bound below the need, under the first rules some lost their plan, and
    // some have a scaled penalty.
    EXPECT_GT(capped, variants / 3) << variants;
    EXPECT_GT(lost_before, 0);
    EXPECT_GT(large, 0);
}

TEST(SolverPayback, LargeRevenuesNeverChooseAPlanThatFailsPayback) {
    // Mode 1: object 1 sells for 1.9e8 only after the horizon (no pay-back income by then),
    // object 2 for 5e7 at once; money for one of them. A penalty of -1e8 left the first worth
    // 9e7, more than the second.
    SolverTask t = sale_with_payback(0.5, {5, 0, 3});
    t.groups = {group(1, {{5, 190000000}}, 0), group(2, {{5, 50000000}}, 1)};
    t.groups[0][1].curve = {{0, 0}, {6, 0}, {8, 1}};
    EXPECT_EQ(payback_penalty(t, 0).reward, -1e10); // B = 2.4e8 + 5
    EXPECT_EQ(payback_penalty(t, 0).nothing, -1e9);
    const SolverResult r = solve(t, {}, nullptr);
    EXPECT_EQ(r.variants[0].choices, (std::vector<ChoiceTriple>{kNotTaken, {2, 0, 1}}));
    expect_best_plan(t, 0, r.variants[0], "mode 1");
    const SolverResult first = reference_solve(t, {}, nullptr, PaybackRules::Original);
    EXPECT_EQ(first.variants[0].choices, (std::vector<ChoiceTriple>{{1, 0, 1}, kNotTaken}));

    // Mode 2: both objects are modernised beyond the horizon, so nothing pays back the required
    // income. The gain of the best failing plan, about 2.4e8 - 1e8, hid that before.
    SolverTask own = t;
    own.header = task_header(2, 2);
    own.header.nt = 1;
    own.header.tmx = own.header.tmn = 3;
    own.header.nsd = 1;
    own.groups[0][1].duration = own.groups[1][1].duration = 4;
    const SolverResult nothing = solve(own, {}, nullptr);
    EXPECT_EQ(nothing.variants[0].choices, std::vector<ChoiceTriple>(2, kInvestNothing));
    EXPECT_EQ(nothing.variants[0].gain, 0);
    expect_best_plan(own, 0, nothing.variants[0], "mode 2");
    const SolverResult before = reference_solve(own, {}, nullptr, PaybackRules::Original);
    EXPECT_NE(before.variants[0].choices[0], kInvestNothing);
}

TEST(SolverPayback, PenaltyGrowsWithTheLargestSumOfAmounts) {
    // B: the largest amount of each group, plus for sales delta x K x (1 + ps / 100).
    const struct {
        int tipz;
        double amount;
        double ps;
        double reward;
    } cases[] = {
        {4, 89999999, 0, -1e8},     // below 9e7: as first written
        {4, 90000000, 0, -1e9},     // 10^8 is the first power of ten not below it
        {4, 100000000, 0, -1e9},    // a power of ten itself
        {4, 100000000.5, 0, -1e10}, // just above it
        {2, 99999990, 0, -1e9},     // with K = 10 ticks of 1: exactly 1e8
        {2, 99999990, 10, -1e10},   // with the interest on the credit
        {2, 2000000000, 10, -1e11}, // amounts of ten digits
    };
    for (const auto& c : cases) {
        SolverTask t;
        t.header = task_header(c.tipz);
        t.header.ps = c.ps;
        t.variants = {{0, 10, 0}};
        t.groups = {group(1, {{1, c.amount / 2}, {2, c.amount}}), group(2, {})};
        const PaybackPenalty p = payback_penalty(t, 0);
        EXPECT_EQ(p.reward, c.reward) << c.amount;
        EXPECT_EQ(p.nothing, c.reward / 10) << c.amount;
    }
}
