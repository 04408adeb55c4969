#include "task/task_wizard.h"

#include "io/error.h"
#include "io/files.h"
#include "io/numbers.h"
#include "shell/language_shell.h"
#include "shell/texts.h"
#include "task/task_code.h"

#include <cmath>
#include <limits>
#include <map>

namespace kov {

namespace {

constexpr double kTolerance = 0.000001;
constexpr double kEps = 0.00000001;
constexpr double kNoBound = std::numeric_limits<double>::infinity();

// The tasks' files that make a code taken even without its protocol entry.
bool task_code_has_files(const std::string& workspace, const std::string& code) {
    for (const char* suffix : {"", "_in", "_out", "_stat"}) {
        if (file_exists(task_file_path(workspace, "Data", code, suffix))) {
            return true;
        }
    }
    for (const char* suffix : {"_in", "_out"}) {
        if (file_exists(task_file_path(workspace, "Solving", code, suffix))) {
            return true;
        }
    }
    return false;
}

} // namespace

TaskHeader cleared_task_header() {
    TaskHeader h;
    h.reg = 0;
    h.tipz = 0;
    h.prmp = 0;
    h.nsg = 0;
    h.delta = 0;
    return h;
}

TaskWizard::TaskWizard(const LanguageShell& shell, std::string workspace, char decimal_char,
                       int mode)
    : shell_(shell)
    , workspace_(std::move(workspace))
    , dc_(decimal_char)
    , mode_(mode)
    , header_(cleared_task_header()) {}

std::string TaskWizard::t(int k) const {
    return shell_.text(k);
}
std::string TaskWizard::tr(int k) const {
    return shell_.trimmed(k);
}

std::string TaskWizard::number_text(double x) const {
    return format_general(x, dc_);
}

// ---- Modes 2 and 3 ------------------------------------------------------------------------------

void TaskWizard::load_for_correction(const std::string& code) {
    const TaskDescriptor d =
        read_task_for_correction(task_file_path(workspace_, "Data", code, ""), shell_.codepage);
    header_ = d.header;
    variants_ = d.variants;
    saved_marks_ = d.row_marks;
    saved_db_ = d.header.shifr_db;
    saved_mt_ = d.header.mt;
}

std::vector<ImportItem>
TaskWizard::import_list(const std::vector<std::pair<std::string, std::string>>& protocol,
                        int reg) const {
    std::vector<ImportItem> items;
    for (const auto& [code, name] : protocol) {
        if (!is_task_code(code)) {
            continue;
        }
        try {
            const TaskHeader h =
                read_task_header(task_file_path(workspace_, "Data", code, ""), shell_.codepage);
            if (h.reg == reg) {
                items.push_back({code, "[" + code + "] " + name});
            }
        } catch (const FileError&) {
            // A task whose descriptor is missing or unreadable cannot be imported.
        }
    }
    return items;
}

void TaskWizard::import_task(const std::string& code) {
    if (code.empty()) {
        forget_import();
        return;
    }
    load_for_correction(code);
}

void TaskWizard::import_task_data(const TaskHeader& header, std::vector<InvestmentVariant> variants,
                                  Marks row_marks) {
    header_ = header;
    variants_ = std::move(variants);
    saved_marks_ = std::move(row_marks);
    saved_db_ = header.shifr_db;
    saved_mt_ = header.mt;
}

void TaskWizard::forget_import() {
    header_ = cleared_task_header();
    variants_.clear();
    saved_marks_.clear();
    saved_db_.clear();
    saved_mt_ = -1;
}

// ---- Page flow ----------------------------------------------------------------------------------

int TaskWizard::next_of(int page) const {
    if (page == 6) {
        return header_.prok == 1 ? 7 : 9;
    }
    return page < kWizardPages ? page + 1 : page;
}

int TaskWizard::previous_of(int page) const {
    if (page == 9) {
        return header_.prok == 1 ? 8 : 6;
    }
    return page > 1 ? page - 1 : page;
}

int TaskWizard::step_of(int page) const {
    if (page == 9) {
        return step_total();
    }
    return page == kWizardPages ? 0 : page;
}

std::string TaskWizard::caption(int page) const {
    const std::string title =
        t(mode_ == kWizardCorrection ? txt::CorrectTaskTitle : txt::NewTaskTitle);
    if (page == kWizardPages) {
        return title;
    }
    const std::string step = title + " (" + tr(txt::Step) + " " + std::to_string(step_of(page));
    if (page <= 2) {
        return step + ")";
    }
    return step + " " + t(txt::Of) + " " + std::to_string(step_total()) + ")";
}

int TaskWizard::back() {
    page_ = previous_of(page_);
    return page_;
}

// ---- Checks -------------------------------------------------------------------------------------

NumberBound TaskWizard::bound_of(const std::string& field) {
    // The bounds of the fields' keystroke filters; the counts and coefficients whose bound has
    // a message of its own on Next are held to their sign only.
    static const std::map<std::string, NumberBound> bounds = {
        {"txtPs", {100}},      {"txtNsg", {kNoBound}}, {"txtPor", {99999}},
        {"txtMzad", {99999}},  {"txtOgrn", {10}},      {"txtSrok", {99999}},
        {"txtVer", {0.3}},     {"Sum1a", {100000000}}, {"Sum2a", {100000000}},
        {"txtSoi", {10000}},   {"txtTmx", {kNoBound}}, {"txtTmn", {kNoBound}},
        {"txtNt", {kNoBound}}, {"txtNt1", {kNoBound}}, {"txtNsd", {999999.999999, true}},
        {"txtT1mn", {10000}},  {"txtT1mx", {10000}},   {"txtDelta", {9999}},
    };
    const auto it = bounds.find(field);
    return it == bounds.end() ? NumberBound{kNoBound} : it->second;
}

std::optional<double> TaskWizard::real(const std::string& field, const std::string& text) const {
    const auto value = parse_real(trim(text), dc_);
    if (!value || !std::isfinite(*value) || *value < 0) {
        return std::nullopt;
    }
    const NumberBound b = bound_of(field);
    if (b.strict ? *value >= b.max : *value - b.max > kTolerance) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> TaskWizard::integer(const std::string& field, const std::string& text) const {
    const auto value = parse_int(trim(text));
    if (!value || *value < 0 || double(*value) > bound_of(field).max) {
        return std::nullopt;
    }
    return value;
}

PageCheck TaskWizard::warning(std::string text, std::string focus, int row) const {
    return {PageCheck::Kind::Warning, std::move(text), std::move(focus), row, false, page_};
}

PageCheck TaskWizard::information(std::string text, std::string focus) const {
    return {PageCheck::Kind::Information, std::move(text), std::move(focus), -1, false, page_};
}

namespace {
PageCheck focus_only(const std::string& field, int page) {
    return {PageCheck::Kind::None, {}, field, -1, false, page};
}
} // namespace

// Reads a number field into `out`, or returns the check that only takes the focus.
#define KOV_READ_REAL(field, out)                                                                  \
    do {                                                                                           \
        const auto value_ = real(#field, fields_.field);                                           \
        if (!value_) {                                                                             \
            return focus_only(#field, page_);                                                      \
        }                                                                                          \
        out = *value_;                                                                             \
    } while (false)
#define KOV_READ_INT(field, out)                                                                   \
    do {                                                                                           \
        const auto value_ = integer(#field, fields_.field);                                        \
        if (!value_) {                                                                             \
            return focus_only(#field, page_);                                                      \
        }                                                                                          \
        out = *value_;                                                                             \
    } while (false)

// ---- Pages 1 to 4 -------------------------------------------------------------------------------

PageCheck TaskWizard::next_page1(const std::string& code, const std::string& name, int reg,
                                 const std::vector<std::string>& protocol_codes) {
    if (code.size() != 6 || !is_task_code(code)) {
        return warning(t(txt::CodeIncomplete) + ".", "txtShifr");
    }
    if (trim(name).empty()) {
        return warning(t(txt::EnterTaskName) + ".", "txtName");
    }
    if (mode_ != kWizardCorrection) {
        bool taken = task_code_has_files(workspace_, code);
        for (const std::string& c : protocol_codes) {
            taken = taken || c == code;
        }
        if (taken) {
            return warning(t(txt::TaskCodeExists) + ".", "txtShifr");
        }
    }
    header_.shifr = code;
    header_.name = name;
    header_.reg = reg;

    const BdonListRebuild list = rebuild_bdon_list(workspace_, shell_);
    if (!list.warning.empty()) {
        return warning(list.warning, {});
    }
    const char letter = reg == 1 ? 'A' : 'B';
    bdon_items_.clear();
    for (const BdonListEntry& e : list.entries) {
        if (!e.code.empty() && e.code[0] == letter) {
            bdon_items_.push_back(e);
        }
    }
    page_ = 2;
    return PageCheck::go(2);
}

int TaskWizard::selected_bdon_item() const {
    for (std::size_t i = 0; i < bdon_items_.size(); ++i) {
        if (bdon_items_[i].code == header_.shifr_db) {
            return int(i) + 1;
        }
    }
    return 0;
}

void TaskWizard::choose_bdon(int item) {
    header_.shifr_db =
        item >= 1 && std::size_t(item) <= bdon_items_.size() ? bdon_items_[item - 1].code : "";
}

PageCheck TaskWizard::next_page2(int item, int tipz, int prk) {
    choose_bdon(item);
    if (header_.shifr_db.empty()) {
        return warning(t(txt::NoDatabaseChosen) + ".", "List1");
    }
    header_.prk = prk;
    header_.tipz = tipz;
    header_.prmp = tipz <= 2 ? 1 : 2;
    header_.prok = tipz % 2 == 0 ? 1 : 0;
    header_.stat = header_.prok;
    bdon_ = read_bdon(bdon_base(workspace_, header_.shifr_db, shell_.suffix), shell_.codepage);
    has_bdon_ = true;
    fill_fields_from_header();
    page_ = 3;
    return PageCheck::go(3);
}

void TaskWizard::fill_fields_from_header() {
    const TaskHeader& h = header_;
    fields_.txtPs = number_text(h.ps);
    fields_.txtNsg = std::to_string(h.nsg);
    fields_.txtPor = number_text(h.por);
    fields_.txtMzad = number_text(h.mzad);
    fields_.txtSrok = number_text(h.srok);
    fields_.txtVer = number_text(h.ver);
    fields_.txtDelta = number_text(h.delta);
    fields_.txtOgrn = h.ogrn == 0 ? "" : std::to_string(h.ogrn);
    if (h.reg == 1) {
        fields_.txtSoi = number_text(h.soi);
        fields_.txtTmx = number_text(h.tmx);
        fields_.txtTmn = number_text(h.tmn);
        fields_.txtNt = std::to_string(h.nt);
        fields_.txtNsd = "0";
    } else {
        fields_.txtNsd = number_text(h.nsd);
        fields_.txtT1mn = number_text(h.tmn);
        fields_.txtT1mx = number_text(h.tmx);
        fields_.txtNt1 = std::to_string(h.nt);
        fields_.txtSoi = "0";
    }
}

PageCheck TaskWizard::next_page3() {
    TaskHeader& h = header_;
    if (h.prok != 1) {
        int nsg = 0;
        KOV_READ_INT(txtNsg, nsg);
        if (nsg == 0) {
            return warning(t(txt::VariantsNumberZero) + ".", "txtNsg");
        }
        if (nsg > kMaxInvestmentVariants) {
            return warning(t(txt::TooManyVariants) + " (> 10)", "txtNsg");
        }
        h.nsg = nsg;
    }
    KOV_READ_REAL(txtPs, h.ps);
    if (h.reg == 1) {
        KOV_READ_REAL(txtPor, h.por);
        if (h.prmp == 1 && h.por < 1.000001) {
            return warning(t(txt::ThresholdRatioNotAboveOne) + " (<=1)", "txtPor");
        }
        if (h.prmp == 2 && h.por < kTolerance) {
            return warning(t(txt::IncomeRatioNotPositive) + ".", "txtPor");
        }
    } else {
        h.por = 0;
    }
    KOV_READ_REAL(txtMzad, h.mzad);
    if (trim(fields_.txtOgrn).empty()) {
        h.ogrn = 0;
    } else {
        KOV_READ_INT(txtOgrn, h.ogrn);
        if (h.ogrn == 0) {
            return warning(t(txt::ObjectLimitZero) + ".", "txtOgrn");
        }
    }
    if (h.prok == 1) {
        KOV_READ_REAL(txtSrok, h.srok);
        if (h.srok < kTolerance) {
            return warning(t(txt::ControlTermNotPositive) + ".", "txtSrok");
        }
        KOV_READ_REAL(txtVer, h.ver);
        if (h.ver < kTolerance) {
            return warning(t(txt::ProbabilityNotPositive) + ".", "txtVer");
        }
    } else {
        h.srok = 0;
        h.ver = 0;
    }
    prepare_page4();
    if (h.prok != 1 && h.prk == 1 && h.nsg > 1) {
        h.prk = 0;
        return information(t(txt::CorrectionAllowedVariants) + " " + tr(txt::OneInvestmentVariant) +
                               ". " + t(txt::CorrectionOffPage3) + ".",
                           {});
    }
    page_ = 4;
    return PageCheck::go(4);
}

void TaskWizard::prepare_page4() {
    const auto amount = [this](double x) {
        return x < kEps ? "0" + std::string(1, dc_) + "0" : number_text(x);
    };
    if (header_.prok == 1) {
        if (!variants_.empty()) {
            fields_.Sum1a = amount(variants_[0].own);
            fields_.Sum2a = amount(variants_[0].credit);
        } else {
            fields_.Sum1a.clear();
            fields_.Sum2a.clear();
        }
        return;
    }
    fields_.grid.assign(std::size_t(header_.nsg), {});
    for (std::size_t k = 0; k < fields_.grid.size() && k < variants_.size(); ++k) {
        fields_.grid[k] = {amount(variants_[k].own), amount(variants_[k].credit)};
    }
}

PageCheck TaskWizard::next_page4() {
    TaskHeader& h = header_;
    std::vector<InvestmentVariant> variants;
    if (h.prok == 1) {
        InvestmentVariant v;
        KOV_READ_REAL(Sum1a, v.own);
        KOV_READ_REAL(Sum2a, v.credit);
        if (h.reg == 1) {
            KOV_READ_REAL(txtTmx, h.tmx);
            KOV_READ_REAL(txtTmn, h.tmn);
            KOV_READ_INT(txtNt, h.nt);
            KOV_READ_REAL(txtSoi, h.soi);
            h.nsd = 0;
            if (h.tmx < kEps) {
                return warning(t(txt::ValueNotPositive) + ".", "txtTmx");
            }
            if (h.tmn < kEps) {
                return warning(t(txt::ValueNotPositive) + ".", "txtTmn");
            }
            if (h.tmx > 1.00000001) {
                return warning(t(txt::CoefficientAboveOne) + " (> 1).", "txtTmx");
            }
            if (h.tmn > 1.00000001) {
                return warning(t(txt::CoefficientAboveOne) + " (> 1).", "txtTmn");
            }
            if (h.nt < 1 || h.nt > kMaxPaybackValues) {
                return warning(t(txt::PaybackCoefficientsCount) + " (<1 " + t(txt::Or) + " >5).",
                               "txtNt");
            }
            if (h.nt == 1 && std::fabs(h.tmx - h.tmn) > kEps) {
                return warning(t(txt::WrongCoefficientLimits) + " (" + t(txt::OneValueLimitsEqual) +
                                   ").",
                               "txtTmx");
            }
            if (h.nt >= 2 && !(h.tmx > h.tmn + kEps)) {
                return warning(t(txt::WrongCoefficientLimits) + " (" +
                                   t(txt::MaxCoefficientAboveMin) + ").",
                               "txtTmx");
            }
            if (h.soi < kEps) {
                return warning(t(txt::ValueNotPositive) + ".", "txtSoi");
            }
        } else {
            KOV_READ_REAL(txtNsd, h.nsd);
            KOV_READ_REAL(txtT1mx, h.tmx);
            KOV_READ_REAL(txtT1mn, h.tmn);
            KOV_READ_INT(txtNt1, h.nt);
            h.soi = 0;
            if (h.tmx < kEps) {
                return warning(t(txt::ValueNotPositive) + ".", "txtT1mx");
            }
            if (h.tmn < kEps) {
                return warning(t(txt::ValueNotPositive) + ".", "txtT1mn");
            }
            if (h.nt < 1 || h.nt > kMaxPaybackValues) {
                return warning(t(txt::PaybackTermsCount) + " (<1 " + t(txt::Or) + " >5).",
                               "txtNt1");
            }
            if (h.nt == 1 && std::fabs(h.tmx - h.tmn) > kEps) {
                return warning(t(txt::WrongTermLimits) + " (" + t(txt::OneValueLimitsEqual) + ").",
                               "txtT1mn");
            }
            if (h.nt >= 2 && !(h.tmx > h.tmn + kEps)) {
                return warning(t(txt::WrongTermLimits) + " (" + t(txt::MaxTermAboveMin) + ").",
                               "txtT1mx");
            }
        }
        h.nsg = h.nt;
        if (h.prk == 1 && h.nsg > 1) {
            h.prk = 0;
            return information(t(txt::CorrectionAllowedPayback) + " " +
                                   tr(txt::OneInvestmentVariant) + ". " +
                                   t(txt::CorrectionOffPage4) + ".",
                               {});
        }
        variants.assign(std::size_t(h.nsg), v);
    } else {
        h.nt = 0;
        h.tmx = h.tmn = h.soi = h.nsd = 0;
        for (std::size_t k = 0; k < fields_.grid.size(); ++k) {
            const auto own = parse_real(trim(fields_.grid[k].first), dc_);
            const auto credit = parse_real(trim(fields_.grid[k].second), dc_);
            if (!own || !credit) {
                return warning(t(txt::AmountNotANumber) + ".", "StringGrid", int(k));
            }
            variants.push_back(InvestmentVariant{*own, *credit});
        }
    }
    variants_ = std::move(variants);
    if (PageCheck money = check_money(); !money.advance) {
        return money;
    }
    return build_object_table();
}

PageCheck TaskWizard::check_money() {
    const bool payback = header_.prok == 1;
    for (std::size_t k = 0; k < variants_.size(); ++k) {
        const InvestmentVariant& v = variants_[k];
        const std::string focus = payback ? "Sum1a" : "StringGrid";
        const int row = payback ? -1 : int(k);
        if (header_.reg == 1 && !(v.own + v.credit > kEps)) {
            return warning(t(txt::FundsNotPositive) + ".", focus, row);
        }
        if (!(v.own > -kEps)) {
            return warning(t(txt::OwnFundsNegative) + ".", focus, row);
        }
        if (!(v.credit > -kEps)) {
            return warning(t(txt::CreditNegative) + ".", focus, row);
        }
        if (v.own + v.credit > 100000000.00000001) {
            return warning(t(txt::FundsTooLarge) + " (" + t(txt::UpperBound) + ").", focus, row);
        }
    }
    return PageCheck::go(5);
}

PageCheck TaskWizard::build_object_table() {
    listed_ = listed_objects(bdon_, header_.tipz);
    if (listed_.empty()) {
        return warning(t(txt::ForTaskType) + " " + std::to_string(header_.tipz) + " " +
                           t(txt::NoUsableObjects) + ". " + t(txt::TaskCannotBeDefined) + ".",
                       {});
    }
    object_rows_.clear();
    for (std::size_t i : listed_) {
        const DborObject& o = bdon_.objects[i];
        object_rows_.push_back(
            {{std::to_string(i + 1), o.code, header_.reg == 1 ? number_text(o.cost) : "",
              std::to_string(o.n), trim(o.absence), ""},
             o.description,
             o.description,
             i,
             0});
    }
    // Saved marks belong to the rows of one database and task type.
    const bool same_rows =
        saved_db_ == header_.shifr_db && saved_mt_ == std::int32_t(listed_.size());
    selection_ = initial_row_marks(bdon_, header_.tipz, same_rows ? saved_marks_ : Marks{});
    page_ = 5;
    return PageCheck::go(5);
}

// ---- Pages 5 to 8 -------------------------------------------------------------------------------

void TaskWizard::toggle(std::size_t row) {
    if (row < selection_.size() && !bdon_.objects[listed_[row]].absent()) {
        selection_[row] = !selection_[row];
    }
}

void TaskWizard::select_all(bool on) {
    for (std::size_t r = 0; r < selection_.size(); ++r) {
        selection_[r] = on && !bdon_.objects[listed_[r]].absent();
    }
}

PageCheck TaskWizard::next_page5() {
    bool any = false;
    for (bool mark : selection_) {
        any = any || mark;
    }
    if (!any) {
        return warning(t(txt::NoObjectSelected) + ".", "Table1");
    }
    header_.mt = std::int32_t(selection_.size());
    saved_marks_ = selection_;
    saved_db_ = header_.shifr_db;
    saved_mt_ = header_.mt;
    choice_ = choose_objects(header_, bdon_, selection_);
    header_.mz = choice_.mz;
    pair_rows_.clear();
    if (header_.mz == 0) {
        return warning(t(txt::ForTaskType) + " " + std::to_string(header_.tipz) + " " +
                           t(txt::NoObjectMeetsRestrictions) + ". " + t(txt::TaskCannotBeDefined) +
                           ".",
                       "Table1");
    }
    build_pair_rows();
    page_ = 6;
    if (header_.ogrn > 0 && header_.ogrn >= header_.mz) {
        PageCheck info = information(t(txt::ObjectLimit) + " (=" + std::to_string(header_.ogrn) +
                                         ") " + t(txt::LimitNotLessThanObjects) +
                                         " (=" + std::to_string(header_.mz) + ").",
                                     {});
        header_.ogrn = 0;
        fields_.txtOgrn.clear();
        info.advance = true;
        info.next_page = 6;
        return info;
    }
    return PageCheck::go(6);
}

void TaskWizard::build_pair_rows() {
    const int prmp = header_.prmp;
    for (std::size_t i = 0; i < bdon_.objects.size(); ++i) {
        if (!choice_.object_marks[i]) {
            continue;
        }
        const DborObject& o = bdon_.objects[i];
        bool first = true;
        for (std::size_t s = 0; s < bdon_.variants[i].size(); ++s) {
            if (!choice_.variant_marks[i][s]) {
                continue;
            }
            const DborVariant& v = bdon_.variants[i][s];
            const std::size_t incomes = income_variant_count(bdon_, prmp, i, s);
            std::string last = header_.prok == 1 ? std::to_string(incomes)
                                                 : number_text(income_amount(bdon_, prmp, i, s, 0));
            pair_rows_.push_back(
                TableRow{{(first ? "" : "  ") + std::to_string(i + 1), first ? o.code : "",
                          std::to_string(s), s == 0 ? "-" : number_text(v.cost),
                          s == 0 ? "-" : number_text(v.duration), last},
                         v.description,
                         o.description,
                         i,
                         s});
            first = false;
        }
    }
}

PageCheck TaskWizard::next_page6() {
    if (header_.prok != 1) {
        page_ = 9;
        return PageCheck::go(9);
    }
    income_marks_ = choose_income_variants(header_, bdon_, choice_.variant_marks);
    income_rows_.clear();
    const int prmp = header_.prmp;
    for (const TableRow& pair : pair_rows_) {
        const std::size_t i = pair.object;
        const std::size_t s = pair.variant;
        for (std::size_t v = 0; v < income_marks_[i][s].size(); ++v) {
            if (!income_marks_[i][s][v]) {
                continue;
            }
            const bool same_object = !income_rows_.empty() && income_rows_.back().object == i;
            const bool same_pair = same_object && income_rows_.back().variant == s;
            const auto& points =
                prmp == 1 ? bdon_.sale_points[i][s][v] : bdon_.expl_points[i][s][v];
            income_rows_.push_back(TableRow{
                {(same_object ? "  " : "") + std::to_string(i + 1),
                 same_object ? "" : bdon_.objects[i].code,
                 (same_pair ? "  " : "") + std::to_string(s), std::to_string(v + 1),
                 number_text(income_amount(bdon_, prmp, i, s, v)), std::to_string(points.size())},
                bdon_.variants[i][s].description,
                bdon_.objects[i].description,
                i,
                s});
        }
    }
    page_ = 7;
    return PageCheck::go(7);
}

PageCheck TaskWizard::next_page7() {
    point_rows_.clear();
    const int prmp = header_.prmp;
    for (const TableRow& pair : pair_rows_) {
        const std::size_t i = pair.object;
        const std::size_t s = pair.variant;
        for (std::size_t v = 0; v < income_marks_[i][s].size(); ++v) {
            if (!income_marks_[i][s][v]) {
                continue;
            }
            const auto& points =
                prmp == 1 ? bdon_.sale_points[i][s][v] : bdon_.expl_points[i][s][v];
            for (std::size_t p = 0; p < points.size(); ++p) {
                const bool same_object = !point_rows_.empty() && point_rows_.back().object == i;
                const bool same_pair = same_object && point_rows_.back().variant == s;
                point_rows_.push_back(
                    TableRow{{(same_object ? "  " : "") + std::to_string(i + 1),
                              same_object ? "" : bdon_.objects[i].code,
                              (same_pair ? "  " : "") + std::to_string(s),
                              p == 0 ? std::to_string(v + 1) : "", std::to_string(p + 1),
                              number_text(points[p].x), number_text(points[p].y)},
                             bdon_.variants[i][s].description,
                             bdon_.objects[i].description,
                             i,
                             s,
                             v,
                             p});
            }
        }
    }
    page_ = 8;
    return PageCheck::go(8);
}

std::span<const DborPoint> TaskWizard::point_curve(std::size_t row) const {
    if (row >= point_rows_.size()) {
        return {};
    }
    const TableRow& r = point_rows_[row];
    const auto& points = header_.prmp == 1 ? bdon_.sale_points : bdon_.expl_points;
    return points.at(r.object).at(r.variant).at(r.income);
}

PageCheck TaskWizard::next_page8() {
    page_ = 9;
    return PageCheck::go(9);
}

// ---- Pages 9 and 10 -----------------------------------------------------------------------------

PageCheck TaskWizard::next_page9(int toc) {
    KOV_READ_REAL(txtDelta, header_.delta);
    if (header_.delta < kTolerance) {
        return warning(t(txt::TickNotPositive) + ".", "txtDelta");
    }
    header_.toc = toc;
    const TaskDraft draft{header_, variants_, saved_marks_};
    PreparedTask prepared = prepare_task(draft, bdon_, shell_.file_name);
    if (prepared.problem != DraftProblem::None) {
        return warning(draft_problem_text(shell_, prepared.problem, header_, prepared.size),
                       "txtDelta");
    }
    prepared_ = std::move(prepared);
    header_ = prepared_.files.descriptor.header;
    page_ = 10;
    return PageCheck::go(10);
}

void TaskWizard::save() const {
    save_task(workspace_, prepared_, bdon_, shell_.codepage);
}

std::string TaskWizard::mode_text() const {
    return header_.reg == 2 ? t(txt::ModernisationMode) : t(txt::PurchaseMode);
}

std::string TaskWizard::type_text() const {
    static const int names[] = {txt::SaleWithoutPayback, txt::SaleWithPayback,
                                txt::ExploitationWithoutPayback, txt::ExploitationWithPayback};
    if (header_.tipz < 1 || header_.tipz > 4) {
        return {};
    }
    return std::to_string(header_.tipz) + ": " + t(names[header_.tipz - 1]);
}

namespace {
std::int32_t usable_for_type(const DborHeader& h, int tipz) {
    switch (tipz) {
    case 1:
        return h.sale_objects;
    case 2:
        return h.sale_curve_objects;
    case 3:
        return h.expl_objects;
    default:
        return h.expl_curve_objects;
    }
}
} // namespace

std::vector<CaptionValue> TaskWizard::header_block(int page) const {
    std::vector<CaptionValue> block;
    const TaskHeader& h = header_;
    block.emplace_back(t(txt::TaskCode) + ":", h.shifr);
    block.emplace_back(t(txt::TaskName) + ":", h.name);
    block.emplace_back(t(txt::InvestmentMode) + ":", mode_text());
    if (page <= 2) {
        return block;
    }
    const DborHeader& b = bdon_.header;
    block.emplace_back(t(txt::TaskType) + ":", type_text());
    block.emplace_back(tr(txt::DatabaseCodeKey) + ":", h.shifr_db);
    block.emplace_back(t(txt::DatabaseName) + ":", b.name);
    block.emplace_back(t(txt::ObjectsNumber) + ":", std::to_string(b.m));
    block.emplace_back(tr(txt::UsableForThisType) + ":",
                       std::to_string(usable_for_type(b, h.tipz)));
    block.emplace_back(t(txt::MaximisedParameter) + ":",
                       h.prmp == 2 ? t(txt::ExploitationIncome) : t(txt::SaleIncome));
    block.emplace_back(t(txt::Payback) + ":", std::to_string(h.prok));
    if (page == 3 || (page == 4 && h.prok == 1)) {
        return block;
    }
    block.emplace_back(t(txt::VariantsNumber) + ":", std::to_string(h.nsg));
    if (page >= 6) {
        block.emplace_back(tr(txt::ChosenObjectsNumber) + ":", std::to_string(h.mz));
    }
    return block;
}

std::vector<CaptionValue> TaskWizard::summary() const {
    const TaskHeader& h = header_;
    const DborHeader& b = bdon_.header;
    static const int rounding[] = {txt::RoundToNearest, txt::RoundDown, txt::RoundUp};
    return {
        {tr(txt::GeneralDataHeading) + ":", ""},
        {t(txt::TaskCode) + ":", h.shifr},
        {t(txt::TaskName) + ":", h.name},
        {t(txt::InvestmentMode) + ":", mode_text()},
        {t(txt::TaskType) + ":", type_text()},
        {t(txt::DatabaseHeading) + ":", ""},
        {"- " + tr(txt::CodeItem) + ":", h.shifr_db},
        {"- " + t(txt::NameItem) + ":", b.name},
        {"- " + t(txt::ObjectsNumberItem) + ":", std::to_string(b.m)},
        {"- " + tr(txt::UsableItem) + ":", std::to_string(usable_for_type(b, h.tipz))},
        {"- " + t(txt::MoneyUnitsItem) + ":",
         b.cost_unit + "  " + t(txt::UnitsOfTime) + ": " + b.time_unit},
        {t(txt::MaximisedParameter) + ":",
         h.prmp == 2 ? t(txt::ExploitationIncome) : t(txt::SaleIncome)},
        {t(txt::Payback) + ":", std::to_string(h.prok)},
        {t(txt::VariantsNumber) + ":", std::to_string(h.nsg)},
        {t(txt::InterestRate) + ":", number_text(h.ps) + "%"},
        {tr(txt::ChosenObjectsNumber) + ":", std::to_string(h.mz)},
        {t(txt::Rounding) + ":", t(rounding[h.toc >= 0 && h.toc <= 2 ? h.toc : 0])},
        {t(txt::Tick) + ":", tick_summary_text(number_text(h.delta), dc_)},
        {t(txt::PhaseStatesNumber) + ":", std::to_string(h.faza)},
        {t(txt::StatisticsAllowed) + ":", std::to_string(h.stat)},
        {t(txt::CorrectionAfterSolvingPrompt) + ":", std::to_string(h.prk)},
    };
}

} // namespace kov
