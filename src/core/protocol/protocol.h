#pragma once

#include "io/binary.h"

#include <string>
#include <vector>

namespace kov {

enum class TaskState : std::int32_t { Entered = 0, Queued = 1, Solved = 2 };

// One task of the register (144 bytes in the file).
struct ProtocolEntry {
    std::string code; // TaskCode
    std::string name;
    TaskState state = TaskState::Entered;
    double entered = 0; // task entered
    double changed = 0; // input data last entered or corrected
    double queued = 0;  // input data queued for solving
    double solved = 0;  // solution taken back

    bool operator==(const ProtocolEntry&) const = default;
};

inline constexpr std::size_t kProtocolHeaderSize = 28;
inline constexpr std::size_t kProtocolEntrySize = 144;
inline constexpr const char* kProtocolFile = "System/protocol.ptl";

// The whole file image of the list.
Bytes encode_protocol(const std::vector<ProtocolEntry>& entries, CodePage cp);

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
// a TaskCode off the pattern or an unknown state, is Damaged.
DecodedProtocol decode_protocol(std::span<const std::uint8_t> data, const std::string& file,
                                CodePage cp);

// Loading the protocol file of a Workspace.
enum class ProtocolLoad {
    Loaded,        // read as it was
    Created,       // missing: an empty protocol was created
    NotCreatable,  // missing, and it could not be created: the list is empty
    Replaced,      // not recognised: replaced by an empty protocol
    DamagedKept,   // damaged: kept as protocol.ptl.bad and replaced by an empty protocol
    ReplaceFailed, // not recognised or damaged, and the empty protocol could not be written
};

struct ProtocolLoadResult {
    ProtocolLoad outcome = ProtocolLoad::Loaded;
    std::vector<ProtocolEntry> entries;
    std::string problem;
};

ProtocolLoadResult load_protocol(const std::string& workspace, CodePage cp);
// Rewrites the protocol file from the list, atomically. Throws FileError::Write.
void write_protocol(const std::string& workspace, const std::vector<ProtocolEntry>& entries,
                    CodePage cp);

} // namespace kov
