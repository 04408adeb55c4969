// The task descriptor: the header alone, the read for correction or import, the read of the
// variants and the read in full against a database (chosen by the first byte).
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const auto& dbs = fuzz::databases();
    const kov::BdonData& bdon = dbs[in.selector % dbs.size()];
    const kov::CodePage cp = kov::CodePage::Cp1252;
    try {
        const kov::TaskHeader h = kov::decode_task_header(in.image, "fuzz", cp);
        const kov::Bytes again = kov::encode_task_header(h, cp);
        fuzz::check(kov::encode_task_header(kov::decode_task_header(again, "fuzz", cp), cp) ==
                    again);
    } catch (const kov::FileError&) {
    }
    for (kov::DescriptorParts parts :
         {kov::DescriptorParts::Variants, kov::DescriptorParts::Correction}) {
        try {
            kov::decode_task_descriptor(in.image, "fuzz", nullptr, parts, cp);
        } catch (const kov::FileError&) {
        }
    }
    try {
        const kov::TaskDescriptor d =
            kov::decode_task_descriptor(in.image, "fuzz", &bdon, kov::DescriptorParts::Full, cp);
        const kov::Bytes again = kov::encode_task_descriptor(d, bdon, cp);
        fuzz::check(
            kov::encode_task_descriptor(
                kov::decode_task_descriptor(again, "fuzz", &bdon, kov::DescriptorParts::Full, cp),
                bdon, cp) == again);
    } catch (const kov::FileError&) {
    }
    return 0;
}
