#pragma once

// The task viewer's content: the parameter list of a task and its five tables (investment
// variants, listed objects, chosen modernisation variants and, for a task with pay-back, the
// chosen income variants and their delay curves).

#include "dbor/bdon.h"
#include "shell/language_shell.h"
#include "task/task_files.h"
#include "view/view_content.h"

#include <string>
#include <string_view>

namespace kov {

struct TaskView {
    TaskHeader task;
    // Tabs 0 to 4, the parameter list without a leading empty row (the task export and import
    // take its row k as the k-th parameter) and grids 1 to 5.
    ViewContent content;
    // Tabs 3 and 4 (income variants and their curves) show their panels: a task with pay-back.
    bool income_tabs = false;
};

// The content of a descriptor read in full against its database. Numbers use `decimal_char`.
TaskView task_view(const TaskDescriptor& d, const BdonData& bdon, const LanguageShell& shell,
                   char decimal_char);

// Reads Data/kov_<code>.dat and the task's database (in the shell's language) and builds the
// content. The descriptor is refused (FileError naming it) when it does not fit the database as
// it is now: its size, `mt` against the objects the database lists for the task type, and every
// mark and choice (read_task_descriptor). A missing or unreadable file is a FileError too.
TaskView build_task_view(const std::string& workspace, std::string_view code,
                         const LanguageShell& shell, char decimal_char);

} // namespace kov
