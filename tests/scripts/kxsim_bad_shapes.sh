#!/bin/bash
# The portal works with shapes, scales, places and turns the physics cannot hold, in its stored
# data: the belt crate's shape a 20 point square 100,000 points off its origin (Box2D could not turn
# it once the crate is set moving) and the barrel's circle of a radius that is not a number; and
# copies of the barrel scaled by NaN, -inf and 1e30, placed 1e30 away and turned by NaN (and one
# mirrored, which plays). Each run plays all its frames
# with nothing stopping the physics, each refused object says so in one line naming it, and the
# explorer walks on through the works. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump

# The works open once the game has loaded, in frame 195; the explorer walks right from 200.
frames=320

# play NAME: the game $work/game-NAME played into $work/NAME.trace and NAME.log; false when the
# run did not end with 0.
play() {
    local code
    timeout 300 "$kxsim" "$work/game-$1" --open works --frames "$frames" --key 200:down:Right \
        --trace character,unit >"$work/$1.trace" 2>"$work/$1.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$1.log"; }
    [ "$code" = 0 ]
}
clean() { ! grep -q -E 'Assertion|runtime error:|AddressSanitizer' "$work/$1.log"; }
# lines NAME ID: the log lines of the run that name model ID.
lines() { grep -c "\] - .* (model $2) " "$work/$1.log"; }
walked() {
    grep ' character state=' "$work/$1.trace" | sed -n '1p;$p' | sed 's/.* pos=\([-0-9.]*\),.*/\1/' |
        awk 'NR == 1 { first = $1 } NR == 2 { exit !($1 > first + 50) }'
}
# id_of NAME: the id of the unit so named in the dump.
id_of() { grep -m1 "\"class\":\"KXModelObjectAssetUnit\",\"name\":\"$1\"" "$work/dump" | sed 's/^{"id":\([0-9]*\),.*/\1/'; }

cp -r "$work/works" "$work/game-shapes"
edit() { "$PY" "$src/tests/e2e/shape_edit.py" "$work/dump" "$work/game-shapes" "$@" || exit 1; }
edit "Crate Shape" '[[99990, -10], [100010, -10], [100010, 10], [99990, 10]]'
edit "Barrel Round" '[[0, 0], [NaN, 0]]'
check "shapes: the run plays its $frames frames" play shapes
check "shapes: nothing stops the physics" clean shapes
crate=$(id_of "Belt Crate")
check "shapes: the far-off crate stays still with one line" \
    grep -q "Belt Crate (model $crate) stays still: its shape lies 5000 m from its body's origin" "$work/shapes.log"
for name in "Belt Crate" Barrel; do
    check "shapes: $name is said once ($(lines shapes "$(id_of "$name")"))" [ "$(lines shapes "$(id_of "$name")")" = 1 ]
done
check "shapes: the explorer walks on" walked shapes

# Copies of the barrel, each with one damaged value, after every model of the dump.
cp -r "$work/works" "$work/game-copies"
first=$(($(sed 's/^{"id":\([0-9]*\),.*/\1/' "$work/dump" | sort -n | tail -1) + 1))
for setting in 'Scale=[NaN, 1]' 'Scale=[-Infinity, 1]' 'Scale=[1e30, 1e30]' 'Position=[1e30, 120]' \
    'Rotation=NaN' 'Scale=[-1, 1]'; do
    "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$work/game-copies" "Portal Works" --unit Barrel \
        --copies 1 --set "$setting" || { echo "FAIL: the copy with $setting could not be made"; exit 1; }
done
check "copies: the run plays its $frames frames" play copies
check "copies: nothing stops the physics" clean copies
for index in 0 1 2 3 4; do
    check "copies: the damaged barrel $index is said once" [ "$(lines copies $((first + index)))" = 1 ]
done
check "copies: the mirrored barrel plays without a word" [ "$(lines copies $((first + 5)))" = 0 ]
check "copies: the explorer walks on" walked copies
exit $status
