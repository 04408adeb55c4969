#pragma once

// What the task wizard decides on its pages 5 to 10: the selection of objects and the
// restrictions that pick the chosen objects and modernisation variants, the admissible income
// variants of a task with pay-back, the capital requirement and the size of the optimised
// process in phase states, and the two task files built from all of it. Every function here is
// pure; the windows show the results and the messages composed from the shell.
//
// The money rules themselves (R, V, InvestmentTicks, the pay-back series, the choice triples)
// are those of task/ticks.h.

#include "dbor/bdon.h"
#include "task/task_files.h"
#include "task/ticks.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kov {

struct LanguageShell;

// The largest process the wizard lets through (faza at most this).
inline constexpr std::int64_t kMaxFaza = 20000;

// The income variants of a task are its sale variants for prmp = 1, its exploitation variants
// for prmp = 2. Their count for object i, modernisation variant s, and the amount (expected
// revenue or specific income) of income variant v; indices 0-based.
std::size_t income_variant_count(const BdonData& bdon, int prmp, std::size_t i, std::size_t s);
double income_amount(const BdonData& bdon, int prmp, std::size_t i, std::size_t s, std::size_t v);

// The probability that the sale (start of exploitation) has not happened within the control
// term: 1 minus the delay curve at the term, interpolated linearly; 0 at and beyond the last
// argument, and 0 for a curve without an interval holding the term.
double no_sale_probability(std::span<const DborPoint> curve, double term);

// The selection column of the object table when it is built: row r (a listed object, in BDON
// order) takes the saved mark r when there is one and the object is not absent; rows beyond the
// saved marks are empty.
Marks initial_row_marks(const BdonData& bdon, int tipz, const Marks& saved);

// The chosen objects and modernisation variants (Next on page 5).
struct ObjectChoice {
    Marks object_marks;               // M
    std::vector<Marks> variant_marks; // M x (n_i + 1)
    std::int32_t mz = 0;              // chosen objects
};

// Whether modernisation variant s of object i passes the task's restrictions: its duration is at
// most mzad (+1e-6), it has an income variant, and without pay-back the first income variant
// passes the revenue / full-cost threshold (mode 1), with pay-back some income variant with a
// delay curve passes the threshold (mode 1) and the no-sale probability bound.
bool variant_admissible(const TaskHeader& h, const BdonData& bdon, std::size_t i, std::size_t s);

// Applies the restrictions to the objects whose row carries a mark. Absent objects are never
// chosen, whatever their mark. Throws std::invalid_argument when the row marks are not one per
// listed object of the task type.
ObjectChoice choose_objects(const TaskHeader& h, const BdonData& bdon, const Marks& row_marks);

// A limit on the number of objects that does not restrict (ogrn >= mz) is dropped: returns the
// limit the task keeps (0 for none).
std::int32_t effective_object_limit(std::int32_t ogrn, std::int32_t mz);

// The income-variant marks of a task with pay-back (Next on page 6): for every chosen
// modernisation variant, each income variant with a delay curve of 2 points or more whose
// no-sale probability is within the bound (the threshold ratio is not applied here). The shape
// is that of empty_income_marks; without pay-back every mark stays empty.
std::vector<std::vector<Marks>> choose_income_variants(const TaskHeader& h, const BdonData& bdon,
                                                       const std::vector<Marks>& variant_marks);

// Whether a plan of variant k (0-based) of a task with pay-back pays back: it spent x0 ticks, of
// which `own` are own funds, and gathered x1 ticks of pay-back income by the horizon. Mode 1:
// x1 / x0 is at least the pay-back coefficient c_k (always when x0 = 0); mode 2: x1 covers x0,
// the credit interest on x0 - own and the required initial income nsd in ticks; both within
// 1e-8. Always met without pay-back. The optimiser's closing reward and P* both judge by it.
bool payback_met(const TaskHeader& h, int k, std::int64_t own, std::int64_t x0, std::int64_t x1);

