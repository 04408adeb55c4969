// The .xlsx reader: the zip package is checked as a whole before anything is expanded (entry
// count, names, overlapping entries, declared sizes and compression ratios), then the parts are
// expanded in small pieces into a streaming XML parser that refuses document type and entity
// declarations. Shared strings (plain or in runs, phonetic runs left out), inline strings,
// numbers, booleans and formula results are read; relationship targets may be relative or
// absolute, ids in any numbering, "r" attributes present or not, elements with any prefix.

#include "book/workbook.h"

#include "io/codepage.h"
#include "io/error.h"
#include "io/numbers.h"

#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>

namespace kov {

namespace {

// ---- The zip package -----------------------------------------------------------------------

std::uint32_t u16(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t u32(const unsigned char* p) {
    return u16(p) | u16(p + 2) << 16;
}

struct Entry {
    std::string name;
    std::uint64_t offset = 0, compressed = 0, size = 0;
};

std::string to_string_size(std::uint64_t n) {
    return std::to_string(n);
}

// Reads the central directory and checks the package's shape against the limits.
std::vector<Entry> check_package(const std::string& path, const WorkbookLimits& limits) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw FileError(FileError::Kind::Read, path, "");
    }
    in.seekg(0, std::ios::end);
    const std::uint64_t file_size = std::uint64_t(in.tellg());
    const std::uint64_t tail = std::min<std::uint64_t>(file_size, 22 + 65535);
    std::vector<unsigned char> end(tail);
    in.seekg(std::streamoff(file_size - tail));
    in.read(reinterpret_cast<char*>(end.data()), std::streamsize(tail));
    std::size_t eocd = std::string::npos;
    for (std::size_t i = tail >= 22 ? tail - 22 + 1 : 0; i-- > 0;) {
        if (u32(&end[i]) == 0x06054b50) {
            eocd = i;
            break;
        }
    }
    if (!in || eocd == std::string::npos) {
        throw format_error(path, "not a workbook: the zip directory is missing");
    }
    const unsigned char* e = &end[eocd];
    const std::uint32_t count = u16(e + 10);
    const std::uint32_t dir_size = u32(e + 12);
    const std::uint32_t dir_offset = u32(e + 16);
    if (count == 0xFFFF || dir_offset == 0xFFFFFFFF) {
        throw format_error(path, "the workbook is larger than a workbook may be (zip64)");
    }
    if (count > limits.max_entries) {
        throw format_error(path, "the workbook holds " + std::to_string(count) +
                                     " zip entries, more than " +
                                     std::to_string(limits.max_entries));
    }
    if (std::uint64_t(dir_offset) + dir_size > file_size) {
        throw format_error(path, "the zip directory lies beyond the end of the file");
    }
    std::vector<unsigned char> dir(dir_size);
    in.seekg(dir_offset);
    in.read(reinterpret_cast<char*>(dir.data()), std::streamsize(dir_size));
    if (!in) {
        throw format_error(path, "the zip directory cannot be read");
    }
    std::vector<Entry> entries;
    std::set<std::string> names;
    std::size_t pos = 0;
    std::uint64_t declared_total = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos + 46 > dir.size() || u32(&dir[pos]) != 0x02014b50) {
            throw format_error(path, "the zip directory is broken");
        }
        const unsigned char* h = &dir[pos];
        Entry en;
        en.compressed = u32(h + 20);
        en.size = u32(h + 24);
        const std::size_t name_len = u16(h + 28);
        const std::size_t extra = u16(h + 30) + u16(h + 32);
        en.offset = u32(h + 42);
        if (pos + 46 + name_len + extra > dir.size()) {
            throw format_error(path, "the zip directory is broken");
        }
        en.name.assign(reinterpret_cast<const char*>(h + 46), name_len);
        pos += 46 + name_len + extra;
        if (en.compressed == 0xFFFFFFFF || en.size == 0xFFFFFFFF || en.offset == 0xFFFFFFFF) {
            throw format_error(path, "the zip entry \"" + en.name + "\" is too large (zip64)");
        }
        std::string folded = en.name;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (!names.insert(folded).second) {
            throw format_error(path, "the zip entry \"" + en.name + "\" is there twice");
        }
        if (en.size > limits.max_entry_size) {
            throw format_error(path, "the zip entry \"" + en.name + "\" expands to " +
                                         to_string_size(en.size) + " bytes, more than " +
                                         to_string_size(limits.max_entry_size));
        }
        if (en.size > limits.ratio_from &&
            double(en.size) > limits.max_ratio * double(en.compressed)) {
            throw format_error(path, "the zip entry \"" + en.name + "\" expands more than " +
                                         std::to_string(int(limits.max_ratio)) + " times");
        }
        declared_total += en.size;
        if (declared_total > limits.max_total_size) {
            throw format_error(path, "the workbook expands to more than " +
                                         to_string_size(limits.max_total_size) + " bytes");
        }
        entries.push_back(std::move(en));
    }
    // Every entry's local header and data must lie apart from every other's and before the
    // directory.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    for (const Entry& en : entries) {
        unsigned char local[30];
        in.seekg(std::streamoff(en.offset));
        in.read(reinterpret_cast<char*>(local), 30);
        if (!in || u32(local) != 0x04034b50) {
            throw format_error(path, "the zip entry \"" + en.name + "\" has no local header");
        }
        const std::uint64_t stop =
            en.offset + 30 + u16(local + 26) + u16(local + 28) + en.compressed;
        if (stop > dir_offset) {
            throw format_error(path, "the zip entry \"" + en.name + "\" runs into the directory");
        }
        spans.emplace_back(en.offset, stop);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) {
            throw format_error(path, "zip entries overlap");
        }
    }
    return entries;
}

