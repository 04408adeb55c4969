#include "protocol/protocol.h"

#include "io/files.h"
#include "task/task_code.h"

#include <cstring>

namespace kov {

namespace {

constexpr std::uint8_t kSignature[8] = {7, 'A', 'W', 'P', '_', 'K', 'O', 'V'};
constexpr std::int32_t kVersion = 1;

} // namespace

Bytes encode_protocol(const std::vector<ProtocolEntry>& entries, CodePage cp) {
    ByteWriter out(cp);
    out.pstring("AWP_KOV", 23);
    out.i32(kVersion);
    out.i32(std::int32_t(entries.size()));
    for (const auto& e : entries) {
        out.pstring(e.code, 6);
        out.pstring(e.name, 100);
        out.i32(static_cast<std::int32_t>(e.state));
        out.f64(e.entered);
        out.f64(e.changed);
        out.f64(e.queued);
        out.f64(e.solved);
    }
    return out.take();
}

DecodedProtocol decode_protocol(std::span<const std::uint8_t> data, const std::string& file,
                                CodePage cp) {
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
    ByteReader in(data, file, cp);
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
            e.name = in.pstring(100, "a task name");
            const std::int32_t state = in.i32("a task state");
            if (state < 0 || state > 2) {
                in.fail("the task state " + std::to_string(state) + " of \"" + e.code + "\"");
            }
            e.state = static_cast<TaskState>(state);
            e.entered = in.f64("a date");
            e.changed = in.f64("a date");
            e.queued = in.f64("a date");
            e.solved = in.f64("a date");
        }
    } catch (const FileError& e) {
        result.check = ProtocolCheck::Damaged;
        result.entries.clear();
        result.problem = e.detail();
    }
    return result;
}

ProtocolLoadResult load_protocol(const std::string& workspace, CodePage cp) {
    const std::string path = ws_path(workspace, kProtocolFile);
    ProtocolLoadResult result;
    auto write_empty = [&](ProtocolLoad ok, ProtocolLoad failed) {
        try {
            write_protocol(workspace, {}, cp);
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
    DecodedProtocol decoded;
    try {
        decoded = decode_protocol(read_file(path, std::size_t(256) << 20), path, cp);
    } catch (const FileError& e) {
        decoded.check = ProtocolCheck::Damaged;
        decoded.problem = e.detail();
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
            copy_file_atomic(path, path + ".bad");
        } catch (const FileError& e) {
            // Without a kept copy the damaged file must not be replaced.
            result.outcome = ProtocolLoad::ReplaceFailed;
            result.problem = e.detail();
            return result;
        }
        write_empty(ProtocolLoad::DamagedKept, ProtocolLoad::ReplaceFailed);
        break;
    }
    return result;
}

void write_protocol(const std::string& workspace, const std::vector<ProtocolEntry>& entries,
                    CodePage cp) {
    write_file_atomic(ws_path(workspace, kProtocolFile), encode_protocol(entries, cp));
}

} // namespace kov
