#!/bin/bash
# The real player under Xvfb on a game whose level section is 10 points wide for the 25 objects
# it holds (the portal works, laid again and again as the level goes on). The start leads straight
# into the works, so the game opens on a pile that grows for many frames. SIGTERM ends the player
# with 0 and the store saved on the way out. In a second run the window's close button does the
# same. Each must happen within 20 s, well short of the usual waits: the player answers between
# frames. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
command -v xmllint >/dev/null || e2e_skip "no xmllint"
# The system interpreter, which has python3-msgpack.
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || e2e_skip "no python3-msgpack"
game="$E2E_TMP/works"
"$E2E_BUILD/kxdata" write-demo --scenario portals-and-paths "$game" >/dev/null 2>&1 ||
    e2e_skip "kxdata could not write the portal works"
"$E2E_BUILD/kxdata" dump "$game" >"$E2E_TMP/dump" 2>/dev/null || e2e_skip "kxdata could not dump the portal works"
"$PY" "$2/tests/e2e/section_width.py" "$E2E_TMP/dump" "$game/data/KXModelLevelSection.0.attributes.pack" \
    "Portal Works" 10 || e2e_skip "the works section could not be made 10 wide"
title="KX Portal Works"
store=$(e2e_store_path "$title")
quit_within=20
e2e_start_xvfb 1280x800

# saved_after TEXT: a full save (the settings' keys are written only by one) followed the log line
# holding TEXT, and the store is whole.
saved_after() {
    awk -v marker="$1" 'index($0, marker) { seen = 1 } seen && /\[KXPSettingsController\] - save complete/ { ok = 1 }
        END { exit !ok }' "$E2E_ERR" && grep -qF 'key="KXP_Scores"' "$store" && xmllint --noout "$store"
}

# field_saved: the field has laid the works and saved when it opened (no store yet is needed).
field_saved() {
    awk 'index($0, "add level section") { seen = 1 } seen && /\[KXPSettingsController\] - save complete/ { ok = 1 }
        END { exit !ok }' "$E2E_ERR"
}

# open_works: the player on the game, its window shown and the field opened; then the store is
# removed, so that only a later save writes it again.
open_works() {
    e2e_start_player "$game"
    if ! win=$(e2e_wait_window "$title"); then
        e2e_fail "a window titled $title shows"
        return 1
    fi
    e2e_check "the field opens on the works" e2e_wait_until "the works laid and saved" field_saved
    rm -f "$store"
}

# ended_within WHAT: the player ended with 0 within $quit_within s.
ended_within() {
    local started=$SECONDS
    E2E_DEADLINE=$quit_within e2e_wait_exit
    echo "$1: the player ended $((SECONDS - started)) s later with $E2E_STATUS"
    e2e_check "$1 ends the player with 0 within $quit_within s (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
}

# --- SIGTERM ---
if open_works; then
    kill -TERM "$E2E_PID"
    ended_within "SIGTERM"
    e2e_check "through the closing exit" grep -qF '[KXPTermination] asked to terminate: closing' "$E2E_ERR"
    e2e_check "which saves the store" saved_after '[KXPTermination] asked to terminate'
fi

# --- the window's close button ---
if open_works; then
    e2e_close "$win"
    ended_within "the close button"
    e2e_check "the store is saved again" bash -c "grep -qF 'key=\"KXP_Scores\"' '$store' && xmllint --noout '$store'"
fi

e2e_finish
