#include "TfrmProtocolWin.h"

#include "TfrmMainWin.h"
#include "file_error_text.h"
#include "message_service.h"

#include "io/codepage.h"
#include "io/files.h"
#include "io/numbers.h"
#include "road/task_road.h"
#include "shell/texts.h"
#include "task/task_files.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

TfrmProtocolWin::TfrmProtocolWin(TfrmMainWin& main)
    : QDialog(nullptr)
    , main_(main)
    , state_(main.state()) {
    setObjectName(QStringLiteral("TfrmProtocolWin"));
    setWindowTitle(state_.text(kov::txt::ProtocolCaption));

    TaskList = new QComboBox(this);
    TaskList->setObjectName(QStringLiteral("TaskList"));
    TaskList->setEditable(false);
    btnDeleteTask = new QPushButton(state_.text(kov::txt::DeleteTaskButton), this);
    btnDeleteTask->setObjectName(QStringLiteral("btnDeleteTask"));
    ValueList = new QTableWidget(0, 2, this);
    ValueList->setObjectName(QStringLiteral("ValueList"));
    ValueList->horizontalHeader()->hide();
    ValueList->verticalHeader()->hide();
    ValueList->setColumnWidth(0, 266);
    ValueList->setColumnWidth(1, 287);
    ValueList->horizontalHeader()->setStretchLastSection(true);
    ValueList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ValueList->setSelectionMode(QAbstractItemView::NoSelection);
    btnCreateInData = new QPushButton(state_.text(kov::txt::QueueInputButton), this);
    btnCreateInData->setObjectName(QStringLiteral("btnCreateInData"));
    btnLoadOutData = new QPushButton(state_.text(kov::txt::TakeBackSolutionButton), this);
    btnLoadOutData->setObjectName(QStringLiteral("btnLoadOutData"));
    btnClose = new QPushButton(state_.text(kov::txt::CloseButton), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(TaskList, 1);
    top->addWidget(btnDeleteTask);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnCreateInData);
    bottom->addWidget(btnLoadOutData);
    bottom->addStretch(1);
    bottom->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ValueList, 1);
    layout->addLayout(bottom);
    resize(593, 299);

    connect(TaskList, &QComboBox::currentIndexChanged, this, &TfrmProtocolWin::TaskListChange);
    connect(btnCreateInData, &QPushButton::clicked, this, &TfrmProtocolWin::btnCreateInDataClick);
    connect(btnLoadOutData, &QPushButton::clicked, this, &TfrmProtocolWin::btnLoadOutDataClick);
    connect(btnDeleteTask, &QPushButton::clicked, this, &TfrmProtocolWin::btnDeleteTaskClick);
    // The Escape key closes the dialog (reject) like the button.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

    fillTaskList(0);
}

void TfrmProtocolWin::fillTaskList(int select) {
    {
        const QSignalBlocker block(TaskList);
        TaskList->clear();
        for (const auto& e : state_.protocol) {
            TaskList->addItem(QStringLiteral("[") + QString::fromStdString(e.code) +
                              QStringLiteral("] ") + QString::fromStdString(e.name));
        }
        TaskList->setCurrentIndex(TaskList->count() > 0 ? std::min(select, TaskList->count() - 1)
                                                        : -1);
    }
    showTask();
}

int TfrmProtocolWin::selected() const {
    const int i = TaskList->currentIndex();
    return i >= 0 && std::size_t(i) < state_.protocol.size() ? i : -1;
}

void TfrmProtocolWin::TaskListChange() {
    showTask();
}

void TfrmProtocolWin::addRow(int key, const QString& value) {
    const int row = ValueList->rowCount();
    ValueList->insertRow(row);
    ValueList->setItem(row, 0, new QTableWidgetItem(state_.text(key)));
    ValueList->setItem(row, 1, new QTableWidgetItem(value));
}

