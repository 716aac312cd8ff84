#!/bin/bash
# The demo as a whole game through kxsim, with touches and keys from the first menu:
# - the character selection: the locked second character stays locked and unchosen without coins;
#   coins from the shop buy it, it becomes the chosen one and the one that plays (it jumps higher);
# - the shop: two shields bought with coins go into the inventory, the ad removal through the store
#   completes at once;
# - checkpoints: a flag passed stores the place; after game over the end screen's CHECKPOINT (C)
#   rebuilds the level there with the coins the run had at the flag;
# - the feather lightens the world's gravity for its 6 s and then gives it back.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
demo="$work/demo"
write_demo "$demo"

# Loading takes a frame a file: a first run finds the menu's frame.
menu_at=$("$kxsim" "$demo" --frames 900 --trace screens 2>/dev/null |
    sed -n 's/^F=\([0-9]*\) screen open key=KXPScreenMainMenu$/\1/p' | head -1)
[ -n "$menu_at" ] || { echo "FAIL: the menu never opens"; exit 1; }

# tap FRAME X,Y: a touch of two frames, as kxsim options; frames count from the menu's.
tap() { echo "--touch $((menu_at + $1)):began:$2 --touch $((menu_at + $1 + 1)):ended:$2"; }
# Design points (see tools/kxdata/demo): menu SHOP, HEROES, PLAY; shop +25 COINS, 2 SHIELDS 50,
# NO ADS, BACK; the carousel right of its middle, its UNLOCK, the selection's BACK.
shop=568,335 heroes=190,335 play=568,420
coins=568,390 shields=568,305 no_ads=568,220 shop_back=568,120
right=828,320 unlock=568,120 heroes_back=170,60
starts_with() { [ "${1#"$2"}" != "$1" ]; }

# Without coins: the selection first (Mint turned to the middle, UNLOCK pressed), then the shop,
# then the selection again, then a run with a jump.
flow=($(tap 20 $heroes) $(tap 80 $right) $(tap 120 $unlock) $(tap 160 $heroes_back)
      --dump-store)
"$kxsim" "$demo" --frames $((menu_at + 230)) --trace screens "${flow[@]}" >"$work/poor" 2>"$work/poor.log"
check "a run without coins ends with 0" [ $? = 0 ]
check "HEROES opens the character selection" grep -q 'screen open key=characters$' "$work/poor"
check "without coins Mint stays locked" bash -c "! grep -q '^KXP_Character_1=1:1' '$work/poor'"
check "and the hero stays the chosen one ($(store_value "$work/poor" KXP_selectedCharacter))" \
    [ "$(store_value "$work/poor" KXP_selectedCharacter)" = 0 ]
check "the player is told why" grep -q "not enought coins to unlock" "$work/poor.log"

rm -rf "${HOME:?}"/.local/share/*
flow=($(tap 20 $shop) $(tap 70 $coins) $(tap 100 $coins) $(tap 130 $coins) $(tap 160 $shields)
      $(tap 190 $no_ads) $(tap 220 $shop_back) $(tap 280 $heroes) $(tap 340 $right) $(tap 400 $unlock)
      $(tap 460 $heroes_back) $(tap 520 $play) --key $((menu_at + 700)):down:J --key $((menu_at + 702)):up:J
      --dump-store)
"$kxsim" "$demo" --frames $((menu_at + 800)) --trace screens,character,score "${flow[@]}" >"$work/rich" 2>"$work/rich.log"
check "a run through shop, selection and game ends with 0" [ $? = 0 ]
opened=$(sed -n 's/.*screen open key=//p' "$work/rich" | tr '\n' ' ')
check "it opens shop, menu, selection, menu and game in turn ($opened)" \
    starts_with "$opened" "KXPScreenStart KXPScreenMainMenu shop KXPScreenMainMenu characters KXPScreenMainMenu world1 hud "
inventory=$(store_value "$work/rich" KXP_Inventory_0)
# The heads-up button refills one shield for a run; the two bought come on top.
check "two shields bought into the inventory ($inventory)" [ "${inventory#*:}" -ge 2 ]
check "the ad removal bought through the store" [ "$(store_value "$work/rich" KXP_removeAds)" = true ]
check "the store's purchase completed at once" grep -q "purchase completed: demo.removeads" "$work/rich.log"
check "25 coins bought Mint" grep -q '^KXP_Character_1=1:1' "$work/rich"
check "and made it the chosen one" [ "$(store_value "$work/rich" KXP_selectedCharacter)" = 1 ]
# The global coins: 75 from the shop, 50 for the shields, 25 for Mint, then the run's own.
run_coins=$(grep -c '^F=[0-9]* powerup "[^"]*Coin' "$work/rich")
check "the coins left are the run's own ($(store_coins "$work/rich") of $run_coins)" \
    [ "$(store_coins "$work/rich")" = "$run_coins" ]

# Mint jumps higher than the hero: the highest upward speed after the same jump.
rm -rf "${HOME:?}"/.local/share/*
"$kxsim" "$demo" --frames $((menu_at + 800)) --trace character $(tap 520 $play) \
    --key $((menu_at + 700)):down:J --key $((menu_at + 702)):up:J >"$work/hero" 2>/dev/null
top_speed() { sed -n 's/.* vel=[^,]*,\([-0-9.]*\) .*/\1/p' "$1" | sort -g | tail -n 1; }
check "the chosen Mint plays: it jumps faster ($(top_speed "$work/rich") m/s) than the hero ($(top_speed "$work/hero") m/s)" \
    awk -v m="$(top_speed "$work/rich")" -v h="$(top_speed "$work/hero")" 'BEGIN { exit !(h > 0 && m > h * 1.1) }'

