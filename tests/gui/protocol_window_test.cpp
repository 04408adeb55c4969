#include "app/TfrmMainWin.h"
#include "protocol/TfrmProtocolWin.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "protocol/protocol.h"
#include "window_test.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The header of a one-variant sale task on the small database of type A.
kov::TaskHeader sale_task_header(const std::string& code, int groups, bool correct_database) {
    kov::TaskHeader h;
    h.shifr = code;
    h.name = "Task " + code;
    h.shifr_db = "A_123";
    h.mt = groups;
    h.nsg = 1;
    h.mz = groups;
    h.prk = correct_database ? 1 : 0;
    return h;
}

class ProtocolWindowTest : public WindowTest<TfrmProtocolWin> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        startMain();
    }

    void addTask(const std::string& code, kov::TaskState state = kov::TaskState::Entered) {
        kov::ProtocolEntry e{code,    kov::stored_task_name("Task " + code, kov::CodePage::Cp1252),
                             state,   46000.5,
                             46000.5, 0,
                             0};
        if (state != kov::TaskState::Entered) {
            e.queued = 46001.25;
        }
        main->state().protocol.push_back(e);
    }

    void open() { openBy("mnuOutViewProtocol"); }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }
    QComboBox* list() { return find<QComboBox>("TaskList"); }
    QStringList keys() {
        QStringList out;
        auto* grid = find<QTableWidget>("ValueList");
        for (int r = 0; r < grid->rowCount(); ++r) {
            out << grid->item(r, 0)->text();
        }
        return out;
    }
    std::vector<kov::ProtocolEntry> stored() { return kov::load_protocol(ws.path()).entries; }
};

} // namespace

TEST_F(ProtocolWindowTest, ListsTasksWithTheirRowsAndTheWindowDiscipline) {
    addTask("ABC123");
    addTask("DEF456", kov::TaskState::Queued);
    open();
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->windowTitle(), "T395");
    ASSERT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->itemText(1), "[DEF456] Task DEF456");
    EXPECT_EQ(list()->currentIndex(), 0);
    EXPECT_EQ(keys(), QStringList({"T491", "T195", "T5", "T83", "T82"}));
    list()->setCurrentIndex(1);
    EXPECT_EQ(keys(), QStringList({"T491", "T195", "T5", "T83", "T82", "T85"}));
    EXPECT_EQ(find<QTableWidget>("ValueList")->item(2, 1)->text(), "T289");
    closeWindow();
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(ProtocolWindowTest, DemonstrationTasksCannotBeDeleted) {
    for (const char* code : {"DEMO01", "DEMR01", "XDEME1"}) {
        addTask(code);
    }
    open();
    const bool expected[] = {true, false, false};
    for (int i = 0; i < 3; ++i) {
        list()->setCurrentIndex(i);
        EXPECT_EQ(button("btnDeleteTask")->isEnabled(), expected[i]) << i;
    }
}

TEST_F(ProtocolWindowTest, DeletingRemovesFilesAndSelectsTheNeighbour) {
    for (const char* code : {"AAA111", "BBB222", "CCC333"}) {
        addTask(code);
        kov::write_file_atomic(ws / ("Data/kov_" + std::string(code) + ".dat"), kov::Bytes{1});
    }
    kov::write_file_atomic(ws / "Solving/kov_CCC333_in.dat", kov::Bytes{1});
    open();
    list()->setCurrentIndex(2);
    messages.answers = {false, true};
    button("btnDeleteTask")->click(); // No: nothing happens
    EXPECT_EQ(list()->count(), 3);
    button("btnDeleteTask")->click();
    EXPECT_EQ(messages.boxes.back().text, "T53 \"Task CCC333\"?");
    EXPECT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_FALSE(kov::file_exists(ws / "Data/kov_CCC333.dat"));
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_CCC333_in.dat"));
    EXPECT_TRUE(kov::file_exists(ws / "Data/kov_BBB222.dat"));
    // The change is in the protocol file at once.
    EXPECT_EQ(stored().size(), 2u);

    main->state().protocol.erase(main->state().protocol.begin(),
                                 main->state().protocol.begin() + 1);
    closeWindow();
    open();
    ASSERT_EQ(list()->count(), 1);
    messages.answers = {true};
    button("btnDeleteTask")->click();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(keys().isEmpty());
    EXPECT_FALSE(find<QTableWidget>("ValueList")->isEnabled());
    for (const char* b : {"btnDeleteTask", "btnCreateInData", "btnLoadOutData"}) {
        EXPECT_FALSE(button(b)->isEnabled()) << b;
    }
}

