#!/bin/bash
# Level sections narrower than what they hold (valid data): the portal works made a section the
# streaming lays, with widths from 1e-45 to 50. A width too thin to move the level on by a point
# is laid once where it stands. Widths of 1 and 10 pile the works up: the frame the field opens in
# lays 32 of them at least, and on only until they crowd the field (a thousand objects, 25 a
# section), as it does with every physics bound off; later frames lay the rest one at a time. A
# heap of sections that hold few objects stops sooner, by what its steps cost. A width of 50
# reaches the camera in the frame the field opens in. Each run plays all its frames. The step
# meter changes nothing of how the heap plays with the bounds off.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump

# The works open once the game has loaded, in frame 195; some frames more show the level going on.
opened=195
frames=300
# The sections the frame the field opens in lays: a rebuild's 32 at least, and at most as many as
# make a thousand objects of 25 each.
least=32
most=41
# Far beyond what these runs take: a run still going then holds a frame without end.
limit=120

# play WIDTH [NAME]: the works with the section that wide, played into $work/NAME.trace (NAME is
# WIDTH by default); false when the run did not finish its frames.
play() {
    local game="$work/game-$1" name="${2:-$1}" code
    rm -rf "$game"
    cp -r "$work/works" "$game"
    "$PY" "$src/tests/e2e/section_width.py" "$work/dump" "$game/data/KXModelLevelSection.0.attributes.pack" \
        "Portal Works" "$1" || { echo "FAIL: the section could not be made $1 wide"; exit 1; }
    timeout "$limit" "$kxsim" "$game" --frames "${play_frames:-$frames}" --trace sections,game >"$work/$name.trace" 2>"$work/$name.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$1.log"; }
    [ "$code" = 0 ]
}
# play_unbounded WIDTH: as play up to the frame the field opens in, with every physics bound off,
# into $work/WIDTH-off.trace.
play_unbounded() { KX_PHYSICS_BOUNDS=off play_frames=$((opened + 1)) play "$1" "$1-off"; }
# opening NAME: $work/NAME.trace up to the end of the frame the field opens in.
opening() {
    awk -v last=$opened 'match($0, /^F=[0-9]+ /) && substr($0, 3, RLENGTH - 3) + 0 > last { exit } { print }' "$work/$1.trace"
}

lays() { grep -c ' sections lay ' "$work/$1.trace"; }
within() { [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }
# lays_in WIDTH FRAME: the sections laid in that frame.
lays_in() { grep -c "^F=$2 sections lay " "$work/$1.trace"; }
most_in_a_frame() { grep ' sections lay ' "$work/$1.trace" | cut -d' ' -f1 | uniq -c | sort -n | tail -n 1 | awk '{ print $1 + 0 }'; }
frames_laying() { grep ' sections lay ' "$work/$1.trace" | cut -d' ' -f1 | uniq | wc -l; }
# restored WIDTH: "LAID CAMERA" when the field opened.
restored() { sed -n 's/.* game restore .* laid=\([0-9]*\) camera=\([0-9]*\) .*/\1 \2/p' "$work/$1.trace" | head -n 1; }

for width in 1e-45 1e-6 0.01; do
    check "$width: the run plays its $frames frames" play "$width"
    check "$width: the section is laid once, as one of width 0 ($(lays "$width") times)" [ "$(lays "$width")" = 1 ]
    check "$width: where the level starts" grep -q "^F=$opened sections lay .* at=0 width=0 " "$work/$width.trace"
    check "$width: the level stays there" [ "$(restored "$width")" = "0 1400" ]
done

for width in 1 10; do
    check "$width: the run plays its $frames frames" play "$width"
    check "$width: the frame the field opens in lays $least to $most sections ($(lays_in "$width" $opened))" \
        within "$(lays_in "$width" $opened)" $least $most
    check "$width: no frame lays more than $most ($(most_in_a_frame "$width"))" [ "$(most_in_a_frame "$width")" -le $most ]
    check "$width: later frames lay on ($(lays "$width") sections in $(frames_laying "$width") frames)" \
        [ "$(frames_laying "$width")" -gt 1 ]
    last=$(($(lays "$width") - 1))
    check "$width: a width apart each time" \
        grep -q " sections lay .* at=$((last * width)) width=$width " "$work/$width.trace"
    # The pile's contacts are no reason to stop: its steps are cheap, and the level is laid as it
    # is with every physics bound off.
    check "$width: the field opens with the physics bounds off" play_unbounded "$width"
    check "$width: it lays the same there ($(lays_in "$width-off" $opened) in the frame the field opens in)" \
        cmp -s <(opening "$width") <(opening "$width-off")
done

# A point a section holding the floor, the explorer and three barrels: the catch-up would lay 200
# of them (a thousand objects) into one pile, some 1.7 s of steps. It stops once its steps are
# foreseen to fill the frame's budget, and the streaming lays on, one a frame.
heap="$work/game-heap"
cp -r "$work/works" "$heap"
"$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$heap" "Portal Works" --width 1 --unit Barrel --copies 2 \
    --keep "Works Floor" --keep Barrel --keep Explorer || { echo "FAIL: the heap could not be made"; exit 1; }
play_heap() { timeout "$limit" "$kxsim" "$heap" --frames "$frames" --trace sections,game >"$work/heap.trace" 2>"$work/heap.log"; }
check "heap: the run plays its $frames frames" play_heap
check "heap: the frame the field opens in stops by its steps' work, past $least sections ($(lays_in heap $opened))" \
    within "$(lays_in heap $opened)" $((least + 1)) 199
check "heap: it says so" grep -q "restore: its steps would take more than a frame" "$work/heap.log" "$work/heap.trace"
check "heap: later frames lay on ($(lays heap) in $(frames_laying heap) frames)" \
    [ "$(lays heap)" -gt "$(($(lays_in heap $opened) + 20))" ]
check "heap: one a frame" [ "$(($(lays heap) - $(lays_in heap $opened)))" = "$(($(frames_laying heap) - 1))" ]

# With every bound off the budget only foresees, for the step meter of the calibration bench: the
# heap streams as it does unmetered, never waiting on what it foresees.
play_heap_off() {
    KX_STEP_METER="$2" KX_PHYSICS_BOUNDS=off timeout "$limit" "$kxsim" "$heap" --frames 260 \
        --trace sections,game >"$work/heap-$1.trace" 2>"$work/heap-$1.log"
}
check "heap: the run plays with the bounds off" play_heap_off off ""
check "heap: and so with the step meter" play_heap_off metered "$work/heap.meter"
check "heap: the meter measured its steps" [ -s "$work/heap.meter" ]
check "heap: the level streams the same metered ($(lays heap-off) sections)" \
    cmp -s "$work/heap-off.trace" "$work/heap-metered.trace"

check "50: the run plays its $frames frames" play 50
check "50: the frame the field opens in lays up to the camera ($(lays_in 50 $opened) sections)" \
    [ "$(lays_in 50 $opened)" = 28 ]
check "50: the level reaches the camera there ($(restored 50))" [ "$(restored 50)" = "1400 1400" ]
check "50: the last of them 1350 on" grep -q "^F=$opened sections lay .* at=1350 width=50 " "$work/50.trace"
exit $status
