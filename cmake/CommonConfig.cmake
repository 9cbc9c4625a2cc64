# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the language level, warnings and sanitizer
# flags, so every library, program, test and benchmark is built alike.
add_library(plenix_common INTERFACE)
target_compile_features(plenix_common INTERFACE cxx_std_20)
target_compile_options(plenix_common INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
    -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2
    -Wimplicit-fallthrough -Wconversion -Wsign-conversion)
target_compile_definitions(plenix_common INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_CONTEXTLESS_CONNECT QT_NO_FOREACH QT_NO_KEYWORDS)
# GCC 12 at -O3 reports std::string's own copies as overlapping (a known
# false -Wrestrict alarm); it says nothing about this code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(plenix_common INTERFACE -Wno-restrict)
endif()
if(PLENIX_WERROR)
    target_compile_options(plenix_common INTERFACE -Werror)
endif()
if(PLENIX_SANITIZE)
    target_compile_options(plenix_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(plenix_common INTERFACE -fsanitize=address,undefined)
endif()
if(PLENIX_COVERAGE)
    target_compile_options(plenix_common INTERFACE --coverage -O0)
    target_link_options(plenix_common INTERFACE --coverage)
endif()
if(PLENIX_FUZZ)
    # The core is instrumented for libFuzzer's coverage feedback; only the
    # fuzz targets themselves link libFuzzer's main.
    target_compile_options(plenix_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_link_options(plenix_common INTERFACE -fsanitize=address,undefined)
endif()
