# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages format without a single warning from man and groff, and
# lexgrog finds the NAME line that whatis and apropos index.
# Run by ctest as: cmake -DMAN=... -DLEXGROG=... -DPAGES=a.1;b.1 -P this file.

set(failures "")
foreach(page IN LISTS PAGES)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
            ${MAN} --warnings -l ${page}
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE warnings)
    if(NOT result EQUAL 0 OR warnings)
        string(APPEND failures "\n  ${page}: man says (${result}):\n${warnings}")
    endif()
    execute_process(COMMAND ${LEXGROG} ${page} RESULT_VARIABLE result OUTPUT_VARIABLE whatis)
    if(NOT result EQUAL 0)
        string(APPEND failures "\n  ${page}: lexgrog finds no NAME line: ${whatis}")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "Manual pages with faults:${failures}")
endif()
