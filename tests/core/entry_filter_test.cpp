#include "ui/entry_filter.h"

#include "io/codepage.h"

#include <gtest/gtest.h>

using namespace kov;

namespace {

// A key typed into a field: its text, the caret, the selection and the character.
struct Typing {
    std::u32string_view text;
    std::size_t caret;
    std::size_t selection_start;
    std::size_t selection_length;
    char32_t typed;
    bool accepted;
};

FieldKey key_of(const Typing& t) {
    return {t.text, t.caret, t.selection_start, t.selection_length, t.typed};
}

std::string describe(const Typing& t) {
    return "\"" + to_utf8(t.text) + "\" caret " + std::to_string(t.caret) + " selection " +
           std::to_string(t.selection_start) + "+" + std::to_string(t.selection_length) + " key " +
           std::to_string(static_cast<unsigned>(t.typed));
}

} // namespace

TEST(EntryFilter, PredictedTextReplacesTheSelectionOrInsertsAtTheCaret) {
    EXPECT_EQ(predicted_text({U"350", 3, 0, 2, U'9'}), U"90");
    EXPECT_EQ(predicted_text({U"350", 1, 0, 0, U'9'}), U"3950");
    EXPECT_EQ(predicted_text({U"350", 0, 0, 3, U'1'}), U"1");
    EXPECT_EQ(predicted_text({U"", 0, 0, 0, U'7'}), U"7");
    // Positions past the text (a stale caret) append instead of reading out of range.
    EXPECT_EQ(predicted_text({U"12", 9, 0, 0, U'3'}), U"123");
    EXPECT_EQ(predicted_text({U"12", 0, 5, 3, U'3'}), U"123");
}

TEST(EntryFilter, IntegerFieldTakesDigitsThatKeepTheCountInRange) {
    const IntegerFieldRule variants{1, 10};
    const Typing cases[] = {
        {U"", 0, 0, 0, U'5', true},
        {U"1", 1, 0, 0, U'0', true},
        {U"1", 1, 0, 0, U'1', false}, // 11
        {U"", 0, 0, 0, U'0', false},  // below the range
        {U"5", 1, 0, 0, U'-', false},
        {U"", 0, 0, 0, U'+', false},
        {U"5", 1, 0, 0, U'a', false},
        {U"5", 1, 0, 0, kBackspace, true},
        {U"", 0, 0, 0, kBackspace, true},
        // Typing over part of the number is judged on the number after the replacement.
        {U"10", 1, 1, 1, U'0', true},  // "10"
        {U"10", 1, 0, 0, U'0', false}, // "100"
        {U"10", 1, 0, 1, U'2', false}, // "20"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(integer_field_accepts(key_of(c), variants), c.accepted) << describe(c);
    }

    const IntegerFieldRule objects{0, 1000};
    const Typing more[] = {
        {U"", 0, 0, 0, U'0', true},           {U"100", 3, 0, 0, U'0', true}, // the bound itself
        {U"1000", 4, 0, 0, U'0', false},      {U"350", 2, 0, 2, U'9', true}, // "90"
        {U"350", 2, 0, 0, U'9', false},                                      // "3590"
        {U"999999999", 9, 0, 0, U'9', false}, // beyond a 32-bit integer
    };
    for (const auto& c : more) {
        EXPECT_EQ(integer_field_accepts(key_of(c), objects), c.accepted) << describe(c);
    }
}

