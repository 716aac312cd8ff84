# Shared helpers of the end-to-end tests: the real kxplayer in a real X server (Xvfb), driven and
# watched from outside.
#
# Usage, in a tests/scripts/*.sh test (called by CTest with the build and source folders):
#
#   source "$2/tests/e2e/lib.sh"
#   e2e_setup "$1" "$2" demo 1920x1080     # temp HOME, audio to a file, the game written (demo or
#                                          # sample) to $E2E_GAME, a fresh Xvfb of that size;
#                                          # skips (exit 77) without the tools
#   if e2e_open; then                      # kxplayer on the game, its window shown and at its size:
#                                          # win, x, y, w, h; the pointer over it
#       e2e_check "the menu shows" e2e_wait_colour "8 48 76" "$E2E_TMP/menu.png"
#       e2e_click_design "$win" 568 335    # a click at a point of the game's design area
#       e2e_key "$win" Escape              # keys through XTEST with the pointer over the window
#       e2e_keys "$win" Up Return          # the same, returning once the player logged the last
#       e2e_wait_log "keyBackClicked" 1    # waits for a line of the player's log
#       e2e_close "$win"                   # WM_DELETE_WINDOW, as a window manager's close button
#       e2e_wait_exit                      # $E2E_STATUS: the player's exit status (124: killed)
#   fi
#   coins=$(store_coins "$E2E_STORE")      # the store's readers: tests/e2e/store.sh
#   e2e_finish                             # stops everything, exits 1 if any check failed
#
# Waits poll what they wait for until E2E_DEADLINE seconds (90 by default) have passed; a wait that
# runs out says what it waited for. Never wait a fixed time: a loaded machine runs the player
# slower than any guess. The lower steps of e2e_setup and e2e_open (e2e_init, e2e_start_xvfb,
# e2e_start_player, e2e_wait_window, e2e_settle) serve tests that start the player their own way.
#
# The player's store lives in $HOME/.local/share/kxplayer/<Application Name>/UserDefault.xml
# (see e2e_store_path). Everything under $E2E_TMP (in $TMPDIR, or /tmp) is removed at exit unless
# E2E_KEEP=1.

source "$(dirname "${BASH_SOURCE[0]}")/store.sh"

E2E_SKIP=77
E2E_FAILED=0
E2E_PID=
E2E_XVFB_PID=
E2E_DEADLINE=${E2E_DEADLINE:-90}

e2e_skip() {
    echo "SKIP: $*"
    exit "$E2E_SKIP"
}

e2e_fail() {
    echo "FAIL: $*"
    E2E_FAILED=1
}

# e2e_check DESCRIPTION COMMAND...: runs the command; a false result is a failure.
e2e_check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
    else
        e2e_fail "$what"
    fi
}

# e2e_wait_until WHAT COMMAND...: runs the command every fifth of a second until it succeeds; false,
# saying so on standard error, after E2E_DEADLINE seconds or as soon as the player has ended.
e2e_wait_until() {
    local what="$1" end=$((SECONDS + E2E_DEADLINE))
    shift
    while :; do
        "$@" && return 0
        if [ -n "$E2E_PID" ] && ! kill -0 "$E2E_PID" 2>/dev/null; then
            echo "the player ended while waiting for $what" >&2
            return 1
        fi
        if [ -n "${E2E_TMP:-}" ] && [ ! -d "$E2E_TMP" ]; then
            echo "$E2E_TMP was removed from outside while waiting for $what" >&2
            return 1
        fi
        [ "$SECONDS" -lt "$end" ] || break
        sleep 0.2
    done
    echo "timed out after $E2E_DEADLINE s waiting for $what" >&2
    return 1
}

