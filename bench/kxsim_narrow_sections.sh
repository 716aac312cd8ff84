#!/bin/bash
# How the player copes with level sections narrower than what they hold: the portal works made a
# section the streaming lays, at several widths, played headless through kxsim. A width too thin
# to move the level on is laid once; narrow ones pile the works up frame after frame.
#
#   bash bench/kxsim_narrow_sections.sh BUILD_DIR [FRAMES] [WIDTH...]
#
# Per width (1e-6 0.01 1 10 50 by default), one run of FRAMES (600) frames: the whole run's wall
# seconds, the longest frame (from the arrival times of the trace's frame lines, so it includes
# the trace's own cost) and the sections laid. Needs python3-msgpack. Use a Release build and an
# idle machine; the load average is printed with the figures.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?build folder}" && pwd)
frames="${2:-600}"
shift $(($# < 2 ? $# : 2))
widths=("$@")
[ ${#widths[@]} -gt 0 ] || widths=(1e-6 0.01 1 10 50)
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
"$build/kxdata" write-demo --scenario portals-and-paths "$work/works" >/dev/null 2>&1 || { echo "write-demo failed"; exit 1; }
"$build/kxdata" dump "$work/works" >"$work/dump" 2>/dev/null || { echo "dump failed"; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames"
printf '%-8s %9s %14s %9s %6s\n' width "wall s" "longest s" "in frame" lays
for width in "${widths[@]}"; do
    game="$work/game-$width"
    rm -rf "$game" "$HOME"
    mkdir -p "$XDG_DATA_HOME"
    cp -r "$work/works" "$game"
    "$PY" "$src/tests/e2e/section_width.py" "$work/dump" "$game/data/KXModelLevelSection.0.attributes.pack" \
        "Portal Works" "$width" || { echo "$width: the section could not be changed"; continue; }
    read -r wall longest at lays _ < <("$build/kxsim" "$game" --frames "$frames" --trace loading,screens,field,sections 2>/dev/null |
        "$PY" "$src/bench/trace_frames.py")
    printf '%-8s %9s %14s %9s %6s\n' "$width" "$wall" "$longest" "$at" "$lays"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
