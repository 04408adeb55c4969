#pragma once

// The statistics viewer's content: the task's main parameters with the run's trial count and
// duration, and one block per investment variant (highest expected income first) with the
// threshold incomes of the chosen risk levels.

#include "shell/language_shell.h"
#include "stats/stat_file.h"
#include "task/task_files.h"
#include "view/view_content.h"

#include <string>
#include <string_view>

namespace kov {

struct StatisticsView {
    TaskHeader task;
    // The parameter list (starting with one empty row) and the one table of 10 columns.
    ViewContent content;
    // The risk picture: each variant's threshold incomes against the risk probability (all ten
    // levels, whatever levels the table shows), the variants in the order of the table.
    ViewPicture risk;
};

// The content of a statistics file with the risk levels whose flags are set. Numbers use
// `decimal_char`; the level texts ("0,1: " .. "1,0: ") keep their comma.
StatisticsView statistics_view(const TaskHeader& task, const StatFile& stats,
                               const LanguageShell& shell, char decimal_char,
                               const LevelFlags& levels);

// Reads the header of Data/kov_<code>.dat and Data/kov_<code>_stat.dat. The statistics file is
// refused (FileError naming it) when its size is not the one the task's number of investment
// variants calls for or its variant numbers are not 1..nsg each once.
StatisticsView build_statistics_view(const std::string& workspace, std::string_view code,
                                     const LanguageShell& shell, char decimal_char,
                                     const LevelFlags& levels);

} // namespace kov
