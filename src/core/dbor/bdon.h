#pragma once

// The BDON file (database of real-estate objects): its records, the in-memory image
// BdonData, read_bdon, write_bdon and the header-only read of the list of databases.
//
// Layout (little-endian, strings length-prefixed in the code page of the shell's language):
//   DborHeader (164) | M x DborObject (280) | for each object its n+1 DborVariant (280) |
//   for each (object, variant) its s DborSaleVariant (16) | ... its e DborExplVariant (16) |
//   for each sale variant its p DborPoint (16) | for each exploitation variant its q DborPoint.

#include "io/binary.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

inline constexpr std::size_t kDborHeaderSize = 164;
inline constexpr std::size_t kDborObjectSize = 280;
inline constexpr std::size_t kDborVariantSize = 280;
inline constexpr std::size_t kDborSaleVariantSize = 16;
inline constexpr std::size_t kDborExplVariantSize = 16;
inline constexpr std::size_t kDborPointSize = 16;

// The limits every writer guarantees and every reader checks.
inline constexpr int kMaxObjects = 1000;     // M, 1..1000
inline constexpr int kMaxModernisations = 5; // n, 0..5
inline constexpr int kMaxSaleVariants = 5;   // s, 0..5
inline constexpr int kMaxExplVariants = 5;   // e, 0..5
inline constexpr int kMaxPoints = 10;        // p, q: 0 or 2..10

// The largest file the limits allow (every object with 5 modernisations, 5 + 5 income variants
// of 10 points each); read_bdon refuses anything longer before reading it.
inline constexpr std::size_t kMaxBdonSize =
    kDborHeaderSize +
    kMaxObjects *
        (kDborObjectSize +
         (kMaxModernisations + 1) *
             (kDborVariantSize + 2 * 5 * (kDborSaleVariantSize + kMaxPoints * kDborPointSize)));

// DborHeader, 164 bytes.
struct DborHeader {
    std::string language;  // 0, string[3]: ShellSuffix when the database was created or imported
    std::string type;      // 4, string[1]: "A" or "B"
    std::string code;      // 6, string[6]: 3 digits (type A) or 6 digits (type B)
    std::string name;      // 13, string[70]
    std::int32_t mode = 1; // 84: investment mode, 1 for type A, 2 for type B
    std::string cost_unit; // 88, string[20]
    std::string time_unit; // 109, string[20]
    std::int32_t m = 0;    // 132: M, number of objects, 1..1000
    // 136..148: objects usable for task types 1..4, as the wizard's summary page computed them.
    std::int32_t sale_objects = 0;       // at least one sale variant
    std::int32_t sale_curve_objects = 0; // at least one sale variant with a delay curve
    std::int32_t expl_objects = 0;       // at least one exploitation variant
    std::int32_t expl_curve_objects = 0; // at least one exploitation variant with a delay curve
    std::string saved;                   // 152, string[10]: date of the last save, short format

    bool operator==(const DborHeader&) const = default;
};

// DborObject, 280 bytes.
struct DborObject {
    std::string code;        // 0, string[6]: exactly 6 digits
    std::string description; // 7, string[255]
    double cost = 0;         // 264: type A above 0; type B 0
    std::int32_t n = 0;      // 272: modernisation variants, 0..5 (n+1 DborVariant records)
    std::string absence;     // 276, string[1] (Tprtab): "*" when currently not available

    bool absent() const { return absence == "*"; }
    bool operator==(const DborObject&) const = default;
};

// DborVariant, 280 bytes; variant 0 is the object without modernisation.
struct DborVariant {
    std::string description; // 0, string[255]
    double cost = 0;         // 256: modernisation cost (variant 0: 0)
    double duration = 0;     // 264: modernisation duration (variant 0: 0)
    std::int32_t s = 0;      // 272: sale variants, 0..5
    std::int32_t e = 0;      // 276: exploitation variants, 0..5

    bool operator==(const DborVariant&) const = default;
};

// DborSaleVariant, 16 bytes.
struct DborSaleVariant {
    double revenue = 0; // 0: expected revenue of the sale
    std::int32_t p = 0; // 8: points of its delay curve, 0 or 2..10

    bool operator==(const DborSaleVariant&) const = default;
};

// DborExplVariant, 16 bytes.
struct DborExplVariant {
    double income = 0;  // 0: expected specific income in the steady state (per time unit)
    std::int32_t q = 0; // 8: points of its delay curve, 0 or 2..10

    bool operator==(const DborExplVariant&) const = default;
};

// DborPoint, 16 bytes: one point of a delay curve (a tabulated distribution function).
struct DborPoint {
    double x = 0; // the length of the delay, time units
    double y = 0; // the distribution function at x, 0..1

