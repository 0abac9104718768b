#!/usr/bin/env python3
"""Draws the interface bitmaps of the user interface and writes them as BMP
files into resources/bitmaps/ (resource script: resources/bitmaps.rc).

  python3 tools/make_bitmaps.py [--output DIR] [--preview DIR]

Every picture is drawn twice: for ordinary screens (file suffix _96, resource
suffix "(96)") and for high-resolution screens at twice the size (_192,
"(192)"). The large glyphs are drawn again at their own size from circles,
ellipses, polygons and strokes (smoother curves, finer detail), not enlarged
pixel by pixel. Small glyphs that geometry would render unevenly are drawn
pixel by pixel instead (the art() tables and paint_art() pictures below).

A strip is its glyphs side by side; each glyph is a square as high as the
strip, so the glyph count is the width divided by the height.

Monochrome strips (one bit per pixel): planets, objects, asteroidsComets,
arrows, test; plus test_bw and test_wb, which exist in one size only. The
palette is (white, black) and the glyphs are the black pixels, which are the
set bits: the program paints the set bits in the colour it wants and leaves
the rest of the cell alone. test_bw has the palette the other way round
(black first), with the ink as the clear bits, so that a reader that decides
the ink by the first palette colour can be checked against test_wb.

Colour strips (24 bits per pixel): buttons_normal, buttons_armed and
buttons_disabled, the toolbar buttons. The three strips hold the same sixteen
pictures: normal flat on the button face (240, 240, 240); armed on a blue
face inside a one-pixel frame, the look of a pressed button and of a checked
one; disabled in greys faded towards the face.

Glyph order (the index a caller passes):

planets (11 px; 22 px): 0 Sun, 1 Moon, 2 Mercury, 3 Venus, 4 Mars,
  5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto (the body indices),
  10 star, 11 the Earth (not used by the program's objects), 12 constellation.
objects (9 px; 18 px), the Symbol numbers of user-object files (see
  catalogs/deepsky/README.md): 0 other object, 1 galaxy, 2 open cluster,
  3 bright nebula, 4 planetary nebula, 5 globular cluster, 6 dark nebula,
  7 supernova remnant, 8 double star, 9 star cloud, 10 asterism,
  11 cluster with nebula, 12 galaxy cluster, 13 star, 14 variable star,
  15 quasar, 16 marker.
asteroidsComets (9 px; 18 px), the Symbol numbers of comet/asteroid files,
  comets at +4 (see catalogs/orbits/README.md): 0 main-belt asteroid,
  1 near-Earth asteroid, 2 Hilda or Jupiter trojan, 3 centaur or
  trans-Neptunian object, 4 periodic comet, 5 long-period comet,
  6 comet on an open orbit, 7 interstellar object.
arrows (13 px; 26 px): 0 up (the Moon is waxing), 1 down (waning),
  2 left, 3 right.
buttons_normal, buttons_armed, buttons_disabled (16 px; 32 px): 0 compass
  view, 1 sky view, 2 show object in sky, 3 time mode, 4 object info,
  5 search object, 6 full screen, 7 view settings, 8 centre object,
  9 angular distance reference, 10 location display, 11 object display,
  12 zoom, 13 magnitude filter, 14 keys move the view direction, 15 keys
  change time and zoom.
test (12 px; 24 px): 0 square, 1 disc, 2 cross. test_bw, test_wb (16 px):
  an arrow pointing to the upper left (any mirror or inversion shows).

Standard library only; the output depends on nothing but this file, so the
committed files can be checked by re-running the tool and comparing bytes.
"""

import argparse
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Masks: a square of pixels, True where a shape covers the pixel's centre.
# Coordinates are continuous pixels: pixel (x, y) spans x..x+1, y..y+1 and
# its centre is (x + 0.5, y + 0.5); y grows downwards.


class Mask:
    def __init__(self, n, bits=None):
        self.n = n
        self.bits = bits if bits is not None else [[False] * n for _ in range(n)]

    @staticmethod
    def of(n, inside):
        return Mask(n, [[bool(inside(x + 0.5, y + 0.5)) for x in range(n)] for y in range(n)])

    def get(self, x, y):
        return 0 <= x < self.n and 0 <= y < self.n and self.bits[y][x]

    def set(self, x, y, v=True):
        if 0 <= x < self.n and 0 <= y < self.n:
            self.bits[y][x] = v

    def copy(self):
        return Mask(self.n, [row[:] for row in self.bits])

    def __or__(self, other):
        return Mask(self.n, [[a or b for a, b in zip(r, s)] for r, s in zip(self.bits, other.bits)])

    def __and__(self, other):
        return Mask(self.n, [[a and b for a, b in zip(r, s)] for r, s in zip(self.bits, other.bits)])

    def __sub__(self, other):
        return Mask(self.n, [[a and not b for a, b in zip(r, s)] for r, s in zip(self.bits, other.bits)])

    def shifted(self, dx, dy):
        m = Mask(self.n)
        for y in range(self.n):
            for x in range(self.n):
                if self.bits[y][x]:
                    m.set(x + dx, y + dy)
        return m

    def flipped_x(self):
        return Mask(self.n, [row[::-1] for row in self.bits])

    def transposed(self):
        return Mask(self.n, [[self.bits[x][y] for x in range(self.n)] for y in range(self.n)])

    def flipped_y(self):
        return Mask(self.n, [row[:] for row in self.bits[::-1]])

    def eroded(self):
        """The pixels whose four neighbours all belong to the mask."""
        m = Mask(self.n)
        for y in range(self.n):
            for x in range(self.n):
                m.bits[y][x] = (self.bits[y][x] and self.get(x - 1, y) and self.get(x + 1, y)
                                and self.get(x, y - 1) and self.get(x, y + 1))
        return m

    def outline(self, width=1):
        """The rim of the shape, `width` pixels thick: a one-pixel rim is the
        pixels with a neighbour outside, which gives a thin line whose stair
        steps touch at the corners."""
        inner = self
        for _ in range(width):
            inner = inner.eroded()
        return self - inner

    def despeckled(self):
        """Without the pixels that touch no other pixel."""
        m = self.copy()
        for y in range(self.n):
            for x in range(self.n):
                if self.bits[y][x] and not any(self.get(x + dx, y + dy) for dx in (-1, 0, 1)
                                               for dy in (-1, 0, 1) if dx or dy):
                    m.bits[y][x] = False
        return m


def art(rows):
    """A mask from rows of text: '#' (or any letter) set, '.' clear."""
    n = len(rows)
    for r in rows:
        if len(r) != n:
            raise ValueError("art rows must form a square: %r" % (rows,))
    return Mask(n, [[c != '.' for c in r] for r in rows])


def disc(n, cx, cy, r):
    return Mask.of(n, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r)


def ellipse(n, cx, cy, rx, ry, angle=0.0):
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def inside(x, y):
        u = (x - cx) * ca + (y - cy) * sa
        v = -(x - cx) * sa + (y - cy) * ca
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return Mask.of(n, inside)


def rect(n, x0, y0, x1, y1):
    """Pixels x0..x1-1, y0..y1-1 (integer pixel edges)."""
    return Mask.of(n, lambda x, y: x0 <= x <= x1 and y0 <= y <= y1)


