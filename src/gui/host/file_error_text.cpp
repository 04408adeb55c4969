#include "host/file_error_text.h"

#include "host/shared_state.h"
#include "shell/texts.h"

namespace {

// The file of an error in double quotation marks, relative to the Workspace inside it.
QString quotedFile(const SharedState& state, const kov::FileError& error) {
    std::string file = error.file();
    if (file.rfind(state.workspace + "/", 0) == 0) {
        file = file.substr(state.workspace.size() + 1);
    }
    return QStringLiteral(" \"") + QString::fromStdString(file) + QStringLiteral("\"");
}

} // namespace

QString fileErrorText(const SharedState& state, const kov::FileError& error) {
    const QString quoted = quotedFile(state, error);
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

QString protocolWriteErrorText(const SharedState& state, const kov::FileError& error) {
    return state.text(kov::txt::ProtocolNotWritable) + quotedFile(state, error) +
           (error.detail().empty()
                ? QString()
                : QStringLiteral(": ") + QString::fromStdString(error.detail())) +
           QStringLiteral(" !!!");
}
