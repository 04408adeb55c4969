// The workbook writer. It writes the .xlsx package itself, part by part and row by row, so a
// sheet of any length takes little memory beyond its layout: the XML of each part is made in a
// small buffer and deflated at zlib's fastest level straight into a new file of the file layer
// (an entry's sizes and checksum follow its data in a data descriptor). Every text goes once into
// the shared strings, which keeps the large sheets of repeated numbers small to write and to
// read back.

#include "book/workbook.h"

#include "io/error.h"
#include "io/files.h"
#include "io/new_file.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace kov {

namespace {

FileError write_error(const std::string& path, const std::string& detail) {
    return FileError(FileError::Kind::Write, path, detail);
}

// ---- The zip package ----------------------------------------------------------------------------

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Writes a zip package of deflated entries into a NewFile, one entry at a time.
class ZipWriter {
public:
    ZipWriter(NewFile& file, const std::string& path)
        : file_(file)
        , path_(path) {
        stream_.zalloc = Z_NULL;
        stream_.zfree = Z_NULL;
        stream_.opaque = Z_NULL;
        if (deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
            Z_OK) {
            throw write_error(path_, "the compressor cannot be set up");
        }
    }
    ~ZipWriter() { deflateEnd(&stream_); }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    void begin(const std::string& name) {
        Entry e;
        e.name = name;
        e.offset = offset_;
        std::string header;
        put32(header, 0x04034b50);
        put16(header, 20);     // version needed: deflate
        put16(header, 0x0008); // sizes and checksum in the data descriptor
        put16(header, 8);      // deflated
        put16(header, 0);      // 00:00
        put16(header, 0x21);   // 1 January 1980
        put32(header, 0);
        put32(header, 0);
        put32(header, 0);
        put16(header, std::uint32_t(name.size()));
        put16(header, 0);
        header += name;
        raw(header);
        entries_.push_back(std::move(e));
        deflateReset(&stream_);
    }

    // Deflates the bytes of the current entry.
    void data(std::string_view bytes) {
        Entry& e = entries_.back();
        e.crc = std::uint32_t(
            crc32_z(e.crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
        e.size += bytes.size();
        deflate_some(bytes, Z_NO_FLUSH);
    }

    void end() {
        deflate_some({}, Z_FINISH);
        Entry& e = entries_.back();
        e.compressed = offset_ - e.offset - 30 - e.name.size();
        check_size(e.size);
        check_size(e.compressed);
        std::string descriptor;
        put32(descriptor, 0x08074b50);
        put32(descriptor, e.crc);
        put32(descriptor, std::uint32_t(e.compressed));
        put32(descriptor, std::uint32_t(e.size));
        raw(descriptor);
    }

    // The central directory and its end record.
    void close() {
        const std::uint64_t dir_offset = offset_;
        std::string dir;
        for (const Entry& e : entries_) {
            put32(dir, 0x02014b50);
            put16(dir, 20);
            put16(dir, 20);
            put16(dir, 0x0008);
            put16(dir, 8);
            put16(dir, 0);
            put16(dir, 0x21);
            put32(dir, e.crc);
            put32(dir, std::uint32_t(e.compressed));
            put32(dir, std::uint32_t(e.size));
            put16(dir, std::uint32_t(e.name.size()));
            put16(dir, 0);
            put16(dir, 0);
            put16(dir, 0);
            put16(dir, 0);
            put32(dir, 0);
            put32(dir, std::uint32_t(e.offset));
            dir += e.name;
        }
        check_size(dir_offset + dir.size());
        const std::uint32_t dir_size = std::uint32_t(dir.size());
        put32(dir, 0x06054b50);
        put16(dir, 0);
        put16(dir, 0);
        put16(dir, std::uint32_t(entries_.size()));
        put16(dir, std::uint32_t(entries_.size()));
        put32(dir, dir_size);
        put32(dir, std::uint32_t(dir_offset));
        put16(dir, 0);
        raw(dir);
    }

private:
    struct Entry {
        std::string name;
        std::uint64_t offset = 0, size = 0, compressed = 0;
        std::uint32_t crc = 0;
    };

    void check_size(std::uint64_t n) const {
        if (n >= std::numeric_limits<std::uint32_t>::max()) {
            throw write_error(path_, "the workbook is larger than a workbook may be");
        }
    }

    void raw(std::string_view bytes) {
        file_.write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        offset_ += bytes.size();
    }

    void deflate_some(std::string_view bytes, int flush) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream_.avail_in = uInt(bytes.size());
        unsigned char out[1 << 16];
        int result = Z_OK;
        do {
            stream_.next_out = out;
            stream_.avail_out = sizeof out;
            result = deflate(&stream_, flush);
            if (result == Z_STREAM_ERROR) {
                throw write_error(path_, "the compressor failed");
            }
            raw(std::string_view(reinterpret_cast<const char*>(out),
                                 sizeof out - stream_.avail_out));
        } while (stream_.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    }

    NewFile& file_;
    const std::string& path_;
    z_stream stream_{};
    std::vector<Entry> entries_;
    std::uint64_t offset_ = 0;
};

// The XML of one part, made in a buffer that goes to the zip writer whenever it fills.
class PartWriter {
public:
    PartWriter(ZipWriter& zip, const std::string& name)
        : zip_(zip) {
        zip_.begin(name);
        buffer_.reserve(kFlushAt + 4096);
        text(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
             "\n");
    }

    PartWriter& text(std::string_view s) {
        buffer_ += s;
        if (buffer_.size() >= kFlushAt) {
            flush();
        }
        return *this;
    }
    PartWriter& number(std::uint64_t n) {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, n);
        return text(std::string_view(digits, std::size_t(r.ptr - digits)));
    }
    PartWriter& number(double x) {
        char digits[32];
        const auto r = std::to_chars(digits, digits + sizeof digits, x);
        return text(std::string_view(digits, std::size_t(r.ptr - digits)));
    }
    // Text with the characters XML reserves escaped; control characters other than tab and line
    // feed as "_xHHHH_", as spreadsheet applications store them.
    PartWriter& escaped(std::string_view s) {
        std::size_t from = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c != '&' && c != '<' && c != '>' && c != '"' &&
                (c >= 0x20 || c == '\t' || c == '\n')) {
                continue;
            }
            buffer_.append(s.data() + from, i - from);
            from = i + 1;
            switch (c) {
            case '&':
                buffer_ += "&amp;";
                break;
            case '<':
                buffer_ += "&lt;";
                break;
            case '>':
                buffer_ += "&gt;";
                break;
            case '"':
                buffer_ += "&quot;";
                break;
            default: {
                static const char hex[] = "0123456789ABCDEF";
                buffer_ += "_x00";
                buffer_ += hex[c >> 4];
                buffer_ += hex[c & 15];
                buffer_ += '_';
            }
            }
        }
        return text(s.substr(from));
    }

