#include "protocol/task_state.h"

#include <stdexcept>
#include <string>

namespace kov {

namespace {

void require(const ProtocolEntry& entry, TaskState state, const char* change) {
    if (entry.state != state) {
        throw std::invalid_argument("protocol: task \"" + entry.code + "\" in state " +
                                    std::to_string(int(entry.state)) + " cannot be " + change);
    }
}

} // namespace

bool is_demonstration_task(std::string_view code) {
    return code.find("DEMR") != std::string_view::npos ||
           code.find("DEME") != std::string_view::npos;
}

void mark_queued(ProtocolEntry& entry, double when) {
    require(entry, TaskState::Entered, "queued");
    entry.state = TaskState::Queued;
    entry.queued = when;
}

void mark_solved(ProtocolEntry& entry, double when) {
    require(entry, TaskState::Queued, "marked solved");
    entry.state = TaskState::Solved;
    entry.solved = when;
}

} // namespace kov
