#include "task/task_builder.h"

#include "io/files.h"
#include "optim/solve_task.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <filesystem>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

using namespace kov;

namespace {

struct Income {
    double amount = 0;
    std::vector<DborPoint> curve = {};
};
struct Modernisation {
    double cost = 0;
    double duration = 0;
    std::vector<Income> sales = {};
    std::vector<Income> expls = {};
};
struct Object {
    double cost = 0;
    std::vector<Modernisation> variants; // variant 0 first
    bool absent = false;
};

const std::vector<DborPoint> kCurve = {{0, 0}, {2, 0.5}, {4, 1}};

BdonData database(char type, const std::vector<Object>& objects) {
    BdonData d;
    d.header.language = "eng";
    d.header.type = std::string(1, type);
    d.header.code = type == 'A' ? "101" : "000101";
    d.header.name = "Restrictions";
    d.header.mode = type == 'A' ? 1 : 2;
    d.header.cost_unit = "USD";
    d.header.time_unit = "months";
    d.header.m = std::int32_t(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const Object& o = objects[i];
        d.objects.push_back({std::to_string(100001 + i), "Object", o.cost,
                             std::int32_t(o.variants.size()) - 1, o.absent ? "*" : ""});
        d.variants.emplace_back();
        d.sale_variants.emplace_back();
        d.expl_variants.emplace_back();
        d.sale_points.emplace_back();
        d.expl_points.emplace_back();
        for (const Modernisation& m : o.variants) {
            d.variants[i].push_back({"Variant", m.cost, m.duration, std::int32_t(m.sales.size()),
                                     std::int32_t(m.expls.size())});
            d.sale_variants[i].emplace_back();
            d.expl_variants[i].emplace_back();
            d.sale_points[i].emplace_back();
            d.expl_points[i].emplace_back();
            for (const Income& s : m.sales) {
                d.sale_variants[i].back().push_back({s.amount, std::int32_t(s.curve.size())});
                d.sale_points[i].back().push_back(s.curve);
            }
            for (const Income& e : m.expls) {
                d.expl_variants[i].back().push_back({e.amount, std::int32_t(e.curve.size())});
                d.expl_points[i].back().push_back(e.curve);
            }
        }
    }
    return d;
}

// An object without modernisation that sells for twice its cost.
Object sale_object(double cost, std::vector<DborPoint> curve = {}) {
    return {cost, {{0, 0, {{2 * cost, curve}}}}};
}

TaskHeader header(const BdonData& bdon, int tipz) {
    TaskHeader h;
    h.shifr = "TEST01";
    h.name = "Test task";
    h.reg = bdon.header.mode;
    h.tipz = tipz;
    h.shifr_db = dbor_code(bdon.header);
    h.prmp = tipz <= 2 ? 1 : 2;
    h.prok = tipz % 2 == 0;
    h.stat = h.prok;
    h.nsg = 1;
    h.por = h.reg == 1 ? (h.prmp == 1 ? 1.1 : 0.01) : 0;
    h.mzad = 10;
    h.delta = 1;
    if (h.prok) {
        h.nt = 1;
        h.tmx = h.tmn = h.reg == 1 ? 0.5 : 12;
        h.soi = h.reg == 1 ? 24 : 0;
        h.srok = 3;
        h.ver = 0.3;
    }
    return h;
}

TaskDraft draft(const BdonData& bdon, int tipz, std::vector<InvestmentVariant> variants) {
    TaskDraft d{header(bdon, tipz), std::move(variants), {}};
    d.header.nsg = std::int32_t(d.variants.size());
    d.header.nt = d.header.prok ? d.header.nsg : 0;
    d.row_marks.assign(listed_objects(bdon, tipz).size(), true);
    return d;
}

class TaskBuilderTexts : public ::testing::Test {
protected:
    void SetUp() override {
        shell_ = load_shell(write_shell(dir_.path(), "eng", numbered_shell("eng English")));
    }
    TempDir dir_;
    LanguageShell shell_;
};

} // namespace

