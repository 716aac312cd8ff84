#!/bin/bash
# The real player under Xvfb: a missing game folder, the window's title and windowed size, the
# Steam line, closing through the window, full screen from the stored preference, SIGTERM, the
# icon, and a seeded store that nothing may overwrite (the game never finishes loading here).
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" sample 1280x800
title="$E2E_TITLE"
store="$E2E_STORE"
read -r screen_w screen_h <<<"$(e2e_screen_size)"

# A folder that does not exist: one line on standard error, status 2, no window.
"$E2E_BUILD/kxplayer" "$E2E_TMP/no-such-game" >"$E2E_TMP/missing.out" 2>"$E2E_TMP/missing.err"
e2e_check "a missing game folder ends with status 2" [ $? = 2 ]
e2e_check "with one line on standard error" [ "$(wc -l <"$E2E_TMP/missing.err")" = 1 ]
e2e_check "and nothing on standard output" [ ! -s "$E2E_TMP/missing.out" ]

# pixels_are SHOT "X Y" "#RRGGBB"...: screenshots, then each point shows exactly its colour.
pixels_are() {
    local shot="$1"
    shift
    e2e_screenshot "$shot" || return 1
    while [ $# -ge 2 ]; do
        [ "$(e2e_pixel "$shot" $1)" = "$2" ] || return 1
        shift 2
    done
}

# --- windowed, closed through the window ---
e2e_seed_store "$title" "KXP_fullscreen=false" "KXP_Scores=w:1 2 3 4 5 6" "KXP_selectedCharacter=1"
cp "$store" "$E2E_TMP/seeded.xml"
if e2e_open; then
    e2e_check "windowed: half the screen ($w x $h)" [ "$w $h" = "$((screen_w / 2)) $((screen_h / 2))" ]
    e2e_check "windowed: a quarter in from the corner ($x, $y)" [ "$x $y" = "$((screen_w / 4)) $((screen_h / 4))" ]
    e2e_check "the window is drawn (black inside)" e2e_wait_until "the window's middle black" \
        pixels_are "$E2E_TMP/windowed.png" "$((x + w / 2)) $((y + h / 2))" "#000000"
    e2e_check "the screen around it stays white" [ "$(e2e_pixel "$E2E_TMP/windowed.png" 5 5)" = "#FFFFFF" ]
    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi
e2e_check "the Steam line with 0 on standard output" grep -qxF 'Steam Started: %b0' "$E2E_OUT"
e2e_check "the keyboard was created" bash -c "! grep -q 'no keyboard' '$E2E_ERR'"
e2e_check "saving at exit is refused before loading finished" \
    grep -qF '[KXPSettingsController] - save while not loaded  = reset - issue prevented' "$E2E_ERR"
e2e_check "the seeded store is unchanged" cmp -s "$store" "$E2E_TMP/seeded.xml"
if command -v xmllint >/dev/null; then
    e2e_check "the store is valid XML" xmllint --noout "$store"
else
    e2e_fail "xmllint is not installed (bash scripts/setup)"
fi

# --- full screen from the store, an icon, ended by SIGTERM ---
e2e_seed_store "$title" "KXP_fullscreen=true"
cp "$store" "$E2E_TMP/seeded.xml"
convert -size 32x32 xc:red "$E2E_GAME/icon.ico"
if e2e_open; then
    e2e_check "full screen fills the screen ($x $y $w $h)" [ "$x $y $w $h" = "0 0 $screen_w $screen_h" ]
    e2e_check "full screen: black up to the corners" e2e_wait_until "black corners" \
        pixels_are "$E2E_TMP/fullscreen.png" "2 2" "#000000" "$((screen_w - 3)) $((screen_h - 3))" "#000000"
    if command -v xprop >/dev/null; then
        e2e_check "the window has the game's icon" bash -c "xprop -id '$win' _NET_WM_ICON | grep -qF 'Icon (32 x 32)'"
    fi
    kill -TERM "$E2E_PID"
    e2e_wait_exit
    e2e_check "SIGTERM ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "SIGTERM goes through the saving exit" \
        grep -qF '[KXPSettingsController] - save while not loaded  = reset - issue prevented' "$E2E_ERR"
fi
e2e_check "the full-screen store is unchanged" cmp -s "$store" "$E2E_TMP/seeded.xml"

e2e_finish
