#pragma once

#include "message_service.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// The message service of the tests: records every box and answers confirmations from a script.
class ScriptedMessageService final : public MessageService {
public:
    enum class Kind { Error, Warning, Information, Confirm };
    struct Box {
        Kind kind;
        QString text;
    };

    void error(const QString& text) override { record(Kind::Error, text); }
    void warning(const QString& text) override { record(Kind::Warning, text); }
    void information(const QString& text) override { record(Kind::Information, text); }
    bool confirm(const QString& text) override {
        record(Kind::Confirm, text);
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    QStringList texts() const {
        QStringList out;
        for (const auto& b : boxes) {
            out << b.text;
        }
        return out;
    }
    void clear() { boxes.clear(); }

    std::vector<Box> boxes;
    std::deque<bool> answers; // Yes (true) or No (false), in order
    // Called after each box is recorded (a test can act while the box "is open").
    std::function<void(const Box&)> onBox;

private:
    void record(Kind kind, const QString& text) {
        boxes.push_back({kind, text});
        if (onBox) {
            onBox(boxes.back());
        }
    }
};
