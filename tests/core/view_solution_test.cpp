#include "view/solution_view.h"

#include "dbor/expected_income.h"
#include "io/files.h"
#include "io/numbers.h"
#include "stats_fixture.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

using namespace kov;
using stats_fixture::even_curve;
using view_fixture::column;
using view_fixture::kCp;

namespace {

using Plans = std::vector<std::vector<ChoiceTriple>>;

// The header of task SOLV01; without pay-back (prok 0) the task type is 1 or 3.
TaskHeader header(int reg, int prmp, int prok, int nsg) {
    TaskHeader h = stats_fixture::task_header("SOLV01", reg, prmp, nsg);
    if (prok == 0) {
        h.prok = 0;
        h.tipz = prmp == 1 ? 1 : 3;
        h.nt = 0;
        h.stat = 0;
    }
    return h;
}

VariantFlags flags(std::initializer_list<int> variants) {
    VariantFlags f{};
    for (int v : variants) {
        f[std::size_t(v - 1)] = true;
    }
    return f;
}

// Two purchasable objects with sale variants: object 2 also with a modernisation variant.
const std::vector<stats_fixture::Object> kTwoObjects = {
    {100, {{0, 0, {{300, even_curve(4)}}}}},
    {200, {{0, 0, {{500, even_curve(6)}}}, {50, 2, {{700, even_curve(3)}}}}},
};

class SolutionViewTest : public ::testing::Test {
protected:
    void write(const TaskHeader& h, const std::vector<stats_fixture::Object>& objects,
               const Plans& plans, InvestmentVariant money = {250, 500}) {
        bdon = stats_fixture::write_solved_task(
            ws.path(), stats_fixture::database(h.reg, h.prmp, objects), h,
            std::vector<InvestmentVariant>(std::size_t(h.nsg), money), plans);
    }
    // Mode 1 with pay-back, coefficients 0.9, 0.8, 0.7: variant 2 holds only object 2.
    void write_three_variants() {
        TaskHeader h = header(1, 1, 1, 3);
        h.tmx = 0.9;
        h.tmn = 0.7;
        write(h, kTwoObjects,
              {{{1, 0, 1}, {2, 1, 1}}, {kNotTaken, {2, 0, 1}}, {{1, 0, 1}, kNotTaken}});
    }
    SolutionView view(const VariantFlags& shown = all_flags<VariantFlags>()) {
        return build_solution_view(ws.path(), "SOLV01", shell, ',', shown);
    }
    std::string out_path() const { return ws / "Data/kov_SOLV01_out.dat"; }

    TempWorkspace ws;
    BdonData bdon;
    const LanguageShell shell = view_fixture::shell();
};

TEST_F(SolutionViewTest, VariantsOneAndThreeOfThreeWithOneSeparator) {
    write_three_variants();
    const SolutionView v = view(flags({1, 3}));
    const ViewGrid& g = v.content.grids.at(0);
    ASSERT_EQ(g.rows.size(), 4u);
    EXPECT_EQ(view_fixture::separators(g), 1u);
    EXPECT_TRUE(g.rows[2].separator);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"1", "", "", "3"}));
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"20,0/0,90", "", "", "20,0/0,70"}));
    // C x S: 350 x 0.9 and 100 x 0.7.
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"315,00", "", "", "70,00"}));
    const double e1 = expected_income(bdon, 1, 0, 0, 0, 20) + expected_income(bdon, 1, 1, 1, 0, 20);
    EXPECT_EQ(g.rows[0].cells[3], format_fixed(e1, 2, ','));
    // X: 1000 - 350 - 0.1 x (350 - 250); variant 3 borrows nothing: 300 - 100.
    EXPECT_EQ(column(g, 4), (std::vector<std::string>{"640,00", "", "", "200,00"}));
    EXPECT_EQ(column(g, 5), (std::vector<std::string>{"3", "", "", "3"}));
    EXPECT_EQ(column(g, 6), (std::vector<std::string>{"1", "2", "", "1"}));
    EXPECT_EQ(column(g, 9), (std::vector<std::string>{"100", "200", "", "100"}));
    EXPECT_EQ(column(g, 10), (std::vector<std::string>{"0", "1", "", "0"}));
    EXPECT_EQ(column(g, 11), (std::vector<std::string>{"0", "50", "", "0"}));
    EXPECT_EQ(column(g, 12), (std::vector<std::string>{"0", "2", "", "0"}));
    EXPECT_EQ(column(g, 14), (std::vector<std::string>{"300", "700", "", "300"}));
    EXPECT_EQ(g.columns.at(1).heading, "T432 (month) /T165");
    EXPECT_EQ(g.columns.at(2), (ViewColumn{"T291 (thousand)", 74, false}));
}

