// The run of a queued task: input file and database in, the lines of the run, the solution file.
#include "optim/solve_task.h"

#include "io/files.h"
#include "io/numbers.h"
#include "solver_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kov;

namespace {

struct Lines : RunProgress {
    std::vector<std::pair<RunLine, std::string>> shown;
    void show(RunLine line, const std::string& text) override { shown.emplace_back(line, text); }
    // The texts shown, cleared lines left out.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& [line, text] : shown) {
            if (!text.empty()) {
                out.push_back(text);
            }
        }
        return out;
    }
};

// A type-A database of `m` objects without modernisation, each with one sale and one
// exploitation variant of linear delay curves over 10 time units.
BdonData database(int m) {
    BdonData db;
    db.header = {"eng", "A", "001", "test", 1, "USD", "days", m, m, m, m, m, ""};
    for (int i = 0; i < m; ++i) {
        db.objects.push_back({"00000" + std::to_string(i + 1), "", 10.0 + i, 0, ""});
        db.variants.push_back({DborVariant{"", 0, 0, 1, 1}});
        db.sale_variants.push_back({{{20.0 + 3 * i, 2}}});
        db.expl_variants.push_back({{{1.5, 2}}});
        db.sale_points.push_back({{{{0, 0}, {10, 1}}}});
        db.expl_points.push_back({{{{0, 0}, {10, 1}}}});
    }
    return db;
}

// A task of the type with one group per object of the database.
TaskInput task_input(const BdonData& db, int tipz, int nsg) {
    TaskInput in;
    in.header = solver_fixture::task_header(tipz);
    in.header.shifr = "RUN001";
    in.header.nsg = nsg;
    in.header.mt = static_cast<std::int32_t>(db.objects.size());
    in.header.mz = in.header.mt;
    if (in.header.prok == 1) {
        in.header.nt = nsg;
        in.header.soi = 8;
        in.header.tmx = 0.5;
        in.header.tmn = 0.2;
    }
    for (int v = 0; v < nsg; ++v) {
        in.ticks.push_back({30 + 10 * v, 5, in.header.prok == 1 ? 20 : 0});
    }
    for (int i = 1; i <= in.header.mz; ++i) {
        in.groups.push_back({kNotTaken, {i, 0, 1}});
    }
    in.payback_series = payback_series(in.header);
    in.shell_file_name = "Shell (KOV 1.0).eng";
    return in;
}

class SolverRun : public ::testing::Test {
protected:
    // Writes the database and the queued input file.
    void queue(BdonData db, const TaskInput& in) {
        write_bdon(ws_.path(), "eng", db, "01.02.2024", CodePage::Cp1252);
        write_file_atomic(task_file_path(ws_.path(), "Solving", in.header.shifr, "_in"),
                          encode_task_input(in, db, CodePage::Cp1252));
    }

    TaskRun run(const SchemeParameters& p = {}) { return solve_task("RUN001", setup(p), lines_); }

    SolveSetup setup(const SchemeParameters& p) {
        RunClock clock;
        clock.now = [this] { return now_ += now_step_; };
        // Times of day in quarter seconds.
        clock.time_text = [](double t) {
            return "time " + std::to_string(std::lround((t - std::floor(t)) * 86400 * 4));
        };
        clock.date_text = [](double t) { return "day " + std::to_string(long(t)); };
        clock.seconds = [this] { return seconds_ += 1.5; };
        clock.duration_text = [](double s) { return duration_text(s, "."); };
        return {ws_.path(), shell_, ',', p, {"first", "second", "third"}, clock};
    }

    std::string out_path() const { return task_file_path(ws_.path(), "Solving", "RUN001", "_out"); }

    TempWorkspace ws_;
    LanguageShell shell_ = solver_fixture::numbered_texts();
    Lines lines_;
    double now_ = 45000.5;
    double now_step_ = 0.25 / 86400; // a quarter of a second each reading
    double seconds_ = 0;
};

} // namespace

