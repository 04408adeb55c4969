#pragma once

// Reading a database or a task back from a workbook laid out as their exports write it. What is
// read goes into scratch records; the caller takes them only when the whole read passed, so a
// refused workbook changes nothing. Counts read from a workbook are checked against the limits of
// the data files before anything is sized by them. Texts the code page cannot store become "?",
// as they would in the files.

#include "book/workbook.h"
#include "dbor/bdon.h"
#include "dbor/bdon_checks.h"
#include "task/task_files.h"

#include <string>

namespace kov {

// The outcome of an import: Ok, or the box the window shows (a warning for a workbook of another
// language, type or mode; an error for a cell that does not convert or a sheet that is missing).
using ImportOutcome = NextOutcome;

struct DatabaseWorkbook {
    ImportOutcome outcome;
    BdonData data;    // complete only when the outcome is Ok
    std::string name; // B4, the database's name as the workbook gives it (not read into data)
};

// Reads sheets 1 to 5 of a database workbook for a new database of `type` ('A' or 'B') under the
// shell `suffix`: the language in B1 must be the suffix and the type in B2 the type.
DatabaseWorkbook read_database_workbook(WorkbookReader& book, const std::string& suffix, char type,
                                        char decimal_char, CodePage cp);

// What the task wizard takes from a task workbook: the header fields, the investment variants
// and the marks of the object table's rows.
struct TaskWorkbook {
    ImportOutcome outcome;
    TaskHeader header;
    std::vector<InvestmentVariant> variants;
    Marks row_marks;
};

// Reads sheets 1 to 3 of a task workbook for the investment mode `reg` chosen on the wizard's
// first page. The header's code and name stay empty (the wizard keeps what its fields hold);
// `faza` is not read.
TaskWorkbook read_task_workbook(WorkbookReader& book, int reg, char decimal_char, CodePage cp);

} // namespace kov
