#pragma once

#include <string>
#include <vector>

// kov-batch export database|task|solution|stats WORKSPACE CODE [--variants LIST]
//                  [--levels LIST] [--lang SUFFIX] [--out FILE]
// Writes the workbook the program's export writes and prints its path. `args` are the words after
// "export". Returns 0 written, 1 a file is missing, refused or cannot be written, 2 the call or
// its Workspace cannot be used.
int run_export_command(const std::vector<std::string>& args);

// kov-batch import database WORKSPACE FILE TYPE CODE [--lang SUFFIX]
// Reads a database workbook as the database wizard's import does, runs every check of the
// wizard's pages on it and writes the database TYPE_CODE (named as the workbook names it) only
// when all pass; a refusal prints the wizard's message. Returns 0 written, 1 refused, 2 the call
// or its Workspace cannot be used.
int run_import_command(const std::vector<std::string>& args);

extern const char* const kExportUsage;
