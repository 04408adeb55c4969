// The database wizard's core: the checks of every page, the page flow, the prefill from the
// previous data through the index map, the import and saving.
#include "dbor/bdon_wizard.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "shell/language_shell.h"
#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;
using fixtures::make_bdon;
using fixtures::small_bdon;

namespace {

constexpr const char* kToday = "11.12.2026";

// A shell whose texts say their own number ("T412").
LanguageShell numbered_texts() {
    LanguageShell shell;
    for (int k = 0; k < 540; ++k) {
        shell.texts.push_back("T" + std::to_string(k));
    }
    for (int k = 0; k < 33; ++k) {
        shell.short_texts.push_back("S" + std::to_string(k));
    }
    return shell;
}

WizardContext context(const std::string& workspace) {
    return {workspace, "eng", CodePage::Cp1252, ',', [] { return std::string(kToday); }};
}

// Presses Next until the wizard finishes, failing on any page that does not pass.
void pass_all(BdonWizard& w) {
    for (int guard = 0; guard < 12 && !w.finished(); ++guard) {
        const int page = w.page();
        const NextOutcome o = w.next();
        ASSERT_TRUE(o.ok()) << "page " << page << " refused with text " << o.text();
    }
    ASSERT_TRUE(w.finished());
}

// Opens a stored database in a correction (or view) and leaves it on page 3.
void open_to_objects(BdonWizard& w, const BdonData& stored, const std::string& count = {}) {
    w.open(stored);
    if (!count.empty()) {
        w.fields().count = count;
    }
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 3);
}

std::vector<std::string> column(const WizardGrid& g, int c) {
    std::vector<std::string> out;
    for (std::size_t r = 0; r < g.row_count(); ++r) {
        out.push_back(g.cell(r, c));
    }
    return out;
}

// A grid of one delay curve.
CurveGrid one_curve(Income kind, const BdonModel& model,
                    const std::vector<std::pair<std::string, std::string>>& points) {
    CurveGrid g(kind, model, ',');
    for (std::size_t t = 0; t < points.size(); ++t) {
        PointRow r;
        r.point = std::uint8_t(t);
        r.count = std::uint8_t(points.size());
        r.x = points[t].first;
        r.y = points[t].second;
        g.rows().push_back(r);
    }
    return g;
}

} // namespace

// ---- Checks of pages 1 and 2 ------------------------------------------------------------------

TEST(BdonChecks, IdentityAndObjectCount) {
    struct Case {
        char type;
        const char* code;
        const char* name;
        int text; // -1: passes
        Focus focus;
    };
    for (const Case& c :
         {Case{'A', "123", "Name", -1, Focus::None}, Case{'B', "123456", "Name", -1, Focus::None},
          Case{'B', "123", "Name", 507, Focus::Code}, Case{'A', "1234", "Name", 507, Focus::Code},
          Case{'A', "12a", "Name", 507, Focus::Code}, Case{'A', "123", "   ", 29, Focus::Name}}) {
        const NextOutcome o = check_identity(c.type, c.code, c.name);
        EXPECT_EQ(o.text(), c.text) << c.type << c.code;
        EXPECT_EQ(o.focus, c.focus) << c.type << c.code;
    }

    EXPECT_TRUE(check_object_count("1000").ok());
    EXPECT_EQ(check_object_count("0").text(), 223);
    EXPECT_EQ(check_object_count("-2").text(), 223);
    EXPECT_EQ(check_object_count("1001").compose(numbered_texts()), "T415 (> 1000).");
    EXPECT_EQ(check_object_count("").verdict, Verdict::FocusOnly);
    EXPECT_EQ(check_object_count("").focus, Focus::ObjectCount);
    // The field itself takes a fourth digit only while the count stays within 1000.
    const FieldKey to_1000{U"100", 3, 0, 0, U'0'};
    const FieldKey to_1001{U"100", 3, 0, 0, U'1'};
    const FieldKey fifth{U"1000", 4, 0, 0, U'0'};
    EXPECT_TRUE(integer_field_accepts(to_1000, kObjectCountField));
    EXPECT_FALSE(integer_field_accepts(to_1001, kObjectCountField));
    EXPECT_FALSE(integer_field_accepts(fifth, kObjectCountField));
}

// ---- Checks of the grid pages -------------------------------------------------------------------

