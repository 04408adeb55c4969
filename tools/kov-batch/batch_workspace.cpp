#include "batch_workspace.h"

#include "io/files.h"
#include "shell/texts.h"

#include <algorithm>
#include <iostream>

using namespace kov;

LanguageShell workspace_shell(const std::string& workspace,
                              const std::optional<std::string>& lang) {
    const std::string dir = ws_path(workspace, "Shells");
    const std::vector<std::string> shells = find_files(dir, std::string(kShellPattern));
    if (shells.empty()) {
        throw Unusable{"no language shell in \"" + dir + "\""};
    }
    std::string name;
    if (shells.size() == 1 && !lang) {
        name = shells.front();
    } else {
        name = shell_file_name(lang.value_or("eng"));
        if (std::find(shells.begin(), shells.end(), name) == shells.end()) {
            throw Unusable{"no language shell \"" + name + "\" in \"" + dir + "\"" +
                           (lang ? "" : ": choose one with --lang")};
        }
    }
    try {
        return load_shell(dir + "/" + name);
    } catch (const FileError& e) {
        throw Unusable{e.what()};
    }
}

RegionalSettings batch_regional_settings(const LanguageShell& shell) {
    const UserRegionalSettings user = userRegionalSettings();
    if (!user.fromLocale) {
        std::cerr << shell.text(txt::NoRegionalSettings) << "...\n";
    }
    return user.settings;
}
