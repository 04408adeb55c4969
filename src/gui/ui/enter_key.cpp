#include "ui/enter_key.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// Sees the Enter keys the focused control left unused (a button, a field and a list all pass
// them on to their window).
class EnterKey final : public QObject {
public:
    EnterKey(QWidget& window, std::vector<QPushButton*> next)
        : QObject(&window)
        , window_(window) {
        for (QPushButton* b : next) {
            next_.emplace_back(b);
        }
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            mods != Qt::NoModifier) {
            return false;
        }
        if (auto* focused = qobject_cast<QPushButton*>(window_.focusWidget())) {
            if (focused->isEnabled()) {
                focused->click();
            }
            return true;
        }
        for (const QPointer<QPushButton>& b : next_) {
            if (b && b->isVisible() && b->isEnabled()) {
                b->click();
                return true;
            }
        }
        return true;
    }

private:
    QWidget& window_;
    std::vector<QPointer<QPushButton>> next_;
};

} // namespace

void installEnterKey(QWidget& window, std::vector<QPushButton*> next) {
    window.installEventFilter(new EnterKey(window, std::move(next)));
}
