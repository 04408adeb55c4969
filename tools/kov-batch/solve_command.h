#pragma once

#include <string>
#include <vector>

// kov-batch solve WORKSPACE [--task CODE] [--omega W] [--threshold KO] [--check-every KR]
//                 [--max-cycles LIMIT] [--lang SUFFIX]
// The optimisation module's batch mode: solves every queued task of the Workspace's Solving
// folder (or the one task named) and writes their solution files there. `args` are the words
// after "solve". Returns the exit status: 0 every task solved, 1 a task failed, 2 the command
// or its Workspace cannot be used.
int run_solve_command(const std::vector<std::string>& args);

// What `kov-batch --help` says about the solve command.
extern const char* const kSolveUsage;
