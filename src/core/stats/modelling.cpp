#include "stats/modelling.h"

#include "dbor/expected_income.h"
#include "io/codepage.h"
#include "io/error.h"
#include "io/files.h"
#include "io/numbers.h"
#include "shell/texts.h"
#include "task/task_code.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace kov {

namespace {

constexpr double kArgumentTolerance = 1e-8;
constexpr double kDegenerateWidth = 1e-6;
// Trials simulated between two reports of the progress.
constexpr std::int32_t kProgressChunk = 4096;

std::string num(long long v) {
    return std::to_string(v);
}

// One chosen object of a variant as the trials see it.
struct Entry {
    const std::vector<DborPoint>* curve = nullptr;
    double room = 0;   // D: the horizon less the modernisation duration
    double amount = 0; // A (sale) or R (exploitation, per time unit)
};

// One investment variant during the run.
struct VariantRun {
    std::vector<Entry> entries;
    double full_cost = 0;
    double interest = 0; // mode 2: the credit interest on the full cost beyond own_1
    std::vector<double> incomes;
    double simulated_mean = 0;
    TStatBlock block{};
};

struct Progress {
    std::atomic<std::uint64_t> simulated{0};
    std::atomic<std::uint64_t> sorted{0};
};

const std::vector<DborPoint>& curve_of(const BdonData& bdon, int prmp, const ChoiceTriple& c) {
    const auto o = std::size_t(c.object - 1), j = std::size_t(c.modernisation),
               k = std::size_t(c.income - 1);
    return prmp == 1 ? bdon.sale_points[o][j][k] : bdon.expl_points[o][j][k];
}

double amount_of(const BdonData& bdon, int prmp, const ChoiceTriple& c) {
    const auto o = std::size_t(c.object - 1), j = std::size_t(c.modernisation),
               k = std::size_t(c.income - 1);
    return prmp == 1 ? bdon.sale_variants[o][j][k].revenue : bdon.expl_variants[o][j][k].income;
}

std::string database_name(const BdonData& bdon) {
    if (!bdon.path.empty()) {
        return std::filesystem::path(bdon.path).filename().string();
    }
    return dbor_code(bdon.header);
}

// The records of variant v (none when the solution has no body).
const std::vector<ChoiceTriple>& plan_of(const ModellingInput& in, std::size_t v) {
    static const std::vector<ChoiceTriple> empty;
    return in.plans.empty() ? empty : in.plans[v];
}

// The generator advanced by n draws at once: state := mul x state + add.
struct GeneratorStride {
    std::uint32_t mul = 1;
    std::uint32_t add = 0;
};
GeneratorStride generator_stride(std::size_t n) {
    GeneratorStride s;
    for (std::size_t i = 0; i < n; ++i) {
        s = {s.mul * 134775813u, s.add * 134775813u + 1u};
    }
    return s;
}

// Ascending order by an LSD radix sort of the doubles' bit patterns, turned into unsigned keys
// that order as the numbers do.
void sort_incomes(std::vector<double>& values) {
    constexpr int kDigitBits = 11;
    constexpr int kPasses = 6;
    constexpr std::size_t kDigits = std::size_t(1) << kDigitBits;
    constexpr std::uint64_t kSign = std::uint64_t(1) << 63;
    const std::size_t n = values.size();
    std::vector<std::uint64_t> keys(n), spare(n);
    std::vector<std::array<std::uint32_t, kDigits>> counts(kPasses);
    for (auto& c : counts) {
        c.fill(0);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(values[i]);
        keys[i] = (bits & kSign) != 0 ? ~bits : bits | kSign;
        for (int p = 0; p < kPasses; ++p) {
            ++counts[std::size_t(p)][(keys[i] >> (p * kDigitBits)) & (kDigits - 1)];
        }
    }
    for (int p = 0; p < kPasses && n > 0; ++p) {
        auto& c = counts[std::size_t(p)];
        const int shift = p * kDigitBits;
        if (c[(keys[0] >> shift) & (kDigits - 1)] == n) {
            continue; // every key has the same digit here
        }
        std::uint32_t sum = 0;
        for (std::uint32_t& count : c) {
            const std::uint32_t here = count;
            count = sum;
            sum += here;
        }
        for (const std::uint64_t key : keys) {
            spare[c[(key >> shift) & (kDigits - 1)]++] = key;
        }
        keys.swap(spare);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t key = keys[i];
        values[i] = std::bit_cast<double>((key & kSign) != 0 ? key ^ kSign : ~key);
    }
}

// Adds entry k's income to every trial of [begin, end). Its draws are every n-th number of the
// sequence (n entries per trial), which `state` follows with the stride; the trials get the same
// numbers, added in the same order, as drawing entry after entry within each trial.
template <int Prmp>
void add_entry(std::vector<double>& incomes, std::int32_t begin, std::int32_t end, const Entry& e,
               const DelaySampler& sampler, std::uint32_t& state, GeneratorStride stride) {
    std::uint32_t s = state;
    double* const out = incomes.data();
    const double room = e.room;
    const double amount = e.amount;
    for (std::int32_t t = begin; t < end; ++t) {
        const double delay = sampler.draw(s);
        s = stride.mul * s + stride.add;
        // A delay beyond D adds nothing: its income is masked to +0, and adding +0 leaves every
        // trial income as it is (none is -0). The mask spares a branch that the random delays
        // would mispredict.
        const double income = Prmp == 1 ? amount : (room - delay) * amount;
        const std::uint64_t keep = std::uint64_t(0) - std::uint64_t(!(delay > room));
        out[t] += std::bit_cast<double>(std::bit_cast<std::uint64_t>(income) & keep);
    }
    state = s;
}

void simulate_variant(VariantRun& run, int prmp, int reg, std::int32_t trials, Progress& progress) {
    const std::size_t n = run.entries.size();
    std::vector<DelaySampler> samplers;
    samplers.reserve(n);
    // The state before entry k's first draw is the k-th number of the sequence from 0.
    std::vector<std::uint32_t> states;
    StatRandom random;
    random.reset();
    for (const Entry& e : run.entries) {
        samplers.emplace_back(build_delay_grid(*e.curve));
        states.push_back(random.next_state());
    }
    const GeneratorStride stride = generator_stride(n);
    run.incomes.assign(std::size_t(trials), 0.0);
    double mean = 0;
    for (std::int32_t begin = 0; begin < trials; begin += kProgressChunk) {
        const std::int32_t end = std::min(trials, begin + kProgressChunk);
        for (std::size_t k = 0; k < n; ++k) {
            if (prmp == 1) {
                add_entry<1>(run.incomes, begin, end, run.entries[k], samplers[k], states[k],
                             stride);
            } else {
                add_entry<2>(run.incomes, begin, end, run.entries[k], samplers[k], states[k],
                             stride);
            }
        }
        for (std::int32_t t = begin; t < end; ++t) {
            double& income = run.incomes[std::size_t(t)];
            if (reg == 2) {
                income = income - run.full_cost - run.interest;
            }
            mean += income;
        }
        progress.simulated += std::uint64_t(end - begin);
    }
    run.simulated_mean = mean / trials;

    sort_incomes(run.incomes);
    for (int j = 1; j <= int(kStatThresholds); ++j) {
        run.block[std::size_t(j - 1)] = {j / 10.0, run.incomes[threshold_position(trials, j)]};
    }
    progress.sorted += std::uint64_t(trials);
}

// Simulates every variant, on `threads` threads, reporting the running notice in this thread.
void simulate_all(std::vector<VariantRun>& runs, int prmp, int reg, std::int32_t trials,
                  const ModellingOptions& options) {
    Progress progress;
    unsigned threads =
        options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, unsigned(runs.size()));
    if (threads <= 1 && !options.notice) {
        for (VariantRun& run : runs) {
            simulate_variant(run, prmp, reg, trials, progress);
        }
        return;
    }
    threads = std::max(1u, threads);

    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = threads;
    std::exception_ptr failure;
    auto work = [&] {
        try {
            for (std::size_t v = next++; v < runs.size(); v = next++) {
                simulate_variant(runs[v], prmp, reg, trials, progress);
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!failure) {
                failure = std::current_exception();
            }
            next = runs.size();
        }
        const std::lock_guard lock(mutex);
        --running;
        finished.notify_all();
    };
    // Joined on the way out, also when a notice throws.
    std::vector<std::jthread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        workers.emplace_back(work);
    }

    const std::uint64_t total = std::uint64_t(trials) * runs.size();
    bool visible = true;
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, std::chrono::milliseconds(5));
            if (options.notice) {
                const bool now = running_notice_visible(progress.simulated, progress.sorted, total);
                if (now != visible) {
                    visible = now;
                    lock.unlock();
                    options.notice(visible);
                    lock.lock();
                }
            }
        }
    }
    for (std::jthread& w : workers) {
        w.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (options.notice) {
        options.notice(true); // the trials are sorted: the notice stands until the file is written
    }
}

} // namespace

