#pragma once

// Workbooks: the layout an export writes (sheets of text cells with their widths, heights and
// formats), the writer, and the reader that imports take cells from, for .xlsx and legacy .xls
// workbooks alike. Every cell is written as text; a reader gives every cell as text too, numbers
// in their general text with the DecimalChar.

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kov {

// The formats a range of cells carries; a cell in several ranges carries all of them.
struct CellFormat {
    bool bold = false;
    bool italic = false;
    bool wrap = false;
    bool left = false; // left-aligned

    bool operator==(const CellFormat&) const = default;
};

// A rectangle of cells, 0-based and inclusive; kWhole as the last row makes it whole columns, as
// the last column whole rows.
inline constexpr std::size_t kWhole = std::size_t(-1);
struct FormatRange {
    std::size_t first_row = 0, first_col = 0, last_row = 0, last_col = 0;
    CellFormat format;
};

struct SheetLayout {
    std::string name;
    std::size_t columns = 0;
    std::vector<std::string> cells; // row by row, `columns` per row; "" leaves a cell empty
    std::vector<double> widths;     // per column, in character widths; 0 keeps the default
    std::vector<double> heights;    // per row, in points; 0 (or beyond the end) the default
    std::vector<FormatRange> formats;

    std::size_t rows() const { return columns == 0 ? 0 : cells.size() / columns; }
    const std::string& at(std::size_t row, std::size_t col) const {
        return cells[row * columns + col];
    }
    // Appends a row of `columns` empty cells and returns its first cell.
    std::string* add_row();
    // Whether and how the cell is formatted.
    CellFormat format_of(std::size_t row, std::size_t col) const;
};

struct WorkbookLayout {
    std::vector<SheetLayout> sheets;
};

// A sheet name a workbook accepts: the forbidden characters [ ] : * ? / \ become "_", a name
// longer than 31 characters is cut to 31 keeping a trailing " (k)", an empty name becomes
// "Sheet"; a name that (ignoring case) another earlier sheet has gets " (2)", " (3)", ...
std::vector<std::string> workbook_sheet_names(const std::vector<std::string>& names);

// Told, after each row written, the rows written so far and the rows of all sheets; returns
// false to stop the writing.
using WorkbookProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Thrown by the writers when their progress callback stopped them; no file is left behind.
class WorkbookCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "the writing of the workbook was stopped"; }
};

// Writes the workbook to `path` whole: into a temporary file in the same folder, synced, then put
// in place under its name. An existing file is never replaced: FileError(Write). Throws
// FileError(Write) naming the file when it cannot be written.
void write_workbook(const std::string& path, const WorkbookLayout& layout,
                    const WorkbookProgress& progress = {});

// Writes the workbook under `folder` as `base` + ".xlsx", or `base` + " (2).xlsx", ... when that
// name is taken, creating the folder, and returns the path written.
std::string write_new_workbook(const std::string& folder, const std::string& base,
                               const WorkbookLayout& layout, const WorkbookProgress& progress = {});

// The cells of a rectangle A1..(rows, columns) of one sheet as texts; cells beyond what the sheet
// holds are empty.
struct SheetCells {
    std::size_t rows = 0, columns = 0;
    std::vector<std::string> cells;

    // 1-based, as a spreadsheet numbers rows and columns.
    const std::string& at(std::size_t row, std::size_t col) const {
        return cells[(row - 1) * columns + (col - 1)];
    }
};

// The limits a workbook must keep to be read at all; beyond them it is refused as hostile or
// broken.
struct WorkbookLimits {
    std::size_t max_entries = 10000;                      // zip entries
    std::size_t max_entry_size = std::size_t(512) << 20;  // one entry, expanded
    std::size_t max_total_size = std::size_t(1) << 30;    // all entries read, expanded
    double max_ratio = 100;                               // expanded / compressed ...
    std::size_t ratio_from = std::size_t(100) << 10;      // ... beyond this expanded size
    std::size_t max_rows = 1048576;                       // a sheet's rows
    std::size_t max_columns = 16384;                      // a sheet's columns
    std::size_t max_text = 32767;                         // characters in a cell
    std::size_t max_shared_strings = 1u << 20;            // entries of the shared strings
    std::size_t max_shared_bytes = std::size_t(64) << 20; // ... and their texts together
};

class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;
    virtual std::size_t sheet_count() const = 0;
    // Sheet `index` (0-based, in the workbook's order) as texts in A1..(rows, columns); numbers
    // as their general text with `decimal_char`, booleans as "TRUE" and "FALSE". Throws
    // FileError(Format) naming the file for a sheet that is missing or cannot be trusted.
    virtual SheetCells read_sheet(std::size_t index, std::size_t rows, std::size_t columns,
                                  char decimal_char) = 0;
};

// Opens a workbook: an .xlsx (a zip package) or a legacy .xls (a compound document), told apart
// by their first bytes. Throws FileError naming the file: Missing, Read, or Format for a file
// that is neither or that breaks the limits.
std::unique_ptr<WorkbookReader> open_workbook(const std::string& path,
                                              const WorkbookLimits& limits = {});

// The readers behind open_workbook.
std::unique_ptr<WorkbookReader> open_xlsx(const std::string& path, const WorkbookLimits& limits);
std::unique_ptr<WorkbookReader> open_xls(const std::string& path, const WorkbookLimits& limits);

} // namespace kov
