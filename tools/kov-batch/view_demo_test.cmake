# kov-batch view on a fresh demonstration Workspace (written by kov-demo beside the shells of the
# built Workspace): the task viewer, the solution viewer with chosen variants and the statistics
# viewer with chosen risk levels of the solved tasks, their line kinds and number texts, and the
# exit status of missing files, files that no longer fit their database and wrong calls.
#   cmake -DKOV_BATCH=... -DKOV_DEMO=... -DWORKSPACE=... -DSCRATCH=... -P view_demo_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/demo_test_common.cmake)
fresh_demo_workspace(FALSE)

# How many lines of `out` begin with `prefix` must be `expected`.
function(expect_lines expected prefix)
    string(REGEX MATCHALL "(^|\n)${prefix}" found "${out}")
    list(LENGTH found n)
    if(NOT n EQUAL expected)
        message(FATAL_ERROR "${n} lines begin with \"${prefix}\", expected ${expected}:\n${out}")
    endif()
endfunction()

set(ENV{LC_ALL} "de_DE.UTF-8")
batch(0 stats "${SCRATCH}" DEME02 --trials 1000 --lang eng)

# The task viewer: five tabs, the parameter list starting with the task code, the pay-back
# coefficients of the three variants with the locale's comma, five grids.
batch(0 view task "${SCRATCH}" deme02 --lang eng)
expect("caption\tViewing the input data of task \"" out)
expect_lines(5 "tab\t")
if(NOT out MATCHES "\ntab\t[^\n]*\nparam\tTask code\tDEME02\n")
    message(FATAL_ERROR "the task code is not the first parameter after the tabs:\n${out}")
endif()
expect("row\t1\t1\t200\t60\t0,900\nrow\t1\t2\t\t\t0,700\nrow\t1\t3\t\t\t0,500\n" out)
expect_lines(5 "grid\t")
expect("grid\t5\t" out)
batch(0 view task "${SCRATCH}" DEME03 --lang eng)
expect_lines(0 "row\t4")

# The solution viewer: variants 1 and 3 of three with one separator between them; none.
batch(0 view solution "${SCRATCH}" DEME02 --variants 1,3 --lang eng)
expect("param\t\t\nparam\tResult of the run\t1\n" out)
expect("row\t1\t1\t6,0/0,90\t" out)
expect("row\t1\t3\t6,0/0,50\t" out)
expect_lines(1 "sep\t1")
expect_lines(3 "param\tInvestment variant <")
batch(0 view solution "${SCRATCH}" DEME02 --variants none --lang eng)
expect_lines(1 "row\t1")
batch(0 view solution "${SCRATCH}" DEMR03 --lang rus)
expect("caption\tПросмотр найденного решения задачи" out)

# The certificate of the plans and why they hold come only when asked for, after what the viewer
# shows: a proof line per selected variant (the demonstration's plans are the best ones) and a why
# line per object of those variants.
batch(0 view solution "${SCRATCH}" DEME02 --lang eng)
set(plain "${out}")
batch(0 view solution "${SCRATCH}" DEME02 --lang eng --proof --why)
string(FIND "${out}" "${plain}" at)
if(NOT at EQUAL 0)
    message(FATAL_ERROR "--proof --why changed what the viewer shows:\n${out}")
endif()
expect_lines(3 "proof\t")
foreach(v 1 2 3)
    if(NOT out MATCHES "\nproof\t${v}\t-?[0-9]+,[0-9][0-9]\t-?[0-9]+,[0-9][0-9]\t0,00\n")
        message(FATAL_ERROR "no proof line of an optimal variant ${v}:\n${out}")
    endif()
endforeach()
if(NOT out MATCHES "\nwhy\t1\t[0-9]+\t[^\t]*\t[01]\t(fall|rise)\t([0-9]+,[0-9][0-9]|-)\n")
    message(FATAL_ERROR "no why line of variant 1:\n${out}")
endif()
batch(0 view solution "${SCRATCH}" DEME02 --variants 2 --proof --lang eng)
expect_lines(1 "proof\t")
expect_lines(0 "why\t")
expect("\nproof\t2\t" out)
batch(0 view solution "${SCRATCH}" DEMR03 --why --lang rus)
expect_lines(0 "proof\t")
batch(2 view task "${SCRATCH}" DEME02 --proof --lang eng)
batch(2 view stats "${SCRATCH}" DEME02 --why --lang eng)

# The statistics viewer: no level gives one row per variant; level 1,0 alone 27 blanks first.
batch(0 view stats "${SCRATCH}" DEME02 --levels none --lang eng)
expect_lines(3 "row\t1")
expect_lines(0 "sep\t1")
batch(0 view stats "${SCRATCH}" DEME02 --levels 10 --lang eng)
expect("\t                           1,0: " out)
expect_lines(2 "sep\t1")

# Numbers follow the locale.
set(ENV{LC_ALL} "C")
batch(0 view task "${SCRATCH}" DEME02 --lang eng)
expect("row\t1\t1\t200\t60\t0.900\n" out)
set(ENV{LC_ALL} "de_DE.UTF-8")

# Missing files.
batch(1 view solution "${SCRATCH}" DEME01 --lang eng)
expect("kov_DEME01_out.dat" err)
batch(1 view stats "${SCRATCH}" DEME03 --lang eng)
expect("kov_DEME03_stat.dat" err)
batch(1 view task "${SCRATCH}" ABC123 --lang eng)

# Wrong calls.
batch(2 view)
batch(2 view table "${SCRATCH}" DEME02 --lang eng)
batch(2 view task "${SCRATCH}" --lang eng)
batch(2 view task "${SCRATCH}" DEME2 --lang eng)
batch(2 view task "${SCRATCH}" DEME02 --levels 1 --lang eng)
batch(2 view stats "${SCRATCH}" DEME02 --variants 1 --lang eng)
batch(2 view solution "${SCRATCH}" DEME02 --variants 0 --lang eng)
batch(2 view solution "${SCRATCH}" DEME02 --variants 1,,2 --lang eng)
batch(2 view stats "${SCRATCH}" DEME02 --levels 11 --lang eng)
batch(2 view task "${SCRATCH}/Data" DEME02 --lang eng)

# A statistics file whose size does not fit the task's variants, and a task whose database is
# gone, are refused naming the file.
file(WRITE "${SCRATCH}/Data/kov_DEME02_stat.dat" "too short")
batch(1 view stats "${SCRATCH}" DEME02 --lang eng)
expect("kov_DEME02_stat.dat" err)
file(REMOVE "${SCRATCH}/Dbor/A_101_dbor_eng.dat")
batch(1 view task "${SCRATCH}" DEME02 --lang eng)
expect("A_101_dbor_eng.dat" err)
batch(1 view solution "${SCRATCH}" DEME02 --lang eng)

batch(0 --help)
expect("view task|solution|stats" out)
file(REMOVE_RECURSE "${SCRATCH}")
