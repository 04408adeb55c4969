#pragma once

#include "host/WindowHost.h"
#include "instance_lock.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;
class QTranslator;
class TfrmSelLang;
class DesktopFileOpenService;
class QtFileDialogService;
class DefaultReportPrintService;

// The main window: starts the program, owns the shared state, offers every command and is the
// host of every window.
class TfrmMainWin final : public QMainWindow, public WindowHost {
    Q_OBJECT

public:
    // Runs the creation steps: captions empty, the language shell (or the language dialog when
    // there are several), the protocol and the regional settings.
    TfrmMainWin(MessageService& messages, std::string workspace, QWidget* parent = nullptr);
    ~TfrmMainWin() override;

    SharedState& state() override { return state_; }
    const SharedState& state() const { return state_; }
    void openCommandWindow(QWidget* window) override;
    void openViewer(QWidget* viewer) override;

    // True once the program has been told to end during start-up (no shell, a broken shell,
    // a second copy on the Workspace).
    bool terminated() const { return terminated_; }
    // What ending the program does (default: leave the event loop with status 1).
    void setTerminator(std::function<void()> terminator) { terminator_ = std::move(terminator); }

    // The rest of the creation for the chosen shell file (by name, in the Shells folder): load
    // the shell, take the Workspace, load the protocol, read the regional settings, set the
    // captions. Used directly with one shell and after the language dialog's choice.
    void startWithShell(const std::string& shellFileName);

    QMdiArea* mdiArea() const { return mdi_; }
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;

public slots:
    // Enabling rules, run when a submenu is about to show.
    void mnuSolvingClick();
    void mnuOutClick();
    void N5Click();
    void DBORClick();
    void mnuInExitClick();
    // Print the active viewer's report: a task or solution viewer, a statistics viewer.
    void mnuOutPrintClick();
    void N9Click();
    // Export the active viewer's workbook: a task or solution viewer, a statistics viewer.
    void mnuOutExpInExcelClick();
    void N8Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenu();
    void applyCaptions();
    void loadProtocol();
    void readRegionalSettings();
    void languageChosen(const std::string& shellFileName);
    void terminate();
    ViewerKind activeViewer() const;
    void exportActiveViewer(bool statistics);

    SharedState state_;
    std::unique_ptr<DesktopFileOpenService> fileOpener_;
    std::unique_ptr<QtFileDialogService> fileDialogs_;
    std::unique_ptr<DefaultReportPrintService> printer_;
    InstanceLock lock_;
    QMdiArea* mdi_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    // Command windows open now: a window that opens the next one of a chain (the task selection
    // and the dialog after it) closes after that one opened, and the main window stays disabled
    // until the last of them has closed.
    int commandWindows_ = 0;
    bool terminated_ = false;
    bool protocolWritten_ = false;
    std::function<void()> terminator_;
    QPointer<TfrmSelLang> selLang_; // the language dialog while it is open
    std::unique_ptr<QTranslator> qtTexts_;
};
