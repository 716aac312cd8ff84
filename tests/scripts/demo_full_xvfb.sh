#!/bin/bash
# The demo played as a person would, in the real player under Xvfb, with the mouse and real keys:
# from the first menu (with its music) to the shop (free coins, two shields bought with coins, the removal of ads
# bought through the store), Escape back, the character selection (the locked second character
# turned to the middle with a tap and bought with the coins that are left), Escape back, Up and
# Return to play, held Right (and J to jump) until the run ends on the end screen. The chosen
# character is the one that runs; afterwards the store holds the run's scores, the shields, the
# ad removal and the chosen character. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"
store=$(e2e_store_path "$title")
# The defeat's sound, held paused under the end screen, is not freed when the player ends; leaks
# are not what this test is about.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Colours of the demo (see tools/kxdata/demo): backdrops near the bottom-left corner, the heads-up
# coin icon, the end screen's panel, the unlock button's gold, the second character's mint body
# and the grey of a locked character's icon.
menu_colour="8 48 76"
shop_colour="38 14 66"
characters_colour="70 36 12"
game_colour="250 210 60"
end_panel_colour="64 13 27"
unlock_colour="180 145 50"
mint_colour="70 200 150"
locked_colour="120 120 128"

geometry() { read -r x y w h <<<"$(e2e_geometry "$1")"; }
# at DESIGN_X DESIGN_Y: the window point of a design point (y up; the design height is 640).
at() { awk -v dx="$1" -v dy="$2" -v h="$h" 'BEGIN { s = h / 640; printf "%d %d\n", dx * s, h - dy * s }'; }
click_design() {
    local px py
    read -r px py <<<"$(at "$2" "$3")"
    e2e_click "$1" "$px" "$py"
    sleep 0.4
}
# shows SHOT DESIGN_X DESIGN_Y "R G B": that point of the screenshot is near the colour.
shows() { e2e_near "$1" $(e2e_at "$2" "$3") "$4"; }
not_shows() { ! shows "$@"; }
# pixels_like SHOT "R G B": how many pixels of the window in the screenshot lie within 6% of the
# colour.
pixels_like() {
    local r g b
    read -r r g b <<<"$2"
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fuzz 6% -fill black +opaque "rgb($r,$g,$b)" \
        -fuzz 0 -fill white +opaque black -format "%[fx:int(mean*w*h)]" info:
}
# The carousel's middle icon: a point on the character's body (the icon is 100 x 100 around the
# carousel's middle at design 568,320; the body's lower left lies at 35,60 of it, beside the lock).
body_x=553
body_y=310

