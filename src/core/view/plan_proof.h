#pragma once

// The certificate of optimality and "why this plan" of a solved task as the solution viewer and
// kov-batch show them: per investment variant "optimal" or the gap to the best plan, and per
// object of a variant the change of its revenue (specific income) that would take it out of the
// best plan or into it.

#include "dbor/bdon.h"
#include "optim/certificate.h"
#include "optim/solution_file.h"
#include "shell/language_shell.h"
#include "view/view_content.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// What the certificate needs: the task as the solver saw it (its input file under Data with its
// database) and the solution.
struct PlanProofInput {
    TaskHeader task;
    BdonData bdon;
    SolverTask solver;
    Solution solution;
};

// Reads Data/kov_<code>_in.dat against the task's database (in the shell's language) and the
// solution Data/kov_<code>_out.dat; FileError, naming the file, when either is missing or does
// not fit the database.
PlanProofInput read_plan_proof_input(const std::string& workspace, std::string_view code,
                                     const LanguageShell& shell);

// One certificate per investment variant; none when the solution's result flag is not 1.
std::vector<Certificate> certify_solution(const PlanProofInput& in);

// "optimal", or the gap in money and per cent of the best value ("gap 12,50 USD (0,83 %)"),
// or "-" for a variant without a plan.
std::string certificate_text(const Certificate& c, const LanguageShell& shell, char decimal_char,
                             const std::string& money_unit);

// The one-line summary of the selected variants: shell text 553 + ": " and, per variant with a
// plan, its number and certificate_text, separated by "; ". Empty when no variant has a plan.
std::string certificate_summary(const std::vector<Certificate>& certificates,
                                const LanguageShell& shell, char decimal_char,
                                const std::string& money_unit, const VariantFlags& shown);

struct VariantWhy {
    int variant = 0; // 1-based
    std::vector<WhyThreshold> thresholds;
};

// The thresholds of every selected variant that has a plan. `progress` sees the groups done over
// all of them; empty when it cancelled.
std::optional<std::vector<VariantWhy>>
why_solution(const PlanProofInput& in, const VariantFlags& shown, const WhyProgress& progress = {});

// The table of the "why this plan" tab: variant, object number, code, description, in the plan
// (yes or no), and the change of the revenue at which the plan would change: "-X" a fall for an
// object taken, "+X" a rise for one not taken, or shell text 558 when no rise makes it enter.
ViewGrid why_grid(const PlanProofInput& in, const std::vector<VariantWhy>& why,
                  const LanguageShell& shell, char decimal_char);

// The lines kov-batch adds: "proof" V PLAN BEST GAP per variant with a plan ("-" for a missing
// value), and "why" V OBJECT CODE TAKEN(1/0) fall|rise CHANGE ("-" when it never enters).
std::vector<std::vector<std::string>> proof_lines(const std::vector<Certificate>& certificates,
                                                  const VariantFlags& shown, char decimal_char);
std::vector<std::vector<std::string>>
why_lines(const PlanProofInput& in, const std::vector<VariantWhy>& why, char decimal_char);

} // namespace kov
