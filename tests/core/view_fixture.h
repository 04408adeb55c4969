#pragma once

// What the viewer tests share: a shell whose texts say their number, the Workspace files of a
// task written with the project's own writers, and lookups into a viewer's content.

#include "data_fixtures.h"
#include "shell/language_shell.h"
#include "temp_dir.h"
#include "view/view_content.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace view_fixture {

inline constexpr kov::CodePage kCp = kov::CodePage::Cp1252;

// An English shell: text k is "T<k>", short text k "S<k>".
inline kov::LanguageShell shell() {
    kov::LanguageShell s;
    s.suffix = "eng";
    s.file_name = kov::shell_file_name("eng");
    s.codepage = kCp;
    for (int k = 0; k < 570; ++k) {
        s.texts.push_back("T" + std::to_string(k));
    }
    for (int k = 0; k < 33; ++k) {
        s.short_texts.push_back("S" + std::to_string(k));
    }
    return s;
}

// Writes the database and both task files of a definition (the database is the one written).
inline kov::BdonData write_task(const std::string& workspace, kov::BdonData bdon,
                                const kov::TaskDefinition& def) {
    kov::write_bdon(workspace, "eng", bdon, "01.02.2024", kCp);
    const kov::TaskFiles files = kov::build_task_files(def, bdon);
    kov::write_task_files(workspace, files.descriptor, files.input, bdon, kCp);
    return bdon;
}

// One column of a grid's rows (separators included, as empty texts).
inline std::vector<std::string> column(const kov::ViewGrid& g, std::size_t c) {
    std::vector<std::string> out;
    for (const kov::ViewRow& r : g.rows) {
        out.push_back(r.separator ? std::string() : r.cells.at(c));
    }
    return out;
}

inline std::size_t separators(const kov::ViewGrid& g) {
    return std::size_t(std::count_if(g.rows.begin(), g.rows.end(),
                                     [](const kov::ViewRow& r) { return r.separator; }));
}

// The value of the first parameter row with this key; fails the test when there is none.
inline std::string param(const kov::ViewContent& c, const std::string& key) {
    for (const kov::ViewParam& p : c.params) {
        if (p.key == key) {
            return p.value;
        }
    }
    ADD_FAILURE() << "no parameter row " << key;
    return {};
}

inline std::vector<std::string> keys(const kov::ViewContent& c) {
    std::vector<std::string> out;
    for (const kov::ViewParam& p : c.params) {
        out.push_back(p.key);
    }
    return out;
}

} // namespace view_fixture
