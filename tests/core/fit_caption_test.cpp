#include "ui/fit_caption.h"

#include <gtest/gtest.h>

using namespace kov;

namespace {

// Every character is 1 pixel wide except 'W', which is 3; the limit of a width w is w - 2.
int narrow_width(std::u32string_view s) {
    int w = 0;
    for (char32_t c : s) {
        w += c == U'W' ? 3 : 1;
    }
    return w;
}

struct Case {
    const char* text;
    int width;
    const char* fitted;
};

} // namespace

TEST(FitCaption, InsertsBreaksWhereLinesReachTheLimit) {
    const Case cases[] = {
        // Fits in width - 2: unchanged.
        {"abc", 5, "abc"},
        {"", 5, ""},
        // A width of 2 or less leaves any text as it is.
        {"a long heading", 2, "a long heading"},
        {"a long heading", 0, "a long heading"},
        {"a long heading", -7, "a long heading"},
        // A long word: every line breaks when it reaches the limit; the last line may reach it.
        {"abcdefgh", 5, "ab- cd- ef- gh"},
        {"abcde", 5, "ab- cde"},
        // A cut next to a space is joined by a single space (the space stays in the text).
        {"ab cdef", 5, "ab  c- def"},
        {"abc def", 5, "ab- c  def"},
        // The last character alone overflows: separator and that character.
        {"abW", 5, "ab- W"},
        {"ab W", 5, "ab   W"},
        // A character as wide as the limit gets no separator in front of it.
        {"abc", 3, "a- b- c"},
        {"Wab", 5, "W- ab"},
    };
    for (const auto& c : cases) {
        const std::u32string text(c.text, c.text + std::char_traits<char>::length(c.text));
        const std::u32string expected(c.fitted,
                                      c.fitted + std::char_traits<char>::length(c.fitted));
        EXPECT_EQ(fit_caption(text, c.width, narrow_width), expected) << c.text << " @ " << c.width;
    }
}

TEST(FitCaption, CountsCharactersOfUtf8Texts) {
    EXPECT_EQ(fit_caption("абвгдеёж", 5, narrow_width), "аб- вг- де- ёж");
    EXPECT_EQ(fit_caption("Сумма кредита", 8, narrow_width), "Сумма  кред- ита");
}
