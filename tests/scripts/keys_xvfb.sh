#!/bin/bash
# The demo played from the keyboard in the real player under Xvfb: the arrows move the highlight
# over the menu and Return opens the highlighted screen; Escape goes back exactly once; an
# unpaired key (BackSpace) presses nothing; in the game a held key is one press although the
# server repeats it, and the heads-up buttons' own keys lead to the end screen and to the menu.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
xrepeat="$E2E_TMP/xrepeat"
cc -O1 -o "$xrepeat" "$E2E_SRC/tests/e2e/xrepeat.c" -lX11 || e2e_skip "cannot build the auto-repeat helper (libx11-dev)"
title="KX Demo"

# Colours of the demo (see tools/kxdata/demo): backdrops near the bottom-left corner, the heads-up
# coin icon of the game (design 72,600: the level's ground comes and goes with the level), the end
# screen's panel in the middle.
menu_colour="8 48 76"
shop_colour="38 14 66"
game_colour="250 210 60"
end_panel_colour="64 13 27"

# brightness FILE X Y: the sum of the pixel's channels.
brightness() {
    local hex
    hex=$(e2e_pixel "$1" "$2" "$3")
    echo $((16#${hex:1:2} + 16#${hex:3:2} + 16#${hex:5:2}))
}

# lit SHOT DESIGN_X DESIGN_Y BASE: the button body there is brighter than BASE (its normal look).
lit() {
    local px py
    read -r px py <<<"$(e2e_at "$2" "$3")"
    [ "$(brightness "$1" "$px" "$py")" -gt $(($4 + 30)) ]
}

# keys NAME...: one press and release each, a frame or more apart.
keys() {
    xdotool key --delay 120 "$@"
    sleep 0.3
}

not() {
    ! "$@"
}

count() {
    grep -cF -- "$1" "$E2E_ERR"
}

# The left edge of the PLAY and SHOP buttons' bodies, clear of their captions.
play_x=440
play_y=420
shop_y=335

e2e_start_xvfb 1920x1080
e2e_check "the server repeats held keys" "$xrepeat"

e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    read -r x y w h <<<"$(e2e_geometry "$win")"
    xdotool mousemove --window "$win" 5 5
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    read -r px py <<<"$(e2e_at $play_x $play_y)"
    play_normal=$(brightness "$E2E_TMP/menu.png" "$px" "$py")
    read -r px py <<<"$(e2e_at $play_x $shop_y)"
    shop_normal=$(brightness "$E2E_TMP/menu.png" "$px" "$py")

    # Down: the first button lights and the highlight steps down to SHOP.
    keys Down
    e2e_screenshot "$E2E_TMP/down.png"
    e2e_check "Down highlights SHOP" lit "$E2E_TMP/down.png" $play_x $shop_y "$shop_normal"
    e2e_check "and not PLAY" not lit "$E2E_TMP/down.png" $play_x $play_y "$play_normal"
    keys Return
    e2e_check "Return opens the shop" e2e_wait_colour "$shop_colour" 10 "$E2E_TMP/shop.png"

    backs_before=$(count "[KXPScreenUi] keyBackClicked")
    keys Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/menu2.png"
    sleep 0.5
    e2e_check "with exactly one back ($(count "[KXPScreenUi] keyBackClicked") in all)" \
        [ "$(count "[KXPScreenUi] keyBackClicked")" = $((backs_before + 1)) ]

    # BackSpace has no game key: logged, nothing else.
    lines_before=$(wc -l <"$E2E_ERR")
    keys BackSpace
    sleep 0.3
    after=$(tail -n +$((lines_before + 1)) "$E2E_ERR")
    e2e_check "BackSpace is logged" grep -qF " KeyPressed {14," <<<"$after"
    e2e_check "and presses nothing" not grep -qE "KXPInputController\]|hlight|activated|screen" <<<"$after"
    e2e_screenshot "$E2E_TMP/backspace.png"
    e2e_check "the menu stays as it was" not lit "$E2E_TMP/backspace.png" $play_x $play_y "$play_normal"

    # Up lights PLAY (nothing above it), Return starts the game.
    keys Up
    e2e_screenshot "$E2E_TMP/up.png"
    e2e_check "Up highlights PLAY" lit "$E2E_TMP/up.png" $play_x $play_y "$play_normal"
    keys Return
    e2e_check "Return starts the game" e2e_wait_colour "$game_colour" 10 "$E2E_TMP/game.png" 72 600

    # J (jump) held for a second and a half: one press, one release.
    xdotool keydown j
    sleep 1.5
    xdotool keyup j
    sleep 0.3
    e2e_check "a held key is one press ($(count " KeyPressed {36,") logged)" [ "$(count " KeyPressed {36,")" = 1 ]
    e2e_check "and one release" [ "$(count "KeyReleased {j}")" = 1 ]

    # In the running game the arrows steer; the heads-up buttons have keys: Space finishes.
    keys space
    e2e_check "Space on the heads-up screen opens the end screen" \
        e2e_wait_colour "$end_panel_colour" 10 "$E2E_TMP/end.png" 568 166
    keys Escape
    e2e_check "Escape on the end screen leads to the menu" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/menu3.png"

    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title"
fi

e2e_finish
