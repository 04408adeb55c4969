#include "host/work_guard.h"
#include "protocol/TfrmProtocolWin.h"

#include "io/error.h"
#include "io/files.h"
#include "window_test.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Kind = ScriptedMessageService::Kind;

class WorkGuardTest : public WindowTest<TfrmProtocolWin> {};

} // namespace

TEST_F(WorkGuardTest, EveryExceptionBecomesAnErrorBox) {
    SharedState& state = fakeHost().state();
    const struct {
        const char* what;
        std::function<void()> work;
        QString text;
    } cases[] = {
        {"file error",
         [&] {
             throw kov::FileError(kov::FileError::Kind::Write, state.path("Solving/x.dat"), "");
         },
         "T531 \"Solving/x.dat\" !!!"},
        {"refused input", [] { throw std::invalid_argument("\"abc\" is not a TaskCode"); },
         "T534: \"abc\" is not a TaskCode !!!"},
        {"anything else", [] { throw 7; }, "T534 !!!"},
    };
    for (const auto& c : cases) {
        messages.clear();
        EXPECT_FALSE(runGuarded(state, c.work)) << c.what;
        ASSERT_EQ(messages.boxes.size(), 1u) << c.what;
        EXPECT_EQ(messages.boxes[0].kind, Kind::Error) << c.what;
        EXPECT_EQ(messages.boxes[0].text, c.text) << c.what;
    }
    messages.clear();
    EXPECT_TRUE(runGuarded(state, [] {}));
    EXPECT_TRUE(messages.boxes.empty());
}

// A protocol entry whose code is no TaskCode makes the core refuse the queueing with
// std::invalid_argument; the window shows it and goes on.
TEST_F(WorkGuardTest, ASlotThatThrowsShowsAnErrorBoxAndTheWindowGoesOn) {
    fakeHost().shared.protocol = {
        {"abc123", "Bad", kov::TaskState::Entered, 46000, 46000, 0, 0},
        {"ABC123", "Good", kov::TaskState::Entered, 46000, 46000, 0, 0},
    };
    kov::write_file_atomic(ws / "Data/kov_ABC123_in.dat", kov::Bytes{1});
    openOnFakeHost();
    find<QPushButton>("btnCreateInData")->click();
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, Kind::Error);
    EXPECT_EQ(messages.boxes[0].text, "T534: \"abc123\" is not a TaskCode !!!");
    EXPECT_EQ(host->shared.protocol[0].state, kov::TaskState::Entered);
    EXPECT_TRUE(window->isVisible());

    find<QComboBox>("TaskList")->setCurrentIndex(1);
    find<QPushButton>("btnCreateInData")->click();
    EXPECT_EQ(host->shared.protocol[1].state, kov::TaskState::Queued);
    EXPECT_TRUE(kov::file_exists(ws / "Solving/kov_ABC123_in.dat"));
}
