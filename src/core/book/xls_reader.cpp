// The legacy .xls reader (Excel 97-2003 compound documents) on FreeXL, which gives every text in
// UTF-8 whatever the workbook's code page.

#include "book/workbook.h"

#include "io/codepage.h"
#include "io/error.h"
#include "io/numbers.h"

#include <freexl.h>

#include <algorithm>
#include <filesystem>

namespace kov {

namespace {

// A legacy workbook is read whole into memory; one larger than this is not one of ours.
constexpr std::uintmax_t kMaxXlsFile = std::uintmax_t(64) << 20;

class XlsReader final : public WorkbookReader {
public:
    XlsReader(const std::string& path, const WorkbookLimits& limits)
        : path_(path)
        , limits_(limits) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec) {
            throw FileError(FileError::Kind::Read, path, ec.message());
        }
        if (size > kMaxXlsFile) {
            throw format_error(path, "a legacy workbook larger than " +
                                         std::to_string(kMaxXlsFile >> 20) + " MiB");
        }
        if (freexl_open(path.c_str(), &handle_) != FREEXL_OK) {
            if (handle_ != nullptr) {
                freexl_close(handle_);
            }
            throw format_error(path, "not a workbook that can be read");
        }
        unsigned int info = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
            info == FREEXL_BIFF_OBFUSCATED) {
            freexl_close(handle_);
            throw format_error(path, "the workbook is protected by a password");
        }
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK) {
            freexl_close(handle_);
            throw format_error(path, "its sheets cannot be counted");
        }
        sheets_ = info;
    }
    ~XlsReader() override { freexl_close(handle_); }
    XlsReader(const XlsReader&) = delete;
    XlsReader& operator=(const XlsReader&) = delete;

    std::size_t sheet_count() const override { return sheets_; }

    SheetCells read_sheet(std::size_t index, std::size_t rows, std::size_t columns,
                          char decimal_char) override {
        if (index >= sheets_ ||
            freexl_select_active_worksheet(handle_, (unsigned short)index) != FREEXL_OK) {
            throw format_error(path_, "it has no sheet " + std::to_string(index + 1));
        }
        unsigned int sheet_rows = 0;
        unsigned short sheet_columns = 0;
        if (freexl_worksheet_dimensions(handle_, &sheet_rows, &sheet_columns) != FREEXL_OK) {
            throw format_error(path_, "the size of sheet " + std::to_string(index + 1) +
                                          " cannot be read");
        }
        SheetCells cells;
        cells.rows = std::min(rows, limits_.max_rows);
        cells.columns = std::min(columns, limits_.max_columns);
        cells.cells.resize(cells.rows * cells.columns);
        for (std::size_t r = 0; r < std::min<std::size_t>(cells.rows, sheet_rows); ++r) {
            for (std::size_t c = 0; c < std::min<std::size_t>(cells.columns, sheet_columns); ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(handle_, unsigned(r), (unsigned short)c, &v) !=
                    FREEXL_OK) {
                    throw format_error(path_, "a cell of sheet " + std::to_string(index + 1) +
                                                  " cannot be read");
                }
                std::string& out = cells.cells[r * cells.columns + c];
                switch (v.type) {
                case FREEXL_CELL_INT:
                    out = std::to_string(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    out = format_general(v.value.double_value, decimal_char);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    out = v.value.text_value != nullptr ? v.value.text_value : "";
                    if (char_count(out) > limits_.max_text) {
                        throw format_error(path_, "a cell text is longer than " +
                                                      std::to_string(limits_.max_text) +
                                                      " characters");
                    }
                    break;
                default:
                    break;
                }
            }
        }
        return cells;
    }

private:
    std::string path_;
    WorkbookLimits limits_;
    const void* handle_ = nullptr;
    std::size_t sheets_ = 0;
};

} // namespace

std::unique_ptr<WorkbookReader> open_xls(const std::string& path, const WorkbookLimits& limits) {
    return std::make_unique<XlsReader>(path, limits);
}

} // namespace kov
