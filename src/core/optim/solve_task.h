#pragma once

// The run of one queued task: its input file and database in, its solution file out, and the
// lines of the run shown on the way.

#include "optim/run_lines.h"
#include "optim/solution_file.h"
#include "optim/solver.h"
#include "shell/language_shell.h"
#include "task/task_files.h"

#include <array>
#include <functional>
#include <string>

namespace kov {

// The clocks of a run and the regional formats its times, dates and duration are shown in.
struct RunClock {
    std::function<double()> now;                  // local date and time as a day count
    std::function<double()> seconds;              // a steady clock, for the run's duration
    std::function<std::string(double)> time_text; // the time of day, long time format
    std::function<std::string(double)> date_text; // the date, short date format
    // A duration in seconds as elapsed hours, minutes and seconds (duration_text).
    std::function<std::string(double)> duration_text;
};
// The system clocks with the times as "HH:MM:SS", the dates as "DD.MM.YYYY" and durations as
// "H:MM:SS".
RunClock default_run_clock();

// What every run of the optimisation module shares.
struct SolveSetup {
    std::string workspace;
    const LanguageShell& shell;
    char decimal_char = ',';
    SchemeParameters parameters;
    std::array<std::string, 3> info; // the information texts (read_info_file)
    RunClock clock = default_run_clock();
};

struct TaskRun {
    SolverResult result;
    Solution solution;         // as written
    std::string solution_path; // Solving/kov_<TaskCode>_out.dat
    std::string bdon_base;     // the CurrentFileBase of the task's database
};

// Solves the task queued as Solving/kov_<task_code>_in.dat against its database and writes
// Solving/kov_<task_code>_out.dat, also when the run is refused or fails (its result flag and
// message say so). Shows the start line, the progress and message lines and the end line.
//
// Throws FileError, and writes no solution, when the input file or the database cannot be read
// or do not fit each other (an alternative the database no longer has, an income variant of a
// pay-back task without a delay curve, a cost or amount that is negative or not a number).
TaskRun solve_task(const std::string& task_code, const SolveSetup& setup, RunProgress& progress);

// The engine's view of a task read from `input_file` against its database; refuses what
// solve_task refuses.
SolverTask solver_task(const TaskInput& input, const BdonData& bdon, const std::string& input_file);

// The solution file of a run: `message` empty when none was shown; `end` is the day count of
// the run's end and `seconds` its duration.
Solution solution_of_run(const SolverResult& result, const SolveSetup& setup,
                         const std::string& message, double end, double seconds);

} // namespace kov
