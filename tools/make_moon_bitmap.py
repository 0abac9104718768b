#!/usr/bin/env python3
"""Makes the Moon picture of the sky map, bitmap resource 107, from the
full-Moon image in catalogs/images (provenance in catalogs/images/README.md).

  python3 tools/make_moon_bitmap.py [--input PNG] [--output BMP]

The input is a 128 x 128 PNG in 8-bit greyscale (the near side, north up,
uniformly lit, on black). The output is a Windows BMP of the same size with
8 bits per pixel and a 256-entry grey palette (entry i = (i, i, i)), rows
bottom-up as BMP files keep them. The grey levels are copied unchanged, so
palette index and brightness are one number.

Standard library only (zlib for the PNG's compressed data); the output
depends on nothing but the input and this file, so the committed resource is
checked by running the tool again and comparing bytes. A damaged or
unexpected input stops the tool with a message and writes nothing.
"""

import argparse
import os
import struct
import sys
import zlib

SIZE = 128
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class InputError(Exception):
    pass


def read_png_gray8(data):
    """The pixel rows of an 8-bit greyscale, non-interlaced PNG."""
    if data[:8] != PNG_SIGNATURE:
        raise InputError("not a PNG file")
    pos = 8
    header = None
    idat = bytearray()
    seen_end = False
    while pos < len(data):
        if pos + 8 > len(data):
            raise InputError("truncated chunk header")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = data[pos + 8 + length:pos + 12 + length]
        if len(body) != length or len(crc) != 4:
            raise InputError("truncated chunk %r" % kind)
        if struct.unpack(">I", crc)[0] != (zlib.crc32(kind + body) & 0xFFFFFFFF):
            raise InputError("bad checksum in chunk %r" % kind)
        if kind == b"IHDR":
            if length != 13:
                raise InputError("bad IHDR")
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            seen_end = True
            break
        elif kind[0] & 0x20 == 0:
            raise InputError("unknown critical chunk %r" % kind)
        pos += 12 + length
    if header is None or not seen_end:
        raise InputError("missing IHDR or IEND")
    width, height, depth, colour, compression, filtering, interlace = header
    if (depth, colour, compression, filtering, interlace) != (8, 0, 0, 0, 0):
        raise InputError("expected 8-bit greyscale without interlacing")
    if (width, height) != (SIZE, SIZE):
        raise InputError("expected %dx%d pixels, found %dx%d" % (SIZE, SIZE, width, height))
    try:
        raw = zlib.decompress(bytes(idat))
    except zlib.error as e:
        raise InputError("compressed data: %s" % e)
    if len(raw) != height * (width + 1):
        raise InputError("image data of the wrong size")
    rows = []
    previous = bytearray(width)
    for y in range(height):
        line = raw[y * (width + 1):(y + 1) * (width + 1)]
        kind, cur = line[0], bytearray(line[1:])
        # Undo the row's filter (none, sub, up, average, Paeth): each byte was
        # stored as a difference from its left, upper or predicted neighbour,
        # and a grey image has one byte per pixel, so the left neighbour is x - 1.
        for x in range(width):
            a = cur[x - 1] if x > 0 else 0
            b = previous[x]
            c = previous[x - 1] if x > 0 else 0
            if kind == 0:
                p = 0
            elif kind == 1:
                p = a
            elif kind == 2:
                p = b
            elif kind == 3:
                p = (a + b) // 2
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                p = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            else:
                raise InputError("unknown filter %d on row %d" % (kind, y))
            cur[x] = (cur[x] + p) & 0xFF
        rows.append(bytes(cur))
        previous = cur
    return rows


def bmp_gray8(rows):
    """An 8-bit BMP with a grey palette; rows given top first."""
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    palette = b"".join(bytes((i, i, i, 0)) for i in range(256))
    pixels = b"".join(row + b"\0" * (stride - width) for row in reversed(rows))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 3780, 3780, 256, 0)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--input", default=os.path.join(root, "catalogs", "images", "moon_fullmoon_128_gray.png"))
    ap.add_argument("--output", default=os.path.join(root, "resources", "skymap", "moon.bmp"))
    args = ap.parse_args()
    try:
        with open(args.input, "rb") as f:
            rows = read_png_gray8(f.read())
    except (OSError, InputError) as e:
        sys.stderr.write("make_moon_bitmap: %s: %s\n" % (args.input, e))
        return 1
    data = bmp_gray8(rows)
    tmp = args.output + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
