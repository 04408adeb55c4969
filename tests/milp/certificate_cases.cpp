// Writes generated tasks larger than enumeration can take, one variant per line, with the best
// value the certificate finds, for an integer programme solved by an independent solver to check
// (certificate_milp.py). A line is JSON:
//   {"prmp":1,"prok":1,"reg":1,"K":..,"own":..,"G":..,"delta":..,"ps":..,"coefficient":..,
//    "nsd_ticks":..,"groups":[[[cost,income,amount],...],...],"best":value or null,
//    "plan_value":value or null}
// costs and pay-back incomes in ticks as the solver counts them, "plan_value" the value of the
// certificate's own best plan.
#include "optim/certificate.h"
#include "task/ticks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

using namespace kov;

namespace {

class Draw {
public:
    explicit Draw(std::uint64_t seed)
        : rng_(seed) {}
    int pick(int lo, int hi) { return lo + int(rng_() % std::uint64_t(hi - lo + 1)); }

private:
    std::mt19937_64 rng_;
};

SolverTask make_task(Draw& d) {
    SolverTask t;
    TaskHeader& h = t.header;
    h.tipz = d.pick(1, 4);
    h.reg = d.pick(1, 2);
    h.prmp = h.tipz <= 2 ? 1 : 2;
    h.prok = h.tipz % 2 == 0 ? 1 : 0;
    h.delta = d.pick(0, 1) ? 1 : 0.5;
    h.toc = d.pick(0, 2);
    h.ps = d.pick(0, 1) ? 0 : d.pick(1, 25);
    h.ogrn = d.pick(0, 1) ? 0 : d.pick(1, 5);
    h.nsg = d.pick(1, 2);
    h.nt = h.prok == 1 ? h.nsg : 0;
    if (h.prok == 1) {
        if (h.reg == 1) {
            h.soi = d.pick(3, 12);
            h.tmx = d.pick(20, 90) / 100.0;
            h.tmn = h.tmx * d.pick(40, 100) / 100.0;
            h.tmn = std::round(h.tmn * 100) / 100;
        } else {
            h.tmn = d.pick(2, 8);
            h.tmx = h.tmn + d.pick(0, 6);
            h.nsd = h.delta * d.pick(0, 6);
        }
    }
    const int groups = d.pick(6, 14);
    const int money = d.pick(20, 120);
    for (int v = 0; v < h.nsg; ++v) {
        InvestmentTicks k;
        k.own = d.pick(0, money);
        k.credit = money - k.own;
        k.payback = h.prok == 1 ? d.pick(0, money / 2) : 0;
        t.variants.push_back(k);
    }
    for (int g = 1; g <= groups; ++g) {
        auto& alts = t.groups.emplace_back(1);
        const double object_cost = h.reg == 1 ? h.delta * d.pick(2, money / 3 + 2) : 0;
        const int mods = d.pick(0, 2);
        for (int j = 0; j <= mods; ++j) {
            const double modernisation = j == 0 ? 0 : h.delta * d.pick(1, 10) + h.delta / 4;
            for (int k = 1; k <= (h.prok == 1 ? d.pick(1, 3) : 1); ++k) {
                SolverAlternative a;
                a.triple = {g, j, k};
                a.object_cost = object_cost;
                a.modernisation_cost = modernisation;
                a.duration = j == 0 ? 0 : d.pick(1, 3);
                a.amount = h.prmp == 1 ? (object_cost + modernisation) * d.pick(70, 180) / 100.0
                                       : d.pick(0, 400) / 10.0;
                const double a1 = d.pick(1, 5), a2 = a1 + d.pick(1, 8);
                a.curve = {{0, 0}, {a1, d.pick(10, 80) / 100.0}, {a2, 1}};
                alts.push_back(std::move(a));
            }
        }
    }
    return t;
}

std::string number(const std::optional<double>& x) {
    if (!x) {
        return "null";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", *x);
    return buf;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 40;
    Draw d(0x6d696c70u);
    for (int n = 0; n < count; ++n) {
        const SolverTask t = make_task(d);
        const TaskHeader& h = t.header;
        for (int v = 0; v < int(t.variants.size()); ++v) {
            const InvestmentTicks& k = t.variants[std::size_t(v)];
            const double horizon = h.prok != 1 ? 0 : h.reg == 1 ? h.soi : payback_horizon(h, v);
            const ExactOptimum best = solve_exactly(t, v);
            std::string line =
                "{\"prmp\":" + std::to_string(h.prmp) + ",\"prok\":" + std::to_string(h.prok) +
                ",\"reg\":" + std::to_string(h.reg) +
                ",\"K\":" + std::to_string(std::int64_t(k.own) + k.credit) +
                ",\"own\":" + std::to_string(k.own) + ",\"G\":" + std::to_string(h.ogrn) +
                ",\"delta\":" + number(h.delta) + ",\"ps\":" + number(h.ps) + ",\"coefficient\":" +
                number(h.prok == 1 && h.reg == 1 ? payback_coefficient(h, v) : 0) +
                ",\"nsd_ticks\":" + number(h.nsd / h.delta) + ",\"groups\":[";
            for (std::size_t g = 0; g < t.groups.size(); ++g) {
                line += g ? ",[" : "[";
                for (std::size_t a = 1; a < t.groups[g].size(); ++a) {
                    const SolverAlternative& alt = t.groups[g][a];
                    const std::int64_t cost =
                        round_to_ticks(alt.object_cost + alt.modernisation_cost, h.delta, h.toc);
                    const std::int64_t inc = h.prok == 1 ? payback_ticks(h, alt, horizon) : 0;
                    line += (a > 1 ? ",[" : "[") + std::to_string(cost) + "," +
                            std::to_string(inc) + "," + number(alt.amount) + "]";
                }
                line += "]";
            }
            line += "],\"best\":" + number(best.value) + ",\"plan_value\":" +
                    number(best.value ? plan_value(t, v, best.plan) : std::nullopt) + "}";
            std::puts(line.c_str());
        }
    }
    return 0;
}
