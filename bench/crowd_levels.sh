#!/bin/bash
# The levels of bench/kxsim_crowds.sh: crowds of copies of one scenario object, or of a few objects
# together, in one section, all at one point or spread out. Source it with PY (a python3 with
# msgpack) set.
#
#   crowd_games DIR KXDATA       writes the scenario games the crowds copy, and their dumps, into DIR
#   crowd_plan                   one series a line, "kind placement", for the lists in `kinds` and
#                                `placements` (comma-separated; empty: all)
#   crowd_make KIND COUNT PLACEMENT DIR LEVEL
#                                writes that level from the games in DIR into LEVEL (false when it
#                                cannot be made) and sets `crowd_run` (how kxsim plays it, without
#                                --frames), `crowd_section` (the section that holds the copies) and
#                                `crowd_copies` (how many objects the copies are)
crowd_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The scenario games and how each is played (play_options): bench/sweep_levels.sh.
source "$crowd_dir/bench/sweep_levels.sh"

# kind|scenario|placements|sets|options. Sets: "NAME@SHARE[@PILE_LEVEL_OPTION]" between ";", each
# COUNT times SHARE copies of the object so named. Options: "calm" drops the meadow's enemies first
# (they end the hero's run within 80 steps, and the field's stepping with it), "at=X,Y" puts the
# point elsewhere than each object's own place. The set "@" makes the level with
# tests/e2e/nest_level.py's linkers instead, in no placement.
crowd_kinds=(
    "barrel|portals-and-paths|point,spread|Barrel@1"
    "ball|platformer|point,spread|Ball@1|calm"
    "coin|platformer|point,spread|Meadow Coin 1@1|calm"
    "shield|platformer|point,spread|Meadow Shield@1|calm"
    "portal-exit|portals-and-paths|point,spread|Works Portal Exit@1"
    "scout|shooter|point,spread|Scout@1"
    "lift-track|portals-and-paths|point,spread|Lift Track@1@--velocity=0,1"
    "lift|platformer|point,spread|Lift@1|calm"
    "ledge|platformer|point,spread|Ledge@1|calm"
    "floor|platformer|point,spread|Floor@1|calm"
    "tree|top-down|point,spread|Tree 1@1"
    "explorer|portals-and-paths|point,spread|Explorer@1"
    "hero|platformer|point,spread|Hero@1|calm"
    "linkers|effects|-|@"
    "works-mix|portals-and-paths|point,spread|Barrel@1/3;Lift Track@1/3@--velocity=0,1;Works Portal Exit@1/3;Explorer@1/30|at=600,200"
    "works-rows|portals-and-paths|spread|Barrel@43/106;Works Portal Exit@43/106;Explorer@20/106"
    "meadow-mix|platformer|point,spread|Meadow Coin 1@1/2;Ball@1/2|calm"
)

crowd_games() { sweep_games "$@"; }

crowd_plan() {
    local entry kind wanted placement
    for entry in "${crowd_kinds[@]}"; do
        IFS='|' read -r kind _ wanted _ <<<"$entry"
        _sweep_wanted "$kind" "$kinds" || continue
        for placement in ${wanted//,/ }; do
            # A nested kind has its own shape, whichever placements were asked for.
            [ "$placement" = - ] || _sweep_wanted "$placement" "$placements" || continue
            echo "$kind $placement"
        done
    done
}

# _crowd_pile PILE_LEVEL_OPTIONS...: one more change to the level being made.
_crowd_pile() {
    "$PY" "$crowd_dir/tests/e2e/pile_level.py" "$crowd_dump" "$crowd_level" "$crowd_section" "$@" \
        </dev/null >/dev/null
}

crowd_make() {
    local kind="$1" count="$2" placement="$3" dir="$4" level="$5"
    local entry name scenario sets options object share more copies at='' word row=0
    for entry in "${crowd_kinds[@]}"; do
        IFS='|' read -r name scenario _ sets options <<<"$entry"
        [ "$name" = "$kind" ] && break
    done
    [ "$name" = "$kind" ] || return 1
    case "$scenario" in
    platformer) crowd_section=Meadow ;;
    portals-and-paths) crowd_section="Portal Works" ;;
    top-down) crowd_section="Walled Garden" ;;
    shooter) crowd_section="Launch Bay" ;;
    effects) crowd_section="Cave Hall" ;;
    esac
    crowd_dump="$dir/$scenario.dump" crowd_level="$level" crowd_copies=0
    # shellcheck disable=SC2034 # for the caller
    read -ra crowd_run <<<"$(play_options "$scenario")"
    rm -rf "$level"
    cp -r "$dir/$scenario" "$level" || return 1
    if [ "$sets" = @ ]; then
        # One unit and its riders, each joined to it by a linker: 1 + 2 (riders) objects, all at
        # the unit's place.
        local riders=$(((count - 1) / 2))
        crowd_copies=$((1 + 2 * riders))
        "$PY" "$crowd_dir/tests/e2e/nest_level.py" "$crowd_dump" "$level" "$crowd_section" --shape linkers \
            --depth 2 --children "$riders" >/dev/null
        return
    fi
    for word in $options; do
        case "$word" in
        calm) _crowd_pile --drop "Crab 1" --drop "Crab 2" --drop Cannon --drop Cannonball --drop "Armoured Crab" \
            --drop Boulder || return 1 ;;
        at=*) [ "$placement" = point ] && at=${word#at=} ;;
        esac
    done
    if [ "$placement" = spread ] && [ "$scenario" = portals-and-paths ]; then
        # Without the north and east walls the rows run far past the screen, clear of the explorer; the
        # sets follow one another, each from the row after the last one's.
        _crowd_pile --drop "Wall North" --drop "Wall East" || return 1
        at=170,70
    fi
    while IFS='@' read -r object share more; do
        copies=$((count * ${share%/*} / ${share#*/}))
        [ "$copies" -gt 0 ] || continue
        local layout=(--spacing 0)
        [ "$placement" = spread ] && layout=(--row 200 --spacing 60)
        if [ -n "$at" ]; then
            layout+=(--at "${at%,*},$((${at#*,} + row * 60))")
            [ "$placement" = spread ] && row=$((row + (copies + 199) / 200))
        fi
        _crowd_pile --unit "$object" --copies "$copies" "${layout[@]}" ${more:+"$more"} || return 1
        crowd_copies=$((crowd_copies + copies))
    done < <(tr ';' '\n' <<<"$sets")
}
