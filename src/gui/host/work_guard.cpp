#include "host/work_guard.h"

#include "host/file_error_text.h"
#include "host/shared_state.h"
#include "message_service.h"

#include "io/error.h"
#include "shell/texts.h"

QString workErrorText(const SharedState& state, std::exception_ptr error) {
    // Before a shell is loaded only fixed English texts exist.
    const QString stopped = state.shellLoaded
                                ? state.text(kov::txt::WorkStopped)
                                : QStringLiteral("The work was stopped by an unexpected error");
    try {
        std::rethrow_exception(error);
    } catch (const kov::FileError& e) {
        return fileErrorText(state, e);
    } catch (const std::exception& e) {
        return stopped + QStringLiteral(": ") + QString::fromStdString(e.what()) +
               QStringLiteral(" !!!");
    } catch (...) {
        return stopped + QStringLiteral(" !!!");
    }
}

bool runGuarded(const SharedState& state, const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
        const QString text = workErrorText(state, std::current_exception());
        if (state.messages) {
            state.messages->error(text);
        }
        return false;
    }
}
