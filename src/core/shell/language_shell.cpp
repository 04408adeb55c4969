#include "shell/language_shell.h"

#include "io/files.h"

#include <stdexcept>

namespace kov {

namespace {

const std::string kEmpty;

// One text entry: a 32-bit length L, then the length byte L and L characters.
std::string read_entry(ByteReader& in, std::size_t slot, int& length, const char* table) {
    const std::int32_t len = in.i32(table);
    if (len < 0 || std::size_t(len) > slot) {
        in.fail(std::string("an entry of the ") + table + " has the length " + std::to_string(len) +
                ", its slot holds " + std::to_string(slot));
    }
    const auto raw = in.bytes(std::size_t(len) + 1, table);
    if (raw[0] != len) {
        in.fail(std::string("an entry of the ") + table +
                " has a length byte that disagrees with its length");
    }
    length = len;
    return decode(std::string_view(reinterpret_cast<const char*>(raw.data() + 1), std::size_t(len)),
                  in.codepage());
}

std::string file_name_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

const std::string& LanguageShell::text(int k) const {
    return k >= 0 && std::size_t(k) < texts.size() ? texts[std::size_t(k)] : kEmpty;
}

const std::string& LanguageShell::short_text(int k) const {
    return k >= 0 && std::size_t(k) < short_texts.size() ? short_texts[std::size_t(k)] : kEmpty;
}

const std::string& LanguageShell::list_item(int g, int i) const {
    if (g < 0 || std::size_t(g) >= lists.size()) {
        return kEmpty;
    }
    const auto& list = lists[std::size_t(g)];
    return i >= 0 && std::size_t(i) < list.size() ? list[std::size_t(i)] : kEmpty;
}

std::string LanguageShell::trimmed(int k) const {
    return trim(text(k));
}
std::string LanguageShell::short_trimmed(int k) const {
    return trim(short_text(k));
}

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') {
        ++b;
    }
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') {
        --e;
    }
    return std::string(s.substr(b, e - b));
}

std::string shell_file_name(std::string_view suffix) {
    return "Shell (KOV 1.0)." + std::string(suffix);
}

std::string suffix_of_file_name(std::string_view file_name) {
    const std::u32string name = to_u32(file_name);
    return to_utf8(name.size() <= 3 ? name : std::u32string_view(name).substr(name.size() - 3));
}

bool is_russian_suffix(std::string_view suffix) {
    return suffix == "rus" || suffix == "Rus" || suffix == "рус" || suffix == "Рус";
}

std::string shell_error_text(const std::string& file_name, const std::string& detail) {
    return "The file \"" + file_name + "\" of language shell cannot be used: " + detail +
           ". In this regard, there will an emergency exit from the program.";
}

LanguageShell load_shell(const std::string& path) {
    Bytes data;
    try {
        // A shell holds at most a few thousand entries of at most 260 bytes.
        data = read_file(path, std::size_t(64) << 20);
    } catch (const FileError& e) {
        const std::string detail = e.kind() == FileError::Kind::Missing
                                       ? "the file is missing"
                                       : "it cannot be read (" + e.detail() + ")";
        throw FileError(e.kind(), path, shell_error_text(file_name_of(path), detail));
    }
    return decode_shell(data, path);
}