def polygon(n, pts):
    """Even-odd fill of a polygon given in continuous pixel coordinates."""
    def inside(x, y):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return Mask.of(n, inside)


def seg(n, x0, y0, x1, y1, w=1.0):
    """A straight stroke of width w between two points (round ends)."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= (w / 2.0) ** 2 + 1e-9
    return Mask.of(n, inside)


def block(n, cx, cy, side=2):
    """A square dot of side x side pixels centred as near (cx, cy) as the grid allows."""
    x0 = int(round(cx - side / 2.0))
    y0 = int(round(cy - side / 2.0))
    return rect(n, x0, y0, x0 + side, y0 + side)


def star_polygon(cx, cy, r_out, r_in, points=5, rot=-90.0):
    pts = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        a = math.radians(rot + k * 180.0 / points)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def ring(n, cx, cy, r, width=1):
    return disc(n, cx, cy, r).outline(width)


# ---------------------------------------------------------------------------
# planets: 11 px and 22 px.

def planet_sun(n):
    c = n / 2.0
    if n < 16:
        return art([
            ".....#.....",
            ".#...#...#.",
            "..#.....#..",
            "....###....",
            "...#####...",
            "##.#####.##",
            "...#####...",
            "....###....",
            "..#.....#..",
            ".#...#...#.",
            ".....#.....",
        ])
    m = disc(n, c, c, 5.6)
    for k in range(8):
        a = math.radians(k * 45.0)
        m = m | seg(n, c + 7.6 * math.cos(a), c + 7.6 * math.sin(a),
                    c + 10.0 * math.cos(a), c + 10.0 * math.sin(a), 1.6)
    return m


def planet_moon(n):
    if n < 16:
        return art([
            "...####....",
            "..###......",
            ".###.......",
            ".##........",
            "###........",
            "###........",
            "###........",
            ".##........",
            ".###.......",
            "..###......",
            "...####....",
        ])
    c = n / 2.0
    return (disc(n, c, c, 10.0) - disc(n, c + 5.0, c - 0.8, 8.6)).despeckled()


def planet_mercury(n):
    if n < 16:
        return art([
            "..#.....#..",
            "...#...#...",
            "....###....",
            "...#...#...",
            "...#...#...",
            "...#...#...",
            "....###....",
            ".....#.....",
            "...#####...",
            ".....#.....",
            ".....#.....",
        ])
    c = n / 2.0
    m = ring(n, c, 10.8, 4.8, 2)
    m = m | (ring(n, c, 0.4, 4.6, 2) & rect(n, 0, 1, n, 6))
    m = m | rect(n, 10, 15, 12, 22) | rect(n, 7, 18, 15, 20)
    return m


def planet_venus(n):
    if n < 16:
        return art([
            "....###....",
            "...#...#...",
            "..#.....#..",
            "..#.....#..",
            "..#.....#..",
            "...#...#...",
            "....###....",
            ".....#.....",
            "...#####...",
            ".....#.....",
            ".....#.....",
        ])
    c = n / 2.0
    m = ring(n, c, 7.0, 6.0, 2)
    m = m | rect(n, 10, 12, 12, 22) | rect(n, 6, 16, 16, 18)
    return m


def planet_mars(n):
    if n < 16:
        return art([
            ".......####",
            ".........##",
            "........#.#",
            ".......#..#",
            "..###.#....",
            ".#...#.....",
            "#.....#....",
            "#.....#....",
            "#.....#....",
            ".#...#.....",
            "..###......",
        ])
    m = ring(n, 8.0, 14.0, 6.5, 2)
    m = m | seg(n, 12.5, 9.5, 20.0, 2.0, 2.0)
    m = m | rect(n, 13, 1, 21, 3) | rect(n, 19, 1, 21, 9)
    return m


def planet_jupiter(n):
    if n < 16:
        return art([
            "...........",
            "..##.......",
            ".#..#...#..",
            "....#...#..",
            "....#...#..",
            "...#....#..",
            "..#.....#..",
            ".#########.",
            "........#..",
            "........#..",
            "........#..",
        ])
    m = ring(n, 6.5, 6.5, 3.8, 2) & Mask.of(n, lambda x, y: y <= 6.5 or x >= 6.5)
    m = m | seg(n, 9.6, 7.5, 3.0, 15.0, 2.0)
    m = m | rect(n, 2, 14, 21, 16) | rect(n, 15, 3, 17, 21)
    return m


def planet_saturn(n):
    # The ball with its ring seen a little from above: the near half of the
    # ring crosses the ball below its centre, with a gap that keeps the two
    # apart; the far half shows only beside the ball.
    if n < 16:
        return art([
            "...........",
            "...........",
            "....###....",
            "...#####...",
            ".#########.",
            "#.#######.#",
            ".##.....##.",
            "...#####...",
            "....###....",
            "...........",
            "...........",
        ])
    c = n / 2.0
    rc = c - 1.5

    def band(rx, ry, w):
        return ellipse(n, c, rc, rx + w / 2.0, ry + w / 2.0) - ellipse(n, c, rc, rx - w / 2.0, ry - w / 2.0)
    ring_band = band(10.4, 3.0, 2.0)
    gap = band(10.4, 3.0, 4.0)
    front = Mask.of(n, lambda x, y: y > rc)
    ball = disc(n, c, c, 7.0)
    return (ball - (gap & front)) | (ring_band & front) | (ring_band - ball)


def planet_uranus(n):
    if n < 16:
        return art([
            ".....#.....",
            "....###....",
            "...#.#.#...",
            ".....#.....",
            "....###....",
            "...#...#...",
            "..#.....#..",
            "..#..#..#..",
            "..#.....#..",
            "...#...#...",
            "....###....",
        ])
    c = n / 2.0
    m = ring(n, c, 14.5, 6.5, 2) | disc(n, c, 14.5, 1.6)
    m = m | rect(n, 10, 2, 12, 8)
    m = m | seg(n, 11.0, 1.6, 7.0, 5.6, 2.0) | seg(n, 11.0, 1.6, 15.0, 5.6, 2.0)
    return m


def planet_neptune(n):
    if n < 16:
        return art([
            ".#...#...#.",
            ".#...#...#.",
            ".#...#...#.",
            ".#...#...#.",
            "..#..#..#..",
            "...#####...",
            ".....#.....",
            ".....#.....",
            "...#####...",
            ".....#.....",
            ".....#.....",
        ])
    c = n / 2.0
    cup = ring(n, c, 4.0, 8.0, 2) & rect(n, 0, 4, n, 13)
    m = cup | rect(n, 10, 1, 12, 22) | rect(n, 6, 17, 16, 19)
    m = m | rect(n, 2, 1, 4, 5) | rect(n, 18, 1, 20, 5)
    return m


def planet_pluto(n):
    if n < 16:
        return art([
            "...........",
            "..#####....",
            "..#....#...",
            "..#....#...",
            "..#....#...",
            "..#####....",
            "..#........",
            "..#........",
            "..#........",
            "..#######..",
            "...........",
        ])
    m = rect(n, 4, 2, 6, 20) | rect(n, 4, 18, 18, 20)
    bowl = ring(n, 11.0, 7.0, 5.0, 2) & Mask.of(n, lambda x, y: x >= 11.0)
    m = m | bowl | rect(n, 4, 2, 11, 4) | rect(n, 4, 10, 11, 12)
    return m


def planet_star(n):
    c = n / 2.0
    s = n / 11.0
    return polygon(n, star_polygon(c, c + 0.4 * s, 5.6 * s, 2.3 * s))


def planet_earth(n):
    # The Earth's sign: a circle quartered by a cross.
    c = n / 2.0
    if n < 16:
        return ring(n, c, c, 4.6) | (disc(n, c, c, 4.6) & (rect(n, 5, 0, 6, n) | rect(n, 0, 5, n, 6)))
    return ring(n, c, c, 9.6, 2) | (disc(n, c, c, 9.0) & (rect(n, 10, 0, 12, n) | rect(n, 0, 10, n, 12)))


def planet_constellation(n):
    # The Plough: seven stars joined by thin lines, the handle at the upper
    # left and the bowl at the lower right.
    if n < 16:
        return art([
            "##.........",
            "##.........",
            "..##.......",
            "...##......",
            "....##...##",
            ".....######",
            ".....##..#.",
            "......#..#.",
            "......#..#.",
            "......#####",
            "...........",
        ])
    stars = [(2.0, 2.0), (6.5, 5.5), (10.0, 9.0), (12.5, 12.0), (19.5, 10.0), (20.0, 19.0), (13.0, 20.0)]
    links = [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 3)]
    m = Mask(n)
    for a, b in links:
        (x0, y0), (x1, y1) = stars[a], stars[b]
        m = m | seg(n, x0, y0, x1, y1, 1.0)
    for x, y in stars:
        m = m | disc(n, x, y, 1.9)
    return m


PLANETS = [planet_sun, planet_moon, planet_mercury, planet_venus, planet_mars, planet_jupiter,
           planet_saturn, planet_uranus, planet_neptune, planet_pluto, planet_star, planet_earth,
           planet_constellation]



# ---------------------------------------------------------------------------
# objects: 9 px and 18 px, deep-sky symbols after the usual chart conventions.

def obj_other(n):
    if n < 16:
        return art([
            "....#....",
            "...#.#...",
            "..#...#..",
            ".#.....#.",
            "#.......#",
            ".#.....#.",
            "..#...#..",
            "...#.#...",
            "....#....",
        ])
    c = n / 2.0
    return Mask.of(n, lambda x, y: 6.6 <= abs(x - c) + abs(y - c) <= 8.4)


def obj_galaxy(n):
    if n < 16:
        return art([
            ".........",
            ".....###.",
            "...##...#",
            "..#.....#",
            ".#..#..#.",
            "#.....#..",
            "#...##...",
            ".###.....",
            ".........",
        ])
    c = n / 2.0
    band = ellipse(n, c, c, 8.9, 4.2, -30.0) - ellipse(n, c, c, 7.2, 2.5, -30.0)
    return band | ellipse(n, c, c, 2.4, 1.3, -30.0)


def obj_open_cluster(n):
    if n < 16:
        return art([
            "...#.#...",
            ".#.....#.",
            ".........",
            "#.......#",
            ".........",
            "#.......#",
            ".........",
            ".#.....#.",
            "...#.#...",
        ])
    c = n / 2.0
    m = Mask(n)
    for k in range(12):
        a = math.radians(k * 30.0 + 15.0)
        m = m | block(n, c + 7.4 * math.cos(a), c + 7.4 * math.sin(a))
    return m


def obj_bright_nebula(n):
    if n < 16:
        return art([
            ".........",
            ".#######.",
            ".#.....#.",
            ".#.....#.",
            ".#.....#.",
            ".#.....#.",
            ".#.....#.",
            ".#######.",
            ".........",
        ])
    return rect(n, 2, 2, 16, 16).outline(2)


def obj_planetary(n):
    if n < 16:
        return art([
            "....#....",
            "....#....",
            "...###...",
            "..#...#..",
            "###...###",
            "..#...#..",
            "...###...",
            "....#....",
            "....#....",
        ])
    c = n / 2.0
    m = ring(n, c, c, 5.2, 2)
    m = m | rect(n, 8, 0, 10, 4) | rect(n, 8, 14, 10, 18) | rect(n, 0, 8, 4, 10) | rect(n, 14, 8, 18, 10)
    return m


def obj_globular(n):
    # The charts' globular cluster: a circle with a cross through it.
    if n < 16:
        return art([
            "...###...",
            ".##.#.##.",
            ".#..#..#.",
            "#...#...#",
            "#########",
            "#...#...#",
            ".#..#..#.",
            ".##.#.##.",
            "...###...",
        ])
    c = n / 2.0
    return ring(n, c, c, 9.0, 2) | rect(n, 8, 0, 10, n) | rect(n, 0, 8, n, 10)


def obj_dark_nebula(n):
    # A hatched cloud: light blocked, unlike the scattered dots of a star
    # cloud or the filled disc of a star.
    if n < 16:
        return art([
            "..#..#...",
            ".#..#..#.",
            "#..#..#..",
            "..#..#..#",
            ".#..#..#.",
            "#..#..#..",
            "..#..#..#",
            ".#..#..#.",
            "...#..#..",
        ])
    m = Mask(n)
    for cx, cy, r in [(6.5, 6.0, 4.8), (11.0, 7.5, 5.2), (7.0, 11.5, 5.0), (12.5, 12.0, 4.0)]:
        m = m | disc(n, cx, cy, r)
    hatch = Mask.of(n, lambda x, y: (int(x) + int(y)) % 3 == 0)
    return (m & hatch) | m.outline(1)


def obj_snr(n):
    if n < 16:
        return art([
            "....#....",
            ".#.###.#.",
            "..#...#..",
            ".#.....#.",
            "##.....##",
            ".#.....#.",
            "..#...#..",
            ".#.###.#.",
            "....#....",
        ])
    c = n / 2.0
    m = ring(n, c, c, 5.6, 2)
    for k in range(8):
        a = math.radians(k * 45.0)
        m = m | seg(n, c + 5.6 * math.cos(a), c + 5.6 * math.sin(a),
                    c + 8.6 * math.cos(a), c + 8.6 * math.sin(a), 1.8 if k % 2 == 0 else 1.3)
    return m


def obj_double(n):
    if n < 16:
        return art([
            ".........",
            ".....###.",
            "....#####",
            "....#####",
            "....#####",
            ".##..###.",
            "####.....",
            "####.....",
            ".##......",
        ])
    return disc(n, 12.5, 6.0, 4.6) | disc(n, 4.5, 13.5, 3.3)


def obj_star_cloud(n):
    # Single stars scattered over an oval cloud, never two side by side (a
    # fixed pseudo-random sequence, so the picture does not change).
    if n < 16:
        return art([
            ".#.....#.",
            "....#....",
            "#.......#",
            "...#..#..",
            ".#.......",
            ".....#..#",
            "..#......",
            "#....#.#.",
            "...#.....",
        ])
    c = n / 2.0
    m = Mask(n)
    seed = 2024
    placed = []
    while len(placed) < 24:
        seed = (seed * 1103515245 + 12345) % 2147483648
        x = (seed >> 16) % n
        seed = (seed * 1103515245 + 12345) % 2147483648
        y = (seed >> 16) % n
        if ((x + 0.5 - c) / 8.5) ** 2 + ((y + 0.5 - c) / 6.5) ** 2 > 1.0:
            continue
        if any(abs(x - a) <= 1 and abs(y - b) <= 1 for a, b in placed):
            continue
        placed.append((x, y))
        m.set(x, y)
    return m


def obj_asterism(n):
    s = n / 9.0
    pts = [(1.0, 1.5), (3.5, 4.0), (7.5, 2.5), (6.5, 7.5)]
    m = Mask(n)
    for a, b in [(0, 1), (1, 2), (1, 3)]:
        m = m | seg(n, pts[a][0] * s, pts[a][1] * s, pts[b][0] * s, pts[b][1] * s, 1.0)
    for x, y in pts:
        m = m | disc(n, x * s, y * s, 1.0 * s + 0.1)
    return m


def obj_cluster_nebula(n):
    if n < 16:
        return art([
            "#########",
            "#.......#",
            "#..#.#..#",
            "#.#...#.#",
            "#.......#",
            "#.#...#.#",
            "#..#.#..#",
            "#.......#",
            "#########",
        ])
    c = n / 2.0
    m = rect(n, 0, 0, n, n).outline(2)
    for k in range(8):
        a = math.radians(k * 45.0 + 22.5)
        m = m | block(n, c + 5.0 * math.cos(a), c + 5.0 * math.sin(a))
    return m


def obj_galaxy_cluster(n):
    # Three small tilted galaxies.
    if n < 16:
        return art([
            "##.......",
            ".##......",
            "......##.",
            ".......##",
            "..##.....",
            "...##....",
            ".........",
            ".....##..",
            "......##.",
        ])
    m = Mask(n)
    for cx, cy in [(4.2, 3.4), (13.6, 6.6), (5.6, 10.2), (12.0, 14.6)]:
        m = m | ellipse(n, cx, cy, 3.4, 1.4, 30.0)
    return m


def obj_star(n):
    if n < 16:
        return art([
            ".........",
            ".........",
            "...###...",
            "..#####..",
            "..#####..",
            "..#####..",
            "...###...",
            ".........",
            ".........",
        ])
    c = n / 2.0
    return disc(n, c, c, 5.2)


def obj_variable(n):
    if n < 16:
        return art([
            "...###...",
            ".##...##.",
            ".#.....#.",
            "#...#...#",
            "#..###..#",
            "#...#...#",
            ".#.....#.",
            ".##...##.",
            "...###...",
        ])
    c = n / 2.0
    return ring(n, c, c, 9.0, 2) | disc(n, c, c, 3.6)


def obj_quasar(n):
    if n < 16:
        return art([
            "#........",
            ".#.......",
            "..#......",
            "...###...",
            "...###...",
            "...###...",
            "......#..",
            ".......#.",
            "........#",
        ])
    c = n / 2.0
    return (disc(n, c, c, 3.2) | seg(n, 1.0, 1.0, c, c, 1.6) | seg(n, c, c, n - 1.0, n - 1.0, 1.6))


def obj_marker(n):
    if n < 16:
        return art([
            "....#....",
            "....#....",
            "....#....",
            ".........",
            "###...###",
            ".........",
            "....#....",
            "....#....",
            "....#....",
        ])
    return (rect(n, 8, 0, 10, 6) | rect(n, 8, 12, 10, 18) | rect(n, 0, 8, 6, 10) | rect(n, 12, 8, 18, 10)
            | rect(n, 8, 8, 10, 10))


OBJECTS = [obj_other, obj_galaxy, obj_open_cluster, obj_bright_nebula, obj_planetary, obj_globular,
           obj_dark_nebula, obj_snr, obj_double, obj_star_cloud, obj_asterism, obj_cluster_nebula,
           obj_galaxy_cluster, obj_star, obj_variable, obj_quasar, obj_marker]


# ---------------------------------------------------------------------------
# asteroidsComets: 9 px and 18 px. Asteroids are rocks, comets a head with
# a tail that points away from the Sun (drawn towards the upper right).

def rock(n, cx, cy, r, seed, stretch=1.3, tilt=-30.0):
    """An irregular rock: an ellipse whose radius wobbles with the angle."""
    ca, sa = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))

    def inside(x, y):
        u = ((x - cx) * ca + (y - cy) * sa) / stretch
        v = -(x - cx) * sa + (y - cy) * ca
        a = math.atan2(v, u)
        rr = r * (1.0 + 0.08 * math.sin(3 * a + seed) + 0.05 * math.cos(5 * a + 2 * seed))
        return u * u + v * v <= rr * rr
    return Mask.of(n, inside)


def ac_main_belt(n):
    # A rock in the belt: the belt's dots run past it.
    if n < 16:
        return art([
            ".........",
            ".........",
            "...###...",
            "..#####..",
            "#.##.##.#",
            "..#####..",
            "...###...",
            ".........",
            ".........",
        ])
    c = n / 2.0
    m = rock(n, c, c, 4.8, 3.1, 1.15) - disc(n, 10.5, 10.0, 1.2)
    for x in (1.0, 17.0):
        m = m | block(n, x, c, 2)
    return m


def ac_near_earth(n):
    # A rock close to the Earth (its sign: a circle with a cross).
    if n < 16:
        return art([
            ".....###.",
            "....#####",
            "....#####",
            ".....###.",
            ".###.....",
            "#.#.#....",
            "#####....",
            "#.#.#....",
            ".###.....",
        ])
    m = rock(n, 12.5, 5.0, 4.0, 1.5)
    earth = ring(n, 5.0, 13.0, 4.6, 2) | rect(n, 4, 8, 6, 18) | rect(n, 0, 12, 10, 14)
    return m | (earth & disc(n, 5.0, 13.0, 4.6))


def ac_outer(n):
    # A swarm: three rocks, as the trojans and Hildas travel in groups.
    if n < 16:
        return art([
            ".##......",
            "####.....",
            ".##......",
            ".....###.",
            "....####.",
            ".....##..",
            ".##......",
            "###......",
            ".##......",
        ])
    return rock(n, 4.5, 4.0, 2.9, 3.1) | rock(n, 13.0, 9.0, 3.5, 1.5) | rock(n, 4.5, 14.0, 2.9, 0.0)


def ac_distant(n):
    # A small icy body on a wide orbit.
    if n < 16:
        return art([
            "..#####..",
            ".#.....#.",
            "#.......#",
            "#...##..#",
            "#..###..#",
            "#...#...#",
            ".#.....#.",
            "..#####..",
            ".........",
        ])
    c = n / 2.0
    return ellipse(n, c, c, 8.6, 7.0).outline(1) | rock(n, c + 0.5, c + 0.5, 3.0, 3.1)


def comet(n, length, spread, streaks, head=3.0, fade=True, hx=5.0, hy=13.0, direction=-45.0):
    """A comet at 18 px: a round head at the lower left and a tail fanning
    out towards the upper right (half-angle `spread` degrees), parted into
    streaks by thin clear rays and thinning out into dots at its end."""

    def in_tail(x, y):
        d = math.hypot(x - hx, y - hy)
        a = math.degrees(math.atan2(y - hy, x - hx)) - direction
        if d > length or abs(a) > spread:
            return False
        for k in range(streaks):
            ray = -spread + (k + 1) * 2.0 * spread / (streaks + 1)
            if d > head + 1.5 and abs(math.radians(a - ray)) * d < 0.55:
                return False
        if fade and d > length * 0.72 and (int(x) + int(y)) % 2:
            return False
        return True
    return Mask.of(n, in_tail) | disc(n, hx, hy, head)


def ac_periodic(n):
    if n < 16:
        return art([
            ".........",
            ".......#.",
            ".....#.#.",
            "....#.#..",
            "..##.#...",
            ".####....",
            ".###.....",
            ".###.....",
            ".........",
        ])
    return comet(n, 14.5, 17.0, 1)


def ac_long_period(n):
    if n < 16:
        return art([
            ".....#.#.",
            "....#.#.#",
            "....#.#.#",
            "...#.##..",
            "..####...",
            ".####....",
            ".####....",
            "..##.....",
            ".........",
        ])
    return comet(n, 17.5, 24.0, 2, 2.8, True, 4.0, 14.0)


def ac_open_orbit(n):
    # A comet seen once: a straight gas tail and a broad curved dust tail.
    if n < 16:
        return art([
            "......#..",
            "......#..",
            ".....#...",
            ".....#.##",
            "....#.#..",
            "..###....",
            ".####....",
            ".###.....",
            ".........",
        ])
    # A straight gas tail and a broad dust tail beside it.
    m = comet(n, 15.5, 13.0, 1, 2.8, True, 4.0, 13.5, -22.0)
    return m | seg(n, 4.0, 13.5, 12.5, 0.5, 1.0)


def ac_interstellar(n):
    # A body from outside: a comet with a star's rays at its head.
    if n < 16:
        return art([
            "........#",
            ".......#.",
            ".#.#.##..",
            "..###....",
            ".#####...",
            "..###....",
            ".#.#.#...",
            ".........",
            ".........",
        ])
    hx, hy = 5.5, 12.5
    m = disc(n, hx, hy, 2.6) | seg(n, hx, hy, 17.0, 1.0, 1.0)
    for k in range(8):
        if k == 7:
            continue                    # where the tail leaves the head
        a = math.radians(k * 45.0)
        m = m | seg(n, hx + 4.0 * math.cos(a), hy + 4.0 * math.sin(a),
                    hx + 5.4 * math.cos(a), hy + 5.4 * math.sin(a), 1.0)
    return m


ASTEROIDS_COMETS = [ac_main_belt, ac_near_earth, ac_outer, ac_distant,
                    ac_periodic, ac_long_period, ac_open_orbit, ac_interstellar]


# ---------------------------------------------------------------------------
# arrows: 13 px and 26 px; 0 up (waxing), 1 down (waning), 2 left, 3 right.

def arrow_up(n):
    if n < 16:
        return art([
            "......#......",
            ".....###.....",
            "....#####....",
            "...#######...",
            "..#########..",
            ".###########.",
            "....#####....",
            "....#####....",
            "....#####....",
            "....#####....",
            "....#####....",
            "....#####....",
            ".............",
        ])
    c = n / 2.0
    return polygon(n, [(c, 0.4), (n - 1.6, 12.4), (17.0, 12.4), (17.0, 24.0), (9.0, 24.0), (9.0, 12.4),
                       (1.6, 12.4)])


def arrow_down(n):
    return arrow_up(n).flipped_y().shifted(0, -1)


def arrow_left(n):
    return arrow_up(n).transposed()


def arrow_right(n):
    return arrow_left(n).flipped_x().shifted(-1, 0)


ARROWS = [arrow_up, arrow_down, arrow_left, arrow_right]


# ---------------------------------------------------------------------------
# test: 12 px and 24 px, and the 16-pixel single glyph of test_bw/test_wb.

def test_square(n):
    k = n // 6
    return rect(n, k, k, n - k, n - k)


def test_disc(n):
    return disc(n, n / 2.0, n / 2.0, n / 2.0 - n / 12.0)


def test_cross(n):
    return seg(n, 1, 1, n - 1, n - 1, n / 8.0) | seg(n, n - 1, 1, 1, n - 1, n / 8.0)


TEST = [test_square, test_disc, test_cross]


def test_arrow(n):
    return (polygon(n, [(1, 1), (9, 1), (1, 9)]) | seg(n, 3, 3, 14, 14, 2.0))



# ---------------------------------------------------------------------------
# Toolbar buttons: 16 px and 32 px, 24-bit colour. Each picture is drawn on
# a transparent square (None); the normal and disabled looks leave that
# square magenta, which the toolbar's image lists make see-through (so a
# toolbar takes the colour of the window it sits on), and the armed look puts
# it on the pressed face. Shapes are given in a 16-unit square (u scales them); outlines are
# one pixel wide at 16 px and two at 32 px.

FACE = (240, 240, 240)
MASK = (255, 0, 255)          # see-through: the toolbar's background shows
INK = (36, 44, 64)            # outlines and dark strokes
RED = (214, 40, 40)
DARK_RED = (150, 20, 20)
BLUE = (44, 104, 200)
DARK_BLUE = (28, 62, 140)
LIGHT_BLUE = (186, 214, 248)
SKY_TOP = (14, 26, 74)
SKY_BOTTOM = (40, 70, 140)
STAR = (255, 236, 140)
WHITE_STAR = (255, 255, 255)
YELLOW = (250, 204, 40)
ORANGE = (196, 120, 20)
DARK_GREY = (90, 90, 96)
HILLS = (16, 40, 24)
PAPER = (255, 255, 255)


class Paint:
    def __init__(self, n):
        self.n = n
        self.s = n / 16.0
        self.w = 1 if n < 24 else 2
        self.px = [[None] * n for _ in range(n)]

    def u(self, v):
        return v * self.s

    def fill(self, mask, colour):
        for y in range(self.n):
            for x in range(self.n):
                if mask.bits[y][x]:
                    self.px[y][x] = colour

    def fill_rows(self, mask, top, bottom):
        """Fills with a vertical blend from top colour to bottom colour."""
        for y in range(self.n):
            t = y / float(self.n - 1)
            colour = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
            for x in range(self.n):
                if mask.bits[y][x]:
                    self.px[y][x] = colour

    # Shapes in units.
    def disc(self, cx, cy, r):
        return disc(self.n, self.u(cx), self.u(cy), self.u(r))

    def ring(self, cx, cy, r, width=None):
        return disc(self.n, self.u(cx), self.u(cy), self.u(r)).outline(width or self.w)

    def seg(self, x0, y0, x1, y1, width=None):
        return seg(self.n, self.u(x0), self.u(y0), self.u(x1), self.u(y1), width or self.w)

    def poly(self, pts):
        return polygon(self.n, [(self.u(x), self.u(y)) for x, y in pts])

    def rect(self, x0, y0, x1, y1):
        return rect(self.n, self.u(x0), self.u(y0), self.u(x1), self.u(y1))

    def star(self, cx, cy, r):
        """A small star: a single pixel with short rays, bigger at 32 px."""
        if r <= 0.6:
            return block(self.n, self.u(cx), self.u(cy), 1 if self.n < 24 else 2)
        k = self.u(r)
        x, y = self.u(cx), self.u(cy)
        w = 1.0 if self.n < 24 else 2.0
        return (seg(self.n, x - k, y, x + k, y, w) | seg(self.n, x, y - k, x, y + k, w)
                | disc(self.n, x, y, w * 0.75))

    def speck(self, cx, cy):
        """The faintest star: one pixel."""
        return block(self.n, self.u(cx), self.u(cy), 1)


def paint_art(p, x0, y0, rows, colours):
    """Pixel art for the small size: each letter of rows names a colour in
    colours, '.' leaves the pixel alone."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != '.':
                p.px[y0 + dy][x0 + dx] = colours[ch]


