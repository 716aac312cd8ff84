#!/bin/bash
# The real player under Xvfb when X takes the ground away: its window destroyed by another client
# (xdotool windowclose) ends it like a close, with 0 and the session's progress saved; a killed X
# server ends it with a clear line and a non-zero status, again with the progress saved.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"
store=$(e2e_store_path "$title")
menu_colour="8 48 76"

# saved_after TEXT: the store was saved after the log line holding TEXT (the settings' keys are
# written only by a full save; the store was removed just before).
saved_after() {
    awk -v marker="$1" 'index($0, marker) { seen = 1 } seen && /\[KXPSettingsController\] - save complete/ { ok = 1 }
        END { exit !ok }' "$E2E_ERR" && grep -qF 'key="KXP_Scores"' "$store" && xmllint --noout "$store"
}

# wait_menu WINDOW: the game has loaded (saving is refused before) and shows its menu.
wait_menu() {
    read -r x y w h <<<"$(e2e_geometry "$1")"
    e2e_wait_colour "$menu_colour" 60 "$E2E_TMP/menu.png"
}

e2e_start_xvfb 1280x800

# --- the window destroyed under the player ---
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title" 30); then
    e2e_check "the menu shows" wait_menu "$win"
    rm -f "$store"
    xdotool windowclose "$win"
    e2e_wait_exit 30
    e2e_check "a destroyed window ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "saying why" grep -qF '[KXPXErrors] the window went away' "$E2E_ERR"
    e2e_check "through the closing exit" grep -qF '[KXPTermination] the window is gone: closing' "$E2E_ERR"
    e2e_check "which saves the session" saved_after 'the window went away'
else
    e2e_fail "no window titled $title"
fi

# --- the X server killed under the player ---
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title" 30); then
    e2e_check "the menu shows again" wait_menu "$win"
    rm -f "$store"
    kill "$E2E_XVFB_PID"
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
    e2e_wait_exit 30
    e2e_check "a lost display ends the player with its own status (got $E2E_STATUS)" [ "$E2E_STATUS" = 3 ]
    e2e_check "with a clear line" grep -qxF 'kxplayer: lost the X display: saving progress and ending' "$E2E_ERR"
    e2e_check "after saving the session" saved_after 'lost the X display'
else
    e2e_fail "no window titled $title the second time"
fi

e2e_finish
