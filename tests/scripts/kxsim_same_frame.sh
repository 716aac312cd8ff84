#!/bin/bash
# Valid games where two of the game's own events fall in one frame, played through kxsim (in CI the
# sanitizer build: a report ends the run with a failure). Each case edits a scenario game as the
# editor could, plays it, and checks both that the run ends well and that the two events did fall
# in one frame, so that a change of the game that moves them apart shows here instead of passing.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
need_msgpack
edit="$2/tests/e2e/game_packs.py"

write_demo "$work/demo"
"$kxdata" dump "$work/demo" >"$work/demo.dump" 2>/dev/null || { echo "FAIL: dump"; exit 1; }

# A gameplay powerup taken in the frame its character dies: the hero runs into the meadow's crab
# while it touches the magnet, made a gameplay powerup and moved onto that spot. Taking it updates
# the character at once, which lets the dying hero leave the field; the powerup then updated a
# character it no longer had.
cp -r "$work/demo" "$work/gameplay"
"$PY" "$edit" "$work/demo.dump" "$work/gameplay" 'Magnet:Powerup Type="kPowerupGameplay"' \
    'Meadow Magnet:Position=[630,120]' || exit 1
if play_fresh gameplay "$work/gameplay" --open world1 --frames 700 --trace powerups,character,game; then
    frame=$(same_frame "$work/gameplay.trace" 'powerup effect type=kPowerupGameplay' 'character state=5')
    check "the gameplay powerup taken in the frame its hero died (${frame:-none})" test -n "$frame"
    check "the game went on to its end" grep -q ' game over=1' "$work/gameplay.trace"
else
    status=1
fi

exit $status
