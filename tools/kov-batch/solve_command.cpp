#include "solve_command.h"

#include "batch_workspace.h"
#include "io/files.h"
#include "io/numbers.h"
#include "optim/info_file.h"
#include "optim/scheme_parameters.h"
#include "optim/solve_task.h"
#include "protocol/protocol.h"
#include "road/task_road.h"
#include "shell/language_shell.h"
#include "shell/texts.h"
#include "task/task_code.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <type_traits>

using namespace kov;

const char* const kSolveUsage =
    "solve runs the optimisation module's batch mode on the Workspace: every task queued as\n"
    "Solving/kov_<CODE>_in.dat, in name order, or only the task --task names. Each solution is\n"
    "written to Solving/kov_<CODE>_out.dat, also for a task that fails; the protocol window takes\n"
    "solutions back into Data. The lines of the run are printed in the language of the shell.\n\n"
    "  --task CODE          solve only this task\n"
    "  --omega W            relaxation coefficient, 0.5 to below 1.0 (default 0.9)\n"
    "  --threshold KO       stopping threshold, 0.001 to 0.1 (default 0.001)\n"
    "  --check-every KR     the stopping test is made every KR cycles, at least 1 (default 5)\n"
    "  --max-cycles LIMIT   limit of iteration cycles, at least 10 (default 3000)\n"
    "  --lang SUFFIX        the language shell to use when Shells holds several (default eng)\n\n"
    "Numbers take a point or the locale's decimal separator. The exit status is 0 when every\n"
    "task was solved, 1 when a task failed, 2 when the command or the Workspace cannot be used.\n";

namespace {

constexpr int kTaskFailed = 1;
constexpr int kUnusable = 2;

struct SolveOptions {
    std::string workspace;
    std::map<std::string, std::string> values; // option name -> its text
};

const char* const kOptions[] = {"--task",        "--omega",      "--threshold",
                                "--check-every", "--max-cycles", "--lang"};

SolveOptions parse_options(const std::vector<std::string>& args) {
    SolveOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            if (std::find(std::begin(kOptions), std::end(kOptions), a) == std::end(kOptions)) {
                throw Unusable{"unknown option " + a};
            }
            if (i + 1 == args.size()) {
                throw Unusable{a + " needs a value"};
            }
            o.values[a] = args[++i];
        } else if (o.workspace.empty()) {
            o.workspace = a;
        } else {
            throw Unusable{"more than one Workspace given (\"" + o.workspace + "\", \"" + a +
                           "\")"};
        }
    }
    if (o.workspace.empty()) {
        throw Unusable{"no Workspace given"};
    }
    return o;
}

std::optional<std::string> option(const SolveOptions& o, const std::string& name) {
    const auto it = o.values.find(name);
    return it == o.values.end() ? std::nullopt : std::optional(it->second);
}

// A number as the parameter fields take it: with the DecimalChar, or with a point.
std::optional<double> real_option(const std::string& text, char decimal_char) {
    if (auto v = parse_real(text, decimal_char)) {
        return v;
    }
    return parse_real(text, '.');
}

// The four scheme parameters, checked in the order and with the ranges of the parameter step of
// the optimisation window; a failure names the option and gives the window's warning.
SchemeParameters scheme_parameters(const SolveOptions& o, const LanguageShell& shell,
                                   char decimal_char) {
    SchemeParameters p;
    // Sets `value` from the option when it is given: a text that is not a number, or a value
    // outside the range of the parameter step, is refused with the window's warning.
    auto take = [&](const char* name, SchemeField field, auto& value) {
        const auto text = option(o, name);
        if (!text) {
            return;
        }
        std::optional<double> v;
        if (field == SchemeField::Omega || field == SchemeField::Threshold) {
            v = real_option(*text, decimal_char);
        } else if (const auto i = parse_int(*text)) {
            v = *i;
        }
        if (!v || !scheme_value_admitted(field, *v)) {
            throw Unusable{std::string(name) + " " + *text + ": " +
                           (v ? scheme_warning(shell, field) : std::string("not a number"))};
        }
        value = static_cast<std::remove_reference_t<decltype(value)>>(*v);
    };
    take("--omega", SchemeField::Omega, p.omega);
    take("--threshold", SchemeField::Threshold, p.threshold);
    take("--check-every", SchemeField::CheckEvery, p.check_every);
    take("--max-cycles", SchemeField::MaxCycles, p.max_cycles);
    return p;
}

// The lines of a run, one printed line per text shown; cleared lines print nothing.
class PrintedRun : public RunProgress {
public:
    void show(RunLine line, const std::string& text) override {
        if (!text.empty()) {
            (line == RunLine::Message ? std::cerr : std::cout) << text << std::endl;
        }
    }
};

} // namespace

int run_solve_command(const std::vector<std::string>& args) {
    try {
        const SolveOptions o = parse_options(args);
        const std::string& workspace = o.workspace;
        std::error_code ec;
        if (!std::filesystem::is_directory(ws_path(workspace, "Solving"), ec)) {
            throw Unusable{"\"" + workspace + "\" is not a Workspace: it has no folder Solving"};
        }
        const LanguageShell shell = workspace_shell(workspace, option(o, "--lang"));
        const RegionalSettings regional = batch_regional_settings(shell);
        SolveSetup setup{workspace,
                         shell,
                         regional.decimalChar,
                         scheme_parameters(o, shell, regional.decimalChar),
                         read_info_file(workspace, shell),
                         runClock(regional)};

        // The queue: the input files of Solving in name order, or the one task asked for.
        std::vector<std::string> codes;
        if (const auto task = option(o, "--task")) {
            std::string code = *task;
            for (char& ch : code) {
                ch = char(std::toupper(static_cast<unsigned char>(ch)));
            }
            if (!is_task_code(code)) {
                throw Unusable{"--task " + *task + ": a task code has six Latin letters or digits"};
            }
            const std::string file = "kov_" + code + "_in.dat";
            if (!file_exists(ws_path(workspace, "Solving/" + file))) {
                std::cerr << shell.text(txt::TaskCannotBeSolved) << ". "
                          << shell.text(txt::NoInputFile) << " \"" << file << "\".\n";
                return kTaskFailed;
            }
            codes.push_back(code);
        } else {
            codes = queued_task_codes(workspace);
            if (codes.empty()) {
                std::cout << shell.text(txt::BatchImpossible) << ". "
                          << shell.text(txt::NoQueuedInputFiles) << ".\n";
                return 0;
            }
        }

        int status = 0;
        PrintedRun progress;
        for (const std::string& code : codes) {
            try {
                if (!solve_task(code, setup, progress).result.complete) {
                    status = kTaskFailed;
                }
            } catch (const std::exception& e) {
                // A task that cannot be read is reported and the queue goes on.
                std::cerr << "kov-batch: " << e.what() << "\n";
                status = kTaskFailed;
            }
        }
        return status;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch solve: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch solve: " << e.what() << "\n";
        return kUnusable;
    }
}
