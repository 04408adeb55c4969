#pragma once

// The money rules of a task: the rounding R of money to whole ticks, the
// capital requirement V, the InvestmentTicks of a variant, the pay-back series, and the building
// of the descriptor's choice groups and income marks and of both task files from the wizard's
// marks.

#include "dbor/bdon.h"
#include "task/task_files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kov {

// Rounding types (`toc`).
inline constexpr int kRoundNearest = 0; // by the mean: to nearest, halves to the even neighbour
inline constexpr int kRoundDown = 1;    // by the minimum
inline constexpr int kRoundUp = 2;      // by the maximum

// R(x): x in whole ticks of `delta`. q = x / delta; when q lies within 1e-12 * max(1, |q|) of an
// integer, or else of a half-integer, q first takes that value exactly (so 0.3 in ticks of 0.1
// rounded down is 3, 1000.1 in ticks of 0.1 rounded up is 10001); then toc 0 rounds to nearest
// with halves to even, 1 takes the floor, 2 the ceiling. An exact integer stays as it is.
// A q beyond the 64-bit range saturates; NaN gives 0. Used everywhere R is used (the wizard,
// the input file, the optimiser).
std::int64_t round_to_ticks(double x, double delta, int toc);

// The full cost of each chosen object, in BDON order: its cost plus the largest modernisation
// cost among its chosen modernisation variants (variant 0 costs 0). Sizes of the marks must match
// the BDON (std::invalid_argument otherwise).
std::vector<double> full_costs(const BdonData& bdon, const Marks& object_marks,
                               const std::vector<Marks>& variant_marks);

// V: the sum of the full costs in BDON order; when 0 < ogrn < mz, the sum of the ogrn largest,
// added largest first (equal costs: the one first in BDON order first).
double capital_requirement(const BdonData& bdon, const Marks& object_marks,
                           const std::vector<Marks>& variant_marks, int ogrn);
double capital_requirement(const std::vector<double>& full_costs, int ogrn);

// Tick amounts of one variant as 64-bit counts (before they are stored as int32).
struct TickAmounts {
    std::int64_t own = 0;
    std::int64_t credit = 0;
    std::int64_t payback = 0;

    bool operator==(const TickAmounts&) const = default;
};

// The pay-back series step: (tmx - tmn) / (nt - 1), or 0 when nt < 2.
double payback_step(const TaskHeader& h);
// c_k = tmx - k x step (k = 0..nsg-1): mode 1's pay-back coefficient of variant k, and the value
// the input file's pay-back series holds for variant k in both modes (for mode 2 it starts with
// tmx, as the file layout requires; nothing in the system reads it).
double payback_coefficient(const TaskHeader& h, int k);
// h_k = tmn + k x step: mode 2's horizon of variant k (the optimiser; the viewers' ascending
// terms).
double payback_horizon(const TaskHeader& h, int k);
// The input file's pay-back series: payback_coefficient(h, k) for k = 0..nsg-1 (empty when
// prok = 0).
std::vector<double> payback_series(const TaskHeader& h);

// The pay-back amount (not rounded) of a variant with own funds O and credit L: mode 1 A x c_k
// (A = V when O + L >= V, else O + L); mode 2 nsd + V, nsd + V + (V - O) x ps / 100, or
// nsd + O + (1 + ps / 100) x L. 0 when prok = 0.
double payback_amount(const TaskHeader& h, const InvestmentVariant& v, double capital, int k);

// InvestmentTicks of variant k: V > O: own R(O), credit R(V - O) when O + L >= V, else R(L);
// otherwise own R(V), credit 0; pay-back R(payback_amount) when prok = 1.
TickAmounts investment_ticks(const TaskHeader& h, const InvestmentVariant& v, double capital,
                             int k);

// The choice groups from the marks: for each chosen object in BDON order, (-1, -1, -1), then for
// each chosen modernisation variant s ascending: (object, s, 1) without pay-back, or (object, s, v)
// for each chosen income variant v ascending (income_marks, only read when prok = 1).
std::vector<std::vector<ChoiceTriple>>
build_choice_groups(const TaskHeader& h, const BdonData& bdon, const Marks& object_marks,
                    const std::vector<Marks>& variant_marks,
                    const std::vector<std::vector<Marks>>& income_marks);

// The shape of the descriptor's income marks for a BDON: M x (n_i + 1) x (s or e by prmp), all
// empty.
std::vector<std::vector<Marks>> empty_income_marks(const BdonData& bdon, int prmp);

// What the wizard has when it finishes: the header (with toc, delta, ogrn, faza and
// the rest set), the variants and the marks.
struct TaskDefinition {
    TaskHeader header;
    std::vector<InvestmentVariant> variants;
    Marks row_marks;
    Marks object_marks;
    std::vector<Marks> variant_marks;
    std::vector<std::vector<Marks>> income_marks; // prok = 1 only; otherwise may be empty
    std::string shell_file_name;                  // ShellFileName
};

struct TaskFiles {
    TaskDescriptor descriptor;
    TaskInput input;
    double capital = 0; // V
};

// Builds both files: header.mz := the number of chosen objects, the groups from the marks, V, the
// InvestmentTicks of every variant and the pay-back series. Throws std::invalid_argument when
// the marks do not fit the BDON or a tick count does not fit an int32.
TaskFiles build_task_files(const TaskDefinition& def, const BdonData& bdon);

} // namespace kov
