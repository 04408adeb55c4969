#include "app/TfrmMainWin.h"
#include "stats/TfrmCreateStat.h"

#include "io/files.h"
#include "protocol/protocol.h"
#include "scripted_messages.h"
#include "shell_fixture.h"
#include "stats/stat_file.h"
#include "stats_fixture.h"
#include "temp_dir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr kov::CodePage kCp = kov::CodePage::Cp1252;

// The main window on a Workspace with a solved sale task STAT01 (one variant, one object) and
// the statistics creation window opened from it.
class CreateStatTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("LC_ALL", "C.UTF-8");
        write_shell(ws.path() + "/Shells", "eng", numbered_shell("eng English"));
        kov::write_protocol(ws.path(), {});
        const stats_fixture::Object object{10, {{0, 0, {{100, stats_fixture::even_curve(30)}}}}};
        stats_fixture::write_solved_task(ws.path(), stats_fixture::database(1, 1, {object}),
                                         stats_fixture::task_header("STAT01", 1, 1, 1), {{1000, 0}},
                                         {{{1, 0, 1}}});
        main = std::make_unique<TfrmMainWin>(messages, ws.path());
        main->show();
        main->action("N6")->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<TfrmCreateStat*>(w)) {
                window = d;
            }
        }
        ASSERT_NE(window, nullptr);
        messages.clear();
    }

    void TearDown() override {
        if (window) {
            window->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class W> W* control(const char* name) {
        return window->findChild<W*>(QLatin1String(name));
    }

    // Types the code, sets the trial count and presses BStart.
    void start(const QString& code, const QString& trials) {
        control<QLineEdit>("ME1")->clear();
        QTest::keyClicks(control<QLineEdit>("ME1"), code);
        control<QLineEdit>("ME2")->setText(trials);
        control<QPushButton>("BStart")->click();
    }

    std::string statFile() const { return ws / "Data/kov_STAT01_stat.dat"; }

    TempWorkspace ws;
    ScriptedMessageService messages;
    std::unique_ptr<TfrmMainWin> main;
    QPointer<TfrmCreateStat> window;
};

} // namespace

TEST_F(CreateStatTest, OpensWithTheShellsCaptions) {
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->windowTitle(), "T191");
    EXPECT_EQ(control<QLabel>("Label1")->text(), "T39:");
    EXPECT_EQ(control<QLabel>("Label2")->text(), "T121 (>=100 T0 <=100000):");
    EXPECT_EQ(control<QLabel>("Label0")->text(), "T140 ...");
    EXPECT_TRUE(control<QLabel>("Label0")->isHidden());
    EXPECT_EQ(control<QLineEdit>("ME2")->displayText(), "10000 ");
    EXPECT_EQ(control<QPushButton>("BStart")->text(), "T2");
    EXPECT_EQ(control<QPushButton>("BEnd")->text(), "T73");
    EXPECT_GE(window->width(), 512);
    EXPECT_GE(window->height(), 215);
}

TEST_F(CreateStatTest, ChecksTheInputsWithTheirMessagesAndFocus) {
    struct Case {
        const char* code;
        const char* trials;
        QStringList texts;
        const char* focus;
    } cases[] = {
        {"STAT0", "100", {"T203."}, "ME1"},     {"STAT01", "", {}, "ME2"},
        {"STAT01", "   ", {}, "ME2"},           {"STAT01", "99", {"T240."}, "ME2"},
        {"STAT01", "100001", {"T240."}, "ME2"}, {"ABC123", "100", {"T204 \"ABC123\" T21."}, "ME1"},
    };
    for (const Case& c : cases) {
        messages.clear();
        window->findChild<QPushButton*>("BEnd")->setFocus();
        start(QString::fromLatin1(c.code), QString::fromLatin1(c.trials));
        EXPECT_EQ(messages.texts(), c.texts) << c.code << " " << c.trials;
        EXPECT_EQ(window->focusWidget(), control<QWidget>(c.focus)) << c.code << " " << c.trials;
        EXPECT_FALSE(kov::file_exists(statFile()));
    }
}

