#include "book/imports.h"
#include "book/layouts.h"

#include "io/files.h"
#include "view/view_texts.h"
#include "view_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace kov;
using namespace fixtures;
using view_fixture::kCp;

namespace {

std::vector<std::string> row(const SheetLayout& s, std::size_t r) {
    return {s.cells.begin() + std::ptrdiff_t(r * s.columns),
            s.cells.begin() + std::ptrdiff_t((r + 1) * s.columns)};
}

std::vector<std::string> names(const WorkbookLayout& book) {
    std::vector<std::string> out;
    for (const SheetLayout& s : book.sheets) {
        out.push_back(s.name);
    }
    return out;
}

class WorkbookLayoutTest : public ::testing::Test {
protected:
    // Writes the layout and opens it again.
    std::unique_ptr<WorkbookReader> written(const WorkbookLayout& layout) {
        const std::string path = ws / ("book" + std::to_string(++files) + ".xlsx");
        write_workbook(path, layout);
        return open_workbook(path);
    }

    DatabaseWorkbook reread(const BdonData& bdon, char type = 0) {
        const auto book = written(database_workbook(bdon, shell, ','));
        return read_database_workbook(*book, "eng", type ? type : bdon.header.type.front(), ',',
                                      kCp);
    }

    TempWorkspace ws;
    int files = 0;
    const LanguageShell shell = view_fixture::shell();
};

TEST_F(WorkbookLayoutTest, DatabaseSheetsHoldTheirTextsWidthsAndHeights) {
    BdonData bdon = small_bdon('A', "123");
    bdon.objects[0].description = std::string(49, 'a');
    bdon.objects[1].description = std::string(50, 'b');
    bdon.objects[2].description = std::string(120, 'c');
    const WorkbookLayout book = database_workbook(bdon, shell, ',');
    EXPECT_EQ(names(book),
              (std::vector<std::string>{"T276", "T329 (1)", "T329 (2)", "T329 (3)", "T448"}));
    const SheetLayout& s1 = book.sheets[0];
    EXPECT_EQ(s1.rows(), 16u);
    EXPECT_EQ(row(s1, 0), (std::vector<std::string>{"T528", "eng"}));
    EXPECT_EQ(row(s1, 4), (std::vector<std::string>{"T404:", "1"}));
    EXPECT_EQ(row(s1, 5), (std::vector<std::string>{" 1 - T148", ""}));
    EXPECT_EQ(row(s1, 9), (std::vector<std::string>{"T274,", "3"}));
    EXPECT_EQ(row(s1, 11)[0], " - T93");
    EXPECT_EQ(row(s1, 15), (std::vector<std::string>{"T84", "01.02.2024"}));
    EXPECT_EQ(s1.widths, (std::vector<double>{63, 75}));
    EXPECT_EQ(s1.format_of(15, 1), (CellFormat{true, false, false, true}));
    EXPECT_EQ(s1.format_of(3, 0), (CellFormat{false, false, false, true}));

    const SheetLayout& s2 = book.sheets[1];
    EXPECT_EQ(row(s2, 0), (std::vector<std::string>{"T263", "T155", "T297 (<=255 T130)",
                                                    "T439 (USD)", "T475 (>=0)", "T367 (*)"}));
    EXPECT_EQ(row(s2, 1),
              (std::vector<std::string>{"1", "100001", std::string(49, 'a'), "1000", "1", ""}));
    EXPECT_EQ(s2.heights, (std::vector<double>{52.5, 12.75, 25.5, 38.25}));
    EXPECT_EQ(s2.widths, (std::vector<double>{7, 7, 51, 10.5, 14, 10.5}));
    EXPECT_EQ(s2.format_of(0, 4), (CellFormat{true, false, true, false}));
    EXPECT_EQ(s2.format_of(3, 2), (CellFormat{false, false, true, false}));

    // Variants: object numbers indented on variants 1..n, variant j after j blanks.
    const SheetLayout& s3 = book.sheets[2];
    EXPECT_EQ(row(s3, 1), (std::vector<std::string>{"1", "0", "Variant 1.0", "-", "-", "1", "1"}));
    EXPECT_EQ(row(s3, 2),
              (std::vector<std::string>{"  1", " 1", "Variant 1.1", "50", "1,5", "2", "1"}));
    EXPECT_EQ(row(s3, 6)[1], "  2");

    // Sale variants from A, exploitation variants from G, each from row 2.
    const SheetLayout& s4 = book.sheets[3];
    EXPECT_EQ(s4.columns, 11u);
    EXPECT_EQ(row(s4, 1),
              (std::vector<std::string>{"1", "0", "1", "1500", "4", "", "1", "0", "1", "20", "0"}));
    // The second sale variant of object 1's variant 1 beside object 3's first exploitation variant.
    EXPECT_EQ(row(s4, 3), (std::vector<std::string>{"  1", "  1", " 2", "1520", "2", "", "3", "0",
                                                    "1", "22", "2"}));
    EXPECT_EQ(s4.heights, (std::vector<double>{65.25}));

    const SheetLayout& s5 = book.sheets[4];
    EXPECT_EQ(row(s5, 0)[4], "T135 (months)");
    EXPECT_EQ(row(s5, 1), (std::vector<std::string>{"1", "0", "1", "1", "0", "0", "", "1", "1", "1",
                                                    "1", "0", "0"}));
    EXPECT_EQ(row(s5, 2)[3], " 2");
    EXPECT_EQ(row(s5, 2)[0], "  1");
}

TEST_F(WorkbookLayoutTest, TypeBHasFiveObjectColumnsAndNoSaleLeavesOnlyHeadings) {
    // Only exploitation variants.
    const BdonData bdon = make_bdon('B', "000007", {{{{}, {3}}}, {{{}, {}}}});
    const WorkbookLayout book = database_workbook(bdon, shell, ',');
    const SheetLayout& s2 = book.sheets[1];
    EXPECT_EQ(row(s2, 0), (std::vector<std::string>{"T263", "T155", "T297 (<=255 T130)",
                                                    "T475 (>=0)", "T367 (*)"}));
    EXPECT_EQ(row(s2, 1)[3], "0");
    EXPECT_EQ(s2.widths, (std::vector<double>{7, 7, 51, 14, 10.5}));
    const SheetLayout& s4 = book.sheets[3];
    ASSERT_EQ(s4.rows(), 2u);
    EXPECT_EQ(row(s4, 1),
              (std::vector<std::string>{"", "", "", "", "", "", "1", "0", "1", "20", "3"}));
    const SheetLayout& s5 = book.sheets[4];
    ASSERT_EQ(s5.rows(), 4u);
    EXPECT_EQ(row(s5, 3)[0], "");
    EXPECT_EQ(row(s5, 3)[10], "  3");
}

TEST_F(WorkbookLayoutTest, DatabasesOfBothTypesComeBackFromTheirWorkbooks) {
    for (char type : {'A', 'B'}) {
        BdonData bdon = small_bdon(type, type == 'A' ? "123" : "000123");
        // A number that needs 17 digits, a text with leading blanks and a mark.
        bdon.sale_points[0][0][0][1].y = 0.1 + 0.2;
        bdon.objects[1].absence = "*";
        bdon.variants[2][1].description = "Ремонт";
        const DatabaseWorkbook read = reread(bdon);
        ASSERT_TRUE(read.outcome.ok()) << type;
        EXPECT_EQ(read.name, "Test database");
        BdonData expected = bdon;
        // Cp1252 cannot store Cyrillic: the record holds "?" as the file would.
        expected.variants[2][1].description = "??????";
        // The identity comes from the wizard's first page, not from the workbook.
        expected.header.code.clear();
        expected.header.name.clear();
        EXPECT_TRUE(read.data.same_content(expected)) << type;
    }
}

TEST_F(WorkbookLayoutTest, RefusedDatabaseWorkbooksSayWhy) {
    struct Case {
        const char* what;
        std::size_t sheet, row, col;
        std::string text;
        char type;
        int first_text; // the message's first shell text, -1 for a fixed one
        std::string message;
    } cases[] = {
        {"language", 0, 0, 1, "rus", 'A', 525, "T525 (rus), T526 (eng), T527."},
        {"type", 0, 1, 1, "B", 'A', 508, "T508 (\"B\") T509 (\"A\")."},
        {"empty type", 0, 1, 1, "  ", 'A', 508, "T508 (\"\") T509 (\"A\")."},
        {"object count above 1000", 0, 9, 1, "5000", 'A', -1, ""},
        {"count no number", 0, 9, 1, "many", 'A', -1,
         "'many' is not a valid integer value (sheet 1, cell B10)"},
        {"modernisations beyond 5", 1, 1, 4, "7", 'A', -1,
         "'7' is not a count in 0..5 (sheet 2, cell E2)"},
        {"negative points", 3, 1, 4, "-1", 'A', -1,
         "'-1' is not a count in 0..10 (sheet 4, cell E2)"},
        {"cost no number", 1, 2, 3, "1.5", 'A', -1,
         "'1.5' is not a valid floating point value (sheet 2, cell D3)"},
    };
    for (const Case& c : cases) {
        WorkbookLayout layout = database_workbook(small_bdon('A', "123"), shell, ',');
        SheetLayout& s = layout.sheets[c.sheet];
        s.cells[c.row * s.columns + c.col] = c.text;
        const auto book = written(layout);
        const DatabaseWorkbook read = read_database_workbook(*book, "eng", c.type, ',', kCp);
        ASSERT_FALSE(read.outcome.ok()) << c.what;
        if (c.first_text >= 0) {
            EXPECT_EQ(read.outcome.verdict, Verdict::Warning) << c.what;
        }
        if (!c.message.empty()) {
            EXPECT_EQ(read.outcome.compose(shell), c.message) << c.what;
        }
        EXPECT_TRUE(read.data.objects.empty()) << c.what;
    }
    // A missing sheet.
    WorkbookLayout short_book = database_workbook(small_bdon('A', "123"), shell, ',');
    short_book.sheets.pop_back();
    const auto book = written(short_book);
    EXPECT_EQ(read_database_workbook(*book, "eng", 'A', ',', kCp).outcome.compose(shell),
              "The workbook has no sheet 5");
}

// ---- Tasks
// ----------------------------------------------------------------------------------------

class TaskWorkbookTest : public WorkbookLayoutTest {
protected:
    TaskView view(const BdonData& bdon, const TaskDefinition& def) {
        view_fixture::write_task(ws.path(), bdon, def);
        return build_task_view(ws.path(), def.header.shifr, shell, ',');
    }

