#pragma once

#include <string>
#include <vector>

namespace kov {

// One database of the Workspace for the loaded language: its DborCode and its name.
struct BdonListEntry {
    std::string code; // A_ccc or B_cccccc
    std::string name;
};

} // namespace kov
