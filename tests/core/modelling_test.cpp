#include "stats/modelling.h"

#include "dbor/expected_income.h"
#include "io/files.h"
#include "stats_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kov;
using stats_fixture::even_curve;

namespace {

constexpr CodePage kCp = CodePage::Cp1252;

std::string fixed_elapsed(double) {
    return "00:00:00";
}

// A modelling input on an in-memory database: plans[v] are the records of variant v.
ModellingInput input(int reg, int prmp, const std::vector<stats_fixture::Object>& objects,
                     std::vector<std::vector<ChoiceTriple>> plans,
                     std::vector<InvestmentVariant> variants = {}) {
    ModellingInput in;
    in.bdon = stats_fixture::database(reg, prmp, objects);
    in.header = stats_fixture::task_header("STAT01", reg, prmp, int(plans.size()));
    in.header.mz = std::int32_t(objects.size());
    in.variants =
        variants.empty() ? std::vector<InvestmentVariant>(plans.size(), {1000, 0}) : variants;
    in.plans = std::move(plans);
    in.solution_file = "Data/kov_STAT01_out.dat";
    return in;
}

// One sale object of cost 10 without modernisation (or with one of `duration`), amount 100.
stats_fixture::Object sale_object(std::vector<DborPoint> curve, double duration = 0) {
    stats_fixture::Object o{10, {{0, 0, {{100, curve}}}}};
    if (duration > 0) {
        o.variants.push_back({5, duration, {{100, curve}}});
    }
    return o;
}

void expect_every_threshold(const TStatBlock& block, double income) {
    for (const TStatThreshold& t : block) {
        EXPECT_EQ(t.income, income) << "p " << t.probability;
    }
}

} // namespace

TEST(StatRandomTest, RestartsAtZeroWithTheFixedMultiplier) {
    StatRandom r;
    EXPECT_EQ(r.next_state(), 1u);
    EXPECT_EQ(r.next_state(), 134775814u);
    EXPECT_EQ(r.next_state(), 3698175007u);
    EXPECT_EQ(r.next(), 870078620 / 4294967296.0);
    r.reset();
    EXPECT_EQ(r.next_state(), 1u);
}

TEST(DelayGridTest, SamplerReturnsTheFirstGridPointThatReachesU) {
    const std::vector<std::vector<DborPoint>> curves = {
        even_curve(10),
        {{0, 0}, {1, 0.5}, {9, 0.5}, {10, 1}},  // a long flat stretch
        {{0, 0}, {0.001, 0.999}, {100, 1}},     // nearly all mass at once
        {{0, 0}, {2, 0.3}, {2, 0.7}, {7.3, 1}}, // a vertical step inside
        {{0, 0}, {5, 0}, {5, 1}},               // ends in a vertical step
        {{0, 0}, {4, 0.6}, {6, 0.2}, {8, 1}},   // values that fall back
    };
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const DelayGrid grid = build_delay_grid(curves[c]);
        EXPECT_EQ(grid.t.back(), curves[c].back().x) << "curve " << c;
        const DelaySampler sampler(grid);
        std::vector<std::uint32_t> states = {0u, 1u, 0xFFFFFFFFu};
        // The states right at and around every grid value, where a search is easiest to get wrong.
        for (double g : grid.g) {
            const double s = std::ceil(g * 4294967296.0);
            for (double d : {-1.0, 0.0, 1.0}) {
                if (s + d >= 0 && s + d <= 4294967295.0) {
                    states.push_back(std::uint32_t(s + d));
                }
            }
        }
        StatRandom r;
        for (int i = 0; i < 20000; ++i) {
            states.push_back(r.next_state());
        }
        for (std::uint32_t s : states) {
            ASSERT_EQ(sampler.draw(s), draw_delay(grid, StatRandom::unit(s)))
                << "curve " << c << " state " << s;
        }
    }
}

TEST(DelayGridTest, CurveEndingInAVerticalStepDrawsItsLastPoint) {
    const std::vector<DborPoint> curve = {{0, 0}, {5, 0}, {5, 1}};
    const DelayGrid grid = build_delay_grid(curve);
    EXPECT_TRUE(std::all_of(grid.g.begin(), grid.g.end(), [](double g) { return g < 1; }));
    StatRandom r;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(draw_delay(grid, r.next()), 5.0);
    }
    // The modelling takes the draw at 5: a horizon of 5 sells in every trial, one just below never.
    for (const auto& [soi, income] : {std::pair{5.0, 100.0}, std::pair{4.999, 0.0}}) {
        ModellingInput in = input(1, 1, {sale_object(curve)}, {{{1, 0, 1}}});
        in.header.soi = soi;
        const StatFile s = model_statistics(in, 100);
        expect_every_threshold(s.blocks[0], income);
        EXPECT_EQ(s.variants[0].simulated_mean, income) << soi;
        EXPECT_EQ(s.variants[0].computed_mean, income) << soi;
    }
}