TEST_F(SolverRun, SolvedTaskShowsEveryLineAndWritesItsPlans) {
    const BdonData db = database(3);
    queue(db, task_input(db, 1, 2));
    const TaskRun r = run();

    ASSERT_TRUE(r.result.complete);
    EXPECT_EQ(read_file(out_path()).size(), 464u + 8 + 72);
    const Solution s =
        read_solution(out_path(), task_input(db, 1, 2).header, db, nullptr, CodePage::Cp1252);
    EXPECT_EQ(s.header.result, 1);
    EXPECT_EQ(s.header.message, std::string(255, ' '));
    EXPECT_EQ(s.header.info1, "first");
    EXPECT_EQ(s.header.duration, "0.00.01"); // two readings of the steady clock, 1.5 s apart
    EXPECT_EQ(s.header.end_date, 45000);
    EXPECT_EQ(s.header.kr, 5);
    EXPECT_EQ(s.header.lchi, 3000);
    EXPECT_EQ(s.header.okr, 0.9);
    for (std::size_t v = 0; v < 2; ++v) {
        EXPECT_EQ(s.cycles[v], r.result.variants[v].cycles);
        EXPECT_EQ(s.plans[v], r.result.variants[v].choices);
    }

    const auto& v1 = r.result.variants[0];
    const auto& v2 = r.result.variants[1];
    const std::vector<std::string> expected{
        "T196 \"RUN001\":  time 172801 (T47) day 45000 (T80).",
        "1. T108. T474 - 2.",
        "2. T109 1T76 " + std::to_string(v1.states) + ".",
        "3. T110 1T74.",
        "4. T112 1T74. T298! T506 - " + std::to_string(v1.cycles) + ". T172 3 S23 - " +
            format_fixed(v1.gain, 2, ',') + " S6",
        "5. T111 1T74.",
        "2. T109 2T76 " + std::to_string(v2.states) + ".",
        "3. T110 2T74.",
        "4. T112 2T74. T298! T506 - " + std::to_string(v2.cycles) + ". T172 3 S23 - " +
            format_fixed(v2.gain, 2, ',') + " S6",
        "5. T111 2T74.",
        "6. T107 \"RUN001\", T426 2 T125.",
        "T88 \"RUN001\" - 0.00.01.",
    };
    EXPECT_EQ(lines_.texts(), expected);
    // Each variant starts with its lines 2, 3 and 5 cleared.
    int cleared = 0;
    for (const auto& [line, text] : lines_.shown) {
        cleared += text.empty() && line == RunLine::Progress5;
    }
    EXPECT_EQ(cleared, 1 + 2);
}

TEST_F(SolverRun, DurationComesFromTheSteadyClockWhenTheTimeOfDayGoesBack) {
    const BdonData db = database(3);
    queue(db, task_input(db, 1, 2));
    now_ = 45000.99999;
    now_step_ = -0.5; // the system's clock is set back during the run
    run();
    const SolutionHeader h = read_solution_header(out_path(), CodePage::Cp1252);
    EXPECT_EQ(h.duration, "0.00.01");
}

TEST_F(SolverRun, ExploitationLineFourShowsIncomePerTimeUnit) {
    const BdonData db = database(2);
    queue(db, task_input(db, 3, 1));
    const TaskRun r = run();
    const std::string line4 = lines_.texts()[4];
    const auto& v = r.result.variants[0];
    EXPECT_EQ(line4, "4. T112 1T74. T298! T506 - " + std::to_string(v.cycles) + ". T173 2 S23 - " +
                         format_fixed(v.gain, 2, ',') + " S6/S3");
    EXPECT_NEAR(v.gain, 3, 0.01); // both objects taken
}

TEST_F(SolverRun, TaskWithoutGroupsWritesTheHeaderOnly) {
    const BdonData db = database(1);
    TaskInput in = task_input(db, 1, 2);
    in.header.mz = 0;
    in.groups.clear();
    queue(db, in);
    EXPECT_TRUE(run().result.complete);
    const Bytes file = read_file(out_path());
    ASSERT_EQ(file.size(), 464u);
    EXPECT_EQ(read_solution_header(out_path(), CodePage::Cp1252).result, 1);
}

