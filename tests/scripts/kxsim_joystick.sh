#!/bin/bash
# The demo's heads-up joystick under kxsim, touches only: a drag from the pad's centre to the left
# runs the hero left, facing left; lifting the finger stops it; a drag to the right runs it right.
# Skips while the field lays no hero. Args: build folder, source folder.
set -u
build=$(cd "$1" && pwd)
for tool in kxdata kxsim; do
    [ -x "$build/$tool" ] || { echo "SKIP: no $build/$tool"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
demo="$work/demo"
"$build/kxdata" write-demo "$demo" >/dev/null 2>"$work/write.err" || { echo "write-demo failed"; cat "$work/write.err"; exit 1; }

# The pad is centred at (140, 410) of the design area; a drag of 80 points is most of a push.
# The hero is on the field from the scene's first frames; the field scrolls it along, so its
# body's velocity, not its place, tells whether it runs.
"$build/kxsim" "$demo" --frames 340 --open world1 --trace screens,character \
    --touch 215:began:140,410 --touch 217:moved:100,410 --touch 219:moved:60,410 --touch 245:ended:60,410 \
    --touch 275:began:140,410 --touch 277:moved:220,410 --touch 300:ended:220,410 \
    >"$work/trace" 2>"$work/log"
[ $? = 0 ] || { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }
grep -q 'screen open key=hud$' "$work/trace" || { echo "FAIL: the heads-up screen did not open"; exit 1; }
if ! grep -q '^F=214 character ' "$work/trace"; then
    echo "SKIP: no hero on the field by frame 214"
    exit 77
fi

status=0
check() {
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; status=1; fi
}
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

check "the hero stands before the pad is touched" stands 214
check "a drag to the left runs it left, facing left" runs 244 -
check "lifting the finger stops it (its speed runs out)" stands 272
check "a drag to the right runs it right, facing right" runs 299 +
check "lifting the finger stops it again" stands 330
exit $status
