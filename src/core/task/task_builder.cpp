#include "task/task_builder.h"

#include "shell/language_shell.h"
#include "shell/texts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace kov {

namespace {

constexpr double kTolerance = 0.000001;

std::int64_t saturating_add(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    return __builtin_add_overflow(a, b, &r) ? std::numeric_limits<std::int64_t>::max() : r;
}

std::int64_t saturating_mul(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    return __builtin_mul_overflow(a, b, &r) ? std::numeric_limits<std::int64_t>::max() : r;
}

// The revenue / full-cost test of investment mode 1; mode 2 has no threshold.
bool passes_threshold(const TaskHeader& h, double amount, double full_cost) {
    return h.reg != 1 || h.por - kTolerance <= amount / (full_cost + 0.00000001);
}

const std::vector<DborPoint>& delay_curve(const BdonData& bdon, int prmp, std::size_t i,
                                          std::size_t s, std::size_t v) {
    return prmp == 1 ? bdon.sale_points[i][s][v] : bdon.expl_points[i][s][v];
}

// An income variant a task with pay-back can use: a delay curve of 2 points or more, and the
// probability that the income has not started by the control term within the bound.
bool meets_probability_bound(const TaskHeader& h, const std::vector<DborPoint>& curve) {
    return curve.size() >= 2 && no_sale_probability(curve, h.srok) <= h.ver + kTolerance;
}

} // namespace

std::size_t income_variant_count(const BdonData& bdon, int prmp, std::size_t i, std::size_t s) {
    return prmp == 1 ? bdon.sale_variants[i][s].size() : bdon.expl_variants[i][s].size();
}

double income_amount(const BdonData& bdon, int prmp, std::size_t i, std::size_t s, std::size_t v) {
    return prmp == 1 ? bdon.sale_variants[i][s][v].revenue : bdon.expl_variants[i][s][v].income;
}

double no_sale_probability(std::span<const DborPoint> curve, double term) {
    if (curve.empty() || curve.back().x - 1e-8 < term) {
        return 0;
    }
    for (std::size_t j = 0; j + 1 < curve.size(); ++j) {
        const DborPoint& a = curve[j];
        const DborPoint& b = curve[j + 1];
        if (a.x - 1e-8 < term && b.x + 1e-8 > term) {
            if (b.x - a.x <= kTolerance) {
                return 1 - b.y;
            }
            return 1 - (a.y + (b.y - a.y) * (term - a.x) / (b.x - a.x));
        }
    }
    return 0;
}

Marks initial_row_marks(const BdonData& bdon, int tipz, const Marks& saved) {
    const std::vector<std::size_t> rows = listed_objects(bdon, tipz);
    Marks marks(rows.size(), false);
    for (std::size_t r = 0; r < rows.size() && r < saved.size(); ++r) {
        marks[r] = saved[r] && !bdon.objects[rows[r]].absent();
    }
    return marks;
}

bool variant_admissible(const TaskHeader& h, const BdonData& bdon, std::size_t i, std::size_t s) {
    const DborVariant& variant = bdon.variants[i][s];
    const std::size_t incomes = income_variant_count(bdon, h.prmp, i, s);
    if (variant.duration > h.mzad + kTolerance || incomes == 0) {
        return false;
    }
    const double full_cost = bdon.objects[i].cost + variant.cost;
    if (h.prok != 1) {
        return passes_threshold(h, income_amount(bdon, h.prmp, i, s, 0), full_cost);
    }
    for (std::size_t v = 0; v < incomes; ++v) {
        if (passes_threshold(h, income_amount(bdon, h.prmp, i, s, v), full_cost) &&
            meets_probability_bound(h, delay_curve(bdon, h.prmp, i, s, v))) {
            return true;
        }
    }
    return false;
}

ObjectChoice choose_objects(const TaskHeader& h, const BdonData& bdon, const Marks& row_marks) {
    const std::vector<std::size_t> rows = listed_objects(bdon, h.tipz);
    if (row_marks.size() != rows.size()) {
        throw std::invalid_argument("task: " + std::to_string(row_marks.size()) +
                                    " row marks for " + std::to_string(rows.size()) +
                                    " listed objects");
    }
    ObjectChoice choice;
    choice.object_marks.assign(bdon.objects.size(), false);
    choice.variant_marks.resize(bdon.objects.size());
    for (std::size_t i = 0; i < bdon.objects.size(); ++i) {
        choice.variant_marks[i].assign(bdon.variants[i].size(), false);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t i = rows[r];
        if (!row_marks[r] || bdon.objects[i].absent()) {
            continue;
        }
        for (std::size_t s = 0; s < bdon.variants[i].size(); ++s) {
            if (variant_admissible(h, bdon, i, s)) {
                choice.variant_marks[i][s] = true;
                choice.object_marks[i] = true;
            }
        }
        choice.mz += choice.object_marks[i];
    }
    return choice;
}