// ---- Streaming XML ---------------------------------------------------------------------------

// Receives the parser's events with names stripped of their namespace.
struct XmlHandler {
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const char** attrs) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
};

// A name without its prefix ("x:c" -> "c"). Names are matched by their local part whatever
// prefix a writer chose; namespaces are not resolved, which keeps the names short to compare.
std::string_view local_name(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon != nullptr ? std::string_view(colon + 1) : std::string_view(name);
}

// The value of an attribute by local name; `qualified` asks for one with a prefix (r:id).
const char* attribute(const char** attrs, std::string_view name, bool qualified = false) {
    for (; attrs[0] != nullptr; attrs += 2) {
        const char* colon = std::strchr(attrs[0], ':');
        if ((colon != nullptr) == qualified &&
            std::string_view(colon != nullptr ? colon + 1 : attrs[0]) == name) {
            return attrs[1];
        }
    }
    return nullptr;
}

class Package;

struct ParseState {
    XmlHandler* handler = nullptr;
    XML_Parser parser = nullptr;
    std::string refusal;
};

void XMLCALL on_start(void* data, const char* name, const char** attrs) {
    auto* s = static_cast<ParseState*>(data);
    try {
        s->handler->start(local_name(name), attrs);
    } catch (const std::exception& e) {
        s->refusal = e.what();
        XML_StopParser(s->parser, XML_FALSE);
    }
}
void XMLCALL on_end(void* data, const char* name) {
    auto* s = static_cast<ParseState*>(data);
    try {
        s->handler->end(local_name(name));
    } catch (const std::exception& e) {
        s->refusal = e.what();
        XML_StopParser(s->parser, XML_FALSE);
    }
}
void XMLCALL on_text(void* data, const char* text, int len) {
    auto* s = static_cast<ParseState*>(data);
    try {
        s->handler->text(std::string_view(text, std::size_t(len)));
    } catch (const std::exception& e) {
        s->refusal = e.what();
        XML_StopParser(s->parser, XML_FALSE);
    }
}
void XMLCALL on_doctype(void* data, const char*, const char*, const char*, int) {
    auto* s = static_cast<ParseState*>(data);
    s->refusal = "it declares a document type";
    XML_StopParser(s->parser, XML_FALSE);
}
void XMLCALL on_entity(void* data, const char*, int, const char*, int, const char*, const char*,
                       const char*, const char*) {
    auto* s = static_cast<ParseState*>(data);
    s->refusal = "it declares an entity";
    XML_StopParser(s->parser, XML_FALSE);
}

