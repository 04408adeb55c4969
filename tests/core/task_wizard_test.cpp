#include "task/task_wizard.h"

#include "data_fixtures.h"
#include "io/error.h"
#include "io/files.h"
#include "protocol/task_record.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;
using namespace fixtures;

namespace {

const std::string kShellName = "Shell (KOV 1.0).eng";

class TaskWizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell_ =
            load_shell(write_shell(ws_.path() + "/Shells", "eng", numbered_shell("eng English")));
    }

    void writeBdon(BdonData bdon) {
        write_bdon(ws_.path(), "eng", bdon, "01.02.2024", shell_.codepage);
    }

    // A database of three sale objects (the second absent), each with one curve.
    BdonData saleBdon(const std::string& code = "123") {
        BdonData b = make_bdon('A', code, {{{{4}, {}}}, {{{3}, {}}}, {{{2}, {}}, {{3}, {}}}});
        b.objects[1].absence = "*";
        return b;
    }

    // Writes a task of `bdon` into Data as the core builds it.
    void writeTask(const BdonData& bdon, int tipz, const std::string& code) {
        TaskDefinition def = make_definition(bdon, tipz, 1, code);
        const TaskFiles files = build_task_files(def, bdon);
        write_task_files(ws_.path(), files.descriptor, files.input, bdon, shell_.codepage);
    }

    TaskWizard wizard(int mode = kWizardNewTask) {
        return TaskWizard(shell_, ws_.path(), ',', mode);
    }

    // Pages 1 and 2 of a new task of type `tipz` on the database `db` (item in List1).
    void toPage3(TaskWizard& w, int tipz, int prk = 0, int reg = 1, const std::string& db = "") {
        ASSERT_TRUE(w.next_page1("NEWTSK", "New task", reg, {}).advance);
        int item = 1;
        for (std::size_t i = 0; i < w.bdon_items().size(); ++i) {
            if (w.bdon_items()[i].code == db) {
                item = int(i) + 1;
            }
        }
        ASSERT_TRUE(w.next_page2(item, tipz, prk).advance);
    }

    // Fills page 3 with valid values.
    static void fillPage3(TaskWizard& w, const std::string& nsg = "1") {
        WizardFields& f = w.fields();
        f.txtNsg = nsg;
        f.txtPs = "10";
        f.txtPor = "1,1";
        f.txtMzad = "10";
        f.txtOgrn = "";
        f.txtSrok = "5";
        f.txtVer = "0,3";
    }

    TempWorkspace ws_;
    LanguageShell shell_;
};

TEST_F(TaskWizardTest, PageOneRefusesShortCodesEmptyNamesAndTakenCodes) {
    writeBdon(saleBdon());
    write_file_atomic(ws_ / "Data/kov_FILES1_out.dat", Bytes{1});
    write_file_atomic(ws_ / "Solving/kov_QUEUE1_in.dat", Bytes{1});
    const std::vector<std::string> protocol = {"TAKEN1"};
    const struct {
        int mode;
        std::string code, name, text, focus;
    } cases[] = {
        {kWizardNewTask, "ABC12", "Name", "T203.", "txtShifr"},
        {kWizardNewTask, "ABC123", "", "T30.", "txtName"},
        {kWizardNewTask, "TAKEN1", "Name", "T468.", "txtShifr"},
        // A code whose protocol entry was lost while its files stayed.
        {kWizardImport, "FILES1", "Name", "T468.", "txtShifr"},
        {kWizardNewTask, "QUEUE1", "Name", "T468.", "txtShifr"},
        {kWizardCorrection, "TAKEN1", "Name", "", ""},
    };
    for (const auto& c : cases) {
        TaskWizard w = wizard(c.mode);
        const PageCheck check = w.next_page1(c.code, c.name, 1, protocol);
        EXPECT_EQ(check.text, c.text) << c.code;
        EXPECT_EQ(check.focus, c.focus) << c.code;
        EXPECT_EQ(check.advance, c.text.empty()) << c.code;
        EXPECT_EQ(w.page(), c.text.empty() ? 2 : 1) << c.code;
    }
}

