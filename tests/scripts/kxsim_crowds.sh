#!/bin/bash
# Crowds of every kind at one point, played through kxsim: still sensors whose first pairing Box2D
# could not hold (24,000 of the platformer's coins), kinematic movers flying together (5,000 of the
# shooter's scouts, the ship firing) and the portal works' barrels, rising lift tracks, portal exits
# and explorers together. Each run plays all its frames without a sanitizer's report; the budget
# holds the still and kinematic bodies out too, said once for the step, and every step after it
# stays within the budget; the player's explorer, far from the crowd, plays on. Args: build folder,
# source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
need_msgpack
# Far beyond what these runs take: a run still going then holds its frames without end.
limit=600
# The most a step may be predicted to cost (KXPStepBudget::kMaxWork, in nanoseconds).
budget=200000000

# game SCENARIO: writes the scenario game and its dump into $work.
game() {
    write_demo --scenario "$1" "$work/$1"
    "$kxdata" dump "$work/$1" >"$work/$1.dump" 2>/dev/null || { echo "FAIL: dump $1"; exit 1; }
}
game platformer
game shooter
game portals-and-paths

# crowd NAME SCENARIO SECTION FRAMES RUN_OPTIONS -- PILE_LEVEL_OPTION_LISTS...: the scenario with each
# list of pile_level.py options applied (lists between "+"), played FRAMES frames into
# $work/NAME.trace; false when the run did not end well in time.
crowd() {
    local name="$1" scenario="$2" section="$3" frames="$4" level="$work/level-$1" options=() run=() code
    shift 4
    while [ $# -gt 0 ] && [ "$1" != -- ]; do run+=("$1"); shift; done
    shift
    cp -r "$work/$scenario" "$level"
    for word in "$@" +; do
        if [ "$word" = + ]; then
            "$PY" "$src/tests/e2e/pile_level.py" "$work/$scenario.dump" "$level" "$section" "${options[@]}" ||
                { echo "FAIL: the $name level could not be made"; exit 1; }
            options=()
        else
            options+=("$word")
        fi
    done
    rm -rf "$HOME/.local/share"/*
    timeout "$limit" "$kxsim" "$level" --frames "$frames" "${run[@]}" --trace bodies,budget,field,character \
        >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$name.log"; }
    [ "$code" = 0 ]
}
# No sanitizer report in the run's log.
clean() { ! grep -q -E 'ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer' "$work/$1.log"; }
held() { grep -c " bodies held-out name=$2 " "$work/$1.trace"; }
# costliest NAME: the most a step of the run was predicted to cost once bodies were held out.
costliest() { sed -n 's/.* budget step cost=\([0-9]*\) .*/\1/p' "$work/$1.trace" | sort -n | tail -n 1; }
said() { grep -q '\[KXPStepBudget\] the next step would .* bodies held out of the physics' "$work/$1.log"; }
steps() { grep -c ' field step=' "$work/$1.trace"; }

enemies=(--drop "Crab 1" --drop "Crab 2" --drop Cannon --drop Cannonball --drop "Armoured Crab" --drop Boulder)
check "24,000 coins at one point: the run plays" \
    crowd coins platformer Meadow 300 --open world1 -- "${enemies[@]}" + --unit "Meadow Coin 1" --copies 24000 --spacing 0
check "24,000 coins at one point: no sanitizer report" clean coins
check "24,000 coins at one point: held out ($(held coins 'Meadow Coin 1'))" [ "$(held coins 'Meadow Coin 1')" -ge 20000 ]
check "24,000 coins at one point: said" said coins
check "24,000 coins at one point: every step within the budget ($(costliest coins))" [ "$(costliest coins)" -le $budget ]
check "24,000 coins at one point: the field steps ($(steps coins))" [ "$(steps coins)" -ge 50 ]
# The step's own work, not continuous collision's, may leave no room for it: the line says so.
check "24,000 coins at one point: no line blames continuous collision for work it foresaw at nothing" \
    bash -c "! grep -q 'continuous collision off: it may take 0 ns in this step, more than' '$work/coins.log'"

check "5,000 scouts at one point: the run plays" \
    crowd scouts shooter "Launch Bay" 330 --key 230:down:space -- --unit Scout --copies 5000 --spacing 0
check "5,000 scouts at one point: no sanitizer report" clean scouts
check "5,000 scouts at one point: held out ($(held scouts Scout))" [ "$(held scouts Scout)" -ge 2500 ]
check "5,000 scouts at one point: every step within the budget ($(costliest scouts))" [ "$(costliest scouts)" -le $budget ]

works=("Portal Works")
check "the works' crowd at one point: the run plays" \
    crowd works portals-and-paths "${works[@]}" 320 --open works --key 200:down:Right --key 260:down:J -- \
    --unit Barrel --copies 1000 --spacing 0 --at 600,200 + --unit "Lift Track" --copies 1000 --spacing 0 --at 600,200 \
    --velocity=0,1 + --unit "Works Portal Exit" --copies 1000 --spacing 0 --at 600,200 + --unit Explorer --copies 100 \
    --spacing 0 --at 600,200
check "the works' crowd at one point: no sanitizer report" clean works
check "the works' crowd at one point: barrels held out ($(held works Barrel))" [ "$(held works Barrel)" -gt 0 ]
check "the works' crowd at one point: lift tracks held out ($(held works 'Lift Track'))" [ "$(held works 'Lift Track')" -gt 0 ]
check "the works' crowd at one point: every step within the budget ($(costliest works))" [ "$(costliest works)" -le $budget ]
# The player's explorer stands at 110,320, far from the crowd: it runs on along its row.
check "the works' crowd at one point: the player's explorer runs on" \
    grep -q -E ' character .* pos=(2[5-9][0-9]|[3-5][0-9][0-9])\.[0-9],320\.0 ' "$work/works.trace"
exit $status
