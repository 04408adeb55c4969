// The engine against the plain formulation of the solver on a few hundred generated tasks: the
// same outcome, decisions, cycle counts and gains (bit for bit), the same lines shown and the
// same solution file. The tasks include pay-back bounds rounded below what spending all the
// money requires and amounts of up to some 1e9; those the capped income and the scaled penalty
// do not concern solve exactly as under the rules first written.
#include "optim/solve_task.h"

#include "io/files.h"
#include "solver_fixture.h"
#include "solver_reference.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <set>

using namespace kov;
using solver_fixture::GeneratedTask;
using solver_fixture::Shape;
using solver_fixture::TaskGenerator;

namespace {

struct Recorder : RunProgress {
    std::vector<std::string> lines;
    void show(RunLine line, const std::string& text) override {
        lines.push_back(std::to_string(static_cast<int>(line)) + "|" + text);
    }
};

// A fixed clock, so both solution files carry the same times and dates.
RunClock fixed_clock() {
    RunClock clock;
    clock.now = [] { return 45000.5; };
    clock.seconds = [] { return 0.0; };
    clock.duration_text = [](double) { return std::string("0:00:00"); };
    clock.time_text = [](double) { return std::string("12:00:00"); };
    clock.date_text = [](double) { return std::string("15.03.2023"); };
    return clock;
}

void expect_same(const SolverResult& engine, const SolverResult& reference,
                 const std::string& what) {
    EXPECT_EQ(engine, reference) << what;
    ASSERT_EQ(engine.variants.size(), reference.variants.size()) << what;
    for (std::size_t v = 0; v < engine.variants.size(); ++v) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(engine.variants[v].gain),
                  std::bit_cast<std::uint64_t>(reference.variants[v].gain))
            << what << " variant " << v + 1;
    }
}

// The scheme parameters of case k: mostly valid ones, now and then a limit too low to converge
// (also with the first check after the limit), a parameter out of range.
SchemeParameters parameters_for(TaskGenerator& gen, int k) {
    SchemeParameters p;
    const double omegas[] = {0.5, 0.7, 0.9, 0.95};
    const double thresholds[] = {0.001, 0.01, 0.1};
    const int checks[] = {1, 3, 5};
    p.omega = omegas[gen.pick(0, 3)];
    p.threshold = thresholds[gen.pick(0, 2)];
    p.check_every = checks[gen.pick(0, 2)];
    switch (k % 20) {
    case 3:
        p.omega = 0.1;
        p.threshold = 0.001;
        p.max_cycles = gen.pick(10, 14);
        break;
    case 8:
        p.omega = 0.1;
        p.check_every = 30;
        p.max_cycles = 20;
        break;
    case 13: {
        const int which = gen.pick(0, 3);
        if (which == 0) {
            p.omega = gen.chance(50) ? 0.0999 : 0.999999;
        } else if (which == 1) {
            p.threshold = gen.chance(50) ? 0.000998 : 0.100002;
        } else if (which == 2) {
            p.check_every = 0;
        } else {
            p.max_cycles = 9;
        }
        break;
    }
    default:
        break;
    }
    return p;
}

} // namespace

