#include "dbor/bdon_list.h"

#include "data_fixtures.h"
#include "dbor/bdon.h"
#include "io/files.h"
#include "shell/language_shell.h"
#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;

namespace {

LanguageShell shell(const std::string& suffix) {
    LanguageShell s;
    s.suffix = suffix;
    s.file_name = shell_file_name(suffix);
    s.codepage = codepage_for_suffix(suffix);
    for (int k = 0; k < 540; ++k) {
        s.texts.push_back("T" + std::to_string(k));
    }
    s.texts[144] = "The database file";
    s.texts[473] = "has a name that does not match the code stored in it";
    s.texts[334] = "The file should be named";
    return s;
}

void add_database(const TempWorkspace& ws, const LanguageShell& sh, char type,
                  const std::string& code, const std::string& name) {
    BdonData d = fixtures::make_bdon(type, code, {{{{0}, {}}}}, name, sh.suffix);
    write_bdon(ws.path(), sh.suffix, d, "01.01.2025", sh.codepage);
}

} // namespace

TEST(BdonList, AFilesFirstThenBFilesEachInNameOrder) {
    TempWorkspace ws;
    const LanguageShell eng = shell("eng");
    add_database(ws, eng, 'B', "000002", "Second own");
    add_database(ws, eng, 'A', "777", "Seven");
    add_database(ws, eng, 'B', "000001", "First own");
    add_database(ws, eng, 'A', "123", std::string(70, 'n'));
    const BdonListRebuild r = rebuild_bdon_list(ws.path(), eng);
    EXPECT_TRUE(r.warning.empty());
    EXPECT_EQ(r.entries, (std::vector<BdonListEntry>{{"A_123", std::string(70, 'n')},
                                                     {"A_777", "Seven"},
                                                     {"B_000001", "First own"},
                                                     {"B_000002", "Second own"}}));
}

TEST(BdonList, ARenamedFileGivesTheWarningAndStopsTheList) {
    TempWorkspace ws;
    const LanguageShell eng = shell("eng");
    add_database(ws, eng, 'A', "100", "One hundred");
    add_database(ws, eng, 'A', "300", "Three hundred");
    add_database(ws, eng, 'B', "000001", "Own");
    add_database(ws, eng, 'A', "400", "Four hundred");
    // The user renamed A_300's file by hand.
    std::filesystem::rename(ws / "Dbor/A_300_dbor_eng.dat", ws / "Dbor/A_200_dbor_eng.dat");
    const BdonListRebuild r = rebuild_bdon_list(ws.path(), eng);
    EXPECT_EQ(r.entries, (std::vector<BdonListEntry>{{"A_100", "One hundred"}}));
    EXPECT_EQ(r.warning,
              "The database file \"A_200_dbor_eng.dat\" has a name that does not match the code "
              "stored in it. The file should be named: \"A_300_dbor_eng.dat\".");
}

TEST(BdonList, OtherLanguagesAreNotListedAndRussianNamesAreRead) {
    TempWorkspace ws;
    const LanguageShell eng = shell("eng");
    const LanguageShell rus = shell("rus");
    add_database(ws, eng, 'A', "001", "English");
    add_database(ws, rus, 'A', "002", "Русская база");
    add_database(ws, rus, 'B', "000003", "Своя недвижимость");
    EXPECT_EQ(rebuild_bdon_list(ws.path(), eng).entries,
              (std::vector<BdonListEntry>{{"A_001", "English"}}));
    EXPECT_EQ(
        rebuild_bdon_list(ws.path(), rus).entries,
        (std::vector<BdonListEntry>{{"A_002", "Русская база"}, {"B_000003", "Своя недвижимость"}}));
    std::filesystem::remove(ws / "Dbor/A_001_dbor_eng.dat");
    EXPECT_TRUE(rebuild_bdon_list(ws.path(), eng).entries.empty());
}

TEST(BdonList, EmptyFolderUnreadableFilesAndOtherNames) {
    TempWorkspace ws;
    const LanguageShell eng = shell("eng");
    EXPECT_TRUE(rebuild_bdon_list(ws.path(), eng).entries.empty());
    TempDir no_workspace;
    EXPECT_TRUE(rebuild_bdon_list(no_workspace.path(), eng).entries.empty());
    add_database(ws, eng, 'A', "001", "One");
    write_file_atomic(ws / "Dbor/A_002_dbor_eng.dat", Bytes(100, 0)); // too short for a header
    write_file_atomic(ws / "Dbor/A_0003_dbor_eng.dat",
                      Bytes(200, 0)); // four characters: not searched
    add_database(ws, eng, 'A', "004", "Four");
    const BdonListRebuild r = rebuild_bdon_list(ws.path(), eng);
    EXPECT_EQ(r.entries, (std::vector<BdonListEntry>{{"A_001", "One"}, {"A_004", "Four"}}));
    EXPECT_TRUE(r.warning.empty());
    EXPECT_EQ(r.unreadable, std::vector<std::string>{"A_002_dbor_eng.dat"});
    // Deleting the last database leaves the list empty.
    for (const char* f : {"A_001", "A_002", "A_0003", "A_004"}) {
        std::filesystem::remove(ws / ("Dbor/" + std::string(f) + "_dbor_eng.dat"));
    }
    EXPECT_TRUE(rebuild_bdon_list(ws.path(), eng).entries.empty());
}
