#!/bin/bash
# Valid games where a change of scene falls in the frame of another of the game's events, played
# through kxsim (in CI the sanitizer build: a report ends the run with a failure). Each case edits a
# scenario game as the editor could, plays it, and checks both that the run ends well and that the
# events did fall in one frame, so that a change of the game that moves them apart shows here
# instead of passing.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
need_msgpack

# `first_frame TRACE PATTERN`: the frame of the first line that matches, or nothing.
first_frame() {
    awk -v a="$2" '$0 ~ a { print substr($1, 3); exit }' "$1"
}

# `after TRACE FRAME PATTERN`: the first line from FRAME on that matches, or nothing.
after() {
    awk -v from="$2" -v a="$3" 'substr($1, 3) + 0 >= from + 0 && $0 ~ a { print; exit }' "$1"
}

write_demo --scenario shooter "$work/shooter"
"$kxdata" dump "$work/shooter" >"$work/shooter.dump" 2>/dev/null || { echo "FAIL: dump"; exit 1; }
# The flight that fires reaches every beacon and leaves through the exit portal to the home base.
read_recipe "$2/tests/e2e/scenarios/shooter.1.args"
flight=("${recipe[@]}")

# The exit portal (an end-game powerup) and a beacon taken in one step: a copy of the exit's beacon
# laid after the portal, where the ship first touches the portal. The portal's pickup changes the
# scene; the beacon, taken after it in the same pass, stored the checkpoint into the home base's
# record while the base was being built, which the base then opened at.
cp -r "$work/shooter" "$work/exit"
"$PY" "$2/tests/e2e/pile_level.py" "$work/shooter.dump" "$work/exit" Exit --unit "Exit Beacon" \
    --copies 1 --at 820,100 || exit 1
if play_fresh exit "$work/exit" "${flight[@]}" --trace powerups,game,screens; then
    frame=$(same_frame "$work/exit.trace" 'powerup effect type=kPowerupEndGame' \
        'powerup effect type=kPowerupCheckpoint')
    check "the exit and a beacon taken in one frame (${frame:-none})" test -n "$frame"
    check "the beacon stored its checkpoint in the level it was taken in" \
        grep -q "^F=${frame:-none} game checkpoint at=6500,100 " "$work/exit.trace"
    check "the home base opened after that frame" test -n "$(after "$work/exit.trace" "$((${frame:-0} + 1))" \
        'screen open key=base')"
    check "the home base opened at its start" \
        grep -q "game restore checkpoint=no" <(after "$work/exit.trace" "$((${frame:-0} + 1))" 'game restore')
else
    status=1
fi

# A heads-up link to the home base pressed in the frame the ship reaches a beacon: the cockpit gets
# a button named after its port to the base (R, as the debrief's), and closes at once. The key is
# released in the frame the first flight takes its first beacon. The leaving field played that
# frame against the base being built: the beacon went into the base's record.
cp -r "$work/shooter" "$work/link"
"$PY" - "$work/shooter.dump" "$work/link" "$2/tests/e2e" <<'EOF' || exit 1
import sys
sys.path.insert(0, sys.argv[3])
from game_packs import ID, Game

game = Game(sys.argv[1], sys.argv[2])
pack, cockpit = game.named("Cockpit Screen")[0]
game.set_value(pack, cockpit, "Close Animation Frames", 0)
button = game.copy(game.named("Retry")[0][1][ID])
pack, record = game.stored(button)
game.set_value(pack, record, "Name", "End")
game.add_to_section(cockpit[ID], button)
game.save()
EOF
if play_fresh link-alone "$work/link" "${flight[@]}" --trace game,field; then
    taken=$(first_frame "$work/link-alone.trace" 'game checkpoint at=')
    check "the first flight takes a beacon (${taken:-none})" test -n "$taken"
    taken=${taken:-2}
    step=$(awk -v f="F=$((taken - 1))" '$1 == f && $2 == "field" && $3 ~ /^step=/ { print substr($3, 6) }' \
        "$work/link-alone.trace")
    if play_fresh link "$work/link" "${flight[@]}" --key "$((taken - 1)):down:R" --key "$taken:up:R" \
        --trace game,field,screens; then
        check "the base opened in the frame of the beacon" grep -q "^F=$taken screen open key=base" \
            "$work/link.trace"
        check "the leaving field stepped no more" \
            test -z "$(grep "^F=$taken field step=$((${step:-0} + 1)) " "$work/link.trace")"
        check "no beacon was taken as the scene changed" test -z "$(grep "^F=$taken game checkpoint" "$work/link.trace")"
        check "the home base opened at its start" \
            grep -q "game restore checkpoint=no" <(after "$work/link.trace" "$taken" 'game restore')
    else
        status=1
    fi
else
    status=1
fi

exit $status