    void close() {
        flush();
        zip_.end();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 18;

    void flush() {
        zip_.data(buffer_);
        buffer_.clear();
    }

    ZipWriter& zip_;
    std::string buffer_;
};

// ---- Sheets -------------------------------------------------------------------------------------

// The cell formats are the 16 combinations of bold, italic, wrap and left; a format's style index
// is its combination's number.
unsigned style_of(const CellFormat& f) {
    return (f.bold ? 1u : 0u) | (f.italic ? 2u : 0u) | (f.wrap ? 4u : 0u) | (f.left ? 8u : 0u);
}

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

// A column width in characters as a workbook stores it: with the padding of a cell, in whole
// pixels of a font whose digits are 7 pixels wide, to 1/256 of a character.
double stored_width(double width) {
    constexpr double digit = 7, padding = 5;
    const double pixels = width < 1 ? std::floor(width * (digit + padding) + 0.5)
                                    : std::floor(width * digit + 0.5) + padding;
    return std::floor(pixels / digit * 256) / 256;
}

constexpr double kDefaultWidth = 8.43;
constexpr std::size_t kMaxRows = 1048576, kMaxColumns = 16384;

std::string column_letters(std::size_t col) { // 0-based
    std::string letters;
    for (std::size_t c = col + 1; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    }
    return letters;
}

// Every distinct text of the workbook, numbered in the order of first use.
class SharedStrings {
public:
    std::uint64_t index(std::string_view text) {
        ++uses_;
        const auto [it, added] = numbers_.try_emplace(text, order_.size());
        if (added) {
            order_.push_back(text);
        }
        return it->second;
    }

