#!/bin/bash
# The menus-and-shop scenario under kxsim, one run per recipe (tests/e2e/scenarios/menus-and-shop*.args),
# each from an empty store: every button a recipe presses must show its action in the trace, in the
# player's log lines (the stand-ins for the store, the ads and the services write them) or in the
# store saved at the end. Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
source "$2/tests/e2e/recipes.sh"
kxsim_setup "$1"
recipes="$2/tests/e2e/scenarios"
"$kxdata" write-demo --scenario menus-and-shop "$work/game" >"$work/write.log" 2>&1 ||
    { echo "writing the scenario failed"; cat "$work/write.log"; exit 1; }
"$kxdata" dump "$work/game" >"$work/dump.json" 2>/dev/null || { echo "the scenario does not load"; exit 1; }

# The id of the model of that name and class.
model_id() {
    grep "\"class\":\"$1\",\"name\":\"$2\"" "$work/dump.json" | sed -n 's/^{"id":\([0-9]*\),.*/\1/p' | head -1
}
# Runs recipe N into $work/N.trace (trace lines and the store dump), $work/N.log (the log lines).
run_recipe() {
    local file="$recipes/menus-and-shop.$1.args" recipe
    [ -f "$file" ] || { echo "FAIL: no recipe $file"; status=1; return 1; }
    read_recipe "$file"
    local -a args=("${recipe[@]}")
    export HOME="$work/home$1"
    mkdir -p "$HOME/.local/share"
    "$kxsim" "$work/game" "${args[@]}" "${@:2}" --trace screens,services,buttons,score,game,character \
        --dump-store >"$work/$1.trace" 2>"$work/$1.log" || { echo "FAIL: recipe $1: kxsim failed"; tail -5 "$work/$1.log"; status=1; return 1; }
}
traced() { grep -q -- "$2" "$work/$1.trace"; }
logged() { grep -qF -- "$2" "$work/$1.log"; }
stored() { grep -qx -- "$2" "$work/$1.trace"; }
# The global record's total coins in the store of run N.
coins_total() { store_coins "$work/$1.trace"; }
# How many of the powerup `id` the store of run N holds ("KXP_Inventory_<slot>=<id>:<count>").
inventory() { sed -n "s/^KXP_Inventory_[0-9]*=$2:\([0-9]*\)$/\1/p" "$work/$1.trace"; }
# Whether the store of run N holds the character at that place as unlocked.
unlocked() { grep -q "^KXP_Character_[0-9]*=$2:1$" "$work/$1.trace"; }

# 1. The menu's switches, the shop's sales, the extras and the reward screen, exit.
if run_recipe 1 --screenshot 500:"$work/shop.png"; then
    check "music and sound switched off" stored 1 "KXP_muteBackgroundSound=true"
    check "sound effects switched off" stored 1 "KXP_muteEffectsSound=true"
    check "full screen asked for" stored 1 "KXP_fullscreen=true"
    check "ads shown on the menu (banner)" logged 1 "[KXAdAdMob] show banner"
    check "ads shown on the menu (interstitial)" logged 1 "[KXAdFacebook] show interstitial"
    check "the shop opens" traced 1 " screen open key=shop$"
    check "coins from the store" logged 1 "[KXPurchaseBridge] purchase completed: menus.coins"
    check "ads removed through the store" stored 1 "KXP_removeAds=true"
    check "the removal of ads is bought once" grep -q "^KXP_LockStates=.*Remove Ads:0" "$work/1.trace"
    # 100 free, 30 for the shield, 50 from the store.
    coins=$(coins_total 1)
    check "coins after the shop: 120 ($coins)" [ "$coins" = 120 ]
    shield=$(inventory 1 "$(model_id KXModelAssetPowerup "Arena Shield")")
    check "two shields bought into the inventory ($shield)" [ "${shield:-0}" -ge 2 ]
    # One magnet through the video network that answers at once, none through the one that never does.
    magnet=$(inventory 1 "$(model_id KXModelAssetPowerup "Shop Magnet")")
    check "one magnet for a video ($magnet)" [ "${magnet:-0}" = 1 ]
    check "the web site link" traced 1 " services open url=https://example.org/kx-menus$"
    check "a link without an address" logged 1 "Button URL is empty"
    check "the social page" traced 1 " services open page=1234567890 url=https://example.org/kx-social$"
    check "the review button" traced 1 " services show game services$"
    check "sharing" logged 1 "Share Button Action"
    check "the sponsor's own button" logged 1 "Custom Button Activated: Sponsor"
    check "the reward screen opens" traced 1 " screen open key=reward$"
    check "its unlocker opens a character" unlocked 1 6
    check "its unlocker opens the third level" grep -q "^KXP_LockStates=.*Level 3:0" "$work/1.trace"
    check "a review is asked for at the menu's second showing" traced 1 " services request review$"
    check "exit" logged 1 "Exit"
    [ -s "$work/shop.png" ] || { echo "FAIL: no screenshot of the shop"; status=1; }
