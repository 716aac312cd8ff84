#!/bin/bash
# Levels full of paths (valid data): the portal works with 2,000 copies of its belt path and 2,000
# belt crates, spread 45 points apart (each path over its own crate), all at one point, and with the
# crates just out of the paths' reach at one point (a dense spot that spends the frame's budget of
# the paths' index: the paths then search in turn, said by one log line); and 1,000 paths of a
# huge search radius over 1,000 crates. Every run plays all its frames; the paths catch what a scan
# of the layer would, in its order. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
src="$2"
write_works_with_dump

# The works open once the game has loaded, in frame 195; the explorer walks right from 200.
frames=260
# Far beyond what these runs take, even sanitized: a run still going then holds its frames without end.
limit=300
budget_line='\[KXPPathIndex\] the paths of this layer looked at [0-9]* cells and objects in one frame, past the budget of 1000000'

# make NAME [PILE_OPTIONS... ";;"]...: the works with those piles (pile_level.py options, piles
# separated by ";;"), into $work/game-NAME.
make() {
    local name="$1" game="$work/game-$1" options=()
    shift
    cp -r "$work/works" "$game"
    for word in "$@" ";;"; do
        if [ "$word" = ";;" ]; then
            if [ ${#options[@]} -gt 0 ]; then
                "$PY" "$src/tests/e2e/pile_level.py" "$work/dump" "$game" "Portal Works" "${options[@]}" ||
                    { echo "FAIL: the $name level could not be made"; exit 1; }
            fi
            options=()
        else
            options+=("$word")
        fi
    done
}

# play NAME: the level played into $work/NAME.trace and .log; false when it did not play its frames.
play() {
    local code
    timeout "$limit" "$kxsim" "$work/game-$1" --open works --frames "$frames" --key 200:down:Right \
        --trace path,game >"$work/$1.trace" 2>"$work/$1.log"
    code=$?
    [ "$code" = 0 ] || { echo "kxsim ended with $code"; tail -n 5 "$work/$1.log"; }
    [ "$code" = 0 ]
}

# first_catch NAME: the frames in which crates were caught, as "frame count" lines.
catch_frames() { grep ' path carry path=Belt object=Belt Crate ' "$work/$1.trace" | cut -d' ' -f1 | uniq -c; }
budget_lines() { grep -c "$budget_line" "$work/$1.log"; }

make spread --unit Belt --copies 2000 --row 100 --spacing 45 ";;" \
    --unit "Belt Crate" --copies 2000 --row 100 --spacing 45
check "spread: the run plays its $frames frames" play spread
check "spread: each of the 2,001 crates is caught, all in the works' first frame ($(catch_frames spread | head -3 | tr '\n' ' '))" \
    [ "$(catch_frames spread | head -1 | awk '{ print $1 }')" -ge 2001 ]
check "spread: the paths catch in the order of the layer's children (the crates' ids rise)" \
    bash -c "grep ' path carry path=Belt object=Belt Crate ' '$work/spread.trace' | head -2001 |
        sed 's/.* id=//' | sort -c -n"
check "spread: no budget spent" [ "$(budget_lines spread)" = 0 ]

make point --unit Belt --copies 2000 --spacing 0 ";;" --unit "Belt Crate" --copies 2000 --spacing 0
check "one point: the run plays its $frames frames" play point
check "one point: the 2,001 crates are caught in one frame ($(catch_frames point | head -1))" \
    [ "$(catch_frames point | head -1 | awk '{ print $1 }')" -ge 2001 ]
check "one point: no budget spent" [ "$(budget_lines point)" = 0 ]

make reach --unit Belt --copies 2000 --spacing 0 ";;" --unit "Belt Crate" --copies 2000 --spacing 0 --at 245,130
check "out of reach: the run plays its $frames frames" play reach
check "out of reach: one log line says the paths search in turn ($(budget_lines reach))" [ "$(budget_lines reach)" = 1 ]

make huge --unit Belt --copies 1000 --row 50 --spacing 45 --set "Search Radius=1e9" ";;" \
    --unit "Belt Crate" --copies 1000 --row 50 --spacing 45
check "huge radius: the run plays its $frames frames" play huge
check "huge radius: the 1,001 crates are caught in one frame ($(catch_frames huge | head -1))" \
    [ "$(catch_frames huge | head -1 | awk '{ print $1 }')" -ge 1001 ]
exit $status