TEST(BdonChecks, ObjectRows) {
    const LanguageShell shell = numbered_texts();
    ObjectsGrid g('A', ',');
    g.rows().resize(2);
    for (ObjectRow& r : g.rows()) {
        r = {"100001", "12,5", "1", "", "", "Object", -1};
    }
    EXPECT_TRUE(check_objects(g).ok());

    // Texts put straight into the rows, as a paste or an import may bring them.
    const auto put = [](ObjectRow& r, int column, const char* text) {
        if (column == 1) {
            r.code = text;
        } else if (column == 2) {
            r.cost = text;
        } else {
            r.count = text;
        }
    };
    struct Case {
        int column;
        const char* text;
        int expected;
    };
    for (const Case& c :
         {Case{1, "", 310}, Case{1, "12345", 252}, Case{1, "12345X", 252}, Case{1, "1234567", 252},
          Case{1, " 123456 ", -1}, Case{2, "", 314},
          Case{2, "1.5", 248}, // not the user's separator
          Case{2, "0", 232}, Case{3, "", 315}, Case{3, "6", 216}, Case{3, "-1", 216}}) {
        ObjectsGrid bad = g;
        put(bad.rows()[1], c.column, c.text);
        const NextOutcome o = check_objects(bad);
        EXPECT_EQ(o.text(), c.expected) << c.text;
        if (c.expected >= 0) {
            EXPECT_EQ(o.row, 1u) << c.text;
            EXPECT_EQ(o.column, c.column) << c.text;
            EXPECT_EQ(o.focus, Focus::Grid) << c.text;
        }
    }
    EXPECT_EQ(check_objects(g).verdict, Verdict::Ok);
    ObjectsGrid text_count = g;
    text_count.rows()[0].count = "x";
    EXPECT_EQ(check_objects(text_count).verdict, Verdict::Error);

    ObjectsGrid no_description = g;
    no_description.rows()[1].description = "  ";
    const NextOutcome o = check_objects(no_description);
    EXPECT_EQ(o.compose(shell), "T312 2 ...\", T305.");
    EXPECT_EQ(o.focus, Focus::Memo);

    // Type B keeps no cost: an empty cost column passes.
    ObjectsGrid type_b('B', ',');
    type_b.rows() = g.rows();
    type_b.rows()[0].cost = NumberCell();
    EXPECT_TRUE(check_objects(type_b).ok());

    // Marked rows are skipped by the row checks; all marked is refused, some marked is asked.
    ObjectsGrid marked = g;
    marked.rows()[1].code.clear();
    marked.rows()[1].deletion = "*";
    EXPECT_EQ(check_objects(marked).verdict, Verdict::Confirm);
    EXPECT_EQ(check_objects(marked).compose(shell), "T51 T104.");
    marked.rows()[0].deletion = "*";
    EXPECT_EQ(check_objects(marked).compose(shell), "T23. T420.");
}

TEST(BdonChecks, VariantRows) {
    BdonModel model;
    VariantsGrid g(model, ',');
    g.rows().push_back({0, 0, "", "", "1", "0", "Variant 0"});
    g.rows().push_back({0, 1, "50", "1,5", "0", "2", "Variant 1"});
    EXPECT_TRUE(check_variants(g).ok());
    const auto put = [](VariantRow& r, int column, const char* text) {
        if (column == 3) {
            r.cost = text;
        } else if (column == 4) {
            r.duration = text;
        } else if (column == 5) {
            r.sale = text;
        } else {
            r.expl = text;
        }
    };
    struct Case {
        int column;
        const char* text;
        int expected;
    };
    for (const Case& c :
         {Case{3, "", 313}, Case{3, "a", 247}, Case{3, "0", 231}, Case{4, "", 307},
          Case{4, "1.5", 244}, Case{4, "0,000000001", 230}, Case{5, "", 316}, Case{5, "6", 217},
          Case{6, "", 317}, Case{6, "9", 218}, Case{6, "0", 241}}) {
        VariantsGrid bad = g;
        put(bad.rows()[1], c.column, c.text);
        const NextOutcome o = check_variants(bad);
        EXPECT_EQ(o.text(), c.expected) << c.text;
        EXPECT_EQ(o.row, 1u) << c.text;
        EXPECT_EQ(o.column, c.expected == 241 ? 5 : c.column) << c.text;
    }
    VariantsGrid no_description = g;
    no_description.rows()[1].description.clear();
    EXPECT_EQ(check_variants(no_description).compose(numbered_texts()), "T311 1 T189 ...\", T305.");
}

TEST(BdonChecks, IncomeRows) {
    const LanguageShell shell = numbered_texts();
    BdonModel model;
    auto grid = [&](std::uint8_t siblings, const std::string& amount, const std::string& points) {
        IncomeGrid g(Income::Sale, model, ',');
        for (std::uint8_t k = 0; k < siblings; ++k) {
            g.rows().push_back({0, 0, k, siblings, amount, points});
        }
        return g;
    };
    EXPECT_TRUE(check_incomes(grid(1, "100", "0")).ok()); // a single variant may have no curve
    EXPECT_TRUE(check_incomes(grid(2, "0", "10")).ok());
    EXPECT_EQ(check_incomes(grid(2, "100", "0")).text(), 220);
    EXPECT_EQ(check_incomes(grid(2, "100", "1")).compose(shell), "T220 (<2 T143 >10).");
    EXPECT_EQ(check_incomes(grid(1, "100", "1")).compose(shell), "T219 (=1 T143 >10).");
    EXPECT_EQ(check_incomes(grid(1, "100", "11")).text(), 219);
    EXPECT_EQ(check_incomes(grid(1, "100", "-3")).text(), 219); // a pasted negative count
    EXPECT_EQ(check_incomes(grid(1, "100", "")).text(), 318);
    EXPECT_EQ(check_incomes(grid(1, "", "0")).compose(shell), "T306 \"T281 ...\" T20.");
    EXPECT_EQ(check_incomes(grid(1, "-5", "0")).compose(shell), "T235 \"T281 ...\" T20.");
    EXPECT_EQ(check_incomes(grid(1, "x", "0")).verdict, Verdict::Error);
}

