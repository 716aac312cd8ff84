#!/bin/bash
# The sample game loads to the same models from the data folder and from the data archive with
# every cipher; the archives hold exactly the loose files and open with independent tools, and
# archives made by those tools with the built-in password load as well, also written to a pipe or
# with Zip64 records, and so do archives with bytes in front of them.
# Arguments: build dir, source dir.
set -euo pipefail
BUILD=$1
KX="$(cd "$BUILD" && pwd)/kxdata"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# The system interpreter, which has python3-msgpack.
PY=$(command -v /usr/bin/python3 || command -v python3)
fail() { echo "FAIL: $*"; exit 1; }
cd "$WORK"

"$KX" write-sample folder > /dev/null
"$KX" load folder > folder.load 2> /dev/null || fail "folder load"
grep -qx "progress 100" folder.load || fail "progress of the folder load"
grep -qx "KXModelGeneralSettings 1" folder.load || fail "general settings count"
models=$(sed -n 's/^models //p' folder.load)
[ "$models" -gt 40 ] || fail "sample too small: $models models"
"$KX" dump folder > folder.dump 2> /dev/null || fail "folder dump"
[ "$(wc -l < folder.dump)" -eq "$models" ] || fail "one dump line per model"
# Ordered by id, starting with the general settings.
head -1 folder.dump | grep -q '^{"id":1,"class":"KXModelGeneralSettings"' || fail "first dump line"

# Every pack file is a plain sequence of maps with integer keys, holding "id" at the same key.
"$PY" - folder/data << 'PY' || fail "independent MessagePack decoding"
import msgpack, os, sys
folder = sys.argv[1]
for name in sorted(os.listdir(folder)):
    if name == "Keys.pack" or not name.endswith(".pack"):
        continue
    unpacker = msgpack.Unpacker(raw=True, strict_map_key=False)
    unpacker.feed(open(os.path.join(folder, name), "rb").read())
    count = 0
    for obj in unpacker:
        assert isinstance(obj, dict), name
        assert all(isinstance(k, int) and k >= 0 for k in obj), name
        assert 42 in obj, name
        count += 1
    assert count > 0, name
PY

PASSWORD=$("$KX" password)
[ -n "$PASSWORD" ] || fail "empty password"
sed '/^steps /d' folder.load > folder.models

for cipher in none zipcrypto aes; do
    "$KX" write-sample "$cipher" --archive "$cipher" > /dev/null
    [ -f "$cipher/data/data.pkg" ] || fail "$cipher: no archive"
    [ ! -e "$cipher/data/Keys.pack" ] || fail "$cipher: loose files beside the archive"
    "$KX" dump "$cipher" > "$cipher.dump" 2> /dev/null || fail "$cipher dump"
    cmp -s folder.dump "$cipher.dump" || fail "$cipher: dump differs from the folder's"
    "$KX" load "$cipher" 2> /dev/null | sed '/^steps /d' > "$cipher.models"
    cmp -s folder.models "$cipher.models" || fail "$cipher: load summary differs"

    mkdir "$cipher.out"
    case $cipher in
        none) unzip -q "$cipher/data/data.pkg" -d "$cipher.out" ;;
        zipcrypto) unzip -q -P "$PASSWORD" "$cipher/data/data.pkg" -d "$cipher.out" ;;
        aes) 7z x -p"$PASSWORD" -o"$cipher.out" "$cipher/data/data.pkg" > /dev/null ;;
    esac
    ls folder/data | grep '\.pack$' > loose.list
    (cd "$cipher.out" && ls) > entries.list
    cmp -s loose.list entries.list || fail "$cipher: entries are not the loose pack files"
    while read -r name; do
        cmp -s "folder/data/$name" "$cipher.out/$name" || fail "$cipher: entry $name differs"
    done < loose.list
done

# Writing again into the same folder replaces the earlier form.
cp -r folder again
"$KX" write-sample again --archive zipcrypto > /dev/null
[ -z "$(ls again/data | grep '\.pack$')" ] || fail "loose pack files left beside a new archive"
"$KX" write-sample again > /dev/null
[ ! -e again/data/data.pkg ] || fail "archive left beside new loose files"
"$KX" dump again 2> /dev/null | cmp -s folder.dump - || fail "rewritten folder dump differs"

# Archives made by other tools from the loose files; written to a pipe, or with -fd, Info-ZIP puts
# a data descriptor after each entry; with -fz, Zip64 records.
mkdir -p infozip/data 7zaes128/data piped/data descriptors/data zip64/data
(cd folder/data && zip -q -P "$PASSWORD" ../../infozip/data/data.pkg ./*.pack)
(cd folder/data && 7z a -tzip -p"$PASSWORD" -mem=AES128 ../../7zaes128/data/data.pkg ./*.pack > /dev/null)
(cd folder/data && zip -q -P "$PASSWORD" - ./*.pack | cat) > piped/data/data.pkg
(cd folder/data && zip -q -fd -P "$PASSWORD" ../../descriptors/data/data.pkg ./*.pack)
(cd folder/data && zip -q -fz -P "$PASSWORD" ../../zip64/data/data.pkg ./*.pack)
LC_ALL=C grep -qaF $'PK\x06\x06' zip64/data/data.pkg || fail "zip64: no Zip64 end record"
# Bytes in front of the archive (a stub: `cat stub game.zip`; here the start of a program), with
# each cipher.
for cipher in zipcrypto aes; do
    for stub in 1 4096; do
        made="stub$stub-$cipher"
        mkdir -p "$made/data"
        { head -c "$stub" "$KX"; cat "$cipher/data/data.pkg"; } > "$made/data/data.pkg"
    done
done
for made in infozip 7zaes128 piped descriptors zip64 stub1-zipcrypto stub4096-zipcrypto stub1-aes stub4096-aes; do
    "$KX" dump "$made" > "$made.dump" 2> /dev/null || fail "$made dump"
    cmp -s folder.dump "$made.dump" || fail "$made: dump differs from the folder's"
done
echo "ok"
