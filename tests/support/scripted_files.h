#pragma once

#include "host/file_services.h"

#include <QString>
#include <QStringList>

#include <deque>

// The open service of the tests: opens nothing, records the files it was asked to open and
// answers whether it could.
class RecordingFileOpener final : public FileOpenService {
public:
    bool open(const QString& path) override {
        opened << path;
        return canOpen;
    }

    QStringList opened;
    bool canOpen = true;
};

// The file dialog of the tests: answers from a script, in order; an empty answer, or none left,
// is a cancelled dialog.
class ScriptedFileDialogs final : public FileDialogService {
public:
    QString openWorkbook(QWidget*, const QString& caption) override {
        captions << caption;
        if (answers.empty()) {
            return {};
        }
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QString> answers;
    QStringList captions;
};