TEST(NoSaleProbability, InterpolatesTheCurveAtTheControlTerm) {
    const std::vector<DborPoint> jump = {{0, 0}, {0, 0.3}, {2, 1}};
    const struct {
        const std::vector<DborPoint>& curve;
        double term;
        double expected;
    } cases[] = {
        {kCurve, 1, 0.75},        {kCurve, 2, 0.5}, {kCurve, 3, 0.25},
        {kCurve, 4, 0},           {kCurve, 7, 0},  // at or beyond the last argument
        {kCurve, 3.999999995, 0},                  // within 1e-8 of it
        {jump, 0, 0.7},           {jump, 1, 0.35}, // a vertical step takes its upper value
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(no_sale_probability(c.curve, c.term), c.expected, 1e-12) << "term " << c.term;
    }
}

TEST(Restrictions, DurationThresholdAndProbabilityBoundsCarryTheirTolerance) {
    const struct {
        const char* what;
        int tipz;
        Object object;
        double mzad, por;
        bool admissible;
    } cases[] = {
        {"duration 0.0000005 over", 1, {800, {{0, 6.0000005, {{2000}}}}}, 6, 1.1, true},
        {"duration 0.000002 over", 1, {800, {{0, 6.000002, {{2000}}}}}, 6, 1.1, false},
        {"revenue just below 1.2 x cost", 1, {800, {{200, 1, {{1199.99}}}}}, 6, 1.2, false},
        {"revenue 1.2 x cost", 1, {800, {{200, 1, {{1200}}}}}, 6, 1.2, true},
        {"only the first sale variant counts",
         1,
         {800, {{200, 1, {{1000}, {5000}}}}},
         6,
         1.2,
         false},
        {"no sale variant", 1, {800, {{0, 0, {}, {{50}}}}}, 6, 1.2, false},
        {"pay-back: one variant passes both",
         2,
         {800, {{0, 0, {{900, kCurve}, {1300, kCurve}}}}},
         6,
         1.2,
         true},
        {"pay-back: no curve", 2, {800, {{0, 0, {{1300}}}}}, 6, 1.2, false},
        {"pay-back: probability above the bound",
         2,
         {800, {{0, 0, {{1300, {{0, 0}, {9, 1}}}}}}},
         6,
         1.2,
         false},
        {"exploitation ratio", 3, {800, {{0, 0, {}, {{7.99}}}}}, 6, 0.01, false},
    };
    for (const auto& c : cases) {
        const BdonData bdon = database('A', {c.object});
        TaskHeader h = header(bdon, c.tipz);
        h.mzad = c.mzad;
        h.por = c.por;
        EXPECT_EQ(variant_admissible(h, bdon, 0, 0), c.admissible) << c.what;
    }
    // Mode 2 has no threshold: any revenue passes.
    const BdonData own = database('B', {{0, {{0, 0, {{0.5}}}}}});
    EXPECT_TRUE(variant_admissible(header(own, 1), own, 0, 0));
}

TEST(Restrictions, AbsentObjectsAreNeverSelectedOrChosen) {
    // Object 2 has no sale variant and is not listed; object 3 is absent.
    Object absent = sale_object(300);
    absent.absent = true;
    const BdonData bdon =
        database('A', {sale_object(100), {100, {{0, 0, {}, {{5}}}}}, absent, sale_object(400)});
    EXPECT_EQ(listed_objects(bdon, 1), (std::vector<std::size_t>{0, 2, 3}));
    // Saved marks: row 2 (the absent object) loses its mark, row 3 has no saved mark.
    EXPECT_EQ(initial_row_marks(bdon, 1, {true, true}), (Marks{true, false, false}));

    const ObjectChoice choice = choose_objects(header(bdon, 1), bdon, {true, true, true});
    EXPECT_EQ(choice.object_marks, (Marks{true, false, false, true}));
    EXPECT_EQ(choice.mz, 2);
    EXPECT_THROW(choose_objects(header(bdon, 1), bdon, {true, true}), std::invalid_argument);
}