TEST(BdonChecks, DelayCurves) {
    const LanguageShell shell = numbered_texts();
    const BdonModel model;
    struct Case {
        std::vector<std::pair<std::string, std::string>> points;
        int text; // -1: accepted
        std::size_t row;
    };
    const std::vector<Case> cases = {
        {{{"0", "0"}, {"5", "1"}}, -1, 0},
        {{{"0", "0"}, {"5", "1"}, {"7", "1"}}, 209, 1},
        {{{"0", "0"}, {"3", "0,5"}, {"3", "0,5"}, {"6", "1"}}, 90, 2},
        {{{"0", "0"}, {"3", "0,5"}, {"3", "0,7"}, {"6", "1"}}, -1, 0}, // a vertical step
        {{{"0", "0,2"}, {"5", "1"}}, 212, 0},
        {{{"1", "0"}, {"5", "1"}}, 213, 0},
        {{{"0", "0"}, {"5", "1,000000001"}}, -1, 0}, // within 1e-8 of 1
        {{{"0", "0"}, {"5", "0,5"}}, 207, 1},
        {{{"0", "0"}, {"5", "0,5"}, {"4", "1"}}, 206, 2},
        {{{"0", "0"}, {"5", "0,5"}, {"6", "0,4"}, {"7", "1"}}, 208, 2},
        {{{"", "0"}, {"5", "1"}}, 308, 0},
        {{{"0", "0"}, {"5", "a"}}, 246, 1},
    };
    for (const Case& c : cases) {
        for (Income kind : {Income::Sale, Income::Expl}) {
            const NextOutcome o = check_curves(one_curve(kind, model, c.points));
            EXPECT_EQ(o.text(), c.text) << c.points.size() << " points, case row " << c.row;
            EXPECT_EQ(o.row, c.row);
        }
    }
    const std::vector<std::pair<std::string, std::string>> above = {{"0", "0"}, {"5", "1,0001"}};
    EXPECT_EQ(check_curves(one_curve(Income::Sale, model, above)).compose(shell), "T412 (>1).");
    EXPECT_EQ(check_curves(one_curve(Income::Expl, model, above)).compose(shell), "T412.");
}

// ---- Cells
// ---------------------------------------------------------------------------------------

TEST(BdonGrids, CellsTakeOnlyWhatTheirColumnTakes) {
    ObjectsGrid a('A', ',');
    a.rows().resize(1);
    EXPECT_TRUE(a.set_cell(0, 1, "123456"));
    EXPECT_FALSE(a.set_cell(0, 1, "12345X"));
    EXPECT_FALSE(a.set_cell(0, 1, "1234567"));
    EXPECT_TRUE(a.set_cell(0, 2, "12,5"));
    EXPECT_FALSE(a.set_cell(0, 2, "12.5"));
    EXPECT_FALSE(a.set_cell(0, 3, "-1"));
    EXPECT_FALSE(a.set_cell(0, 3, "1\b"));
    EXPECT_FALSE(a.set_cell(0, 4, "*"));
    EXPECT_TRUE(a.set_cell(0, 3, "")); // the Delete key
    EXPECT_EQ(a.cell(0, 1), "123456");
    EXPECT_EQ(a.cell(0, 2), "12,5");

    ObjectsGrid b('B', ',');
    b.rows().resize(1);
    EXPECT_FALSE(b.set_cell(0, 2, "1"));

    // Space marks and unmarks; a read-only grid (view mode) takes nothing.
    EXPECT_TRUE(a.toggle_mark(0, 4));
    EXPECT_EQ(a.cell(0, 4), "*");
    EXPECT_TRUE(a.toggle_mark(0, 4));
    EXPECT_EQ(a.cell(0, 4), "");
    EXPECT_FALSE(a.toggle_mark(0, 3));
    a.set_read_only(true);
    EXPECT_FALSE(a.toggle_mark(0, 5));
    EXPECT_FALSE(a.set_cell(0, 1, "654321"));
    EXPECT_EQ(a.cell(0, 5), "");
}