// A refusal while a handler reads a part: the message says what is wrong.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Package {
public:
    Package(const std::string& path, const WorkbookLimits& limits)
        : path_(path)
        , limits_(limits) {
        entries_ = check_package(path, limits);
        int err = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
        if (zip_ == nullptr) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, err);
            const std::string what = zip_error_strerror(&ze);
            zip_error_fini(&ze);
            throw format_error(path, "not a workbook: " + what);
        }
    }
    ~Package() { zip_discard(zip_); }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool has(const std::string& part) const {
        return zip_name_locate(zip_, part.c_str(), ZIP_FL_NOCASE) >= 0;
    }

    // Expands the part piece by piece into the XML parser.
    void parse(const std::string& part, XmlHandler& handler) {
        const zip_int64_t index = zip_name_locate(zip_, part.c_str(), ZIP_FL_NOCASE);
        if (index < 0) {
            throw format_error(path_, "the part \"" + part + "\" is missing");
        }
        zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(index), 0);
        if (file == nullptr) {
            throw format_error(path_, "the part \"" + part +
                                          "\" cannot be expanded: " + zip_strerror(zip_));
        }
        const std::uint64_t declared = entries_.at(std::size_t(index)).size;
        ParseState state;
        state.handler = &handler;
        XML_Parser parser = XML_ParserCreate(nullptr);
        state.parser = parser;
        XML_SetUserData(parser, &state);
        XML_SetElementHandler(parser, on_start, on_end);
        XML_SetCharacterDataHandler(parser, on_text);
        XML_SetStartDoctypeDeclHandler(parser, on_doctype);
        XML_SetEntityDeclHandler(parser, on_entity);
        std::string problem;
        constexpr int kPiece = 1 << 16;
        std::uint64_t done = 0;
        while (true) {
            // The part expands straight into the parser's own buffer.
            void* buffer = XML_GetBuffer(parser, kPiece);
            if (buffer == nullptr) {
                problem = "the parser has no memory left";
                break;
            }
            const zip_int64_t n = zip_fread(file, buffer, kPiece);
            if (n < 0) {
                problem = std::string("it cannot be expanded: ") + zip_file_strerror(file);
                break;
            }
            done += std::uint64_t(n);
            total_ += std::uint64_t(n);
            if (done > declared) {
                problem = "it expands beyond its declared size";
                break;
            }
            if (total_ > limits_.max_total_size) {
                problem = "the workbook expands beyond " + to_string_size(limits_.max_total_size) +
                          " bytes";
                break;
            }
            if (XML_ParseBuffer(parser, int(n), n == 0) == XML_STATUS_ERROR) {
                problem = !state.refusal.empty()
                              ? state.refusal
                              : std::string("bad XML: ") +
                                    XML_ErrorString(XML_GetErrorCode(parser)) + " at line " +
                                    std::to_string(XML_GetCurrentLineNumber(parser));
                break;
            }
            if (n == 0) {
                break;
            }
        }
        XML_ParserFree(parser);
        zip_fclose(file);
        if (!problem.empty()) {
            throw format_error(path_, "the part \"" + part + "\": " + problem);
        }
    }

    const std::string& path() const { return path_; }
    const WorkbookLimits& limits() const { return limits_; }

private:
    std::string path_;
    WorkbookLimits limits_;
    std::vector<Entry> entries_;
    zip_t* zip_ = nullptr;
    std::uint64_t total_ = 0;
};

// ---- Parts ----------------------------------------------------------------------------------

