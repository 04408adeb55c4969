#include "dbor/bdon.h"

#include "data_fixtures.h"
#include "file_bytes.h"
#include "io/files.h"
#include "temp_dir.h"

#include <bit>
#include <cstring>

#include <gtest/gtest.h>

using namespace kov;
using fixtures::f64_at;
using fixtures::i32_at;
using fixtures::make_bdon;
using fixtures::ObjectShape;
using fixtures::pstring_at;
using fixtures::put_i32;
using fixtures::small_bdon;

namespace {

// The size the order of the records gives.
std::size_t expected_size(const BdonData& d) {
    std::size_t size = kDborHeaderSize + kDborObjectSize * d.objects.size();
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        size += kDborVariantSize * d.variants[i].size();
        for (std::size_t j = 0; j < d.variants[i].size(); ++j) {
            size += kDborSaleVariantSize * d.sale_variants[i][j].size();
            size += kDborExplVariantSize * d.expl_variants[i][j].size();
            for (const auto& c : d.sale_points[i][j]) {
                size += kDborPointSize * c.size();
            }
            for (const auto& c : d.expl_points[i][j]) {
                size += kDborPointSize * c.size();
            }
        }
    }
    return size;
}

void expect_refused(const Bytes& data, const std::string& fragment) {
    try {
        decode_bdon(data, "Dbor/A_123_dbor_eng.dat", CodePage::Cp1252);
        FAIL() << "accepted; expected: " << fragment;
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Format);
        EXPECT_NE(std::string(e.what()).find("A_123_dbor_eng.dat"), std::string::npos) << e.what();
        EXPECT_NE(e.detail().find(fragment), std::string::npos) << e.detail();
    }
}

} // namespace

TEST(Bdon, RecordSizesOfTheSmallestDatabase) {
    // One object without modernisation, one sale variant without a curve: 164 + 280 + 280 + 16.
    const BdonData d = make_bdon('A', "001", {{{{0}, {}}}});
    const Bytes b = encode_bdon(d, CodePage::Cp1252);
    EXPECT_EQ(b.size(), 164u + 280 + 280 + 16);
    static_assert(kDborHeaderSize == 164 && kDborObjectSize == 280 && kDborVariantSize == 280);
    static_assert(kDborSaleVariantSize == 16 && kDborExplVariantSize == 16 && kDborPointSize == 16);
}

TEST(Bdon, LayoutOffsetsOfEveryRecord) {
    BdonData d = small_bdon();
    d.header.name = "Name";
    d.objects[0].absence = "*";
    const Bytes b = encode_bdon(d, CodePage::Cp1252);
    ASSERT_EQ(b.size(), expected_size(d));
    // Header.
    EXPECT_EQ(pstring_at(b, 0), "eng");
    EXPECT_EQ(pstring_at(b, 4), "A");
    EXPECT_EQ(pstring_at(b, 6), "123");
    EXPECT_EQ(pstring_at(b, 13), "Name");
    EXPECT_EQ(i32_at(b, 84), 1);
    EXPECT_EQ(pstring_at(b, 88), "USD");
    EXPECT_EQ(pstring_at(b, 109), "months");
    EXPECT_EQ(b[130], 0);
    EXPECT_EQ(b[131], 0);
    EXPECT_EQ(i32_at(b, 132), 3);
    EXPECT_EQ(i32_at(b, 136), d.header.sale_objects);
    EXPECT_EQ(i32_at(b, 148), d.header.expl_curve_objects);
    EXPECT_EQ(pstring_at(b, 152), "01.02.2024");
    EXPECT_EQ(b[163], 0);
    // First object.
    const std::size_t o = 164;
    EXPECT_EQ(pstring_at(b, o), "100001");
    EXPECT_EQ(pstring_at(b, o + 7), "Object 1");
    EXPECT_EQ(f64_at(b, o + 264), 1000.0);
    EXPECT_EQ(i32_at(b, o + 272), 1);
    EXPECT_EQ(pstring_at(b, o + 276), "*");
    // The variants follow the three objects: object 1 has 2, then object 2 one, object 3 three.
    const std::size_t v = 164 + 3 * 280;
    EXPECT_EQ(pstring_at(b, v), "Variant 1.0");
    EXPECT_EQ(f64_at(b, v + 256), 0.0);
    EXPECT_EQ(i32_at(b, v + 272), 1);
    EXPECT_EQ(i32_at(b, v + 276), 1);
    EXPECT_EQ(pstring_at(b, v + 280), "Variant 1.1");
    EXPECT_EQ(f64_at(b, v + 280 + 256), 50.0);
    EXPECT_EQ(f64_at(b, v + 280 + 264), 1.5);
    // Sale variants after all 6 variant records, in (object, variant) order.
    const std::size_t s = v + 6 * 280;
    EXPECT_EQ(f64_at(b, s), d.sale_variants[0][0][0].revenue);
    EXPECT_EQ(i32_at(b, s + 8), 4);
    EXPECT_EQ(i32_at(b, s + 12), 0);
    EXPECT_EQ(i32_at(b, s + 16 + 8), 3); // object 1 variant 1 first sale variant
    // Sale points begin after the 6 sale and 5 exploitation variants.
    const std::size_t p = s + 6 * 16 + 5 * 16;
    EXPECT_EQ(f64_at(b, p), 0.0);
    EXPECT_EQ(f64_at(b, p + 8), 0.0);
    EXPECT_EQ(f64_at(b, p + 3 * 16 + 8), 1.0); // the fourth point of the first curve reaches 1
}