TEST(BdonGrids, FixedColumnsOfTheVariantAndCurvePages) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::View, context(ws.path()));
    open_to_objects(w, small_bdon());
    ASSERT_TRUE(w.next().ok());
    const VariantsGrid& v = w.variants_grid();
    EXPECT_EQ(column(v, 0), (std::vector<std::string>{"1", "  1", "2", "3", "  3", "  3"}));
    EXPECT_EQ(column(v, 1), (std::vector<std::string>{"100001", "", "100002", "100003", "", ""}));
    EXPECT_EQ(column(v, 2), (std::vector<std::string>{"0", " 1", "0", "0", " 1", "  2"}));
    EXPECT_EQ(column(v, 3), (std::vector<std::string>{"-", "50", "-", "-", "52", "102"}));
    EXPECT_FALSE(w.variants_grid().set_cell(0, 3, "1"));

    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 5);
    const IncomeGrid& s = w.income_grid(Income::Sale);
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"1", "  1", "  1", "2", "3", "  3"}));
    EXPECT_EQ(column(s, 2), (std::vector<std::string>{"0", "1", "  1", "0", "1", "2"}));
    EXPECT_EQ(column(s, 3), (std::vector<std::string>{"1", "1", " 2", "1", "1", "1"}));
    EXPECT_EQ(column(s, 5), (std::vector<std::string>{"4", "3", "2", "0", "2", "10"}));

    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 6);
    const CurveGrid& c = w.curve_grid(Income::Sale);
    ASSERT_EQ(c.row_count(), 4u + 3 + 2 + 2 + 10);
    EXPECT_EQ(c.cell(0, 4), "1");
    EXPECT_EQ(c.cell(1, 4), "  2");
    EXPECT_EQ(c.cell(20, 4), "         10");
    EXPECT_EQ(c.cell(4, 3), "1");
    EXPECT_EQ(c.cell(7, 3), "2");
    EXPECT_EQ(c.cell(8, 3), "  2");
    EXPECT_EQ(c.cell(5, 5), "2");
    EXPECT_EQ(c.cell(3, 6), "1");
}

// ---- Page flow
// -----------------------------------------------------------------------------------

TEST(BdonFlow, ForwardAndBackTables) {
    struct Case {
        WizardTotals t;
        std::vector<int> forward; // pages after 4, 5, 6, 7
        int before7, before9;
    };
    for (const Case& c :
         {Case{{3, 2, 6, 4}, {5, 6, 7, 8}, 6, 8}, Case{{3, 2, 0, 0}, {5, 7, 7, 9}, 5, 7},
          Case{{3, 0, 0, 0}, {5, 9, 9, 9}, 5, 5}, Case{{0, 2, 0, 4}, {7, 7, 7, 8}, 4, 8},
          Case{{3, 0, 6, 0}, {5, 6, 9, 9}, 6, 6}}) {
        EXPECT_EQ((std::vector<int>{page_after(4, c.t), page_after(5, c.t), page_after(6, c.t),
                                    page_after(7, c.t)}),
                  c.forward);
        EXPECT_EQ(page_before(7, c.t), c.before7);
        EXPECT_EQ(page_before(9, c.t), c.before9);
    }
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(page_after(p, {}), p + 1);
    }
    EXPECT_EQ(page_after(8, {}), 9);
    EXPECT_EQ(page_before(8, {}), 7);
    EXPECT_EQ(page_before(6, {}), 5);
}

TEST(BdonFlow, SalesWithoutCurvesGoFromPage5StraightToTheSummaryAndBack) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    open_to_objects(w, make_bdon('A', "123", {{{{0}, {}}}, {{{0}, {}}, {{0}, {}}}}));
    EXPECT_FALSE(w.back_enabled()); // page 3 of a correction
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 5);
    ASSERT_TRUE(w.next().ok());
    EXPECT_EQ(w.page(), 9);
    w.back();
    EXPECT_EQ(w.page(), 5);
    w.back();
    EXPECT_EQ(w.page(), 4);
    w.back();
    EXPECT_EQ(w.page(), 3);
    w.back();
    EXPECT_EQ(w.page(), 3);
}

// ---- Prefill and the index map
// -------------------------------------------------------------------

