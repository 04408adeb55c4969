#include "ui/key_filters.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

// Stands for a key that types several characters at once; no filter takes it.
constexpr char32_t kSeveralCharacters = U'\uFFFF';

// The character a key press types, or 0 for keys that type none (Backspace, Delete, Tab, Enter,
// the arrows) and shortcuts with Ctrl, Alt or Meta: the widget handles those itself.
char32_t typedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return 0;
    }
    const std::u32string text = event.text().toStdU32String();
    if (text.empty() || !QChar::isPrint(text.front())) {
        return 0;
    }
    return text.size() == 1 ? text.front() : kSeveralCharacters;
}

// A UTF-16 position of a text as a character position.
std::size_t charPosition(const QString& text, qsizetype utf16) {
    return std::size_t(text.left(utf16).toStdU32String().size());
}

class FieldKeyFilter final : public QObject {
public:
    using Judge = std::function<bool(const kov::FieldKey&)>;

    FieldKeyFilter(QLineEdit& field, Judge judge)
        : QObject(&field)
        , field_(field)
        , judge_(std::move(judge)) {
        // Every character must come as a key press the filter sees, not as an input method's
        // commit.
        field.setAttribute(Qt::WA_InputMethodEnabled, false);
        field.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &field_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const char32_t typed = typedCharacter(*static_cast<QKeyEvent*>(event));
        if (typed == 0) {
            return false;
        }
        const QString text = field_.text();
        const std::u32string chars = text.toStdU32String();
        kov::FieldKey key{chars, charPosition(text, field_.cursorPosition()), 0, 0, typed};
        if (field_.hasSelectedText()) {
            key.selection_start = charPosition(text, field_.selectionStart());
            key.selection_length = charPosition(text, field_.selectionEnd()) - key.selection_start;
        }
        return !judge_(key);
    }

private:
    QLineEdit& field_;
    Judge judge_;
};

// Watches the grid, for keys typed on a cell that is not being edited, and every editor the
// grid opens in its viewport, for keys typed while editing.
class GridCellFilter final : public QObject {
public:
    GridCellFilter(QAbstractItemView& grid, CellRuleLookup rules, char decimalChar)
        : QObject(&grid)
        , grid_(grid)
        , rules_(std::move(rules))
        , viewport_(grid.viewport())
        , decimalChar_(decimalChar) {
        grid.installEventFilter(this);
        viewport_->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Events also come while the grid is being destroyed: nothing but key presses may call it.
        if (watched == viewport_) {
            if (event->type() == QEvent::ChildAdded) {
                // The child is still being constructed: its kind is known only when keys come.
                static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const char32_t typed = typedCharacter(*static_cast<QKeyEvent*>(event));
        const QModelIndex index = grid_.currentIndex();
        if (typed == 0 || !index.isValid()) {
            return false;
        }
        QString text;
        if (watched == &grid_) {
            text = index.data(Qt::EditRole).toString();
        } else if (const auto* editor = qobject_cast<QLineEdit*>(watched)) {
            text = editor->text();
        } else {
            return false;
        }
        return !kov::grid_cell_accepts(text.toStdU32String(), typed, rules_(index), decimalChar_);
    }

private:
    QAbstractItemView& grid_;
    CellRuleLookup rules_;
    QObject* viewport_;
    char decimalChar_;
};

// Upper-cases Latin letters and refuses every other character but digits, for typed and pasted
// texts alike.
class CodeValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        std::u32string chars = input.toStdU32String();
        for (char32_t& c : chars) {
            c = kov::code_field_char(c);
            if (c == 0) {
                return Invalid;
            }
        }
        input = QString::fromStdU32String(chars);
        return Acceptable;
    }
};

} // namespace

void installIntegerFilter(QLineEdit& field, kov::IntegerFieldRule range) {
    new FieldKeyFilter(field, [range](const kov::FieldKey& key) {
        return kov::integer_field_accepts(key, range);
    });
}

void installDecimalFilter(QLineEdit& field, kov::DecimalFieldRule rule, char decimalChar) {
    new FieldKeyFilter(field, [rule, decimalChar](const kov::FieldKey& key) {
        return kov::decimal_field_accepts(key, rule, decimalChar);
    });
}

void installGridCellFilter(QAbstractItemView& grid, CellRuleLookup rules, char decimalChar) {
    new GridCellFilter(grid, std::move(rules), decimalChar);
}

void installCodeField(QLineEdit& field) {
    field.setMaxLength(int(kov::kCodeFieldLength));
    field.setValidator(new CodeValidator(&field));
}
