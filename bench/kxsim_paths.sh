#!/bin/bash
# Levels full of paths, played headless through kxsim: the portal works with thousands of copies of
# its paths (the belt, which takes the belt crates; the lift, which takes characters, here made to
# take everything) over thousands of crates, spread 45 points apart in rows that all stay in the
# field, at one point, just out of the paths' reach (a dense spot that spends the frame's budget of
# the paths' index), or under paths of a huge search radius. Each level is played for FRAMES frames
# (the works opened at once, the explorer walking right from frame 200).
#
#   bash bench/kxsim_paths.sh FRAMES BUILD_DIR [BUILD_DIR...] [-- LEVEL...]
#
# Per level and build: the seconds of the whole process, the wall seconds from the first trace line,
# the longest frame (from the arrival times of the trace's frame lines) and the frame it was, the
# world steps, and the peak resident memory. A run still going after KX_PATHS_LIMIT seconds (120)
# is stopped and shown with ">". Needs python3-msgpack. Use Release builds and an idle machine.
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
# name|pile_level.py options of each pile, piles separated by ";"
all_levels=(
    "paths-5000-crates-5000-45|--unit Belt --copies 5000 --row 250 --spacing 45;--unit Belt@Crate --copies 5000 --row 250 --spacing 45"
    "paths-10000-crates-10000-45|--unit Belt --copies 10000 --row 500 --spacing 45;--unit Belt@Crate --copies 10000 --row 500 --spacing 45"
    "paths-10000-45|--unit Belt --copies 10000 --row 500 --spacing 45"
    "paths-2000-crates-2000-0|--unit Belt --copies 2000 --spacing 0;--unit Belt@Crate --copies 2000 --spacing 0"
    "paths-2000-crates-2000-out-of-reach|--unit Belt --copies 2000 --spacing 0;--unit Belt@Crate --copies 2000 --spacing 0 --at 245,130"
    "paths-5000-radius-1e9-crates-5000-45|--unit Belt --copies 5000 --row 250 --spacing 45 --set Search@Radius=1e9;--unit Belt@Crate --copies 5000 --row 250 --spacing 45"
    "lifts-2000-all-radius-1e9-crates-2000-45|--unit Lift --copies 2000 --spacing 0 --set Affected@Asset=\"kAll\" --set Search@Radius=1e9;--unit Belt@Crate --copies 2000 --row 50 --spacing 45"
)
limit="${KX_PATHS_LIMIT:-120}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
kxdata="${builds[0]}/kxdata"
"$kxdata" write-demo --scenario portals-and-paths "$work/works" >/dev/null 2>&1 || { echo "write-demo failed"; exit 1; }
"$kxdata" dump "$work/works" >"$work/works.dump" 2>/dev/null || { echo "dump failed"; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames"
printf '%-42s %-6s %8s %8s %10s %9s %7s %9s\n' level build "run s" "wall s" "longest s" "in frame" steps "peak MiB"
for entry in "${all_levels[@]}"; do
    name="${entry%%|*}"
    if [ ${#levels[@]} -gt 0 ] && ! printf '%s\n' "${levels[@]}" | grep -qx "$name"; then
        continue
    fi
    level="$work/level-$name"
    rm -rf "$level"
    cp -r "$work/works" "$level"
    IFS=';' read -r -a piles <<<"${entry#*|}"
    made=1
    for pile in "${piles[@]}"; do
        # "@" stands for a space inside a name or a setting.
        read -r -a options <<<"$pile"
        options=("${options[@]//@/ }")
        "$PY" "$src/tests/e2e/pile_level.py" "$work/works.dump" "$level" "Portal Works" "${options[@]}" || made=0
    done
    [ "$made" = 1 ] || { echo "$name: the level could not be made"; continue; }
    for index in "${!builds[@]}"; do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        read -r wall longest at _ steps < <(timeout "$limit" /usr/bin/time -f "%e %M" -o "$work/usage" \
            stdbuf -oL "${builds[$index]}/kxsim" "$level" --frames "$frames" --open works --key 200:down:Right \
            --trace loading,screens,field 2>/dev/null | "$PY" "$src/bench/trace_frames.py")
        read -r run rss < <(tail -n 1 "$work/usage" 2>/dev/null)
        case "${rss:-}" in
        *[!0-9]* | "") rss="-" ;;
        *) rss=$((rss / 1024)) ;;
        esac
        case "${run:-}" in
        *[!0-9.]* | "") run=">$limit" ;;
        esac
        printf '%-42s %-6s %8s %8s %10s %9s %7s %9s\n' "$name" "$((index + 1))" "$run" "$wall" "$longest" "$at" \
            "$steps" "$rss"
    done
done
echo "builds: $(for index in "${!builds[@]}"; do printf '%s=%s ' $((index + 1)) "${builds[$index]}"; done)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
