#!/bin/bash
# Valid games whose own events fall in the same frames play through: a fixed sample of generated
# games (tests/e2e/coincide_game.py: powerups of every type, units, portals, spawners, paths,
# triggers, buttons and characters copied onto their starts, enemies, portals and checkpoints,
# played with seeded keys through deaths, game overs, restarts and checkpoints), two of each
# scenario game, each played under the build given (CI gives the sanitizer build). A crash, a
# sanitizer report, an abort, a run stuck (no new frame for a long while) or an exit other than 0
# fails, naming the seed, the game, its options and the report's first lines; a run that still
# moves on at the time limit only says so. bench/kxsim_coincidences.sh plays thousands.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
need_msgpack
source "$src/tests/e2e/coincide.sh"
# Seed S plays scenario game S modulo 7 (0 platformer, 1 effects, 2 hostile-data, 3 top-down,
# 4 portals-and-paths, 5 shooter, 6 menus-and-shop): two of each, quick ones with events that
# coincide, among them a gameplay powerup taken in the frame its character, carried by a path
# just out of a portal, dies (21), a gatekeeper touched as a portal sends nearly every frame (81),
# pickups as a checkpoint is stored or restored (20, 68) and as the level restarts (103). The
# games are made from their seed alone (no first run to read deaths from): they stay the same
# whatever the build plays.
seeds="1 8 16 86 10 115 81 109 68 103 20 111 21 77"
export COINCIDE_TRACED=0
# A run takes a few seconds sanitized: one with no new frame for 60 s is stuck, one still going
# at 60 s is stopped there.
coincide_limit=60
coincide_stuck=60
jobs=$(nproc)

coincide_games "$work/games" || { echo "FAIL: the scenario games could not be written"; exit 1; }

# play SEED: writes game SEED and plays it; what it holds and its options go to level-SEED.about.
play() {
    local level="$work/level-$1"
    if ! coincide_level "$1" "$work/games" "$level.game" 2>"$level.err"; then
        echo "invalid" >"$level.about"
        return
    fi
    printf '%s\n' "$level_about" "${level_run[*]}" >"$level.about"
    coincide_play "$level.game" "$level" "${level_run[@]}"
}

for seed in $seeds; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    play "$seed" &
done
wait

# played SEED: the game ran to its end (or on at the time limit) without a failure.
played() {
    local level="$work/level-$1" class code
    read -r class code <<<"$(coincide_result "$level")"
    [ "$class" = ok ] && return 0
    if [ "$class" = slow ]; then
        echo "slow, no failure: $(coincide_note "$level"), $(coincide_stack "$level")"
        return 0
    fi
    echo "$class (status $code): $(coincide_stack "$level")"
    echo "options: $(sed -n 2p "$level.about")"
    coincide_report "$level" 12 | sed 's/^/  /'
    return 1
}

for seed in $seeds; do
    level="$work/level-$seed"
    if [ "$(head -n 1 "$level.about")" = invalid ]; then
        check "seed $seed: a valid game is made ($(head -c 300 "$level.err"))" false
        continue
    fi
    frames=$(sed -n 2p "$level.about" | sed 's/.*--frames \([0-9]*\).*/\1/')
    check "$(head -n 1 "$level.about" | cut -d' ' -f1-3): plays its $frames frames, $(coincide_events "$level") \
with events that coincide" played "$seed"
done
exit $status
