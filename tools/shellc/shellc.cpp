// Compiles a shell source (UTF-8 text, see shells/FORMAT.md) into a language shell file.
//   shellc SOURCE OUTPUT
#include "io/files.h"
#include "shell/language_shell.h"

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

struct Source {
    kov::ShellImage image;
    std::map<int, std::string> shorts, extra, texts;
    std::map<int, std::map<int, std::string>> lists;
};

std::vector<std::string> dense(const std::map<int, std::string>& entries) {
    std::vector<std::string> out(entries.empty() ? 0 : std::size_t(entries.rbegin()->first) + 1);
    for (const auto& [k, v] : entries) {
        out[std::size_t(k)] = v;
    }
    return out;
}

Source parse(std::istream& in, const std::string& name) {
    Source src;
    std::map<int, std::string>* table = nullptr;
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) {
        throw std::invalid_argument(name + ":" + std::to_string(number) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind("@title ", 0) == 0) {
            src.image.title = line.substr(7);
        } else if (line == "@codepage cp1251") {
            src.image.codepage = kov::CodePage::Cp1251;
        } else if (line == "@codepage cp1252") {
            src.image.codepage = kov::CodePage::Cp1252;
        } else if (line == "@russian") {
            src.image.russian = true;
        } else if (line == "[short]") {
            table = &src.shorts;
        } else if (line == "[extra]") {
            table = &src.extra;
        } else if (line == "[text]") {
            table = &src.texts;
        } else if (line.rfind("[list ", 0) == 0 && line.back() == ']') {
            table = &src.lists[std::stoi(line.substr(6))];
        } else {
            const auto bar = line.find('|');
            if (bar == std::string::npos || bar == 0 || !table) {
                fail("expected NUMBER|TEXT inside a section");
            }
            for (std::size_t i = 0; i < bar; ++i) {
                if (line[i] < '0' || line[i] > '9') {
                    fail("the entry number is not a number");
                }
            }
            const int k = std::stoi(line.substr(0, bar));
            if (!table->emplace(k, line.substr(bar + 1)).second) {
                fail("entry " + std::to_string(k) + " is given twice");
            }
        }
    }
    if (src.image.title.empty()) {
        fail("no @title");
    }
    src.image.short_texts = dense(src.shorts);
    src.image.extra = dense(src.extra);
    src.image.texts = dense(src.texts);
    const int nl = src.lists.empty() ? 0 : src.lists.rbegin()->first + 1;
    src.image.lists.resize(std::size_t(nl));
    for (const auto& [g, items] : src.lists) {
        src.image.lists[std::size_t(g)] = dense(items);
    }
    return src;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: shellc SOURCE OUTPUT\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in) {
            throw std::invalid_argument(std::string("cannot open ") + argv[1]);
        }
        const Source src = parse(in, argv[1]);
        kov::write_file_atomic(argv[2], kov::encode_shell(src.image));
    } catch (const std::exception& e) {
        std::cerr << "shellc: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
