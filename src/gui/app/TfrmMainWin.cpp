#include "TfrmMainWin.h"

#include "TfrmProtocolWin.h"
#include "TfrmSelLang.h"
#include "commands.h"
#include "message_service.h"

#include "io/files.h"
#include "road/task_road.h"
#include "shell/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>

namespace {

// One item of the main menu: its name, the shell text of its caption, whether that text is
// trimmed, and the submenu it belongs to (empty for a top-level item). "-" is a separator.
struct MenuItem {
    const char* name;
    int text;
    bool trimmed;
    const char* parent;
};

constexpr MenuItem kMenu[] = {
    {"mnuIn", kov::txt::MenuInput, false, ""},
    {"mnuInNewTask", kov::txt::MenuNewTask, false, "mnuIn"},
    {"mnuInNewTaskExportData", kov::txt::MenuNewTaskByImport, false, "mnuIn"},
    {"mnuInEditTask", kov::txt::MenuCorrectTask, false, "mnuIn"},
    {"-", 0, false, "mnuIn"},
    {"mnuInExit", kov::txt::MenuExit, false, "mnuIn"},
    {"mnuControl", kov::txt::MenuControl, false, ""},
    {"mnuOutViewProtocol", kov::txt::MenuProtocol, false, "mnuControl"},
    {"mnuSolving", kov::txt::MenuSolving, false, ""},
    {"Optim", kov::txt::MenuOptimisation, false, "mnuSolving"},
    {"mnuOut", kov::txt::MenuOutput, false, ""},
    {"mnuInViewTask", kov::txt::MenuViewTask, false, "mnuOut"},
    {"mnuOutViewSolution", kov::txt::MenuViewSolution, false, "mnuOut"},
    {"-", 0, false, "mnuOut"},
    {"mnuOutExpInExcel", kov::txt::MenuExportTask, false, "mnuOut"},
    {"mnuOutPrint", kov::txt::MenuPrintTask, false, "mnuOut"},
    {"N5", kov::txt::MenuStatistics, false, ""},
    {"N6", kov::txt::MenuCreateStatistics, false, "N5"},
    {"N7", kov::txt::MenuViewStatistics, false, "N5"},
    {"N8", kov::txt::MenuExportStatistics, false, "N5"},
    {"N9", kov::txt::MenuPrintStatistics, false, "N5"},
    {"DBOR", kov::txt::MenuDatabases, false, ""},
    {"N10", kov::txt::MenuNewDatabase, true, "DBOR"},
    {"N11", kov::txt::MenuNewDatabaseByImport, false, "DBOR"},
    {"N12", kov::txt::MenuCorrectDatabase, true, "DBOR"},
    {"N13", kov::txt::MenuViewDatabase, false, "DBOR"},
    {"N14", kov::txt::MenuExportDatabase, false, "DBOR"},
    {"N15", kov::txt::MenuDeleteDatabase, true, "DBOR"},
    {"mnuHelp", kov::txt::MenuHelp, false, ""},
    {"N101", kov::txt::AboutSystem, true, "mnuHelp"},
    {"N102", kov::txt::AboutDeveloper, false, "mnuHelp"},
};

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
    setWindowTitle(QString());

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
        selLang_ = new TfrmSelLang(*this);
        selLang_->show();
        return;
    }
    startWithShell(shells.back());
}

TfrmMainWin::~TfrmMainWin() = default;

void TfrmMainWin::terminate() {
    terminated_ = true;
    if (terminator_) {
        terminator_();
    }
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
    if (!lock_.acquire(state_.path("System/kov.lock"))) {
        state_.messages->error(state_.text(kov::txt::AlreadyRunning) + QStringLiteral(" !!!"));
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
    const QString error205 = state_.text(kov::txt::ProtocolNotWritable) + QStringLiteral(" !!!");
    const QString error321 = state_.text(kov::txt::ProtocolNotRecognised) + QStringLiteral(" !!!");
    switch (result.outcome) {
    case kov::ProtocolLoad::Loaded:
        break;
    case kov::ProtocolLoad::Created:
        m.warning(state_.text(kov::txt::ProtocolMissing) + QStringLiteral("..."));
        break;
    case kov::ProtocolLoad::NotCreatable:
        m.error(error205);
        break;
    case kov::ProtocolLoad::Replaced:
        m.error(error321);
        break;
    case kov::ProtocolLoad::DamagedKept:
        m.error(error321);
        m.information(state_.text(kov::txt::ProtocolDamagedKept) + QStringLiteral(" \"") +
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
    const UserRegionalSettings user = userRegionalSettings();
    if (!user.fromLocale) {
        state_.messages->warning(state_.text(kov::txt::NoRegionalSettings) + QStringLiteral("..."));
    }
    state_.regional = user.settings;
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
    connect(menus_.at(QStringLiteral("mnuSolving")), &QMenu::aboutToShow, this,
            &TfrmMainWin::mnuSolvingClick);
    connect(menus_.at(QStringLiteral("mnuOut")), &QMenu::aboutToShow, this,
            &TfrmMainWin::mnuOutClick);
    connect(menus_.at(QStringLiteral("N5")), &QMenu::aboutToShow, this, &TfrmMainWin::N5Click);
    connect(menus_.at(QStringLiteral("DBOR")), &QMenu::aboutToShow, this, &TfrmMainWin::DBORClick);
    connect(action(QStringLiteral("mnuInExit")), &QAction::triggered, this,
            &TfrmMainWin::mnuInExitClick);
    connect(action(QStringLiteral("mnuOutViewProtocol")), &QAction::triggered, this,
            [this] { openProtocolWindow(*this); });
    connect(action(QStringLiteral("Optim")), &QAction::triggered, this,
            [this] { openOptimWindow(*this); });
    connect(action(QStringLiteral("N6")), &QAction::triggered, this,
            [this] { openStatisticsWindow(*this); });
    connect(action(QStringLiteral("N101")), &QAction::triggered, this, [this] {
        state_.windowMode = 1;
        openAboutWindow(*this, 1);
    });
    connect(action(QStringLiteral("N102")), &QAction::triggered, this, [this] {
        state_.windowMode = 2;
        openAboutWindow(*this, 2);
    });
    for (const char* name : {"mnuOutExpInExcel", "mnuOutPrint", "N8", "N9"}) {
        action(QString::fromLatin1(name))->setEnabled(false);
    }
}

void TfrmMainWin::applyCaptions() {
    setWindowTitle(state_.text(kov::txt::MainCaption));
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
    const bool queued = !kov::queued_task_codes(state_.workspace).empty();
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
    if (!window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize();
    }
    const QPoint centre = frameGeometry().center();
    window->move(centre - QPoint(window->width() / 2, window->height() / 2));
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
    if (state_.shellLoaded && !protocolWritten_) {
        protocolWritten_ = true;
        try {
            kov::write_protocol(state_.workspace, state_.protocol, state_.codepage());
        } catch (const kov::FileError&) {
            state_.messages->error(state_.text(kov::txt::ProtocolNotWritable) +
                                   QStringLiteral(" !!!"));
        }
    }
    event->accept();
}
