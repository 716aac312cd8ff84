#!/bin/bash
# The demo's hero under kxsim, read from its character trace: held Left runs it left facing left,
# held Right runs it right facing right, the jump key (J) lifts it off the ground and it lands with
# the jump count back at 0, a held jump goes higher than a tapped one, and left alone it is pushed
# into the rolling boulder: defeated (state 4), then finished (state 5), and no line after that.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
write_demo "$work/demo"

# The idle run also tells the hero's first frame, which moves as the demo grows (loading takes a
# frame a file); the frames below count from a hero laid at frame 215, shifted by d.
"$kxsim" "$work/demo" --frames 700 --open world1 --trace character >"$work/idle" 2>"$work/idle.log" ||
    { echo "kxsim failed"; tail -20 "$work/idle.log"; exit 1; }
first=$(sed -n 's/^F=\([0-9]*\) character .*/\1/p' "$work/idle" | head -1)
[ -n "$first" ] || { echo "FAIL: no hero on the field"; exit 1; }
d=$((first - 215))
at() { echo $(($1 + d)); }
"$kxsim" "$work/demo" --frames "$(at 340)" --open world1 --key "$(at 218)":down:Left --key "$(at 240)":up:Left \
    --key "$(at 250)":down:Right --key "$(at 275)":up:Right --key "$(at 290)":down:J --key "$(at 292)":up:J \
    --trace character >"$work/steer" 2>"$work/steer.log" || { echo "kxsim failed"; tail -20 "$work/steer.log"; exit 1; }
"$kxsim" "$work/demo" --frames "$(at 460)" --open world1 --key "$(at 290)":down:J --key "$(at 310)":up:J \
    --trace character >"$work/held" 2>"$work/held.log" || { echo "kxsim failed"; tail -20 "$work/held.log"; exit 1; }

# F=<frame> character state=<s> pos=<x>,<y> vel=<x>,<y> ground=<0|1> jumps=<n> anim=<name> scaleX=<s>
parse='
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    function value(name,    i) {
        for (i = 2; i <= NF; i++) if (index($i, name "=") == 1) return substr($i, length(name) + 2)
        return ""
    }
    {
        frame = substr($1, 3) - '"$d"'; state = value("state") + 0
        split(value("pos"), pos, ","); split(value("vel"), vel, ",")
        ground = value("ground") + 0; jumps = value("jumps") + 0; anim = value("anim"); scale = value("scaleX") + 0
    }'

status=0
awk "$parse"'
    frame >= 225 && frame <= 239 {
        if (state != 1 || anim != "move" || scale >= 0 || vel[1] >= 0) leftBad = leftBad " " frame
        if (frame == 225) leftFrom = pos[1]; if (frame == 239) leftTo = pos[1]
    }
    frame >= 260 && frame <= 274 {
        if (state != 1 || anim != "move" || scale <= 0 || vel[1] <= 0) rightBad = rightBad " " frame
        if (frame == 260) rightFrom = pos[1]; if (frame == 274) rightTo = pos[1]
    }
    frame == 289 { floor = pos[2]; if (ground != 1 || jumps != 0) fail("standing before the jump") }
    frame > 290 && !landed {
        if (pos[2] > peak) peak = pos[2]
        if (ground == 0) { flew = 1; if (state != 3 || anim != "jump" || jumps != 1) jumpBad = jumpBad " " frame }
        else if (flew) { landed = frame; landedJumps = jumps; landedY = pos[2] }
    }
    END {
        if (leftBad == "" && leftTo < leftFrom - 30) ok("held Left runs it left, facing left (" leftFrom " to " leftTo ")")
        else fail("held Left runs it left, facing left (" leftFrom " to " leftTo "; off at" leftBad ")")
        if (rightBad == "" && rightTo > rightFrom + 30) ok("held Right runs it right, facing right (" rightFrom " to " rightTo ")")
        else fail("held Right runs it right, facing right (" rightFrom " to " rightTo "; off at" rightBad ")")
        if (flew && jumpBad == "" && peak > floor + 40) ok("J jumps it " peak - floor " points up, in its jump look")
        else fail("J jumps it up (" peak - floor " points; off at" jumpBad ")")
        if (landed && landedJumps == 0 && landedY < floor + 2) ok("it lands at frame " landed " with no jumps counted")
        else fail("it lands with no jumps counted (frame " landed ", jumps " landedJumps ", y " landedY ")")
        print peak - floor > "'"$work/tapped"'"
        exit bad
    }' "$work/steer" || status=1

tapped=$(cat "$work/tapped" 2>/dev/null || echo 0)
awk "$parse"'
    frame == 289 { floor = pos[2] }
    frame > 290 && frame < 400 && pos[2] > peak { peak = pos[2] }
    END {
        if (peak - floor > '"$tapped"' + 40) ok("held, J jumps it higher: " peak - floor " points against " '"$tapped"')
        else fail("held, J jumps it higher: " peak - floor " points against " '"$tapped"')
        exit bad
    }' "$work/held" || status=1

awk "$parse"'
    state == 4 && !defeated { defeated = frame }
    state == 5 && !finished { finished = frame }
    finished && state != 5 { after = 1 }
    { lines++; if (finished) linesAfter++ }
    END {
        if (defeated && finished >= defeated && !after) ok("pushed into the boulder it is defeated (frame " defeated ") and finished (frame " finished ")")
        else fail("pushed into the boulder it is defeated, then finished (frames " defeated ", " finished ")")
        # Its state 4 and 5 lines and its last update: nothing once the field has let go of it.
        if (finished && linesAfter <= 3) ok("no trace of it after that")
        else fail("no trace of it after that (" linesAfter " lines)")
        exit bad
    }' "$work/idle" || status=1
exit $status
