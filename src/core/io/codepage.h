#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kov {

// The ANSI code page in which files store the texts of a shell's language. In memory every
// text is UTF-8; conversion happens only in file readers and writers.
enum class CodePage { Cp1251, Cp1252 };

// Cyrillic languages (rus, ukr, bel, bul, ... or a suffix written in Cyrillic) use CP1251,
// every other language CP1252.
CodePage codepage_for_suffix(std::string_view suffix);

// Bytes in the code page to UTF-8; every byte value has a character.
std::string decode(std::string_view bytes, CodePage cp);

// UTF-8 to bytes in the code page. Characters the code page cannot store become '?';
// `lossless` (when given) tells whether every character could be stored.
std::string encode(std::string_view utf8, CodePage cp, bool* lossless = nullptr);

// Whether every character of the UTF-8 text can be stored in the code page.
bool representable(std::string_view utf8, CodePage cp);

// UTF-8 helpers that count characters (code points), never bytes. Invalid UTF-8 sequences count
// as one character per byte.
std::u32string to_u32(std::string_view utf8);
std::string to_utf8(std::u32string_view text);
std::size_t char_count(std::string_view utf8);
// The first `count` characters of the text.
std::string left_chars(std::string_view utf8, std::size_t count);

} // namespace kov