TEST(Restrictions, IncomeVariantsOfAPaybackTaskIgnoreTheThreshold) {
    // Sale variant 1 fails only the threshold, 2 passes both, 3 is likely unsold at the term.
    const BdonData bdon =
        database('A', {{800, {{0, 0, {{900, kCurve}, {1300, kCurve}, {1300, {{0, 0}, {9, 1}}}}}}}});
    TaskDraft d = draft(bdon, 2, {{1000, 0}});
    d.header.por = 1.2;
    d.header.tmx = d.header.tmn = 0.1;
    d.header.delta = 10;
    const PreparedTask task = prepare_task(d, bdon, "Shell (KOV 1.0).eng");
    ASSERT_EQ(task.problem, DraftProblem::None);
    EXPECT_EQ(task.files.descriptor.income_marks[0][0], (Marks{true, true, false}));
    const std::vector<ChoiceTriple> group = {kNotTaken, {1, 0, 1}, {1, 0, 2}};
    EXPECT_EQ(task.files.input.groups, std::vector<std::vector<ChoiceTriple>>{group});
}

TEST_F(TaskBuilderTexts, PhaseStatesFollowTicksObjectsAndLimit) {
    const struct {
        std::vector<double> costs;
        double delta;
        std::int32_t ogrn;
        double capital;
        std::int64_t faza;
        SizeCheck check;
    } cases[] = {
        {{100}, 1, 0, 100, 103, SizeCheck::Passed},
        {{100}, 0.01, 0, 100, 10003, SizeCheck::Passed},
        {{50, 50}, 0.01, 0, 100, 20004, SizeCheck::TooManyStates},
        // A limit of one object of two: twice the states, V is the larger full cost.
        {{60, 40}, 1, 1, 60, 2 * 61 * 2 + 2, SizeCheck::Passed},
        {{60, 40}, 0.0000009, 0, 0, 0, SizeCheck::TickTooSmall},
    };
    for (const auto& c : cases) {
        std::vector<Object> objects;
        for (double cost : c.costs) {
            objects.push_back(sale_object(cost));
        }
        const BdonData bdon = database('A', objects);
        TaskDraft d = draft(bdon, 1, {{100, 0}});
        d.header.delta = c.delta;
        d.header.ogrn = c.ogrn;
        const PreparedTask task = prepare_task(d, bdon, "Shell (KOV 1.0).eng");
        EXPECT_EQ(task.size.check, c.check) << c.faza;
        EXPECT_EQ(task.size.capital, c.capital) << c.faza;
        EXPECT_EQ(task.size.faza, c.faza);
        if (c.check == SizeCheck::Passed) {
            EXPECT_EQ(task.files.descriptor.header.faza, c.faza);
            EXPECT_EQ(task.files.input.header.ogrn, c.ogrn);
        }
    }

    const BdonData two = database('A', {sale_object(50), sale_object(50)});
    TaskDraft d = draft(two, 1, {{100, 0}});
    d.header.delta = 0.01;
    const PreparedTask refused = prepare_task(d, two, "Shell (KOV 1.0).eng");
    EXPECT_EQ(draft_problem_text(shell_, refused.problem, d.header, refused.size),
              "T417 20004 (> 20000 T92).T512.");
}

TEST(TaskSize, MoneyWithoutPaybackIsTheLargestVariantAndSaturatesInsteadOfOverflowing) {
    const BdonData bdon = database('A', {sale_object(100), sale_object(200)});
    TaskDraft d = draft(bdon, 1, {{50, 0}, {100, 500}, {20, 30}});
    const PreparedTask task = prepare_task(d, bdon, "");
    EXPECT_EQ(task.size.money_ticks, 300); // variant 2: own 100 + credit R(300 - 100)
    EXPECT_EQ(task.size.faza, 2 * 301 + 2);

    const BdonData huge = database('A', {sale_object(5e7, kCurve), sale_object(5e7, kCurve)});
    // With pay-back both the money and the pay-back amount come to 1e14 ticks.
    TaskDraft big = draft(huge, 2, {{1e8, 0}});
    big.header.delta = 0.000001;
    big.header.tmx = big.header.tmn = 1;
    const PreparedTask refused = prepare_task(big, huge, "");
    EXPECT_EQ(refused.problem, DraftProblem::TooManyStates);
    EXPECT_EQ(refused.size.faza, std::numeric_limits<std::int64_t>::max());
}

