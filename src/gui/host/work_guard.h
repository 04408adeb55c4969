#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>

struct SharedState;

// The error policy of the windows: the work of a window (a button, a list change, a menu
// command) runs under one guard. A file error is shown with the file it names; any other
// exception (an input the core refuses as std::invalid_argument among them) in an error box
// with its text. The program goes on either way.

// The text of the error box for an exception.
QString workErrorText(const SharedState& state, std::exception_ptr error);

// Runs `work`; returns false when it threw, after the error box was shown.
bool runGuarded(const SharedState& state, const std::function<void()>& work);

// Connects `signal` of `sender` to `work` of `receiver` (a window's slot), run under the guard.
template <class Sender, class Signal, class Receiver, class Work>
void connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Work work,
                    const SharedState& state) {
    QObject::connect(sender, signal, receiver, [receiver, work, &state] {
        runGuarded(state, [&] { std::invoke(work, receiver); });
    });
}