def outlined(p, shape, fill_colour, line_colour=INK):
    p.fill(shape, fill_colour)
    p.fill(shape.outline(p.w), line_colour)


def btn_compass(p):
    outlined(p, p.disc(8, 8, 7.5), PAPER)
    if p.n < 24:
        # A slim needle (north red) and the east and west marks: no blob.
        paint_art(p, 6, 2, [
            ".rr.",
            ".rr.",
            ".rr.",
            "rrrr",
            "rrrr",
            "rrrr",
            "bbbb",
            "bbbb",
            "bbbb",
            ".bb.",
            ".bb.",
            ".bb.",
        ], {"r": RED, "b": DARK_BLUE})
        p.fill(rect(p.n, 2, 7, 3, 9) | rect(p.n, 13, 7, 14, 9), INK)
        return
    for k in range(4):
        a = math.radians(k * 90.0)
        p.fill(p.seg(8 + 6.6 * math.sin(a), 8 - 6.6 * math.cos(a), 8 + 5.4 * math.sin(a),
                     8 - 5.4 * math.cos(a), 1), INK)
    p.fill(p.poly([(8, 1.6), (9.6, 8), (6.4, 8)]), RED)
    p.fill(p.poly([(6.4, 8), (9.6, 8), (8, 14.4)]), DARK_BLUE)
    p.fill(p.disc(8, 8, 0.7), PAPER)


