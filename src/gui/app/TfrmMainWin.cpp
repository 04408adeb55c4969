#include "app/TfrmMainWin.h"

#include "app/TfrmHelp.h"
#include "app/TfrmSelLang.h"
#include "app/print_report.h"
#include "app/qt_translations.h"
#include "dbor/TfrmCreateDBOR.h"
#include "dbor/TfrmSelectDBOR.h"
#include "dbor/bdon_list_menu.h"
#include "host/file_error_text.h"
#include "host/file_services.h"
#include "host/work_guard.h"
#include "host/workbook_writing.h"
#include "message_service.h"
#include "optim/TForm1.h"
#include "protocol/TfrmProtocolWin.h"
#include "report_printer.h"
#include "stats/TfrmCreateStat.h"
#include "stats/TfrmViewStatistics.h"
#include "task/TfrmCreateTaskWin.h"
#include "task/TfrmSelectWin.h"
#include "view/TfrmViewSolution.h"
#include "view/TfrmViewTask.h"

#include "io/files.h"
#include "io/numbers.h"
#include "road/task_road.h"
#include "shell/texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTranslator>

#include <algorithm>

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

constexpr MenuItem kMenu[] = {
    {"mnuIn", kov::txt::MenuInput, false, ""},
    {"mnuInNewTask", kov::txt::MenuNewTask, false, "mnuIn", 1, &open<TfrmCreateTaskWin>},
    {"mnuInNewTaskExportData", kov::txt::MenuNewTaskByImport, false, "mnuIn", 2,
     &open<TfrmCreateTaskWin>},
    {"mnuInEditTask", kov::txt::MenuCorrectTask, false, "mnuIn", 3, &open<TfrmSelectWin>},
    {"-", 0, false, "mnuIn"},
    {"mnuInExit", kov::txt::MenuExit, false, "mnuIn"},
    {"mnuControl", kov::txt::MenuControl, false, ""},
    {"mnuOutViewProtocol", kov::txt::MenuProtocol, false, "mnuControl", 0, &open<TfrmProtocolWin>},
    {"mnuSolving", kov::txt::MenuSolving, false, ""},
    {"Optim", kov::txt::MenuOptimisation, false, "mnuSolving", 0, &open<TForm1>},
    {"mnuOut", kov::txt::MenuOutput, false, ""},
    {"mnuInViewTask", kov::txt::MenuViewTask, false, "mnuOut", 1, &open<TfrmSelectWin>},
    {"mnuOutViewSolution", kov::txt::MenuViewSolution, false, "mnuOut", 2, &open<TfrmSelectWin>},
    {"-", 0, false, "mnuOut"},
    {"mnuOutExpInExcel", kov::txt::MenuExportTask, false, "mnuOut"},
    {"mnuOutPrint", kov::txt::MenuPrintTask, false, "mnuOut"},
    {"N5", kov::txt::MenuStatistics, false, ""},
    {"N6", kov::txt::MenuCreateStatistics, false, "N5", 0, &open<TfrmCreateStat>},
    {"N7", kov::txt::MenuViewStatistics, false, "N5", 4, &open<TfrmSelectWin>},
    {"N8", kov::txt::MenuExportStatistics, false, "N5"},
    {"N9", kov::txt::MenuPrintStatistics, false, "N5"},
    {"DBOR", kov::txt::MenuDatabases, false, ""},
    {"N10", kov::txt::MenuNewDatabase, true, "DBOR", 1, &open<TfrmCreateDBOR>},
    {"N11", kov::txt::MenuNewDatabaseByImport, false, "DBOR", 2, &open<TfrmCreateDBOR>},
    {"N12", kov::txt::MenuCorrectDatabase, true, "DBOR", 3, &open<TfrmSelectDBOR>},
    {"N13", kov::txt::MenuViewDatabase, false, "DBOR", 4, &open<TfrmSelectDBOR>},
    {"N14", kov::txt::MenuExportDatabase, false, "DBOR", 5, &open<TfrmSelectDBOR>},
    {"N15", kov::txt::MenuDeleteDatabase, true, "DBOR", 6, &open<TfrmSelectDBOR>},
    {"mnuHelp", kov::txt::MenuHelp, false, ""},
    {"N101", kov::txt::AboutSystem, true, "mnuHelp", 1, &open<TfrmHelp>},
    {"N102", kov::txt::AboutDeveloper, false, "mnuHelp", 2, &open<TfrmHelp>},
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
    , fileOpener_(std::make_unique<DesktopFileOpenService>())
    , fileDialogs_(std::make_unique<QtFileDialogService>())
    , printer_(std::make_unique<DefaultReportPrintService>())
    , terminator_([] { QCoreApplication::exit(1); }) {
    setObjectName(QStringLiteral("TfrmMainWin"));
    state_.messages = &messages;
    state_.fileOpener = fileOpener_.get();
    state_.fileDialogs = fileDialogs_.get();
    state_.printer = printer_.get();
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
    if (!lock_.acquire(state_.workspace)) {
        state_.messages->error(state_.text(kov::txt::AlreadyRunning) + QStringLiteral(" !!!"));
        state_.shellLoaded = false;
        terminate();
        return;
    }
    // No other writer works on the Workspace now: finish or drop what an interrupted run left.
    kov::recover_workspace_files(state_.workspace);
    loadProtocol();
    readRegionalSettings();
    applyCaptions();
    setEnabled(true);
}

void TfrmMainWin::loadProtocol() {
    const auto result = kov::load_protocol(state_.workspace);
    state_.protocol = result.entries;
    MessageService& m = *state_.messages;
    const QString error205 = state_.text(kov::txt::ProtocolNotWritable) + QStringLiteral(" !!!");
    const QString error321 = state_.text(kov::txt::ProtocolNotRecognised) + QStringLiteral(" !!!");
    const QString damaged =
        fileErrorText(state_, kov::FileError(kov::FileError::Kind::Format,
                                             state_.path(kov::kProtocolFile), result.problem));
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
        m.error(damaged);
        m.information(state_.text(kov::txt::ProtocolDamagedKept) + QStringLiteral(" \"") +
                      QString::fromStdString(result.kept_as) + QStringLiteral("\"."));
        if (!result.written) {
            m.error(error205);
        }
        break;
    case kov::ProtocolLoad::DamagedNotKept:
        m.error(damaged);
        m.error(protocolWriteErrorText(
            state_, kov::FileError(kov::FileError::Kind::Write, state_.path(kov::kProtocolFile),
                                   "no copy of the damaged protocol can be kept")));
        break;
    case kov::ProtocolLoad::ReplaceFailed:
        m.error(error321);
        m.error(error205);
        break;
    }
    // Steps of the road that an interrupted run left half done are completed now.
    const auto recovery =
        kov::recover_task_roads(state_.workspace, state_.protocol, kov::now_day_count());
    if (recovery.changed) {
        try {
            kov::write_protocol(state_.workspace, state_.protocol);
        } catch (const kov::FileError& e) {
            m.error(protocolWriteErrorText(state_, e));
        }
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
    const auto guarded = [this](auto* sender, auto signal, void (TfrmMainWin::*slot)()) {
        connectGuarded(sender, signal, this, slot, state_);
    };
    guarded(menus_.at(QStringLiteral("mnuSolving")), &QMenu::aboutToShow,
            &TfrmMainWin::mnuSolvingClick);
    guarded(menus_.at(QStringLiteral("mnuOut")), &QMenu::aboutToShow, &TfrmMainWin::mnuOutClick);
    guarded(menus_.at(QStringLiteral("N5")), &QMenu::aboutToShow, &TfrmMainWin::N5Click);
    guarded(menus_.at(QStringLiteral("DBOR")), &QMenu::aboutToShow, &TfrmMainWin::DBORClick);
    guarded(action(QStringLiteral("mnuInExit")), &QAction::triggered, &TfrmMainWin::mnuInExitClick);
    guarded(action(QStringLiteral("mnuOutPrint")), &QAction::triggered,
            &TfrmMainWin::mnuOutPrintClick);
    guarded(action(QStringLiteral("N9")), &QAction::triggered, &TfrmMainWin::N9Click);
    guarded(action(QStringLiteral("mnuOutExpInExcel")), &QAction::triggered,
            &TfrmMainWin::mnuOutExpInExcelClick);
    guarded(action(QStringLiteral("N8")), &QAction::triggered, &TfrmMainWin::N8Click);
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

void TfrmMainWin::mnuOutPrintClick() {
    const ViewerKind kind = activeViewer();
    if (kind == ViewerKind::Task || kind == ViewerKind::Solution) {
        printViewerReport(state_, mdi_->currentSubWindow()->widget());
    }
}

void TfrmMainWin::N9Click() {
    if (activeViewer() == ViewerKind::Statistics) {
        printViewerReport(state_, mdi_->currentSubWindow()->widget());
    }
}

void TfrmMainWin::mnuInExitClick() {
    close();
}

void TfrmMainWin::mnuOutExpInExcelClick() {
    exportActiveViewer(false);
}

void TfrmMainWin::N8Click() {
    exportActiveViewer(true);
}

void TfrmMainWin::exportActiveViewer(bool statistics) {
    const QMdiSubWindow* sub = mdi_->currentSubWindow();
    QWidget* viewer = sub ? sub->widget() : nullptr;
    if (statistics) {
        if (auto* v = qobject_cast<TfrmViewStatistics*>(viewer)) {
            exportWorkbook(state_, this, v->reportName(), v->workbook(),
                           state_.text(kov::txt::MenuExportStatistics));
        }
    } else if (auto* v = qobject_cast<TfrmViewTask*>(viewer)) {
        exportWorkbook(state_, this, v->reportName(), v->workbook(),
                       state_.text(kov::txt::MenuExportTask));
    } else if (auto* v = qobject_cast<TfrmViewSolution*>(viewer)) {
        exportWorkbook(state_, this, v->reportName(), v->workbook(),
                       state_.text(kov::txt::MenuExportTask));
    }
}

void TfrmMainWin::openCommandWindow(QWidget* window) {
    setEnabled(false);
    ++commandWindows_;
    window->setParent(nullptr);
    window->setWindowFlag(Qt::Dialog, true);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this] {
        if (--commandWindows_ == 0) {
            setEnabled(true);
        }
    });
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

void TfrmMainWin::openViewer(QWidget* viewer) {
    // The viewer's size and limits are those of its window, frame included.
    const QSize size = viewer->size();
    const QSize minimum = viewer->minimumSize();
    const QSize maximum = viewer->maximumSize();
    viewer->setMinimumSize(0, 0);
    viewer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(viewer);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setMinimumSize(minimum);
    sub->setMaximumSize(maximum);
    sub->resize(size.boundedTo(mdi_->viewport()->size()).expandedTo(minimum));
    // Centred on the area; each further open viewer a title bar lower and to the right, so the
    // ones behind it stay in reach.
    QRect frame = sub->geometry();
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const int behind = int(mdi_->subWindowList().size()) - 1;
    frame.moveCenter(mdi_->viewport()->rect().center() + QPoint(behind, behind) * step);
    const QSize room = mdi_->viewport()->size() - frame.size();
    frame.moveTopLeft(QPoint(std::clamp(frame.left(), 0, std::max(0, room.width())),
                             std::clamp(frame.top(), 0, std::max(0, room.height()))));
    sub->setGeometry(frame);
    sub->show();
    mdi_->setActiveSubWindow(sub);
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
            kov::write_protocol(state_.workspace, state_.protocol);
        } catch (const kov::FileError& e) {
            state_.messages->error(protocolWriteErrorText(state_, e));
        } catch (...) {
            state_.messages->error(workErrorText(state_, std::current_exception()));
        }
    }
    event->accept();
}