// ---- Random numbers and delays ----------------------------------------------------------------

DelayGrid build_delay_grid(std::span<const DborPoint> curve) {
    const std::size_t m = curve.size();
    if (m < 2) {
        throw std::invalid_argument("delay grid: a delay curve needs at least 2 points, not " +
                                    num(long(m)));
    }
    DelayGrid grid;
    const double first = curve[0].x;
    const double last = curve[m - 1].x;
    const double step = (last - first) / double(kDelayGridPoints);
    for (std::size_t g = 1; g <= kDelayGridPoints; ++g) {
        // x_0 + 1000 h can miss x_last by a rounding; the grid ends exactly at the last point.
        const double t = g == kDelayGridPoints ? last : first + double(g) * step;
        // A point that no segment holds (a curve whose delays decrease) takes the last value.
        double value = curve[m - 1].y;
        for (std::size_t k = 0; k + 1 < m; ++k) {
            if (curve[k].x - kArgumentTolerance < t && t < curve[k + 1].x + kArgumentTolerance) {
                const double width = curve[k + 1].x - curve[k].x;
                value = width <= kDegenerateWidth
                            ? curve[k + 1].y
                            : curve[k].y + (curve[k + 1].y - curve[k].y) * (t - curve[k].x) / width;
                break;
            }
        }
        grid.t[g - 1] = t;
        grid.g[g - 1] = value;
    }
    return grid;
}

