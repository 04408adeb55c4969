#include "stats_command.h"

#include <iostream>

int run_stats_command(const std::vector<std::string>&) {
    std::cerr << "kov-batch stats: not available yet\n";
    return 2;
}
