// The solution file: header, the first plan (the database correction) and the whole file, for
// a task chosen by the first byte (with and without its groups).
#include "fuzz_common.h"

#include "optim/solution_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const auto& tasks = fuzz::tasks();
    const fuzz::TaskCase& t = tasks[(in.selector / 2) % tasks.size()];
    const kov::TaskHeader& h = t.files.input.header;
    const auto* groups = in.selector % 2 ? &t.files.input.groups : nullptr;
    const kov::CodePage cp = kov::CodePage::Cp1252;
    try {
        kov::decode_solution(in.image, "fuzz", h, nullptr, nullptr, kov::SolutionParts::Header, cp);
    } catch (const kov::FileError&) {
    }
    try {
        kov::Solution s = kov::decode_solution(in.image, "fuzz", h, t.bdon, nullptr,
                                               kov::SolutionParts::FirstPlan, cp);
        kov::BdonData copy = *t.bdon;
        kov::mark_taken_objects_absent(s, copy);
    } catch (const kov::FileError&) {
    }
    try {
        const kov::Solution s =
            kov::decode_solution(in.image, "fuzz", h, t.bdon, groups, kov::SolutionParts::Full, cp);
        const kov::Bytes again = kov::encode_solution(s, cp);
        fuzz::check(kov::encode_solution(kov::decode_solution(again, "fuzz", h, t.bdon, groups,
                                                              kov::SolutionParts::Full, cp),
                                         cp) == again);
    } catch (const kov::FileError&) {
    }
    return 0;
}
