#!/bin/bash
# The demo's hero in the real player under Xvfb, watched on the screen: the jump key (J) lifts it
# above where it stood, and held Right carries it forwards against the scrolling view, where left
# alone it is pushed along at the view's left edge. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1920x1080
menu_colour="8 48 76"
game_colour="250 210 60"

# The hero is looked for in a band of the screen: between the crabs' backs and the red pennant on
# its pole (design y 125 to 290), left of the middle, where it is the only red. Only that band is
# taken, and as PPM: looks come often even on a loaded machine, which also runs the game slower.
band() {
    read -r band_left band_top <<<"$(e2e_at 0 290)"
    read -r band_right band_bottom <<<"$(e2e_at 700 125)"
}

# hero BAND_SHOT: "RIGHT TOP" of the hero's red body in screen pixels, or nothing.
hero() {
    local box
    box=$(convert "$1" -fuzz 9% -fill black +opaque "rgb(230,80,70)" -fill white -opaque "rgb(230,80,70)" \
        -format "%@" info: 2>/dev/null)
    # WxH+X+Y of the white pixels; a blank band gives a 1x1 box or fails.
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    [ "${BASH_REMATCH[1]}" -gt 4 ] && [ "${BASH_REMATCH[2]}" -gt 4 ] || return 1
    echo "$((band_left + BASH_REMATCH[3] + BASH_REMATCH[1])) $((band_top + BASH_REMATCH[4]))"
}

shown() { # SHOT: the hero is on it
    hero "$1" >/dev/null
}

further() { # FROM TO: both known, TO more than 15 pixels right of FROM
    [ -n "$1" ] && [ -n "$2" ] && [ "$2" -gt $(($1 + 15)) ]
}

# look NAME: the band into $E2E_TMP/NAME.ppm and the hero's place on it in hero_right and
# hero_top; false when the hero is not on it.
look() {
    shot="$E2E_TMP/$1.ppm"
    import -window root -crop "$((band_right - band_left))x$((band_bottom - band_top))+$band_left+$band_top" \
        "$shot" 2>/dev/null && read -r hero_right hero_top < <(hero "$shot")
}

# While J is held: a look in which the hero's top is 40 pixels above where it stood.
lifted() {
    look jumping && [ "$hero_top" -lt $((stood - 40)) ]
}

# Back on the ground, pushed along at the view's left edge: two looks in a row with the hero at the
# height it stood at and at the same place.
landed() {
    local last="${hero_right:-}"
    look landing && [ "$hero_top" -ge $((stood - 4)) ] && [ "$hero_right" = "$last" ]
}

# While Right is held: a look with the hero more than 15 pixels right of where it started.
ran() {
    look running && further "$from" "$hero_right"
}

if e2e_open; then
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" "$E2E_TMP/menu.png"
    e2e_key "$win" Up Return
    e2e_check "PLAY starts the game" e2e_wait_colour "$game_colour" "$E2E_TMP/game.png" 72 600
    band
    # The shield (S) keeps the hero in the game however slowly the looks come.
    e2e_keys "$win" s

    # The view scrolls on and pushes the hero into whatever rolls or walks ahead of it: it keeps
    # shooting (K held) through the whole test, which clears the way.
    xdotool keydown k
    if e2e_wait_until "the hero on the screen" look standing; then
        stood=$hero_top
        xdotool keydown j
        e2e_check "J lifts the hero (its top from screen y $stood)" e2e_wait_until "the hero in the air" lifted
        echo "(up to screen y $hero_top)"
        xdotool keyup j
        e2e_check "it comes down again" e2e_wait_until "the hero back on the ground" landed

        # Pushed along by the view, the hero stands at its left edge by now; held Right runs it
        # forwards.
        from=$hero_right
        xdotool keydown Right
        e2e_check "held Right carries the hero forwards on the screen (its right side from x $from)" \
            e2e_wait_until "the hero further right" ran
        echo "(to x ${hero_right:-none})"
        xdotool keyup Right
        e2e_check "and it is still there, shooting (the shoot key held throughout)" shown "$E2E_TMP/running.ppm"
    else
        e2e_fail "the hero is on the screen when the game starts"
    fi
    xdotool keyup k
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "screenshots in $E2E_TMP"
    fi
    e2e_close "$win"
    e2e_wait_exit
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
fi

e2e_finish
