#!/bin/bash
# Behaviour components of the demo's level through kxsim: the armoured crab (3 hit points, a death
# delay of 0.25 s) takes three cannonballs and dies a quarter of a second after the third; the lift, sent
# by a tap on the heads-up LIFT button (a move started on release, 2 m/s up, timeout 1.5 s),
# rises about 60 points and stops. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

write_demo "$work/demo"
# LIFT sits at (966, 340) in design units, under PAUSE; tapped once the field runs.
"$kxsim" "$work/demo" --frames 600 --open world1 --trace unit,health \
    --touch "300:began:966,340" --touch "305:ended:966,340" > "$work/trace.txt" 2> "$work/sim.log" ||
    { echo "kxsim failed"; tail -20 "$work/sim.log"; exit 1; }

status=0
# Hits: hit points 2, 1, 0 in that order, then one death; state 4 comes in the death's frame,
# 0.25 s (15 frames, one either way) after the third hit.
awk '
    /health hit name=Armoured Crab/ { split($1, f, "="); hits[++n] = f[2]; split($NF, h, "="); hp[n] = h[2] }
    /health death name=Armoured Crab/ { split($1, f, "="); death = f[2]; deaths++ }
    /unit name=Armoured Crab .*state=4/ && !dead { split($1, f, "="); dead = f[2] }
    END {
        if (n != 3 || hp[1] != 2 || hp[2] != 1 || hp[3] != 0) { printf "hits: %d (hp %s %s %s)\n", n, hp[1], hp[2], hp[3]; exit 1 }
        if (deaths != 1) { print "deaths: " deaths; exit 1 }
        if (dead != death) { print "state 4 at " dead ", death at " death; exit 1 }
        if (death - hits[3] < 14 || death - hits[3] > 16) { print "death delay frames: " death - hits[3]; exit 1 }
    }' "$work/trace.txt" || { echo "the armoured crab does not die on its third hit after its delay"; status=1; }

# The lift: still before the tap, rising 0.667 points a frame for about 90 frames, then still.
awk '
    /unit name=Lift / {
        split($1, f, "="); frame = f[2]
        sub(/.*pos=/, ""); split($0, p, ","); y = p[2]
        if (frame < 300) { if (start == "") start = y; else if (y != start) early = 1 }
        if (last != "" && y > last + 0.01) { if (first == "") first = frame; stop = frame }
        last = y
    }
    END {
        if (start == "" || early) { print "the lift moved before the tap"; exit 1 }
        if (first == "") { print "the lift never rose"; exit 1 }
        if (stop - first < 86 || stop - first > 92) { print "rose for " stop - first " frames"; exit 1 }
        if (last - start < 57 || last - start > 63) { print "rose by " last - start; exit 1 }
    }' "$work/trace.txt" || { echo "the lift does not rise for its timeout"; status=1; }
exit $status
