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
    shooters-40 stacked-heroes-41 fast-ball-wall balls-2000 balls-1000 balls-200 crabs-500 crates-2000
    moths-2000 moths-1000 moths-200 magnet-coin-room magnet-coin-room-2000 hero-pushes-pit crates-edge-to-edge coins-at-one-point
)

dense_levels() { printf '%s\n' "${dense_level_names[@]}"; }

# _pile GAME SECTION PILE_LEVEL_OPTIONS...: one more layout of copies in the game written.
_pile() {
    local game="$1" section="$2"
    shift 2
    "$PY" "$(dirname "${BASH_SOURCE[0]}")/pile_level.py" "$game.dump" "$game" "$section" "$@"
}

# _pit_walls GAME LEFT RIGHT [HIGH]: two walls 304 points high (HIGH times that) and 32 thick (the
# meadow's stone floor turned upright), their inner faces at x LEFT and RIGHT, standing on the
# ground.
_pit_walls() {
    local high="${4:-1}"
    _pile "$1" Meadow --unit Floor --copies 2 --row 2 --spacing $(($3 - $2 + 32)) --at=$(($2 - 16)),$((80 + 152 * high)) \
        --rotation 90 --scale "$(awk -v h="$high" 'BEGIN { print 0.25 * h }'),1"
}

# _without_enemies GAME: the meadow without what would end the hero's run early; its first crab
# walks away from the hero.
_without_enemies() {
    _pile "$1" Meadow --drop "Crab 2" --drop Cannon --drop Cannonball --drop "Armoured Crab" --drop Boulder
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
    balls-2000 | balls-1000 | balls-200)
        # Valid heavy levels, played by a hero standing among them (no enemies): balls spread out,
        # at half their size 22 points apart, dropped onto the floor; crabs walking in rows; crates
        # dropped in the works.
        _dense_game platformer "$dir" && _without_enemies "$dir" && _pit_walls "$dir" 0 1136 3 &&
            _pile "$dir" $meadow --unit Ball --copies "${name#balls-}" --row 50 --spacing 20 --scale 0.5 --at 60,100 ;;
    crabs-500)
        _dense_game platformer "$dir" && _without_enemies "$dir" &&
            _pile "$dir" $meadow --unit "Crab 1" --copies 500 --row 100 --spacing 70 --lift 100 ;;
    moths-2000 | moths-1000 | moths-200)
        # Moths of 12 points spread over the walled garden, 18 points apart, wandering.
        _dense_game top-down "$dir" &&
            _pile "$dir" "Walled Garden" --unit "Moth 1" --copies "${name#moths-}" --row 60 --spacing 18 \
                --scale 0.3 --at 40,40 ;;
    crates-2000)
        _dense_game portals-and-paths "$dir" &&
            _pile "$dir" "$works" --unit "Belt Crate" --copies 2000 --row 100 --spacing 50 --lift 100 ;;
    magnet-coin-room)
        # 600 coins at half their size, 2 points apart (none overlapping), ahead of the magnet: the
        # hero takes it, and the magnet pulls every coin within 400 points onto the hero.
        _dense_game platformer "$dir" && _without_enemies "$dir" && _pile "$dir" $meadow --drop "Crab 1" &&
            _pile "$dir" $meadow --unit "Meadow Coin 1" --copies 600 --row 30 --spacing 16 --at 600,100 --scale 0.5 ;;
    magnet-coin-room-2000)
        # 2,000 such coins, fifty to a row.
        _dense_game platformer "$dir" && _without_enemies "$dir" && _pile "$dir" $meadow --drop "Crab 1" &&
            _pile "$dir" $meadow --unit "Meadow Coin 1" --copies 2000 --row 50 --spacing 16 --at 600,100 --scale 0.5 ;;
    hero-pushes-pit)
        # 1,000 balls of 9 points, touching, fifty to a row, in a pit whose right wall stands 25
        # points past them: the hero walks in from the left and pushes them all against it.
        _dense_game platformer "$dir" && _without_enemies "$dir" && _pile "$dir" $meadow --drop "Crab 1" &&
            _pit_walls "$dir" 200 755 2 &&
            _pile "$dir" $meadow --unit Ball --copies 1000 --row 50 --spacing 9 --at 280,95 --scale 0.25 ;;
    crates-edge-to-edge)
        # 400 crates snapped edge to edge in a block twenty wide, dropped onto the works' floor.
        _dense_game portals-and-paths "$dir" &&
            _pile "$dir" "$works" --unit "Belt Crate" --copies 400 --row 20 --spacing 56 --lift 60 ;;
    coins-at-one-point)
        # 5,001 coins at one point on the hero's way (stacked: not a level a user makes; their first
        # pairing passes the budget, and the field lets them in over some hundred steps).
        _dense_game platformer "$dir" && _without_enemies "$dir" && _pile "$dir" $meadow --drop "Crab 1" &&
            _pile "$dir" $meadow --unit "Meadow Coin 1" --copies 5000 ;;
    *) return 1 ;;
    esac
}

dense_run() {
    case "$1" in
    shooters-40) run=(--frames 600 --key 230:down:space) ;;
    slanted-planks-80) run=(--open works --frames 600 --key 250:down:Right) ;;
    balls-* | crabs-500) run=(--open world1 --frames 600 --key 250:down:S --key 252:up:S) ;;
    crates-2000) run=(--open works --frames 600) ;;
    moths-*) run=(--open garden --frames 600) ;;
    stacked-heroes-41) run=(--open world1 --frames 1500 --key 250:down:S --key 252:up:S) ;;
    magnet-coin-room*) run=(--open world1 --frames 600 --key 250:down:Right) ;;
    coins-at-one-point) run=(--open world1 --frames 500 --key 250:down:Right) ;;
    hero-pushes-pit) run=(--open world1 --frames 500 --key 250:down:Right) ;;
    crates-edge-to-edge) run=(--open works --frames 600 --key 200:down:Right) ;;
    *) run=(--open world1 --frames 600 --key 250:down:Right) ;;
    esac
}