LanguageShell decode_shell(std::span<const std::uint8_t> data, const std::string& path) {
    LanguageShell shell;
    shell.file_name = file_name_of(path);
    shell.suffix = suffix_of_file_name(shell.file_name);
    shell.codepage = codepage_for_suffix(shell.suffix);
    const bool russian = is_russian_suffix(shell.suffix);
    try {
        ByteReader in(data, path, shell.codepage);
        shell.title = in.pstring(kTitleSlot, "the title");
        const std::int32_t ns = in.i32("the count of short texts");
        const std::int32_t nt = in.i32("the count of texts");
        const std::int32_t nl = in.i32("the count of lists");
        if (ns < 0 || nt < 0 || nl < 0) {
            in.fail("a negative count of entries");
        }
        // Each entry takes at least 5 bytes, each list size 4: a count the file cannot hold is
        // refused before anything is sized by it.
        const std::size_t per_short = russian ? 10 : 5;
        if (std::size_t(ns) > in.remaining() / per_short || std::size_t(nt) > in.remaining() / 5 ||
            std::size_t(nl) > in.remaining() / 4 ||
            std::size_t(ns) * per_short + std::size_t(nt) * 5 + std::size_t(nl) * 4 >
                in.remaining()) {
            in.fail("the counts of entries exceed the size of the file");
        }
        shell.short_texts.resize(std::size_t(ns));
        shell.short_lengths.resize(std::size_t(ns));
        for (std::size_t i = 0; i < std::size_t(ns); ++i) {
            if (russian) {
                int extra_length = 0;
                read_entry(in, kExtraSlot, extra_length, "extra short texts");
            }
            shell.short_texts[i] =
                read_entry(in, kShortSlot, shell.short_lengths[i], "short texts");
        }
        shell.texts.resize(std::size_t(nt));
        shell.text_lengths.resize(std::size_t(nt));
        for (std::size_t i = 0; i < std::size_t(nt); ++i) {
            shell.texts[i] = read_entry(in, kTextSlot, shell.text_lengths[i], "texts");
        }
        std::vector<std::int32_t> sizes(static_cast<std::size_t>(nl));
        for (auto& m : sizes) {
            m = in.i32("the list sizes");
            if (m < 0 || std::size_t(m) > in.remaining() / 5) {
                in.fail("a list size of " + std::to_string(m));
            }
        }
        shell.lists.resize(std::size_t(nl));
        shell.list_lengths.resize(std::size_t(nl));
        for (std::size_t g = 0; g < std::size_t(nl); ++g) {
            shell.lists[g].resize(std::size_t(sizes[g]));
            shell.list_lengths[g].resize(std::size_t(sizes[g]));
            for (std::size_t i = 0; i < std::size_t(sizes[g]); ++i) {
                shell.lists[g][i] = read_entry(in, kTextSlot, shell.list_lengths[g][i], "lists");
            }
        }
    } catch (const FileError& e) {
        throw FileError(e.kind(), path, shell_error_text(shell.file_name, e.detail()));
    }
    return shell;
}

std::string read_shell_title(const std::string& path) {
    const std::string suffix = suffix_of_file_name(file_name_of(path));
    const Bytes data = read_file(path, std::size_t(64) << 20);
    ByteReader in(std::span<const std::uint8_t>(data).first(
                      std::min<std::size_t>(data.size(), kTitleSlot + 1)),
                  path, codepage_for_suffix(suffix));
    return in.pstring(kTitleSlot, "the title");
}

namespace {

void write_entry(ByteWriter& out, const std::string& text, std::size_t slot,
                 const std::string& where) {
    bool lossless = false;
    const std::string bytes = encode(text, out.codepage(), &lossless);
    if (!lossless) {
        throw std::invalid_argument(where + " holds a character the code page cannot store");
    }
    if (bytes.size() > slot) {
        throw std::invalid_argument(where + " is " + std::to_string(bytes.size()) +
                                    " characters long, its slot holds " + std::to_string(slot));
    }
    out.i32(std::int32_t(bytes.size()));
    out.u8(std::uint8_t(bytes.size()));
    out.bytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace

Bytes encode_shell(const ShellImage& image) {
    ByteWriter out(image.codepage);
    if (!representable(image.title, image.codepage) || char_count(image.title) > kTitleSlot) {
        throw std::invalid_argument("the title does not fit 24 characters of the code page");
    }
    out.pstring(image.title, kTitleSlot);
    out.i32(std::int32_t(image.short_texts.size()));
    out.i32(std::int32_t(image.texts.size()));
    out.i32(std::int32_t(image.lists.size()));
    for (std::size_t i = 0; i < image.short_texts.size(); ++i) {
        if (image.russian) {
            write_entry(out, i < image.extra.size() ? image.extra[i] : std::string(), kExtraSlot,
                        "extra short text " + std::to_string(i));
        }
        write_entry(out, image.short_texts[i], kShortSlot, "short text " + std::to_string(i));
    }
    for (std::size_t i = 0; i < image.texts.size(); ++i) {
        write_entry(out, image.texts[i], kTextSlot, "text " + std::to_string(i));
    }
    for (const auto& list : image.lists) {
        out.i32(std::int32_t(list.size()));
    }
    for (std::size_t g = 0; g < image.lists.size(); ++g) {
        for (std::size_t i = 0; i < image.lists[g].size(); ++i) {
            write_entry(out, image.lists[g][i], kTextSlot,
                        "list " + std::to_string(g) + " item " + std::to_string(i));
        }
    }
    return out.take();
}

} // namespace kov
