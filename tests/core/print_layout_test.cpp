#include "report/print_layout.h"

#include "view_fixture.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace kov;

namespace {

constexpr int kW = 2480, kH = 3508, kLine = 20;

// Every character is 10 pixels wide, bold ones 12.
int chars(std::string_view s) {
    int n = 0;
    for (const char c : s) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

PrintMetrics metrics(int line = kLine) {
    return {kW, kH, line, [](std::string_view s) { return 10 * chars(s); },
            [](std::string_view s) { return 12 * chars(s); }};
}

ViewGrid grid(std::size_t columns, std::vector<std::vector<std::string>> rows) {
    ViewGrid g;
    for (std::size_t k = 0; k < columns; ++k) {
        g.columns.push_back({"H" + std::to_string(k)});
    }
    for (auto& cells : rows) {
        cells.resize(columns);
        g.rows.push_back({std::move(cells)});
    }
    return g;
}

const PrintText* find_text(const PrintPage& p, const std::string& s) {
    const auto it = std::find_if(p.texts.begin(), p.texts.end(),
                                 [&](const PrintText& t) { return t.text == s; });
    return it == p.texts.end() ? nullptr : &*it;
}

// The horizontal rules of a page, top first.
std::vector<PrintLine> rules(const PrintPage& p) {
    std::vector<PrintLine> out;
    std::copy_if(p.lines.begin(), p.lines.end(), std::back_inserter(out),
                 [](const PrintLine& l) { return l.y1 == l.y2; });
    return out;
}

// Every page carries its own number once, at the bottom right.
void expect_page_numbers(const std::vector<PrintPage>& pages) {
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::string number = std::to_string(p + 1);
        const auto at_bottom =
            std::count_if(pages[p].texts.begin(), pages[p].texts.end(),
                          [&](const PrintText& t) { return t.y == kH - kLine - kPrintMargin; });
        EXPECT_EQ(at_bottom, 1) << "page " << number;
        for (const PrintText& t : pages[p].texts) {
            if (t.y == kH - kLine - kPrintMargin) {
                EXPECT_EQ(t.text, number);
                EXPECT_EQ(t.x + t.width, kW - kPrintMargin);
            }
        }
    }
}

SolutionView solution(std::vector<ViewParam> params, ViewGrid g, int reg = 1) {
    SolutionView v;
    v.task.reg = reg;
    v.task.name = "Name";
    v.content.params = std::move(params);
    v.content.grids.push_back(std::move(g));
    return v;
}

const LanguageShell kShell = view_fixture::shell();

} // namespace

TEST(PrintGeometry, ColumnEdgesTakeRoundedSharesOfTheWidthBetweenMargins) {
    EXPECT_EQ(column_edges(kW, {0.04, 0.5, 0.0}), (std::vector<int>{65, 159, 1334, 1334}));
    // U = 5: 2.5 and 2.5 round to the even 2.
    EXPECT_EQ(column_edges(135, {0.5, 0.5}), (std::vector<int>{65, 67, 69}));
}

TEST(PrintWrap, TextsIntoColumns) {
    const TextMeasure m = [](std::string_view s) { return 10 * chars(s); };
    struct Case {
        std::string text;
        int limit;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", 45, {}},
        {"abcd", 45, {"abcd"}},
        {"abcdefghij", 45, {"abcd", "efgh", "ij"}},
        {"abcdefghij", 40, {"abcd", "efgh", "ij"}},
        // A character wider than its column still takes one line, and wrapping ends.
        {"abc", 5, {"a", "b", "c"}},
        {"ab", -5, {"a", "b"}},
        {"жзи", 25, {"жз", "и"}},
        // A line of more than 100 characters is kept whole.
        {std::string(150, 'x'), 2000, {std::string(150, 'x')}},
        // Lines break after their last whole word, the blank dropped; a word longer than the
        // line breaks where the line is full.
        {"ab cd ef", 55, {"ab cd", "ef"}},
        {"ab cdefgh", 55, {"ab", "cdefg", "h"}},
        {"abcde fg", 55, {"abcde", "fg"}},
        {"ab   cd", 45, {"ab", "cd"}},
        // Indentation is kept and is no place to break.
        {"      0,3: 95", 105, {"      0,3:", "95"}},
        {"    abcdefg", 45, {"    ", "abcd", "efg"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wrap_text(c.text, c.limit, m), c.lines) << c.text << " in " << c.limit;
    }
    // 120 characters where 50 fit make three lines.
    EXPECT_EQ(wrap_text(std::string(120, 'y'), 505, m).size(), 3u);
}

TEST(SolutionPrint, ParameterRowsOfOneOrTwoLinesAndTheTitle) {
    const std::string key(60, 'k');
    const auto v = solution({{}, {key, std::string(59, 'v')}, {key, std::string(60, 'w')}},
                            grid(15, {{"1", "", "", "", "", "a", "b"}}));
    const auto pages = solution_print(v, kShell, metrics());
    ASSERT_EQ(pages.size(), 1u);
    const PrintText* title = find_text(pages[0], "T407 \"Name\"");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->bold);
    EXPECT_EQ(title->y, kPrintTop);
    EXPECT_EQ(title->x, (kW - 12 * 11) / 2);
    // The leading empty row takes its line and prints nothing.
    const PrintText* one = find_text(pages[0], key + ": " + std::string(59, 'v'));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->y, kPrintTop + 3 * kLine);
    const PrintText* split = find_text(pages[0], key + ":");
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->y, kPrintTop + 4 * kLine);
    EXPECT_EQ(find_text(pages[0], std::string(60, 'w'))->y, kPrintTop + 5 * kLine);
    EXPECT_EQ(find_text(pages[0], ": "), nullptr);
}

