#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of Plenix against a bare Qt window holding a
# 61 by 12 table widget, both Release builds, in one run on one X server.
#
# Start-up: from just before the process is started to the moment its window
# is mapped and viewable on the X server (polled with xdotool). Memory: the
# process's peak resident set (VmHWM) half a second after that, idle.
# Each program is started RUNS times, alternating; the medians are compared.
#
# Usage: scripts/bench-startup.sh [build-dir] [runs]
# The default build folder is the release preset's, built when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-15}

if [[ ! -x $build/src/app/plenix || ! -x $build/bench/bare_window ]]; then
    if [[ $build == build/release ]]; then
        cmake --preset release >/dev/null
    else
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$build" -j "$(nproc)" --target plenix bare_window >/dev/null
fi

# Both programs run in one virtual X server of their own.
if [[ -z ${BENCH_STARTUP_IN_XVFB:-} ]]; then
    BENCH_STARTUP_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$0" "$build" "$runs"
fi

measure() { # program -> "microseconds kilobytes"
    local start end pid
    start=$(date +%s%N)
    "$1" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "$1 did not start" >&2; exit 1; }
    done
    end=$(date +%s%N)
    sleep 0.5
    local hwm
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(((end - start) / 1000)) $hwm"
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

: >/tmp/plenix-startup.$$ ; : >/tmp/bare-startup.$$
for _ in $(seq "$runs"); do
    measure "$build/src/app/plenix" >>/tmp/plenix-startup.$$
    measure "$build/bench/bare_window" >>/tmp/bare-startup.$$
done

p_time=$(cut -d' ' -f1 /tmp/plenix-startup.$$ | median)
b_time=$(cut -d' ' -f1 /tmp/bare-startup.$$ | median)
p_mem=$(cut -d' ' -f2 /tmp/plenix-startup.$$ | median)
b_mem=$(cut -d' ' -f2 /tmp/bare-startup.$$ | median)
rm -f /tmp/plenix-startup.$$ /tmp/bare-startup.$$

printf 'start-up to first frame (median of %d): plenix %d us, bare window %d us, ratio %.3f\n' \
    "$runs" "$p_time" "$b_time" "$(echo "$p_time / $b_time" | bc -l)"
printf 'peak resident memory (median of %d): plenix %d kB, bare window %d kB, ratio %.3f\n' \
    "$runs" "$p_mem" "$b_mem" "$(echo "$p_mem / $b_mem" | bc -l)"
