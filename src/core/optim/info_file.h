#pragma once

#include "shell/language_shell.h"

#include <array>
#include <string>

namespace kov {

inline constexpr const char* kInfoFile = "System/Info";

// The three information texts every solution file carries: lines 2, 4 and 6 of the optimisation
// module's information file, each trimmed (missing lines give empty texts). Without the file the
// first text names it as missing and the other two say so.
std::array<std::string, 3> read_info_file(const std::string& workspace, const LanguageShell& shell);
// The three texts of the file's contents, in the code page `cp`.
std::array<std::string, 3> info_texts(std::string_view contents, CodePage cp);

} // namespace kov
