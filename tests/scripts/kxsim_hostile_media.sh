#!/bin/bash
# kxsim on the demo game with damaged media in place of its own: sparse files of 200 GB (pictures,
# the atlas's plist, the font, the sounds); tiny files whose headers claim pictures of 16000 x 16000
# or 30000 x 30000 pixels (QOI, GIF, BMP, SVG and PNG; a PNG of 8192 x 8192 with four rows of data,
# and one whose data chunk claims more than the file holds) as the atlas picture and as
# Default.png; 8192 x 8192 atlas pictures at 1 bit a pixel (20 KB for 256 MiB decoded, and one with
# noise), which decode without being held (no GL here); fonts and atlases naming files outside the game (absolute, or climbing
# out with ..); links to a pipe, a device and a sparse file, and pipes for sounds. Each run ends
# with 0, without a sanitizer report, within 300 MB, and says what it refused in its log. A data
# archive above its cap, or a pipe in its place, ends the load with its reason.
# Args: build folder, source folder.
set -u
source "$2/tests/e2e/kxsim_lib.sh"
kxsim_setup "$1"
bombs="$2/tests/e2e/media_bombs.py"
[ -x /usr/bin/time ] || { echo "SKIP: no /usr/bin/time to measure memory"; exit 77; }
command -v python3 >/dev/null || { echo "SKIP: no python3 to write the bombs"; exit 77; }
write_demo "$work/demo"
limit_kb=300000
# The loading screen shows Default.png from the first frame; atlases and fonts are read as the
# loading ends (about frame 230).
loading_frames=10
loaded_frames=300

# bomb FORMAT FILE: a few bytes claiming a huge picture.
bomb() {
    python3 "$bombs" "$@"
}

# fresh NAME: a copy of the demo to damage, in $game.
fresh() {
    game="$work/$1"
    rm -rf "$game"
    cp -r "$work/demo" "$game"
}

# run NAME FRAMES PATTERN...: kxsim on $game; each PATTERN must be in its log.
run() {
    local name="$1" frames="$2"
    shift 2
    rm -rf "$HOME" && mkdir -p "$HOME/.local/share"
    timeout 300 /usr/bin/time -f %M -o "$work/$name.rss" "$kxsim" "$game" --frames "$frames" \
        >"$work/$name.out" 2>"$work/$name.log"
    local code=$?
    local rss
    rss=$(tail -n 1 "$work/$name.rss")
    echo "$name: exit $code, peak RSS ${rss:-?} kB"
    check "$name ends with 0" [ $code = 0 ]
    check "$name has no sanitizer report" bash -c "! grep -qE 'runtime error:|AddressSanitizer' '$work/$name.log'"
    check "$name stays under $limit_kb kB" [ "${rss:-$limit_kb}" -lt $limit_kb ]
    local pattern
    for pattern in "$@"; do
        check "$name logs: $pattern" grep -qF -- "$pattern" "$work/$name.log"
    done
    [ $code = 0 ] || tail -n 20 "$work/$name.log"
}