TEST_F(TaskWizardTest, DatabaseListFollowsTheModeAndStopsAtAMismatchedHeader) {
    writeBdon(saleBdon("123"));
    writeBdon(make_bdon('B', "000456", {{{{}, {2}}}}));
    std::filesystem::copy_file(ws_ / "Dbor/A_123_dbor_eng.dat", ws_ / "Dbor/C_123_dbor_eng.dat");

    TaskWizard a = wizard();
    ASSERT_TRUE(a.next_page1("ABC123", "Name", 1, {}).advance);
    EXPECT_EQ(a.bdon_items(), (std::vector<BdonListEntry>{{"A_123", "Test database"}}));
    EXPECT_EQ(a.selected_bdon_item(), 0);
    EXPECT_EQ(a.next_page2(0, 1, 0).text, "T199.");
    TaskWizard b = wizard();
    ASSERT_TRUE(b.next_page1("ABC123", "Name", 2, {}).advance);
    EXPECT_EQ(b.bdon_items(), (std::vector<BdonListEntry>{{"B_000456", "Test database"}}));

    writeBdon(saleBdon("124"));
    std::filesystem::rename(ws_ / "Dbor/A_124_dbor_eng.dat", ws_ / "Dbor/A_125_dbor_eng.dat");
    TaskWizard c = wizard();
    const PageCheck check = c.next_page1("ABC123", "Name", 1, {});
    EXPECT_EQ(check.kind, PageCheck::Kind::Warning);
    EXPECT_EQ(check.text, "T144 \"A_125_dbor_eng.dat\" T473. T334: \"A_124_dbor_eng.dat\".");
    EXPECT_EQ(c.page(), 1);
}

TEST_F(TaskWizardTest, PageThreeChecksInOrderAndHoldsPastedValuesToTheFieldBounds) {
    writeBdon(saleBdon());
    TaskWizard w = wizard();
    toPage3(w, 1, 1);
    EXPECT_EQ(w.fields().txtPs, "0");
    EXPECT_EQ(w.fields().txtOgrn, "");
    EXPECT_EQ(w.caption(3), "T41 (T489 3 T142 7)");

    // A field that does not convert, or a pasted value beyond the field's bound, only takes
    // the focus.
    const struct {
        std::string WizardFields::*field;
        std::string text, message, focus;
    } cases[] = {
        {&WizardFields::txtNsg, "0", "T228.", "txtNsg"},
        {&WizardFields::txtNsg, "11", "T416 (> 10)", "txtNsg"},
        {&WizardFields::txtNsg, "x", "", "txtNsg"},
        {&WizardFields::txtPs, "250", "", "txtPs"},
        {&WizardFields::txtPs, "-1", "", "txtPs"},
        {&WizardFields::txtPor, "1", "T221 (<=1)", "txtPor"},
        {&WizardFields::txtOgrn, "0", "T225.", "txtOgrn"},
        {&WizardFields::txtOgrn, "50", "", "txtOgrn"},
    };
    for (const auto& c : cases) {
        fillPage3(w);
        w.fields().*c.field = c.text;
        const PageCheck check = w.next_page3();
        EXPECT_EQ(check.text, c.message) << c.text;
        EXPECT_EQ(check.focus, c.focus) << c.text;
        EXPECT_FALSE(check.advance) << c.text;
    }

    // Three variants with the correction: information, No, and the wizard stays; then it moves.
    fillPage3(w, "3");
    w.fields().txtMzad = "5,";
    const PageCheck info = w.next_page3();
    EXPECT_EQ(info.kind, PageCheck::Kind::Information);
    EXPECT_EQ(info.text, "T123 T487. T105.");
    EXPECT_FALSE(info.advance);
    EXPECT_EQ(w.header().prk, 0);
    EXPECT_TRUE(w.next_page3().advance);
    EXPECT_EQ(w.header().mzad, 5);
    EXPECT_EQ(w.header().ogrn, 0);
    EXPECT_EQ(w.fields().grid.size(), 3u);

    TaskWizard p = wizard();
    toPage3(p, 2);
    fillPage3(p);
    p.fields().txtVer = "0,9";
    EXPECT_EQ(p.next_page3().focus, "txtVer");
}

