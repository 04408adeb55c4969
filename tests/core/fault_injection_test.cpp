// Every write path of the road of a task, the task pair, the protocol and the statistics, run
// with the file layer's fault hook failing, writing short or dying at each call in turn. After
// each run every file is old or complete and new; after a restart (the start-up recovery and the
// listing's) the protocol agrees with the files and the road goes on to the same end as a run
// without faults. The workbook writer is run through the same faults.

#include "book/workbook.h"
#include "io/fault.h"
#include "io/files.h"
#include "io/new_file.h"
#include "optim/info_file.h"
#include "optim/solve_task.h"
#include "protocol/protocol.h"
#include "road/task_road.h"
#include "shell/language_shell.h"
#include "stats/modelling.h"
#include "stats_fixture.h"
#include "temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <map>

using namespace kov;
namespace fs = std::filesystem;

namespace {

constexpr CodePage kCp = CodePage::Cp1252;
constexpr const char* kCode = "ROAD01";
constexpr double kNow = 46100.5;
const std::string kToday = "01.03.2026";

// Temporary Workspaces in memory where the machine has it: the paths sync after every rename.
std::string scratch_parent() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? "/dev/shm" : fs::temp_directory_path().string();
}

const LanguageShell& shell() {
    static const LanguageShell s =
        load_shell(std::string(KOV_SHELL_DIR) + "/" + shell_file_name("eng"));
    return s;
}

class SilentRun : public RunProgress {
public:
    void show(RunLine, const std::string&) override {}
};

// A Workspace holding one task, ROAD01, a one-variant sale task with pay-back that asks for the
// correction of its database, in the state the step starts from.
struct World {
    TempWorkspace ws{scratch_parent()};
    std::vector<ProtocolEntry> protocol; // as the running program holds it

    std::string path(const std::string& relative) const { return ws / relative; }
    std::string file(const char* folder, const char* suffix) const {
        return task_file_path(ws.path(), folder, kCode, suffix);
    }
    void move(const std::string& from, const std::string& to) const { fs::rename(from, to); }
};

enum class Start { Entered, Queued, Solved, SolvedWithStatistics };

void build(World& w, Start start) {
    const stats_fixture::Object object{10, {{0, 0, {{100, {{0, 0}, {3, 0.2}, {40, 1}}}}}}};
    TaskHeader h = stats_fixture::task_header(kCode, 1, 1, 1);
    h.prk = 1;
    stats_fixture::write_solved_task(w.ws.path(), stats_fixture::database(1, 1, {object, object}),
                                     h, {{1000, 0}}, {{{1, 0, 1}, kNotTaken}});
    ProtocolEntry e{
        kCode, stored_task_name("Road of a task", kCp), TaskState::Entered, 46000, 46000.25, 0, 0};
    const std::string solution = w.file("Data", "_out");
    switch (start) {
    case Start::Entered:
        fs::remove(solution);
        break;
    case Start::Queued:
        copy_file_atomic(w.file("Data", "_in"), w.file("Solving", "_in"));
        w.move(solution, w.file("Solving", "_out"));
        e.state = TaskState::Queued;
        e.queued = 46001;
        break;
    case Start::Solved:
    case Start::SolvedWithStatistics:
        e.state = TaskState::Solved;
        e.queued = 46001;
        e.solved = 46002;
        if (start == Start::SolvedWithStatistics) {
            write_file_atomic(w.file("Data", "_stat"), Bytes(300, 7));
        }
        break;
    }
    w.protocol = {e};
    write_protocol(w.ws.path(), w.protocol);
}

// Every file of the Workspace's data folders with its bytes.
using Snapshot = std::map<std::string, Bytes>;
Snapshot snapshot(const World& w) {
    Snapshot s;
    for (const char* folder : {"Data", "Dbor", "Solving", "System"}) {
        for (const std::string& name : find_files(w.path(folder), "*")) {
            const std::string relative = std::string(folder) + "/" + name;
            s[relative] = read_file(w.path(relative));
        }
    }
    return s;
}

bool leftover(const std::string& name) {
    return name.find(".tmp-") != std::string::npos || name.ends_with(".intent");
}

