#pragma once

#include "view/view_content.h"

#include <ostream>
#include <string>
#include <vector>

// kov-batch view task|solution|stats WORKSPACE CODE [--variants LIST] [--levels LIST]
//                [--lang SUFFIX] [--proof] [--why]
// Prints what the task, solution or statistics viewer shows, line by line in the window's order;
// for a solution --proof and --why add the certificate of every plan and why it holds.
// `args` are the words after "view". Returns the exit status: 0 printed, 1 a file is missing or
// does not fit its database, 2 the call or its Workspace cannot be used.
int run_view_command(const std::vector<std::string>& args);

// The lines of a viewer's content: "caption", "tab", "param", then per grid "grid" with its
// headings and its "row" and "sep" lines; fields separated by a tab, a backslash, tab, CR or LF
// inside a text written as \\, \t, \r, \n.
void write_view_content(std::ostream& out, const kov::ViewContent& content);

// A LIST of the --variants (1..16) or --levels (1..10) option: "all", "none" or numbers
// separated by commas. Throws Unusable for anything else.
kov::VariantFlags parse_variant_list(const std::string& list);
kov::LevelFlags parse_level_list(const std::string& list);

// What `kov-batch --help` says about the view command.
extern const char* const kViewUsage;
