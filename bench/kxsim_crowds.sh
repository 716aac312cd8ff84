#!/bin/bash
# Crowds of bodies, all at one point or spread out, from a thousand to a hundred thousand, played
# headless through kxsim: how long their frames take, what memory they hold, how many bodies the
# step budget holds out of the physics and what the budget's own work costs.
#
#   bash bench/kxsim_crowds.sh BUILD_DIR [-j JOBS] [--kinds K,K] [--counts N,N]
#                              [--placements point,spread] [--frames N]
#
# Kinds (bench/crowd_levels.sh; the scenario games of bench/sweep_levels.sh, played as it plays them,
# the platformer's with the meadow's enemies dropped so that the hero lives):
#   dynamic            barrel (the works' Barrel), ball (the platformer's Ball)
#   still sensors      coin (the platformer's Meadow Coin 1), shield (Meadow Shield), portal-exit (Works
#                      Portal Exit)
#   kinematic movers   scout (the shooter's Scout, the ship firing), lift-track (the works' Lift Track
#                      rising at 1 m/s), lift (the platformer's Lift)
#   still solids       ledge, floor (the platformer's Ledge and Floor), tree (the top-down game's Tree 1)
#   characters         explorer (the works' Explorer), hero (the platformer's Hero); spread, 2,000
#                      explorers or more reach the works' gatekeeper, which ends the level in the
#                      frame that lays them (steps: 1)
#   bodies on joints   linkers: the effects game's unit with riders, each joined to it by a copy of its
#                      linker (tests/e2e/nest_level.py), all at its place: COUNT objects (bodies and
#                      linkers) give or take one; no placement
#   mixtures           works-mix: the works' Barrel, rising Lift Track and Works Portal Exit at COUNT/3
#                      each and Explorer at COUNT/30, at one point (600,200) or spread;
#                      works-rows: Barrel and Works Portal Exit at 43/106 of COUNT each and Explorer at
#                      20/106, spread only; meadow-mix: Meadow Coin 1 and Ball at COUNT/2 each, the
#                      meadow's enemies dropped
# Placements: point (every copy at the object's own place) and spread (60 points apart, 200 to a row,
# from the object's own place; in the works from 170,70 with the north and east walls dropped, one
# object's rows after another's).
# Defaults: every kind, counts 1000,2000,5000,10000,20000,50000,100000, both placements, 600 frames,
# JOBS half the processors. A kind and placement's counts run in order, one after another; JOBS of
# those series at a time. A model pack file holds 16 MiB at most: a level whose pack the player
# refuses prints "pack cap" and ends its series (with today's data the units' kinds stop past
# 20,000 copies, the others past 50,000; linkers and works-rows load 100,000). A run still going
# after KX_CROWD_LIMIT seconds (900) is stopped ("limit").
# Per run, as it ends: kind, count, placement, exit status (sigN for a signal), wall seconds, the
# longest frame and the frame it was, the longest frame other than the one that laid the crowd's
# section and the frame it was, the frames over 0.25 s and over 0.5 s (the laying frame not counted
# when it laid more than 20,000 objects), the field's steps (fewer than the frames after the level's
# when the field stopped stepping: the last frame stepped then holds the untraced rest of the run),
# the peak resident memory, the bodies held out of the physics after the last step, and the step
# budget's own time as a share of the wall time from the first step on (KX_STEP_METER's budget=
# summed). Frames are timed from the arrival of the trace's lines (bench/crowd_frames.py), so with
# the trace's own cost; kxsim plays one frame more, which ends the last one before the run is taken
# down. Use a Release build on an otherwise idle machine. Needs python3-msgpack.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR [-j JOBS] [--kinds K,K] [--counts N,N] [--placements P,P] [--frames N]}" && pwd)
shift
jobs=$(($(nproc) / 2 > 0 ? $(nproc) / 2 : 1))
kinds='' counts=1000,2000,5000,10000,20000,50000,100000 placements=point,spread frames=600
while [ $# -gt 0 ]; do
    case "$1" in
    -j) jobs="$2" ;;
    --kinds) kinds="$2" ;;
    --counts) counts="$2" ;;
    --placements) placements="$2" ;;
    --frames) frames="$2" ;;
    *) echo "unknown option $1"; exit 1 ;;
    esac
    shift 2