TEST_F(CreateStatTest, HundredTrialsWriteTheStatisticsAndReplacingAsks) {
    // Under a 12-hour clock the elapsed time is still hours, minutes and seconds.
    main->state().regional.longTimeFormat = QStringLiteral("h:mm:ss AP");
    start("stat01", "100");
    EXPECT_EQ(control<QLineEdit>("ME1")->text(), "STAT01");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Warning);
    EXPECT_EQ(messages.boxes[0].text, "T501 \"STAT01\" T470.");
    EXPECT_EQ(kov::read_stat_header(statFile(), kCp).trials, 100);
    const QString elapsed = QString::fromStdString(kov::read_stat_header(statFile(), kCp).elapsed);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+:\\d\\d:\\d\\d$")).match(elapsed).hasMatch())
        << elapsed.toStdString();
    EXPECT_EQ(kov::read_file(statFile()).size(), kov::stat_file_size(1));
    EXPECT_EQ(main->state().currentFileBase, ws / "Data/kov_STAT01");
    EXPECT_TRUE(control<QLabel>("Label0")->isHidden());
    EXPECT_EQ(control<QPushButton>("BStart")->text(), "T2");
    EXPECT_EQ(window->focusWidget(), control<QWidget>("ME1"));

    // No keeps the old file; Yes replaces it.
    const kov::Bytes old = kov::read_file(statFile());
    messages.clear();
    messages.answers = {false};
    start("STAT01", "200");
    EXPECT_EQ(messages.texts(), QStringList({"T436 \"STAT01\" T447 - 100. T500"}));
    EXPECT_EQ(messages.boxes[0].kind, ScriptedMessageService::Kind::Confirm);
    EXPECT_EQ(kov::read_file(statFile()), old);
    EXPECT_EQ(window->focusWidget(), control<QWidget>("ME1"));

    messages.clear();
    messages.answers = {true};
    start("STAT01", "200");
    EXPECT_EQ(messages.texts(),
              QStringList({"T436 \"STAT01\" T447 - 100. T500", "T501 \"STAT01\" T470."}));
    EXPECT_EQ(kov::read_stat_header(statFile(), kCp).trials, 200);
}

TEST_F(CreateStatTest, BEndClosesAndEnablesTheMainWindow) {
    control<QPushButton>("BEnd")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(CreateStatTest, InputGivenDuringARunIsDroppedAndACloseWaitsForItsEnd) {
    bool visibleAtTheEnd = false;
    messages.onBox = [&](const ScriptedMessageService::Box&) {
        visibleAtTheEnd = window && window->isVisible();
    };
    QTest::keyClicks(control<QLineEdit>("ME1"), "STAT01");
    control<QLineEdit>("ME2")->setText("100");
    auto* start = control<QPushButton>("BStart");
    // A click on START and a close, given while the run holds the window, wait in the queue.
    QCoreApplication::postEvent(
        start, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
    QCoreApplication::postEvent(start, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space,
                                                     Qt::NoModifier, QStringLiteral(" ")));
    QCoreApplication::postEvent(window, new QCloseEvent);
    start->click();
    EXPECT_EQ(messages.texts(), QStringList({"T501 \"STAT01\" T470."}));
    EXPECT_TRUE(visibleAtTheEnd) << "the window closed before the run's end was shown";
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(messages.boxes.size(), 1u);
}

TEST_F(CreateStatTest, EnterInAFieldStartsAndOnAButtonPressesIt) {
    QTest::keyClicks(control<QLineEdit>("ME1"), "STAT01");
    control<QLineEdit>("ME2")->setText("100");
    control<QLineEdit>("ME2")->setFocus();
    QTest::keyClick(control<QLineEdit>("ME2"), Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({"T501 \"STAT01\" T470."}));
    EXPECT_TRUE(kov::file_exists(statFile()));

    control<QPushButton>("BEnd")->setFocus();
    QTest::keyClick(control<QPushButton>("BEnd"), Qt::Key_Return);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}
