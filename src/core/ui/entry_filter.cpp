#include "ui/entry_filter.h"

#include "io/codepage.h"
#include "io/numbers.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {

bool is_digit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

} // namespace

std::u32string predicted_text(const FieldKey& key) {
    std::u32string out(key.text);
    if (key.selection_length > 0) {
        const std::size_t start = std::min(key.selection_start, out.size());
        out.replace(start, std::min(key.selection_length, out.size() - start), 1, key.typed);
    } else {
        out.insert(std::min(key.caret, out.size()), 1, key.typed);
    }
    return out;
}

bool integer_field_accepts(const FieldKey& key, const IntegerFieldRule& rule) {
    if (key.typed == kBackspace) {
        return true;
    }
    if (!is_digit(key.typed)) {
        return false;
    }
    const auto value = parse_int(to_utf8(predicted_text(key)));
    return value && *value >= rule.min && *value <= rule.max;
}

bool decimal_field_accepts(const FieldKey& key, const DecimalFieldRule& rule, char decimal_char) {
    if (key.typed == kBackspace) {
        return true;
    }
    if (key.typed == U'-') {
        return false;
    }
    const auto value = parse_real(to_utf8(predicted_text(key)), decimal_char);
    if (!value) {
        return false;
    }
    // A power of ten is exact in a double, so a number typed with the allowed decimals comes
    // back from the rounding bit for bit.
    double scale = 1;
    for (int d = 0; d < rule.decimals; ++d) {
        scale *= 10;
    }
    const double rounded = std::round(*value * scale) / scale;
    if (!(std::fabs(rounded - *value) <= 1e-10)) {
        return false;
    }
    return *value - rule.max <= kBoundTolerance;
}

bool grid_cell_accepts(std::u32string_view cell_text, char32_t typed, const GridColumnRule& rule,
                       char decimal_char) {
    constexpr char32_t kCtrlC = 3, kCtrlV = 22, kCtrlX = 24;
    if (typed == kBackspace || typed == kCtrlC || typed == kCtrlV || typed == kCtrlX) {
        return true;
    }
    switch (rule.cell_class) {
    case CellClass::ReadOnly:
        return false;
    case CellClass::Digits:
        if (!is_digit(typed)) {
            return false;
        }
        break;
    case CellClass::Decimal:
        if (!is_digit(typed) && typed != static_cast<unsigned char>(decimal_char)) {
            return false;
        }
        break;
    }
    return cell_text.size() + 1 <= rule.max_length;
}

char32_t code_field_char(char32_t c) {
    if (is_digit(c) || (c >= U'A' && c <= U'Z')) {
        return c;
    }
    if (c >= U'a' && c <= U'z') {
        return c - U'a' + U'A';
    }
    return 0;
}

} // namespace kov
