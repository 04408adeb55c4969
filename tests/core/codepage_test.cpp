#include "io/binary.h"
#include "io/codepage.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(CodePage, EveryByteRoundTripsInBothCodePages) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += char(b);
    }
    for (CodePage cp : {CodePage::Cp1251, CodePage::Cp1252}) {
        bool lossless = false;
        EXPECT_EQ(encode(decode(all, cp), cp, &lossless), all);
        EXPECT_TRUE(lossless);
    }
}

TEST(CodePage, KnownCharactersAndRefusals) {
    EXPECT_EQ(decode("\xC0\xE1\xE2", CodePage::Cp1251), "Абв");
    EXPECT_EQ(decode("\x80", CodePage::Cp1252), "€");
    EXPECT_EQ(encode("Ё", CodePage::Cp1251), "\xA8");
    EXPECT_TRUE(representable("Привет, world", CodePage::Cp1251));
    EXPECT_FALSE(representable("Привет", CodePage::Cp1252));
    EXPECT_FALSE(representable("日本", CodePage::Cp1251));
}

TEST(CodePage, SuffixChoosesCodePage) {
    EXPECT_EQ(codepage_for_suffix("rus"), CodePage::Cp1251);
    EXPECT_EQ(codepage_for_suffix("RUS"), CodePage::Cp1251);
    EXPECT_EQ(codepage_for_suffix("рус"), CodePage::Cp1251);
    EXPECT_EQ(codepage_for_suffix("ukr"), CodePage::Cp1251);
    EXPECT_EQ(codepage_for_suffix("eng"), CodePage::Cp1252);
    EXPECT_EQ(codepage_for_suffix("deu"), CodePage::Cp1252);
}

TEST(CodePage, CountsAndCutsCharactersNotBytes) {
    EXPECT_EQ(char_count("Дом №5"), 6u);
    EXPECT_EQ(left_chars("Квартира", 3), "Ква");
    ByteWriter w(CodePage::Cp1251);
    w.pstring("Квартира в центре", 8);
    ASSERT_EQ(w.size(), 9u);
    EXPECT_EQ(w.data()[0], 8);
    ByteReader r(w.data(), "x", CodePage::Cp1251);
    EXPECT_EQ(r.pstring(8, "name"), "Квартира");
}

TEST(ByteReader, RefusesReadsPastTheEndAndOverlongStrings) {
    const Bytes data = {3, 'a', 'b'};
    ByteReader r(data, "file.dat");
    try {
        r.pstring(4, "the name");
        FAIL() << "read past the end";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Format);
        EXPECT_EQ(e.file(), "file.dat");
    }
    const Bytes overlong = {9, 'a', 'b', 'c'};
    ByteReader r2(overlong, "file.dat");
    EXPECT_THROW(r2.pstring(3, "the code"), FileError);
    const Bytes count = {0xFF, 0xFF, 0xFF, 0x7F};
    ByteReader r3(count, "file.dat");
    EXPECT_THROW(r3.count("the objects", 0, 1000), FileError);
}

TEST(ByteWriter, LittleEndianIntegersAndDoubles) {
    ByteWriter w;
    w.i32(-2);
    w.f64(1.0);
    const Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(w.data(), expected);
    ByteReader r(w.data(), "x");
    EXPECT_EQ(r.i32("i"), -2);
    EXPECT_EQ(r.f64("d"), 1.0);
    EXPECT_TRUE(r.at_end());
}
