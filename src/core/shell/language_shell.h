#pragma once

#include "io/binary.h"
#include "io/codepage.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// The loaded language shell: every interface text of one language, by number.
struct LanguageShell {
    std::string title;     // the file's title: suffix and language name
    std::string suffix;    // ShellSuffix: the last three characters of the file's name
    std::string file_name; // ShellFileName
    CodePage codepage = CodePage::Cp1252;

    std::vector<std::string> short_texts;
    std::vector<std::string> texts;
    std::vector<std::vector<std::string>> lists;
    // The length of every entry as the file gives it.
    std::vector<int> short_lengths;
    std::vector<int> text_lengths;
    std::vector<std::vector<int>> list_lengths;

    // Lookups return the stored text; a number the shell does not hold gives an empty text.
    const std::string& text(int k) const;
    const std::string& short_text(int k) const;
    const std::string& list_item(int g, int i) const;
    // The text without leading and trailing blanks ("trimmed").
    std::string trimmed(int k) const;
    std::string short_trimmed(int k) const;
};

// Leading and trailing blanks (spaces and control characters) removed.
std::string trim(std::string_view s);

// The fixed file name pattern and name of a shell file.
inline constexpr std::string_view kShellPattern = "Shell (KOV 1.0).???";
std::string shell_file_name(std::string_view suffix);

// The last three characters of a file name.
std::string suffix_of_file_name(std::string_view file_name);
// A shell is Russian (and carries the extra table) when its suffix is exactly "rus", "Rus",
// "рус" or "Рус"; the comparison is case-sensitive.
bool is_russian_suffix(std::string_view suffix);

// Loads a shell file. A file that ends early, has a negative count, an entry longer than its
// slot or a length byte that disagrees with its length is refused with a FileError whose
// message is the fixed English text of `shell_error_text`.
LanguageShell load_shell(const std::string& path);
// The same checks on a file image already in memory; `path` names the file in messages and
// gives the suffix.
LanguageShell decode_shell(std::span<const std::uint8_t> data, const std::string& path);
// Reads only the 25-byte title (for the language selection).
std::string read_shell_title(const std::string& path);
// The fixed English message shown when a shell file cannot be used.
std::string shell_error_text(const std::string& file_name, const std::string& detail);

// Everything a shell file holds, for writing one (the shell compiler, test fixtures).
struct ShellImage {
    std::string title;
    CodePage codepage = CodePage::Cp1252;
    bool russian = false; // the extra table is written before each short text
    std::vector<std::string> short_texts;
    std::vector<std::string> extra; // only with `russian`; missing entries are empty
    std::vector<std::string> texts;
    std::vector<std::vector<std::string>> lists;
};
// The file image; throws std::invalid_argument naming the entry when a text does not fit its
// slot or holds a character the code page cannot store.
Bytes encode_shell(const ShellImage& image);

inline constexpr std::size_t kShortSlot = 15;
inline constexpr std::size_t kExtraSlot = 70;
inline constexpr std::size_t kTextSlot = 255;
inline constexpr std::size_t kTitleSlot = 24;

} // namespace kov
