#pragma once

// The checks the database wizard runs when Next is pressed, page by page, and its page flow.
// A check stops at the first failure and says what the window does: the message (shell texts
// and fixed pieces), its kind, and where the focus goes (a field, or a grid cell whose row the
// grid scrolls to the top).

#include "dbor/bdon_model.h"
#include "shell/texts.h"

#include <string>
#include <string_view>
#include <vector>

namespace kov {

struct LanguageShell;

enum class Verdict {
    Ok,
    Warning,   // a warning box, the page stays
    Error,     // an error box (a text that is no number where a whole number belongs)
    FocusOnly, // no message: the field takes the focus
    Confirm,   // a question with Yes and No (deleting the marked objects of page 3)
};

enum class Focus { None, Code, Name, ObjectCount, Grid, Memo };

// One piece of a message: a shell text (trimmed or as it stands) or a fixed text.
struct MessagePiece {
    int text = -1; // the shell text number; -1 for a fixed piece
    bool trimmed = false;
    std::string fixed;

    bool operator==(const MessagePiece&) const = default;
};

struct NextOutcome {
    Verdict verdict = Verdict::Ok;
    std::vector<MessagePiece> message;
    Focus focus = Focus::None;
    std::size_t row = 0; // grid pages: the row to show at the top and select
    int column = 0;      // ... and the cell to focus

    bool ok() const { return verdict == Verdict::Ok; }
    // The first shell text of the message (the number that names the failure), or -1.
    int text() const;
    // The message as the box shows it.
    std::string compose(const LanguageShell& shell) const;
};

// ---- Checks -------------------------------------------------------------------------------------

// Page 1: the code is exactly 3 digits (type A) or 6 (type B); the name is not blank.
NextOutcome check_identity(char type, std::string_view code, std::string_view name);
// A new database (modes 1 and 2) may not take the code of one that exists: its file is looked
// for under the Workspace with the loaded shell's suffix. Checked on page 1 and again before
// saving.
NextOutcome check_code_free(const std::string& workspace, std::string_view suffix, char type,
                            std::string_view code);
// The shell text of that refusal (a text the shells add after the highest one they held).
inline constexpr int kTextDatabaseExists = txt::DatabaseExists;

// Page 2: the object count, 1..1000.
NextOutcome check_object_count(std::string_view text);
// The object count field takes digits while its text stays a number up to 1000.
inline constexpr IntegerFieldRule kObjectCountField{0, kMaxObjects};

// Page 3: every row not marked for deletion, then the deletion marks (all marked: a warning;
// some marked: a question, whose Yes drops them).
NextOutcome check_objects(const ObjectsGrid& grid);
// Page 4: every row.
NextOutcome check_variants(const VariantsGrid& grid);
// Pages 5 and 7: every row.
NextOutcome check_incomes(const IncomeGrid& grid);
// Pages 6 and 8: every point.
NextOutcome check_curves(const CurveGrid& grid);

// ---- Page flow ----------------------------------------------------------------------------------

// Pages 1..9: 1 identity, 2 units and count, 3 objects, 4 modernisation variants, 5 sale
// variants, 6 sale delay curves, 7 exploitation variants, 8 exploitation delay curves,
// 9 summary. Pages 5 to 8 are skipped when the totals leave nothing to show on them.
int page_after(int page, const WizardTotals& totals);
int page_before(int page, const WizardTotals& totals);

} // namespace kov
