#include "protocol/protocol.h"

#include "io/fault.h"
#include "io/files.h"
#include "task/task_code.h"
#include "temp_dir.h"

#include <cmath>
#include <cstring>
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

// The protocol image with the second record's solving date replaced.
Bytes with_date(Bytes b, double date) {
    std::memcpy(b.data() + 32 + 144 + 136, &date, 8);
    return b;
}

// A task input file of 300 bytes that ends in the name of the shell it was saved under.
void write_input_of_language(const TempWorkspace& ws, const std::string& code,
                             const std::string& suffix) {
    Bytes b(300, 0);
    const std::string name = "Shell (KOV 1.0)." + suffix;
    b[300 - 25] = std::uint8_t(name.size());
    std::copy(name.begin(), name.end(), b.begin() + 300 - 24);
    write_file_atomic(ws / ("Data/kov_" + code + "_in.dat"), b);
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
        {"name longer than its capacity", [&] { return patched(32 + 7, 101); },
         ProtocolLoad::DamagedKept, true},
        {"date not a number", [&] { return with_date(good, std::nan("")); },
         ProtocolLoad::DamagedKept, true},
        {"date beyond the year 9999", [&] { return with_date(good, 1e300); },
         ProtocolLoad::DamagedKept, true},
        {"date before the year 1", [&] { return with_date(good, -700000); },
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

TEST(Protocol, ADamagedProtocolIsOverwrittenOnlyOnceACopyOfItExists) {
    TempWorkspace ws;
    Bytes damaged = encode_protocol({entry("ABC123")});
    damaged[28] = 5;
    write_file_atomic(protocol_path(ws), damaged);
    // Another damaged protocol was kept earlier: this one goes beside it.
    write_file_atomic(protocol_path(ws) + ".bad", Bytes(40, 1));
    {
        const fault::Armed full({fault::Call::Create, 1, fault::Effect::Fail, ENOSPC});
        const auto loaded = load_protocol(ws.path());
        EXPECT_EQ(loaded.outcome, ProtocolLoad::DamagedNotKept);
    }
    {
        const fault::Armed full({fault::Call::Create, 1, fault::Effect::Fail, ENOSPC});
        try {
            write_protocol(ws.path(), {entry("DEF456")});
            FAIL() << "the damaged protocol was overwritten without a copy";
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), protocol_path(ws));
        }
    }
    EXPECT_EQ(read_file(protocol_path(ws)), damaged);
    EXPECT_FALSE(file_exists(protocol_path(ws) + ".bad2"));

    // Once the copy can be made the write goes through, and a second write finds the copy.
    write_protocol(ws.path(), {entry("DEF456")});
    EXPECT_EQ(read_file(protocol_path(ws) + ".bad2"), damaged);
    EXPECT_EQ(read_file(protocol_path(ws) + ".bad"), Bytes(40, 1));
    EXPECT_EQ(load_protocol(ws.path()).entries, std::vector<ProtocolEntry>{entry("DEF456")});
}

TEST(Protocol, NamesAreKeptAsStoredAndShownInTheirTasksLanguage) {
    TempWorkspace ws;
    write_input_of_language(ws, "RUS001", "rus");
    write_input_of_language(ws, "ENG001", "eng");
    ProtocolEntry russian = entry("RUS001");
    russian.stored_name = stored_task_name("Перепродажа квартир", CodePage::Cp1251);
    ProtocolEntry english = entry("ENG001");
    english.stored_name = stored_task_name("Resale of flats", CodePage::Cp1252);
    ProtocolEntry unknown = entry("OLD001"); // no input file: the loaded shell's code page
    unknown.stored_name = stored_task_name("Café", CodePage::Cp1252);
    const std::vector<ProtocolEntry> list = {russian, english, unknown};
    write_protocol(ws.path(), list);
    const Bytes image = read_file(protocol_path(ws));

    for (CodePage loaded : {CodePage::Cp1251, CodePage::Cp1252}) {
        const auto read = load_protocol(ws.path()).entries;
        ASSERT_EQ(read, list);
        EXPECT_EQ(task_name_text(read[0], ws.path(), loaded), "Перепродажа квартир");
        EXPECT_EQ(task_name_text(read[1], ws.path(), loaded), "Resale of flats");
        EXPECT_EQ(task_name_text(read[2], ws.path(), loaded),
                  loaded == CodePage::Cp1252 ? "Café" : decode("Caf\xe9", CodePage::Cp1251));
        // Written back by either shell, every name keeps its bytes.
        write_protocol(ws.path(), read);
        EXPECT_EQ(read_file(protocol_path(ws)), image);
    }
    EXPECT_EQ(stored_task_name(std::string(120, 'x'), CodePage::Cp1252).size(), 100u);
}
