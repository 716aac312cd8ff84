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
e2e_setup "$1" "$2" demo 1920x1080
store="$E2E_STORE"
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
hero_colour="230 80 70"

# pixels_like SHOT "R G B": how many pixels of the window in the screenshot lie within 6% of the
# colour.
pixels_like() {
    local r g b
    read -r r g b <<<"$2"
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -fuzz 6% -fill black +opaque "rgb($r,$g,$b)" \
        -fuzz 0 -fill white +opaque black -format "%[fx:int(mean*w*h)]" info:
}
mint_runs() {
    e2e_screenshot "$E2E_TMP/field.png" && mint=$(pixels_like "$E2E_TMP/field.png" "$mint_colour") &&
        [ "$mint" -gt 300 ]
}
# The sound goes to a file (SDL's disk driver): what follows byte $heard of it is not silence.
music_heard() {
    [ "$(tail -c +$((heard + 1)) "$SDL_DISKAUDIOFILE" | head -c 400000 | tr -d '\000' | wc -c)" -gt 10000 ]
}
not_shows() { ! e2e_shows "$@"; }
stored() { [ "$(store_value "$store" "$1")" = "$2" ]; }
coins_stored() { [ "$(store_coins "$store")" = "$1" ]; }
shields_stored() { local held; held=$(store_value "$store" KXP_Inventory_0); [ "${held#*:}" -ge 2 ] 2>/dev/null; }
# The carousel's middle icon: a point on the character's body (the icon is 100 x 100 around the
# carousel's middle at design 568,320; the body's lower left lies at 35,60 of it, beside the lock).
body_x=553
body_y=310

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    heard=$(stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0)
    e2e_check "the menu plays its music" e2e_wait_until "music in the sound file" music_heard

    # The shop, with the mouse: 75 coins, two shields for 50, and the store's ad removal. Each
    # press saves the store: the next comes once it holds the last one's outcome.
    e2e_click_design "$win" 568 335 # SHOP
    e2e_check "SHOP opens the shop" e2e_wait_colour "$shop_colour" "$E2E_TMP/shop.png"
    for coins in 25 50 75; do
        e2e_click_design "$win" 568 390 # +25 COINS
        e2e_check "+25 COINS: $coins stored" e2e_wait_until "$coins coins in the store" coins_stored $coins
    done
    e2e_click_design "$win" 568 305 # 2 SHIELDS 50
    e2e_check "2 SHIELDS 50: two shields stored" e2e_wait_until "two shields in the store" shields_stored
    e2e_check "and 25 coins left" e2e_wait_until "25 coins in the store" coins_stored 25
    e2e_click_design "$win" 568 220 # NO ADS
    e2e_check "NO ADS: the ads bought away" e2e_wait_until "the ads removed in the store" stored KXP_removeAds true
    e2e_screenshot "$E2E_TMP/shop_after.png"
    e2e_key "$win" Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu2.png"

    # The character selection: the hero in the middle; a tap right of it turns Mint in, locked.
    e2e_click_design "$win" 190 335 # HEROES
    e2e_check "HEROES opens the character selection" \
        e2e_wait_colour "$characters_colour" "$E2E_TMP/characters.png"
    e2e_check "the hero stands in the middle" \
        e2e_wait_colour "$hero_colour" "$E2E_TMP/hero.png" $body_x $body_y
    e2e_check "chosen (no unlock button)" not_shows "$E2E_TMP/hero.png" 440 120 "$unlock_colour"
    e2e_click_design "$win" 828 320 # right of the middle
    # The carousel turns over several frames: wait for each look.
    e2e_check "a tap on the right turns the locked Mint to the middle" \
        e2e_wait_colour "$locked_colour" "$E2E_TMP/mint_locked.png" $body_x $body_y
    e2e_check "with its unlock button" e2e_wait_colour "$unlock_colour" "$E2E_TMP/mint_locked.png" 440 120
    e2e_click_design "$win" 568 120 # UNLOCK, paid with the 25 coins left
    e2e_check "UNLOCK buys Mint: its own colours show" \
        e2e_wait_colour "$mint_colour" "$E2E_TMP/mint.png" $body_x $body_y
    e2e_check "and the store holds it chosen" e2e_wait_until "Mint chosen in the store" stored KXP_selectedCharacter 1
    e2e_key "$win" Escape
    e2e_check "Escape leads back to the menu" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu3.png"

    # The run, with the keys: Mint runs; held Right (and a jump now and then) until it falls.
    e2e_key "$win" Up Return
    e2e_check "Up and Return start the game" e2e_wait_colour "$game_colour" "$E2E_TMP/game.png" 72 600
    e2e_check "the chosen Mint runs on the field" e2e_wait_until "Mint on the field" mint_runs
    echo "($mint mint pixels)"
    xdotool keydown Right
    ended=0
    end=$((SECONDS + E2E_DEADLINE))
    jumped=$SECONDS
    while [ "$SECONDS" -lt "$end" ]; do
        if [ $((SECONDS - jumped)) -ge 2 ]; then
            xdotool key J
            jumped=$SECONDS
        fi
        e2e_screenshot "$E2E_TMP/run.png"
        if e2e_shows "$E2E_TMP/run.png" 568 166 "$end_panel_colour"; then
            ended=1
            break
        fi
        sleep 0.2
    done
    xdotool keyup Right
    cp "$E2E_TMP/run.png" "$E2E_TMP/end.png"
    e2e_check "the run ends on the end screen" [ "$ended" = 1 ]
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "screenshots in $E2E_TMP"
    fi

    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi

read -r best_distance total_distance _ _ _ total_coins <<<"$(store_global "$store")"
echo "global record: $(store_global "$store")"
e2e_check "the store holds the run's distance (best ${best_distance:-none}, total ${total_distance:-none})" \
    awk -v b="${best_distance:-0}" -v t="${total_distance:-0}" 'BEGIN { exit !(b > 0 && t > 0) }'
# 75 coins from the shop, 50 paid for the shields and 25 for Mint: what is left, the run took.
e2e_check "and the run's coins (${total_coins:-none})" [ "${total_coins:-0}" -gt 0 ]
inventory=$(store_value "$store" KXP_Inventory_0)
# The heads-up button refills one shield for a run; the two bought come on top.
e2e_check "the two shields bought (inventory ${inventory:-none})" [ "${inventory#*:}" -ge 2 ]
e2e_check "the ads bought away through the store" stored KXP_removeAds true
e2e_check "Mint chosen ($(store_value "$store" KXP_selectedCharacter))" stored KXP_selectedCharacter 1
e2e_finish
