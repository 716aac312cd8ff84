#!/bin/bash
# The portal works under kxsim, played by its two recipes. First: the explorer walks east through
# the turnstile (let through), into the portal and out of its partner (one explorer after), coasts
# onto the lift that carries it up its path and lets it go at the top, and walks into the vault
# door, which opens the vault over the paused works; meanwhile the belt loops its crate through
# the paint gate (turned and grown) and the shuttle rides its barrel to and fro. Second: walking
# back through the turnstile gets the explorer turned away. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
"$kxdata" write-demo --scenario portals-and-paths "$work/game" >"$work/write.log" 2>&1 ||
    { echo "write-demo --scenario portals-and-paths failed"; cat "$work/write.log"; exit 1; }

# Runs a recipe (one option and its value a line) with more options; the trace into $work/$2.
play() {
    local name="$1" file="$2/tests/e2e/scenarios/$1" recipe
    [ -f "$file" ] || { echo "FAIL: no recipe $file"; exit 1; }
    read_recipe "$file"
    shift 2
    "$kxsim" "$work/game" "${recipe[@]}" "$@" >"$work/trace" 2>"$work/log" ||
        { echo "FAIL: kxsim on $file"; tail -20 "$work/log"; exit 1; }
    first_input=$(sed -n 's/^--\(key\|touch\) \([0-9]*\):.*/\2/p' "$file" | sort -n | head -1)
    open_at=$(sed -n 's/^F=\([0-9]*\) screen open key=works$/\1/p' "$work/trace" | head -1)
    check "the works open (frame ${open_at:-never}) before the first input of $name (frame $first_input)" \
        [ "${open_at:-999999}" -lt "$first_input" ]
}

play portals-and-paths.args "$2" --trace screens,character,teleport,path,logic,gatekeeper,game
check "the turnstile lets the explorer through" \
    grep -q ' gatekeeper contact name=Turnstile passed=1 removes=0 ' "$work/trace"
check "the vault opens over the works, which hold still" \
    bash -c "grep -q ' screen open key=vault$' '$work/trace' && grep -q ' game pause ' '$work/trace'"
# F=<frame> character state=<s> pos=<x>,<y> ...; F=<frame> teleport send from=.. to=<x>,<y> object=<id>;
# F=<frame> path carry|release path=<Name> object=<Name> id=<id>
awk '
    function fail(message) { print "FAIL: " message; bad = 1 }
    function ok(message) { print "ok: " message }
    / teleport send / && !sent {
        sent = substr($1, 3) + 0
        match($0, / to=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 4, RLENGTH - 4), to, ",")
    }
    / path carry path=Lift object=Explorer / && !lifted { lifted = substr($1, 3) + 0 }
    / path release path=Lift object=Explorer / && !dropped { dropped = substr($1, 3) + 0 }
    / character state=/ {
        frame = substr($1, 3) + 0
        match($0, / pos=[-0-9.]+,[-0-9.]+/); split(substr($0, RSTART + 5, RLENGTH - 5), pos, ",")
        lines[frame]++; x[frame] = pos[1] + 0; y[frame] = pos[2] + 0
        if (seen && pos[1] - lastX > 100 && !jumpAt) { jumpAt = frame; landed = pos[1] + 0 }
        lastX = pos[1]; seen = 1; last = frame
    }
    END {
        if (!sent) { fail("the portal never sends"); exit 1 }
        if (jumpAt >= sent && jumpAt <= sent + 2 && landed > to[1] - 5 && landed < to[1] + 5)
            ok("the portal sends the explorer from x " to[1] - 220 " on to its partner at x " landed)
        else fail("the explorer comes out of the partner at x " to[1] " (it jumped at frame " jumpAt " to " landed ")")
        single = 1
        for (f = jumpAt + 1; f <= last; f++) if (lines[f] > 1) single = 0
        if (single) ok("one explorer walks on"); else fail("one explorer after the portal")
        if (!lifted || !dropped) { fail("the lift catches the explorer and lets it go (" lifted + 0 ", " dropped + 0 ")"); exit 1 }
        rise = y[dropped] - y[lifted]; sway = x[dropped] - 820
        if (rise > 180 && sway < 30 && sway > -30)
            ok("the lift carries the explorer " rise " points up its path (frames " lifted " to " dropped ")")
        else fail("the lift carries the explorer 200 points up (it rose " rise ", " sway " off its line)")
        exit bad
    }' "$work/trace" || status=1
crates=$(grep -c ' logic change name=Paint Gate object=Belt Crate .* op=kReplace scale=1.40,1.40$' "$work/trace")
check "the paint gate turns and grows the crate coming through ($crates times)" [ "$crates" -ge 1 ]
check "the belt carries its crate and loops it back to its start" \
    bash -c "grep -q ' path carry path=Belt object=Belt Crate ' '$work/trace' && grep -q ' path loop path=Belt object=Belt Crate ' '$work/trace'"
turns=$(grep -c ' path turn path=Shuttle object=Barrel ' "$work/trace")
check "the shuttle rides its barrel to the end of its path and turns back ($turns turns)" [ "$turns" -ge 1 ]
# The turned crate on the belt and the vault over the works, for a look.
"$kxsim" "$work/game" --open works --frames 471 --key 250:down:Right --key 395:up:Right \
    --screenshot "470:$work/works.png" >/dev/null 2>"$work/shot.log" || { echo "FAIL: the drawn run"; status=1; }
if [ -s "$work/works.png" ]; then
    colours=$(convert "$work/works.png" -format '%k' info: 2>/dev/null || echo 0)
    check "the works are drawn ($colours colours)" [ "$colours" -gt 20 ]
    [ -n "${KX_SCREENSHOT_DIR:-}" ] && cp "$work/works.png" "$KX_SCREENSHOT_DIR/"
fi

play portals-and-paths.2.args "$2" --trace screens,character,gatekeeper,game
check "walking back through the turnstile turns the explorer away" \
    grep -q ' gatekeeper contact name=Turnstile passed=2 removes=1 ' "$work/trace"
check "the explorer is gone and the game is over" \
    bash -c "grep -q ' character state=5 ' '$work/trace' && grep -q ' game over=1$' '$work/trace'"
exit $status