TEST(BdonPrefill, RaisingAndLoweringCountsInACorrection) {
    TempWorkspace ws;
    const BdonData stored = small_bdon();
    {
        BdonWizard w(WizardMode::Correct, context(ws.path()));
        open_to_objects(w, stored, "5");
        const auto& rows = w.objects_grid().rows();
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(column(w.objects_grid(), 1),
                  (std::vector<std::string>{"100001", "100002", "100003", "", ""}));
        EXPECT_EQ(rows[2].previous, 2);
        EXPECT_EQ(rows[3].previous, -1);
        EXPECT_EQ(rows[4].description, "");
    }
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    open_to_objects(w, stored, "2");
    ASSERT_EQ(w.objects_grid().row_count(), 2u);
    // Object 1 goes from 1 modernisation variant to 2, object 2 from 0 to none still.
    ASSERT_TRUE(w.objects_grid().set_cell(0, 3, "2"));
    ASSERT_TRUE(w.next().ok());
    const VariantsGrid& v = w.variants_grid();
    ASSERT_EQ(v.row_count(), 4u);
    EXPECT_EQ(column(v, 7),
              (std::vector<std::string>{"Variant 1.0", "Variant 1.1", "", "Variant 2.0"}));
    EXPECT_EQ(v.cell(2, 3), "");
    // Lowering it again drops the last variants.
    w.back();
    ASSERT_TRUE(w.objects_grid().set_cell(0, 3, "0"));
    ASSERT_TRUE(w.next().ok());
    EXPECT_EQ(column(w.variants_grid(), 7),
              (std::vector<std::string>{"Variant 1.0", "Variant 2.0"}));
    pass_all(w);
    const BdonData saved = read_bdon(bdon_base(ws.path(), "A_123", "eng"), CodePage::Cp1252);
    ASSERT_EQ(saved.objects.size(), 2u);
    EXPECT_EQ(saved.objects[0].n, 0);
    EXPECT_EQ(saved.variants[0][0], stored.variants[0][0]);
    EXPECT_EQ(saved.sale_points[1], stored.sale_points[1]);
}

TEST(BdonPrefill, DeletingObject2Of3KeepsTheVariantsOfObjects1And3) {
    TempWorkspace ws;
    const BdonData stored = small_bdon();
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    open_to_objects(w, stored);

    ASSERT_TRUE(w.objects_grid().toggle_mark(1, 5));
    EXPECT_EQ(w.next().verdict, Verdict::Confirm);
    w.confirm_deletion(false); // No: the marks go, the page stays
    EXPECT_EQ(w.page(), 3);
    EXPECT_EQ(w.objects_grid().cell(1, 5), "");
    ASSERT_TRUE(w.objects_grid().toggle_mark(1, 5));
    ASSERT_EQ(w.next().verdict, Verdict::Confirm);
    ASSERT_TRUE(w.confirm_deletion(true).ok());
    ASSERT_EQ(w.page(), 4);

    const std::vector<std::string> expected = {"Variant 1.0", "Variant 1.1", "Variant 3.0",
                                               "Variant 3.1", "Variant 3.2"};
    EXPECT_EQ(column(w.variants_grid(), 7), expected);
    // Back to the objects and on again: the rows still show objects 1 and 3.
    w.back();
    EXPECT_EQ(column(w.objects_grid(), 1), (std::vector<std::string>{"100001", "100003"}));
    ASSERT_TRUE(w.next().ok());
    EXPECT_EQ(column(w.variants_grid(), 7), expected);
    EXPECT_EQ(w.index_map(), (IndexMap{0, 2}));
    pass_all(w);

    const BdonData saved = read_bdon(bdon_base(ws.path(), "A_123", "eng"), CodePage::Cp1252);
    ASSERT_EQ(saved.objects.size(), 2u);
    for (std::size_t i : {0u, 1u}) {
        const std::size_t old = i == 0 ? 0 : 2;
        EXPECT_EQ(saved.objects[i], stored.objects[old]);
        EXPECT_EQ(saved.variants[i], stored.variants[old]);
        EXPECT_EQ(saved.sale_variants[i], stored.sale_variants[old]);
        EXPECT_EQ(saved.expl_points[i], stored.expl_points[old]);
    }
    EXPECT_EQ(saved.header.m, 2);
}

TEST(BdonPrefill, SkippedPagesLeaveNoOldShapesBehind) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    // Object 1 sells with curves; the correction turns every variant to exploitation only.
    open_to_objects(w, make_bdon('A', "123", {{{{4, 3}, {}}}, {{{2}, {0}}}}));
    ASSERT_TRUE(w.next().ok());
    VariantsGrid& v = w.variants_grid();
    for (std::size_t r = 0; r < v.row_count(); ++r) {
        ASSERT_TRUE(v.set_cell(r, 5, "0"));
        ASSERT_TRUE(v.set_cell(r, 6, "1"));
    }
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 7);
    // The new exploitation variant of object 1 has no curve; object 2 keeps its own.
    ASSERT_TRUE(w.income_grid(Income::Expl).set_cell(0, 4, "7"));
    ASSERT_TRUE(w.income_grid(Income::Expl).set_cell(0, 5, "0"));
    EXPECT_EQ(w.totals().sale_variants, 0);
    EXPECT_EQ(w.totals().sale_points, 0);
    ASSERT_TRUE(w.next().ok());
    EXPECT_EQ(w.page(), 9);
    EXPECT_EQ(w.current().header.sale_objects, 0);
    EXPECT_EQ(w.current().header.expl_objects, 2);
    EXPECT_EQ(w.current().header.expl_curve_objects, 0);
    pass_all(w);
    const BdonData saved = read_bdon(bdon_base(ws.path(), "A_123", "eng"), CodePage::Cp1252);
    EXPECT_TRUE(saved.sale_variants[0][0].empty());
    EXPECT_TRUE(saved.sale_points[0][0].empty());
    EXPECT_EQ(saved.expl_variants[0][0][0].income, 7.0);
    EXPECT_EQ(saved.header.sale_objects, 0);
}

