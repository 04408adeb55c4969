#include "dbor/TfrmSelectDBOR.h"

#include "dbor/TfrmCreateDBOR.h"

#include "host/WindowHost.h"
#include "host/file_services.h"
#include "host/work_guard.h"
#include "host/workbook_writing.h"
#include "message_service.h"
#include "ui/selection_list.h"

#include "book/layouts.h"
#include "book/workbook.h"
#include "dbor/bdon.h"
#include "io/files.h"
#include "shell/texts.h"

#include <QListWidget>
#include <QPushButton>

#include <cstdio>

namespace {

// The file relative to the Workspace when it lies inside it, in double quotation marks.
QString quoted(const SharedState& state, std::string file) {
    if (file.rfind(state.workspace + "/", 0) == 0) {
        file = file.substr(state.workspace.size() + 1);
    }
    return QStringLiteral(" \"") + QString::fromStdString(file) + QStringLiteral("\"");
}

} // namespace

TfrmSelectDBOR::TfrmSelectDBOR(WindowHost& host)
    : QDialog(nullptr)
    , host_(host)
    , mode_(host.state().windowMode) {
    const SharedState& state = host.state();
    setObjectName(QStringLiteral("TfrmSelectDBOR"));
    setWindowTitle(state.text(kov::txt::SelectDatabase));

    QStringList lines;
    for (const kov::BdonListEntry& e : state.bdonList) {
        lines << QStringLiteral("[") + QString::fromStdString(e.code) + QStringLiteral("] ") +
                     QString::fromStdString(e.name);
    }
    const SelectionList parts = buildSelectionList(*this, state.text(kov::txt::CancelButton), lines,
                                                   [this] { btnOKClick(); }, {492, 300});
    lbTask = parts.list;
    btnOK = parts.ok;
    btnCancel = parts.cancel;
}

void TfrmSelectDBOR::btnOKClick() {
    SharedState& state = host_.state();
    const int row = lbTask->currentRow();
    if (row < 0 || std::size_t(row) >= state.bdonList.size()) {
        return;
    }
    const std::string code = state.bdonList[std::size_t(row)].code;
    hide();
    bool waiting = false;
    runGuarded(state, [&] {
        state.currentFileBase = kov::bdon_base(state.workspace, code, state.shell.suffix);
        switch (mode_) {
        case 3:
        case 4:
            // The wizard closes this dialog when it closes.
            host_.openCommandWindow(new TfrmCreateDBOR(host_, this));
            waiting = true;
            break;
        case 5:
            exportDatabase(code);
            break;
        default:
            deleteDatabase(code);
            break;
        }
    });
    if (!waiting) {
        close();
    }
}

// The database as a workbook under Reports, with a name no other file there has, opened for the
// user (a progress dialog with Cancel while a large database is written); when nothing opens it,
// the user is told where it is.
void TfrmSelectDBOR::exportDatabase(const std::string& code) {
    const SharedState& state = host_.state();
    const kov::BdonData data = kov::read_bdon(state.currentFileBase, state.codepage());
    exportWorkbook(state, nullptr, code + "_dbor_" + state.shell.suffix,
                   kov::database_workbook(data, state.shell, state.regional.decimalChar),
                   state.text(kov::txt::MenuExportDatabase));
}

// After the user confirmed it, the database file is deleted; one that cannot be is reported.
void TfrmSelectDBOR::deleteDatabase(const std::string& code) {
    const SharedState& state = host_.state();
    if (!host_.messages().confirm(state.text(kov::txt::DeleteDatabase) + QStringLiteral(" \"") +
                                  QString::fromStdString(code) + QStringLiteral("\"?"))) {
        return;
    }
    const std::string file = state.currentFileBase + ".dat";
    if (std::remove(file.c_str()) != 0) {
        host_.messages().error(state.text(kov::txt::FileNotDeleted) + quoted(state, file) +
                               QStringLiteral(" !!!"));
    }
}
