#include "view_command.h"

#include "batch_workspace.h"

#include "io/error.h"
#include "io/files.h"
#include "task/task_code.h"
#include "view/plan_proof.h"
#include "view/solution_view.h"
#include "view/statistics_view.h"
#include "view/task_view.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

using namespace kov;

const char* const kViewUsage =
    "view prints what the task, solution or statistics viewer of the task CODE shows, one line\n"
    "each, fields separated by a tab: \"caption\", \"tab\", \"param\" KEY VALUE, \"grid\" N and\n"
    "its headings, \"row\" N and its cells, \"sep\" N for a separator row. LIST is "
    "comma-separated\n"
    "numbers, \"all\" (the default) or \"none\": --variants the investment variants 1..16 the\n"
    "solution viewer shows, --levels the risk levels 1..10 (0,1..1,0) the statistics viewer\n"
    "shows. Numbers use the locale's decimal separator.\n"
    "With the solution viewer, --proof adds per variant with a plan a line \"proof\" V PLAN BEST\n"
    "GAP: the value of the solver's plan, the best value over every plan the task admits and\n"
    "their difference (\"-\" for a missing value); --why adds per object of those variants a\n"
    "line \"why\" V OBJECT CODE TAKEN fall|rise CHANGE: how far its revenue (specific income)\n"
    "could fall before it would leave the best plan (TAKEN 1), or rise before it would enter\n"
    "it (TAKEN 0; \"-\" when no rise does).\n";

namespace {

constexpr int kRefused = 1;
constexpr int kUnusable = 2;

enum class Viewer { Task, Solution, Statistics };

struct ViewOptions {
    Viewer viewer = Viewer::Task;
    std::string workspace;
    std::string code;
    VariantFlags variants = all_flags<VariantFlags>();
    LevelFlags levels = all_flags<LevelFlags>();
    std::optional<std::string> lang;
    bool proof = false;
    bool why = false;
};

} // namespace

// A LIST of numbers 1..N: "all", "none" or numbers separated by commas.
template <typename Flags> Flags parse_list(const std::string& option, const std::string& list) {
    Flags flags{};
    if (list == "all") {
        flags.fill(true);
        return flags;
    }
    if (list == "none") {
        return flags;
    }
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const char* first = list.data() + from;
        const char* last = list.data() + comma;
        int n = 0;
        const auto r = std::from_chars(first, last, n);
        if (first == last || r.ec != std::errc() || r.ptr != last || n < 1 ||
            n > int(flags.size())) {
            throw Unusable{option + " " + list + ": not \"all\", \"none\" or numbers 1.." +
                           std::to_string(flags.size()) + " separated by commas"};
        }
        flags[std::size_t(n - 1)] = true;
        if (comma == list.size()) {
            return flags;
        }
        from = comma + 1;
    }
}

VariantFlags parse_variant_list(const std::string& list) {
    return parse_list<VariantFlags>("--variants", list);
}

LevelFlags parse_level_list(const std::string& list) {
    return parse_list<LevelFlags>("--levels", list);
}

namespace {

ViewOptions parse_options(const std::vector<std::string>& args) {
    ViewOptions o;
    std::vector<std::string> words;
    std::optional<std::string> variants;
    std::optional<std::string> levels;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--proof" || a == "--why") {
            (a == "--proof" ? o.proof : o.why) = true;
        } else if (a == "--variants" || a == "--levels" || a == "--lang") {
            if (i + 1 == args.size()) {
                throw Unusable{a + " needs a value"};
            }
            (a == "--variants" ? variants : a == "--levels" ? levels : o.lang) = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            throw Unusable{"unknown option " + a};
        } else {
            words.push_back(a);
        }
    }
    if (words.size() != 3) {
        throw Unusable{
            "a viewer (task, solution or stats), a Workspace and a task code are needed"};
    }
    if (words[0] == "task") {
        o.viewer = Viewer::Task;
    } else if (words[0] == "solution") {
        o.viewer = Viewer::Solution;
    } else if (words[0] == "stats") {
        o.viewer = Viewer::Statistics;
    } else {
        throw Unusable{"unknown viewer \"" + words[0] + "\": task, solution or stats"};
    }
    if (variants) {
        if (o.viewer != Viewer::Solution) {
            throw Unusable{"--variants belongs to the solution viewer"};
        }
        o.variants = parse_variant_list(*variants);
    }
    if ((o.proof || o.why) && o.viewer != Viewer::Solution) {
        throw Unusable{std::string(o.proof ? "--proof" : "--why") +
                       " belongs to the solution viewer"};
    }
    if (levels) {
        if (o.viewer != Viewer::Statistics) {
            throw Unusable{"--levels belongs to the statistics viewer"};
        }
        o.levels = parse_level_list(*levels);
    }
    o.workspace = words[1];
    o.code = words[2];
    // The task selection shows codes in upper case.
    for (char& c : o.code) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!is_task_code(o.code)) {
        throw Unusable{"\"" + words[2] + "\" is not a task code (six letters or digits)"};
    }
    return o;
}