TEST(BdonPrefill, PointCountsReshapeTheCurvesKeepingTheirFirstPoints) {
    TempWorkspace ws;
    const BdonData stored = make_bdon('A', "123", {{{{4}, {3}}}});
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    open_to_objects(w, stored);
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 5);
    // The sale curve grows from 4 points to 5, the exploitation curve shrinks from 3 to 2.
    ASSERT_TRUE(w.income_grid(Income::Sale).set_cell(0, 5, "5"));
    ASSERT_TRUE(w.next().ok());
    const CurveGrid& sale = w.curve_grid(Income::Sale);
    ASSERT_EQ(sale.row_count(), 5u);
    EXPECT_EQ(sale.cell(3, 6), "1");
    EXPECT_EQ(sale.cell(4, 5), "");
    EXPECT_EQ(w.current().objects[0].variants[0].sale[0].curve.size(), 5u);
    EXPECT_EQ(w.next().text(), 209); // the old last point is no longer the last
    ASSERT_TRUE(w.curve_grid(Income::Sale).set_cell(3, 6, "0,9"));
    ASSERT_TRUE(w.curve_grid(Income::Sale).set_cell(4, 5, "9"));
    ASSERT_TRUE(w.curve_grid(Income::Sale).set_cell(4, 6, "1"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.income_grid(Income::Expl).set_cell(0, 5, "2"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.curve_grid(Income::Expl).row_count(), 2u);
    ASSERT_TRUE(w.curve_grid(Income::Expl).set_cell(1, 6, "1"));
    pass_all(w);
    const BdonData saved = read_bdon(bdon_base(ws.path(), "A_123", "eng"), CodePage::Cp1252);
    EXPECT_EQ(saved.sale_variants[0][0][0].p, 5);
    const auto& old = stored.sale_points[0][0][0];
    EXPECT_EQ(saved.sale_points[0][0][0],
              (std::vector<DborPoint>{old[0], old[1], old[2], {old[3].x, 0.9}, {9, 1}}));
    EXPECT_EQ(saved.expl_points[0][0][0],
              (std::vector<DborPoint>{stored.expl_points[0][0][0][0],
                                      {stored.expl_points[0][0][0][1].x, 1}}));
}

// ---- Whole databases
// -------------------------------------------------------------------------------

TEST(BdonWizard, ADatabaseMadeByHandReadsBackFieldForField) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::New, context(ws.path()));
    HeaderFields& f = w.fields();
    f = {'B', "000042", "Own houses", "USD", "months", "2"};
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.next().ok());
    ObjectsGrid& o = w.objects_grid();
    EXPECT_FALSE(o.set_cell(0, 2, "5")); // type B has no cost
    const std::string long_text(300, 'd');
    for (std::size_t r = 0; r < 2; ++r) {
        ASSERT_TRUE(o.set_cell(r, 1, r == 0 ? "000001" : "000002"));
        ASSERT_TRUE(o.set_cell(r, 3, r == 0 ? "1" : "0"));
        o.set_description(r, r == 0 ? "  House  " : long_text);
    }
    ASSERT_TRUE(o.toggle_mark(1, 4));
    ASSERT_TRUE(w.next().ok());
    VariantsGrid& v = w.variants_grid();
    ASSERT_EQ(v.row_count(), 3u);
    for (std::size_t r = 0; r < 3; ++r) {
        v.set_description(r, "V" + std::to_string(r));
        ASSERT_TRUE(v.set_cell(r, 5, r == 1 ? "2" : "1"));
        ASSERT_TRUE(v.set_cell(r, 6, r == 2 ? "1" : "0"));
    }
    ASSERT_TRUE(v.set_cell(1, 3, "250,5"));
    ASSERT_TRUE(v.set_cell(1, 4, "3"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 5);
    IncomeGrid& s = w.income_grid(Income::Sale);
    ASSERT_EQ(s.row_count(), 4u);
    const char* points[] = {"0", "0", "3", "0"};
    for (std::size_t r = 0; r < 4; ++r) {
        ASSERT_TRUE(s.set_cell(r, 4, std::to_string(1000 + r)));
        ASSERT_TRUE(s.set_cell(r, 5, points[r]));
    }
    // Rows 1 and 2 are the two sale variants of variant 1: both need a curve.
    const NextOutcome two = w.next();
    EXPECT_EQ(two.text(), 220);
    EXPECT_EQ(two.row, 1u);
    EXPECT_EQ(w.page(), 5);
    ASSERT_TRUE(s.set_cell(1, 5, "2"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 6);
    CurveGrid& c = w.curve_grid(Income::Sale);
    const char* xy[][2] = {{"0", "0"}, {"4", "1"}, {"0", "0"}, {"2", "0,25"}, {"6", "1"}};
    for (std::size_t r = 0; r < 5; ++r) {
        ASSERT_TRUE(c.set_cell(r, 5, xy[r][0]));
        ASSERT_TRUE(c.set_cell(r, 6, xy[r][1]));
    }
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 7);
    ASSERT_TRUE(w.income_grid(Income::Expl).set_cell(0, 4, "12,75"));
    ASSERT_TRUE(w.income_grid(Income::Expl).set_cell(0, 5, "0"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 9);
    pass_all(w);
    EXPECT_EQ(w.saved_path(), ws / "Dbor/B_000042_dbor_eng.dat");

    const BdonData d = read_bdon(bdon_base(ws.path(), "B_000042", "eng"), CodePage::Cp1252);
    const DborHeader expected_header{"eng", "B", "000042", "Own houses", 2, "USD", "months", 2, 2,
                                     1,     1,   0,        kToday};
    EXPECT_EQ(d.header, expected_header);
    EXPECT_EQ(d.objects[0], (DborObject{"000001", "House", 0, 1, ""}));
    EXPECT_EQ(d.objects[1], (DborObject{"000002", std::string(255, 'd'), 0, 0, "*"}));
    EXPECT_EQ(d.variants[0][1], (DborVariant{"V1", 250.5, 3, 2, 0}));
    EXPECT_EQ(d.variants[1][0], (DborVariant{"V2", 0, 0, 1, 1}));
    EXPECT_EQ(d.sale_variants[0][1][1], (DborSaleVariant{1002, 3}));
    EXPECT_EQ(d.sale_points[0][1][1], (std::vector<DborPoint>{{0, 0}, {2, 0.25}, {6, 1}}));
    EXPECT_EQ(d.expl_variants[1][0][0], (DborExplVariant{12.75, 0}));
}

TEST(BdonWizard, ACorrectionThatChangesNothingWritesTheSameBytes) {
    TempWorkspace ws;
    BdonData stored = small_bdon('A', "321");
    stored.objects[0].cost = 1.0 / 3; // more digits than a cell shows
    stored.objects[2].absence = "*";
    write_bdon(ws.path(), "eng", stored, "01.01.2001", CodePage::Cp1252);
    const std::string base = bdon_base(ws.path(), "A_321", "eng");

    BdonWizard w(WizardMode::Correct, context(ws.path()));
    w.open(read_bdon(base, CodePage::Cp1252));
    pass_all(w);
    stored.header.saved = kToday;
    EXPECT_EQ(read_file(base + ".dat"), encode_bdon(stored, CodePage::Cp1252));
}

TEST(BdonWizard, ViewingNeverWritesAndTakesNoEdits) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::View, context(ws.path()));
    open_to_objects(w, small_bdon());
    EXPECT_TRUE(w.back_enabled());
    EXPECT_FALSE(w.objects_grid().toggle_mark(0, 4));
    EXPECT_FALSE(w.objects_grid().set_cell(0, 1, "999999"));
    pass_all(w);
    EXPECT_TRUE(w.saved_path().empty());
    EXPECT_TRUE(find_files(ws / "Dbor", "*").empty());
}

