#!/bin/bash
# The demo's hero in the real player under Xvfb, watched on the screen: the jump key (J) lifts it
# above where it stood, and held Right carries it forwards against the scrolling view, where left
# alone it is pushed along at the view's left edge. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
demo="$E2E_TMP/demo"
"$E2E_BUILD/kxdata" write-demo "$demo" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-demo failed"
title="KX Demo"
menu_colour="8 48 76"
game_colour="250 210 60"

# hero SHOT: "RIGHT TOP" of the hero's red body in screen pixels, or nothing. Only the band between
# the crabs' backs and the red pennant on its pole (design y 125 to 290), left of the middle, is
# searched: the hero is the only red there.
hero() {
    local left top right bottom box
    read -r left top <<<"$(e2e_at 0 290)"
    read -r right bottom <<<"$(e2e_at 700 125)"
    box=$(convert "$1" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        -fuzz 9% -fill black +opaque "rgb(230,80,70)" -fill white -opaque "rgb(230,80,70)" \
        -format "%@" info: 2>/dev/null)
    # WxH+X+Y of the white pixels; a blank crop gives a 1x1 box or fails.
    [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    [ "${BASH_REMATCH[1]}" -gt 4 ] && [ "${BASH_REMATCH[2]}" -gt 4 ] || return 1
    echo "$((left + BASH_REMATCH[3] + BASH_REMATCH[1])) $((top + BASH_REMATCH[4]))"
}

shown() { # SHOT: the hero is on it
    hero "$1" >/dev/null
}

further() { # FROM TO: both known, TO more than 15 pixels right of FROM
    [ -n "$1" ] && [ -n "$2" ] && [ "$2" -gt $(($1 + 15)) ]
}

e2e_start_xvfb 1920x1080
e2e_start_player "$demo"
if win=$(e2e_wait_window "$title"); then
    read -r x y w h <<<"$(e2e_geometry "$win")"
    xdotool mousemove --window "$win" 5 5
    e2e_check "the menu shows" e2e_wait_colour "$menu_colour" 40 "$E2E_TMP/menu.png"
    # Keys reach the menu's buttons once its opening animation has run.
    sleep 1
    xdotool key --delay 120 Up Return
    e2e_check "PLAY starts the game" e2e_wait_colour "$game_colour" 20 "$E2E_TMP/game.png" 72 600

    # The view scrolls on and pushes the hero into whatever rolls or walks ahead of it: it keeps
    # shooting (K held) through the whole test, which clears the way.
    xdotool keydown k
    sleep 0.5
    e2e_screenshot "$E2E_TMP/standing.png"
    if read -r _ stood < <(hero "$E2E_TMP/standing.png"); then
        # J held; the highest of a few looks over half a second counts (a loaded machine runs
        # fewer frames in that time).
        xdotool keydown j
        flew=$stood
        for shot in 1 2 3 4; do
            sleep 0.12
            e2e_screenshot "$E2E_TMP/jumping_$shot.png"
            if read -r _ top < <(hero "$E2E_TMP/jumping_$shot.png"); then
                [ "$top" -lt "$flew" ] && flew=$top
            fi
        done
        xdotool keyup j
        e2e_check "J lifts the hero (its top from screen y $stood to $flew)" [ "$flew" -lt $((stood - 40)) ]
        sleep 1

        # Pushed along by the view, the hero stands at its left edge by now; held Right runs it
        # forwards (until something in the way ends it: the furthest of a few looks counts).
        e2e_screenshot "$E2E_TMP/before_right.png"
        read -r from _ < <(hero "$E2E_TMP/before_right.png") || from=
        xdotool keydown Right
        furthest=
        for shot in 1 2 3; do
            sleep 0.2
            e2e_screenshot "$E2E_TMP/right_$shot.png"
            if read -r to _ < <(hero "$E2E_TMP/right_$shot.png"); then
                [ -z "$furthest" ] || [ "$to" -gt "$furthest" ] && furthest=$to
            fi
        done
        xdotool keyup Right
        e2e_check "and it is still there, shooting (the shoot key held throughout)" shown "$E2E_TMP/right_3.png"
        e2e_check "held Right carries the hero forwards on the screen (its right side from x ${from:-none} to ${furthest:-none})" \
            further "$from" "$furthest"
    else
        e2e_fail "the hero is on the screen when the game starts"
    fi
    xdotool keyup k
    if [ "${E2E_KEEP:-0}" = 1 ]; then
        echo "screenshots in $E2E_TMP"
    fi
    e2e_close "$win"
    e2e_wait_exit 15
    e2e_check "closing the window ends it with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "no window titled $title"
fi

e2e_finish