void write_field(std::ostream& out, const std::string& text) {
    out << '\t';
    for (char c : text) {
        switch (c) {
        case '\\':
            out << "\\\\";
            break;
        case '\t':
            out << "\\t";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\n':
            out << "\\n";
            break;
        default:
            out << c;
        }
    }
}

void write_line(std::ostream& out, const std::vector<std::string>& fields) {
    out << fields.front();
    for (std::size_t k = 1; k < fields.size(); ++k) {
        write_field(out, fields[k]);
    }
    out << '\n';
}

// The certificate and the why lines of the selected variants, after the viewer's content.
void write_proof(std::ostream& out, const ViewOptions& o, const LanguageShell& shell, char dc) {
    const PlanProofInput in = read_plan_proof_input(o.workspace, o.code, shell);
    if (o.proof) {
        for (const auto& line : proof_lines(certify_solution(in), o.variants, dc)) {
            write_line(out, line);
        }
    }
    if (o.why) {
        for (const auto& line : why_lines(in, *why_solution(in, o.variants), dc)) {
            write_line(out, line);
        }
    }
}

} // namespace

void write_view_content(std::ostream& out, const ViewContent& content) {
    out << "caption";
    write_field(out, content.caption);
    out << '\n';
    for (const std::string& tab : content.tabs) {
        out << "tab";
        write_field(out, tab);
        out << '\n';
    }
    for (const ViewParam& p : content.params) {
        out << "param";
        write_field(out, p.key);
        write_field(out, p.value);
        out << '\n';
    }
    for (std::size_t g = 0; g < content.grids.size(); ++g) {
        const ViewGrid& grid = content.grids[g];
        out << "grid\t" << g + 1;
        for (const ViewColumn& c : grid.columns) {
            write_field(out, c.heading);
        }
        out << '\n';
        for (const ViewRow& r : grid.rows) {
            if (r.separator) {
                out << "sep\t" << g + 1 << '\n';
                continue;
            }
            out << "row\t" << g + 1;
            for (const std::string& cell : r.cells) {
                write_field(out, cell);
            }
            out << '\n';
        }
    }
}

int run_view_command(const std::vector<std::string>& args) {
    try {
        const ViewOptions o = parse_options(args);
        std::error_code ec;
        if (!std::filesystem::is_directory(ws_path(o.workspace, "Data"), ec)) {
            throw Unusable{"\"" + o.workspace + "\" is not a Workspace: it has no folder Data"};
        }
        const LanguageShell shell = workspace_shell(o.workspace, o.lang);
        const char dc = batch_regional_settings(shell).decimalChar;
        switch (o.viewer) {
        case Viewer::Task:
            write_view_content(std::cout, build_task_view(o.workspace, o.code, shell, dc).content);
            break;
        case Viewer::Solution:
            write_view_content(
                std::cout, build_solution_view(o.workspace, o.code, shell, dc, o.variants).content);
            if (o.proof || o.why) {
                write_proof(std::cout, o, shell, dc);
            }
            break;
        case Viewer::Statistics:
            write_view_content(
                std::cout, build_statistics_view(o.workspace, o.code, shell, dc, o.levels).content);
            break;
        }
        return 0;
    } catch (const Unusable& u) {
        std::cerr << "kov-batch view: " << u.text << "\n";
        return kUnusable;
    } catch (const FileError& e) {
        std::cerr << "kov-batch view: " << e.what() << "\n";
        return kRefused;
    }
}
