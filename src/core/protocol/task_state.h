#pragma once

// The rules of a task's way through the protocol: which tasks belong to the demonstration, and
// the changes of a task's state as its input is queued and its solution taken back.

#include "protocol/protocol.h"

#include <string_view>

namespace kov {

// A demonstration task (a TaskCode holding "DEMR" or "DEME" anywhere) cannot be deleted.
bool is_demonstration_task(std::string_view code);

// The task's input went to the optimisation module's queue at `when` (a day count): state 1.
// Throws std::invalid_argument unless the task is entered (state 0).
void mark_queued(ProtocolEntry& entry, double when);

// The task's solution was taken back into Data at `when`: state 2. Throws std::invalid_argument
// unless the task is queued (state 1).
void mark_solved(ProtocolEntry& entry, double when);

} // namespace kov