double draw_delay(const DelayGrid& grid, double u) {
    for (std::size_t g = 0; g < kDelayGridPoints; ++g) {
        if (grid.g[g] >= u) {
            return grid.t[g];
        }
    }
    return grid.t[kDelayGridPoints - 1];
}

DelaySampler::DelaySampler(const DelayGrid& grid) {
    std::copy(grid.t.begin(), grid.t.end(), t_.begin());
    t_[kDelayGridPoints] = grid.t[kDelayGridPoints - 1];
    // NaN values never reach u and never enter the running maximum.
    double reach = -std::numeric_limits<double>::infinity();
    for (std::size_t g = 0; g < kDelayGridPoints; ++g) {
        if (grid.g[g] > reach) {
            reach = grid.g[g];
        }
        reach_[g] = reach;
    }
    reach_[kDelayGridPoints] = std::numeric_limits<double>::infinity();
    std::size_t g = 0;
    for (std::size_t b = 0; b <= kBuckets; ++b) {
        const double bound = double(b) / double(kBuckets);
        while (g < kDelayGridPoints && reach_[g] < bound) {
            ++g;
        }
        first_[b] = std::uint16_t(g);
    }
}

// ---- The modelling ----------------------------------------------------------------------------

void check_modelling_input(const ModellingInput& in) {
    const TaskHeader& h = in.header;
    const auto fail = [&](const std::string& what) { throw format_error(in.solution_file, what); };
    if (h.nsg < 1 || h.nsg > kMaxInvestmentVariants) {
        fail("the task " + h.shifr + " has " + num(h.nsg) + " investment variants");
    }
    if (h.prmp != 1 && h.prmp != 2) {
        fail("the task " + h.shifr + " maximises the unknown parameter " + num(h.prmp));
    }
    if (in.variants.size() != std::size_t(h.nsg) ||
        (!in.plans.empty() && in.plans.size() != in.variants.size())) {
        fail("the task " + h.shifr + " has " + num(h.nsg) + " investment variants, the solution " +
             num(long(in.plans.size())));
    }
    const BdonData& bdon = in.bdon;
    const std::string db = "\"" + database_name(bdon) + "\"";
    const char* kind = h.prmp == 1 ? "sale" : "exploitation";
    for (std::size_t v = 0; v < in.plans.size(); ++v) {
        for (const ChoiceTriple& c : in.plans[v]) {
            if (!c.real()) {
                continue;
            }
            const std::string where = "investment variant " + num(long(v + 1)) + ": ";
            if (std::size_t(c.object) > bdon.objects.size()) {
                fail(where + "the database " + db + " has no object " + num(c.object) +
                     " (it holds " + num(long(bdon.objects.size())) + ")");
            }
            const auto o = std::size_t(c.object - 1);
            const std::string object =
                "object " + num(c.object) + " \"" + bdon.objects[o].code + "\"";
            if (c.modernisation < 0 || std::size_t(c.modernisation) >= bdon.variants[o].size()) {
                fail(where + object + " has no modernisation variant " + num(c.modernisation) +
                     " in the database " + db);
            }
            const auto j = std::size_t(c.modernisation);
            const std::size_t count =
                h.prmp == 1 ? bdon.sale_variants[o][j].size() : bdon.expl_variants[o][j].size();
            const std::string variant = object + ", modernisation variant " + num(c.modernisation);
            if (c.income < 1 || std::size_t(c.income) > count) {
                fail(where + variant + " has no " + kind + " variant " + num(c.income) +
                     " in the database " + db);
            }
            if (curve_of(bdon, h.prmp, c).size() < 2) {
                fail(where + "the " + kind + " variant " + num(c.income) + " of " + variant +
                     " has no delay curve in the database " + db);
            }
        }
    }
}

