#pragma once

#include "io/files.h"
#include "shell/language_shell.h"

#include <string>

// A small shell image whose texts say their own number ("T12", short "S3", list "L1.0"), with
// `texts` texts, 33 short texts and the about-window lists.
inline kov::ShellImage numbered_shell(const std::string& title, int texts = 570) {
    kov::ShellImage image;
    image.title = title;
    image.codepage = kov::codepage_for_suffix(kov::left_chars(title, 3));
    image.russian = kov::is_russian_suffix(kov::left_chars(title, 3));
    for (int k = 0; k < texts; ++k) {
        image.texts.push_back((image.codepage == kov::CodePage::Cp1251 ? "Т" : "T") +
                              std::to_string(k));
    }
    for (int k = 0; k < 33; ++k) {
        image.short_texts.push_back("S" + std::to_string(k));
        image.extra.push_back("extra " + std::to_string(k));
    }
    const int sizes[] = {6, 2, 4, 1, 1, 2};
    for (int g = 0; g < 6; ++g) {
        image.lists.emplace_back();
        for (int i = 0; i < sizes[g]; ++i) {
            image.lists.back().push_back("L" + std::to_string(g) + "." + std::to_string(i));
        }
    }
    return image;
}

// Writes the shell as "Shell (KOV 1.0).<suffix>" into `folder`; returns its path.
inline std::string write_shell(const std::string& folder, const std::string& suffix,
                               const kov::ShellImage& image) {
    const std::string path = folder + "/" + kov::shell_file_name(suffix);
    kov::write_file_atomic(path, kov::encode_shell(image));
    return path;
}
