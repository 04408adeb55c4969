#include "view/statistics_view.h"

#include "io/files.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

using namespace kov;
using view_fixture::column;
using view_fixture::kCp;

namespace {

LevelFlags levels(std::initializer_list<int> chosen) {
    LevelFlags f{};
    for (int j : chosen) {
        f[std::size_t(j - 1)] = true;
    }
    return f;
}

class StatisticsViewTest : public ::testing::Test {
protected:
    // Task STAT01 of three variants and its statistics file (fixtures::make_stat_file: the
    // records in the order 3, 2, 1; the thresholds of variant k are 10 k + 0..9).
    void write(int reg, int nsg_of_file = 3) {
        TaskHeader h;
        h.shifr = "STAT01";
        h.name = "Statistics task";
        h.reg = reg;
        h.tipz = 2;
        h.shifr_db = reg == 1 ? "A_001" : "B_000001";
        h.prok = 1;
        h.nsg = 3;
        h.nt = 3;
        h.mz = 4;
        h.mt = 5;
        write_file_atomic(ws / "Data/kov_STAT01.dat", encode_task_header(h, kCp));
        write_stat_file(stat_path(), fixtures::make_stat_file(nsg_of_file), kCp);
    }
    StatisticsView view(const LevelFlags& chosen, char decimal_char = ',') {
        return build_statistics_view(ws.path(), "STAT01", shell, decimal_char, chosen);
    }
    std::string stat_path() const { return ws / "Data/kov_STAT01_stat.dat"; }

    TempWorkspace ws;
    const LanguageShell shell = view_fixture::shell();
};

TEST_F(StatisticsViewTest, RiskLevelsGiveTheRowsOfEachVariant) {
    write(1);
    const std::string blanks27(27, ' ');
    struct Case {
        LevelFlags chosen;
        std::vector<std::string> column9; // separators as empty texts
    } cases[] = {
        // No level: one row per variant and no separators.
        {levels({}), {"", "", ""}},
        {levels({10}),
         {blanks27 + "1,0: 39,00", "", blanks27 + "1,0: 29,00", "", blanks27 + "1,0: 19,00"}},
        {levels({1, 3}),
         {"0,1: 30,00", "      0,3: 32,00", "", "0,1: 20,00", "      0,3: 22,00", "", "0,1: 10,00",
          "      0,3: 12,00"}},
    };
    for (const Case& c : cases) {
        const ViewGrid g = view(c.chosen).content.grids.at(0);
        EXPECT_EQ(column(g, 9), c.column9);
        EXPECT_EQ(view_fixture::separators(g), c.column9.size() == 3 ? 0u : 2u);
        EXPECT_EQ(g.rows.at(0).cells.at(0), "3");
    }
    const ViewGrid all = view(all_flags<LevelFlags>()).content.grids.at(0);
    EXPECT_EQ(all.rows.size(), 3 * 10 + 2u);
    EXPECT_EQ(all.rows[9].cells[9], blanks27 + "1,0: 39,00");
    EXPECT_EQ(all.rows[11].cells[0], "2");
}

TEST_F(StatisticsViewTest, FirstRecordShowsTheThresholdsOfItsOwnVariant) {
    // The level texts keep their comma under any decimal separator.
    write(1);
    const ViewGrid g = view(levels({1}), '.').content.grids.at(0);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"3", "", "2", "", "1"}));
    EXPECT_EQ(column(g, 9),
              (std::vector<std::string>{"0,1: 30.00", "", "0,1: 20.00", "", "0,1: 10.00"}));
    EXPECT_EQ(g.rows[0].cells[2], "200.00");
}

TEST_F(StatisticsViewTest, PaybackColumnOfEachMode) {
    struct Case {
        int reg;
        std::string cell5, heading5;
        int width5;
    } cases[] = {
        {1, "24,00/0,900", "T434 (USD) /T499", 0},
        {2, "24,000", "T98 (USD)", 97},
    };
    for (const Case& c : cases) {
        write(c.reg);
        const ViewGrid g = view(levels({})).content.grids.at(0);
        EXPECT_EQ(g.rows.at(0).cells,
                  (std::vector<std::string>{"3", "1000,00", "200,00", "900,00", "100,00", c.cell5,
                                            "810,00", "50,25", "49,75", ""}));
        EXPECT_EQ(g.columns.at(5).heading, c.heading5);
        EXPECT_EQ(g.columns.at(5).width, c.width5);
    }
}

TEST_F(StatisticsViewTest, ParameterListAndCaption) {
    write(2);
    const ViewContent c = view(all_flags<LevelFlags>()).content;
    const std::vector<ViewParam> expected = {
        {"", ""},          {"T491", "STAT01"}, {"T195", "Statistics task"},
        {"T404", "T147"},  {"T456", "2: T11"}, {"T478", "4"},
        {"T474", "3"},     {"T182", "T9"},     {"T370", "1"},
        {"T485", "10000"}, {"T48", "0:00:02"},
    };
    EXPECT_EQ(c.params, expected);
    EXPECT_EQ(c.caption, "T394 \"Statistics task\"");
    EXPECT_EQ(c.grids.at(0).columns.at(4), (ViewColumn{"T443 (USD)", 71, false}));
}

TEST_F(StatisticsViewTest, FileOfAnotherNumberOfVariantsIsRefused) {
    write(1, 2);
    try {
        view(all_flags<LevelFlags>());
        ADD_FAILURE() << "viewed statistics of two variants for a task of three";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), stat_path());
    }
}

} // namespace

TEST_F(StatisticsViewTest, RiskPictureDrawsAllTenThresholdsOfEachVariantInTableOrder) {
    write(1);
    // The risk picture does not follow the levels the table shows.
    const ViewPicture p = view(levels({2})).risk;
    EXPECT_EQ(p.tab, "T561");
    EXPECT_EQ(p.x_axis, "T562");
    EXPECT_EQ(p.y_axis, "T563 (USD)");
    ASSERT_EQ(p.series.size(), 3u);
    for (std::size_t n = 0; n < 3; ++n) {
        const int variant = 3 - int(n);
        const PictureSeries& s = p.series[n];
        EXPECT_EQ(s.name, "T24 " + std::to_string(variant));
        ASSERT_EQ(s.x.size(), 10u);
        ASSERT_EQ(s.y.size(), 10u);
        for (std::size_t j = 0; j < 10; ++j) {
            EXPECT_DOUBLE_EQ(s.x[j], double(j + 1) / 10);
            EXPECT_DOUBLE_EQ(s.y[j], 10.0 * variant + double(j)); // its own block
        }
    }
}