def sky_square(p, hills=True):
    """The night sky in a square, darker towards the top, with the line of
    dark hills of a landscape at its foot."""
    square = p.rect(0.5, 0.5, 15.5, 15.5)
    p.fill_rows(square, SKY_TOP, SKY_BOTTOM)
    if hills:
        land = Mask.of(p.n, lambda x, y: y > p.u(12.2) - p.u(1.6) * math.sin(x / p.u(16) * 5.0) - p.u(0.6)
                       * math.sin(x / p.u(16) * 13.0)) & square
        p.fill(land, HILLS)
    p.fill(square.outline(1), INK)


def btn_sky(p):
    sky_square(p)
    p.fill(p.star(5, 5, 2.2), STAR)
    for x, y in [(11.5, 3.5), (12.5, 8.5), (3.5, 9.5), (8.5, 7.5)]:
        p.fill(p.star(x, y, 0.5), WHITE_STAR)
    if p.n >= 24:
        for x, y in [(9.0, 2.5), (14.0, 5.5), (6.5, 11.0), (2.2, 2.5)]:
            p.fill(p.speck(x, y), WHITE_STAR)


def btn_show_in_sky(p):
    sky_square(p, hills=False)
    for x, y in [(3.5, 3.5), (12.5, 12.0), (3.5, 12.5), (12.0, 3.0)]:
        p.fill(p.star(x, y, 0.5), WHITE_STAR)
    # The object ringed in red where the map shows it.
    p.fill(p.star(8, 8, 1.2), STAR)
    p.fill(p.ring(8, 8, 4.7, p.w), RED)


