#include "TfrmMainWin.h"
#include "optim/TForm1.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "window_test.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace {

class OptimWindowTest : public WindowTest<TForm1> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        bdon = fixtures::small_bdon();
        kov::write_bdon(ws.path(), "eng", bdon, "01.01.2026", kov::CodePage::Cp1252);
        startMain();
    }

    // A sale task queued for solving.
    void queue(const std::string& code) {
        const kov::TaskFiles files =
            kov::build_task_files(fixtures::make_definition(bdon, 1, 2, code), bdon);
        kov::write_file_atomic(ws / ("Solving/kov_" + code + "_in.dat"),
                               kov::encode_task_input(files.input, bdon, kov::CodePage::Cp1252));
    }

    void open() { openBy("Optim"); }
    void click(const char* name) { find<QPushButton>(name)->click(); }
    QString text(const char* name) { return find<QLabel>(name)->text(); }
    // The mode step in batch mode, then the four parameter texts and the parameter step.
    void toParameters(const QStringList& values) {
        click("BNext1");
        const char* names[] = {"ME1", "ME2", "ME3", "ME4"};
        for (int i = 0; i < 4; ++i) {
            // Room for texts longer than a user can type, to reach the range checks.
            find<QLineEdit>(names[i])->setMaxLength(10);
            find<QLineEdit>(names[i])->setText(values[i]);
        }
        click("BNext3");
    }

    kov::BdonData bdon;
};

} // namespace

TEST_F(OptimWindowTest, OpensOnTheModeStepWithTheDefaults) {
    queue("ABC123");
    open();
    EXPECT_FALSE(main->isEnabled());
    EXPECT_EQ(window->windowTitle(), "T190");
    EXPECT_EQ(text("Label0"), "T505:");
    EXPECT_TRUE(find<QRadioButton>("RB1")->isChecked());
    for (const char* visible : {"Label0", "Label0_1", "Label0_2", "RB1", "RB2", "BNext1"}) {
        EXPECT_TRUE(find(visible)->isVisible()) << visible;
    }
    for (const char* hidden :
         {"Label1", "MaskEdit1_3", "LOPRM", "ME1", "BStart", "BReset", "BEnd", "BNext2"}) {
        EXPECT_FALSE(find(hidden)->isVisible()) << hidden;
    }
    EXPECT_EQ(find<QLineEdit>("ME1")->text(), "0.9");
    EXPECT_EQ(find<QLineEdit>("ME2")->text(), "0.001");
    EXPECT_EQ(find<QLineEdit>("ME3")->text(), "5");
    EXPECT_EQ(find<QLineEdit>("ME4")->text(), "3000");
    EXPECT_EQ(text("LOPT1"), "T290 (>=0,1 T0 <1,0)");
}

TEST_F(OptimWindowTest, ParameterChecksInTheirOrder) {
    queue("ABC123");
    open();
    struct Case {
        QStringList values;
        QString warning; // empty: accepted, or only the focus moves
        const char* focus;
    } cases[] = {
        {{"0.3", "0.001", "5", "3000"}, "T215.", "ME1"},
        {{"0.99999", "0.001", "5", "3000"}, "T215.", "ME1"},
        {{"0.9", "0.11", "5", "3000"}, "T214.", "ME2"},
        {{"0.9", "0.0009", "5", "3000"}, "T214.", "ME2"},
        {{"0.9", "0.001", "0", "3000"}, "T418.", "ME3"},
        {{"0.9", "0.001", "5", "9"}, "T419.", "ME4"},
        {{"", "0.001", "5", "3000"}, "", "ME1"},
        {{"0.9", "0.001", "", "3000"}, "", "ME3"},
        {{"0.5", "0.1", "5", "3000"}, "", nullptr},
        {{"0.99", "0.1", "5", "3000"}, "", nullptr},
    };
    for (const auto& c : cases) {
        closeWindow();
        open();
        messages.clear();
        toParameters(c.values);
        EXPECT_EQ(messages.texts(), c.warning.isEmpty() ? QStringList() : QStringList{c.warning})
            << c.values.join(' ').toStdString();
        if (c.focus) {
            EXPECT_TRUE(find(c.focus)->isVisible());
            EXPECT_EQ(window->focusWidget(), find(c.focus)) << c.values.join(' ').toStdString();
        } else {
            EXPECT_TRUE(find("BStart")->isVisible()) << c.values.join(' ').toStdString();
            EXPECT_FALSE(find("BReset")->isVisible());
            EXPECT_TRUE(text("LOPT1").startsWith("S28 = "));
        }
    }
}

TEST_F(OptimWindowTest, BatchModeSolvesEveryQueuedTask) {
    for (const char* code : {"AAA111", "BBB222", "CCC333"}) {
        queue(code);
    }
    kov::write_text_atomic(ws / "System/Info", "x\nModule\n");
    open();
    toParameters({"0.9", "0.001", "5", "3000"});
    click("BStart");
    EXPECT_EQ(find<QPushButton>("BStart")->text(), "T2");
    for (const char* code : {"AAA111", "BBB222", "CCC333"}) {
        const std::string path = ws / ("Solving/kov_" + std::string(code) + "_out.dat");
        ASSERT_TRUE(kov::file_exists(path)) << code;
        const kov::SolutionHeader h = kov::read_solution_header(path, kov::CodePage::Cp1252);
        EXPECT_EQ(h.result, 1) << code;
        EXPECT_EQ(h.info1, "Module");
        EXPECT_EQ(h.info2, "");
    }
    EXPECT_TRUE(text("Label_Start").contains("CCC333"));
    EXPECT_TRUE(text("Label_End").contains("CCC333"));
    EXPECT_TRUE(text("Label8").isEmpty());
}

