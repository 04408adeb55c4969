// The task input file: the optimiser's read (header, ticks and groups) and the read in full,
// against a database chosen by the first byte.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const auto& dbs = fuzz::databases();
    const kov::BdonData& bdon = dbs[in.selector % dbs.size()];
    const kov::CodePage cp = kov::CodePage::Cp1251;
    try {
        kov::decode_task_input(in.image, "fuzz", bdon, kov::InputParts::Solver, cp);
    } catch (const kov::FileError&) {
    }
    try {
        const kov::TaskInput t =
            kov::decode_task_input(in.image, "fuzz", bdon, kov::InputParts::Full, cp);
        const kov::Bytes again = kov::encode_task_input(t, bdon, cp);
        fuzz::check(kov::encode_task_input(
                        kov::decode_task_input(again, "fuzz", bdon, kov::InputParts::Full, cp),
                        bdon, cp) == again);
    } catch (const kov::FileError&) {
    }
    return 0;
}
