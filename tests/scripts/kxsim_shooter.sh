#!/bin/bash
# The shooter scenario played through kxsim with its own run recipes (tests/e2e/scenarios/shooter*.args):
# the flight that fires all the way takes every powerup effect on its line, shoots drones down (hits,
# then deaths), meets the hive's and the turret's copies and ends at the exit portal; the flight that
# never fires loses its lives to the drones, and game over brings the end screen through the
# heads-up observer. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
recipes="$2/tests/e2e/scenarios"

"$kxdata" write-demo --scenario shooter "$work/game" > "$work/write.log" 2>&1 ||
    { echo "write-demo --scenario shooter failed"; cat "$work/write.log"; exit 1; }
# With sox and lame every sound is made (without them the game is written silent).
if command -v sox > /dev/null && command -v lame > /dev/null; then
    check "every sound was made" bash -c "! grep -q 'cannot make' '$work/write.log'"
fi

# `play NAME RECIPE [kxsim options]`: one run of the recipe with the traces this test reads, into
# $work/NAME.txt (trace) and $work/NAME.log (log); a fresh store each time.
play() {
    local name="$1" recipe_file="$2"
    shift 2
    local -a recipe=()
    read_recipe "$recipe_file"
    local -a options=("${recipe[@]}")
    rm -rf "$HOME/.local/share/kxplayer"
    (cd "$work" && "$kxsim" "$work/game" "${options[@]}" "$@" \
        --trace health,unit,powerups,gameplay,game,screens,score > "$work/$name.txt" 2> "$work/$name.log") ||
        { echo "kxsim failed on $(basename "$recipe_file")"; tail -20 "$work/$name.log"; exit 1; }
}

for recipe in "$recipes"/shooter.1.args "$recipes"/shooter.2.args; do
    [ -f "$recipe" ] || { echo "FAIL: no recipe $recipe"; exit 1; }
done

# --- the flight that fires ---
play flight "$recipes/shooter.1.args"
for type in kPowerupCoin kPowerupNone kPowerupMagnet kPowerupInvincibility kPowerupKillAllEnemies \
    kPowerupStrike kPowerupCheckpoint kPowerupGameplay kPowerupRestartCheckpoint kPowerupNextCheckpoint \
    kPowerupEndGame; do
    check "the $type effect was taken" grep -q " powerup effect type=$type in-game=1$" "$work/flight.txt"
done
for type in kPowerupMagnet kPowerupInvincibility kPowerupStrike kPowerupGameplay; do
    check "the timed $type effect ended" grep -q " powerup end type=$type$" "$work/flight.txt"
done
# The gravity well pulls down; it ends as space goes with it, and leaves the base's world (not yet
# on the stage) its own gravity.
check "the gravity well pulled down and ended with space" \
    awk '/ gravity x=/ { if ($0 ~ /y=-/) down = 1; else if (opened) late = 1 }
         / screen open key=base/ { opened = 1 }
         / powerup end type=kPowerupGameplay$/ { if (down && opened) ended = 1 }
         END { exit !(down && ended && !late) }' "$work/flight.txt"
check "a checkpoint was stored" grep -q " game checkpoint at=" "$work/flight.txt"
check "the level was rebuilt from a checkpoint" grep -q " game restore checkpoint=yes" "$work/flight.txt"
# Two bolts bring a drone down: a hit that leaves it 1 point, then its death.
check "bolts hit drones" grep -q " health hit name=Drone Hive id=[0-9]* hp=1$" "$work/flight.txt"
check "drones were shot down" grep -q " health death name=Drone Hive id=[0-9]* hp=0$" "$work/flight.txt"
# Copies share their spawner's name and have ids of their own.
for spawner in "Drone Hive" "Plasma"; do
    copies=$(grep -- " unit name=$spawner id=" "$work/flight.txt" | sed 's/.* id=\([0-9]*\) .*/\1/' | sort -u | wc -l)
    check "the spawner '$spawner' sent several copies ($copies ids)" [ "$copies" -ge 3 ]
