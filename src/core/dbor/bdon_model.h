#pragma once

// The database being edited in the database wizard, and the grids of its pages 3 to 8.
//
// BdonModel is a tree (object -> modernisation variants -> sale and exploitation variants ->
// delay-curve points) in which every count is the size of its array, so it cannot hold a
// variant count that disagrees with its variants. It meets the file's records (BdonData) only
// at the file boundary: model_from_records when a database is opened or imported,
// records_from_model when it is saved.
//
// The grids hold the texts the pages show, one row per object, variant, income variant or
// point, with the indices of what the row shows; a view reads and writes their cells directly
// (row_count, cell, set_cell), so a curve page of 300,000 rows is never copied into items.

#include "dbor/bdon.h"
#include "ui/entry_filter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// ---- The database being edited ----------------------------------------------------------------

// A sale variant (amount: expected revenue) or an exploitation variant (amount: expected
// specific income in the steady state), with its delay curve: no points, or 2..10.
struct IncomeVariant {
    double amount = 0;
    std::vector<DborPoint> curve;

    bool operator==(const IncomeVariant&) const = default;
};

// Which of the two kinds of income variants a page edits.
enum class Income { Sale, Expl };

// Variant 0 is the object without modernisation (its cost and duration are 0).
struct ModVariant {
    std::string description;
    double cost = 0;
    double duration = 0;
    std::vector<IncomeVariant> sale;
    std::vector<IncomeVariant> expl;

    std::vector<IncomeVariant>& incomes(Income kind) { return kind == Income::Sale ? sale : expl; }
    const std::vector<IncomeVariant>& incomes(Income kind) const {
        return kind == Income::Sale ? sale : expl;
    }
    bool operator==(const ModVariant&) const = default;
};

struct RealObject {
    std::string code;
    std::string description;
    double cost = 0; // type A above 0, type B 0
    bool absent = false;
    std::vector<ModVariant> variants; // variant 0 first, then the modernisation variants

    bool operator==(const RealObject&) const = default;
};

struct BdonModel {
    // Identity, units, the four usable-object counts and the date of saving; the header's M is
    // not kept here: it is the number of objects.
    DborHeader header;
    std::vector<RealObject> objects;

    bool operator==(const BdonModel&) const = default;
};

// The model of a database read from its file. A mark of absence counts when it is not blank.
BdonModel model_from_records(const BdonData& data);
// The records of the model: every count from the size of its array, M from the objects, the
// absence mark "*" or empty; the header's usable counts as the model holds them.
BdonData records_from_model(const BdonModel& model);

// The four totals the page flow follows.
struct WizardTotals {
    int sale_variants = 0;
    int expl_variants = 0;
    int sale_points = 0;
    int expl_points = 0;
};
WizardTotals wizard_totals(const BdonModel& model);

// For every new object, the index of the previous object it shows, or -1 for a new one.
using IndexMap = std::vector<int>;

// What a new object's parts were in the previous data, through the index map; null when the
// previous data has no such part (a new object, variant, income variant or point).
const ModVariant* previous_variant(const BdonModel& previous, const IndexMap& map, std::size_t i,
                                   std::size_t j);
const IncomeVariant* previous_income(const BdonModel& previous, const IndexMap& map, Income kind,
                                     std::size_t i, std::size_t j, std::size_t k);

// ---- Grids --------------------------------------------------------------------------------------

// Cell access common to the six grids. Texts are UTF-8; numbers are written with the decimal
// separator of the user.
class WizardGrid {
public:
    explicit WizardGrid(char decimal_char)
        : decimal_char_(decimal_char) {}
    virtual ~WizardGrid() = default;

    virtual std::size_t row_count() const = 0;
    virtual int column_count() const = 0;
    virtual std::string cell(std::size_t row, int column) const = 0;
    // The characters the cell takes. Every cell is read-only in a read-only grid.
    GridColumnRule rule(std::size_t row, int column) const;

