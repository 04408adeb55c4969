// The three viewers' contents of a maximal task: 1000 objects of a maximal database (6
// modernisation variants each with 5 sale variants of 10 points), every one listed and chosen, 10
// investment variants (a task without pay-back: pay-back series have at most 5 values), its
// solution and statistics of 10 variants. Each builder is timed from the Workspace files, as a
// viewer opens, and from the data already read. The task viewer of the largest task with pay-back
// (5 variants, every delay curve chosen: 300,000 points on tab 4) is timed too. The last line of
// the output is the slowest of the three builds of the maximal task from the files, in
// milliseconds of CPU time.
#include "bench_util.h"

#include "data_fixtures.h"
#include "io/files.h"
#include "io/numbers.h"
#include "report/print_layout.h"
#include "temp_dir.h"
#include "view/solution_view.h"
#include "view/statistics_view.h"
#include "view/task_view.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

namespace {

constexpr kov::CodePage kCp = kov::CodePage::Cp1252;
constexpr const char* kCode = "BENCH1";
constexpr const char* kPaybackCode = "BENCH2";

// The shell's texts are as long as real ones, so composed headings and keys cost what they do.
kov::LanguageShell bench_shell() {
    kov::LanguageShell s;
    s.suffix = "eng";
    s.codepage = kCp;
    for (int k = 0; k < 530; ++k) {
        s.texts.push_back("Shell text number " + std::to_string(k) + " of the interface");
    }
    s.short_texts.assign(33, "Short text");
    return s;
}

// Writes the maximal task into a fresh Workspace once.
struct BenchWorkspace {
    TempWorkspace ws;
    kov::LanguageShell shell = bench_shell();

    BenchWorkspace() {
        const fixtures::VariantShape full{{10, 10, 10, 10, 10}, {10, 10, 10, 10, 10}};
        kov::BdonData bdon = fixtures::make_bdon(
            'A', "123",
            std::vector<fixtures::ObjectShape>(kov::kMaxObjects, fixtures::ObjectShape(6, full)));
        kov::write_bdon(ws.path(), "eng", bdon, "01.02.2024", kCp);
        write_task(bdon, fixtures::make_definition(bdon, 1, 10, kCode));
        write_task(bdon, fixtures::make_definition(bdon, 2, kov::kMaxPaybackValues, kPaybackCode));
        kov::write_stat_file(kov::task_file_path(ws.path(), "Data", kCode, "_stat"),
                             fixtures::make_stat_file(10), kCp);
    }

    void write_task(const kov::BdonData& bdon, const kov::TaskDefinition& def) {
        const kov::TaskFiles files = kov::build_task_files(def, bdon);
        kov::write_task_files(ws.path(), files.descriptor, files.input, bdon, kCp);
        kov::write_solution(kov::task_file_path(ws.path(), "Data", def.header.shifr, "_out"),
                            fixtures::make_solution(files.input), kCp);
    }
};

const BenchWorkspace& workspace() {
    static const BenchWorkspace w;
    return w;
}

kov::TaskView task_from_files() {
    return kov::build_task_view(workspace().ws.path(), kCode, workspace().shell, ',');
}
kov::TaskView payback_task_from_files() {
    return kov::build_task_view(workspace().ws.path(), kPaybackCode, workspace().shell, ',');
}
kov::SolutionView solution_from_files() {
    return kov::build_solution_view(workspace().ws.path(), kCode, workspace().shell, ',',
                                    kov::all_flags<kov::VariantFlags>());
}
kov::StatisticsView statistics_from_files() {
    return kov::build_statistics_view(workspace().ws.path(), kCode, workspace().shell, ',',
                                      kov::all_flags<kov::LevelFlags>());
}

void BM_TaskViewFromFiles(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(task_from_files());
    }
}
BENCHMARK(BM_TaskViewFromFiles)->Unit(benchmark::kMillisecond);

void BM_PaybackTaskViewFromFiles(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(payback_task_from_files());
    }
}
BENCHMARK(BM_PaybackTaskViewFromFiles)->Unit(benchmark::kMillisecond);

void BM_TaskViewContent(benchmark::State& state) {
    const BenchWorkspace& w = workspace();
    const std::string path = kov::task_file_path(w.ws.path(), "Data", kCode, "");
    const kov::TaskHeader h = kov::read_task_header(path, kCp);
    const kov::BdonData bdon = kov::read_bdon(kov::task_bdon_base(w.ws.path(), h, "eng"), kCp);
    const kov::TaskDescriptor d = kov::read_task_descriptor(path, bdon, kCp);
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::task_view(d, bdon, w.shell, ','));
    }
}
BENCHMARK(BM_TaskViewContent)->Unit(benchmark::kMillisecond);

void BM_SolutionViewFromFiles(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(solution_from_files());
    }
}
BENCHMARK(BM_SolutionViewFromFiles)->Unit(benchmark::kMillisecond);

void BM_SolutionViewContent(benchmark::State& state) {
    const BenchWorkspace& w = workspace();
    const kov::SolutionViewInput in = kov::read_solution_view_input(w.ws.path(), kCode, w.shell);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            kov::solution_view(in, w.shell, ',', kov::all_flags<kov::VariantFlags>()));
    }
}
BENCHMARK(BM_SolutionViewContent)->Unit(benchmark::kMillisecond);

void BM_StatisticsViewFromFiles(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(statistics_from_files());
    }
}
BENCHMARK(BM_StatisticsViewFromFiles)->Unit(benchmark::kMillisecond);

// The printed reports laid out on A4 at 300 dpi, each character 20 pixels wide (the layout's own
// work; a device's font measures cost what they cost on top).
kov::PrintMetrics print_metrics() {
    const auto width = [](int per_char) {
        return [per_char](std::string_view s) { return per_char * int(s.size()); };
    };
    return {2480, 3508, 37, width(20), width(22)};
}

void BM_PaybackTaskPrint(benchmark::State& state) {
    const kov::TaskView view = payback_task_from_files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::task_print(view, workspace().shell, print_metrics()));
    }
}
BENCHMARK(BM_PaybackTaskPrint)->Unit(benchmark::kMillisecond);

void BM_SolutionPrint(benchmark::State& state) {
    const kov::SolutionView view = solution_from_files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::solution_print(view, workspace().shell, print_metrics()));
    }
}
BENCHMARK(BM_SolutionPrint)->Unit(benchmark::kMillisecond);

// The best of ten builds, in milliseconds of the process's CPU time (the machine may be shared).
template <class F> double best_ms(F&& f) {
    const auto cpu_ms = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
    };
    double best = 1e300;
    for (int run = 0; run < 10; ++run) {
        const double start = cpu_ms();
        benchmark::DoNotOptimize(f());
        best = std::min(best, cpu_ms() - start);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }

    for (const auto& [name, view] : {std::pair{"maximal", task_from_files()},
                                     std::pair{"pay-back", payback_task_from_files()}}) {
        std::cout << "task viewer (" << name << ") grid rows";
        for (const kov::ViewGrid& g : view.content.grids) {
            std::cout << " " << g.rows.size();
        }
        std::cout << "\n";
    }
    std::cout << "pay-back task viewer build ms "
              << kov::format_fixed(best_ms(payback_task_from_files), 1, '.') << "\n";
    const double slowest = std::max(
        {best_ms(task_from_files), best_ms(solution_from_files), best_ms(statistics_from_files)});
    std::cout << "viewer slowest build ms " << kov::format_fixed(slowest, 1, '.') << std::endl;
    return EXIT_SUCCESS;
}
