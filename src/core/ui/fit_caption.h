#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kov {

// The pixel width of a text in the font of the heading labels.
using TextWidth = std::function<int(std::u32string_view)>;

// The heading text with break opportunities inserted so that every line of a word-wrapping
// label `width` pixels wide stays inside it: a line is cut where it reaches the width minus 2,
// the cut joined by a single space when it falls next to a space and by "- " inside a word.
// The last character only forces a cut when it overflows. A text that fits, or any text for a
// width of 2 pixels or less, comes back unchanged.
std::u32string fit_caption(std::u32string_view text, int width, const TextWidth& measure);
// The same for a UTF-8 text; positions count characters, never bytes.
std::string fit_caption(std::string_view utf8, int width, const TextWidth& measure);

} // namespace kov
