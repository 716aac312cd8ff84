#!/bin/bash
# Loading a grown sample (`kxdata write-sample --models N`, loose files, written once by the new
# build) in two builds, pair by pair: in each pair the old build runs, then the new one. Per pair
# and build:
#   load cpu, load MiB   user + system seconds and peak resident memory of `kxdata load`
#   sim cpu, sim MiB     the same of `kxsim GAME --frames F --trace loading` (the player's loading
#                        screen, a step a frame)
#   sim step ms          its longest loading step, from the arrival times of the trace's lines
#                        (bench/loading_trace.py; wall time: it holds the frame around the step and
#                        any wait for a processor)
#   step cpu ms          the largest loading step's thread CPU time, from bench_frame_budget's
#                        BM_LoadingSteps (one run a pair), when both builds have it and N is 10000
#                        or 100000
# Prints each build's median over the pairs and the median of the new/old ratios taken pair by
# pair, so that a machine whose speed drifts still compares fairly.
#
#   bash bench/loading_pairs.sh OLD_BUILD NEW_BUILD [PAIRS] [MODELS]
#
# PAIRS 7, MODELS 100000. Use Release builds; the load average is printed with the figures.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
old=$(cd "${1:?old build}" && pwd)
new=$(cd "${2:?new build}" && pwd)
pairs="${3:-7}"
models="${4:-100000}"
PY=$(command -v /usr/bin/python3 || command -v python3)
[ -x /usr/bin/time ] || { echo "no /usr/bin/time"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
game="$work/game"
"$new/kxdata" write-sample "$game" --models "$models" >/dev/null 2>&1 || { echo "write-sample failed"; exit 1; }
# Files plus a step per class and pass, with room for the menu.
frames=$(($(ls "$game/data" | wc -l) + 1000))
steps=no
if [ -x "$old/bench/bench_frame_budget" ] && [ -x "$new/bench/bench_frame_budget" ] &&
    { [ "$models" = 10000 ] || [ "$models" = 100000 ]; }; then
    steps=yes
fi

# measure BUILD: one line "LOAD_CPU LOAD_KIB SIM_CPU SIM_KIB SIM_STEP_S STEP_CPU_MS".
measure() {
    local build="$1" load sim trace step=nan
    rm -rf "$HOME"
    mkdir -p "$XDG_DATA_HOME"
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$build/kxdata" load "$game" >/dev/null 2>&1
    load=$(awk '{ print $1 + $2, $3 }' "$work/time")
    trace=$(/usr/bin/time -f "%U %S %M" -o "$work/time" "$build/kxsim" "$game" --frames "$frames" \
        --trace loading 2>/dev/null | "$PY" "$src/bench/loading_trace.py")
    sim=$(awk '{ print $1 + $2, $3 }' "$work/time")
    if [ "$steps" = yes ]; then
        step=$(KX_BENCH_RUNS=1 "$build/bench/bench_frame_budget" --benchmark_filter="BM_LoadingSteps/$models/" \
            --benchmark_format=json 2>/dev/null |
            "$PY" -c 'import json, sys; print(json.load(sys.stdin)["benchmarks"][0]["largest_cpu_ms_med"])' ||
            echo nan)
    fi
    echo "$load $sim $(echo "$trace" | awk '{ print $2 / 1000 }') $step"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $pairs pairs," \
    "$models models, kxsim $frames frames"
for ((pair = 1; pair <= pairs; pair++)); do
    echo "$(measure "$old") $(measure "$new")"
done >"$work/pairs"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
"$PY" - "$work/pairs" <<'PY'
import math
import statistics
import sys

names = ["load cpu s", "load MiB", "sim cpu s", "sim MiB", "sim step ms", "step cpu ms"]
scale = [1, 1 / 1024, 1, 1 / 1024, 1000, 1]
rows = [[float(v) for v in line.split()] for line in open(sys.argv[1]) if line.strip()]
print("%-12s %10s %10s %10s" % ("", "old", "new", "new/old"))
for i, name in enumerate(names):
    pairs = [(r[i], r[i + len(names)]) for r in rows if not math.isnan(r[i]) and not math.isnan(r[i + len(names)])]
    if not pairs:
        continue
    old = statistics.median(p[0] for p in pairs) * scale[i]
    new = statistics.median(p[1] for p in pairs) * scale[i]
    ratio = statistics.median(p[1] / p[0] for p in pairs if p[0] > 0)
    print("%-12s %10.3f %10.3f %10.3f" % (name, old, new, ratio))
print("pairs: %d" % len(rows))
PY
