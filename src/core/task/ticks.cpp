#include "task/ticks.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace kov {

namespace {

[[noreturn]] void refuse(const std::string& what) {
    throw std::invalid_argument("task: " + what);
}

void check_marks(const BdonData& bdon, const Marks& object_marks,
                 const std::vector<Marks>& variant_marks) {
    if (object_marks.size() != bdon.objects.size() || variant_marks.size() != bdon.objects.size() ||
        bdon.variants.size() != bdon.objects.size()) {
        refuse("the object or variant marks are not sized by the database");
    }
    for (std::size_t i = 0; i < variant_marks.size(); ++i) {
        if (variant_marks[i].size() != bdon.variants[i].size()) {
            refuse("the variant marks of object " + std::to_string(i + 1) +
                   " are not sized by the database");
        }
    }
}

std::int32_t to_int32(std::int64_t v, const char* what, int k) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        refuse(std::string(what) + " of variant " + std::to_string(k + 1) + " (" +
               std::to_string(v) + " ticks) does not fit a 32-bit count");
    }
    return std::int32_t(v);
}

} // namespace

std::int64_t round_to_ticks(double x, double delta, int toc) {
    double q = x / delta;
    if (std::isnan(q)) {
        return 0;
    }
    const double tolerance = 1e-12 * std::max(1.0, std::fabs(q));
    if (std::isfinite(q)) {
        // The nearer of the nearest integer and the nearest half-integer, when within the
        // tolerance (the integer on a tie).
        const double whole = std::round(q);
        const double half = std::floor(q) + 0.5;
        const double to_whole = std::fabs(q - whole);
        const double to_half = std::fabs(q - half);
        if (to_whole <= tolerance && to_whole <= to_half) {
            q = whole;
        } else if (to_half <= tolerance) {
            q = half;
        }
    }
    double r;
    switch (toc) {
    case kRoundDown:
        r = std::floor(q);
        break;
    case kRoundUp:
        r = std::ceil(q);
        break;
    default: {
        // Halves to the even neighbour, independent of the floating-point environment.
        const double f = std::floor(q);
        const double diff = q - f;
        if (diff < 0.5) {
            r = f;
        } else if (diff > 0.5) {
            r = f + 1;
        } else {
            r = std::fmod(f, 2.0) == 0 ? f : f + 1;
        }
        break;
    }
    }
    constexpr double kLimit = 9223372036854775807.0; // 2^63
    if (r >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (r <= -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return std::int64_t(r);
}

std::vector<double> full_costs(const BdonData& bdon, const Marks& object_marks,
                               const std::vector<Marks>& variant_marks) {
    check_marks(bdon, object_marks, variant_marks);
    std::vector<double> costs;
    for (std::size_t i = 0; i < object_marks.size(); ++i) {
        if (!object_marks[i]) {
            continue;
        }
        double largest = 0; // variant 0 costs 0
        for (std::size_t j = 1; j < variant_marks[i].size(); ++j) {
            if (variant_marks[i][j] && bdon.variants[i][j].cost > largest) {
                largest = bdon.variants[i][j].cost;
            }
        }
        costs.push_back(bdon.objects[i].cost + largest);
    }
    return costs;
}

double capital_requirement(const std::vector<double>& costs, int ogrn) {
    double v = 0;
    if (ogrn > 0 && std::size_t(ogrn) < costs.size()) {
        std::vector<bool> taken(costs.size(), false);
        for (int n = 0; n < ogrn; ++n) {
            std::size_t best = costs.size();
            for (std::size_t i = 0; i < costs.size(); ++i) {
                if (!taken[i] && (best == costs.size() || costs[i] > costs[best])) {
                    best = i;
                }
            }
            taken[best] = true;
            v += costs[best];
        }
        return v;
    }
    for (double c : costs) {
        v += c;
    }
    return v;
}

double capital_requirement(const BdonData& bdon, const Marks& object_marks,
                           const std::vector<Marks>& variant_marks, int ogrn) {
    return capital_requirement(full_costs(bdon, object_marks, variant_marks), ogrn);
}

double payback_step(const TaskHeader& h) {
    return h.nt < 2 ? 0.0 : (h.tmx - h.tmn) / (h.nt - 1);
}

double payback_coefficient(const TaskHeader& h, int k) {
    return h.tmx - k * payback_step(h);
}

double payback_horizon(const TaskHeader& h, int k) {
    return h.tmn + k * payback_step(h);
}

std::vector<double> payback_series(const TaskHeader& h) {
    std::vector<double> series;
    if (h.prok == 1) {
        for (int k = 0; k < h.nsg; ++k) {
            series.push_back(payback_coefficient(h, k));
        }
    }
    return series;
}

double payback_amount(const TaskHeader& h, const InvestmentVariant& v, double capital, int k) {
    if (h.prok != 1) {
        return 0;
    }
    const double o = v.own;
    const double l = v.credit;
    if (h.reg == 1) {
        const double a = o + l >= capital ? capital : o + l;
        return a * payback_coefficient(h, k);
    }
    if (capital <= o) {
        return h.nsd + capital;
    }
    if (capital <= o + l) {
        return h.nsd + capital + (capital - o) * h.ps / 100;
    }
    return h.nsd + o + (1 + h.ps / 100) * l;
}

TickAmounts investment_ticks(const TaskHeader& h, const InvestmentVariant& v, double capital,
                             int k) {
    TickAmounts t;
    if (capital > v.own) {
        t.own = round_to_ticks(v.own, h.delta, h.toc);
        t.credit = v.own + v.credit >= capital ? round_to_ticks(capital - v.own, h.delta, h.toc)
                                               : round_to_ticks(v.credit, h.delta, h.toc);
    } else {
        t.own = round_to_ticks(capital, h.delta, h.toc);
        t.credit = 0;
    }
    if (h.prok == 1) {
        t.payback = round_to_ticks(payback_amount(h, v, capital, k), h.delta, h.toc);
    }
    return t;
}

std::vector<std::vector<Marks>> empty_income_marks(const BdonData& bdon, int prmp) {
    std::vector<std::vector<Marks>> marks(bdon.variants.size());
    for (std::size_t i = 0; i < bdon.variants.size(); ++i) {
        marks[i].resize(bdon.variants[i].size());
        for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
            marks[i][j].assign(prmp == 1 ? bdon.sale_variants[i][j].size()
                                         : bdon.expl_variants[i][j].size(),
                               false);
        }
    }
    return marks;
}

std::vector<std::vector<ChoiceTriple>>
build_choice_groups(const TaskHeader& h, const BdonData& bdon, const Marks& object_marks,
                    const std::vector<Marks>& variant_marks,
                    const std::vector<std::vector<Marks>>& income_marks) {
    check_marks(bdon, object_marks, variant_marks);
    if (h.prok == 1 && income_marks.size() != bdon.objects.size()) {
        refuse("the income-variant marks are not sized by the database");
    }
    std::vector<std::vector<ChoiceTriple>> groups;
    for (std::size_t i = 0; i < object_marks.size(); ++i) {
        if (!object_marks[i]) {
            continue;
        }
        const std::int32_t object = std::int32_t(i + 1);
        std::vector<ChoiceTriple> group{kNotTaken};
        for (std::size_t s = 0; s < variant_marks[i].size(); ++s) {
            if (!variant_marks[i][s]) {
                continue;
            }
            if (h.prok != 1) {
                group.push_back({object, std::int32_t(s), 1});
                continue;
            }
            if (income_marks[i].size() != variant_marks[i].size()) {
                refuse("the income-variant marks of object " + std::to_string(i + 1) +
                       " are not sized by the database");
            }
            for (std::size_t v = 0; v < income_marks[i][s].size(); ++v) {
                if (income_marks[i][s][v]) {
                    group.push_back({object, std::int32_t(s), std::int32_t(v + 1)});
                }
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

TaskFiles build_task_files(const TaskDefinition& def, const BdonData& bdon) {
    TaskFiles files;
    TaskHeader h = def.header;
    std::int32_t mz = 0;
    for (bool mark : def.object_marks) {
        mz += mark;
    }
    h.mz = mz;
    files.capital = capital_requirement(bdon, def.object_marks, def.variant_marks, h.ogrn);

    TaskDescriptor& d = files.descriptor;
    d.header = h;
    d.variants = def.variants;
    d.row_marks = def.row_marks;
    d.object_marks = def.object_marks;
    d.variant_marks = def.variant_marks;
    d.groups = build_choice_groups(h, bdon, def.object_marks, def.variant_marks, def.income_marks);
    if (h.prok == 1) {
        d.income_marks = def.income_marks;
    }

    TaskInput& in = files.input;
    in.header = h;
    for (std::size_t k = 0; k < def.variants.size(); ++k) {
        const TickAmounts t = investment_ticks(h, def.variants[k], files.capital, int(k));
        in.ticks.push_back({to_int32(t.own, "the own funds", int(k)),
                            to_int32(t.credit, "the credit", int(k)),
                            to_int32(t.payback, "the pay-back amount", int(k))});
    }
    in.groups = d.groups;
    in.payback_series = payback_series(h);
    in.shell_file_name = def.shell_file_name;
    return files;
}

} // namespace kov