atlas=$(cd "$work/demo" && ls data/atlases/*.png | head -1)
plist="${atlas%.png}.plist"
font=$(cd "$work/demo" && ls data/fonts/*.fnt | head -1)

# Sparse files: the size alone refuses them; nothing is read.
fresh sparse-atlas && truncate -s 200G "$game/$atlas"
run sparse-atlas $loaded_frames "file refused: $atlas has 214748364800 bytes, above the"
fresh sparse-default && truncate -s 200G "$game/Default.png"
run sparse-default $loading_frames "file refused: Default.png has 214748364800 bytes, above the"
fresh sparse-others && truncate -s 200G "$game/$plist" "$game/$font" "$game"/data/sounds/*.mp3
run sparse-others $loaded_frames "file refused: $plist has 214748364800 bytes, above the 16777216 of a plist" \
    "file refused: $font has 214748364800 bytes, above the 8388608 of a font" \
    "above the 33554432 of a sound"

# Header bombs of each format, as the atlas picture and as the loading picture.
for format in qoi gif bmp svg png png-fit png-cut; do
    case $format in
    png) expect="pixels, above" ;;
    png-fit | png-cut) expect="pixels but holds too little data for them" ;;
    *) expect="only PNG pictures are read" ;;
    esac
    fresh "bomb-$format-atlas" && bomb $format "$game/$atlas"
    run "bomb-$format-atlas" $loaded_frames "image refused: $atlas" "$expect"
    fresh "bomb-$format-default" && bomb $format "$game/Default.png"
    run "bomb-$format-default" $loading_frames "image refused: Default.png" "$expect"
done

# The largest picture there may be, at 1 bit a pixel: 20 KB of rows all there, or with noise. A
# solid picture packs that far, so both are believed; headless, their rows are decoded a band at
# a time and not kept, so the runs stay small.
for format in png-bits png-bits-full; do
    fresh "big-$format" && bomb $format "$game/$atlas"
    run "big-$format" $loaded_frames "loading atlas"
    check "big-$format decodes its picture" bash -c "! grep -q 'image refused' '$work/big-$format.log'"
done

# Names leading out of the game: a picture beside the game folder and the process's environment.
cp "$work/demo/$atlas" "$work/outside.png"
fresh escape-absolute
sed -i 's|file="[^"]*"|file="/proc/self/environ"|' "$game/$font"
sed -i "s|<key>textureFileName</key><string>[^<]*|<key>textureFileName</key><string>$work/outside.png|" "$game/$plist"
run escape-absolute $loaded_frames "file refused: \"/proc/self/environ\" named by $font leads outside the game folder" \
    "file refused: \"$work/outside.png\" named by $plist leads outside the game folder"
fresh escape-up
sed -i 's|file="[^"]*"|file="../../../outside.png"|' "$game/$font"
sed -i "s|<key>textureFileName</key><string>[^<]*|<key>textureFileName</key><string>../../../outside.png|" "$game/$plist"
run escape-up $loaded_frames "file refused: \"../../../outside.png\" named by $font leads outside the game folder" \
    "file refused: \"../../../outside.png\" named by $plist leads outside the game folder"

# Links in the game folder are followed (they are its user's), so what lies behind them is held to
# the same rules as any file: a link to a pipe, to a device, to a 200 GB sparse file, and pipes in
# place of the sounds, are refused without a wait; the plist behind a link is read.
fresh links
page="$(dirname "$font")/$(sed -n 's|^page .*file="\([^"]*\)".*|\1|p' "$game/$font" | head -1)"
mkfifo "$work/pipe.png"
truncate -s 200G "$work/huge.png"
cp "$game/$plist" "$work/link.plist" && ln -sf "$work/link.plist" "$game/$plist"
ln -sf "$work/pipe.png" "$game/$atlas"
ln -sf /dev/zero "$game/Default.png"
ln -sf "$work/huge.png" "$game/$page"
for sound in "$game"/data/sounds/*.mp3; do
    rm "$sound" && mkfifo "$sound"
done
run links $loaded_frames "file refused: $atlas is not a regular file" \
    "file refused: Default.png is not a regular file" "file refused: $page has 214748364800 bytes, above the" \
    "file refused: data/sounds/"
check "links: the linked plist is read" bash -c "! grep -qF 'file refused: $plist' '$work/links.log'"

# The data archive above its cap (a sparse file): refused unread, and the load ends with the reason.
write_demo --scenario platformer --archive "$work/archive"
game="$work/archive"
truncate -s 300M "$game/data/data.pkg"
rm -rf "$HOME" && mkdir -p "$HOME/.local/share"
timeout 300 "$kxsim" "$game" --frames 10 >"$work/archive.out" 2>"$work/archive.log"
code=$?
check "a capped archive ends the load with 2 (got $code)" [ $code = 2 ]
check "a capped archive is refused by its size" grep -qF \
    "file refused: data/data.pkg has 314572800 bytes, above the 268435456 of a data file" "$work/archive.log"
check "a capped archive is the load's error" grep -qxF \
    "error: No data archive: Unable to open the archive: data/data.pkg has 314572800 bytes, above the 268435456 of a data file" \
    "$work/archive.log"

# A pipe in its place: refused without a wait, and the load ends with what it is.
rm "$game/data/data.pkg" && mkfifo "$game/data/data.pkg"
rm -rf "$HOME" && mkdir -p "$HOME/.local/share"
timeout 300 "$kxsim" "$game" --frames 10 >"$work/pipe.out" 2>"$work/pipe.log"
code=$?
check "a pipe as archive ends the load with 2 (got $code)" [ $code = 2 ]
check "a pipe as archive is refused as a pipe" grep -qxF \
    "file refused: data/data.pkg is not a regular file but a pipe" "$work/pipe.log"
check "a pipe as archive is the load's error" grep -qxF \
    "error: No data archive: Unable to open the archive: data/data.pkg is not a regular file but a pipe" \
    "$work/pipe.log"
exit $status
