#pragma once

#include "io/binary.h"

#include <bit>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

// Reading and patching fields of a file image at byte offsets, for tests that check layouts
// and make damaged files.
namespace fixtures {

inline std::int32_t i32_at(const kov::Bytes& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) {
        v = (v << 8) | b.at(at + std::size_t(k));
    }
    return std::int32_t(v);
}

inline double f64_at(const kov::Bytes& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int k = 7; k >= 0; --k) {
        v = (v << 8) | b.at(at + std::size_t(k));
    }
    return std::bit_cast<double>(v);
}

// The characters of a length-prefixed string (as bytes, without decoding).
inline std::string pstring_at(const kov::Bytes& b, std::size_t at) {
    return std::string(b.begin() + long(at) + 1, b.begin() + long(at) + 1 + b.at(at));
}

inline void put_i32(kov::Bytes& b, std::size_t at, std::int32_t v) {
    for (int k = 0; k < 4; ++k) {
        b.at(at + std::size_t(k)) = std::uint8_t(std::uint32_t(v) >> (8 * k));
    }
}

// The message of the format error a read throws; a failure when the read accepts the file.
template <class F> std::string refusal(F f) {
    try {
        f();
    } catch (const kov::FileError& e) {
        EXPECT_EQ(e.kind(), kov::FileError::Kind::Format);
        return e.what();
    }
    ADD_FAILURE() << "the file was accepted";
    return {};
}

} // namespace fixtures
