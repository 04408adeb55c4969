// read_bdon and the header-only read of the list of databases.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    const kov::CodePage cp = size % 2 ? kov::CodePage::Cp1251 : kov::CodePage::Cp1252;
    try {
        kov::decode_dbor_header(image, "fuzz", cp);
    } catch (const kov::FileError&) {
    }
    try {
        const kov::BdonData d = kov::decode_bdon(image, "fuzz", cp);
        const kov::Bytes again = kov::encode_bdon(d, cp);
        fuzz::check(kov::encode_bdon(kov::decode_bdon(again, "fuzz", cp), cp) == again);
        for (int tipz = 1; tipz <= 4; ++tipz) {
            kov::listed_objects(d, tipz);
        }
    } catch (const kov::FileError&) {
    }
    return 0;
}
