#pragma once

// The files of a task on its way from entry to solution: queueing its input for the
// optimisation module, taking its solution back into Data, and deleting all of them.

#include "io/codepage.h"

#include <string>
#include <vector>

namespace kov {

// The tasks queued for the optimisation module: the codes of the files Solving/kov_??????_in.dat
// in name order, taking only names whose six characters are a TaskCode (a file such as
// kov_deme05_in.dat is no queued task and is left alone).
std::vector<std::string> queued_task_codes(const std::string& workspace);

// Copies Data/kov_<T>_in.dat to Solving/kov_<T>_in.dat. A solution left under Solving from an
// earlier task of the same code is deleted first, so it can never be taken back as this task's.
// Returns false (and does nothing) when the input file does not exist. Throws FileError.
bool queue_task_input(const std::string& workspace, const std::string& code);

struct TakeBackResult {
    bool taken = false;     // the solution was copied into Data
    bool corrected = false; // the task's database was corrected and written back
};

// Takes the solution Solving/kov_<T>_out.dat back into Data. For a one-variant task that asks
// for it (nsg = 1, prk = 1) the objects of the solved plan are marked absent in the task's
// database, which is written back with `save_date` as its date of saving; the solution is
// checked against the database as it is now before anything is copied or marked. Then both
// Solving files are deleted. Nothing happens when the solution does not exist. Throws FileError
// (naming the file) when a file cannot be read, does not fit, or cannot be written; files are
// then left as they were, apart from a copy already in Data.
TakeBackResult take_back_solution(const std::string& workspace, const std::string& code,
                                  const std::string& suffix, CodePage cp,
                                  const std::string& save_date);

// The files a task can have, under Data and Solving.
std::vector<std::string> task_files(const std::string& workspace, const std::string& code);
// Deletes whichever of them exist. Returns the ones that could not be deleted.
std::vector<std::string> delete_task_files(const std::string& workspace, const std::string& code);

} // namespace kov
