// The database wizard's core on a maximal database (1000 objects, 6 variants each, 5 sale and 5
// exploitation variants per variant, 10 points per curve: 300,000 rows on each curve page):
// filling every page's grid from the data, every page's Next check, taking every page back into
// the data, and building the file's records. The last two lines of the output are
// "wizard slowest page ms X" (the slowest of those steps) and "wizard peak MB Y" (the largest
// resident size of the program, a whole wizard pass through all nine pages included).
#include "bench_util.h"

#include "dbor/bdon_wizard.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace {

using namespace kov;

constexpr char kDecimal = ',';

BdonData maximal_database() {
    BdonData d;
    d.header = {"eng", "A", "999", "Maximal", 1, "USD", "months", kMaxObjects, 0, 0, 0, 0, "x"};
    const std::size_t m = kMaxObjects, nv = kMaxModernisations + 1;
    d.objects.resize(m);
    d.variants.assign(m, std::vector<DborVariant>(nv));
    d.sale_variants.assign(m, std::vector<std::vector<DborSaleVariant>>(nv));
    d.expl_variants.assign(m, std::vector<std::vector<DborExplVariant>>(nv));
    d.sale_points.assign(m, std::vector<std::vector<std::vector<DborPoint>>>(nv));
    d.expl_points.assign(m, std::vector<std::vector<std::vector<DborPoint>>>(nv));
    std::vector<DborPoint> curve;
    for (int t = 0; t < kMaxPoints; ++t) {
        curve.push_back({1.5 * t, t + 1 == kMaxPoints ? 1.0 : double(t * t) / 81.0});
    }
    for (std::size_t i = 0; i < m; ++i) {
        d.objects[i] = {std::to_string(100000 + i), "Object " + std::to_string(i + 1),
                        1000.0 + double(i) / 3, kMaxModernisations, i % 7 == 0 ? "*" : ""};
        for (std::size_t j = 0; j < nv; ++j) {
            d.variants[i][j] = {"Variant " + std::to_string(j), j ? 10.0 * double(j) : 0.0,
                                j ? 0.5 * double(j) : 0.0, kMaxSaleVariants, kMaxExplVariants};
            for (int k = 0; k < kMaxSaleVariants; ++k) {
                d.sale_variants[i][j].push_back({1234.5 + k, kMaxPoints});
                d.sale_points[i][j].push_back(curve);
            }
            for (int k = 0; k < kMaxExplVariants; ++k) {
                d.expl_variants[i][j].push_back({12.25 + k, kMaxPoints});
                d.expl_points[i][j].push_back(curve);
            }
        }
    }
    store_usable_counts(d);
    return d;
}

// One wizard's data after page 2: the current and previous data, the index map, the grids.
struct Pages {
    BdonModel current, previous;
    IndexMap map;
    ObjectsGrid objects{'A', kDecimal};
    VariantsGrid variants{current, kDecimal};
    IncomeGrid sales{Income::Sale, current, kDecimal}, expls{Income::Expl, current, kDecimal};
    CurveGrid sale_curves{Income::Sale, current, kDecimal};
    CurveGrid expl_curves{Income::Expl, current, kDecimal};

    Pages() {
        current = model_from_records(maximal_database());
        previous = current;
        fill_objects(objects, previous, previous.objects.size());
        map = take_objects(objects, current, previous);
        fill_variants(variants, current, previous, map);
        take_variants(variants, current, previous, map);
        fill_incomes(sales, current, previous, map);
        fill_incomes(expls, current, previous, map);
        take_incomes(sales, current, previous, map);
        take_incomes(expls, current, previous, map);
        fill_curves(sale_curves, current, previous, map);
        fill_curves(expl_curves, current, previous, map);
    }
};

Pages& pages() {
    static const auto p = std::make_unique<Pages>();
    return *p;
}

template <class Step> void run(benchmark::State& state, Step step) {
    Pages& p = pages();
    for (auto _ : state) {
        step(p);
        benchmark::ClobberMemory();
    }
}

void expect_ok(benchmark::State& state, const NextOutcome& o) {
    if (!o.ok()) {
        state.SkipWithError("a page of the maximal database was refused");
    }
    benchmark::DoNotOptimize(o);
}

