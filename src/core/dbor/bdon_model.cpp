#include "dbor/bdon_model.h"

#include "io/codepage.h"
#include "io/numbers.h"
#include "shell/language_shell.h"

#include <algorithm>

namespace kov {

namespace {

std::string number(std::size_t n) {
    return std::to_string(n);
}

// "  " before the numbers of the rows that continue an object, variant or curve.
std::string continued(bool first, std::size_t n) {
    return first ? number(n) : "  " + number(n);
}

std::string cut_description(std::string_view text) {
    return left_chars(text, kDescriptionLength);
}

// A count cell as the checks let it through (an integer 0..10).
std::size_t count_of(const std::string& text) {
    return std::size_t(std::clamp(parse_int(trim(text)).value_or(0), 0, kMaxPoints));
}

// A number cell: an untouched cell keeps the value it was prefilled with, bit for bit (its text
// shows only 15 significant digits); an edited one is read from its text.
double value_of(const std::string& text, bool edited, const double* prefilled, char dc) {
    if (!edited && prefilled) {
        return *prefilled;
    }
    return parse_real(trim(text), dc).value_or(0);
}

const RealObject* previous_object(const BdonModel& previous, const IndexMap& map, std::size_t i) {
    if (i >= map.size() || map[i] < 0 || std::size_t(map[i]) >= previous.objects.size()) {
        return nullptr;
    }
    return &previous.objects[std::size_t(map[i])];
}

// A list reshaped to `count` entries: the previous entry where there is one, else a new one.
template <class T> std::vector<T> reshaped(const std::vector<T>* previous, std::size_t count) {
    std::vector<T> out(count);
    if (previous) {
        std::copy_n(previous->begin(), std::min(count, previous->size()), out.begin());
    }
    return out;
}

} // namespace

// ---- The model and the records ------------------------------------------------------------------

BdonModel model_from_records(const BdonData& d) {
    BdonModel m;
    m.header = d.header;
    m.header.m = 0;
    m.objects.resize(d.objects.size());
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        const DborObject& o = d.objects[i];
        RealObject& r = m.objects[i];
        r.code = o.code;
        r.description = o.description;
        r.cost = o.cost;
        r.absent = !trim(o.absence).empty();
        r.variants.resize(d.variants[i].size());
        for (std::size_t j = 0; j < r.variants.size(); ++j) {
            const DborVariant& v = d.variants[i][j];
            ModVariant& mv = r.variants[j];
            mv.description = v.description;
            mv.cost = v.cost;
            mv.duration = v.duration;
            for (std::size_t k = 0; k < d.sale_variants[i][j].size(); ++k) {
                mv.sale.push_back({d.sale_variants[i][j][k].revenue, d.sale_points[i][j][k]});
            }
            for (std::size_t k = 0; k < d.expl_variants[i][j].size(); ++k) {
                mv.expl.push_back({d.expl_variants[i][j][k].income, d.expl_points[i][j][k]});
            }
        }
    }
    return m;
}

BdonData records_from_model(const BdonModel& m) {
    BdonData d;
    d.header = m.header;
    d.header.m = std::int32_t(m.objects.size());
    const std::size_t count = m.objects.size();
    d.objects.resize(count);
    d.variants.resize(count);
    d.sale_variants.resize(count);
    d.expl_variants.resize(count);
    d.sale_points.resize(count);
    d.expl_points.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const RealObject& r = m.objects[i];
        const std::size_t nv = r.variants.size();
        d.objects[i] = {r.code, r.description, r.cost, std::int32_t(nv) - 1, r.absent ? "*" : ""};
        d.variants[i].resize(nv);
        d.sale_variants[i].resize(nv);
        d.expl_variants[i].resize(nv);
        d.sale_points[i].resize(nv);
        d.expl_points[i].resize(nv);
        for (std::size_t j = 0; j < nv; ++j) {
            const ModVariant& v = r.variants[j];
            d.variants[i][j] = {v.description, v.cost, v.duration, std::int32_t(v.sale.size()),
                                std::int32_t(v.expl.size())};
            for (const IncomeVariant& s : v.sale) {
                d.sale_variants[i][j].push_back({s.amount, std::int32_t(s.curve.size())});
                d.sale_points[i][j].push_back(s.curve);
            }
            for (const IncomeVariant& e : v.expl) {
                d.expl_variants[i][j].push_back({e.amount, std::int32_t(e.curve.size())});
                d.expl_points[i][j].push_back(e.curve);
            }
        }
    }
    return d;
}

