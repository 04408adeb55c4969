#pragma once

#include "TfrmMainWin.h"

#include "protocol/protocol.h"
#include "scripted_messages.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>

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
    QPointer<Window> window;
};