TEST_F(TaskWizardTest, PageFourPaybackCoefficientsAndMoney) {
    writeBdon(saleBdon());
    const struct {
        std::string tmx, tmn, nt, own, text, focus;
    } cases[] = {
        {"0,8", "0,8", "1", "100", "", ""},
        {"0,8", "0,6", "1", "100", "T249 (T293).", "txtTmx"},
        {"0,6", "0,8", "3", "100", "T249 (T332).", "txtTmx"},
        {"0", "0,8", "1", "100", "T229.", "txtTmx"},
        {"0,8", "0,8", "6", "100", "T239 (<1 T143 >5).", "txtNt"},
        {"0,8", "0,8", "1", "0", "T226.", "Sum1a"},
        {"0,8", "0,8", "1", "200000000", "", "Sum1a"},
    };
    for (const auto& c : cases) {
        TaskWizard w = wizard();
        toPage3(w, 2);
        fillPage3(w);
        ASSERT_TRUE(w.next_page3().advance);
        WizardFields& f = w.fields();
        f.Sum1a = c.own;
        f.Sum2a = "0";
        f.txtTmx = c.tmx;
        f.txtTmn = c.tmn;
        f.txtNt = c.nt;
        f.txtSoi = "12";
        const PageCheck check = w.next_page4();
        EXPECT_EQ(check.text, c.text) << c.tmx << " " << c.tmn << " " << c.nt << " " << c.own;
        EXPECT_EQ(check.focus, c.focus) << c.tmx << " " << c.tmn << " " << c.nt << " " << c.own;
        EXPECT_EQ(check.advance, c.text.empty() && c.focus.empty());
    }

    // Mode 2: no money at all is not refused (the sum check is of mode 1 only), a negative
    // typed credit is.
    writeBdon(make_bdon('B', "000456", {{{{2}, {}}}}));
    TaskWizard b = wizard();
    toPage3(b, 1, 0, 2);
    fillPage3(b, "2");
    ASSERT_TRUE(b.next_page3().advance);
    b.fields().grid = {{"0", "0"}, {"0", "-1"}};
    const PageCheck check = b.next_page4();
    EXPECT_EQ(check.text, "T236.");
    EXPECT_EQ(check.row, 1);
    b.fields().grid = {{"0", "0"}, {"1x", "1"}};
    EXPECT_EQ(b.next_page4().text, "T242.");
}

TEST_F(TaskWizardTest, PageFlowAndCaptions) {
    writeBdon(saleBdon());
    TaskWizard w = wizard();
    toPage3(w, 1);
    EXPECT_EQ(w.next_of(6), 9);
    EXPECT_EQ(w.previous_of(9), 6);
    EXPECT_EQ(w.caption(9), "T41 (T489 7 T142 7)");
    TaskWizard p = wizard(kWizardCorrection);
    toPage3(p, 2);
    EXPECT_EQ(p.next_of(6), 7);
    EXPECT_EQ(p.previous_of(9), 8);
    EXPECT_EQ(p.caption(1), "T164 (T489 1)");
    EXPECT_EQ(p.caption(9), "T164 (T489 9 T142 9)");
    EXPECT_EQ(p.caption(10), "T164");
    EXPECT_EQ(p.back(), 2);
}

// Drives pages 3 and 4 of a one-variant sale task.
void toPage5(TaskWizard& w, const std::string& own = "5000", const std::string& ogrn = "") {
    WizardFields& f = w.fields();
    f.txtNsg = "1";
    f.txtPs = "10";
    f.txtPor = "1,1";
    f.txtMzad = "10";
    f.txtOgrn = ogrn;
    ASSERT_TRUE(w.next_page3().advance);
    f.grid = {{own, "0"}};
    ASSERT_TRUE(w.next_page4().advance);
}

TEST_F(TaskWizardTest, AbsentObjectsAreNeverMarked) {
    const BdonData bdon = saleBdon();
    writeBdon(bdon);
    writeTask(bdon, 1, "OLDTSK"); // every listed row marked
    TaskWizard w = wizard(kWizardCorrection);
    w.load_for_correction("OLDTSK");
    ASSERT_TRUE(w.next_page1("OLDTSK", "Old", 1, {"OLDTSK"}).advance);
    ASSERT_EQ(w.selected_bdon_item(), 1);
    ASSERT_TRUE(w.next_page2(1, 1, 0).advance);
    toPage5(w);
    EXPECT_EQ(w.selection(), (Marks{true, false, true}));
    w.toggle(1);
    EXPECT_EQ(w.selection(), (Marks{true, false, true}));
    w.select_all(false);
    w.select_all(true);
    EXPECT_EQ(w.selection(), (Marks{true, false, true}));
    w.select_all(false);
    EXPECT_EQ(w.next_page5().text, "T197.");
}

