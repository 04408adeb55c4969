// Writes the seed corpora of the fuzz targets: valid files made with the project's own writers,
// each behind the selector byte its target expects. Usage: fuzz_seeds <folder>; it creates
// <folder>/<target>/ for every target.
#include "fuzz_common.h"

#include "io/files.h"
#include "protocol/protocol.h"
#include "shell_fixture.h"

#include <cstdio>
#include <string>

namespace {

void put(const std::string& dir, int& n, std::size_t selector, const kov::Bytes& image,
         bool with_selector = true) {
    kov::Bytes b;
    if (with_selector) {
        b.push_back(std::uint8_t(selector));
    }
    b.insert(b.end(), image.begin(), image.end());
    kov::write_file_atomic(dir + "/seed_" + std::to_string(n++), b);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const std::string root = argv[1];
    for (const char* t : {"bdon", "task_descriptor", "task_input", "solution", "stat", "shell",
                          "protocol", "info"}) {
        kov::make_dirs(root + "/" + t);
    }
    const auto& dbs = fuzz::databases();
    int n = 0;
    for (const auto& d : dbs) {
        put(root + "/bdon", n, 0, kov::encode_bdon(d, kov::CodePage::Cp1252), false);
    }
    kov::BdonData rus =
        fixtures::make_bdon('B', "000001", {{{{2, 3}, {}}, {{}, {4}}}}, "Русская база", "rus");
    put(root + "/bdon", n, 0, kov::encode_bdon(rus, kov::CodePage::Cp1251), false);

    const auto& tasks = fuzz::tasks();
    for (std::size_t k = 0; k < tasks.size(); ++k) {
        const auto& t = tasks[k];
        const std::size_t db = std::size_t(t.bdon - dbs.data());
        put(root + "/task_descriptor", n, db,
            kov::encode_task_descriptor(t.files.descriptor, *t.bdon, kov::CodePage::Cp1252));
        put(root + "/task_input", n, db,
            kov::encode_task_input(t.files.input, *t.bdon, kov::CodePage::Cp1251));
        kov::Solution s = fixtures::make_solution(t.files.input);
        put(root + "/solution", n, 2 * k + 1, kov::encode_solution(s, kov::CodePage::Cp1252));
        s.header.result = 0;
        for (auto& p : s.plans) {
            std::fill(p.begin(), p.end(), kov::kNotSolved);
        }
        put(root + "/solution", n, 2 * k, kov::encode_solution(s, kov::CodePage::Cp1252));
    }
    for (int nsg = 1; nsg <= 10; ++nsg) {
        put(root + "/stat", n, std::size_t(nsg),
            kov::encode_stat_file(fixtures::make_stat_file(nsg), kov::CodePage::Cp1251));
    }
    put(root + "/shell", n, 0, kov::encode_shell(numbered_shell("eng English", 40)));
    put(root + "/shell", n, 1, kov::encode_shell(numbered_shell("rus Русский", 40)));

    std::vector<kov::ProtocolEntry> entries;
    for (const char* code : {"DEME01", "DEMR02", "ABC123"}) {
        kov::ProtocolEntry e;
        e.code = code;
        e.stored_name = kov::stored_task_name(std::string("Task ") + code, kov::CodePage::Cp1251);
        e.state = kov::TaskState(entries.size());
        e.entered = e.changed = 46000.5;
        entries.push_back(e);
    }
    put(root + "/protocol", n, 0, kov::encode_protocol({}));
    put(root + "/protocol", n, 1, kov::encode_protocol(entries));

    const std::string info = "first\n  Module 1.0  \n\nsecond line\r\n\n third";
    put(root + "/info", n, 0, kov::Bytes(info.begin(), info.end()));

    std::printf("%d seeds in %s\n", n, root.c_str());
    return 0;
}
