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

} // namespace kov