// ---- Page 3: objects
void BM_Page3Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_objects(p.objects, p.previous, p.previous.objects.size()); });
}
void BM_Page3Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_objects(p.objects)); });
}
void BM_Page3Take(benchmark::State& s) {
    run(s, [](Pages& p) { p.map = take_objects(p.objects, p.current, p.previous); });
}
// ---- Page 4: modernisation variants
void BM_Page4Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_variants(p.variants, p.current, p.previous, p.map); });
}
void BM_Page4Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_variants(p.variants)); });
}
void BM_Page4Take(benchmark::State& s) {
    run(s, [](Pages& p) { take_variants(p.variants, p.current, p.previous, p.map); });
}
// ---- Pages 5 and 7: sale and exploitation variants
void BM_Page5Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_incomes(p.sales, p.current, p.previous, p.map); });
}
void BM_Page5Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_incomes(p.sales)); });
}
void BM_Page5Take(benchmark::State& s) {
    run(s, [](Pages& p) { take_incomes(p.sales, p.current, p.previous, p.map); });
}
void BM_Page7Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_incomes(p.expls, p.current, p.previous, p.map); });
}
void BM_Page7Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_incomes(p.expls)); });
}
void BM_Page7Take(benchmark::State& s) {
    run(s, [](Pages& p) { take_incomes(p.expls, p.current, p.previous, p.map); });
}
// ---- Pages 6 and 8: delay curves, 300,000 rows each
void BM_Page6Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_curves(p.sale_curves, p.current, p.previous, p.map); });
}
void BM_Page6Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_curves(p.sale_curves)); });
}
void BM_Page6Take(benchmark::State& s) {
    run(s, [](Pages& p) { take_curves(p.sale_curves, p.current); });
}
void BM_Page8Fill(benchmark::State& s) {
    run(s, [](Pages& p) { fill_curves(p.expl_curves, p.current, p.previous, p.map); });
}
void BM_Page8Check(benchmark::State& s) {
    run(s, [&](Pages& p) { expect_ok(s, check_curves(p.expl_curves)); });
}
void BM_Page8Take(benchmark::State& s) {
    run(s, [](Pages& p) { take_curves(p.expl_curves, p.current); });
}
// ---- Page 9: the file's records
void BM_Page9Records(benchmark::State& s) {
    run(s, [](Pages& p) { benchmark::DoNotOptimize(records_from_model(p.current)); });
}

// A view's walk over a whole curve page: every cell of every row, as scrolling to the end asks.
void BM_Page6Cells(benchmark::State& s) {
    run(s, [](Pages& p) {
        std::size_t chars = 0;
        const CurveGrid& g = p.sale_curves;
        for (std::size_t r = 0; r < g.row_count(); ++r) {
            for (int c = 0; c < g.column_count(); ++c) {
                chars += g.cell(r, c).size();
            }
        }
        benchmark::DoNotOptimize(chars);
    });
}

// The whole wizard in view mode, from opening to the summary, through every page.
void BM_WholeWizard(benchmark::State& s) {
    const BdonData stored = maximal_database();
    for (auto _ : s) {
        BdonWizard w(WizardMode::View, {"", "eng", CodePage::Cp1252, kDecimal, {}});
        w.open(stored);
        while (!w.finished()) {
            const NextOutcome o = w.next();
            if (!o.ok()) {
                s.SkipWithError("the maximal database was refused");
                break;
            }
        }
    }
}

// The whole wizard first, so the peak is that of one wizard, not of two side by side.
BENCHMARK(BM_WholeWizard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page3Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page3Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page3Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page4Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page4Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page4Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page5Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page5Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page5Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page6Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page6Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page6Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page7Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page7Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page7Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page8Fill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page8Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page8Take)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page9Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page6Cells)->Unit(benchmark::kMillisecond);

// Keeps the slowest time of the page steps (fill, check, take, records) while reporting as usual.
class PageReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_name.function_name.rfind("BM_Page", 0) == 0 &&
                r.run_name.function_name != "BM_Page6Cells") {
                slowest_ms = std::max(slowest_ms, r.GetAdjustedRealTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double slowest_ms = 0;
};

} // namespace

int main(int argc, char** argv) {
    PageReporter reporter;
    if (!bench::run_registered(argc, argv, &reporter)) {
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("wizard slowest page ms %.1f\n", reporter.slowest_ms);
    std::printf("wizard peak MB %.0f\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
