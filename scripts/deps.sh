#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing Plenix
# need. Asks apt only when something is missing, so a second run is quick.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6 libgl-dev nlohmann-json3-dev
    # benchmarks, fuzzing, the naming check and the formatting
    libbenchmark-dev clang libclang-rt-14-dev clang-tidy clang-format
    # tests that run the program in a real X server, and their checks
    xvfb xauth xfonts-base x11-utils xdotool xclip imagemagick poppler-utils fonts-dejavu-core bc
    desktop-file-utils appstream python3 man-db
    # the report: its chart, printing through a real spooler to PDF
    qt6-charts-dev cups printer-driver-cups-pdf
    # coverage report
    gcovr
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
