#pragma once

// The contents of the three viewers (task, solution, statistics) as plain texts: what a viewer
// window places on screen, what its print and workbook reports lay out and what kov-batch view
// prints. Nothing here is fitted to a width; headings are the texts before caption fitting.

#include <array>
#include <string>
#include <vector>

namespace kov {

// One row of a two-column parameter list; a key without a value is a heading or a legend line.
struct ViewParam {
    std::string key;
    std::string value;

    bool operator==(const ViewParam&) const = default;
};

// One column of a grid and the heading label above it.
struct ViewColumn {
    std::string heading; // the unfitted heading text
    // The width in pixels the heading label takes before its text is fitted when the task asks
    // for another one than the label's design width; 0 keeps the design width.
    int width = 0;
    // The column shows nothing for this task: its heading shrinks to nothing and the column
    // with it.
    bool collapsed = false;

    bool operator==(const ViewColumn&) const = default;
};

// One grid row: a cell text per column, or an empty separator row 1 pixel high between two
// blocks.
struct ViewRow {
    std::vector<std::string> cells;
    bool separator = false;

    bool operator==(const ViewRow&) const = default;
};

struct ViewGrid {
    std::vector<ViewColumn> columns;
    std::vector<ViewRow> rows;

    bool operator==(const ViewGrid&) const = default;
};

// What a viewer shows, in the order of the window.
struct ViewContent {
    std::string caption;
    std::vector<std::string> tabs; // tab captions (the task viewer only)
    std::vector<ViewParam> params; // the rows of the parameter list
    std::vector<ViewGrid> grids;   // the task viewer's five grids, or the one table

    bool operator==(const ViewContent&) const = default;
};

// A viewer's picture beside its table: the tab that holds it, the titles of its axes and its
// series (a line per series, or one series of bars whose x are the bars' labels).
struct PictureSeries {
    std::string name; // the legend text
    std::vector<double> x, y;

    bool operator==(const PictureSeries&) const = default;
};

struct ViewPicture {
    std::string tab;
    std::string x_axis, y_axis;
    std::vector<PictureSeries> series;
    std::string empty_text; // shown instead of a picture without any point

    bool empty() const {
        for (const PictureSeries& s : series) {
            if (!s.x.empty()) {
                return false;
            }
        }
        return true;
    }
    bool operator==(const ViewPicture&) const = default;
};

// The selection of the variant selection dialog: flag k - 1 shows investment variant k.
inline constexpr int kVariantFlags = 16;
using VariantFlags = std::array<bool, kVariantFlags>;
// The selection of the risk level dialog: flag j - 1 shows the risk level j / 10.
inline constexpr int kLevelFlags = 10;
using LevelFlags = std::array<bool, kLevelFlags>;

// Every flag set, as both dialogs start.
template <typename Flags> Flags all_flags() {
    Flags f;
    f.fill(true);
    return f;
}

} // namespace kov
