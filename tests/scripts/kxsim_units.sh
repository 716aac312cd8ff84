#!/bin/bash
# The demo's meadow under kxsim, read from its unit trace: crabs patrol at their set speed while
# awake, the ball thrown up through the one-way ledge rests on it, the cannon fires a copy every
# 1.2 +- 0.3 s, its copies fly at their set speed and go again, and a crab hit by one is knocked out,
# shown defeated and then gone. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
write_demo "$work/demo"
# The scene opens later as the demo grows (loading takes a frame a file): a first run finds it.
open_at=$("$kxsim" "$work/demo" --frames 700 --open world1 --trace screens 2>/dev/null |
    sed -n 's/^F=\([0-9]*\) screen open key=world1$/\1/p' | head -1)
[ -n "$open_at" ] || { echo "FAIL: the game scene never opens"; exit 1; }
# The hero is pushed along by the scrolling view; it takes a shield (S) against the crabs and jumps
# the rolling boulder (J held a third of a second) so that the run, and the meadow with it, goes on.
"$kxsim" "$work/demo" --frames $((open_at + 406)) --open world1 --key $((open_at + 20)):down:S \
    --key $((open_at + 22)):up:S --key $((open_at + 166)):down:J --key $((open_at + 186)):up:J --trace unit \
    >"$work/trace" 2>"$work/log" ||
    { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }

# F=<frame> unit name=<Name, may hold spaces> id=<id> state=<s> pos=<x>,<y>
# A unit may be traced more than once in a frame (when it is laid and when it is updated): the last
# line of a frame counts.
awk '
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    {
        frame = substr($1, 3) + 0
        match($0, / name=.* id=/); name = substr($0, RSTART + 6, RLENGTH - 10)
        match($0, / id=[0-9]+/); id = substr($0, RSTART + 4, RLENGTH - 4)
        match($0, / state=-?[0-9]+/); state = substr($0, RSTART + 7, RLENGTH - 7) + 0
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        if (!(id in first)) { first[id] = frame; named[id] = name; order[++ids] = id }
        last[id] = frame; lastState[id] = state; x[id, frame] = pos[1]; y[id, frame] = pos[2]
        if (state == 0) awakeLast[id] = frame
        if (state == 4 && !(id in died)) died[id] = frame
        if (frame > end) end = frame
    }
    END {
        for (i = 1; i <= ids; i++) {
            id = order[i]
            if (named[id] == "Crab 1") crab = id
            # The armoured crab stands in front of the others and takes the first balls.
            if (named[id] == "Armoured Crab") hit = id
            if (named[id] == "Ball") ball = id
            if (named[id] == "Cannonball" && cannon == "") cannon = id
        }
        if (crab == "" || hit == "" || ball == "" || cannon == "") { fail("the meadow units are all traced"); exit 1 }

        # 1.5 m/s at 32 points a metre: 0.8 points a frame, from its first frame on.
        from = first[crab] + 5; to = awakeLast[crab]
        speed = (x[crab, to] - x[crab, from]) / (to - from)
        if (to - from >= 60 && speed > 0.79 && speed < 0.81) ok("a crab patrols at 0.8 points a frame (" speed " over " to - from " frames)")
        else fail("a crab patrols at 0.8 points a frame (" speed " over " to - from " frames)")

        by = y[ball, last[ball]]
        if (by > 276 && by < 280) ok("the ball came up through the ledge and rests on it (y " by ")")
        else fail("the ball came up through the ledge and rests on it (y " by ")")

        # Copies share the spawner name; the placed spawner is traced first.
        copies = 0; gaps = 1; prev = -1; flew = 1; went = 1
        for (i = 1; i <= ids; i++) {
            id = order[i]
            if (named[id] != "Cannonball" || id == cannon) continue
            copies++
            if (prev >= 0 && (first[id] - prev < 53 || first[id] - prev > 91)) { gaps = 0; print "  a gap of " first[id] - prev " frames" }
            prev = first[id]
            # 12 points per 1/32 s to the left: 6.4 points a frame, once on its way.
            if (last[id] - first[id] > 8) {
                step = (x[id, first[id] + 8] - x[id, first[id] + 3]) / 5
                if (step > -6.3 || step < -6.5) { flew = 0; print "  copy " id " moved " step " a frame" }
            }
            # A copy lives about a second; one fired in the last one and a half may still be flying.
            if (last[id] >= end && first[id] < end - 90) went = 0
            alive = 0
            for (j = 1; j <= ids; j++) {
                other = order[j]
                if (named[other] == "Cannonball" && other != cannon && first[other] <= first[id] && last[other] >= first[id]) alive++
            }
            if (alive > most) most = alive
        }
        if (copies >= 5) ok("the cannon fired " copies " copies"); else fail("the cannon fired " copies " copies")
        if (gaps) ok("one every 1.2 +- 0.3 s"); else fail("one every 1.2 +- 0.3 s")
        if (flew) ok("copies fly at 6.4 points a frame"); else fail("copies fly at 6.4 points a frame")
        if (went && most <= 3) ok("every copy went again, at most " most " at once")
        else fail("every copy went again, at most " most " at once")
        # The meadow is left behind (and removed) about 450 frames after it was laid.
        if (lastState[cannon] == 0 && last[cannon] == end) ok("the spawner stays, still")
        else fail("the spawner stays, still")

        # Knocked out: defeated (state 4) for its animation, then state 5 and no longer traced.
        if ((hit in died) && lastState[hit] == 5 && last[hit] - died[hit] >= 10 && last[hit] < end)
            ok("a crab hit by a cannonball is knocked out, then gone (frames " died[hit] " to " last[hit] ")")
        else fail("a crab hit by a cannonball is knocked out, then gone")
        exit bad
    }' "$work/trace"
