#include "protocol/task_record.h"

#include <stdexcept>

namespace kov {

std::size_t record_saved_task(std::vector<ProtocolEntry>& protocol, const std::string& code,
                              const std::string& name, CodePage cp, bool correction, double now) {
    if (!correction) {
        ProtocolEntry e;
        e.code = code;
        e.stored_name = stored_task_name(name, cp);
        e.state = TaskState::Entered;
        e.entered = now;
        e.changed = now;
        protocol.push_back(e);
        return protocol.size() - 1;
    }
    for (std::size_t i = 0; i < protocol.size(); ++i) {
        if (protocol[i].code == code) {
            protocol[i].stored_name = stored_task_name(name, cp);
            protocol[i].changed = now;
            return i;
        }
    }
    throw std::invalid_argument("protocol: no entry of the task " + code + " to correct");
}

} // namespace kov
