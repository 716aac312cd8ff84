#!/bin/bash
# The real player under Xvfb closed while it loads a large game: the portal works with its section
# copied 20,000 times, the copies sharing its objects (each object then has 20,001 parents). Each
# loading step stays short however many links a model has, so the window's close button, pressed
# when the loading reaches the sections' links, ends the player within 3 s with 0. Args: build
# folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_init "$1" "$2"
[ -x "$E2E_BUILD/kxdata" ] || e2e_skip "no kxdata"
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" -c 'import msgpack' 2>/dev/null || e2e_skip "no python3-msgpack"
game="$E2E_TMP/copies"
"$E2E_BUILD/kxdata" write-demo --scenario portals-and-paths "$game" >/dev/null 2>&1 ||
    e2e_skip "kxdata could not write the portal works"
"$E2E_BUILD/kxdata" dump "$game" >"$E2E_TMP/dump" 2>/dev/null || e2e_skip "kxdata could not dump the portal works"
"$PY" "$2/tests/e2e/pile_level.py" "$E2E_TMP/dump" "$game" "Portal Works" --copy-section 20000 ||
    e2e_skip "the level could not be made"
title="KX Portal Works"
quit_within=3
e2e_start_xvfb 1280x800

e2e_start_player "$game"
links_line='load data(1) for class from file: data/KXModelLevelSection.0.connections.pack'
if win=$(e2e_wait_window "$title") && e2e_wait_log "$links_line" 1; then
    started=$(date +%s.%N)
    e2e_close "$win"
    E2E_DEADLINE=$((quit_within * 4)) e2e_wait_exit
    took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    echo "closed $( [ "$(e2e_log_count 'add level section')" = 0 ] && echo 'while loading' || echo 'after loading'):" \
        "the player ended $took s later with $E2E_STATUS"
    e2e_check "the close button ends the player within $quit_within s (took $took s)" \
        awk -v took="$took" -v limit="$quit_within" 'BEGIN { exit !(took <= limit) }'
    e2e_check "the close button ends the player with 0 (got $E2E_STATUS)" [ "$E2E_STATUS" = 0 ]
else
    e2e_fail "a window titled $title shows and the loading reaches the sections' links"
fi

e2e_finish
