# kov-batch solve and stats on a fresh demonstration Workspace (written by kov-demo beside the shells and
# the information file of the built Workspace): the queued tasks are solved, a single task in
# another language, refused parameters, a missing task, a task whose database is gone and an
# empty queue give their exit status and messages.
#   cmake -DKOV_BATCH=... -DKOV_DEMO=... -DWORKSPACE=... -DSCRATCH=... -P solve_demo_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/demo_test_common.cmake)
fresh_demo_workspace(TRUE)

# The solution of a completed run: result flag 1 at offset 428.
function(expect_solved code)
    set(file "${SCRATCH}/Solving/kov_${code}_out.dat")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "no solution ${file}")
    endif()
    file(READ "${file}" flag OFFSET 428 LIMIT 4 HEX)
    if(NOT flag STREQUAL "01000000")
        message(FATAL_ERROR "${file}: result flag ${flag}")
    endif()
endfunction()

set(ENV{LC_ALL} "de_DE.UTF-8")

# Batch mode: both queued tasks (DEME04, DEMR04), in name order, with the default parameters.
batch(0 solve "${SCRATCH}")
expect("Start of solving the task \"DEME04\"" out)
expect("Start of solving the task \"DEMR04\"" out)
expect("Duration of solving the task \"DEMR04\"" out)
expect_solved(DEME04)
expect_solved(DEMR04)

# A name that is no TaskCode is not queued; a queued file that cannot be read fails while the
# batch goes on with the next task.
file(REMOVE "${SCRATCH}/Solving/kov_DEME04_out.dat" "${SCRATCH}/Solving/kov_DEMR04_out.dat")
file(COPY_FILE "${SCRATCH}/Solving/kov_DEME04_in.dat" "${SCRATCH}/Solving/kov_deme05_in.dat")
file(WRITE "${SCRATCH}/Solving/kov_DEME03_in.dat" "")
batch(1 solve "${SCRATCH}")
expect("kov_DEME03_in.dat" err)
expect_solved(DEME04)
expect_solved(DEMR04)
string(FIND "${out}${err}" "deme05" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "kov-batch took kov_deme05_in.dat for a queued task:\n${out}\n${err}")
endif()
file(REMOVE "${SCRATCH}/Solving/kov_deme05_in.dat" "${SCRATCH}/Solving/kov_DEME03_in.dat")

# One task, in the Russian shell, with all four parameters and a comma as the separator.
file(REMOVE "${SCRATCH}/Solving/kov_DEME04_out.dat" "${SCRATCH}/Solving/kov_DEMR04_out.dat")
batch(0 solve "${SCRATCH}" --task demr04 --lang rus --omega 0,5 --threshold 0.01 --check-every 2
      --max-cycles 3000)
expect("Начало решения задачи \"DEMR04\"" out)
expect_solved(DEMR04)
if(EXISTS "${SCRATCH}/Solving/kov_DEME04_out.dat")
    message(FATAL_ERROR "--task solved another task too")
endif()

# Parameters outside the ranges of the parameter step, a missing task, unknown words.
batch(2 solve "${SCRATCH}" --omega 0.3)
expect("--omega 0.3: The relaxation coefficient (RC) must be at least 0,5 and less than 1,0." err)
batch(2 solve "${SCRATCH}" --omega 0.99999)
batch(2 solve "${SCRATCH}" --threshold 0.11)
batch(2 solve "${SCRATCH}" --check-every 0)
batch(2 solve "${SCRATCH}" --max-cycles 9 --lang rus)
expect("Лимит числа итерационных циклов ЛЧИ должен быть не меньше 10." err)
batch(2 solve "${SCRATCH}" --omega abc)
batch(2 solve "${SCRATCH}" --lang ukr)
batch(2 solve "${SCRATCH}" --speed 3)
batch(2 solve)
batch(1 solve "${SCRATCH}" --task ABC123)
expect("\"kov_ABC123_in.dat\"." err)

# A queued task whose database is gone fails, and the run says so.
file(REMOVE "${SCRATCH}/Dbor/B_201001_dbor_eng.dat")
batch(1 solve "${SCRATCH}")
expect("B_201001_dbor_eng.dat" err)

# Nothing queued.
file(REMOVE "${SCRATCH}/Solving/kov_DEME04_in.dat" "${SCRATCH}/Solving/kov_DEMR04_in.dat")
batch(0 solve "${SCRATCH}")
expect("There are no input files of queued tasks" out)

# The statistics of the solved pay-back task; refused trial counts and an unsolved task.
batch(0 stats "${SCRATCH}" deme02 --trials 1000)
expect("\"DEME02\"" out)
if(NOT EXISTS "${SCRATCH}/Data/kov_DEME02_stat.dat")
    message(FATAL_ERROR "kov-batch stats wrote no statistics file")
endif()
batch(1 stats "${SCRATCH}" DEME02 --trials 99)
batch(1 stats "${SCRATCH}" DEME02 --trials 100001)
batch(1 stats "${SCRATCH}" DEME01 --trials 1000)

batch(0 --help)
expect("--max-cycles LIMIT" out)
file(REMOVE_RECURSE "${SCRATCH}")
