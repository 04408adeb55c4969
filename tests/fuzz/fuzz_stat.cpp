// The statistics file: the header alone and the whole file for nsg = 1..10 (first byte).
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const std::int32_t nsg = std::int32_t(in.selector % 12); // 0 and 11 are refused
    const kov::CodePage cp = kov::CodePage::Cp1251;
    try {
        kov::decode_stat_header(in.image, "fuzz", cp);
    } catch (const kov::FileError&) {
    }
    try {
        const kov::StatFile s = kov::decode_stat_file(in.image, "fuzz", nsg, cp);
        const kov::Bytes again = kov::encode_stat_file(s, cp);
        fuzz::check(kov::encode_stat_file(kov::decode_stat_file(again, "fuzz", nsg, cp), cp) ==
                    again);
        for (const auto& v : s.variants) {
            s.block_of(v);
        }
    } catch (const kov::FileError&) {
    }
    return 0;
}
