#pragma once

// The solution viewer's content: the parameter list of a solved task (its parameters, the use of
// funds of every investment variant and the solver's information) and the table of the selected
// investment variants with the objects chosen for each, with the figures derived from the task,
// its database and the solution.

#include "dbor/bdon.h"
#include "optim/solution_file.h"
#include "shell/language_shell.h"
#include "task/task_files.h"
#include "view/view_content.h"

#include <string>
#include <string_view>
#include <vector>

namespace kov {

// The derived figures of one investment variant (all 0 while the solution's result flag is 0).
struct SolutionFigures {
    double full_cost = 0;   // C: objects' costs plus their modernisation costs
    double amount = 0;      // Σ: the chosen sale revenues (A) or exploitation incomes (R)
    double mean_income = 0; // E: computed mean absolute income (tasks with pay-back)
    double income = 0;      // X: expected income of the variant
    double series = 0;      // S: the variant's value of the pay-back series (set in every case)
    double own_used = 0;    // own funds used
    double credit_used = 0; // credit used
    // r: pay-back time of an exploitation task in mode 1, -1 when nothing is spent; 0 for other
    // tasks.
    double payback_time = 0;

    bool operator==(const SolutionFigures&) const = default;
};

struct SolutionView {
    TaskHeader task;
    // The parameter list (starting with one empty row) and the one table of 15 columns.
    ViewContent content;
    // The figures of every variant 1..nsg, selected or not.
    std::vector<SolutionFigures> figures;
    // The bar chart of the expected income X of each selected variant (x: the variant number),
    // empty when the solution has no result.
    ViewPicture incomes;
};

// What the solution viewer reads: the descriptor's header and investment variants, the task's
// database and its solution.
struct SolutionViewInput {
    TaskHeader task;
    std::vector<InvestmentVariant> variants;
    BdonData bdon;
    Solution solution;
};

// The figures of every variant of a solution whose result flag is 1 (zeros otherwise, but for
// the series values).
std::vector<SolutionFigures> solution_figures(const SolutionViewInput& in);

// The content of the variants whose flags are set. Numbers use `decimal_char`.
SolutionView solution_view(const SolutionViewInput& in, const LanguageShell& shell,
                           char decimal_char, const VariantFlags& shown);

// Reads Data/kov_<code>.dat (header and variants), the task's database (in the shell's language)
// and the solution Data/kov_<shifr>_out.dat. The solution is refused (FileError naming it and
// the database) when it does not fit the database as it is now: its size for the task's nsg and
// mz, and every record that is not empty against the database's objects, modernisation and
// income variants and, for a task with pay-back, their delay curves.
SolutionViewInput read_solution_view_input(const std::string& workspace, std::string_view code,
                                           const LanguageShell& shell);

SolutionView build_solution_view(const std::string& workspace, std::string_view code,
                                 const LanguageShell& shell, char decimal_char,
                                 const VariantFlags& shown);

} // namespace kov
