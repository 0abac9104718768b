#!/usr/bin/env python3
"""Builds engine/constellation_tables.cpp from the public catalogues in
catalogs/constellations/ (see the README there for their provenance).

  python3 tools/make_constellation_tables.py [--source DIR] [--output FILE]

Standard library only. The output depends on nothing but the inputs, so the
committed file can be checked by re-running the tool and comparing bytes.

Tables produced (equinox B1875.0 unless said otherwise):
- the region table of Roman (1987), re-packed as three 16-bit words a row;
- the boundary segments and their vertices, from the Delporte boundaries as
  closed polygons (Davenhall & Leggett 1989): each edge shared by two
  constellations is emitted once, in the order of a walk through the
  polygons, and every vertex once;
- the constellation centres (J2000) as three signed bytes;
- the abbreviations by index.
Everything is checked before it is written: the packing limits, the
polygons against the region table (each segment separates the two
constellations it names), and each centre against its own constellation.
"""

import argparse
import csv
import io
import math
import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


class InputError(Exception):
    pass


def fail(msg):
    raise InputError(msg)


def read_csv(path, columns):
    try:
        with open(path, newline="", encoding="utf-8") as f:
            rows = list(csv.DictReader(f))
    except OSError as e:
        fail("cannot read %s: %s" % (path, e))
    if not rows:
        fail("%s: no rows" % path)
    missing = [c for c in columns if c not in rows[0]]
    if missing:
        fail("%s: missing columns %s" % (path, ", ".join(missing)))
    return rows


def number(path, line, text):
    try:
        v = float(text)
    except ValueError:
        fail("%s line %d: not a number: %r" % (path, line, text))
    if not math.isfinite(v):
        fail("%s line %d: not a finite number: %r" % (path, line, text))
    return v


def whole(path, line, value, what):
    """A value that the catalogue gives to a few decimals but that is a whole
    number of seconds of time or arcminutes."""
    r = int(math.floor(value + 0.5))
    if abs(value - r) > 0.2:
        fail("%s line %d: %s %.4f is not a whole number" % (path, line, what, value))
    return r


# ---------------------------------------------------------------------------
# Constellation indices: the IAU abbreviations sorted without regard to case;
# 88 is the second part of Serpens.

def abbreviations(centres_rows):
    names = [r["abbr"] for r in centres_rows]
    if len(names) != 88 or len(set(names)) != 88:
        fail("centres.csv: expected 88 distinct constellations, got %d" % len(set(names)))
    return sorted(names, key=lambda s: s.lower())


# ---------------------------------------------------------------------------
# Region table.

def build_regions(path, index_of):
    rows = read_csv(path, ["ra_lo_h", "ra_hi_h", "dec_lo_deg", "abbr"])
    packed = []
    previous = 5400  # the pole
    for line, r in enumerate(rows, start=2):
        start = whole(path, line, number(path, line, r["ra_lo_h"]) * 3600.0, "RA")
        end = whole(path, line, number(path, line, r["ra_hi_h"]) * 3600.0, "RA")
        dec = whole(path, line, number(path, line, r["dec_lo_deg"]) * 60.0, "declination")
        if r["abbr"] not in index_of:
            fail("%s line %d: unknown constellation %r" % (path, line, r["abbr"]))
        if not (0 <= start < end <= 86400):
            fail("%s line %d: bad RA range" % (path, line))
        if not (-5400 <= dec <= previous):
            fail("%s line %d: declination out of order" % (path, line))
        width = 0 if end == 86400 else end - start
        step = previous - dec
        if width >= 1 << 15 or step >= 1 << 9:
            fail("%s line %d: row does not fit the packed form" % (path, line))
        packed.append((start >> 1, (width << 1) | (start & 1), (step << 7) | index_of[r["abbr"]]))
        previous = dec
    if previous != -5400:
        fail("%s: the last band does not reach the south pole" % path)
    return packed


