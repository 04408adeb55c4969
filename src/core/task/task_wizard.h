#pragma once

// The task wizard's data and its checks: the task being defined (header, investment variants,
// row marks, the chosen objects and income variants), the field texts of its pages as the user
// typed them, the check of every page's Next with the message and the field it names, the page
// flow, the import of another task's descriptor and the prefill of a correction. The window only
// shows these and asks; nothing here is written to disk before the task is saved.

#include "dbor/bdon.h"
#include "dbor/bdon_list.h"
#include "task/task_builder.h"
#include "task/task_files.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kov {

struct LanguageShell;

// Entry modes of the wizard (the WindowMode it is opened with).
inline constexpr int kWizardNewTask = 1;
inline constexpr int kWizardImport = 2;
inline constexpr int kWizardCorrection = 3;

inline constexpr int kWizardPages = 10;

// The outcome of a page's Next. `text` is empty when no message is shown (also when a field
// whose text is not a number only takes the focus); `focus` names the field (its objectName);
// `row` the row of a table to scroll to. With `advance` the wizard shows `next_page` after the
// message (an information that does not stop it).
struct PageCheck {
    enum class Kind { None, Warning, Information };
    Kind kind = Kind::None;
    std::string text;
    std::string focus;
    int row = -1;
    bool advance = false;
    int next_page = 0;

    static PageCheck go(int page) { return {Kind::None, {}, {}, -1, true, page}; }
};

// The texts of the number fields of pages 3, 4 and 9, as typed (DecimalChar as separator).
struct WizardFields {
    std::string txtPs, txtNsg, txtPor, txtMzad, txtOgrn, txtSrok, txtVer; // page 3
    std::string Sum1a, Sum2a;                                             // page 4, pay-back
    std::string txtSoi, txtTmx, txtTmn, txtNt;                            // mode 1
    std::string txtNsd, txtT1mx, txtT1mn, txtNt1;                         // mode 2
    std::vector<std::pair<std::string, std::string>> grid;                // page 4 without pay-back
    std::string txtDelta;                                                 // page 9
};

// A number field's admissible values beyond its keystroke filter: no sign, and at most `max`
// (below it when `strict`); pasted and imported texts are held to it on Next.
struct NumberBound {
    double max = 0;
    bool strict = false;
};

// One row of the object table of page 5 and of the tables of pages 6 to 8, as texts.
struct TableRow {
    std::vector<std::string> cells;
    std::string description;        // the hidden column (object or modernisation variant)
    std::string object_description; // pages 6 to 8: the object's, for the first memo
    std::size_t object = 0;         // BDON object, 0-based
    std::size_t variant = 0;        // modernisation variant (pages 6 to 8)
    std::size_t income = 0;         // income variant, 0-based (page 8)
    std::size_t point = 0;          // point of its delay curve, 0-based (page 8)
};

// A caption and the value after it (header block of the pages, summary of page 10).
using CaptionValue = std::pair<std::string, std::string>;

// A task of the protocol offered by the import list.
struct ImportItem {
    std::string code;
    std::string text; // "[" + code + "] " + protocol name
};

class TaskWizard {
public:
    TaskWizard(const LanguageShell& shell, std::string workspace, char decimal_char, int mode);

    int mode() const { return mode_; }
    int page() const { return page_; }
    const TaskHeader& header() const { return header_; }
    TaskHeader& header() { return header_; }
    const std::vector<InvestmentVariant>& variants() const { return variants_; }
    const BdonData& bdon() const { return bdon_; }
    bool has_bdon() const { return has_bdon_; }
    WizardFields& fields() { return fields_; }
    const WizardFields& fields() const { return fields_; }
    const PreparedTask& prepared() const { return prepared_; }

    // ---- Modes 2 and 3 ---------------------------------------------------------------------

    // Mode 3: reads the task's descriptor (header, variants, row marks) into the wizard.
    void load_for_correction(const std::string& code);
    // Mode 2: the tasks of the protocol whose descriptor is of investment mode `reg`; a task
    // whose descriptor is missing or cannot be read is left out.
    std::vector<ImportItem>
    import_list(const std::vector<std::pair<std::string, std::string>>& protocol, int reg) const;
    // Imports the descriptor of the task `code` as a whole (or throws FileError and changes
    // nothing). An empty code ("none") forgets the header, the variants and the row marks.
    void import_task(const std::string& code);
    // Imports a task read elsewhere (a task workbook) as a whole: its header, investment
    // variants and row marks replace the wizard's, as a descriptor's would.
    void import_task_data(const TaskHeader& header, std::vector<InvestmentVariant> variants,
                          Marks row_marks);
    // The mode radio changed (mode 2): everything imported is forgotten.
    void forget_import();

