#include "optim/info_file.h"

#include "io/files.h"
#include "shell/texts.h"

namespace kov {

std::array<std::string, 3> read_info_file(const std::string& workspace,
                                          const LanguageShell& shell) {
    const std::string path = ws_path(workspace, kInfoFile);
    std::array<std::string, 3> info;
    Bytes data;
    try {
        data = read_file(path, std::size_t(1) << 20);
    } catch (const FileError&) {
        info[0] = "? (" + shell.text(txt::InfoFileNotFound) + " System\\info)";
        info[1] = info[2] = "? (" + shell.text(txt::NoInformation) + ")";
        return info;
    }
    // The file is plain text in the code page of the shell's language.
    return info_texts(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                      shell.codepage);
}

std::array<std::string, 3> info_texts(std::string_view contents, CodePage cp) {
    const std::string text = decode(contents, cp);
    std::array<std::string, 3> info;
    std::size_t line = 1, start = 0;
    while (start <= text.size() && line <= 6) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (line % 2 == 0) {
            info[line / 2 - 1] = trim(std::string_view(text).substr(start, end - start));
        }
        ++line;
        start = end + 1;
    }
    return info;
}

} // namespace kov