def lookup(regions, ra, dec):
    """The engine's search on the packed table; ra in seconds of time and dec
    in arcminutes, both integers."""
    i = 0
    limit = 5280
    while limit > dec:
        i += 1
        limit -= regions[i][2] >> 7
    while True:
        w0, w1, w2 = regions[i]
        start = 2 * w0 + (w1 & 1)
        width = w1 >> 1
        if start <= ra and (ra <= start + width or (width == 0 and ra <= 86400)):
            return w2 & 127
        i += 1


def lookup_vector(regions, v):
    x, y, z = v
    lon = math.atan2(y, x)
    lat = math.atan2(z, math.hypot(x, y))
    ra = int(lon * 13750.987)
    if ra < 0:
        ra += 86400
    ra = min(max(ra, 0), 86400)
    dec = max(int(lat * 3437.7468), -5400)
    return lookup(regions, ra, dec)


# ---------------------------------------------------------------------------
# Boundary segments and vertices.

def read_polygons(path, part_index):
    rows = read_csv(path, ["poly_id", "abbr", "seq", "ra_h_b1875", "dec_deg_b1875", "adjacent_abbr"])
    polygons = []  # [(name, [(ra_s, dec_arcmin, adjacent)])]
    current = None
    for line, r in enumerate(rows, start=2):
        if current is None or r["poly_id"] != current[0]:
            current = (r["poly_id"], r["abbr"], [])
            polygons.append(current)
        elif r["abbr"] != current[1]:
            fail("%s line %d: polygon changes its constellation" % (path, line))
        if r["abbr"] not in part_index:
            fail("%s line %d: unknown constellation %r" % (path, line, r["abbr"]))
        try:
            seq = int(r["seq"])
        except ValueError:
            fail("%s line %d: bad sequence number" % (path, line))
        if seq != len(current[2]):
            fail("%s line %d: sequence out of order" % (path, line))
        ra = whole(path, line, number(path, line, r["ra_h_b1875"]) * 3600.0, "RA") % 86400
        dec = whole(path, line, number(path, line, r["dec_deg_b1875"]) * 60.0, "declination")
        if not (-5400 < dec < 5400):
            fail("%s line %d: declination out of range" % (path, line))
        current[2].append((ra, dec, r["adjacent_abbr"]))
    result = []
    for pid, name, pts in polygons:
        if len(pts) < 4 or pts[0][:2] != pts[-1][:2]:
            fail("%s: polygon %s (%s) is not closed" % (path, pid, name))
        result.append((name, pts))
    return result


def signed_ra(d):
    """An RA difference in seconds of time taken the short way round."""
    d %= 86400
    return d - 86400 if d > 43200 else d


def build_segments(polygons, part_index, base_name):
    vertex_index = {}
    vertices = []
    edges = {}
    segments = []
    for name, pts in polygons:
        for ra, dec, _ in pts[:-1]:
            if (ra, dec) not in vertex_index:
                vertex_index[(ra, dec)] = len(vertices)
                vertices.append((ra, dec))
    for name, pts in polygons:
        own = part_index[name]
        for k in range(1, len(pts)):
            a, b = pts[k - 1][:2], pts[k][:2]
            key = frozenset((a, b))
            if a == b:
                fail("boundaries: zero-length edge in %s" % name)
            if key in edges:
                seg = edges[key]
                if seg["other"] is not None:
                    fail("boundaries: edge %s of %s is shared by more than two polygons" % (a, name))
                if seg["start"] != b or seg["end"] != a:
                    fail("boundaries: edge %s of %s runs the same way in both polygons" % (a, name))
                seg["other"] = own
                continue
            if a[1] == b[1]:
                direction, length = 1, signed_ra(b[0] - a[0])
            elif a[0] == b[0]:
                direction, length = 0, b[1] - a[1]
            else:
                fail("boundaries: edge %s-%s of %s is neither a parallel nor a meridian" % (a, b, name))
            if not (-32768 <= length <= 32767):
                fail("boundaries: edge %s of %s is too long for the table" % (a, name))
            adjacent = pts[k][2]
            seg = {"start": a, "end": b, "direction": direction, "length": length,
                   "own": own, "other": None, "adjacent": adjacent}
            edges[key] = seg
            segments.append(seg)
    for seg in segments:
        if seg["other"] is None:
            fail("boundaries: edge at %s has a constellation on one side only" % (seg["start"],))
        # The neighbour column is a cross-check only (it spells a few names in
        # capitals); the sides come from the polygons themselves.
        adjacent = seg["adjacent"]
        adjacent = base_name.get(adjacent, adjacent).lower()
        if base_name[seg["other"]].lower() != adjacent:
            fail("boundaries: edge at %s: neighbour %s, but the polygons say %s"
                 % (seg["start"], seg["adjacent"], base_name[seg["other"]]))
    return vertices, vertex_index, segments


