#!/bin/bash
# The demo's level select in the real player under Xvfb, with the mouse: the second level shows
# locked (grey); coins fetched from the shop buy it, and its panel turns green; the store keeps it
# open after the player closes. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080
store="$E2E_STORE"

# Backdrop colours near the bottom-left corner (see tools/kxdata/demo).
menu_colour="8 48 76"
shop_colour="38 14 66"
levels_colour="14 60 30"

grey() { read -r r g b <<<"$1"; [ $((r - g)) -le 10 ] && [ $((g - r)) -le 10 ] && [ $((b - g)) -le 10 ] && [ $((g - b)) -le 10 ]; }
green() { read -r r g b <<<"$1"; [ "$g" -gt $((r + 50)) ] && [ "$g" -gt $((b + 50)) ]; }
# panel SHOT: the second level's panel beside its caption, as "R G B".
panel() { e2e_rgb "$1" $(e2e_at 440 289); }
panel_turns_green() { e2e_screenshot "$E2E_TMP/open.png" && green "$(panel "$E2E_TMP/open.png")"; }
coins_stored() { [ "$(store_coins "$store")" = "$1" ]; }
saves() { e2e_log_count "[KXPSettingsController] - save complete"; }

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    e2e_click_design "$win" 946 165 # LEVELS
    e2e_check "LEVELS opens the level select" e2e_wait_colour "$levels_colour" "$E2E_TMP/levels.png"
    before=$(panel "$E2E_TMP/levels.png")
    e2e_check "the second level shows locked ($before)" grey "$before"
    # The press is taken when the player saves after it; what it shows then is what it keeps.
    saved=$(saves)
    e2e_click_design "$win" 568 305 # LEVEL 2 without coins
    e2e_check "the press without coins is taken" e2e_wait_log "[KXPSettingsController] - save complete" $((saved + 1))
    e2e_screenshot "$E2E_TMP/still.png"
    still=$(panel "$E2E_TMP/still.png")
    e2e_check "without coins it stays locked ($still)" grey "$still"

    e2e_click_design "$win" 568 120 # BACK
    e2e_check "BACK leads to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu2.png"
    e2e_click_design "$win" 568 335 # SHOP
    e2e_check "SHOP opens the shop" e2e_wait_colour "$shop_colour" "$E2E_TMP/shop.png"
    e2e_click_design "$win" 568 390 # +25 COINS
    e2e_check "+25 COINS stores 25" e2e_wait_until "25 coins in the store" coins_stored 25
    e2e_click_design "$win" 568 390
    e2e_check "and again 50" e2e_wait_until "50 coins in the store" coins_stored 50
    e2e_click_design "$win" 568 120 # BACK
    e2e_check "and back to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu3.png"
    e2e_click_design "$win" 946 165 # LEVELS
    e2e_check "the level select again" e2e_wait_colour "$levels_colour" "$E2E_TMP/levels2.png"
    e2e_click_design "$win" 568 305 # LEVEL 2, paid with 50 coins
    e2e_check "50 coins open it" e2e_wait_until "the second level's panel green" panel_turns_green
    e2e_check "and are spent" e2e_wait_until "no coins in the store" coins_stored 0

    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi
e2e_check "the store keeps the level open" grep -q 'Level 2:0' <<<"$(store_value "$store" KXP_LockStates)"
e2e_finish
