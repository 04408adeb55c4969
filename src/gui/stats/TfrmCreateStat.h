#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class WindowHost;
struct SharedState;

// The statistics creation window: takes the code of a solved task with pay-back and a number of
// trials, runs the statistical modelling of every investment variant of its solution and writes
// the task's statistics file. The run holds the window until it ends; the running notice blinks
// meanwhile.
class TfrmCreateStat final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCreateStat(WindowHost& host);

public slots:
    void BStartClick();
    void BEndClick();

private:
    void showNotice(bool visible);

    SharedState& state_;
    QLabel* Label1 = nullptr;
    QLineEdit* ME1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* ME2 = nullptr;
    QLabel* Label0 = nullptr;
    QPushButton* BStart = nullptr;
    QPushButton* BEnd = nullptr;
};
