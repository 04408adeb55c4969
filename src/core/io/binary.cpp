#include "io/binary.h"

#include <bit>
#include <cstring>

namespace kov {

namespace {

std::uint64_t load_le(const std::uint8_t* p, int n) {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

void store_le(Bytes& out, std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

} // namespace

void ByteReader::fail(const std::string& detail) const {
    throw format_error(file_, detail + " (at byte " + std::to_string(pos_) + ")");
}

void ByteReader::need(std::size_t n, std::string_view what) {
    if (n > remaining()) {
        fail("the file ends early in " + std::string(what));
    }
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t n, std::string_view what) {
    need(n, what);
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
}

std::uint8_t ByteReader::u8(std::string_view what) {
    return bytes(1, what)[0];
}

std::int32_t ByteReader::i32(std::string_view what) {
    const auto b = bytes(4, what);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(load_le(b.data(), 4)));
}

double ByteReader::f64(std::string_view what) {
    const auto b = bytes(8, what);
    return std::bit_cast<double>(load_le(b.data(), 8));
}

std::string ByteReader::pstring(std::size_t capacity, std::string_view what) {
    const auto b = bytes(capacity + 1, what);
    if (b[0] > capacity) {
        pos_ -= capacity + 1;
        fail(std::string(what) + ": length " + std::to_string(b[0]) + " exceeds its capacity " +
             std::to_string(capacity));
    }
    return decode(std::string_view(reinterpret_cast<const char*>(b.data() + 1), b[0]), cp_);
}

std::int32_t ByteReader::count(std::string_view what, std::int32_t lo, std::int32_t hi) {
    const std::int32_t v = i32(what);
    if (v < lo || v > hi) {
        pos_ -= 4;
        fail(std::string(what) + " " + std::to_string(v) + " is outside " + std::to_string(lo) +
             ".." + std::to_string(hi));
    }
    return v;
}

void ByteReader::expect_end(std::string_view what) {
    if (!at_end()) {
        fail(std::to_string(remaining()) + " unexpected bytes after " + std::string(what));
    }
}

void ByteReader::seek(std::size_t pos, std::string_view what) {
    if (pos > data_.size()) {
        fail("the file ends early before " + std::string(what));
    }
    pos_ = pos;
}

void ByteWriter::i32(std::int32_t v) {
    store_le(out_, static_cast<std::uint32_t>(v), 4);
}

void ByteWriter::f64(double v) {
    store_le(out_, std::bit_cast<std::uint64_t>(v), 8);
}

void ByteWriter::pstring(std::string_view utf8, std::size_t capacity) {
    std::string bytes = encode(left_chars(utf8, capacity), cp_);
    if (bytes.size() > capacity) {
        bytes.resize(capacity);
    }
    out_.push_back(static_cast<std::uint8_t>(bytes.size()));
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    out_.insert(out_.end(), capacity - bytes.size(), 0);
}

} // namespace kov
