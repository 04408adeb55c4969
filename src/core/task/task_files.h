#pragma once

// The task files: the task descriptor Data/kov_<TaskCode>.dat and the task input file
// Data/kov_<TaskCode>_in.dat (with its queue copy under Solving), their records, writers and
// readers.
//
// Descriptor: TaskHeader (232) | nsg x InvestmentVariant (16) | mt x Tprtab (row marks) |
//   M x Tprtab (object marks) | per object (n_i+1) x Tprtab (variant marks) | mz x int32 (group
//   sizes) | the ChoiceTriple records of each group | prok = 1 only: per object, per variant,
//   one Tprtab per income variant (sale when prmp = 1, exploitation when prmp = 2).
// Input file: TaskHeader | nsg x InvestmentTicks (12) | mz x int32 | the ChoiceTriple records |
//   prok = 1 only: nsg doubles, the pay-back series | string[24], the shell's file name.

#include "dbor/bdon.h"
#include "io/binary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

inline constexpr std::size_t kTaskHeaderSize = 232;
inline constexpr std::size_t kInvestmentVariantSize = 16;
inline constexpr std::size_t kInvestmentTicksSize = 12;
inline constexpr std::size_t kChoiceTripleSize = 12;
inline constexpr std::size_t kTprtabSize = 2;
inline constexpr std::size_t kShellNameCapacity = 24; // the input file's shell name: 25 bytes

inline constexpr int kMaxInvestmentVariants = 10; // nsg 1..10
inline constexpr int kMaxPaybackValues = 5;       // nt 0..5
inline constexpr int kMaxObjectLimit = 10;        // ogrn 0..10
// A group holds (-1, -1, -1) and at most one triple per (modernisation variant, income variant).
inline constexpr int kMaxGroupSize = 1 + (kMaxModernisations + 1) * 5;

// TaskHeader, 232 bytes, the same bytes at the start of both files. Names are the task's
// field codes; padding (78, 97, 180, 228) is written as zero and ignored on reading.
struct TaskHeader {
    std::string shifr;     // 0, string[6]: TaskCode
    std::string name;      // 7, string[70]
    std::int32_t reg = 1;  // 80: investment mode, 1 purchase, 2 modernisation of own estate
    std::int32_t tipz = 1; // 84: task type 1..4
    std::string shifr_db;  // 88, string[8]: DborCode of the task's BDON
    std::int32_t mt = 0;   // 100: listed objects (rows of the wizard's object table)
    std::int32_t prmp = 1; // 104: 1 sale revenue (types 1, 2), 2 exploitation income (3, 4)
    std::int32_t prok = 0; // 108: pay-back flag, 1 for types 2 and 4
    double nsd = 0;        // 112: mode 2 with pay-back: required initial mean income
    double soi = 0;        // 120: mode 1 with pay-back: pay-back term
    double tmx = 0;        // 128: upper end of the pay-back series
    double tmn = 0;        // 136: lower end of the pay-back series
    std::int32_t nt = 0;   // 144: values of the pay-back series, = nsg when prok = 1, else 0
    std::int32_t nsg = 1;  // 148: investment variants, 1..10
    double ps = 0;         // 152: credit interest, percent
    double por = 0;        // 160: mode 1: revenue / full cost threshold; mode 2: 0
    double mzad = 0;       // 168: maximum delay before sale / exploitation
    std::int32_t ogrn = 0; // 176: limit on the number of objects chosen, 1..10, 0 none
    double srok = 0;       // 184: with pay-back: control term
    double ver = 0;        // 192: with pay-back: maximum no-sale probability
    std::int32_t mz = 0;   // 200: chosen objects (groups)
    std::int32_t toc = 0;  // 204: rounding type, 0 nearest, 1 down, 2 up
    double delta = 1;      // 208: the tick
    std::int32_t faza =
        0; // 216: phase states of the optimised process, computed when the task is saved
    std::int32_t stat = 0; // 220: statistics allowed
    std::int32_t prk = 0;  // 224: correct the BDON after solving (only when nsg = 1)

    bool operator==(const TaskHeader&) const = default;
};

// InvestmentVariant, 16 bytes.
struct InvestmentVariant {
    double own = 0;    // own funds of the investor
    double credit = 0; // credit

    bool operator==(const InvestmentVariant&) const = default;
};

// InvestmentTicks, 12 bytes: the money of one investment variant in whole ticks.
struct InvestmentTicks {
    std::int32_t own = 0;
    std::int32_t credit = 0;
    std::int32_t payback = 0; // 0 when prok = 0

    bool operator==(const InvestmentTicks&) const = default;
};

// ChoiceTriple, 12 bytes. The first triple of every group is (-1, -1, -1).
struct ChoiceTriple {
    std::int32_t object = 0;        // 1-based position in the BDON
    std::int32_t modernisation = 0; // 0..n_i
    std::int32_t income = 0;        // sale or exploitation variant, 1-based

    bool operator==(const ChoiceTriple&) const = default;
    bool real() const { return object >= 1; }
};
inline constexpr ChoiceTriple kNotTaken{-1, -1, -1};

// Tprtab marks (string[1]: "*" selected / chosen, empty not), one bool each.
using Marks = std::vector<bool>;

// The task descriptor, its sections in file order; indices are 0-based, object i is BDON object
// i + 1. The file holds the triple counts of the groups, then their triples: both are `groups`
// (group g holds its triples, its count is groups[g].size()).
struct TaskDescriptor {
    TaskHeader header;
    std::vector<InvestmentVariant> variants;       // nsg
    Marks row_marks;                               // mt
    Marks object_marks;                            // M
    std::vector<Marks> variant_marks;              // M x (n_i + 1)
    std::vector<std::vector<ChoiceTriple>> groups; // mz groups: counts, then triples
    std::vector<std::vector<Marks>> income_marks;  // prok = 1: M x (n_i + 1) x s|e

