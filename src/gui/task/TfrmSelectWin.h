#pragma once

#include <QDialog>

#include <cstddef>
#include <vector>

class QListWidget;
class QPushButton;
class WindowHost;

// The task selection dialog: the tasks of the protocol that fit the command (the WindowMode read
// at creation): 1 every task, for the task viewer; 2 the solved tasks, for the solution viewer;
// 3 the entered tasks, for correcting a task's input; 4 the solved tasks with statistics, for the
// statistics viewer. OK records the chosen task's file path and opens the command's window.
class TfrmSelectWin final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSelectWin(WindowHost& host);

    // The protocol index of every listed task, in list order.
    const std::vector<std::size_t>& listed() const { return listed_; }

public slots:
    void btnOKClick();

private:
    WindowHost& host_;
    int mode_ = 0;
    std::vector<std::size_t> listed_;
    QListWidget* lbTask = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
