#pragma once

#include <QDialog>

struct SharedState;
class QFrame;
class QLabel;
class WindowHost;

// The about windows, by the host's WindowMode: 1 about the system (GroupBox1), 2 about the
// developer (GroupBox2). Every text comes from the lists of the language shell; the labels lie over
// the picture and the window is as tall as their texts need.
class TfrmHelp final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmHelp(WindowHost& host);

private:
    void showSystem(const SharedState& state);
    void showDeveloper(const SharedState& state);

    QFrame* GroupBox1 = nullptr;
    QFrame* GroupBox2 = nullptr;
};
