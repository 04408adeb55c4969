#include "book/imports.h"

#include "io/codepage.h"
#include "io/numbers.h"
#include "shell/language_shell.h"
#include "shell/texts.h"

#include <algorithm>
#include <limits>

namespace kov {

namespace {

MessagePiece shell_piece(int k, bool trimmed = false) {
    return {k, trimmed, {}};
}
MessagePiece fixed(std::string text) {
    return {-1, false, std::move(text)};
}

// A cell that does not hold what its field needs; it ends the import with an error box.
struct CellProblem {
    ImportOutcome outcome;
};

std::string cell_name(std::size_t row, std::size_t col) {
    std::string letters;
    for (std::size_t c = col; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    }
    return letters + std::to_string(row);
}

[[noreturn]] void refuse_cell(std::size_t sheet, std::size_t row, std::size_t col,
                              const std::string& text, const std::string& what) {
    throw CellProblem{{Verdict::Error,
                       {fixed("'" + text + "' " + what + " (sheet " + std::to_string(sheet) +
                              ", cell " + cell_name(row, col) + ")")}}};
}

// Cells of one sheet with the conversions the fields need.
class Sheet {
public:
    Sheet(WorkbookReader& book, std::size_t number, std::size_t rows, std::size_t columns, char dc,
          CodePage cp)
        : number_(number)
        , dc_(dc)
        , cp_(cp) {
        if (number > book.sheet_count()) {
            throw CellProblem{
                {Verdict::Error, {fixed("The workbook has no sheet " + std::to_string(number))}}};
        }
        cells_ = book.read_sheet(number - 1, rows, columns, dc);
    }

    const std::string& raw(std::size_t row, std::size_t col) const { return cells_.at(row, col); }

    // Trimmed, cut to `length` characters, and as the code page stores it.
    std::string cell_text(std::size_t row, std::size_t col, std::size_t length) const {
        return decode(encode(left_chars(trim(raw(row, col)), length), cp_), cp_);
    }

    std::int32_t integer(std::size_t row, std::size_t col) const {
        const std::optional<int> v = parse_int(trim(raw(row, col)));
        if (!v) {
            refuse_cell(number_, row, col, raw(row, col), "is not a valid integer value");
        }
        return *v;
    }

    // A count that sizes the data: within lo..hi.
    std::size_t count(std::size_t row, std::size_t col, int lo, int hi) const {
        const std::int32_t v = integer(row, col);
        if (v < lo || v > hi) {
            refuse_cell(number_, row, col, raw(row, col),
                        "is not a count in " + std::to_string(lo) + ".." + std::to_string(hi));
        }
        return std::size_t(v);
    }

