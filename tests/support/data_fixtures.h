#pragma once

// Data files built with the project's own writers, for the tests of the data files, the
// robustness test and the fuzz targets' seeds.

#include "dbor/bdon.h"
#include "optim/solution_file.h"
#include "stats/stat_file.h"
#include "task/task_files.h"
#include "task/ticks.h"

#include <string>
#include <vector>

namespace fixtures {

// One modernisation variant: the point counts of its sale variants and of its exploitation
// variants (0 or 2..10 each).
struct VariantShape {
    std::vector<int> sale;
    std::vector<int> expl;
};
// One object: its variants 0..n.
using ObjectShape = std::vector<VariantShape>;

// A valid delay curve of `p` points: (0, 0) rising to value 1.
inline std::vector<kov::DborPoint> curve(int p, double scale) {
    std::vector<kov::DborPoint> pts;
    for (int t = 0; t < p; ++t) {
        const double y = p == 1 ? 1.0 : double(t) / double(p - 1);
        pts.push_back({scale * t, t == p - 1 ? 1.0 : y * y});
    }
    return pts;
}

// A BDON of the given shape, with deterministic costs, revenues and curves, and the four header
// counts computed over it.
inline kov::BdonData make_bdon(char type, const std::string& code,
                               const std::vector<ObjectShape>& shape,
                               const std::string& name = "Test database",
                               const std::string& language = "eng") {
    kov::BdonData d;
    d.header.language = language;
    d.header.type = std::string(1, type);
    d.header.code = code;
    d.header.name = name;
    d.header.mode = type == 'A' ? 1 : 2;
    d.header.cost_unit = "USD";
    d.header.time_unit = "months";
    d.header.m = std::int32_t(shape.size());
    d.header.saved = "01.02.2024";
    for (std::size_t i = 0; i < shape.size(); ++i) {
        kov::DborObject o;
        o.code = std::to_string(100000 + i + 1);
        o.description = "Object " + std::to_string(i + 1);
        o.cost = type == 'A' ? 1000.0 + 100.0 * double(i) : 0.0;
        o.n = std::int32_t(shape[i].size()) - 1;
        d.objects.push_back(o);
        d.variants.emplace_back();
        d.sale_variants.emplace_back();
        d.expl_variants.emplace_back();
        d.sale_points.emplace_back();
        d.expl_points.emplace_back();
        for (std::size_t j = 0; j < shape[i].size(); ++j) {
            const VariantShape& vs = shape[i][j];
            kov::DborVariant v;
            v.description = "Variant " + std::to_string(i + 1) + "." + std::to_string(j);
            v.cost = j == 0 ? 0.0 : 50.0 * double(j) + double(i);
            v.duration = j == 0 ? 0.0 : 1.5 * double(j);
            v.s = std::int32_t(vs.sale.size());
            v.e = std::int32_t(vs.expl.size());
            d.variants[i].push_back(v);
            d.sale_variants[i].emplace_back();
            d.expl_variants[i].emplace_back();
            d.sale_points[i].emplace_back();
            d.expl_points[i].emplace_back();
            for (std::size_t k = 0; k < vs.sale.size(); ++k) {
                d.sale_variants[i][j].push_back({1500.0 + 10.0 * double(i + j + k), vs.sale[k]});
                d.sale_points[i][j].push_back(curve(vs.sale[k], 2.0 + double(k)));
            }
            for (std::size_t k = 0; k < vs.expl.size(); ++k) {
                d.expl_variants[i][j].push_back({20.0 + double(i + j + k), vs.expl[k]});
                d.expl_points[i][j].push_back(curve(vs.expl[k], 3.0 + double(k)));
            }
        }
    }
    kov::store_usable_counts(d);
    return d;
}

// A small database of every kind of record: 3 objects with 1, 0 and 2 modernisation variants,
// sale and exploitation variants with and without curves.
inline kov::BdonData small_bdon(char type = 'A', const std::string& code = "123") {
    return make_bdon(type, code,
                     {
                         {{{4}, {0}}, {{3, 2}, {5}}},
                         {{{0}, {}}},
                         {{{}, {2}}, {{2}, {3, 4}}, {{10}, {}}},
                     });
}

// The wizard's data of a task against `bdon`: every listed object selected, every object chosen
// that has a variant with a usable income variant, those variants chosen and, with pay-back, every
// income variant with points chosen.
inline kov::TaskDefinition make_definition(const kov::BdonData& bdon, int tipz, int nsg,
                                           const std::string& code = "TASK01") {
    kov::TaskDefinition def;
    kov::TaskHeader& h = def.header;
    h.shifr = code;
    h.name = "Task " + code;
    h.reg = bdon.header.mode;
    h.tipz = tipz;
    h.shifr_db = kov::dbor_code(bdon.header);
    h.prmp = tipz <= 2 ? 1 : 2;
    h.prok = tipz % 2 == 0 ? 1 : 0;
    h.nsg = nsg;
    h.nt = h.prok ? nsg : 0;
    h.ps = 12.5;
    h.por = h.reg == 1 ? 1.1 : 0;
    h.mzad = 10;
    h.ogrn = 0;
    h.toc = 0;
    h.delta = 10;
    h.faza = 1234;
    h.stat = h.prok;
    if (h.prok) {
        h.tmx = h.reg == 1 ? 0.9 : 12;
        h.tmn = h.reg == 1 ? 0.5 : 6;
        h.soi = h.reg == 1 ? 24 : 0;
        h.nsd = h.reg == 2 ? 300 : 0;
        h.srok = 5;
        h.ver = 0.3;
    }
    const auto listed = kov::listed_objects(bdon, tipz);
    h.mt = std::int32_t(listed.size());
    def.row_marks.assign(listed.size(), true);
    const std::size_t m = bdon.objects.size();
    def.object_marks.assign(m, false);
    def.variant_marks.resize(m);
    def.income_marks = kov::empty_income_marks(bdon, h.prmp);
    for (std::size_t i = 0; i < m; ++i) {
        def.variant_marks[i].assign(bdon.variants[i].size(), false);
        for (std::size_t j = 0; j < bdon.variants[i].size(); ++j) {
            bool any = false;
            const std::size_t count =
                h.prmp == 1 ? bdon.sale_variants[i][j].size() : bdon.expl_variants[i][j].size();
            for (std::size_t k = 0; k < count; ++k) {
                const int p =
                    h.prmp == 1 ? bdon.sale_variants[i][j][k].p : bdon.expl_variants[i][j][k].q;
                if (!h.prok || p >= 2) {
                    any = true;
                    if (h.prok) {
                        def.income_marks[i][j][k] = true;
                    }
                }
            }
            if (any) {
                def.variant_marks[i][j] = true;
                def.object_marks[i] = true;
            }
        }
    }
    for (int k = 0; k < nsg; ++k) {
        def.variants.push_back({h.prok ? 2000.0 : 1000.0 + 500.0 * k, h.prok ? 700.0 : 250.0 * k});
    }
    def.shell_file_name = "Shell (KOV 1.0).eng";
    return def;
}

inline kov::Solution make_solution(const kov::TaskInput& in) {
    kov::Solution s;
    s.header.info1 = "Information line 2";
    s.header.info2 = "Information line 4";
    s.header.info3 = "Information line 6";
    s.header.duration = "0:00:01";
    s.header.message = std::string(255, ' ');
    s.header.kr = 5;
    s.header.lchi = 1000;
    s.header.result = 1;
    s.header.end_time = 0.5;
    s.header.end_date = 45000;
    s.header.okr = 0.5;
    s.header.ko = 0.01;
    const auto& h = in.header;
    if (kov::solution_has_body(h.nsg, h.mz)) {
        for (int v = 0; v < h.nsg; ++v) {
            s.cycles.push_back(10 + v);
            std::vector<kov::ChoiceTriple> plan;
            for (std::size_t g = 0; g < in.groups.size(); ++g) {
                const auto& group = in.groups[g];
                plan.push_back(group[(std::size_t(v) + g) % group.size()]);
            }
            s.plans.push_back(plan);
        }
    }
    return s;
}

inline kov::StatFile make_stat_file(int nsg) {
    kov::StatFile s;
    s.header.trials = 10000;
    s.header.elapsed = "0:00:02";
    s.header.money_unit = "USD";
    s.header.time_unit = "months";
    for (int v = 0; v < nsg; ++v) {
        kov::TStatVariant r;
        r.number = nsg - v; // sorted: the last variant first
        r.own = 1000;
        r.credit = 200 + v;
        r.full_cost = 900;
        r.expected_income = 100.0 - v;
        r.payback_term = 24;
        r.payback_coefficient = 0.9 - 0.1 * v;
        r.payback_amount = 810;
        r.computed_mean = 50.25;
        r.simulated_mean = 49.75;
        s.variants.push_back(r);
        kov::TStatBlock b;
        for (int j = 0; j < 10; ++j) {
            b[std::size_t(j)] = {double(j + 1) / 10, 10.0 * (v + 1) + j};
        }
        s.blocks.push_back(b);
    }
    return s;
}

} // namespace fixtures
