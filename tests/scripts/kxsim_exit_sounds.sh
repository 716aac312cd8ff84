#!/bin/bash
# Sounds that delete themselves when they end are freed at exit too: in the demo's game the hero
# collects powerups (their sounds still play when the run stops) and is defeated, and the game
# over pauses its defeat sound, which never ends. With LeakSanitizer on, the run ends without a
# leak report. Needs the sanitizer build (skips otherwise). Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
grep -q -a __lsan "$kxsim" || { echo "SKIP: kxsim is built without LeakSanitizer"; exit 77; }

write_demo "$work/demo"
ASAN_OPTIONS=detect_leaks=1 "$kxsim" "$work/demo" --frames 1800 --open world1 --trace game \
    >"$work/trace.txt" 2>"$work/sim.log"
code=$?
check "the run ends with 0" [ $code = 0 ]
check "the game was over (its defeat sound paused) when the run stopped" grep -q ' game over=1$' "$work/trace.txt"
check "no leak is reported" bash -c "! grep -q LeakSanitizer '$work/sim.log'"
grep -m2 -A8 'Direct leak' "$work/sim.log"
exit $status