fi

# 2. The heroes: coins, the selector's unlock, the lucky button, store, web-link and video characters.
if run_recipe 2; then
    check "the heroes screen opens" traced 2 " screen open key=heroes$"
    for place in 1 2 3 4 5; do
        check "character $place unlocked" unlocked 2 $place
    done
    check "the reward's character stays locked" bash -c "! grep -q '^KXP_Character_[0-9]*=6:1$' '$work/2.trace'"
    check "the store character bought" logged 2 "[KXPurchaseBridge] purchase completed: menus.storey"
    check "the web-link character's page" traced 2 " services open url=https://example.org/webby$"
    check "the last character unlocked is the one selected" stored 2 "KXP_selectedCharacter=5"
    # 100 free, 40 for the first character, 20 for the lucky one.
    coins=$(coins_total 2)
    check "coins after the heroes: 40 ($coins)" [ "$coins" = 40 ]
fi

# 3. The level select and the arena's heads-up buttons.
if run_recipe 3; then
    check "the switch turns on" traced 3 " switch name=Hard Mode on=1$"
    check "and off" traced 3 " switch name=Hard Mode on=0$"
    check "the third level from the store" logged 3 "[KXPurchaseBridge] purchase completed: menus.level3"
    check "level 2 (too dear) stays locked" \
        grep -Eq "^KXP_LockStates=(.*;)?Level 2:1(;|$)" "$work/3.trace"
    check "level 1 opens for nothing" grep -Eq "^KXP_LockStates=(.*;)?Level 1:0(;|$)" "$work/3.trace"
    check "the free level goes on to the arena" traced 3 " screen open key=arena hud$"
    # BONUS twice, then FAR BONUS (the same powerup), shown before any run has gone far.
    bonus=$(grep -c ' powerup "Bonus" coins+5 ' "$work/3.trace")
    check "the unlimited bonus used three times ($bonus)" [ "$bonus" = 3 ]
    check "a shield used from the inventory" traced 3 ' powerup "Arena Shield" '
    # F=<frame> character state=<s> pos=<x>,<y> vel=<x>,<y> ground=<0|1> jumps=<n> ...
    awk '
        function field(name) { match($0, " " name "=[^ ]*"); return substr($0, RSTART + length(name) + 2, RLENGTH - length(name) - 2) }
        / character / {
            frame = substr($1, 3) + 0; split(field("vel"), vel, ","); jumps = field("jumps") + 0
            if (frame >= 480 && frame < 500 && jumps > 0) jumped = 1
            if (frame >= 500 && frame < 535 && vel[1] > 1) ran = 1
            if (frame >= 572 && frame < 605 && vel[1] > 1 && field("ground") == 1) steered = 1
        }
        END {
            print (jumped ? "ok" : "FAIL") ": the jump button jumps"
            print (ran ? "ok" : "FAIL") ": the run button runs"
            print (steered ? "ok" : "FAIL") ": the joystick steers"
            exit !(jumped && ran && steered)
        }' "$work/3.trace" || status=1
    check "pause opens its screen" traced 3 " screen open key=arena pause$"
    check "the game holds still" traced 3 " game pause step="
    check "resume" traced 3 " game resume step="
    restores=$(grep -c " game restore " "$work/3.trace")
    check "restart plays the level again ($restores starts)" [ "$restores" = 2 ]
    check "back to the menu by name" bash -c "sed -n '/ screen open key=arena pause$/,\$p' '$work/3.trace' | grep -q ' screen open key=KXPScreenMainMenu$'"
fi

# 4. Keys, reset, the window-mode pair, the level select's way back, play.
if run_recipe 4; then
    check "Escape goes back to the menu" bash -c "sed -n '/ screen open key=shop$/,\$p' '$work/4.trace' | grep -q ' screen open key=KXPScreenMainMenu$'"
    check "the arrows and Return press a menu button" traced 4 " screen open key=heroes$"
    coins=$(coins_total 4)
    check "reset forgets the coins ($coins)" [ "$coins" = 0 ]
    check "windowed after full screen" stored 4 "KXP_fullscreen=false"
    check "the level select's menu button leads back by name" bash -c "sed -n '/ screen open key=levels$/,\$p' '$work/4.trace' | grep -q ' screen open key=KXPScreenMainMenu$'"
    check "play opens the arena" traced 4 " screen open key=arena$"
fi
exit $status
