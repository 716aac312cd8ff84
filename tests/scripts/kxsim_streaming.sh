#!/bin/bash
# The demo's endless level through kxsim: the game scene scrolls on by itself, lays its level
# sections one after another just ahead of the camera, removes what it left behind, and the
# number of objects on the field stays bounded over 1,300 frames. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

write_demo "$work/demo"
# The hero, pushed along by the scrolling view, shoots its way through (K held, pressed a few
# frames after the hero is made so that the press reaches it), so that the run goes on over every
# section.
"$kxsim" "$work/demo" --frames 1300 --open world1 --key 230:down:K --trace sections,objects > "$work/trace.txt" 2> "$work/sim.log" ||
    { echo "kxsim failed"; tail -20 "$work/sim.log"; exit 1; }

# F=<frame> sections lay id=<id> name=<name...> at=<distance> width=<width> camera=<distance>
# F=<frame> objects built section=<id> made=<n> layer=<children>
# F=<frame> objects remove tag=<tag> at=<x>,<y>
awk '
    function field(name,    i) {
        for (i = 1; i <= NF; i++) if (index($i, name "=") == 1) return substr($i, length(name) + 2)
        return ""
    }
    / sections lay / {
        at = field("at") + 0; width = field("width") + 0; camera = field("camera") + 0
        laid++
        if (laid > 1 && at != nextAt) { print "section laid at " at ", not where the last one ended (" nextAt ")"; bad = 1 }
        # Laid once the camera has just passed the end of what was laid, never long after.
        if (laid > 2 && (camera <= at || camera > at + 10)) { print "section at " at " laid with the camera at " camera; bad = 1 }
        nextAt = at + width
        match($0, /name=.* at=/); names[substr($0, RSTART + 5, RLENGTH - 9)] = 1
        next
    }
    / objects built / {
        layer = field("layer") + 0; built++
        if (layer > most) most = layer
        next
    }
    / objects remove / { removed++; next }
    END {
        for (name in names) kinds++
        if (laid < 4) { print "only " laid " sections laid"; bad = 1 }
        if (kinds < 3) { print "only " kinds " different sections"; bad = 1 }
        if (built != laid) { print built " sections built of " laid " laid"; bad = 1 }
        if (removed < 10) { print "only " removed " objects removed"; bad = 1 }
        # Two neighbouring sections hold up to about 45 objects (the glade with its portals and
        # plank); what is left behind and never removed grows past that within a few sections.
        if (most > 50) { print "the field held " most " objects"; bad = 1 }
        exit bad
    }' "$work/trace.txt" || { echo "--- trace"; grep -v " remove " "$work/trace.txt" | head -40; exit 1; }
exit 0
