#pragma once

#include "io/codepage.h"
#include "io/error.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

using Bytes = std::vector<std::uint8_t>;

// Bounds-checked little-endian reading of a file image held in memory. Every read checks the
// bytes left and throws a format error naming the file, so no count read from a file can lead
// to a read outside the data.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> data, std::string file_name,
               CodePage cp = CodePage::Cp1252)
        : data_(data)
        , file_(std::move(file_name))
        , cp_(cp) {}

    std::int32_t i32(std::string_view what);
    double f64(std::string_view what);
    std::uint8_t u8(std::string_view what);
    std::span<const std::uint8_t> bytes(std::size_t n, std::string_view what);
    void skip(std::size_t n, std::string_view what) { bytes(n, what); }

    // A length-prefixed string of fixed capacity: one length byte and `capacity` bytes. A length
    // byte above the capacity is a format error.
    std::string pstring(std::size_t capacity, std::string_view what);

    // A count read as a 32-bit integer that must lie in [lo, hi].
    std::int32_t count(std::string_view what, std::int32_t lo, std::int32_t hi);

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool at_end() const { return pos_ == data_.size(); }
    void expect_end(std::string_view what);
    // Throws unless at least `n` bytes are left (checks a whole table before it is sized).
    void need(std::size_t n, std::string_view what);
    void seek(std::size_t pos, std::string_view what);

    const std::string& file() const { return file_; }
    CodePage codepage() const { return cp_; }
    [[noreturn]] void fail(const std::string& detail) const;

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::string file_;
    CodePage cp_;
};

// Little-endian building of a whole file image in memory, written afterwards in one piece.
class ByteWriter {
public:
    explicit ByteWriter(CodePage cp = CodePage::Cp1252)
        : cp_(cp) {}

    void i32(std::int32_t v);
    void f64(double v);
    void u8(std::uint8_t v) { out_.push_back(v); }
    void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    // A length-prefixed string of the given capacity, cut to the capacity (in code-page
    // characters) and zero-filled behind its characters.
    void pstring(std::string_view utf8, std::size_t capacity);

    const Bytes& data() const { return out_; }
    Bytes take() { return std::move(out_); }
    std::size_t size() const { return out_.size(); }
    CodePage codepage() const { return cp_; }

private:
    Bytes out_;
    CodePage cp_;
};

} // namespace kov