TEST(ModellingTest, HorizonBeforeAndAfterTheCurve) {
    struct Case {
        const char* what;
        double duration;
        double soi;
        double income;
    } cases[] = {
        {"modernisation longer than the horizon", 25, 20, 0},
        {"horizon beyond the last point", 0, 20, 100},
        {"delay range ending exactly at D", 8, 18, 100},
    };
    for (const Case& c : cases) {
        ModellingInput in = input(1, 1, {sale_object(even_curve(10), c.duration)},
                                  {{{1, c.duration > 0 ? 1 : 0, 1}}});
        in.header.soi = c.soi;
        // Enough trials that some draws take the last grid point, which lies exactly at D in the
        // last case.
        const StatFile s = model_statistics(in, 5000);
        EXPECT_EQ(s.variants[0].computed_mean, c.income) << c.what;
        EXPECT_EQ(s.variants[0].simulated_mean, c.income) << c.what;
        expect_every_threshold(s.blocks[0], c.income);
    }
}

// The thresholds are the sorted trial incomes at round(trials j / 10) - 1; checked against the
// trials worked out here from the generator and the literal scan.
TEST(ModellingTest, ThresholdsAreSortedTrialsAtTheirPositions) {
    const int positions_100[] = {9, 19, 29, 39, 49, 59, 69, 79, 89, 99};
    const int positions_105[] = {9, 20, 31, 41, 51, 62, 73, 83, 93, 104};
    for (int j = 1; j <= 10; ++j) {
        EXPECT_EQ(threshold_position(100, j), std::size_t(positions_100[j - 1])) << j;
        EXPECT_EQ(threshold_position(105, j), std::size_t(positions_105[j - 1])) << j;
    }
    EXPECT_EQ(threshold_position(100000, 10), 99999u);

    // One exploitation object in mode 2: every trial earns (D - delay) R less the full cost 14, so
    // the trials are all different, some below 0 and some above.
    const std::vector<DborPoint> curve = {{0, 0}, {3, 0.4}, {12, 1}};
    ModellingInput in =
        input(2, 2, {{10, {{0, 0, {{2.5, curve}}}, {4, 3, {{2.5, curve}}}}}}, {{{1, 1, 1}}});
    in.header.tmn = 11;
    const DelayGrid grid = build_delay_grid(curve);
    for (std::int32_t trials : {100, 105}) {
        StatRandom r;
        std::vector<double> incomes;
        double mean = 0;
        for (int t = 0; t < trials; ++t) {
            const double delay = draw_delay(grid, r.next());
            incomes.push_back((delay > 8 ? 0.0 : (8 - delay) * 2.5) - 14 - 0.0);
            mean += incomes.back();
        }
        std::sort(incomes.begin(), incomes.end());
        const StatFile s = model_statistics(in, trials);
        EXPECT_EQ(s.variants[0].simulated_mean, mean / trials);
        for (int j = 1; j <= 10; ++j) {
            EXPECT_EQ(s.blocks[0][j - 1].probability, j / 10.0);
            EXPECT_EQ(s.blocks[0][j - 1].income, incomes[threshold_position(trials, j)])
                << trials << " " << j;
        }
        EXPECT_EQ(s.blocks[0][9].income, incomes.back());
        EXPECT_LT(incomes.front(), 0);
        EXPECT_GT(incomes.back(), 0);
    }
}

TEST(ModellingTest, PaybackSeriesAndRecordFields) {
    struct Case {
        int reg;
        int nt;
        std::vector<double> series;
    } cases[] = {
        {1, 3, {30, 20, 10}},
        {2, 3, {10, 20, 30}},
        // A single series value serves every variant.
        {1, 1, {30, 30, 30}},
        {2, 1, {10, 10, 10}},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<ChoiceTriple>> plans(c.series.size(), {{1, 0, 1}});
        ModellingInput in = input(c.reg, 1, {sale_object(even_curve(4))}, plans);
        in.header.nt = c.nt;
        if (c.reg == 2) {
            in.bdon.objects[0].cost = 0;
        }
        const StatFile s = model_statistics(in, 100);
        ASSERT_EQ(s.variants.size(), c.series.size());
        // Equal plans give equal expected incomes: the records keep the variant order.
        for (std::size_t i = 0; i < c.series.size(); ++i) {
            const TStatVariant& r = s.variants[i];
            EXPECT_EQ(r.number, std::int32_t(i + 1));
            EXPECT_EQ(c.reg == 1 ? r.payback_coefficient : r.payback_term, c.series[i])
                << c.reg << " " << i;
            EXPECT_EQ(c.reg == 1 ? r.payback_term : r.payback_coefficient, c.reg == 1 ? 20.0 : 1.0);
            EXPECT_EQ(r.payback_amount, c.reg == 1 ? r.full_cost * c.series[i] : 25.0);
        }
    }
}

