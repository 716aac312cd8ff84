#!/bin/bash
# The real player under Xvfb with a damaged loading picture and icon: a 22-byte QOI claiming
# 16000 x 16000 pixels as Default.png beside an icon.ico whose bitmap claims 30000 x 30000, then
# both as sparse files of 200 GB. Each time the window shows, each file is refused with its line,
# the player stays under 300 MB and closing the window ends it with 0. Then an icon.ico of one PNG
# image (48 x 48) is installed on the window.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
command -v python3 >/dev/null || e2e_skip "no python3 to write the bombs"
bombs="$2/tests/e2e/media_bombs.py"
game="$E2E_TMP/game"
"$E2E_BUILD/kxdata" write-sample "$game" >/dev/null || e2e_skip "kxdata could not write the sample game"
title="Sample Runner"
limit_kb=300000
e2e_start_xvfb 1280x800

# wait_log PATTERN: true once the player's standard error holds PATTERN (20 s at most).
wait_log() {
    local i
    for i in $(seq 1 200); do
        grep -qF -- "$1" "$E2E_ERR" && return 0
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# play NAME DEFAULT_LINE ICON_LINE: starts the player on $game, waits for its window and both
# lines, then closes it.
play() {
    local name="$1" default_line="$2" icon_line="$3" win hwm
    e2e_start_player "$game"
    if win=$(e2e_wait_window "$title"); then
        e2e_check "$name: Default.png is refused ($default_line)" wait_log "$default_line"
        e2e_check "$name: icon.ico is refused ($icon_line)" wait_log "$icon_line"
        hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$E2E_PID/status" 2>/dev/null)
        echo "$name: peak RSS ${hwm:-?} kB"
        e2e_check "$name: under $limit_kb kB (${hwm:-?} kB)" [ "${hwm:-$limit_kb}" -lt $limit_kb ]
        e2e_close "$win"
        e2e_wait_exit 20
        e2e_check "$name: closing the window ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    else
        e2e_fail "$name: no window titled $title"
        tail -n 20 "$E2E_ERR"
        e2e_stop_player
    fi
    e2e_check "$name: no sanitizer report" bash -c "! grep -qE 'runtime error:|AddressSanitizer' '$E2E_ERR'"
}

python3 "$bombs" qoi "$game/Default.png"
python3 "$bombs" ico "$game/icon.ico"
play bombs "image refused: Default.png: only PNG pictures are read, this is QOI" \
    "[KXPWindowIcon] icon.ico is not a usable icon file"

rm -f "$game/Default.png" "$game/icon.ico"
truncate -s 200G "$game/Default.png" "$game/icon.ico"
play sparse "file refused: Default.png has 214748364800 bytes" "[KXPWindowIcon] icon.ico is not a usable icon file"

# icon_shown WIN: true once the window carries a 48 x 48 icon.
icon_shown() {
    xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -qE "48 x 48|= 48, 48"
}

rm -f "$game/Default.png" "$game/icon.ico"
python3 "$bombs" ico-png "$game/icon.ico"
e2e_start_player "$game"
if win=$(e2e_wait_window "$title"); then
    e2e_check "png-icon: the window shows the icon's 48 x 48 PNG image" \
        e2e_wait_until "the 48 x 48 icon" icon_shown "$win"
    e2e_check "png-icon: no icon line" bash -c "! grep -q KXPWindowIcon '$E2E_ERR'"
    e2e_close "$win"
    e2e_wait_exit 20
else
    e2e_fail "png-icon: no window titled $title"
    e2e_stop_player
fi

e2e_finish
