#pragma once

#include <optional>
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

// The words and options of a report command (export, print): --lang, and with `selections`
// --variants, --levels and --out. Throws Unusable for an unknown option or a missing value.
struct ReportOptions {
    std::vector<std::string> words;
    std::optional<std::string> variants, levels, lang, out;
};
ReportOptions parse_report_options(const std::vector<std::string>& args, bool selections);

// Throws Unusable when `workspace` has no folder Data.
void need_workspace(const std::string& workspace);

// The text in upper case (ASCII letters).
std::string upper(std::string s);

extern const char* const kExportUsage;