// Every file is as it was before the step or as a run without faults left it; besides them only
// temporaries and intent records (`allow_leftovers`) may exist.
void expect_old_or_new(const Snapshot& now, const Snapshot& before, const Snapshot& after,
                       bool allow_leftovers, const std::string& where) {
    for (const auto& [name, bytes] : now) {
        if (leftover(name)) {
            EXPECT_TRUE(allow_leftovers) << where << ": " << name << " stays after the restart";
            continue;
        }
        const auto old_file = before.find(name);
        const auto new_file = after.find(name);
        const bool old_ok = old_file != before.end() && old_file->second == bytes;
        const bool new_ok = new_file != after.end() && new_file->second == bytes;
        EXPECT_TRUE(old_ok || new_ok) << where << ": " << name << " is neither old nor new";
    }
    for (const Snapshot* version : {&before, &after}) {
        for (const auto& [name, bytes] : *version) {
            const Snapshot* other = version == &before ? &after : &before;
            EXPECT_TRUE(now.contains(name) || !other->contains(name))
                << where << ": " << name << " has vanished";
        }
    }
    // The task pair is either the old pair or the new one, once its intent record, when one is
    // left, is carried out (by its next reader or the restart).
    for (const auto& [name, bytes] : now) {
        if (name.ends_with(".intent")) {
            return;
        }
    }
    const std::string pair[] = {std::string("Data/kov_") + kCode + ".dat",
                                std::string("Data/kov_") + kCode + "_in.dat"};
    const auto version_of = [&](const std::string& name) {
        const auto it = now.find(name);
        if (it == now.end()) {
            return -1;
        }
        return before.contains(name) && before.at(name) == it->second ? 0 : 1;
    };
    if (before.contains(pair[0]) && after.contains(pair[0]) &&
        before.at(pair[0]) != after.at(pair[0])) {
        EXPECT_EQ(version_of(pair[0]), version_of(pair[1])) << where << ": a mixed task pair";
    }
}

// The protocol on disk agrees with the task's files.
void expect_agreement(const World& w, const std::vector<ProtocolEntry>& protocol,
                      const std::string& where) {
    const bool queued_in = file_exists(w.file("Solving", "_in"));
    const bool queued_out = file_exists(w.file("Solving", "_out"));
    const bool taken = file_exists(w.file("Data", "_out"));
    if (protocol.empty()) {
        for (const std::string& f : task_files(w.ws.path(), kCode)) {
            EXPECT_FALSE(file_exists(f)) << where << ": " << f << " stays without its task";
        }
        return;
    }
    switch (protocol[0].state) {
    case TaskState::Entered:
        EXPECT_FALSE(queued_in || queued_out || taken) << where << ": entered";
        break;
    case TaskState::Queued:
        // Queued for the optimisation module, or solved with the solution still to be taken.
        EXPECT_TRUE(queued_in || queued_out) << where << ": queued without its queue files";
        if (queued_in) {
            EXPECT_EQ(read_file(w.file("Solving", "_in")), read_file(w.file("Data", "_in")))
                << where;
        }
        break;
    case TaskState::Solved:
        EXPECT_FALSE(queued_in || queued_out) << where << ": solved with queue files";
        break;
    }
}

// The restart: the start-up's recovery, the protocol loaded from disk and the listing's
// recovery, which writes the protocol when it changed something.
std::vector<ProtocolEntry> restart(World& w) {
    EXPECT_TRUE(recover_workspace_files(w.ws.path()).empty());
    auto loaded = load_protocol(w.ws.path());
    EXPECT_EQ(loaded.outcome, ProtocolLoad::Loaded);
    const RoadRecovery r = recover_task_roads(w.ws.path(), loaded.entries, kNow);
    EXPECT_TRUE(r.stuck.empty());
    if (r.changed) {
        write_protocol(w.ws.path(), loaded.entries);
    }
    return loaded.entries;
}

struct WritePath {
    const char* name;
    Start start;
    std::function<void(World&)> step;
    // Whether the step is still to be taken after a restart, from the protocol as loaded.
    std::function<bool(const std::vector<ProtocolEntry>&)> pending;
    bool protocol_agrees = true; // the road's own states: checked after the restart
};

