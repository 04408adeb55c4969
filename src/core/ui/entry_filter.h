#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kov {

// Keystroke filters of the number fields and editable grids: a key is judged on the text it
// would leave, so a field can never come to hold a text that is not a valid number in range.
// Texts and positions count characters (code points).

inline constexpr char32_t kBackspace = U'\b';

// A character typed into an edit field: the field's text, its caret and its selection.
struct FieldKey {
    std::u32string_view text;
    std::size_t caret = 0;
    std::size_t selection_start = 0;
    std::size_t selection_length = 0;
    char32_t typed = 0;
};

// The text the key would leave: the selection replaced by the typed character, or, without a
// selection, the character inserted at the caret. Positions beyond the text are clamped.
std::u32string predicted_text(const FieldKey& key);

// Counts such as the number of investment variants: the range is inclusive.
struct IntegerFieldRule {
    int min = 0;
    int max = 0;
};
// Backspace passes; any other character must be a digit and leave an integer in range.
bool integer_field_accepts(const FieldKey& key, const IntegerFieldRule& rule);

// Money amounts, percentages, durations: at most `decimals` decimals and at most `max` (with a
// tolerance of 0.000001). A minus sign is never accepted.
struct DecimalFieldRule {
    int decimals = 2;
    double max = 0;
};
inline constexpr double kBoundTolerance = 0.000001;
// Backspace passes; any other key must leave a number written with `decimal_char`, with no
// more decimals than allowed and not above the bound.
bool decimal_field_accepts(const FieldKey& key, const DecimalFieldRule& rule, char decimal_char);

// The characters a grid column takes.
enum class CellClass {
    ReadOnly, // refuses every key
    Digits,
    Decimal, // digits and the decimal separator
};
struct GridColumnRule {
    CellClass cell_class = CellClass::ReadOnly;
    std::size_t max_length = 0;
};
// The typed character is appended to the cell's text (wherever the caret is) and refused when
// the result is longer than the column allows or the character is not of the column's class.
// Backspace and the clipboard keys Ctrl+C, Ctrl+V and Ctrl+X always pass.
bool grid_cell_accepts(std::u32string_view cell_text, char32_t typed, const GridColumnRule& rule,
                       char decimal_char);

// A position of a masked code field (TaskCode and other fixed-format codes): a Latin letter,
// shown in upper case, or a digit. Returns the character as the field shows it, or 0 when the
// character is not taken.
inline constexpr std::size_t kCodeFieldLength = 6;
char32_t code_field_char(char32_t c);

} // namespace kov
