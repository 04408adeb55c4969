#pragma once

#include "app/TfrmMainWin.h"
#include "host/WindowHost.h"

#include "io/files.h"
#include "protocol/protocol.h"
#include "scripted_files.h"
#include "scripted_messages.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A host without the main window: the shared state of a Workspace whose shell `suffix` is loaded,
// with the C locale's regional settings, the scripted message service and the scripted file
// services. The command windows it is asked to open are shown and kept in `opened`.
class FakeHost final : public WindowHost {
public:
    FakeHost(const std::string& workspace, const std::string& suffix,
             ScriptedMessageService& messages) {
        shared.workspace = workspace;
        shared.messages = &messages;
        shared.fileOpener = &fileOpener;
        shared.fileDialogs = &fileDialogs;
        shared.shell =
            kov::load_shell(kov::ws_path(workspace, "Shells/" + kov::shell_file_name(suffix)));
        shared.shellLoaded = true;
        shared.regional = regionalSettingsFor(QStringLiteral("C"));
    }

    SharedState& state() override { return shared; }
    void openCommandWindow(QWidget* window) override {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        opened.emplace_back(window);
    }
    void openViewer(QWidget* viewer) override {
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->show();
        viewers.emplace_back(viewer);
    }

    SharedState shared;
    RecordingFileOpener fileOpener;
    ScriptedFileDialogs fileDialogs;
    std::vector<QPointer<QWidget>> opened;
    std::vector<QPointer<QWidget>> viewers;
};

// The fixture of the window tests: a Workspace with the English test shell (texts "T<k>") and
// an empty protocol, the main window on it, and the command window a test opens from it.
template <class Window> class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("LC_ALL", "C.UTF-8");
        write_shell(ws.path() + "/Shells", "eng", numbered_shell("eng English"));
        kov::write_protocol(ws.path(), {});
    }

    void TearDown() override { closeWindow(); }

    void startMain() {
        main = std::make_unique<TfrmMainWin>(messages, ws.path());
        main->show();
    }

    // Runs a menu item of the main window and takes the window it opened.
    void openBy(const char* menuItem) {
        main->action(QString::fromLatin1(menuItem))->trigger();
        window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<Window*>(w); found && found->isVisible()) {
                window = found;
            }
        }
        ASSERT_NE(window, nullptr) << menuItem;
    }

    // A fake host on the Workspace's shell `suffix`, without a main window.
    FakeHost& fakeHost(const std::string& suffix = "eng") {
        host = std::make_unique<FakeHost>(ws.path(), suffix, messages);
        return *host;
    }
    // Opens the window on the fake host (made with the English shell when there is none yet).
    void openOnFakeHost() {
        if (!host) {
            fakeHost();
        }
        window = new Window(*host);
        host->openCommandWindow(window);
    }

    // Closes the window and lets it be deleted, as the event loop would.
    void closeWindow() {
        if (window) {
            window->close();
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class T = QWidget> T* find(const char* name) {
        return window->template findChild<T*>(QString::fromLatin1(name));
    }

    TempWorkspace ws;
    ScriptedMessageService messages;
    std::unique_ptr<TfrmMainWin> main;
    std::unique_ptr<FakeHost> host;
    QPointer<Window> window;
};