    bool operator==(const TaskDescriptor&) const = default;
};

// The task input file, its sections in file order.
struct TaskInput {
    TaskHeader header;
    std::vector<InvestmentTicks> ticks;            // nsg
    std::vector<std::vector<ChoiceTriple>> groups; // mz groups: counts, then triples
    std::vector<double> payback_series;            // prok = 1: nsg values
    std::string shell_file_name;                   // string[24]

    bool operator==(const TaskInput&) const = default;
};

// ---- Names ------------------------------------------------------------------------------------

// Workspace + "/" + folder + "/kov_" + TaskCode + suffix + ".dat"; folder "Data" or "Solving",
// suffix "", "_in", "_out" or "_stat". Throws std::invalid_argument when the code is not a
// TaskCode.
std::string task_file_path(const std::string& workspace, std::string_view folder,
                           std::string_view task_code, std::string_view suffix);
// The CurrentFileBase of the task's BDON (Workspace/Dbor/<shifrDb>_dbor_<lng>).
std::string task_bdon_base(const std::string& workspace, const TaskHeader& header,
                           std::string_view suffix);

// ---- Images -----------------------------------------------------------------------------------

// Writers refuse (std::invalid_argument naming the field) a header that a reader would refuse
// and arrays whose sizes differ from the header's counts or the BDON's.
Bytes encode_task_header(const TaskHeader& header, CodePage cp);
Bytes encode_task_descriptor(const TaskDescriptor& d, const BdonData& bdon, CodePage cp);
Bytes encode_task_input(const TaskInput& in, const BdonData& bdon, CodePage cp);

// The header alone. Refused (FileError format, naming the file): fewer than 232 bytes, a string
// longer than its capacity, shifr not a TaskCode, shifrDb not a DborCode or of another type than
// reg, reg not 1/2, tipz not 1..4, prmp and prok not those of tipz, nsg outside 1..10, mt outside
// 0..1000, mz outside 0..mt, nt outside 0..5 or (prok = 1) not nsg, ogrn outside 0..10, toc
// outside 0..2, delta not a positive finite number.
TaskHeader decode_task_header(std::span<const std::uint8_t> data, const std::string& file,
                              CodePage cp);

// What a descriptor reader reads.
enum class DescriptorParts {
    Variants,   // header and variants (statistics, solution viewer)
    Correction, // header, variants and row marks (the wizard's correction and import)
    Full,       // everything, checked against the BDON (task viewer)
};
// `bdon` is needed (and checked against) only for DescriptorParts::Full. Beyond the header
// checks, a full read refuses: shifrDb or reg that differ from the BDON's code and mode, mt
// other than the number of objects the BDON lists for the task type, mz other than the number of
// object marks, a group count outside 1..31, a first triple other than (-1, -1, -1), a triple
// whose object is not the group's chosen object, whose modernisation variant is beyond n_i or
// whose income variant is beyond the variant's sale (exploitation) variants (or other than 1
// without pay-back), a mark other than "*" or empty, bytes after the income marks, and triples
// other than those the object, variant and income marks give (build_choice_groups,
// task/ticks.h). Partial reads
// refuse a file too short for their parts and ignore what follows them.
TaskDescriptor decode_task_descriptor(std::span<const std::uint8_t> data, const std::string& file,
                                      const BdonData* bdon, DescriptorParts parts, CodePage cp);

// What an input-file reader reads.
enum class InputParts {
    Solver, // header, ticks and groups (the optimiser); what follows is not read
    Full,   // everything, up to the shell file name
};
// Checked against the BDON: shifrDb and reg, mz <= M, every triple as for the descriptor (groups
// in ascending object order, each of one object), tick amounts not negative and the pay-back
// amount 0 without pay-back; a full read also refuses bytes after the shell file name.
TaskInput decode_task_input(std::span<const std::uint8_t> data, const std::string& file,
                            const BdonData& bdon, InputParts parts, CodePage cp);

// ---- Files ------------------------------------------------------------------------------------

// The first 232 bytes of either task file.
TaskHeader read_task_header(const std::string& path, CodePage cp);
// Read in full (the task viewer): the caller has read the header and the BDON it names.
TaskDescriptor read_task_descriptor(const std::string& path, const BdonData& bdon, CodePage cp);
// Read for the task wizard's correction and import: header, variants and row marks.
TaskDescriptor read_task_for_correction(const std::string& path, CodePage cp);
// Read the variants (statistics creation, solution viewer): header and variants.
TaskDescriptor read_task_variants(const std::string& path, CodePage cp);
// Read the input file in full.
TaskInput read_task_input(const std::string& path, const BdonData& bdon, CodePage cp);
// Read by the optimiser: header, ticks and groups of the input file (its copy under Solving).
TaskInput read_solver_input(const std::string& path, const BdonData& bdon, CodePage cp);

// The code page of the language a task was saved under: that of the shell whose file name ends
// its input file (read from the file's end, without the BDON). Nothing when the file is missing,
// cannot be read or does not end in a shell's file name.
std::optional<CodePage> read_task_input_codepage(const std::string& path);

// Writes Data/kov_<shifr>.dat and Data/kov_<shifr>_in.dat as a pair (kov::write_files_atomic,
// with the intent record Data/kov_<shifr>.intent): a failure or a crash at any point leaves the
// old pair or the new one. Every reader of either file first completes an interrupted pair
// write. The two headers must be equal.
void write_task_files(const std::string& workspace, const TaskDescriptor& d, const TaskInput& in,
                      const BdonData& bdon, CodePage cp);

} // namespace kov
