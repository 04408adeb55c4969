#include "task/TfrmSelectWin.h"

#include "task/TfrmCreateTaskWin.h"

#include "host/WindowHost.h"
#include "host/work_guard.h"
#include "stats/TfrmSelCriteria.h"
#include "ui/selection_list.h"
#include "view/TfrmSelFlags.h"
#include "view/TfrmViewTask.h"

#include "io/files.h"
#include "shell/texts.h"
#include "task/task_code.h"
#include "task/task_files.h"

#include <QListWidget>
#include <QPushButton>

namespace {

// The caption of the dialog by WindowMode 1..4.
int captionText(int mode) {
    switch (mode) {
    case 1:
        return 428;
    case 2:
        return 430;
    case 3:
        return 429;
    default:
        return 431;
    }
}

// Whether a task of the protocol is listed for the command of `mode`.
bool fitsCommand(const SharedState& state, const kov::ProtocolEntry& e, int mode) {
    switch (mode) {
    case 1:
        return true;
    case 2:
        return e.state == kov::TaskState::Solved;
    case 3:
        return e.state == kov::TaskState::Entered;
    default:
        return e.state == kov::TaskState::Solved && kov::is_task_code(e.code) &&
               kov::file_exists(kov::task_file_path(state.workspace, "Data", e.code, "_stat"));
    }
}

} // namespace

TfrmSelectWin::TfrmSelectWin(WindowHost& host)
    : QDialog(nullptr)
    , host_(host)
    , mode_(host.state().windowMode) {
    const SharedState& state = host.state();
    setObjectName(QStringLiteral("TfrmSelectWin"));
    setWindowTitle(state.text(captionText(mode_)));

    QStringList lines;
    for (std::size_t i = 0; i < state.protocol.size(); ++i) {
        const kov::ProtocolEntry& e = state.protocol[i];
        if (fitsCommand(state, e, mode_)) {
            listed_.push_back(i);
            lines << QStringLiteral("[") + QString::fromStdString(e.code) + QStringLiteral("] ") +
                         QString::fromStdString(
                             kov::task_name_text(e, state.workspace, state.codepage()));
        }
    }
    const SelectionList parts = buildSelectionList(*this, state.text(kov::txt::Cancel), lines,
                                                   [this] { btnOKClick(); }, {488, 301});
    lbTask = parts.list;
    btnOK = parts.ok;
    btnCancel = parts.cancel;
}

void TfrmSelectWin::btnOKClick() {
    const int row = lbTask->currentRow();
    if (row < 0 || std::size_t(row) >= listed_.size()) {
        return;
    }
    SharedState& state = host_.state();
    const kov::ProtocolEntry& e = state.protocol[listed_[std::size_t(row)]];
    runGuarded(state, [&] {
        state.currentFileBase = kov::ws_path(state.workspace, "Data/kov_" + e.code);
        switch (mode_) {
        case 1:
            host_.openViewer(new TfrmViewTask(host_));
            break;
        case 2:
            host_.openCommandWindow(new TfrmSelFlags(host_));
            break;
        case 3:
            host_.openCommandWindow(new TfrmCreateTaskWin(host_, e.code));
            break;
        default:
            host_.openCommandWindow(new TfrmSelCriteria(host_));
            break;
        }
    });
    close();
}