TaskRun solve(World& w) {
    SolveSetup setup{w.ws.path(), shell(), ',', SchemeParameters{},
                     read_info_file(w.ws.path(), shell())};
    setup.clock.now = [] { return kNow; };
    SilentRun progress;
    return solve_task(kCode, setup, progress);
}

bool state_is_not(const std::vector<ProtocolEntry>& p, TaskState s) {
    return p.empty() || p[0].state != s;
}

const WritePath kPaths[] = {
    {"queueing", Start::Entered, [](World& w) { queue_task(w.ws.path(), w.protocol, 0, kNow); },
     [](const auto& p) { return state_is_not(p, TaskState::Queued); }},
    {"solving", Start::Queued, [](World& w) { solve(w); }, [](const auto&) { return true; }},
    {"taking back with the database correction", Start::Queued,
     [](World& w) { take_back_task(w.ws.path(), w.protocol, 0, "eng", kCp, kToday, kNow); },
     [](const auto& p) { return state_is_not(p, TaskState::Solved); }},
    {"deleting", Start::SolvedWithStatistics,
     [](World& w) { delete_task(w.ws.path(), w.protocol, 0); },
     [](const auto& p) { return !p.empty(); }},
    {"task pair", Start::Entered,
     [](World& w) {
         const BdonData bdon = read_bdon(w.path("Dbor/A_001_dbor_eng"), kCp);
         TaskDescriptor d = read_task_descriptor(w.file("Data", ""), bdon, kCp);
         TaskInput in = read_task_input(w.file("Data", "_in"), bdon, kCp);
         d.header.name = in.header.name = "A corrected name";
         d.variants[0].own = 1500;
         write_task_files(w.ws.path(), d, in, bdon, kCp);
     },
     [](const auto&) { return true; }},
    {"protocol", Start::Entered,
     [](World& w) {
         w.protocol[0].stored_name = stored_task_name("Another name", kCp);
         write_protocol(w.ws.path(), w.protocol);
     },
     [](const auto&) { return true; }},
    {"statistics", Start::Solved,
     [](World& w) {
         ModellingOptions one;
         one.threads = 1;
         create_statistics(
             w.ws.path(), kCode, "eng", kCp, 200, [](double) { return "0:00:01"; }, one);
     },
     [](const auto&) { return true; }},
};

struct Fault {
    fault::Effect effect;
    int error;
    const char* name;
};
const Fault kFaults[] = {{fault::Effect::Fail, EIO, "EIO"},
                         {fault::Effect::Fail, ENOSPC, "ENOSPC"},
                         {fault::Effect::ShortWrite, 0, "short write"},
                         {fault::Effect::CrashBefore, 0, "kill before"},
                         {fault::Effect::CrashAfter, 0, "kill after"}};
const char* const kCallNames[] = {"create", "write", "fsync", "close", "rename", "unlink", "link"};

// Runs `step` under a plan; true when it went through without an error.
bool runs_through(const std::function<void()>& step, const fault::Plan& plan) {
    const fault::Armed armed(plan);
    try {
        step();
        return true;
    } catch (const FileError&) {
        return false;
    } catch (const fault::SimulatedCrash&) {
        return false;
    }
}

bool run_step(const WritePath& path, World& w, const fault::Plan& plan) {
    return runs_through([&] { path.step(w); }, plan);
}

// The calls of each kind the last armed run made.
using CallCounts = std::array<int, fault::kCallKinds>;
CallCounts counted_calls() {
    CallCounts counts{};
    for (int c = 0; c < fault::kCallKinds; ++c) {
        counts[std::size_t(c)] = fault::calls(fault::Call(c));
    }
    return counts;
}

// One run of a write under a fault: the plan, the fault, and where it struck for messages.
struct Trial {
    fault::Plan plan;
    const Fault& fault;
    std::string where;
};

// Every fault worth trying on a write that makes `counts` calls: each call of each kind failing in
// each way (a short write only where data is written), and the process killed before and after it.
std::vector<Trial> every_fault(const CallCounts& counts, const std::string& name) {
    std::vector<Trial> trials;
    for (int c = 0; c < fault::kCallKinds; ++c) {
        const auto call = fault::Call(c);
        for (int k = 1; k <= counts[std::size_t(c)]; ++k) {
            for (const Fault& f : kFaults) {
                if (f.effect == fault::Effect::ShortWrite && call != fault::Call::Write) {
                    continue;
                }
                trials.push_back(
                    {{call, k, f.effect, f.error},
                     f,
                     name + ", " + kCallNames[c] + " " + std::to_string(k) + ", " + f.name});
            }
        }
    }
    return trials;
}

} // namespace