TEST(PaybackCap, TheFirstIncomeFromTheBoundThatPaysBackAllTheMoney) {
    // Mode 1 with the series 0.51, 0.5; mode 2 with 10 % interest and 1.5 of required income.
    TaskHeader one;
    one.reg = 1;
    one.prok = 1;
    one.nt = 2;
    one.tmx = 0.51;
    one.tmn = 0.5;
    one.delta = 1;
    TaskHeader two = one;
    two.reg = 2;
    two.ps = 10;
    two.nsd = 1.5;
    TaskHeader half = two;
    half.delta = 0.5;
    TaskHeader hopeless = two;
    hopeless.nsd = 1e20;
    TaskHeader none = one;
    none.prok = 0;
    const std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max();
    const struct {
        const char* what;
        const TaskHeader& h;
        int k;
        TickAmounts t;
        std::int64_t expected;
    } cases[] = {
        // 7 x 0.51 = 3.57 rounded down: spending 7 ticks needs 4.
        {"bound rounded below the need", one, 0, {7, 0, 3}, 4},
        {"bound that covers the need", one, 0, {7, 0, 4}, 4},
        {"bound above the need", one, 0, {5, 2, 6}, 6},
        {"the second coefficient, met exactly", one, 1, {10, 0, 4}, 5},
        {"no money", one, 0, {0, 0, 0}, 0},
        // 10 ticks + 0.2 interest + 1.5 required = 11.7; in ticks of 0.5 the income is 3 ticks.
        {"mode 2", two, 0, {8, 2, 11}, 12},
        {"mode 2 in ticks of 0.5", half, 0, {8, 2, 11}, 14},
        {"mode 2 bound that covers the need", two, 0, {8, 2, 13}, 13},
        {"without pay-back", none, 0, {7, 0, 0}, 0},
        {"a need beyond 2^52 ticks", hopeless, 0, {8, 2, 11}, kSaturated},
    };
    for (const auto& c : cases) {
        const std::int64_t cap = payback_cap(c.h, c.t, c.k);
        EXPECT_EQ(cap, c.expected) << c.what;
        if (cap != kSaturated) {
            const std::int64_t money = c.t.own + c.t.credit;
            EXPECT_TRUE(payback_met(c.h, c.k, c.t.own, money, cap)) << c.what;
            EXPECT_TRUE(cap == c.t.payback || !payback_met(c.h, c.k, c.t.own, money, cap - 1))
                << c.what;
        }
    }
    // 1e14 ticks at the coefficient 1: found in a few steps, not by counting up from 0.
    TaskHeader full = one;
    full.tmx = full.tmn = 1;
    const std::int64_t money = 100000000000000;
    const std::int64_t cap = payback_cap(full, {money, 0, 0}, 0);
    EXPECT_TRUE(payback_met(full, 0, money, money, cap));
    EXPECT_FALSE(payback_met(full, 0, money, money, cap - 1));
    EXPECT_NEAR(double(cap), 1e14 * (1 - 1e-8), 2);
}