std::int32_t effective_object_limit(std::int32_t ogrn, std::int32_t mz) {
    return ogrn > 0 && ogrn >= mz ? 0 : ogrn;
}

std::vector<std::vector<Marks>> choose_income_variants(const TaskHeader& h, const BdonData& bdon,
                                                       const std::vector<Marks>& variant_marks) {
    std::vector<std::vector<Marks>> marks = empty_income_marks(bdon, h.prmp);
    if (h.prok != 1) {
        return marks;
    }
    for (std::size_t i = 0; i < marks.size() && i < variant_marks.size(); ++i) {
        for (std::size_t s = 0; s < marks[i].size() && s < variant_marks[i].size(); ++s) {
            if (!variant_marks[i][s]) {
                continue;
            }
            for (std::size_t v = 0; v < marks[i][s].size(); ++v) {
                marks[i][s][v] = meets_probability_bound(h, delay_curve(bdon, h.prmp, i, s, v));
            }
        }
    }
    return marks;
}

bool payback_met(const TaskHeader& h, int k, std::int64_t own, std::int64_t x0, std::int64_t x1) {
    constexpr double tolerance = 1e-8;
    if (h.prok != 1) {
        return true;
    }
    if (h.reg == 1) {
        return !(x0 > 0 && double(x1) / double(x0) < payback_coefficient(h, k) - tolerance);
    }
    const double interest = x0 > own ? double(x0 - own) * h.ps / 100 : 0.0;
    return !(double(x1) < double(x0) + interest + h.nsd / h.delta - tolerance);
}

std::int64_t payback_cap(const TaskHeader& h, const TickAmounts& t, int k) {
    const std::int64_t money = saturating_add(t.own, t.credit);
    auto met = [&](std::int64_t n) { return payback_met(h, k, t.own, money, n); };
    if (met(t.payback)) {
        return t.payback;
    }
    // The requirement as a real bound on n; met() is monotone in n, so the first integer that
    // meets it lies a step or two from this bound's ceiling.
    double bound = 0;
    if (h.reg == 1) {
        bound = double(money) * (payback_coefficient(h, k) - 1e-8);
    } else {
        const double interest = money > t.own ? double(money - t.own) * h.ps / 100 : 0.0;
        bound = double(money) + interest + h.nsd / h.delta - 1e-8;
    }
    if (!(bound < 0x1p52)) {
        return std::numeric_limits<std::int64_t>::max();
    }
    std::int64_t n = std::max(t.payback + 1, std::int64_t(std::ceil(bound)));
    while (n > t.payback + 1 && met(n - 1)) {
        --n;
    }
    while (!met(n)) {
        ++n;
    }
    return n;
}

TaskSize size_task(const TaskHeader& h, const std::vector<InvestmentVariant>& variants,
                   const BdonData& bdon, const ObjectChoice& choice) {
    TaskSize size;
    if (!(h.delta >= kTolerance)) {
        size.check = SizeCheck::TickTooSmall;
        return size;
    }
    size.capital = capital_requirement(bdon, choice.object_marks, choice.variant_marks, h.ogrn);
    size.ogrn = effective_object_limit(h.ogrn, choice.mz);

    for (std::size_t k = 0; k < variants.size(); ++k) {
        const TickAmounts t = investment_ticks(h, variants[k], size.capital, int(k));
        const std::int64_t money = saturating_add(t.own, t.credit);
        if (h.prok == 1) {
            // Every variant of a pay-back task has the same money; the first one, with the
            // largest coefficient in mode 1, has the largest pay-back amount and P*.
            size.money_ticks = money;
            size.payback_ticks = payback_cap(h, t, int(k));
            break;
        }
        if (k == 0 || money > size.money_ticks) {
            size.money_ticks = money;
        }
    }

    std::int64_t faza = choice.mz;
    for (std::int64_t factor : {size.money_ticks, size.payback_ticks, std::int64_t(size.ogrn)}) {
        faza = saturating_mul(faza, saturating_add(factor, 1));
    }
    size.faza = saturating_add(faza, 2);
    if (size.faza > kMaxFaza) {
        size.check = SizeCheck::TooManyStates;
        return size;
    }

    if (h.prok == 1) {
        for (std::size_t k = 0; k < variants.size(); ++k) {
            if (investment_ticks(h, variants[k], size.capital, int(k)).payback < 1) {
                size.check = SizeCheck::PaybackBelowTick;
                size.failed_variant = int(k) + 1;
                return size;
            }
        }
    }
    return size;
}