TEST(BdonWizard, ANewDatabaseMayNotReplaceAnExistingOne) {
    TempWorkspace ws;
    BdonData existing = small_bdon();
    write_bdon(ws.path(), "eng", existing, "x", CodePage::Cp1252);
    BdonWizard w(WizardMode::New, context(ws.path()));
    w.fields() = {'A', "123", "Another", "", "", "1"};
    NextOutcome o = w.next();
    EXPECT_EQ(o.compose(numbered_texts()), "T536 \"A_123\".");
    EXPECT_EQ(o.focus, Focus::Code);
    EXPECT_EQ(w.page(), 1);

    // A database that appears while the wizard is open is found again before saving.
    w.fields().code = "124";
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.next().ok());
    ObjectsGrid& g = w.objects_grid();
    ASSERT_TRUE(g.set_cell(0, 1, "000001") && g.set_cell(0, 2, "10") && g.set_cell(0, 3, "0"));
    g.set_description(0, "Object");
    ASSERT_TRUE(w.next().ok());
    w.variants_grid().set_description(0, "Variant");
    ASSERT_TRUE(w.variants_grid().set_cell(0, 5, "1") && w.variants_grid().set_cell(0, 6, "0"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_TRUE(w.income_grid(Income::Sale).set_cell(0, 4, "20") &&
                w.income_grid(Income::Sale).set_cell(0, 5, "0"));
    ASSERT_TRUE(w.next().ok());
    ASSERT_EQ(w.page(), 9);
    BdonData other = small_bdon('A', "124");
    write_bdon(ws.path(), "eng", other, "x", CodePage::Cp1252);
    EXPECT_EQ(w.next().text(), kTextDatabaseExists);
    EXPECT_EQ(w.page(), 9);
    EXPECT_FALSE(w.finished());
}

TEST(BdonWizard, AFailedSaveKeepsEverythingForAnotherTry) {
    TempWorkspace ws;
    BdonData stored = small_bdon();
    write_bdon(ws.path(), "eng", stored, "01.01.2001", CodePage::Cp1252);
    BdonWizard w(WizardMode::Correct, context(ws.path()));
    w.open(read_bdon(bdon_base(ws.path(), "A_123", "eng"), CodePage::Cp1252));
    for (int i = 0; i < 8 && w.page() < 9; ++i) {
        ASSERT_TRUE(w.next().ok());
    }
    // The folder of the databases goes away before the save.
    std::filesystem::rename(ws / "Dbor", ws / "Moved");
    const BdonModel before = w.current();
    EXPECT_THROW(w.next(), FileError);
    EXPECT_EQ(w.page(), 9);
    EXPECT_FALSE(w.finished());
    EXPECT_EQ(w.current(), before);
    std::filesystem::rename(ws / "Moved", ws / "Dbor");
    ASSERT_TRUE(w.next().ok());
    EXPECT_TRUE(w.finished());
}

TEST(BdonWizard, ImportPrefillsAndKeepsTheIdentityOfPage1) {
    TempWorkspace ws;
    BdonWizard w(WizardMode::Import, context(ws.path()));
    w.fields() = {'A', "777", "Imported", "", "", ""};
    ASSERT_TRUE(w.next().ok());
    BdonData other = small_bdon('A', "123");
    other.header.cost_unit = "EUR";
    w.import_database(other);
    EXPECT_EQ(w.fields().count, "3");
    EXPECT_EQ(w.fields().cost_unit, "EUR");
    EXPECT_EQ(w.current().header.code, "777");
    EXPECT_EQ(w.current().header.name, "Imported");
    EXPECT_THROW(w.import_database(small_bdon('B', "123456")), std::invalid_argument);

    // "none" empties it again, the identity stays.
    w.import_none();
    EXPECT_EQ(w.fields().count, "0");
    EXPECT_TRUE(w.current().objects.empty());
    EXPECT_EQ(w.current().header.code, "777");

    // Going back to page 1 forgets an import.
    w.import_database(other);
    w.back();
    EXPECT_TRUE(w.current().objects.empty());
    ASSERT_TRUE(w.next().ok());
    w.import_database(other);
    pass_all(w);
    const BdonData d = read_bdon(bdon_base(ws.path(), "A_777", "eng"), CodePage::Cp1252);
    EXPECT_EQ(d.header.name, "Imported");
    EXPECT_EQ(d.header.cost_unit, "EUR");
    EXPECT_EQ(d.objects, other.objects);
    EXPECT_EQ(d.expl_points, other.expl_points);
}

TEST(BdonWizard, UnitsAndImportList) {
    const LanguageShell shell = numbered_texts();
    std::vector<std::string> units = cost_units(shell);
    EXPECT_EQ(units, (std::vector<std::string>{"S5", "S8", "S9", "S30"}));
    EXPECT_EQ(select_unit(units, "S9"), 2);
    EXPECT_EQ(select_unit(units, ""), -1);
    // A stored unit the shell does not list is added, so saving keeps it.
    EXPECT_EQ(select_unit(units, "CHF"), 4);
    EXPECT_EQ(units.back(), "CHF");
    EXPECT_EQ(select_unit(units, "CHF"), 4);

    const std::vector<ImportChoice> choices =
        import_choices({{"A_001", "One"}, {"B_000002", "Two"}, {"A_003", "Three"}}, 'A');
    ASSERT_EQ(choices.size(), 3u);
    EXPECT_EQ(choices[0].label, "none");
    EXPECT_EQ(choices[2].label, "[A_003] Three");
    EXPECT_EQ(import_choices({{"B_000002", "Two"}}, 'A').size(), 1u);

    EXPECT_EQ(wizard_title(shell, WizardMode::Correct, 3), "T161 (T489 3 T142 8)");
    EXPECT_EQ(wizard_title(shell, WizardMode::New, 9), "T421");
    EXPECT_EQ(object_memo_caption(shell, 12), "T296 12 (<=255 T130)");
    EXPECT_EQ(variant_memo_caption(shell, 0), "T295 0 T189 (<=255 S11)");
}

TEST(BdonModel, RecordsRoundTripThroughTheModel) {
    const BdonData d = small_bdon('B', "654321");
    const BdonModel m = model_from_records(d);
    EXPECT_EQ(m.objects.size(), 3u);
    EXPECT_EQ(m.objects[2].variants[1].expl.size(), 2u);
    EXPECT_TRUE(records_from_model(m).same_content(d));
    const WizardTotals t = wizard_totals(m);
    EXPECT_EQ(t.sale_variants, 6);
    EXPECT_EQ(t.expl_points, 0 + 5 + 2 + 3 + 4);
}
