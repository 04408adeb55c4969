#pragma once

// Pieces of text the three viewers compose alike.

#include "shell/language_shell.h"
#include "task/task_files.h"
#include "view/view_content.h"

#include <string>
#include <string_view>
#include <vector>

namespace kov::view_texts {

// text + " (" + unit + ")"
std::string with_unit(std::string_view text, std::string_view unit);
// text + " (" + money + "/" + time + ")"
std::string with_rate_unit(std::string_view text, std::string_view money, std::string_view time);
// Shell text k, a blank and the task name in double quotation marks.
std::string caption(const LanguageShell& shell, int k, std::string_view name);
// The investment mode: shell text 148 for mode 1, 147 for mode 2.
std::string mode_text(const LanguageShell& shell, int reg);
// The task type: "1: " + 10, "2: " + 11, "3: " + 302, any other value "4: " + 303.
std::string task_type_text(const LanguageShell& shell, int tipz);
// What is maximised: shell text 9 for sale tasks (prmp 1), 301 for exploitation tasks.
std::string income_kind_text(const LanguageShell& shell, int prmp);
// An integer as plain decimal.
std::string integer(long long v);

// The parameter rows the task and solution viewers share: pay-back and its parameters (or the
// number of variants without pay-back), the interest rate, and the restrictions up to the
// longest delay of the income; numbers with the `decimal` separator.
void add_payback_and_limits(std::vector<ViewParam>& p, const TaskHeader& h,
                            const LanguageShell& shell, char decimal);

// A row of `columns` empty cells.
ViewRow empty_row(std::size_t columns);
ViewRow separator_row(std::size_t columns);

} // namespace kov::view_texts