// "xl/workbook.xml" -> "xl/"; a target relative to it or absolute ("/xl/...").
std::string folder_of(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

std::string resolve(const std::string& base_folder, std::string target) {
    if (!target.empty() && target[0] == '/') {
        return target.substr(1);
    }
    std::vector<std::string> parts;
    std::string joined = base_folder + target;
    std::size_t from = 0;
    while (from <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', from), joined.size());
        const std::string piece = joined.substr(from, slash - from);
        if (piece == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        from = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "/") + p;
    }
    return out;
}

std::string rels_of(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos
               ? "_rels/" + part + ".rels"
               : part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

struct Relationship {
    std::string type; // the last piece of the type URI: "officeDocument", "worksheet", ...
    std::string target;
};

struct RelsHandler : XmlHandler {
    std::map<std::string, Relationship> rels;
    void start(std::string_view name, const char** attrs) override {
        if (name != "Relationship") {
            return;
        }
        const char* id = attribute(attrs, "Id");
        const char* type = attribute(attrs, "Type");
        const char* target = attribute(attrs, "Target");
        const char* mode = attribute(attrs, "TargetMode");
        if (id == nullptr || target == nullptr ||
            (mode != nullptr && std::string_view(mode) == "External")) {
            return;
        }
        std::string t = type != nullptr ? type : "";
        rels[id] = Relationship{t.substr(t.rfind('/') + 1), target};
    }
    void end(std::string_view) override {}
};

struct WorkbookHandler : XmlHandler {
    std::vector<std::string> sheet_ids;
    void start(std::string_view name, const char** attrs) override {
        if (name == "sheet") {
            const char* id = attribute(attrs, "id", true);
            if (id == nullptr) {
                throw Refusal("a sheet has no relationship id");
            }
            sheet_ids.emplace_back(id);
        }
    }
    void end(std::string_view) override {}
};

// Collects the text of <t> elements, outside phonetic runs (<rPh>).
struct TextCollector {
    int in_t = 0;
    int in_phonetic = 0;
    std::string text;
    std::size_t max_bytes = 0;

    void start(std::string_view name) {
        if (name == "t") {
            ++in_t;
        } else if (name == "rPh") {
            ++in_phonetic;
        }
    }
    void end(std::string_view name) {
        if (name == "t") {
            --in_t;
        } else if (name == "rPh") {
            --in_phonetic;
        }
    }
    void add(std::string_view s) {
        if (in_t > 0 && in_phonetic == 0) {
            text += s;
            if (text.size() > max_bytes) {
                throw Refusal("a cell text is longer than a cell may hold");
            }
        }
    }
};

void check_text_length(const std::string& text, const WorkbookLimits& limits) {
    if (text.size() > limits.max_text && char_count(text) > limits.max_text) {
        throw Refusal("a cell text is longer than " + std::to_string(limits.max_text) +
                      " characters");
    }
}

struct SharedStringsHandler : XmlHandler {
    explicit SharedStringsHandler(const WorkbookLimits& l)
        : limits(l) {
        collector.max_bytes = 4 * l.max_text;
    }
    const WorkbookLimits& limits;
    std::vector<std::string> strings;
    std::size_t bytes = 0;
    TextCollector collector;
    bool in_si = false;

    void start(std::string_view name, const char**) override {
        if (name == "si") {
            in_si = true;
            collector = TextCollector{0, 0, {}, collector.max_bytes};
        } else if (in_si) {
            collector.start(name);
        }
    }
    void end(std::string_view name) override {
        if (name == "si") {
            in_si = false;
            check_text_length(collector.text, limits);
            if (strings.size() >= limits.max_shared_strings) {
                throw Refusal("more than " + std::to_string(limits.max_shared_strings) +
                              " shared strings");
            }
            bytes += collector.text.size();
            if (bytes > limits.max_shared_bytes) {
                throw Refusal("the shared strings are longer than " +
                              std::to_string(limits.max_shared_bytes) + " bytes together");
            }
            strings.push_back(std::move(collector.text));
        } else if (in_si) {
            collector.end(name);
        }
    }
    void text(std::string_view s) override {
        if (in_si) {
            collector.add(s);
        }
    }
};

// "BC12" -> column 55 (1-based) and row 12; false when the text is no cell reference.
bool parse_reference(std::string_view ref, std::size_t& row, std::size_t& col) {
    std::size_t i = 0;
    col = 0;
    while (i < ref.size() &&
           ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        col = col * 26 + std::size_t((ref[i] | 0x20) - 'a' + 1);
        if (col > (std::size_t(1) << 24)) {
            return false;
        }
        ++i;
    }
    if (i == 0 || i == ref.size()) {
        return false;
    }
    const auto r = std::from_chars(ref.data() + i, ref.data() + ref.size(), row);
    return r.ec == std::errc() && r.ptr == ref.data() + ref.size();
}

struct SheetHandler : XmlHandler {
    SheetHandler(const WorkbookLimits& l, const std::vector<std::string>& shared, SheetCells& out,
                 char dc)
        : limits(l)
        , strings(shared)
        , cells(out)
        , decimal_char(dc) {
        collector.max_bytes = 4 * l.max_text;
    }
    const WorkbookLimits& limits;
    const std::vector<std::string>& strings;
    SheetCells& cells;
    char decimal_char;

    bool in_data = false;
    std::size_t row = 0, col = 0; // the current row and cell, 1-based
    bool in_cell = false;
    std::string type;
    int in_v = 0;
    std::string value;
    bool in_inline = false;
    TextCollector collector;

    void start(std::string_view name, const char** attrs) override {
        if (name == "sheetData") {
            in_data = true;
        } else if (!in_data) {
            return;
        } else if (name == "row") {
            const char* r = attribute(attrs, "r");
            std::size_t n = row + 1;
            if (r != nullptr) {
                const auto res = std::from_chars(r, r + std::strlen(r), n);
                if (res.ec != std::errc() || *res.ptr != '\0' || n == 0) {
                    throw Refusal(std::string("a row has the number \"") + r + "\"");
                }
            }
            if (n > limits.max_rows) {
                throw Refusal("a row lies beyond row " + std::to_string(limits.max_rows));
            }
            row = n;
            col = 0;
        } else if (name == "c") {
            const char* r = attribute(attrs, "r");
            std::size_t c = col + 1;
            if (r != nullptr) {
                std::size_t rr = 0;
                if (!parse_reference(r, rr, c) || rr == 0) {
                    throw Refusal(std::string("a cell has the reference \"") + r + "\"");
                }
                if (rr > limits.max_rows) {
                    throw Refusal("a row lies beyond row " + std::to_string(limits.max_rows));
                }
                row = rr;
            }
            if (c == 0 || c > limits.max_columns) {
                throw Refusal("a cell lies beyond column " + std::to_string(limits.max_columns));
            }
            if (row == 0) {
                row = 1;
            }
            col = c;
            const char* t = attribute(attrs, "t");
            type = t != nullptr ? t : "n";
            in_cell = true;
            value.clear();
            collector = TextCollector{0, 0, {}, collector.max_bytes};
        } else if (in_cell && name == "v") {
            ++in_v;
        } else if (in_cell && name == "is") {
            in_inline = true;
        } else if (in_inline) {
            collector.start(name);
        }
    }
    void end(std::string_view name) override {
        if (name == "sheetData") {
            in_data = false;
        } else if (in_cell && name == "v") {
            --in_v;
        } else if (in_cell && name == "is") {
            in_inline = false;
        } else if (in_inline) {
            collector.end(name);
        } else if (in_cell && name == "c") {
            in_cell = false;
            if (row <= cells.rows && col <= cells.columns) {
                cells.cells[(row - 1) * cells.columns + (col - 1)] = cell_text();
            } else if (type == "s") {
                cell_text(); // the index is checked all the same
            }
        }
    }
    void text(std::string_view s) override {
        if (in_v > 0) {
            value += s;
            if (value.size() > collector.max_bytes) {
                throw Refusal("a cell value is longer than a cell may hold");
            }
        } else if (in_inline) {
            collector.add(s);
        }
    }

    std::string cell_text() {
        if (type == "s") {
            std::size_t index = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), index);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size() ||
                index >= strings.size()) {
                throw Refusal("a cell refers to the shared string \"" + value +
                              "\", which does not exist");
            }
            return strings[index];
        }
        if (type == "inlineStr") {
            check_text_length(collector.text, limits);
            return std::move(collector.text);
        }
        if (type == "b") {
            return value == "1" || value == "true" ? "TRUE" : "FALSE";
        }
        if (type == "n") {
            double x = 0;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), x);
            if (!value.empty() && r.ec == std::errc() && r.ptr == value.data() + value.size()) {
                return format_general(x, decimal_char);
            }
        }
        check_text_length(value, limits);
        return value; // formula strings, errors, dates as ISO texts
    }
};

