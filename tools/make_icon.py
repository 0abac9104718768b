#!/usr/bin/env python3
"""Draws Celvane's program icon as PNG files for a desktop's icon theme.

  python3 tools/make_icon.py --output DIR [--sizes 16,32,48,64,128,256]

writes DIR/NxN/apps/celvane.png for every size N (the layout of the
freedesktop "hicolor" theme).

The icon is the sky view's toolbar button (make_bitmaps.btn_sky: the night
sky over a line of hills, one bright star and a few faint ones): at 16 and
32 pixels exactly the toolbar's pictures, so the menu, the task bar and the
program's own toolbar show the same thing. The larger sizes draw the same
shapes with strokes and stars grown with the size (the toolbar's 32-pixel
proportions), at two or four times the size, and average each block of
pixels into one: smooth edges instead of stair steps. Outside the sky the
icon is transparent.

Standard library only, like make_bitmaps.py, so that the build can run it.
"""

import argparse
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_bitmaps as mb  # noqa: E402

NAME = "celvane"
SIZES = (16, 32, 48, 64, 128, 256)


class IconPaint(mb.Paint):
    """A painter whose strokes and stars keep the 32-pixel button's
    proportions at any size (the toolbar's painter keeps them one or two
    pixels wide, which is right for buttons only); its small stars are
    round."""

    def __init__(self, n):
        super().__init__(n)
        self.w = max(1, int(round(n / 16.0)))

    def star(self, cx, cy, r):
        if r <= 0.6:
            # Round where the button has a one-unit square: the averaging
            # down keeps the curve.
            return self.disc(cx, cy, 0.55)
        k = self.u(r)
        x, y = self.u(cx), self.u(cy)
        w = self.n / 16.0
        return (mb.seg(self.n, x - k, y, x + k, y, w) | mb.seg(self.n, x, y - k, x, y + k, w)
                | mb.disc(self.n, x, y, w * 0.75))

    def speck(self, cx, cy):
        return self.disc(cx, cy, 0.3)


def supersampling(n):
    """How many times larger a size is drawn before it is averaged down:
    enough for smooth edges, at most 512 pixels drawn (the drawing is plain
    Python and costs with the square of the size)."""
    if n <= 32:
        return 1
    return max(2, min(4, 512 // n))


def icon(n):
    """The icon at n x n pixels: rows of (r, g, b, a)."""
    ss = supersampling(n)
    if ss == 1:
        p = mb.Paint(n)
    else:
        p = IconPaint(n * ss)
    mb.btn_sky(p)
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            covered = [p.px[y * ss + j][x * ss + i] for j in range(ss) for i in range(ss)]
            covered = [c for c in covered if c is not None]
            if not covered:
                row.append((0, 0, 0, 0))
                continue
            k = len(covered)
            row.append(tuple((sum(c[ch] for c in covered) + k // 2) // k for ch in range(3))
                       + ((255 * k + ss * ss // 2) // (ss * ss),))
        rows.append(row)
    return rows


def png_rgba(rows):
    """A PNG file (8-bit RGBA, no interlace) of rows of (r, g, b, a)."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for px in row:
            raw += bytes(px)

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_atomically(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    ap = argparse.ArgumentParser(description="Draws the program icon for the hicolor icon theme.")
    ap.add_argument("--output", required=True, help="the theme folder: NxN/apps/%s.png go in it" % NAME)
    ap.add_argument("--sizes", default=",".join(str(s) for s in SIZES),
                    help="comma-separated sizes in pixels (default %(default)s)")
    args = ap.parse_args(argv)
    try:
        sizes = [int(s) for s in args.sizes.split(",")]
    except ValueError:
        ap.error("--sizes takes whole numbers separated by commas, not '%s'" % args.sizes)
    if any(s < 16 or s > 1024 for s in sizes):
        ap.error("icon sizes run from 16 to 1024 pixels")
    for n in sizes:
        folder = os.path.join(args.output, "%dx%d" % (n, n), "apps")
        os.makedirs(folder, exist_ok=True)
        write_atomically(os.path.join(folder, NAME + ".png"), png_rgba(icon(n)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
