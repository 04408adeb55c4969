#include "io/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kov {

namespace fs = std::filesystem;

namespace {

std::string errno_text() {
    return std::strerror(errno);
}

// Writes `data` into a new temporary file beside `path` and returns its name.
std::string write_temporary(const std::string& path, std::span<const std::uint8_t> data) {
    std::string tmpl = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        throw FileError(FileError::Kind::Write, path, errno_text());
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const std::string why = errno_text();
            ::close(fd);
            ::unlink(tmpl.c_str());
            throw FileError(FileError::Kind::Write, path, why);
        }
        done += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string why = errno_text();
        ::unlink(tmpl.c_str());
        throw FileError(FileError::Kind::Write, path, why);
    }
    return tmpl;
}

void rename_into_place(const std::string& tmp, const std::string& path) {
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const std::string why = errno_text();
        ::unlink(tmp.c_str());
        throw FileError(FileError::Kind::Write, path, why);
    }
}

// '?' matches exactly one character (code point), '*' any run; everything else itself.
bool wildcard_match(std::u32string_view pattern, std::u32string_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern[0] == U'*') {
        for (std::size_t i = 0; i <= name.size(); ++i) {
            if (wildcard_match(pattern.substr(1), name.substr(i))) {
                return true;
            }
        }
        return false;
    }
    return !name.empty() && (pattern[0] == U'?' || pattern[0] == name[0]) &&
           wildcard_match(pattern.substr(1), name.substr(1));
}

} // namespace

Bytes read_file(const std::string& path, std::size_t max_size) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        throw FileError(FileError::Kind::Missing, path, "");
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        throw FileError(FileError::Kind::Read, path, errno_text());
    }
    Bytes data;
    std::uint8_t buf[65536];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n == 0) {
            break;
        }
        if (data.size() + n > max_size) {
            std::fclose(f);
            throw format_error(path,
                               "the file is larger than " + std::to_string(max_size) + " bytes");
        }
        data.insert(data.end(), buf, buf + n);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        throw FileError(FileError::Kind::Read, path, "read error");
    }
    return data;
}

void write_file_atomic(const std::string& path, std::span<const std::uint8_t> data) {
    rename_into_place(write_temporary(path, data), path);
}

void write_text_atomic(const std::string& path, const std::string& text) {
    write_file_atomic(path,
                      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void write_files_atomic(const std::vector<FileImage>& files) {
    std::vector<std::string> temps;
    try {
        for (const auto& f : files) {
            temps.push_back(write_temporary(f.path, f.data));
        }
    } catch (...) {
        for (const auto& t : temps) {
            ::unlink(t.c_str());
        }
        throw;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (::rename(temps[i].c_str(), files[i].path.c_str()) != 0) {
            const std::string why = errno_text();
            for (std::size_t k = i; k < files.size(); ++k) {
                ::unlink(temps[k].c_str());
            }
            throw FileError(FileError::Kind::Write, files[i].path, why);
        }
    }
}

void copy_file_atomic(const std::string& from, const std::string& to) {
    write_file_atomic(to, read_file(from));
}

bool file_exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool remove_file(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !ec;
}

void make_dirs(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) {
        throw FileError(FileError::Kind::Write, path, ec.message());
    }
}

std::vector<std::string> find_files(const std::string& dir, const std::string& pattern) {
    std::vector<std::string> names;
    const std::u32string pat = to_u32(pattern);
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (!it->is_regular_file(ec2)) {
            continue;
        }
        const std::string name = it->path().filename().string();
        if (wildcard_match(pat, to_u32(name))) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string workspace_of_executable(const std::string& executable_path) {
    const auto slash = executable_path.find_last_of('/');
    return slash == std::string::npos ? "." : executable_path.substr(0, slash);
}

std::string ws_path(const std::string& workspace, const std::string& relative) {
    if (!relative.empty() && relative.front() == '/') {
        return workspace + relative;
    }
    return workspace + "/" + relative;
}

} // namespace kov