WizardTotals wizard_totals(const BdonModel& m) {
    WizardTotals t;
    for (const RealObject& o : m.objects) {
        for (const ModVariant& v : o.variants) {
            t.sale_variants += int(v.sale.size());
            t.expl_variants += int(v.expl.size());
            for (const IncomeVariant& s : v.sale) {
                t.sale_points += int(s.curve.size());
            }
            for (const IncomeVariant& e : v.expl) {
                t.expl_points += int(e.curve.size());
            }
        }
    }
    return t;
}

const ModVariant* previous_variant(const BdonModel& previous, const IndexMap& map, std::size_t i,
                                   std::size_t j) {
    const RealObject* o = previous_object(previous, map, i);
    return o && j < o->variants.size() ? &o->variants[j] : nullptr;
}

const IncomeVariant* previous_income(const BdonModel& previous, const IndexMap& map, Income kind,
                                     std::size_t i, std::size_t j, std::size_t k) {
    const ModVariant* v = previous_variant(previous, map, i, j);
    return v && k < v->incomes(kind).size() ? &v->incomes(kind)[k] : nullptr;
}

// ---- Cell access --------------------------------------------------------------------------------

GridColumnRule WizardGrid::rule(std::size_t row, int column) const {
    if (read_only_ || row >= row_count() || column < 0 || column >= column_count()) {
        return {};
    }
    return column_rule(row, column);
}

bool WizardGrid::set_cell(std::size_t row, int column, std::string_view text) {
    const GridColumnRule r = rule(row, column);
    if (r.cell_class == CellClass::ReadOnly) {
        return false;
    }
    const std::u32string chars = to_u32(text);
    for (std::size_t n = 0; n < chars.size(); ++n) {
        if (chars[n] < U' ' || !grid_cell_accepts(std::u32string_view(chars).substr(0, n), chars[n],
                                                  r, decimal_char_)) {
            return false;
        }
    }
    store(row, column, std::string(text));
    return true;
}

// Page 3.

std::string ObjectsGrid::cell(std::size_t row, int column) const {
    const ObjectRow& r = rows_.at(row);
    switch (column) {
    case 0:
        return number(row + 1);
    case 1:
        return r.code;
    case 2:
        return r.cost;
    case 3:
        return r.count;
    case 4:
        return r.absence;
    case 5:
        return r.deletion;
    case 6:
        return r.description;
    default:
        return {};
    }
}

GridColumnRule ObjectsGrid::column_rule(std::size_t, int column) const {
    switch (column) {
    case 1:
        return {CellClass::Digits, 6};
    case 2:
        return type_ == 'A' ? GridColumnRule{CellClass::Decimal, 10} : GridColumnRule{};
    case 3:
        return {CellClass::Digits, 1};
    default:
        return {};
    }
}

void ObjectsGrid::store(std::size_t row, int column, std::string text) {
    ObjectRow& r = rows_.at(row);
    if (column == 1) {
        r.code = std::move(text);
    } else if (column == 2) {
        r.cost = std::move(text);
        r.cost_edited = true;
    } else if (column == 3) {
        r.count = std::move(text);
    }
}

bool ObjectsGrid::toggle_mark(std::size_t row, int column) {
    if (read_only() || row >= rows_.size() || (column != 4 && column != 5)) {
        return false;
    }
    std::string& mark = column == 4 ? rows_[row].absence : rows_[row].deletion;
    mark = mark.empty() ? "*" : "";
    return true;
}

