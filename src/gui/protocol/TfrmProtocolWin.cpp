#include "protocol/TfrmProtocolWin.h"

#include "host/WindowHost.h"
#include "host/file_error_text.h"
#include "host/work_guard.h"
#include "message_service.h"
#include "ui/enter_key.h"

#include "io/codepage.h"
#include "io/files.h"
#include "io/numbers.h"
#include "protocol/protocol.h"
#include "protocol/task_state.h"
#include "road/task_road.h"
#include "shell/texts.h"
#include "task/task_files.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

TfrmProtocolWin::TfrmProtocolWin(WindowHost& host)
    : QDialog(nullptr)
    , state_(host.state()) {
    setObjectName(QStringLiteral("TfrmProtocolWin"));
    setWindowTitle(state_.text(kov::txt::ProtocolCaption));

    TaskList = new QComboBox(this);
    TaskList->setObjectName(QStringLiteral("TaskList"));
    TaskList->setEditable(false);
    // A long task name does not widen the window; the open list shows the names in full.
    TaskList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TaskList->setMinimumContentsLength(20);
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
    // Tab moves on to the next control rather than from cell to cell.
    ValueList->setTabKeyNavigation(false);
    btnCreateInData = new QPushButton(state_.text(kov::txt::QueueInputButton), this);
    btnCreateInData->setObjectName(QStringLiteral("btnCreateInData"));
    btnLoadOutData = new QPushButton(state_.text(kov::txt::TakeBackSolutionButton), this);
    btnLoadOutData->setObjectName(QStringLiteral("btnLoadOutData"));
    btnClose = new QPushButton(state_.text(kov::txt::CloseButton), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));

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

    connectGuarded(TaskList, &QComboBox::currentIndexChanged, this,
                   &TfrmProtocolWin::TaskListChange, state_);
    connectGuarded(btnCreateInData, &QPushButton::clicked, this,
                   &TfrmProtocolWin::btnCreateInDataClick, state_);
    connectGuarded(btnLoadOutData, &QPushButton::clicked, this,
                   &TfrmProtocolWin::btnLoadOutDataClick, state_);
    connectGuarded(btnDeleteTask, &QPushButton::clicked, this, &TfrmProtocolWin::btnDeleteTaskClick,
                   state_);
    // The Escape key closes the dialog (reject) like the button.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    // Enter presses the focused button only: the window has no default button.
    for (QPushButton* b : {btnDeleteTask, btnCreateInData, btnLoadOutData, btnClose}) {
        b->setAutoDefault(false);
    }
    installEnterKey(*this);

    // Steps of the road that an interrupted run left half done are completed before listing.
    runGuarded(state_, [this] {
        if (kov::recover_task_roads(state_.workspace, state_.protocol, kov::now_day_count())
                .changed) {
            saveProtocol();
        }
    });
    runGuarded(state_, [this] { fillTaskList(0); });
    // The dialog keeps its size: 593 x 299, or what longer texts of other languages need.
    setFixedSize(QSize(593, 299).expandedTo(minimumSizeHint()));
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
        // The open list is as wide as its longest name.
        QAbstractItemView* view = TaskList->view();
        int widest = 0;
        for (int i = 0; i < TaskList->count(); ++i) {
            widest = std::max(widest, view->fontMetrics().horizontalAdvance(TaskList->itemText(i)));
        }
        view->setMinimumWidth(widest + 4 * view->fontMetrics().averageCharWidth() +
                              view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                              2 * view->frameWidth());
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
    addRow(kov::txt::TaskName, nameText(e));
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
    btnDeleteTask->setEnabled(!kov::is_demonstration_task(e.code));
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
            state_.messages->information(state_.text(kov::txt::DatabaseCorrected) +
                                         QStringLiteral("."));
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
    const QString question = state_.text(kov::txt::DeleteTaskQuestion) + QStringLiteral(" \"") +
                             nameText(e).left(50) + QStringLiteral("\"?");
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
