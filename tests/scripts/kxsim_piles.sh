#!/bin/bash
# Levels whose bodies pile up: the portal works with 2,000 crates two points apart in rows of
# forty, with 2,000 barrels at one point, with 1,500 explorers at one point, and with its section
# streamed three points wide (laid again and again on itself). Where a step would cost more than a frame the field holds bodies out
# of the physics, said once for the step, and gives them back as there is room: every step stays
# within the budget, every run plays all its frames, and the explorer walks on where it can. The
# works as made hold nothing out. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump

# The works open once the game has loaded, in frame 195; the explorer walks right from 200.
frames=320
# Far beyond what these runs take: a run still going then holds its frames without end.
limit=300
# The most a step may be predicted to cost (KXPStepBudget::kMaxWork, in nanoseconds).
budget=200000000

# play NAME PILE_LEVEL_OPTIONS...: the works made so, played into $work/NAME.trace; false when the
# run did not finish its frames.
play() {
    local name="$1" game="$work/game-$1" code
    shift
    cp -r "$work/works" "$game"
    "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$game" "Portal Works" "$@" ||
        { echo "FAIL: the $name level could not be made"; exit 1; }
    timeout "$limit" "$kxsim" "$game" --open works --frames "$frames" --key 200:down:Right \
        --trace bodies,game,field,character,budget >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$name.log"; }
    [ "$code" = 0 ]
}

held() { grep -c " bodies held-out name=$2 " "$work/$1.trace"; }
given() { grep -c " bodies given-back name=$2 " "$work/$1.trace"; }
# costliest NAME: the most a step of the run was predicted to cost once bodies were held out.
costliest() { sed -n 's/.* budget step cost=\([0-9]*\) .*/\1/p' "$work/$1.trace" | sort -n | tail -n 1; }
within_budget() { [ "$(costliest "$1")" -le $budget ]; }
# steps NAME: the world steps the field took.
steps() { grep -c ' field step=' "$work/$1.trace"; }
# walked NAME: the explorer stood further right at the end than where it started.
walked() {
    grep ' character state=' "$work/$1.trace" | sed -n '1p;$p' | sed 's/.* pos=\([-0-9.]*\),.*/\1/' |
        awk 'NR == 1 { first = $1 } NR == 2 { exit !($1 > first + 50) }'
}
# said NAME: each step that held bodies out said so once.
said() {
    [ "$(grep -c '\[KXPStepBudget\] the next step would .* bodies held out of the physics' "$work/$1.log")" -ge 1 ]
}

check "crates: the run plays its $frames frames" play crates --unit "Belt Crate" --copies 2000 --row 40 --spacing 2
check "crates: most of the 2,001 wait outside the physics at first ($(held crates 'Belt Crate'))" \
    [ "$(held crates 'Belt Crate')" -ge 1000 ]
check "crates: said" said crates
check "crates: they come back as there is room ($(given crates 'Belt Crate'))" [ "$(given crates 'Belt Crate')" -gt 0 ]
check "crates: every step within the budget ($(costliest crates))" within_budget crates
check "crates: the field steps every frame it is open ($(steps crates))" [ "$(steps crates)" -ge $((frames - 195)) ]

check "barrels: the run plays its $frames frames" play barrels --unit Barrel --copies 2000
check "barrels: most of the 2,001 at one point wait outside the physics ($(held barrels Barrel))" \
    [ "$(held barrels Barrel)" -ge 1000 ]
check "barrels: every step within the budget ($(costliest barrels))" within_budget barrels
check "barrels: the explorer walks on" walked barrels

# Characters never collide with one another, but each one's ground rays look at every body it
# stands in: a crowd of them at one point costs the square of its number after each step.
rays() { sed -n 's/.* budget step .* rays=\([0-9]*\) .*/\1/p' "$work/$1.trace" | sort -n | tail -n 1; }
check "explorers: the run plays its $frames frames" play explorers --unit Explorer --copies 1500
check "explorers: their rays are counted ($(rays explorers))" [ "$(rays explorers)" -gt 100000 ]
check "explorers: most of the 1,501 at one point wait outside the physics ($(held explorers Explorer))" \
    [ "$(held explorers Explorer)" -ge 1000 ]
check "explorers: every step within the budget ($(costliest explorers))" within_budget explorers

check "streamed 3 wide: the run plays its $frames frames" play narrow --width 3
check "streamed 3 wide: every step within the budget ($(costliest narrow))" within_budget narrow
check "streamed 3 wide: the explorer walks on" walked narrow

# The scenario's own run: nothing piles up, nothing is held out.
check "the works as made: the run plays its $frames frames" play works
check "the works as made: no body waits outside the physics" bash -c "! grep -q ' bodies held-out ' '$work/works.trace'"
exit $status