def btn_time(p):
    outlined(p, p.disc(8, 8, 7.5), PAPER, DARK_BLUE)
    if p.n >= 24:
        p.fill(p.ring(8, 8, 7.5, 2), DARK_BLUE)
    for k in range(12):
        if p.n < 24 and k % 3:
            continue
        a = math.radians(k * 30.0)
        inner = 5.4 if k % 3 == 0 else 6.0
        p.fill(p.seg(8 + inner * math.sin(a), 8 - inner * math.cos(a), 8 + 6.3 * math.sin(a),
                     8 - 6.3 * math.cos(a), 1), INK)
    if p.n < 24:
        # Three o'clock: the hands on the pixel grid.
        p.fill(rect(p.n, 7, 3, 8, 9) | rect(p.n, 7, 8, 12, 9), INK)
        return
    p.fill(p.seg(8, 8, 8, 3.0), INK)                    # minute hand at 12
    p.fill(p.seg(8, 8, 4.6, 6.0), INK)                  # hour hand towards 10
    p.fill(p.seg(8, 8, 10.5, 12.2, 1), RED)             # second hand
    p.fill(p.disc(8, 8, 1.0), INK)


def btn_info(p):
    outlined(p, p.disc(8, 8, 7.5), BLUE, DARK_BLUE)
    p.fill(p.disc(8, 4.4, 1.3), PAPER)
    p.fill(p.rect(7, 6.6, 9, 12.4), PAPER)
    p.fill(p.rect(6, 6.6, 9, 7.6), PAPER)
    p.fill(p.rect(6, 11.4, 10, 12.4), PAPER)


