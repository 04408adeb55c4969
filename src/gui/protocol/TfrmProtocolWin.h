#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableWidget;
class TfrmMainWin;
struct SharedState;

// The protocol window: every task of the protocol with its state and dates; queues a task for
// solving, takes its solution back and deletes tasks with their files. Every change is written
// to the protocol file at once, so the protocol and the task files never disagree.
class TfrmProtocolWin final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmProtocolWin(TfrmMainWin& main);

public slots:
    void TaskListChange();
    void btnCreateInDataClick();
    void btnLoadOutDataClick();
    void btnDeleteTaskClick();

private:
    void fillTaskList(int select);
    void showTask();
    void addRow(int key, const QString& value);
    int selected() const;
    bool saveProtocol();

    TfrmMainWin& main_;
    SharedState& state_;
    QComboBox* TaskList = nullptr;
    QTableWidget* ValueList = nullptr;
    QPushButton* btnDeleteTask = nullptr;
    QPushButton* btnCreateInData = nullptr;
    QPushButton* btnLoadOutData = nullptr;
    QPushButton* btnClose = nullptr;
};

// Opens the protocol window (main menu mnuOutViewProtocol).
void openProtocolWindow(TfrmMainWin& main);
