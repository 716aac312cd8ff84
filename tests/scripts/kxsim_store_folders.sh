#!/bin/bash
# The store when its folder cannot be made or its place is taken, through kxsim: a 300-character
# Application Name gets a safe folder of its own, found again by the next run; a plain file where
# the folder goes keeps progress in memory and writes nothing into the game; a folder named
# UserDefault.xml is removed when empty and kept (with the save refused) when it holds something;
# a folder named UserDefault.xml.tmp does not stop saves. A failed save never says "save complete".
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

root="$HOME/.local/share/kxplayer"
game="$work/game"
write_demo --scenario menus-and-shop "$game"

# run NAME: kxsim on the game until its menu has opened; output in $work/NAME.{out,err}.
run() {
    "$kxsim" "$game" --frames 400 --dump-store >"$work/$1.out" 2>"$work/$1.err"
    local code=$?
    check "$1: kxsim ends with 0 (got $code)" [ "$code" = 0 ]
    [ "$code" = 0 ] || tail -20 "$work/$1.err"
}

# no_store_in_game: nothing of the store was written into the game folder.
no_store_in_game() {
    [ -z "$(find "$game" -name 'UserDefault.xml*')" ]
}

saved() {
    grep -qF '[KXPSettingsController] - save complete' "$work/$1.err"
}

# --- a name too long for a folder ---
# The settings record holds the name as a short MessagePack string; a 300-byte one (str16) takes
# its place.
settings="$game/data/KXModelGeneralSettings.0.attributes.pack"
cp "$settings" "$work/settings.pack"
perl -0777 -pi -e 's/\xa8KX Menus/"\xda\x01\x2c" . ("L" x 300)/e' "$settings"
check "the name was replaced" grep -q 'LLLLLLLLLL' "$settings"
run long
folders=$(ls -A "$root")
check "one folder for the game (${folders:0:80})" [ "$(ls -A "$root" | wc -l)" = 1 ]
check "named from the start of the name, short enough" bash -c "[[ '$folders' == LLLL* ]] && [ ${#folders} -le 80 ]"
check "holding the store" [ -f "$root/$folders/UserDefault.xml" ]
check "and the run saved it" saved long
check "nothing in the game folder" no_store_in_game
run long-again
check "the next run finds the same folder" [ "$(ls -A "$root")" = "$folders" ]
check "and counts on from the store the first run saved" grep -qxF 'ScreenPlayed-KXPScreenMainMenu=2' "$work/long-again.out"
rm -rf "$root"
cp "$work/settings.pack" "$settings"

# --- a plain file where the game's folder goes ---
folder="$root/KX Menus"
mkdir -p "$root"
echo "not a folder" >"$folder"
run plain-file
check "the folder that cannot be made is logged" grep -qF "[CCFileUtils] cannot make the writable folder $folder" "$work/plain-file.err"
check "progress is kept in memory" grep -qF '[CCUserDefault] no store folder: progress is kept in memory for this run' "$work/plain-file.err"
check "the save says it failed" grep -qF '[KXPSettingsController] - save failed' "$work/plain-file.err"
check "and never that it completed" bash -c "! grep -qF 'save complete' '$work/plain-file.err'"
check "nothing in the game folder" no_store_in_game
check "the plain file is untouched" [ "$(cat "$folder")" = "not a folder" ]
rm -f "$folder"

# --- a folder with content named UserDefault.xml ---
store="$folder/UserDefault.xml"
mkdir -p "$store"
echo "someone's" >"$store/keep.txt"
run store-folder
check "the folder in the store's place is logged" grep -qF "[CCUserDefault] $store is not a file" "$work/store-folder.err"
check "the save is refused with the reason" grep -qF "[CCUserDefault] not saved (kept in memory for this run): a folder is in the place of $store" "$work/store-folder.err"
check "and never said to complete" bash -c "! grep -qF 'save complete' '$work/store-folder.err'"
check "the folder keeps its content" [ "$(cat "$store/keep.txt")" = "someone's" ]
check "nothing in the game folder" no_store_in_game

# --- an empty folder named UserDefault.xml ---
rm "$store/keep.txt"
run empty-store-folder
check "the empty folder makes way for the store" [ -f "$store" ]
check "which is saved" saved empty-store-folder
check "as valid XML" xmllint --noout "$store"

# --- a folder named UserDefault.xml.tmp ---
mkdir -p "$store.tmp"
echo "someone's" >"$store.tmp/keep.txt"
rm -f "$store"
run temp-folder
check "saves go on beside a folder named UserDefault.xml.tmp" saved temp-folder
check "the store is written" xmllint --noout "$store"
check "the folder keeps its content" [ "$(cat "$store.tmp/keep.txt")" = "someone's" ]
check "no temporary file is left" [ -z "$(find "$folder" -maxdepth 1 -type f -name 'UserDefault.xml.tmp*')" ]
run temp-folder-again
check "and again in the next run" saved temp-folder-again

exit $status