TEST(TaskSize, PhaseStatesCountThePaybackIncomeTheOptimiserKeeps) {
    // Mode 1: V = 7 and tmx = 0.51; rounded down P = 3, rounded to nearest 4 = P*.
    const BdonData sale = database('A', {sale_object(7, kCurve)});
    // Mode 2: V = 10 with 2 on credit at 10 %, required income 1.5: 11.7, rounded down 11.
    const BdonData own = database('B', {{0, {{0, 0}, {10, 1, {{30, kCurve}}}}}});
    const struct {
        const char* what;
        const BdonData& bdon;
        InvestmentVariant money;
        int toc;
        std::int64_t payback, cap, faza;
    } cases[] = {
        {"mode 1, P below the need", sale, {7, 0}, kRoundDown, 3, 4, 1 * 8 * 5 + 2},
        {"mode 1, P covers the need", sale, {7, 0}, kRoundNearest, 4, 4, 1 * 8 * 5 + 2},
        {"mode 2, P below the need", own, {8, 2}, kRoundDown, 11, 12, 1 * 11 * 13 + 2},
    };
    for (const auto& c : cases) {
        TaskDraft d = draft(c.bdon, 2, {c.money});
        d.header.toc = c.toc;
        d.header.ps = 10;
        if (d.header.reg == 1) {
            d.header.tmx = d.header.tmn = 0.51;
        } else {
            d.header.nsd = 1.5;
        }
        const PreparedTask task = prepare_task(d, c.bdon, "");
        ASSERT_EQ(task.problem, DraftProblem::None) << c.what;
        EXPECT_EQ(task.files.input.ticks[0].payback, c.payback) << c.what; // the files keep P
        EXPECT_EQ(task.size.payback_ticks, c.cap) << c.what;
        EXPECT_EQ(task.files.input.header.faza, c.faza) << c.what;
        // The optimiser counts the same phase states, so it never refuses the task for its size.
        EXPECT_EQ(phase_states(solver_task(task.files.input, c.bdon, "input"), 0), c.faza)
            << c.what;
    }
}

TEST_F(TaskBuilderTexts, ObjectLimitNotBelowTheChosenObjectsIsDropped) {
    for (const auto& [objects, dropped] : {std::pair{3, true}, std::pair{4, false}}) {
        const BdonData bdon =
            database('A', std::vector<Object>(std::size_t(objects), sale_object(10)));
        TaskDraft d = draft(bdon, 1, {{100, 0}});
        d.header.ogrn = 3;
        const PreparedTask task = prepare_task(d, bdon, "");
        ASSERT_EQ(task.problem, DraftProblem::None);
        EXPECT_EQ(task.limit_dropped, dropped) << objects;
        EXPECT_EQ(task.files.input.header.ogrn, dropped ? 0 : 3) << objects;
    }
    EXPECT_EQ(limit_dropped_text(shell_, 3, 3), "T124 (=3) T19 (=3).");
}

TEST_F(TaskBuilderTexts, DraftProblemsStopAtTheFirstFailingCheck) {
    const BdonData sale = database('A', {sale_object(1000), sale_object(1000, kCurve)});
    const BdonData own = database('B', {{0, {{0, 0, {{300, kCurve}}}}}});
    const BdonData none = database('A', {sale_object(10)});
    const struct {
        const char* what;
        const BdonData& bdon;
        int tipz;
        std::function<void(TaskDraft&)> change;
        DraftProblem problem;
        std::string text;
    } cases[] = {
        {"nothing usable", none, 2, [](TaskDraft&) {}, DraftProblem::NoObjectListed,
         "T496 2 T200. T79."},
        {"nothing selected", sale, 1, [](TaskDraft& d) { d.row_marks.assign(2, false); },
         DraftProblem::NoObjectSelected, "T197."},
        {"nothing passes", sale, 1, [](TaskDraft& d) { d.header.por = 2.5; },
         DraftProblem::NoObjectChosen, "T496 1 T201. T79."},
        {"tick too small", sale, 1, [](TaskDraft& d) { d.header.delta = 0.0000009; },
         DraftProblem::TickTooSmall, "T511."},
        // Mode 1: the third coefficient times V = 1000 is 0.1, below half a tick.
        {"coefficient below a tick", sale, 2,
         [](TaskDraft& d) {
             d.variants.assign(3, {1000, 0});
             d.header.nsg = d.header.nt = 3;
             d.header.tmx = 0.9;
             d.header.tmn = 0.0001;
             d.header.delta = 10;
         },
         DraftProblem::PaybackBelowTick, "T234 3. T513."},
        // Mode 2: nothing to pay back but the required income, which is below a tick.
        {"required income below a tick", own, 2, [](TaskDraft& d) { d.header.nsd = 0.4; },
         DraftProblem::PaybackBelowTick, "T233 1. T488."},
    };
    for (const auto& c : cases) {
        TaskDraft d = draft(c.bdon, c.tipz, {{1000, 0}});
        c.change(d);
        const PreparedTask task = prepare_task(d, c.bdon, "");
        EXPECT_EQ(task.problem, c.problem) << c.what;
        EXPECT_EQ(draft_problem_text(shell_, task.problem, d.header, task.size), c.text) << c.what;
    }
}