TEST(FaultInjection, EveryWritePathLeavesOldOrNewFilesAndTheRoadGoesOn) {
    for (const WritePath& path : kPaths) {
        // The run without faults: the files before and after, and the calls it makes.
        World clean;
        build(clean, path.start);
        const Snapshot before = snapshot(clean);
        ASSERT_TRUE(run_step(path, clean, {})) << path.name;
        const CallCounts counts = counted_calls();
        const Snapshot after = snapshot(clean);
        ASSERT_NE(before, after) << path.name;

        std::string tried;
        for (int c = 0; c < fault::kCallKinds; ++c) {
            tried +=
                std::string(" ") + kCallNames[c] + " " + std::to_string(counts[std::size_t(c)]);
        }
        const std::vector<Trial> trials = every_fault(counts, path.name);
        for (const Trial& t : trials) {
            const std::string& where = t.where;
            World w;
            build(w, path.start);
            run_step(path, w, t.plan);
            expect_old_or_new(snapshot(w), before, after, true, where);

            const std::vector<ProtocolEntry> listed = restart(w);
            expect_old_or_new(snapshot(w), before, after, false, where + ", restarted");
            if (path.protocol_agrees) {
                expect_agreement(w, listed, where + ", restarted");
            }
            // The road goes on: the step is taken again when it is still to be taken, and ends
            // where the run without faults ended.
            w.protocol = listed;
            if (path.pending(listed)) {
                ASSERT_TRUE(run_step(path, w, {})) << where << ", taken again";
            }
            EXPECT_EQ(snapshot(w), after) << where << ", at the end";
        }
        const std::size_t runs = trials.size();
        std::cout << "[ fault    ] " << path.name << ":" << tried << "; " << runs << " runs\n";
    }
}

TEST(FaultInjection, AFailedFsyncClosesTheDescriptor) {
    TempDir dir;
    const auto open_descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = open_descriptors();
    {
        const fault::Armed armed({fault::Call::Fsync, 1, fault::Effect::Fail, EIO});
        EXPECT_THROW(write_file_atomic(dir / "a.dat", Bytes(10, 1)), FileError);
    }
    EXPECT_EQ(open_descriptors(), before);
    EXPECT_TRUE(find_files(dir.path(), "*").empty());
}

