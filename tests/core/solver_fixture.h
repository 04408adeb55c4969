#pragma once

// Solver tasks for tests and benchmarks: hand-made ones built straight as a SolverTask, and
// generated ones as a database and an input file such as the task wizard writes.

#include "dbor/bdon.h"
#include "optim/solver.h"
#include "shell/language_shell.h"
#include "task/task_files.h"
#include "task/ticks.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace solver_fixture {

// A shell whose texts say their number ("T126"); the short texts ("S23") are padded with blanks,
// so lines that take them trimmed show it.
inline kov::LanguageShell numbered_texts() {
    kov::LanguageShell shell;
    shell.suffix = "eng";
    for (int k = 0; k < 540; ++k) {
        shell.texts.push_back("T" + std::to_string(k));
    }
    for (int k = 0; k < 33; ++k) {
        shell.short_texts.push_back(" S" + std::to_string(k) + " ");
    }
    return shell;
}

// A header of the task type (1..4) in the investment mode, tick 1, rounding to nearest.
inline kov::TaskHeader task_header(int tipz, int reg = 1) {
    kov::TaskHeader h;
    h.shifr = "TASK01";
    h.reg = reg;
    h.tipz = tipz;
    h.shifr_db = reg == 1 ? "A_001" : "B_000001";
    h.prmp = tipz <= 2 ? 1 : 2;
    h.prok = tipz % 2 == 0 ? 1 : 0;
    h.delta = 1;
    return h;
}

// An alternative costing `cost` (money, as the object's cost) and bringing `amount`; with a
// linear delay curve from 0 to `delay` when delay > 0.
inline kov::SolverAlternative alternative(kov::ChoiceTriple triple, double cost, double amount,
                                          double delay = 0) {
    kov::SolverAlternative a;
    a.triple = triple;
    a.object_cost = cost;
    a.amount = amount;
    if (delay > 0) {
        a.curve = {{0, 0}, {delay, 1}};
    }
    return a;
}

// Group g (1-based object number) with alternative 0 and one alternative per (cost, amount).
inline std::vector<kov::SolverAlternative>
group(int object, const std::vector<std::pair<double, double>>& cost_amount, double delay = 0) {
    std::vector<kov::SolverAlternative> g{kov::SolverAlternative{}};
    int s = 0;
    for (const auto& [cost, amount] : cost_amount) {
        g.push_back(alternative({object, s++, 1}, cost, amount, delay));
    }
    return g;
}

// The generated database and input file of one task.
struct GeneratedTask {
    kov::BdonData bdon;
    kov::TaskInput input;
};

// What the generator is asked for; the rest is drawn.
struct Shape {
    int tipz = 1;
    int reg = 1;
    bool limit = false;    // an object limit (ogrn > 0)
    int max_groups = 4;    // mz in 0..max_groups (at most the objects of the database)
    int max_money = 8;     // own funds + credit in ticks, up to this
    int max_payback = 6;   // pay-back bound in ticks, up to this
    bool hopeless = false; // mode 2 with pay-back: a required income no plan can meet
    double scale = 1;      // revenues and specific incomes multiplied by it (large amounts)
    bool late = false;     // most delay curves start late: no income by an early horizon
};

// Deterministic: the same seed gives the same tasks on every platform (only the engine's raw
// output is used, never a library distribution).
class TaskGenerator {
public:
    explicit TaskGenerator(std::uint64_t seed)
        : rng_(seed) {}

