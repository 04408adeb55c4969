#include "optim/solver.h"

#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <bit>

using namespace kov;
using solver_fixture::group;
using solver_fixture::task_header;

namespace {

// A task of one variant with own funds and credit in ticks (tick 1).
SolverTask one_variant(int tipz, std::int32_t own, std::int32_t credit, std::int32_t payback = 0,
                       int reg = 1) {
    SolverTask t;
    t.header = task_header(tipz, reg);
    t.variants = {{own, credit, payback}};
    return t;
}

// Records what the solver reports.
struct Log : SolverObserver {
    std::vector<std::string> events;
    void task_read(int n) override { events.push_back("read " + std::to_string(n)); }
    void variant_started(int v) override { events.push_back("start " + std::to_string(v)); }
    void states_numbered(int v, std::int64_t n) override {
        events.push_back("states " + std::to_string(v) + " " + std::to_string(n));
    }
    void transitions_built(int v) override { events.push_back("built " + std::to_string(v)); }
    void iterated(int v, int cycles, double) override {
        events.push_back("iterated " + std::to_string(v) + " " + std::to_string(cycles));
    }
    void plan_found(int v) override { events.push_back("plan " + std::to_string(v)); }
    void refused(SolverOutcome o, const SchemeParameters&, int v, std::int64_t n) override {
        events.push_back("refused " + std::to_string(int(o)) + " " + std::to_string(v) + " " +
                         std::to_string(n));
    }
};

const ChoiceTriple kNo = kNotTaken;

} // namespace

TEST(Solver, SaleTakesWhatPaysAndTheFirstOfEqualPlans) {
    // Own funds cover everything: a sale group is taken with the alternative of largest
    // revenue - cost when that is positive. Equal values go to the alternative listed first,
    // alternative 0 (not taken) first of all.
    struct Case {
        const char* what;
        std::vector<std::pair<double, double>> alternatives; // (cost, revenue)
        ChoiceTriple expected;
    };
    const Case cases[] = {
        {"the larger margin", {{3, 5}, {4, 9}, {2, 3}}, {1, 1, 1}},
        {"no margin: not taken", {{3, 2}, {4, 4}}, kNo},
        {"equal margins: the first", {{3, 6}, {5, 8}}, {1, 0, 1}},
        {"revenue equal to the cost: not taken", {{3, 3}}, kNo},
    };
    for (const Case& c : cases) {
        SolverTask t = one_variant(1, 20, 0);
        t.groups = {group(1, c.alternatives)};
        const SolverResult r = solve(t, {}, nullptr);
        ASSERT_EQ(r.outcome, SolverOutcome::Solved) << c.what;
        EXPECT_EQ(r.variants[0].choices[0], c.expected) << c.what;
    }
}

TEST(Solver, CreditAboveOwnFundsCostsInterest) {
    // O = 10, K = 12, ps = 10: spending 12 ticks is charged 12 + 2 x 10 / 100 = 12.2.
    for (const auto& [revenue, taken] : {std::pair{12.1, false}, std::pair{12.3, true}}) {
        SolverTask t = one_variant(1, 10, 2);
        t.header.ps = 10;
        t.groups = {group(1, {{12, revenue}})};
        const SolverResult r = solve(t, {}, nullptr);
        EXPECT_EQ(r.variants[0].choices[0].real(), taken) << revenue;
        EXPECT_NEAR(r.variants[0].gain, taken ? revenue - 12.2 : 0, 1e-3) << revenue;
    }
}

TEST(Solver, ObjectLimitAndMoneyBoundThePlan) {
    // Exploitation: every group pays; with G = 1 only the best object is taken.
    SolverTask t = one_variant(3, 30, 0);
    t.header.ogrn = 1;
    t.groups = {group(1, {{5, 5}}), group(2, {{5, 7}}), group(3, {{5, 6}})};
    SolverResult r = solve(t, {}, nullptr);
    EXPECT_EQ(r.variants[0].choices, (std::vector<ChoiceTriple>{kNo, {2, 0, 1}, kNo}));

    // An alternative dearer than the variant's money is never taken, however much it brings.
    t = one_variant(3, 6, 4);
    t.groups = {group(1, {{11, 1000}, {10, 1}})};
    r = solve(t, {}, nullptr);
    EXPECT_EQ(r.variants[0].choices[0], (ChoiceTriple{1, 1, 1}));
}

TEST(Solver, PhaseStateLimitIsCheckedBeforeAnyVariant) {
    // mz x (K + 1) = 19998: N = 20000 is solved.
    SolverTask at_limit = one_variant(3, 9998, 0);
    at_limit.groups = {group(1, {{3, 2}}), group(2, {{4, 1}})};
    SolverResult r = solve(at_limit, {}, nullptr);
    EXPECT_EQ(r.outcome, SolverOutcome::Solved);
    EXPECT_EQ(r.variants[0].states, 20000);

    // 7 x 2857 = 19999: N = 20001 in the second variant refuses the task, the first unsolved.
    SolverTask over = one_variant(3, 5, 0);
    over.variants.push_back({2856, 0, 0});
    for (int g = 1; g <= 7; ++g) {
        over.groups.push_back(group(g, {{1, 1}}));
    }
    Log log;
    r = solve(over, {}, &log);
    EXPECT_EQ(r.outcome, SolverOutcome::TooManyStates);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.failed_variant, 2);
    EXPECT_EQ(r.failed_states, 20001);
    EXPECT_EQ(log.events, (std::vector<std::string>{"refused 5 2 20001"}));
    for (const auto& v : r.variants) {
        EXPECT_EQ(v.cycles, 0);
        EXPECT_EQ(v.choices, std::vector<ChoiceTriple>(7, kNotSolved));
    }
}

