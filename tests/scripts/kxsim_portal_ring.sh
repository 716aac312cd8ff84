#!/bin/bash
# Portals whose exits send on what comes out of them (valid data): the portal works with 2,000
# portals and 2,000 exits that are also entries on one ring, none used up, so that each copy of the
# explorer comes out where it is sent on to every other. The field takes so many copies
# (KXPLevelField::kMaxTeleportCopies) and no more: no frame sends more, the portal refused says so
# once, and the run plays its frames in a bounded memory. The same bound
# over 10,000 portals at one point. Levels a user makes with portals to many exits never meet it:
# a portal sending the explorer to 48 exits, two rows of a dozen portals each sending to the
# others near it. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump
bound=$(sed -n 's/.*kMaxTeleportCopies = \([0-9]*\);.*/\1/p' "$src/player/base/KXPLevelField.h")
[ -n "$bound" ] || { echo "FAIL: no kMaxTeleportCopies in KXPLevelField.h"; exit 1; }
# Some six times what the ring takes (some 100 MB; a few times that under the sanitizers, whose
# hold on freed memory is kept small here so that the figure is the player's own); without the
# bound it passes 800 MB by frame 1,200; the bound is met by frame 700.
limit_kb=640000
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8"
# Far beyond what these runs take, also in the sanitizer build on a busy machine: a run still going
# then holds its frames without end.
limit=900

# level NAME PILE_LEVEL_OPTIONS...: the works, the vault door taken out (a copy walking into it
# would leave the works), with copies of a portal laid by pile_level.py; more sets of copies with
# `more OPTIONS...` after it.
level() {
    local name="$1"
    shift
    game="$work/game-$name"
    cp -r "$work/works" "$game"
    more --drop vault "$@"
}
more() {
    "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$game" "Portal Works" "$@" ||
        { echo "FAIL: the level $(basename "$game") could not be made"; exit 1; }
}

# play NAME FRAMES: the explorer walks east from frame 200 into the level's portals; the trace in
# $work/NAME.trace, the log in $work/NAME.log, the peak memory in kB in $work/NAME.kb (when
# /usr/bin/time is there); false when the run did not end with 0.
play() {
    local name="$1" frames="$2" code
    local -a timed=()
    [ -x /usr/bin/time ] && timed=(/usr/bin/time -f %M -o "$work/$name.kb")
    timeout "$limit" "${timed[@]}" "$kxsim" "$work/game-$name" --open works --frames "$frames" \
        --key 200:down:Right --trace teleport,field >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$name.log"; }
    [ "$code" = 0 ]
}

# sends NAME: the copies queued in each frame that sent, most first.
sends() { grep ' teleport send ' "$work/$1.trace" | cut -d' ' -f1 | uniq -c | sort -rn | awk '{ print $1 }'; }
refusals() { grep -c '^\[KXPObjectAssetTeleport\] - .* makes no copy: the field holds [0-9]* copies$' "$work/$1.log"; }
said() { grep -q "^\[KXPObjectAssetTeleport\] - Works Portal.* (model [0-9]*) makes no copy: the field holds $bound copies$" "$work/$1.log"; }
steps() { grep -c ' field step=' "$work/$1.trace"; }
memory() { [ ! -s "$work/$1.kb" ] || [ "$(cat "$work/$1.kb")" -lt "$limit_kb" ]; }

level ring --unit "Works Portal" --copies 2000 --circle 150 --at 420,320 --set 'Single Use=false'
more --unit "Works Portal Exit" --copies 2000 --circle 150 --at 420,320 --set 'Exit Only=false' \
    --set 'Single Use=false'
check "ring: the run plays its 700 frames" play ring 700
check "ring: the field steps every frame it is open ($(steps ring))" [ "$(steps ring)" -ge 500 ]
check "ring: the busiest frame sends at most the bound's $bound copies ($(sends ring | head -1))" \
    [ "$(sends ring | head -1)" -le "$bound" ]
check "ring: the refused portal says so once ($(refusals ring))" [ "$(refusals ring)" = 1 ]
check "ring: with the field's count" said ring
check "ring: in under $limit_kb kB ($(cat "$work/ring.kb" 2>/dev/null))" memory ring

level point --unit "Works Portal" --copies 10000
check "10,000 at one point: the run plays its 400 frames" play point 400
check "10,000 at one point: at most the bound's copies in a frame ($(sends point | head -1))" \
    [ "$(sends point | head -1)" -le "$bound" ]
check "10,000 at one point: the refused portal says so once" said point

level fan --unit "Works Portal Exit" --copies 48 --row 8 --spacing 25 --at 500,200
check "48 exits: the run plays its 600 frames" play fan 600
# The 48 and the works' own exit.
check "48 exits: one send brings out a copy at each of 49 exits ($(sends fan | tr '\n' ' '))" \
    [ "$(sends fan | tr '\n' ' ')" = "49 " ]
check "48 exits: no portal is refused" [ "$(refusals fan)" = 0 ]

level rows --unit "Works Portal" --copies 24 --row 12 --spacing 70 --at 300,320
check "two rows of a dozen portals: the run plays its 900 frames" play rows 900
check "two rows of a dozen portals: they send on ($(grep -c ' teleport send ' "$work/rows.trace") copies)" \
    [ "$(grep -c ' teleport send ' "$work/rows.trace")" -gt 100 ]
check "two rows of a dozen portals: no portal is refused" [ "$(refusals rows)" = 0 ]
exit $status