// Mode 2: every trial loses the full cost and the credit interest beyond the first variant's own
// funds; the expected income of a sale task counts the interest beyond the variant's own funds.
TEST(ModellingTest, CreditInterestOfModeTwo) {
    const stats_fixture::Object object{
        0, {{0, 0, {{300, even_curve(1)}}}, {100, 2, {{300, even_curve(1)}}}}};
    ModellingInput in = input(2, 1, {object}, {{{1, 1, 1}}, {{1, 1, 1}}}, {{50, 100}, {80, 70}});
    in.header.ps = 10;
    const StatFile s = model_statistics(in, 100);
    // 300 - 100 - (100 - 50) x 10 %: the same in both variants, in the trials and the computed
    // mean.
    ASSERT_EQ(s.variants.size(), 2u);
    EXPECT_EQ(s.variants[0].number, 2); // 300 - 100 - 0.01 x 10 x 20 = 198 before 195
    EXPECT_DOUBLE_EQ(s.variants[0].expected_income, 198);
    EXPECT_DOUBLE_EQ(s.variants[1].expected_income, 195);
    for (const TStatVariant& r : s.variants) {
        EXPECT_EQ(r.full_cost, 100);
        EXPECT_DOUBLE_EQ(r.computed_mean, 195);
        EXPECT_DOUBLE_EQ(r.simulated_mean, 195);
    }
    EXPECT_EQ(s.variants[0].own, 80);
    EXPECT_EQ(s.variants[0].credit, 70);
    EXPECT_EQ(s.blocks[0], s.blocks[1]);
}

// Selection by expected income (largest first, the first of equals among the remaining ones);
// the threshold blocks stay in variant order.
TEST(ModellingTest, RecordsSortedByExpectedIncomeBlocksInVariantOrder) {
    // Expected incomes A - cost: 10, 20, 10, 20; every trial sells, so the thresholds are A.
    const double costs[] = {50, 60, 40, 70}, amounts[] = {60, 80, 50, 90};
    std::vector<stats_fixture::Object> objects;
    std::vector<std::vector<ChoiceTriple>> plans(4, std::vector<ChoiceTriple>(4, kNotTaken));
    for (int i = 0; i < 4; ++i) {
        objects.push_back({costs[i], {{0, 0, {{amounts[i], even_curve(5)}}}}});
        plans[std::size_t(i)][std::size_t(i)] = {i + 1, 0, 1};
    }
    ModellingInput in = input(1, 1, objects, plans);
    const StatFile s = model_statistics(in, 100);
    std::vector<std::int32_t> order;
    for (const TStatVariant& r : s.variants) {
        order.push_back(r.number);
        expect_every_threshold(s.block_of(r), amounts[r.number - 1]);
    }
    // p = 1 takes variant 2 (swapped with 1), p = 2 variant 4 (swapped with 1), p = 3 keeps 3.
    EXPECT_EQ(order, (std::vector<std::int32_t>{2, 4, 3, 1}));
    for (int k = 0; k < 4; ++k) {
        expect_every_threshold(s.blocks[std::size_t(k)], amounts[k]);
    }
}

TEST(ModellingTest, SolutionThatNoLongerFitsTheDatabaseIsRefused) {
    const std::vector<DborPoint> curve = even_curve(4);
    const stats_fixture::Object object{10,
                                       {{0, 0, {{100, curve}, {90, {}}}}, {5, 1, {{80, curve}}}}};
    struct Case {
        ChoiceTriple record;
        const char* message;
    } cases[] = {
        {{3, 0, 1}, "investment variant 2: the database \"A_001\" has no object 3 (it holds 2)"},
        {{2, 2, 1}, "investment variant 2: object 2 \"000002\" has no modernisation variant 2"},
        {{2, 1, 2}, "object 2 \"000002\", modernisation variant 1 has no sale variant 2"},
        {{1, 0, 2},
         "the sale variant 2 of object 1 \"000001\", modernisation variant 0 has no delay curve"},
    };
    for (const Case& c : cases) {
        const ModellingInput in =
            input(1, 1, {object, object}, {{kNotTaken, {1, 0, 1}}, {kNotTaken, c.record}});
        try {
            model_statistics(in, 100);
            ADD_FAILURE() << c.message;
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), "Data/kov_STAT01_out.dat");
            EXPECT_NE(e.detail().find(c.message), std::string::npos) << e.detail();
        }
    }
}

