#include "optim/info_file.h"

#include "io/files.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(InfoFile, EvenLinesTrimmedMissingLinesEmpty) {
    TempWorkspace ws;
    LanguageShell shell;
    shell.texts.resize(460);
    shell.texts[319] = "no file";
    shell.texts[459] = "unknown";
    using Info = std::array<std::string, 3>;
    EXPECT_EQ(read_info_file(ws.path(), shell),
              (Info{"? (no file System\\info)", "? (unknown)", "? (unknown)"}));
    write_text_atomic(ws / "System/Info", "Module:\n  Optimiser 1  \n");
    EXPECT_EQ(read_info_file(ws.path(), shell), (Info{"Optimiser 1", "", ""}));
    write_text_atomic(ws / "System/Info", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n");
    EXPECT_EQ(read_info_file(ws.path(), shell), (Info{"b", "d", "f"}));
}
