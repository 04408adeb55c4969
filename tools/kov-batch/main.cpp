// kov-batch: the optimisation module, the statistical modelling and the viewers without windows,
// for scripts.
//   kov-batch solve WORKSPACE [options]   solve the queued tasks
//   kov-batch stats WORKSPACE CODE --trials N [--lang SUFFIX]   model a solved task
//   kov-batch view task|solution|stats WORKSPACE CODE [options]   print what a viewer shows
//   kov-batch export database|task|solution|stats WORKSPACE CODE [options]   write a workbook
//   kov-batch import database WORKSPACE FILE TYPE CODE [--lang SUFFIX]   a database from one
#include "export_command.h"
#include "instance_lock.h"
#include "print_command.h"
#include "solve_command.h"
#include "stats_command.h"
#include "view_command.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void usage(std::ostream& out) {
    out << "usage: kov-batch solve WORKSPACE [--task CODE] [--omega W] [--threshold KO]\n"
           "                       [--check-every KR] [--max-cycles LIMIT] [--lang SUFFIX]\n"
           "       kov-batch stats WORKSPACE CODE --trials N [--lang SUFFIX]\n"
           "       kov-batch view task|solution|stats WORKSPACE CODE [--variants LIST]\n"
           "                      [--levels LIST] [--lang SUFFIX] [--proof] [--why]\n"
           "       kov-batch export database|task|solution|stats WORKSPACE CODE\n"
           "                        [--variants LIST] [--levels LIST] [--lang SUFFIX] [--out "
           "FILE]\n"
           "       kov-batch import database WORKSPACE FILE TYPE CODE [--lang SUFFIX]\n"
           "       kov-batch print task|solution|stats WORKSPACE CODE [--variants LIST]\n"
           "                       [--levels LIST] [--lang SUFFIX] [--out FILE.pdf]\n"
           "       kov-batch --help\n\n"
        << kSolveUsage
        << "\nstats runs the statistical modelling of a solved task with pay-back and writes\n"
           "Data/kov_<CODE>_stat.dat, with N trials per investment variant (100 to 100000).\n"
           "\nA Workspace the program or another kov-batch works on is refused with exit status "
           "2.\n\n"
        << kViewUsage << "\n"
        << kExportUsage << "\n"
        << kPrintUsage;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        usage(std::cerr);
        return 2;
    }
    const std::string& command = words.front();
    const std::vector<std::string> args(words.begin() + 1, words.end());
    if (command == "--help" || command == "-h" || command == "help") {
        usage(std::cout);
        return 0;
    }
    if (command == "solve" || command == "stats" || command == "import") {
        // The commands that write into the Workspace hold its lock while they run. The Workspace
        // is the first word that is no option (solve, stats) or the one after the kind (import).
        std::vector<std::string> words;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (args[i].rfind("--", 0) == 0) {
                ++i;
            } else {
                words.push_back(args[i]);
            }
        }
        const std::size_t at = command == "import" ? 1 : 0;
        const std::string workspace = words.size() > at ? words[at] : std::string();
        InstanceLock lock;
        if (!workspace.empty() && !lock.acquire(workspace)) {
            std::cerr << "kov-batch " << command << ": the Workspace \"" << workspace
                      << "\" is in use by Lite_TELM_KOV or another kov-batch; try again when it "
                         "has ended\n";
            return 2;
        }
        return command == "solve"   ? run_solve_command(args)
               : command == "stats" ? run_stats_command(args)
                                    : run_import_command(args);
    }
    if (command == "view") {
        return run_view_command(args);
    }
    if (command == "export") {
        return run_export_command(args);
    }
    if (command == "print") {
        return run_print_command(args);
    }
    std::cerr << "kov-batch: unknown command \"" << command << "\"\n";
    usage(std::cerr);
    return 2;
}
