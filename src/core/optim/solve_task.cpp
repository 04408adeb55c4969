#include "optim/solve_task.h"

#include "dbor/expected_income.h"
#include "io/error.h"
#include "io/numbers.h"

#include <chrono>
#include <cmath>

namespace kov {

namespace {

bool usable_money(double x) {
    return std::isfinite(x) && x >= 0;
}

} // namespace

RunClock default_run_clock() {
    RunClock clock;
    clock.now = now_day_count;
    clock.seconds = [] {
        const std::chrono::duration<double> t = std::chrono::steady_clock::now().time_since_epoch();
        return t.count();
    };
    clock.time_text = numeric_time_text;
    clock.date_text = numeric_date_text;
    clock.duration_text = [](double seconds) { return duration_text(seconds); };
    return clock;
}

SolverTask solver_task(const TaskInput& input, const BdonData& bdon,
                       const std::string& input_file) {
    const TaskHeader& h = input.header;
    SolverTask task;
    task.header = h;
    task.variants = input.ticks;
    const bool payback = h.prok == 1;
    auto refuse = [&](const ChoiceTriple& c, const std::string& what) {
        throw format_error(input_file, "the alternative (" + integer_text(c.object) + ", " +
                                           integer_text(c.modernisation) + ", " +
                                           integer_text(c.income) + ") in the database \"" +
                                           bdon.path + "\": " + what);
    };
    for (const auto& group : input.groups) {
        auto& alts = task.groups.emplace_back();
        for (std::size_t a = 0; a < group.size(); ++a) {
            SolverAlternative alt;
            alt.triple = group[a];
            if (a > 0) {
                const ChoiceTriple& c = group[a];
                const int i = c.object - 1, j = c.modernisation, k = c.income - 1;
                if (i < 0 || std::size_t(i) >= bdon.objects.size() || j < 0 ||
                    std::size_t(j) >= bdon.variants[std::size_t(i)].size()) {
                    refuse(c, "not in the database");
                }
                const auto& object = bdon.objects[std::size_t(i)];
                const auto& variant = bdon.variants[std::size_t(i)][std::size_t(j)];
                const std::size_t count =
                    h.prmp == 1 ? bdon.sale_variants[std::size_t(i)][std::size_t(j)].size()
                                : bdon.expl_variants[std::size_t(i)][std::size_t(j)].size();
                if (k < 0 || std::size_t(k) >= count) {
                    refuse(c, "not in the database");
                }
                alt.object_cost = bdon.header.mode == 2 ? 0.0 : object.cost;
                alt.modernisation_cost = j == 0 ? 0.0 : variant.cost;
                alt.amount =
                    h.prmp == 1
                        ? bdon.sale_variants[std::size_t(i)][std::size_t(j)][std::size_t(k)].revenue
                        : bdon.expl_variants[std::size_t(i)][std::size_t(j)][std::size_t(k)].income;
                if (!usable_money(alt.object_cost) || !usable_money(alt.modernisation_cost) ||
                    !usable_money(alt.amount)) {
                    refuse(c, "a cost or an amount is negative or not a number");
                }
                if (payback) {
                    alt.duration = j == 0 ? 0.0 : variant.duration;
                    try {
                        const auto curve = income_curve(bdon, h.prmp, i, j, k);
                        alt.curve.assign(curve.begin(), curve.end());
                    } catch (const FileError&) {
                        refuse(c, "the income variant has no delay curve");
                    }
                    bool finite = std::isfinite(alt.duration);
                    for (const auto& p : alt.curve) {
                        finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
                    }
                    if (!finite) {
                        refuse(c, "a duration or a point of the delay curve is not a number");
                    }
                }
            }
            alts.push_back(std::move(alt));
        }
    }
    return task;
}

Solution solution_of_run(const SolverResult& result, const SolveSetup& setup,
                         const std::string& message, double end, double seconds) {
    Solution s;
    SolutionHeader& h = s.header;
    h.info1 = setup.info[0];
    h.info2 = setup.info[1];
    h.info3 = setup.info[2];
    // Measured on a steady clock, so a run that passes midnight or a change of the system's
    // clock keeps its length.
    h.duration = setup.clock.duration_text(seconds);
    h.message = message.empty() ? std::string(255, ' ') : message;
    h.kr = setup.parameters.check_every;
    h.lchi = setup.parameters.max_cycles;
    h.result = result.complete ? 1 : 0;
    h.end_date = std::floor(end);
    h.end_time = end - h.end_date;
    h.okr = setup.parameters.omega;
    h.ko = setup.parameters.threshold;
    const bool body = !result.variants.empty() && !result.variants.front().choices.empty();
    if (body) {
        for (const auto& v : result.variants) {
            s.cycles.push_back(v.cycles);
            s.plans.push_back(v.choices);
        }
    }
    return s;
}

TaskRun solve_task(const std::string& task_code, const SolveSetup& setup, RunProgress& progress) {
    const LanguageShell& shell = setup.shell;
    const CodePage cp = shell.codepage;
    const RunTexts texts(shell, setup.decimal_char, task_code);

    // Lines of an earlier task make no sense beside this one's start line.
    for (RunLine line :
         {RunLine::Progress1, RunLine::Progress2, RunLine::Progress3, RunLine::Progress4,
          RunLine::Progress5, RunLine::Progress6, RunLine::End}) {
        progress.show(line, {});
    }
    const double start = setup.clock.now();
    const double start_seconds = setup.clock.seconds();
    progress.show(RunLine::Start,
                  texts.start_line(setup.clock.time_text(start), setup.clock.date_text(start)));

    TaskRun run;
    const std::string input_path = task_file_path(setup.workspace, "Solving", task_code, "_in");
    const TaskHeader header = read_task_header(input_path, cp);
    run.bdon_base = task_bdon_base(setup.workspace, header, shell.suffix);
    const BdonData bdon = read_bdon(run.bdon_base, cp);
    const TaskInput input = read_solver_input(input_path, bdon, cp);
    const SolverTask task = solver_task(input, bdon, input_path);

    RunLines lines(texts, progress, static_cast<int>(task.groups.size()), header.prmp);
    run.result = solve(task, setup.parameters, &lines);

    const double end = setup.clock.now();
    const double seconds = setup.clock.seconds() - start_seconds;
    run.solution = solution_of_run(run.result, setup, lines.last_message(), end, seconds);
    run.solution_path = task_file_path(setup.workspace, "Solving", task_code, "_out");
    write_solution(run.solution_path, run.solution, cp);

    const int nsg = static_cast<int>(task.variants.size());
    progress.show(RunLine::Progress6, texts.line6(nsg));
    progress.show(RunLine::End, texts.end_line(run.solution.header.duration));
    return run;
}

} // namespace kov
