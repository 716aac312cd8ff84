#!/bin/bash
# No physics bound acts on a level a user can validly make: a fixed sample of generated valid
# levels (tests/e2e/valid_level.py), two of each recipe (the magnet over coins, pits of balls,
# spawners filling a pit, ships firing into a swarm, paths converging, portals into one cluster of
# exits, characters walking into a wall, every kind in rows), each played with the bounds on and
# with KX_PHYSICS_BOUNDS=off, traces the same line for line. bench/kxsim_oracle_sweep.sh plays
# thousands of them.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
need_msgpack
source "$src/tests/e2e/oracle.sh"
# Seeds take the recipes in turn: the first twice as many as there are recipes are two of each.
recipes=$("$PY" "$src/tests/e2e/valid_level.py" --rotation | wc -l)
seeds=$(seq 1 $((2 * recipes)))
# At most 600 bodies a kind (the bench's levels hold up to 3,000), for the sanitizer build's time.
most=600

oracle_games "$work/games" || { echo "FAIL: the scenario games could not be written"; exit 1; }

# same SEED: level SEED plays to its end both ways and traces the same.
same() {
    local level="$work/level-$1" way code difference steps
    for way in on off; do
        read -r code _ <"$level.$way.run"
        [ "$code" = 0 ] || { echo "the run with the bounds $way ended with $code"; tail -n 5 "$level.$way.log"; return 1; }
    done
    # The game ran (a hero among boulders or crabs stands still until the view leaves it behind,
    # some 70 steps).
    steps=$(grep -c ' field step=' "$level.on")
    [ "$steps" -ge 60 ] || { echo "the field stepped $steps times"; return 1; }
    difference=$(oracle_compare "$level.on" "$level.off") && return 0
    echo "$difference" | cut -c1-400
    grep -m 3 'left out of the physics' "$level.on.log"
    return 1
}

for seed in $seeds; do
    if ! oracle_level "$seed" "$work/games" "$work/level-$seed" "$most"; then
        check "seed $seed: a valid level is made" false
        continue
    fi
    oracle_play "$work/level-$seed" "$work/level-$seed" "${level_run[@]}"
    check "$level_about: the bounds on and off trace the same" same "$seed"
    rm -rf "$work/level-$seed" "$work/level-$seed".*
done
exit $status
