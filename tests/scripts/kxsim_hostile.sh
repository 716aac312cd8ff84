#!/bin/bash
# kxsim on the hostile game (the demo with zero and negative scales, NaN and huge numbers, unknown
# kind texts, dangling media references, related classes where one exact class is expected, a
# button "Interval" of 0.5, missing media files) and a stored selected character of -1, then 99,
# then without any texture or sound: 3,000 frames of keys and touches each end with 0, without a
# sanitizer report, and within a bounded memory. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
[ -x /usr/bin/time ] || { echo "SKIP: no /usr/bin/time to measure memory"; exit 77; }
# Sounds still playing when the run stops are not freed at exit; leaks are not what this test is about.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
game="$work/hostile"
"$kxdata" write-demo --scenario hostile "$game" >"$work/write.out" 2>"$work/write.err" ||
    { echo "write-demo --scenario hostile failed"; cat "$work/write.err"; exit 1; }
# About four times what a run takes with the sanitizers (160 MB): a growing leak or an allocation
# sized by a damaged number crosses it.
limit_kb=600000
frames=3000

# Touches on the menu's Play and the heads-up buttons, runs, jumps, pauses and confirmations spread
# over the run, again and again (the damaged menu may never open the game: the later runs open it).
script=()
for ((f = 200; f < frames; f += 150)); do
    script+=(--touch $f:began:568,420 --touch $((f + 2)):moved:600,400 --touch $((f + 3)):ended:600,400
             --key $((f + 10)):down:Right --key $((f + 60)):up:Right --key $((f + 20)):down:J
             --key $((f + 24)):up:J --key $((f + 70)):down:Left --key $((f + 90)):up:Left
             --touch $((f + 100)):began:966,595 --touch $((f + 101)):ended:966,595
             --key $((f + 120)):down:Escape --key $((f + 121)):up:Escape
             --key $((f + 130)):down:Return --key $((f + 131)):up:Return)
    # And a tap somewhere else each time, over the whole design area, on whatever lies there.
    x=$(((f * 37) % 1136)) y=$(((f * 53) % 640))
    script+=(--touch $((f + 140)):began:$x,$y --touch $((f + 143)):ended:$x,$y)
done

run() { # name selected-character [kxsim options...]
    local name="$1" selected="$2"
    shift 2
    local store="$HOME/.local/share/kxplayer/KX Demo"
    rm -rf "$HOME" && mkdir -p "$store"
    printf '<?xml version="1.0" encoding="utf-8"?>\n<userDefaultRoot><entry key="KXP_selectedCharacter" value="%s"/></userDefaultRoot>\n' \
        "$selected" >"$store/UserDefault.xml"
    local started=$SECONDS
    timeout 900 /usr/bin/time -v -o "$work/$name.time" "$kxsim" "$game" --frames $frames --trace all \
        "${script[@]}" "$@" >"$work/$name.trace" 2>"$work/$name.log"
    local code=$?
    local rss
    rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$name.time")
    echo "$name: exit $code, $((SECONDS - started)) s, max RSS ${rss:-?} kB"
    check "$name ends with 0" [ $code = 0 ]
    check "$name has no sanitizer report" bash -c "! grep -E 'runtime error:|AddressSanitizer|LeakSanitizer' '$work/$name.log'"
    check "$name stays under $limit_kb kB" [ "${rss:-$limit_kb}" -lt $limit_kb ]
    [ $code = 0 ] || tail -n 30 "$work/$name.log"
    grep -m3 -E -A12 'runtime error:|AddressSanitizer' "$work/$name.log"
}

run menu -1
run world1 99 --open world1
# No textures and no sounds at all: the atlas sheets and every sound file are gone too.
rm -f "$game"/data/atlases/*.png "$game"/data/atlases/*.pvr* "$game"/data/sounds/*
run bare -1 --open world1
exit $status