void ObjectsGrid::set_description(std::size_t row, std::string_view text) {
    if (!read_only()) {
        rows_.at(row).description = trim(text);
    }
}

// Page 4.

std::string VariantsGrid::cell(std::size_t row, int column) const {
    const VariantRow& r = rows_.at(row);
    const bool first = r.variant == 0;
    switch (column) {
    case 0:
        return continued(first, r.object + 1u);
    case 1:
        return first ? current_->objects.at(r.object).code : std::string();
    case 2:
        return std::string(r.variant, ' ') + number(r.variant);
    case 3:
        return first ? "-" : r.cost;
    case 4:
        return first ? "-" : r.duration;
    case 5:
        return r.sale;
    case 6:
        return r.expl;
    case 7:
        return r.description;
    default:
        return {};
    }
}

GridColumnRule VariantsGrid::column_rule(std::size_t row, int column) const {
    switch (column) {
    case 3:
    case 4:
        return rows_[row].variant == 0 ? GridColumnRule{} : GridColumnRule{CellClass::Decimal, 10};
    case 5:
    case 6:
        return {CellClass::Digits, 1};
    default:
        return {};
    }
}

void VariantsGrid::store(std::size_t row, int column, std::string text) {
    VariantRow& r = rows_.at(row);
    if (column == 3) {
        r.cost = std::move(text);
        r.cost_edited = true;
    } else if (column == 4) {
        r.duration = std::move(text);
        r.duration_edited = true;
    } else if (column == 5) {
        r.sale = std::move(text);
    } else if (column == 6) {
        r.expl = std::move(text);
    }
}

void VariantsGrid::set_description(std::size_t row, std::string_view text) {
    if (!read_only()) {
        rows_.at(row).description = trim(text);
    }
}

// Pages 5 and 7.

std::string IncomeGrid::cell(std::size_t row, int column) const {
    const IncomeRow& r = rows_.at(row);
    const bool object_first = row == 0 || rows_[row - 1].object != r.object;
    switch (column) {
    case 0:
        return continued(object_first, r.object + 1u);
    case 1:
        return object_first ? current_->objects.at(r.object).code : std::string();
    case 2:
        return continued(object_first || rows_[row - 1].variant != r.variant, r.variant);
    case 3:
        return std::string(std::min<std::size_t>(r.index, 4), ' ') + number(r.index + 1u);
    case 4:
        return r.amount;
    case 5:
        return r.points;
    default:
        return {};
    }
}

GridColumnRule IncomeGrid::column_rule(std::size_t, int column) const {
    switch (column) {
    case 4:
        return {CellClass::Decimal, 10};
    case 5:
        return {CellClass::Digits, 2};
    default:
        return {};
    }
}

void IncomeGrid::store(std::size_t row, int column, std::string text) {
    IncomeRow& r = rows_.at(row);
    if (column == 4) {
        r.amount = std::move(text);
        r.amount_edited = true;
    } else if (column == 5) {
        r.points = std::move(text);
    }
}

// Pages 6 and 8.

std::string CurveGrid::cell(std::size_t row, int column) const {
    const PointRow& r = rows_.at(row);
    const PointRow* before = row == 0 ? nullptr : &rows_[row - 1];
    const bool object_first = !before || before->object != r.object;
    const bool variant_first = object_first || before->variant != r.variant;
    switch (column) {
    case 0:
        return continued(object_first, r.object + 1u);
    case 1:
        return object_first ? current_->objects.at(r.object).code : std::string();
    case 2:
        return continued(variant_first, r.variant);
    case 3:
        return continued(r.point == 0, r.income + 1u);
    case 4:
        return r.point == 0 ? "1"
                            : std::string(std::min(r.point + 1, 9), ' ') + number(r.point + 1u);
    case 5:
        return r.x;
    case 6:
        return r.y;
    default:
        return {};
    }
}