e2e_init() {
    E2E_BUILD=$(cd "$1" && pwd)
    E2E_SRC=$(cd "$2" && pwd)
    local tool
    for tool in Xvfb xdotool xwininfo import convert cc; do
        command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (bash scripts/setup)"
    done
    [ -x "$E2E_BUILD/kxplayer" ] || e2e_skip "no $E2E_BUILD/kxplayer"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kxe2e.XXXXXX")
    trap e2e_cleanup EXIT
    export HOME="$E2E_TMP/home"
    mkdir -p "$HOME"
    unset XDG_DATA_HOME
    export SDL_AUDIODRIVER=disk
    export SDL_DISKAUDIOFILE="$E2E_TMP/audio.raw"
    E2E_XCLOSE="$E2E_TMP/xclose"
    cc -O1 -o "$E2E_XCLOSE" "$E2E_SRC/tests/e2e/xclose.c" -lX11 || e2e_skip "cannot build the close helper (libx11-dev)"
}

# e2e_setup BUILD SOURCE demo|sample [WIDTHxHEIGHT]: e2e_init, the game that kxdata writes
# (write-demo or write-sample) in $E2E_GAME with its title in $E2E_TITLE and its store's path in
# $E2E_STORE, then Xvfb (1920x1080 by default).
e2e_setup() {
    e2e_init "$1" "$2"
    [ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
    E2E_GAME="$E2E_TMP/$3"
    case "$3" in
    demo) E2E_TITLE="KX Demo" ;;
    sample) E2E_TITLE="Sample Runner" ;;
    *) e2e_skip "no game called $3" ;;
    esac
    "$E2E_BUILD/kxdata" "write-$3" "$E2E_GAME" >/dev/null 2>"$E2E_TMP/write.err" || e2e_skip "kxdata write-$3 failed"
    E2E_STORE=$(e2e_store_path "$E2E_TITLE")
    e2e_start_xvfb "${4:-1920x1080}"
}

# e2e_open [PLAYER OPTIONS...]: kxplayer on $E2E_GAME; waits for its window and for the window's
# size (e2e_settle), moves the pointer over it. False, with a failure recorded, when no window shows.
e2e_open() {
    e2e_start_player "$E2E_GAME" "$@"
    if ! win=$(e2e_wait_window "$E2E_TITLE"); then
        e2e_fail "a window titled $E2E_TITLE shows"
        return 1
    fi
    e2e_check "the window takes its size" e2e_settle "$win"
    xdotool mousemove --window "$win" 5 5
}

e2e_cleanup() {
    e2e_stop_player
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=
    fi
    if [ -n "${E2E_TMP:-}" ] && [ "${E2E_KEEP:-0}" != 1 ]; then
        rm -rf "$E2E_TMP"
    fi
}

e2e_display_answers() {
    DISPLAY="$1" xdotool getdisplaygeometry >/dev/null 2>&1
}

e2e_xvfb_gone() {
    ! kill -0 "$E2E_XVFB_PID" 2>/dev/null
}

# e2e_start_xvfb [WIDTHxHEIGHT]: starts Xvfb on the first free display from :90 and waits for it.
e2e_start_xvfb() {
    local size="${1:-1280x800}" n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -wr -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        # Either the server answers, or it ended (the display was taken by a server started at
        # the same moment): then the next display.
        if e2e_wait_until "Xvfb on :$n" e2e_display_answers_or_gone ":$n" && ! e2e_xvfb_gone; then
            export DISPLAY=":$n"
            return 0
        fi
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=
    done
    e2e_skip "no Xvfb display could be started"
}

e2e_display_answers_or_gone() {
    e2e_display_answers "$1" || e2e_xvfb_gone
}

# e2e_start_player [ARGS...]: kxplayer in the background.
e2e_start_player() {
    E2E_OUT="$E2E_TMP/player.out"
    E2E_ERR="$E2E_TMP/player.err"
    "$E2E_BUILD/kxplayer" "$@" >"$E2E_OUT" 2>"$E2E_ERR" &
    E2E_PID=$!
}

