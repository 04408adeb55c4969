#include "app/TfrmMainWin.h"
#include "optim/TForm1.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "window_test.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

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

TEST_F(OptimWindowTest, InputGivenDuringARunIsDroppedAndACloseWaitsForItsEnd) {
    queue("ABC123");
    open();
    toParameters({"0.9", "0.001", "5", "3000"});
    auto* start = find<QPushButton>("BStart");
    // A click on START and a close, given while the run holds the window, wait in the queue.
    QCoreApplication::postEvent(
        start, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
    QCoreApplication::postEvent(start, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space,
                                                     Qt::NoModifier, QStringLiteral(" ")));
    QCoreApplication::postEvent(window, new QCloseEvent);
    start->click();
    const std::string solution = ws / "Solving/kov_ABC123_out.dat";
    ASSERT_TRUE(kov::file_exists(solution));
    kov::remove_file(solution);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(kov::file_exists(solution)) << "the task was solved a second time";
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(OptimWindowTest, EnterPressesTheFocusedButtonOrTheStepsNext) {
    queue("ABC123");
    open();
    // Batch mode: Enter on the radio button presses the mode's Next, in a parameter field the
    // parameters' Next, on START the run.
    find("RB1")->setFocus();
    QTest::keyClick(find("RB1"), Qt::Key_Return);
    ASSERT_TRUE(find("ME4")->isVisible());
    find("ME4")->setFocus();
    QTest::keyClick(find("ME4"), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(find("BStart")->isVisible());
    ASSERT_EQ(window->focusWidget(), find("BStart"));
    QTest::keyClick(find("BStart"), Qt::Key_Return);
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_ABC123_out.dat"));

    // Individual mode: Enter in the code field presses the task code's Next.
    closeWindow();
    open();
    find<QRadioButton>("RB2")->click();
    click("BNext1");
    QTest::keyClicks(find("MaskEdit1_3"), "ABC123");
    QTest::keyClick(find("MaskEdit1_3"), Qt::Key_Return);
    EXPECT_TRUE(find("ME1")->isVisible());
    EXPECT_EQ(text("Label1"), "T492 - \"ABC123\".");
}

namespace {

// The optimisation window under the shipped Russian shell, on a fake host.
class RussianRunTest : public WindowTest<TForm1> {
protected:
    void SetUp() override {
        qputenv("LC_ALL", "C.UTF-8");
        kov::copy_file_atomic(KOV_SHELL_DIR "/Shell (KOV 1.0).rus",
                              ws / "Shells/Shell (KOV 1.0).rus");
        bdon = fixtures::small_bdon();
        kov::write_bdon(ws.path(), "rus", bdon, "01.01.2026", kov::CodePage::Cp1251);
        fakeHost("rus");
    }

    kov::BdonData bdon;
};

} // namespace

TEST_F(RussianRunTest, EveryRunLineFitsItsLabel) {
    // A sale task and an exploitation task: their line 4 ends with the result in money units,
    // or money units per time unit.
    for (int tipz : {1, 3}) {
        const std::string code = "RUS00" + std::to_string(tipz);
        const kov::TaskFiles files =
            kov::build_task_files(fixtures::make_definition(bdon, tipz, 2, code), bdon);
        kov::write_file_atomic(ws / ("Solving/kov_" + code + "_in.dat"),
                               kov::encode_task_input(files.input, bdon, kov::CodePage::Cp1251));
        closeWindow();
        openOnFakeHost();
        find<QPushButton>("BNext1")->click();
        find<QPushButton>("BNext3")->click();
        find<QPushButton>("BStart")->click();
        const char* names[] = {"Label_Start", "Label2", "Label3", "Label4",   "Label5",
                               "Label6",      "Label7", "Label8", "Label_End"};
        int bottom = 0;
        for (const char* name : names) {
            auto* label = find<QLabel>(name);
            if (label->text().isEmpty()) {
                continue;
            }
            SCOPED_TRACE(std::string(name) + ": " + label->text().toStdString());
            EXPECT_EQ(QFontInfo(label->font()).family(), "DejaVu Sans");
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            EXPECT_GE(label->y(), bottom);
            EXPECT_LE(label->geometry().right(), window->width());
            bottom = label->y() + label->height();
        }
        EXPECT_LE(bottom, window->height());
        EXPECT_TRUE(find<QLabel>("Label5")->text().contains(QStringLiteral("ден.ед.")));
        kov::remove_file(ws / ("Solving/kov_" + code + "_in.dat"));
    }
}
