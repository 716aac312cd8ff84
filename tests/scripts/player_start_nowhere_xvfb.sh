#!/bin/bash
# The real player on a game whose start node's ports are stored under key ids the game's key table
# lacks: the load ends with no first screen. The player says why (the file it could not read and
# the key) and ends with 2, window and all, instead of showing a full loading bar for ever.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/lib.sh"
e2e_setup "$1" "$2" demo 1280x800
PY=$(command -v /usr/bin/python3 || command -v python3)
"$PY" "$E2E_SRC/tests/e2e/unknown_port_keys.py" "$E2E_GAME/data/KXNodeUIStart.0.connections.pack" ||
    e2e_skip "the start node's ports could not be moved (python3-msgpack)"

if e2e_open; then
    e2e_wait_exit
    e2e_check "the player ends with 2 (got $E2E_STATUS)" [ "$E2E_STATUS" = 2 ]
    e2e_check "saying that the start leads nowhere" grep -qF 'the start node leads to no screen' "$E2E_ERR"
    e2e_check "and why: the file and the unknown key" \
        grep -q '^kxplayer: .*KXNodeUIStart\.0\.connections\.pack.*unknown key id 9999' "$E2E_ERR"
    e2e_check "its window is gone" bash -c "! xdotool search --name '^$E2E_TITLE\$' >/dev/null 2>&1"
fi

e2e_finish