done
# Used from the heads-up button, a powerup goes by its asset's name.
check "the heads-up bomb was used" grep -q ' powerup "Nova Bomb" ' "$work/flight.txt"
check "the coins went into the score" grep -q ' powerup "Bay Coin 4" coins+1 ' "$work/flight.txt"
check "the exit portal led to the base under the end screen" \
    awk '/ type=kPowerupEndGame / { portal = 1 } portal && / screen open key=base$/ { base = 1 }
         base && / screen open key=end$/ { found = 1 } END { exit !found }' "$work/flight.txt"
check "the flight did not end in game over" bash -c "! grep -q ' game over=1' '$work/flight.txt'"
# A screenshot drawn offscreen draws every frame of its run: a short run of its own. The ship,
# its bolts, the coins and the heads-up figures must be there; without GL there is no picture.
# KX_SCREENSHOT_DIR keeps it to look at.
rm -rf "$HOME/.local/share/kxplayer"
(cd "$work" && "$kxsim" "$work/game" --frames 330 --key 210:down:space --screenshot 320:shooter.png \
    > /dev/null 2>&1)
if [ -f "$work/shooter.png" ]; then
    if command -v convert > /dev/null; then
        colours=$(convert "$work/shooter.png" -format %k info: 2>/dev/null || echo 0)
        check "the screenshot shows a busy picture ($colours colours)" [ "$colours" -gt 200 ]
    fi
    [ -n "${KX_SCREENSHOT_DIR:-}" ] && cp "$work/shooter.png" "$KX_SCREENSHOT_DIR/"
else
    echo "no offscreen GL here: no screenshot"
fi

# --- the flight that never fires ---
play loss "$recipes/shooter.2.args"
# The same game packed into data/data.pkg plays the same.
"$kxdata" write-demo --scenario shooter --archive "$work/packed" > "$work/write-packed.log" 2>&1 ||
    { echo "write-demo --scenario shooter --archive failed"; cat "$work/write-packed.log"; exit 1; }
(cd "$work" && rm -rf "$HOME/.local/share/kxplayer" && "$kxsim" "$work/packed" --frames 1800 \
    --trace health,unit,powerups,gameplay,game,screens,score > "$work/packed.txt" 2> /dev/null)
# The archive loads in fewer steps: frames count from the opening of the game scene, up to the
# end screen (the runs go on for different times after it).
from_scene() {
    awk '/ screen open key=space$/ && !start { start = substr($1, 3) } start {
        sub(/^F=[0-9]+/, "F=+" (substr($1, 3) - start)); print } / screen open key=end$/ { exit }' "$1"
}
from_scene "$work/loss.txt" > "$work/loss.relative"
from_scene "$work/packed.txt" > "$work/packed.relative"
check "the archive form plays as the folder form does" cmp -s "$work/loss.relative" "$work/packed.relative"
check "the played part was compared" [ -s "$work/loss.relative" ]
check "the drones hit the ship" grep -q " health hit name=Ship " "$work/loss.txt"
# Each life lost but the last rebuilds the level with one life less, also though the cockpit plays
# its closing animation before the rebuild; game over comes once, after the last.
for lives in 2 1; do
    check "a lost life rebuilt the level with $lives left" grep -q " game restore checkpoint=no .* lives=$lives$" "$work/loss.txt"
done
check "the last life lost is game over" grep -q " game over=1" "$work/loss.txt"
check "one life a death: the rebuilds before game over had 3, 2, 1 lives" \
    awk '/ game over=1$/ { exit } / game restore / { sub(/.* lives=/, ""); seen = seen " " $0 }
         END { exit seen != " 3 2 1" }' "$work/loss.txt"
check "game over came once" bash -c "[ \$(grep -c ' game over=1$' '$work/loss.txt') -eq 1 ]"
check "the observer saw the game over" grep -q "Got Game OVER in observer" "$work/loss.txt" "$work/loss.log"
check "game over opened the end screen" \
    awk '/ game over=1/ { over = 1 } over && / screen open key=end$/ { found = 1 } END { exit !found }' "$work/loss.txt"
check "fly again on the end screen opened space anew" \
    awk '/ screen open key=end$/ { ended = 1 } ended && / screen open key=space$/ { found = 1 } END { exit !found }' \
    "$work/loss.txt"
exit $status