TEST(SolverDiff, EngineMatchesReference) {
    TempWorkspace ws;
    const LanguageShell shell = solver_fixture::numbered_texts();
    const CodePage cp = shell.codepage;
    TaskGenerator gen(0x4b4f56u);
    std::set<SolverOutcome> outcomes;
    std::map<std::string, int> seen;

    int k = 0;
    for (int round = 0; round < 20; ++round) {
        for (int tipz = 1; tipz <= 4; ++tipz) {
            for (int reg = 1; reg <= 2; ++reg) {
                for (bool limit : {false, true}) {
                    Shape shape;
                    shape.tipz = tipz;
                    shape.reg = reg;
                    shape.limit = limit;
                    // Every fourth round: amounts of up to some 1e9, incomes that come late.
                    const bool large = round % 4 == 1;
                    shape.hopeless = tipz % 2 == 0 && reg == 2 && (round % 3 == 0 || large);
                    shape.scale = large ? 2e7 : 1;
                    shape.late = large;
                    shape.max_payback = large ? 12 : 6;
                    GeneratedTask t = gen.next(shape);
                    const SchemeParameters params = parameters_for(gen, k);
                    if (k % 20 == 17 && !t.input.groups.empty()) {
                        t.input.ticks.back().own = 25000; // beyond the phase-state limit
                        t.input.ticks.back().credit = 0;
                    }
                    ++k;
                    const std::string code = t.input.header.shifr;
                    const std::string what = "case " + std::to_string(k) + " " + code + " type " +
                                             std::to_string(tipz) + " mode " + std::to_string(reg) +
                                             (limit ? " limit" : "");

                    const SolveSetup setup{ws.path(), shell,           ',',
                                           params,    {"a", "b", "c"}, fixed_clock()};
                    const RunTexts texts(shell, ',', code);
                    Recorder engine_lines;
                    SolverResult engine;
                    SolverTask task;
                    Bytes engine_file;
                    if (k % 8 == 1) {
                        // The whole road: database and input file written, the task solved
                        // from them, its solution file read back.
                        write_bdon(ws.path(), shell.suffix, t.bdon, "15.03.2023", cp);
                        const std::string input = task_file_path(ws.path(), "Solving", code, "_in");
                        write_file_atomic(input, encode_task_input(t.input, t.bdon, cp));
                        const TaskRun run = solve_task(code, setup, engine_lines);
                        // Around the solver's lines the run shows 7 cleared lines and the start
                        // line before them, line 6 and the end line after them.
                        ASSERT_GE(engine_lines.lines.size(), 10u) << what;
                        engine_lines.lines.erase(engine_lines.lines.begin(),
                                                 engine_lines.lines.begin() + 8);
                        engine_lines.lines.resize(engine_lines.lines.size() - 2);
                        engine = run.result;
                        engine_file = read_file(run.solution_path);
                        const BdonData bdon = read_bdon(run.bdon_base, cp);
                        task = solver_task(read_solver_input(input, bdon, cp), bdon, input);
                    } else {
                        task = solver_task(t.input, t.bdon, "input");
                        RunLines lines(texts, engine_lines, static_cast<int>(task.groups.size()),
                                       task.header.prmp);
                        engine = solve(task, params, &lines);
                        engine_file = encode_solution(
                            solution_of_run(engine, setup, lines.last_message(), 45000.5, 0.0), cp);
                    }

                    Recorder reference_lines;
                    RunLines lines(texts, reference_lines, static_cast<int>(task.groups.size()),
                                   task.header.prmp);
                    const SolverResult reference = reference_solve(task, params, &lines);

                    expect_same(engine, reference, what);
                    // The kernel of the baseline instruction set too (the run used the widest).
                    expect_same(solve(task, params, nullptr, SolverKernel::Baseline), reference,
                                what + " baseline");
                    EXPECT_EQ(engine_lines.lines, reference_lines.lines) << what;
                    const Solution expected =
                        solution_of_run(reference, setup, lines.last_message(), 45000.5, 0.0);
                    EXPECT_EQ(engine_file, encode_solution(expected, cp)) << what;

                    // Against the rules first written: the same wherever P covers the requirement
                    // and the amounts stay small; elsewhere they lost plans, by the cap or by the
                    // penalty.
                    const SolverResult original =
                        reference_solve(task, params, nullptr, PaybackRules::Original);
                    const bool compared = original.outcome == SolverOutcome::Solved &&
                                          reference.outcome == SolverOutcome::Solved;
                    bool concerned = false;
                    for (int v = 0; v < static_cast<int>(task.variants.size()); ++v) {
                        const auto i = static_cast<std::size_t>(v);
                        const bool capped = payback_cap(task, v) > task.variants[i].payback;
                        const bool large = payback_penalty(task, v).reward < -100000000.0;
                        if (task.header.prok != 1 || !(capped || large)) {
                            continue;
                        }
                        concerned = true;
                        if (reference.variants[i].cycles > 0) {
                            seen["capped pay-back income"] += capped;
                            seen["large amounts"] += large;
                        }
                        if (large && !reference.variants[i].choices.empty() &&
                            reference.variants[i].choices[0] == kInvestNothing) {
                            ++seen["invest in nothing, large amounts"];
                        }
                        if (compared &&
                            original.variants[i].choices != reference.variants[i].choices) {
                            ++seen["a plan the first rules lost"];
                        }
                    }
                    if (!concerned) {
                        expect_same(engine, original, what + " as first written");
                        ++seen["solved as first written"];
                    }

                    outcomes.insert(reference.outcome);
                    for (const auto& v : reference.variants) {
                        if (!v.choices.empty() && v.choices[0] == kInvestNothing) {
                            ++seen["invest in nothing"];
                        }
                        if (v.cycles > 0 &&
                            std::any_of(v.choices.begin(), v.choices.end(),
                                        [](const ChoiceTriple& c) { return c.real(); })) {
                            ++seen["a plan with objects"];
                        }
                    }
                    if (reference.outcome == SolverOutcome::IterationLimit &&
                        params.check_every > params.max_cycles) {
                        ++seen["first check after the limit"];
                    }
                    for (const auto& g : task.groups) {
                        for (std::size_t a = 1; a < g.size(); ++a) {
                            for (std::size_t b = a + 1; b < g.size(); ++b) {
                                if (g[a].amount == g[b].amount &&
                                    g[a].object_cost + g[a].modernisation_cost ==
                                        g[b].object_cost + g[b].modernisation_cost) {
                                    ++seen["equal alternatives"];
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    // The generated tasks reach every outcome and the cases that matter.
    EXPECT_EQ(outcomes.size(), 7u);
    for (const char* c : {"invest in nothing", "a plan with objects", "first check after the limit",
                          "equal alternatives", "capped pay-back income", "large amounts",
                          "solved as first written", "a plan the first rules lost",
                          "invest in nothing, large amounts"}) {
        EXPECT_GT(seen[c], 0) << c;
    }
}
