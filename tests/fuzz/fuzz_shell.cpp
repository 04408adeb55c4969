// The language shell file, decoded in memory as an English (selector even) or a Russian shell,
// whose short texts carry the extra table. A shell that is accepted is written again and read
// back to the same texts.
#include "fuzz_common.h"

#include "shell/language_shell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input in = fuzz::split(data, size);
    const std::string path = kov::shell_file_name(in.selector % 2 ? "rus" : "eng");
    try {
        const kov::LanguageShell shell = kov::decode_shell(in.image, path);
        kov::ShellImage image;
        image.title = shell.title;
        image.codepage = shell.codepage;
        image.russian = kov::is_russian_suffix(shell.suffix);
        image.short_texts = shell.short_texts;
        image.texts = shell.texts;
        image.lists = shell.lists;
        const kov::LanguageShell again = kov::decode_shell(kov::encode_shell(image), path);
        fuzz::check(again.title == shell.title && again.short_texts == shell.short_texts &&
                    again.texts == shell.texts && again.lists == shell.lists);
    } catch (const kov::FileError&) {
    }
    return 0;
}
