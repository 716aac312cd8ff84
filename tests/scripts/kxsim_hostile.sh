#!/bin/bash
# kxsim on the hostile game (the demo with zero and negative scales, NaN and huge numbers, unknown
# kind texts, dangling media references, related classes where one exact class is expected, a
# button "Interval" of 0.5, missing media files and shaders, and its hall of edges: a background
# tiled with a large negative offset, a mirror of scale 0, a light of radius 0 under 100 blockers,
# a trail of length 0, portals that neither swallow nor wear out, a path left behind while it
# carries, a powerup button naming no asset, a review request after 0 plays, a selector without
# spread), and its runaway field (the damaged game speed that throws the camera to 1e30, the hero
# placed 1e30 away). Each recipe tests/e2e/scenarios/hostile-data*.args is run (up to 3,000 frames)
# with a stored selected character of -1 or 99, the hall's once more drawn offscreen and once
# without any texture or sound: each plays all its frames and ends with 0, without a sanitizer
# report (nor a leak report), within a bounded memory, and plays: a game scene is entered and a
# character, traced over at least 200 frames, moves.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
[ -x /usr/bin/time ] || { echo "SKIP: no /usr/bin/time to measure memory"; exit 77; }
# Nothing the damaged game makes may be left unfreed at exit either.
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$2/tests/lsan.supp}
game="$work/hostile"
"$kxdata" write-demo --scenario hostile "$game" >"$work/write.out" 2>"$work/write.err" ||
    { echo "write-demo --scenario hostile failed"; cat "$work/write.err"; exit 1; }
# About four times what a run takes with the sanitizers (160 MB): a growing leak or an allocation
# sized by a damaged number crosses it.
limit_kb=600000
recipes=("$2"/tests/e2e/scenarios/hostile-data*.args)
[ -f "${recipes[0]}" ] || { echo "FAIL: no recipe tests/e2e/scenarios/hostile-data*.args"; exit 1; }

# A recipe's options, added to `args`.
recipe_args() {
    local -a recipe=()
    read_recipe "$1"
    args+=("${recipe[@]}")
}

run() { # name selected-character recipe [kxsim options...]
    local name="$1" selected="$2" recipe="$3"
    shift 3
    local store="$HOME/.local/share/kxplayer/KX Demo"
    rm -rf "$HOME" && mkdir -p "$store"
    printf '<?xml version="1.0" encoding="utf-8"?>\n<userDefaultRoot><entry key="KXP_selectedCharacter" value="%s"/></userDefaultRoot>\n' \
        "$selected" >"$store/UserDefault.xml"
    args=()
    recipe_args "$recipe"
    local started=$SECONDS
    timeout 900 /usr/bin/time -v -o "$work/$name.time" "$kxsim" "$game" --trace all "${args[@]}" "$@" \
        >"$work/$name.trace" 2>"$work/$name.log"
    local code=$?
    local rss
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$name.time")
    echo "$name ($(basename "$recipe"), selected $selected): exit $code, $((SECONDS - started)) s, max RSS ${rss:-?} kB"
    check "$name ends with 0" [ $code = 0 ]
    check "$name has no sanitizer report" bash -c "! grep -E 'runtime error:|AddressSanitizer|LeakSanitizer' '$work/$name.log'"
    check "$name stays under $limit_kb kB" [ "${rss:-$limit_kb}" -lt $limit_kb ]
    # The recipes never ask the game to quit: every run plays all its frames.
    check "$name plays all its frames" bash -c "! grep -q '^Doing exit' '$work/$name.trace'"
    local trace="$work/$name.trace" frames places
    check "$name enters a game scene" grep -q ' game restore ' "$trace"
    frames=$(grep ' character state=' "$trace" | cut -d' ' -f1 | sort -u | wc -l)
    places=$(grep -o ' character state=[0-9-]* pos=[^ ]*' "$trace" | cut -d' ' -f4 | sort -u | wc -l)
    echo "$name: a character traced in $frames frames, at $places places"
    check "$name traces a character over 200 frames" [ "$frames" -ge 200 ]
    check "$name moves a character" [ "$places" -gt 1 ]
    [ $code = 0 ] || tail -n 30 "$work/$name.log"
    grep -m3 -E -A12 'runtime error:|AddressSanitizer|LeakSanitizer' "$work/$name.log"
}

count() { # pattern file
    grep -c -E "$1" "$2"
}

selected=(-1 99)
index=0
hall=
hall_selected=0
for recipe in "${recipes[@]}"; do
    run "run$index" "${selected[$((index % 2))]}" "$recipe"
    if grep -q -x -e '--open edges' "$recipe"; then
        hall="$recipe"
        hall_selected=$(((index + 1) % 2))
        trace="$work/run$index.trace"
    fi
    index=$((index + 1))
done

# The menu, whose buttons the damage placed out of reach, is left by the keys for the demo's scene.
from_menu() {
    local trace
    for trace in "$work"/run*.trace; do
        [ "$(sed -n 's/.* screen open key=//p' "$trace" | head -n 3 | tr '\n' ' ')" = \
            "KXPScreenStart KXPScreenMainMenu world1 " ] && return 0
    done
    return 1
}
check "the keys start the damaged demo from its menu" from_menu
# The damaged game speed runs in a field of its own: its camera races off, its runner still runs.
check "a recipe plays the runaway field" bash -c "cat '$work'/run*.trace | grep -q ' screen open key=runaway$'"
check "the runaway camera reaches 1e30" bash -c \
    "cat '$work'/run*.trace | grep -q -E ' field step=[0-9]+ camera=[0-9]{30,}'"

# The hall of edges was reached and played.
if [ -n "$hall" ]; then
    check "the hall of edges opens" grep -q ' screen open key=edges$' "$trace"
    # Portals that keep what they take in send the runner back and forth.
    check "the restless portals send the runner more than once" [ "$(count ' teleport send ' "$trace")" -gt 1 ]
    check "the view leaves objects of the hall behind" grep -q ' objects remove ' "$trace"
    check "the restart lays the hall again" [ "$(count ' game restore ' "$trace")" -gt 1 ]
    check "the menu button leaves the hall" grep -q ' screen open key=KXPScreenMainMenu$' "$trace"
    # Drawn into the offscreen view every frame: the light, mirror, trail and background draw
    # with their extreme values (the GL driver's own allocations stay reachable: sanitizer builds
    # keep it mapped; a small quarantine keeps the sanitizer's held-back blocks from reading as
    # growth).
    ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=8 run drawn "${selected[$hall_selected]}" "$hall" \
        --screenshot "2999:$work/hall.png"
    check "the drawn hall leaves its last frame" [ -s "$work/hall.png" ]
    # No textures and no sounds at all: the atlas sheets and every sound file are gone too; the
    # hall again, with the other stored selection.
    rm -f "$game"/data/atlases/*.png "$game"/data/atlases/*.pvr* "$game"/data/sounds/*
    run bare "${selected[$hall_selected]}" "$hall"
else
    echo "FAIL: no recipe opens the hall of edges (--open edges)"
    status=1
fi
exit $status
