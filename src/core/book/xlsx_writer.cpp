// The workbook writer: libxlsxwriter in its constant-memory mode, rows written in order, so a
// sheet of any length takes little memory.

#include "book/workbook.h"

#include "io/error.h"
#include "io/files.h"
#include "io/new_file.h"

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kov {

namespace {

FileError write_error(const std::string& path, const std::string& detail) {
    return FileError(FileError::Kind::Write, path, detail);
}

class Formats {
public:
    explicit Formats(lxw_workbook* wb)
        : wb_(wb) {}
    lxw_format* get(const CellFormat& f) {
        if (!f.bold && !f.italic && !f.wrap && !f.left) {
            return nullptr;
        }
        const int key = (f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.wrap ? 4 : 0) | (f.left ? 8 : 0);
        lxw_format*& fmt = formats_[std::size_t(key)];
        if (fmt == nullptr) {
            fmt = workbook_add_format(wb_);
            if (f.bold) {
                format_set_bold(fmt);
            }
            if (f.italic) {
                format_set_italic(fmt);
            }
            if (f.wrap) {
                format_set_text_wrap(fmt);
            }
            if (f.left) {
                format_set_align(fmt, LXW_ALIGN_LEFT);
            }
        }
        return fmt;
    }

private:
    lxw_workbook* wb_;
    std::array<lxw_format*, 16> formats_{};
};

// The format of the ranges of `sheet` that are whole columns (or whole rows) holding `col`
// (`row`); the cells of the other ranges get theirs cell by cell.
CellFormat whole_format(const SheetLayout& sheet, std::size_t index, bool columns) {
    CellFormat f;
    for (const FormatRange& r : sheet.formats) {
        const bool whole = columns ? r.last_row == kWhole : r.last_col == kWhole;
        const std::size_t first = columns ? r.first_col : r.first_row;
        const std::size_t last = columns ? r.last_col : r.last_row;
        if (whole && index >= first && (last == kWhole || index <= last)) {
            f.bold |= r.format.bold;
            f.italic |= r.format.italic;
            f.wrap |= r.format.wrap;
            f.left |= r.format.left;
        }
    }
    return f;
}

bool any(const CellFormat& f) {
    return f.bold || f.italic || f.wrap || f.left;
}

void check(lxw_error e, const std::string& path) {
    if (e != LXW_NO_ERROR) {
        throw write_error(path, lxw_strerror(e));
    }
}

// The rows written so far and the rows of all sheets, told to the progress callback.
struct RowCount {
    const WorkbookProgress& progress;
    std::size_t done = 0;
    std::size_t total = 0;

    void row_written() {
        ++done;
        if (progress && !progress(done, total)) {
            throw WorkbookCancelled();
        }
    }
};

void write_sheet(lxw_workbook* wb, Formats& formats, const SheetLayout& sheet,
                 const std::string& name, const std::string& path, RowCount& rows) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
    if (ws == nullptr) {
        throw write_error(path, "the sheet \"" + name + "\" cannot be added");
    }
    if (sheet.rows() > LXW_ROW_MAX || sheet.columns > LXW_COL_MAX) {
        throw write_error(path, "the sheet \"" + name + "\" is larger than a workbook allows");
    }
    const std::size_t width_count = std::max(sheet.widths.size(), sheet.columns);
    for (std::size_t c = 0; c < width_count; ++c) {
        const double w = c < sheet.widths.size() ? sheet.widths[c] : 0;
        const CellFormat f = whole_format(sheet, c, true);
        if (w > 0 || any(f)) {
            check(worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c),
                                       w > 0 ? w : LXW_DEF_COL_WIDTH, formats.get(f)),
                  path);
        }
    }
    for (std::size_t r = 0; r < sheet.rows(); ++r) {
        const double h = r < sheet.heights.size() ? sheet.heights[r] : 0;
        const CellFormat rf = whole_format(sheet, r, false);
        if (h > 0 || any(rf)) {
            check(worksheet_set_row(ws, lxw_row_t(r), h > 0 ? h : LXW_DEF_ROW_HEIGHT,
                                    formats.get(rf)),
                  path);
        }
        for (std::size_t c = 0; c < sheet.columns; ++c) {
            const std::string& text = sheet.at(r, c);
            const CellFormat f = sheet.format_of(r, c);
            if (!text.empty()) {
                check(worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), text.c_str(),
                                             formats.get(f)),
                      path);
            } else if (any(f) && !(f == whole_format(sheet, c, true)) && !(f == rf)) {
                check(worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), formats.get(f)), path);
            }
        }
        rows.row_written();
    }
}

// Writes the whole workbook to `tmp` and syncs it to the disk.
void write_temporary(const std::string& tmp, const std::string& path, const WorkbookLayout& layout,
                     const WorkbookProgress& progress) {
    std::vector<std::string> names;
    for (const SheetLayout& s : layout.sheets) {
        names.push_back(s.name);
    }
    names = workbook_sheet_names(names);
    const std::string folder = std::filesystem::path(tmp).parent_path().string();
    std::vector<char> tmpdir(folder.begin(), folder.end());
    tmpdir.push_back('\0');
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    lxw_workbook* wb = workbook_new_opt(tmp.c_str(), &options);
    if (wb == nullptr) {
        throw write_error(path, "the workbook cannot be created");
    }
    RowCount rows{progress};
    for (const SheetLayout& s : layout.sheets) {
        rows.total += s.rows();
    }
    try {
        Formats formats(wb);
        for (std::size_t i = 0; i < layout.sheets.size(); ++i) {
            write_sheet(wb, formats, layout.sheets[i], names[i], path, rows);
        }
    } catch (...) {
        workbook_close(wb);
        remove_file(tmp);
        throw;
    }
    const lxw_error e = workbook_close(wb);
    if (e != LXW_NO_ERROR) {
        remove_file(tmp);
        throw write_error(path, lxw_strerror(e));
    }
    const int fd = ::open(tmp.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!synced) {
        remove_file(tmp);
        throw write_error(path, std::strerror(errno));
    }
}

} // namespace

void write_workbook(const std::string& path, const WorkbookLayout& layout,
                    const WorkbookProgress& progress) {
    if (file_exists(path)) {
        throw write_error(path, "a file of that name exists");
    }
    const std::string tmp = temporary_name(path);
    write_temporary(tmp, path, layout, progress);
    if (!place_new_file(tmp, path)) {
        remove_file(tmp);
        throw write_error(path, "a file of that name exists");
    }
}

std::string write_new_workbook(const std::string& folder, const std::string& base,
                               const WorkbookLayout& layout, const WorkbookProgress& progress) {
    make_dirs(folder);
    const std::string first = folder + "/" + base + ".xlsx";
    const std::string tmp = temporary_name(first);
    write_temporary(tmp, first, layout, progress);
    return place_under_new_name(tmp, folder, base, ".xlsx");
}

} // namespace kov