    // A typed, edited or pasted text: stored when the grid is editable and the text could have
    // been typed into the empty cell key by key through the grid cell filter (the column's
    // characters, its length, no control characters); refused (false) otherwise.
    bool set_cell(std::size_t row, int column, std::string_view text);

    bool read_only() const { return read_only_; }
    void set_read_only(bool read_only) { read_only_ = read_only; }
    char decimal_char() const { return decimal_char_; }

protected:
    virtual GridColumnRule column_rule(std::size_t row, int column) const = 0;
    virtual void store(std::size_t row, int column, std::string text) = 0;

private:
    char decimal_char_;
    bool read_only_ = false;
};

// Page 3: one row per object. Columns: 0 number, 1 code, 2 cost (type A), 3 number of
// modernisation variants, 4 absence mark, 5 deletion mark, 6 description (shown in a memo).
struct ObjectRow {
    std::string code, cost, count, absence, deletion, description;
    int previous = -1;        // the previous object the row shows, kept when rows are dropped
    bool cost_edited = false; // an untouched cost keeps the stored value exactly
};

class ObjectsGrid final : public WizardGrid {
public:
    ObjectsGrid(char type, char decimal_char)
        : WizardGrid(decimal_char)
        , type_(type) {}

    std::size_t row_count() const override { return rows_.size(); }
    int column_count() const override { return 7; }
    std::string cell(std::size_t row, int column) const override;

    // Space in the absence (4) or deletion (5) column toggles "*"; false when it does not apply
    // (another column, or a read-only grid).
    bool toggle_mark(std::size_t row, int column);
    // The memo beside the grid: its text, trimmed, is kept in the row.
    const std::string& description(std::size_t row) const { return rows_.at(row).description; }
    void set_description(std::size_t row, std::string_view text);

    char type() const { return type_; }
    // The rows themselves, for the page's checks and for filling; texts put here bypass the key
    // filter (as an imported or pasted text may), the checks judge them all the same.
    std::vector<ObjectRow>& rows() { return rows_; }
    const std::vector<ObjectRow>& rows() const { return rows_; }

protected:
    GridColumnRule column_rule(std::size_t row, int column) const override;
    void store(std::size_t row, int column, std::string text) override;

private:
    char type_;
    std::vector<ObjectRow> rows_;
};

// Page 4: one row per variant of every object, variant 0 included. Columns: 0 object number,
// 1 object code, 2 variant number, 3 cost, 4 duration, 5 sale variants, 6 exploitation
// variants, 7 description (shown in a memo).
struct VariantRow {
    std::uint16_t object = 0; // 0-based
    std::uint8_t variant = 0;
    std::string cost, duration, sale, expl, description;
    bool cost_edited = false, duration_edited = false;
};

class VariantsGrid final : public WizardGrid {
public:
    VariantsGrid(const BdonModel& current, char decimal_char)
        : WizardGrid(decimal_char)
        , current_(&current) {}

    std::size_t row_count() const override { return rows_.size(); }
    int column_count() const override { return 8; }
    std::string cell(std::size_t row, int column) const override;

    const std::string& description(std::size_t row) const { return rows_.at(row).description; }
    void set_description(std::size_t row, std::string_view text);

    std::vector<VariantRow>& rows() { return rows_; }
    const std::vector<VariantRow>& rows() const { return rows_; }

protected:
    GridColumnRule column_rule(std::size_t row, int column) const override;
    void store(std::size_t row, int column, std::string text) override;

private:
    const BdonModel* current_;
    std::vector<VariantRow> rows_;
};

// Pages 5 and 7: one row per sale (exploitation) variant. Columns: 0 object number, 1 object
// code, 2 variant number, 3 number of the income variant, 4 amount, 5 number of points.
struct IncomeRow {
    std::uint16_t object = 0;
    std::uint8_t variant = 0;
    std::uint8_t index = 0;    // 0-based
    std::uint8_t siblings = 0; // income variants of this kind of the row's variant
    std::string amount, points;
    bool amount_edited = false;
};

