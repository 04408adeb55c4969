#pragma once

// Small solved tasks with pay-back for the statistics, written with the project's own writers:
// a database, the task files and the solution.

#include "dbor/bdon.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "task/task_files.h"
#include "task/ticks.h"

#include <string>
#include <vector>

namespace stats_fixture {

// One sale or exploitation variant: its amount (A or R) and its delay curve.
struct Income {
    double amount = 0;
    std::vector<kov::DborPoint> curve;
};
// One modernisation variant (the first one of an object is the object without modernisation).
struct Variant {
    double cost = 0;
    double duration = 0;
    std::vector<Income> incomes;
};
struct Object {
    double cost = 0;
    std::vector<Variant> variants;
};

// The curve (0, 0), (x, 1): delays spread evenly over 0..x.
inline std::vector<kov::DborPoint> even_curve(double x) {
    return {{0, 0}, {x, 1}};
}

// A database of mode `reg` (type A code 001, or type B code 000001) whose incomes are sale
// variants (prmp 1) or exploitation variants (prmp 2).
inline kov::BdonData database(int reg, int prmp, const std::vector<Object>& objects) {
    kov::BdonData d;
    d.header.language = "eng";
    d.header.type = reg == 1 ? "A" : "B";
    d.header.code = reg == 1 ? "001" : "000001";
    d.header.name = "Statistics";
    d.header.mode = reg;
    d.header.cost_unit = "thousand";
    d.header.time_unit = "month";
    d.header.m = std::int32_t(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const Object& o = objects[i];
        kov::DborObject object;
        object.code = std::string(5, '0') + std::to_string(i + 1);
        object.description = "Object " + std::to_string(i + 1);
        object.cost = o.cost;
        object.n = std::int32_t(o.variants.size()) - 1;
        d.objects.push_back(object);
        d.variants.emplace_back();
        d.sale_variants.emplace_back();
        d.expl_variants.emplace_back();
        d.sale_points.emplace_back();
        d.expl_points.emplace_back();
        for (const Variant& v : o.variants) {
            kov::DborVariant variant;
            variant.description = "Variant";
            variant.cost = v.cost;
            variant.duration = v.duration;
            variant.s = prmp == 1 ? std::int32_t(v.incomes.size()) : 0;
            variant.e = prmp == 2 ? std::int32_t(v.incomes.size()) : 0;
            d.variants.back().push_back(variant);
            d.sale_variants.back().emplace_back();
            d.expl_variants.back().emplace_back();
            d.sale_points.back().emplace_back();
            d.expl_points.back().emplace_back();
            for (const Income& in : v.incomes) {
                const auto points = std::int32_t(in.curve.size());
                if (prmp == 1) {
                    d.sale_variants.back().back().push_back({in.amount, points});
                    d.sale_points.back().back().push_back(in.curve);
                } else {
                    d.expl_variants.back().back().push_back({in.amount, points});
                    d.expl_points.back().back().push_back(in.curve);
                }
            }
        }
    }
    kov::store_usable_counts(d);
    return d;
}

// The header of a task with pay-back and statistics on that database: nsg variants, pay-back
// series tmx..tmn with nt = nsg values, pay-back term soi (mode 1) or required income nsd.
inline kov::TaskHeader task_header(const std::string& code, int reg, int prmp, int nsg) {
    kov::TaskHeader h;
    h.shifr = code;
    h.name = "Statistics task";
    h.reg = reg;
    h.tipz = prmp == 1 ? 2 : 4;
    h.shifr_db = reg == 1 ? "A_001" : "B_000001";
    h.prmp = prmp;
    h.prok = 1;
    h.nsd = 25;
    h.soi = 20;
    h.tmx = 30;
    h.tmn = 10;
    h.nt = nsg;
    h.nsg = nsg;
    h.ps = 10;
    h.stat = 1;
    return h;
}

// A solved task on a Workspace: writes the database (its curves as they are when the task is
// defined), the descriptor and input file with every object, variant and income variant chosen
// (so mz is the number of objects), and the solution Data/kov_<code>_out.dat holding `plans`
// (nsg x mz records). The database is returned as written.
inline kov::BdonData write_solved_task(const std::string& workspace, kov::BdonData bdon,
                                       kov::TaskHeader h,
                                       const std::vector<kov::InvestmentVariant>& variants,
                                       const std::vector<std::vector<kov::ChoiceTriple>>& plans) {
    const kov::CodePage cp = kov::CodePage::Cp1252;
    kov::make_dirs(workspace + "/Dbor");
    kov::make_dirs(workspace + "/Data");
    kov::write_bdon(workspace, "eng", bdon, "01.02.2024", cp);

    kov::TaskDefinition def;
    h.mt = std::int32_t(kov::listed_objects(bdon, h.tipz).size());
    def.header = h;
    def.variants = variants;
    def.row_marks.assign(std::size_t(h.mt), true);
    def.object_marks.assign(bdon.objects.size(), true);
    def.income_marks = kov::empty_income_marks(bdon, h.prmp);
    for (std::size_t i = 0; i < bdon.objects.size(); ++i) {
        def.variant_marks.emplace_back(bdon.variants[i].size(), true);
        for (auto& marks : def.income_marks[i]) {
            marks.assign(marks.size(), true);
        }
    }
    def.shell_file_name = "Shell (KOV 1.0).eng";
    const kov::TaskFiles files = kov::build_task_files(def, bdon);
    kov::write_task_files(workspace, files.descriptor, files.input, bdon, cp);

    kov::Solution s;
    s.header.duration = "00:00:01";
    s.header.message = std::string(255, ' ');
    s.header.result = 1;
    s.cycles.assign(std::size_t(h.nsg), 3);
    s.plans = plans;
    kov::write_solution(kov::task_file_path(workspace, "Data", h.shifr, "_out"), s, cp);
    return bdon;
}

} // namespace stats_fixture
