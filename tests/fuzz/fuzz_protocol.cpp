// The protocol file. A list that is recognised is written again and read back to the same
// entries and bytes (names are kept as their stored bytes).
#include "fuzz_common.h"

#include "protocol/protocol.h"
#include "task/task_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const kov::DecodedProtocol d = kov::decode_protocol(in.image, "fuzz");
    if (d.check != kov::ProtocolCheck::Recognised) {
        fuzz::check(!d.problem.empty());
        return 0;
    }
    for (const auto& e : d.entries) {
        fuzz::check(kov::is_task_code(e.code));
    }
    const kov::Bytes again = kov::encode_protocol(d.entries);
    const kov::DecodedProtocol back = kov::decode_protocol(again, "fuzz");
    fuzz::check(back.check == kov::ProtocolCheck::Recognised);
    fuzz::check(kov::encode_protocol(back.entries) == again);
    return 0;
}
