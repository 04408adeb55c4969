#pragma once

// The database wizard without its window: the four modes, the nine pages and their flow, the
// current data being edited and the previous data that prefills the pages, the DAT import of
// page 2, and saving on page 9. The window shows the page this object is on, puts the fields
// of pages 1 and 2 into `fields()`, lets the views edit the grids, and calls next() and back().

#include "dbor/bdon_checks.h"
#include "dbor/bdon_list.h"
#include "dbor/bdon_model.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kov {

enum class WizardMode {
    New = 1,    // a new database
    Import = 2, // a new database, page 2 offers the import
    Correct = 3,
    View = 4, // nothing can be changed, nothing is saved
};

// What the wizard needs of the program around it.
struct WizardContext {
    std::string workspace;
    std::string suffix; // ShellSuffix of the loaded shell
    CodePage codepage = CodePage::Cp1252;
    char decimal_char = ',';
    // Today's date in the user's short date format, for the date of saving.
    std::function<std::string()> today;
};

// The fields of pages 1 and 2 as the window holds them.
struct HeaderFields {
    char type = 'A';
    std::string code;
    std::string name;
    std::string cost_unit; // the selected item of each unit list, empty when none is selected
    std::string time_unit;
    std::string count; // the object count field
};

class BdonWizard {
public:
    BdonWizard(WizardMode mode, WizardContext context);
    BdonWizard(const BdonWizard&) = delete;
    BdonWizard& operator=(const BdonWizard&) = delete;

    // Modes 3 and 4: the stored database (read with read_bdon) fills the fields and the data.
    void open(const BdonData& stored);

    WizardMode mode() const { return mode_; }
    int page() const { return page_; }
    bool back_enabled() const;
    // Page 9 was passed: saved (modes 1..3, see saved_path) or viewed; the window closes.
    bool finished() const { return finished_; }
    const std::string& saved_path() const { return saved_path_; }

    HeaderFields& fields() { return fields_; }
    const HeaderFields& fields() const { return fields_; }

    // Checks the page and, when it passes, takes its contents and goes on. On page 3 a
    // Verdict::Confirm asks about the marked objects: answer it with confirm_deletion. On
    // page 9 it saves in modes 1..3: a FileError of the writer leaves the old file, this
    // object and its page as they were.
    NextOutcome next();
    NextOutcome confirm_deletion(bool yes);
    // Goes back without checks.
    void back();

    // The DAT import of page 2 in mode 2: "none" empties the data, a database of the same type
    // prefills it; the identity of page 1 stays either way.
    void import_none();
    void import_database(const BdonData& other);

    ObjectsGrid& objects_grid() { return objects_; }
    VariantsGrid& variants_grid() { return variants_; }
    IncomeGrid& income_grid(Income kind) { return kind == Income::Sale ? sales_ : expls_; }
    CurveGrid& curve_grid(Income kind) {
        return kind == Income::Sale ? sale_curves_ : expl_curves_;
    }

    const BdonModel& current() const { return current_; }
    const BdonModel& previous() const { return previous_; }
    const IndexMap& index_map() const { return map_; }
    std::size_t old_count() const { return previous_.objects.size(); }
    WizardTotals totals() const { return wizard_totals(current_); }
    // The file's records of the current data, as page 9 saves them.
    BdonData records() const;

private:
    NextOutcome pass_identity();
    NextOutcome pass_count();
    NextOutcome pass_objects();
    void go(int page);
    void save();

    WizardMode mode_;
    WizardContext context_;
    HeaderFields fields_;
    int page_ = 1;
    bool finished_ = false;
    std::string saved_path_;

    BdonModel current_;
    BdonModel previous_;
    IndexMap map_;
    // The object count entered on page 2 (the rows of page 3).
    std::size_t count_ = 0;

    ObjectsGrid objects_;
    VariantsGrid variants_;
    IncomeGrid sales_, expls_;
    CurveGrid sale_curves_, expl_curves_;
};

// The unit lists of page 2: cost units (shell short texts 5, 8, 9, 30) and time units (shell
// texts 97 trimmed and 183).
struct LanguageShell;
std::vector<std::string> cost_units(const LanguageShell& shell);
std::vector<std::string> time_units(const LanguageShell& shell);
// The item to select for a stored unit: its index in the list; a unit the list does not hold is
// added as an extra item, so that saving keeps it. -1 (no selection) for an empty unit.
int select_unit(std::vector<std::string>& items, const std::string& stored);

// The import list of page 2: "none" first, then every database of the list of the chosen type,
// shown as "[" + DborCode + "] " + name.
struct ImportChoice {
    std::string label;
    std::string code; // empty for "none"
};
std::vector<ImportChoice> import_choices(const std::vector<BdonListEntry>& list, char type);

// The window's title on a page: the mode's title text, and on pages 1 to 8
// " (" + 489 trimmed + " N " + 142 + " 8)".
std::string wizard_title(const LanguageShell& shell, WizardMode mode, int page);

} // namespace kov
