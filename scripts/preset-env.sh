# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash disable=SC2034
# Sourced by the build scripts. Sets `jobs`, and `preset_flags` for
# `cmake --preset`: warnings become errors in CI (CI=true). A compiler cache
# is used when one is installed.
jobs=$(nproc)
preset_flags=()
[[ ${CI:-} == true ]] && preset_flags+=(-DPLENIX_WERROR=ON)
if [[ -z ${CMAKE_CXX_COMPILER_LAUNCHER:-} ]] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