e2e_start_xvfb 1920x1080
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    e2e_wait_width "$win" 960 || true
    geometry "$win"
    xdotool mousemove --window "$win" 5 5
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    # The sound goes to a file (SDL's disk driver): what the menu adds to it is not silence.
    heard=$(stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0)
    sleep 1
    e2e_check "the menu plays its music" \
        [ "$(tail -c +$((heard + 1)) "$SDL_DISKAUDIOFILE" | head -c 400000 | tr -d '\000' | wc -c)" -gt 10000 ]

    # The shop, with the mouse: 75 coins, two shields for 50, and the store's ad removal.
    click_design "$win" 568 335 # SHOP
    e2e_check "SHOP opens the shop" e2e_wait_colour "$shop_colour" 10 "$E2E_TMP/shop.png"
    sleep 0.5
    for i in 1 2 3; do click_design "$win" 568 390; done # +25 COINS
    click_design "$win" 568 305                            # 2 SHIELDS 50
    click_design "$win" 568 220                            # NO ADS
    e2e_screenshot "$E2E_TMP/shop_after.png"
    e2e_key "$win" Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/menu2.png"
    sleep 0.5

    # The character selection: the hero in the middle; a tap right of it turns Mint in, locked.
    click_design "$win" 190 335 # HEROES
    e2e_check "HEROES opens the character selection" \
        e2e_wait_colour "$characters_colour" 10 "$E2E_TMP/characters.png"
    sleep 1
    e2e_screenshot "$E2E_TMP/hero.png"
    e2e_check "the hero stands in the middle, chosen (no unlock button)" \
        not_shows "$E2E_TMP/hero.png" 440 120 "$unlock_colour"
    click_design "$win" 828 320 # right of the middle
    # The carousel turns over several frames: wait for each look rather than a fixed time.
    e2e_check "a tap on the right turns the locked Mint to the middle" \
        e2e_wait_colour "$locked_colour" 10 "$E2E_TMP/mint_locked.png" $body_x $body_y
    e2e_check "with its unlock button" e2e_wait_colour "$unlock_colour" 10 "$E2E_TMP/mint_locked.png" 440 120
    click_design "$win" 568 120 # UNLOCK, paid with the 25 coins left
    e2e_check "UNLOCK buys Mint: its own colours show" \
        e2e_wait_colour "$mint_colour" 10 "$E2E_TMP/mint.png" $body_x $body_y
    e2e_key "$win" Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" 10 "$E2E_TMP/menu3.png"
    sleep 1

    # The run, with the keys: Mint runs; held Right (and a jump now and then) until it falls.
    xdotool key --delay 120 Up Return
    e2e_check "Up and Return start the game" e2e_wait_colour "$game_colour" 20 "$E2E_TMP/game.png" 72 600
    sleep 0.5
    e2e_screenshot "$E2E_TMP/field.png"
    mint=$(pixels_like "$E2E_TMP/field.png" "$mint_colour")
    e2e_check "the chosen Mint runs on the field ($mint mint pixels)" [ "$mint" -gt 300 ]
    xdotool keydown Right
    ended=0
    for i in $(seq 1 120); do
        [ $((i % 6)) = 0 ] && xdotool key J
        sleep 0.25
        e2e_screenshot "$E2E_TMP/run.png"
        if shows "$E2E_TMP/run.png" 568 166 "$end_panel_colour"; then
            ended=1
            break
        fi
    done
    xdotool keyup Right
    cp "$E2E_TMP/run.png" "$E2E_TMP/end.png"
    e2e_check "the run ends on the end screen" [ "$ended" = 1 ]
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "screenshots in $E2E_TMP"
    fi

    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title"
fi

# value KEY: the stored value of that key.
value() { grep -o "key=\"$1\" value=\"[^\"]*" "$store" 2>/dev/null | sed 's/.*value="//; s/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g'; }
# The global record: "<kxp_score_global>:" then best and total distance, a backup flag (and its
# values), the same for points and for coins.
global=$(value KXP_Scores | tr ';' '\n' | sed -n 's/^<kxp_score_global>://p')
read -r best_distance total_distance _ <<<"$global"
total_coins=$(awk '{ n = 3; if ($3 == 1) n += 3; n += 3; if ($(n) == 1) n += 3; print $(n + 2) }' <<<"$global")
echo "global record: $global"
e2e_check "the store holds the run's distance (best ${best_distance:-none}, total ${total_distance:-none})" \
    awk -v b="${best_distance:-0}" -v t="${total_distance:-0}" 'BEGIN { exit !(b > 0 && t > 0) }'
# 75 coins from the shop, 50 paid for the shields and 25 for Mint: what is left, the run took.
e2e_check "and the run's coins (${total_coins:-none})" [ "${total_coins:-0}" -gt 0 ]
inventory=$(value KXP_Inventory_0)
# The heads-up button refills one shield for a run; the two bought come on top.
e2e_check "the two shields bought (inventory ${inventory:-none})" [ "${inventory#*:}" -ge 2 ]
e2e_check "the ads bought away through the store" [ "$(value KXP_removeAds)" = true ]
e2e_check "Mint chosen ($(value KXP_selectedCharacter))" [ "$(value KXP_selectedCharacter)" = 1 ]
e2e_finish