def btn_search(p):
    p.fill(p.seg(10.2, 10.2, 14.2, 14.2, p.u(3.0)), DARK_GREY)
    p.fill(p.seg(10.0, 10.0, 11.0, 11.0, p.u(2.0)), INK)
    lens = p.disc(6.5, 6.5, 5.6)
    outlined(p, lens, LIGHT_BLUE, INK)
    p.fill(p.ring(6.5, 6.5, 5.6, p.w + (1 if p.n >= 24 else 0)), INK)
    p.fill(p.seg(4.0, 5.6, 5.6, 4.0, 1.0 if p.n < 24 else 1.6), PAPER)


def btn_full_screen(p):
    p.fill(p.rect(4.5, 5.5, 11.5, 10.5), LIGHT_BLUE)
    p.fill(p.rect(4.5, 5.5, 11.5, 10.5).outline(1), BLUE)
    n, w = p.n, p.w
    arm = int(round(p.u(4.5)))
    for left in (True, False):
        for top in (True, False):
            # One pixel in from the edge, where a pressed button has its frame.
            x0 = 1 if left else n - 1 - arm
            y0 = 1 if top else n - 1 - arm
            xe = 1 if left else n - 1 - w
            ye = 1 if top else n - 1 - w
            p.fill(rect(n, x0, ye, x0 + arm, ye + w) | rect(n, xe, y0, xe + w, y0 + arm), DARK_BLUE)
            if n >= 24:
                x = 1.0 if left else 15.0
                y = 1.0 if top else 15.0
                dx = 1 if left else -1
                dy = 1 if top else -1
                p.fill(p.seg(x + dx * 2.0, y + dy * 2.0, x + dx * 4.4, y + dy * 4.4, 1.6), DARK_BLUE)


def btn_view_settings(p):
    for y, knob in [(3.5, 10.5), (8.0, 5.0), (12.5, 8.5)]:
        p.fill(p.seg(1.5, y, 14.5, y, 1), DARK_GREY)
        outlined(p, p.rect(knob - 1.6, y - 2.4, knob + 1.6, y + 2.4), BLUE, DARK_BLUE)


def btn_centre(p):
    p.fill(p.ring(8, 8, 5.6, p.w), INK)
    for a, b, c, d in [(8, 0.5, 8, 4.5), (8, 11.5, 8, 15.5), (0.5, 8, 4.5, 8), (11.5, 8, 15.5, 8)]:
        p.fill(p.seg(a, b, c, d), INK)
    p.fill(p.disc(8, 8, 2.2), RED)


