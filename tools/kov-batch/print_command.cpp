#include "print_command.h"

#include "batch_workspace.h"
#include "export_command.h"
#include "report_printer.h"
#include "view_command.h"

#include "book/layouts.h"
#include "io/error.h"
#include "io/files.h"
#include "io/new_file.h"
#include "task/task_code.h"

#include <QGuiApplication>

#include <iostream>

using namespace kov;

const char* const kPrintUsage =
    "print writes the report the program prints for a task, its solution or its statistics as a\n"
    "PDF under the Workspace's Reports folder with a name no file has, or as --out FILE (never\n"
    "replacing a file), and prints its path.\n";

namespace {

constexpr int kRefused = 1;
constexpr int kUnusable = 2;

// The fonts and the PDF device need a GUI application; without a display it runs offscreen.
std::unique_ptr<QGuiApplication> gui_application() {
    if (QGuiApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "kov-batch";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int run_print_command(const std::vector<std::string>& args) {
    try {
        const ReportOptions o = parse_report_options(args, true);
        if (o.words.size() != 3) {
            throw Unusable{"what to print (task, solution or stats), a Workspace and a task code "
                           "are needed"};
        }
        const std::string& what = o.words[0];
        const std::string& workspace = o.words[1];
        const std::string code = upper(o.words[2]);
        if (what != "task" && what != "solution" && what != "stats") {
            throw Unusable{"unknown report \"" + what + "\": task, solution or stats"};
        }
        if (o.variants && what != "solution") {
            throw Unusable{"--variants belongs to the solution report"};
        }
        if (o.levels && what != "stats") {
            throw Unusable{"--levels belongs to the statistics report"};
        }
        if (!is_task_code(code)) {
            throw Unusable{"\"" + o.words[2] + "\" is not a task code (six letters or digits)"};
        }
        need_workspace(workspace);
        const LanguageShell shell = workspace_shell(workspace, o.lang);
        const char dc = batch_regional_settings(shell).decimalChar;
        ReportLayout layout;
        std::string base;
        if (what == "task") {
            base = task_report_name(code);
            layout = [view = build_task_view(workspace, code, shell, dc),
                      &shell](const PrintMetrics& m) { return task_print(view, shell, m); };
        } else if (what == "solution") {
            const VariantFlags shown =
                o.variants ? parse_variant_list(*o.variants) : all_flags<VariantFlags>();
            base = solution_report_name(code);
            layout = [view = build_solution_view(workspace, code, shell, dc, shown),
                      &shell](const PrintMetrics& m) { return solution_print(view, shell, m); };
        } else {
            const LevelFlags levels =
                o.levels ? parse_level_list(*o.levels) : all_flags<LevelFlags>();
            base = statistics_report_name(code);
            layout = [view = build_statistics_view(workspace, code, shell, dc, levels),
                      &shell](const PrintMetrics& m) { return statistics_print(view, shell, m); };
        }
        const auto app = gui_application();
        const std::vector<std::uint8_t> pdf = reportPdf(layout, base);
        std::string path;
        if (o.out) {
            write_file_new(*o.out, pdf);
            path = *o.out;
        } else {
            path = write_new_file(ws_path(workspace, "Reports"), base, ".pdf", pdf);
        }
        std::cout << path << "\n";
        return 0;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch print: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch print: " << e.what() << "\n";
        return kRefused;
    } catch (const std::runtime_error& e) {
        std::cerr << "kov-batch print: " << e.what() << "\n";
        return kRefused;
    }
}
