// The database workbook of a maximal database: 1000 objects with 5 modernisation variants each,
// every variant with 5 sale and 5 exploitation variants of 10 points (300,000 rows on the sheet
// of delay curves). Exporting builds the layout and writes the workbook; importing opens it and
// reads the database back. The output ends with the processor seconds and then the wall-clock
// seconds of one export and one import.

#include "bench_util.h"

#include "book/imports.h"
#include "book/layouts.h"
#include "data_fixtures.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/numbers.h"
#include "temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <iostream>

namespace {

kov::LanguageShell numbered_shell() {
    kov::LanguageShell s;
    s.suffix = "eng";
    s.file_name = kov::shell_file_name("eng");
    s.codepage = kov::CodePage::Cp1252;
    for (int k = 0; k < 540; ++k) {
        s.texts.push_back("Text " + std::to_string(k));
    }
    for (int k = 0; k < 33; ++k) {
        s.short_texts.push_back("S" + std::to_string(k));
    }
    return s;
}

const kov::BdonData& maximal() {
    static const kov::BdonData data = [] {
        const fixtures::VariantShape full{{10, 10, 10, 10, 10}, {10, 10, 10, 10, 10}};
        const fixtures::ObjectShape object(6, full);
        kov::BdonData d = fixtures::make_bdon(
            'A', "999", std::vector<fixtures::ObjectShape>(kov::kMaxObjects, object));
        for (std::size_t i = 0; i < d.objects.size(); ++i) {
            d.objects[i].description = std::string(60 + i % 100, 'd');
        }
        return d;
    }();
    return data;
}

const kov::LanguageShell& shell() {
    static const kov::LanguageShell s = numbered_shell();
    return s;
}

TempDir& folder() {
    static TempDir dir;
    return dir;
}

int counter = 0;

std::string export_maximal() {
    const std::string path = folder() / ("export" + std::to_string(++counter) + ".xlsx");
    kov::write_workbook(path, kov::database_workbook(maximal(), shell(), ','));
    return path;
}

void import_maximal(const std::string& path) {
    const auto book = kov::open_workbook(path);
    const kov::DatabaseWorkbook read =
        kov::read_database_workbook(*book, "eng", 'A', ',', kov::CodePage::Cp1252);
    if (!read.outcome.ok() || read.data.objects.size() != maximal().objects.size()) {
        std::cerr << "the maximal database did not come back\n";
        std::exit(EXIT_FAILURE);
    }
}

void BM_ExportMaximalDatabase(benchmark::State& state) {
    for (auto _ : state) {
        const std::string path = export_maximal();
        state.PauseTiming();
        kov::remove_file(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExportMaximalDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportMaximalDatabase(benchmark::State& state) {
    const std::string path = export_maximal();
    for (auto _ : state) {
        import_maximal(path);
    }
    kov::remove_file(path);
}
BENCHMARK(BM_ImportMaximalDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (!bench::run_registered(argc, argv)) {
        return 1;
    }

    maximal();
    std::string path;
    const bench::Times exported = bench::times([&] { path = export_maximal(); });
    const bench::Times imported = bench::times([&] { import_maximal(path); });
    std::cout << "export maximal database cpu s " << kov::format_fixed(exported.cpu, 2, '.') << "\n"
              << "import maximal database cpu s " << kov::format_fixed(imported.cpu, 2, '.') << "\n"
              << "export maximal database s " << kov::format_fixed(exported.wall, 2, '.') << "\n"
              << "import maximal database s " << kov::format_fixed(imported.wall, 2, '.')
              << std::endl;
    return EXIT_SUCCESS;
}