TEST_F(SolverRun, RefusedRunWritesAnUnsolvedSolutionWithItsMessage) {
    const BdonData db = database(2);
    queue(db, task_input(db, 1, 2));
    const TaskRun r = run({0.05, 0.001, 5, 3000});
    EXPECT_FALSE(r.result.complete);
    const std::string message = "T126 \"RUN001\". T504. T375 0,050.";
    EXPECT_NE(
        std::find(lines_.shown.begin(), lines_.shown.end(), std::pair{RunLine::Message, message}),
        lines_.shown.end());
    const Solution s =
        read_solution(out_path(), task_input(db, 1, 2).header, db, nullptr, CodePage::Cp1252);
    EXPECT_EQ(s.header.result, 0);
    EXPECT_EQ(s.header.message, message);
    EXPECT_EQ(s.header.okr, 0.05);
    EXPECT_EQ(s.cycles, (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(s.plans, std::vector<std::vector<ChoiceTriple>>(2, {kNotSolved, kNotSolved}));
    // Line 1 is never shown for a refused task; line 6 and the end line are.
    const auto texts = lines_.texts();
    EXPECT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2], "6. T107 \"RUN001\", T426 2 T125.");
}

TEST(SolverRunTexts, MessagesOfRefusedAndFailedRuns) {
    const LanguageShell shell = solver_fixture::numbered_texts();
    const RunTexts texts(shell, ',', "ABC123");
    const SchemeParameters p{0.9995, 0.1234, -2, 7};
    const std::pair<SolverOutcome, std::string> cases[] = {
        {SolverOutcome::OmegaOutOfRange, "T126 \"ABC123\". T504. T375 1,000."},
        {SolverOutcome::ThresholdOutOfRange, "T126 \"ABC123\". T504. T374 0,123 ."},
        {SolverOutcome::CheckEveryOutOfRange, "T126 \"ABC123\". T504. T373 -2."},
        {SolverOutcome::MaxCyclesOutOfRange, "T126 \"ABC123\". T504. T376 7."},
        {SolverOutcome::TooManyStates, "T126 \"ABC123\". T504. T384 3T75 20001 (>20000 T92)."},
        {SolverOutcome::IterationLimit, "T126 \"ABC123\". T14 3T74. T372."},
    };
    for (const auto& [outcome, expected] : cases) {
        EXPECT_EQ(texts.message(outcome, p, 3, 20001), expected);
    }
}

TEST_F(SolverRun, DatabaseThatLostAnIncomeCurveIsRefusedWithoutSolution) {
    BdonData db = database(2);
    const TaskInput in = task_input(db, 2, 1);
    db.sale_points[1][0][0].clear(); // the curve of group 2's alternative
    db.sale_variants[1][0][0].p = 0;
    queue(db, in);
    try {
        run();
        FAIL() << "solved";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Format);
        EXPECT_NE(e.detail().find("no delay curve"), std::string::npos) << e.what();
        EXPECT_NE(e.detail().find("A_001_dbor_eng.dat"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(file_exists(out_path()));
}

TEST(SolverTaskOfInput, DerivesCostsFromTheDatabase) {
    BdonData db = database(2);
    db.path = "db.dat";
    db.objects[1].n = 1;
    db.variants[1].push_back({"", 4.5, 2, 1, 1});
    db.sale_variants[1].push_back({{31, 2}});
    db.expl_variants[1].push_back({{2, 2}});
    db.sale_points[1].push_back({{{0, 0}, {4, 1}}});
    db.expl_points[1].push_back({{{0, 0}, {4, 1}}});
    TaskInput in = task_input(db, 2, 1);
    in.groups[1].push_back({2, 1, 1});
    const SolverTask t = solver_task(in, db, "in.dat");
    ASSERT_EQ(t.groups.size(), 2u);
    const SolverAlternative& a = t.groups[1][2];
    EXPECT_EQ(a.object_cost, 11);
    EXPECT_EQ(a.modernisation_cost, 4.5);
    EXPECT_EQ(a.amount, 31);
    EXPECT_EQ(a.duration, 2);
    EXPECT_EQ(a.curve, (std::vector<DborPoint>{{0, 0}, {4, 1}}));

    db.variants[1][1].cost = -1;
    EXPECT_THROW(solver_task(in, db, "in.dat"), FileError);
}
