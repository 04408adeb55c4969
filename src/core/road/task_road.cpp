#include "road/task_road.h"

#include "dbor/bdon.h"
#include "io/files.h"
#include "optim/solution_file.h"
#include "task/task_code.h"
#include "task/task_files.h"

namespace kov {

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
    const std::string old_solution = task_file_path(workspace, "Solving", code, "_out");
    if (!remove_file(old_solution)) {
        throw FileError(FileError::Kind::Write, old_solution, "an old solution cannot be deleted");
    }
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
    remove_file(task_file_path(workspace, "Solving", code, "_in"));
    remove_file(solution_path);
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

} // namespace kov
