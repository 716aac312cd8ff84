# Turns one level section of a game folder into a section the streaming lays (no opening section)
# with another width, in the folder's stored data (valid data, as an editor would write it).
#
#   python3 section_width.py DUMP PACK NAME WIDTH
#
# DUMP: what `kxdata dump GAME_DIR` printed (the attribute names of each section, in stored order);
# PACK: GAME_DIR/data/KXModelLevelSection.0.attributes.pack, rewritten in place; NAME: the
# section's name; WIDTH: a float. Needs python3-msgpack. Fails unless exactly one section is named so.
import json
import sys

import msgpack

dump, pack, name, width = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
names = {}
for line in open(dump):
    model = json.loads(line)
    if model["class"] == "KXModelLevelSection":
        names[model["id"]] = list(model["values"])
unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
unpacker.feed(open(pack, "rb").read())
out, changed = b"", 0
for model in unpacker:
    # The section's stored keys follow its attributes in the order the dump lists their names.
    keys = dict(zip(names[model[42]], [k for k in model if k not in (42, 33)]))
    if model[keys["Name"]][10] == name:
        model[keys["Init Section"]][10] = False
        model[keys["Width"]][10] = width
        changed += 1
    out += msgpack.packb(model, use_bin_type=True)
open(pack, "wb").write(out)
sys.exit(0 if changed == 1 else 1)
