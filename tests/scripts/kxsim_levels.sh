#!/bin/bash
# The demo's level select under kxsim: the second level shows locked; coins from the shop buy it
# (the panel turns from grey to green, the coins go, the lock state is stored as open); a press
# without coins leaves it locked. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
command -v convert >/dev/null || { echo "SKIP: no ImageMagick"; exit 77; }
demo="$work/demo"
write_demo "$demo"

# tap FRAME X,Y: a press and release at a design point (y up).
tap() { echo "--touch $1:began:$2 --touch $(($1 + 1)):ended:$2"; }
# panel FILE: the colour of the second level's panel, beside its caption, as "R G B".
panel() { convert "$1" -format '%[fx:int(255*p{372,296}.r)] %[fx:int(255*p{372,296}.g)] %[fx:int(255*p{372,296}.b)]' info:; }
grey() { read -r r g b <<<"$1"; [ $((r - g)) -le 10 ] && [ $((g - r)) -le 10 ] && [ $((b - g)) -le 10 ] && [ $((g - b)) -le 10 ]; }
green() { read -r r g b <<<"$1"; [ "$g" -gt $((r + 50)) ] && [ "$g" -gt $((b + 50)) ]; }

# Menu at frame 186: SHOP, two free +25 coins, BACK, LEVELS, then the second level.
# shellcheck disable=SC2046
"$kxsim" "$demo" --frames 500 --trace screens $(tap 230 568,335) $(tap 280 568,390) $(tap 300 568,390) \
    $(tap 330 568,120) $(tap 380 946,165) --screenshot 430:"$work/locked.png" $(tap 440 568,305) \
    --screenshot 470:"$work/open.png" --dump-store >"$work/trace" 2>"$work/log"
check "a run ends with 0" [ $? = 0 ]
check "the level select opens from the menu" grep -q 'screen open key=levels' "$work/trace"
locked=$(panel "$work/locked.png")
opened=$(panel "$work/open.png")
check "the second level shows locked ($locked)" grey "$locked"
check "50 coins open it ($opened)" green "$opened"
coins_total=$(store_coins "$work/trace")
check "the coins are spent (total ${coins_total:-none})" [ "${coins_total:-x}" = 0 ]
check "the lock state is stored open" grep -q '^KXP_LockStates=.*Level 2:0' "$work/trace"

# Without coins the press changes nothing.
rm -rf "$HOME"/.local
# shellcheck disable=SC2046
"$kxsim" "$demo" --frames 330 $(tap 230 946,165) $(tap 290 568,305) --screenshot 320:"$work/still.png" \
    --dump-store >"$work/trace2" 2>"$work/log2"
still=$(panel "$work/still.png")
check "without coins it stays locked ($still)" grey "$still"
check "and nothing is stored open" bash -c "! grep -q 'Level 2:0' '$work/trace2'"
exit $status