    void write(PartWriter& part) const {
        part.text(
                R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count=")")
            .number(uses_)
            .text(R"(" uniqueCount=")")
            .number(std::uint64_t(order_.size()))
            .text(R"(">)");
        for (std::string_view s : order_) {
            const bool preserve = s.front() == ' ' || s.back() == ' ' || s.front() == '\t' ||
                                  s.back() == '\t' || s.front() == '\n' || s.back() == '\n';
            part.text(preserve ? R"(<si><t xml:space="preserve">)" : "<si><t>")
                .escaped(s)
                .text("</t></si>");
        }
        part.text("</sst>");
    }

private:
    // The views point into the layout, which outlives the writing.
    std::unordered_map<std::string_view, std::uint64_t> numbers_;
    std::vector<std::string_view> order_;
    std::uint64_t uses_ = 0;
};

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

void write_sheet(PartWriter& part, const SheetLayout& sheet, bool first, SharedStrings& strings,
                 RowCount& rows) {
    const std::size_t row_count = sheet.rows();
    part.text(R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
              R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)");
    part.text(R"(<dimension ref="A1)");
    if (row_count > 0 && sheet.columns > 0 && (row_count > 1 || sheet.columns > 1)) {
        part.text(":").text(column_letters(sheet.columns - 1)).number(std::uint64_t(row_count));
    }
    part.text(R"("/><sheetViews><sheetView )")
        .text(first ? R"(tabSelected="1" )" : "")
        .text(R"(workbookViewId="0"/></sheetViews>)")
        .text(R"(<sheetFormatPr defaultRowHeight="15"/>)");

    std::vector<CellFormat> column_formats(sheet.columns);
    const std::size_t width_count = std::max(sheet.widths.size(), sheet.columns);
    bool cols = false;
    for (std::size_t c = 0; c < width_count; ++c) {
        const double w = c < sheet.widths.size() ? sheet.widths[c] : 0;
        const CellFormat f = whole_format(sheet, c, true);
        if (c < sheet.columns) {
            column_formats[c] = f;
        }
        if (w <= 0 && style_of(f) == 0) {
            continue;
        }
        part.text(cols ? "" : "<cols>").text(R"(<col min=")").number(std::uint64_t(c + 1));
        part.text(R"(" max=")").number(std::uint64_t(c + 1));
        part.text(R"(" width=")").number(stored_width(w > 0 ? w : kDefaultWidth)).text("\"");
        if (style_of(f) != 0) {
            part.text(R"( style=")").number(std::uint64_t(style_of(f))).text("\"");
        }
        part.text(w > 0 ? R"( customWidth="1"/>)" : "/>");
        cols = true;
    }
    part.text(cols ? "</cols><sheetData>" : "<sheetData>");

    std::vector<std::string> letters(sheet.columns);
    for (std::size_t c = 0; c < sheet.columns; ++c) {
        letters[c] = column_letters(c);
    }
    for (std::size_t r = 0; r < row_count; ++r) {
        const double h = r < sheet.heights.size() ? sheet.heights[r] : 0;
        const CellFormat row_format = whole_format(sheet, r, false);
        const std::uint64_t number = r + 1;
        bool open = false;
        const auto open_row = [&] {
            if (open) {
                return;
            }
            open = true;
            part.text(R"(<row r=")").number(number).text("\"");
            if (style_of(row_format) != 0) {
                part.text(R"( s=")")
                    .number(std::uint64_t(style_of(row_format)))
                    .text(R"(" customFormat="1")");
            }
            if (h > 0) {
                part.text(R"( ht=")").number(h).text(R"(" customHeight="1")");
            }
            part.text(">");
        };
        if (h > 0 || style_of(row_format) != 0) {
            open_row();
        }
        for (std::size_t c = 0; c < sheet.columns; ++c) {
            const std::string& text = sheet.at(r, c);
            const CellFormat f = sheet.format_of(r, c);
            if (text.empty() && (style_of(f) == 0 || f == column_formats[c] || f == row_format)) {
                continue;
            }
            open_row();
            part.text(R"(<c r=")").text(letters[c]).number(number).text("\"");
            if (style_of(f) != 0) {
                part.text(R"( s=")").number(std::uint64_t(style_of(f))).text("\"");
            }
            if (text.empty()) {
                part.text("/>");
            } else {
                part.text(R"( t="s"><v>)").number(strings.index(text)).text("</v></c>");
            }
        }
        if (open) {
            part.text("</row>");
        }
        rows.row_written();
    }
    part.text("</sheetData>")
        .text(R"(<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" )"
              R"(footer="0.3"/></worksheet>)");
}

// ---- The package's other parts ------------------------------------------------------------------

void write_styles(PartWriter& part) {
    part.text(R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
              R"(<fonts count="4">)");
    for (const char* face : {"", "<b/>", "<i/>", "<b/><i/>"}) {
        part.text("<font>").text(face).text(
            R"(<sz val="11"/><color theme="1"/><name val="Calibri"/><family val="2"/>)"
            R"(<scheme val="minor"/></font>)");
    }
    part.text(R"(</fonts><fills count="2"><fill><patternFill patternType="none"/></fill>)"
              R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
              R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border>)"
              R"(</borders><cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" )"
              R"(borderId="0"/></cellStyleXfs><cellXfs count="16">)");
    for (unsigned k = 0; k < 16; ++k) {
        const unsigned font = k & 3;
        const bool wrap = (k & 4) != 0, left = (k & 8) != 0;
        part.text(R"(<xf numFmtId="0" fontId=")").number(std::uint64_t(font));
        part.text(R"(" fillId="0" borderId="0" xfId="0")");
        part.text(font != 0 ? R"( applyFont="1")" : "");
        if (!wrap && !left) {
            part.text("/>");
            continue;
        }
        part.text(R"( applyAlignment="1"><alignment)")
            .text(left ? R"( horizontal="left")" : "")
            .text(wrap ? R"( wrapText="1")" : "")
            .text("/></xf>");
    }
    part.text(R"(</cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" )"
              R"(builtinId="0"/></cellStyles></styleSheet>)");
}

