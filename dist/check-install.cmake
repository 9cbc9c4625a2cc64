# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into an empty prefix and checks that every file a desktop
# and the program need is there: the program, its help file where the
# program's configured help path points, the menu entry, the icon and the
# AppStream metadata, each a copy of its source.
# Run by ctest as: cmake -DBUILD_DIR=... -DPREFIX=... (see CMakeLists.txt) -P this file.

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(failures "")
function(expect_copy installed source)
    if(NOT EXISTS ${PREFIX}/${installed})
        set(failures "${failures}\n  missing: ${installed}" PARENT_SCOPE)
        return()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PREFIX}/${installed} ${source}
        RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        set(failures "${failures}\n  not a copy of ${source}: ${installed}" PARENT_SCOPE)
    endif()
endfunction()

foreach(program plenix plenix-calc)
    if(NOT EXISTS ${PREFIX}/${BINDIR}/${program} OR IS_DIRECTORY ${PREFIX}/${BINDIR}/${program})
        string(APPEND failures "\n  missing: ${BINDIR}/${program}")
    else()
        file(READ ${PREFIX}/${BINDIR}/${program} magic LIMIT 4 HEX)
        if(NOT magic STREQUAL "7f454c46")
            string(APPEND failures "\n  not a program: ${BINDIR}/${program}")
        endif()
    endif()
endforeach()
expect_copy(${DATADIR}/applications/plenix.desktop ${SOURCE_DIR}/dist/plenix.desktop)
expect_copy(${DATADIR}/icons/hicolor/scalable/apps/plenix.svg ${SOURCE_DIR}/dist/icons/plenix.svg)
expect_copy(${DATADIR}/metainfo/${APPSTREAM_ID}.metainfo.xml ${METAINFO})
expect_copy(${DATADIR}/plenix/plenix-help.html ${SOURCE_DIR}/docs/help/plenix-help.html)
expect_copy(${MANDIR}/man1/plenix.1 ${SOURCE_DIR}/docs/man/plenix.1)
expect_copy(${MANDIR}/man1/plenix-calc.1 ${SOURCE_DIR}/docs/man/plenix-calc.1)
expect_copy(${DATADIR}/doc/plenix/copyright ${SOURCE_DIR}/dist/copyright)

# The program looks for its help at a path fixed when it was built; an install
# under the prefix it was built for must put the help file exactly there.
if(HELP_FILE)
    string(FIND "${HELP_FILE}" "${INSTALL_PREFIX}/" at)
    if(at EQUAL 0)
        string(LENGTH "${INSTALL_PREFIX}/" skip)
        string(SUBSTRING "${HELP_FILE}" ${skip} -1 relative)
        if(NOT EXISTS ${PREFIX}/${relative})
            string(APPEND failures
                "\n  the program's help path ${HELP_FILE} is not installed (${relative})")
        endif()
    endif()
endif()

# The installed tree as a whole: metainfo names a desktop entry that exists,
# and the validator is content with all of it.
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net --pedantic ${PREFIX}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        string(APPEND failures "\n  appstreamcli validate-tree:\n${output}")
    endif()
endif()

if(failures)
    message(FATAL_ERROR "Install into ${PREFIX} is incomplete:${failures}")
endif()
message(STATUS "Install into ${PREFIX} holds every file")
