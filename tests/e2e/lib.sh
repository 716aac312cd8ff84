# Shared helpers of the end-to-end tests: the real kxplayer in a real X server (Xvfb), driven and
# watched from outside.
#
# Usage, in a tests/scripts/*.sh test (called by CTest with the build and source folders):
#
#   source "$2/tests/e2e/lib.sh"
#   e2e_init "$1" "$2"              # temp folder, HOME, audio to a file; skips (exit 77) without the tools
#   e2e_start_xvfb 1280x800         # a fresh Xvfb on a free display (white root window); sets DISPLAY
#   "$E2E_BUILD/kxdata" write-sample "$E2E_TMP/game" >/dev/null
#   e2e_start_player "$E2E_TMP/game"       # kxplayer in the background: $E2E_PID, $E2E_OUT, $E2E_ERR
#   win=$(e2e_wait_window "Sample Runner") || e2e_fail "no window"
#   read -r x y w h <<< "$(e2e_geometry "$win")"
#   e2e_screenshot "$E2E_TMP/shot.png"     # the whole screen (or: e2e_screenshot FILE WINDOW)
#   e2e_pixel "$E2E_TMP/shot.png" 10 10    # prints #RRGGBB
#   e2e_key "$win" Escape                  # keys through XTEST with the pointer over the window
#   e2e_click "$win" 100 50                # left click at a point of the window
#   e2e_close "$win"                       # WM_DELETE_WINDOW, as a window manager's close button
#   e2e_wait_exit 10                       # $E2E_STATUS: the player's exit status (124: killed after the timeout)
#   e2e_check "text" test-condition...     # records a failure when the condition is false
#   e2e_finish                             # stops everything, exits 1 if any check failed
#
# The player's store lives in $HOME/.local/share/kxplayer/<Application Name>/UserDefault.xml
# (see e2e_store_path). Everything under $E2E_TMP is removed at exit unless E2E_KEEP=1.

E2E_SKIP=77
E2E_FAILED=0
E2E_PID=
E2E_XVFB_PID=

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

e2e_init() {
    E2E_BUILD=$(cd "$1" && pwd)
    E2E_SRC=$(cd "$2" && pwd)
    local tool
    for tool in Xvfb xdotool xwininfo import convert cc; do
        command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (bash scripts/setup)"
    done
    [ -x "$E2E_BUILD/kxplayer" ] || e2e_skip "no $E2E_BUILD/kxplayer"
    E2E_TMP=$(mktemp -d /tmp/kxe2e.XXXXXX)
    trap e2e_cleanup EXIT
    export HOME="$E2E_TMP/home"
    mkdir -p "$HOME"
    unset XDG_DATA_HOME
    export SDL_AUDIODRIVER=disk
    export SDL_DISKAUDIOFILE="$E2E_TMP/audio.raw"
    E2E_XCLOSE="$E2E_TMP/xclose"
    cc -O1 -o "$E2E_XCLOSE" "$E2E_SRC/tests/e2e/xclose.c" -lX11 || e2e_skip "cannot build the close helper (libx11-dev)"
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

# e2e_start_xvfb [WIDTHxHEIGHT]: starts Xvfb on the first free display from :90 and waits for it.
e2e_start_xvfb() {
    local size="${1:-1280x800}" n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${size}x24" -wr -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        local tries
        for tries in $(seq 1 100); do
            if DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        # Taken by a server started at the same moment, or too slow: try the next display.
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=
    done
    e2e_skip "no Xvfb display could be started"
}

# e2e_start_player [ARGS...]: kxplayer in the background.
e2e_start_player() {
    E2E_OUT="$E2E_TMP/player.out"
    E2E_ERR="$E2E_TMP/player.err"
    "$E2E_BUILD/kxplayer" "$@" >"$E2E_OUT" 2>"$E2E_ERR" &
    E2E_PID=$!
}

# e2e_wait_window TITLE [SECONDS]: prints the id of the player's visible window with that exact
# title; fails when none appears in time or the player ends.
e2e_wait_window() {
    local title="$1" seconds="${2:-20}" i id
    for i in $(seq 1 $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        [ -n "$E2E_PID" ] && ! kill -0 "$E2E_PID" 2>/dev/null && return 1
        sleep 0.1
    done
    return 1
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

# e2e_screenshot FILE [WINDOW]: a PNG of the screen or of one window.
e2e_screenshot() {
    import -window "${2:-root}" "$1"
}

# e2e_pixel FILE X Y: prints the pixel's colour as #RRGGBB.
e2e_pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# e2e_wait_width WINDOW WIDTH: the window shows at a first size and takes its own a moment later;
# waits up to 5 s for that width and leaves the window's place and size in x, y, w and h.
e2e_wait_width() {
    local i
    for i in $(seq 1 50); do
        read -r x y w h <<<"$(e2e_geometry "$1")"
        [ "$w" = "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# e2e_near FILE X Y "R G B": the pixel is within 28 of that colour in every channel.
e2e_near() {
    local hex r g b
    hex=$(e2e_pixel "$1" "$2" "$3")
    r=$((16#${hex:1:2}))
    g=$((16#${hex:3:2}))
    b=$((16#${hex:5:2}))
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

# e2e_wait_colour "R G B" SECONDS SHOT [DESIGN_X DESIGN_Y]: screenshots into SHOT until that point
# (by default 10 pixels in from the window's bottom-left corner) shows the colour; false when it
# never does within SECONDS.
e2e_wait_colour() {
    local i px py
    if [ $# -ge 5 ]; then
        read -r px py <<<"$(e2e_at "$4" "$5")"
    else
        px=$((x + 10))
        py=$((y + h - 10))
    fi
    for i in $(seq 1 $(($2 * 4))); do
        e2e_screenshot "$3"
        e2e_near "$3" "$px" "$py" "$1" && return 0
        sleep 0.25
    done
    return 1
}

# e2e_key WINDOW KEY...: key presses (xdotool names) with the pointer over the window.
e2e_key() {
    local win="$1"
    shift
    xdotool mousemove --window "$win" 5 5 key --delay 50 "$@"
}

# e2e_click WINDOW X Y: a left click at a point of the window.
e2e_click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

e2e_close() {
    "$E2E_XCLOSE" "$1"
}

# e2e_wait_exit [SECONDS]: waits for the player and sets E2E_STATUS to its exit status; kills it
# after the timeout and sets 124. (Not in a $(...) subshell: only this shell can wait for it.)
e2e_wait_exit() {
    local seconds="${1:-10}" i
    E2E_STATUS=124
    for i in $(seq 1 $((seconds * 10))); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            wait "$E2E_PID"
            E2E_STATUS=$?
            E2E_PID=
            return 0
        fi
        sleep 0.1
    done
    e2e_stop_player
}

e2e_stop_player() {
    if [ -n "$E2E_PID" ]; then
        kill "$E2E_PID" 2>/dev/null
        sleep 0.5
        kill -9 "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
        E2E_PID=
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
