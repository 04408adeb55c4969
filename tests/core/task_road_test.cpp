#include "road/task_road.h"

#include "io/fault.h"
#include "io/files.h"
#include "io/numbers.h"
#include "stats/modelling.h"
#include "stats_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace kov;
namespace fs = std::filesystem;

namespace {

constexpr CodePage kCp = CodePage::Cp1252;

// A Workspace with the solved one-variant task `code` on database A_001 (two objects), the task
// asking for the correction of its database; the solution is under Data.
class RoadTest : public ::testing::Test {
protected:
    void write_task(const std::string& code, const std::string& database = "A_001") {
        const stats_fixture::Object object{10, {{0, 0, {{100, {{0, 0}, {3, 0.2}, {40, 1}}}}}}};
        TaskHeader h = stats_fixture::task_header(code, 1, 1, 1);
        h.prk = 1;
        h.shifr_db = database;
        BdonData bdon = stats_fixture::database(1, 1, {object, object});
        bdon.header.code = database.substr(2);
        stats_fixture::write_solved_task(ws.path(), bdon, h, {{1000, 0}}, {{{1, 0, 1}, kNotTaken}});
    }
    // The task as queued and solved by the optimisation module, its solution not yet taken.
    void queue_solved(const std::string& code) {
        copy_file_atomic(file("Data", code, "_in"), file("Solving", code, "_in"));
        fs::rename(file("Data", code, "_out"), file("Solving", code, "_out"));
    }
    std::string file(const char* folder, const std::string& code, const char* suffix) const {
        return task_file_path(ws.path(), folder, code, suffix);
    }
    static ProtocolEntry entry(const std::string& code, TaskState state) {
        return {code, "n", state, 46000, 46000, state == TaskState::Entered ? 0.0 : 46001, 0};
    }

    TempWorkspace ws;
};

} // namespace

TEST_F(RoadTest, ADatabaseCopiedUnderAnotherNameIsRefusedAndNothingIsWritten) {
    write_task("TASK01");
    write_task("TASK02", "A_002");
    // A_002's file is replaced by a copy of A_001's, whose header names A_001.
    fs::copy_file(ws / "Dbor/A_001_dbor_eng.dat", ws / "Dbor/A_002_dbor_eng.dat",
                  fs::copy_options::overwrite_existing);
    const Bytes a001 = read_file(ws / "Dbor/A_001_dbor_eng.dat");
    queue_solved("TASK02");
    try {
        take_back_solution(ws.path(), "TASK02", "eng", kCp, "01.03.2026");
        FAIL() << "the copied database is taken";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), ws / "Dbor/A_002_dbor_eng.dat");
        EXPECT_NE(e.detail().find("A_001"), std::string::npos) << e.detail();
    }
    EXPECT_EQ(read_file(ws / "Dbor/A_001_dbor_eng.dat"), a001);
    EXPECT_FALSE(file_exists(file("Data", "TASK02", "_out")));
    EXPECT_TRUE(file_exists(file("Solving", "TASK02", "_out")));
}

TEST_F(RoadTest, AQueueFileThatCannotBeDeletedKeepsTheTaskQueued) {
    write_task("TASK01");
    queue_solved("TASK01");
    // A folder in the place of the queued input cannot be deleted as a file.
    fs::remove(file("Solving", "TASK01", "_in"));
    fs::create_directories(file("Solving", "TASK01", "_in") + "/x");
    std::vector<ProtocolEntry> protocol = {entry("TASK01", TaskState::Queued)};
    write_protocol(ws.path(), protocol);
    try {
        take_back_task(ws.path(), protocol, 0, "eng", kCp, "01.03.2026", 46002);
        FAIL() << "the failed deletion is not reported";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), file("Solving", "TASK01", "_in"));
    }
    EXPECT_EQ(protocol[0].state, TaskState::Queued);
    EXPECT_EQ(load_protocol(ws.path()).entries, protocol);
    // Once the folder is gone the step is taken again and ends.
    fs::remove_all(file("Solving", "TASK01", "_in"));
    EXPECT_TRUE(take_back_task(ws.path(), protocol, 0, "eng", kCp, "01.03.2026", 46002).taken);
    EXPECT_EQ(load_protocol(ws.path()).entries[0].state, TaskState::Solved);
}

