#pragma once

#include "io/binary.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

enum class TaskState : std::int32_t { Entered = 0, Queued = 1, Solved = 2 };

// One task of the register (144 bytes in the file).
struct ProtocolEntry {
    std::string code; // TaskCode
    // The task name's bytes as the file holds them, in the code page of the task's language: one
    // protocol holds names written under shells of several code pages, so a name is kept as read
    // and written back unchanged, and decoded only to be shown (task_name_text).
    std::string stored_name;
    TaskState state = TaskState::Entered;
    double entered = 0; // task entered
    double changed = 0; // input data last entered or corrected
    double queued = 0;  // input data queued for solving
    double solved = 0;  // solution taken back

    bool operator==(const ProtocolEntry&) const = default;
};

inline constexpr std::size_t kProtocolHeaderSize = 28;
inline constexpr std::size_t kProtocolEntrySize = 144;
inline constexpr std::size_t kProtocolNameCapacity = 100;
inline constexpr const char* kProtocolFile = "System/protocol.ptl";

// A task name (UTF-8) as an entry stores it: in the code page of the shell it was entered under,
// cut to the capacity.
std::string stored_task_name(std::string_view name, CodePage cp);
// The code page of a task's language: that of the shell named at the end of its input file
// Data/kov_<TaskCode>_in.dat; nothing when that file is missing, unreadable or names no shell.
std::optional<CodePage> task_codepage(const std::string& workspace, const std::string& code);
// An entry's name as text, decoded with the code page of its task's language, else `fallback`
// (the loaded shell's).
std::string task_name_text(const ProtocolEntry& entry, const std::string& workspace,
                           CodePage fallback);

// The whole file image of the list.
Bytes encode_protocol(const std::vector<ProtocolEntry>& entries);

enum class ProtocolCheck {
    Recognised,    // signature and version match, and the records are sound
    NotRecognised, // other signature or version
    Damaged,       // recognised header, but the count or a record is not sound
};

struct DecodedProtocol {
    ProtocolCheck check = ProtocolCheck::Recognised;
    std::vector<ProtocolEntry> entries;
    std::string problem; // what is wrong when not Recognised
};

// Recognition looks at the first 8 bytes of the header and the version; bytes 8 to 23 are
// ignored. A recognised file whose count is negative or larger than its records, or that holds
// a TaskCode off the pattern, an unknown state, a name longer than its capacity or a date that is
// not finite or lies outside the years 1 to 9999, is Damaged.
DecodedProtocol decode_protocol(std::span<const std::uint8_t> data, const std::string& file);

// Loading the protocol file of a Workspace.
enum class ProtocolLoad {
    Loaded,         // read as it was
    Created,        // missing: an empty protocol was created
    NotCreatable,   // missing, and it could not be created: the list is empty
    Replaced,       // not recognised: replaced by an empty protocol
    DamagedKept,    // damaged: a copy was kept (`kept_as`), the file replaced by an empty protocol
    DamagedNotKept, // damaged, and no copy could be kept: the file stays, and every write of the
                    // protocol is refused while no copy of it exists
    ReplaceFailed,  // not recognised, and the empty protocol could not be written
};

struct ProtocolLoadResult {
    ProtocolLoad outcome = ProtocolLoad::Loaded;
    std::vector<ProtocolEntry> entries;
    std::string problem; // what is wrong with the file, when it is not Loaded
    std::string kept_as; // DamagedKept: the copy, relative to the Workspace
    bool written = true; // DamagedKept: false when the empty protocol could not be written
};

ProtocolLoadResult load_protocol(const std::string& workspace);

// Rewrites the protocol file from the list, atomically. A damaged protocol (one loading would
// call Damaged) is overwritten only once a copy of it exists: an identical protocol.ptl.bad*, or
// one made now under the first free name of protocol.ptl.bad, protocol.ptl.bad2, ...; while no
// copy can be made the write is refused. Throws FileError::Write naming the file.
void write_protocol(const std::string& workspace, const std::vector<ProtocolEntry>& entries);

} // namespace kov
