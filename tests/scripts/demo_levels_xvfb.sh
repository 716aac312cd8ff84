#!/bin/bash
# The demo's level select in the real player under Xvfb, with the mouse: the second level shows
# locked (grey); coins fetched from the shop buy it, and its panel turns green; the store keeps it
# open after the player closes. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"
store=$(e2e_store_path "$title")

# Backdrop colours near the bottom-left corner (see tools/kxdata/demo).
menu_colour="8 48 76"
shop_colour="38 14 66"
levels_colour="14 60 30"

# rgb FILE X Y: the pixel as "R G B".
rgb() {
    local hex
    hex=$(e2e_pixel "$1" "$2" "$3")
    echo "$((16#${hex:1:2})) $((16#${hex:3:2})) $((16#${hex:5:2}))"
}
near() {
    local r g b
    read -r r g b <<<"$(rgb "$1" "$2" "$3")"
    set -- $4
    [ $((r > $1 ? r - $1 : $1 - r)) -le 28 ] && [ $((g > $2 ? g - $2 : $2 - g)) -le 28 ] &&
        [ $((b > $3 ? b - $3 : $3 - b)) -le 28 ]
}
grey() { read -r r g b <<<"$1"; [ $((r - g)) -le 10 ] && [ $((g - r)) -le 10 ] && [ $((b - g)) -le 10 ] && [ $((g - b)) -le 10 ]; }
green() { read -r r g b <<<"$1"; [ "$g" -gt $((r + 50)) ] && [ "$g" -gt $((b + 50)) ]; }

geometry() { read -r x y w h <<<"$(e2e_geometry "$1")"; }
# at DESIGN_X DESIGN_Y: the window point of a design point (y up; the design height is 640).
at() { awk -v dx="$1" -v dy="$2" -v h="$h" 'BEGIN { s = h / 640; printf "%d %d\n", dx * s, h - dy * s }'; }
click_design() {
    local px py
    read -r px py <<<"$(at "$2" "$3")"
    e2e_click "$1" "$px" "$py"
}
# The second level's panel beside its caption, as a screen point.
panel_at() {
    local px py
    read -r px py <<<"$(at 440 289)"
    echo "$((x + px)) $((y + py))"
}
wait_colour() {
    local i
    for i in $(seq 1 $(($2 * 4))); do
        e2e_screenshot "$3"
        near "$3" $((x + 10)) $((y + h - 10)) "$1" && return 0
        sleep 0.25
    done
    return 1
}

e2e_start_xvfb 1920x1080
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    geometry "$win"
    e2e_check "the menu shows" wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    click_design "$win" 946 165 # LEVELS
    e2e_check "LEVELS opens the level select" wait_colour "$levels_colour" 10 "$E2E_TMP/levels.png"
    before=$(rgb "$E2E_TMP/levels.png" $(panel_at))
    e2e_check "the second level shows locked ($before)" grey "$before"
    click_design "$win" 568 305 # LEVEL 2 without coins
    sleep 0.5
    e2e_screenshot "$E2E_TMP/still.png"
    still=$(rgb "$E2E_TMP/still.png" $(panel_at))
    e2e_check "without coins it stays locked ($still)" grey "$still"

    click_design "$win" 568 120 # BACK
    e2e_check "BACK leads to the menu" wait_colour "$menu_colour" 10 "$E2E_TMP/menu2.png"
    click_design "$win" 568 335 # SHOP
    e2e_check "SHOP opens the shop" wait_colour "$shop_colour" 10 "$E2E_TMP/shop.png"
    click_design "$win" 568 390 # +25 COINS
    sleep 0.3
    click_design "$win" 568 390
    sleep 0.3
    click_design "$win" 568 120 # BACK
    e2e_check "and back to the menu" wait_colour "$menu_colour" 10 "$E2E_TMP/menu3.png"
    click_design "$win" 946 165 # LEVELS
    e2e_check "the level select again" wait_colour "$levels_colour" 10 "$E2E_TMP/levels2.png"
    click_design "$win" 568 305 # LEVEL 2, paid with 50 coins
    sleep 0.5
    e2e_screenshot "$E2E_TMP/open.png"
    after=$(rgb "$E2E_TMP/open.png" $(panel_at))
    e2e_check "50 coins open it ($after)" green "$after"

    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title"
fi
e2e_check "the store keeps the level open" grep -q 'key="KXP_LockStates" value="[^"]*Level 2:0' "$store"
e2e_finish
