#include "task/TfrmCreateTaskWin.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "window_test.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr auto kCp = kov::CodePage::Cp1252;

class TaskWizardWindowTest : public WindowTest<TfrmCreateTaskWin> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // Three sale objects of one variant each, costs 1000, 1100 and 1200.
        bdon = fixtures::make_bdon('A', "123", {{{{2}, {}}}, {{{2}, {}}}, {{{2}, {}}}});
        kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kCp);
    }

    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    void next() { click("btnNext"); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    QWidget* page() const { return window->findChild<QStackedWidget*>()->currentWidget(); }
    QString pageName() const { return page()->objectName(); }

    // Pages 1 to 3 of a one-variant sale task asking for the database correction, and the
    // money of page 4.
    void toPage4(const QString& own) {
        type("txtShifr", QStringLiteral("NEWTSK"));
        type("txtName", QStringLiteral("New task"));
        next();
        ASSERT_EQ(pageName(), QStringLiteral("gbWindow_2"));
        find<QListWidget>("List1")->setCurrentRow(1);
        click("RB2_1");
        click("Prk1");
        next();
        ASSERT_EQ(pageName(), QStringLiteral("gbWindow_22"));
        type("txtNsg", QStringLiteral("1"));
        type("txtPs", QStringLiteral("10"));
        type("txtPor", QStringLiteral("1.1"));
        type("txtMzad", QStringLiteral("10"));
        next();
        ASSERT_EQ(pageName(), QStringLiteral("gbWindow_3"));
        auto* grid = find<QTableWidget>("StringGrid");
        ASSERT_EQ(grid->rowCount(), 1);
        grid->item(0, 1)->setText(own);
        grid->item(0, 2)->setText(QStringLiteral("0"));
    }
    void toObjectPage(const QString& own) {
        toPage4(own);
        next();
        ASSERT_EQ(pageName(), QStringLiteral("gbWin_1"));
    }
    QString mark(int row) {
        auto* table = find<QTableView>("Table1");
        return table->model()->index(row, 5).data().toString();
    }

    kov::BdonData bdon;
};

} // namespace

TEST_F(TaskWizardWindowTest, ANewTaskSolvedAtOnceIsTheCoresTaskAndCorrectsTheDatabase) {
    startMain();
    openBy("mnuInNewTask");
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T41 (T489 1)"));
    toObjectPage(QStringLiteral("2200"));
    click("CB1");
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWin_2"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWindow_6"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T41 (T489 7 T142 7)"));
    type("txtDelta", QStringLiteral("100"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWindow_7"));
    EXPECT_EQ(find<QPushButton>("btnNext")->text(), QStringLiteral("T77"));
    click("Order1");
    next();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window, nullptr);
    EXPECT_TRUE(main->isEnabled());

    // Both files are those the core builds for the same inputs.
    const kov::TaskHeader h{.shifr = "NEWTSK",
                            .name = "New task",
                            .reg = 1,
                            .tipz = 1,
                            .shifr_db = "A_123",
                            .prmp = 1,
                            .nsg = 1,
                            .ps = 10,
                            .por = 1.1,
                            .mzad = 10,
                            .delta = 100,
                            .prk = 1};
    const kov::PreparedTask core = kov::prepare_task({h, {{2200, 0}}, {true, true, true}}, bdon,
                                                     main->state().shell.file_name);
    ASSERT_EQ(core.problem, kov::DraftProblem::None);
    EXPECT_EQ(kov::read_file(ws / "Data/kov_NEWTSK.dat"),
              kov::encode_task_descriptor(core.files.descriptor, bdon, kCp));
    EXPECT_EQ(kov::read_file(ws / "Data/kov_NEWTSK_in.dat"),
              kov::encode_task_input(core.files.input, bdon, kCp));

    // Solved, taken back and recorded, in memory and in the protocol file.
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_NEWTSK_in.dat"))
        << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_NEWTSK_out.dat"));
    ASSERT_EQ(main->state().protocol.size(), 1u);
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Solved);
    EXPECT_EQ(kov::load_protocol(ws.path()).entries, main->state().protocol);
    EXPECT_EQ(main->state().solveNow, 0);

    // Exactly the objects of the solution are now absent.
    const kov::Solution solution = kov::read_solution_first_plan(
        ws / "Data/kov_NEWTSK_out.dat", core.files.input.header, bdon, kCp);
    ASSERT_EQ(solution.header.result, 1);
    std::vector<bool> taken(3, false);
    for (const kov::ChoiceTriple& c : solution.plans[0]) {
        if (c.object >= 1) {
            taken[std::size_t(c.object - 1)] = true;
        }
    }
    const kov::BdonData corrected = kov::read_bdon(kov::bdon_base(ws.path(), "A_123", "eng"), kCp);
    std::vector<bool> absent;
    for (const kov::DborObject& o : corrected.objects) {
        absent.push_back(o.absent());
    }
    EXPECT_EQ(absent, taken);
    EXPECT_NE(absent, std::vector<bool>(3, false));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("T351.")});
}

