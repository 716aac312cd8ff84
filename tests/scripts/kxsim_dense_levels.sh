#!/bin/bash
# Dense levels a user can validly make play as made: no body is held out of the physics and
# continuous collision stays on while a hero walks into a pit of small balls, forty ships fire a
# full volley, forty-one heroes stacked at one point collect the coins and reach the checkpoint, a
# fast small ball stops at a thin wall beside a pit, long planks turned 45 degrees fall side by
# side, the magnet pulls a room of 600 coins onto the hero, a hero pushes 1,000 balls against a
# wall, and 400 crates stand edge to edge.
# Data that piles bodies up or that a float cannot carry ends its run: of 5,001 coins at one point,
# whose first pairing passes the budget, those past its room are held out and come back as the hero
# takes the ones in the physics, most of them while it passes; and a barrel scaled to 1e30 gets no
# body and a line.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
need_msgpack
source "$src/tests/e2e/dense_levels.sh"
# Far beyond what these runs take: a run still going then holds its frames without end.
limit=300

# play NAME [KXSIM OPTIONS...]: the level NAME played as dense_run says, traced into $work/NAME.trace.
play() {
    local name="$1" code
    shift
    dense_level "$name" "$work/$name" || { echo "FAIL: the $name level could not be made"; exit 1; }
    dense_run "$name"
    # Each level plays from its start: no checkpoint or coins of an earlier run in the store.
    rm -rf "$HOME"
    mkdir -p "$HOME/.local/share"
    timeout "$limit" "$kxsim" "$work/$name" "${run[@]}" "$@" >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$name.log"; }
    [ "$code" = 0 ]
}
count() { grep -c -- "$2" "$work/$1.trace"; }
untouched() { [ "$(count "$1" ' bodies held-out ')" = 0 ] && [ "$(count "$1" 'continuous-collision off')" = 0 ]; }

check "ball pit: the run plays" play ball-pit-500 --trace bodies,field
check "ball pit: the hero walks in, every ball in the physics, continuous collision on" untouched ball-pit-500

check "shooters: the run plays" play shooters-40 --trace bodies,field,unit
# The guns are the bolts of the first frame traced; each later bolt is a shot, the first volley
# being those of the frame of the first shot.
volley() {
    grep ' unit name=Ship Bolt ' "$work/shooters-40.trace" | awk '
        { frame = substr($1, 3) + 0; id = $5 }
        first == "" { first = frame }
        frame == first { gun[id] = 1; next }
        !(id in gun) && !(id in seen) { seen[id] = 1; if (volley == "") volley = frame; if (frame == volley) n++ }
        END { print n + 0 }'
}
check "shooters: all 40 guns fire in a volley ($(volley))" [ "$(volley)" -ge 40 ]
check "shooters: every body in the physics" untouched shooters-40

check "stacked heroes: the run plays" play stacked-heroes-41 --trace bodies,field,score,game
check "stacked heroes: the coins are collected ($(count stacked-heroes-41 ' powerup "Meadow Coin'))" \
    [ "$(count stacked-heroes-41 ' powerup "Meadow Coin')" -ge 5 ]
check "stacked heroes: the checkpoint is reached" grep -q ' game checkpoint at=' "$work/stacked-heroes-41.trace"
check "stacked heroes: every body in the physics" untouched stacked-heroes-41

check "fast ball: the run plays" play fast-ball-wall --trace bodies,field,unit
# The fast ball is the last ball made; the wall stands at x 1000, 3.2 points either side.
last_x() {
    grep ' unit name=Ball ' "$work/fast-ball-wall.trace" | awk '
        { id = substr($4, 4) + 0; split(substr($6, 5), p, ","); if (id >= top) { top = id; x[id] = p[1] } }
        END { print x[top] + 0 }'
}
check "fast ball: it stops at the thin wall ($(last_x))" awk -v x="$(last_x)" 'BEGIN { exit !(x < 997) }'
check "fast ball: every body in the physics, continuous collision on" untouched fast-ball-wall

check "slanted planks: the run plays" play slanted-planks-80 --trace bodies,field
check "slanted planks: every plank in the physics" untouched slanted-planks-80

check "magnet over a coin room: the run plays" play magnet-coin-room --trace bodies,field,score
check "magnet over a coin room: every coin is taken ($(count magnet-coin-room ' powerup "Meadow Coin 1"'))" \
    [ "$(count magnet-coin-room ' powerup "Meadow Coin 1"')" = 601 ]
check "magnet over a coin room: every coin in the physics" untouched magnet-coin-room

check "a hero pushing a pit against its wall: the run plays" play hero-pushes-pit --trace bodies,field
check "a hero pushing a pit against its wall: every ball in the physics" untouched hero-pushes-pit

check "crates edge to edge: the run plays" play crates-edge-to-edge --trace bodies,field
check "crates edge to edge: every crate in the physics" untouched crates-edge-to-edge

# Stacked data: 5,001 coins at one point, and a barrel at a scale no float holds.
check "5,001 coins at one point: the run plays" play coins-at-one-point --trace bodies,score
held=$(count coins-at-one-point ' bodies held-out ')
taken=$(count coins-at-one-point ' powerup "Meadow Coin 1"')
# Still sensors past the budget with no dynamic body to hold: the coins go, and come back.
check "5,001 coins at one point: coins past the room are held out ($held)" [ "$held" -gt 0 ]
check "5,001 coins at one point: the hero collects most of them as they come back ($taken)" [ "$taken" -ge 4000 ]
write_works_with_dump
cp -r "$work/works" "$work/scaled"
"$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$work/scaled" "Portal Works" --unit Barrel --copies 1 --scale=1e30 ||
    { echo "FAIL: the scaled level could not be made"; exit 1; }
# run_to TRACE LOG GAME KXSIM_OPTIONS...: one run of GAME, false when it does not end well in time.
run_to() {
    local trace="$1" log="$2"
    shift 2
    timeout "$limit" "$kxsim" "$@" >"$trace" 2>"$log"
}
check "a barrel at scale 1e30: the run plays" \
    run_to /dev/null "$work/scaled.log" "$work/scaled" --open works --frames 300 --key 200:down:Right
check "a barrel at scale 1e30: one line names it" \
    grep -q '\[KXPObjectAsset\] - Barrel (model [0-9]*) has no body: at scale 1e+30 x 1e+30 its shape reaches further' \
    "$work/scaled.log"
exit $status
