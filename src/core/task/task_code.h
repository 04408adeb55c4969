#pragma once

#include <string_view>

namespace kov {

// A TaskCode: six upper-case Latin letters or digits. Every code read from a file or a name is
// checked against it before it becomes part of a path.
bool is_task_code(std::string_view code);

} // namespace kov
