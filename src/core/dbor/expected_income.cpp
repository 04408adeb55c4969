#include "dbor/expected_income.h"

#include "io/error.h"

#include <stdexcept>
#include <string>

namespace kov {

namespace {

constexpr double kArgumentTolerance = 1e-8;
constexpr double kDegenerateWidth = 1e-6;

// The segments visited in order k = 0, 1, ...: a segment that contains d adds its partial share
// and ends the walk (a degenerate one adds nothing), any other segment adds its whole share.
// The shares are probability mass (`earning` false) or probability mass times the earning time
// it leaves before d (`earning` true). With `whole_only` no segment counts as containing d.
double walk(std::span<const DborPoint> c, double d, bool earning, bool whole_only) {
    double sum = 0;
    for (std::size_t k = 0; k + 1 < c.size(); ++k) {
        const double df = c[k + 1].y - c[k].y;
        if (!whole_only && c[k].x - kArgumentTolerance < d && d < c[k + 1].x + kArgumentTolerance) {
            const double width = c[k + 1].x - c[k].x;
            if (width > kDegenerateWidth) {
                const double part = c[k].y + df * (d - c[k].x) / width - c[k].y;
                sum += earning ? part * (d - (d + c[k].x) / 2) : part;
            }
            break;
        }
        sum += earning ? df * (d - (c[k].x + c[k + 1].x) / 2) : df;
    }
    return sum;
}

// Probability that the sale has happened by d.
double sale_share(std::span<const DborPoint> c, double d) {
    if (d > c.back().x - kArgumentTolerance) {
        return 1;
    }
    if (d <= c.front().x - kArgumentTolerance) {
        return 0;
    }
    return walk(c, d, false, false);
}

// Expected length of the earning time before d: the expectation of max(d - delay, 0).
double earning_time(std::span<const DborPoint> c, double d) {
    if (d > c.back().x - kArgumentTolerance) {
        return walk(c, d, true, true);
    }
    if (d <= c.front().x - kArgumentTolerance) {
        return 0;
    }
    return walk(c, d, true, false);
}

bool has_income_record(const BdonData& bdon, int prmp, std::size_t i, std::size_t j,
                       std::size_t k) {
    if (prmp == 1) {
        return i < bdon.sale_variants.size() && j < bdon.sale_variants[i].size() &&
               k < bdon.sale_variants[i][j].size();
    }
    return i < bdon.expl_variants.size() && j < bdon.expl_variants[i].size() &&
           k < bdon.expl_variants[i][j].size();
}

} // namespace

double expected_income(std::span<const DborPoint> curve, double amount, double duration, int prmp,
                       double horizon) {
    if (curve.size() < 2) {
        throw std::invalid_argument("expected income: the income variant has no delay curve (" +
                                    std::to_string(curve.size()) + " points)");
    }
    const double d = horizon - duration;
    if (prmp == 1) {
        return sale_share(curve, d) * amount;
    }
    if (prmp == 2) {
        return earning_time(curve, d) * amount;
    }
    throw std::invalid_argument("expected income: unknown maximised parameter " +
                                std::to_string(prmp));
}

std::span<const DborPoint> income_curve(const BdonData& bdon, int prmp, int object,
                                        int modernisation, int income) {
    auto refuse = [&](const std::string& what) {
        throw format_error(bdon.path, "object " + std::to_string(object + 1) +
                                          ", modernisation variant " +
                                          std::to_string(modernisation) + ", " +
                                          (prmp == 1 ? "sale" : "exploitation") + " variant " +
                                          std::to_string(income + 1) + ": " + what);
    };
    const auto& points = prmp == 1 ? bdon.sale_points : bdon.expl_points;
    const auto i = static_cast<std::size_t>(object);
    const auto j = static_cast<std::size_t>(modernisation);
    const auto k = static_cast<std::size_t>(income);
    if (object < 0 || i >= points.size() || i >= bdon.variants.size() || modernisation < 0 ||
        j >= points[i].size() || j >= bdon.variants[i].size() || income < 0 ||
        k >= points[i][j].size() || !has_income_record(bdon, prmp, i, j, k)) {
        refuse("not in the database");
    }
    if (points[i][j][k].size() < 2) {
        refuse("no delay curve");
    }
    return points[i][j][k];
}

double expected_income(const BdonData& bdon, int prmp, int object, int modernisation, int income,
                       double horizon) {
    const auto curve = income_curve(bdon, prmp, object, modernisation, income);
    const auto i = static_cast<std::size_t>(object);
    const auto j = static_cast<std::size_t>(modernisation);
    const auto k = static_cast<std::size_t>(income);
    const double amount =
        prmp == 1 ? bdon.sale_variants[i][j][k].revenue : bdon.expl_variants[i][j][k].income;
    const double duration = modernisation == 0 ? 0.0 : bdon.variants[i][j].duration;
    return expected_income(curve, amount, duration, prmp, horizon);
}

} // namespace kov
