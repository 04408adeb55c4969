# kov-batch print on a fresh demonstration Workspace: the task, solution and statistics reports
# of the solved tasks in both languages as PDF files, read back as text: their titles, the texts
# of their tables and the number at the foot of every page; names under Reports that never
# replace a file, and the exit status of wrong calls.
#   cmake -DKOV_BATCH=... -DKOV_DEMO=... -DWORKSPACE=... -DSCRATCH=... -DPDFTOTEXT=...
#         -P print_demo_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/demo_test_common.cmake)
fresh_demo_workspace(FALSE)
set(BATCH_STRIP TRUE)
set(ENV{LC_ALL} "de_DE.UTF-8")
batch(0 stats "${SCRATCH}" DEME02 --trials 1000 --lang eng)

# The text of a PDF, one page after another (separated by form feeds), in `text`; every page
# must end with its own number.
function(pdf_text pdf)
    execute_process(COMMAND "${PDFTOTEXT}" -layout "${pdf}" - RESULT_VARIABLE rc
        OUTPUT_VARIABLE t)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "pdftotext cannot read ${pdf}")
    endif()
    string(ASCII 12 ff)
    string(REPLACE ";" "," body "${t}")
    string(REGEX REPLACE "${ff}$" "" body "${body}")
    string(REPLACE "${ff}" ";" pages "${body}")
    set(number 0)
    foreach(page IN LISTS pages)
        math(EXPR number "${number} + 1")
        string(STRIP "${page}" page)
        if(NOT page MATCHES "(^|[ \n])${number}$")
            message(FATAL_ERROR "page ${number} of ${pdf} does not end with its number:\n${page}")
        endif()
    endforeach()
    set(text "${t}" PARENT_SCOPE)
    set(page_count ${number} PARENT_SCOPE)
endfunction()

function(expect_text what)
    string(FIND "${text}" "${what}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "\"${what}\" not in the report:\n${text}")
    endif()
endfunction()

foreach(lang eng rus)
    foreach(report task solution stats)
        foreach(code DEME02 DEME03)
            if(report STREQUAL "stats" AND code STREQUAL "DEME03")
                continue()
            endif()
            set(pdf "${SCRATCH}/${report}_${code}_${lang}.pdf")
            batch(0 print ${report} "${SCRATCH}" ${code} --lang ${lang} --out "${pdf}")
            expect("${pdf}" out)
            pdf_text("${pdf}")
            set(report_${report}_${code}_${lang} "${text}")
        endforeach()
    endforeach()
endforeach()

set(text "${report_task_DEME02_eng}")
expect_text("Input data of the task \"")
expect_text("Task code: DEME02")
set(text "${report_solution_DEME02_eng}")
expect_text("Solution of the task \"")
set(text "${report_stats_DEME02_eng}")
expect_text("Statistics of the task \"")
expect_text("0,1:")
set(text "${report_task_DEME02_rus}")
expect_text("DEME02")

# Without --out the report goes under Reports and never replaces one written before.
batch(0 print solution "${SCRATCH}" DEME02 --variants 1,3 --lang eng)
if(NOT out STREQUAL "${SCRATCH}/Reports/kov_DEME02_out.pdf")
    message(FATAL_ERROR "the first report is not Reports/kov_DEME02_out.pdf: ${out}")
endif()
batch(0 print solution "${SCRATCH}" DEME02 --lang eng)
if(NOT out STREQUAL "${SCRATCH}/Reports/kov_DEME02_out (2).pdf")
    message(FATAL_ERROR "the second report is not Reports/kov_DEME02_out (2).pdf: ${out}")
endif()

# An existing --out file is refused; wrong calls are refused before anything is written.
batch(1 print task "${SCRATCH}" DEME02 --lang eng --out "${SCRATCH}/task_DEME02_eng.pdf")
expect("task_DEME02_eng.pdf" err)
batch(2 print database "${SCRATCH}" DEME02)
batch(2 print task "${SCRATCH}" DEME02 --levels 1)
batch(2 print task "${SCRATCH}" TOOLONG1)
batch(1 print stats "${SCRATCH}" DEME03 --lang eng)
