#include "dbor/bdon_wizard.h"

#include "io/codepage.h"
#include "io/numbers.h"
#include "shell/language_shell.h"
#include "shell/texts.h"

#include <algorithm>
#include <stdexcept>

namespace kov {

namespace {

constexpr std::size_t kNameLength = 70;
constexpr std::size_t kUnitLength = 20;

bool new_database(WizardMode mode) {
    return mode == WizardMode::New || mode == WizardMode::Import;
}

} // namespace

BdonWizard::BdonWizard(WizardMode mode, WizardContext context)
    : mode_(mode)
    , context_(std::move(context))
    , objects_('A', context_.decimal_char)
    , variants_(current_, context_.decimal_char)
    , sales_(Income::Sale, current_, context_.decimal_char)
    , expls_(Income::Expl, current_, context_.decimal_char)
    , sale_curves_(Income::Sale, current_, context_.decimal_char)
    , expl_curves_(Income::Expl, current_, context_.decimal_char) {
    const bool read_only = mode_ == WizardMode::View;
    for (WizardGrid* g : std::initializer_list<WizardGrid*>{&objects_, &variants_, &sales_, &expls_,
                                                            &sale_curves_, &expl_curves_}) {
        g->set_read_only(read_only);
    }
}

void BdonWizard::open(const BdonData& stored) {
    current_ = model_from_records(stored);
    const DborHeader& h = stored.header;
    fields_.type = h.type == "B" ? 'B' : 'A';
    fields_.code = h.code;
    fields_.name = h.name;
    fields_.cost_unit = h.cost_unit;
    fields_.time_unit = h.time_unit;
    fields_.count = std::to_string(stored.objects.size());
}

bool BdonWizard::back_enabled() const {
    return page_ > 1 && (page_ != 3 || mode_ == WizardMode::View);
}

BdonData BdonWizard::records() const {
    return records_from_model(current_);
}

void BdonWizard::go(int page) {
    page_ = page;
    if (page == 9) {
        // The summary's counts of usable objects, stored as the file keeps them.
        BdonData data = records();
        store_usable_counts(data);
        DborHeader& h = current_.header;
        h.sale_objects = data.header.sale_objects;
        h.sale_curve_objects = data.header.sale_curve_objects;
        h.expl_objects = data.header.expl_objects;
        h.expl_curve_objects = data.header.expl_curve_objects;
    }
}

NextOutcome BdonWizard::next() {
    if (finished_) {
        return {};
    }
    switch (page_) {
    case 1:
        return pass_identity();
    case 2:
        return pass_count();
    case 3:
        return pass_objects();
    case 4: {
        NextOutcome o = check_variants(variants_);
        if (o.ok()) {
            take_variants(variants_, current_, previous_, map_);
            const int to = page_after(4, totals());
            fill_incomes(income_grid(to == 5 ? Income::Sale : Income::Expl), current_, previous_,
                         map_);
            go(to);
        }
        return o;
    }
    case 5:
    case 7: {
        const Income kind = page_ == 5 ? Income::Sale : Income::Expl;
        NextOutcome o = check_incomes(income_grid(kind));
        if (o.ok()) {
            take_incomes(income_grid(kind), current_, previous_, map_);
            const int to = page_after(page_, totals());
            if (to == 6 || to == 8) {
                fill_curves(curve_grid(kind), current_, previous_, map_);
            } else if (to == 7) {
                fill_incomes(expls_, current_, previous_, map_);
            }
            go(to);
        }
        return o;
    }
    case 6:
    case 8: {
        const Income kind = page_ == 6 ? Income::Sale : Income::Expl;
        NextOutcome o = check_curves(curve_grid(kind));
        if (o.ok()) {
            take_curves(curve_grid(kind), current_);
            const int to = page_after(page_, totals());
            if (to == 7) {
                fill_incomes(expls_, current_, previous_, map_);
            }
            go(to);
        }
        return o;
    }
    default:
        if (mode_ != WizardMode::View) {
            if (new_database(mode_)) {
                NextOutcome o = check_code_free(context_.workspace, context_.suffix,
                                                current_.header.type.front(), current_.header.code);
                if (!o.ok()) {
                    return o;
                }
            }
            save();
        }
        finished_ = true;
        return {};
    }
}

NextOutcome BdonWizard::pass_identity() {
    NextOutcome o = check_identity(fields_.type, fields_.code, fields_.name);
    if (o.ok() && new_database(mode_)) {
        o = check_code_free(context_.workspace, context_.suffix, fields_.type, fields_.code);
    }
    if (!o.ok()) {
        return o;
    }
    DborHeader& h = current_.header;
    h.language = context_.suffix;
    h.type = std::string(1, fields_.type);
    h.code = fields_.code;
    h.name = left_chars(fields_.name, kNameLength);
    h.mode = fields_.type == 'A' ? 1 : 2;
    objects_ = ObjectsGrid(fields_.type, context_.decimal_char);
    objects_.set_read_only(mode_ == WizardMode::View);
    go(2);
    return o;
}

NextOutcome BdonWizard::pass_count() {
    NextOutcome o = check_object_count(fields_.count);
    if (!o.ok()) {
        return o;
    }
    previous_ = current_;
    count_ = std::size_t(*parse_int(trim(fields_.count)));
    current_.header.cost_unit = left_chars(fields_.cost_unit, kUnitLength);
    current_.header.time_unit = left_chars(fields_.time_unit, kUnitLength);
    fill_objects(objects_, previous_, count_);
    // The later pages are filled again from the new previous data before they are shown.
    variants_.rows().clear();
    sales_.rows().clear();
    expls_.rows().clear();
    sale_curves_.rows().clear();
    expl_curves_.rows().clear();
    go(3);
    return o;
}

NextOutcome BdonWizard::pass_objects() {
    NextOutcome o = check_objects(objects_);
    if (o.verdict == Verdict::Confirm) {
        return o;
    }
    if (o.ok()) {
        map_ = take_objects(objects_, current_, previous_);
        fill_variants(variants_, current_, previous_, map_);
        go(4);
    }
    return o;
}

NextOutcome BdonWizard::confirm_deletion(bool yes) {
    if (page_ != 3 || check_objects(objects_).verdict != Verdict::Confirm) {
        throw std::logic_error("no deletion of objects waits for an answer");
    }
    auto& rows = objects_.rows();
    if (!yes) {
        for (ObjectRow& r : rows) {
            r.deletion.clear();
        }
        return {Verdict::FocusOnly, {}, Focus::Grid};
    }
    // The rows keep the previous objects they show, so the index map follows them.
    std::erase_if(rows, [](const ObjectRow& r) { return !r.deletion.empty(); });
    return pass_objects();
}

void BdonWizard::back() {
    if (!back_enabled()) {
        return;
    }
    if (page_ == 2 && new_database(mode_)) {
        // An import made on page 2 no longer prefills page 3.
        current_.header.cost_unit.clear();
        current_.header.time_unit.clear();
        current_.header.saved.clear();
        current_.objects.clear();
    }
    page_ = page_before(page_, totals());
}

void BdonWizard::save() {
    BdonData data = records();
    saved_path_ = write_bdon(context_.workspace, context_.suffix, data,
                             context_.today ? context_.today() : std::string(), context_.codepage);
    current_.header.saved = data.header.saved;
}

void BdonWizard::import_none() {
    if (mode_ != WizardMode::Import || page_ != 2) {
        throw std::logic_error("the import belongs to page 2 of a new database by import");
    }
    DborHeader identity;
    const DborHeader& h = current_.header;
    identity.language = h.language;
    identity.type = h.type;
    identity.code = h.code;
    identity.name = h.name;
    identity.mode = h.mode;
    current_ = BdonModel{};
    current_.header = identity;
    fields_.cost_unit.clear();
    fields_.time_unit.clear();
    fields_.count = std::to_string(0);
}

void BdonWizard::import_database(const BdonData& other) {
    if (mode_ != WizardMode::Import || page_ != 2) {
        throw std::logic_error("the import belongs to page 2 of a new database by import");
    }
    if (other.header.type != current_.header.type) {
        throw std::invalid_argument("a database of type " + other.header.type +
                                    " cannot prefill one of type " + current_.header.type);
    }
    const DborHeader identity = current_.header;
    current_ = model_from_records(other);
    DborHeader& h = current_.header;
    h.type = identity.type;
    h.code = identity.code;
    h.name = identity.name;
    h.mode = identity.mode;
    fields_.cost_unit = h.cost_unit;
    fields_.time_unit = h.time_unit;
    fields_.count = std::to_string(current_.objects.size());
}

// ---- Captions and lists of page 2
// ------------------------------------------------------------------

std::vector<std::string> cost_units(const LanguageShell& shell) {
    return {shell.short_text(short_txt::Hryvnia), shell.short_text(short_txt::Dollar),
            shell.short_text(short_txt::Euro), shell.short_text(short_txt::Rouble)};
}

std::vector<std::string> time_units(const LanguageShell& shell) {
    return {shell.trimmed(txt::Days), shell.text(txt::Months)};
}

int select_unit(std::vector<std::string>& items, const std::string& stored) {
    if (stored.empty()) {
        return -1;
    }
    // A unit is stored cut to 20 characters, so a longer item matches its cut.
    const auto it = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
        return left_chars(item, kUnitLength) == stored;
    });
    if (it != items.end()) {
        return int(it - items.begin());
    }
    items.push_back(stored);
    return int(items.size()) - 1;
}