    double real(std::size_t row, std::size_t col) const {
        const std::optional<double> v = parse_real(trim(raw(row, col)), dc_);
        if (!v) {
            refuse_cell(number_, row, col, raw(row, col), "is not a valid floating point value");
        }
        return *v;
    }

private:
    std::size_t number_;
    char dc_;
    CodePage cp_;
    SheetCells cells_;
};

} // namespace

// ---- Database -----------------------------------------------------------------------------------

DatabaseWorkbook read_database_workbook(WorkbookReader& book, const std::string& suffix, char type,
                                        char dc, CodePage cp) {
    DatabaseWorkbook out;
    try {
        const Sheet s1(book, 1, 16, 2, dc, cp);
        const std::string language = left_chars(trim(s1.raw(1, 2)), 3);
        if (language != suffix) {
            out.outcome = {Verdict::Warning,
                           {shell_piece(txt::WorkbookLanguage), fixed(" (" + language + "), "),
                            shell_piece(txt::NotShellLanguage, true), fixed(" (" + suffix + "), "),
                            shell_piece(txt::ImportImpossible), fixed(".")}};
            return out;
        }
        const std::string type_text = trim(s1.raw(2, 2));
        const std::string letter = left_chars(type_text, 1);
        const char read_type = letter == "A" ? 'A' : 'B';
        if (letter.empty() || read_type != type) {
            out.outcome = {Verdict::Warning,
                           {shell_piece(txt::WorkbookDatabaseType), fixed(" (\"" + letter + "\") "),
                            shell_piece(txt::TypeNotChosenType),
                            fixed(" (\"" + std::string(1, type) + "\").")}};
            return out;
        }
        const bool type_a = type == 'A';
        BdonData d;
        DborHeader& h = d.header;
        h.language = decode(encode(language, cp), cp);
        h.type = std::string(1, type);
        h.mode = type_a ? 1 : 2;
        h.cost_unit = s1.cell_text(8, 2, 20);
        h.time_unit = s1.cell_text(9, 2, 20);
        // The object count is judged as page 2 judges it before it sizes anything.
        const NextOutcome count_check = check_object_count(trim(s1.raw(10, 2)));
        if (!count_check.ok()) {
            if (!parse_int(trim(s1.raw(10, 2)))) {
                refuse_cell(1, 10, 2, s1.raw(10, 2), "is not a valid integer value");
            }
            out.outcome = count_check;
            return out;
        }
        h.m = s1.integer(10, 2);
        h.sale_objects = s1.integer(12, 2);
        h.sale_curve_objects = s1.integer(13, 2);
        h.expl_objects = s1.integer(14, 2);
        h.expl_curve_objects = s1.integer(15, 2);
        h.saved = s1.cell_text(16, 2, 10);
        const std::size_t m = std::size_t(h.m);

        const Sheet s2(book, 2, m + 1, type_a ? 6 : 5, dc, cp);
        d.objects.resize(m);
        std::size_t variant_rows = 0;
        for (std::size_t i = 0; i < m; ++i) {
            DborObject& o = d.objects[i];
            const std::size_t r = i + 2;
            o.code = s2.cell_text(r, 2, 6);
            o.description = s2.cell_text(r, 3, 255);
            o.cost = type_a ? s2.real(r, 4) : 0;
            o.n = std::int32_t(s2.count(r, type_a ? 5 : 4, 0, kMaxModernisations));
            o.absence = s2.cell_text(r, type_a ? 6 : 5, 1);
            variant_rows += std::size_t(o.n) + 1;
        }

        const Sheet s3(book, 3, variant_rows + 1, 7, dc, cp);
        d.variants.resize(m);
        std::size_t r = 2, sales = 0, expls = 0;
        for (std::size_t i = 0; i < m; ++i) {
            d.variants[i].resize(std::size_t(d.objects[i].n) + 1);
            for (std::size_t j = 0; j < d.variants[i].size(); ++j, ++r) {
                DborVariant& v = d.variants[i][j];
                v.description = s3.cell_text(r, 3, 255);
                v.cost = j == 0 ? 0 : s3.real(r, 4);
                v.duration = j == 0 ? 0 : s3.real(r, 5);
                v.s = std::int32_t(s3.count(r, 6, 0, kMaxSaleVariants));
                v.e = std::int32_t(s3.count(r, 7, 0, kMaxExplVariants));
                sales += std::size_t(v.s);
                expls += std::size_t(v.e);
            }
        }

        const Sheet s4(book, 4, std::max(sales, expls) + 1, 11, dc, cp);
        d.sale_variants.resize(m);
        d.expl_variants.resize(m);
        std::size_t sale_row = 2, expl_row = 2, sale_points = 0, expl_points = 0;
        for (std::size_t i = 0; i < m; ++i) {
            d.sale_variants[i].resize(d.variants[i].size());
            d.expl_variants[i].resize(d.variants[i].size());
            for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
                for (std::int32_t k = 0; k < d.variants[i][j].s; ++k, ++sale_row) {
                    DborSaleVariant sv;
                    sv.revenue = s4.real(sale_row, 4);
                    sv.p = std::int32_t(s4.count(sale_row, 5, 0, kMaxPoints));
                    sale_points += std::size_t(sv.p);
                    d.sale_variants[i][j].push_back(sv);
                }
                for (std::int32_t k = 0; k < d.variants[i][j].e; ++k, ++expl_row) {
                    DborExplVariant ev;
                    ev.income = s4.real(expl_row, 10);
                    ev.q = std::int32_t(s4.count(expl_row, 11, 0, kMaxPoints));
                    expl_points += std::size_t(ev.q);
                    d.expl_variants[i][j].push_back(ev);
                }
            }
        }

        const Sheet s5(book, 5, std::max(sale_points, expl_points) + 1, 13, dc, cp);
        d.sale_points.resize(m);
        d.expl_points.resize(m);
        sale_row = expl_row = 2;
        for (std::size_t i = 0; i < m; ++i) {
            d.sale_points[i].resize(d.variants[i].size());
            d.expl_points[i].resize(d.variants[i].size());
            for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
                for (const DborSaleVariant& sv : d.sale_variants[i][j]) {
                    auto& curve = d.sale_points[i][j].emplace_back(std::size_t(sv.p));
                    for (DborPoint& p : curve) {
                        p.x = s5.real(sale_row, 5);
                        p.y = s5.real(sale_row, 6);
                        ++sale_row;
                    }
                }
                for (const DborExplVariant& ev : d.expl_variants[i][j]) {
                    auto& curve = d.expl_points[i][j].emplace_back(std::size_t(ev.q));
                    for (DborPoint& p : curve) {
                        p.x = s5.real(expl_row, 12);
                        p.y = s5.real(expl_row, 13);
                        ++expl_row;
                    }
                }
            }
        }
        out.data = std::move(d);
        out.name = s1.cell_text(4, 2, 70);
    } catch (const CellProblem& p) {
        out.outcome = p.outcome;
    }
    return out;
}