std::vector<double> modelling_series(const TaskHeader& h) {
    const double step = h.nt >= 2 ? (h.tmx - h.tmn) / (h.nt - 1) : 0.0;
    std::vector<double> series;
    double value = h.reg == 1 ? h.tmx : h.tmn;
    for (int i = 0; i < h.nsg; ++i) {
        series.push_back(value);
        value = h.reg == 1 ? value - step : value + step;
    }
    return series;
}

std::size_t threshold_position(std::int32_t trials, int j) {
    const long long tenths = (long long)trials * j;
    long long rounded = tenths / 10;
    const long long rest = tenths % 10;
    if (rest > 5 || (rest == 5 && rounded % 2 == 1)) {
        ++rounded;
    }
    return std::size_t(rounded - 1);
}

bool running_notice_visible(std::uint64_t simulated, std::uint64_t sorted,
                            std::uint64_t total_simulated) {
    if (simulated < total_simulated || sorted == 0) {
        return simulated % 500 < 250;
    }
    const std::uint64_t counter = total_simulated % 500 + sorted;
    if (counter < 1000) {
        return total_simulated % 500 < 250;
    }
    return counter % 2000 < 1000;
}

StatFile model_statistics(const ModellingInput& in, std::int32_t trials,
                          const ModellingOptions& options) {
    if (trials < kMinTrials || trials > kMaxTrials) {
        throw std::invalid_argument("modelling: " + num(trials) +
                                    " trials are outside 100..100000");
    }
    check_modelling_input(in);
    const TaskHeader& h = in.header;
    const BdonData& bdon = in.bdon;
    const std::vector<double> series = modelling_series(h);
    const double own_1 = in.variants.front().own;

    const auto T = std::size_t(h.nsg);
    std::vector<TStatVariant> records(T);
    std::vector<VariantRun> runs(T);
    for (std::size_t i = 0; i < T; ++i) {
        const double horizon = h.reg == 1 ? h.soi : series[i];
        TStatVariant& r = records[i];
        VariantRun& run = runs[i];
        double amount = 0;
        double computed = 0;
        for (const ChoiceTriple& c : plan_of(in, i)) {
            if (!c.real()) {
                continue;
            }
            const DborObject& object = bdon.objects[std::size_t(c.object - 1)];
            const DborVariant& variant =
                bdon.variants[std::size_t(c.object - 1)][std::size_t(c.modernisation)];
            const std::vector<DborPoint>& curve = curve_of(bdon, h.prmp, c);
            const double w = amount_of(bdon, h.prmp, c);
            run.full_cost += object.cost + variant.cost;
            amount += w;
            const double expected = expected_income(curve, w, variant.duration, h.prmp, horizon);
            computed += h.reg == 1 ? expected : expected - variant.cost;
            run.entries.push_back({&curve, horizon - variant.duration, w});
        }
        if (run.full_cost > own_1) {
            run.interest = (run.full_cost - own_1) * h.ps / 100;
        }
        if (h.reg == 2) {
            computed -= run.interest;
        }

        const InvestmentVariant& money = in.variants[i];
        r.number = std::int32_t(i + 1);
        r.own = money.own;
        r.credit = money.credit;
        r.full_cost = run.full_cost;
        if (h.prmp == 1) {
            const double borrowed = run.full_cost - money.own;
            r.expected_income = borrowed > 0 ? amount - run.full_cost - 0.01 * h.ps * borrowed
                                             : amount - run.full_cost;
        } else {
            r.expected_income = amount;
        }
        r.computed_mean = computed;
        if (h.reg == 1) {
            r.payback_term = h.soi;
            r.payback_coefficient = series[i];
            r.payback_amount = run.full_cost * series[i];
        } else {
            r.payback_term = series[i];
            r.payback_coefficient = 1.0;
            r.payback_amount = h.nsd;
        }
    }

    simulate_all(runs, h.prmp, h.reg, trials, options);

    StatFile s;
    s.header.trials = trials;
    s.header.money_unit = bdon.header.cost_unit;
    s.header.time_unit = bdon.header.time_unit;
    for (std::size_t i = 0; i < T; ++i) {
        records[i].simulated_mean = runs[i].simulated_mean;
        s.blocks.push_back(runs[i].block);
    }
    // Selection by expected income, largest first; the first of equal records is taken.
    for (std::size_t p = 0; p + 1 < T; ++p) {
        std::size_t best = p;
        for (std::size_t q = p + 1; q < T; ++q) {
            if (records[q].expected_income > records[best].expected_income) {
                best = q;
            }
        }
        std::swap(records[p], records[best]);
    }
    s.variants = std::move(records);
    return s;
}

