#!/usr/bin/env python3
"""unknown_port_keys.py PACK: stores every port of the models of a connections pack file under a key
id that no key table holds (99990 and on), as data written with other keys would have them. The
models themselves stay: only their links are no longer where the player looks for them.
"""
import sys

import msgpack


def main(path):
    unpacker = msgpack.Unpacker(raw=False, strict_map_key=False)
    unpacker.feed(open(path, "rb").read())
    out, moved = b"", 0
    for model in unpacker:
        rekeyed = {}
        for index, (key, value) in enumerate(model.items()):
            if isinstance(value, dict):
                key = 99990 + index
                moved += 1
            rekeyed[key] = value
        out += msgpack.packb(rekeyed, use_bin_type=True)
    open(path, "wb").write(out)
    return 0 if moved else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
