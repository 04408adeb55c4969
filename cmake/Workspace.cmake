# Assembles the Workspace: the program beside Shells (the compiled language shells), System
# (the information file of the optimisation module), Dbor, Data, Solving and Reports. Only the
# program, the shells and the information file are refreshed; databases, tasks, solutions and
# the protocol are never touched, apart from the demonstration that kov-demo writes into a
# Workspace that holds none of them yet.
file(GLOB KOV_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shells/*.shell)
set(KOV_SHELL_FILES)
foreach(src ${KOV_SHELL_SOURCES})
    get_filename_component(lng ${src} NAME_WE)
    set(out "${KOV_WORKSPACE}/Shells/Shell (KOV 1.0).${lng}")
    add_custom_command(OUTPUT "${out}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${KOV_WORKSPACE}/Shells"
        COMMAND shellc "${src}" "${out}"
        DEPENDS shellc "${src}"
        COMMENT "Compiling the language shell ${lng}"
        VERBATIM)
    list(APPEND KOV_SHELL_FILES "${out}")
endforeach()

add_custom_command(OUTPUT "${KOV_WORKSPACE}/System/Info"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${KOV_WORKSPACE}/System" "${KOV_WORKSPACE}/Dbor"
            "${KOV_WORKSPACE}/Data" "${KOV_WORKSPACE}/Solving" "${KOV_WORKSPACE}/Reports"
    COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/system/Info" "${KOV_WORKSPACE}/System/Info"
    DEPENDS "${CMAKE_SOURCE_DIR}/system/Info"
    VERBATIM)
add_custom_target(workspace_files DEPENDS ${KOV_SHELL_FILES} "${KOV_WORKSPACE}/System/Info")

# The demonstration needs the shells and the information file. It runs at every build and does
# nothing once the Workspace holds databases, tasks or a protocol.
add_custom_target(workspace_demo ALL
    COMMAND kov-demo "${KOV_WORKSPACE}"
    COMMENT "Writing the demonstration data into an empty Workspace"
    VERBATIM)
add_dependencies(workspace_demo kov-demo workspace_files)

add_custom_target(workspace ALL)
add_dependencies(workspace workspace_files workspace_demo)
if(TARGET kov)
    add_dependencies(workspace kov)
endif()