TEST_F(ProtocolWindowTest, QueueingCopiesTheInputAndDropsAnOldSolution) {
    addTask("ABC123");
    kov::write_file_atomic(ws / "Data/kov_ABC123_in.dat", kov::Bytes{1, 2, 3});
    kov::write_file_atomic(ws / "Solving/kov_ABC123_out.dat", kov::Bytes{9});
    open();
    EXPECT_TRUE(button("btnCreateInData")->isEnabled());
    button("btnCreateInData")->click();
    EXPECT_EQ(kov::read_file(ws / "Solving/kov_ABC123_in.dat"), (kov::Bytes{1, 2, 3}));
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Queued);
    EXPECT_GT(main->state().protocol[0].queued, 46000.0);
    EXPECT_EQ(stored()[0].state, kov::TaskState::Queued);
    EXPECT_FALSE(button("btnCreateInData")->isEnabled());
    // Queued without a solution: nothing to take back yet.
    EXPECT_FALSE(button("btnLoadOutData")->isEnabled());
    kov::write_file_atomic(ws / "Solving/kov_ABC123_out.dat", kov::Bytes{9});
    list()->setCurrentIndex(-1);
    list()->setCurrentIndex(0);
    EXPECT_TRUE(button("btnLoadOutData")->isEnabled());
}

TEST_F(ProtocolWindowTest, TakingBackCorrectsTheDatabaseOfAOneVariantTask) {
    kov::BdonData bdon = fixtures::small_bdon();
    kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kov::CodePage::Cp1252);
    const kov::TaskHeader header = sale_task_header("ABC123", 3, true);
    kov::write_file_atomic(ws / "Data/kov_ABC123.dat",
                           kov::encode_task_header(header, kov::CodePage::Cp1252));
    kov::write_file_atomic(ws / "Solving/kov_ABC123_in.dat", kov::Bytes{1});
    kov::Solution solution;
    solution.header.result = 1;
    solution.cycles = {7};
    solution.plans = {{{1, 1, 1}, kov::kNotTaken, {3, 1, 1}}};
    kov::write_solution(ws / "Solving/kov_ABC123_out.dat", solution, kov::CodePage::Cp1252);
    addTask("ABC123", kov::TaskState::Queued);
    kov::write_file_atomic(ws / "Solving/kov_ZZZ999_in.dat", kov::Bytes{1});
    open();
    button("btnLoadOutData")->click();

    EXPECT_EQ(messages.texts(), QStringList({"T351."}));
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Solved);
    EXPECT_EQ(stored()[0].state, kov::TaskState::Solved);
    EXPECT_TRUE(kov::file_exists(ws / "Data/kov_ABC123_out.dat"));
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_ABC123_in.dat"));
    const kov::BdonData after = kov::read_bdon(ws / "Dbor/A_123_dbor_eng", kov::CodePage::Cp1252);
    EXPECT_EQ(after.objects[0].absence, "*");
    EXPECT_EQ(after.objects[1].absence, "");
    EXPECT_EQ(after.objects[2].absence, "*");
    EXPECT_EQ(after.objects[1], bdon.objects[1]);
    EXPECT_EQ(keys().size(), 7);

    // Another task is still queued, so Optim stays; once it is gone Optim is disabled.
    main->mnuSolvingClick();
    EXPECT_TRUE(main->action("Optim")->isEnabled());
    kov::remove_file(ws / "Solving/kov_ZZZ999_in.dat");
    main->mnuSolvingClick();
    EXPECT_FALSE(main->action("Optim")->isEnabled());
}

