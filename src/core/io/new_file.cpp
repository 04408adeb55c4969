#include "io/new_file.h"

#include "io/error.h"
#include "io/files.h"

namespace kov {

namespace {

FileError write_error(const std::string& path, const std::string& why) {
    return FileError(FileError::Kind::Write, path, why);
}

} // namespace

std::string link_under_new_name(NewFile& file, const std::string& folder, const std::string& base,
                                const std::string& ext) {
    for (int k = 1; k <= 10000; ++k) {
        const std::string path =
            folder + "/" + base + (k == 1 ? std::string() : " (" + std::to_string(k) + ")") + ext;
        if (file.link_as(path)) {
            return path;
        }
    }
    throw write_error(folder + "/" + base + ext, "no free name is left");
}

std::string write_new_file(const std::string& folder, const std::string& base,
                           const std::string& ext, std::span<const std::uint8_t> data) {
    make_dirs(folder);
    NewFile file(folder + "/" + base + ext);
    file.write(data);
    file.finish();
    return link_under_new_name(file, folder, base, ext);
}

void write_file_new(const std::string& path, std::span<const std::uint8_t> data) {
    if (file_exists(path)) {
        throw write_error(path, "a file of that name exists");
    }
    NewFile file(path);
    file.write(data);
    file.finish();
    if (!file.link_as(path)) {
        throw write_error(path, "a file of that name exists");
    }
}

} // namespace kov
