#!/bin/bash
# The levels of bench/kxsim_piles.sh, also played by bench/kxsim_step_calibration.sh: copies of the
# portal works' crate, barrel, portal exit and explorer at one point or a few points apart, the
# works' section streamed narrower than what it holds, and the platformer's balls dropped onto its
# floor. Source it with PY (a python3 with msgpack) set.
#
#   pile_games DIR KXDATA      writes the games they copy (works, platformer) and their dumps into DIR
#   pile_names                 lists the levels' names
#   pile_make NAME DIR LEVEL   writes level NAME from the games in DIR into LEVEL (false when it cannot
#                              be made or has no such name) and sets the array `pile_run`: how kxsim
#                              plays it (the works opened at once, the explorer walking right from
#                              frame 200 and jumping at 260), without --frames
pile_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# name|game|section width (streamed) or -|object copied|copies|to a row|points apart|raised by
pile_levels=(
    "stream-3|works|3|-|0|0|0|0"
    "stream-5|works|5|-|0|0|0|0"
    "stream-1-200|works|1|Barrel|175|25|3|0"
    "stream-10-200|works|10|Barrel|175|25|3|0"
    "stream-50-200|works|50|Barrel|175|25|3|0"
    "stream-3-idle|works-idle|3|-|0|0|0|0"
    "stream-1-200-idle|works-idle|1|Barrel|175|25|3|0"
    "crates-2000-2|works|-|Belt Crate|2000|40|2|0"
    "crates-5000-1|works|-|Belt Crate|5000|40|1|0"
    "crates-1000-3|works|-|Belt Crate|1000|40|3|0"
    "barrels-2000-0|works|-|Barrel|2000|40|0|0"
    "barrels-5000-0|works|-|Barrel|5000|40|0|0"
    "portal-exits-2000-0|works|-|Works Portal Exit|2000|40|0|0"
    "explorers-2000-0|works|-|Explorer|2000|40|0|0"
    "balls-2000-dropped|platformer|-|Ball|2000|40|40|300"
    "balls-5000-dropped|platformer|-|Ball|5000|50|40|300"
)

pile_names() { printf '%s\n' "${pile_levels[@]%%|*}"; }

pile_games() {
    local dir="$1" kxdata="$2"
    mkdir -p "$dir"
    [ -f "$dir/works.dump" ] && [ -f "$dir/platformer.dump" ] && return 0
    "$kxdata" write-demo --scenario portals-and-paths "$dir/works" >/dev/null 2>&1 || { echo "write-demo failed"; return 1; }
    "$kxdata" write-demo --scenario platformer "$dir/platformer" >/dev/null 2>&1 || { echo "write-demo failed"; return 1; }
    "$kxdata" dump "$dir/works" >"$dir/works.dump" 2>/dev/null && "$kxdata" dump "$dir/platformer" >"$dir/platformer.dump" 2>/dev/null ||
        { echo "dump failed"; return 1; }
}

pile_make() {
    local wanted="$1" dir="$2" level="$3" entry name game width unit copies row spacing lift section options=()
    for entry in "${pile_levels[@]}"; do
        IFS='|' read -r name game width unit copies row spacing lift <<<"$entry"
        [ "$name" = "$wanted" ] && break
    done
    [ "$name" = "$wanted" ] || return 1
    case "$game" in
    works) section="Portal Works" pile_run=(--open works --key 200:down:Right --key 260:down:J) ;;
    works-idle) section="Portal Works" pile_run=(--open works) game=works ;;
    platformer) section="Meadow" pile_run=(--open world1) ;;
    esac
    rm -rf "$level"
    cp -r "$dir/$game" "$level" || return 1
    [ "$width" != - ] && options+=(--width "$width")
    [ "$unit" != - ] && options+=(--unit "$unit" --copies "$copies" --row "$row" --spacing "$spacing" --lift "$lift")
    "$PY" "$pile_dir/tests/e2e/pile_level.py" "$dir/$game.dump" "$level" "$section" "${options[@]}"
}
