# kov-batch export and import on a fresh demonstration Workspace: every export read back by an
# independent reader and checked against the viewers' texts and the layouts' widths, heights and
# formats; databases of both types exported and imported back to the same file (code and date of
# saving aside), also after a spreadsheet application re-saved the workbook as .xlsx and .xls;
# refusals and their exit status.
#   cmake -DKOV_BATCH=... -DKOV_DEMO=... -DWORKSPACE=... -DSCRATCH=... -DCHECKER=...
#         [-DPYTHON=...] [-DSOFFICE=...] -P workbook_demo_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/demo_test_common.cmake)
set(BATCH_STRIP TRUE)
fresh_demo_workspace(FALSE)
set(ENV{LC_ALL} "de_DE.UTF-8")

# Checks a workbook with the independent reader, against the viewer's lines when given.
function(check_workbook kind path)
    if(NOT PYTHON)
        return()
    endif()
    execute_process(COMMAND "${PYTHON}" "${CHECKER}" ${kind} "${path}" ${ARGN}
        RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${kind} workbook ${path}:\n${stdout}\n${stderr}")
    endif()
endfunction()

# Two database files are the same but for the code (bytes 6..12) and the date of saving
# (152..163).
function(same_database a b)
    file(READ "${a}" ha HEX)
    file(READ "${b}" hb HEX)
    foreach(h ha hb)
        string(SUBSTRING "${${h}}" 0 12 head)
        string(SUBSTRING "${${h}}" 26 278 middle)
        string(SUBSTRING "${${h}}" 328 -1 tail)
        set(${h} "${head}${middle}${tail}")
    endforeach()
    if(NOT ha STREQUAL hb)
        message(FATAL_ERROR "${b} is not the database ${a}")
    endif()
endfunction()

batch(0 stats "${SCRATCH}" DEME02 --trials 1000 --lang eng)

# Every export of a task, its solution and its statistics holds the viewer's texts.
foreach(export "task DEME02 eng" "task DEME03 eng" "solution DEME02 eng" "stats DEME02 eng"
        "task DEMR02 rus" "solution DEMR03 rus")
    separate_arguments(export)
    list(GET export 0 kind)
    list(GET export 1 code)
    list(GET export 2 lang)
    batch(0 view ${kind} "${SCRATCH}" ${code} --lang ${lang})
    file(WRITE "${SCRATCH}/view.txt" "${out}")
    batch(0 export ${kind} "${SCRATCH}" ${code} --lang ${lang})
    if(NOT EXISTS "${out}")
        message(FATAL_ERROR "kov-batch export ${kind} printed \"${out}\", which is no file")
    endif()
    check_workbook(${kind} "${out}" "${SCRATCH}/view.txt")
endforeach()

# A second export takes the next free name; --out never replaces a file.
batch(0 export stats "${SCRATCH}" DEME02 --levels 1,5 --lang eng)
expect("Reports/kov_DEME02_stat (2).xlsx" out)
batch(1 export stats "${SCRATCH}" DEME02 --lang eng --out "${out}")
expect("exists" err)
batch(2 export database "${SCRATCH}" DEME02 --lang eng)
batch(1 export solution "${SCRATCH}" DEME01 --lang eng)

# Databases of both types come back from their workbooks.
foreach(db "A_101 A 102" "B_201001 B 201002")
    separate_arguments(db)
    list(GET db 0 code)
    list(GET db 1 type)
    list(GET db 2 new)
    batch(0 export database "${SCRATCH}" ${code} --lang eng --out "${SCRATCH}/${code}.xlsx")
    check_workbook(database "${SCRATCH}/${code}.xlsx")
    batch(0 import database "${SCRATCH}" "${SCRATCH}/${code}.xlsx" ${type} ${new} --lang eng)
    same_database("${SCRATCH}/Dbor/${code}_dbor_eng.dat" "${SCRATCH}/Dbor/${type}_${new}_dbor_eng.dat")
endforeach()

# Refusals: another type, another language, an existing database, not a workbook.
batch(1 import database "${SCRATCH}" "${SCRATCH}/B_201001.xlsx" A 105 --lang eng)
expect("(\"B\")" err)
expect("(\"A\")." err)
batch(1 import database "${SCRATCH}" "${SCRATCH}/A_101.xlsx" A 105 --lang rus)
expect("(eng)" err)
batch(1 import database "${SCRATCH}" "${SCRATCH}/A_101.xlsx" A 102 --lang eng)
batch(1 import database "${SCRATCH}" "${SCRATCH}/view.txt" A 105 --lang eng)
expect("not a workbook" err)
if(EXISTS "${SCRATCH}/Dbor/A_105_dbor_eng.dat")
    message(FATAL_ERROR "a refused import wrote a database")
endif()

# The workbooks re-saved by a spreadsheet application, as .xlsx and as legacy .xls.
if(SOFFICE)
    set(ENV{HOME} "${SCRATCH}/office")
    foreach(resave "A_101 A 106 xlsx" "B_201001 B 201006 xls")
        separate_arguments(resave)
        list(GET resave 0 code)
        list(GET resave 1 type)
        list(GET resave 2 new)
        list(GET resave 3 format)
        execute_process(COMMAND "${SOFFICE}" --headless --convert-to ${format}
            --outdir "${SCRATCH}/office" "${SCRATCH}/${code}.xlsx"
            RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
        if(NOT EXISTS "${SCRATCH}/office/${code}.${format}")
            message(FATAL_ERROR "the spreadsheet application did not convert ${code}.xlsx (${rc})")
        endif()
        batch(0 import database "${SCRATCH}" "${SCRATCH}/office/${code}.${format}" ${type} ${new}
            --lang eng)
        same_database("${SCRATCH}/Dbor/${code}_dbor_eng.dat"
            "${SCRATCH}/Dbor/${type}_${new}_dbor_eng.dat")
    endforeach()
endif()
