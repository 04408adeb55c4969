#include "stats/stat_file.h"

#include "data_fixtures.h"
#include "file_bytes.h"
#include "io/files.h"
#include "temp_dir.h"

#include <bit>

#include <gtest/gtest.h>

using namespace kov;
using fixtures::f64_at;
using fixtures::i32_at;
using fixtures::make_stat_file;
using fixtures::pstring_at;
using fixtures::put_i32;
using fixtures::refusal;

TEST(StatFile, OneVariantIs328Bytes) {
    static_assert(kStatHeaderSize == 88 && kStatVariantSize == 80 && kStatThresholdSize == 16);
    const StatFile s = make_stat_file(1);
    const Bytes b = encode_stat_file(s, CodePage::Cp1252);
    EXPECT_EQ(b.size(), 328u);
    EXPECT_EQ(stat_file_size(1), 328u);
    EXPECT_EQ(decode_stat_file(b, "f", 1, CodePage::Cp1252), s);
}

TEST(StatFile, LayoutAndByteExactRoundTrip) {
    StatFile s = make_stat_file(3);
    s.header.money_unit = "грн";
    s.header.time_unit = "месяцы";
    const Bytes b = encode_stat_file(s, CodePage::Cp1251);
    ASSERT_EQ(b.size(), 88u + 3 * 240);
    EXPECT_EQ(i32_at(b, 0), 10000);
    EXPECT_EQ(b[4], 7);
    EXPECT_EQ(b[45], 3);
    EXPECT_EQ(b[66], 6);
    EXPECT_EQ(b[87], 0);
    EXPECT_EQ(i32_at(b, 88), 3); // the first record is variant 3
    EXPECT_EQ(i32_at(b, 92), 0);
    EXPECT_EQ(f64_at(b, 88 + 8), 1000.0);
    EXPECT_EQ(f64_at(b, 88 + 32), 100.0);
    EXPECT_EQ(f64_at(b, 88 + 72), 49.75);
    const std::size_t blocks = 88 + 3 * 80;
    EXPECT_EQ(f64_at(b, blocks), 0.1);
    EXPECT_EQ(f64_at(b, blocks + 9 * 16), 1.0);
    const StatFile back = decode_stat_file(b, "f", 3, CodePage::Cp1251);
    EXPECT_EQ(back, s);
    EXPECT_EQ(back.header.money_unit, "грн");
    EXPECT_EQ(encode_stat_file(back, CodePage::Cp1251), b);
    // The record sorted first, variant number 3, has its thresholds in the third block.
    EXPECT_EQ(back.variants[0].number, 3);
    EXPECT_EQ(&back.block_of(back.variants[0]), &back.blocks[2]);
    EXPECT_EQ(back.block_of(back.variants[0])[0].income, s.blocks[2][0].income);
}

TEST(StatFile, CutsToCapacities) {
    StatFile s = make_stat_file(1);
    s.header.money_unit = std::string(25, 'u');
    s.header.elapsed = std::string(45, 'e');
    const StatFile back =
        decode_stat_file(encode_stat_file(s, CodePage::Cp1252), "f", 1, CodePage::Cp1252);
    EXPECT_EQ(back.header.money_unit, std::string(20, 'u'));
    EXPECT_EQ(back.header.elapsed, std::string(40, 'e'));
}

TEST(StatFile, ReaderRefusesFilesOfOtherSolutionsAndBadRecords) {
    const Bytes two = encode_stat_file(make_stat_file(2), CodePage::Cp1252);
    // A file left from an earlier solution with fewer variants.
    const std::string why =
        refusal([&] { decode_stat_file(two, "Data/kov_TASK01_stat.dat", 3, CodePage::Cp1252); });
    EXPECT_NE(why.find("Data/kov_TASK01_stat.dat"), std::string::npos) << why;
    EXPECT_NE(why.find("call for 808"), std::string::npos) << why;
    refusal([&] { decode_stat_file(two, "f", 1, CodePage::Cp1252); });
    refusal([&] { decode_stat_file(two, "f", 0, CodePage::Cp1252); });
    refusal([&] { decode_stat_file(two, "f", 11, CodePage::Cp1252); });
    auto patched = [&](std::size_t at, std::int32_t v) {
        Bytes b = two;
        put_i32(b, at, v);
        return b;
    };
    refusal([&] { decode_stat_file(patched(0, 99), "f", 2, CodePage::Cp1252); });
    refusal([&] { decode_stat_file(patched(0, 100001), "f", 2, CodePage::Cp1252); });
    EXPECT_NO_THROW(decode_stat_file(patched(0, 100), "f", 2, CodePage::Cp1252));
    refusal([&] { decode_stat_file(patched(88, 3), "f", 2, CodePage::Cp1252); });
    refusal([&] { decode_stat_file(patched(88, 0), "f", 2, CodePage::Cp1252); });
    EXPECT_NE(
        refusal([&] { decode_stat_file(patched(88, 1), "f", 2, CodePage::Cp1252); }).find("twice"),
        std::string::npos);
    Bytes bad = two;
    bad[4] = 41;
    refusal([&] { decode_stat_file(bad, "f", 2, CodePage::Cp1252); });
    // The header alone.
    EXPECT_EQ(
        decode_stat_header(Bytes(two.begin(), two.begin() + 88), "f", CodePage::Cp1252).trials,
        10000);
    refusal(
        [&] { decode_stat_header(Bytes(two.begin(), two.begin() + 87), "f", CodePage::Cp1252); });
}

TEST(StatFile, Files) {
    TempWorkspace ws;
    const StatFile s = make_stat_file(4);
    const std::string path = ws / "Data/kov_TASK01_stat.dat";
    write_stat_file(path, s, CodePage::Cp1252);
    EXPECT_EQ(read_stat_file(path, 4, CodePage::Cp1252), s);
    EXPECT_EQ(read_stat_header(path, CodePage::Cp1252), s.header);
    EXPECT_THROW(read_stat_file(path, 5, CodePage::Cp1252), FileError);
    StatFile dup = s;
    dup.variants[1].number = dup.variants[0].number;
    EXPECT_THROW(encode_stat_file(dup, CodePage::Cp1252), std::invalid_argument);
}
