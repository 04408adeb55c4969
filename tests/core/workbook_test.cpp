#include "book/workbook.h"

#include "io/error.h"
#include "io/files.h"
#include "temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

using namespace kov;
using ::testing::HasSubstr;

namespace {

// ---- A zip package written by hand, so a test can break it on purpose -------------------------

struct ZipEntry {
    std::string name;
    std::string data; // stored as it is (method 0) unless `declared` says otherwise
    // Sizes and method the directory declares instead of the true ones (-1: the true one).
    std::int64_t declared_size = -1, declared_compressed = -1;
    int method = 0;
    // Put the directory entry's offset at this earlier entry's local header (overlap).
    int same_offset_as = -1;
};

std::uint32_t crc32(const std::string& s) {
    std::uint32_t c = 0xFFFFFFFF;
    for (unsigned char b : s) {
        c ^= b;
        for (int k = 0; k < 8; ++k) {
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
    }
    return ~c;
}

void put16(std::string& out, std::uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string zip(const std::vector<ZipEntry>& entries) {
    std::string out, dir;
    std::vector<std::uint32_t> offsets;
    for (const ZipEntry& e : entries) {
        const std::uint32_t size =
            e.declared_size >= 0 ? std::uint32_t(e.declared_size) : std::uint32_t(e.data.size());
        const std::uint32_t csize = e.declared_compressed >= 0
                                        ? std::uint32_t(e.declared_compressed)
                                        : std::uint32_t(e.data.size());
        offsets.push_back(std::uint32_t(out.size()));
        const std::uint32_t offset =
            e.same_offset_as >= 0 ? offsets[std::size_t(e.same_offset_as)] : offsets.back();
        if (e.same_offset_as < 0) {
            put32(out, 0x04034b50);
            put16(out, 20);
            put16(out, 0);
            put16(out, std::uint32_t(e.method));
            put32(out, 0);
            put32(out, crc32(e.data));
            put32(out, csize);
            put32(out, size);
            put16(out, std::uint32_t(e.name.size()));
            put16(out, 0);
            out += e.name;
            out += e.data;
        }
        put32(dir, 0x02014b50);
        put16(dir, 20);
        put16(dir, 20);
        put16(dir, 0);
        put16(dir, std::uint32_t(e.method));
        put32(dir, 0);
        put32(dir, crc32(e.data));
        put32(dir, csize);
        put32(dir, size);
        put16(dir, std::uint32_t(e.name.size()));
        put16(dir, 0);
        put16(dir, 0);
        put16(dir, 0);
        put16(dir, 0);
        put32(dir, 0);
        put32(dir, offset);
        dir += e.name;
    }
    const std::uint32_t dir_offset = std::uint32_t(out.size());
    out += dir;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, std::uint32_t(entries.size()));
    put16(out, std::uint32_t(entries.size()));
    put32(out, std::uint32_t(dir.size()));
    put32(out, dir_offset);
    put16(out, 0);
    return out;
}

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The parts of a workbook as another application writes them: elements with a prefix, sheet
// relationships renumbered, the sheet's target absolute, the shared strings relative.
const char* const kWorkbookXml =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
 xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<x:sheets><x:sheet name="First" sheetId="1" r:id="rId7"/><x:sheet name="Second" sheetId="2" r:id="rId3"/></x:sheets></x:workbook>)";
const char* const kWorkbookRels =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/second.xml"/>
<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
</Relationships>)";
const char* const kSharedStrings =
    R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">
<si><t xml:space="preserve">  two blanks</t></si>
<si><r><t>split </t></r><r><rPr><b/></rPr><t>in runs</t></r><rPh sb="0" eb="1"><t>PHONETIC</t></rPh></si>
<si><t>Объект &amp; дом</t></si></sst>)";

std::string sheet_xml(const std::string& rows) {
    return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           rows + "</sheetData></worksheet>";
}

std::vector<ZipEntry> package(const std::string& sheet1_rows,
                              const std::string& strings = kSharedStrings) {
    return {{"xl/workbook.xml", kWorkbookXml},
            {"xl/_rels/workbook.xml.rels", kWorkbookRels},
            {"xl/sharedStrings.xml", strings},
            {"xl/worksheets/sheet1.xml", sheet_xml(sheet1_rows)},
            {"xl/worksheets/second.xml",
             sheet_xml(R"(<row><c t="inlineStr"><is><t>B</t></is></c></row>)")}};
}

class WorkbookTest : public ::testing::Test {
protected:
    std::string write_zip(const std::vector<ZipEntry>& entries,
                          const std::string& name = "book.xlsx") {
        const std::string path = dir / name;
        write_bytes(path, zip(entries));
        return path;
    }
    TempDir dir;
};

