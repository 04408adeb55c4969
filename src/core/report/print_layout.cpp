#include "report/print_layout.h"

#include "io/codepage.h"
#include "shell/texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace kov {

namespace {

// The byte length of the UTF-8 character that starts with `lead`.
std::size_t char_length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string_view trim_right(std::string_view s) {
    const auto last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

std::optional<long> as_integer(std::string_view s) {
    s = trim(s);
    long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return v;
}

bool same_integer(std::string_view a, std::string_view b) {
    const auto x = as_integer(a);
    return x && x == as_integer(b);
}

// One table of a report: the shares of its columns, its headings and its rows.
struct PrintTable {
    std::vector<double> shares;
    const ViewGrid* grid = nullptr;
    // Where the rule under row r starts, the next row being r + 1 (the last row has none).
    std::function<int(std::size_t r, const std::vector<int>& x)> rule_start;
    // How far y moves after row r, given the row's largest number of lines, and whether the row
    // is closed by a rule.
    std::function<std::pair<int, bool>(std::size_t r, int lines)> advance;
};

// Lays out pages: the running position, the page end with the page number and the tables.
class PageWriter {
public:
    explicit PageWriter(const PrintMetrics& m)
        : m_(m) {
        pages_.emplace_back();
    }

    int y = kPrintTop;
    int h() const { return m_.line_height; }
    const PrintMetrics& metrics() const { return m_; }

    void text(int x, int at, std::string s, bool bold = false, int width = -1) {
        if (s.empty()) {
            return;
        }
        if (width < 0) {
            width = (bold ? m_.bold : m_.regular)(s);
        }
        pages_.back().texts.push_back({x, at, width, std::move(s), bold});
    }
    void line(int x1, int y1, int x2, int y2) { pages_.back().lines.push_back({x1, y1, x2, y2}); }

    // A title centred on the page, its top kept on the page.
    void title(const std::string& s, int at, int measured_width) {
        text(std::max(0, (m_.width - measured_width) / 2), std::max(0, at), s, true,
             measured_width);
    }

    // Ends the page and starts the next one at the top margin.
    void new_page() {
        pages_.emplace_back();
        y = kPrintMargin;
    }
    bool full() const { return y + 4 * h() > m_.height - kPrintMargin; }
    // The lowest a table row may reach: one line above the page number.
    int last_row_bottom() const { return m_.height - kPrintMargin - 2 * h(); }

    // Prints a table from the current y. A table whose last row fills the page leaves what
    // follows a new page; true then.
    bool table(const PrintTable& t) {
        const std::vector<int> x = column_edges(m_.width, t.shares);
        const int right = x.back() - 5;
        const std::size_t n = t.shares.size();
        std::vector<std::string> headings(n);
        for (std::size_t k = 0; k < n && k < t.grid->columns.size(); ++k) {
            if (!t.grid->columns[k].collapsed) {
                headings[k] = t.grid->columns[k].heading;
            }
        }
        // A table begins on a new page when its headings and first row would run into the page
        // number.
        const WrappedRow heads = wrap(headings, x);
        const int first_row =
            t.grid->rows.empty() ? 0 : t.advance(0, wrap(t.grid->rows[0].cells, x).lines).first;
        if (y + (heads.lines + 2) * h() + first_row > last_row_bottom()) {
            new_page();
        }
        int top = y;
        line(kPrintRuleLeft, y, right, y);
        print(heads, x);
        y += (heads.lines + 2) * h();
        line(kPrintRuleLeft, y, right, y);
        const auto verticals = [&] {
            for (const int xk : x) {
                line(xk - 5, top, xk - 5, y);
            }
        };
        const std::size_t rows = t.grid->rows.size();
        // Ends the page under the table's part on it; a part on the next page opens with a rule.
        const auto page_end = [&](bool more) {
            verticals();
            new_page();
            top = y;
            if (more) {
                line(kPrintRuleLeft, y, right, y);
            }
        };
        for (std::size_t r = 0; r < rows; ++r) {
            const WrappedRow row = wrap(t.grid->rows[r].cells, x);
            const auto [step, rule] = t.advance(r, row.lines);
            // A row that would run into the page number goes to the next page, the part of the
            // table above it closed by a full rule.
            if (y + step > last_row_bottom() && y > top) {
                line(kPrintRuleLeft, y, right, y);
                page_end(true);
            }
            print(row, x);
            y += step;
            const bool breaks = full();
            if (rule) {
                // The rule under the last row of a table or of a page is a full one.
                line(r + 1 < rows && !breaks ? t.rule_start(r, x) : kPrintRuleLeft, y, right, y);
            } else if (breaks) {
                line(kPrintRuleLeft, y, right, y);
            }
            if (breaks) {
                page_end(r + 1 < rows);
                if (r + 1 == rows) {
                    return true;
                }
            }
        }
        verticals();
        return false;
    }

    std::vector<PrintPage> finish() {
        // A page that a table's last row filled and nothing followed stays out.
        if (pages_.size() > 1 && pages_.back().texts.empty() && pages_.back().lines.empty()) {
            pages_.pop_back();
        }
        for (std::size_t p = 0; p < pages_.size(); ++p) {
            const std::string number = std::to_string(p + 1);
            const int w = m_.regular(number);
            pages_[p].texts.push_back(
                {m_.width - kPrintMargin - w, m_.height - h() - kPrintMargin, w, number, false});
        }
        return std::move(pages_);
    }

private:
    // The texts of one row wrapped into the columns (none in a column of width 0, which is
    // printed empty).
    struct WrappedRow {
        std::vector<std::vector<std::string>> cells;
        int lines = 0; // the largest number of lines of a cell
    };
    WrappedRow wrap(const std::vector<std::string>& texts, const std::vector<int>& x) const {
        WrappedRow row;
        row.cells.resize(std::min(texts.size(), x.size() - 1));
        for (std::size_t k = 0; k < row.cells.size(); ++k) {
            if (x[k + 1] > x[k]) {
                row.cells[k] = wrap_text(texts[k], x[k + 1] - x[k] - 5, m_.regular);
                row.lines = std::max(row.lines, int(row.cells[k].size()));
            }
        }
        return row;
    }

    // Prints a wrapped row into the columns at the current y.
    void print(const WrappedRow& row, const std::vector<int>& x) {
        for (std::size_t k = 0; k < row.cells.size(); ++k) {
            for (std::size_t j = 0; j < row.cells[k].size(); ++j) {
                text(x[k], y + 5 + int(j + 1) * h(), row.cells[k][j], false, x[k + 1] - x[k] - 5);
            }
        }
    }

    const PrintMetrics& m_;
    std::vector<PrintPage> pages_;
};

const std::string& cell(const ViewGrid& g, std::size_t r, std::size_t k) {
    static const std::string kEmpty;
    const auto& cells = g.rows[r].cells;
    return k < cells.size() ? cells[k] : kEmpty;
}

bool filled(const ViewGrid& g, std::size_t r, std::size_t k) {
    return !trim(cell(g, r, k)).empty();
}

// A parameter's key followed by its colon; a key that ends with one of its own (a heading of the
// rows under it) keeps it alone.
std::string key_with_colon(const std::string& key) {
    return key.ends_with(':') ? key : key + ":";
}

// A parameter row on one line: "key: value". A row without a value prints its key alone, a row
// without a key (it continues the row above it) its value alone.
std::string param_line(const ViewParam& row) {
    if (row.value.empty()) {
        return row.key;
    }
    if (row.key.empty()) {
        return row.value;
    }
    return key_with_colon(row.key) + " " + row.value;
}

// Whether a parameter row is printed on two lines, its key (with a colon) above its value.
bool param_split(const ViewParam& row) {
    return char_count(row.key) + char_count(row.value) >= 120 && !row.key.empty() &&
           !row.value.empty();
}

// The task's name in double quotation marks, as the viewers' captions end.
std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

std::vector<int> column_edges(int page_width, const std::vector<double>& shares) {
    const double u = page_width - 2 * kPrintMargin;
    std::vector<int> x{kPrintMargin};
    for (const double share : shares) {
        x.push_back(x.back() + int(std::nearbyint(u * share)));
    }
    return x;
}

std::vector<std::string> wrap_text(std::string_view text, int limit, const TextMeasure& measure) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(char_length(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string_view ch = text.substr(i, n);
        i += n;
        const std::size_t before = current.size();
        current.append(ch);
        if (measure(current) <= limit) {
            continue;
        }
        if (before == 0) {
            // One character wider than the column: a line of its own.
            lines.push_back(std::move(current));
            current.clear();
            continue;
        }
        // The line breaks after its last whole word when it has one after its indentation and
        // the rest fits; else its last character starts the next line. A blank at the break
        // is dropped.
        const std::string_view fitted = std::string_view(current).substr(0, before);
        const std::size_t words = fitted.find_first_not_of(' ');
        const std::size_t blank = ch == " " ? before : fitted.find_last_of(' ');
        if (words != std::string_view::npos && blank != std::string_view::npos && blank > words &&
            measure(std::string_view(current).substr(blank + 1)) <= limit) {
            lines.emplace_back(trim_right(fitted.substr(0, blank)));
            current.erase(0, blank + 1);
        } else {
            lines.push_back(current.substr(0, before));
            current.erase(0, before);
        }
    }
    if (!current.empty()) {
        lines.push_back(std::move(current));
    }
    return lines;
}

std::vector<PrintPage> solution_print(const SolutionView& view, const LanguageShell& shell,
                                      const PrintMetrics& m) {
    PageWriter p(m);
    const int h = m.line_height;
    const std::string title = shell.text(txt::ReportSolutionTitle) + " " + quoted(view.task.name);
    p.title(title, kPrintTop, m.bold(title));
    p.y += h;
    // The list's rows, its leading empty row included.
    for (const ViewParam& row : view.content.params) {
        if (p.full()) {
            p.new_page();
        }
        p.y += h;
        if (!param_split(row)) {
            p.text(kPrintMargin, p.y, param_line(row));
        } else {
            p.text(kPrintMargin, p.y, key_with_colon(row.key));
            p.y += h;
            p.text(kPrintMargin, p.y, row.value);
        }
    }
    p.y += 2 * h;
    if (p.y > m.height - 1200) {
        p.new_page();
    }
    const ViewGrid& g = view.content.grids.at(0);
    PrintTable t;
    t.shares = {0.04, 0.07, 0.08, 0.09, 0.09,
                0.04, 0.04, 0.06, 0.15, view.task.reg == 1 ? 0.07 : 0.0,
                0.04, 0.07, 0.05, 0.04, 0.07};
    t.grid = &g;
    t.advance = [&](std::size_t r, int lines) {
        const bool row = filled(g, r, 5) || filled(g, r, 6);
        return std::pair{row ? (lines + 2) * h : 10, true};
    };
    t.rule_start = [&](std::size_t r, const std::vector<int>& x) {
        return !filled(g, r + 1, 0) && filled(g, r + 1, 6) ? x[6] : kPrintRuleLeft;
    };
    p.table(t);
    return p.finish();
}

std::vector<PrintPage> statistics_print(const StatisticsView& view, const LanguageShell& shell,
                                        const PrintMetrics& m) {
    PageWriter p(m);
    const int h = m.line_height;
    const std::string title = shell.text(txt::ReportStatisticsTitle) + quoted(view.task.name);
    p.title(title, p.y - h, m.bold(title));
    p.y += h;
    // Rows 1..n of the list, its leading empty row first.
    const auto& params = view.content.params;
    const std::size_t n = params.size();
    for (std::size_t r = 1; r <= n; ++r) {
        const ViewParam& row = params[r - 1];
        const int at = p.y + int(r - 1) * h;
        if (!param_split(row)) {
            p.text(kPrintMargin, at, param_line(row));
        } else {
            p.text(kPrintMargin, at, key_with_colon(row.key));
            p.y += h;
            p.text(kPrintMargin, p.y + int(r - 1) * h, row.value);
        }
    }
    p.y += int(n + 1) * h;
    const ViewGrid& g = view.content.grids.at(0);
    PrintTable t;
    t.shares = {0.05, 0.09, 0.09, 0.09, 0.09, 0.09, 0.10, 0.09, 0.09, 0.22};
    t.grid = &g;
    t.advance = [&](std::size_t r, int lines) {
        const bool level_follows =
            r + 1 < g.rows.size() && !filled(g, r + 1, 0) && filled(g, r + 1, 9);
        if (level_follows) {
            // A further risk level of the same variant follows, below all lines of this row.
            return std::pair{std::max(lines, 1) * h, false};
        }
        const bool row = filled(g, r, 0) || filled(g, r, 9);
        return std::pair{row ? (lines + 2) * h : 10, true};
    };
    t.rule_start = [](std::size_t, const std::vector<int>&) { return kPrintRuleLeft; };
    p.table(t);
    return p.finish();
}

std::vector<PrintPage> task_print(const TaskView& view, const LanguageShell& shell,
                                  const PrintMetrics& m) {
    PageWriter p(m);
    const int h = m.line_height;
    const std::string title = shell.text(txt::ReportTaskTitle) + " " + quoted(view.task.name);
    // Measured in the regular style, printed in bold, one line above the top position.
    p.title(title, kPrintTop - h, m.regular(title));
    p.y = kPrintTop + h;
    const auto& params = view.content.params;
    // The list holds no leading empty row: its row k is the k-th parameter.
    for (std::size_t k = 0; k < params.size(); ++k) {
        p.text(kPrintMargin, p.y + int(k) * h, param_line(params[k]));
    }
    p.y += int(params.size() + 1) * h;

    const bool payback = view.task.prok == 1;
    const std::vector<std::vector<double>> shares = {
        {0.10, 0.20, 0.15, payback ? 0.15 : 0.0},
        {0.06, 0.08, 0.50, view.task.reg == 1 ? 0.09 : 0.0, 0.09, 0.09, 0.09},
        {0.07, 0.10, 0.50, 0.09, 0.11, 0.13},
        {0.10, 0.10, 0.10, 0.20, 0.20},
        {0.10, 0.10, 0.10, 0.10, 0.20, 0.20}};
    const std::size_t tables = payback ? 5 : 3;
    for (std::size_t i = 0; i < tables && i < view.content.grids.size(); ++i) {
        const ViewGrid& g = view.content.grids[i];
        PrintTable t;
        t.shares = shares[i];
        t.grid = &g;
        t.advance = [&](std::size_t, int lines) { return std::pair{(lines + 2) * h, true}; };
        t.rule_start = [&g, i](std::size_t r, const std::vector<int>& x) {
            const bool same_object = same_integer(cell(g, r, 0), cell(g, r + 1, 0));
            const bool same_variant = same_object && same_integer(cell(g, r, 1), cell(g, r + 1, 1));
            switch (i) {
            case 2:
                return same_object ? x[1] : kPrintRuleLeft;
            case 3:
                return same_variant ? x[2] : same_object ? x[1] : kPrintRuleLeft;
            case 4: {
                if (!same_object) {
                    return kPrintRuleLeft;
                }
                if (!same_variant) {
                    return x[1];
                }
                return filled(g, r + 1, 2) ? x[2] : x[3];
            }
            default:
                return kPrintRuleLeft;
            }
        };
        if (!p.table(t)) {
            p.y += h;
        }
    }
    return p.finish();
}

} // namespace kov
