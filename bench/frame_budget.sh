#!/bin/bash
# Runs bench_frame_budget with a virtual display for the idle menu, and prints the load average
# the figures were taken under (a busy machine stretches them; the ratios are side by side).
#
#   bash bench/frame_budget.sh BUILD_DIR [BENCHMARK_FILTER] [RUNS]
#
# RUNS (5) child runs per benchmark give the _min, _med and _max counters. Use a Release build.
set -u
build=$(cd "${1:?build folder}" && pwd)
filter="${2:-.}"
export KX_BENCH_RUNS="${3:-5}"
bench="$build/bench/bench_frame_budget"
[ -x "$bench" ] || { echo "no $bench"; exit 1; }
command -v Xvfb >/dev/null || { echo "no Xvfb"; exit 1; }

display=
for n in $(seq 140 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
DISPLAY="$display" "$bench" --benchmark_filter="$filter" --benchmark_counters_tabular=false
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
