#!/bin/bash
# The demo played from the keyboard in the real player under Xvfb: the arrows move the highlight
# over the menu and Return opens the highlighted screen; Escape goes back exactly once; an
# unpaired key (BackSpace) presses nothing; in the game a held key is one press although the
# server repeats it, and the heads-up buttons' own keys lead to the end screen and to the menu.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080
xrepeat="$E2E_TMP/xrepeat"
cc -O1 -o "$xrepeat" "$E2E_SRC/tests/e2e/xrepeat.c" -lX11 || e2e_skip "cannot build the auto-repeat helper (libx11-dev)"

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

# keys NAME...: one press and release each, a frame or more apart, taken by the player.
keys() {
    e2e_keys "$win" "$@"
}

# shows_lit SHOT DESIGN_X DESIGN_Y BASE: a screenshot in which the button body there is lit.
shows_lit() {
    e2e_screenshot "$1" && lit "$@"
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

e2e_check "the server repeats held keys" "$xrepeat"

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    read -r px py <<<"$(e2e_at $play_x $play_y)"
    play_normal=$(brightness "$E2E_TMP/menu.png" "$px" "$py")
    read -r px py <<<"$(e2e_at $play_x $shop_y)"
    shop_normal=$(brightness "$E2E_TMP/menu.png" "$px" "$py")

    # Down: the first button lights and the highlight steps down to SHOP.
    keys Down
    e2e_check "Down highlights SHOP" e2e_wait_until "SHOP lit" shows_lit "$E2E_TMP/down.png" $play_x $shop_y "$shop_normal"
    e2e_check "and not PLAY" not lit "$E2E_TMP/down.png" $play_x $play_y "$play_normal"
    keys Return
    e2e_check "Return opens the shop" e2e_wait_colour "$shop_colour" "$E2E_TMP/shop.png"

    backs_before=$(count "[KXPScreenUi] keyBackClicked")
    keys Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu2.png"
    e2e_check "with exactly one back ($(count "[KXPScreenUi] keyBackClicked") in all)" \
        [ "$(count "[KXPScreenUi] keyBackClicked")" = $((backs_before + 1)) ]

    # BackSpace has no game key: logged, nothing else.
    lines_before=$(wc -l <"$E2E_ERR")
    keys BackSpace
    after=$(tail -n +$((lines_before + 1)) "$E2E_ERR")
    e2e_check "BackSpace is logged" grep -qF " KeyPressed {14," <<<"$after"
    e2e_check "and presses nothing" not grep -qE "KXPInputController\]|hlight|activated|screen" <<<"$after"
    e2e_screenshot "$E2E_TMP/backspace.png"
    e2e_check "the menu stays as it was" not lit "$E2E_TMP/backspace.png" $play_x $play_y "$play_normal"

    # Up lights PLAY (nothing above it), Return starts the game.
    keys Up
    e2e_check "Up highlights PLAY" e2e_wait_until "PLAY lit" shows_lit "$E2E_TMP/up.png" $play_x $play_y "$play_normal"
    keys Return
    e2e_check "Return starts the game" e2e_wait_colour "$game_colour" "$E2E_TMP/game.png" 72 600
    # The shield (S): the game runs on under the end screen, and a crab that ends the run there
    # leaves the end screen's MENU without effect; shielded, the hero outlasts a slow test.
    keys s

    # J (jump) held past the server's repeat delay (660 ms): the server sends repeats, the player
    # takes one press and one release. The hold is the thing tested, not a wait.
    repeats=$(e2e_log_count "KeyReleased {j}")
    xdotool keydown j
    sleep 1.5
    xdotool keyup j
    e2e_wait_log "KeyReleased {j}" $((repeats + 1))
    e2e_check "a held key is one press ($(count " KeyPressed {36,") logged)" [ "$(count " KeyPressed {36,")" = 1 ]
    e2e_check "and one release" [ "$(count "KeyReleased {j}")" = 1 ]

    # In the running game the arrows steer; the heads-up buttons have keys: Space finishes.
    keys space
    e2e_check "Space on the heads-up screen opens the end screen" \
        e2e_wait_colour "$end_panel_colour" "$E2E_TMP/end.png" 568 166
    keys Escape
    e2e_check "Escape on the end screen leads to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu3.png"

    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi

e2e_finish
