#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Holds a window for the length of long work that runs in the GUI thread (the optimisation of
// the queued tasks, the statistical modelling): the window is disabled, a close asked for
// meanwhile waits, and when the work is over the input that queued up during it (a click on
// START, keys) is dropped rather than acted on. Create it on the stack around the work.
class RunGuard final : public QObject {
public:
    explicit RunGuard(QWidget& window);
    ~RunGuard() override;
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

    // The work is over: queued input is dropped and the window is enabled again, with the focus
    // where it was. A close asked for waits until the guard ends, so the messages of the run's
    // end are still shown over the window.
    void finish();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
    bool finished_ = false;
    bool closeAsked_ = false;
};