def unit_vector(ra_rad, dec_rad):
    return (math.cos(dec_rad) * math.cos(ra_rad), math.cos(dec_rad) * math.sin(ra_rad), math.sin(dec_rad))


def probe(regions, ra_s, dec_min):
    ra = ra_s * math.pi / 43200.0
    dec = dec_min * math.pi / 10800.0
    return lookup_vector(regions, unit_vector(ra, dec))


def check_segments(regions, segments, roman_index):
    """Each segment must separate its two constellations in the region table:
    probe beside it, near its start and at its middle."""
    for seg in segments:
        ra, dec = seg["start"]
        length = seg["length"]
        sign = 1 if length > 0 else -1
        for along in (min(2.0, abs(length) / 2.0), abs(length) / 2.0):
            if seg["direction"] == 1:
                pa = ra + sign * along
                right = probe(regions, pa, dec - 1.5 * sign)
                left = probe(regions, pa, dec + 1.5 * sign)
            else:
                pd = dec + sign * along
                right = probe(regions, ra + 1.5 * sign, pd)
                left = probe(regions, ra - 1.5 * sign, pd)
            if (right, left) != (roman_index[seg["own"]], roman_index[seg["other"]]):
                fail("boundaries: segment at %s does not separate its constellations in the region table"
                     % (seg["start"],))


# ---------------------------------------------------------------------------
# Precession (Lieske 1977), as the engine applies it.

def precession(t0, t):
    """The matrix that takes equatorial coordinates at T0 to those at T
    (Julian centuries since J2000.0)."""
    dt = t - t0
    arc = 4.848136811095360e-6
    zeta = ((2306.218 + 1.39656 * t0 - 0.000139 * t0 * t0) * dt + (0.30188 - 0.000345 * t0) * dt * dt
            + 0.017998 * dt ** 3) * arc
    z = zeta + ((0.7928 + 0.000411 * t0) * dt * dt + 0.000205 * dt ** 3) * arc
    theta = ((2004.3109 - 0.8533 * t0 - 0.000217 * t0 * t0) * dt - (0.42665 + 0.000217 * t0) * dt * dt
             - 0.041833 * dt ** 3) * arc
    cz, sz = math.cos(zeta), math.sin(zeta)
    cZ, sZ = math.cos(z), math.sin(z)
    ct, st = math.cos(theta), math.sin(theta)
    return ((cz * ct * cZ - sz * sZ, -sz * ct * cZ - cz * sZ, -st * cZ),
            (cz * ct * sZ + sz * cZ, -sz * ct * sZ + cz * cZ, -st * sZ),
            (cz * st, -sz * st, ct))


def apply(m, v):
    return tuple(sum(m[i][j] * v[j] for j in range(3)) for i in range(3))


def apply_transposed(m, v):
    return tuple(sum(m[j][i] * v[j] for j in range(3)) for i in range(3))


