#include "view/plan_proof.h"

#include "io/numbers.h"
#include "optim/solve_task.h"
#include "shell/texts.h"
#include "task/task_files.h"

namespace kov {

namespace {

const std::vector<ChoiceTriple>& plan_of(const PlanProofInput& in, std::size_t v) {
    static const std::vector<ChoiceTriple> none;
    return v < in.solution.plans.size() ? in.solution.plans[v] : none;
}

std::string value_text(const std::optional<double>& x, char dc) {
    return x ? format_fixed(*x, 2, dc) : std::string("-");
}

// The group's object: its number and its database record.
int object_number(const SolverTask& task, int g) {
    const auto& alts = task.groups[std::size_t(g)];
    return alts.size() > 1 ? alts[1].triple.object : 0;
}

} // namespace

PlanProofInput read_plan_proof_input(const std::string& workspace, std::string_view code,
                                     const LanguageShell& shell) {
    const CodePage cp = shell.codepage;
    PlanProofInput in;
    const std::string input_file = task_file_path(workspace, "Data", code, "_in");
    in.task = read_task_header(input_file, cp);
    in.bdon = read_bdon(task_bdon_base(workspace, in.task, shell.suffix), cp);
    const TaskInput input = read_solver_input(input_file, in.bdon, cp);
    in.solver = solver_task(input, in.bdon, input_file);
    in.solution = read_solution(task_file_path(workspace, "Data", in.task.shifr, "_out"), in.task,
                                in.bdon, &input.groups, cp);
    return in;
}

std::vector<Certificate> certify_solution(const PlanProofInput& in) {
    std::vector<Certificate> out;
    if (in.solution.header.result != 1) {
        return out;
    }
    for (std::size_t v = 0; v < in.solver.variants.size(); ++v) {
        out.push_back(certify(in.solver, int(v), plan_of(in, v)));
    }
    return out;
}

std::string certificate_text(const Certificate& c, const LanguageShell& shell, char decimal_char,
                             const std::string& money_unit) {
    if (!c.solved) {
        return "-";
    }
    if (c.optimal()) {
        return shell.text(txt::ProofOptimal);
    }
    std::string text = shell.text(txt::ProofGap) + " ";
    const auto gap = c.gap();
    text += gap ? format_fixed(*gap, 2, decimal_char) : std::string("-");
    text += " " + money_unit;
    if (const auto percent = c.gap_percent()) {
        text += " (" + format_fixed(*percent, 2, decimal_char) + " %)";
    }
    return text;
}

std::string certificate_summary(const std::vector<Certificate>& certificates,
                                const LanguageShell& shell, char decimal_char,
                                const std::string& money_unit, const VariantFlags& shown) {
    std::string parts;
    for (std::size_t v = 0; v < certificates.size() && v < shown.size(); ++v) {
        if (!shown[v] || !certificates[v].solved) {
            continue;
        }
        parts += parts.empty() ? "" : "; ";
        parts += std::to_string(v + 1) + ": " +
                 certificate_text(certificates[v], shell, decimal_char, money_unit);
    }
    return parts.empty() ? parts : shell.text(txt::ProofHeading) + ": " + parts;
}

std::optional<std::vector<VariantWhy>>
why_solution(const PlanProofInput& in, const VariantFlags& shown, const WhyProgress& progress) {
    std::vector<VariantWhy> out;
    if (in.solution.header.result != 1) {
        return out;
    }
    std::vector<int> variants;
    for (std::size_t v = 0; v < in.solver.variants.size() && v < shown.size(); ++v) {
        if (shown[v] && certify(in.solver, int(v), plan_of(in, v)).solved) {
            variants.push_back(int(v));
        }
    }
    const int groups = int(in.solver.groups.size());
    const int total = groups * int(variants.size());
    for (std::size_t k = 0; k < variants.size(); ++k) {
        const int before = int(k) * groups;
        const auto step = [&](int done, int) {
            return !progress || progress(before + done, total);
        };
        auto t = why_plan(in.solver, variants[k], plan_of(in, std::size_t(variants[k])), step);
        if (!t) {
            return std::nullopt;
        }
        // A variant that invested in nothing has no thresholds to show.
        if (!t->empty()) {
            out.push_back({variants[k] + 1, std::move(*t)});
        }
    }
    return out;
}

ViewGrid why_grid(const PlanProofInput& in, const std::vector<VariantWhy>& why,
                  const LanguageShell& shell, char decimal_char) {
    ViewGrid grid;
    const std::string& money = in.bdon.header.cost_unit;
    const std::string unit =
        in.task.prmp == 1 ? money : money + "/" + std::string(in.bdon.header.time_unit);
    grid.columns = {
        {shell.text(txt::VariantNumberColumn)}, {shell.text(txt::ObjectNumberColumn)},
        {shell.text(txt::ObjectCode)},          {shell.text(txt::ObjectDescription)},
        {shell.text(txt::ProofInPlan)},         {shell.text(txt::ProofChange) + " (" + unit + ")"}};
    for (std::size_t k = 0; k < why.size(); ++k) {
        if (k > 0) {
            grid.rows.push_back({{}, true});
        }
        for (const WhyThreshold& w : why[k].thresholds) {
            const int object = object_number(in.solver, w.group);
            const DborObject* o = object >= 1 && std::size_t(object) <= in.bdon.objects.size()
                                      ? &in.bdon.objects[std::size_t(object - 1)]
                                      : nullptr;
            std::string change;
            if (w.reachable) {
                change.push_back(w.taken ? '-' : '+');
                change += format_fixed(w.change, 2, decimal_char);
            } else {
                change = shell.text(txt::ProofNever);
            }
            grid.rows.push_back({{std::to_string(why[k].variant), std::to_string(object),
                                  o ? o->code : std::string(), o ? o->description : std::string(),
                                  shell.text(w.taken ? txt::Yes : txt::No), change}});
        }
    }
    return grid;
}

std::vector<std::vector<std::string>> proof_lines(const std::vector<Certificate>& certificates,
                                                  const VariantFlags& shown, char decimal_char) {
    std::vector<std::vector<std::string>> lines;
    for (std::size_t v = 0; v < certificates.size() && v < shown.size(); ++v) {
        const Certificate& c = certificates[v];
        if (!shown[v] || !c.solved) {
            continue;
        }
        lines.push_back({"proof", std::to_string(v + 1),
                         c.nothing ? std::string("-") : value_text(c.plan_value, decimal_char),
                         value_text(c.best_value, decimal_char),
                         value_text(c.gap(), decimal_char)});
    }
    return lines;
}

std::vector<std::vector<std::string>>
why_lines(const PlanProofInput& in, const std::vector<VariantWhy>& why, char decimal_char) {
    std::vector<std::vector<std::string>> lines;
    for (const VariantWhy& v : why) {
        for (const WhyThreshold& w : v.thresholds) {
            const int object = object_number(in.solver, w.group);
            const std::string code = object >= 1 && std::size_t(object) <= in.bdon.objects.size()
                                         ? in.bdon.objects[std::size_t(object - 1)].code
                                         : std::string();
            lines.push_back({"why", std::to_string(v.variant), std::to_string(object), code,
                             w.taken ? "1" : "0", w.taken ? "fall" : "rise",
                             w.reachable ? format_fixed(w.change, 2, decimal_char) : "-"});
        }
    }
    return lines;
}

} // namespace kov
