#!/bin/bash
# The demo played through from the menu to the end of a run in the real player under Xvfb, with
# real keys: Up and Return start the game; held Right scrolls the field and the heads-up coin count
# changes once the first coins are taken; running on into the first enemy ends the run and the end
# screen opens; closing the window ends the player with 0, and the store keeps the run's distance
# and coins in the global record. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080
store="$E2E_STORE"
# The defeat's sound, held paused under the end screen, is not freed when the player ends; leaks
# are not what this test is about.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Colours of the demo (see tools/kxdata/demo): the menu's backdrop near the bottom-left corner, the
# heads-up coin icon (design 72,600), the end screen's panel in the middle below its buttons.
menu_colour="8 48 76"
game_colour="250 210 60"
end_panel_colour="64 13 27"

# region SHOT OUT DESIGN_LEFT DESIGN_TOP DESIGN_RIGHT DESIGN_BOTTOM: that part of a screenshot.
region() {
    local left top right bottom
    read -r left top <<<"$(e2e_at "$3" "$4")"
    read -r right bottom <<<"$(e2e_at "$5" "$6")"
    convert "$1" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$2"
}

# differing A B: the number of pixels that differ between two pictures of one size.
differing() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1)
    n="${n%% *}"
    echo "${n%%.*}"
}

# The white figures of the heads-up coin count (left aligned from design x 120 at y 600), alone:
# the sky behind them drifts, the figures' white does not occur there.
count_figures() { # SHOT OUT
    region "$1" "$2.full.png" 100 620 240 580
    convert "$2.full.png" -fuzz 12% -fill black +opaque white "$2"
}

# While Right is held: a look at the field and the coin count; true once the field has scrolled
# and the count has changed, or the run has ended.
scrolled=0
counted=0
ran_on() {
    e2e_screenshot "$E2E_TMP/run.png" || return 1
    if [ "$scrolled" = 0 ]; then
        region "$E2E_TMP/run.png" "$E2E_TMP/field.png" 0 500 1136 0
        if [ "$(differing "$E2E_TMP/field0.png" "$E2E_TMP/field.png")" -gt 5000 ]; then
            scrolled=1
            cp "$E2E_TMP/run.png" "$E2E_TMP/scrolled.png"
        fi
    fi
    if [ "$counted" = 0 ]; then
        count_figures "$E2E_TMP/run.png" "$E2E_TMP/count.png"
        if [ "$(differing "$E2E_TMP/count0.png" "$E2E_TMP/count.png")" -gt 3 ]; then
            counted=1
            cp "$E2E_TMP/run.png" "$E2E_TMP/counted.png"
        fi
    fi
    [ "$scrolled" = 1 ] && [ "$counted" = 1 ] && return 0
    e2e_shows "$E2E_TMP/run.png" 568 166 "$end_panel_colour"
}

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    e2e_key "$win" Up Return
    e2e_check "Up and Return start the game" e2e_wait_colour "$game_colour" "$E2E_TMP/game.png" 72 600
    region "$E2E_TMP/game.png" "$E2E_TMP/field0.png" 0 500 1136 0
    count_figures "$E2E_TMP/game.png" "$E2E_TMP/count0.png"
    e2e_check "the coin count shows white figures" \
        [ "$(convert "$E2E_TMP/count0.png" -format "%[fx:int(mean*w*h)]" info:)" -gt 3 ]

    # Held Right: the hero runs on into the first coins, then into whatever walks or rolls ahead.
    started=$SECONDS
    xdotool keydown Right
    e2e_wait_until "the field to scroll and the coin count to change" ran_on
    e2e_check "held Right scrolls the field" [ "$scrolled" = 1 ]
    e2e_check "and the heads-up coin count changes after the first coins" [ "$counted" = 1 ]

    # Still held: the hero runs into an enemy, and the event observer ends the run.
    e2e_check "the hero's defeat opens the end screen" \
        e2e_wait_colour "$end_panel_colour" "$E2E_TMP/end.png" 568 166
    xdotool keyup Right
    echo "the run lasted about $((SECONDS - started)) s"
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "screenshots in $E2E_TMP"
    fi

    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]

    read -r best_distance total_distance _ _ _ coins <<<"$(store_global "$store")"
    echo "global record: $(store_global "$store")"
    e2e_check "the store holds a global distance above 0 (best ${best_distance:-none}, total ${total_distance:-none})" \
        awk -v b="${best_distance:-0}" -v t="${total_distance:-0}" 'BEGIN { exit !(b > 0 && t > 0) }'
    e2e_check "and the run's coins in total (${coins:-none})" [ "${coins:-0}" -gt 0 ]
fi

e2e_finish