def area_centre(pts):
    """Direction of the area centre (the integral of the unit vector over
    the region) of a boundary polygon whose edges run along meridians and
    parallels. Green's theorem turns the area integral into one along the
    meridian edges; the right ascension is unwrapped along the polygon, so
    the polygon must not go round a pole."""
    sx = sy = sz = area = 0.0
    ra = pts[0][0] * math.pi / 43200.0
    for k in range(1, len(pts)):
        a, b = pts[k - 1], pts[k]
        if a[1] == b[1]:
            ra += signed_ra(b[0] - a[0]) * math.pi / 43200.0
            continue
        d1, d2 = a[1] * math.pi / 10800.0, b[1] * math.pi / 10800.0
        c2 = (d2 / 2 + math.sin(2 * d2) / 4) - (d1 / 2 + math.sin(2 * d1) / 4)
        sx += math.sin(ra) * c2
        sy -= math.cos(ra) * c2
        sz += ra * (math.sin(d2) ** 2 - math.sin(d1) ** 2) / 2
        area += ra * (math.sin(d2) - math.sin(d1))
    if abs(ra - pts[0][0] * math.pi / 43200.0) > 1e-9:
        fail("boundaries: area centre of a polygon round a pole")
    norm = math.sqrt(sx * sx + sy * sy + sz * sz) * (1 if area > 0 else -1)
    return (sx / norm, sy / norm, sz / norm)


def pack_centre(v):
    # 127, not 128: a component of 1 must still fit a signed byte.
    return tuple(int(math.floor(127.0 * c + 0.5)) for c in v)


def build_centres(path, names, serpens_caput_b1875, regions, index_of):
    rows = read_csv(path, ["abbr", "centre_ra_h", "centre_dec_deg"])
    by_name = {}
    for line, r in enumerate(rows, start=2):
        ra = number(path, line, r["centre_ra_h"]) * math.pi / 12.0
        dec = number(path, line, r["centre_dec_deg"]) * math.pi / 180.0
        if not (-math.pi / 2 <= dec <= math.pi / 2):
            fail("%s line %d: declination out of range" % (path, line))
        by_name[r["abbr"]] = unit_vector(ra, dec)
    # The catalogue's centre of Serpens lies between its two parts (in
    # Hercules); the centre of Serpens Caput, the larger part, stands in.
    to_b1875 = precession(0.0, -1.25)
    by_name["Ser"] = apply_transposed(to_b1875, serpens_caput_b1875)
    packed = []
    for i, name in enumerate(names):
        c = pack_centre(by_name[name])
        v = tuple(x / 128.0 for x in c)
        if lookup_vector(regions, apply(to_b1875, v)) != i:
            fail("%s: the centre of %s lies outside it" % (path, name))
        packed.append(c)
    return packed


# ---------------------------------------------------------------------------

def generate(source):
    centres_path = os.path.join(source, "centres.csv")
    names = abbreviations(read_csv(centres_path, ["abbr"]))
    index_of = {n: i for i, n in enumerate(names)}
    regions = build_regions(os.path.join(source, "roman1987.csv"), index_of)
    if len(regions) != 357:
        fail("roman1987.csv: expected 357 rows, got %d" % len(regions))

    # The boundary polygons name the two parts of Serpens Ser1 (Caput) and
    # Ser2 (Cauda); Cauda has an index of its own.
    part_index = dict(index_of)
    part_index["Ser1"] = index_of["Ser"]
    part_index["Ser2"] = 88
    base_name = {i: n for i, n in enumerate(names)}
    base_name[88] = "Ser"
    base_name.update({"Ser1": "Ser", "Ser2": "Ser"})
    roman_index = {i: i for i in range(88)}
    roman_index[88] = index_of["Ser"]

    polygons = read_polygons(os.path.join(source, "boundaries_b1875.csv"), part_index)
    vertices, vertex_index, segments = build_segments(polygons, part_index, base_name)
    check_segments(regions, segments, roman_index)

    caput = [pts for name, pts in polygons if name == "Ser1"]
    if len(caput) != 1:
        fail("boundaries_b1875.csv: expected one polygon of Serpens Caput")
    centres = build_centres(centres_path, names, area_centre(caput[0]), regions, index_of)
    return write_cpp(names, regions, vertices, vertex_index, segments, centres)


