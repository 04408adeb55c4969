#include "dbor/curve_picture.h"

#include "shell/language_shell.h"
#include "shell/texts.h"

#include <cmath>

namespace kov {

namespace {

constexpr double kTolerance = 1e-8;

CurveFault in_argument(int k) {
    return {k, false};
}
CurveFault in_value(int k) {
    return {k, true};
}

} // namespace

CurveFault curve_point_fault(const CurvePointEntry& point, std::size_t p, std::size_t count,
                             const DborPoint& previous) {
    const bool first = p == 0;
    const bool last = p + 1 == count;
    if (point.x.blank) {
        return in_argument(txt::ArgumentEmpty);
    }
    if (!point.x.value) {
        return in_argument(txt::ArgumentNotANumber);
    }
    const double x = *point.x.value;
    if (first && x > kTolerance) {
        return in_argument(txt::FirstArgumentNotZero); // every curve starts at 0
    }
    if (x < -kTolerance) {
        return in_argument(txt::ArgumentNegative);
    }
    if (!first && x < previous.x - kTolerance) {
        return in_argument(txt::ArgumentsDecrease);
    }

    if (point.y.blank) {
        return in_value(txt::ProbabilityEmpty);
    }
    if (!point.y.value) {
        return in_value(txt::ProbabilityNotANumber);
    }
    const double y = *point.y.value;
    if (y < -kTolerance) {
        return in_value(txt::ProbabilityNegative);
    }
    if (y > 1.00000001) {
        return in_value(txt::ProbabilityAboveOne);
    }
    if (first && y > kTolerance) {
        return in_value(txt::FirstProbabilityNotZero); // with the value 0
    }
    if (last && std::fabs(y - 1) > kTolerance) {
        return in_value(txt::LastProbabilityNotOne); // and ends with the value 1
    }
    if (!last && std::fabs(y - 1) < kTolerance) {
        return in_value(txt::OnlyLastProbabilityOne); // reached only at its last point
    }
    if (!first && y < previous.y - kTolerance) {
        return in_value(txt::ProbabilitiesDecrease);
    }
    if (!first && std::fabs(x - previous.x) < kTolerance &&
        std::fabs(y - previous.y) < kTolerance) {
        return in_value(txt::PointRepeated);
    }
    return {};
}

CurvePicture curve_picture(std::span<const CurvePointEntry> points) {
    CurvePicture picture;
    DborPoint previous;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const CurvePointEntry& e = points[p];
        if (const CurveFault f = curve_point_fault(e, p, points.size(), previous)) {
            picture.fault = p;
            picture.fault_text = f.text;
            if (e.x.value && e.y.value) {
                picture.fault_point = DborPoint{*e.x.value, *e.y.value};
            }
            break;
        }
        previous = {*e.x.value, *e.y.value};
        picture.points.push_back(previous);
    }
    return picture;
}

CurvePicture curve_picture(std::span<const DborPoint> points) {
    std::vector<CurvePointEntry> entries;
    entries.reserve(points.size());
    for (const DborPoint& p : points) {
        entries.push_back({CurveCoordinate::of(p.x), CurveCoordinate::of(p.y)});
    }
    return curve_picture(entries);
}

std::pair<std::size_t, std::size_t> curve_rows(const CurveGrid& grid, std::size_t row) {
    const auto& rows = grid.rows();
    if (row >= rows.size()) {
        return {rows.size(), rows.size()};
    }
    const std::size_t first = row >= rows[row].point ? row - rows[row].point : 0;
    return {first, std::min<std::size_t>(first + rows[row].count, rows.size())};
}

CurvePicture curve_picture(const CurveGrid& grid, std::size_t row) {
    const auto [first, end] = curve_rows(grid, row);
    const char dc = grid.decimal_char();
    std::vector<CurvePointEntry> entries;
    for (std::size_t r = first; r < end; ++r) {
        const PointRow& p = grid.rows()[r];
        entries.push_back({{p.x.blank(), p.x.value(dc)}, {p.y.blank(), p.y.value(dc)}});
    }
    return curve_picture(entries);
}

std::string curve_fault_caption(const CurvePicture& picture, const LanguageShell& shell) {
    if (picture.sound()) {
        return {};
    }
    return shell.text(txt::FirstInvalidPoint) + " " + std::to_string(*picture.fault + 1) + ": " +
           shell.text(picture.fault_text);
}

} // namespace kov
