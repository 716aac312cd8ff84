#!/bin/bash
# The real player under Xvfb when X takes the ground away: its window destroyed by another client
# (xdotool windowclose) ends it like a close, with 0 and the session's progress saved; a killed X
# server ends it with a clear line and a non-zero status, again with the progress saved.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1280x800
store="$E2E_STORE"
menu_colour="8 48 76"

# saved_after TEXT: the store was saved after the log line holding TEXT (the settings' keys are
# written only by a full save; the store was removed just before).
saved_after() {
    awk -v marker="$1" 'index($0, marker) { seen = 1 } seen && /\[KXPSettingsController\] - save complete/ { ok = 1 }
        END { exit !ok }' "$E2E_ERR" && grep -qF 'key="KXP_Scores"' "$store" && xmllint --noout "$store"
}

# wait_menu: the game has loaded (saving is refused before) and shows its menu.
wait_menu() {
    e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
}

# --- the window destroyed under the player ---
if e2e_open; then
    e2e_check "the menu shows" wait_menu
    rm -f "$store"
    xdotool windowclose "$win"
    e2e_wait_exit
    e2e_check "a destroyed window ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "saying why" grep -qF '[KXPXErrors] the window went away' "$E2E_ERR"
    e2e_check "through the closing exit" grep -qF '[KXPTermination] the window is gone: closing' "$E2E_ERR"
    e2e_check "which saves the session" saved_after 'the window went away'
fi

# --- the X server killed under the player ---
if e2e_open; then
    e2e_check "the menu shows again" wait_menu
    rm -f "$store"
    kill "$E2E_XVFB_PID"
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
    e2e_wait_exit
    e2e_check "a lost display ends the player with its own status (got $E2E_STATUS)" [ "$E2E_STATUS" = 3 ]
    e2e_check "with a clear line" grep -qxF 'kxplayer: lost the X display: saving progress and ending' "$E2E_ERR"
    e2e_check "after saving the session" saved_after 'lost the X display'
fi

e2e_finish
