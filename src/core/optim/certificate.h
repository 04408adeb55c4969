#pragma once

// The certificate of a solved variant: the best value over every plan the task admits, found by
// an exact dynamic programme over the investment ticks, compared with the plan the solver found;
// and why that plan: how far each object's revenue (specific income) could fall before the
// object would leave the best plan, or rise before it would enter it.
//
// A plan takes, in every group, alternative 0 (the object not taken) or one alternative with its
// modernisation and income variant. It is admissible when its money in ticks is within the
// variant's K = own + credit, it takes at most G objects (G > 0) and, with pay-back, its pay-back
// income meets the variant's requirement (payback_met). Its value is the solver's objective: the
// sum of the amounts taken plus the closing reward (with prmp = 1 minus the money spent and the
// credit interest on the part above the own funds).

#include "optim/solver.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kov {

// The exact optimum of variant v (0-based). `value` is empty when no plan is admissible (mode 2
// with pay-back and a requirement no plan meets). Of plans of equal value the one whose first
// differing group takes the alternative listed first is returned, alternative 0 first.
struct ExactOptimum {
    std::optional<double> value;
    std::vector<ChoiceTriple> plan; // one record per group; empty when no plan is admissible
};
ExactOptimum solve_exactly(const SolverTask& task, int v);

// The value of `plan` (one record per group: kNotTaken or one of the group's alternatives) for
// variant v; empty when the plan is not admissible. Throws std::invalid_argument for a record
// that is none of its group's alternatives or a plan of another length.
std::optional<double> plan_value(const SolverTask& task, int v,
                                 const std::vector<ChoiceTriple>& plan);

// The solver's plan of a variant against the exact optimum.
struct Certificate {
    bool solved = false;  // the variant has a plan (records neither kNotSolved nor missing)
    bool nothing = false; // the solver invested in nothing (kInvestNothing)
    std::optional<double> plan_value;    // empty when the plan is not admissible or nothing
    std::optional<double> best_value;    // empty when no plan is admissible
    std::vector<ChoiceTriple> best_plan; // the exact optimum's records

    // The plan is as good as the best plan (within the tolerance of the values), or the solver
    // invested in nothing and no plan is admissible.
    bool optimal() const;
    // best - plan; 0 when optimal, empty when either value is missing and the plan is not
    // optimal.
    std::optional<double> gap() const;
    // The gap in per cent of |best|; empty when the best value is 0 or the gap is missing.
    std::optional<double> gap_percent() const;
};
// `plan` is the variant's records of the solution file.
Certificate certify(const SolverTask& task, int v, const std::vector<ChoiceTriple>& plan);

// The tolerance within which two values of variant v are equal: 1e-9 of the largest value a plan
// of the variant can reach in magnitude, and at least 1e-9.
double value_tolerance(const SolverTask& task, int v);

// Why the plan: one threshold per group, for the object of the group.
struct WhyThreshold {
    int group = 0;         // 0-based
    ChoiceTriple choice;   // the plan's record for the group (kNotTaken when not taken)
    bool taken = false;    // the plan takes the object
    bool reachable = true; // not taken: some rise makes it enter (false: its cost exceeds the
                           // money, or no plan with it can meet the pay-back requirement)
    double change = 0;     // the fall (taken) or the rise (not taken), a whole number of ticks
};

// Progress of a long computation: called with the steps done and the steps in all; returns
// false to cancel.
using WhyProgress = std::function<bool(int done, int total)>;

// The thresholds of variant v for the plan `plan` (its records in the solution file), found by
// exact re-solves with bisection to a tick of the task. The revenues (specific incomes) of every
// alternative of the object's group change together by the same amount, never below 0; with
// pay-back the pay-back income of every changed alternative is worked out again from its new
// amount. A taken object leaves at the smallest fall at which a best plan can do without it; an
// object not taken enters at the smallest rise at which every best plan takes it. Empty when the
// progress callback cancelled; an empty list for a plan that is kNotSolved or kInvestNothing.
std::optional<std::vector<WhyThreshold>> why_plan(const SolverTask& task, int v,
                                                  const std::vector<ChoiceTriple>& plan,
                                                  const WhyProgress& progress = {});

// A copy of the task in which every alternative of group g (0-based) has its amount changed by
// `change`, never below 0: the task a why threshold is confirmed against.
SolverTask with_amount_change(const SolverTask& task, int g, double change);

// Whether group g takes an object in the best plans of variant v: +1 every best plan takes it,
// -1 no best plan takes it, 0 both kinds exist (a tie); compared within value_tolerance.
int object_in_best_plans(const SolverTask& task, int v, int g);

} // namespace kov