void TfrmProtocolWin::showTask() {
    ValueList->setRowCount(0);
    const int i = selected();
    ValueList->setEnabled(i >= 0);
    if (i < 0) {
        btnDeleteTask->setEnabled(false);
        btnCreateInData->setEnabled(false);
        btnLoadOutData->setEnabled(false);
        return;
    }
    const kov::ProtocolEntry& e = state_.protocol[std::size_t(i)];
    addRow(kov::txt::TaskCode, QString::fromStdString(e.code));
    addRow(kov::txt::TaskName, QString::fromStdString(e.name));
    const QString stateText =
        e.state == kov::TaskState::Entered  ? state_.trimmed(kov::txt::StateEntered)
        : e.state == kov::TaskState::Queued ? state_.text(kov::txt::StateQueued)
                                            : state_.text(kov::txt::StateSolved);
    addRow(kov::txt::StateKey, stateText);
    addRow(kov::txt::EnteredKey, state_.regional.dateTimeText(e.entered));
    addRow(kov::txt::ChangedKey, state_.regional.dateTimeText(e.changed));
    if (e.state != kov::TaskState::Entered) {
        addRow(kov::txt::QueuedKey, state_.regional.dateTimeText(e.queued));
    }
    if (e.state == kov::TaskState::Solved) {
        addRow(kov::txt::SolvedKey, state_.regional.dateTimeText(e.solved));
    }
    const bool demonstration =
        e.code.find("DEMR") != std::string::npos || e.code.find("DEME") != std::string::npos;
    btnDeleteTask->setEnabled(!demonstration);
    btnCreateInData->setEnabled(e.state == kov::TaskState::Entered);
    btnLoadOutData->setEnabled(
        e.state == kov::TaskState::Queued &&
        kov::file_exists(kov::task_file_path(state_.workspace, "Solving", e.code, "_out")));
}

bool TfrmProtocolWin::saveProtocol() {
    try {
        kov::write_protocol(state_.workspace, state_.protocol, state_.codepage());
        return true;
    } catch (const kov::FileError&) {
        state_.messages->error(state_.text(kov::txt::ProtocolNotWritable) + QStringLiteral(" !!!"));
        return false;
    }
}

void TfrmProtocolWin::btnCreateInDataClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    kov::ProtocolEntry& e = state_.protocol[std::size_t(i)];
    try {
        if (!kov::queue_task_input(state_.workspace, e.code)) {
            return;
        }
    } catch (const kov::FileError& error) {
        state_.messages->error(fileErrorText(state_, error));
        return;
    }
    e.state = kov::TaskState::Queued;
    e.queued = kov::now_day_count();
    saveProtocol();
    showTask();
}

void TfrmProtocolWin::btnLoadOutDataClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    kov::ProtocolEntry& e = state_.protocol[std::size_t(i)];
    state_.currentFileBase = state_.path("Data/kov_" + e.code);
    kov::TakeBackResult result;
    try {
        const QString today = state_.regional.dateText(kov::now_day_count());
        result = kov::take_back_solution(state_.workspace, e.code, state_.shell.suffix,
                                         state_.codepage(), today.toStdString());
    } catch (const kov::FileError& error) {
        state_.messages->error(fileErrorText(state_, error));
        return;
    }
    if (!result.taken) {
        return;
    }
    if (result.corrected) {
        state_.messages->information(state_.text(kov::txt::DatabaseCorrected) +
                                     QStringLiteral("."));
    }
    e.state = kov::TaskState::Solved;
    e.solved = kov::now_day_count();
    saveProtocol();
    showTask();
}

void TfrmProtocolWin::btnDeleteTaskClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    const kov::ProtocolEntry& e = state_.protocol[std::size_t(i)];
    const QString question = state_.text(kov::txt::DeleteTaskQuestion) + QStringLiteral(" \"") +
                             QString::fromStdString(kov::left_chars(e.name, 50)) +
                             QStringLiteral("\"?");
    if (!state_.messages->confirm(question)) {
        return;
    }
    const auto failed = kov::delete_task_files(state_.workspace, e.code);
    if (!failed.empty()) {
        // A file that stays would be picked up by a later task of the same code, so the entry
        // stays too and the user is told which file it is.
        state_.messages->error(
            fileErrorText(state_, kov::FileError(kov::FileError::Kind::Write, failed.front(), "")));
        return;
    }
    state_.protocol.erase(state_.protocol.begin() + i);
    saveProtocol();
    fillTaskList(i);
}

void openProtocolWindow(TfrmMainWin& main) {
    main.openCommandWindow(new TfrmProtocolWin(main));
}
