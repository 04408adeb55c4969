# What the kov-batch tests share: a fresh demonstration Workspace written by kov-demo beside the
# shells of the built Workspace, and kov-batch run with its exit status checked. Included by the
# test scripts, which get KOV_BATCH, KOV_DEMO, WORKSPACE and SCRATCH.

# Writes the demonstration into SCRATCH, with the built Workspace's information file when
# `with_info` is true.
function(fresh_demo_workspace with_info)
    file(REMOVE_RECURSE "${SCRATCH}")
    file(MAKE_DIRECTORY "${SCRATCH}/System")
    file(COPY "${WORKSPACE}/Shells" DESTINATION "${SCRATCH}")
    if(with_info)
        file(COPY "${WORKSPACE}/System/Info" DESTINATION "${SCRATCH}/System")
    endif()
    execute_process(COMMAND "${KOV_DEMO}" "${SCRATCH}" RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "kov-demo failed (${rc})")
    endif()
endfunction()

# Runs kov-batch with the arguments after `expected`, which is the exit status it must give;
# leaves its output in `out` and `err` (without trailing white space when BATCH_STRIP is set).
function(batch expected)
    if(BATCH_STRIP)
        set(strip OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
    execute_process(COMMAND "${KOV_BATCH}" ${ARGN}
        RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr ${strip})
    if(NOT rc STREQUAL "${expected}")
        message(FATAL_ERROR "kov-batch ${ARGN}: exit ${rc}, expected ${expected}\n${stdout}\n${stderr}")
    endif()
    set(out "${stdout}" PARENT_SCOPE)
    set(err "${stderr}" PARENT_SCOPE)
endfunction()

# `text` must stand in the variable named `where` (out or err).
function(expect text where)
    string(FIND "${${where}}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "\"${text}\" not in the ${where} of kov-batch:\n${${where}}")
    endif()
endfunction()
