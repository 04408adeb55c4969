#include "protocol/protocol.h"

#include "io/files.h"
#include "task/task_code.h"
#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;

namespace {

ProtocolEntry entry(const std::string& code, TaskState state = TaskState::Entered) {
    ProtocolEntry e;
    e.code = code;
    e.stored_name = stored_task_name("Задача " + code, CodePage::Cp1251);
    e.state = state;
    e.entered = 46000.25;
    e.changed = 46001.5;
    if (state != TaskState::Entered) {
        e.queued = 46002.75;
    }
    if (state == TaskState::Solved) {
        e.solved = 46003.125;
    }
    return e;
}

std::string protocol_path(const TempWorkspace& ws) {
    return ws / "System/protocol.ptl";
}

} // namespace

TEST(Protocol, EmptyProtocolIsExactly32Bytes) {
    const Bytes data = encode_protocol({});
    ASSERT_EQ(data.size(), 32u);
    EXPECT_EQ(data[0], 7);
    EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 8), "AWP_KOV");
    EXPECT_EQ(data[24], 1);
}

TEST(Protocol, RoundTripKeepsOrderStatesDatesAndCyrillicNames) {
    const std::vector<ProtocolEntry> list = {entry("ABC123"), entry("DEMR01", TaskState::Queued),
                                             entry("Z9Z9Z9", TaskState::Solved)};
    const Bytes data = encode_protocol(list);
    ASSERT_EQ(data.size(), 32u + 3 * 144);
    const auto decoded = decode_protocol(data, "p");
    EXPECT_EQ(decoded.check, ProtocolCheck::Recognised);
    EXPECT_EQ(decoded.entries, list);
    EXPECT_EQ(decoded.entries[0].queued, 0.0);
    EXPECT_EQ(decoded.entries[0].solved, 0.0);
}

TEST(Protocol, RecognitionIgnoresBytes8To23AndWritesThemBackAsZero) {
    TempWorkspace ws;
    Bytes data = encode_protocol({entry("ABC123")});
    for (int i = 8; i < 24; ++i) {
        data[std::size_t(i)] = 0xAB;
    }
    write_file_atomic(protocol_path(ws), data);
    const auto loaded = load_protocol(ws.path());
    EXPECT_EQ(loaded.outcome, ProtocolLoad::Loaded);
    ASSERT_EQ(loaded.entries.size(), 1u);
    write_protocol(ws.path(), loaded.entries);
    EXPECT_EQ(read_file(protocol_path(ws)), encode_protocol({entry("ABC123")}));
}

TEST(Protocol, LoadOutcomes) {
    struct Case {
        const char* what;
        std::function<Bytes()> file; // nothing: no file
        ProtocolLoad outcome;
        bool kept_bad;
    };
    const Bytes good = encode_protocol({entry("ABC123"), entry("DEF456")});
    auto patched = [&](std::size_t at, std::uint8_t v) {
        Bytes b = good;
        b[at] = v;
        return b;
    };
    const Case cases[] = {
        {"missing", nullptr, ProtocolLoad::Created, false},
        {"version 2", [&] { return patched(24, 2); }, ProtocolLoad::Replaced, false},
        {"other signature", [&] { return patched(1, 'X'); }, ProtocolLoad::Replaced, false},
        {"count larger than the records", [&] { return patched(28, 3); }, ProtocolLoad::DamagedKept,
         true},
        {"negative count", [&] { return patched(31, 0x80); }, ProtocolLoad::DamagedKept, true},
        {"lower-case code", [&] { return patched(32 + 1, 'a'); }, ProtocolLoad::DamagedKept, true},
        {"code of five characters", [&] { return patched(32, 5); }, ProtocolLoad::DamagedKept,
         true},
        {"state 7", [&] { return patched(32 + 108, 7); }, ProtocolLoad::DamagedKept, true},
        {"truncated header", [&] { return Bytes(good.begin(), good.begin() + 20); },
         ProtocolLoad::DamagedKept, true},
    };
    for (const auto& c : cases) {
        TempWorkspace ws;
        if (c.file) {
            write_file_atomic(protocol_path(ws), c.file());
        }
        const auto loaded = load_protocol(ws.path());
        EXPECT_EQ(loaded.outcome, c.outcome) << c.what;
        EXPECT_TRUE(loaded.entries.empty()) << c.what;
        EXPECT_EQ(read_file(protocol_path(ws)), encode_protocol({})) << c.what;
        EXPECT_EQ(file_exists(protocol_path(ws) + ".bad"), c.kept_bad) << c.what;
        if (c.kept_bad) {
            EXPECT_EQ(read_file(protocol_path(ws) + ".bad"), c.file()) << c.what;
        }
    }
}

TEST(Protocol, UncreatableFileLeavesTheListEmptyAndWritesNothing) {
    TempDir dir; // no System folder
    const auto loaded = load_protocol(dir.path());
    EXPECT_EQ(loaded.outcome, ProtocolLoad::NotCreatable);
    EXPECT_TRUE(loaded.entries.empty());
    EXPECT_THROW(write_protocol(dir.path(), {}), FileError);
}

TEST(Protocol, DeletingTheSecondOfThreeMovesTheThirdUp) {
    TempWorkspace ws;
    std::vector<ProtocolEntry> list = {entry("AAA111"), entry("BBB222"),
                                       entry("CCC333", TaskState::Solved)};
    list.erase(list.begin() + 1);
    write_protocol(ws.path(), list);
    const auto loaded = load_protocol(ws.path());
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[1].code, "CCC333");
    EXPECT_EQ(loaded.entries[1].solved, 46003.125);
    EXPECT_EQ(std::filesystem::file_size(protocol_path(ws)), 32u + 2 * 144);
}

TEST(Protocol, TaskCodePattern) {
    EXPECT_TRUE(is_task_code("DEMR01"));
    for (const char* bad : {"DEMR0", "DEMR012", "demr01", "DEM-01", "ДЕМ001", ""}) {
        EXPECT_FALSE(is_task_code(bad)) << bad;
    }
}
