#!/bin/bash
# The demo's glade under kxsim: the hero, pushed along by the scrolling view, runs into a portal and
# comes out of its partner further on, once, as the one hero there is; the plank plank on its
# ping-pong path rides out and comes back to where it started. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
write_demo "$work/demo"
# The scene opens later as the demo grows (loading takes a frame a file): a first run finds it.
open_at=$("$kxsim" "$work/demo" --frames 700 --open world1 --trace screens 2>/dev/null |
    sed -n 's/^F=\([0-9]*\) screen open key=world1$/\1/p' | head -1)
[ -n "$open_at" ] || { echo "FAIL: the game scene never opens"; exit 1; }
# A shield (S) against the crabs, and K held so that the hero shoots its way on to the glade.
frames=$((open_at + 1700))
"$kxsim" "$work/demo" --frames $frames --open world1 --key $((open_at + 20)):down:S \
    --key $((open_at + 22)):up:S --key $((open_at + 24)):down:K --trace character,teleport,unit,sections \
    >"$work/trace" 2>"$work/log" ||
    { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }
grep -q ' sections lay .*name=Firefly Glade ' "$work/trace" ||
    { echo "FAIL: the glade was never laid in $frames frames"; exit 1; }

# F=<frame> teleport send from=<x>,<y> to=<x>,<y> object=<id>
# F=<frame> character state=<s> pos=<x>,<y> vel=... (one line a frame per hero)
sends=$(grep -c ' teleport send ' "$work/trace")
check "the glade portal sends the hero once ($sends sends)" [ "$sends" -eq 1 ]
awk '
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    / teleport send / {
        sent = substr($1, 3) + 0
        match($0, / to=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 4, RLENGTH - 4), to, ",")
        next
    }
    / character / {
        frame = substr($1, 3) + 0
        match($0, / state=-?[0-9]+/); state = substr($0, RSTART + 7, RLENGTH - 7) + 0
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        # A removed hero (state 5) is traced once more as it goes.
        if (state != 5) live[frame]++
        lines[frame]++
        if (state == 4 && !died) died = frame
        if (seen && pos[1] - lastX > 100) { jumps++; jumpAt = frame; jumpFrom = lastX; landed = pos[1] }
        lastX = pos[1]; seen = 1; last = frame
    }
    END {
        if (sent == "") { fail("no teleport send to measure"); exit 1 }
        if (jumps == 1 && jumpAt >= sent && jumpAt <= sent + 2 && landed > to[1] - 5 && landed < to[1] + 5)
            ok("the hero jumps once, at frame " jumpAt ", from x " jumpFrom " to " landed " (the partner at " to[1] ")")
        else fail(jumps + 0 " jumps of the hero; the last at frame " jumpAt " to x " landed ", the send at " sent " to " to[1])
        # The one that went in is gone: from the jump on one hero a frame, running on.
        single = live[jumpAt] == 1
        until = died ? died : last
        for (f = jumpAt + 1; f < until; f++) if (lines[f] != 1) { single = 0; print "  frame " f ": " lines[f] " heroes" }
        if (single && until > jumpAt + 30) ok("one hero after the jump, running on " until - jumpAt " frames")
        else fail("one hero after the jump (" live[jumpAt] + 0 " live in its frame, running on to " until ")")
        exit bad
    }' "$work/trace" || status=1

# F=<frame> unit name=Glade Plank id=<id> state=<s> pos=<x>,<y>; the first plank laid counts.
awk '
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    / unit name=Glade Plank id=/ {
        match($0, / id=[0-9]+/); id = substr($0, RSTART + 4, RLENGTH - 4)
        if (plank == "") plank = id
        if (id != plank) next
        frame = substr($1, 3) + 0
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        x = pos[1] + 0; y = pos[2] + 0
        if (!started) { started = 1; x0 = x; y0 = y; far = x; first = frame }
        if (!back && (y - y0 > 10 || y0 - y > 10)) sagged = 1
        if (!back && x > far) { far = x; farAt = frame }
        if (!back && far - x0 >= 180 && x - x0 < 20) { back = frame; backX = x; turned = x }
        # Ping-pong: out again after the return (a single run would let it go there).
        if (back && x > turned) { turned = x; if (x - backX > 30 && !again) again = frame }
    }
    END {
        if (!started) { fail("the plank was never traced"); exit 1 }
        if (far - x0 >= 180 && far - x0 <= 220) ok("the plank rides out " far - x0 " points (frames " first " to " farAt ")")
        else fail("the plank rides out 200 points (it went " far - x0 ")")
        if (back) ok("and comes back to x " backX " from " x0 " at frame " back)
        else fail("the plank comes back to its start " x0)
        if (back && !sagged) ok("held up on its line on the way (y " y0 ")"); else fail("held up on its line on the way (y " y0 ")")
        if (again) ok("and sets out again (30 points on at frame " again ")"); else fail("the plank sets out again after its return")
        exit bad
    }' "$work/trace" || status=1
exit $status
