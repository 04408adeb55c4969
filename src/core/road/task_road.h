#pragma once

// The files of a task on its way from entry to solution: queueing its input for the
// optimisation module, taking its solution back into Data, deleting all of them, and putting
// right at the next start or listing what an interrupted step left.
//
// Each step changes the task's files first and its protocol entry after, then writes the
// protocol. A failure or a crash at any point leaves every file old or complete and new; the
// protocol then lags behind the files at most by the one step, which recover_task_roads
// completes.

#include "io/codepage.h"
#include "protocol/protocol.h"

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
// Solving files are deleted, the input first. Nothing happens when the solution does not exist.
// Throws FileError (naming the file) when a file cannot be read, does not fit, or cannot be
// written or deleted; the step can then be taken again.
TakeBackResult take_back_solution(const std::string& workspace, const std::string& code,
                                  const std::string& suffix, CodePage cp,
                                  const std::string& save_date);

// The files a task can have, under Data and Solving.
std::vector<std::string> task_files(const std::string& workspace, const std::string& code);
// Deletes whichever of them exist. Returns the ones that could not be deleted.
std::vector<std::string> delete_task_files(const std::string& workspace, const std::string& code);

// The steps of the protocol window on entry `i` of `protocol`, each ending with the protocol
// write. A FileError from the task's files leaves the entry as it was; one from the protocol
// write leaves the changed entry in memory (the files have changed).
// Queued, queued := now. False when the task has no input file.
bool queue_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol, std::size_t i,
                double now);
// Solved, solved := now, once the solution was taken (result.taken).
TakeBackResult take_back_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol,
                              std::size_t i, const std::string& suffix, CodePage cp,
                              const std::string& save_date, double now);
// Deletes the task's files, then its entry. A file that cannot be deleted keeps the entry and
// throws FileError::Write naming it.
void delete_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol, std::size_t i);

// Start-up, with the Workspace lock held: carries out interrupted pair writes and removes the
// atomic writer's temporaries in Data, Dbor, Solving and System, and the workbook writer's in
// Reports. Returns what stays.
std::vector<std::string> recover_workspace_files(const std::string& workspace);

// Puts right what an interrupted step of the road left, entry by entry:
// - entered, with its input under Solving: the queueing was done; the task becomes queued;
// - queued, with its solution in Data and both Solving files gone: the taking back was done;
//   the task becomes solved;
// - solved, with files left under Solving: they are deleted.
// `now` dates the changed steps. Returns the files that could not be deleted; `changed` tells
// whether an entry changed (the caller then writes the protocol).
struct RoadRecovery {
    bool changed = false;
    std::vector<std::string> stuck;
};
RoadRecovery recover_task_roads(const std::string& workspace, std::vector<ProtocolEntry>& protocol,
                                double now);

} // namespace kov