// ---- Task ---------------------------------------------------------------------------------------

TaskWorkbook read_task_workbook(WorkbookReader& book, int reg, char dc, CodePage cp) {
    TaskWorkbook out;
    try {
        const Sheet s1(book, 1, 41, 2, dc, cp);
        const std::int32_t mode = s1.integer(3, 2);
        if (mode != reg) {
            out.outcome = {Verdict::Warning, {shell_piece(txt::ModeMismatch), fixed(".")}};
            return out;
        }
        TaskHeader h;
        h.reg = mode;
        h.tipz = s1.integer(6, 2);
        h.shifr_db = s1.cell_text(12, 2, 8);
        const std::string expected = reg == 1 ? "A_" : "B_";
        const std::string prefix = left_chars(h.shifr_db, 2);
        if (prefix != expected) {
            out.outcome = {Verdict::Warning,
                           {shell_piece(txt::DatabaseTypeMismatch), fixed(" (\"" + prefix + "\" "),
                            shell_piece(txt::InsteadOf), fixed(" \"" + expected + "\" ).")}};
            return out;
        }
        h.mt = std::int32_t(s1.count(15, 2, 0, kMaxObjects));
        h.prmp = h.tipz == 3 || h.tipz == 4 ? 2 : 1;
        h.prok = h.tipz == 2 || h.tipz == 4 ? 1 : 0;
        const bool payback = h.prok == 1;
        const std::size_t f = reg == 1 ? 1 : 0;
        const std::size_t a = reg == 1 ? 2 : 0;
        // The limit cell may be left empty: no limit.
        const auto limit = [&](std::size_t row) {
            return trim(s1.raw(row, 2)).empty() ? 0 : s1.integer(row, 2);
        };
        if (!payback) {
            h.nsg = std::int32_t(s1.count(22, 2, 1, kMaxInvestmentVariants));
            h.ps = s1.real(23, 2);
            if (reg == 1) {
                h.por = s1.real(25, 2);
            }
            h.mzad = s1.real(25 + f, 2);
            h.ogrn = limit(26 + f);
            h.mz = s1.integer(27 + f, 2);
            h.toc = s1.integer(28 + f, 2);
            h.delta = s1.real(30 + f, 2);
            h.prk = s1.integer(33 + f, 2);
        } else {
            if (reg == 1) {
                h.soi = s1.real(23, 2);
                h.tmx = s1.real(25, 2);
                h.tmn = s1.real(26, 2);
                h.nt = std::int32_t(s1.count(27, 2, 1, kMaxPaybackValues));
                h.ps = s1.real(28, 2);
                h.por = s1.real(30, 2);
            } else {
                h.nsd = s1.real(23, 2);
                h.tmn = s1.real(24, 2);
                h.tmx = s1.real(25, 2);
                h.nt = std::int32_t(s1.count(26, 2, 1, kMaxPaybackValues));
                h.ps = s1.real(27, 2);
            }
            h.nsg = h.nt;
            h.mzad = s1.real(29 + a, 2);
            h.ogrn = limit(30 + a);
            h.srok = s1.real(31 + a, 2);
            h.ver = s1.real(32 + a, 2);
            h.mz = s1.integer(33 + a, 2);
            h.toc = s1.integer(34 + a, 2);
            h.delta = s1.real(36 + a, 2);
            h.prk = s1.integer(39 + a, 2);
        }
        h.stat = payback ? 1 : 0;

        const std::size_t nsg = std::size_t(h.nsg);
        const Sheet s2(book, 2, nsg + 1, 3, dc, cp);
        std::vector<InvestmentVariant> variants(nsg);
        for (std::size_t k = 0; k < nsg; ++k) {
            // With pay-back every variant has the money of the first.
            const std::size_t row = payback ? 2 : k + 2;
            variants[k].own = s2.real(row, 2);
            variants[k].credit = s2.real(row, 3);
        }

        const std::size_t mt = std::size_t(h.mt);
        const Sheet s3(book, 3, mt + 1, 7, dc, cp);
        Marks marks(mt);
        for (std::size_t r = 0; r < mt; ++r) {
            marks[r] = !trim(s3.raw(r + 2, 7)).empty();
        }
        out.header = h;
        out.variants = std::move(variants);
        out.row_marks = std::move(marks);
    } catch (const CellProblem& p) {
        out.outcome = p.outcome;
    }
    return out;
}

} // namespace kov
