# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack into a folder of its own and checks
# what it declares and what it holds: every file of the install, under the
# prefix the program was built for, and the Qt runtime among its dependencies.
# Run by ctest as: cmake -DBUILD_DIR=... -DOUT=... (see CMakeLists.txt) -P this file.

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUT}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack -G DEB failed (${result}):\n${output}")
endif()
file(GLOB debs ${OUT}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${OUT}, found: ${debs}")
endif()

set(failures "")
execute_process(COMMAND ${DPKG_DEB} -f ${debs} Package Version Depends
    OUTPUT_VARIABLE fields RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${debs}")
endif()
foreach(expected "Package: plenix" "Version: ${VERSION}" "libqt6widgets6" "libqt6gui6"
        "libqt6core6" "qt6-qpa-plugins")
    string(FIND "${fields}" "${expected}" at)
    if(at EQUAL -1)
        string(APPEND failures "\n  control lacks ${expected}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} --contents ${debs} OUTPUT_VARIABLE contents)
foreach(file
        ${BINDIR}/plenix
        ${BINDIR}/plenix-calc
        ${MANDIR}/man1/plenix.1
        ${MANDIR}/man1/plenix-calc.1
        ${DATADIR}/doc/plenix/copyright
        ${DATADIR}/applications/plenix.desktop
        ${DATADIR}/icons/hicolor/scalable/apps/plenix.svg
        ${DATADIR}/metainfo/${APPSTREAM_ID}.metainfo.xml
        ${DATADIR}/plenix/plenix-help.html)
    string(FIND "${contents}" " .${INSTALL_PREFIX}/${file}\n" at)
    if(at EQUAL -1)
        string(APPEND failures "\n  missing: ${INSTALL_PREFIX}/${file}")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "The package ${debs} is incomplete:${failures}\n${fields}\n${contents}")
endif()
message(STATUS "${debs} holds every file")
