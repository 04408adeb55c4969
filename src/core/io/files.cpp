#include "io/files.h"

#include "io/fault.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kov {

namespace fs = std::filesystem;

// ---- The fault hook -----------------------------------------------------------------------------

namespace fault {

namespace {

struct HookState {
    bool armed = false;
    bool crashed = false;
    bool halve = false;           // the write being made stores half its bytes
    bool next_write_full = false; // after a short write the disk is full
    Plan plan;
    int counts[kCallKinds] = {};
};
HookState hook;

} // namespace

void arm(const Plan& plan) {
    hook = HookState{};
    hook.armed = true;
    hook.plan = plan;
}

void disarm() {
    // The counts stay readable after the armed scope.
    hook.armed = false;
    hook.crashed = false;
    hook.halve = false;
    hook.next_write_full = false;
}

int calls(Call call) {
    return hook.counts[int(call)];
}

bool crashed() {
    return hook.crashed;
}

} // namespace fault

namespace {

using fault::Call;
using fault::Effect;

// Makes one call of the file layer through the fault hook. `real` returns a negative value and
// sets errno on failure, as the system calls do.
template <class Real> auto hooked(Call call, Real real) -> decltype(real()) {
    using fault::hook;
    if (!hook.armed) {
        return real();
    }
    if (hook.crashed) {
        throw fault::SimulatedCrash{};
    }
    ++hook.counts[int(call)];
    if (call == Call::Write && hook.next_write_full) {
        hook.next_write_full = false;
        errno = ENOSPC;
        return -1;
    }
    if (hook.plan.call != call || hook.plan.nth != hook.counts[int(call)]) {
        return real();
    }
    switch (hook.plan.effect) {
    case Effect::Fail:
        errno = hook.plan.error;
        return -1;
    case Effect::ShortWrite: {
        hook.halve = call == Call::Write;
        const auto result = real();
        hook.halve = false;
        hook.next_write_full = call == Call::Write;
        return result;
    }
    case Effect::CrashBefore:
        hook.crashed = true;
        throw fault::SimulatedCrash{};
    case Effect::CrashAfter: {
        real();
        hook.crashed = true;
        throw fault::SimulatedCrash{};
    }
    }
    return real();
}

std::string errno_text() {
    return std::strerror(errno);
}

std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int sys_unlink(const std::string& path) {
    return hooked(Call::Unlink, [&] { return ::unlink(path.c_str()); });
}

int sys_rename(const std::string& from, const std::string& to) {
    return hooked(Call::Rename, [&] { return ::rename(from.c_str(), to.c_str()); });
}

int sys_close(int fd) {
    return hooked(Call::Close, [&] { return ::close(fd); });
}

// Writes all of `data`; false (errno set) on failure.
bool write_all(int fd, std::span<const std::uint8_t> data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t left = data.size() - done;
        const ssize_t n = hooked(Call::Write, [&] {
            return ::write(fd, data.data() + done,
                           fault::hook.halve ? std::max<std::size_t>(left / 2, 1) : left);
        });
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes `data` into a new temporary file beside `path`, synced and closed, and returns its name.
// On failure the temporary is removed and its descriptor closed.
std::string write_temporary(const std::string& path, std::span<const std::uint8_t> data) {
    NewFile file(path);
    file.write(data);
    file.finish();
    return file.release();
}

void rename_into_place(const std::string& tmp, const std::string& path) {
    if (sys_rename(tmp, path) != 0) {
        const std::string why = errno_text();
        sys_unlink(tmp);
        throw FileError(FileError::Kind::Write, path, why);
    }
    sync_folder(folder_of(path));
}

// Intent records: one line per file, the temporary's name and the target's, separated by a tab;
// a name without '/' lies in the record's own folder.
std::string intent_name(const std::string& path, const std::string& dir) {
    return folder_of(path) == dir ? name_of(path) : path;
}

std::string intent_path(const std::string& name, const std::string& dir) {
    return name.find('/') == std::string::npos ? dir + "/" + name : name;
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

NewFile::NewFile(const std::string& path)
    : path_(path)
    , tmp_(path + ".tmp-XXXXXX") {
    fd_ = hooked(Call::Create, [&] { return ::mkstemp(tmp_.data()); });
    if (fd_ < 0) {
        tmp_.clear();
        throw FileError(FileError::Kind::Write, path_, errno_text());
    }
}

NewFile::~NewFile() {
    try {
        if (fd_ >= 0) {
            sys_close(fd_);
        }
        if (!tmp_.empty()) {
            sys_unlink(tmp_);
        }
    } catch (const fault::SimulatedCrash&) {
        // A dead process removes nothing.
    }
}

void NewFile::write(std::span<const std::uint8_t> data) {
    if (!write_all(fd_, data)) {
        throw FileError(FileError::Kind::Write, path_, errno_text());
    }
}

void NewFile::finish() {
    const bool ok =
        ::fchmod(fd_, 0644) == 0 && hooked(Call::Fsync, [&] { return ::fsync(fd_); }) == 0;
    const std::string why = ok ? std::string() : errno_text();
    // The descriptor is closed whatever happened before.
    const int fd = fd_;
    fd_ = -1;
    const bool closed = sys_close(fd) == 0;
    if (!ok || !closed) {
        throw FileError(FileError::Kind::Write, path_, ok ? errno_text() : why);
    }
}

bool NewFile::link_as(const std::string& target) {
    if (hooked(Call::Link, [&] { return ::link(tmp_.c_str(), target.c_str()); }) != 0) {
        if (errno == EEXIST) {
            return false;
        }
        throw FileError(FileError::Kind::Write, target, errno_text());
    }
    try {
        sync_folder(folder_of(target));
    } catch (const FileError& e) {
        // Whether the name lasts is not known: it is taken back, so a failure leaves no new file.
        sys_unlink(target);
        throw FileError(FileError::Kind::Write, target, e.detail());
    }
    return true;
}

std::string NewFile::release() {
    return std::exchange(tmp_, std::string());
}

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

void write_files_atomic(const std::vector<FileImage>& files, const std::string& intent) {
    std::vector<std::string> temps;
    const auto drop_temps = [&] {
        for (const auto& t : temps) {
            sys_unlink(t);
        }
    };
    const std::string dir = folder_of(intent);
    std::string record;
    try {
        for (const auto& f : files) {
            temps.push_back(write_temporary(f.path, f.data));
            record += intent_name(temps.back(), dir) + '\t' + intent_name(f.path, dir) + '\n';
        }
        write_text_atomic(intent, record);
    } catch (const FileError&) {
        drop_temps();
        throw;
    }
    // Once a file is renamed the new files win: a failure leaves the record for the next reader
    // or start. A failure of the first rename still leaves every old file, so the write is
    // undone, the record first: without it no one renames a temporary left behind.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (sys_rename(temps[i], files[i].path) != 0) {
            const std::string why = errno_text();
            if (i == 0 && sys_unlink(intent) == 0) {
                drop_temps();
            }
            throw FileError(FileError::Kind::Write, files[i].path, why);
        }
    }
    sync_folder(dir);
    for (const auto& f : files) {
        if (folder_of(f.path) != dir) {
            sync_folder(folder_of(f.path));
        }
    }
    if (sys_unlink(intent) == 0) {
        sync_folder(dir);
    }
}

void complete_pending_write(const std::string& intent) {
    if (!file_exists(intent)) {
        return;
    }
    const Bytes record = read_file(intent, 1 << 16);
    const std::string dir = folder_of(intent);
    std::string text(record.begin(), record.end());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::size_t tab = text.find('\t', pos);
        if (end == std::string::npos || tab == std::string::npos || tab > end) {
            throw format_error(intent, "an intent record line without a temporary and a target");
        }
        const std::string tmp = intent_path(text.substr(pos, tab - pos), dir);
        const std::string target = intent_path(text.substr(tab + 1, end - tab - 1), dir);
        pos = end + 1;
        if (file_exists(tmp)) {
            if (sys_rename(tmp, target) != 0) {
                throw FileError(FileError::Kind::Write, target, errno_text());
            }
            sync_folder(folder_of(target));
        }
    }
    if (sys_unlink(intent) != 0) {
        throw FileError(FileError::Kind::Write, intent, errno_text());
    }
    sync_folder(dir);
}

std::vector<std::string> recover_interrupted_writes(const std::string& dir) {
    std::vector<std::string> stuck;
    for (const std::string& name : find_files(dir, "*.intent")) {
        try {
            complete_pending_write(dir + "/" + name);
        } catch (const FileError&) {
            stuck.push_back(dir + "/" + name);
        }
    }
    for (const std::string& name : find_files(dir, "*.tmp-??????")) {
        if (!remove_file(dir + "/" + name)) {
            stuck.push_back(dir + "/" + name);
        }
    }
    return stuck;
}

void sync_folder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(FileError::Kind::Write, dir, errno_text());
    }
    const bool synced = hooked(Call::Fsync, [&] { return ::fsync(fd); }) == 0;
    const std::string why = synced ? std::string() : errno_text();
    ::close(fd);
    if (!synced) {
        throw FileError(FileError::Kind::Write, dir, "the folder cannot be synced: " + why);
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
    if (sys_unlink(path) != 0) {
        return errno == ENOENT;
    }
    try {
        sync_folder(folder_of(path));
    } catch (const FileError&) {
        return false;
    }
    return true;
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
