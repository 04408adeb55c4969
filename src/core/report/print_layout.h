#pragma once

// The printed reports of the three viewers (task, solution, statistics) as pages of drawing
// operations: texts placed by their top-left corner and straight lines, in the device pixels of
// the page. The layout is computed here, apart from any painting, from the viewer's content and
// the measures of the device's font.

#include "shell/language_shell.h"
#include "view/solution_view.h"
#include "view/statistics_view.h"
#include "view/task_view.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// The width of a text in device pixels.
using TextMeasure = std::function<int(std::string_view)>;

// What the layout needs of a page device and its font.
struct PrintMetrics {
    int width = 0;       // W: the page width
    int height = 0;      // H: the page height
    int line_height = 0; // h: the height of a line of text
    TextMeasure regular; // widths in the regular style
    TextMeasure bold;    // widths in the bold style
};

// A text with its top-left corner at (x, y); `width` is the room it is given (its column's text
// limit, or its own width for free texts).
struct PrintText {
    int x = 0, y = 0, width = 0;
    std::string text;
    bool bold = false;

    bool operator==(const PrintText&) const = default;
};

struct PrintLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    bool operator==(const PrintLine&) const = default;
};

struct PrintPage {
    std::vector<PrintText> texts;
    std::vector<PrintLine> lines;
};

// Page margins and the positions the reports start from.
inline constexpr int kPrintMargin = 65;   // left, right and bottom margin; top of a new page
inline constexpr int kPrintTop = 60;      // the first page's top position
inline constexpr int kPrintRuleLeft = 60; // where a full horizontal rule starts

// The left edges x_0..x_n of n columns taking `shares` of the width W - 130 shared by the
// columns, x_0 = 65; each width is the share rounded to the nearest integer, halves to even.
std::vector<int> column_edges(int page_width, const std::vector<double>& shares);

// The lines of `text` wrapped into a column whose text limit is `limit` pixels: characters are
// added one by one, and a line that grows wider than the limit gives its last character to the
// next line; a single character wider than the limit forms a line of its own. An empty text
// gives no line. Every line is kept.
std::vector<std::string> wrap_text(std::string_view text, int limit, const TextMeasure& measure);

// The three reports. Every page carries its page number at the bottom right.
std::vector<PrintPage> task_print(const TaskView& view, const LanguageShell& shell,
                                  const PrintMetrics& m);
std::vector<PrintPage> solution_print(const SolutionView& view, const LanguageShell& shell,
                                      const PrintMetrics& m);
std::vector<PrintPage> statistics_print(const StatisticsView& view, const LanguageShell& shell,
                                        const PrintMetrics& m);

} // namespace kov
