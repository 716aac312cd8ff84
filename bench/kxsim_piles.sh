#!/bin/bash
# Levels whose bodies pile up, played headless through kxsim: copies of the portal works' crate,
# barrel, portal exit and explorer at one point or a few points apart, the works' section
# streamed narrower than what it holds, and the platformer's balls dropped onto its floor. Each level is played for FRAMES frames
# (the works opened at once, the explorer walking right from frame 200 and jumping at 260).
#
#   bash bench/kxsim_piles.sh FRAMES BUILD_DIR [BUILD_DIR...] [-- LEVEL...]
#
# Per level and build: the wall seconds of the whole run, the longest frame (from the arrival
# times of the trace's frame lines, so it includes the trace's own cost), the frame it was, the
# world steps the field took (it stops stepping at game over: the works' turnstile turns the
# explorer away on its second pass) and the peak resident memory. A run still going after KX_PILE_LIMIT seconds (120) is stopped and
# shown with ">". Give several builds (say one from before a change and one after) to compare
# them level by level. Needs python3-msgpack. Use Release builds and an idle machine; the load
# average is printed with the figures.
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
limit="${KX_PILE_LIMIT:-120}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
# The levels and how each is made and played: bench/pile_levels.sh.
source "$src/bench/pile_levels.sh"
pile_games "$work" "${builds[0]}/kxdata" || exit 1

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames"
printf '%-20s %-6s %9s %10s %9s %7s %9s\n' level build "wall s" "longest s" "in frame" steps "peak MiB"
for name in $(pile_names); do
    if [ ${#levels[@]} -gt 0 ] && ! printf '%s\n' "${levels[@]}" | grep -qx "$name"; then
        continue
    fi
    level="$work/level-$name"
    pile_make "$name" "$work" "$level" || { echo "$name: the level could not be made"; continue; }
    for index in "${!builds[@]}"; do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        read -r wall longest at _ steps < <(timeout "$limit" /usr/bin/time -f %M -o "$work/rss" "${builds[$index]}/kxsim" \
            "$level" --frames "$frames" "${pile_run[@]}" --trace loading,screens,field 2>/dev/null |
            "$PY" "$src/bench/trace_frames.py")
        rss=$(tail -n 1 "$work/rss" 2>/dev/null)
        case "$rss" in
        *[!0-9]* | "") rss="-" ;;
        *) rss=$((rss / 1024)) ;;
        esac
        if awk -v w="$wall" -v l="$limit" 'BEGIN { exit !(w >= l - 0.5) }'; then
            wall=">$limit"
        fi
        printf '%-20s %-6s %9s %10s %9s %7s %9s\n' "$name" "$((index + 1))" "$wall" "$longest" "$at" "$steps" "$rss"
    done
done
echo "builds: $(for index in "${!builds[@]}"; do printf '%s=%s ' $((index + 1)) "${builds[$index]}"; done)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