TEST(WorkbookSheetNames, AreCutReplacedAndMadeUnique) {
    const std::string long30(30, 'x');
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"Parameters", "Solution"}, {"Parameters", "Solution"}},
        // Forbidden characters become "_"; an empty name gets one.
        {{"a[b]c:d*e?f/g\\h", ""}, {"a_b_c_d_e_f_g_h", "Sheet"}},
        // Cut to 31 characters, keeping " (k)"; Cyrillic counts characters, not bytes.
        {{long30 + "yz (1)", long30 + "yz (2)"},
         {std::string(27, 'x') + " (1)", std::string(27, 'x') + " (2)"}},
        {{"Параметры объектов недвижимости (3)"}, {"Параметры объектов недвижим (3)"}},
        // Equal names (case aside) are told apart.
        {{"Data", "DATA", "data"}, {"Data", "DATA (2)", "data (3)"}},
        {{long30 + "yz", long30 + "yw"}, {long30 + "y", std::string(27, 'x') + " (2)"}},
    };
    for (const auto& [given, expected] : cases) {
        EXPECT_EQ(workbook_sheet_names(given), expected) << given.front();
    }
}

TEST_F(WorkbookTest, WrittenCellsReadBackAsTheirTexts) {
    WorkbookLayout layout;
    SheetLayout s;
    s.name = "Texts";
    s.columns = 3;
    for (const auto& row : std::vector<std::vector<std::string>>{
             {"  1", "Объект №1", ""}, {"", "1,5", "=A1"}, {"x", "", "end"}}) {
        std::copy(row.begin(), row.end(), s.add_row());
    }
    s.widths = {7, 51};
    s.heights = {52.5};
    s.formats = {{0, 0, 0, kWhole, {true, false, true, false}},
                 {0, 1, kWhole, 1, {false, false, true, false}}};
    layout.sheets = {s, s};
    layout.sheets[1].name = "texts"; // the same name, another case
    const std::string path = dir / "out.xlsx";
    write_workbook(path, layout);

    const auto book = open_workbook(path);
    ASSERT_EQ(book->sheet_count(), 2u);
    const SheetCells cells = book->read_sheet(1, 4, 4, ',');
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_EQ(cells.at(r + 1, c + 1), s.at(r, c)) << r << "," << c;
        }
    }
    EXPECT_EQ(cells.at(4, 4), "");
    EXPECT_THROW(book->read_sheet(2, 1, 1, ','), FileError);

    // A file of that name is never replaced; a new report takes the next free name.
    const Bytes before = read_file(path);
    EXPECT_THROW(write_workbook(path, layout), FileError);
    EXPECT_EQ(read_file(path), before);
    EXPECT_EQ(write_new_workbook(dir.path(), "out", layout), dir / "out (2).xlsx");
    EXPECT_EQ(write_new_workbook(dir.path(), "out", layout), dir / "out (3).xlsx");
}

