#pragma once

// Files written under a name no file has yet: reports and workbooks under the Workspace's
// Reports folder, never replacing a file.

#include <cstdint>
#include <span>
#include <string>

namespace kov {

class NewFile;

// Gives the finished `file` the name folder/base + ext, or base + " (2)" + ext, ..., the first
// that no file has, and returns it. Throws FileError(Write) when none is left.
std::string link_under_new_name(NewFile& file, const std::string& folder, const std::string& base,
                                const std::string& ext);

// Writes `data` whole under a new name in `folder` (created when missing) as link_under_new_name
// names it, and returns the path.
std::string write_new_file(const std::string& folder, const std::string& base,
                           const std::string& ext, std::span<const std::uint8_t> data);

// Writes `data` whole at `path`; an existing file is never replaced: FileError(Write).
void write_file_new(const std::string& path, std::span<const std::uint8_t> data);

} // namespace kov