TEST_F(OptimWindowTest, BatchModeSkipsNamesThatAreNoTaskCodeAndGoesOnPastABadFile) {
    queue("AAA111");
    queue("CCC333");
    // Lower-case codes match the queue's pattern but are no TaskCode; an empty file has a good
    // code but cannot be read.
    kov::write_file_atomic(ws / "Solving/kov_abcdef_in.dat", {});
    kov::write_file_atomic(ws / "Solving/kov_deme05_in.dat",
                           kov::read_file(ws / "Solving/kov_AAA111_in.dat"));
    kov::write_file_atomic(ws / "Solving/kov_BAD001_in.dat", {});
    open();
    toParameters({"0.9", "0.001", "5", "3000"});
    EXPECT_EQ(window->tasks(), (std::vector<std::string>{"AAA111", "BAD001", "CCC333"}));
    click("BStart");
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_AAA111_out.dat"));
    EXPECT_FALSE(kov::file_exists(ws / "Solving/kov_BAD001_out.dat"));
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_CCC333_out.dat"));
    EXPECT_TRUE(text("Label8").contains("kov_BAD001_in.dat")) << text("Label8").toStdString();
    EXPECT_TRUE(text("Label_End").contains("CCC333"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(OptimWindowTest, DurationIsElapsedTimeUnderATwelveHourClock) {
    queue("ABC123");
    main->state().regional.longTimeFormat = QStringLiteral("h.mm.ss AP");
    open();
    toParameters({"0.9", "0.001", "5", "3000"});
    click("BStart");
    const QRegularExpression elapsed(QStringLiteral("^\\d+\\.\\d\\d\\.\\d\\d$"));
    const kov::SolutionHeader h =
        kov::read_solution_header(ws / "Solving/kov_ABC123_out.dat", kov::CodePage::Cp1252);
    EXPECT_TRUE(elapsed.match(QString::fromStdString(h.duration)).hasMatch()) << h.duration;
    EXPECT_TRUE(text("Label_End").endsWith(QString::fromStdString(" - " + h.duration + ".")))
        << text("Label_End").toStdString();
}

TEST_F(OptimWindowTest, BatchModeWithoutQueuedTasksOffersOnlyTheExit) {
    open();
    click("BNext1");
    EXPECT_EQ(text("Label8"), "T12. T383.");
    EXPECT_TRUE(find("BEnd")->isVisible());
    EXPECT_FALSE(find("BNext3")->isVisible());
    EXPECT_FALSE(find("ME1")->isVisible());
}

TEST_F(OptimWindowTest, IndividualModeWithResetAndAMissingTask) {
    queue("ABC123");
    open();
    find<QRadioButton>("RB2")->click();
    click("BNext1");
    EXPECT_TRUE(find("MaskEdit1_3")->isVisible());
    find<QLineEdit>("MaskEdit1_3")->setText("ABC123");
    click("BNext2");
    EXPECT_EQ(text("Label1"), "T492 - \"ABC123\".");
    EXPECT_TRUE(find("ME1")->isVisible());
    click("BNext3");
    EXPECT_TRUE(find("BReset")->isVisible());
    click("BStart");
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));

    click("BReset");
    EXPECT_EQ(text("Label1"), "T38:");
    EXPECT_TRUE(find("MaskEdit1_3")->isVisible());
    EXPECT_FALSE(find("BStart")->isVisible());
    EXPECT_TRUE(text("Label_Start").isEmpty());
    EXPECT_EQ(find<QLineEdit>("ME1")->text(), "0.9");
    find<QLineEdit>("MaskEdit1_3")->setText("ZZZ999");
    click("BNext2");
    EXPECT_EQ(text("Label8"), "T504. T382 \"kov_ZZZ999_in.dat\".");
    EXPECT_TRUE(find("BEnd")->isVisible());
    EXPECT_FALSE(find("ME1")->isVisible());
}

TEST_F(OptimWindowTest, SolveNowSolvesTheTaskWithTheDefaultsAndCloses) {
    queue("ABC123");
    main->state().solveNow = 1;
    main->state().solveNowCode = "ABC123";
    main->openCommandWindow(new TForm1(*main));
    for (int i = 0; i < 20 && !kov::file_exists(ws / "Solving/kov_ABC123_out.dat"); ++i) {
        QApplication::processEvents();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));
    const kov::SolutionHeader h =
        kov::read_solution_header(ws / "Solving/kov_ABC123_out.dat", kov::CodePage::Cp1252);
    EXPECT_EQ(h.result, 1);
    EXPECT_EQ(h.okr, 0.9);
    EXPECT_EQ(h.ko, 0.001);
    EXPECT_EQ(h.kr, 5);
    EXPECT_EQ(h.lchi, 3000);
    EXPECT_TRUE(main->isEnabled());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<TForm1*>(w), nullptr);
    }
}