// The writer tells its progress row by row over all sheets; a stop leaves no file behind, not
// even its temporary one.
TEST_F(WorkbookTest, ProgressCountsRowsAndAStopLeavesNoFile) {
    WorkbookLayout layout;
    SheetLayout s;
    s.name = "rows";
    s.columns = 1;
    for (int r = 0; r < 5; ++r) {
        *s.add_row() = std::to_string(r);
    }
    layout.sheets = {s, s};
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const std::string path =
        write_new_workbook(dir.path(), "out", layout, [&](std::size_t done, std::size_t total) {
            told.emplace_back(done, total);
            return true;
        });
    EXPECT_TRUE(file_exists(path));
    ASSERT_EQ(told.size(), 10u);
    EXPECT_EQ(told.front(), std::make_pair(std::size_t(1), std::size_t(10)));
    EXPECT_EQ(told.back(), std::make_pair(std::size_t(10), std::size_t(10)));

    for (std::size_t stop_at : {1u, 7u}) {
        const auto stop = [&](std::size_t done, std::size_t) { return done < stop_at; };
        EXPECT_THROW(write_new_workbook(dir / "stopped", "out", layout, stop), WorkbookCancelled);
        EXPECT_THROW(write_workbook(dir / "stopped.xlsx", layout, stop), WorkbookCancelled);
        EXPECT_TRUE(std::filesystem::is_empty(dir / "stopped")) << stop_at;
        EXPECT_FALSE(file_exists(dir / "stopped.xlsx"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(WorkbookTest, ReadsWorkbooksOfOtherApplications) {
    // No "r" attributes on the first row; numbers, booleans and shared strings of every kind.
    const std::string path = write_zip(package(
        R"(<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c><v>1.5</v></c><c t="b"><v>1</v></c></row>)"
        R"(<row r="3"><c r="B3" t="s"><v>2</v></c><c r="D3"><v>1E-05</v></c><c><v>42</v></c></row>)"
        R"(<row><c t="inlineStr"><is><r><t xml:space="preserve"> in</t></r><r><t>line</t></r></is></c>)"
        R"(<c t="str"><f>A1</f><v>formula text</v></c></row>)"));
    const auto book = open_workbook(path);
    ASSERT_EQ(book->sheet_count(), 2u);
    const SheetCells c = book->read_sheet(0, 4, 5, ',');
    EXPECT_EQ(c.at(1, 1), "  two blanks");
    EXPECT_EQ(c.at(1, 2), "split in runs");
    EXPECT_EQ(c.at(1, 3), "1,5");
    EXPECT_EQ(c.at(1, 4), "TRUE");
    EXPECT_EQ(c.at(2, 1), "");
    EXPECT_EQ(c.at(3, 2), "Объект & дом");
    EXPECT_EQ(c.at(3, 4), "1e-05");
    EXPECT_EQ(c.at(3, 5), "42");
    EXPECT_EQ(c.at(4, 1), " inline");
    EXPECT_EQ(c.at(4, 2), "formula text");
    EXPECT_EQ(book->read_sheet(1, 1, 1, ',').at(1, 1), "B");
}

TEST_F(WorkbookTest, RefusesHostileAndBrokenWorkbooks) {
    const std::string billion_laughs =
        R"(<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol"><!ENTITY lol2 "&lol;&lol;&lol;&lol;">]>)"
        R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>&lol2;</t></si></sst>)";
    std::vector<ZipEntry> many = package("");
    for (int i = 0; i < 10001; ++i) {
        many.push_back({"x/" + std::to_string(i), ""});
    }
    std::vector<ZipEntry> twice = package("");
    twice.push_back({"xl/workbook.xml", kWorkbookXml});
    std::vector<ZipEntry> overlapping = package("");
    overlapping.push_back({"xl/other.xml", "", -1, -1, 0, 0});
    std::vector<ZipEntry> bomb = package("");
    bomb.push_back({"xl/media/bomb.bin", std::string(1000, 'x'), 200 * 1024, 1000, 8});
    std::vector<ZipEntry> huge = package("");
    huge.push_back({"xl/media/huge.bin", std::string(2000, 'x'), 3000000000LL, 2000, 8});

    const struct {
        const char* what;
        std::vector<ZipEntry> entries;
        const char* message;
    } cases[] = {
        {"document type and entities", package("", billion_laughs), "declares a document type"},
        {"more than 10000 entries", many, "10006 zip entries"},
        {"an entry twice", twice, "is there twice"},
        {"overlapping entries", overlapping, "overlap"},
        {"a ratio above 100", bomb, "expands more than 100 times"},
        {"an entry past the size limit", huge, "expands to 3000000000 bytes"},
        {"a row past the last", package(R"(<row r="1048577"><c><v>1</v></c></row>)"),
         "beyond row 1048576"},
        {"a column past the last", package(R"(<row><c r="XFE1"><v>1</v></c></row>)"),
         "beyond column 16384"},
        {"a cell text too long",
         package("<row><c t=\"inlineStr\"><is><t>" + std::string(32768, 'a') +
                 "</t></is></c></row>"),
         "longer than 32767 characters"},
        {"a shared string out of range", package(R"(<row><c t="s"><v>3</v></c></row>)"),
         "shared string \"3\", which does not exist"},
        {"bad XML", package("<row><c>"), "bad XML"},
    };
    for (const auto& c : cases) {
        const std::string path = write_zip(c.entries);
        try {
            open_workbook(path)->read_sheet(0, 10, 10, ',');
            ADD_FAILURE() << c.what << " was read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.kind(), FileError::Kind::Format) << c.what;
            EXPECT_THAT(e.what(), HasSubstr(path)) << c.what;
            EXPECT_THAT(e.what(), HasSubstr(c.message)) << c.what;
        }
    }
    // Neither a zip package nor a compound document.
    write_bytes(dir / "plain.xlsx", "just some text, not a workbook");
    EXPECT_THROW(open_workbook(dir / "plain.xlsx"), FileError);
    EXPECT_THROW(open_workbook(dir / "missing.xlsx"), FileError);
}

} // namespace
