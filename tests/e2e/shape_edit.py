# Gives a collision shape (a polygon or circle model) of a game folder other points, in the
# folder's stored data.
#
#   python3 shape_edit.py DUMP GAME_DIR SHAPE_NAME POINTS
#
# DUMP: what `kxdata dump GAME_DIR` printed; POINTS a JSON list of [x, y] (NaN, Infinity and
# -Infinity allowed), stored as they are. Needs python3-msgpack. Fails unless exactly one shape
# is named so.
import glob
import json
import os
import sys

import msgpack

ID = 42
dump, game, shape_name, points = sys.argv[1:5]

names = {}
for line in open(dump):
    model = json.loads(line)
    names[model["id"]] = list(model["values"])

found = 0
for pack in glob.glob(os.path.join(game, "data", "KXModel*.attributes.pack")):
    unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
    unpacker.feed(open(pack, "rb").read())
    records = list(unpacker)
    changed = False
    for record in records:
        if record[ID] not in names or "points" not in names[record[ID]]:
            continue
        # A model's stored keys follow its attributes in the order the dump lists their names.
        keys = dict(zip(names[record[ID]], [k for k in record if k not in (ID, 33)]))
        if record[keys["Name"]][10] == shape_name:
            record[keys["points"]] = [[float(x), float(y)] for x, y in json.loads(points)]
            changed = True
            found += 1
    if changed:
        open(pack, "wb").write(b"".join(msgpack.packb(r, use_bin_type=True) for r in records))
if found != 1:
    sys.exit("the game has %d shapes named %s" % (found, shape_name))
