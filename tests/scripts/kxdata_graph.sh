#!/bin/bash
# The sample game's screen flow survives writing and loading: `kxdata graph` follows the ports from
# the start node, as loose files and from an encrypted archive, and the player itself starts the
# game: kxsim reaches the title, and its game scene steps. Args: build folder, source folder.
set -u
build="$1"
kxdata="$build/kxdata"
kxsim="$build/kxsim"
[ -x "$kxdata" ] || { echo "missing $kxdata"; exit 1; }
[ -x "$kxsim" ] || { echo "missing $kxsim"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected="Start -> Title (title)
Title -> World 1 (world1)
Title -> Shop (shop)
World 1 -> HUD (hud)
World 1 -> Game Over (gameover)
Shop -> Title (title)
Game Over -> World 1 (world1)
Game Over -> Title (title)"

status=0
for mode in none zipcrypto; do
    game="$work/$mode"
    if ! "$kxdata" write-sample "$game" --archive "$mode" > "$work/write.log" 2>&1; then
        echo "write-sample --archive $mode failed"; cat "$work/write.log"; status=1; continue
    fi
    actual=$("$kxdata" graph "$game" 2> "$work/graph.log")
    if [ "$actual" != "$expected" ]; then
        echo "graph ($mode) differs:"; diff <(echo "$expected") <(echo "$actual"); status=1
    fi
    counts=$("$kxdata" load "$game" 2> /dev/null)
    for line in "KXModelLevelSection 3" "KXModelScreenScene 1" "KXNodeScene 1" "KXNodeUIStart 1"; do
        grep -qx "$line" <<< "$counts" || { echo "load ($mode): no line '$line'"; status=1; }
    done
    # The staged loading reads one file a frame, so the title comes after some 300 frames.
    trace=$(HOME="$work/home-$mode" "$kxsim" "$game" --frames 600 --trace screens 2> "$work/sim.log")
    grep -q "screen open key=title$" <<< "$trace" ||
        { echo "kxsim ($mode) never reached the title:"; echo "$trace"; tail -5 "$work/sim.log"; status=1; }
    trace=$(HOME="$work/home-$mode" "$kxsim" "$game" --frames 600 --open world1 --trace field 2> /dev/null)
    grep -q "field step=300 " <<< "$trace" || { echo "kxsim ($mode): the game scene did not step"; status=1; }
done

# A folder without a game fails cleanly.
if "$kxdata" graph "$work/nothing" > /dev/null 2>&1; then
    echo "graph of an empty folder succeeded"; status=1
fi
exit $status
