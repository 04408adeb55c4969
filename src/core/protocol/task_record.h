#pragma once

// The protocol entry of a task the wizard has saved.

#include "protocol/protocol.h"

#include <string>
#include <vector>

namespace kov {

// The name is stored in the code page `cp` of the shell the task is saved under. A new task
// (correction false) gets a new entry in state 0 entered and changed at `now`; a
// corrected task's entry gets the new name and `now` as its last change, keeping its state and
// its other times. Returns the entry's index. Throws std::invalid_argument for a correction of a
// task the protocol does not hold.
std::size_t record_saved_task(std::vector<ProtocolEntry>& protocol, const std::string& code,
                              const std::string& name, CodePage cp, bool correction, double now);

} // namespace kov