// P*, the pay-back income the optimised process keeps of variant k (0-based) with the tick
// amounts t: the smallest n >= t.payback for which the requirement of the largest spend, all the
// money K = own + credit, is met (payback_met). Capping the income gathered at P* therefore never
// turns a plan that pays back into one that does not, as capping it at P rounded down can. P*
// is P where P already covers that requirement, and without pay-back; it saturates at the int64
// range when the requirement lies beyond 2^52 ticks. The optimiser's phase states and the
// wizard's faza are counted with it; the task files keep P.
std::int64_t payback_cap(const TaskHeader& h, const TickAmounts& t, int k);

// The checks of the rounding page (Next on page 9), in their order.
enum class SizeCheck {
    Passed,
    TickTooSmall,     // delta below 0.000001
    TooManyStates,    // faza above kMaxFaza
    PaybackBelowTick, // a variant's pay-back amount is less than one tick
};

struct TaskSize {
    SizeCheck check = SizeCheck::Passed;
    double capital = 0;             // V
    std::int32_t ogrn = 0;          // the object limit the task keeps
    std::int64_t money_ticks = 0;   // c
    std::int64_t payback_ticks = 0; // s: P* of the first variant (payback_cap)
    std::int64_t faza = 0;          // mz x (c + 1) x (s + 1) x (ogrn + 1) + 2, saturating
    int failed_variant = 0;         // PaybackBelowTick: the first variant (1-based) that fails
};

// Sizes the task whose header carries toc, delta, ogrn and the pay-back fields, with `choice`
// from choose_objects. Stops at the first failing check; the figures computed before it are set.
TaskSize size_task(const TaskHeader& h, const std::vector<InvestmentVariant>& variants,
                   const BdonData& bdon, const ObjectChoice& choice);

// Everything the wizard has decided, for building the task files (Next on page 10).
struct TaskDraft {
    TaskHeader header; // pages 1 to 4 and 9: code, name, mode, type, money, restrictions, rounding
    std::vector<InvestmentVariant> variants;
    Marks row_marks; // the selection column, one mark per listed object
};

// Why a draft cannot become a task: the first check of pages 5 and 9 that fails.
enum class DraftProblem {
    None,
    NoObjectListed,   // no object of the database is usable for the task type
    NoObjectSelected, // no row carries a mark
    NoObjectChosen,   // no selected object passes the restrictions
    TickTooSmall,
    TooManyStates,
    PaybackBelowTick,
};

struct PreparedTask {
    DraftProblem problem = DraftProblem::None;
    TaskSize size;
    ObjectChoice choice;
    bool limit_dropped = false; // the object limit was dropped as not restricting
    TaskFiles files;            // set when problem is None
};

// Runs pages 5 to 10 on a draft: mt and the row marks, the restrictions, the income variants,
// the object limit, the rounding checks, faza, and both task files. `shell_file_name` is the
// ShellFileName stored in the input file.
PreparedTask prepare_task(const TaskDraft& draft, const BdonData& bdon,
                          const std::string& shell_file_name);

// Writes the prepared task's two files into Data (descriptor and input file as a pair).
void save_task(const std::string& workspace, const PreparedTask& task, const BdonData& bdon,
               CodePage cp);

// The texts of the wizard's messages for a draft problem (warnings; the dropped limit is an
// information): the shell texts with their fixed punctuation. `tipz` and `reg` name the task.
std::string draft_problem_text(const LanguageShell& shell, DraftProblem problem,
                               const TaskHeader& h, const TaskSize& size);
std::string limit_dropped_text(const LanguageShell& shell, std::int32_t ogrn, std::int32_t mz);

// The tick as the summary page shows it, with at least two decimals: blanks removed, then
// DecimalChar + "00" appended to a text without DecimalChar, "0" to a text with one decimal.
std::string tick_summary_text(std::string_view typed, char decimal_char);

} // namespace kov
