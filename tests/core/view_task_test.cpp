#include "view/task_view.h"

#include "io/files.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

using namespace kov;
using view_fixture::column;
using view_fixture::kCp;

namespace {

class TaskViewTest : public ::testing::Test {
protected:
    // Writes the task of the definition against the database and views it with a comma.
    TaskView view(const BdonData& bdon, const TaskDefinition& def) {
        view_fixture::write_task(ws.path(), bdon, def);
        return build_task_view(ws.path(), def.header.shifr, shell, ',');
    }

    TempWorkspace ws;
    const LanguageShell shell = view_fixture::shell();
};

TEST_F(TaskViewTest, VariantsGridShowsThePaybackSeriesOfEachMode) {
    struct Case {
        char type;
        const char* code;
        int tipz;
        const char* heading;
        std::vector<std::string> own, payback;
    } cases[] = {
        // Mode 1: coefficients 0.9 down to 0.5; mode 2: terms 6 up to 12. All variants share
        // the money of a task with pay-back: only the first row shows it.
        {'A', "123", 2, "T167", {"2000", "", ""}, {"0,900", "0,700", "0,500"}},
        {'B', "000001", 4, "T99 (months)", {"2000", "", ""}, {"6,000", "9,000", "12,000"}},
        // Without pay-back the column is collapsed and every variant shows its own money.
        {'A', "123", 1, "", {"1000", "1500", "2000"}, {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tipz);
        const BdonData bdon = fixtures::small_bdon(c.type, c.code);
        const TaskView v = view(bdon, fixtures::make_definition(bdon, c.tipz, 3));
        const ViewGrid& g = v.content.grids.at(0);
        EXPECT_EQ(g.columns.at(3).heading, c.heading);
        EXPECT_EQ(g.columns.at(3).collapsed, c.tipz % 2 == 1);
        EXPECT_EQ(g.columns.at(1).heading, "T359 (USD)");
        EXPECT_EQ(column(g, 0), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(column(g, 1), c.own);
        EXPECT_EQ(column(g, 3), c.payback);
        EXPECT_EQ(v.income_tabs, c.tipz % 2 == 0);
        EXPECT_EQ(v.content.grids.at(3).rows.empty(), c.tipz % 2 == 1);
    }
}

TEST_F(TaskViewTest, ObjectsGridListsOnlyUsableObjectsWithTheirRowMarks) {
    // Object 1 has a sale variant without a delay curve: not usable for a task with pay-back.
    const BdonData bdon =
        fixtures::make_bdon('A', "123", {{{{0}, {}}}, {{{4}, {}}}, {{{2}, {}}, {{3}, {}}}});
    TaskDefinition def = fixtures::make_definition(bdon, 2, 1);
    ASSERT_EQ(def.row_marks.size(), 2u);
    // The first listed row (object 2) is not selected.
    def.row_marks[0] = false;
    def.object_marks[1] = false;
    def.variant_marks[1].assign(def.variant_marks[1].size(), false);
    for (auto& marks : def.income_marks[1]) {
        marks.assign(marks.size(), false);
    }
    const ViewGrid g = view(bdon, def).content.grids.at(1);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"100002", "100003"}));
    EXPECT_EQ(column(g, 3), (std::vector<std::string>{"1100", "1200"}));
    EXPECT_EQ(column(g, 4), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(column(g, 6), (std::vector<std::string>{"", "*"}));
    EXPECT_EQ(g.columns.at(5).heading, "T366 (*)");
}

TEST_F(TaskViewTest, ChosenVariantGridsMarkContinuationRows) {
    const BdonData bdon = fixtures::small_bdon();
    const TaskView v = view(bdon, fixtures::make_definition(bdon, 2, 1));

    const ViewGrid& modernisations = v.content.grids.at(2);
    EXPECT_EQ(column(modernisations, 0), (std::vector<std::string>{"1", "  1", "3", "  3"}));
    EXPECT_EQ(column(modernisations, 1), (std::vector<std::string>{"0", "1", "1", "2"}));
    EXPECT_EQ(column(modernisations, 3), (std::vector<std::string>{"-", "50", "52", "102"}));
    EXPECT_EQ(column(modernisations, 4), (std::vector<std::string>{"-", "1,5", "1,5", "3"}));
    // With pay-back: the number of sale variants of the pair.
    EXPECT_EQ(column(modernisations, 5), (std::vector<std::string>{"1", "2", "1", "1"}));
    EXPECT_EQ(modernisations.columns.at(5).heading, "T476");

    const ViewGrid& incomes = v.content.grids.at(3);
    EXPECT_EQ(column(incomes, 0), (std::vector<std::string>{"1", "  1", "  1", "3", "  3"}));
    EXPECT_EQ(column(incomes, 1), (std::vector<std::string>{"0", "1", "  1", "1", "2"}));
    EXPECT_EQ(column(incomes, 2), (std::vector<std::string>{"1", "1", "2", "1", "1"}));
    EXPECT_EQ(column(incomes, 3),
              (std::vector<std::string>{"1500", "1510", "1520", "1530", "1540"}));
    EXPECT_EQ(column(incomes, 4), (std::vector<std::string>{"4", "3", "2", "2", "10"}));

    const ViewGrid& points = v.content.grids.at(4);
    ASSERT_EQ(points.rows.size(), 4u + 3 + 2 + 2 + 10);
    const auto first = [&](std::size_t c) {
        auto all = column(points, c);
        return std::vector<std::string>(all.begin(), all.begin() + 5);
    };
    EXPECT_EQ(first(0), (std::vector<std::string>{"1", "  1", "  1", "  1", "  1"}));
    EXPECT_EQ(first(1), (std::vector<std::string>{"0", "  0", "  0", "  0", "1"}));
    EXPECT_EQ(first(2), (std::vector<std::string>{"1", "", "", "", "1"}));
    EXPECT_EQ(first(3), (std::vector<std::string>{"1", "2", "3", "4", "1"}));
    EXPECT_EQ(first(4), (std::vector<std::string>{"0", "2", "4", "6", "0"}));
    EXPECT_EQ(points.rows[1].cells[5], "0,111111111111111");
    EXPECT_EQ(points.columns.at(4).heading, "T135 (months)");
}

TEST_F(TaskViewTest, ParameterListStartsWithTheTaskCode) {
    // The task export and import take row k of the list as its k-th parameter: no leading
    // empty row, every row in its place.
    const BdonData bdon = fixtures::small_bdon('B', "000001");
    TaskDefinition def = fixtures::make_definition(bdon, 4, 3);
    const TaskView v = view(bdon, def);
    const std::vector<ViewParam> expected = {
        {"T491", "TASK01"},
        {"T195", "Task TASK01"},
        {"T404:", "2"},
        {" 1 - T148", ""},
        {" 2 - T147", ""},
        {"T456:", "4"},
        {" 1 - T10", ""},
        {" 2 - T11", ""},
        {" 3 - T302", ""},
        {" 4 - T303", ""},
        {"T326:", ""},
        {" - T490", "B_000001"},
        {" - T193", "Test database"},
        {" - T502", "3"},
        {" - T483", "2"},
        {" - T101", "USD"},
        {" - T100", "months"},
        {"T182:", "2"},
        {" 1 - T7", ""},
        {" 2 - T300", ""},
        {"T370", "1"},
        {"T328:", ""},
        {" - T463", "300"},
        {" - T185", "6"},
        {" - T181", "12"},
        {" - T479", "3"},
        {"T396 (%)", "12,5"},
        {"T280:", ""},
        {" - T177", "10"},
        {" - T251 (T253 - T397)", ""},
        {" - T160", "5"},
        {"   T175", "0,3"},
        {"T478", "2"},
        {"T457:", "0"},
        {" T4", ""},
        {"T89", "10"},
        {"T180", "1234"},
        {"T362", "1"},
        {"T363", "0"},
    };
    EXPECT_EQ(v.content.params, expected);
    EXPECT_EQ(v.content.caption, "T389 \"Task TASK01\"");
    EXPECT_EQ(v.content.tabs,
              (std::vector<std::string>{"T325", "T329 (1)", "T329 (2)", "T329 (3)", "T448"}));
}

TEST_F(TaskViewTest, ModeOneListShowsTheCoefficientsAndTheLimit) {
    const BdonData bdon = fixtures::small_bdon();
    TaskDefinition def = fixtures::make_definition(bdon, 2, 3);
    def.header.ogrn = 2;
    const ViewContent c = view(bdon, def).content;
    const std::vector<std::string> keys = view_fixture::keys(c);
    const std::vector<std::string> payback(keys.begin() + 21, keys.begin() + 27);
    EXPECT_EQ(payback, (std::vector<std::string>{"T328:", " - T433", " - T178", "   T354",
                                                 " - T184", " - T480"}));
    EXPECT_EQ(view_fixture::param(c, " - T348"), "1,1");
    EXPECT_EQ(view_fixture::param(c, " - T251 (T253 - T397)"), "2");
    EXPECT_EQ(view_fixture::param(c, "   T354"), "0,9");
    // The cost column of the objects grid is collapsed in mode 2 only.
    EXPECT_FALSE(c.grids.at(1).columns.at(3).collapsed);
    EXPECT_EQ(c.grids.at(1).columns.at(3).heading, "T439 (USD)");
}

TEST_F(TaskViewTest, DescriptorThatNoLongerFitsItsDatabaseIsRefused) {
    BdonData bdon = fixtures::small_bdon();
    view_fixture::write_task(ws.path(), bdon, fixtures::make_definition(bdon, 2, 1));
    const std::string descriptor = ws / "Data/kov_TASK01.dat";

    // Object 2 was given a delay curve: the database now lists three objects for the task.
    bdon.sale_variants[1][0][0].p = 3;
    bdon.sale_points[1][0][0] = fixtures::curve(3, 1);
    write_bdon(ws.path(), "eng", bdon, "02.02.2024", kCp);
    try {
        build_task_view(ws.path(), "TASK01", shell, ',');
        ADD_FAILURE() << "viewed a task that does not fit its database";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), descriptor);
        EXPECT_EQ(e.kind(), FileError::Kind::Format);
    }

    remove_file(ws / "Dbor/A_123_dbor_eng.dat");
    try {
        build_task_view(ws.path(), "TASK01", shell, ',');
        ADD_FAILURE() << "viewed a task without its database";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), ws / "Dbor/A_123_dbor_eng.dat");
        EXPECT_EQ(e.kind(), FileError::Kind::Missing);
    }
}

} // namespace