GridColumnRule CurveGrid::column_rule(std::size_t, int column) const {
    return column == 5 || column == 6 ? GridColumnRule{CellClass::Decimal, 6} : GridColumnRule{};
}

void CurveGrid::store(std::size_t row, int column, std::string text) {
    PointRow& r = rows_.at(row);
    if (column == 5) {
        r.x = std::move(text);
        r.x_edited = true;
    } else if (column == 6) {
        r.y = std::move(text);
        r.y_edited = true;
    }
}

// ---- Filling and taking back --------------------------------------------------------------------

void fill_objects(ObjectsGrid& grid, const BdonModel& previous, std::size_t count) {
    auto& rows = grid.rows();
    rows.assign(count, ObjectRow{});
    const char dc = grid.decimal_char();
    for (std::size_t r = 0; r < count && r < previous.objects.size(); ++r) {
        const RealObject& o = previous.objects[r];
        rows[r].previous = int(r);
        rows[r].code = o.code;
        rows[r].cost = grid.type() == 'A' ? format_general(o.cost, dc) : std::string();
        rows[r].count = number(o.variants.size() - 1);
        rows[r].absence = o.absent ? "*" : "";
        rows[r].description = o.description;
    }
}

IndexMap take_objects(const ObjectsGrid& grid, BdonModel& current, const BdonModel& previous) {
    const char dc = grid.decimal_char();
    IndexMap map;
    std::vector<RealObject> objects(grid.rows().size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ObjectRow& row = grid.rows()[i];
        map.push_back(row.previous);
        const RealObject* before = previous_object(previous, map, i);
        RealObject& o = objects[i];
        o.code = trim(row.code);
        o.description = cut_description(row.description);
        o.cost = grid.type() == 'A'
                     ? value_of(row.cost, row.cost_edited, before ? &before->cost : nullptr, dc)
                     : 0.0;
        o.absent = !row.absence.empty();
        o.variants = reshaped(before ? &before->variants : nullptr,
                              std::size_t(parse_int(trim(row.count)).value_or(0)) + 1);
    }
    current.objects = std::move(objects);
    return map;
}

void fill_variants(VariantsGrid& grid, const BdonModel& current, const BdonModel& previous,
                   const IndexMap& map) {
    auto& rows = grid.rows();
    rows.clear();
    const char dc = grid.decimal_char();
    for (std::size_t i = 0; i < current.objects.size(); ++i) {
        for (std::size_t j = 0; j < current.objects[i].variants.size(); ++j) {
            VariantRow row;
            row.object = std::uint16_t(i);
            row.variant = std::uint8_t(j);
            if (const ModVariant* v = previous_variant(previous, map, i, j)) {
                if (j > 0) {
                    row.cost = format_general(v->cost, dc);
                    row.duration = format_general(v->duration, dc);
                }
                row.sale = number(v->sale.size());
                row.expl = number(v->expl.size());
                row.description = v->description;
            }
            rows.push_back(std::move(row));
        }
    }
}

void take_variants(const VariantsGrid& grid, BdonModel& current, const BdonModel& previous,
                   const IndexMap& map) {
    const char dc = grid.decimal_char();
    for (const VariantRow& row : grid.rows()) {
        ModVariant& v = current.objects.at(row.object).variants.at(row.variant);
        const ModVariant* before = previous_variant(previous, map, row.object, row.variant);
        v.description = cut_description(trim(row.description));
        v.cost = row.variant == 0
                     ? 0.0
                     : value_of(row.cost, row.cost_edited, before ? &before->cost : nullptr, dc);
        v.duration = row.variant == 0 ? 0.0
                                      : value_of(row.duration, row.duration_edited,
                                                 before ? &before->duration : nullptr, dc);
        v.sale = reshaped(before ? &before->sale : nullptr, count_of(row.sale));
        v.expl = reshaped(before ? &before->expl : nullptr, count_of(row.expl));
    }
}