TEST(EntryFilter, DecimalFieldKeepsTheDecimalsAndTheBound) {
    const DecimalFieldRule percent{2, 100};
    const Typing cases[] = {
        {U"", 0, 0, 0, U'0', true},
        {U"0", 1, 0, 0, U',', true},
        {U"0,", 2, 0, 0, U'5', true},
        {U"", 0, 0, 0, U',', false}, // the separator alone is no number
        {U"12,3", 4, 0, 0, U'4', true},
        {U"12,34", 5, 0, 0, U'5', false}, // a third decimal
        {U"12,34", 5, 0, 0, U'0', true},  // "12,340" still has two
        {U"10", 2, 0, 0, U'0', true},     // 100
        {U"10", 2, 0, 0, U'1', false},    // 101
        {U"100,0", 5, 0, 0, U'1', false}, // 100,01
        {U"", 0, 0, 0, U'-', false},
        {U"5", 0, 0, 0, U'-', false},
        {U"5", 1, 0, 0, U'.', false}, // not the DecimalChar
        {U"5", 1, 0, 0, U'x', false},
        {U"1,5", 3, 0, 0, U',', false},
        {U"12,34", 5, 0, 0, kBackspace, true},
        // Typing over part of the number.
        {U"99,5", 2, 0, 2, U'1', true},  // "1,5"
        {U"12,5", 1, 1, 3, U'0', true},  // "10"
        {U"1,25", 2, 2, 1, U'9', true},  // "1,95"
        {U"1,25", 2, 0, 0, U'9', false}, // "1,925"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decimal_field_accepts(key_of(c), percent, ','), c.accepted) << describe(c);
    }

    EXPECT_TRUE(decimal_field_accepts({U"1.23", 4, 0, 0, U'4'}, {3, 100}, '.'));
    EXPECT_FALSE(decimal_field_accepts({U"1.234", 5, 0, 0, U'5'}, {3, 100}, '.'));
    // A money amount with two decimals near the largest bound: no false refusal from rounding.
    EXPECT_TRUE(decimal_field_accepts({U"99999999,9", 10, 0, 0, U'9'}, {2, 100000000}, ','));
    EXPECT_FALSE(decimal_field_accepts({U"100000000,0", 11, 0, 0, U'1'}, {2, 100000000}, ','));
}

TEST(EntryFilter, DecimalBoundHasATolerance) {
    // A bound that the typed decimals cannot meet exactly is met within 0.000001.
    const DecimalFieldRule rule{2, 99.9999995};
    EXPECT_TRUE(decimal_field_accepts({U"10", 2, 0, 0, U'0'}, rule, ','));
    EXPECT_FALSE(decimal_field_accepts({U"100,0", 5, 0, 0, U'1'}, rule, ','));
    const DecimalFieldRule fine{7, 100};
    EXPECT_TRUE(decimal_field_accepts({U"100,000000", 10, 0, 0, U'5'}, fine, ','));
    EXPECT_FALSE(decimal_field_accepts({U"100,00000", 9, 0, 0, U'2'}, fine, ','));
}

TEST(EntryFilter, GridCellAppendsToTheCellText) {
    const GridColumnRule code{CellClass::Digits, 3};
    const GridColumnRule cost{CellClass::Decimal, 6};
    const GridColumnRule shown{CellClass::ReadOnly, 10};
    EXPECT_TRUE(grid_cell_accepts(U"12", U'3', code, ','));
    EXPECT_FALSE(grid_cell_accepts(U"123", U'4', code, ','));
    EXPECT_FALSE(grid_cell_accepts(U"1", U',', code, ','));
    EXPECT_TRUE(grid_cell_accepts(U"1", U',', cost, ','));
    EXPECT_FALSE(grid_cell_accepts(U"1", U'.', cost, ','));
    EXPECT_FALSE(grid_cell_accepts(U"1", U'-', cost, ','));
    EXPECT_FALSE(grid_cell_accepts(U"", U'1', shown, ','));
    // The length counts characters of whatever the cell holds (a pasted text is not filtered).
    EXPECT_FALSE(grid_cell_accepts(U"äöü", U'1', code, ','));
    for (char32_t passes : {kBackspace, char32_t(3), char32_t(22), char32_t(24)}) {
        for (const auto& rule : {code, shown}) {
            EXPECT_TRUE(grid_cell_accepts(U"123", passes, rule, ',')) << unsigned(passes);
        }
    }
}

TEST(EntryFilter, CodeFieldTakesLatinLettersInUpperCaseAndDigits) {
    EXPECT_EQ(code_field_char(U'a'), U'A');
    EXPECT_EQ(code_field_char(U'z'), U'Z');
    EXPECT_EQ(code_field_char(U'Q'), U'Q');
    EXPECT_EQ(code_field_char(U'0'), U'0');
    EXPECT_EQ(code_field_char(U'9'), U'9');
    for (char32_t refused : {U'я', U'Я', U'é', U'-', U' ', U'_', U'\0'}) {
        EXPECT_EQ(code_field_char(refused), 0u) << unsigned(refused);
    }
}
