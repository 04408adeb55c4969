#pragma once

// The solution file Solving/kov_<TaskCode>_out.dat and its copy under Data.
//
// SolutionHeader (464 bytes) | body, only when mz > 0 and nsg > 0: nsg x int32 cycle counts,
// then for each variant mz x ChoiceTriple. Size 464 + 4 nsg + 12 nsg mz with the body.

#include "dbor/bdon.h"
#include "io/binary.h"
#include "task/task_files.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kov {

inline constexpr std::size_t kSolutionHeaderSize = 464;

// Records of a variant that has no plan.
inline constexpr ChoiceTriple kNotSolved{0, 0, 0}; // the run stopped before or on it
inline constexpr ChoiceTriple kInvestNothing{-1, -2,
                                             -3}; // mode 2 with pay-back, no plan admissible

// SolutionHeader, 464 bytes.
struct SolutionHeader {
    std::string info1;       // 0, string[40]: line 2 of the information file
    std::string info2;       // 41, string[40]: line 4
    std::string info3;       // 82, string[40]: line 6
    std::string duration;    // 123, string[40]: duration of the run, long time format
    std::string message;     // 164, string[255]: last message of the red line; 255 blanks if none
    std::int32_t kr = 0;     // 420: КР, check thinning factor
    std::int32_t lchi = 0;   // 424: ЛЧИ, limit of iteration cycles
    std::int32_t result = 0; // 428: 1 every variant solved, 0 the run stopped
    double end_time = 0;     // 432: time of day at the end (fraction of a day)
    double end_date = 0;     // 440: date at the end (day count)
    double okr = 0;          // 448: ОКР, relaxation coefficient
    double ko = 0;           // 456: КО, stopping threshold

    bool operator==(const SolutionHeader&) const = default;
};

// A solution: the header and, when the body is present, one cycle count and mz records per
// variant (plans[v][g] is the decision for group g + 1 in variant v + 1).
struct Solution {
    SolutionHeader header;
    std::vector<std::int32_t> cycles;
    std::vector<std::vector<ChoiceTriple>> plans;

    bool operator==(const Solution&) const = default;
};

// Whether a task's solution has a body, and the size of its file.
bool solution_has_body(std::int32_t nsg, std::int32_t mz);
std::size_t solution_file_size(std::int32_t nsg, std::int32_t mz);

// The file image. The body is written when `cycles` is not empty; then plans must have as many
// variants, each with the same number (> 0) of records (std::invalid_argument otherwise). Strings
// are cut to their capacities.
Bytes encode_solution(const Solution& s, CodePage cp);

// What a solution reader reads.
enum class SolutionParts {
    Header,    // the 464-byte header alone
    FirstPlan, // header, the first cycle count and the first variant's mz records (the BDON
               // correction after solving, used when nsg = 1)
    Full,      // header and the whole body
};

// Reads a solution of the task whose header is `task` (nsg and mz from it). Refused (FileError
// format naming the file): fewer than 464 bytes, a string longer than its capacity, a result
// flag other than 0 and 1, and, for FirstPlan and Full: a file whose size is not the one the
// task's nsg and mz call for (a file left from another solution), a negative cycle count, a
// record that is neither (0,0,0), (-1,-1,-1), (-1,-2,-3) nor a triple whose object, modernisation
// and income variant exist in the BDON, a variant that mixes (0,0,0) or (-1,-2,-3) with other
// records, and, when `groups` is given (the task's choice groups), a real record k that is not one
// of group k's alternatives. `bdon` may be null only for SolutionParts::Header.
Solution decode_solution(std::span<const std::uint8_t> data, const std::string& file,
                         const TaskHeader& task, const BdonData* bdon,
                         const std::vector<std::vector<ChoiceTriple>>* groups, SolutionParts parts,
                         CodePage cp);

// Files.
SolutionHeader read_solution_header(const std::string& path, CodePage cp);
Solution read_solution(const std::string& path, const TaskHeader& task, const BdonData& bdon,
                       const std::vector<std::vector<ChoiceTriple>>* groups, CodePage cp);
// The partial read of the BDON correction: header, first cycle count, first variant's records.
Solution read_solution_first_plan(const std::string& path, const TaskHeader& task,
                                  const BdonData& bdon, CodePage cp);
void write_solution(const std::string& path, const Solution& s, CodePage cp);

// The BDON correction when a solution is taken back: when the result flag is 1, every record of
// the first plan whose object number is 1 or more sets that object's absence mark to "*".
// Returns whether the result flag was 1, that is whether the caller writes the BDON back (with
// write_bdon) and shows its information box. Object numbers beyond the BDON (never in a solution
// the reader accepted) are ignored.
bool mark_taken_objects_absent(const Solution& s, BdonData& bdon);

} // namespace kov
