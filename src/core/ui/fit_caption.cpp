#include "ui/fit_caption.h"

#include "io/codepage.h"

namespace kov {

namespace {

// The join of a cut between characters `before` and `at` (`before` is 0 at the start).
std::u32string_view cut_separator(char32_t before, char32_t at) {
    return before == U' ' || at == U' ' ? std::u32string_view(U" ") : std::u32string_view(U"- ");
}

} // namespace

std::u32string fit_caption(std::u32string_view text, int width, const TextWidth& measure) {
    const int limit = width - 2;
    if (limit <= 0 || measure(text) <= limit) {
        return std::u32string(text);
    }
    std::u32string result;
    std::u32string line;
    std::u32string previous;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = text[i];
        const char32_t before = i > 0 ? text[i - 1] : 0;
        previous = line;
        line += c;
        const int w = measure(line);
        // A single character wider than the limit has nothing before it to break off; cutting
        // there would only put a separator in front of it.
        const bool cut_possible = !previous.empty();
        if (i + 1 < n) {
            if (w >= limit && cut_possible) {
                result += previous;
                result += cut_separator(before, c);
                line.assign(1, c);
            }
        } else if (w <= limit || !cut_possible) {
            result += line;
        } else {
            result += previous;
            result += cut_separator(before, c);
            result += c;
        }
    }
    return result;
}

std::string fit_caption(std::string_view utf8, int width, const TextWidth& measure) {
    return to_utf8(fit_caption(to_u32(utf8), width, measure));
}

} // namespace kov
