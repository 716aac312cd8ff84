#!/bin/bash
# The real player under Xvfb on a level whose bodies pile up: 2,000 copies of the portal works'
# crate, 40 to a row, 2 points apart (tests/e2e/pile_level.py), so that one frame can take seconds.
# However long a frame takes, SIGTERM ends the player within 5 s with 0: the loop closes and saves
# when it comes round in time, else the player ends from outside the frame without saving. Either
# way the store on disk is whole (the last complete save: seeded here, so that one exists), with
# no temporary file beside it. The field has opened when it lays its first section ("add level
# section"). SIGTERM comes at once, 1 s and 3 s after that (a second signal at 1 s changes
# nothing); then the window's close button, which is answered only when the loop comes round, so it
# ends in time only while the frames over the pile stay short. Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
command -v xmllint >/dev/null || e2e_skip "no xmllint"
# The system interpreter, which has python3-msgpack.
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || e2e_skip "no python3-msgpack"
game="$E2E_TMP/pile"
"$E2E_BUILD/kxdata" write-demo --scenario portals-and-paths "$game" >/dev/null 2>&1 ||
    e2e_skip "kxdata could not write the portal works"
"$E2E_BUILD/kxdata" dump "$game" >"$E2E_TMP/dump" 2>/dev/null || e2e_skip "kxdata could not dump the portal works"
"$PY" "$2/tests/e2e/pile_level.py" "$E2E_TMP/dump" "$game" "Portal Works" --unit "Belt Crate" --copies 2000 \
    --row 40 --spacing 2 || e2e_skip "the pile level could not be made"
title="KX Portal Works"
store=$(e2e_store_path "$title")
quit_within=5
late_line='[KXPTermination] the game did not come round within 2 s: ending without saving'
e2e_start_xvfb 1280x800

now() {
    date +%s.%N
}

field_opened() {
    [ "$(e2e_log_count 'add level section')" -ge 1 ]
}

# since_field_opened SECONDS: that much time has passed since the field opened was seen.
since_field_opened() {
    awk -v now="$(now)" -v opened="$opened_at" -v wanted="$1" 'BEGIN { exit !(now - opened >= wanted) }'
}

store_whole() {
    xmllint --noout "$store" && grep -qF 'key="ZD_Version"' "$store" && grep -qF 'key="KXP_Scores"' "$store"
}

no_temporary_file() {
    ! compgen -G "$store.tmp*" >/dev/null
}

# open_pile: a store seeded, the player on the game, its window shown and the field opened (the
# moment kept in opened_at).
open_pile() {
    e2e_seed_store "$title" ZD_Version=seeded KXP_Scores= KXP_fullscreen=false
    e2e_start_player "$game"
    if ! win=$(e2e_wait_window "$title"); then
        e2e_fail "a window titled $title shows"
        return 1
    fi
    if ! e2e_wait_until "the field to open" field_opened; then
        e2e_fail "the field opens on the pile"
        return 1
    fi
    opened_at=$(now)
}

# ended_within WHAT: the player ended with 0 within $quit_within s, the store whole and alone.
ended_within() {
    local started took
    started=$(now)
    E2E_DEADLINE=$((quit_within * 2)) e2e_wait_exit
    took=$(awk -v a="$started" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
    echo "$1: the player ended $took s later with $E2E_STATUS"
    e2e_check "$1 ends the player within $quit_within s (took $took s)" \
        awk -v took="$took" -v limit="$quit_within" 'BEGIN { exit !(took <= limit) }'
    e2e_check "$1 ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
    e2e_check "$1 leaves the store whole" store_whole
    e2e_check "$1 leaves no temporary file beside the store" no_temporary_file
}

# ended_one_way WHAT: the loop closed and saved, or the player said once that it ended without.
ended_one_way() {
    local late
    late=$(e2e_log_count "$late_line")
    if [ "$late" = 0 ]; then
        echo "$1: the loop came round and closed"
        e2e_check "$1 closes the loop" grep -qF '[KXPTermination] asked to terminate: closing' "$E2E_ERR"
        e2e_check "$1 saves on the way out" awk 'index($0, "asked to terminate: closing") { seen = 1 }
            seen && /\[KXPSettingsController\] - save complete/ { ok = 1 } END { exit !ok }' "$E2E_ERR"
    else
        echo "$1: the player ended from outside the frame"
        e2e_check "$1 says once that it ended without saving (said $late times)" [ "$late" = 1 ]
    fi
}

# --- SIGTERM as soon as the field opened ---
if open_pile; then
    kill -TERM "$E2E_PID"
    ended_within "SIGTERM at once"
    ended_one_way "SIGTERM at once"
fi

# The waits below are the point of these cases, not waits for something: the signal comes that
# long after the field opened, into whatever the frames are doing by then.

# --- SIGTERM 1 s after, and SIGINT right behind it ---
if open_pile; then
    e2e_wait_until "1 s since the field opened" since_field_opened 1
    kill -TERM "$E2E_PID"
    kill -INT "$E2E_PID"
    ended_within "SIGTERM after 1 s"
    ended_one_way "SIGTERM after 1 s"
fi

# --- SIGTERM 3 s after ---
if open_pile; then
    e2e_wait_until "3 s since the field opened" since_field_opened 3
    kill -TERM "$E2E_PID"
    ended_within "SIGTERM after 3 s"
    ended_one_way "SIGTERM after 3 s"
fi

# --- the window's close button ---
if open_pile; then
    e2e_close "$win"
    ended_within "the close button"
    e2e_check "the close button saves on the way out" grep -qF '[KXPSettingsController] - save complete' "$E2E_ERR"
fi

e2e_finish
