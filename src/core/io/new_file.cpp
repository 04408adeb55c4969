#include "io/new_file.h"

#include "io/error.h"
#include "io/files.h"

#include <atomic>
#include <filesystem>

#include <unistd.h>

namespace kov {

namespace {

FileError write_error(const std::string& path, const std::string& why) {
    return FileError(FileError::Kind::Write, path, why);
}

} // namespace

std::string temporary_name(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path p(path);
    return (p.parent_path() / ("." + p.filename().string() + ".tmp" + std::to_string(getpid()) +
                               "_" + std::to_string(counter++)))
        .string();
}

bool place_new_file(const std::string& tmp, const std::string& path) {
    try {
        if (!link_new_name(tmp, path)) {
            return false;
        }
    } catch (const FileError&) {
        remove_file(tmp);
        throw;
    }
    // The file is in place; a temporary name that cannot be removed only leaves a second name.
    remove_file(tmp);
    return true;
}

std::string place_under_new_name(const std::string& tmp, const std::string& folder,
                                 const std::string& base, const std::string& ext) {
    for (int k = 1;; ++k) {
        const std::string path =
            folder + "/" + base + (k == 1 ? std::string() : " (" + std::to_string(k) + ")") + ext;
        if (place_new_file(tmp, path)) {
            return path;
        }
        if (k == 10000) {
            remove_file(tmp);
            throw write_error(folder + "/" + base + ext, "no free name is left");
        }
    }
}

std::string write_new_file(const std::string& folder, const std::string& base,
                           const std::string& ext, std::span<const std::uint8_t> data) {
    make_dirs(folder);
    return place_under_new_name(write_temporary_file(folder + "/" + base + ext, data), folder, base,
                                ext);
}

void write_file_new(const std::string& path, std::span<const std::uint8_t> data) {
    if (file_exists(path)) {
        throw write_error(path, "a file of that name exists");
    }
    const std::string tmp = write_temporary_file(path, data);
    if (!place_new_file(tmp, path)) {
        remove_file(tmp);
        throw write_error(path, "a file of that name exists");
    }
}

} // namespace kov