TEST(Bdon, RoundTripIsByteExact) {
    for (char type : {'A', 'B'}) {
        const BdonData d = small_bdon(type, type == 'A' ? "123" : "123456");
        const Bytes b = encode_bdon(d, CodePage::Cp1252);
        const BdonData back = decode_bdon(b, "f", CodePage::Cp1252);
        EXPECT_TRUE(back.same_content(d));
        EXPECT_EQ(encode_bdon(back, CodePage::Cp1252), b);
    }
}

TEST(Bdon, TypeBStoresZeroCosts) {
    const BdonData d = small_bdon('B', "654321");
    const Bytes b = encode_bdon(d, CodePage::Cp1252);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(f64_at(b, 164 + 280 * i + 264), 0.0);
    }
    EXPECT_EQ(i32_at(b, 84), 2);
}

TEST(Bdon, ObjectWithoutModernisationHasOneVariantOfZeroCostAndDuration) {
    const BdonData d =
        decode_bdon(encode_bdon(small_bdon(), CodePage::Cp1252), "f", CodePage::Cp1252);
    ASSERT_EQ(d.objects[1].n, 0);
    ASSERT_EQ(d.variants[1].size(), 1u);
    EXPECT_EQ(d.variants[1][0].cost, 0.0);
    EXPECT_EQ(d.variants[1][0].duration, 0.0);
    // s = 1 and p = 0: one sale variant, no points.
    ASSERT_EQ(d.sale_variants[1][0].size(), 1u);
    EXPECT_TRUE(d.sale_points[1][0][0].empty());
}

TEST(Bdon, RussianTextsSurviveWriteAndReadInCp1251) {
    TempWorkspace ws;
    BdonData d = make_bdon('B', "000042", {{{{2}, {}}}}, "База объектов недвижимости «Юг»", "rus");
    d.header.cost_unit = "грн";
    d.header.time_unit = "месяцы";
    d.objects[0].description = "Квартира, ул. Шевченко, 5 — 3 комнаты";
    d.variants[0][0].description = "Без модернизации: ремонт №1";
    const std::string path = write_bdon(ws.path(), "rus", d, "31.12.2024 extra", CodePage::Cp1251);
    EXPECT_EQ(path, ws / "Dbor/B_000042_dbor_rus.dat");
    EXPECT_EQ(d.header.saved, "31.12.2024");

    const Bytes raw = read_file(path);
    // One byte a character: "грн" is 3 bytes in CP1251 (0xE3 0xF0 0xED).
    EXPECT_EQ(raw[88], 3);
    EXPECT_EQ(raw[89], 0xE3);
    EXPECT_EQ(raw[90], 0xF0);
    EXPECT_EQ(raw[91], 0xED);
    EXPECT_EQ(raw[13], char_count(d.header.name));

    const BdonData back = read_bdon(bdon_base(ws.path(), "B_000042", "rus"), CodePage::Cp1251);
    EXPECT_TRUE(back.same_content(d));
    EXPECT_EQ(back.header.name, "База объектов недвижимости «Юг»");
    EXPECT_EQ(back.objects[0].description, "Квартира, ул. Шевченко, 5 — 3 комнаты");
    EXPECT_EQ(back.path, path);
    EXPECT_EQ(read_dbor_header(path, CodePage::Cp1251), d.header);
}

TEST(Bdon, WriterCutsStringsToTheirCapacities) {
    BdonData d = small_bdon();
    d.header.name = std::string(100, 'N');
    d.header.cost_unit = std::string(30, 'u');
    d.objects[0].description = std::string(300, 'd');
    const BdonData back = decode_bdon(encode_bdon(d, CodePage::Cp1252), "f", CodePage::Cp1252);
    EXPECT_EQ(back.header.name, std::string(70, 'N'));
    EXPECT_EQ(back.header.cost_unit, std::string(20, 'u'));
    EXPECT_EQ(back.objects[0].description, std::string(255, 'd'));
}

TEST(Bdon, WriterRefusesCountsThatDifferFromTheArrays) {
    BdonData d = small_bdon();
    d.objects[0].n = 2;
    EXPECT_THROW(encode_bdon(d, CodePage::Cp1252), std::invalid_argument);
    d = small_bdon();
    d.sale_variants[0][0][0].p = 5;
    EXPECT_THROW(encode_bdon(d, CodePage::Cp1252), std::invalid_argument);
    d = small_bdon();
    d.header.m = 4;
    EXPECT_THROW(encode_bdon(d, CodePage::Cp1252), std::invalid_argument);
    d = small_bdon();
    d.header.code = "12";
    EXPECT_THROW(encode_bdon(d, CodePage::Cp1252), std::invalid_argument);
    TempWorkspace ws;
    d = small_bdon();
    d.header.code = "../x";
    EXPECT_THROW(write_bdon(ws.path(), "eng", d, "", CodePage::Cp1252), std::invalid_argument);
}

