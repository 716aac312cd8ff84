#!/bin/bash
# The demo game in the real player under Xvfb: the loading screen, then the menu in its colour;
# real mouse clicks open the shop and lead back; the full-screen button fills the screen; Exit
# ends the player with 0, saves a valid store, and the next start is full screen again.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080
store="$E2E_STORE"
read -r screen_w screen_h <<<"$(e2e_screen_size)"

# Backdrop colours of the demo's screens near their bottom-left corner (see tools/kxdata/demo).
menu_colour="8 48 76"
shop_colour="38 14 66"
loading_colour="70 30 100"

# --- loading, the menu, the shop and back, full screen, exit ---
if e2e_open; then
    e2e_check "the window takes half the screen" [ "$w $h" = "$((screen_w / 2)) $((screen_h / 2))" ]
    # Loading takes about three seconds at 60 frames per second.
    e2e_check "the loading screen shows first" e2e_wait_colour "$loading_colour" "$E2E_TMP/loading.png"
    e2e_check "the menu follows in its colour" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    convert "$E2E_TMP/loading.png" -crop "${w}x${h}+${x}+${y}" "$E2E_TMP/loading-window.png"
    convert "$E2E_TMP/menu.png" -crop "${w}x${h}+${x}+${y}" "$E2E_TMP/menu-window.png"
    differing=$(compare -metric AE "$E2E_TMP/loading-window.png" "$E2E_TMP/menu-window.png" null: 2>&1 || true)
    e2e_check "the loading screen and the menu differ ($differing pixels)" [ "${differing%%.*}" -gt $((w * h / 4)) ]

    e2e_click_design "$win" 568 335 # SHOP
    e2e_check "a click on SHOP opens the shop" e2e_wait_colour "$shop_colour" "$E2E_TMP/shop.png"
    e2e_click_design "$win" 568 120 # BACK
    e2e_check "BACK leads to the menu again" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu2.png"

    saves=$(e2e_log_count "[KXPSettingsController] - save complete")
    e2e_click_design "$win" 946 250 # FULL SCREEN
    e2e_check "FULL SCREEN is taken and stored" e2e_wait_log "[KXPSettingsController] - save complete" $((saves + 1))
    e2e_check "FULL SCREEN fills the screen" e2e_wait_place "$win" "0 0 $screen_w $screen_h"
    e2e_check "with the menu drawn over all of it" e2e_wait_colour "$menu_colour" "$E2E_TMP/full.png"
    e2e_check "up to the top-right corner" e2e_near "$E2E_TMP/full.png" $((screen_w - 10)) 10 "20 120 130"

    e2e_click_design "$win" 568 165 # EXIT
    e2e_wait_exit
    e2e_check "EXIT ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "saying \"Doing exit...\"" grep -qxF 'Doing exit...' "$E2E_OUT"
fi
e2e_check "the store was saved on exit" [ -f "$store" ]
if command -v xmllint >/dev/null; then
    e2e_check "the store is valid XML" xmllint --noout "$store"
fi
e2e_check "the store keeps full screen" [ "$(store_value "$store" KXP_fullscreen)" = true ]

# --- the next start is full screen ---
if e2e_open; then
    e2e_check "the next start fills the screen ($x $y $w $h)" [ "$x $y $w $h" = "0 0 $screen_w $screen_h" ]
    e2e_check "and reaches the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu3.png"
    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi

e2e_finish
