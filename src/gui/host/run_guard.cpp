#include "host/run_guard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// Swallows user input while it is installed on the application.
class InputDrop final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

RunGuard::RunGuard(QWidget& window)
    : window_(&window)
    , focus_(window.focusWidget()) {
    window.installEventFilter(this);
    window.setEnabled(false);
}

RunGuard::~RunGuard() {
    finish();
    if (!window_) {
        return;
    }
    window_->removeEventFilter(this);
    if (closeAsked_) {
        window_->close();
    }
}

void RunGuard::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    InputDrop drop;
    qApp->installEventFilter(&drop);
    QApplication::processEvents();
    qApp->removeEventFilter(&drop);
    if (window_) {
        window_->setEnabled(true);
        if (focus_) {
            focus_->setFocus();
        }
    }
}

bool RunGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close) {
        closeAsked_ = true;
        event->ignore();
        return true;
    }
    return false;
}
