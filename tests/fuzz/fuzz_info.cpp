// The optimisation module's information file: any contents give three trimmed texts.
#include "fuzz_common.h"

#include "optim/info_file.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const kov::CodePage cp = in.selector % 2 ? kov::CodePage::Cp1251 : kov::CodePage::Cp1252;
    const auto texts = kov::info_texts(
        std::string_view(reinterpret_cast<const char*>(in.image.data()), in.image.size()), cp);
    for (const std::string& t : texts) {
        fuzz::check(kov::trim(t) == t);
    }
    return 0;
}
