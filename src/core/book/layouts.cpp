#include "book/layouts.h"

#include "io/codepage.h"
#include "io/numbers.h"
#include "shell/texts.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace kov {

namespace {

constexpr double kLineHeight = 12.75;

CellFormat bold() {
    return {true, false, false, false};
}
CellFormat italic() {
    return {false, true, false, false};
}
CellFormat wrap() {
    return {false, false, true, false};
}
CellFormat left() {
    return {false, false, false, true};
}
CellFormat bold_left() {
    return {true, false, false, true};
}

FormatRange cells(std::size_t row0, std::size_t col0, std::size_t row1, std::size_t col1,
                  CellFormat f) {
    return {row0, col0, row1, col1, f};
}
FormatRange whole_row(std::size_t row, CellFormat f) {
    return {row, 0, row, kWhole, f};
}
FormatRange whole_column(std::size_t col, CellFormat f) {
    return {0, col, kWhole, col, f};
}

SheetLayout sheet(std::string name, std::size_t columns, std::vector<double> widths) {
    SheetLayout s;
    s.name = std::move(name);
    s.columns = columns;
    s.widths = std::move(widths);
    return s;
}

// A real number of a database as its general text, or, when that text would not give back the
// very same number (a value with more than 15 significant digits), the shortest text that does,
// so a database read back from its workbook holds the numbers it held.
std::string exact_text(double x, char decimal_char) {
    std::string text = format_general(x, decimal_char);
    const std::optional<double> back = parse_real(text, decimal_char);
    if (back && *back == x) {
        return text;
    }
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, x);
    text.assign(buffer, r.ptr);
    std::replace(text.begin(), text.end(), '.', decimal_char);
    return text;
}

std::string n(long long v) {
    return std::to_string(v);
}

std::string blanks(std::size_t count) {
    return std::string(count, ' ');
}

// "  i" on every row but the first of a block.
std::string number_in_block(long long v, bool first) {
    return (first ? "" : "  ") + n(v);
}

// The two-column parameter sheet of the task, solution and statistics exports: keys left-aligned,
// values bold and left-aligned; the task's sheet ends with an empty row.
SheetLayout param_sheet(std::string name, const std::vector<ViewParam>& params, double key_width,
                        double value_width, bool trailing_empty_row) {
    SheetLayout s = sheet(std::move(name), 2, {key_width, value_width});
    for (const ViewParam& p : params) {
        std::string* row = s.add_row();
        row[0] = p.key;
        row[1] = p.value;
    }
    if (trailing_empty_row) {
        s.add_row();
    }
    const std::size_t rows = std::max<std::size_t>(params.size(), 1);
    s.formats.push_back(cells(0, 0, s.rows() - 1, 0, left()));
    s.formats.push_back(cells(0, 1, rows - 1, 1, bold_left()));
    return s;
}

// A grid of a viewer from row 1: its headings (empty for a collapsed column), then its rows,
// separator rows empty.
SheetLayout grid_sheet(std::string name, const ViewGrid& grid, std::vector<double> widths) {
    SheetLayout s = sheet(std::move(name), grid.columns.size(), std::move(widths));
    std::string* head = s.add_row();
    for (std::size_t c = 0; c < grid.columns.size(); ++c) {
        head[c] = grid.columns[c].collapsed ? std::string() : grid.columns[c].heading;
    }
    for (const ViewRow& r : grid.rows) {
        std::string* row = s.add_row();
        if (!r.separator) {
            for (std::size_t c = 0; c < std::min(r.cells.size(), s.columns); ++c) {
                row[c] = r.cells[c];
            }
        }
    }
    return s;
}

// Row 1 `height` high and wrapped; every further row as high as the text of column `col` needs
// at `per_line` characters a line.
void heights_by_text(SheetLayout& s, double heading_height, std::size_t col, std::size_t per_line) {
    s.heights.assign(s.rows(), 0);
    s.heights[0] = heading_height;
    for (std::size_t r = 1; r < s.rows(); ++r) {
        s.heights[r] = text_row_height(s.at(r, col), per_line);
    }
}

} // namespace