TEST(ModellingTest, RunningNoticeFollowsOneCounterThroughBothPhases) {
    struct Case {
        std::uint64_t simulated, sorted, total;
        bool visible;
    } cases[] = {
        {0, 0, 2000, true},
        {249, 0, 2000, true},
        {250, 0, 2000, false},
        {499, 0, 2000, false},
        {500, 0, 2000, true},
        {1250, 0, 2000, false},
        {2000, 999, 2000, true},
        {2000, 1000, 2000, false},
        {2000, 1999, 2000, false},
        {2000, 2000, 2000, true},
        {2000, 3000, 2000, false},
        // 300 trials leave the counter at 300, hidden; the sorting goes on from there.
        {300, 699, 300, false},
        {300, 1700, 300, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(running_notice_visible(c.simulated, c.sorted, c.total), c.visible)
            << c.simulated << " " << c.sorted << " " << c.total;
    }
}

// On files: the run reads the task, its database and its solution and writes the statistics.
class StatisticsRunTest : public ::testing::Test {
protected:
    void write_task(std::vector<stats_fixture::Object> objects,
                    std::vector<std::vector<ChoiceTriple>> plans) {
        const TaskHeader h = stats_fixture::task_header("STAT01", 1, 1, int(plans.size()));
        bdon = stats_fixture::write_solved_task(
            ws.path(), stats_fixture::database(1, 1, objects), h,
            std::vector<InvestmentVariant>(plans.size(), {1000, 0}), plans);
    }
    std::string stat_path() const { return ws / "Data/kov_STAT01_stat.dat"; }

    TempWorkspace ws;
    BdonData bdon;
};

TEST_F(StatisticsRunTest, RunsWriteIdenticalFilesAndEqualVariantsGetEqualTrials) {
    // Both variants hold the same single object: the generator restarts for each.
    const stats_fixture::Object a{10, {{0, 0, {{100, {{0, 0}, {3, 0.2}, {40, 1}}}}}}};
    write_task({a, a}, {{{1, 0, 1}, kNotTaken}, {{1, 0, 1}, kNotTaken}});
    ModellingOptions one_thread;
    one_thread.threads = 1;
    const StatFile s =
        create_statistics(ws.path(), "STAT01", "eng", kCp, 1000, fixed_elapsed, one_thread);
    const Bytes first = read_file(stat_path());
    EXPECT_EQ(first.size(), stat_file_size(2));
    create_statistics(ws.path(), "STAT01", "eng", kCp, 1000, fixed_elapsed, one_thread);
    EXPECT_EQ(read_file(stat_path()), first);

    EXPECT_EQ(s.header.trials, 1000);
    EXPECT_EQ(s.header.money_unit, "thousand");
    EXPECT_EQ(s.header.time_unit, "month");
    EXPECT_EQ(s.blocks[0], s.blocks[1]);
    EXPECT_EQ(s.variants[0].simulated_mean, s.variants[1].simulated_mean);
    EXPECT_GT(s.variants[0].simulated_mean, 0);
    EXPECT_LT(s.variants[0].simulated_mean, 100);
    EXPECT_EQ(s.variants[0].computed_mean,
              expected_income(bdon.sale_points[0][0][0], 100, 0, 1, 20));
    EXPECT_EQ(read_stat_file(stat_path(), 2, kCp), s);
}

TEST_F(StatisticsRunTest, WorkerThreadsWriteEachVariantIntoItsOwnPlace) {
    // Three variants with different objects, so a result written into another variant's place
    // changes the file.
    const stats_fixture::Object a{10, {{0, 0, {{100, {{0, 0}, {3, 0.2}, {40, 1}}}}}}};
    const stats_fixture::Object b{10, {{0, 0, {{80, even_curve(12)}}}}};
    const stats_fixture::Object c{10, {{0, 0, {{60, even_curve(30)}}}}};
    write_task({a, b, c}, {{{1, 0, 1}, kNotTaken, kNotTaken},
                           {kNotTaken, {2, 0, 1}, kNotTaken},
                           {{1, 0, 1}, kNotTaken, {3, 0, 1}}});
    ModellingOptions one_thread;
    one_thread.threads = 1;
    const StatFile s =
        create_statistics(ws.path(), "STAT01", "eng", kCp, 1000, fixed_elapsed, one_thread);
    const Bytes first = read_file(stat_path());
    ASSERT_EQ(s.variants.size(), 3u);
    EXPECT_NE(s.variants[0].simulated_mean, s.variants[1].simulated_mean);
    EXPECT_NE(s.variants[1].simulated_mean, s.variants[2].simulated_mean);
    EXPECT_NE(s.blocks[0], s.blocks[1]);

    ModellingOptions two_threads;
    two_threads.threads = 2;
    std::vector<bool> notices;
    two_threads.notice = [&](bool visible) { notices.push_back(visible); };
    create_statistics(ws.path(), "STAT01", "eng", kCp, 1000, fixed_elapsed, two_threads);
    EXPECT_EQ(read_file(stat_path()), first);
    // The notice is shown at the end of the run (whether it blinked meanwhile depends on how
    // fast the machine runs, so that is not asked here).
    ASSERT_FALSE(notices.empty());
    EXPECT_TRUE(notices.back());
}

TEST_F(StatisticsRunTest, DatabaseCorrectedAfterSolvingLeavesTheOldFile) {
    const stats_fixture::Object a{10, {{0, 0, {{100, even_curve(4)}}}}};
    write_task({a}, {{{1, 0, 1}}});
    create_statistics(ws.path(), "STAT01", "eng", kCp, 100, fixed_elapsed);
    const Bytes old = read_file(stat_path());

    // The curve of the chosen sale variant was removed from the database afterwards.
    bdon.sale_points[0][0][0].clear();
    bdon.sale_variants[0][0][0].p = 0;
    write_bdon(ws.path(), "eng", bdon, "02.02.2024", kCp);
    try {
        create_statistics(ws.path(), "STAT01", "eng", kCp, 200, fixed_elapsed);
        ADD_FAILURE() << "modelled without a delay curve";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), ws / "Data/kov_STAT01_out.dat");
        EXPECT_NE(e.detail().find("object 1 \"000001\""), std::string::npos) << e.detail();
        EXPECT_NE(e.detail().find("\"A_001_dbor_eng.dat\""), std::string::npos) << e.detail();
    }
    EXPECT_EQ(read_file(stat_path()), old);
}