    // ---- Page flow ---------------------------------------------------------------------------

    // The page Next leads to from `page` and the page Back leads to.
    int next_of(int page) const;
    int previous_of(int page) const;
    // The step counter: the step number shown for a page (0 on page 10) and the total.
    int step_of(int page) const;
    int step_total() const { return header_.prok == 1 ? 9 : 7; }
    // The window caption of a page: title (41, or 164 in mode 3) with its step.
    std::string caption(int page) const;
    // Back: returns the page shown.
    int back();

    // ---- Pages 1 to 4 ------------------------------------------------------------------------

    // Page 1: code, name and the selected investment mode; `protocol_codes` are the codes of
    // the protocol. On success the list of databases is built; a database whose header does not
    // match its file name keeps the wizard on page 1.
    PageCheck next_page1(const std::string& code, const std::string& name, int reg,
                         const std::vector<std::string>& protocol_codes);
    // The databases offered on page 2 (of the type letter of the mode) and the one to select
    // (the index in List1: 0 is "none").
    const std::vector<BdonListEntry>& bdon_items() const { return bdon_items_; }
    int selected_bdon_item() const;
    // List1Change: item 0 is "none".
    void choose_bdon(int item);
    // Page 2: the type, the correction flag; reads the chosen database in full (FileError when
    // it cannot be read) and fills the number fields from the header.
    PageCheck next_page2(int item, int tipz, int prk);
    PageCheck next_page3();
    PageCheck next_page4();

    // ---- Pages 5 to 8 ------------------------------------------------------------------------

    // The object table and its selection column.
    const std::vector<TableRow>& object_rows() const { return object_rows_; }
    const Marks& selection() const { return selection_; }
    // Space on a row: toggles its mark unless the object is absent.
    void toggle(std::size_t row);
    // The check box "select all".
    void select_all(bool on);
    PageCheck next_page5();
    const std::vector<TableRow>& pair_rows() const { return pair_rows_; }
    PageCheck next_page6();
    const std::vector<TableRow>& income_rows() const { return income_rows_; }
    PageCheck next_page7();
    const std::vector<TableRow>& point_rows() const { return point_rows_; }
    // The delay curve that row `row` of the page-8 table shows a point of (empty for no row).
    std::span<const DborPoint> point_curve(std::size_t row) const;
    PageCheck next_page8();

    // ---- Pages 9 and 10 ----------------------------------------------------------------------

    // Page 9 with the rounding type of the radios.
    PageCheck next_page9(int toc);
    // The summary of page 10 (without the order-of-solving radios).
    std::vector<CaptionValue> summary() const;
    // The two task files of the finished task (set after page 9).
    const TaskFiles& files() const { return prepared_.files; }
    // Writes both files into Data as a pair; a failure leaves every old file as it was.
    void save() const;

    // ---- Texts -------------------------------------------------------------------------------

    // The header block of a page (pages 2 to 9).
    std::vector<CaptionValue> header_block(int page) const;
    // The texts of the type names and of the mode names of the header block.
    std::string mode_text() const;
    std::string type_text() const;

    // The bound a number field is checked against on Next (field's objectName).
    static NumberBound bound_of(const std::string& field);

private:
    std::optional<double> real(const std::string& field, const std::string& text) const;
    std::optional<int> integer(const std::string& field, const std::string& text) const;
    PageCheck warning(std::string text, std::string focus, int row = -1) const;
    PageCheck information(std::string text, std::string focus) const;
    std::string number_text(double x) const;
    void fill_fields_from_header();
    void prepare_page4();
    PageCheck check_money();
    PageCheck build_object_table();
    void build_pair_rows();
    std::string t(int k) const;
    std::string tr(int k) const;

    const LanguageShell& shell_;
    std::string workspace_;
    char dc_;
    int mode_;
    int page_ = 1;
    TaskHeader header_;
    std::vector<InvestmentVariant> variants_;
    // The row marks of a task read from a file or taken from page 5, with the database and the
    // number of rows they belong to: applied only to that database with that number of rows.
    Marks saved_marks_;
    std::string saved_db_;
    std::int32_t saved_mt_ = -1;
    std::vector<BdonListEntry> bdon_items_;
    BdonData bdon_;
    bool has_bdon_ = false;
    WizardFields fields_;
    std::vector<TableRow> object_rows_;
    std::vector<std::size_t> listed_; // object of each row
    Marks selection_;
    ObjectChoice choice_;
    std::vector<std::vector<Marks>> income_marks_;
    std::vector<TableRow> pair_rows_, income_rows_, point_rows_;
    PreparedTask prepared_;
};

// The header of a wizard that starts from nothing: every number 0, every string empty.
TaskHeader cleared_task_header();

} // namespace kov