# e2e_find_window TITLE: prints the id of a visible window with exactly that title, or fails.
e2e_find_window() {
    local id
    id=$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# e2e_wait_window TITLE: prints the id of the player's visible window with that exact title; fails
# when none appears in time or the player ends.
e2e_wait_window() {
    e2e_wait_until "a window titled $1" e2e_find_window "$1"
}

# e2e_geometry WINDOW: prints "X Y WIDTH HEIGHT" (position on the screen, client size).
e2e_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

# e2e_screen_size: prints "WIDTH HEIGHT" of the screen.
e2e_screen_size() {
    xdotool getdisplaygeometry
}

# e2e_placed_at WINDOW "X Y W H"...: the window (its place and size kept in x, y, w and h) is at one
# of these.
e2e_placed_at() {
    local win="$1" want
    shift
    read -r x y w h <<<"$(e2e_geometry "$win")"
    for want in "$@"; do
        [ "$x $y $w $h" = "$want" ] && return 0
    done
    return 1
}

# e2e_settle WINDOW: the window shows at a first size and takes its own a moment later; waits for
# that: half the screen in its middle (windowed), or all of it (full screen). Leaves the window's
# place and size in x, y, w and h.
e2e_settle() {
    local sw sh
    read -r sw sh <<<"$(e2e_screen_size)"
    e2e_wait_until "the window at half the screen or all of it" e2e_placed_at "$1" \
        "$((sw / 4)) $((sh / 4)) $((sw / 2)) $((sh / 2))" "0 0 $sw $sh"
}

# e2e_wait_place WINDOW "X Y W H": waits for the window to take that place and size.
e2e_wait_place() {
    e2e_wait_until "the window at $2" e2e_placed_at "$1" "$2"
}

# e2e_screenshot FILE [WINDOW]: a PNG of the screen or of one window.
e2e_screenshot() {
    import -window "${2:-root}" "$1"
}

# e2e_pixel FILE X Y: prints the pixel's colour as #RRGGBB.
e2e_pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# e2e_rgb FILE X Y: prints the pixel's colour as "R G B".
e2e_rgb() {
    local hex
    hex=$(e2e_pixel "$1" "$2" "$3")
    [ -n "$hex" ] || return 1
    echo "$((16#${hex:1:2})) $((16#${hex:3:2})) $((16#${hex:5:2}))"
}

# e2e_near FILE X Y "R G B": the pixel is within 28 of that colour in every channel.
e2e_near() {
    local r g b
    read -r r g b <<<"$(e2e_rgb "$1" "$2" "$3")" || return 1
    [ -n "$b" ] || return 1
    set -- $4
    [ $((r > $1 ? r - $1 : $1 - r)) -le 28 ] && [ $((g > $2 ? g - $2 : $2 - g)) -le 28 ] &&
        [ $((b > $3 ? b - $3 : $3 - b)) -le 28 ]
}

# e2e_at DESIGN_X DESIGN_Y: the screen point, as "X Y", of a point of the game's design area (y up,
# 640 high) in the window whose place and height the script keeps in x, y and h (e2e_geometry).
e2e_at() {
    awk -v dx="$1" -v dy="$2" -v x="$x" -v y="$y" -v h="$h" \
        'BEGIN { s = h / 640; printf "%d %d\n", x + dx * s, y + h - dy * s }'
}

# e2e_shows SHOT DESIGN_X DESIGN_Y "R G B": that design point of the screenshot is near the colour.
e2e_shows() {
    e2e_near "$1" $(e2e_at "$2" "$3") "$4"
}

# e2e_shot_shows SHOT PX PY "R G B": takes the screenshot, then tests that screen point.
e2e_shot_shows() {
    e2e_screenshot "$1" 2>/dev/null && e2e_near "$1" "$2" "$3" "$4"
}

# e2e_wait_colour "R G B" SHOT [DESIGN_X DESIGN_Y]: screenshots into SHOT until that point (by
# default 10 pixels in from the window's bottom-left corner) shows the colour.
e2e_wait_colour() {
    local px py
    if [ $# -ge 4 ]; then
        read -r px py <<<"$(e2e_at "$3" "$4")"
    else
        px=$((x + 10))
        py=$((y + h - 10))
    fi
    e2e_wait_until "the colour $1 at $px,$py" e2e_shot_shows "$2" "$px" "$py" "$1"
}

# e2e_key WINDOW KEY...: key presses (xdotool names) with the pointer over the window.
e2e_key() {
    local win="$1"
    shift
    xdotool mousemove --window "$win" 5 5 key --delay 120 "$@"
}

# e2e_keys WINDOW KEY...: key presses as e2e_key; returns once the player has logged the release
# of the last key (a letter is logged in lower case).
e2e_keys() {
    local win="$1" last="${!#}" released
    shift
    [ ${#last} = 1 ] && last="${last,,}"
    released=$(e2e_log_count "KeyReleased {$last}")
    e2e_key "$win" "$@"
    e2e_wait_log "KeyReleased {$last}" $((released + 1))
}

# e2e_click WINDOW X Y: a left click at a point of the window.
e2e_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# e2e_click_design WINDOW DESIGN_X DESIGN_Y: a left click at a point of the game's design area.
e2e_click_design() {
    local px py
    read -r px py <<<"$(e2e_at "$2" "$3")"
    e2e_click "$1" $((px - x)) $((py - y))
}

e2e_close() {
    "$E2E_XCLOSE" "$1"
}

# e2e_log_count TEXT: how many lines of the player's log hold that text.
e2e_log_count() {
    grep -cF -- "$1" "$E2E_ERR"
}

e2e_log_reaches() {
    [ "$(e2e_log_count "$1")" -ge "$2" ]
}

# e2e_wait_log TEXT N: waits until N lines of the player's log hold that text.
e2e_wait_log() {
    e2e_wait_until "line $2 of \"$1\" in the player's log" e2e_log_reaches "$1" "$2"
}

e2e_player_gone() {
    ! kill -0 "$E2E_PID" 2>/dev/null
}

# e2e_wait_exit: waits for the player and sets E2E_STATUS to its exit status; kills it after the
# deadline and sets 124. (Not in a $(...) subshell: only this shell can wait for it.)
e2e_wait_exit() {
    E2E_STATUS=124
    local pid="$E2E_PID"
    # Cleared while waiting: the player's end is what this wait is for, not a reason to give up.
    E2E_PID=
    if e2e_wait_until "the player to end" e2e_pid_gone "$pid"; then
        wait "$pid"
        E2E_STATUS=$?
        return 0
    fi
    E2E_PID="$pid"
    e2e_stop_player
}

e2e_pid_gone() {
    ! kill -0 "$1" 2>/dev/null
}

# e2e_stop_player: asks the player to end, and kills it when it has not within ten seconds.
e2e_stop_player() {
    if [ -n "$E2E_PID" ]; then
        local pid="$E2E_PID"
        E2E_PID=
        kill "$pid" 2>/dev/null
        E2E_DEADLINE=10 e2e_wait_until "the player to end after SIGTERM" e2e_pid_gone "$pid" 2>/dev/null ||
            kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
}

# e2e_store_path APPLICATION_NAME: where the player keeps that game's store.
e2e_store_path() {
    echo "$HOME/.local/share/kxplayer/$1/UserDefault.xml"
}

# e2e_seed_store APPLICATION_NAME KEY=VALUE...: writes a store file with these entries.
e2e_seed_store() {
    local path
    path=$(e2e_store_path "$1")
    shift
    mkdir -p "$(dirname "$path")"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<userDefaultRoot>'
        local pair
        for pair in "$@"; do
            echo "  <entry key=\"${pair%%=*}\" value=\"${pair#*=}\" />"
        done
        echo '</userDefaultRoot>'
    } >"$path"
}

e2e_finish() {
    if [ "$E2E_FAILED" != 0 ] && [ -n "${E2E_ERR:-}" ] && [ -f "$E2E_ERR" ]; then
        echo "--- the player's last log lines:"
        tail -n 30 "$E2E_ERR"
    fi
    e2e_cleanup
    trap - EXIT
    [ "$E2E_FAILED" = 0 ] || exit 1
    exit 0
}
