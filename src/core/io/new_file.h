#pragma once

// Files written under a name no file has yet: reports and workbooks under the Workspace's
// Reports folder, never replacing a file.

#include <cstdint>
#include <span>
#include <string>

namespace kov {

// A name for a temporary file beside `path`, unique within this process.
std::string temporary_name(const std::string& path);

// Gives the written temporary file `tmp` the name `path` unless a file has that name; false then,
// and `tmp` stays. Throws FileError(Write) naming `path` on any other failure (`tmp` removed).
bool place_new_file(const std::string& tmp, const std::string& path);

// Gives the written temporary file `tmp` the name folder/base + ext, or base + " (2)" + ext, ...,
// the first that no file has, and returns it. Throws FileError(Write) when none is left.
std::string place_under_new_name(const std::string& tmp, const std::string& folder,
                                 const std::string& base, const std::string& ext);

// Writes `data` whole under a new name in `folder` (created when missing) as place_under_new_name
// names it, and returns the path.
std::string write_new_file(const std::string& folder, const std::string& base,
                           const std::string& ext, std::span<const std::uint8_t> data);

// Writes `data` whole at `path`; an existing file is never replaced: FileError(Write).
void write_file_new(const std::string& path, std::span<const std::uint8_t> data);

} // namespace kov
