#pragma once

// What the picture of a delay curve shows: the curve's points from the first up to its first
// invalid point, judged by the same checks the database wizard runs on Next, and where that
// point lies. The pictures beside the curve grids of both wizards draw this and nothing else.

#include "dbor/bdon.h"
#include "dbor/bdon_model.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kov {

struct LanguageShell;

// One coordinate of a curve point as a grid holds it.
struct CurveCoordinate {
    bool blank = false;
    std::optional<double> value; // nothing when blank or when its text is no number

    static CurveCoordinate of(double x) { return {false, x}; }
};

struct CurvePointEntry {
    CurveCoordinate x, y;
};

// The first fault of a point: the shell text of the wizard's warning, and whether it lies in
// the value (grid column 6) rather than in the argument (column 5). Text 0: the point is sound.
struct CurveFault {
    int text = 0;
    bool in_value = false;

    explicit operator bool() const { return text != 0; }
};

// Point p (0-based) of a curve of `count` points; `previous` is point p - 1 (unused for p = 0).
CurveFault curve_point_fault(const CurvePointEntry& point, std::size_t p, std::size_t count,
                             const DborPoint& previous);

struct CurvePicture {
    std::vector<DborPoint> points;        // the sound points, from the first on
    std::optional<std::size_t> fault;     // 0-based index of the first invalid point
    std::optional<DborPoint> fault_point; // where it lies, when both its coordinates are numbers
    int fault_text = 0;                   // the shell text that names its fault

    bool sound() const { return !fault; }
};

CurvePicture curve_picture(std::span<const CurvePointEntry> points);
// A curve read from a database (whose file does not promise a sound curve).
CurvePicture curve_picture(std::span<const DborPoint> points);
// The curve that row `row` of a curve grid belongs to, from the grid's texts.
CurvePicture curve_picture(const CurveGrid& grid, std::size_t row);
// The rows of a curve grid that hold the curve of row `row`: the first and one past the last.
std::pair<std::size_t, std::size_t> curve_rows(const CurveGrid& grid, std::size_t row);

// The line under a picture: empty for a sound curve, else the first invalid point's number
// (1-based) and what is wrong with it.
std::string curve_fault_caption(const CurvePicture& picture, const LanguageShell& shell);

} // namespace kov
