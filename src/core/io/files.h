#pragma once

#include "io/binary.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kov {

// Reads a whole file. Missing file: FileError::Missing; unreadable or larger than `max_size`
// bytes: FileError::Read / Format.
Bytes read_file(const std::string& path, std::size_t max_size = std::size_t(1) << 30);

// Writes a whole file atomically: a temporary file in the same folder is written, flushed and
// renamed over the target, so a failed write leaves the old file as it was. Throws
// FileError::Write.
void write_file_atomic(const std::string& path, std::span<const std::uint8_t> data);
void write_text_atomic(const std::string& path, const std::string& text);

// Writes several files so that a failure leaves every old file as it was: all temporary files
// are written first and renamed only when all of them were written.
struct FileImage {
    std::string path;
    Bytes data;
};
void write_files_atomic(const std::vector<FileImage>& files);

// A byte-for-byte copy through the atomic writer.
void copy_file_atomic(const std::string& from, const std::string& to);

bool file_exists(const std::string& path);
// Removes a file; a missing file is not an error. Returns false when it exists and cannot be
// removed.
bool remove_file(const std::string& path);
void make_dirs(const std::string& path);

// Names (not paths) of the regular files in `dir` that match `pattern`, where '?' stands for
// exactly one character and '*' for any run; sorted by name. A missing folder gives none.
std::vector<std::string> find_files(const std::string& dir, const std::string& pattern);

// The Workspace is the folder of the executable.
std::string workspace_of_executable(const std::string& executable_path);
// Workspace path + "/" + a relative name written with "/".
std::string ws_path(const std::string& workspace, const std::string& relative);

} // namespace kov