class XlsxReader final : public WorkbookReader {
public:
    XlsxReader(const std::string& path, const WorkbookLimits& limits)
        : package_(path, limits) {
        std::string workbook = "xl/workbook.xml";
        if (package_.has("_rels/.rels")) {
            RelsHandler root;
            package_.parse("_rels/.rels", root);
            for (const auto& [id, rel] : root.rels) {
                if (rel.type == "officeDocument") {
                    workbook = resolve("", rel.target);
                }
            }
        }
        WorkbookHandler book;
        package_.parse(workbook, book);
        RelsHandler rels;
        const std::string rels_part = rels_of(workbook);
        if (package_.has(rels_part)) {
            package_.parse(rels_part, rels);
        }
        const std::string folder = folder_of(workbook);
        for (const std::string& id : book.sheet_ids) {
            const auto it = rels.rels.find(id);
            if (it == rels.rels.end()) {
                throw format_error(path, "the sheet relationship \"" + id + "\" is missing");
            }
            sheets_.push_back(resolve(folder, it->second.target));
        }
        for (const auto& [id, rel] : rels.rels) {
            if (rel.type == "sharedStrings") {
                SharedStringsHandler shared(limits);
                package_.parse(resolve(folder, rel.target), shared);
                strings_ = std::move(shared.strings);
            }
        }
    }

    std::size_t sheet_count() const override { return sheets_.size(); }

    SheetCells read_sheet(std::size_t index, std::size_t rows, std::size_t columns,
                          char decimal_char) override {
        if (index >= sheets_.size()) {
            throw format_error(package_.path(), "it has no sheet " + std::to_string(index + 1));
        }
        rows = std::min(rows, package_.limits().max_rows);
        columns = std::min(columns, package_.limits().max_columns);
        SheetCells cells;
        cells.rows = rows;
        cells.columns = columns;
        cells.cells.resize(rows * columns);
        SheetHandler handler(package_.limits(), strings_, cells, decimal_char);
        package_.parse(sheets_[index], handler);
        return cells;
    }

private:
    Package package_;
    std::vector<std::string> sheets_;
    std::vector<std::string> strings_;
};

} // namespace

std::unique_ptr<WorkbookReader> open_xlsx(const std::string& path, const WorkbookLimits& limits) {
    return std::make_unique<XlsxReader>(path, limits);
}

} // namespace kov
