#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableWidget;
class WindowHost;
struct SharedState;
namespace kov {
class FileError;
struct ProtocolEntry;
} // namespace kov

// The protocol window: every task of the protocol with its state and dates; queues a task for
// solving, takes its solution back and deletes tasks with their files. Every change is written
// to the protocol file at once, so the protocol and the task files never disagree.
class TfrmProtocolWin final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmProtocolWin(WindowHost& host);

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
    QString nameText(const kov::ProtocolEntry& e) const;
    void saveProtocol();
    void reportRoadError(const kov::FileError& error);

    SharedState& state_;
    QComboBox* TaskList = nullptr;
    QTableWidget* ValueList = nullptr;
    QPushButton* btnDeleteTask = nullptr;
    QPushButton* btnCreateInData = nullptr;
    QPushButton* btnLoadOutData = nullptr;
    QPushButton* btnClose = nullptr;
};
