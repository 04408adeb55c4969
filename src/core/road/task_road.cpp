#include "road/task_road.h"

#include "protocol/task_state.h"

#include "dbor/bdon.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "task/task_code.h"
#include "task/task_files.h"

namespace kov {

namespace {

void remove_or_throw(const std::string& path) {
    if (!remove_file(path)) {
        throw FileError(FileError::Kind::Write, path, "the file cannot be deleted");
    }
}

} // namespace

std::vector<std::string> queued_task_codes(const std::string& workspace) {
    std::vector<std::string> codes;
    for (const std::string& name : find_files(ws_path(workspace, "Solving"), "kov_??????_in.dat")) {
        std::string code = name.substr(4, 6);
        if (is_task_code(code)) {
            codes.push_back(std::move(code));
        }
    }
    return codes;
}

bool queue_task_input(const std::string& workspace, const std::string& code) {
    const std::string source = task_file_path(workspace, "Data", code, "_in");
    if (!file_exists(source)) {
        return false;
    }
    remove_or_throw(task_file_path(workspace, "Solving", code, "_out"));
    copy_file_atomic(source, task_file_path(workspace, "Solving", code, "_in"));
    return true;
}

TakeBackResult take_back_solution(const std::string& workspace, const std::string& code,
                                  const std::string& suffix, CodePage cp,
                                  const std::string& save_date) {
    TakeBackResult result;
    const std::string solution_path = task_file_path(workspace, "Solving", code, "_out");
    if (!file_exists(solution_path)) {
        return result;
    }
    const TaskHeader header = read_task_header(task_file_path(workspace, "Data", code, ""), cp);
    const bool correct = header.nsg == 1 && header.prk == 1;
    BdonData bdon;
    Solution solution;
    if (correct) {
        bdon = read_bdon(task_bdon_base(workspace, header, suffix), cp);
        solution = read_solution_first_plan(solution_path, header, bdon, cp);
    }
    copy_file_atomic(solution_path, task_file_path(workspace, "Data", code, "_out"));
    result.taken = true;
    if (correct && mark_taken_objects_absent(solution, bdon)) {
        write_bdon(workspace, suffix, bdon, save_date, cp);
        result.corrected = true;
    }
    // The input first: while the solution stays under Solving the step can be taken again.
    remove_or_throw(task_file_path(workspace, "Solving", code, "_in"));
    remove_or_throw(solution_path);
    return result;
}

std::vector<std::string> task_files(const std::string& workspace, const std::string& code) {
    return {task_file_path(workspace, "Data", code, ""),
            task_file_path(workspace, "Data", code, "_in"),
            task_file_path(workspace, "Data", code, "_out"),
            task_file_path(workspace, "Data", code, "_stat"),
            task_file_path(workspace, "Solving", code, "_in"),
            task_file_path(workspace, "Solving", code, "_out")};
}

std::vector<std::string> delete_task_files(const std::string& workspace, const std::string& code) {
    std::vector<std::string> failed;
    for (const auto& f : task_files(workspace, code)) {
        if (!remove_file(f)) {
            failed.push_back(f);
        }
    }
    return failed;
}

bool queue_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol, std::size_t i,
                double now) {
    ProtocolEntry& e = protocol.at(i);
    ProtocolEntry next = e;
    mark_queued(next, now); // refuses a task that is not entered before any file is touched
    if (!queue_task_input(workspace, e.code)) {
        return false;
    }
    e = next;
    write_protocol(workspace, protocol);
    return true;
}

TakeBackResult take_back_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol,
                              std::size_t i, const std::string& suffix, CodePage cp,
                              const std::string& save_date, double now) {
    ProtocolEntry& e = protocol.at(i);
    ProtocolEntry next = e;
    mark_solved(next, now); // refuses a task that is not queued before any file is touched
    const TakeBackResult result = take_back_solution(workspace, e.code, suffix, cp, save_date);
    if (result.taken) {
        e = next;
        write_protocol(workspace, protocol);
    }
    return result;
}

void delete_task(const std::string& workspace, std::vector<ProtocolEntry>& protocol,
                 std::size_t i) {
    const auto failed = delete_task_files(workspace, protocol.at(i).code);
    if (!failed.empty()) {
        // A file that stays would be picked up by a later task of the same code, so the entry
        // stays too.
        throw FileError(FileError::Kind::Write, failed.front(), "the file cannot be deleted");
    }
    protocol.erase(protocol.begin() + std::ptrdiff_t(i));
    write_protocol(workspace, protocol);
}

std::vector<std::string> recover_workspace_files(const std::string& workspace) {
    std::vector<std::string> stuck;
    for (const char* folder : {"Data", "Dbor", "Solving", "System", "Reports"}) {
        for (std::string& f : recover_interrupted_writes(ws_path(workspace, folder))) {
            stuck.push_back(std::move(f));
        }
    }
    return stuck;
}

RoadRecovery recover_task_roads(const std::string& workspace, std::vector<ProtocolEntry>& protocol,
                                double now) {
    RoadRecovery r;
    for (ProtocolEntry& e : protocol) {
        if (!is_task_code(e.code)) {
            continue; // no file can belong to it
        }
        const std::string queued_in = task_file_path(workspace, "Solving", e.code, "_in");
        const std::string queued_out = task_file_path(workspace, "Solving", e.code, "_out");
        const bool in = file_exists(queued_in);
        const bool out = file_exists(queued_out);
        const bool taken = file_exists(task_file_path(workspace, "Data", e.code, "_out"));
        switch (e.state) {
        case TaskState::Entered:
            if (in) {
                mark_queued(e, now);
                r.changed = true;
            }
            break;
        case TaskState::Queued:
            if (!in && !out && taken) {
                mark_solved(e, now);
                r.changed = true;
            }
            break;
        case TaskState::Solved:
            for (const std::string& f : {queued_in, queued_out}) {
                if (!remove_file(f)) {
                    r.stuck.push_back(f);
                }
            }
            break;
        }
    }
    return r;
}

} // namespace kov
