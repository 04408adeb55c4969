#include "dbor/bdon_list.h"

#include "dbor/bdon.h"
#include "io/files.h"
#include "shell/language_shell.h"
#include "shell/texts.h"

namespace kov {

BdonListRebuild rebuild_bdon_list(const std::string& workspace, const LanguageShell& shell) {
    BdonListRebuild result;
    const std::string& lng = shell.suffix;
    const std::string dir = ws_path(workspace, "Dbor");
    const std::string tail = "_dbor_" + lng + ".dat";
    // A files first, then B files, each group in name order; the code in the name is its first 5
    // (type A) or 8 (type B) characters.
    const struct {
        const char* pattern;
        std::size_t code_chars;
    } groups[] = {{"A_???", 5}, {"B_??????", 8}};
    for (const auto& g : groups) {
        for (const std::string& name : find_files(dir, g.pattern + tail)) {
            const std::string name_code = left_chars(name, g.code_chars);
            DborHeader header;
            try {
                header = read_dbor_header(dir + "/" + name, shell.codepage);
            } catch (const FileError&) {
                result.unreadable.push_back(name);
                continue;
            }
            const std::string stored = dbor_code(header);
            if (stored != name_code) {
                result.warning = shell.text(txt::DatabaseFile) + " \"" + name + "\" " +
                                 shell.text(txt::NameDoesNotMatchCode) + ". " +
                                 shell.text(txt::FileShouldBeNamed) + ": \"" + stored + tail +
                                 "\".";
                return result;
            }
            result.entries.push_back({name_code, left_chars(header.name, 70)});
        }
    }
    return result;
}

} // namespace kov
