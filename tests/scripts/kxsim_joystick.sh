#!/bin/bash
# The demo's heads-up joystick under kxsim, touches only: a drag from the pad's centre to the left
# runs the hero left, facing left; lifting the finger stops it; a drag to the right runs it right.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
demo="$work/demo"
write_demo "$demo"

# The pad is centred at (140, 410) of the design area; a drag of 80 points is most of a push.
# The field scrolls the hero along, so its body's velocity, not its place, tells whether it runs.
# The hero's first frame moves as the demo grows (more files to load): a first run finds it and
# the touches follow it.
"$kxsim" "$demo" --frames 400 --open world1 --trace character >"$work/first" 2>"$work/log" ||
    { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }
b=$(sed -n 's/^F=\([0-9]*\) character .*/\1/p' "$work/first" | head -1)
[ -n "$b" ] || { echo "FAIL: no hero on the field"; exit 1; }
"$kxsim" "$demo" --frames $((b + 126)) --open world1 --trace screens,character \
    --touch $((b + 1)):began:140,410 --touch $((b + 3)):moved:100,410 --touch $((b + 5)):moved:60,410 \
    --touch $((b + 31)):ended:60,410 \
    --touch $((b + 61)):began:140,410 --touch $((b + 63)):moved:220,410 --touch $((b + 86)):ended:220,410 \
    >"$work/trace" 2>"$work/log"
[ $? = 0 ] || { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }
grep -q 'screen open key=hud$' "$work/trace" || { echo "FAIL: the heads-up screen did not open"; exit 1; }

# hero FRAME: "state vel.x scaleX" of the hero's trace line at that frame.
hero() {
    sed -n "s/^F=$1 character state=\([0-9]*\) pos=[^ ]* vel=\([-0-9.]*\),[^ ]* .* scaleX=\([-0-9.]*\)$/\1 \2 \3/p" \
        "$work/trace" | tail -1
}
# runs FRAME SIGN: the hero runs (state 1) that way (+ right, - left), facing it.
runs() {
    read -r state vx scale <<<"$(hero "$1")"
    [ "$state" = 1 ] && awk -v v="$vx" -v s="$scale" -v way="$2" \
        'BEGIN { exit !(way == "+" ? v > 1 && s > 0 : v < -1 && s < 0) }'
}
# stands FRAME: the hero stands (state 0) with no speed of its own.
stands() {
    read -r state vx scale <<<"$(hero "$1")"
    [ "$state" = 0 ] && awk -v v="$vx" 'BEGIN { exit !(v < 0.01 && v > -0.01) }'
}

check "the hero stands before the pad is touched" stands "$b"
check "a drag to the left runs it left, facing left" runs $((b + 30)) -
check "lifting the finger stops it (its speed runs out)" stands $((b + 58))
check "a drag to the right runs it right, facing right" runs $((b + 85)) +
check "lifting the finger stops it again" stands $((b + 116))
exit $status
