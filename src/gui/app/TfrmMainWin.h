#pragma once

#include "instance_lock.h"
#include "shared_state.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TfrmSelLang;

// What a child window of the MDI area shows; print and export act on the active one.
enum class ViewerKind { None, Task, Solution, Statistics };
// Viewers mark their widget with this property (an int of ViewerKind).
inline constexpr const char* kViewerKindProperty = "kovViewerKind";

// The main window: starts the program, owns the shared state and offers every command.
class TfrmMainWin final : public QMainWindow {
    Q_OBJECT

public:
    // Starts the program: captions empty, the language shell (or the language dialog when
    // there are several), the protocol and the regional settings. `terminate` ends the program
    // (default: leave the event loop with status 1).
    TfrmMainWin(MessageService& messages, std::string workspace, QWidget* parent = nullptr);
    ~TfrmMainWin() override;

    SharedState& state() { return state_; }
    const SharedState& state() const { return state_; }

    // True once the program has been told to end during start-up (no shell, a broken shell,
    // a second copy on the Workspace).
    bool terminated() const { return terminated_; }
    void setTerminator(std::function<void()> terminator) { terminator_ = std::move(terminator); }

    // The start for the chosen shell file (by name, in the Shells folder), once it is known:
    // load the shell, take the Workspace, load the protocol, read the regional settings,
    // set the captions. Used directly with one shell and by the language dialog.
    void startWithShell(const std::string& shellFileName);

    // The window discipline of every command: the main window is disabled and `window` opens as
    // a top-level window centred on it; when it is closed it is deleted and the main window is
    // enabled again.
    void openCommandWindow(QWidget* window);

    QMdiArea* mdiArea() const { return mdi_; }
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;

    // Kept for tests and for windows that must end the program.
    void terminate();

public slots:
    // Enabling rules, run when a submenu is about to show.
    void mnuSolvingClick();
    void mnuOutClick();
    void N5Click();
    void DBORClick();
    void mnuInExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenu();
    void applyCaptions();
    void loadProtocol();
    void readRegionalSettings();
    ViewerKind activeViewer() const;

    SharedState state_;
    InstanceLock lock_;
    QMdiArea* mdi_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    bool terminated_ = false;
    bool protocolWritten_ = false;
    std::function<void()> terminator_;
    QPointer<TfrmSelLang> selLang_; // the language dialog while it is open
};
