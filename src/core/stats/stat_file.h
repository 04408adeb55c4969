#pragma once

// The statistics file Data/kov_<TaskCode>_stat.dat.
//
// TStatHeader (88) | T x TStatVariant (80), sorted by expected income | T blocks of 10
// TStatThreshold (16), block k belonging to variant number k. T = nsg of the task descriptor;
// size 88 + 240 T.

#include "io/binary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kov {

inline constexpr std::size_t kStatHeaderSize = 88;
inline constexpr std::size_t kStatVariantSize = 80;
inline constexpr std::size_t kStatThresholdSize = 16;
inline constexpr std::size_t kStatThresholds = 10;
inline constexpr std::int32_t kMinTrials = 100;
inline constexpr std::int32_t kMaxTrials = 100000;

// TStatHeader, 88 bytes.
struct TStatHeader {
    std::int32_t trials = 0; // 0: simulation trials, 100..100000
    std::string elapsed;     // 4, string[40]: elapsed time, long time format
    std::string money_unit;  // 45, string[20]: the BDON's cost unit
    std::string time_unit;   // 66, string[20]: the BDON's time unit
                             // 87: zero byte

    bool operator==(const TStatHeader&) const = default;
};

// TStatVariant, 80 bytes.
struct TStatVariant {
    std::int32_t number = 0;        // 0: 1-based position of the variant in the solution; 4: zero
    double own = 0;                 // 8: own funds
    double credit = 0;              // 16: credit
    double full_cost = 0;           // 24: total full cost of the chosen objects
    double expected_income = 0;     // 32: the sort key
    double payback_term = 0;        // 40
    double payback_coefficient = 0; // 48
    double payback_amount = 0;      // 56
    double computed_mean = 0;       // 64: computed mean absolute income
    double simulated_mean = 0;      // 72: simulated mean absolute income

    bool operator==(const TStatVariant&) const = default;
};

// TStatThreshold, 16 bytes.
struct TStatThreshold {
    double probability = 0; // j / 10
    double income = 0;      // threshold income at that probability

    bool operator==(const TStatThreshold&) const = default;
};
using TStatBlock = std::array<TStatThreshold, kStatThresholds>;

struct StatFile {
    TStatHeader header;
    std::vector<TStatVariant> variants; // in file order (sorted)
    std::vector<TStatBlock> blocks;     // blocks[k - 1] belongs to variant number k

    // The block of a variant record: blocks[number - 1] (numbers were checked by the reader).
    const TStatBlock& block_of(const TStatVariant& v) const {
        return blocks.at(std::size_t(v.number - 1));
    }
    bool operator==(const StatFile&) const = default;
};

std::size_t stat_file_size(std::int32_t nsg);

// The file image; std::invalid_argument unless variants and blocks have the same size 1..10 and
// the variant numbers are 1..T each once. Strings are cut to their capacities.
Bytes encode_stat_file(const StatFile& s, CodePage cp);

// The whole file of a task with `nsg` variants. Refused (FileError format naming the file): nsg
// outside 1..10, a size other than 88 + 240 nsg (also a file left from an earlier solution with
// fewer or more variants), a string longer than its capacity, a trial count outside
// 100..100000, variant numbers that are not 1..nsg each exactly once.
StatFile decode_stat_file(std::span<const std::uint8_t> data, const std::string& file,
                          std::int32_t nsg, CodePage cp);
// The 88-byte header alone (the trial count outside 100..100000 is refused too).
TStatHeader decode_stat_header(std::span<const std::uint8_t> data, const std::string& file,
                               CodePage cp);

StatFile read_stat_file(const std::string& path, std::int32_t nsg, CodePage cp);
TStatHeader read_stat_header(const std::string& path, CodePage cp);
void write_stat_file(const std::string& path, const StatFile& s, CodePage cp);

} // namespace kov