double text_row_height(const std::string& text, std::size_t per_line) {
    return double(char_count(text) / per_line + 1) * kLineHeight;
}

// ---- Database ---------------------------------------------------------------------------------

WorkbookLayout database_workbook(const BdonData& bdon, const LanguageShell& shell,
                                 char decimal_char) {
    const DborHeader& h = bdon.header;
    const bool type_a = h.type == "A";
    auto t = [&](int k) { return shell.text(k); };
    auto tt = [&](int k) { return shell.trimmed(k); };
    auto g = [&](double x) { return exact_text(x, decimal_char); };
    const std::string cost = " (" + h.cost_unit + ")";
    const std::string time = " (" + h.time_unit + ")";
    WorkbookLayout book;

    SheetLayout s1 = sheet(tt(txt::DatabaseSheet), 2, {63, 75});
    const std::vector<std::pair<std::string, std::string>> head = {
        {t(txt::Language), h.language},
        {t(txt::DatabaseType), h.type},
        {tt(txt::DatabaseCode), h.code},
        {t(txt::DatabaseName), h.name},
        {t(txt::InvestmentMode) + ":", n(h.mode)},
        {" 1 - " + t(txt::PurchaseMode), ""},
        {" 2 - " + t(txt::ModernisationMode), ""},
        {t(txt::UnitOfCost), h.cost_unit},
        {t(txt::UnitOfTime), h.time_unit},
        {t(txt::DatabaseObjectsNumber) + ",", n(h.m)},
        {tt(txt::UsableForTypes) + ":", ""},
        {" - " + t(txt::UsableType1), n(h.sale_objects)},
        {" - " + t(txt::UsableType2), n(h.sale_curve_objects)},
        {" - " + t(txt::UsableType3), n(h.expl_objects)},
        {" - " + t(txt::UsableType4), n(h.expl_curve_objects)},
        {tt(txt::DatabaseDate), h.saved},
    };
    for (const auto& [key, value] : head) {
        std::string* row = s1.add_row();
        row[0] = key;
        row[1] = value;
    }
    s1.formats = {cells(0, 0, 15, 0, left()), cells(0, 1, 15, 1, bold_left())};
    book.sheets.push_back(std::move(s1));

    const std::string length = " (<=255 " + tt(txt::Characters) + ")";
    SheetLayout s2 = sheet(tt(txt::ObjectParametersTab) + " (1)", type_a ? 6 : 5,
                           type_a ? std::vector<double>{7, 7, 51, 10.5, 14, 10.5}
                                  : std::vector<double>{7, 7, 51, 14, 10.5});
    {
        std::vector<std::string> headings = {tt(txt::ObjectNumberTrimmed), tt(txt::ObjectCode),
                                             tt(txt::ObjectDescription) + length};
        if (type_a) {
            headings.push_back(t(txt::ObjectCost) + cost);
        }
        headings.push_back(t(txt::ModernisationsNumber) + " (>=0)");
        headings.push_back(t(txt::CurrentlyAbsentColumn) + " (*)");
        std::copy(headings.begin(), headings.end(), s2.add_row());
        for (std::size_t i = 0; i < bdon.objects.size(); ++i) {
            const DborObject& o = bdon.objects[i];
            std::string* row = s2.add_row();
            std::size_t c = 0;
            row[c++] = n(long(i + 1));
            row[c++] = o.code;
            row[c++] = o.description;
            if (type_a) {
                row[c++] = g(o.cost);
            }
            row[c++] = n(o.n);
            row[c++] = o.absence;
        }
        heights_by_text(s2, 52.5, 2, 50);
        s2.formats = {whole_row(0, {true, false, true, false}), whole_column(2, wrap())};
    }
    book.sheets.push_back(std::move(s2));

    SheetLayout s3 = sheet(tt(txt::ObjectParametersTab) + " (2)", 7, {7, 14, 51, 14, 14, 10, 13});
    {
        const std::vector<std::string> headings = {tt(txt::ObjectNumberTrimmed),
                                                   t(txt::ModernisationNumberColumn),
                                                   t(txt::ModernisationDescription) + length,
                                                   t(txt::ModernisationCost) + cost,
                                                   t(txt::ModernisationDuration) + time,
                                                   t(txt::SalesNumber) + " (>=0)",
                                                   tt(txt::ExploitationsNumber) + " (>=0)"};
        std::copy(headings.begin(), headings.end(), s3.add_row());
        for (std::size_t i = 0; i < bdon.variants.size(); ++i) {
            for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
                const DborVariant& v = bdon.variants[i][j];
                std::string* row = s3.add_row();
                row[0] = number_in_block(long(i + 1), j == 0);
                row[1] = blanks(j) + n(long(j));
                row[2] = v.description;
                row[3] = j == 0 ? "-" : g(v.cost);
                row[4] = j == 0 ? "-" : g(v.duration);
                row[5] = n(v.s);
                row[6] = n(v.e);
            }
        }
        heights_by_text(s3, 52.5, 2, 50);
        s3.formats = {whole_row(0, {true, false, true, false}), whole_column(2, wrap())};
    }
    book.sheets.push_back(std::move(s3));

    // Sale variants in A..E and exploitation variants in G..K, each list from row 2.
    SheetLayout s4 =
        sheet(tt(txt::ObjectParametersTab) + " (3)", 11, {7, 14, 9, 12, 20, 1, 7, 14, 13, 21, 24});
    {
        const std::vector<std::string> headings = {tt(txt::ObjectNumberTrimmed),
                                                   t(txt::ModernisationNumberColumn),
                                                   t(txt::SaleNumberColumn),
                                                   t(txt::ExpectedSaleRevenue) + cost,
                                                   t(txt::SalePointsNumber) + " (0, >=2)",
                                                   "",
                                                   tt(txt::ObjectNumberTrimmed),
                                                   t(txt::ModernisationNumberColumn),
                                                   t(txt::ExploitationNumberColumn),
                                                   t(txt::SteadyExploitationIncome) + " (" +
                                                       h.cost_unit + "/" + h.time_unit + ")",
                                                   t(txt::ExploitationPointsNumber) + " (0, >=2)"};
        std::copy(headings.begin(), headings.end(), s4.add_row());
        auto fill = [&](std::size_t first_col, bool sale) {
            std::size_t r = 1;
            for (std::size_t i = 0; i < bdon.variants.size(); ++i) {
                for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
                    const std::size_t count =
                        sale ? bdon.sale_variants[i][j].size() : bdon.expl_variants[i][j].size();
                    for (std::size_t k = 0; k < count; ++k, ++r) {
                        if (r == s4.rows()) {
                            s4.add_row();
                        }
                        std::string* row = &s4.cells[r * s4.columns + first_col];
                        row[0] = number_in_block(long(i + 1), j == 0 && k == 0);
                        row[1] = number_in_block(long(j), k == 0);
                        row[2] = blanks(k) + n(long(k + 1));
                        row[3] = sale ? g(bdon.sale_variants[i][j][k].revenue)
                                      : g(bdon.expl_variants[i][j][k].income);
                        row[4] =
                            n(sale ? bdon.sale_variants[i][j][k].p : bdon.expl_variants[i][j][k].q);
                    }
                }
            }
        };
        fill(0, true);
        fill(6, false);
        s4.heights = {65.25};
        s4.formats = {whole_row(0, {true, false, true, false})};
    }
    book.sheets.push_back(std::move(s4));

    // Delay curve points: sale curves in A..F, exploitation curves in H..M.
    SheetLayout s5 =
        sheet(tt(txt::DelayTablesTab), 13, {7, 14, 9.5, 11, 23, 21.5, 1, 7, 14, 13, 11, 25.5, 24});
    {
        const std::vector<std::string> headings = {tt(txt::ObjectNumberTrimmed),
                                                   t(txt::ModernisationNumberColumn),
                                                   t(txt::SaleNumberColumn),
                                                   t(txt::PointNumberColumn),
                                                   t(txt::SaleDelay) + time,
                                                   t(txt::SaleProbability),
                                                   "",
                                                   tt(txt::ObjectNumberTrimmed),
                                                   t(txt::ModernisationNumberColumn),
                                                   t(txt::ExploitationNumberColumn),
                                                   t(txt::PointNumberColumn),
                                                   t(txt::ExploitationDelay) + time,
                                                   t(txt::ExploitationProbability)};
        std::copy(headings.begin(), headings.end(), s5.add_row());
        // The points of the longer list decide the rows; count them first so the sheet grows
        // once.
        std::size_t sale_points = 0, expl_points = 0;
        for (std::size_t i = 0; i < bdon.variants.size(); ++i) {
            for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
                for (const auto& c : bdon.sale_points[i][j]) {
                    sale_points += c.size();
                }
                for (const auto& c : bdon.expl_points[i][j]) {
                    expl_points += c.size();
                }
            }
        }
        s5.cells.resize((1 + std::max(sale_points, expl_points)) * s5.columns);
        auto fill = [&](std::size_t first_col, bool sale) {
            std::size_t r = 1;
            for (std::size_t i = 0; i < bdon.variants.size(); ++i) {
                bool object_first = true;
                for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
                    bool variant_first = true;
                    const auto& curves = sale ? bdon.sale_points[i][j] : bdon.expl_points[i][j];
                    for (std::size_t k = 0; k < curves.size(); ++k) {
                        for (std::size_t p = 0; p < curves[k].size(); ++p, ++r) {
                            std::string* row = &s5.cells[r * s5.columns + first_col];
                            row[0] = number_in_block(long(i + 1), object_first);
                            row[1] = number_in_block(long(j), variant_first);
                            row[2] = number_in_block(long(k + 1), p == 0);
                            row[3] = blanks(p) + n(long(p + 1));
                            row[4] = g(curves[k][p].x);
                            row[5] = g(curves[k][p].y);
                            object_first = variant_first = false;
                        }
                    }
                }
            }
        };
        fill(0, true);
        fill(7, false);
        s5.heights = {52.5};
        s5.formats = {whole_row(0, {true, false, true, false})};
    }
    book.sheets.push_back(std::move(s5));
    return book;
}

