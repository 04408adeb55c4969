#include "io/files.h"

#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace kov;

namespace {

Bytes bytes_of(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

} // namespace

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    TempDir dir;
    const std::string f = dir / "a.dat";
    write_file_atomic(f, bytes_of("old"));
    write_file_atomic(f, bytes_of("new content"));
    EXPECT_EQ(read_file(f), bytes_of("new content"));
    EXPECT_EQ(find_files(dir.path(), "*"), std::vector<std::string>{"a.dat"});
}

TEST(Files, FailedPairWriteLeavesBothOldFiles) {
    TempDir dir;
    const std::string a = dir / "kov_T00001.dat";
    write_file_atomic(a, bytes_of("descriptor"));
    // The second file's folder does not exist, so its write fails after the first was prepared.
    try {
        write_files_atomic(
            {{a, bytes_of("new descriptor")}, {dir / "missing/kov_T00001_in.dat", bytes_of("x")}},
            dir / "kov_T00001.intent");
        FAIL() << "the write should fail";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Write);
    }
    EXPECT_EQ(read_file(a), bytes_of("descriptor"));
    EXPECT_EQ(find_files(dir.path(), "*"), std::vector<std::string>{"kov_T00001.dat"});
}

TEST(Files, ReadErrorsNameTheFile) {
    TempDir dir;
    try {
        read_file(dir / "none.dat");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Missing);
        EXPECT_NE(std::string(e.what()).find("none.dat"), std::string::npos);
    }
    write_file_atomic(dir / "big.dat", Bytes(100, 0));
    EXPECT_THROW(read_file(dir / "big.dat", 99), FileError);
}

TEST(Files, WildcardSearchIsExactAndSorted) {
    TempDir dir;
    for (const char* name : {"kov_ZZZ999_in.dat", "kov_ABC123_in.dat", "kov_ABC12_in.dat",
                             "kov_ABC1234_in.dat", "kov_ABC123_out.dat", "Shell (KOV 1.0).рус",
                             "Shell (KOV 1.0).eng", "Shell (KOV 1.0).en"}) {
        write_file_atomic(dir / name, {});
    }
    std::filesystem::create_directory(dir / "kov_DIR000_in.dat");
    EXPECT_EQ(find_files(dir.path(), "kov_??????_in.dat"),
              (std::vector<std::string>{"kov_ABC123_in.dat", "kov_ZZZ999_in.dat"}));
    EXPECT_EQ(find_files(dir.path(), "Shell (KOV 1.0).???"),
              (std::vector<std::string>{"Shell (KOV 1.0).eng", "Shell (KOV 1.0).рус"}));
    EXPECT_TRUE(find_files(dir / "absent", "*").empty());
}

TEST(Files, WorkspaceIsTheExecutablesFolder) {
    EXPECT_EQ(workspace_of_executable("/opt/kov/Workspace/kov"), "/opt/kov/Workspace");
    EXPECT_EQ(ws_path("/w", "Data/kov_ABC123.dat"), "/w/Data/kov_ABC123.dat");
    EXPECT_EQ(ws_path("/w", "/System/protocol.ptl"), "/w/System/protocol.ptl");
}