TEST_F(TaskWizardTest, SavedRowMarksApplyOnlyToTheirDatabaseAndRows) {
    const BdonData bdon = saleBdon();
    writeBdon(bdon);
    writeBdon(saleBdon("124"));
    // Three rows for sale tasks, two for exploitation tasks.
    const BdonData mixed = make_bdon('A', "125", {{{{2}, {2}}}, {{{2}, {}}}, {{{2}, {2}}}});
    writeBdon(mixed);
    writeTask(bdon, 1, "OLDTSK");
    writeTask(mixed, 1, "OLD125");
    const struct {
        std::string task, db;
        int tipz;
        Marks expected;
    } cases[] = {
        {"OLDTSK", "A_123", 1, {true, false, true}},
        {"OLDTSK", "A_124", 1, {false, false, false}}, // another database of as many rows
        {"OLD125", "A_125", 1, {true, true, true}},
        {"OLD125", "A_125", 3, {false, false}}, // another task type, another number of rows
    };
    for (const auto& c : cases) {
        TaskWizard w = wizard(kWizardImport);
        w.import_task(c.task);
        toPage3(w, c.tipz, 0, 1, c.db);
        toPage5(w);
        EXPECT_EQ(w.selection(), c.expected) << c.task << " " << c.db << " " << c.tipz;
    }
}

TEST_F(TaskWizardTest, ImportReadsAWholeDescriptorOrNothing) {
    const BdonData bdon = saleBdon();
    writeBdon(bdon);
    writeTask(bdon, 1, "GOODT1");
    writeTask(make_bdon('B', "000456", {{{{2}, {}}}}), 1, "OTHER1");
    write_file_atomic(ws_ / "Data/kov_SHORT1.dat", Bytes(100, 0));
    // A header that reads, but no variants or marks behind it.
    writeTask(bdon, 1, "CUTTT1");
    Bytes cut = read_file(ws_ / "Data/kov_CUTTT1.dat");
    cut.resize(kTaskHeaderSize + 4);
    write_file_atomic(ws_ / "Data/kov_CUTTT1.dat", cut);

    TaskWizard w = wizard(kWizardImport);
    const auto items = w.import_list({{"GOODT1", "Good"},
                                      {"OTHER1", "Other mode"},
                                      {"SHORT1", "Short"},
                                      {"GONE01", "Missing"},
                                      {"CUTTT1", "Cut"}},
                                     1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "[GOODT1] Good");
    EXPECT_EQ(items[1].code, "CUTTT1");

    w.import_task("GOODT1");
    const TaskHeader imported = w.header();
    EXPECT_EQ(imported.shifr_db, "A_123");
    EXPECT_EQ(w.variants().size(), 1u);
    EXPECT_THROW(w.import_task("CUTTT1"), FileError);
    EXPECT_EQ(w.header(), imported);
    EXPECT_EQ(w.variants().size(), 1u);

    w.import_task("");
    EXPECT_EQ(w.header(), cleared_task_header());
    EXPECT_TRUE(w.variants().empty());
    toPage3(w, 1);
    toPage5(w);
    EXPECT_EQ(w.selection(), (Marks{false, false, false}));
}

