#!/bin/bash
# The effects scenario in the real player stack: `kxdata write-effects` writes the cave game with
# the media its effects read, and kxsim loads it, opens the cave from the loading screen and runs
# it. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
status=0

"$kxdata" write-effects "$work/game" > "$work/write.log" 2>&1 || { echo "write-effects failed"; cat "$work/write.log"; exit 1; }
for file in fx/lightMap.png fx/trailMap.png fx/flagMap.png shaders/WaterReflection.fsh; do
    [ -s "$work/game/data/$file" ] || { echo "no data/$file"; status=1; }
done
ls "$work/game/data/effects/"*.png > /dev/null 2>&1 || { echo "the banner's own texture is missing"; status=1; }
"$kxdata" load "$work/game" > "$work/load.txt" 2> /dev/null || { echo "the scenario does not load"; status=1; }
for class in KXModelObjectLight KXModelObjectTrail KXModelObjectFlag KXModelObjectMirror KXModelLinker; do
    grep -q "^$class [1-9]" "$work/load.txt" || { echo "no $class loaded"; status=1; }
done

"$kxsim" "$work/game" --frames 300 --trace screens > "$work/trace.txt" 2> "$work/sim.log" ||
    { echo "kxsim failed"; tail -20 "$work/sim.log"; exit 1; }
grep -q "screen open key=cave$" "$work/trace.txt" || { echo "the cave did not open"; cat "$work/trace.txt"; status=1; }
exit $status
