#include "dbor/bdon_checks.h"

#include "dbor/curve_picture.h"
#include "io/files.h"
#include "io/numbers.h"
#include "shell/language_shell.h"
#include "shell/texts.h"

#include <cmath>
#include <optional>

namespace kov {

namespace {

constexpr double kTolerance = 1e-8;

bool six_digits(std::string_view s) {
    if (s.size() != 6) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

MessagePiece text(int k, bool trim = false) {
    return {k, trim, {}};
}
MessagePiece fixed(std::string s) {
    return {-1, false, std::move(s)};
}

NextOutcome warning(std::vector<MessagePiece> message, Focus focus, std::size_t row = 0,
                    int column = 0) {
    return {Verdict::Warning, std::move(message), focus, row, column};
}
// A shell text followed by ".".
NextOutcome warning(int k, Focus focus, std::size_t row = 0, int column = 0) {
    return warning({text(k), fixed(".")}, focus, row, column);
}
NextOutcome grid_warning(int k, std::size_t row, int column) {
    return warning(k, Focus::Grid, row, column);
}
NextOutcome grid_warning(std::vector<MessagePiece> message, std::size_t row, int column) {
    return warning(std::move(message), Focus::Grid, row, column);
}

// What the conversion of a whole-number (or real) cell says when its text is no number.
NextOutcome not_a_number(std::string_view cell, bool integer, std::size_t row, int column) {
    std::string message(1, '"');
    message.append(cell)
        .append("\" is not a valid ")
        .append(integer ? "integer" : "floating point");
    return {Verdict::Error, {fixed(message + " value")}, Focus::Grid, row, column};
}

// " (<0 " + "or" + " >5)." after the texts of the variant counts.
std::vector<MessagePiece> count_range(int k) {
    return {text(k), fixed(" (<0 "), text(txt::Or), fixed(" >5).")};
}

// A count column of page 3 or 4: empty, no integer, or outside 0..5.
std::optional<NextOutcome> check_count(std::string_view cell, int empty_text, int range_text,
                                       std::size_t row, int column) {
    const std::string_view t = trim_blanks(cell);
    if (t.empty()) {
        return grid_warning(empty_text, row, column);
    }
    const auto n = parse_int(t);
    if (!n) {
        return not_a_number(t, true, row, column);
    }
    if (*n < 0 || *n > 5) {
        return grid_warning(count_range(range_text), row, column);
    }
    return std::nullopt;
}

// A money or time amount of page 3 or 4 that must be above 0.
std::optional<NextOutcome> check_positive(const NumberCell& cell, int empty_text, int nan_text,
                                          int low_text, std::size_t row, int column, char dc) {
    if (cell.blank()) {
        return grid_warning(empty_text, row, column);
    }
    const auto v = cell.value(dc);
    if (!v) {
        return grid_warning(nan_text, row, column);
    }
    if (*v < kTolerance) {
        return grid_warning(low_text, row, column);
    }
    return std::nullopt;
}

// The description of a row: "<text> <number> ..."", <DescriptionNotFilled>." with the focus in the
// memo.
NextOutcome missing_description(std::vector<MessagePiece> head, std::size_t row, int column) {
    head.push_back(fixed(" ...\", "));
    head.push_back(text(txt::DescriptionNotFilled));
    head.push_back(fixed("."));
    return warning(std::move(head), Focus::Memo, row, column);
}

} // namespace

int NextOutcome::text() const {
    for (const MessagePiece& p : message) {
        if (p.text >= 0) {
            return p.text;
        }
    }
    return -1;
}

std::string NextOutcome::compose(const LanguageShell& shell) const {
    std::string out;
    for (const MessagePiece& p : message) {
        out += p.text < 0 ? p.fixed : p.trimmed ? shell.trimmed(p.text) : shell.text(p.text);
    }
    return out;
}

// ---- Pages 1 and 2
// -------------------------------------------------------------------------------

NextOutcome check_identity(char type, std::string_view code, std::string_view name) {
    const std::size_t digits = type == 'A' ? 3 : 6;
    bool code_ok = code.size() == digits;
    for (char c : code) {
        code_ok = code_ok && c >= '0' && c <= '9';
    }
    if (!code_ok) {
        return warning(txt::DatabaseCodeDigits,
                       Focus::Code); // the code must have 3 (type A) or 6 (type B) digits
    }
    if (trim_blanks(name).empty()) {
        return warning(txt::EnterDatabaseName, Focus::Name); // enter the name of the database
    }
    return {};
}

NextOutcome check_code_free(const std::string& workspace, std::string_view suffix, char type,
                            std::string_view code) {
    const std::string dbor = std::string(1, type) + "_" + std::string(code);
    if (!is_dbor_code(dbor) || !file_exists(bdon_base(workspace, dbor, suffix) + ".dat")) {
        return {};
    }
    return warning({text(kTextDatabaseExists), fixed(" \"" + dbor + "\".")}, Focus::Code);
}

NextOutcome check_object_count(std::string_view field) {
    const auto n = parse_int(trim_blanks(field));
    if (!n) {
        return {Verdict::FocusOnly, {}, Focus::ObjectCount};
    }
    if (*n < 1) {
        return warning(txt::ObjectsNumberZero,
                       Focus::ObjectCount); // the number of objects must be above 0
    }
    if (*n > kMaxObjects) {
        return warning({text(txt::TooManyObjects), fixed(" (> 1000).")}, Focus::ObjectCount);
    }
    return {};
}

// ---- Page 3
// ----------------------------------------------------------------------------------------

NextOutcome check_objects(const ObjectsGrid& grid) {
    const auto& rows = grid.rows();
    std::size_t marked = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const ObjectRow& row = rows[r];
        if (!row.deletion.empty()) {
            ++marked;
            continue;
        }
        if (trim_blanks(row.description).empty()) {
            return missing_description({text(txt::ObjectDescriptionField),
                                        fixed(std::string(1, ' ') + std::to_string(r + 1))},
                                       r, 6);
        }
        const std::string_view code = trim_blanks(row.code);
        if (code.empty()) {
            return grid_warning(txt::ObjectCodeEmpty, r, 1); // the object code is empty
        }
        // A pasted code could hold other characters or more of them: exactly six digits.
        if (!six_digits(code)) {
            return grid_warning(txt::ObjectCodeDigits, r, 1);
        }
        if (grid.type() == 'A') {
            if (auto o = check_positive(row.cost, txt::ObjectCostEmpty, txt::ObjectCostNotANumber,
                                        txt::ObjectCostNotPositive, r, 2, grid.decimal_char())) {
                return *o;
            }
        }
        if (auto o =
                check_count(row.count, txt::ModernisationsEmpty, txt::ModernisationsRange, r, 3)) {
            return *o;
        }
    }
    if (marked == rows.size()) {
        return warning({text(txt::AllObjectsMarkedForDeletion), fixed(". "),
                        text(txt::OneObjectMustRemain), fixed(".")},
                       Focus::Grid);
    }
    if (marked > 0) {
        return {
            Verdict::Confirm,
            {text(txt::ReallyDelete), fixed(" "), text(txt::ObjectsMarkedForDeletion), fixed(".")},
            Focus::Grid};
    }
    return {};
}

// ---- Page 4
// ----------------------------------------------------------------------------------------

NextOutcome check_variants(const VariantsGrid& grid) {
    const auto& rows = grid.rows();
    const char dc = grid.decimal_char();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const VariantRow& row = rows[r];
        if (trim_blanks(row.description).empty()) {
            return missing_description(
                {text(txt::VariantDescriptionField),
                 fixed(std::string(1, ' ') + std::to_string(row.variant) + ' '),
                 text(txt::OfTheObject)},
                r, 7);
        }
        if (row.variant > 0) {
            if (auto o = check_positive(row.cost, txt::ModernisationCostEmpty,
                                        txt::ModernisationCostNotANumber,
                                        txt::ModernisationCostNotPositive, r, 3, dc)) {
                return *o;
            }
            if (auto o = check_positive(row.duration, txt::DurationEmpty, txt::DurationNotANumber,
                                        txt::DurationNotPositive, r, 4, dc)) {
                return *o;
            }
        }
        if (auto o = check_count(row.sale, txt::SalesEmpty, txt::SalesRange, r, 5)) {
            return *o;
        }
        if (auto o =
                check_count(row.expl, txt::ExploitationsEmpty, txt::ExploitationsRange, r, 6)) {
            return *o;
        }
        if (parse_int(trim_blanks(row.sale)) == 0 && parse_int(trim_blanks(row.expl)) == 0) {
            return grid_warning(txt::NoSaleNorExploitation, r,
                                5); // neither a sale nor an exploitation variant
        }
    }
    return {};
}