    bool operator==(const DborPoint&) const = default;
};

// The in-memory image of one BDON. Indices are 0-based: objects[i], variants[i][j] (j = 0..n_i),
// sale_variants[i][j][k], expl_variants[i][j][k], sale_points[i][j][k][t], expl_points[...].
// The counts inside the records (n, s, e, p, q, M) always equal the sizes of these arrays in a
// BdonData that was read; the writer refuses one where they differ.
struct BdonData {
    DborHeader header;
    std::vector<DborObject> objects;
    std::vector<std::vector<DborVariant>> variants;
    std::vector<std::vector<std::vector<DborSaleVariant>>> sale_variants;
    std::vector<std::vector<std::vector<DborExplVariant>>> expl_variants;
    std::vector<std::vector<std::vector<std::vector<DborPoint>>>> sale_points;
    std::vector<std::vector<std::vector<std::vector<DborPoint>>>> expl_points;

    // Where the image was read from (for messages naming the database); not stored in the file.
    std::string path;

    // Everything but `path`.
    bool same_content(const BdonData& other) const;
};

// A DborCode: "A_" + 3 digits or "B_" + 6 digits.
bool is_dbor_code(std::string_view code);
// The stored code of a header: type letter + "_" + code.
std::string dbor_code(const DborHeader& header);
// "Dbor/<DborCode>_dbor_<suffix>.dat" relative to the Workspace.
std::string bdon_file_name(std::string_view dbor_code, std::string_view suffix);
// The CurrentFileBase of a database: Workspace + "/Dbor/" + DborCode + "_dbor_" + suffix, without
// ".dat". Throws std::invalid_argument when the code is not a DborCode.
std::string bdon_base(const std::string& workspace, std::string_view dbor_code,
                      std::string_view suffix);

// The whole file image. Throws std::invalid_argument naming the record when a count is beyond
// its limit or differs from the size of its array, or when the type letter, code and mode do
// not form a valid identity.
Bytes encode_bdon(const BdonData& data, CodePage cp);

// Reads a file image strictly in the order of the records. Refuses with a FileError (format)
// naming `file`: a header that ends early or holds a string longer than its capacity, a type
// letter other than A/B, a code off the DborCode pattern or a mode that does not match the type,
// M outside 1..1000, a usable-object count outside 0..M, n outside 0..5, s or e outside 0..5, a
// point count other than 0 or 2..10, any table that the bytes left cannot hold, and bytes after
// the last record.
BdonData decode_bdon(std::span<const std::uint8_t> data, const std::string& file, CodePage cp);

// Only the 164-byte header, as the list of databases reads it: checks only that its strings
// fit their capacities (the identity is compared by the caller).
DborHeader decode_dbor_header(std::span<const std::uint8_t> data, const std::string& file,
                              CodePage cp);

// read_bdon(base): base is the CurrentFileBase of the database (see bdon_base); ".dat" is
// appended. Throws FileError (Missing, Read, Format).
BdonData read_bdon(const std::string& base, CodePage cp);
// Reads only the first 164 bytes of a database file (full path).
DborHeader read_dbor_header(const std::string& path, CodePage cp);

// write_bdon: sets header.saved to `save_date` cut to 10 characters, builds the file name from
// the header (Workspace + "/Dbor/" + type + "_" + code + "_dbor_" + suffix + ".dat") and writes
// the file atomically (replacing an existing one). Returns the path written. Throws
// std::invalid_argument for data the writer refuses (see encode_bdon), FileError::Write.
std::string write_bdon(const std::string& workspace, std::string_view suffix, BdonData& data,
                       std::string_view save_date, CodePage cp);

// Whether object i (0-based) is usable for the task type tipz 1..4 (the task wizard's object table,
// and the header counts at 136..148): it has, in one of its variants, an income variant (sale for
// types 1, 2; exploitation for 3, 4), with at least one point for the pay-back types 2 and 4.
bool object_usable(const BdonData& data, std::size_t i, int tipz);
// The 0-based indices of the objects usable for the task type: the rows of the task wizard's
// object table (`mt` of them).
std::vector<std::size_t> listed_objects(const BdonData& data, int tipz);
// The four header counts at 136..148 computed over the data.
struct UsableCounts {
    std::int32_t sale = 0, sale_curve = 0, expl = 0, expl_curve = 0;
};
UsableCounts usable_counts(const BdonData& data);
// Stores the four counts computed over the data into its header (as the summary page does
// before a save).
void store_usable_counts(BdonData& data);

} // namespace kov
