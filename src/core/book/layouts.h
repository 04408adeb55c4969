#pragma once

// The export workbooks: a database in five sheets, a task in four or six, a solution and the
// statistics in two each. Every cell is a text; the texts of tasks, solutions and statistics are
// those their viewers show.

#include "book/workbook.h"
#include "dbor/bdon.h"
#include "shell/language_shell.h"
#include "view/solution_view.h"
#include "view/statistics_view.h"
#include "view/task_view.h"

namespace kov {

// The height of a row whose height follows a text: (characters div `per_line` + 1) x 12.75.
double text_row_height(const std::string& text, std::size_t per_line);

WorkbookLayout database_workbook(const BdonData& bdon, const LanguageShell& shell,
                                 char decimal_char);
WorkbookLayout task_workbook(const TaskView& view, const LanguageShell& shell);
WorkbookLayout solution_workbook(const SolutionView& view, const LanguageShell& shell);
WorkbookLayout statistics_workbook(const StatisticsView& view, const LanguageShell& shell);

// The names under Reports (without extension) of the workbooks (.xlsx) and printed reports (.pdf)
// of the task `code`.
std::string task_report_name(const std::string& code);       // kov_<code>
std::string solution_report_name(const std::string& code);   // kov_<code>_out
std::string statistics_report_name(const std::string& code); // kov_<code>_stat

} // namespace kov