// ---- Pages 5 and 7
// -------------------------------------------------------------------------------

NextOutcome check_incomes(const IncomeGrid& grid) {
    const auto& rows = grid.rows();
    const char dc = grid.decimal_char();
    // The tail of the amount's texts: " "Expected ..." in the row now at the top.".
    const auto amount_message = [](int k) {
        return std::vector<MessagePiece>{text(k),
                                         fixed(" \""),
                                         text(txt::Expected),
                                         fixed(" ...\" "),
                                         text(txt::CheckTheColumn),
                                         fixed(".")};
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const IncomeRow& row = rows[r];
        if (row.amount.blank()) {
            return grid_warning(amount_message(txt::ColumnNotFilled), r, 4);
        }
        const auto a = row.amount.value(dc);
        if (!a) {
            return not_a_number(trim_blanks(row.amount.text(dc)), false, r, 4);
        }
        if (*a < -kTolerance) {
            return grid_warning(amount_message(txt::NegativeInColumn), r, 4);
        }
        const std::string_view points = trim_blanks(row.points);
        if (points.empty()) {
            return grid_warning(txt::PointsEmpty, r, 5);
        }
        const auto p = parse_int(points);
        if (!p) {
            return not_a_number(points, true, r, 5);
        }
        // 0 points (no curve) only for a single variant; a pasted negative count is refused
        // like any other count outside 0, 2..10.
        if (row.siblings == 1 && (*p < 0 || *p == 1 || *p > kMaxPoints)) {
            return grid_warning({text(txt::SingleVariantCurvePoints), fixed(" (=1 "), text(txt::Or),
                                 fixed(" >10).")},
                                r, 5);
        }
        if (row.siblings > 1 && (*p < 2 || *p > kMaxPoints)) {
            return grid_warning({text(txt::SeveralVariantsCurvePoints), fixed(" (<2 "),
                                 text(txt::Or), fixed(" >10).")},
                                r, 5);
        }
    }
    return {};
}

