#!/bin/bash
# The top-down garden under kxsim, played by its recipe: with no gravity the explorer walks east
# on the arrow and north on the other, west on the joystick pad, hops twice and dashes on swipes,
# ducks while D is held and collects gems; the grove sorts it behind its trees once it is north of
# them; beetles turn back at the hedges on their motors, moths
# wander off each their own way, the top shows its turns and the bumped crate slides away. A
# screenshot of the garden is drawn (kept in $KX_SCREENSHOT_DIR when set). Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
recipe_file="$2/tests/e2e/scenarios/top-down.args"
[ -f "$recipe_file" ] || { echo "FAIL: no recipe $recipe_file"; exit 1; }
"$kxdata" write-demo --scenario top-down "$work/game" >"$work/write.log" 2>&1 ||
    { echo "write-demo --scenario top-down failed"; cat "$work/write.log"; exit 1; }

read_recipe "$recipe_file"
args=("${recipe[@]}")
first_input=$(sed -n 's/^--\(key\|touch\) \([0-9]*\):.*/\2/p' "$recipe_file" | sort -n | head -1)

"$kxsim" "$work/game" "${args[@]}" --trace screens,character,components,score,unit,group >"$work/trace" 2>"$work/log" ||
    { echo "kxsim failed"; tail -20 "$work/log"; exit 1; }
open_at=$(sed -n 's/^F=\([0-9]*\) screen open key=garden$/\1/p' "$work/trace" | head -1)
check "the garden opens (frame ${open_at:-never}) before the first input (frame $first_input)" \
    [ "${open_at:-999999}" -lt "$first_input" ]

# The explorer: F=<frame> character state=<s> pos=<x>,<y> vel=...; the keys' frames come from the recipe.
key_frame() { sed -n "s/^--key \([0-9]*\):$1:$2\$/\1/p" "$recipe_file" | head -1; }
touch_frame() { sed -n "s/^--touch \([0-9]*\):$1:$2\$/\1/p" "$recipe_file" | head -1; }
awk -v rightFrom="$(key_frame down Right)" -v rightTo="$(key_frame up Right)" \
    -v upFrom="$(key_frame down Up)" -v upTo="$(key_frame up Up)" \
    -v padFrom="$(touch_frame began 130,130)" -v padTo="$(touch_frame ended 50,130)" '
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    / character state=/ {
        frame = substr($1, 3) + 0
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        x[frame] = pos[1] + 0; y[frame] = pos[2] + 0
    }
    END {
        # The steady part of the walk, clear of the first bump and of the crate.
        east = x[rightTo] - x[rightFrom]; drift = y[rightFrom + 180] - y[rightFrom + 20]
        if (east > 300) ok("the arrow walks the explorer east " east " points"); else fail("walking east: " east " points")
        if (drift < 5 && drift > -5) ok("nothing pulls it down meanwhile (y moved " drift ")")
        else fail("without gravity y stays put while walking east (it moved " drift ")")
        north = y[upTo + 10] - y[upFrom]
        if (north > 60) ok("the other arrow walks it north " north " points"); else fail("walking north: " north " points")
        west = x[padFrom] - x[padTo]
        if (west > 100) ok("the joystick pad walks it west " west " points"); else fail("joystick west: " west " points")
        exit bad
    }' "$work/trace" || status=1

count() { grep -c "$1" "$work/trace"; }
check "a swipe up hops and a second one hops again in the air" \
    grep -q ' component iso-jump jump owner=Explorer .* jumps=2$' "$work/trace"
check "the hop lands" grep -q ' component iso-jump land owner=Explorer ' "$work/trace"
check "a swipe right dashes and the dash runs out" \
    bash -c "grep -q ' component move start owner=Explorer ' '$work/trace' && grep -q ' component move stop owner=Explorer ' '$work/trace'"
check "D held ducks the explorer, let go it stands" \
    bash -c "grep -q ' component slide start owner=Explorer ' '$work/trace' && grep -q ' component slide end owner=Explorer ' '$work/trace'"
check "the bumped crate slides off ($(count ' component move start owner=Crate ') starts)" \
    grep -q ' component move start owner=Crate ' "$work/trace"
check "beetles turn back at the hedges ($(count ' component motor multiply owner=Beetle') turns)" \
    [ "$(count ' component motor multiply owner=Beetle')" -ge 2 ]
frames_shown=$(sed -n 's/.* component rotation-mapper frame owner=Top .* frame=\([0-9]*\)$/\1/p' "$work/trace" | sort -u | wc -l)
check "the spinning top shows its turns ($frames_shown of 8 pictures)" [ "$frames_shown" -ge 8 ]
check "gems are collected ($(count ' powerup "Ruby ') rubies, $(count ' powerup "Sapphire ') sapphires)" \
    [ "$(count ' powerup "Ruby ')" -ge 3 ]

# F=<frame> group order name=Grove back-to-front=<names>: walking north past the trees' line puts the
# explorer behind them.
awk -F'back-to-front=' '
    / group order name=Grove / {
        n = split($2, names, ","); for (i = 1; i <= n; i++) if (names[i] == "Explorer") place = i
        if (!first) first = place; last = place; lines++
    }
    END {
        if (lines >= 2 && last < first) print "ok: the grove draws the explorer further back as it walks north (place " first " to " last ")"
        else { print "FAIL: the grove sorts the explorer with its trees (" lines + 0 " orders, place " first + 0 " to " last + 0 ")"; exit 1 }
    }' "$work/trace" || status=1

# F=<frame> unit name=Moth 2 id=<id> state=<s> pos=<x>,<y>: each moth goes off its own way.
awk '
    / unit name=Moth [0-9] / {
        match($0, /name=Moth [0-9]/); name = substr($0, RSTART + 5, RLENGTH - 5)
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        if (!(name in x0)) { x0[name] = pos[1]; y0[name] = pos[2] }
        dx = pos[1] - x0[name]; dy = pos[2] - y0[name]
        if (dx * dx + dy * dy > far[name]) far[name] = dx * dx + dy * dy
    }
    END {
        for (name in far) { n++; if (far[name] > 2500) wandered++; else print "  " name " stays within " sqrt(far[name]) " points" }
        if (n >= 3 && wandered == n) print "ok: " n " moths wander off (each more than 50 points)"
        else { print "FAIL: every moth wanders (" wandered + 0 " of " n + 0 ")"; exit 1 }
    }' "$work/trace" || status=1

# A look at the garden as drawn, the explorer in the middle of its walk east.
shot_frame=$(($(key_frame down Right) + 120))
"$kxsim" "$work/game" --open garden --frames $((shot_frame + 1)) --key "$(key_frame down Right):down:Right" \
    --screenshot "$shot_frame:$work/garden.png" >/dev/null 2>"$work/shot.log" ||
    { echo "FAIL: the drawn run"; tail -5 "$work/shot.log"; status=1; }
if [ -s "$work/garden.png" ]; then
    colours=$(convert "$work/garden.png" -format '%k' info: 2>/dev/null || echo 0)
    check "the garden is drawn ($colours colours)" [ "$colours" -gt 50 ]
    [ -n "${KX_SCREENSHOT_DIR:-}" ] && cp "$work/garden.png" "$KX_SCREENSHOT_DIR/"
fi
exit $status