std::vector<ImportChoice> import_choices(const std::vector<BdonListEntry>& list, char type) {
    std::vector<ImportChoice> out{{"none", {}}};
    for (const BdonListEntry& e : list) {
        if (!e.code.empty() && e.code.front() == type) {
            out.push_back({"[" + e.code + "] " + e.name, e.code});
        }
    }
    return out;
}

std::string wizard_title(const LanguageShell& shell, WizardMode mode, int page) {
    const int title = mode == WizardMode::Correct ? txt::CorrectDatabaseTitle
                      : mode == WizardMode::View  ? txt::ViewDatabaseTitle
                                                  : txt::NewDatabaseTitle;
    std::string out = shell.text(title);
    if (page < 9) {
        out += " (" + shell.trimmed(txt::Step) + " " + std::to_string(page) + " " +
               shell.text(txt::Of) + " 8)";
    }
    return out;
}

std::string object_memo_caption(const LanguageShell& shell, std::size_t number) {
    return shell.trimmed(txt::ObjectDescriptionMemo) + " " + std::to_string(number) + " (<=255 " +
           shell.trimmed(txt::Characters) + ")";
}

std::string variant_memo_caption(const LanguageShell& shell, std::size_t variant) {
    return shell.text(txt::VariantDescriptionMemo) + " " + std::to_string(variant) + " " +
           shell.text(txt::OfTheObject) + " (<=255 " + shell.short_text(short_txt::Chars) + ")";
}

} // namespace kov