TEST_F(SolutionViewTest, FundsUsedAreWorkedOutForVariantsNotShown) {
    write_three_variants();
    for (const VariantFlags& shown : {flags({1, 3}), flags({})}) {
        const SolutionView v = view(shown);
        ASSERT_EQ(v.figures.size(), 3u);
        EXPECT_EQ(v.figures[1].full_cost, 200);
        EXPECT_EQ(v.figures[1].amount, 500);
        EXPECT_EQ(v.figures[1].income, 300);
        EXPECT_EQ(v.figures[1].own_used, 200);
        EXPECT_EQ(v.figures[0].credit_used, 100);
        EXPECT_DOUBLE_EQ(v.figures[1].series, 0.8);
        const auto& p = v.content.params;
        const auto at = std::find(p.begin(), p.end(),
                                  ViewParam{"T24 <2>", "T446 (thousand): T356 - 250, T353 - 200"});
        ASSERT_NE(at, p.end());
        EXPECT_EQ(at[1], (ViewParam{"", " T445 (thousand): T356 - 500, T353 - 0"}));
        EXPECT_EQ(at[2], (ViewParam{"", "  S32 (month) - 20,00   T166: 0,800"}));
    }
}

TEST_F(SolutionViewTest, AllBoxesClearedGiveOneEmptyRow) {
    write_three_variants();
    const SolutionView v = view(flags({}));
    const ViewGrid& g = v.content.grids.at(0);
    ASSERT_EQ(g.rows.size(), 1u);
    EXPECT_FALSE(g.rows[0].separator);
    EXPECT_EQ(g.rows[0].cells, std::vector<std::string>(15));
    const auto keys = view_fixture::keys(v.content);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "T24 <3>"), 1);
}

TEST_F(SolutionViewTest, VariantWithoutEntriesTakesOneRow) {
    write(header(1, 1, 1, 2), kTwoObjects, {{kNotTaken, kNotTaken}, {{1, 0, 1}, kNotTaken}});
    const SolutionView v = view();
    const ViewGrid& g = v.content.grids.at(0);
    ASSERT_EQ(g.rows.size(), 3u);
    EXPECT_TRUE(g.rows[1].separator);
    const std::vector<std::string> first(g.rows[0].cells.begin(), g.rows[0].cells.begin() + 6);
    EXPECT_EQ(first, (std::vector<std::string>{"1", "20,0/30,00", "0,00", "0,00", "0,00", "3"}));
    EXPECT_EQ(std::vector<std::string>(g.rows[0].cells.begin() + 6, g.rows[0].cells.end()),
              std::vector<std::string>(9));
    EXPECT_EQ(v.figures[0].full_cost, 0);
    EXPECT_EQ(v.figures[0].mean_income, 0);
    EXPECT_EQ(v.figures[0].income, 0);
}

TEST_F(SolutionViewTest, ModeTwoCollapsesTheCostColumn) {
    // Terms 10, 20, 30; own funds 10 below the cost 40 of variant 1: its mean income bears the
    // interest on 30.
    const std::vector<stats_fixture::Object> own = {
        {0, {{0, 0, {{300, even_curve(4)}}}, {40, 1, {{600, even_curve(5)}}}}}};
    write(header(2, 1, 1, 3), own, {{{1, 1, 1}}, {{1, 0, 1}}, {kNotTaken}}, {10, 500});
    const SolutionView v = view();
    const ViewGrid& g = v.content.grids.at(0);
    EXPECT_EQ(g.columns.at(9), (ViewColumn{"", 0, true}));
    EXPECT_EQ(column(g, 9), std::vector<std::string>(5));
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"10,000", "", "20,000", "", "30,000"}));
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"25", "", "25", "", "25"}));
    EXPECT_EQ(g.columns.at(2), (ViewColumn{"T464 (thousand)", 62, false}));
    EXPECT_DOUBLE_EQ(v.figures[0].mean_income, expected_income(bdon, 1, 0, 1, 0, 10) - 40 - 3);
    EXPECT_DOUBLE_EQ(v.figures[0].income, 600 - 40 - 3);
    EXPECT_EQ(view_fixture::param(v.content, " - T462"), "25");
    const auto& p = v.content.params;
    EXPECT_NE(std::find(p.begin(), p.end(), ViewParam{"", "  T99 (month) - 20,000"}), p.end());
}

