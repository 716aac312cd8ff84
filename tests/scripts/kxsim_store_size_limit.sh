#!/bin/bash
# Saving under a file-size limit (ulimit -f) smaller than the store fails as on a full disk, and
# the run goes on: a game scene saves as it starts, and kxsim says the save failed, leaves no
# temporary file beside the store, keeps the old store as it was, plays on to its last frame and
# ends with 0. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
game="$work/game"
write_demo "$game"
folder="$HOME/.local/share/kxplayer/KX Demo"
store="$folder/UserDefault.xml"
mkdir -p "$folder"
# A valid store of 8 MB (one long entry), four times what the limit lets a file hold.
{
    printf '<?xml version="1.0" encoding="utf-8"?>\n<userDefaultRoot>\n  <entry key="filler" value="'
    head -c 8000000 /dev/zero | tr '\0' x
    printf '" />\n</userDefaultRoot>\n'
} >"$store"
cp "$store" "$work/store.before"

# The limit is kxsim's alone.
(
    ulimit -f 2048
    exec "$kxsim" "$game" --open world1 --frames 300 --trace game,field >"$work/sim.out" 2>"$work/sim.err"
)
code=$?
check "kxsim ends with 0 (got $code; 153 is a kill by the file-size signal)" [ "$code" = 0 ]
check "the game scene starts" grep -q '^F=[0-9]* game restore ' "$work/sim.out"
check "and plays on to the last frame" grep -q '^F=300 field step=' "$work/sim.out"
check "the save says it failed" grep -qF '[KXPSettingsController] - save failed' "$work/sim.err"
check "with the reason" grep -qF 'UserDefault.xml.tmp: File too large' "$work/sim.err"
check "and never that it completed" bash -c "! grep -qF 'save complete' '$work/sim.err'"
check "no temporary file is left" [ -z "$(find "$folder" -name 'UserDefault.xml.tmp*')" ]
check "the old store is kept as it was" cmp -s "$store" "$work/store.before"
[ $status = 0 ] || tail -5 "$work/sim.err"
exit $status
