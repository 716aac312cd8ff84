#!/bin/bash
# kxsim on the demo game: the loading counter climbs to 100, the first menu opens, a touch on Play
# opens the game scene and the heads-up MENU button leads back; a run repeats exactly; --open, the
# store dump, screenshots, a game that cannot load and one whose start leads nowhere.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
demo="$work/demo"
write_demo "$demo"

# Loading takes a frame a file, so the menu's frame moves as the demo grows: a first run finds it.
menu_at=$("$kxsim" "$demo" --frames 900 --trace screens 2>/dev/null |
    sed -n 's/^F=\([0-9]*\) screen open key=KXPScreenMainMenu$/\1/p' | head -1)
[ -n "$menu_at" ] || { echo "FAIL: the menu never opens"; exit 1; }
# PLAY (design 568,420) once the menu is up, then the heads-up screen's MENU (966,595).
tap=$((menu_at + 10))
script=(--frames $((tap + 90)) --trace screens,loading --touch $tap:began:568,420 --touch $((tap + 1)):ended:568,420
        --touch $((tap + 60)):began:966,595 --touch $((tap + 61)):ended:966,595)
"$kxsim" "$demo" "${script[@]}" >"$work/trace" 2>"$work/log"
check "a run ends with 0" [ $? = 0 ]
grep -o 'loading progress=[0-9]*' "$work/trace" | cut -d= -f2 >"$work/progress"
check "the loading counter only climbs" awk 'NR > 1 && $1 < last { bad = 1 } { last = $1 } END { exit bad }' "$work/progress"
check "it reaches 100" [ "$(tail -n 1 "$work/progress")" = 100 ]
check "loading takes many frames" [ "$(wc -l <"$work/progress")" -gt 20 ]
grep 'screen open' "$work/trace" | sed 's/.*key=//' | tr '\n' ' ' >"$work/screens"
check "loading screen, menu, game scene with its heads-up screen, menu ($(cat "$work/screens"))" \
    [ "$(cat "$work/screens")" = "KXPScreenStart KXPScreenMainMenu world1 hud KXPScreenMainMenu " ]
first_load=$(grep -m1 'loading progress' "$work/trace" | sed 's/^F=\([0-9]*\).*/\1/')
check "the first file loads on the tenth frame (frame $first_load)" [ "$first_load" = 10 ]
menu_frame=$(grep -m1 'key=KXPScreenMainMenu' "$work/trace" | sed 's/^F=\([0-9]*\).*/\1/')
last_load=$(grep 'loading progress' "$work/trace" | tail -n 1 | sed 's/^F=\([0-9]*\).*/\1/')
check "the menu opens with the last file (frame $menu_frame)" [ "$menu_frame" = "$last_load" ]
play_frame=$(grep -m1 'key=world1' "$work/trace" | sed 's/^F=\([0-9]*\).*/\1/')
check "the game scene opens after the menu's closing animation (frame $play_frame)" \
    [ "$play_frame" -ge $((tap + 10)) ] && [ "$play_frame" -le $((tap + 16)) ]

"$kxsim" "$demo" "${script[@]}" >"$work/again" 2>/dev/null
check "a second run traces the same" cmp -s "$work/trace" "$work/again"

"$kxsim" "$demo" --frames $((menu_at + 5)) --open shop --trace screens --dump-store >"$work/open" 2>/dev/null
check "--open goes straight to the shop" grep -q 'screen open key=shop$' "$work/open"
check "the main menu is not opened then" bash -c "! grep -q 'key=KXPScreenMainMenu' '$work/open'"
check "the store is dumped as key=value" grep -qx 'KXP_fullscreen=false' "$work/open"
"$kxsim" "$demo" --frames $((menu_at + 5)) --open nowhere >/dev/null 2>"$work/nowhere"
check "--open of an unknown key fails with 2" [ $? = 2 ]
check "saying why" grep -q '^error: no screen with the key nowhere' "$work/nowhere"

# Screenshot paths are taken from where kxsim starts.
(cd "$work" && "$kxsim" "$demo" --frames $((menu_at + 10)) --screenshot 60:loading.png \
    --screenshot $((menu_at + 5)):menu.png \
    >/dev/null 2>"$work/shots")
if [ -f "$work/loading.png" ] && [ -f "$work/menu.png" ]; then
    check "the loading screen and the menu look different" bash -c "! cmp -s '$work/loading.png' '$work/menu.png'"
else
    echo "no offscreen GL here: screenshots not compared"
fi

cp -r "$demo" "$work/broken"
rm "$work/broken/data/Keys.pack"
"$kxsim" "$work/broken" --frames 30 >/dev/null 2>"$work/broken.err"
check "a game that cannot load ends with 2" [ $? = 2 ]
check "with an error line" grep -q '^error: ' "$work/broken.err"
# The start node's ports under key ids the game's key table lacks: the error names the file and key.
PY=$(command -v /usr/bin/python3 || command -v python3)
cp -r "$demo" "$work/nowhere-start"
if "$PY" "$2/tests/e2e/unknown_port_keys.py" "$work/nowhere-start/data/KXNodeUIStart.0.connections.pack"; then
    "$kxsim" "$work/nowhere-start" --frames $((menu_at + 5)) >/dev/null 2>"$work/nowhere-start.err"
    check "a start that leads nowhere ends with 2" [ $? = 2 ]
    check "naming the file and the key it could not read" \
        grep -q '^error: the start node leads to no screen.*KXNodeUIStart\.0\.connections\.pack.*unknown key id 9999' \
        "$work/nowhere-start.err"
else
    echo "FAIL: the start node's ports could not be moved (python3-msgpack)"
    status=1
fi
"$kxsim" "$demo" --touch 5:sideways:1,2 >/dev/null 2>&1
check "a bad option ends with 1" [ $? = 1 ]
exit $status