TEST_F(StatisticsRunTest, ChecksBeforeTheRunInTheirOrder) {
    const stats_fixture::Object a{10, {{0, 0, {{100, even_curve(4)}}}}};
    write_task({a}, {{{1, 0, 1}}});
    struct Case {
        const char* code;
        const char* trials;
        StatRefusal refusal;
    } cases[] = {
        {"STAT0", "1000", StatRefusal::CodeIncomplete},
        {"STAT01", "", StatRefusal::TrialsNotNumber},
        {"STAT01", " 1 0 ", StatRefusal::TrialsNotNumber},
        {"STAT01", "99", StatRefusal::TrialsOutOfRange},
        {"STAT01", "100001", StatRefusal::TrialsOutOfRange},
        {"STAT02", "100", StatRefusal::DescriptorMissing},
        {"STAT01", "100000 ", StatRefusal::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check_stat_request(ws.path(), c.code, c.trials, kCp).refusal, c.refusal)
            << c.code << c.trials;
    }
    EXPECT_EQ(check_stat_request(ws.path(), "STAT01", "100000 ", kCp).trials, 100000);

    std::filesystem::copy_file(ws / "Data/kov_STAT01.dat", ws / "Data/kov_STAT02.dat");
    EXPECT_EQ(check_stat_request(ws.path(), "STAT02", "100", kCp).refusal,
              StatRefusal::SolutionMissing);
    TaskHeader h = read_task_header(ws / "Data/kov_STAT01.dat", kCp);
    h.stat = 0;
    Bytes descriptor = read_file(ws / "Data/kov_STAT01.dat");
    const Bytes header = encode_task_header(h, kCp);
    std::copy(header.begin(), header.end(), descriptor.begin());
    write_file_atomic(ws / "Data/kov_STAT01.dat", descriptor);
    EXPECT_EQ(check_stat_request(ws.path(), "STAT01", "100", kCp).refusal, StatRefusal::NotAllowed);
}
