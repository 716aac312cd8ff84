#!/bin/bash
# Pause in the real player under Xvfb: P in the demo's running game opens the pause screen and the
# game holds still under it; Space goes back to the heads-up screen and the game moves on; R on the
# pause screen plays the level again from its start. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"

# Colours of the demo (see tools/kxdata/demo): the menu's backdrop and the game's ground near the
# bottom-left corner; the pause panel below its buttons.
menu_colour="8 48 76"
game_colour="119 94 44"
panel_colour="19 34 67"

# differing A B: the number of pixels that differ between two screenshots of the window.
differing() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1)
    echo "${n%% *}" | cut -d. -f1
}

keys() {
    xdotool key --delay 120 "$@"
    sleep 0.3
}

count() {
    grep -cF -- "$1" "$E2E_ERR"
}

not() {
    ! "$@"
}

e2e_start_xvfb 1920x1080
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    # The window shows at a first size and takes half the screen a moment later.
    e2e_wait_width "$win" 960 || true
    xdotool mousemove --window "$win" 5 5
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    # Keys reach the menu's buttons once its opening animation has run.
    sleep 1
    keys Up Return
    e2e_check "Return starts the game" e2e_wait_colour "$game_colour" 10 "$E2E_TMP/game.png"
    # The shield (S) keeps the hero in the game meanwhile: a crab would end it within seconds.
    keys S
    sleep 1

    keys P
    e2e_check "P opens the pause screen" e2e_wait_colour "$panel_colour" 10 "$E2E_TMP/paused1.png" 568 150
    sleep 1
    e2e_screenshot "$E2E_TMP/paused1.png" "$win"
    sleep 1
    e2e_screenshot "$E2E_TMP/paused2.png" "$win"
    e2e_check "the paused game holds still" [ "$(differing "$E2E_TMP/paused1.png" "$E2E_TMP/paused2.png")" = 0 ]

    keys space
    e2e_check "Space goes back to the game" e2e_wait_colour "$game_colour" 10 "$E2E_TMP/running1.png"
    e2e_check "without the pause panel" not e2e_near "$E2E_TMP/running1.png" $(e2e_at 568 150) "$panel_colour"
    e2e_screenshot "$E2E_TMP/running1.png" "$win"
    sleep 1
    e2e_screenshot "$E2E_TMP/running2.png" "$win"
    e2e_check "and the game moves on" [ "$(differing "$E2E_TMP/running1.png" "$E2E_TMP/running2.png")" -gt 1000 ]

    sections=$(count "add level section: ")
    keys P
    e2e_check "P pauses again" e2e_wait_colour "$panel_colour" 10 "$E2E_TMP/paused3.png" 568 150
    keys r
    e2e_check "R goes back to the game" e2e_wait_colour "$game_colour" 10 "$E2E_TMP/restarted.png"
    sleep 0.5
    e2e_check "having laid the level again from its start" [ "$(count "add level section: ")" -ge $((sections + 2)) ]
    e2e_screenshot "$E2E_TMP/restarted.png"
    e2e_check "without the pause panel" not e2e_near "$E2E_TMP/restarted.png" $(e2e_at 568 150) "$panel_colour"

    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title"
fi

e2e_finish
