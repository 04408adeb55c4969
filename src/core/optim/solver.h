#pragma once

// The optimisation engine: for every investment variant of a task it finds, group by group,
// which alternative to take (object not taken, or taken with a modernisation variant and an
// income variant) so that the task's objective is largest within the variant's money, the
// limit on the number of objects and the pay-back requirement. The task is a multi-stage
// decision process over the states (money spent, pay-back income gathered, objects taken,
// groups decided), solved by a relaxed value iteration.
//
// The engine never builds the transition lists: every transition of a state follows from its
// (x0, x1, x2, stage) and the alternative, and the states of one row (x1, x2, stage) lead, for
// one alternative, to one run of consecutive states of the next stage. The iteration therefore
// streams over rows of values, several states at a time, with every number computed by the same
// IEEE operations in the same order as the plain formulation, so the results are identical to it
// bit for bit. The decisions are not kept while iterating: the policy walk finds each one again,
// the first transition of largest value, from the values of the last cycle.

#include "dbor/expected_income.h"
#include "optim/solution_file.h"
#include "task/task_files.h"

#include <cstdint>
#include <vector>

namespace kov {

// The scheme parameters of a run: ОКР (omega), КО (threshold), КР (check_every), ЛЧИ (max_cycles).
struct SchemeParameters {
    double omega = 0.9;             // relaxation coefficient
    double threshold = 0.001;       // stopping threshold of the relative change of the values
    std::int32_t check_every = 5;   // the stopping test is made every check_every cycles
    std::int32_t max_cycles = 3000; // limit of iteration cycles

    bool operator==(const SchemeParameters&) const = default;
};

// The largest number of phase states of a variant the engine accepts.
inline constexpr std::int64_t kMaxPhaseStates = 20000;

// One alternative of a group as the engine needs it. Alternative 0 of every group stands for the
// object not taken; its money fields are ignored (cost, amount and income are 0 by definition).
struct SolverAlternative {
    ChoiceTriple triple = kNotTaken; // copied into the solution when the alternative is chosen
    double object_cost = 0;          // the object's cost (0 in a database of own real estate)
    double modernisation_cost = 0;   // 0 for modernisation variant 0
    double amount = 0;               // sale revenue (prmp 1) or specific income (prmp 2)
    // Used only with pay-back: the modernisation duration and the income variant's delay curve.
    double duration = 0;
    std::vector<DborPoint> curve;
};

// Everything the engine needs of a task. From the header it uses reg, prmp, prok, nsd, soi, tmx,
// tmn, nt, ps, ogrn, toc and delta; the numbers of variants and groups are the sizes of the two
// arrays (nsg and mz of the header are not read).
struct SolverTask {
    TaskHeader header;
    std::vector<InvestmentTicks> variants;              // own funds, credit, pay-back bound
    std::vector<std::vector<SolverAlternative>> groups; // alternative 0 first in each group
};

enum class SolverOutcome {
    Solved,               // every variant was solved
    OmegaOutOfRange,      // ОКР outside [0.099999, 0.999999)
    ThresholdOutOfRange,  // КО outside [0.000999, 0.100001]
    CheckEveryOutOfRange, // КР below 1
    MaxCyclesOutOfRange,  // ЛЧИ below 10
    TooManyStates,        // a variant has more than kMaxPhaseStates phase states
    IterationLimit,       // a variant reached ЛЧИ cycles without passing the stopping test
};

struct VariantSolution {
    std::int32_t cycles = 0;           // cycles to convergence; 0 when the variant was not solved
    double gain = 0;                   // the gain of the last cycle (0 when investing in nothing)
    std::vector<ChoiceTriple> choices; // one record per group: kNotSolved until solved,
                                       // kInvestNothing in every record when no plan pays back
    std::int64_t states = 0;           // N, phase states (0 until numbered)
    std::int64_t transitions = 0;      // transitions of all states (0 until built)

    bool operator==(const VariantSolution&) const = default;
};

struct SolverResult {
    SolverOutcome outcome = SolverOutcome::Solved;
    // The result flag of the solution file: every variant solved (also when there is none).
    bool complete = false;
    // The variant (1-based) and its phase states named by a TooManyStates or IterationLimit
    // outcome; 0 otherwise.
    int failed_variant = 0;
    std::int64_t failed_states = 0;
    // One entry per investment variant. Without groups the choices are empty.
    std::vector<VariantSolution> variants;

    bool operator==(const SolverResult&) const = default;
};

// What a run reports while it goes: one call per progress line of the optimisation window, in
// the order the lines are shown. Variants are numbered from 1.
class SolverObserver {
public:
    virtual ~SolverObserver() = default;
    virtual void task_read(int variants) = 0;                           // progress line 1
    virtual void variant_started(int variant) = 0;                      // lines 2, 3 and 5 cleared
    virtual void states_numbered(int variant, std::int64_t states) = 0; // line 2
    virtual void transitions_built(int variant) = 0;                    // line 3
    virtual void iterated(int variant, int cycles, double gain) = 0;    // line 4
    virtual void plan_found(int variant) = 0;                           // line 5
    // The run stops: a parameter, the phase-state limit or the iteration limit failed.
    virtual void refused(SolverOutcome outcome, const SchemeParameters& parameters, int variant,
                         std::int64_t states) = 0;
};

// P* of variant v (0-based): the pay-back income the process gathers is capped at it (x1 =
// 0..P*), the smallest count of ticks from the variant's pay-back bound P on that meets the
// pay-back requirement of spending all its money (payback_cap of the task-building rules).
std::int64_t payback_cap(const SolverTask& task, int v);

// N of variant v (0-based): mz x (K + 1) x (P* + 1) x (G + 1) + 2, saturating at the int64 range.
std::int64_t phase_states(const SolverTask& task, int v);

// The closing reward of a plan of variant v (0-based) that fails pay-back, and the gain at or
// below which no plan of the variant pays back (a tenth of the reward). With B the sum over the
// groups of the largest |amount| of an alternative, plus with prmp = 1 the most money spent with
// its interest, delta x K x (1 + ps / 100): -1e8 and -1e7 while B < 9e7; otherwise -10^(e + 1),
// 10^e the smallest power of ten not below B, so a failing plan never outweighs one that pays
// back however large the amounts.
struct PaybackPenalty {
    double reward = -100000000.0;
    double nothing = -10000000.0;
};
PaybackPenalty payback_penalty(const SolverTask& task, int v);

// The first scheme parameter outside its range, or Solved when all four are valid.
SolverOutcome check_parameters(const SchemeParameters& parameters);

// Pay-back income in ticks of one alternative by the horizon: R of its expected income, at least
// 0 (an income below one tick's rounding never takes income away).
std::int64_t payback_ticks(const TaskHeader& header, const SolverAlternative& alternative,
                           double horizon);

// Solves every variant of the task in order (the run's steps from the solution records to the
// result flag). Refusals and the iteration limit are outcomes, not exceptions; `observer` may be
// null. Throws std::invalid_argument for a task no input file can yield: a group without
// alternatives, a negative tick amount or cost, an amount that is not a finite number, a mode,
// type or limit outside its range, an alternative of a pay-back task without a delay curve
// (solver_task refuses such inputs first, with a FileError).
SolverResult solve(const SolverTask& task, const SchemeParameters& parameters,
                   SolverObserver* observer);

// The instruction set the engine streams with: the widest the processor offers (what solve
// uses), or the baseline of the build. Both give the same results bit for bit.
enum class SolverKernel { Widest, Baseline };
SolverResult solve(const SolverTask& task, const SchemeParameters& parameters,
                   SolverObserver* observer, SolverKernel kernel);

} // namespace kov
