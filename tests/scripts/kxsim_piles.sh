#!/bin/bash
# Levels whose bodies pile up (valid data): the portal works with 2,000 crates two points apart in
# rows of forty, with 2,000 barrels at one point, and with its section streamed three points wide
# (laid again and again on itself). The field lets the pile's surplus go from the physics, a line
# for each, and plays on: every run plays all its frames and the explorer walks on through the
# works. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump

# The works open once the game has loaded, in frame 195; the explorer walks right from 200.
frames=320
# Far beyond what these runs take: a run still going then holds its frames without end.
limit=300
# The bodies at one place that stay in the physics: one and the bound's worth of others piled on
# it (KXPBodyCrowding::kMaxPiledBodies).
stay=9

# play NAME PILE_LEVEL_OPTIONS...: the works made so, played into $work/NAME.trace; false when the
# run did not finish its frames.
play() {
    local name="$1" game="$work/game-$1" code
    shift
    cp -r "$work/works" "$game"
    "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$game" "Portal Works" "$@" ||
        { echo "FAIL: the $name level could not be made"; exit 1; }
    timeout "$limit" "$kxsim" "$game" --open works --frames "$frames" --key 200:down:Right \
        --trace bodies,game,field,character >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$name.log"; }
    [ "$code" = 0 ]
}

within() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }
left_out() { grep -c " bodies left-out name=$2 " "$work/$1.trace"; }
# steps NAME: the world steps the field took.
steps() { grep -c ' field step=' "$work/$1.trace"; }
# walked NAME: the explorer stood further right at the end than where it started.
walked() {
    grep ' character state=' "$work/$1.trace" | sed -n '1p;$p' | sed 's/.* pos=\([-0-9.]*\),.*/\1/' |
        awk 'NR == 1 { first = $1 } NR == 2 { exit !($1 > first + 50) }'
}
# said NAME: every body let go of has its log line.
said() {
    [ "$(grep -c '\] - .* left out of the physics: ' "$work/$1.log")" = \
        "$(grep -c ' bodies left-out ' "$work/$1.trace")" ]
}

check "crates: the run plays its $frames frames" play crates --unit "Belt Crate" --copies 2000 --row 40 --spacing 2
# Across the rows not every crate overlaps every other: a few more than at one point stay.
check "crates: all but some dozens of the 2,001 are left out of the physics ($(left_out crates 'Belt Crate'))" \
    within "$(left_out crates 'Belt Crate')" 1900 $((2001 - stay))
check "crates: each with its line" said crates
check "crates: the field steps every frame it is open ($(steps crates))" [ "$(steps crates)" -ge $((frames - 195)) ]
check "crates: the explorer walks on" walked crates

check "barrels: the run plays its $frames frames" play barrels --unit Barrel --copies 2000
check "barrels: all but $stay of the 2,001 at one point leave the physics ($(left_out barrels Barrel))" \
    [ "$(left_out barrels Barrel)" = $((2001 - stay)) ]
check "barrels: the explorer walks on" walked barrels

check "streamed 3 wide: the run plays its $frames frames" play narrow --width 3
check "streamed 3 wide: the pile's surplus leaves the physics ($(grep -c ' bodies left-out ' "$work/narrow.trace"))" \
    grep -q ' bodies left-out ' "$work/narrow.trace"
check "streamed 3 wide: each with its line" said narrow

# The scenario's own run: nothing piles up, nothing is let go of.
check "the works as made: the run plays its $frames frames" play works
check "the works as made: no body leaves the physics" bash -c "! grep -q ' bodies left-out ' '$work/works.trace'"
exit $status