TEST(Bdon, ReaderRefusesCountsBeyondTheLimitsAndWrongLengths) {
    const Bytes good = encode_bdon(small_bdon(), CodePage::Cp1252);
    auto with_i32 = [&](std::size_t at, std::int32_t v) {
        Bytes b = good;
        put_i32(b, at, v);
        return b;
    };
    expect_refused(with_i32(132, 0), "number of objects 0");
    expect_refused(with_i32(132, 1001), "number of objects 1001");
    expect_refused(with_i32(132, -5), "number of objects -5");
    expect_refused(with_i32(136, 4), "usable objects");
    expect_refused(with_i32(84, 2), "investment mode 2 does not match the type A");
    expect_refused(with_i32(164 + 272, 6), "modernisation variants 6");
    expect_refused(with_i32(164 + 3 * 280 + 272, 6), "6 sale");
    expect_refused(with_i32(164 + 3 * 280 + 276, -1), "-1 exploitation");
    const std::size_t s = 164 + 9 * 280;
    expect_refused(with_i32(s + 8, 1), "number of points 1");
    expect_refused(with_i32(s + 8, 11), "number of points 11");
    expect_refused(with_i32(132, 2), "usable objects"); // the header's counts exceed M
    expect_refused(with_i32(164 + 272, 0), "");         // other counts: the tables do not fit
    Bytes longer = good;
    longer.push_back(0);
    expect_refused(longer, "1 unexpected bytes after the last delay curve");
    expect_refused(Bytes(good.begin(), good.end() - 1), "ends early");
    expect_refused(Bytes(good.begin(), good.begin() + 100), "ends early in the database header");
    Bytes bad_string = good;
    bad_string[13] = 71;
    expect_refused(bad_string, "exceeds its capacity 70");
    Bytes bad_type = good;
    bad_type[5] = 'C';
    expect_refused(bad_type, "neither A nor B");
}

TEST(Bdon, HeaderOnlyReadTakesTheFirst164Bytes) {
    TempDir dir;
    const BdonData d = small_bdon();
    Bytes b = encode_bdon(d, CodePage::Cp1252);
    b.resize(164); // the rest of the file is not looked at
    write_file_atomic(dir / "A_123_dbor_eng.dat", b);
    EXPECT_EQ(read_dbor_header(dir / "A_123_dbor_eng.dat", CodePage::Cp1252), d.header);
    EXPECT_THROW(read_bdon(dir / "A_123_dbor_eng", CodePage::Cp1252), FileError);
    try {
        read_bdon(dir / "missing", CodePage::Cp1252);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Missing);
    }
}

TEST(Bdon, MaximalDatabaseReadsAndIsTheLargestFile) {
    const ObjectShape full(6, fixtures::VariantShape{{10, 10, 10, 10, 10}, {10, 10, 10, 10, 10}});
    const BdonData d = make_bdon('A', "999", std::vector<ObjectShape>(1000, full));
    const Bytes b = encode_bdon(d, CodePage::Cp1252);
    EXPECT_EQ(b.size(), kMaxBdonSize);
    EXPECT_TRUE(decode_bdon(b, "f", CodePage::Cp1252).same_content(d));
}

TEST(Bdon, UsableObjectsPerTaskType) {
    const BdonData d = small_bdon();
    // Object 1: sale with curve, expl with curve. Object 2: sale without curve. Object 3: sale
    // with curve (variants 1, 2), expl with curve.
    EXPECT_EQ(listed_objects(d, 1), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(listed_objects(d, 2), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(listed_objects(d, 3), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(listed_objects(d, 4), (std::vector<std::size_t>{0, 2}));
    const UsableCounts c = usable_counts(d);
    EXPECT_EQ(c.sale, 3);
    EXPECT_EQ(c.sale_curve, 2);
    EXPECT_EQ(c.expl, 2);
    EXPECT_EQ(c.expl_curve, 2);
}

TEST(Bdon, CodesAndNames) {
    EXPECT_TRUE(is_dbor_code("A_123"));
    EXPECT_TRUE(is_dbor_code("B_123456"));
    EXPECT_FALSE(is_dbor_code("A_1234"));
    EXPECT_FALSE(is_dbor_code("B_12345"));
    EXPECT_FALSE(is_dbor_code("C_123"));
    EXPECT_FALSE(is_dbor_code("A_12a"));
    EXPECT_EQ(bdon_file_name("A_123", "eng"), "Dbor/A_123_dbor_eng.dat");
    EXPECT_EQ(bdon_base("/ws", "B_000001", "rus"), "/ws/Dbor/B_000001_dbor_rus");
    EXPECT_THROW(bdon_base("/ws", "A_../", "rus"), std::invalid_argument);
}
