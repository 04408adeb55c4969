#include "task/task_code.h"

namespace kov {

bool is_task_code(std::string_view code) {
    if (code.size() != 6) {
        return false;
    }
    for (char c : code) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

} // namespace kov
