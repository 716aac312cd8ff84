#!/bin/bash
# Pause in the real player under Xvfb: P in the demo's running game opens the pause screen and the
# game holds still under it; Space goes back to the heads-up screen and the game moves on; R on the
# pause screen plays the level again from its start. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080

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

# keys NAME...: one press and release each, a frame or more apart, taken by the player.
keys() {
    e2e_keys "$win" "$@"
}

# held_still: polled by e2e_wait_until; true once the window has looked the same for a second or more
# (every look compared with the last different one). The panel's own opening may still run at first;
# a game that ran on under the panel would never pass.
still_since=
held_still() {
    local now
    now=$(date +%s%N)
    e2e_screenshot "$E2E_TMP/paused2.png" "$win" || return 1
    if [ -z "$still_since" ] || [ "$(differing "$E2E_TMP/paused1.png" "$E2E_TMP/paused2.png")" != 0 ]; then
        mv "$E2E_TMP/paused2.png" "$E2E_TMP/paused1.png"
        still_since=$now
        return 1
    fi
    [ $((now - still_since)) -ge 1000000000 ]
}

# moved_on: a screenshot of the window that differs from running1.png in more than 1000 pixels.
moved_on() {
    e2e_screenshot "$E2E_TMP/running2.png" "$win" &&
        [ "$(differing "$E2E_TMP/running1.png" "$E2E_TMP/running2.png")" -gt 1000 ]
}

# panel_gone SHOT: takes the screenshot; true once the pause panel no longer shows in it. The
# game's ground can come back a frame before the panel's own closing ends.
panel_gone() {
    e2e_screenshot "$1" "$win" && ! e2e_shows "$1" 568 150 "$panel_colour"
}

count() {
    grep -cF -- "$1" "$E2E_ERR"
}

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    keys Up Return
    e2e_check "Return starts the game" e2e_wait_colour "$game_colour" "$E2E_TMP/game.png"
    # The shield (S) keeps the hero in the game meanwhile: a crab would end it within seconds.
    keys s

    keys p
    e2e_check "P opens the pause screen" e2e_wait_colour "$panel_colour" "$E2E_TMP/paused1.png" 568 150
    e2e_check "the paused game holds still" e2e_wait_until "the same look for a second" held_still

    keys space
    e2e_check "Space goes back to the game" e2e_wait_colour "$game_colour" "$E2E_TMP/running1.png"
    e2e_check "without the pause panel" e2e_wait_until "the panel to go" panel_gone "$E2E_TMP/running1.png"
    e2e_check "and the game moves on" e2e_wait_until "the game to move on" moved_on

    sections=$(count "add level section: ")
    keys p
    e2e_check "P pauses again" e2e_wait_colour "$panel_colour" "$E2E_TMP/paused3.png" 568 150
    keys r
    e2e_check "R goes back to the game" e2e_wait_colour "$game_colour" "$E2E_TMP/restarted.png"
    e2e_check "having laid the level again from its start" e2e_wait_log "add level section: " $((sections + 2))
    e2e_check "without the pause panel" e2e_wait_until "the panel to go" panel_gone "$E2E_TMP/restarted.png"

    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi

e2e_finish
