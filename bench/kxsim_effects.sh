#!/bin/bash
# Levels of many or large mirrors and lights, and the heaviest a user would validly make, played
# through kxsim for FRAMES frames: the effects cave with copies of its pool (the mirror) or its
# lantern (a light with shadows) laid out by tests/e2e/pile_level.py. Each level is played twice:
# headless, and drawn (a picture taken at the last frame makes kxsim draw every frame through the
# offscreen GL driver, in software here: what a player without a graphics card pays).
#
#   bash bench/kxsim_effects.sh FRAMES BUILD_DIR [BUILD_DIR...] [-- LEVEL...]
#
# Per level, build and way of playing: the wall seconds of the whole run (the field opens at frame
# 200), the longest frame (from the arrival of the trace's frame lines) and the frame it was, the
# peak resident memory and the lines the mirrors and lights logged about their budgets. A run
# still going after KX_EFFECTS_LIMIT seconds (300) is stopped and shown with ">". Needs
# python3-msgpack. Use Release builds on an idle machine; the load average is printed with the
# figures.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
frames="${1:?frames}"
shift
builds=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    builds+=("$(cd "$1" && pwd)")
    shift
done
[ "${1:-}" = "--" ] && shift
levels=("$@")
[ ${#builds[@]} -gt 0 ] || { echo "usage: $0 FRAMES BUILD_DIR [BUILD_DIR...] [-- LEVEL...]"; exit 1; }
# name|pile_level.py options (";" between layouts)
all_levels=(
    "cave|"
    "valid-mirrors-6|--unit Pool --copies 5 --scale 3,2 --row 1 --spacing 0 --at 568,150 --rise 120"
    "valid-lights-15|--unit Lantern --copies 12 --row 4 --spacing 280 --at 150,150 --rise 180;--unit Crate --copies 60 --row 10 --spacing 100 --at 100,120 --rise 80"
    "mirrors-300|--unit Pool --copies 300"
    "mirrors-10-scale-41|--unit Pool --copies 10 --scale 41"
    "mirrors-50-scale-100|--unit Pool --copies 50 --scale 100"
    "lights-500|--unit Lantern --copies 500"
    "lights-5000|--unit Lantern --copies 5000"
    "lights-500-crates-100|--unit Lantern --copies 500 --row 25 --spacing 40 --at 100,150 --rise 20;--unit Crate --copies 100 --row 20 --spacing 50 --at 80,130 --rise 60"
)
limit="${KX_EFFECTS_LIMIT:-300}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
kxdata="${builds[0]}/kxdata"
"$kxdata" write-demo --scenario effects "$work/cave" >/dev/null 2>&1 &&
    "$kxdata" dump "$work/cave" >"$work/cave.dump" 2>/dev/null || { echo "write-demo failed"; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames"
printf '%-22s %-6s %-9s %9s %10s %9s %9s %6s\n' level build played "wall s" "longest s" "in frame" "peak MiB" logged
for entry in "${all_levels[@]}"; do
    IFS='|' read -r name layouts <<<"$entry"
    if [ ${#levels[@]} -gt 0 ] && ! printf '%s\n' "${levels[@]}" | grep -qx "$name"; then
        continue
    fi
    level="$work/level-$name"
    rm -rf "$level"
    cp -r "$work/cave" "$level"
    made=1
    IFS=';' read -ra parts <<<"$layouts"
    for layout in "${parts[@]}"; do
        read -ra options <<<"$layout"
        "$PY" "$src/tests/e2e/pile_level.py" "$work/cave.dump" "$level" "Cave Hall" "${options[@]}" || made=0
    done
    [ "$made" = 1 ] || { echo "$name: the level could not be made"; continue; }
    for index in "${!builds[@]}"; do
        for played in headless drawn; do
            rm -rf "$HOME"
            mkdir -p "$XDG_DATA_HOME"
            picture=()
            [ "$played" = drawn ] && picture=(--screenshot "$((frames - 1)):$work/last.png")
            read -r wall longest at _ < <(timeout "$limit" /usr/bin/time -f %M -o "$work/rss" "${builds[$index]}/kxsim" \
                "$level" --frames "$frames" "${picture[@]}" --trace field 2>"$work/err" |
                "$PY" "$src/bench/trace_frames.py")
            rss=$(tail -n 1 "$work/rss" 2>/dev/null)
            case "$rss" in
            *[!0-9]* | "") rss="-" ;;
            *) rss=$((rss / 1024)) ;;
            esac
            if awk -v w="$wall" -v l="$limit" 'BEGIN { exit !(w >= l - 0.5) }'; then
                wall=">$limit"
            fi
            logged=$(grep -c '^\[KXPObjectAsset\(Mirror\|Light\)\] - ' "$work/err")
            printf '%-22s %-6s %-9s %9s %10s %9s %9s %6s\n' "$name" "$((index + 1))" "$played" "$wall" "$longest" \
                "$at" "$rss" "$logged"
        done
    done
done
echo "builds: $(for index in "${!builds[@]}"; do printf '%s=%s ' $((index + 1)) "${builds[$index]}"; done)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