TEST(SolutionPrint, ParameterRowsReadAsTextsWithOneColon) {
    const auto v = solution({{}, {"Heading:", ""}, {"", "continued"}, {"Mode:", "1"}, {"K", "V"}},
                            grid(15, {}));
    const auto pages = solution_print(v, kShell, metrics());
    int y = kPrintTop + 2 * kLine;
    for (const char* line : {"Heading:", "continued", "Mode: 1", "K: V"}) {
        y += kLine;
        const PrintText* t = find_text(pages[0], line);
        ASSERT_NE(t, nullptr) << line;
        EXPECT_EQ(t->y, y) << line;
    }
}

TEST(SolutionPrint, WithoutPlanHeadingsAndOneEmptyRow) {
    const auto v = solution({{}, {"K", "V"}}, grid(15, {{}}));
    const auto pages = solution_print(v, kShell, metrics());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(find_text(pages[0], "K: V"), nullptr);
    EXPECT_NE(find_text(pages[0], "H14"), nullptr);
    const auto r = rules(pages[0]);
    ASSERT_EQ(r.size(), 3u); // table top, under the headings, under the empty row
    EXPECT_EQ(r[2].y1 - r[1].y1, 10);
    EXPECT_EQ(pages[0].lines.size() - r.size(), 16u);
    expect_page_numbers(pages);
}

TEST(SolutionPrint, ModeTwoLeavesTheCostColumnEmptyAndNarrow) {
    const auto v = solution({{}}, grid(15, {{"1", "", "", "", "", "a", "b", "", "", "COST"}}), 2);
    const auto pages = solution_print(v, kShell, metrics());
    EXPECT_EQ(find_text(pages[0], "COST"), nullptr);
    EXPECT_EQ(find_text(pages[0], "H9"), nullptr);
    const auto x = column_edges(kW, {0.04, 0.07, 0.08, 0.09, 0.09, 0.04, 0.04, 0.06, 0.15, 0.0});
    EXPECT_EQ(x[10], x[9]);
}

TEST(SolutionPrint, LongTableBreaksWithNumbersAndRulesFromEachPagesTop) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < 200; ++r) {
        rows.push_back({std::to_string(r + 1), "", "", "", "", "a", "b"});
    }
    const auto pages = solution_print(solution({{}}, grid(15, rows)), kShell, metrics());
    ASSERT_GE(pages.size(), 3u);
    expect_page_numbers(pages);
    for (std::size_t p = 1; p < pages.size(); ++p) {
        std::size_t verticals = 0;
        for (const PrintLine& l : pages[p].lines) {
            if (l.x1 == l.x2) {
                EXPECT_EQ(l.y1, kPrintMargin);
                ++verticals;
            }
        }
        EXPECT_EQ(verticals, 16u) << "page " << p + 1;
        EXPECT_EQ(find_text(pages[p], "H0"), nullptr); // headings are not repeated
    }
    // Every text stays above the page number.
    for (const PrintPage& page : pages) {
        for (const PrintText& t : page.texts) {
            EXPECT_LE(t.y, kH - kLine - kPrintMargin);
        }
    }
}

