#pragma once

// The statistical modelling (Monte Carlo) of the income of every investment variant of a solved
// task with pay-back, and the statistics file Data/kov_<TaskCode>_stat.dat it writes.
//
// Every trial draws, for each chosen object of the variant, the delay before its sale or the
// start of its exploitation from the object's delay curve; the sorted trial incomes give the
// threshold incomes at the risk probabilities 0.1 to 1.0.

#include "dbor/bdon.h"
#include "optim/solution_file.h"
#include "shell/language_shell.h"
#include "stats/stat_file.h"
#include "task/task_files.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// ---- Random numbers and delays ----------------------------------------------------------------

// The 32-bit linear congruential generator of the modelling: state := state x 134775813 + 1
// (mod 2^32); the number drawn is the new state / 2^32, so 0 <= u < 1.
class StatRandom {
public:
    void reset() { state_ = 0; }
    std::uint32_t next_state() {
        state_ = state_ * 134775813u + 1u;
        return state_;
    }
    static double unit(std::uint32_t state) { return state / 4294967296.0; }
    double next() { return unit(next_state()); }

private:
    std::uint32_t state_ = 0;
};

// The delay grid of one delay curve: t_g = x_0 + g h (h = (x_last - x_0) / 1000, t_1000 = x_last)
// and G_g the curve at t_g, g = 1..1000 (stored 0-based).
inline constexpr std::size_t kDelayGridPoints = 1000;
struct DelayGrid {
    std::array<double, kDelayGridPoints> t{};
    std::array<double, kDelayGridPoints> g{};
};
// std::invalid_argument for a curve of fewer than 2 points.
DelayGrid build_delay_grid(std::span<const DborPoint> curve);

// The drawn delay: t_g of the first grid point in order whose G_g reaches u, or the last grid
// point t_1000 when none does (a curve that ends in a vertical step stays below 1 on the grid).
// This is the defining linear scan.
double draw_delay(const DelayGrid& grid, double u);

// The same draw, found through an index of the grid instead of a scan: for every generator state
// it returns exactly the point draw_delay(grid, StatRandom::unit(state)) returns.
class DelaySampler {
public:
    explicit DelaySampler(const DelayGrid& grid);
    double draw(std::uint32_t state) const {
        // u lies in bucket b = floor(u 2^kBucketBits): no point before first_[b] reaches it, and
        // the point first_[b + 1] (if any) does. Mostly a bucket holds one point at most.
        const std::size_t b = state >> (32 - kBucketBits);
        const double u = StatRandom::unit(state);
        const std::size_t lo = first_[b];
        const std::size_t hi = first_[b + 1];
        std::size_t g = lo;
        if (hi - lo <= 1) {
            g += std::size_t(reach_[lo] < u);
        } else {
            g = std::size_t(std::lower_bound(reach_.begin() + lo, reach_.begin() + hi, u) -
                            reach_.begin());
        }
        return t_[g];
    }

private:
    static constexpr int kBucketBits = 12;
    static constexpr std::size_t kBuckets = std::size_t(1) << kBucketBits;

    // The grid's delays, and t_1000 once more for the draws that no point reaches.
    std::array<double, kDelayGridPoints + 1> t_{};
    // The running maximum of G, ending in +infinity: the first point whose maximum reaches u is
    // the first point whose own value reaches u, and the maxima are ordered, so the point can be
    // searched for.
    std::array<double, kDelayGridPoints + 1> reach_{};
    // first_[b]: the first point whose maximum reaches b / 2^kBucketBits (kDelayGridPoints: none).
    std::array<std::uint16_t, kBuckets + 1> first_{};
};

// ---- The modelling ----------------------------------------------------------------------------

// What the modelling reads: the task descriptor's header and investment variants, the task's
// database as it is now and the solution's plans (plans[v][g]: the record of group g + 1 in
// variant v + 1). The file names name the solution and the database in refusals.
struct ModellingInput {
    TaskHeader header;
    std::vector<InvestmentVariant> variants;
    std::vector<std::vector<ChoiceTriple>> plans;
    BdonData bdon;
    std::string solution_file;
};