TEST_F(TaskWizardWindowTest, ACorrectionKeepsItsProtocolEntry) {
    const kov::TaskFiles files =
        kov::build_task_files(fixtures::make_definition(bdon, 1, 1, "OLDTSK"), bdon);
    kov::write_task_files(ws.path(), files.descriptor, files.input, bdon, kCp);
    FakeHost& h = fakeHost();
    const kov::ProtocolEntry before{"OLDTSK", "Old", kov::TaskState::Entered, 100, 100, 0, 0};
    h.shared.protocol = {before};
    window = new TfrmCreateTaskWin(h, "OLDTSK");
    h.openCommandWindow(window);

    EXPECT_EQ(find<QLineEdit>("txtShifr")->text(), QStringLiteral("OLDTSK"));
    EXPECT_FALSE(find<QLineEdit>("txtShifr")->isEnabled());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("T164 (T489 1)"));
    type("txtName", QStringLiteral("Corrected"));
    for (const char* expected :
         {"gbWindow_2", "gbWindow_22", "gbWindow_3", "gbWin_1", "gbWin_2", "gbWindow_6"}) {
        next();
        ASSERT_EQ(pageName(), QString::fromLatin1(expected))
            << messages.texts().join('|').toStdString();
    }
    EXPECT_EQ(find<QLineEdit>("txtPs")->text(), QStringLiteral("12.5"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWindow_7"));
    next();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(h.shared.protocol.size(), 1u);
    const kov::ProtocolEntry& after = h.shared.protocol[0];
    EXPECT_EQ(after.stored_name, "Corrected");
    EXPECT_EQ(after.state, kov::TaskState::Entered);
    EXPECT_EQ(after.entered, before.entered);
    EXPECT_GT(after.changed, before.changed);
    EXPECT_EQ(kov::read_task_header(ws / "Data/kov_OLDTSK.dat", kCp).name, "Corrected");
}

TEST_F(TaskWizardWindowTest, ChecksShowTheirMessageAndFocusAndMarksSkipAbsentObjects) {
    bdon.objects[1].absence = "*";
    kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kCp);
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    type("txtShifr", QStringLiteral("ABC12"));
    // Enter in a field checks the page as Next does.
    QTest::keyClick(find<QWidget>("txtShifr"), Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("T203.")});
    EXPECT_EQ(window->focusWidget(), find<QWidget>("txtShifr"));
    EXPECT_EQ(pageName(), QStringLiteral("gbWindow_1"));
    messages.clear();

    toPage4(QStringLiteral("0"));
    next();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("T226.")});
    EXPECT_EQ(window->focusWidget(), find<QWidget>("StringGrid"));
    find<QTableWidget>("StringGrid")->item(0, 1)->setText(QStringLiteral("2200"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWin_1"));

    auto* table = find<QTableView>("Table1");
    table->setFocus();
    for (int row : {1, 0}) {
        table->setCurrentIndex(table->model()->index(row, 5));
        QTest::keyClick(table, Qt::Key_Space);
    }
    QTest::keyClick(table, Qt::Key_A);
    EXPECT_EQ(QStringList({mark(0), mark(1), mark(2)}),
              QStringList({QStringLiteral("*"), QString(), QString()}));
    click("CB1");
    EXPECT_EQ(QStringList({mark(0), mark(1), mark(2)}),
              QStringList({QStringLiteral("*"), QString(), QStringLiteral("*")}));
    click("btnPrev");
    EXPECT_EQ(pageName(), QStringLiteral("gbWindow_3"));
}

TEST_F(TaskWizardWindowTest, AFailedSaveKeepsTheSummaryAndRecordsNothing) {
    fakeHost().shared.windowMode = 1;
    openOnFakeHost();
    toObjectPage(QStringLiteral("2200"));
    click("CB1");
    next();
    next();
    type("txtDelta", QStringLiteral("100"));
    next();
    ASSERT_EQ(pageName(), QStringLiteral("gbWindow_7"));
    std::filesystem::remove_all(ws / "Data");
    kov::write_file_atomic(ws / "Data", kov::Bytes{1});
    next();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pageName(), QStringLiteral("gbWindow_7"));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Error);
    EXPECT_TRUE(messages.boxes[0].text.contains(QStringLiteral("kov_NEWTSK")))
        << messages.boxes[0].text.toStdString();
    EXPECT_TRUE(host->shared.protocol.empty());
}

TEST_F(TaskWizardWindowTest, ImportTakesAnotherTasksDataButKeepsTheTypedCodeAndName) {
    const kov::TaskFiles files =
        kov::build_task_files(fixtures::make_definition(bdon, 3, 2, "OLDTSK"), bdon);
    kov::write_task_files(ws.path(), files.descriptor, files.input, bdon, kCp);
    FakeHost& h = fakeHost();
    h.shared.protocol = {{"OLDTSK", "Old", kov::TaskState::Entered, 1, 1, 0, 0},
                         {"GONE01", "Lost", kov::TaskState::Entered, 1, 1, 0, 0}};
    h.shared.windowMode = 2;
    openOnFakeHost();
    EXPECT_TRUE(find<QWidget>("pnlImort")->isVisible());
    auto* list = find<QComboBox>("cbImport");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), QStringLiteral("[OLDTSK] Old"));
    type("txtShifr", QStringLiteral("NEWTSK"));
    type("txtName", QStringLiteral("Mine"));
    list->setCurrentIndex(1);
    click("btnImport");
    EXPECT_EQ(find<QLineEdit>("txtShifr")->text(), QStringLiteral("NEWTSK"));
    EXPECT_EQ(find<QLineEdit>("txtName")->text(), QStringLiteral("Mine"));
    EXPECT_TRUE(find<QRadioButton>("RB2_3")->isChecked());
    EXPECT_EQ(find<QLabel>("staticTask")->text(), QStringLiteral("[OLDTSK] Old"));
    next();
    EXPECT_EQ(find<QListWidget>("List1")->currentRow(), 1);
    next();
    EXPECT_EQ(find<QLineEdit>("txtNsg")->text(), QStringLiteral("2"));

    click("btnPrev");
    click("btnPrev");
    list->setCurrentIndex(0);
    click("btnImport");
    EXPECT_EQ(find<QLabel>("staticTask")->text(), QStringLiteral("T198"));
    next();
    EXPECT_EQ(find<QListWidget>("List1")->currentRow(), 0);
}