// ---- Pages 6 and 8
// -------------------------------------------------------------------------------

NextOutcome check_curves(const CurveGrid& grid) {
    const auto& rows = grid.rows();
    const char dc = grid.decimal_char();
    DborPoint previous; // the previous point of the curve
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PointRow& row = rows[r];
        const CurvePointEntry point{{row.x.blank(), row.x.value(dc)},
                                    {row.y.blank(), row.y.value(dc)}};
        if (const CurveFault f = curve_point_fault(point, row.point, row.count, previous)) {
            const int column = f.in_value ? 6 : 5;
            if (f.text == txt::ProbabilityAboveOne) {
                return grid_warning(
                    {text(f.text), fixed(grid.kind() == Income::Sale ? " (>1)." : ".")}, r, column);
            }
            return grid_warning(f.text, r, column);
        }
        previous = {*point.x.value, *point.y.value};
    }
    return {};
}

// ---- Page flow
// -----------------------------------------------------------------------------------

int page_after(int page, const WizardTotals& t) {
    switch (page) {
    case 4:
        return t.sale_variants >= 1 ? 5 : 7;
    case 5:
        return t.sale_points >= 1 ? 6 : t.expl_variants >= 1 ? 7 : 9;
    case 6:
        return t.expl_variants >= 1 ? 7 : 9;
    case 7:
        return t.expl_points >= 1 ? 8 : 9;
    default:
        return page < 9 ? page + 1 : 9;
    }
}

int page_before(int page, const WizardTotals& t) {
    switch (page) {
    case 7:
        return t.sale_points >= 1 ? 6 : t.sale_variants >= 1 ? 5 : 4;
    case 9:
        return t.expl_points >= 1 ? 8 : t.expl_variants >= 1 ? 7 : t.sale_points >= 1 ? 6 : 5;
    default:
        return page > 1 ? page - 1 : 1;
    }
}

} // namespace kov