// ---- Task ---------------------------------------------------------------------------------------

WorkbookLayout task_workbook(const TaskView& view, const LanguageShell& shell) {
    const TaskHeader& h = view.task;
    const bool payback = h.prok == 1;
    const bool sale = h.prmp == 1;
    const std::vector<ViewGrid>& grids = view.content.grids;
    WorkbookLayout book;
    book.sheets.push_back(
        param_sheet(shell.text(txt::Parameters), view.content.params, 76, 75, true));

    SheetLayout s2 =
        grid_sheet(shell.text(txt::InvestmentVariantsTab), grids.at(0),
                   payback ? std::vector<double>{11, 21, 21, 14} : std::vector<double>{11, 21, 21});
    s2.heights = {39.75};
    s2.formats = {whole_row(0, wrap()), cells(0, 0, 0, 2, bold())};
    if (payback) {
        s2.formats.push_back(cells(0, 3, 0, 3, italic()));
    }
    book.sheets.push_back(std::move(s2));

    SheetLayout s3 = grid_sheet(shell.trimmed(txt::ObjectParametersTab) + " (1)", grids.at(1),
                                {7, 7, 51, h.reg == 1 ? 11.0 : 1.0, 12.5, 14, 15});
    heights_by_text(s3, 52.5, 2, 50);
    s3.formats = {whole_row(0, wrap()), cells(0, 0, 0, 0, bold()), cells(0, 1, 0, 5, italic()),
                  cells(0, 6, 0, 6, bold()), whole_column(2, wrap())};
    book.sheets.push_back(std::move(s3));

    static const double kTypeWidth[] = {11.5, 10, 16, 12.5};
    SheetLayout s4 = grid_sheet(shell.trimmed(txt::ObjectParametersTab) + " (2)", grids.at(2),
                                {11.5, 14, 51, 12.5, 14, kTypeWidth[std::clamp(h.tipz, 1, 4) - 1]});
    heights_by_text(s4, 52.5, 2, 50);
    s4.formats = {whole_row(0, wrap()), cells(0, 0, 0, 1, bold()), cells(0, 2, 0, 5, italic()),
                  whole_column(2, wrap())};
    book.sheets.push_back(std::move(s4));

    if (payback) {
        SheetLayout s5 = grid_sheet(shell.trimmed(txt::ObjectParametersTab) + " (3)", grids.at(3),
                                    sale ? std::vector<double>{11.5, 14, 13, 11, 18}
                                         : std::vector<double>{11.5, 14, 13, 21.5, 22.5});
        s5.heights = {h.tipz == 2 ? 65.25 : 52.5};
        s5.formats = {whole_row(0, wrap()), cells(0, 0, 0, 2, bold()), cells(0, 3, 0, 4, italic())};
        book.sheets.push_back(std::move(s5));

        SheetLayout s6 = grid_sheet(shell.trimmed(txt::DelayTablesTab), grids.at(4),
                                    sale ? std::vector<double>{11.5, 14, 13, 10.5, 22, 18}
                                         : std::vector<double>{11.5, 14, 13, 10.5, 24.5, 23});
        s6.heights = {52.5};
        s6.formats = {whole_row(0, wrap()), cells(0, 0, 0, 3, bold()), cells(0, 4, 0, 5, italic())};
        book.sheets.push_back(std::move(s6));
    }
    return book;
}