    // A task of each type on a database of each type, with a mark left out and a limit: its
    // view, its definition and its export layout, with a name for messages.
    struct Case {
        std::string name;
        TaskDefinition def;
        TaskView view;
        WorkbookLayout layout;
    };
    std::vector<Case> every_task_type() {
        std::vector<Case> cases;
        for (char type : {'A', 'B'}) {
            const BdonData bdon = small_bdon(type, type == 'A' ? "123" : "000123");
            for (int tipz = 1; tipz <= 4; ++tipz) {
                TaskDefinition def = make_definition(bdon, tipz, 3);
                def.header.ogrn = 2;
                def.header.prk = 0;
                def.row_marks.back() = false;
                TaskView v = view(bdon, def);
                WorkbookLayout layout = task_workbook(v, shell);
                cases.push_back({std::string(1, type) + std::to_string(tipz), std::move(def),
                                 std::move(v), std::move(layout)});
            }
        }
        return cases;
    }

    // The import gives back every value it reads: the descriptor as stored (with its
    // chosen-object count) less what is not read, the variants and the marks.
    void expect_read_back(const Case& c, WorkbookReader& book) {
        const TaskWorkbook read = read_task_workbook(book, c.def.header.reg, ',', kCp);
        ASSERT_TRUE(read.outcome.ok()) << c.name << ": " << read.outcome.compose(shell);
        TaskHeader expected = c.view.task;
        expected.shifr.clear();
        expected.name.clear();
        expected.faza = 0;
        EXPECT_EQ(read.header, expected) << c.name;
        EXPECT_EQ(read.variants, c.def.variants) << c.name;
        EXPECT_EQ(read.row_marks, c.def.row_marks) << c.name;
    }
};

TEST_F(TaskWorkbookTest, EveryTaskTypeComesBackFromItsWorkbook) {
    for (const Case& c : every_task_type()) {
        const bool payback = c.def.header.tipz % 2 == 0;
        ASSERT_EQ(c.layout.sheets.size(), payback ? 6u : 4u) << c.name;
        EXPECT_EQ(c.layout.sheets[2].widths[3], c.name[0] == 'A' ? 11 : 1) << c.name;
        expect_read_back(c, *written(c.layout));
    }
}

// The same after a spreadsheet application opened each workbook and saved it again, as a
// workbook and as a legacy workbook: its shared strings, numbers and styles read as ours do.
TEST_F(TaskWorkbookTest, EveryTaskTypeComesBackAfterASpreadsheetApplicationSavedIt) {
    const std::string office = KOV_SOFFICE;
    if (office.empty()) {
        GTEST_SKIP() << "no spreadsheet application on this machine";
    }
    const std::vector<Case> cases = every_task_type();
    const std::string dir = ws / "office";
    make_dirs(dir);
    std::string files;
    for (const Case& c : cases) {
        write_workbook(dir + "/" + c.name + ".xlsx", c.layout);
        files += " '" + dir + "/" + c.name + ".xlsx'";
    }
    for (const char* format : {"xlsx", "xls"}) {
        const std::string out = dir + "/" + format;
        const std::string command = "HOME='" + dir + "' '" + office + "' --headless --convert-to " +
                                    format + " --outdir '" + out + "'" + files + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (const Case& c : cases) {
            const std::string path = out + "/" + c.name + "." + format;
            ASSERT_TRUE(file_exists(path)) << path;
            expect_read_back(c, *open_workbook(path));
        }
    }
}

TEST_F(TaskWorkbookTest, LayoutsFollowTheTaskType) {
    const BdonData bdon = small_bdon('B', "000123");
    const WorkbookLayout sale = task_workbook(view(bdon, make_definition(bdon, 2, 2)), shell);
    EXPECT_EQ(names(sale), (std::vector<std::string>{"T324", "T325", "T329 (1)", "T329 (2)",
                                                     "T329 (3)", "T448"}));
    EXPECT_EQ(sale.sheets[0].rows(), sale.sheets[0].rows());
    EXPECT_EQ(row(sale.sheets[0], sale.sheets[0].rows() - 1), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(sale.sheets[1].heights, (std::vector<double>{39.75}));
    EXPECT_EQ(sale.sheets[1].format_of(0, 3), (CellFormat{false, true, true, false}));
    EXPECT_EQ(sale.sheets[2].format_of(0, 6), (CellFormat{true, false, true, false}));
    EXPECT_EQ(sale.sheets[3].widths.back(), 10);
    EXPECT_EQ(sale.sheets[4].heights, (std::vector<double>{65.25}));
    EXPECT_EQ(sale.sheets[4].widths, (std::vector<double>{11.5, 14, 13, 11, 18}));
    const WorkbookLayout expl =
        task_workbook(view(bdon, make_definition(bdon, 3, 2, "TASK02")), shell);
    ASSERT_EQ(expl.sheets.size(), 4u);
    EXPECT_EQ(expl.sheets[1].widths, (std::vector<double>{11, 21, 21}));
    EXPECT_EQ(expl.sheets[1].at(0, 3), "");
    EXPECT_EQ(expl.sheets[3].widths.back(), 16);
}

TEST_F(TaskWorkbookTest, ImportEdgeCases) {
    const BdonData bdon = small_bdon('A', "123");
    const TaskView payback = view(bdon, make_definition(bdon, 2, 3));
    const TaskView plain = view(bdon, make_definition(bdon, 1, 2, "TASK02"));
    const auto read = [&](const TaskView& v, int reg, auto edit) {
        WorkbookLayout layout = task_workbook(v, shell);
        edit(layout);
        const auto book = written(layout);
        return read_task_workbook(*book, reg, ',', kCp);
    };
    const auto none = [](WorkbookLayout&) {};

    EXPECT_EQ(read(plain, 2, none).outcome.compose(shell), "T386.");
    EXPECT_EQ(read(plain, 1, [](WorkbookLayout& l) { l.sheets[0].cells[11 * 2 + 1] = "B_000001"; })
                  .outcome.compose(shell),
              "T385 (\"B_\" T517 \"A_\" ).");
    // With pay-back only row 2 of the variants counts.
    const TaskWorkbook p = read(payback, 1, [](WorkbookLayout& l) {
        SheetLayout& s = l.sheets[1];
        s.cells[2 * s.columns + 1] = "999";
        s.cells[3 * s.columns + 2] = "junk";
    });
    ASSERT_TRUE(p.outcome.ok());
    EXPECT_EQ(p.variants, (std::vector<InvestmentVariant>(3, {2000, 700})));
    // An empty limit cell is no limit; a mark of blanks is no mark.
    const TaskWorkbook q = read(plain, 1, [](WorkbookLayout& l) {
        l.sheets[0].cells[26 * 2 + 1] = "   ";
        l.sheets[2].cells[1 * 7 + 6] = "  ";
        l.sheets[2].cells[2 * 7 + 6] = "x";
    });
    ASSERT_TRUE(q.outcome.ok());
    EXPECT_EQ(q.header.ogrn, 0);
    EXPECT_FALSE(q.row_marks[0]);
    EXPECT_TRUE(q.row_marks[1]);
    // A number the user typed over a text reads as its general text.
    EXPECT_EQ(read(plain, 1, [](WorkbookLayout& l) { l.sheets[0].cells[22 * 2 + 1] = "12,50"; })
                  .header.ps,
              12.5);
    EXPECT_EQ(read(plain, 1, [](WorkbookLayout& l) { l.sheets[0].cells[22 * 2 + 1] = "x"; })
                  .outcome.compose(shell),
              "'x' is not a valid floating point value (sheet 1, cell B23)");
}

// ---- Solution and statistics ------------------------------------------------------------------

TEST(WorkbookRowHeights, FollowTheDescriptionLength) {
    const struct {
        std::size_t length, per_line;
        double height;
    } cases[] = {{0, 40, 12.75},  {39, 40, 12.75}, {40, 40, 25.5},
                 {49, 50, 12.75}, {50, 50, 25.5},  {120, 50, 38.25}};
    for (const auto& c : cases) {
        EXPECT_EQ(text_row_height(std::string(c.length, 'x'), c.per_line), c.height) << c.length;
    }
    EXPECT_EQ(text_row_height("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", 40), 12.75);
}

TEST(WorkbookSolution, TableAndParametersAsTheViewerShowsThem) {
    const LanguageShell shell = view_fixture::shell();
    SolutionView v;
    v.task.reg = 2;
    v.content.params = {{"", ""}, {"Key", "Value"}};
    ViewGrid g;
    for (int c = 0; c < 15; ++c) {
        g.columns.push_back({"H" + std::to_string(c), 0, c == 9});
    }
    ViewRow r;
    r.cells.assign(15, "c");
    r.cells[8] = std::string(40, 'd');
    g.rows = {r, view_texts::separator_row(15), r};
    v.content.grids = {g};
    const WorkbookLayout book = solution_workbook(v, shell);
    EXPECT_EQ(names(book), (std::vector<std::string>{"T324", "T408"}));
    EXPECT_EQ(book.sheets[0].rows(), 2u);
    EXPECT_EQ(book.sheets[0].widths, (std::vector<double>{74, 80}));
    const SheetLayout& t = book.sheets[1];
    EXPECT_EQ(t.at(0, 9), "");
    EXPECT_EQ(t.at(0, 14), "H14");
    EXPECT_EQ(t.widths[9], 1);
    EXPECT_EQ(row(t, 2), std::vector<std::string>(15));
    EXPECT_EQ(t.heights, (std::vector<double>{77.25, 25.5, 12.75, 25.5}));
    EXPECT_EQ(t.format_of(0, 14), (CellFormat{true, false, true, false}));
    EXPECT_EQ(t.format_of(3, 8), (CellFormat{false, false, true, false}));

    StatisticsView s;
    s.content.params = v.content.params;
    ViewGrid sg;
    sg.columns.assign(10, {"S"});
    s.content.grids = {sg};
    const WorkbookLayout stats = statistics_workbook(s, shell);
    EXPECT_EQ(names(stats), (std::vector<std::string>{"T324", "T435"}));
    EXPECT_EQ(stats.sheets[0].widths, (std::vector<double>{59, 114}));
    EXPECT_EQ(stats.sheets[1].heights, (std::vector<double>{52}));
    EXPECT_EQ(stats.sheets[1].widths,
              (std::vector<double>{11, 15, 15, 16, 19, 24, 24, 17, 17, 39}));
}

} // namespace
