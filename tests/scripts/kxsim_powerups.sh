#!/bin/bash
# The demo's powerups and game-over observer through kxsim: the hero, pushed along the meadow by
# the scrolling view, collects its coins, each raising the session coins by its value; the magnet
# is collected too; when the hero falls to a crab, the game is over and the heads-up screen's
# observer opens the end screen; the shield button keeps it alive instead. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

write_demo "$work/demo"
"$kxsim" "$work/demo" --frames 480 --open world1 --trace score,game,screens > "$work/trace.txt" 2> "$work/sim.log" ||
    { echo "kxsim failed"; tail -20 "$work/sim.log"; exit 1; }

# F=<frame> powerup "<name>" coins+<c> points+<p> session coins=<n> points=<m>
# F=<frame> game over=1
# F=<frame> screen open key=<key>
awk '
    function field(name,    i) {
        for (i = 1; i <= NF; i++) if (index($i, name "=") == 1) return substr($i, length(name) + 2)
        return ""
    }
    / powerup "/ {
        split($0, parts, "coins+"); gained = parts[2] + 0
        session = field("coins") + 0
        if (session != coins + gained) { print "session coins " session " after " coins " and +" gained; bad = 1 }
        coins = session
        if ($0 ~ /Coin/) collected++
        if ($0 ~ /Magnet/) magnet = 1
        next
    }
    / game over=1/ { if (!over) over = substr($1, 3) + 0; next }
    / screen open key=end/ { if (!ended) ended = substr($1, 3) + 0; next }
    END {
        if (collected < 5) { print "only " collected " coins collected"; bad = 1 }
        if (coins < 5) { print "the session holds " coins " coins"; bad = 1 }
        if (!magnet) { print "the magnet was not collected"; bad = 1 }
        if (!over) { print "the game did not end"; bad = 1 }
        else if (!ended || ended < over) { print "game over at " over " but the end screen at " ended; bad = 1 }
        if (!bad) print "ok: " collected " coins raised the session coins to " coins "; game over at frame " over ", end screen at " ended
        exit bad
    }' "$work/trace.txt" || { echo "--- trace"; head -40 "$work/trace.txt"; exit 1; }
grep -q "Got Game OVER in observer" "$work/sim.log" || { echo "the observer did not log the game over"; exit 1; }

# The heads-up shield button (S) uses the one shield in stock: the hero, shielded, outlives the
# crab that ended the first run.
rm -rf "$HOME"/.local/share/*
"$kxsim" "$work/demo" --frames 480 --open world1 --key 250:down:S --key 252:up:S --trace score,game \
    > "$work/shield.txt" 2> "$work/shield.log" || { echo "kxsim failed"; tail -20 "$work/shield.log"; exit 1; }
grep -q ' powerup "Shield" ' "$work/shield.txt" || { echo "the shield was not used"; head -20 "$work/shield.txt"; exit 1; }
if grep -q " game over=1" "$work/shield.txt"; then
    echo "the shielded hero fell"; grep " game " "$work/shield.txt"; exit 1
fi
echo "ok: the shield from the button kept the hero in the game"
exit 0
