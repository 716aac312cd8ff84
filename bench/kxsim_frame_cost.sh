#!/bin/bash
# Frame cost of the demo's first level through kxsim, headless and with offscreen GL drawing (a
# screenshot of the last frame makes kxsim draw every frame through GL). The hero is kept alive
# for the whole run: shooting (K held), a shield (S) and a jump every second and a half.
# The loading and menu frames before the level opens are run alone and taken off.
#
#   bash bench/kxsim_frame_cost.sh BUILD_DIR [FRAMES] [RUNS]
#
# Prints, per mode, the best of RUNS: wall and CPU milliseconds per level frame (the budget is
# 16.7 ms). Use a Release build (cmake -DCMAKE_BUILD_TYPE=Release) and an idle machine.
set -u
build=$(cd "${1:?build folder}" && pwd)
frames="${2:-3000}"
runs="${3:-3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
"$build/kxdata" write-demo "$work/demo" >/dev/null 2>&1 || { echo "write-demo failed"; exit 1; }

# The level opens at this frame (the loading screen's frames come first).
opened=$("$build/kxsim" "$work/demo" --open world1 --frames 400 --trace screens 2>/dev/null |
    sed -n 's/^F=\([0-9]*\) screen open key=world1$/\1/p' | head -n 1)
[ -n "$opened" ] || { echo "the level never opens"; exit 1; }

keys=(--key "$((opened + 4)):down:K" --key "$((opened + 29)):down:S" --key "$((opened + 31)):up:S")
for ((f = opened + 80; f < frames - 20; f += 90)); do
    keys+=(--key "$f:down:J" --key "$((f + 20)):up:J")
done

# seconds FRAMES [EXTRA...]: "wall cpu" in seconds of one run, the best of $runs.
seconds() {
    local n="$1" best_wall= best_cpu= out wall cpu i
    shift
    for ((i = 0; i < runs; i++)); do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        out=$({ TIMEFORMAT='%R %U %S'; time "$build/kxsim" "$work/demo" --open world1 --frames "$n" \
            "${keys[@]}" "$@" >/dev/null 2>"$work/sim.log"; } 2>&1)
        read -r wall user sys <<<"$out"
        cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
        if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
            best_wall=$wall
            best_cpu=$cpu
        fi
    done
    echo "$best_wall $best_cpu"
}

report() { # MODE [EXTRA...]
    local mode="$1" short long
    shift
    short=$(seconds "$opened" "$@")
    long=$(seconds "$frames" "$@")
    awk -v mode="$mode" -v s="$short" -v l="$long" -v n="$((frames - opened))" 'BEGIN {
        split(s, a, " "); split(l, b, " ");
        printf "%-9s %5d level frames: %.3f ms wall, %.3f ms CPU per frame (whole run %.2f s)\n",
            mode, n, (b[1] - a[1]) * 1000 / n, (b[2] - a[2]) * 1000 / n, b[1] }'
}

report headless
report "gl" --screenshot "$frames:$work/last.png"
grep -q "no offscreen GL here" "$work/sim.log" && echo "(no offscreen GL here: the gl line drew nothing)"
exit 0
