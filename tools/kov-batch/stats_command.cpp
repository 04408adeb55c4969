#include "stats_command.h"

#include "batch_workspace.h"

#include "io/files.h"
#include "stats/modelling.h"

#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>

using namespace kov;

namespace {

constexpr int kRefused = 1;
constexpr int kUnusable = 2;

struct StatsOptions {
    std::string workspace;
    std::string code;
    std::optional<std::string> trials;
    std::optional<std::string> lang;
};

StatsOptions parse_options(const std::vector<std::string>& args) {
    StatsOptions o;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--trials" || a == "--lang") {
            if (i + 1 == args.size()) {
                throw Unusable{a + " needs a value"};
            }
            (a == "--trials" ? o.trials : o.lang) = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            throw Unusable{"unknown option " + a};
        } else {
            words.push_back(a);
        }
    }
    if (words.size() != 2) {
        throw Unusable{"a Workspace and a task code are needed"};
    }
    if (!o.trials) {
        throw Unusable{"--trials is needed"};
    }
    o.workspace = words[0];
    o.code = words[1];
    // The code field of the window shows letters in upper case.
    for (char& c : o.code) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return o;
}

} // namespace

int run_stats_command(const std::vector<std::string>& args) {
    try {
        const StatsOptions o = parse_options(args);
        std::error_code ec;
        if (!std::filesystem::is_directory(ws_path(o.workspace, "Data"), ec)) {
            throw Unusable{"\"" + o.workspace + "\" is not a Workspace: it has no folder Data"};
        }
        const LanguageShell shell = workspace_shell(o.workspace, o.lang);
        const StatRequest request =
            check_stat_request(o.workspace, o.code, *o.trials, shell.codepage);
        if (request.refusal == StatRefusal::TrialsNotNumber) {
            throw Unusable{"--trials " + *o.trials + ": not a whole number"};
        }
        if (request.refusal != StatRefusal::None) {
            std::cerr << stat_refusal_text(shell, request.refusal, o.code) << "\n";
            return kRefused;
        }
        // The elapsed time is written with the locale's time separator, as the window writes it.
        const RegionalSettings regional = batch_regional_settings(shell);
        const auto elapsed = [&](double seconds) {
            return regional.durationText(seconds).toStdString();
        };
        create_statistics(o.workspace, o.code, shell.suffix, shell.codepage, request.trials,
                          elapsed);
        std::cout << stat_done_text(shell, o.code) << "\n";
        return 0;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch stats: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch stats: " << e.what() << "\n";
        return kRefused;
    }
}
