# Reads and rewrites the stored models of a game folder (valid data, as an editor would write it),
# for the scripts that make test games out of the scenario games; also a command that gives named
# models new values.
#
#   python3 game_packs.py DUMP GAME_DIR 'NAME:ATTRIBUTE=JSON'...
#
# DUMP: what `kxdata dump GAME_DIR` printed (the attribute names of each model, in stored order).
# Each edit gives every model named NAME the stored value JSON for ATTRIBUTE
# ('Magnet:Powerup Type="kPowerupGameplay"', 'Meadow Magnet:Position=[630,120]'); an edit that
# names no model, or an attribute the model lacks, fails. Needs python3-msgpack.
#
# As a module (class Game) it also copies models (a new id, the record and its links copied, the
# copy known by its original's attribute names), puts objects into level sections, points
# references and components elsewhere, and keeps the settings' "Last ID" past every id it gave.
import glob
import json
import os
import sys

import msgpack

ID, CLASS = 42, 33
# Where a stored attribute keeps its value.
VALUE = 10


def read(pack):
    unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
    with open(pack, "rb") as stream:
        unpacker.feed(stream.read())
    return list(unpacker)


def write(pack, records):
    with open(pack, "wb") as stream:
        stream.write(b"".join(msgpack.packb(record, use_bin_type=True) for record in records))


class Game:
    """A game folder's packs, read once and written back by save()."""

    def __init__(self, dump, folder):
        self.folder = folder
        self.names, self.classes, self.dump = {}, {}, {}
        with open(dump) as lines:
            for line in lines:
                model = json.loads(line)
                self.names[model["id"]] = list(model["values"])
                self.classes[model["id"]] = model["class"]
                self.dump[model["id"]] = model
        self.packs = {}
        for pack in sorted(glob.glob(os.path.join(folder, "data", "*.pack"))):
            if pack.endswith(".attributes.pack") or pack.endswith(".connections.pack"):
                self.packs[pack] = read(pack)
        self.changed = set()
        self.given = None

    def pack_of(self, class_name, kind="attributes"):
        return os.path.join(self.folder, "data", "%s.0.%s.pack" % (class_name, kind))

    def keys_of(self, record):
        # A model's stored keys follow its attributes in the order the dump lists their names.
        return dict(zip(self.names.get(record[ID], []), [k for k in record if k not in (ID, CLASS)]))

    def records(self, kind="attributes"):
        """(pack, record) for every stored model the dump knows, of every class."""
        for pack, records in self.packs.items():
            if pack.endswith("." + kind + ".pack"):
                for record in records:
                    if record[ID] in self.names:
                        yield pack, record

    def value(self, record, attribute, default=None):
        key = self.keys_of(record).get(attribute)
        return record[key][VALUE] if key is not None and isinstance(record[key], dict) else default

    def set_value(self, pack, record, attribute, value):
        key = self.keys_of(record).get(attribute)
        if key is None or not isinstance(record[key], dict):
            raise KeyError("model %d has no attribute %s" % (record[ID], attribute))
        record[key][VALUE] = value
        self.changed.add(pack)

    def named(self, name):
        return [(pack, record) for pack, record in self.records() if self.value(record, "Name") == name]

    def next_id(self):
        return max(max(self.names), max((r[ID] for rs in self.packs.values() for r in rs), default=0)) + 1

    def stored(self, model_id, kind="attributes"):
        """(pack, record) of the model's attributes or links, or (None, None)."""
        for pack, records in self.packs.items():
            if pack.endswith("." + kind + ".pack"):
                for record in records:
                    if record[ID] == model_id:
                        return pack, record
        return None, None

    def copy(self, model_id, as_class=None):
        """A copy of the model (attributes and links) with a new id; returns the id. AS_CLASS stores
        it as a model of another class whose attributes are the same (a powerup object made from a
        character object: both are a placed asset)."""
        if self.given is None:
            self.given = self.next_id()
        new_id, self.given = self.given, self.given + 1
        class_name = as_class or self.classes[model_id]
        for kind in ("attributes", "connections"):
            _, record = self.stored(model_id, kind)
            if record is None:
                continue
            twin = msgpack.unpackb(msgpack.packb(record, use_bin_type=True), raw=False, strict_map_key=False)
            twin[ID] = new_id
            if CLASS in twin:
                twin[CLASS] = class_name
            pack = self.pack_of(class_name, kind)
            self.packs.setdefault(pack, []).append(twin)
            self.changed.add(pack)
        self.names[new_id] = list(self.names[model_id])
        self.classes[new_id] = class_name
        self.dump[new_id] = dict(self.dump[model_id], id=new_id, **{"class": class_name})
        return new_id

    def reference_key(self, model_id, name):
        """The key of the model's links that holds the reference the dump names so; for a model
        without it, the key another model keeps that reference under (one key table a game)."""
        for owner in [model_id] + [i for i, m in self.dump.items() if name in m["references"]]:
            target = (self.dump[owner]["references"].get(name) or {}).get("value")
            if target is None:
                continue
            _, links = self.stored(owner, "connections")
            for key, value in (links or {}).items():
                if key != ID and isinstance(value, dict) and value.get(VALUE) == target:
                    return key
        raise KeyError("no model of the game keeps a reference %s" % name)

    def set_reference(self, model_id, name, target_id):
        pack, links = self.stored(model_id, "connections")
        if links is None:
            pack, links = self.pack_of(self.classes[model_id], "connections"), {ID: model_id}
            self.packs.setdefault(pack, []).append(links)
        links[self.reference_key(model_id, name)] = {VALUE: target_id}
        self.dump[model_id] = dict(self.dump[model_id], references=dict(
            self.dump[model_id]["references"], **{name: {"value": target_id}}))
        self.changed.add(pack)

    def children_key(self):
        # A section's children are the one list of ids among its links; every class keeps its
        # children (a unit's components among them) under that key.
        for _, links in self.records("connections"):
            if self.classes.get(links[ID]) == "KXModelLevelSection":
                return [k for k, v in links.items() if isinstance(v, list)][0]
        raise KeyError("the game has no level section with children")

    def set_children(self, model_id, children):
        """The model's children (a unit's components) become CHILDREN; links made if it had none."""
        pack, links = self.stored(model_id, "connections")
        if links is None:
            pack, links = self.pack_of(self.classes[model_id], "connections"), {ID: model_id}
            self.packs.setdefault(pack, []).append(links)
        links[self.children_key()] = list(children)
        self.changed.add(pack)

    def add_to_section(self, section_id, object_id):
        pack, links = self.stored(section_id, "connections")
        links[self.children_key()].append(object_id)
        self.changed.add(pack)

    def save(self):
        if self.given is not None:
            # Models the player makes at run time take ids from "Last ID" on: past every stored one.
            for pack, record in self.records():
                if self.classes[record[ID]] == "KXModelGeneralSettings" and \
                        (self.value(record, "Last ID") or 0) < self.given - 1:
                    self.set_value(pack, record, "Last ID", self.given - 1)
        for pack in sorted(self.changed):
            write(pack, self.packs[pack])
        self.changed.clear()


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__ if __doc__ else "usage: game_packs.py DUMP GAME_DIR 'NAME:ATTRIBUTE=JSON'...")
    game = Game(argv[0], argv[1])
    for edit in argv[2:]:
        name, _, rest = edit.partition(":")
        attribute, _, value = rest.partition("=")
        models = game.named(name)
        if not models:
            sys.exit("the game has no model named %s" % name)
        for pack, record in models:
            game.set_value(pack, record, attribute, json.loads(value))
    game.save()


if __name__ == "__main__":
    main(sys.argv[1:])