# Checkpoints and the feather: the shield (S) carries the hero past the meadow's crabs.
rm -rf "${HOME:?}"/.local/share/*
"$kxsim" "$demo" --frames 2000 --open world1 --key 250:down:S --key 252:up:S --trace game,gameplay,sections \
    >"$work/first" 2>/dev/null
over=$(sed -n 's/^F=\([0-9]*\) game over=1$/\1/p' "$work/first" | head -1)
check "the shielded run ends (game over at ${over:-never})" [ -n "$over" ]
over=${over:-1900}
check "a flag passed stored a checkpoint before" \
    awk -v over="$over" '/ game checkpoint at=/ { if (substr($1, 3) + 0 < over) found = 1 } END { exit !found }' "$work/first"
check "the run laid the hill with the feather" grep -q 'sections lay .*name=Boulder Hill' "$work/first"
awk '
    / gravity x=/ { frame = substr($1, 3) + 0; y = substr($4, 3) + 0
        if (!light && y > -30) light = frame
        else if (light && !back && y < -45) back = frame }
    END {
        if (!light) { print "FAIL: the feather never lightened gravity"; exit 1 }
        if (!back) { print "FAIL: the gravity never came back"; exit 1 }
        if (back - light < 355 || back - light > 365) { print "FAIL: light for " back - light " frames, not 6 s"; exit 1 }
        print "ok: the feather lightened gravity at frame " light " and gave it back at " back
    }' "$work/first" || status=1

rm -rf "${HOME:?}"/.local/share/*
press=$((over + 40))
"$kxsim" "$demo" --frames $((press + 120)) --open world1 --key 250:down:S --key 252:up:S \
    --key $press:down:C --key $((press + 2)):up:C --trace game,score,character >"$work/again" 2>/dev/null
awk -v press="$press" '
    function frame() { return substr($1, 3) + 0 }
    / game checkpoint at=/ { split(substr($4, 4), at, ","); coins = session }
    / powerup "/ { for (i = 1; i <= NF; i++) if ($i ~ /^coins=/) session = substr($i, 7) + 0 }
    / game restore checkpoint=yes/ && frame() > press { restored = frame(); next }
    restored && !placed && / character state=/ { split(substr($4, 5), pos, ","); placed = 1 }
    restored && / powerup "/ && !after { for (i = 1; i <= NF; i++) if ($i ~ /^coins=/) after = substr($i, 7) + 0
        gained = $0 ~ /coins\+1/ }
    END {
        if (!restored) { print "FAIL: CHECKPOINT did not rebuild the level from the checkpoint"; exit 1 }
        if (pos[1] < at[1] - 5 || pos[1] > at[1] + 5) { print "FAIL: the hero stands at " pos[1] ", the flag was at " at[1]; exit 1 }
        if (after && after != coins + gained) { print "FAIL: " after " coins after the restore, " coins " at the flag"; exit 1 }
        print "ok: CHECKPOINT rebuilt the level at frame " restored " with the hero at the flag (" pos[1] ") and its " coins " coins"
    }' "$work/again" || status=1
exit $status
