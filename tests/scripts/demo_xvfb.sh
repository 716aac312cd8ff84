#!/bin/bash
# The demo game in the real player under Xvfb: the loading screen, then the menu in its colour;
# real mouse clicks open the shop and lead back; the full-screen button fills the screen; Exit
# ends the player with 0, saves a valid store, and the next start is full screen again.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"
store=$(e2e_store_path "$title")

# Backdrop colours of the demo's screens near their bottom-left corner (see tools/kxdata/demo).
menu_colour="8 48 76"
shop_colour="38 14 66"
loading_colour="70 30 100"

# geometry WINDOW: sets x y w h and the scale of the design area (fixed height of 640).
geometry() {
    read -r x y w h <<<"$(e2e_geometry "$1")"
}

# wait_size WINDOW WIDTH HEIGHT: the window shows at a first size and takes its own a moment later.
wait_size() {
    local i
    for i in $(seq 1 50); do
        geometry "$1"
        [ "$w $h" = "$2 $3" ] && return 0
        sleep 0.1
    done
    return 1
}

# at DESIGN_X DESIGN_Y: the window point of a design point (y up), as "X Y".
at() {
    awk -v dx="$1" -v dy="$2" -v h="$h" 'BEGIN { s = h / 640; printf "%d %d\n", dx * s, h - dy * s }'
}

click_design() {
    local px py
    read -r px py <<<"$(at "$2" "$3")"
    e2e_click "$1" "$px" "$py"
}

e2e_start_xvfb 1920x1080
read -r screen_w screen_h <<<"$(e2e_screen_size)"

# --- loading, the menu, the shop and back, full screen, exit ---
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    e2e_check "the window takes half the screen" wait_size "$win" $((screen_w / 2)) $((screen_h / 2))
    # Loading takes about three seconds at 60 frames per second.
    e2e_check "the loading screen shows first" e2e_wait_colour "$loading_colour" 10 "$E2E_TMP/loading.png"
    e2e_check "the menu follows in its colour" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    convert "$E2E_TMP/loading.png" -crop "${w}x${h}+${x}+${y}" "$E2E_TMP/loading-window.png"
    convert "$E2E_TMP/menu.png" -crop "${w}x${h}+${x}+${y}" "$E2E_TMP/menu-window.png"
    differing=$(compare -metric AE "$E2E_TMP/loading-window.png" "$E2E_TMP/menu-window.png" null: 2>&1 || true)
    e2e_check "the loading screen and the menu differ ($differing pixels)" [ "${differing%%.*}" -gt $((w * h / 4)) ]

    click_design "$win" 568 335 # SHOP
    e2e_check "a click on SHOP opens the shop" e2e_wait_colour "$shop_colour" 10 "$E2E_TMP/shop.png"
    click_design "$win" 568 120 # BACK
    e2e_check "BACK leads to the menu again" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/menu2.png"

    # The menu takes presses once its opening animation has run; under load a click may come too
    # early, so it is given again while the window keeps its size.
    sleep 1
    for attempt in 1 2 3; do
        click_design "$win" 946 250 # FULL SCREEN
        for i in $(seq 1 40); do
            geometry "$win"
            [ "$w" = "$screen_w" ] && break 2
            sleep 0.25
        done
    done
    e2e_check "FULL SCREEN fills the screen ($x $y $w $h)" [ "$x $y $w $h" = "0 0 $screen_w $screen_h" ]
    e2e_check "with the menu drawn over all of it" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/full.png"
    e2e_check "up to the top-right corner" e2e_near "$E2E_TMP/full.png" $((screen_w - 10)) 10 "20 120 130"

    click_design "$win" 568 165 # EXIT
    e2e_wait_exit 15
    e2e_check "EXIT ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "saying \"Doing exit...\"" grep -qxF 'Doing exit...' "$E2E_OUT"
else
    e2e_fail "no window titled $title"
fi
e2e_check "the store was saved on exit" [ -f "$store" ]
if command -v xmllint >/dev/null; then
    e2e_check "the store is valid XML" xmllint --noout "$store"
fi
e2e_check "the store keeps full screen" grep -q 'key="KXP_fullscreen" value="true"' "$store"

# --- the next start is full screen ---
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    wait_size "$win" "$screen_w" "$screen_h"
    e2e_check "the next start fills the screen ($x $y $w $h)" [ "$x $y $w $h" = "0 0 $screen_w $screen_h" ]
    e2e_check "and reaches the menu" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu3.png"
    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title at the second start"
fi

e2e_finish
