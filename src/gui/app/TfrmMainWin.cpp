#include "app/TfrmMainWin.h"

#include "app/TfrmHelp.h"
#include "app/TfrmSelLang.h"
#include "app/qt_translations.h"
#include "dbor/bdon_list_menu.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "optim/TForm1.h"
#include "protocol/TfrmProtocolWin.h"
#include "stats/TfrmCreateStat.h"
#include "task/TfrmCreateTaskWin.h"

#include "io/files.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QTranslator>

namespace {

// Opens a command window of class W on the host.
template <class W> QWidget* open(WindowHost& host) {
    return new W(host);
}
using WindowFactory = QWidget* (*)(WindowHost&);

// One item of the main menu: its name, the shell text of its caption, whether that text is
// trimmed, the submenu it belongs to (empty for a top-level item), and the command: the
// WindowMode it sets (0: none) and the window it opens. "-" is a separator.
struct MenuItem {
    const char* name;
    int text;
    bool trimmed;
    const char* parent;
    int windowMode = 0;
    WindowFactory window = nullptr;
};

const MenuItem kMenu[] = {
    {"mnuIn", 40, false, ""},
    {"mnuInNewTask", 42, false, "mnuIn", 1, &open<TfrmCreateTaskWin>},
    {"mnuInNewTaskExportData", 43, false, "mnuIn", 2, &open<TfrmCreateTaskWin>},
    {"mnuInEditTask", 163, false, "mnuIn"},
    {"-", 0, false, "mnuIn"},
    {"mnuInExit", 72, false, "mnuIn"},
    {"mnuControl", 469, false, ""},
    {"mnuOutViewProtocol", 400, false, "mnuControl", 0, &open<TfrmProtocolWin>},
    {"mnuSolving", 409, false, ""},
    {"Optim", 71, false, "mnuSolving", 0, &open<TForm1>},
    {"mnuOut", 69, false, ""},
    {"mnuInViewTask", 390, false, "mnuOut"},
    {"mnuOutViewSolution", 391, false, "mnuOut"},
    {"-", 0, false, "mnuOut"},
    {"mnuOutExpInExcel", 494, false, "mnuOut"},
    {"mnuOutPrint", 337, false, "mnuOut"},
    {"N5", 435, false, ""},
    {"N6", 425, false, "N5", 0, &open<TfrmCreateStat>},
    {"N7", 393, false, "N5"},
    {"N8", 495, false, "N5"},
    {"N9", 338, false, "N5"},
    {"DBOR", 399, false, ""},
    {"N10", 423, true, "DBOR"},
    {"N11", 422, false, "DBOR"},
    {"N12", 162, true, "DBOR"},
    {"N13", 388, false, "DBOR"},
    {"N14", 493, false, "DBOR"},
    {"N15", 466, true, "DBOR"},
    {"mnuHelp", 347, false, ""},
    {"N101", 270, true, "mnuHelp", 1, &open<TfrmHelp>},
    {"N102", 268, false, "mnuHelp", 2, &open<TfrmHelp>},
};

// The caption until a language is chosen. The window system shows the application's name in
// place of an empty caption; a blank shows nothing.
const QString kNoCaption = QStringLiteral(" ");

// Menu captions are shown as they stand: '&' is not a mnemonic marker.
QString menuCaption(const QString& text) {
    QString s = text;
    return s.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TfrmMainWin::TfrmMainWin(MessageService& messages, std::string workspace, QWidget* parent)
    : QMainWindow(parent)
    , terminator_([] { QCoreApplication::exit(1); }) {
    setObjectName(QStringLiteral("TfrmMainWin"));
    state_.messages = &messages;
    state_.solveNow = 0;
    state_.workspace = std::move(workspace);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(mdi_);
    buildMenu();
    setWindowTitle(kNoCaption);

    const auto shells = kov::find_files(state_.path("Shells"), std::string(kov::kShellPattern));
    if (shells.empty()) {
        messages.warning(QStringLiteral("There are no files of language shells in the folder "
                                        "\"Shells\". In this regard, there will an "
                                        "emergency exit from the program."));
        terminate();
        return;
    }
    if (shells.size() > 1) {
        setEnabled(false);
        selLang_ =
            new TfrmSelLang(*this, [this](const std::string& name) { languageChosen(name); });
        selLang_->show();
        return;
    }
    startWithShell(shells.back());
}

TfrmMainWin::~TfrmMainWin() {
    // The language dialog is a window of its own and goes with the main window.
    delete selLang_;
}

void TfrmMainWin::terminate() {
    terminated_ = true;
    if (terminator_) {
        terminator_();
    }
}

void TfrmMainWin::languageChosen(const std::string& shellFileName) {
    if (!kov::file_exists(state_.path("Shells/" + shellFileName))) {
        state_.messages->warning(
            QStringLiteral("The chosen file \"%1\" of language shell is missing in the folder "
                           "\"Shells\". In this regard, there will an emergency exit from the "
                           "program.")
                .arg(QString::fromStdString(shellFileName)));
        terminate();
        return;
    }
    startWithShell(shellFileName);
}

void TfrmMainWin::startWithShell(const std::string& shellFileName) {
    try {
        state_.shell = kov::load_shell(state_.path("Shells/" + shellFileName));
    } catch (const kov::FileError& e) {
        state_.messages->warning(QString::fromStdString(e.detail()));
        terminate();
        return;
    }
    state_.shellLoaded = true;
    qtTexts_ = installQtTranslations(state_.shell.suffix);
    if (!lock_.acquire(state_.path("System/kov.lock"))) {
        state_.messages->error(state_.text(529) + QStringLiteral(" !!!"));
        state_.shellLoaded = false;
        terminate();
        return;
    }
    loadProtocol();
    readRegionalSettings();
    applyCaptions();
    setEnabled(true);
}

void TfrmMainWin::loadProtocol() {
    const auto result = kov::load_protocol(state_.workspace, state_.codepage());
    state_.protocol = result.entries;
    MessageService& m = *state_.messages;
    const QString error205 = state_.text(205) + QStringLiteral(" !!!");
    const QString error321 = state_.text(321) + QStringLiteral(" !!!");
    switch (result.outcome) {
    case kov::ProtocolLoad::Loaded:
        break;
    case kov::ProtocolLoad::Created:
        m.warning(state_.text(202) + QStringLiteral("..."));
        break;
    case kov::ProtocolLoad::NotCreatable:
        m.error(error205);
        break;
    case kov::ProtocolLoad::Replaced:
        m.error(error321);
        break;
    case kov::ProtocolLoad::DamagedKept:
        m.error(error321);
        m.information(state_.text(532) + QStringLiteral(" \"") +
                      QString::fromStdString(std::string(kov::kProtocolFile) + ".bad") +
                      QStringLiteral("\"."));
        break;
    case kov::ProtocolLoad::ReplaceFailed:
        m.error(error321);
        m.error(error205);
        break;
    }
}

void TfrmMainWin::readRegionalSettings() {
    const auto locale = numericLocaleName(processEnvironment);
    if (!locale) {
        state_.messages->warning(state_.text(320) + QStringLiteral("..."));
        state_.regional = regionalSettingsFor(QStringLiteral("C"));
        state_.regional.decimalChar = ',';
        return;
    }
    state_.regional = regionalSettingsFor(*locale);
}

void TfrmMainWin::buildMenu() {
    for (const auto& item : kMenu) {
        const QString name = QString::fromLatin1(item.name);
        const QString parent = QString::fromLatin1(item.parent);
        if (parent.isEmpty()) {
            auto* m = menuBar()->addMenu(QString());
            m->setObjectName(name);
            menus_[name] = m;
            continue;
        }
        QMenu* owner = menus_.at(parent);
        if (name == QLatin1String("-")) {
            owner->addSeparator();
            continue;
        }
        QAction* a = owner->addAction(QString());
        a->setObjectName(name);
        actions_[name] = a;
    }
    const auto guarded = [this](auto* sender, auto signal, void (TfrmMainWin::*slot)()) {
        connectGuarded(sender, signal, this, slot, state_);
    };
    guarded(menus_.at(QStringLiteral("mnuSolving")), &QMenu::aboutToShow,
            &TfrmMainWin::mnuSolvingClick);
    guarded(menus_.at(QStringLiteral("mnuOut")), &QMenu::aboutToShow, &TfrmMainWin::mnuOutClick);
    guarded(menus_.at(QStringLiteral("N5")), &QMenu::aboutToShow, &TfrmMainWin::N5Click);
    guarded(menus_.at(QStringLiteral("DBOR")), &QMenu::aboutToShow, &TfrmMainWin::DBORClick);
    guarded(action(QStringLiteral("mnuInExit")), &QAction::triggered, &TfrmMainWin::mnuInExitClick);
    // The commands that open a window: the WindowMode first, then the window, which reads it.
    for (const auto& item : kMenu) {
        if (!item.window) {
            continue;
        }
        connect(action(QString::fromLatin1(item.name)), &QAction::triggered, this, [this, &item] {
            runGuarded(state_, [&] {
                if (item.windowMode != 0) {
                    state_.windowMode = item.windowMode;
                }
                openCommandWindow(item.window(*this));
            });
        });
    }
    for (const char* name : {"mnuOutExpInExcel", "mnuOutPrint", "N8", "N9"}) {
        action(QString::fromLatin1(name))->setEnabled(false);
    }
}

void TfrmMainWin::applyCaptions() {
    setWindowTitle(state_.text(272));
    for (const auto& item : kMenu) {
        const QString name = QString::fromLatin1(item.name);
        if (name == QLatin1String("-")) {
            continue;
        }
        const QString caption =
            menuCaption(item.trimmed ? state_.trimmed(item.text) : state_.text(item.text));
        if (auto m = menus_.find(name); m != menus_.end()) {
            m->second->setTitle(caption);
        } else {
            actions_.at(name)->setText(caption);
        }
    }
}

QAction* TfrmMainWin::action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* TfrmMainWin::menu(const QString& name) const {
    const auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

ViewerKind TfrmMainWin::activeViewer() const {
    const QMdiSubWindow* sub = mdi_->currentSubWindow();
    if (!sub || !sub->widget()) {
        return ViewerKind::None;
    }
    const QVariant kind = sub->widget()->property(kViewerKindProperty);
    return kind.isValid() ? static_cast<ViewerKind>(kind.toInt()) : ViewerKind::None;
}

void TfrmMainWin::mnuSolvingClick() {
    const bool queued = !kov::find_files(state_.path("Solving"), "kov_??????_in.dat").empty();
    action(QStringLiteral("Optim"))->setEnabled(queued);
    state_.solveNow = 0;
}

void TfrmMainWin::mnuOutClick() {
    const ViewerKind kind = activeViewer();
    const bool taskOrSolution = kind == ViewerKind::Task || kind == ViewerKind::Solution;
    action(QStringLiteral("mnuOutExpInExcel"))->setEnabled(taskOrSolution);
    action(QStringLiteral("mnuOutPrint"))->setEnabled(taskOrSolution);
}

void TfrmMainWin::N5Click() {
    const bool statistics = activeViewer() == ViewerKind::Statistics;
    action(QStringLiteral("N8"))->setEnabled(statistics);
    action(QStringLiteral("N9"))->setEnabled(statistics);
}

void TfrmMainWin::DBORClick() {
    rebuildBdonList(*this);
}

void TfrmMainWin::mnuInExitClick() {
    close();
}

void TfrmMainWin::openCommandWindow(QWidget* window) {
    setEnabled(false);
    window->setParent(nullptr);
    window->setWindowFlag(Qt::Dialog, true);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this] { setEnabled(true); });
    // The window is centred once its size is final: its layout has settled.
    window->ensurePolished();
    if (window->layout()) {
        window->layout()->activate();
    }
    if (!window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize();
    }
    QRect client = window->geometry();
    client.moveCenter(geometry().center());
    window->setGeometry(client);
    window->show();
    window->activateWindow();
}

void TfrmMainWin::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The language dialog stays in front of the main window that is shown after it.
    if (selLang_) {
        selLang_->raise();
        selLang_->activateWindow();
    }
}

void TfrmMainWin::closeEvent(QCloseEvent* event) {
    // A disabled main window waits for the language choice or for its command window: closing
    // it then would end the program without a language, or leave that window alone.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    if (state_.shellLoaded && !protocolWritten_) {
        protocolWritten_ = true;
        try {
            kov::write_protocol(state_.workspace, state_.protocol, state_.codepage());
        } catch (const kov::FileError&) {
            state_.messages->error(state_.text(205) + QStringLiteral(" !!!"));
        } catch (...) {
            state_.messages->error(workErrorText(state_, std::current_exception()));
        }
    }
    event->accept();
}