// The workbook writer failing, writing short or dying at each of its calls in turn, through both
// of its entry points: a workbook bears its name only when it is complete, a run that reports
// success leaves it there, and after a restart no temporary stays in Reports.
TEST(FaultInjection, TheWorkbookWriterLeavesACompleteWorkbookOrNone) {
    WorkbookLayout layout;
    for (int k = 0; k < 2; ++k) {
        SheetLayout& s = layout.sheets.emplace_back();
        s.name = "Sheet " + std::to_string(k);
        s.columns = 4;
        s.widths = {7, 14};
        s.formats = {{0, 0, 0, kWhole, {true, false, true, false}}};
        for (int r = 0; r < 300; ++r) {
            std::string* row = s.add_row();
            for (int c = 0; c < 4; ++c) {
                row[c] = std::to_string(r * 7919 % 100003 + c * 13) + " text";
            }
        }
    }
    const std::string name = "kov_BOOK01.xlsx";
    using Writer = std::function<std::string(const std::string& reports)>;
    const std::pair<const char*, Writer> writers[] = {
        {"a new report",
         [&](const std::string& reports) {
             return write_new_workbook(reports, "kov_BOOK01", layout);
         }},
        {"a named report",
         [&](const std::string& reports) {
             write_workbook(reports + "/" + name, layout);
             return reports + "/" + name;
         }},
    };
    for (const auto& [writer_name, write] : writers) {
        Bytes complete;
        CallCounts counts{};
        {
            TempWorkspace ws{scratch_parent()};
            {
                const fault::Armed count_only({});
                complete = read_file(write(ws / "Reports"));
            }
            counts = counted_calls();
        }
        ASSERT_GT(counts[int(fault::Call::Write)], 3) << writer_name;
        ASSERT_EQ(counts[int(fault::Call::Link)], 1) << writer_name;
        const std::vector<Trial> trials = every_fault(counts, writer_name);
        for (const Trial& t : trials) {
            const std::string& where = t.where;
            TempWorkspace ws{scratch_parent()};
            const std::string reports = ws / "Reports";
            bool reported_success = false;
            {
                const fault::Armed armed(t.plan);
                try {
                    EXPECT_EQ(write(reports), reports + "/" + name) << where;
                    reported_success = true;
                } catch (const FileError& e) {
                    EXPECT_THAT(e.what(), ::testing::HasSubstr(name)) << where;
                } catch (const fault::SimulatedCrash&) {
                }
            }
            const auto check = [&](bool allow_leftovers, const std::string& when) {
                for (const std::string& file : find_files(reports, "*")) {
                    if (file.find(".tmp-") != std::string::npos) {
                        EXPECT_TRUE(allow_leftovers) << when << ": " << file << " stays";
                        continue;
                    }
                    EXPECT_EQ(file, name) << when;
                    EXPECT_TRUE(read_file(reports + "/" + file) == complete)
                        << when << ": " << file << " is not complete";
                }
                if (reported_success) {
                    EXPECT_TRUE(file_exists(reports + "/" + name)) << when;
                }
            };
            check(true, where);
            EXPECT_TRUE(recover_workspace_files(ws.path()).empty()) << where;
            check(false, where + ", restarted");
        }
        const std::size_t runs = trials.size();
        std::cout << "[ fault    ] workbook, " << writer_name << ": " << runs << " runs\n";
    }
}

// Files placed under a name no file has (the printed reports' PDF files, written by the program
// without a printer and by kov-batch print): under every fault the folder keeps its files as they
// were and holds the new file complete or not at all; a failure that is reported leaves nothing,
// and a temporary stays only where the process died or its removal after placing failed.
TEST(FaultInjection, NewFilesAreWholeOrAbsent) {
    const Bytes old_data(1000, 1);
    const Bytes data(300000, 7);
    struct Writer {
        const char* name;
        std::function<void(const std::string& dir)> write;
        std::string placed;
    };
    const Writer writers[] = {
        {"under a free name",
         [&](const std::string& dir) { write_new_file(dir, "kov_R", ".pdf", data); },
         "kov_R (2).pdf"},
        {"at a given name", [&](const std::string& dir) { write_file_new(dir + "/out.pdf", data); },
         "out.pdf"},
    };
    const auto run = [&](const Writer& w, const std::string& dir, const fault::Plan& plan) {
        return runs_through([&] { w.write(dir); }, plan);
    };
    for (const Writer& w : writers) {
        CallCounts counts{};
        {
            TempDir clean;
            write_file_atomic(clean / "kov_R.pdf", old_data);
            ASSERT_TRUE(run(w, clean.path(), {})) << w.name;
            counts = counted_calls();
            EXPECT_EQ(read_file(clean / w.placed), data) << w.name;
            EXPECT_EQ(find_files(clean.path(), "*").size(), 2u) << w.name;
        }
        for (const Trial& t : every_fault(counts, w.name)) {
            const std::string& where = t.where;
            TempDir dir;
            write_file_atomic(dir / "kov_R.pdf", old_data);
            const bool ok = run(w, dir.path(), t.plan);
            const bool crashed = t.fault.effect == fault::Effect::CrashBefore ||
                                 t.fault.effect == fault::Effect::CrashAfter;
            bool placed = false;
            for (const std::string& name : find_files(dir.path(), "*")) {
                if (name == "kov_R.pdf") {
                    EXPECT_EQ(read_file(dir / name), old_data) << where;
                } else if (name == w.placed) {
                    placed = true;
                    EXPECT_EQ(read_file(dir / name), data) << where;
                } else {
                    EXPECT_TRUE(crashed || (ok && t.plan.call == fault::Call::Unlink))
                        << where << ": " << name << " stays";
                }
            }
            if (ok) {
                EXPECT_TRUE(placed) << where;
            } else if (!crashed) {
                EXPECT_FALSE(placed) << where;
            }
        }
    }
}