// ---- Solution and statistics --------------------------------------------------------------------

WorkbookLayout solution_workbook(const SolutionView& view, const LanguageShell& shell) {
    WorkbookLayout book;
    book.sheets.push_back(
        param_sheet(shell.text(txt::Parameters), view.content.params, 74, 80, false));
    SheetLayout s2 = grid_sheet(shell.text(txt::SolutionSheet), view.content.grids.at(0),
                                {11.5, 12.5, 14, 11.5, 15, 12.5, 11.5, 7.5, 41,
                                 view.task.reg == 1 ? 10.0 : 1.0, 10, 14, 14, 13, 14});
    heights_by_text(s2, 77.25, 8, 40);
    s2.formats = {cells(0, 0, 0, 14, {true, false, true, false}), whole_column(8, wrap())};
    book.sheets.push_back(std::move(s2));
    return book;
}

WorkbookLayout statistics_workbook(const StatisticsView& view, const LanguageShell& shell) {
    WorkbookLayout book;
    book.sheets.push_back(
        param_sheet(shell.text(txt::Parameters), view.content.params, 59, 114, false));
    SheetLayout s2 = grid_sheet(shell.text(txt::MenuStatistics), view.content.grids.at(0),
                                {11, 15, 15, 16, 19, 24, 24, 17, 17, 39});
    s2.heights = {52};
    s2.formats = {cells(0, 0, 0, 9, {true, false, true, false})};
    book.sheets.push_back(std::move(s2));
    return book;
}

std::string task_report_name(const std::string& code) {
    return "kov_" + code;
}
std::string solution_report_name(const std::string& code) {
    return "kov_" + code + "_out";
}
std::string statistics_report_name(const std::string& code) {
    return "kov_" + code + "_stat";
}

} // namespace kov