TEST_F(ProtocolWindowTest, ASolutionThatDoesNotFitTheDatabaseChangesNothing) {
    kov::BdonData bdon = fixtures::small_bdon();
    kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kov::CodePage::Cp1252);
    const kov::Bytes database = kov::read_file(ws / "Dbor/A_123_dbor_eng.dat");
    kov::write_file_atomic(
        ws / "Data/kov_ABC123.dat",
        kov::encode_task_header(sale_task_header("ABC123", 3, true), kov::CodePage::Cp1252));
    kov::Solution solution;
    solution.header.result = 1;
    solution.cycles = {7};
    solution.plans = {{{1, 1, 1}, kov::kNotTaken, {3, 4, 1}}}; // object 3 has no modernisation 4
    kov::write_solution(ws / "Solving/kov_ABC123_out.dat", solution, kov::CodePage::Cp1252);
    addTask("ABC123", kov::TaskState::Queued);
    open();
    button("btnLoadOutData")->click();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Error);
    EXPECT_TRUE(messages.boxes[0].text.contains("kov_ABC123_out.dat"))
        << messages.boxes[0].text.toStdString();
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Queued);
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));
    EXPECT_FALSE(kov::file_exists(ws / "Data/kov_ABC123_out.dat"));
    EXPECT_EQ(kov::read_file(ws / "Dbor/A_123_dbor_eng.dat"), database);
}

TEST_F(ProtocolWindowTest, AFailedCopyKeepsTheEntryAsItWas) {
    addTask("ABC123");
    kov::write_file_atomic(ws / "Data/kov_ABC123_in.dat", kov::Bytes{1});
    std::filesystem::remove_all(ws / "Solving");
    open();
    button("btnCreateInData")->click();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, "T531 \"Solving/kov_ABC123_in.dat\" !!!");
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Entered);
}

TEST_F(ProtocolWindowTest, EnterPressesTheFocusedButtonAndTabLeavesTheGrid) {
    addTask("ABC123");
    kov::write_file_atomic(ws / "Data/kov_ABC123_in.dat", kov::Bytes{1});
    open();
    // Enter in the list presses nothing: the window has no default button.
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Entered);

    auto* grid = find<QTableWidget>("ValueList");
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_NE(window->focusWidget(), grid);

    button("btnCreateInData")->setFocus();
    QTest::keyClick(button("btnCreateInData"), Qt::Key_Return);
    EXPECT_EQ(main->state().protocol[0].state, kov::TaskState::Queued);
}

TEST_F(ProtocolWindowTest, NamesOfBothLanguagesReadRightUnderEitherShell) {
    // Each task's input file ends in the name of the shell it was saved under.
    const auto writeInput = [&](const std::string& code, const std::string& suffix) {
        kov::Bytes b(300, 0);
        const std::string name = "Shell (KOV 1.0)." + suffix;
        b[275] = std::uint8_t(name.size());
        std::copy(name.begin(), name.end(), b.begin() + 276);
        kov::write_file_atomic(ws / ("Data/kov_" + code + "_in.dat"), b);
    };
    writeInput("RUS001", "rus");
    writeInput("ENG001", "eng");
    const std::vector<kov::ProtocolEntry> entries = {
        {"RUS001", kov::stored_task_name("Перепродажа квартир", kov::CodePage::Cp1251),
         kov::TaskState::Entered, 46000.5, 46000.5, 0, 0},
        {"ENG001", kov::stored_task_name("Resale of flats", kov::CodePage::Cp1252),
         kov::TaskState::Entered, 46000.5, 46000.5, 0, 0}};
    kov::write_protocol(ws.path(), entries);
    const kov::Bytes image = kov::read_file(ws / "System/protocol.ptl");
    main.reset();
    for (const char* suffix : {"rus", "eng"}) {
        for (const auto& shell : kov::find_files(ws / "Shells", "*")) {
            std::filesystem::remove(ws / ("Shells/" + shell));
        }
        write_shell(ws.path() + "/Shells", suffix, numbered_shell(std::string(suffix) + " Shell"));
        startMain();
        open();
        ASSERT_EQ(list()->count(), 2) << suffix;
        EXPECT_EQ(list()->itemText(0), "[RUS001] Перепродажа квартир") << suffix;
        EXPECT_EQ(list()->itemText(1), "[ENG001] Resale of flats") << suffix;
        EXPECT_EQ(find<QTableWidget>("ValueList")->item(1, 1)->text(), "Перепродажа квартир");
        closeWindow();
        main->close();
        main.reset();
        // The closing write keeps every name's bytes.
        EXPECT_EQ(kov::read_file(ws / "System/protocol.ptl"), image) << suffix;
    }
}
