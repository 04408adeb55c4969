#pragma once

#include "io/binary.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kov {

// Reads a whole file. Missing file: FileError::Missing; unreadable or larger than `max_size`
// bytes: FileError::Read / Format.
Bytes read_file(const std::string& path, std::size_t max_size = std::size_t(1) << 30);

// Writes a whole file atomically: a temporary file in the same folder is written, synced and
// renamed over the target, and the folder is synced, so a failure or a crash at any point leaves
// the old file as it was or the new one complete. Throws FileError::Write.
void write_file_atomic(const std::string& path, std::span<const std::uint8_t> data);
void write_text_atomic(const std::string& path, const std::string& text);

// Writes several files so that a failure or a crash at any point leaves either every old file or
// every new one. All temporary files are written and synced first; then an intent record at
// `intent` (their names and targets) is written and synced, the temporaries are renamed into
// place and the record is removed. A failure before the record exists removes the temporaries
// and leaves the old files; one after it keeps the record, which complete_pending_write (a
// reader of the files or the start-up) carries out. Throws FileError::Write.
struct FileImage {
    std::string path;
    Bytes data;
};
void write_files_atomic(const std::vector<FileImage>& files, const std::string& intent);

// Carries out an interrupted write_files_atomic: renames the temporaries that its intent record
// names and that still exist, then removes the record. Nothing when there is no record. Throws
// FileError when the record cannot be read or a rename fails; the record then stays.
void complete_pending_write(const std::string& intent);

// What interrupted writes leave in a folder: completes every intent record ("*.intent"), then
// deletes the atomic writer's temporaries ("*.tmp-??????"). Only for a folder no other writer
// uses at the same time (the Workspace lock is held). Returns the files it could not remove.
std::vector<std::string> recover_interrupted_writes(const std::string& dir);

// Syncs a folder, so that renames and deletions in it survive a power loss. Throws
// FileError::Write.
void sync_folder(const std::string& dir);

// A byte-for-byte copy through the atomic writer.
void copy_file_atomic(const std::string& from, const std::string& to);

// A new file written piece by piece: a temporary file beside `path` ("<path>.tmp-XXXXXX", which
// recover_interrupted_writes removes), synced when finished and then given a name that no file
// has yet (a hard link), so no file is ever replaced and no partial file bears a real name. The
// temporary is removed when the object goes, whatever happened. Every call passes the fault hook.
// Throws FileError::Write naming `path`.
class NewFile {
public:
    explicit NewFile(const std::string& path);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    void write(std::span<const std::uint8_t> data);
    // Syncs and closes the temporary.
    void finish();
    // Gives the finished file the name `target` and syncs its folder; false, changing nothing,
    // when a file has that name. On a failure the name is taken back.
    bool link_as(const std::string& target);
    // Hands the finished temporary over to the caller, who then names or removes it.
    std::string release();

private:
    std::string path_;
    std::string tmp_;
    int fd_ = -1;
};

bool file_exists(const std::string& path);
// Removes a file and syncs its folder; a missing file is not an error. Returns false when it
// exists and cannot be removed, or the removal cannot be made durable.
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