TEST(PrepareTask, WritesBothTaskFilesWithTheChosenVariants) {
    // Objects with 1, 0 and 2 modernisation variants; object 2 is not selected, the
    // restrictions keep one modernisation variant of objects 1 and 3.
    const BdonData bdon = database(
        'A', {{1000, {{0, 0, {{3000}}}, {100, 5, {{4000}}}}},
              sale_object(500),
              {2000, {{0, 0, {}, {{40}}}, {300, 0.5, {{5000}, {6000}}}, {400, 5, {{7000}}}}}});
    TaskDraft d = draft(bdon, 1, {{1500, 2000}, {4000, 0}});
    d.header.mzad = 1;
    d.header.delta = 50;
    d.row_marks = {true, false, true};
    const PreparedTask task = prepare_task(d, bdon, "Shell (KOV 1.0).eng");
    ASSERT_EQ(task.problem, DraftProblem::None);
    EXPECT_EQ(task.files.descriptor.variant_marks,
              (std::vector<Marks>{{true, false}, {false}, {false, true, false}}));
    EXPECT_EQ(task.files.input.groups, (std::vector<std::vector<ChoiceTriple>>{
                                           {kNotTaken, {1, 0, 1}}, {kNotTaken, {3, 1, 1}}}));
    // V = 1000 + 2300; variant 1 borrows the rest, variant 2 pays it all.
    EXPECT_EQ(task.size.capital, 3300);
    EXPECT_EQ(task.files.input.ticks, (std::vector<InvestmentTicks>{{30, 36, 0}, {66, 0, 0}}));
    EXPECT_EQ(task.files.input.header.faza, 2 * 67 + 2);

    TempWorkspace ws;
    save_task(ws.path(), task, bdon, CodePage::Cp1252);
    const std::string descriptor = task_file_path(ws.path(), "Data", "TEST01", "");
    const std::string input = task_file_path(ws.path(), "Data", "TEST01", "_in");
    EXPECT_EQ(std::filesystem::file_size(descriptor), 232u + 32 + 2 * 3 + 6 + 12 + 8 + 12 * 4);
    EXPECT_EQ(std::filesystem::file_size(input), 232u + 24 + 8 + 48 + 25);
    EXPECT_EQ(read_task_descriptor(descriptor, bdon, CodePage::Cp1252), task.files.descriptor);
    EXPECT_EQ(read_task_input(input, bdon, CodePage::Cp1252), task.files.input);

    PreparedTask refused = task;
    refused.problem = DraftProblem::TooManyStates;
    EXPECT_THROW(save_task(ws.path(), refused, bdon, CodePage::Cp1252), std::invalid_argument);
}

TEST(TickSummary, ShowsAtLeastTwoDecimals) {
    const struct {
        const char* typed;
        char sep;
        const char* shown;
    } cases[] = {{"1", ',', "1,00"},     {"0,5", ',', "0,50"}, {"2,125", ',', "2,125"},
                 {" 12 ", ',', "12,00"}, {"0.5", '.', "0.50"}, {"7,25", ',', "7,25"}};
    for (const auto& c : cases) {
        EXPECT_EQ(tick_summary_text(c.typed, c.sep), c.shown) << c.typed;
    }
}