def q15(x):
    return int(math.floor(32767.0 * x + 0.5))


def write_cpp(names, regions, vertices, vertex_index, segments, centres):
    out = io.StringIO()
    w = out.write
    w("// Generated by tools/make_constellation_tables.py from catalogs/constellations/.\n")
    w("// Do not edit: change the tool or its inputs and run it again.\n")
    w('#include "engine/constellation_tables.h"\n\nnamespace Calc {\n\n')
    w("static_assert(%d == kConstellationRegionCount, \"region rows\");\n" % len(regions))
    w("static_assert(%d == kBoundarySegmentCount, \"boundary segments\");\n" % len(segments))
    w("static_assert(%d == kBoundaryVertexCount, \"boundary vertices\");\n\n" % len(vertices))

    w("const char* const kConstellationAbbreviations[kConstellationCount + 1] = {\n")
    all_names = names + ["Ser"]
    for i in range(0, len(all_names), 11):
        w("    " + " ".join('"%s",' % n for n in all_names[i:i + 11]) + "\n")
    w("};\n\n")

    w("// Roman (1987): start RA, width, band step and constellation, packed.\n")
    w("const uint16_t kConstellationRegions[kConstellationRegionCount][3] = {\n")
    for w0, w1, w2 in regions:
        start = 2 * w0 + (w1 & 1)
        width = w1 >> 1
        end = "86400" if width == 0 else "%5d" % (start + width)
        w("    {%5d, %5d, %5d},  // %-3s RA %5d..%s s, band step %3d'\n"
          % (w0, w1, w2, names[w2 & 127], start, end, w2 >> 7))
    w("};\n\n")

    w("// start vertex, end vertex, direction (1 parallel, 0 meridian), spare, length\n")
    w("// (s of time / arcmin), constellation on the right, on the left.\n")
    w("const BoundarySegment kBoundarySegments[kBoundarySegmentCount] = {\n")
    for s in segments:
        w("    {%3d, %3d, %d, 0, %6d, %2d, %2d},  // %s|%s\n"
          % (vertex_index[s["start"]], vertex_index[s["end"]], s["direction"], s["length"],
             s["own"], s["other"], all_names[s["own"]], all_names[s["other"]]))
    w("};\n\n")

    w("// sin RA, cos RA, sin Dec, cos Dec (x 32767) of each vertex.\n")
    w("const int16_t kBoundaryVertices[kBoundaryVertexCount][4] = {\n")
    for ra, dec in vertices:
        a = ra * math.pi / 43200.0
        d = dec * math.pi / 10800.0
        w("    {%6d, %6d, %6d, %6d},  // %02dh%02dm%02ds %s%02dd%02d'\n"
          % (q15(math.sin(a)), q15(math.cos(a)), q15(math.sin(d)), q15(math.cos(d)),
             ra // 3600, ra // 60 % 60, ra % 60, "-" if dec < 0 else "+", abs(dec) // 60, abs(dec) % 60))
    w("};\n\n")

    w("// Centre directions (J2000) x 128.\n")
    w("const int8_t kConstellationCentres[kConstellationCount][3] = {\n")
    for name, c in zip(names, centres):
        w("    {%4d, %4d, %4d},  // %s\n" % (c[0], c[1], c[2], name))
    w("};\n\n}  // namespace Calc\n")
    return out.getvalue()


def main(argv):
    parser = argparse.ArgumentParser(description="Build the constellation tables of the engine.")
    parser.add_argument("--source", default=os.path.join(ROOT, "catalogs", "constellations"),
                        help="folder with roman1987.csv, boundaries_b1875.csv and centres.csv")
    parser.add_argument("--output", default=os.path.join(ROOT, "engine", "constellation_tables.cpp"),
                        help="the C++ file to write")
    args = parser.parse_args(argv)
    try:
        text = generate(args.source)
    except InputError as e:
        print("make_constellation_tables: %s" % e, file=sys.stderr)
        return 1
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
