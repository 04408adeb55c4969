#include "app/print_report.h"

#include "host/file_services.h"
#include "host/shared_state.h"
#include "message_service.h"
#include "report_printer.h"
#include "stats/TfrmViewStatistics.h"
#include "view/TfrmViewSolution.h"
#include "view/TfrmViewTask.h"

#include "io/error.h"
#include "report/print_layout.h"
#include "shell/texts.h"

#include <stdexcept>

void printViewerReport(SharedState& state, QWidget* viewer) {
    const kov::LanguageShell& shell = state.shell;
    ReportLayout layout;
    std::string base;
    if (const auto* task = qobject_cast<TfrmViewTask*>(viewer)) {
        const kov::TaskView view = task->reportView();
        base = task->reportName();
        layout = [view, &shell](const kov::PrintMetrics& m) {
            return kov::task_print(view, shell, m);
        };
    } else if (const auto* solution = qobject_cast<TfrmViewSolution*>(viewer)) {
        const kov::SolutionView view = solution->reportView();
        base = solution->reportName();
        layout = [view, &shell](const kov::PrintMetrics& m) {
            return kov::solution_print(view, shell, m);
        };
    } else if (const auto* stats = qobject_cast<TfrmViewStatistics*>(viewer)) {
        const kov::StatisticsView view = stats->reportView();
        base = stats->reportName();
        layout = [view, &shell](const kov::PrintMetrics& m) {
            return kov::statistics_print(view, shell, m);
        };
    } else {
        return;
    }
    PrintOutcome outcome;
    try {
        outcome = state.printer->print(layout, state.path("Reports"), base, base);
    } catch (const kov::FileError&) {
        throw; // the PDF could not be written: the work guard names the file
    } catch (const std::runtime_error& e) {
        state.messages->error(state.text(kov::txt::ReportNotPrinted) + QStringLiteral(" (") +
                              QString::fromStdString(e.what()) + QStringLiteral(") !!!"));
        return;
    }
    if (outcome.printed) {
        return;
    }
    if (state.fileOpener != nullptr) {
        state.fileOpener->open(QString::fromStdString(outcome.pdf));
    }
    state.messages->information(state.text(kov::txt::ReportWrittenAsPdf) + QStringLiteral(" \"") +
                                QString::fromStdString(outcome.pdf) + QStringLiteral("\"."));
}