def btn_reference(p):
    # The angular distance between two stars, measured like a drawing's
    # dimension: two stars, their extension lines and a red arrow between.
    if p.n < 24:
        paint_art(p, 0, 1, [
            "...o........o...",
            "..oyo......oyo..",
            ".oyyyo....oyyyo.",
            "..oyo......oyo..",
            "...o........o...",
            "...k........k...",
            "...k........k...",
            "...k.r....r.k...",
            "...krr....rrk...",
            "...krrrrrrrrk...",
            "...krr....rrk...",
            "...k.r....r.k...",
            "...k........k...",
        ], {"k": INK, "r": RED, "o": ORANGE, "y": YELLOW})
        return
    for cx in (3.5, 12.5):
        star = polygon(p.n, star_polygon(p.u(cx), p.u(3.2), p.u(3.0), p.u(1.3)))
        outlined(p, star, YELLOW, ORANGE)
        p.fill(p.seg(cx, 6.4, cx, 14.5, 1), INK)
    p.fill(p.seg(4.6, 10.5, 11.4, 10.5), RED)
    p.fill(p.poly([(4.0, 10.5), (6.4, 8.6), (6.4, 12.4)]), RED)
    p.fill(p.poly([(12.0, 10.5), (9.6, 8.6), (9.6, 12.4)]), RED)


def btn_location(p):
    p.fill(ellipse(p.n, p.u(8), p.u(14.6), p.u(4.5), p.u(1.2)), (170, 170, 170))
    head = p.disc(8, 6, 5.0)
    body = head | p.poly([(3.6, 8.2), (12.4, 8.2), (8, 14.8)])
    outlined(p, body, RED, DARK_RED)
    p.fill(p.disc(8, 6, 1.9), PAPER)


def btn_object_display(p):
    outlined(p, p.rect(0.5, 2.5, 15.5, 13.5), PAPER, DARK_GREY)
    if p.n < 24:
        paint_art(p, 2, 5, [
            "..o..",
            ".oyo.",
            "oyyyo",
            ".oyo.",
            ".o.o.",
        ], {"o": ORANGE, "y": YELLOW})
    else:
        star = polygon(p.n, star_polygon(p.u(4.6), p.u(8.3), p.u(3.2), p.u(1.3)))
        outlined(p, star, YELLOW, ORANGE)
    for y in (5.5, 7.5, 9.5):
        p.fill(p.seg(8.5, y, 13.5 if y != 9.5 else 11.5, y, 1 if p.n < 24 else 2), INK)


def btn_zoom(p):
    # A map's zoom control: a plus box over a minus box.
    if p.n < 24:
        paint_art(p, 4, 1, [
            "BBBBBBBB",
            "BbbwwbbB",
            "BwwwwwwB",
            "BwwwwwwB",
            "BbbwwbbB",
            "BBBBBBBB",
            "........",
            "........",
            "BBBBBBBB",
            "BbbbbbbB",
            "BwwwwwwB",
            "BwwwwwwB",
            "BbbbbbbB",
            "BBBBBBBB",
        ], {"B": DARK_BLUE, "b": BLUE, "w": PAPER})
        return
    for top in (1.0, 9.0):
        outlined(p, p.rect(3.5, top, 12.5, top + 6.0), BLUE, DARK_BLUE)
        p.fill(p.rect(5.5, top + 2.5, 10.5, top + 3.5), PAPER)
    p.fill(p.rect(7.5, 2.5, 8.5, 5.5), PAPER)


def btn_mag_filter(p):
    # Stars of falling brightness over a funnel.
    if p.n < 24:
        paint_art(p, 0, 0, [
            "..o.............",
            ".oyo....o.......",
            "oyyyo..oyo....o.",
            ".oyo....o.......",
            "..o.............",
            "................",
            "BBBBBBBBBBBBBBBB",
            ".BbbbbbbbbbbbbB.",
            "..BbbbbbbbbbbB..",
            "...BbbbbbbbbB...",
            "....BbbbbbbB....",
            "......BbbB......",
            "......BbbB......",
            "......BbbB......",
            "......BbbB......",
            "......BBBB......",
        ], {"B": DARK_BLUE, "b": BLUE, "o": ORANGE, "y": YELLOW})
        return
    funnel = p.poly([(0.6, 6.0), (15.4, 6.0), (9.4, 11.0), (9.4, 15.5), (6.6, 15.5), (6.6, 11.0)])
    outlined(p, funnel, BLUE, DARK_BLUE)
    for cx, r in [(2.6, 2.6), (8.2, 1.8), (13.6, 1.0)]:
        star = polygon(p.n, star_polygon(p.u(cx), p.u(2.6), p.u(r), p.u(r * 0.45)))
        outlined(p, star, YELLOW, ORANGE)


def btn_keys_direction(p):
    # The arrow keys move the view: a cross of four arrows.
    if p.n < 24:
        paint_art(p, 0, 0, [
            ".......BB.......",
            "......BBBB......",
            ".....BBBBBB.....",
            ".......BB.......",
            ".......BB.......",
            "..B....BB....B..",
            ".BB....BB....BB.",
            "BBBBBBBBBBBBBBBB",
            "BBBBBBBBBBBBBBBB",
            ".BB....BB....BB.",
            "..B....BB....B..",
            ".......BB.......",
            ".......BB.......",
            ".....BBBBBB.....",
            "......BBBB......",
            ".......BB.......",
        ], {"B": DARK_BLUE})
        return
    p.fill(p.rect(7.0, 2.5, 9.0, 13.5) | p.rect(2.5, 7.0, 13.5, 9.0), DARK_BLUE)
    for pts in ([(8, 0.3), (11.0, 3.3), (5.0, 3.3)], [(8, 15.7), (11.0, 12.7), (5.0, 12.7)],
                [(0.3, 8), (3.3, 5.0), (3.3, 11.0)], [(15.7, 8), (12.7, 5.0), (12.7, 11.0)]):
        p.fill(p.poly(pts), DARK_BLUE)


def btn_keys_time_zoom(p):
    # The arrow keys step the time: a clock beside an up-and-down arrow.
    if p.n < 24:
        paint_art(p, 0, 2, [
            "...kkkkk.....B..",
            "..kwwwwwk...BBB.",
            ".kwwwkwwwk.BBBBB",
            "kwwwwkwwwwk..B..",
            "kwwwwkwwwwk..B..",
            "kwwwwkkkwwk..B..",
            "kwwwwwwwwwk..B..",
            "kwwwwwwwwwk..B..",
            ".kwwwwwwwk.BBBBB",
            "..kwwwwwk...BBB.",
            "...kkkkk.....B..",
        ], {"k": INK, "w": PAPER, "B": DARK_BLUE})
        return
    outlined(p, p.disc(5.6, 8, 5.4), PAPER, INK)
    p.fill(p.seg(5.6, 8, 5.6, 4.2, 1), INK)
    p.fill(p.seg(5.6, 8, 8.2, 8, 1), INK)
    p.fill(p.rect(13.0, 3.0, 14.4, 13.0), DARK_BLUE)
    p.fill(p.poly([(13.7, 0.6), (16.0, 4.0), (11.4, 4.0)]), DARK_BLUE)
    p.fill(p.poly([(13.7, 15.4), (16.0, 12.0), (11.4, 12.0)]), DARK_BLUE)