TEST_F(SolutionViewTest, LimitOfChosenObjects) {
    for (const auto& [ogrn, shown] : {std::pair{0, "T253"}, std::pair{3, "3"}}) {
        TaskHeader h = header(1, 1, 0, 1);
        h.ogrn = ogrn;
        write(h, kTwoObjects, {{{1, 0, 1}, kNotTaken}});
        EXPECT_EQ(view_fixture::param(view().content, " - T251"), shown);
    }
}

TEST_F(SolutionViewTest, StoppedRunShowsItsMessageInSlicesOf90Characters) {
    write(header(1, 1, 0, 1), kTwoObjects, {{{1, 0, 1}, kNotTaken}});
    Solution s = read_solution(out_path(), read_task_header(ws / "Data/kov_SOLV01.dat", kCp), bdon,
                               nullptr, kCp);
    s.header.result = 0;
    // One byte in the file, two in memory: the slices count characters.
    const std::string e = "\xC3\xA9";
    const auto text = [&](std::size_t n) {
        std::string t;
        for (std::size_t i = 0; i < n; ++i) {
            t += e;
        }
        return t;
    };
    struct Case {
        std::size_t length;
        std::vector<std::string> values; // of rows 2 to 4
    } cases[] = {
        {90, {text(90)}},
        {91, {text(90), e}},
        {180, {text(90), text(90)}},
        {181, {text(90), text(90), e}},
        {255, {text(90), text(90), text(75)}},
    };
    for (const Case& c : cases) {
        s.header.message = text(c.length);
        write_solution(out_path(), s, kCp);
        const SolutionView v = view();
        const auto& p = v.content.params;
        ASSERT_EQ(p.at(1), (ViewParam{"T369", "0"}));
        std::vector<std::string> values;
        std::size_t k = 2;
        for (; p.at(k).key != "T491"; ++k) {
            EXPECT_EQ(p[k].key, k == 2 ? "T451" : "");
            values.push_back(p[k].value);
        }
        EXPECT_EQ(values, c.values) << c.length;
        EXPECT_EQ(v.content.grids.at(0).rows.size(), 1u);
        EXPECT_EQ(v.figures[0].own_used, 0);
    }
}

TEST_F(SolutionViewTest, PaybackTimeOfExploitationInModeOne) {
    // Cost 100, own funds 60: the outlay is 100 + 10 % of 40; the income 20 per month.
    const std::vector<stats_fixture::Object> rented = {{100, {{0, 0, {{20, even_curve(4)}}}}}};
    for (int prok : {0, 1}) {
        SCOPED_TRACE(prok);
        write(header(1, 2, prok, 2), rented, {{{1, 0, 1}}, {kNotTaken}}, {60, 100});
        const SolutionView v = view();
        const double expected =
            prok ? std::max(104 - expected_income(bdon, 2, 0, 0, 0, 20), 0.0) / 20 + 20 : 5.2;
        EXPECT_NEAR(v.figures[0].payback_time, expected, 1e-9);
        EXPECT_EQ(v.figures[0].income, 20);
        // Variant 2 spends nothing.
        EXPECT_EQ(v.figures[1].payback_time, -1);
        const auto& p = v.content.params;
        const auto shown = std::count_if(p.begin(), p.end(), [](const ViewParam& r) {
            return r.value.rfind("   T403 (month): ", 0) == 0;
        });
        EXPECT_EQ(shown, 1);
        EXPECT_NE(std::find(p.begin(), p.end(),
                            ViewParam{"", "   T403 (month): " +
                                              format_fixed(v.figures[0].payback_time, 2, ',')}),
                  p.end());
    }
}

