#include "shell/language_shell.h"

#include "shell_fixture.h"
#include "temp_dir.h"

#include <fstream>

#include <gtest/gtest.h>

using namespace kov;

namespace {

// Writes raw bytes as a shell file of the given suffix.
std::string write_raw(const TempDir& dir, const std::string& suffix, const Bytes& data) {
    const std::string path = dir / shell_file_name(suffix);
    write_file_atomic(path, data);
    return path;
}

void expect_refused(const std::string& path, const std::string& detail) {
    try {
        load_shell(path);
        FAIL() << "accepted: " << detail;
    } catch (const FileError& e) {
        const std::string message = e.detail();
        EXPECT_NE(message.find("Shell (KOV 1.0)."), std::string::npos) << message;
        EXPECT_NE(message.find(detail), std::string::npos) << message;
        EXPECT_NE(message.find("emergency exit"), std::string::npos) << message;
    }
}

} // namespace

TEST(Shell, LoadsTablesSuffixAndFileName) {
    TempDir dir;
    const auto path = write_shell(dir.path(), "eng", numbered_shell("eng English"));
    const LanguageShell shell = load_shell(path);
    EXPECT_EQ(shell.title, "eng English");
    EXPECT_EQ(shell.suffix, "eng");
    EXPECT_EQ(shell.file_name, "Shell (KOV 1.0).eng");
    EXPECT_EQ(shell.text(272), "T272");
    EXPECT_EQ(shell.short_text(14), "S14");
    EXPECT_EQ(shell.list_item(5, 1), "L5.1");
    EXPECT_EQ(shell.text_lengths[272], 4);
    EXPECT_EQ(shell.text(100000), "");
    EXPECT_EQ(shell.list_item(9, 0), "");
}

TEST(Shell, RussianRuleIsCaseSensitive) {
    // Written with the extra table: read correctly only under a Russian suffix.
    for (const char* suffix : {"rus", "Rus", "рус", "Рус"}) {
        TempDir dir;
        ShellImage image = numbered_shell("rus Русский");
        const auto path = write_shell(dir.path(), suffix, image);
        const LanguageShell shell = load_shell(path);
        EXPECT_EQ(shell.short_text(3), "S3") << suffix;
        EXPECT_EQ(shell.text(40), "Т40") << suffix;
        EXPECT_EQ(shell.codepage, CodePage::Cp1251);
    }
    // "RUS" is not Russian: a file written without the extra table reads correctly, one written
    // with it is not read as it was meant.
    TempDir dir;
    ShellImage plain = numbered_shell("rus Русский");
    plain.russian = false;
    EXPECT_EQ(load_shell(write_shell(dir.path(), "RUS", plain)).short_text(3), "S3");
    TempDir dir2;
    const auto with_extra = write_shell(dir2.path(), "RUS", numbered_shell("rus Русский"));
    bool misread = false;
    try {
        misread = load_shell(with_extra).short_text(3) != "S3";
    } catch (const FileError&) {
        misread = true;
    }
    EXPECT_TRUE(misread);
}

TEST(Shell, EmptyEntriesAndEmptyLists) {
    TempDir dir;
    ShellImage image;
    image.title = "eng English";
    image.texts = {"", "x"};
    image.lists = {{}, {"a"}};
    const Bytes data = encode_shell(image);
    // 25 + 12 (counts) + 5 (empty text) + 6 ("x") + 8 (two list sizes) + 6 ("a")
    EXPECT_EQ(data.size(), 25u + 12 + 5 + 6 + 8 + 6);
    const LanguageShell shell = load_shell(write_raw(dir, "eng", data));
    EXPECT_EQ(shell.text(0), "");
    EXPECT_EQ(shell.text_lengths[0], 0);
    EXPECT_TRUE(shell.lists[0].empty());
    EXPECT_EQ(shell.list_item(1, 0), "a");
}

TEST(Shell, DamagedFilesAreRefusedWithAFixedMessage) {
    TempDir dir;
    const Bytes good = encode_shell(numbered_shell("eng English", 20));
    expect_refused(write_raw(dir, "eng", Bytes(good.begin(), good.begin() + 20)), "ends early");
    expect_refused(write_raw(dir, "eng", Bytes(good.begin(), good.end() - 1)), "ends early");

    Bytes negative = good;
    negative[29] = 0xFF, negative[30] = 0xFF, negative[31] = 0xFF, negative[32] = 0xFF; // NT = -1
    expect_refused(write_raw(dir, "eng", negative), "negative count");

    Bytes huge = good;
    huge[29] = 0xFF, huge[30] = 0xFF, huge[31] = 0xFF, huge[32] = 0x7F; // NT = 2^31 - 1
    expect_refused(write_raw(dir, "eng", huge), "exceed the size");

    // The first short text declares 200 characters, more than its 15-character slot.
    Bytes overlong = good;
    overlong[37] = 200;
    expect_refused(write_raw(dir, "eng", overlong), "slot holds 15");

    Bytes disagree = good;
    disagree[41] = 14; // the length byte of the first short text
    expect_refused(write_raw(dir, "eng", disagree), "disagrees");

    expect_refused(dir / shell_file_name("xyz"), "missing");
}

TEST(Shell, EncoderRefusesWhatDoesNotFit) {
    ShellImage image;
    image.title = "eng English";
    image.short_texts = {std::string(16, 'a')};
    EXPECT_THROW(encode_shell(image), std::invalid_argument);
    image.short_texts = {"Дом"};
    EXPECT_THROW(encode_shell(image), std::invalid_argument);
    image.short_texts = {std::string(15, 'a')};
    image.texts = {std::string(255, 'b')};
    EXPECT_NO_THROW(encode_shell(image));
}

TEST(Shell, TitleAndTrimming) {
    TempDir dir;
    ShellImage image = numbered_shell("rus Русский");
    image.texts[270] = "  О системе  ";
    const auto path = write_shell(dir.path(), "rus", image);
    EXPECT_EQ(read_shell_title(path), "rus Русский");
    EXPECT_EQ(load_shell(path).trimmed(270), "О системе");
    EXPECT_EQ(suffix_of_file_name("Shell (KOV 1.0).рус"), "рус");
}