done
limit="${KX_CROWD_LIMIT:-900}"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || { echo "no python3-msgpack"; exit 1; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time"; exit 1; }

# The kinds and how each level is made and played: bench/crowd_levels.sh.
source "$src/bench/crowd_levels.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
crowd_games "$work" "$build/kxdata" || exit 1

# line FIELD...: one aligned line of the table.
line() { printf '%-11s %6s %-6s %5s %8s %9s %5s %9s %5s %5s %5s %5s %8s %6s %7s\n' "$@"; }

# play KIND COUNT PLACEMENT: makes the level, plays it and prints its line; false when the player
# refused a pack (the larger counts would be refused too).
play() {
    local kind="$1" count="$2" placement="$3" level="$work/$1-$2-$3"
    local home="$level.home" figures code wall rss capped=0
    if ! crowd_make "$kind" "$count" "$placement" "$work" "$level" >"$level.make" 2>&1; then
        printf '%-11s %6s %-6s  level not made: %s\n' "$kind" "$count" "$placement" \
            "$(grep . "$level.make" | tail -n 1 | cut -c1-100)"
        rm -rf "$level" "$level.make"
        return 0
    fi
    mkdir -p "$home"
    # A crowd's frame can outlast the TERM at the limit: the KILL after it goes to kxsim alone, so that
    # timeout lives on to hand kxsim's peak memory to time.
    figures=$(HOME="$home" XDG_DATA_HOME="$home" KX_STEP_METER="$level.meter" KX_STEP_METER_LIGHT=1 \
        /usr/bin/time -f "%e %M" -o "$level.rss" timeout --foreground -k 10 "$limit" \
        "$build/kxsim" "$level" --frames $((frames + 1)) "${crowd_run[@]}" \
        --trace loading,screens,field,sections,bodies 2>"$level.err" |
        "$PY" "$src/bench/crowd_frames.py" "$frames" "$crowd_section" "$crowd_copies" "$level.meter")
    code=$(sed -n 's/^Command exited with non-zero status //p; s/^Command terminated by signal /sig/p' "$level.rss")
    case "$code" in 124 | 137) code=limit ;; esac
    read -r wall rss < <(tail -n 1 "$level.rss")
    case "$rss" in *[!0-9]* | "") wall="-" rss="-" ;; *) rss=$((rss / 1024)) ;; esac
    if grep -q '^\[KXModelController\] load data - fail:' "$level.err"; then
        printf '%-11s %6s %-6s %5s  pack cap\n' "$kind" "$count" "$placement" "${code:-0}"
        capped=1
    else
        # shellcheck disable=SC2086 # the reader's figures, one word each
        set -- $figures
        line "$kind" "$count" "$placement" "${code:-0}" "$wall" "${1:--}" "${2:--}" "${3:--}" "${4:--}" \
            "${5:--}" "${6:--}" "${7:--}" "$rss" "${8:--}" "${9:--}"
    fi
    rm -rf "$level" "$home" "$level.make" "$level.meter" "$level.rss" "$level.err"
    [ "$capped" = 0 ]
}

# series KIND PLACEMENT: the counts in order, up to the first the pack cap refuses.
series() {
    local count
    for count in $(tr ',' '\n' <<<"$counts" | sort -n); do
        play "$1" "$count" "$2" || break
    done
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors; $frames frames;" \
    "$jobs at a time; stopped after $limit s"
line kind count place exit "wall s" "longest s" frame "others s" frame ">.25" ">.5" steps "peak MiB" held budget%
export -f play series line
export work build src frames limit counts PY
# shellcheck disable=SC2016 # expanded by the shell xargs starts
crowd_plan | xargs -P "$jobs" -L 1 bash -c 'source "$src/bench/crowd_levels.sh"; series "$@"' _
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
