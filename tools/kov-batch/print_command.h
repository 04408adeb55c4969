#pragma once

#include <string>
#include <vector>

// kov-batch print task|solution|stats WORKSPACE CODE [--variants LIST] [--levels LIST]
//                 [--lang SUFFIX] [--out FILE.pdf]
// Writes the report the program prints for a task, its solution or its statistics as a PDF under
// the Workspace's Reports folder with a name no file has, or as --out FILE (never replacing a
// file), and prints its path. `args` are the words after "print". Returns 0 written, 1 a file is
// missing, refused or cannot be written, 2 the call or its Workspace cannot be used.
int run_print_command(const std::vector<std::string>& args);

extern const char* const kPrintUsage;
