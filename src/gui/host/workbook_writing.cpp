#include "host/workbook_writing.h"

#include "host/file_error_text.h"
#include "host/file_services.h"
#include "host/shared_state.h"
#include "message_service.h"

#include "io/error.h"
#include "shell/texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

#include <algorithm>
#include <climits>

namespace {

// How often the progress dialog is brought up to date and events are let through.
constexpr qint64 kProgressStepMs = 40;
constexpr int kShowAfterMs = 500;

} // namespace

QString exportWorkbook(const SharedState& state, QWidget* parent, const std::string& base,
                       const kov::WorkbookLayout& layout, const QString& label) {
    QProgressDialog progress(label, QApplication::translate("QProgressDialog", "Cancel"), 0, 1,
                             parent);
    progress.setObjectName(QStringLiteral("WorkbookProgress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kShowAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QElapsedTimer sinceStep;
    sinceStep.start();
    bool first = true;
    const auto step = [&](std::size_t done, std::size_t total) {
        if (first || done == total || sinceStep.elapsed() >= kProgressStepMs) {
            first = false;
            sinceStep.restart();
            const int maximum = int(std::min<std::size_t>(total, INT_MAX));
            progress.setMaximum(std::max(maximum, 1));
            progress.setValue(int(std::min<std::size_t>(done, INT_MAX)));
            // Until the dialog shows (it is modal then) the user's input waits, so no other
            // command runs in the middle of the writing.
            QApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                             : QEventLoop::ExcludeUserInputEvents);
        }
        return !progress.wasCanceled();
    };
    std::string path;
    try {
        path = kov::write_new_workbook(state.path("Reports"), base, layout, step);
    } catch (const kov::WorkbookCancelled&) {
        return {};
    } catch (const kov::FileError& e) {
        progress.close();
        state.messages->error(state.text(kov::txt::ExportFailed) + QStringLiteral("...\n") +
                              fileErrorText(state, e));
        return {};
    }
    progress.close();
    const QString written = QString::fromStdString(path);
    openWrittenFile(state, written);
    return written;
}