class IncomeGrid final : public WizardGrid {
public:
    IncomeGrid(Income kind, const BdonModel& current, char decimal_char)
        : WizardGrid(decimal_char)
        , kind_(kind)
        , current_(&current) {}

    std::size_t row_count() const override { return rows_.size(); }
    int column_count() const override { return 6; }
    std::string cell(std::size_t row, int column) const override;

    Income kind() const { return kind_; }
    std::vector<IncomeRow>& rows() { return rows_; }
    const std::vector<IncomeRow>& rows() const { return rows_; }

protected:
    GridColumnRule column_rule(std::size_t row, int column) const override;
    void store(std::size_t row, int column, std::string text) override;

private:
    Income kind_;
    const BdonModel* current_;
    std::vector<IncomeRow> rows_;
};

// Pages 6 and 8: one row per point of every delay curve. Columns: 0 object number, 1 object
// code, 2 variant number, 3 income variant number, 4 point number, 5 argument, 6 value.
struct PointRow {
    std::uint16_t object = 0;
    std::uint8_t variant = 0;
    std::uint8_t income = 0; // 0-based
    std::uint8_t point = 0;  // 0-based
    std::uint8_t count = 0;  // points of the row's curve
    bool x_edited = false, y_edited = false;
    std::string x, y;
};

class CurveGrid final : public WizardGrid {
public:
    CurveGrid(Income kind, const BdonModel& current, char decimal_char)
        : WizardGrid(decimal_char)
        , kind_(kind)
        , current_(&current) {}

    std::size_t row_count() const override { return rows_.size(); }
    int column_count() const override { return 7; }
    std::string cell(std::size_t row, int column) const override;

    Income kind() const { return kind_; }
    std::vector<PointRow>& rows() { return rows_; }
    const std::vector<PointRow>& rows() const { return rows_; }

protected:
    GridColumnRule column_rule(std::size_t row, int column) const override;
    void store(std::size_t row, int column, std::string text) override;

private:
    Income kind_;
    const BdonModel* current_;
    std::vector<PointRow> rows_;
};

// ---- Filling the pages and taking them back -------------------------------------------------
//
// Every page is prefilled from the previous data (the database as it was when page 2 was left)
// through the index map; when a page passes, its rows become the current data and everything
// below it is reshaped to the new counts, keeping a previous value only where the index map
// keeps its place (so the current data is consistent even when later pages are skipped).

// Page 3: `count` rows; row r shows previous object r while there is one.
void fill_objects(ObjectsGrid& grid, const BdonModel& previous, std::size_t count);
// Page 3 passed (deletion marks already applied): the current objects from the rows, their
// variants reshaped from the previous data. Returns the index map (the rows' previous objects).
IndexMap take_objects(const ObjectsGrid& grid, BdonModel& current, const BdonModel& previous);

void fill_variants(VariantsGrid& grid, const BdonModel& current, const BdonModel& previous,
                   const IndexMap& map);
// Page 4 passed: the variants from the rows, their income variants reshaped.
void take_variants(const VariantsGrid& grid, BdonModel& current, const BdonModel& previous,
                   const IndexMap& map);

void fill_incomes(IncomeGrid& grid, const BdonModel& current, const BdonModel& previous,
                  const IndexMap& map);
// Pages 5, 7 passed: amounts and point counts from the rows, the curves reshaped.
void take_incomes(const IncomeGrid& grid, BdonModel& current, const BdonModel& previous,
                  const IndexMap& map);

void fill_curves(CurveGrid& grid, const BdonModel& current, const BdonModel& previous,
                 const IndexMap& map);
// Pages 6, 8 passed: the points from the rows.
void take_curves(const CurveGrid& grid, BdonModel& current, const BdonModel& previous,
                 const IndexMap& map);

// The longest description a database keeps, in characters.
inline constexpr std::size_t kDescriptionLength = 255;

} // namespace kov