TEST_F(SolutionViewTest, ParameterListRowsInTheirOrder) {
    write_three_variants();
    const ViewContent c = view().content;
    std::vector<std::string> expected = {
        "",         "T369",    "T491",    "T195",    "T404",    "T456",    "T326:",
        " - T490",  " - T193", " - T502", " - T483", " - T101", " - T100", "T182",
        "T370",     "T328:",   " - T433", " - T178", "   T354", " - T184", " - T480",
        "T396 (%)", "T280:",   " - T348", " - T176", " - T251", " - T158", "   T174",
        "T478",     "T457",    "T89",     "T180",    "T362",    "T363",
    };
    for (const char* v : {"T24 <1>", "T24 <2>", "T24 <3>"}) {
        expected.insert(expected.end(), {v, "", ""});
    }
    expected.insert(expected.end(), {"T331:", "  - T170", "  - T168", "  - T355", "  - T304",
                                     "T327:", "  - T458", "  - T450", "  - T278", "T88"});
    EXPECT_EQ(view_fixture::keys(c), expected);
    EXPECT_EQ(c.caption, "T392 \"Statistics task\"");
    EXPECT_EQ(view_fixture::param(c, "T404"), "T148");
    EXPECT_EQ(view_fixture::param(c, "T456"), "2: T11");
    EXPECT_EQ(view_fixture::param(c, "T182"), "T9");
    EXPECT_EQ(view_fixture::param(c, "T457"), "T341");
    EXPECT_EQ(view_fixture::param(c, "T88"), "00:00:01");
}

TEST_F(SolutionViewTest, SolutionThatNoLongerFitsItsDatabaseIsRefused) {
    const auto refused = [&](const std::string& why) {
        try {
            view();
            ADD_FAILURE() << "viewed a solution whose " << why;
        } catch (const FileError& e) {
            EXPECT_EQ(e.file(), out_path()) << why;
        }
    };
    write(header(1, 1, 1, 1), kTwoObjects, {{{1, 0, 1}, {2, 1, 1}}});
    BdonData changed = bdon;
    changed.sale_variants[0][0][0].p = 0;
    changed.sale_points[0][0][0].clear();
    write_bdon(ws.path(), "eng", changed, "02.02.2024", kCp);
    refused("chosen sale variant lost its delay curve");

    changed = bdon;
    changed.variants[1].pop_back();
    changed.sale_variants[1].pop_back();
    changed.expl_variants[1].pop_back();
    changed.sale_points[1].pop_back();
    changed.expl_points[1].pop_back();
    changed.objects[1].n = 0;
    write_bdon(ws.path(), "eng", changed, "02.02.2024", kCp);
    refused("chosen modernisation variant is gone");

    write_bdon(ws.path(), "eng", bdon, "02.02.2024", kCp);
    EXPECT_NO_THROW(view());
    remove_file(out_path());
    refused("file is missing");
}

} // namespace

TEST_F(SolutionViewTest, IncomePictureHasABarPerSelectedVariant) {
    write_three_variants();
    const SolutionView v = view(flags({1, 3}));
    EXPECT_EQ(v.incomes.tab, "T564");
    EXPECT_EQ(v.incomes.x_axis, "T255");
    EXPECT_EQ(v.incomes.y_axis, v.content.grids.at(0).columns.at(4).heading);
    ASSERT_EQ(v.incomes.series.size(), 1u);
    EXPECT_EQ(v.incomes.series[0].x, (std::vector<double>{1, 3}));
    EXPECT_EQ(v.incomes.series[0].y,
              (std::vector<double>{v.figures[0].income, v.figures[2].income}));
    EXPECT_DOUBLE_EQ(v.incomes.series[0].y[0], 640);
    EXPECT_TRUE(view(flags({})).incomes.empty());

    // A run without a result has no bars.
    Solution s = read_solution(out_path(), read_task_header(ws / "Data/kov_SOLV01.dat", kCp), bdon,
                               nullptr, kCp);
    s.header.result = 0;
    write_solution(out_path(), s, kCp);
    EXPECT_TRUE(view().incomes.empty());
}
