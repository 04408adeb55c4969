#include "TfrmProtocolWin.h"

#include "TfrmMainWin.h"
#include "file_error_text.h"
#include "message_service.h"

#include "io/codepage.h"
#include "io/files.h"
#include "io/numbers.h"
#include "protocol/protocol.h"
#include "road/task_road.h"
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
    setWindowTitle(state_.text(395));

    TaskList = new QComboBox(this);
    TaskList->setObjectName(QStringLiteral("TaskList"));
    TaskList->setEditable(false);
    btnDeleteTask = new QPushButton(state_.text(467), this);
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
    btnCreateInData = new QPushButton(state_.text(70), this);
    btnCreateInData->setObjectName(QStringLiteral("btnCreateInData"));
    btnLoadOutData = new QPushButton(state_.text(113), this);
    btnLoadOutData->setObjectName(QStringLiteral("btnLoadOutData"));
    btnClose = new QPushButton(state_.text(129), this);
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

    // Steps of the road that an interrupted run left half done are completed before listing.
    if (kov::recover_task_roads(state_.workspace, state_.protocol, kov::now_day_count()).changed) {
        saveProtocol();
    }
    fillTaskList(0);
}

void TfrmProtocolWin::fillTaskList(int select) {
    {
        const QSignalBlocker block(TaskList);
        TaskList->clear();
        for (const auto& e : state_.protocol) {
            TaskList->addItem(QStringLiteral("[") + QString::fromStdString(e.code) +
                              QStringLiteral("] ") + nameText(e));
        }
        TaskList->setCurrentIndex(TaskList->count() > 0 ? std::min(select, TaskList->count() - 1)
                                                        : -1);
    }
    showTask();
}

QString TfrmProtocolWin::nameText(const kov::ProtocolEntry& e) const {
    return QString::fromStdString(kov::task_name_text(e, state_.workspace, state_.codepage()));
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

QString TfrmProtocolWin::dateTimeText(double day) const {
    const QString date = state_.regional.dateText(day);
    const kov::DateTime t = kov::from_day_count(day);
    if (t.hour == 0 && t.minute == 0 && t.second == 0 && t.msec == 0) {
        return date;
    }
    return date + QLatin1Char(' ') + state_.regional.timeText(day);
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
    addRow(491, QString::fromStdString(e.code));
    addRow(195, nameText(e));
    const QString stateText = e.state == kov::TaskState::Entered  ? state_.trimmed(497)
                              : e.state == kov::TaskState::Queued ? state_.text(289)
                                                                  : state_.text(128);
    addRow(5, stateText);
    addRow(83, dateTimeText(e.entered));
    addRow(82, dateTimeText(e.changed));
    if (e.state != kov::TaskState::Entered) {
        addRow(85, dateTimeText(e.queued));
    }
    if (e.state == kov::TaskState::Solved) {
        addRow(81, dateTimeText(e.solved));
    }
    const bool demonstration =
        e.code.find("DEMR") != std::string::npos || e.code.find("DEME") != std::string::npos;
    btnDeleteTask->setEnabled(!demonstration);
    btnCreateInData->setEnabled(e.state == kov::TaskState::Entered);
    btnLoadOutData->setEnabled(
        e.state == kov::TaskState::Queued &&
        kov::file_exists(kov::task_file_path(state_.workspace, "Solving", e.code, "_out")));
}

void TfrmProtocolWin::saveProtocol() {
    try {
        kov::write_protocol(state_.workspace, state_.protocol);
    } catch (const kov::FileError& e) {
        state_.messages->error(protocolWriteErrorText(state_, e));
    }
}

void TfrmProtocolWin::reportRoadError(const kov::FileError& error) {
    // A failed protocol write leaves the step done in the files and in the list.
    const bool protocol = error.file() == state_.path(kov::kProtocolFile);
    state_.messages->error(protocol ? protocolWriteErrorText(state_, error)
                                    : fileErrorText(state_, error));
}

void TfrmProtocolWin::btnCreateInDataClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    try {
        kov::queue_task(state_.workspace, state_.protocol, std::size_t(i), kov::now_day_count());
    } catch (const kov::FileError& error) {
        reportRoadError(error);
    }
    showTask();
}

void TfrmProtocolWin::btnLoadOutDataClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    state_.currentFileBase = state_.path("Data/kov_" + state_.protocol[std::size_t(i)].code);
    try {
        const QString today = state_.regional.dateText(kov::now_day_count());
        const auto result = kov::take_back_task(state_.workspace, state_.protocol, std::size_t(i),
                                                state_.shell.suffix, state_.codepage(),
                                                today.toStdString(), kov::now_day_count());
        if (result.corrected) {
            state_.messages->information(state_.text(351) + QStringLiteral("."));
        }
    } catch (const kov::FileError& error) {
        reportRoadError(error);
    }
    showTask();
}

void TfrmProtocolWin::btnDeleteTaskClick() {
    const int i = selected();
    if (i < 0) {
        return;
    }
    const kov::ProtocolEntry& e = state_.protocol[std::size_t(i)];
    const QString question =
        state_.text(53) + QStringLiteral(" \"") + nameText(e).left(50) + QStringLiteral("\"?");
    if (!state_.messages->confirm(question)) {
        return;
    }
    try {
        kov::delete_task(state_.workspace, state_.protocol, std::size_t(i));
    } catch (const kov::FileError& error) {
        reportRoadError(error);
    }
    fillTaskList(i);
}

void openProtocolWindow(TfrmMainWin& main) {
    main.openCommandWindow(new TfrmProtocolWin(main));
}
