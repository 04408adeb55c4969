#include "book/workbook.h"

#include "io/codepage.h"
#include "io/error.h"
#include "io/files.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace kov {

std::string* SheetLayout::add_row() {
    cells.resize(cells.size() + columns);
    return cells.data() + cells.size() - columns;
}

CellFormat SheetLayout::format_of(std::size_t row, std::size_t col) const {
    CellFormat f;
    for (const FormatRange& r : formats) {
        if (row < r.first_row || col < r.first_col || (r.last_row != kWhole && row > r.last_row) ||
            (r.last_col != kWhole && col > r.last_col)) {
            continue;
        }
        f.bold |= r.format.bold;
        f.italic |= r.format.italic;
        f.wrap |= r.format.wrap;
        f.left |= r.format.left;
    }
    return f;
}

namespace {

constexpr std::size_t kMaxSheetName = 31;

// The characters of a name with a trailing " (k)" taken apart.
std::pair<std::u32string, std::u32string> split_suffix(const std::u32string& name) {
    if (name.size() >= 4 && name.back() == U')') {
        std::size_t i = name.size() - 1;
        while (i > 0 && name[i - 1] >= U'0' && name[i - 1] <= U'9') {
            --i;
        }
        if (i < name.size() - 1 && i >= 2 && name[i - 1] == U'(' && name[i - 2] == U' ') {
            return {name.substr(0, i - 2), name.substr(i - 2)};
        }
    }
    return {name, U""};
}

std::u32string cut_name(const std::u32string& name) {
    if (name.size() <= kMaxSheetName) {
        return name;
    }
    auto [stem, suffix] = split_suffix(name);
    if (suffix.size() >= kMaxSheetName) {
        return name.substr(0, kMaxSheetName);
    }
    return stem.substr(0, kMaxSheetName - suffix.size()) + suffix;
}

std::u32string folded(std::u32string s) {
    for (char32_t& c : s) {
        if (c < 128) {
            c = char32_t(std::tolower(int(c)));
        } else if (c >= 0x410 && c <= 0x42F) { // Cyrillic capitals
            c += 0x20;
        }
    }
    return s;
}

} // namespace

std::vector<std::string> workbook_sheet_names(const std::vector<std::string>& names) {
    std::vector<std::u32string> taken;
    std::vector<std::string> out;
    for (const std::string& given : names) {
        std::u32string name = to_u32(given);
        for (char32_t& c : name) {
            if (c == U'[' || c == U']' || c == U':' || c == U'*' || c == U'?' || c == U'/' ||
                c == U'\\' || c < 0x20) {
                c = U'_';
            }
        }
        // A name may not begin or end with an apostrophe.
        if (!name.empty() && name.front() == U'\'') {
            name.front() = U'_';
        }
        if (!name.empty() && name.back() == U'\'') {
            name.back() = U'_';
        }
        if (name.empty()) {
            name = U"Sheet";
        }
        name = cut_name(name);
        std::u32string unique = name;
        for (int k = 2; std::find(taken.begin(), taken.end(), folded(unique)) != taken.end(); ++k) {
            std::u32string suffix = to_u32(" (" + std::to_string(k) + ")");
            unique = name.substr(0, std::min(name.size(), kMaxSheetName - suffix.size())) + suffix;
        }
        taken.push_back(folded(unique));
        out.push_back(to_utf8(unique));
    }
    return out;
}

std::unique_ptr<WorkbookReader> open_workbook(const std::string& path,
                                              const WorkbookLimits& limits) {
    if (!file_exists(path)) {
        throw FileError(FileError::Kind::Missing, path, "");
    }
    std::ifstream in(path, std::ios::binary);
    char magic[8] = {};
    if (!in.read(magic, sizeof magic)) {
        throw format_error(path, "not a workbook: the file is too short");
    }
    if (magic[0] == 'P' && magic[1] == 'K') {
        return open_xlsx(path, limits);
    }
    static const unsigned char kCompound[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (std::equal(magic, magic + 8, reinterpret_cast<const char*>(kCompound))) {
        return open_xls(path, limits);
    }
    throw format_error(path, "not a workbook (neither .xlsx nor .xls)");
}

} // namespace kov
