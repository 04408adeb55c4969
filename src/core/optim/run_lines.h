#pragma once

// The texts the optimisation module shows while it solves a task: the start line, progress lines
// 1 to 6, the red message line and the end line. They are composed here from the language shell
// so that the window and a command-line run show the same lines.

#include "optim/solver.h"
#include "shell/language_shell.h"

#include <cstdint>
#include <string>

namespace kov {

enum class RunLine {
    Start,
    Progress1,
    Progress2,
    Progress3,
    Progress4,
    Progress5,
    Progress6,
    Message,
    End
};

// Where the lines of a run go (the window's labels, a terminal, a test's record).
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // Shows the text in the line, replacing what it held; an empty text clears the line.
    virtual void show(RunLine line, const std::string& text) = 0;
};

// The lines of one task's run. Numbers use the DecimalChar; times and dates come already
// formatted in the user's regional formats.
class RunTexts {
public:
    RunTexts(const LanguageShell& shell, char decimal_char, std::string task_code)
        : shell_(shell)
        , decimal_(decimal_char)
        , code_(std::move(task_code)) {}

    std::string start_line(const std::string& time, const std::string& date) const;
    std::string line1(int variants) const;
    std::string line2(int variant, std::int64_t states) const;
    std::string line3(int variant) const;
    // prmp 1 (sale) or 2 (exploitation) decides the objective's wording and unit.
    std::string line4(int variant, int cycles, int groups, double gain, int prmp) const;
    std::string line5(int variant) const;
    std::string line6(int variants) const;
    std::string end_line(const std::string& duration) const;
    // The message of a refused or failed run (outcome other than Solved).
    std::string message(SolverOutcome outcome, const SchemeParameters& parameters, int variant,
                        std::int64_t states) const;

private:
    std::string quoted_code() const { return "\"" + code_ + "\""; }

    const LanguageShell& shell_;
    char decimal_;
    std::string code_;
};

// Shows the solver's reports as the progress and message lines of a run and remembers the last
// message (the solution file stores it).
class RunLines : public SolverObserver {
public:
    RunLines(const RunTexts& texts, RunProgress& progress, int groups, int prmp)
        : texts_(texts)
        , progress_(progress)
        , groups_(groups)
        , prmp_(prmp) {}

    void task_read(int variants) override;
    void variant_started(int variant) override;
    void states_numbered(int variant, std::int64_t states) override;
    void transitions_built(int variant) override;
    void iterated(int variant, int cycles, double gain) override;
    void plan_found(int variant) override;
    void refused(SolverOutcome outcome, const SchemeParameters& parameters, int variant,
                 std::int64_t states) override;

    // The last message shown in this run; empty when there was none.
    const std::string& last_message() const { return message_; }

private:
    const RunTexts& texts_;
    RunProgress& progress_;
    int groups_;
    int prmp_;
    std::string message_;
};

// Decimal text of an integer.
std::string integer_text(std::int64_t value);

} // namespace kov
