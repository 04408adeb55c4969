#include "export_command.h"

#include "batch_workspace.h"
#include "view_command.h"

#include "book/imports.h"
#include "book/layouts.h"
#include "dbor/bdon_wizard.h"
#include "io/codepage.h"
#include "io/error.h"
#include "io/files.h"
#include "io/numbers.h"
#include "shell/language_shell.h"
#include "task/task_code.h"

#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>

using namespace kov;

const char* const kExportUsage =
    "export writes the workbook the program exports for a database (CODE such as A_101), a task,\n"
    "its solution or its statistics (CODE a task code) under the Workspace's Reports folder with\n"
    "a name no file has, or as --out FILE (never replacing a file), and prints its path.\n"
    "import reads a database workbook as the database wizard's import does, checks it as the\n"
    "wizard's pages do and writes the new database TYPE_CODE (TYPE A or B, CODE 3 or 6 digits),\n"
    "named as the workbook names it; an existing database is not replaced.\n";

namespace {

constexpr int kRefused = 1;
constexpr int kUnusable = 2;

std::string write(const ReportOptions& o, const std::string& workspace, const std::string& base,
                  const WorkbookLayout& layout) {
    if (o.out) {
        write_workbook(*o.out, layout);
        return *o.out;
    }
    return write_new_workbook(ws_path(workspace, "Reports"), base, layout);
}

} // namespace

ReportOptions parse_report_options(const std::vector<std::string>& args, bool exporting) {
    ReportOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* slot = a == "--lang"       ? &o.lang
                                           : !exporting        ? nullptr
                                           : a == "--variants" ? &o.variants
                                           : a == "--levels"   ? &o.levels
                                           : a == "--out"      ? &o.out
                                                               : nullptr;
        if (slot != nullptr) {
            if (i + 1 == args.size()) {
                throw Unusable{a + " needs a value"};
            }
            *slot = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            throw Unusable{"unknown option " + a};
        } else {
            o.words.push_back(a);
        }
    }
    return o;
}

void need_workspace(const std::string& workspace) {
    std::error_code ec;
    if (!std::filesystem::is_directory(ws_path(workspace, "Data"), ec)) {
        throw Unusable{"\"" + workspace + "\" is not a Workspace: it has no folder Data"};
    }
}

std::string upper(std::string s) {
    for (char& c : s) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

int run_export_command(const std::vector<std::string>& args) {
    try {
        const ReportOptions o = parse_report_options(args, true);
        if (o.words.size() != 3) {
            throw Unusable{"what to export (database, task, solution or stats), a Workspace and a "
                           "code are needed"};
        }
        const std::string& what = o.words[0];
        const std::string& workspace = o.words[1];
        const std::string code = upper(o.words[2]);
        if (what != "database" && what != "task" && what != "solution" && what != "stats") {
            throw Unusable{"unknown export \"" + what + "\": database, task, solution or stats"};
        }
        if (o.variants && what != "solution") {
            throw Unusable{"--variants belongs to the solution export"};
        }
        if (o.levels && what != "stats") {
            throw Unusable{"--levels belongs to the statistics export"};
        }
        if (what == "database" ? !is_dbor_code(code) : !is_task_code(code)) {
            throw Unusable{"\"" + o.words[2] + "\" is not a " +
                           (what == "database" ? "database code (A_ddd or B_dddddd)"
                                               : "task code (six letters or digits)")};
        }
        need_workspace(workspace);
        const LanguageShell shell = workspace_shell(workspace, o.lang);
        const char dc = batch_regional_settings(shell).decimalChar;
        std::string path;
        if (what == "database") {
            const BdonData bdon = read_bdon(bdon_base(workspace, code, shell.suffix),
                                            codepage_for_suffix(shell.suffix));
            path = write(o, workspace, code + "_dbor_" + shell.suffix,
                         database_workbook(bdon, shell, dc));
        } else if (what == "task") {
            path = write(o, workspace, task_report_name(code),
                         task_workbook(build_task_view(workspace, code, shell, dc), shell));
        } else if (what == "solution") {
            const VariantFlags shown =
                o.variants ? parse_variant_list(*o.variants) : all_flags<VariantFlags>();
            path = write(
                o, workspace, solution_report_name(code),
                solution_workbook(build_solution_view(workspace, code, shell, dc, shown), shell));
        } else {
            const LevelFlags levels =
                o.levels ? parse_level_list(*o.levels) : all_flags<LevelFlags>();
            path = write(o, workspace, statistics_report_name(code),
                         statistics_workbook(
                             build_statistics_view(workspace, code, shell, dc, levels), shell));
        }
        std::cout << path << "\n";
        return 0;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch export: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch export: " << e.what() << "\n";
        return kRefused;
    }
}

int run_import_command(const std::vector<std::string>& args) {
    try {
        const ReportOptions o = parse_report_options(args, false);
        if (o.words.size() != 5 || o.words[0] != "database") {
            throw Unusable{"import database WORKSPACE FILE TYPE CODE is expected"};
        }
        const std::string& workspace = o.words[1];
        const std::string& file = o.words[2];
        const std::string type = upper(o.words[3]);
        const std::string& code = o.words[4];
        if (type != "A" && type != "B") {
            throw Unusable{"the type is A or B, not \"" + o.words[3] + "\""};
        }
        need_workspace(workspace);
        const LanguageShell shell = workspace_shell(workspace, o.lang);
        const RegionalSettings regional = batch_regional_settings(shell);
        const CodePage cp = codepage_for_suffix(shell.suffix);
        const auto refuse = [&](const NextOutcome& outcome) {
            std::cerr << outcome.compose(shell) << "\n";
            return kRefused;
        };

        const auto book = open_workbook(file);
        const DatabaseWorkbook read =
            read_database_workbook(*book, shell.suffix, type.front(), regional.decimalChar, cp);
        if (!read.outcome.ok()) {
            return refuse(read.outcome);
        }
        // The wizard of a new database by import: page 1 takes the type, the code and the name
        // the workbook gives, page 2 the workbook, and every page is passed with its checks.
        WizardContext context{workspace, shell.suffix, cp, regional.decimalChar,
                              [&] { return regional.dateText(now_day_count()).toStdString(); }};
        BdonWizard wizard(WizardMode::Import, context);
        wizard.fields().type = type.front();
        wizard.fields().code = code;
        wizard.fields().name = read.name;
        NextOutcome outcome = wizard.next();
        if (!outcome.ok()) {
            return refuse(outcome);
        }
        wizard.import_database(read.data);
        while (!wizard.finished()) {
            outcome = wizard.next();
            if (!outcome.ok()) {
                return refuse(outcome);
            }
        }
        std::cout << wizard.saved_path() << "\n";
        return 0;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch import: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch import: " << e.what() << "\n";
        return kRefused;
    }
}
