#!/bin/bash
# Levels of many portals, played headless through kxsim: the portal works (its vault door taken out)
# with copies of its portal and exit laid by tests/e2e/pile_level.py. The ring: 2,000 portals and
# 2,000 exits that are also entries on one circle, none used up, each copy of the explorer sent on
# to every other; 1,000 and 10,000 portals in rows (2 and 10 points apart) and at one point; a
# portal sending to 48 exits, two rows of a dozen portals, a grid of 48 at the default radius (600)
# sending to one another; and 10,000 portals that find no partner in range laid over 2,000 exits,
# each holding a copy and trying again every frame. The explorer walks right from frame 200.
#
#   bash bench/kxsim_portals.sh FRAMES BUILD_DIR [BUILD_DIR...] [-- LEVEL...]
#
# Per level and build: the wall seconds of the run, the longest frame (from the arrival times of
# the trace's frame lines), the frame it was, the copies sent over the run and the peak resident
# memory. A run still going after KX_PORTAL_LIMIT seconds (300) is stopped and shown with ">". Use
# Release builds and an idle machine; the load average is printed with the figures.
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
# name|pile_level.py options, sets of copies apart with " + "
all_levels=(
    "ring|--unit;Works Portal;--copies;2000;--circle;150;--at;420,320;--set;Single Use=false + --unit;Works Portal Exit;--copies;2000;--circle;150;--at;420,320;--set;Exit Only=false;--set;Single Use=false"
    "rows-1000-2|--unit;Works Portal;--copies;1000;--row;40;--spacing;2"
    "rows-10000-2|--unit;Works Portal;--copies;10000;--row;40;--spacing;2"
    "rows-1000-10|--unit;Works Portal;--copies;1000;--row;50;--spacing;10;--at;300,100"
    "rows-10000-10|--unit;Works Portal;--copies;10000;--row;100;--spacing;10;--at;300,60"
    "point-1000|--unit;Works Portal;--copies;1000"
    "point-10000|--unit;Works Portal;--copies;10000"
    "exits-48|--unit;Works Portal Exit;--copies;48;--row;8;--spacing;25;--at;500,200"
    "rows-24|--unit;Works Portal;--copies;24;--row;12;--spacing;70;--at;300,320"
    "grid-48-600|--unit;Works Portal;--copies;48;--row;12;--spacing;70;--at;300,180;--set;Search Radius=600"
    "grid-96-600|--unit;Works Portal;--copies;96;--row;12;--spacing;35;--at;300,180;--set;Search Radius=600"
    "no-partner-10000|--unit;Works Portal Exit;--copies;2000;--row;50;--spacing;10;--at;300,100 + --unit;Works Portal;--copies;10000;--row;100;--spacing;10;--at;300,60;--set;Group ID=5;--set;Search Radius=1;--set;Single Use=false;--set;Delete Input Object=false"
)
limit="${KX_PORTAL_LIMIT:-300}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
kxdata="${builds[0]}/kxdata"
"$kxdata" write-demo --scenario portals-and-paths "$work/works" >/dev/null 2>&1 || { echo "write-demo failed"; exit 1; }
"$kxdata" dump "$work/works" >"$work/works.dump" 2>/dev/null || { echo "dump failed"; exit 1; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames"
printf '%-18s %-6s %9s %10s %9s %8s %9s\n' level build "wall s" "longest s" "in frame" copies "peak MiB"
for entry in "${all_levels[@]}"; do
    name="${entry%%|*}"
    if [ ${#levels[@]} -gt 0 ] && ! printf '%s\n' "${levels[@]}" | grep -qx "$name"; then
        continue
    fi
    level="$work/level-$name"
    rm -rf "$level"
    cp -r "$work/works" "$level"
    drop=(--drop vault)
    made=1
    while IFS= read -r set; do
        IFS=';' read -r -a options <<<"$set"
        "$PY" "$src/tests/e2e/pile_level.py" "$work/works.dump" "$level" "Portal Works" "${drop[@]}" "${options[@]}" ||
            made=0
        drop=()
    done < <(echo "${entry#*|}" | sed 's/ + /\n/g')
    [ $made = 1 ] || { echo "$name: the level could not be made"; continue; }
    for index in "${!builds[@]}"; do
        rm -rf "$HOME"
        mkdir -p "$XDG_DATA_HOME"
        timeout "$limit" /usr/bin/time -f %M -o "$work/rss" "${builds[$index]}/kxsim" "$level" --frames "$frames" \
            --open works --key 200:down:Right --trace field,teleport 2>/dev/null |
            tee "$work/trace" | "$PY" "$src/bench/trace_frames.py" >"$work/frames"
        read -r wall longest at _ _ <"$work/frames"
        rss=$(tail -n 1 "$work/rss" 2>/dev/null)
        case "$rss" in
        *[!0-9]* | "") rss="-" ;;
        *) rss=$((rss / 1024)) ;;
        esac
        if awk -v w="$wall" -v l="$limit" 'BEGIN { exit !(w >= l - 0.5) }'; then
            wall=">$limit"
        fi
        printf '%-18s %-6s %9s %10s %9s %8s %9s\n' "$name" "$((index + 1))" "$wall" "$longest" "$at" \
            "$(grep -c ' teleport send ' "$work/trace")" "$rss"
    done
done
echo "builds: $(for index in "${!builds[@]}"; do printf '%s=%s ' $((index + 1)) "${builds[$index]}"; done)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
