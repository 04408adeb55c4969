#include "dbor/file_head.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kov {

Bytes read_file_head(const std::string& path, std::size_t n) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        throw FileError(FileError::Kind::Missing, path, "");
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        throw FileError(FileError::Kind::Read, path, std::strerror(errno));
    }
    Bytes data(n);
    const std::size_t got = std::fread(data.data(), 1, n, f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        throw FileError(FileError::Kind::Read, path, "read error");
    }
    data.resize(got);
    return data;
}

} // namespace kov