void write_package_parts(ZipWriter& zip, const std::vector<std::string>& names) {
    const std::size_t n = names.size();
    {
        PartWriter part(zip, "[Content_Types].xml");
        part.text(
            R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
            R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
            R"(<Default Extension="xml" ContentType="application/xml"/>)"
            R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)");
        for (std::size_t i = 1; i <= n; ++i) {
            part.text(R"(<Override PartName="/xl/worksheets/sheet)")
                .number(std::uint64_t(i))
                .text(
                    R"(.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)");
        }
        part.text(
            R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
            R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>)"
            R"(</Types>)");
        part.close();
    }
    {
        PartWriter part(zip, "_rels/.rels");
        part.text(
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
            R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
            R"(</Relationships>)");
        part.close();
    }
    {
        PartWriter part(zip, "xl/workbook.xml");
        part.text(
            R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
            R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
            R"(<bookViews><workbookView/></bookViews><sheets>)");
        for (std::size_t i = 0; i < n; ++i) {
            part.text(R"(<sheet name=")").escaped(names[i]).text(R"(" sheetId=")");
            part.number(std::uint64_t(i + 1)).text(R"(" r:id="rId)");
            part.number(std::uint64_t(i + 1)).text(R"("/>)");
        }
        part.text("</sheets></workbook>");
        part.close();
    }
    {
        PartWriter part(zip, "xl/_rels/workbook.xml.rels");
        part.text(
            R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)");
        for (std::size_t i = 1; i <= n; ++i) {
            part.text(R"(<Relationship Id="rId)").number(std::uint64_t(i));
            part.text(
                R"(" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet)");
            part.number(std::uint64_t(i)).text(R"(.xml"/>)");
        }
        part.text(R"(<Relationship Id="rId)").number(std::uint64_t(n + 1));
        part.text(
            R"(" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)");
        part.text(R"(<Relationship Id="rId)").number(std::uint64_t(n + 2));
        part.text(
            R"(" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)");
        part.text("</Relationships>");
        part.close();
    }
    {
        PartWriter part(zip, "xl/styles.xml");
        write_styles(part);
        part.close();
    }
}

// Writes the whole workbook into `file` (the new file of `path`), finished and synced.
void write_package(NewFile& file, const std::string& path, const WorkbookLayout& layout,
                   const WorkbookProgress& progress) {
    std::vector<std::string> names;
    RowCount rows{progress};
    for (const SheetLayout& s : layout.sheets) {
        if (s.rows() > kMaxRows || s.columns > kMaxColumns) {
            throw write_error(path,
                              "the sheet \"" + s.name + "\" is larger than a workbook allows");
        }
        names.push_back(s.name);
        rows.total += s.rows();
    }
    names = workbook_sheet_names(names);
    if (names.empty()) {
        // A workbook holds at least one sheet.
        names.push_back("Sheet");
    }
    ZipWriter zip(file, path);
    write_package_parts(zip, names);
    SharedStrings strings;
    const SheetLayout empty;
    for (std::size_t i = 0; i < names.size(); ++i) {
        // The shared strings keep views of the cells: the sheets are taken by reference.
        const SheetLayout& sheet = i < layout.sheets.size() ? layout.sheets[i] : empty;
        PartWriter part(zip, "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml");
        write_sheet(part, sheet, i == 0, strings, rows);
        part.close();
    }
    PartWriter shared(zip, "xl/sharedStrings.xml");
    strings.write(shared);
    shared.close();
    zip.close();
    file.finish();
}

} // namespace

void write_workbook(const std::string& path, const WorkbookLayout& layout,
                    const WorkbookProgress& progress) {
    if (file_exists(path)) {
        throw write_error(path, "a file of that name exists");
    }
    NewFile file(path);
    write_package(file, path, layout, progress);
    if (!file.link_as(path)) {
        throw write_error(path, "a file of that name exists");
    }
}

std::string write_new_workbook(const std::string& folder, const std::string& base,
                               const WorkbookLayout& layout, const WorkbookProgress& progress) {
    make_dirs(folder);
    const std::string first = folder + "/" + base + ".xlsx";
    NewFile file(first);
    write_package(file, first, layout, progress);
    return link_under_new_name(file, folder, base, ".xlsx");
}

} // namespace kov
