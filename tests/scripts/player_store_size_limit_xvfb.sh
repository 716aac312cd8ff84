#!/bin/bash
# The real player under a file-size limit (ulimit -f) smaller than its store: the save as its
# window closes fails as on a full disk instead of killing it. It says the save failed, leaves no
# temporary file beside the store, keeps the old store as it was and ends with 0.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1280x800
store="$E2E_STORE"
mkdir -p "$(dirname "$store")"
# A valid store of 8 MB (one long entry), four times what the limit lets a file hold.
{
    printf '<?xml version="1.0" encoding="utf-8"?>\n<userDefaultRoot>\n  <entry key="filler" value="'
    head -c 8000000 /dev/zero | tr '\0' x
    printf '" />\n</userDefaultRoot>\n'
} >"$store"
cp "$store" "$E2E_TMP/store.before"

# The player started as e2e_start_player does, with the limit its alone.
E2E_OUT="$E2E_TMP/player.out"
E2E_ERR="$E2E_TMP/player.err"
(
    ulimit -f 2048
    exec "$E2E_BUILD/kxplayer" "$E2E_GAME" >"$E2E_OUT" 2>"$E2E_ERR"
) &
E2E_PID=$!
if win=$(e2e_wait_window "$E2E_TITLE"); then
    e2e_check "the window takes its size" e2e_settle "$win"
    # The game has loaded (saving is refused before) and shows its menu.
    e2e_check "the menu shows" e2e_wait_colour "8 48 76" "$E2E_TMP/menu.png"
    e2e_close "$win"
    e2e_wait_exit
    e2e_check "the player ends with 0 (got $E2E_STATUS; 153 is a kill by the file-size signal)" \
        [ "$E2E_STATUS" = 0 ]
    e2e_check "the save says it failed" grep -qF '[KXPSettingsController] - save failed' "$E2E_ERR"
    e2e_check "with the reason" grep -qF 'UserDefault.xml.tmp: File too large' "$E2E_ERR"
    e2e_check "no temporary file is left" [ -z "$(find "$(dirname "$store")" -name 'UserDefault.xml.tmp*')" ]
    e2e_check "the old store is kept as it was" cmp -s "$store" "$E2E_TMP/store.before"
else
    e2e_fail "a window titled $E2E_TITLE shows"
fi

e2e_finish