BUTTONS = [btn_compass, btn_sky, btn_show_in_sky, btn_time, btn_info, btn_search, btn_full_screen,
           btn_view_settings, btn_centre, btn_reference, btn_location, btn_object_display, btn_zoom,
           btn_mag_filter, btn_keys_direction, btn_keys_time_zoom]


ARMED_FACE = (196, 216, 242)
ARMED_FRAME = (96, 128, 184)


def button_strip(n, state):
    """The sixteen buttons side by side in one of the states."""
    rows = [[] for _ in range(n)]
    for draw in BUTTONS:
        p = Paint(n)
        draw(p)
        for y in range(n):
            for x in range(n):
                c = p.px[y][x]
                if state == "normal":
                    out = c if c is not None else MASK
                elif state == "armed":
                    edge = x == 0 or y == 0 or x == n - 1 or y == n - 1
                    out = ARMED_FRAME if edge else (c if c is not None else ARMED_FACE)
                else:
                    if c is None:
                        out = MASK
                    else:
                        # Grey of the same lightness, faded halfway into the face.
                        grey = (c[0] * 299 + c[1] * 587 + c[2] * 114) // 1000
                        v = (grey + 2 * FACE[0]) // 3
                        out = (v, v, v)
                rows[y].append(out)
    return rows


# ---------------------------------------------------------------------------
# Strips and files.

def mono_strip(glyphs, n):
    """Rows of 0/1 (1 = ink) for the glyphs side by side."""
    cells = []
    for g in glyphs:
        m = g(n)
        if m.n != n:
            raise ValueError("%s drew %d px, %d expected" % (g.__name__, m.n, n))
        cells.append(m)
    return [[1 if cells[i].bits[y][x] else 0 for i in range(len(cells)) for x in range(n)]
            for y in range(n)]


def bmp_mono(rows, palette, ppm):
    """A one-bit BMP; rows[y][x] is the palette index, top row first."""
    h, w = len(rows), len(rows[0])
    stride = ((w + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):              # BMP rows run bottom-up
        line_bytes = bytearray(stride)
        for x, v in enumerate(row):
            if v:
                line_bytes[x >> 3] |= 0x80 >> (x & 7)
        data += line_bytes
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return _bmp(w, h, 1, pal, bytes(data), ppm)


def bmp_rgb(pixels, ppm):
    h, w = len(pixels), len(pixels[0])
    stride = ((w * 3 + 3) // 4) * 4
    data = bytearray()
    for row in reversed(pixels):
        line_bytes = bytearray()
        for (r, g, b) in row:
            line_bytes += bytes((b, g, r))
        line_bytes += bytes(stride - len(line_bytes))
        data += line_bytes
    return _bmp(w, h, 24, b"", bytes(data), ppm)


def _bmp(w, h, bpp, palette, data, ppm):
    offset = 14 + 40 + len(palette)
    colours = len(palette) // 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(data), ppm, ppm, colours, colours)
    return header + info + palette + data


# Pixels per metre stored in the headers (96 and 192 dots per inch).
PPM = {96: 3780, 192: 7559}
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def mono_strips():
    return [("planets", PLANETS, 11), ("objects", OBJECTS, 9), ("asteroidsComets", ASTEROIDS_COMETS, 9),
            ("arrows", ARROWS, 13), ("test", TEST, 12)]


def build_all():
    """Every file: name -> (BMP bytes, the picture as RGB rows, glyph side)."""
    files = {}
    for name, glyphs, side in mono_strips():
        for dpi in (96, 192):
            n = side * dpi // 96
            rows = mono_strip(glyphs, n)
            files["%s_%d.bmp" % (name, dpi)] = (bmp_mono(rows, [WHITE, BLACK], PPM[dpi]),
                                                [[BLACK if v else WHITE for v in r] for r in rows], n)
    rows = mono_strip([test_arrow], 16)
    picture = [[BLACK if v else WHITE for v in r] for r in rows]
    files["test_wb.bmp"] = (bmp_mono(rows, [WHITE, BLACK], PPM[96]), picture, 16)
    files["test_bw.bmp"] = (bmp_mono([[1 - v for v in r] for r in rows], [BLACK, WHITE], PPM[96]), picture, 16)
    for dpi in (96, 192):
        n = 16 * dpi // 96
        for state in ("normal", "armed", "disabled"):
            pixels = button_strip(n, state)
            files["buttons_%s_%d.bmp" % (state, dpi)] = (bmp_rgb(pixels, PPM[dpi]), pixels, n)
    return files


def enlarged(pixels, side, scale):
    """The picture enlarged, with a two-pixel magenta gap between glyphs."""
    h, w = len(pixels), len(pixels[0])
    count = w // side
    gap = 2
    out_w = count * side * scale + (count + 1) * gap
    out = [[(255, 0, 255)] * out_w for _ in range(gap)]
    for y in range(h):
        row = [(255, 0, 255)] * gap
        for i in range(count):
            for x in range(side):
                row += [pixels[y][i * side + x]] * scale
            row += [(255, 0, 255)] * gap
        out += [row[:] for _ in range(scale)]
    out += [[(255, 0, 255)] * out_w for _ in range(gap)]
    return out


def write_preview(files, folder):
    """Every strip enlarged (six times at 96, three times at 192, so that
    both show at the same size) and a contact sheet of them all."""
    os.makedirs(folder, exist_ok=True)
    order = ["planets", "objects", "asteroidsComets", "arrows", "buttons_normal", "buttons_armed",
             "buttons_disabled", "test"]
    names = [f for base in order for f in ("%s_96.bmp" % base, "%s_192.bmp" % base)]
    names += ["test_bw.bmp", "test_wb.bmp"]
    sheet = []
    for name in names:
        _, pixels, side = files[name]
        big = enlarged(pixels, side, 6 * 16 // side if side in (16, 32) else (6 if side < 16 else 3))
        png(big, 1, os.path.join(folder, name[:-4] + ".png"))
        sheet += big + [[(255, 255, 255)] * len(big[0]) for _ in range(10 if name.endswith("_96.bmp") else 24)]
    width = max(len(row) for row in sheet)
    sheet = [row + [(255, 255, 255)] * (width - len(row)) for row in sheet]
    png(sheet, 1, os.path.join(folder, "contact_sheet.png"))


def png(pixels, scale, path):
    """An enlarged RGB PNG of a picture, for looking at the glyphs."""
    h, w = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        line_bytes = bytearray()
        for p in row:
            line_bytes += bytes(p) * scale
        for _ in range(scale):
            raw += b"\x00" + line_bytes

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w * scale, h * scale, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description="Draws the interface bitmaps.")
    ap.add_argument("--output", default=os.path.join(here, "..", "resources", "bitmaps"))
    ap.add_argument("--preview", help="also write enlarged PNG pictures of every strip and a contact sheet here")
    args = ap.parse_args(argv)
    files = build_all()
    os.makedirs(args.output, exist_ok=True)
    for name, (data, _, _) in sorted(files.items()):
        with open(os.path.join(args.output, name), "wb") as f:
            f.write(data)
    if args.preview:
        write_preview(files, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
