#include "dbor/bdon_checks.h"

#include "io/files.h"
#include "io/numbers.h"
#include "shell/language_shell.h"

#include <cmath>
#include <optional>

namespace kov {

namespace {

constexpr double kTolerance = 1e-8;

// Blanks (spaces and control characters) removed at both ends, without copying.
std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    return s;
}

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
    return {Verdict::Error,
            {fixed("\"" + std::string(cell) + "\" is not a valid " +
                   (integer ? "integer" : "floating point") + " value")},
            Focus::Grid,
            row,
            column};
}

// " (<0 " + "or" + " >5)." after the texts of the variant counts.
std::vector<MessagePiece> count_range(int k) {
    return {text(k), fixed(" (<0 "), text(143), fixed(" >5).")};
}

// A count column of page 3 or 4: empty, no integer, or outside 0..5.
std::optional<NextOutcome> check_count(std::string_view cell, int empty_text, int range_text,
                                       std::size_t row, int column) {
    const std::string_view t = trimmed(cell);
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
std::optional<NextOutcome> check_positive(std::string_view cell, int empty_text, int nan_text,
                                          int low_text, std::size_t row, int column, char dc) {
    const std::string_view t = trimmed(cell);
    if (t.empty()) {
        return grid_warning(empty_text, row, column);
    }
    const auto v = parse_real(t, dc);
    if (!v) {
        return grid_warning(nan_text, row, column);
    }
    if (*v < kTolerance) {
        return grid_warning(low_text, row, column);
    }
    return std::nullopt;
}

// The description of a row: "<text> <number> ..."", <305>." with the focus in the memo.
NextOutcome missing_description(std::vector<MessagePiece> head, std::size_t row, int column) {
    head.push_back(fixed(" ...\", "));
    head.push_back(text(305));
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
        return warning(507, Focus::Code); // the code must have 3 (type A) or 6 (type B) digits
    }
    if (trimmed(name).empty()) {
        return warning(29, Focus::Name); // enter the name of the database
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
    const auto n = parse_int(trimmed(field));
    if (!n) {
        return {Verdict::FocusOnly, {}, Focus::ObjectCount};
    }
    if (*n < 1) {
        return warning(223, Focus::ObjectCount); // the number of objects must be above 0
    }
    if (*n > kMaxObjects) {
        return warning({text(415), fixed(" (> 1000).")}, Focus::ObjectCount);
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
        if (trimmed(row.description).empty()) {
            return missing_description({text(312), fixed(" " + std::to_string(r + 1))}, r, 6);
        }
        const std::string_view code = trimmed(row.code);
        if (code.empty()) {
            return grid_warning(310, r, 1); // the object code is empty
        }
        // A pasted code could hold other characters or more of them: exactly six digits.
        if (!six_digits(code)) {
            return grid_warning(252, r, 1);
        }
        if (grid.type() == 'A') {
            if (auto o = check_positive(row.cost, 314, 248, 232, r, 2, grid.decimal_char())) {
                return *o;
            }
        }
        if (auto o = check_count(row.count, 315, 216, r, 3)) {
            return *o;
        }
    }
    if (marked == rows.size()) {
        return warning({text(23), fixed(". "), text(420), fixed(".")}, Focus::Grid);
    }
    if (marked > 0) {
        return {Verdict::Confirm, {text(51), fixed(" "), text(104), fixed(".")}, Focus::Grid};
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
        if (trimmed(row.description).empty()) {
            return missing_description(
                {text(311), fixed(" " + std::to_string(row.variant) + " "), text(189)}, r, 7);
        }
        if (row.variant > 0) {
            if (auto o = check_positive(row.cost, 313, 247, 231, r, 3, dc)) {
                return *o;
            }
            if (auto o = check_positive(row.duration, 307, 244, 230, r, 4, dc)) {
                return *o;
            }
        }
        if (auto o = check_count(row.sale, 316, 217, r, 5)) {
            return *o;
        }
        if (auto o = check_count(row.expl, 317, 218, r, 6)) {
            return *o;
        }
        if (parse_int(trimmed(row.sale)) == 0 && parse_int(trimmed(row.expl)) == 0) {
            return grid_warning(241, r, 5); // neither a sale nor an exploitation variant
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
        return std::vector<MessagePiece>{text(k),          fixed(" \""), text(281),
                                         fixed(" ...\" "), text(20),     fixed(".")};
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const IncomeRow& row = rows[r];
        const std::string_view amount = trimmed(row.amount);
        if (amount.empty()) {
            return grid_warning(amount_message(306), r, 4);
        }
        const auto a = parse_real(amount, dc);
        if (!a) {
            return not_a_number(amount, false, r, 4);
        }
        if (*a < -kTolerance) {
            return grid_warning(amount_message(235), r, 4);
        }
        const std::string_view points = trimmed(row.points);
        if (points.empty()) {
            return grid_warning(318, r, 5);
        }
        const auto p = parse_int(points);
        if (!p) {
            return not_a_number(points, true, r, 5);
        }
        // 0 points (no curve) only for a single variant; a pasted negative count is refused
        // like any other count outside 0, 2..10.
        if (row.siblings == 1 && (*p < 0 || *p == 1 || *p > kMaxPoints)) {
            return grid_warning({text(219), fixed(" (=1 "), text(143), fixed(" >10).")}, r, 5);
        }
        if (row.siblings > 1 && (*p < 2 || *p > kMaxPoints)) {
            return grid_warning({text(220), fixed(" (<2 "), text(143), fixed(" >10).")}, r, 5);
        }
    }
    return {};
}

// ---- Pages 6 and 8
// -------------------------------------------------------------------------------

NextOutcome check_curves(const CurveGrid& grid) {
    const auto& rows = grid.rows();
    const char dc = grid.decimal_char();
    double px = 0, py = 0; // the previous point of the curve
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PointRow& row = rows[r];
        const bool first = row.point == 0;
        const bool last = row.point + 1 == row.count;

        const std::string_view xt = trimmed(row.x);
        if (xt.empty()) {
            return grid_warning(308, r, 5);
        }
        const auto x = parse_real(xt, dc);
        if (!x) {
            return grid_warning(245, r, 5);
        }
        if (first && *x > kTolerance) {
            return grid_warning(213, r, 5); // the first argument is 0
        }
        if (*x < -kTolerance) {
            return grid_warning(210, r, 5);
        }
        if (!first && *x < px - kTolerance) {
            return grid_warning(206, r, 5); // the arguments do not decrease
        }

        const std::string_view yt = trimmed(row.y);
        if (yt.empty()) {
            return grid_warning(309, r, 6);
        }
        const auto y = parse_real(yt, dc);
        if (!y) {
            return grid_warning(246, r, 6);
        }
        if (*y < -kTolerance) {
            return grid_warning(211, r, 6);
        }
        if (*y > 1.00000001) {
            return grid_warning({text(412), fixed(grid.kind() == Income::Sale ? " (>1)." : ".")}, r,
                                6);
        }
        if (first && *y > kTolerance) {
            return grid_warning(212, r, 6); // the first value is 0
        }
        if (last && std::fabs(*y - 1) > kTolerance) {
            return grid_warning(207, r, 6); // the last value is 1
        }
        if (!last && std::fabs(*y - 1) < kTolerance) {
            return grid_warning(209, r, 6); // only the last value reaches 1
        }
        if (!first && *y < py - kTolerance) {
            return grid_warning(208, r, 6); // the values do not decrease
        }
        if (!first && std::fabs(*x - px) < kTolerance && std::fabs(*y - py) < kTolerance) {
            return grid_warning(90, r, 6); // a point repeated
        }
        px = *x;
        py = *y;
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
