#!/bin/bash
# Dense levels a user can validly make (bodies side by side, touching or a few points apart, none
# stacked but where the game lets them overlap) and the runs that play them, for the script tests
# and bench/kxsim_dense.sh. Source it; it needs `kxdata` and a python3 with msgpack in PY.
#
#   dense_level NAME DIR   writes the level NAME into DIR (a game folder), false for an unknown name
#   dense_run NAME         fills the array `run` with the kxsim options that play it
#   dense_levels           lists the names
#
# Each level is a scenario game with copies of its own objects laid out by tests/e2e/pile_level.py.
dense_level_names=(
    ball-pit-500 ball-pit-200-big ball-box-200 slanted-planks-80 crab-coin-cloud crab-coin-clump
    shooters-40 stacked-heroes-41 fast-ball-wall balls-2000 balls-1000 crabs-500
)

dense_levels() { printf '%s\n' "${dense_level_names[@]}"; }

# _pile GAME SECTION PILE_LEVEL_OPTIONS...: one more layout of copies in the game written.
_pile() {
    local game="$1" section="$2"
    shift 2
    "$PY" "$(dirname "${BASH_SOURCE[0]}")/pile_level.py" "$game.dump" "$game" "$section" "$@"
}

# _pit_walls GAME LEFT RIGHT: two walls 304 points high and 32 thick (the meadow's stone floor
# turned upright), their inner faces at x LEFT and RIGHT, standing on the ground.
_pit_walls() {
    _pile "$1" Meadow --unit Floor --copies 2 --row 2 --spacing $(($3 - $2 + 32)) --at $(($2 - 16)),232 \
        --rotation 90 --scale 0.25,1
}

_dense_game() {
    local scenario="$1" dir="$2"
    rm -rf "$dir"
    "$kxdata" write-demo --scenario "$scenario" "$dir" >/dev/null 2>&1 &&
        "$kxdata" dump "$dir" >"$dir.dump" 2>/dev/null
}

dense_level() {
    local name="$1" dir="$2" meadow=Meadow works="Portal Works"
    case "$name" in
    ball-pit-500)
        # 500 of the platformer's balls at a quarter of their size (9 points), 10 points apart,
        # between two walls; the hero walks in.
        _dense_game platformer "$dir" &&
            _pit_walls "$dir" 200 500 &&
            _pile "$dir" $meadow --unit Ball --copies 500 --row 27 --spacing 10 --at 230,95 --scale 0.25 ;;
    ball-pit-200-big)
        # 200 balls of 21.6 points, touching, in a wide pit.
        _dense_game platformer "$dir" &&
            _pit_walls "$dir" 200 700 &&
            _pile "$dir" $meadow --unit Ball --copies 200 --row 20 --spacing 22 --at 240,100 --scale 0.6 ;;
    ball-box-200)
        # 200 nine-point balls poured into a box 110 points wide.
        _dense_game platformer "$dir" &&
            _pit_walls "$dir" 400 526 &&
            _pile "$dir" $meadow --unit Ball --copies 200 --row 11 --spacing 10 --at 418,95 --scale 0.25 ;;
    slanted-planks-80)
        # A column of 80 crates drawn 20 times as long as they are thick, turned 45 degrees, 20
        # points apart: none touches another, though each one's bounds overlap dozens of others'.
        _dense_game portals-and-paths "$dir" &&
            _pile "$dir" "$works" --unit "Belt Crate" --copies 80 --row 1 --spacing 20 --rotation 45 --scale 20,0.2 \
                --at 600,400 ;;
    crab-coin-cloud)
        # A crab at a quarter of its size walking into 400 coins side by side.
        _dense_game platformer "$dir" &&
            _pile "$dir" $meadow --unit "Meadow Coin 1" --copies 400 --row 40 --spacing 34 --at 620,100 &&
            _pile "$dir" $meadow --unit "Crab 1" --copies 1 --at 600,100 --scale 0.25 ;;
    crab-coin-clump)
        # The same crab walking into 400 coins 6 points apart (coins may overlap: they never touch).
        _dense_game platformer "$dir" &&
            _pile "$dir" $meadow --unit "Meadow Coin 1" --copies 400 --row 20 --spacing 6 --at 620,100 &&
            _pile "$dir" $meadow --unit "Crab 1" --copies 1 --at 600,100 --scale 0.25 ;;
    shooters-40)
        # 40 ships 50 points apart, each with its gun.
        _dense_game shooter "$dir" &&
            _pile "$dir" "Launch Bay" --unit Ship --copies 40 --row 8 --spacing 50 --at 100,150 ;;
    stacked-heroes-41)
        # 41 heroes at one point (characters never collide with one another) running, shielded,
        # through the coins to the next section's checkpoint.
        _dense_game platformer "$dir" &&
            _pile "$dir" $meadow --unit Hero --copies 40 ;;
    fast-ball-wall)
        # A ball of 9 points shot at 60 m/s at a wall of 6.4 points while a pit of 500 balls is in the
        # field: it stops at the wall.
        _dense_game platformer "$dir" &&
            _pit_walls "$dir" 200 500 &&
            _pile "$dir" $meadow --unit Ball --copies 500 --row 27 --spacing 10 --at 230,95 --scale 0.25 &&
            _pile "$dir" $meadow --unit Floor --copies 1 --at 1000,300 --rotation 90 --scale 0.5,0.2 &&
            _pile "$dir" $meadow --unit Ball --copies 1 --at 700,300 --scale 0.25 --velocity 60,0 ;;
    balls-2000 | balls-1000)
        # Valid heavy levels: balls spread out, 40 points apart, dropped onto the floor.
        _dense_game platformer "$dir" &&
            _pile "$dir" $meadow --unit Ball --copies "${name#balls-}" --row 50 --spacing 40 --lift 300 ;;
    crabs-500)
        _dense_game platformer "$dir" &&
            _pile "$dir" $meadow --unit "Crab 1" --copies 500 --row 50 --spacing 70 --lift 200 ;;
    *) return 1 ;;
    esac
}

dense_run() {
    case "$1" in
    shooters-40) run=(--frames 600 --key 230:down:space) ;;
    slanted-planks-80) run=(--open works --frames 600 --key 250:down:Right) ;;
    stacked-heroes-41) run=(--open world1 --frames 1500 --key 250:down:S --key 252:up:S) ;;
    *) run=(--open world1 --frames 600 --key 250:down:Right) ;;
    esac
}
