#pragma once

// What the commands of kov-batch share: the language shell and the regional settings of a
// Workspace, taken as the program takes them.

#include "regional_settings.h"
#include "shell/language_shell.h"

#include <optional>
#include <string>

// A command that cannot be run: the text says why.
struct Unusable {
    std::string text;
};

// The shell the program would run with: the only one in the Workspace's Shells, else the one
// `lang` names, else eng. A `lang` the Workspace has no shell for, no shell at all, or a shell
// that cannot be loaded is Unusable.
kov::LanguageShell workspace_shell(const std::string& workspace,
                                   const std::optional<std::string>& lang);

// The decimal separator and the date and time formats of the user's locale, as the main window
// reads them: without a locale setting the shell's warning 320 is printed and ',' taken.
RegionalSettings batch_regional_settings(const kov::LanguageShell& shell);
