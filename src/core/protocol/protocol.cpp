#include "protocol/protocol.h"

#include "io/files.h"
#include "io/numbers.h"
#include "task/task_code.h"
#include "task/task_files.h"

#include <cstring>
#include <filesystem>

namespace kov {

namespace {

constexpr std::uint8_t kSignature[8] = {7, 'A', 'W', 'P', '_', 'K', 'O', 'V'};
constexpr std::int32_t kVersion = 1;
constexpr std::size_t kMaxProtocolSize = std::size_t(256) << 20;

double read_date(ByteReader& in, const std::string& code) {
    const double d = in.f64("a date");
    if (!is_day_count(d)) {
        in.fail("a date of \"" + code + "\" is no date of the years 1 to 9999");
    }
    return d;
}

} // namespace

std::string stored_task_name(std::string_view name, CodePage cp) {
    std::string bytes = encode(name, cp);
    bytes.resize(std::min(bytes.size(), kProtocolNameCapacity));
    return bytes;
}

std::optional<CodePage> task_codepage(const std::string& workspace, const std::string& code) {
    if (!is_task_code(code)) {
        return std::nullopt;
    }
    return read_task_input_codepage(task_file_path(workspace, "Data", code, "_in"));
}

std::string task_name_text(const ProtocolEntry& entry, const std::string& workspace,
                           CodePage fallback) {
    return decode(entry.stored_name, task_codepage(workspace, entry.code).value_or(fallback));
}

Bytes encode_protocol(const std::vector<ProtocolEntry>& entries) {
    ByteWriter out;
    out.pstring("AWP_KOV", 23);
    out.i32(kVersion);
    out.i32(std::int32_t(entries.size()));
    for (const auto& e : entries) {
        out.pstring(e.code, 6);
        const std::size_t n = std::min(e.stored_name.size(), kProtocolNameCapacity);
        out.u8(std::uint8_t(n));
        out.bytes(std::span(reinterpret_cast<const std::uint8_t*>(e.stored_name.data()), n));
        out.zeros(kProtocolNameCapacity - n);
        out.i32(static_cast<std::int32_t>(e.state));
        out.f64(e.entered);
        out.f64(e.changed);
        out.f64(e.queued);
        out.f64(e.solved);
    }
    return out.take();
}

DecodedProtocol decode_protocol(std::span<const std::uint8_t> data, const std::string& file) {
    DecodedProtocol result;
    if (data.size() < sizeof kSignature ||
        std::memcmp(data.data(), kSignature, sizeof kSignature) != 0) {
        result.check = ProtocolCheck::NotRecognised;
        result.problem = "no protocol signature";
        return result;
    }
    if (data.size() < kProtocolHeaderSize + 4) {
        result.check = ProtocolCheck::Damaged;
        result.problem = "the file ends within its header";
        return result;
    }
    ByteReader in(data, file);
    in.skip(24, "the signature");
    if (in.i32("the version") != kVersion) {
        result.check = ProtocolCheck::NotRecognised;
        result.problem = "an unknown version";
        return result;
    }
    try {
        const std::int32_t n = in.i32("the count of tasks");
        if (n < 0 || std::size_t(n) > in.remaining() / kProtocolEntrySize) {
            in.fail("the count of tasks " + std::to_string(n) + " does not match the " +
                    std::to_string(in.remaining() / kProtocolEntrySize) + " records present");
        }
        result.entries.resize(std::size_t(n));
        for (auto& e : result.entries) {
            e.code = in.pstring(6, "a TaskCode");
            if (!is_task_code(e.code)) {
                in.fail("the TaskCode \"" + e.code +
                        "\" is not six upper-case Latin letters or digits");
            }
            const std::size_t length = in.u8("a task name");
            if (length > kProtocolNameCapacity) {
                in.fail("the name of \"" + e.code + "\" is longer than " +
                        std::to_string(kProtocolNameCapacity) + " characters");
            }
            const auto name = in.bytes(kProtocolNameCapacity, "a task name");
            e.stored_name.assign(name.begin(), name.begin() + std::ptrdiff_t(length));
            const std::int32_t state = in.i32("a task state");
            if (state < 0 || state > 2) {
                in.fail("the task state " + std::to_string(state) + " of \"" + e.code + "\"");
            }
            e.state = static_cast<TaskState>(state);
            e.entered = read_date(in, e.code);
            e.changed = read_date(in, e.code);
            e.queued = read_date(in, e.code);
            e.solved = read_date(in, e.code);
        }
    } catch (const FileError& e) {
        result.check = ProtocolCheck::Damaged;
        result.entries.clear();
        result.problem = e.detail();
    }
    return result;
}

namespace {

// Keeps a copy of a damaged protocol `image` beside `path`: an identical protocol.ptl.bad* is
// the copy already; else the image is written to the first free of protocol.ptl.bad,
// protocol.ptl.bad2, ... Returns the copy's path. Throws FileError::Write.
std::string keep_damaged_copy(const std::string& path, const Bytes& image) {
    const auto slash = path.find_last_of('/');
    const std::string dir = path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    for (const std::string& copy : find_files(dir, name + ".bad*")) {
        try {
            if (read_file(dir + "/" + copy, kMaxProtocolSize) == image) {
                return dir + "/" + copy;
            }
        } catch (const FileError&) {
            // Not a usable copy; look on.
        }
    }
    for (int n = 1;; ++n) {
        const std::string copy = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        std::error_code ec;
        if (!std::filesystem::exists(copy, ec) && !ec) {
            write_file_atomic(copy, image);
            return copy;
        }
    }
}

// What the file at `path` holds now. A file that cannot be read is never overwritten: no copy of
// it could be kept.
struct OnDisk {
    Bytes image;
    DecodedProtocol decoded;
};

OnDisk read_on_disk(const std::string& path) {
    OnDisk disk;
    try {
        disk.image = read_file(path, kMaxProtocolSize);
    } catch (const FileError& e) {
        throw FileError(FileError::Kind::Write, path,
                        "the protocol cannot be read, so no copy of it can be kept: " + e.detail());
    }
    disk.decoded = decode_protocol(disk.image, path);
    return disk;
}

std::string relative_to(const std::string& workspace, const std::string& path) {
    return path.rfind(workspace + "/", 0) == 0 ? path.substr(workspace.size() + 1) : path;
}

} // namespace

ProtocolLoadResult load_protocol(const std::string& workspace) {
    const std::string path = ws_path(workspace, kProtocolFile);
    ProtocolLoadResult result;
    auto write_empty = [&](ProtocolLoad ok, ProtocolLoad failed) {
        try {
            write_file_atomic(path, encode_protocol({}));
            result.outcome = ok;
        } catch (const FileError& e) {
            result.outcome = failed;
            result.problem = e.detail();
        }
    };
    if (!file_exists(path)) {
        write_empty(ProtocolLoad::Created, ProtocolLoad::NotCreatable);
        return result;
    }
    Bytes image;
    DecodedProtocol decoded;
    try {
        image = read_file(path, kMaxProtocolSize);
        decoded = decode_protocol(image, path);
    } catch (const FileError& e) {
        // Unreadable: nothing can be copied, so the file is left alone.
        result.outcome = ProtocolLoad::DamagedNotKept;
        result.problem = e.detail();
        return result;
    }
    result.problem = decoded.problem;
    switch (decoded.check) {
    case ProtocolCheck::Recognised:
        result.entries = std::move(decoded.entries);
        result.outcome = ProtocolLoad::Loaded;
        break;
    case ProtocolCheck::NotRecognised:
        write_empty(ProtocolLoad::Replaced, ProtocolLoad::ReplaceFailed);
        break;
    case ProtocolCheck::Damaged:
        try {
            result.kept_as = relative_to(workspace, keep_damaged_copy(path, image));
        } catch (const FileError& e) {
            // Without a kept copy the damaged file must not be replaced.
            result.outcome = ProtocolLoad::DamagedNotKept;
            result.kept_as = relative_to(workspace, e.file());
            return result;
        }
        result.outcome = ProtocolLoad::DamagedKept;
        try {
            write_file_atomic(path, encode_protocol({}));
        } catch (const FileError&) {
            // The copy exists, so a later write may replace the file.
            result.written = false;
        }
        break;
    }
    return result;
}

void write_protocol(const std::string& workspace, const std::vector<ProtocolEntry>& entries) {
    const std::string path = ws_path(workspace, kProtocolFile);
    if (file_exists(path)) {
        const OnDisk disk = read_on_disk(path);
        if (disk.decoded.check == ProtocolCheck::Damaged) {
            try {
                keep_damaged_copy(path, disk.image);
            } catch (const FileError& e) {
                throw FileError(FileError::Kind::Write, path,
                                "the protocol is damaged and no copy of it can be kept (" +
                                    e.detail() + ")");
            }
        }
    }
    write_file_atomic(path, encode_protocol(entries));
}

} // namespace kov
