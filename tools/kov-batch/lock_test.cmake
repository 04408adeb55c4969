# kov-batch refuses a Workspace whose lock another program holds, with exit status 2. The lock is
# held by flock(1) on the Workspace folder, as the program holds it, while kov-batch runs.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/Solving ${SCRATCH}/Data ${SCRATCH}/Shells)
foreach(command "solve;${SCRATCH}" "stats;${SCRATCH};ABC123;--trials;100")
    execute_process(COMMAND flock --nonblock ${SCRATCH} ${KOV_BATCH} ${command}
        RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 2 OR NOT err MATCHES "in use")
        message(FATAL_ERROR "kov-batch ${command} under the lock: status ${status}: ${err}")
    endif()
endforeach()
