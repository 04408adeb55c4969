// The three viewers' contents of a maximal task: 1000 objects of a maximal database (6
// modernisation variants each with 5 sale variants of 10 points, every one chosen), 10 investment
// variants, their solution and statistics. Each builder is timed from the Workspace files, as a
// viewer opens, and from the data already read; the last line of the output is the slowest
// build from the files, in milliseconds.
#include "data_fixtures.h"
#include "io/files.h"
#include "io/numbers.h"
#include "temp_dir.h"
#include "view/solution_view.h"
#include "view/statistics_view.h"
#include "view/task_view.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>

namespace {

constexpr kov::CodePage kCp = kov::CodePage::Cp1252;
constexpr const char* kCode = "BENCH1";

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
        const kov::TaskDefinition def = fixtures::make_definition(bdon, 2, 10, kCode);
        const kov::TaskFiles files = kov::build_task_files(def, bdon);
        kov::write_task_files(ws.path(), files.descriptor, files.input, bdon, kCp);
        kov::write_solution(kov::task_file_path(ws.path(), "Data", kCode, "_out"),
                            fixtures::make_solution(files.input), kCp);
        kov::write_stat_file(kov::task_file_path(ws.path(), "Data", kCode, "_stat"),
                             fixtures::make_stat_file(10), kCp);
    }
};

const BenchWorkspace& workspace() {
    static const BenchWorkspace w;
    return w;
}

kov::TaskView task_from_files() {
    return kov::build_task_view(workspace().ws.path(), kCode, workspace().shell, ',');
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

template <class F> double best_ms(F&& f) {
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(f());
        const std::chrono::duration<double, std::milli> t =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, t.count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const kov::TaskView task = task_from_files();
    std::cout << "task viewer grid rows";
    for (const kov::ViewGrid& g : task.content.grids) {
        std::cout << " " << g.rows.size();
    }
    std::cout << "\n";
    const double slowest = std::max(
        {best_ms(task_from_files), best_ms(solution_from_files), best_ms(statistics_from_files)});
    std::cout << "viewer slowest build ms " << kov::format_fixed(slowest, 1, '.') << std::endl;
    return EXIT_SUCCESS;
}