TEST(SolutionPrint, TallRowsGoToTheNextPageAndEachPageClosesItsTable) {
    // Variants of two objects each, the objects' descriptions taking 6 lines (column 8 holds 34
    // characters): a row 8 lines high that the page check after a row cannot foresee.
    std::vector<std::vector<std::string>> rows;
    for (int v = 1; v <= 30; ++v) {
        rows.push_back({std::to_string(v), "", "", "", "", "a", "b", "", std::string(200, 'd')});
        rows.push_back({"", "", "", "", "", "", "c", "", std::string(200, 'e')});
    }
    const auto pages = solution_print(solution({{}}, grid(15, rows)), kShell, metrics());
    ASSERT_GE(pages.size(), 3u);
    expect_page_numbers(pages);
    const int bottom = kH - kPrintMargin - kLine; // the top of the page number
    for (std::size_t p = 0; p < pages.size(); ++p) {
        for (const PrintText& t : pages[p].texts) {
            if (t.y != bottom) {
                EXPECT_LE(t.y + kLine, bottom) << "page " << p + 1 << ": " << t.text;
            }
        }
        int lowest = 0;
        for (const PrintLine& l : pages[p].lines) {
            EXPECT_LE(std::max(l.y1, l.y2), bottom) << "page " << p + 1;
            lowest = std::max(lowest, std::max(l.y1, l.y2));
        }
        // The table's part on every page is closed above and below by full rules.
        const auto r = rules(pages[p]);
        for (const int at : {p == 0 ? r.front().y1 : kPrintMargin, lowest}) {
            EXPECT_TRUE(std::any_of(
                r.begin(), r.end(),
                [&](const PrintLine& l) { return l.y1 == at && l.x1 == kPrintRuleLeft; }))
                << "page " << p + 1 << " at " << at;
        }
    }
}

TEST(SolutionPrint, RuleUnderAnObjectOfTheSameVariantStartsAtColumnSix) {
    const auto v = solution({{}}, grid(15, {{"1", "", "", "", "", "a", "b"},
                                            {"", "", "", "", "", "", "c"},
                                            {"2", "", "", "", "", "a", "b"}}));
    const auto pages = solution_print(v, kShell, metrics());
    const auto r = rules(pages[0]);
    ASSERT_EQ(r.size(), 5u);
    const auto x = column_edges(kW, {0.04, 0.07, 0.08, 0.09, 0.09, 0.04});
    EXPECT_EQ(r[2].x1, x[6]);
    EXPECT_EQ(r[3].x1, kPrintRuleLeft);
    EXPECT_EQ(r[4].x1, kPrintRuleLeft);
}

TEST(StatisticsPrint, RiskLevelRowsFollowOneLineApartWithoutRules) {
    std::vector<std::vector<std::string>> rows = {{"1", "", "", "", "", "", "", "", "", "0,1: x"}};
    for (int j = 2; j <= 10; ++j) {
        rows.push_back({"", "", "", "", "", "", "", "", "", "0," + std::to_string(j) + ": x"});
    }
    StatisticsView v;
    v.task.name = "N";
    v.content.params = {{}, {"A", "B"}};
    v.content.grids.push_back(grid(10, rows));
    const auto pages = statistics_print(v, kShell, metrics());
    ASSERT_EQ(pages.size(), 1u);
    const int first = find_text(pages[0], "0,1: x")->y;
    for (int j = 2; j <= 9; ++j) {
        EXPECT_EQ(find_text(pages[0], "0," + std::to_string(j) + ": x")->y,
                  first + (j - 1) * kLine);
    }
    EXPECT_EQ(rules(pages[0]).size(), 3u); // table top, headings, under the block
    // Title one line above the top; the table one empty line under the list.
    EXPECT_EQ(find_text(pages[0], "T437\"N\"")->y, kPrintTop - kLine);
    EXPECT_EQ(find_text(pages[0], "A: B")->y, kPrintTop + 2 * kLine);
    EXPECT_EQ(rules(pages[0])[0].y1, kPrintTop + 4 * kLine);
}

TEST(StatisticsPrint, WrappedRowBeforeALevelRowIsNotOverprinted) {
    const std::string wide(60, 'w'); // three lines in column 0 of 117 pixels
    StatisticsView v;
    v.content.params = {{}};
    v.content.grids.push_back(grid(10, {{wide, "", "", "", "", "", "", "", "", "0,1: a"},
                                        {"", "", "", "", "", "", "", "", "", "0,2: b"}}));
    const auto pages = statistics_print(v, kShell, metrics());
    const int a = find_text(pages[0], "0,1: a")->y;
    EXPECT_EQ(find_text(pages[0], "0,2: b")->y, a + 6 * kLine);
}

TEST(StatisticsPrint, TitleStaysOnThePageWithALargeFont) {
    StatisticsView v;
    v.content.params = {{}};
    v.content.grids.push_back(grid(10, {}));
    const auto pages = statistics_print(v, kShell, metrics(80));
    EXPECT_EQ(pages[0].texts.front().y, 0);
}

