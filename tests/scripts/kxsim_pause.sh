#!/bin/bash
# Pause, resume and restart on the demo's running game through kxsim: P opens the pause screen and
# the world holds still under it (no step, the same picture), Space goes back to the heads-up
# screen and the world steps on from where it stood, R on the pause screen plays the level again
# from its start. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

write_demo "$work/demo"
keys=(--key 300:down:P --key 302:up:P --key 400:down:space --key 402:up:space
      --key 500:down:P --key 502:up:P --key 600:down:R --key 602:up:R)
"$kxsim" "$work/demo" --frames 760 --open world1 --trace screens,game,field,sections "${keys[@]}" \
    --screenshot "330:$work/paused1.png" --screenshot "390:$work/paused2.png" > "$work/trace.txt" 2> "$work/sim.log" ||
    { echo "kxsim failed"; tail -20 "$work/sim.log"; exit 1; }

# F=<frame> game pause|resume step=<n>; F=<frame> game restore checkpoint=<yes|no> laid=.. camera=.. lives=..
# F=<frame> field step=<n> camera=<x>,<y>; F=<frame> sections lay ... at=<distance> ...
status=0
awk '
    function frame() { return substr($1, 3) + 0 }
    / game pause / { pauses++; pausedAt[pauses] = frame(); pausedStep[pauses] = substr($4, 6) + 0; paused = 1; next }
    / game resume / {
        resumes++; paused = 0
        if (substr($4, 6) + 0 != lastStep) { print "resumed at step " $4 ", paused at " lastStep; bad = 1 }
        next
    }
    / screen open key=pause$/ { pauseScreens++; next }
    / game restore / {
        if (frame() > 250) restoredAt = frame()
        if ($4 != "checkpoint=no") { print "a restart restored a checkpoint: " $0; bad = 1 }
        next
    }
    # The restart lays the level again from its start, and its catch-up may step the world.
    / sections lay / { if (frame() > 250 && $0 ~ / at=0 /) { relaidAtStart = 1; paused = 0 }; next }
    / field step=/ {
        if (paused) { print "the world stepped while paused: " $0; bad = 1 }
        step = substr($3, 6) + 0
        split(substr($4, 8), camera, ",")
        if (relaidAtStart && !firstAfterRestart) { firstAfterRestart = 1; cameraAfterRestart = camera[1] + 0 }
        if (!relaidAtStart) lastCameraBefore = camera[1] + 0
        lastStep = step; lastFrame = frame(); next
    }
    END {
        if (pauses != 2 || pauseScreens != 2) { print pauses " pauses, " pauseScreens " pause screens (2 wanted)"; bad = 1 }
        if (resumes != 1) { print resumes " resumes (1 wanted)"; bad = 1 }
        if (pausedAt[1] < 300 || pausedAt[1] > 303) { print "paused at frame " pausedAt[1]; bad = 1 }
        if (!restoredAt || restoredAt < 600 || restoredAt > 603) { print "no restart after R (" restoredAt ")"; bad = 1 }
        if (!relaidAtStart) { print "the restart laid no section at the start"; bad = 1 }
        # The run had scrolled some 600 points; the restart puts the camera back at the start.
        if (lastCameraBefore > -500 || cameraAfterRestart < -20) {
            print "camera " lastCameraBefore " before the restart, " cameraAfterRestart " after"; bad = 1
        }
        if (lastFrame != 760) { print "the world stopped stepping at frame " lastFrame; bad = 1 }
        exit bad
    }' "$work/trace.txt" || { status=1; grep -v "field step" "$work/trace.txt"; }
grep -q "F=402 screen open key=hud$" "$work/trace.txt" || { echo "Space did not go back to the heads-up screen"; status=1; }

if grep -q "no offscreen GL" "$work/sim.log"; then
    echo "no offscreen GL: the still picture is not checked"
    [ $status -eq 0 ] && exit 77
    exit $status
fi
command -v compare > /dev/null || { echo "ImageMagick compare is missing"; exit 1; }
for shot in paused1 paused2; do
    [ -s "$work/$shot.png" ] || { echo "no $shot screenshot"; exit 1; }
done
differing=$(compare -metric AE "$work/paused1.png" "$work/paused2.png" null: 2>&1)
differing=${differing%% *}
if [ "${differing%.*}" != 0 ]; then
    echo "the paused game moved ($differing pixels differ)"; status=1
fi
exit $status
