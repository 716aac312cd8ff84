#!/bin/bash
# A game folder with links its user made: its data/ a link to the game's files on another disk, as
# loose files and as data/data.pkg (media beside it), and a game whose atlas picture and sounds are
# links to copies elsewhere. Each plays as the same game without links: the same screens open, its
# menu is drawn the same to the pixel (fonts, atlases), kxdata load finds the same media, and its
# log refuses nothing.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"

# The menu has opened by then (about frame 230).
frames=400

# run NAME GAME: kxsim on GAME with a screenshot of its last frame; NAME.{trace,log,png,load}.
run() {
    local name="$1" game="$2"
    rm -rf "$HOME" && mkdir -p "$HOME/.local/share"
    timeout 300 "$kxsim" "$game" --frames $frames --trace screens --screenshot "$((frames - 1)):$work/$name.png" \
        >"$work/$name.trace" 2>"$work/$name.log"
    local code=$?
    check "$name ends with 0 (got $code)" [ $code = 0 ]
    [ $code = 0 ] || tail -n 20 "$work/$name.log"
    "$kxdata" load "$game" >"$work/$name.load" 2>/dev/null
}

# same NAME REFERENCE: NAME played as REFERENCE did.
same() {
    local name="$1" reference="$2"
    check "$name reaches the menu" grep -q ' screen open key=KXPScreenMainMenu$' "$work/$name.trace"
    check "$name opens the screens $reference opens" cmp -s "$work/$reference.trace" "$work/$name.trace"
    check "$name draws the menu as $reference does" cmp -s "$work/$reference.png" "$work/$name.png"
    check "$name finds the media $reference finds" cmp -s "$work/$reference.load" "$work/$name.load"
    check "$name refuses no file" bash -c "! grep -E 'file refused|cannot open' '$work/$name.log'"
}

# link_data GAME LINKED: LINKED is GAME with its data/ moved to another folder and linked.
link_data() {
    local game="$1" linked="$2"
    mkdir -p "$work/disk" "$linked"
    mv "$game/data" "$work/disk/$(basename "$linked")"
    rm -rf "$game"
    ln -s "$work/disk/$(basename "$linked")" "$linked/data"
}

write_demo "$work/loose"
cp -r "$work/loose" "$work/loose-copy"
write_demo --scenario platformer --archive "$work/archive"
cp -r "$work/archive" "$work/archive-copy"
[ -f "$work/archive/data/data.pkg" ] || { echo "FAIL: no data/data.pkg in the archive form"; exit 1; }

run loose "$work/loose"
check "the loose game loads fonts, atlases and sounds" grep -q '^media present [1-9]' "$work/loose.load"
run archive "$work/archive"

link_data "$work/loose-copy" "$work/loose-linked"
run loose-linked "$work/loose-linked"
same loose-linked loose

link_data "$work/archive-copy" "$work/archive-linked"
run archive-linked "$work/archive-linked"
same archive-linked archive

# The atlas picture and every sound are links to copies outside the game.
cp -r "$work/loose" "$work/pictures"
mkdir -p "$work/elsewhere"
for file in "$work/pictures"/data/atlases/*.png "$work/pictures"/data/sounds/*; do
    mv "$file" "$work/elsewhere/" && ln -s "$work/elsewhere/$(basename "$file")" "$file"
done
run linked-media "$work/pictures"
same linked-media loose
exit $status