TEST_F(TaskWizardTest, ANewTaskThroughEveryPageIsTheTaskTheCoreBuilds) {
    const BdonData bdon = saleBdon();
    writeBdon(bdon);
    TaskWizard w = wizard();
    toPage3(w, 2, 1);
    fillPage3(w);
    w.fields().txtOgrn = "2";
    ASSERT_TRUE(w.next_page3().advance);
    WizardFields& f = w.fields();
    f.Sum1a = "3000";
    f.Sum2a = "500";
    f.txtTmx = "0,9";
    f.txtTmn = "0,5";
    f.txtNt = "3";
    f.txtSoi = "24";
    const PageCheck info = w.next_page4();
    EXPECT_EQ(info.text, "T122 T487. T106.");
    EXPECT_EQ(w.header().prk, 0);
    ASSERT_TRUE(w.next_page4().advance);
    w.select_all(true);
    // Two chosen objects and a limit of 2: the limit is dropped with the information.
    const PageCheck dropped = w.next_page5();
    EXPECT_EQ(dropped.text, "T124 (=2) T19 (=2).");
    EXPECT_TRUE(dropped.advance);
    EXPECT_EQ(w.fields().txtOgrn, "");
    ASSERT_EQ(w.pair_rows().size(), 3u);
    EXPECT_EQ(w.pair_rows()[2].cells[0], "  3");
    EXPECT_EQ(w.pair_rows()[2].cells[5], "1");
    ASSERT_EQ(w.next_page6().next_page, 7);
    ASSERT_EQ(w.next_page7().next_page, 8);
    EXPECT_EQ(w.point_rows().size(), 4u + 2 + 3);
    ASSERT_EQ(w.next_page8().next_page, 9);

    f.txtDelta = "20000";
    EXPECT_EQ(w.next_page9(0).focus, "txtDelta");
    f.txtDelta = "0,01";
    const PageCheck big = w.next_page9(0);
    EXPECT_EQ(big.text.substr(0, 5), "T417 ");
    EXPECT_EQ(big.focus, "txtDelta");
    f.txtDelta = "100";
    ASSERT_TRUE(w.next_page9(1).advance);

    // The same inputs given to the core directly.
    const TaskHeader h{.shifr = "NEWTSK",
                       .name = "New task",
                       .reg = 1,
                       .tipz = 2,
                       .shifr_db = "A_123",
                       .prmp = 1,
                       .prok = 1,
                       .soi = 24,
                       .tmx = 0.9,
                       .tmn = 0.5,
                       .nt = 3,
                       .nsg = 3,
                       .ps = 10,
                       .por = 1.1,
                       .mzad = 10,
                       .ogrn = 2,
                       .srok = 5,
                       .ver = 0.3,
                       .toc = 1,
                       .delta = 100,
                       .stat = 1};
    const TaskDraft draft{h, {3, {3000, 500}}, {true, false, true}};
    const PreparedTask core = prepare_task(draft, bdon, kShellName);
    ASSERT_EQ(core.problem, DraftProblem::None);
    EXPECT_EQ(w.files().descriptor, core.files.descriptor);
    EXPECT_EQ(w.files().input, core.files.input);

    const auto summary = w.summary();
    EXPECT_EQ(summary[17], (CaptionValue{"T89:", "100,00"}));
    EXPECT_EQ(summary[16], (CaptionValue{"T457:", "T340"}));

    // A save that fails leaves no file behind and the wizard as it was.
    std::filesystem::remove_all(ws_ / "Data");
    write_file_atomic(ws_ / "Data", Bytes{1});
    EXPECT_THROW(w.save(), FileError);
    std::filesystem::remove(ws_ / "Data");
    std::filesystem::create_directory(ws_ / "Data");
    EXPECT_EQ(w.page(), 10);
    w.save();
    EXPECT_EQ(read_file(ws_ / "Data/kov_NEWTSK.dat"),
              encode_task_descriptor(core.files.descriptor, bdon, shell_.codepage));
}

TEST_F(TaskWizardTest, HeaderBlockGrowsWithThePages) {
    writeBdon(saleBdon());
    TaskWizard w = wizard();
    toPage3(w, 2);
    EXPECT_EQ(w.header_block(2).size(), 3u);
    const auto page3 = w.header_block(3);
    ASSERT_EQ(page3.size(), 10u);
    EXPECT_EQ(page3[3], (CaptionValue{"T456:", "2: T11"}));
    EXPECT_EQ(page3[7], (CaptionValue{"T484:", "3"}));
    EXPECT_EQ(w.header_block(4).size(), 10u);
    EXPECT_EQ(w.header_block(5).size(), 11u);
    EXPECT_EQ(w.header_block(6).size(), 12u);
}

TEST(TaskRecord, ANewTaskIsAppendedAndACorrectionKeepsItsStateAndTimes) {
    std::vector<ProtocolEntry> protocol = {
        {"SOLVD1", "Solved", TaskState::Solved, 1, 2, 3, 4},
        {"ENTER1", "Entered", TaskState::Queued, 5, 6, 7, 0},
    };
    EXPECT_EQ(record_saved_task(protocol, "ENTER1", "Renamed", CodePage::Cp1252, true, 10), 1u);
    EXPECT_EQ(protocol[1], (ProtocolEntry{"ENTER1", "Renamed", TaskState::Queued, 5, 10, 7, 0}));
    EXPECT_EQ(record_saved_task(protocol, "NEWTSK", "New", CodePage::Cp1252, false, 11), 2u);
    EXPECT_EQ(protocol[2], (ProtocolEntry{"NEWTSK", "New", TaskState::Entered, 11, 11, 0, 0}));
    EXPECT_THROW(record_saved_task(protocol, "NOSUCH", "x", CodePage::Cp1252, true, 12),
                 std::invalid_argument);
}

} // namespace