TEST_F(RoadTest, InterruptedRoadsRecoverAtTheNextListing) {
    struct Case {
        const char* what;
        TaskState state;
        bool queued_in, queued_out, taken; // the files before
        TaskState expected;
        bool changed;
    } cases[] = {
        {"taken back, protocol not written", TaskState::Queued, false, false, true,
         TaskState::Solved, true},
        {"queued, protocol not written", TaskState::Entered, true, false, false, TaskState::Queued,
         true},
        {"solved with queue files left", TaskState::Solved, true, true, true, TaskState::Solved,
         false},
        {"queued and solved by the module", TaskState::Queued, true, true, false, TaskState::Queued,
         false},
        {"queued, solution half taken", TaskState::Queued, false, true, true, TaskState::Queued,
         false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string code = "TASKR" + std::to_string(++n);
        write_task(code);
        fs::remove(file("Data", code, "_out"));
        const Bytes solution = Bytes(10, 1);
        if (c.queued_in) {
            copy_file_atomic(file("Data", code, "_in"), file("Solving", code, "_in"));
        }
        if (c.queued_out) {
            write_file_atomic(file("Solving", code, "_out"), solution);
        }
        if (c.taken) {
            write_file_atomic(file("Data", code, "_out"), solution);
        }
        std::vector<ProtocolEntry> protocol = {entry(code, c.state)};
        const RoadRecovery r = recover_task_roads(ws.path(), protocol, 46005);
        EXPECT_EQ(protocol[0].state, c.expected) << c.what;
        EXPECT_EQ(r.changed, c.changed) << c.what;
        EXPECT_TRUE(r.stuck.empty()) << c.what;
        if (c.expected == TaskState::Solved) {
            EXPECT_FALSE(file_exists(file("Solving", code, "_in"))) << c.what;
            EXPECT_FALSE(file_exists(file("Solving", code, "_out"))) << c.what;
            EXPECT_TRUE(file_exists(file("Data", code, "_out"))) << c.what;
        }
        if (c.changed) {
            EXPECT_EQ(c.expected == TaskState::Solved ? protocol[0].solved : protocol[0].queued,
                      46005)
                << c.what;
        }
    }
}

TEST_F(RoadTest, StartUpRemovesTemporariesAndCompletesPairWrites) {
    write_task("TASK01");
    const Bytes descriptor = read_file(file("Data", "TASK01", ""));
    for (const char* folder : {"Data", "Dbor", "Solving", "System"}) {
        write_file_atomic(ws / (std::string(folder) + "/kov_TASK01.dat.tmp-Ab3xYz"), Bytes(5, 1));
    }
    // A pair write that died after its first rename.
    const BdonData bdon = read_bdon(ws / "Dbor/A_001_dbor_eng", kCp);
    TaskDescriptor d = read_task_descriptor(file("Data", "TASK01", ""), bdon, kCp);
    TaskInput in = read_task_input(file("Data", "TASK01", "_in"), bdon, kCp);
    d.header.name = in.header.name = "New name";
    {
        const fault::Armed kill({fault::Call::Rename, 2, fault::Effect::CrashAfter});
        EXPECT_THROW(write_task_files(ws.path(), d, in, bdon, kCp), fault::SimulatedCrash);
    }
    EXPECT_TRUE(file_exists(ws / "Data/kov_TASK01.intent"));
    EXPECT_TRUE(recover_workspace_files(ws.path()).empty());
    for (const char* folder : {"Data", "Dbor", "Solving", "System"}) {
        EXPECT_TRUE(find_files(ws / folder, "*.tmp-*").empty()) << folder;
        EXPECT_TRUE(find_files(ws / folder, "*.intent").empty()) << folder;
    }
    EXPECT_EQ(read_task_header(file("Data", "TASK01", ""), kCp).name, "New name");
    EXPECT_EQ(read_task_input(file("Data", "TASK01", "_in"), bdon, kCp).header.name, "New name");
    EXPECT_NE(read_file(file("Data", "TASK01", "")), descriptor);
}

TEST_F(RoadTest, AReaderOfThePairCompletesAnInterruptedPairWrite) {
    write_task("TASK01");
    const BdonData bdon = read_bdon(ws / "Dbor/A_001_dbor_eng", kCp);
    TaskDescriptor d = read_task_descriptor(file("Data", "TASK01", ""), bdon, kCp);
    TaskInput in = read_task_input(file("Data", "TASK01", "_in"), bdon, kCp);
    d.header.name = in.header.name = "New name";
    {
        // The second rename fails: the descriptor is new, the input still old.
        const fault::Armed fail({fault::Call::Rename, 3, fault::Effect::Fail, EIO});
        EXPECT_THROW(write_task_files(ws.path(), d, in, bdon, kCp), FileError);
    }
    EXPECT_EQ(read_task_input(file("Data", "TASK01", "_in"), bdon, kCp), in);
    EXPECT_EQ(read_task_descriptor(file("Data", "TASK01", ""), bdon, kCp), d);
    EXPECT_FALSE(file_exists(ws / "Data/kov_TASK01.intent"));
}

TEST_F(RoadTest, StatisticsOfATaskFileCopiedUnderAnotherCodeAreRefused) {
    write_task("TASK01");
    // TASK02's descriptor is a copy of TASK01's; its own solution differs.
    fs::copy_file(file("Data", "TASK01", ""), file("Data", "TASK02", ""));
    fs::copy_file(file("Data", "TASK01", "_out"), file("Data", "TASK02", "_out"));
    try {
        create_statistics(ws.path(), "TASK02", "eng", kCp, 100, [](double) { return "0"; });
        FAIL() << "statistics were made from the other task's files";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), file("Data", "TASK02", ""));
    }
    EXPECT_FALSE(file_exists(file("Data", "TASK02", "_stat")));
}

TEST(FilesDurability, RenamesAndDeletionsSyncTheirFolder) {
    TempDir dir;
    {
        const fault::Armed count({});
        write_file_atomic(dir / "a.dat", Bytes(3, 1));
        EXPECT_EQ(fault::calls(fault::Call::Fsync), 2); // the file, then its folder
        EXPECT_TRUE(remove_file(dir / "a.dat"));
        EXPECT_EQ(fault::calls(fault::Call::Fsync), 3);
    }
}

TEST(FilesDurability, ATemporaryFolderThatCannotBeMadeIsAnError) {
    EXPECT_THROW(TempDir("/nonexistent-folder-of-kov-tests"), std::runtime_error);
}

TEST(DayCounts, OnlyDatesOfTheYears1To9999AreDates) {
    EXPECT_TRUE(is_day_count(0));
    EXPECT_TRUE(is_day_count(2958465.99)); // 9999-12-31
    EXPECT_TRUE(is_day_count(-693593));    // 0001-01-01
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 2958466.0, -693594.5, 1e300}) {
        EXPECT_FALSE(is_day_count(bad)) << bad;
        EXPECT_THROW(from_day_count(bad), std::invalid_argument) << bad;
    }
    EXPECT_EQ(from_day_count(2958465.5).year, 9999);
}