    int pick(int lo, int hi) { return lo + static_cast<int>(rng_() % std::uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    GeneratedTask next(const Shape& shape) {
        GeneratedTask t;
        kov::TaskHeader& h = t.input.header;
        h = task_header(shape.tipz, shape.reg);
        h.shifr = "GEN" + std::to_string(100 + pick(0, 899));
        const double ticks[] = {1, 0.5, 2.5, 10};
        h.delta = ticks[pick(0, 3)];
        h.toc = pick(0, 2);
        h.ps = chance(50) ? 0 : pick(1, 30);
        h.nsg = pick(1, h.prok == 1 ? 3 : 4);
        h.nt = h.prok == 1 ? h.nsg : 0;
        h.soi = h.prok == 1 && h.reg == 1 ? pick(2, 12) : 0;
        if (h.prok == 1) {
            if (h.reg == 1) {
                h.tmx = pick(20, 100) / 100.0;
                h.tmn = h.tmx * pick(30, 100) / 100.0;
            } else {
                h.tmn = pick(1, 8);
                h.tmx = h.tmn + pick(0, 10);
                h.nsd = shape.hopeless ? h.delta * (shape.max_payback + 2) * pick(1, 3)
                        : chance(60)   ? 0
                                       : h.delta * pick(0, 4) * 0.5;
            }
        }
        t.bdon = database(h, shape.scale, shape.late);
        h.mt = static_cast<std::int32_t>(kov::listed_objects(t.bdon, h.tipz).size());
        choose_groups(t, shape);
        h.ogrn = shape.limit ? pick(1, 3) : 0;
        for (int v = 0; v < h.nsg; ++v) {
            kov::InvestmentTicks k;
            k.own = pick(0, shape.max_money);
            k.credit = pick(0, shape.max_money - k.own);
            k.payback = h.prok == 1 ? pick(0, shape.max_payback) : 0;
            if (h.prok == 1 && v > 0) { // the same money in every variant of a pay-back task
                k.own = t.input.ticks[0].own;
                k.credit = t.input.ticks[0].credit;
                if (h.reg == 2) {
                    k.payback = t.input.ticks[0].payback;
                }
            }
            t.input.ticks.push_back(k);
        }
        t.input.payback_series = kov::payback_series(h);
        t.input.shell_file_name = "Shell (KOV 1.0).eng";
        return t;
    }

private:
    // A delay curve of 2 to 5 points from (0, 0) to value 1; a late one stays at 0 for a while.
    std::vector<kov::DborPoint> curve(bool late) {
        std::vector<kov::DborPoint> c{{0, 0}};
        const int inner = pick(0, 2);
        double x = 0, y = 0;
        if (late && chance(75)) {
            x = pick(4, 12);
            c.push_back({x, 0});
        }
        for (int k = 0; k < inner; ++k) {
            x += pick(1, 4);
            y += (1 - y) * pick(10, 60) / 100.0;
            c.push_back({x, y});
        }
        c.push_back({x + pick(1, 5), 1});
        return c;
    }

    // Money that comes to a few ticks, now and then between two ticks.
    double money(double delta, int lo, int hi) {
        const double fractions[] = {0, 0, 0.25, 0.5, 0.75};
        return delta * (pick(lo, hi) + fractions[pick(0, 4)]);
    }

    kov::BdonData database(const kov::TaskHeader& h, double scale, bool late) {
        kov::BdonData db;
        db.header.language = "eng";
        db.header.type = h.reg == 1 ? "A" : "B";
        db.header.code = h.reg == 1 ? "001" : "000001";
        db.header.name = "generated";
        db.header.mode = h.reg;
        db.header.cost_unit = "USD";
        db.header.time_unit = "days";
        const int m = pick(1, 5);
        for (int i = 0; i < m; ++i) {
            kov::DborObject o;
            o.code = "00000" + std::to_string(i + 1);
            o.cost = h.reg == 1 ? money(h.delta, 1, 3) : 0;
            o.n = pick(0, 2);
            db.objects.push_back(o);
            auto& vars = db.variants.emplace_back();
            auto& sales = db.sale_variants.emplace_back();
            auto& expls = db.expl_variants.emplace_back();
            auto& sale_pts = db.sale_points.emplace_back();
            auto& expl_pts = db.expl_points.emplace_back();
            for (int j = 0; j <= o.n; ++j) {
                kov::DborVariant v;
                if (j > 0) {
                    // Now and then a copy of the previous variant: equal alternatives.
                    const bool copy = j > 1 && chance(30);
                    v.cost = copy ? vars.back().cost : money(h.delta, 1, 3);
                    v.duration = copy ? vars.back().duration : pick(1, 3);
                }
                v.s = pick(1, 3);
                v.e = pick(1, 3);
                vars.push_back(v);
                const double full = o.cost + v.cost;
                auto& s = sales.emplace_back();
                auto& sp = sale_pts.emplace_back();
                for (int k = 0; k < v.s; ++k) {
                    const double revenue = j > 1 && k == 0 && chance(30) && !sales[j - 1].empty()
                                               ? sales[j - 1][0].revenue
                                               : full * pick(50, 220) / 100.0 * scale;
                    s.push_back({revenue, 0});
                    sp.push_back(curve(late));
                    s.back().p = static_cast<std::int32_t>(sp.back().size());
                }
                auto& e = expls.emplace_back();
                auto& ep = expl_pts.emplace_back();
                for (int k = 0; k < v.e; ++k) {
                    e.push_back({h.delta * pick(0, 40) / 10.0 * scale, 0});
                    ep.push_back(curve(late));
                    e.back().q = static_cast<std::int32_t>(ep.back().size());
                }
            }
        }
        db.header.m = m;
        kov::store_usable_counts(db);
        return db;
    }

    // Chosen objects in ascending order, each with (-1, -1, -1) and its chosen triples.
    void choose_groups(GeneratedTask& t, const Shape& shape) {
        kov::TaskHeader& h = t.input.header;
        const int m = static_cast<int>(t.bdon.objects.size());
        const int mz = pick(0, std::min(shape.max_groups, std::min(m, h.mt)));
        std::vector<int> objects(static_cast<std::size_t>(m));
        for (int i = 0; i < m; ++i) {
            objects[static_cast<std::size_t>(i)] = i;
        }
        for (int k = 0; k < m; ++k) { // a partial shuffle, then the first mz in ascending order
            std::swap(objects[static_cast<std::size_t>(k)],
                      objects[static_cast<std::size_t>(pick(k, m - 1))]);
        }
        objects.resize(static_cast<std::size_t>(mz));
        std::sort(objects.begin(), objects.end());
        for (int i : objects) {
            auto& g = t.input.groups.emplace_back();
            g.push_back(kov::kNotTaken);
            const auto& vars = t.bdon.variants[static_cast<std::size_t>(i)];
            for (int j = 0; j < static_cast<int>(vars.size()); ++j) {
                if (j > 0 && chance(25)) {
                    continue;
                }
                const int incomes = h.prmp == 1 ? vars[static_cast<std::size_t>(j)].s
                                                : vars[static_cast<std::size_t>(j)].e;
                if (h.prok == 0) {
                    g.push_back({i + 1, j, 1});
                    continue;
                }
                for (int k = 1; k <= incomes; ++k) {
                    if (k == 1 || chance(60)) {
                        g.push_back({i + 1, j, k});
                    }
                }
            }
        }
        h.mz = mz;
    }

    std::mt19937_64 rng_;
};

} // namespace solver_fixture