PreparedTask prepare_task(const TaskDraft& draft, const BdonData& bdon,
                          const std::string& shell_file_name) {
    PreparedTask task;
    TaskHeader h = draft.header;
    h.mt = std::int32_t(listed_objects(bdon, h.tipz).size());
    if (h.mt == 0) {
        task.problem = DraftProblem::NoObjectListed;
        return task;
    }
    bool selected = false;
    for (bool mark : draft.row_marks) {
        selected = selected || mark;
    }
    if (!selected) {
        task.problem = DraftProblem::NoObjectSelected;
        return task;
    }

    task.choice = choose_objects(h, bdon, draft.row_marks);
    h.mz = task.choice.mz;
    if (h.mz == 0) {
        task.problem = DraftProblem::NoObjectChosen;
        return task;
    }
    task.limit_dropped = effective_object_limit(h.ogrn, h.mz) != h.ogrn;
    h.ogrn = effective_object_limit(h.ogrn, h.mz);

    task.size = size_task(h, draft.variants, bdon, task.choice);
    switch (task.size.check) {
    case SizeCheck::Passed:
        break;
    case SizeCheck::TickTooSmall:
        task.problem = DraftProblem::TickTooSmall;
        return task;
    case SizeCheck::TooManyStates:
        task.problem = DraftProblem::TooManyStates;
        return task;
    case SizeCheck::PaybackBelowTick:
        task.problem = DraftProblem::PaybackBelowTick;
        return task;
    }
    h.faza = std::int32_t(task.size.faza);

    TaskDefinition def;
    def.header = h;
    def.variants = draft.variants;
    def.row_marks = draft.row_marks;
    def.object_marks = task.choice.object_marks;
    def.variant_marks = task.choice.variant_marks;
    def.income_marks = choose_income_variants(h, bdon, task.choice.variant_marks);
    def.shell_file_name = shell_file_name;
    task.files = build_task_files(def, bdon);
    return task;
}

void save_task(const std::string& workspace, const PreparedTask& task, const BdonData& bdon,
               CodePage cp) {
    if (task.problem != DraftProblem::None) {
        throw std::invalid_argument("task: a draft that failed its checks cannot be saved");
    }
    write_task_files(workspace, task.files.descriptor, task.files.input, bdon, cp);
}

std::string draft_problem_text(const LanguageShell& shell, DraftProblem problem,
                               const TaskHeader& h, const TaskSize& size) {
    const std::string type = std::to_string(h.tipz);
    switch (problem) {
    case DraftProblem::None:
        return {};
    case DraftProblem::NoObjectListed:
        return shell.text(txt::ForTaskType) + " " + type + " " + shell.text(txt::NoUsableObjects) +
               ". " + shell.text(txt::TaskCannotBeDefined) + ".";
    case DraftProblem::NoObjectSelected:
        return shell.text(txt::NoObjectSelected) + ".";
    case DraftProblem::NoObjectChosen:
        return shell.text(txt::ForTaskType) + " " + type + " " +
               shell.text(txt::NoObjectMeetsRestrictions) + ". " +
               shell.text(txt::TaskCannotBeDefined) + ".";
    case DraftProblem::TickTooSmall:
        return shell.text(txt::TickNotPositive) + ".";
    case DraftProblem::TooManyStates:
        return shell.text(txt::TooManyPhaseStates) + " " + std::to_string(size.faza) + " (> " +
               std::to_string(kMaxFaza) + " " + shell.text(txt::PhaseStatesWord) + ")." +
               shell.text(txt::EnlargeTheTick) + ".";
    case DraftProblem::PaybackBelowTick: {
        const std::string k = std::to_string(size.failed_variant);
        return h.reg == 1 ? shell.text(txt::PaybackBelowTickMode1) + " " + k + ". " +
                                shell.text(txt::PaybackAdviceMode1) + "."
                          : shell.text(txt::PaybackBelowTickMode2) + " " + k + ". " +
                                shell.text(txt::PaybackAdviceMode2) + ".";
    }
    }
    return {};
}

std::string limit_dropped_text(const LanguageShell& shell, std::int32_t ogrn, std::int32_t mz) {
    return shell.text(txt::ObjectLimit) + " (=" + std::to_string(ogrn) + ") " +
           shell.text(txt::LimitNotLessThanObjects) + " (=" + std::to_string(mz) + ").";
}

std::string tick_summary_text(std::string_view typed, char decimal_char) {
    std::string text;
    for (char ch : typed) {
        if (ch != ' ') {
            text += ch;
        }
    }
    const std::size_t sep = text.find(decimal_char);
    if (sep == std::string::npos) {
        text += decimal_char;
        text += "00";
    } else if (text.size() - sep - 1 == 1) {
        text += '0';
    }
    return text;
}

} // namespace kov