// ---- The run ----------------------------------------------------------------------------------

StatRequest check_stat_request(const std::string& workspace, std::string_view code,
                               std::string_view trials_text, CodePage cp) {
    StatRequest r;
    if (!is_task_code(code)) {
        r.refusal = StatRefusal::CodeIncomplete;
        return r;
    }
    const std::optional<int> trials = parse_int(trim(trials_text));
    if (!trials) {
        r.refusal = StatRefusal::TrialsNotNumber;
        return r;
    }
    if (*trials < kMinTrials || *trials > kMaxTrials) {
        r.refusal = StatRefusal::TrialsOutOfRange;
        return r;
    }
    r.trials = *trials;
    const std::string descriptor = task_file_path(workspace, "Data", code, "");
    if (!file_exists(descriptor)) {
        r.refusal = StatRefusal::DescriptorMissing;
    } else if (!file_exists(task_file_path(workspace, "Data", code, "_out"))) {
        r.refusal = StatRefusal::SolutionMissing;
    } else if (read_task_header(descriptor, cp).stat == 0) {
        r.refusal = StatRefusal::NotAllowed;
    }
    return r;
}

std::string stat_refusal_text(const LanguageShell& shell, StatRefusal refusal,
                              std::string_view code) {
    const std::string quoted = " \"" + std::string(code) + "\" ";
    switch (refusal) {
    case StatRefusal::CodeIncomplete:
        return shell.text(txt::CodeIncomplete) + ".";
    case StatRefusal::TrialsOutOfRange:
        return shell.text(txt::TrialsOutOfRange) + ".";
    case StatRefusal::DescriptorMissing:
        return shell.text(txt::TheTask) + quoted + shell.text(txt::HasNoInputData) + ".";
    case StatRefusal::SolutionMissing:
        return shell.text(txt::TheTask) + quoted + shell.text(txt::IsNotSolved) + ".";
    case StatRefusal::NotAllowed:
        return shell.text(txt::ForTheTask) + quoted + shell.text(txt::StatisticsNotProvided) + ".";
    case StatRefusal::None:
    case StatRefusal::TrialsNotNumber:
        break;
    }
    return {};
}

std::string stat_replace_question(const LanguageShell& shell, std::string_view code,
                                  std::int32_t old_trials) {
    return shell.text(txt::StatisticsExist) + " \"" + std::string(code) + "\" " +
           shell.text(txt::ComputedWithTrials) + " - " + num(old_trials) + ". " +
           shell.text(txt::ReplaceThem);
}

std::string stat_done_text(const LanguageShell& shell, std::string_view code) {
    return shell.text(txt::StatisticsOfTask) + " \"" + std::string(code) + "\" " +
           shell.trimmed(txt::AreCreated) + ".";
}

ModellingInput read_modelling_input(const std::string& workspace, std::string_view code,
                                    std::string_view suffix, CodePage cp) {
    TaskDescriptor d = read_task_variants(task_file_path(workspace, "Data", code, ""), cp);
    ModellingInput in;
    in.header = d.header;
    in.variants = std::move(d.variants);
    in.bdon = read_bdon(task_bdon_base(workspace, in.header, suffix), cp);
    in.solution_file = task_file_path(workspace, "Data", code, "_out");
    in.plans = read_solution(in.solution_file, in.header, in.bdon, nullptr, cp).plans;
    return in;
}

StatFile create_statistics(const std::string& workspace, std::string_view code,
                           std::string_view suffix, CodePage cp, std::int32_t trials,
                           const std::function<std::string(double seconds)>& elapsed_text,
                           const ModellingOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    const std::string target = task_file_path(workspace, "Data", code, "_stat");
    const ModellingInput in = read_modelling_input(workspace, code, suffix, cp);
    StatFile s = model_statistics(in, trials, options);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    s.header.elapsed = elapsed_text(elapsed.count());
    write_stat_file(target, s, cp);
    return s;
}

} // namespace kov
