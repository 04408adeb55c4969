# Checks that the program looks shell entries up only by the names of src/core/shell/texts.h:
# a bare number in a lookup would name a text that the shipped-shell test does not check.
# Run as: cmake -DSOURCE_DIR=<repo> -P shell_text_names.cmake
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
    "${SOURCE_DIR}/tools/*.h" "${SOURCE_DIR}/tools/*.cpp")
# A lookup is a call of a shell lookup or of one of the local wrappers around it (t, tt, tr, unit,
# shell_piece), with a bare number as its first argument or as a branch of a conditional argument.
set(lookup_names "text|trimmed|short_text|short_trimmed|shortText|list_item|listItem")
string(APPEND lookup_names "|t|tt|tr|unit|shell_piece")
set(lookup "(^|[^A-Za-z_0-9])(${lookup_names})\\(([ ]*[0-9]|([^()]|\\(\\))*[?:][ ]*[0-9]+[ ]*[:)])")
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
