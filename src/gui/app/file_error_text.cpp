#include "file_error_text.h"

#include "shared_state.h"
#include "shell/texts.h"

QString fileErrorText(const SharedState& state, const kov::FileError& error) {
    std::string file = error.file();
    if (file.rfind(state.workspace + "/", 0) == 0) {
        file = file.substr(state.workspace.size() + 1);
    }
    const QString quoted =
        QStringLiteral(" \"") + QString::fromStdString(file) + QStringLiteral("\"");
    switch (error.kind()) {
    case kov::FileError::Kind::Format:
        return state.text(kov::txt::FileDamaged) + quoted + QStringLiteral(": ") +
               QString::fromStdString(error.detail()) + QStringLiteral(" !!!");
    case kov::FileError::Kind::Write:
        return state.text(kov::txt::FileNotWritten) + quoted + QStringLiteral(" !!!");
    case kov::FileError::Kind::Missing:
    case kov::FileError::Kind::Read:
        break;
    }
    return state.text(kov::txt::FileNotRead) + quoted + QStringLiteral(" !!!");
}
