# kov-batch print on a fresh demonstration Workspace: the task, solution and statistics reports
# of the solved tasks in both languages as PDF files, their text (pdftotext -layout) compared with
# the checked-in references, the number at the foot of every page; names under Reports that never
# replace a file, and the exit status of wrong calls.
#   cmake -DKOV_BATCH=... -DKOV_DEMO=... -DWORKSPACE=... -DSCRATCH=... -DPDFTOTEXT=...
#         -DREFERENCES=... -P print_demo_test.cmake
# With the environment variable KOV_UPDATE_REFERENCES set, the references are written anew from
# the reports (look at the PDF pages before checking them in).

include(${CMAKE_CURRENT_LIST_DIR}/demo_test_common.cmake)
fresh_demo_workspace(FALSE)
set(BATCH_STRIP TRUE)
set(ENV{LC_ALL} "de_DE.UTF-8")
batch(0 stats "${SCRATCH}" DEME02 --trials 1000 --lang eng)
batch(0 stats "${SCRATCH}" DEMR02 --trials 1000 --lang rus)

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

# The report's text must be its reference, the modelling's duration (measured, so it varies) set
# aside.
function(expect_reference name)
    string(REGEX REPLACE "(modelling|моделирования): [0-9:]+" "\\1: <duration>" t "${text}")
    set(actual "${SCRATCH}/${name}.txt")
    set(reference "${REFERENCES}/${name}.txt")
    file(WRITE "${actual}" "${t}")
    if(DEFINED ENV{KOV_UPDATE_REFERENCES})
        file(COPY_FILE "${actual}" "${reference}")
        return()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${reference}" "${actual}"
        RESULT_VARIABLE differs)
    if(differs)
        execute_process(COMMAND diff -u "${reference}" "${actual}" OUTPUT_VARIABLE d)
        message(FATAL_ERROR "the text of the report ${name} is not its reference:\n${d}")
    endif()
endfunction()

foreach(report task solution stats)
    foreach(lang_code "eng DEME02" "eng DEME03" "rus DEMR02" "rus DEMR03")
        separate_arguments(lang_code)
        list(GET lang_code 0 lang)
        list(GET lang_code 1 code)
        if(report STREQUAL "stats" AND code MATCHES "03$")
            continue()
        endif()
        set(pdf "${SCRATCH}/${report}_${code}_${lang}.pdf")
        batch(0 print ${report} "${SCRATCH}" ${code} --lang ${lang} --out "${pdf}")
        expect("${pdf}" out)
        pdf_text("${pdf}")
        expect_reference(${report}_${code}_${lang})
    endforeach()
endforeach()

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
# The statistics of a task that has none are refused naming the missing file.
batch(1 print stats "${SCRATCH}" DEME03 --lang eng)
expect("kov_DEME03_stat.dat" err)
