#pragma once

// The list of databases: the BDON files of the Workspace that belong to the loaded
// language shell, rebuilt every time the database menu opens.

#include <string>
#include <vector>

namespace kov {

struct LanguageShell;

// One database of the Workspace for the loaded language: its DborCode and its name.
struct BdonListEntry {
    std::string code; // A_ccc or B_cccccc
    std::string name;

    bool operator==(const BdonListEntry&) const = default;
};

struct BdonListRebuild {
    std::vector<BdonListEntry> entries;
    // Empty, or the warning the window shows: shell text 144, the file name in quotes, 473,
    // ". ", 334, ": ", the name the file should have in quotes, ".".
    std::string warning;
    // Files matching the search whose header cannot be read at all (shorter than 164 bytes, a
    // string longer than its capacity, or unreadable): they are left out of the list and the
    // rebuild goes on (such a file cannot be opened by read_bdon either).
    std::vector<std::string> unreadable;
};

// Rebuild: searches Workspace/Dbor for "A_???_dbor_<lng>.dat" and then
// "B_??????_dbor_<lng>.dat" (lng = shell.suffix), in name order within each group; reads each
// file's 164-byte header and compares the stored code (type letter + "_" + code) with the code in
// the name. The first mismatch stops the rebuild: the entries made before it are kept and the
// warning is composed from the shell's texts. Never throws for a file's content.
BdonListRebuild rebuild_bdon_list(const std::string& workspace, const LanguageShell& shell);

} // namespace kov