TEST(TaskPrint, ThreeTablesWithoutPaybackAndFiveWith) {
    for (const int prok : {0, 1}) {
        TaskView v;
        v.task.prok = prok;
        v.task.reg = 1;
        v.task.name = "Q";
        v.content.params = {{"P1", "V1"}, {"P2", "V2"}};
        v.content.grids = {grid(4, {{"1", "2", "3", "4"}}), grid(7, {{"1"}}), grid(6, {{"1"}}),
                           grid(5, {{"1"}}), grid(6, {{"1"}})};
        const auto pages = task_print(v, kShell, metrics());
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(rules(pages[0]).size(), prok == 1 ? 15u : 9u) << prok;
        EXPECT_EQ(find_text(pages[0], "4") != nullptr, prok == 1); // the pay-back column
        EXPECT_EQ(find_text(pages[0], "T50 \"Q\"")->y, kPrintTop - kLine);
        EXPECT_EQ(find_text(pages[0], "P2: V2")->y, kPrintTop + 2 * kLine);
        expect_page_numbers(pages);
    }
}

TEST(TaskPrint, ModeTwoLeavesTheCostColumnOfTheObjectsEmpty) {
    TaskView v;
    v.task.reg = 2;
    v.content.grids = {grid(4, {}), grid(7, {{"1", "2", "desc", "COST", "5"}}), grid(6, {})};
    const auto pages = task_print(v, kShell, metrics());
    EXPECT_EQ(find_text(pages[0], "COST"), nullptr);
    EXPECT_NE(find_text(pages[0], "5"), nullptr);
}

TEST(TaskPrint, ContinuationRulesOfTheIncomeAndPointTables) {
    TaskView v;
    v.task.prok = 1;
    v.content.grids = {grid(4, {}), grid(7, {}), grid(6, {{"1", "1"}, {"  1", "2"}, {"2", "1"}}),
                       grid(5, {{"1", "1", "1"}, {"  1", "  1", "2"}, {"  1", "2", "1"}}),
                       grid(6, {{"1", "1", "1"}, {"  1", "  1", ""}, {"  1", "  1", "2"}})};
    const auto pages = task_print(v, kShell, metrics());
    const auto r = rules(pages[0]);
    ASSERT_EQ(r.size(), 2u * 2 + 3 * 5u);
    const auto starts = [&](std::size_t first, const std::vector<double>& shares) {
        const auto x = column_edges(kW, shares);
        std::vector<int> out;
        for (std::size_t k = first; k < first + 3; ++k) {
            out.push_back(r[k].x1 == kPrintRuleLeft
                              ? -1
                              : int(std::find(x.begin(), x.end(), r[k].x1) - x.begin()));
        }
        return out;
    };
    EXPECT_EQ(starts(6, {0.07, 0.10, 0.50, 0.09, 0.11, 0.13}), (std::vector<int>{1, -1, -1}));
    EXPECT_EQ(starts(11, {0.10, 0.10, 0.10, 0.20, 0.20}), (std::vector<int>{2, 1, -1}));
    EXPECT_EQ(starts(16, {0.10, 0.10, 0.10, 0.10, 0.20, 0.20}), (std::vector<int>{3, 2, -1}));
}

TEST(TaskPrint, TableEndingAPageLeavesTheNextOneANewPage) {
    // Rows of 3 lines; find a row count whose last row fills the first page.
    for (std::size_t n = 1; n < 80; ++n) {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t r = 1; r <= n; ++r) {
            rows.push_back({"r" + std::to_string(r)});
        }
        TaskView v;
        v.content.grids = {grid(4, rows), grid(7, {{"x"}}), grid(6, {})};
        const auto pages = task_print(v, kShell, metrics());
        for (const PrintPage& page : pages) {
            for (const PrintLine& l : page.lines) {
                EXPECT_LE(std::max(l.y1, l.y2), kH - kPrintMargin) << n;
            }
        }
        if (find_text(pages[0], "r" + std::to_string(n)) != nullptr &&
            find_text(pages[0], "x") == nullptr) {
            // The second table starts at the top of the new page.
            ASSERT_EQ(pages.size(), 2u);
            EXPECT_EQ(rules(pages[1]).front().y1, kPrintMargin);
            EXPECT_EQ(find_text(pages[1], "x")->y, kPrintMargin + 3 * kLine + 5 + kLine);
            return;
        }
    }
    FAIL() << "no table ended a page";
}
