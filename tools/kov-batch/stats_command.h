#pragma once

#include <string>
#include <vector>

// kov-batch stats WORKSPACE CODE --trials N [--lang SUFFIX]: the statistical modelling of a
// solved task. `args` are the words after "stats". Returns the exit status.
int run_stats_command(const std::vector<std::string>& args);