// Refuses (FileError format naming the solution file, the object and the database) a solution
// that does not fit the database as it is now: a record whose object, modernisation variant or
// income variant (sale for prmp 1, exploitation for prmp 2) the database does not hold, or whose
// income variant has no delay curve; also plans and variants not sized by nsg. A database
// corrected after the task was solved is the usual cause.
void check_modelling_input(const ModellingInput& in);

// The pay-back series S_1..S_nsg: S_1 = tmx (reg 1) or tmn (reg 2), each next value one step
// (tmx - tmn) / (nt - 1) (0 when nt < 2) lower (reg 1) or higher (reg 2) than the one before.
std::vector<double> modelling_series(const TaskHeader& h);

// The 0-based position of the threshold j (1..10) among the sorted trials:
// round(trials x j / 10) - 1, halves rounded to the even neighbour.
std::size_t threshold_position(std::int32_t trials, int j);

// Whether the running notice is shown, after `simulated` of `total_simulated` trials (over all
// variants) and `sorted` sorted positions. One counter runs through both phases: the simulation
// hides the notice at 250 and shows it at 500, returning to 0; the sorting goes on from there,
// hides it at 1000 and shows it at 2000, returning to 0.
bool running_notice_visible(std::uint64_t simulated, std::uint64_t sorted,
                            std::uint64_t total_simulated);

struct ModellingOptions {
    // Threads that simulate variants side by side; 0: as many as the machine has. The variants
    // are independent (the generator restarts for each), so the result does not depend on it.
    unsigned threads = 0;
    // Called in the calling thread whenever the running notice is to be shown or hidden, and with
    // true once the trials are sorted.
    std::function<void(bool visible)> notice;
};

// Models every variant with `trials` trials (kMinTrials..kMaxTrials, std::invalid_argument
// otherwise) and returns the statistics: the header's trial count and units (the elapsed time is
// left empty), the records sorted by expected income, the threshold blocks in variant order.
// Checks the input first (check_modelling_input).
StatFile model_statistics(const ModellingInput& in, std::int32_t trials,
                          const ModellingOptions& options = {});

// ---- The run ----------------------------------------------------------------------------------

// The checks before a run, in their order; the first that fails is the answer.
enum class StatRefusal {
    None,
    CodeIncomplete,    // the task code is shorter than six characters
    TrialsNotNumber,   // the trial count is not an integer (no message: the field takes the focus)
    TrialsOutOfRange,  // outside 100..100000
    DescriptorMissing, // Data/kov_<code>.dat
    SolutionMissing,   // Data/kov_<code>_out.dat
    NotAllowed,        // the descriptor's stat is 0
};
struct StatRequest {
    StatRefusal refusal = StatRefusal::None;
    std::int32_t trials = 0;
};
// `code` is the task code as typed (a TaskCode once it has six characters); `trials_text` is
// trimmed before it is read. Reads the descriptor's header (FileError when it cannot be read).
StatRequest check_stat_request(const std::string& workspace, std::string_view code,
                               std::string_view trials_text, CodePage cp);

// The message of a refusal (empty for TrialsNotNumber and None).
std::string stat_refusal_text(const LanguageShell& shell, StatRefusal refusal,
                              std::string_view code);
// The question before an existing statistics file is replaced.
std::string stat_replace_question(const LanguageShell& shell, std::string_view code,
                                  std::int32_t old_trials);
// The message at the end of a run.
std::string stat_done_text(const LanguageShell& shell, std::string_view code);

// Reads what the modelling needs: the descriptor Data/kov_<code>.dat (header and variants), the
// task's database and the solution Data/kov_<shifr>_out.dat of the code the descriptor holds.
ModellingInput read_modelling_input(const std::string& workspace, std::string_view code,
                                    std::string_view suffix, CodePage cp);

// A whole run after the checks: reads the files, models, formats the elapsed time (in seconds,
// measured on a steady clock, written as elapsed hours, minutes and seconds) and writes
// Data/kov_<code>_stat.dat atomically, replacing an existing one; nothing is written when
// anything fails. Returns what was written.
StatFile create_statistics(const std::string& workspace, std::string_view code,
                           std::string_view suffix, CodePage cp, std::int32_t trials,
                           const std::function<std::string(double seconds)>& elapsed_text,
                           const ModellingOptions& options = {});

} // namespace kov