void fill_incomes(IncomeGrid& grid, const BdonModel& current, const BdonModel& previous,
                  const IndexMap& map) {
    auto& rows = grid.rows();
    rows.clear();
    const char dc = grid.decimal_char();
    for (std::size_t i = 0; i < current.objects.size(); ++i) {
        const auto& variants = current.objects[i].variants;
        for (std::size_t j = 0; j < variants.size(); ++j) {
            const std::size_t count = variants[j].incomes(grid.kind()).size();
            for (std::size_t k = 0; k < count; ++k) {
                IncomeRow row;
                row.object = std::uint16_t(i);
                row.variant = std::uint8_t(j);
                row.index = std::uint8_t(k);
                row.siblings = std::uint8_t(count);
                if (const IncomeVariant* v = previous_income(previous, map, grid.kind(), i, j, k)) {
                    row.amount = format_general(v->amount, dc);
                    row.points = number(v->curve.size());
                }
                rows.push_back(std::move(row));
            }
        }
    }
}

void take_incomes(const IncomeGrid& grid, BdonModel& current, const BdonModel& previous,
                  const IndexMap& map) {
    const char dc = grid.decimal_char();
    for (const IncomeRow& row : grid.rows()) {
        IncomeVariant& v = current.objects.at(row.object)
                               .variants.at(row.variant)
                               .incomes(grid.kind())
                               .at(row.index);
        const IncomeVariant* before =
            previous_income(previous, map, grid.kind(), row.object, row.variant, row.index);
        v.amount = value_of(row.amount, row.amount_edited, before ? &before->amount : nullptr, dc);
        v.curve = reshaped(before ? &before->curve : nullptr, count_of(row.points));
    }
}

void fill_curves(CurveGrid& grid, const BdonModel& current, const BdonModel& previous,
                 const IndexMap& map) {
    auto& rows = grid.rows();
    rows.clear();
    const WizardTotals totals = wizard_totals(current);
    rows.reserve(
        std::size_t(grid.kind() == Income::Sale ? totals.sale_points : totals.expl_points));
    const char dc = grid.decimal_char();
    for (std::size_t i = 0; i < current.objects.size(); ++i) {
        const auto& variants = current.objects[i].variants;
        for (std::size_t j = 0; j < variants.size(); ++j) {
            const auto& incomes = variants[j].incomes(grid.kind());
            for (std::size_t k = 0; k < incomes.size(); ++k) {
                const std::size_t count = incomes[k].curve.size();
                const IncomeVariant* before = previous_income(previous, map, grid.kind(), i, j, k);
                for (std::size_t t = 0; t < count; ++t) {
                    PointRow row;
                    row.object = std::uint16_t(i);
                    row.variant = std::uint8_t(j);
                    row.income = std::uint8_t(k);
                    row.point = std::uint8_t(t);
                    row.count = std::uint8_t(count);
                    if (before && t < before->curve.size()) {
                        row.x = format_general(before->curve[t].x, dc);
                        row.y = format_general(before->curve[t].y, dc);
                    }
                    rows.push_back(std::move(row));
                }
            }
        }
    }
}

void take_curves(const CurveGrid& grid, BdonModel& current, const BdonModel& previous,
                 const IndexMap& map) {
    const char dc = grid.decimal_char();
    for (const PointRow& row : grid.rows()) {
        DborPoint& p = current.objects.at(row.object)
                           .variants.at(row.variant)
                           .incomes(grid.kind())
                           .at(row.income)
                           .curve.at(row.point);
        const IncomeVariant* before =
            previous_income(previous, map, grid.kind(), row.object, row.variant, row.income);
        const DborPoint* old =
            before && row.point < before->curve.size() ? &before->curve[row.point] : nullptr;
        p.x = value_of(row.x, row.x_edited, old ? &old->x : nullptr, dc);
        p.y = value_of(row.y, row.y_edited, old ? &old->y : nullptr, dc);
    }
}

} // namespace kov
