# Checks that the program looks shell entries up only by the names of src/core/shell/texts.h:
# a bare number as the first argument of a lookup would name a text that the shipped-shell test
# does not check. Run as: cmake -DSOURCE_DIR=<repo> -P shell_text_names.cmake
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
    "${SOURCE_DIR}/tools/*.h" "${SOURCE_DIR}/tools/*.cpp")
set(lookup "[.>](text|trimmed|short_text|short_trimmed|shortText|list_item|listItem)\\([ ]*[0-9]")
set(failures "")
foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "${lookup}")
    foreach(line IN LISTS lines)
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
        string(STRIP "${line}" line)
        string(APPEND failures "\n  ${name}: ${line}")
    endforeach()
endforeach()
if(failures)
    message(FATAL_ERROR "shell entries looked up by number instead of their name in src/core/shell/texts.h:${failures}")
endif()