TEST(Solver, StoppingTestOnlyEveryCheckCycles) {
    // Values that never change pass the first test, made only after КР = 30 cycles, beyond ЛЧИ.
    SolverTask still = one_variant(3, 4, 0);
    still.groups = {group(1, {{2, 0}})};
    const SchemeParameters late{0.9, 0.001, 30, 20};
    SolverResult r = solve(still, late, nullptr);
    EXPECT_EQ(r.outcome, SolverOutcome::Solved);
    EXPECT_EQ(r.variants[0].cycles, 30);

    // Values still moving at that first test: the variant and the later ones stay unsolved.
    SolverTask moving = one_variant(3, 4, 0);
    moving.variants.push_back({4, 0, 0});
    moving.groups = {group(1, {{2, 5}})};
    Log log;
    r = solve(moving, {0.1, 0.001, 30, 20}, &log);
    EXPECT_EQ(r.outcome, SolverOutcome::IterationLimit);
    EXPECT_EQ(r.failed_variant, 1);
    EXPECT_EQ(r.variants[0].cycles, 0);
    EXPECT_EQ(r.variants[1].choices, std::vector<ChoiceTriple>{kNotSolved});
    EXPECT_EQ(log.events.back(), "refused 6 1 7");
}

TEST(Solver, SchemeParametersAreCheckedFirst) {
    struct Case {
        SchemeParameters p;
        SolverOutcome expected;
    };
    const Case cases[] = {
        {{0.099999, 0.000999, 1, 10}, SolverOutcome::Solved},
        {{0.0999, 0.001, 5, 3000}, SolverOutcome::OmegaOutOfRange},
        {{0.999999, 0.001, 5, 3000}, SolverOutcome::OmegaOutOfRange},
        {{0.9, 0.000998, 5, 3000}, SolverOutcome::ThresholdOutOfRange},
        {{0.9, 0.100002, 5, 3000}, SolverOutcome::ThresholdOutOfRange},
        {{0.9, 0.001, 0, 3000}, SolverOutcome::CheckEveryOutOfRange},
        {{0.9, 0.001, 5, 9}, SolverOutcome::MaxCyclesOutOfRange},
        {{2, 1, 0, 0}, SolverOutcome::OmegaOutOfRange}, // the first failing check
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check_parameters(c.p), c.expected) << c.p.omega << " " << c.p.threshold;
    }
    // A refused run solves nothing, even with a variant beyond the phase-state limit.
    SolverTask t = one_variant(1, 30000, 0);
    t.groups = {group(1, {{1, 2}})};
    const SolverResult r = solve(t, {0.9, 0.001, 0, 3000}, nullptr);
    EXPECT_EQ(r.outcome, SolverOutcome::CheckEveryOutOfRange);
    EXPECT_EQ(r.variants[0].choices[0], kNotSolved);
}

TEST(Solver, ModeTwoPaybackThatNoPlanMeetsInvestsInNothing) {
    // Required initial income 50 ticks, but both objects together earn 12 + 16 ticks by the
    // horizon: every plan fails.
    SolverTask t = one_variant(4, 10, 0, 6, 2);
    t.header.nsd = 50;
    t.header.nt = 1;
    t.header.tmx = t.header.tmn = 5;
    t.groups = {group(1, {{2, 3}}, 2), group(2, {{3, 4}}, 2)};
    Log log;
    const SolverResult r = solve(t, {}, &log);
    ASSERT_EQ(r.outcome, SolverOutcome::Solved);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.variants[0].choices, std::vector<ChoiceTriple>(2, kInvestNothing));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(r.variants[0].gain), std::bit_cast<std::uint64_t>(0.0));
    EXPECT_GT(r.variants[0].cycles, 0);
}

TEST(Solver, PaybackIncomeNeverBelowZero) {
    // The delay of this curve ends 5e-9 time units before the horizon's start: the expected
    // income is a tiny negative number, rounded down to -1 tick. It counts as 0, so no plan
    // leads below the first pay-back state.
    TaskHeader h = task_header(2);
    h.toc = 1;
    SolverAlternative a = solver_fixture::alternative({1, 0, 1}, 2, 4, 10);
    a.duration = 3;
    EXPECT_LT(expected_income(a.curve, a.amount, a.duration, 1, 3 - 5e-9), 0);
    EXPECT_EQ(payback_ticks(h, a, 3 - 5e-9), 0);

    SolverTask t = one_variant(2, 5, 0, 3);
    t.header = h;
    t.header.soi = 3 - 5e-9;
    t.header.nt = 1;
    t.header.tmx = t.header.tmn = 0.1;
    t.groups = {{SolverAlternative{}, a}};
    EXPECT_EQ(solve(t, {}, nullptr).outcome, SolverOutcome::Solved);
}
