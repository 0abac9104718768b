#!/usr/bin/env python3
"""Builds the shipped user-object and orbit files from the public catalogues
in catalogs/deepsky/ and catalogs/orbits/ (see the READMEs there):

  resources/data/Messier.puo    the 110 Messier objects
  resources/data/Caldwell.puo   the 109 Caldwell objects
  resources/data/Asteroids.pco  numbered asteroids that reach magnitude 11.5
  resources/data/Comets.pco     comets that can reach magnitude 12

  python3 tools/make_object_files.py [--deepsky DIR] [--orbits DIR] [--output DIR]

Standard library only; the output depends on nothing but the inputs, so the
committed files can be checked by re-running the tool and comparing bytes.
Every file is UTF-8 with a byte-order mark and CR LF line ends; every line is
one record of ";"-separated fields (no header, no comments: the program's
reader takes every line as a record).

User objects (.puo), one line each:
  Name;Info;RA;Dec;Show;Symbol;magn;dist
  RA in hours and Dec in degrees (J2000) as sexagesimal text (5h34m31.9s,
  +22°00'52"); Show is 1; magn is the visual magnitude (-1000 when the
  catalogue has none); dist the distance in light years (0 when unknown).

Symbol numbers of user objects: the index of the object's picture in the
"objects" icon strip (17 pictures, 0..16) that the sky map and the object
lists draw. The same numbers serve the user's own files:
   0 other object              9 star cloud
   1 galaxy                   10 asterism
   2 open cluster             11 cluster with nebula
   3 bright (diffuse) nebula  12 galaxy cluster
   4 planetary nebula         13 star
   5 globular cluster         14 variable star
   6 dark nebula              15 quasar
   7 supernova remnant        16 marker
   8 double star

Comets and asteroids (.pco), one line each:
  Name;Info;Symbol;typ;jd;M;a/q;e;w;Node;i;H/H0;G/k
  typ 0 (asteroid): jd is the epoch of the mean anomaly M, a the semi-major
  axis, H and G the magnitude parameters of the H, G system.
  typ 1 (comet): jd is the time of perihelion, M is 0, q the perihelion
  distance, H0 and k the comet's m = H0 + 5 log D + k log r.
  Angles in degrees, ecliptic and equinox J2000; Julian Days as the Minor
  Planet Center gives them (TT; the program does not tell TT from UT).

Symbol numbers of comets and asteroids: the index in the "asteroidsComets"
icon strip (8 pictures). The program adds 4 to the symbol of a typ 1 record,
so both kinds write 0..3:
  asteroids: 0 main-belt and other, 1 near-Earth (q < 1.3 AU),
             2 Hilda and Jupiter trojan (a 3.7 .. 5.5 AU), 3 distant (a > 5.5 AU)
  comets:    0 periodic (period below 200 years), 1 long-period,
             2 hyperbolic or parabolic, 3 interstellar

Asteroid names are written "1 Ceres" (number first), comet names as the MPC
writes them ("1P/Halley", "C/1995 O1 (Hale-Bopp)"): the program keys a
selected body by the name's number or designation, and the tool checks that
every body of a file has a key of its own.
"""

import argparse
import csv
import math
import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

# --- user objects -------------------------------------------------------------------------

SYMBOL_OTHER, SYMBOL_GALAXY, SYMBOL_OPEN_CLUSTER, SYMBOL_BRIGHT_NEBULA = 0, 1, 2, 3
SYMBOL_PLANETARY, SYMBOL_GLOBULAR, SYMBOL_DARK_NEBULA, SYMBOL_SNR = 4, 5, 6, 7
SYMBOL_DOUBLE_STAR, SYMBOL_STAR_CLOUD, SYMBOL_ASTERISM = 8, 9, 10

# Catalogue type code -> (symbol, type text of the info line).
TYPES = {
    "GX": (SYMBOL_GALAXY, "Galaxy"),
    "OC": (SYMBOL_OPEN_CLUSTER, "Open cluster"),
    "BN": (SYMBOL_BRIGHT_NEBULA, "Bright nebula"),
    "PN": (SYMBOL_PLANETARY, "Planetary nebula"),
    "GC": (SYMBOL_GLOBULAR, "Globular cluster"),
    "DN": (SYMBOL_DARK_NEBULA, "Dark nebula"),
    "SS": (SYMBOL_DOUBLE_STAR, "Double star"),
}

# Objects whose catalogue type is coarser than what they are.
TYPE_OVERRIDES = {
    "M 1": (SYMBOL_SNR, "Supernova remnant"),     # the Crab Nebula
    "M 24": (SYMBOL_STAR_CLOUD, "Star cloud"),    # Sagittarius Star Cloud
    "M 73": (SYMBOL_ASTERISM, "Asterism"),        # four stars
    "C 33": (SYMBOL_SNR, "Supernova remnant"),    # Veil Nebula, east
    "C 34": (SYMBOL_SNR, "Supernova remnant"),    # Veil Nebula, west
}

DEEPSKY_COLUMNS = ["designation", "other_ids", "common_name", "type_code", "ra_h_j2000",
                   "dec_deg_j2000", "vmag", "distance_ly"]

MISSING_MAGNITUDE = "-1000"


class InputError(Exception):
    pass


def fail(msg):
    raise InputError(msg)


def read_csv(path, columns):
    try:
        with open(path, newline="", encoding="utf-8") as f:
            rows = list(csv.DictReader(f))
    except (OSError, UnicodeDecodeError) as e:
        fail("cannot read %s: %s" % (path, e))
    if not rows:
        fail("%s: no rows" % path)
    missing = [c for c in columns if c not in rows[0]]
    if missing:
        fail("%s: missing columns %s" % (path, ", ".join(missing)))
    return rows


def number(where, text, lo=None, hi=None):
    try:
        v = float(text)
    except ValueError:
        fail("%s: not a number: %r" % (where, text))
    if not math.isfinite(v) or (lo is not None and v < lo) or (hi is not None and v > hi):
        fail("%s: value out of range: %r" % (where, text))
    return v


def decimal_text(where, text, lo=None, hi=None):
    """A decimal number as the catalogue writes it, without a plus sign."""
    number(where, text, lo, hi)
    t = text.strip()
    return t[1:] if t.startswith("+") else t


def ra_text(hours):
    """Hours as 5h34m31.9s (tenths of a second of time)."""
    tenths = int(math.floor(hours * 36000.0 + 0.5)) % (24 * 36000)
    h, rest = divmod(tenths, 36000)
    m, t = divmod(rest, 600)
    return "%dh%02dm%02d.%ds" % (h, m, t // 10, t % 10)


def dec_text(degrees):
    """Degrees as +22°00'52" (whole arc seconds)."""
    sign = "-" if degrees < 0 else "+"
    sec = int(math.floor(abs(degrees) * 3600.0 + 0.5))
    d, rest = divmod(sec, 3600)
    m, s = divmod(rest, 60)
    return "%s%d\u00b0%02d'%02d\"" % (sign, d, m, s)


def field(text):
    """One field of a record; quoted when the reader would otherwise cut or trim it."""
    if ";" in text or text.startswith('"') or text != text.strip() or "\n" in text or "\r" in text:
        if "\n" in text or "\r" in text:
            fail("line break in field %r" % text)
        return '"' + text.replace('"', '""') + '"'
    return text


def record(fields):
    return ";".join(field(f) for f in fields)


def deepsky_records(path, prefix, count):
    rows = read_csv(path, DEEPSKY_COLUMNS)
    if len(rows) != count:
        fail("%s: %d objects, expected %d" % (path, len(rows), count))
    out = []
    for i, row in enumerate(rows, start=1):
        where = "%s line %d" % (path, i + 1)
        name = row["designation"].strip()
        if name != "%s %d" % (prefix, i):
            fail("%s: expected %s %d, found %r" % (where, prefix, i, name))
        code = row["type_code"].strip()
        if name in TYPE_OVERRIDES:
            symbol, type_text = TYPE_OVERRIDES[name]
        elif code in TYPES:
            symbol, type_text = TYPES[code]
        else:
            fail("%s: unknown type code %r" % (where, code))
        info = type_text
        common = [c.strip() for c in row["common_name"].split(";") if c.strip()]
        if common:
            info += ": " + ", ".join(common)
        ids = [c.strip() for c in row["other_ids"].split(";") if c.strip()]
        if ids:
            info += " (" + ids[0] + ")"
        ra = number(where + " ra_h_j2000", row["ra_h_j2000"], 0.0, 24.0)
        dec = number(where + " dec_deg_j2000", row["dec_deg_j2000"], -90.0, 90.0)
        vmag = row["vmag"].strip()
        magn = decimal_text(where + " vmag", vmag, -30.0, 30.0) if vmag else MISSING_MAGNITUDE
        dist = row["distance_ly"].strip()
        dist = decimal_text(where + " distance_ly", dist, 0.0, 1e11) if dist else "0"
        out.append(record([name, info, ra_text(ra), dec_text(dec), "1", str(symbol), magn, dist]))
    return out


# --- comets and asteroids -----------------------------------------------------------------

ASTEROID_COLUMNS = ["number", "name", "designation", "epoch_tt", "epoch_jd_tt", "M_deg", "peri_deg",
                    "node_deg", "incl_deg", "e", "a_au", "H", "G"]
COMET_COLUMNS = ["designation_name", "orbit_type", "perihelion_time_tt", "perihelion_jd_tt", "q_au", "e",
                 "peri_deg", "node_deg", "incl_deg", "H", "K_2.5G"]

# Asteroids: the brightest magnitude an object can reach, at opposition in
# perihelion (r = q, Delta = q - 1 but at least 0.2 AU), at most this.
ASTEROID_PEAK_LIMIT = 11.5
# Comets: H0 + 5 log Delta + k log q with Delta = |q - 1| but at least 0.2 AU.
COMET_PEAK_LIMIT = 12.0
# Non-periodic comets are kept when their perihelion falls in 2015 .. 2035,
# or whatever the date when they become brighter than magnitude 0 (great
# comets such as Hale-Bopp).
COMET_WINDOW_JD = (2457023.5, 2464693.5)
GREAT_COMET_LIMIT = 0.0
PLUTO_NUMBER = "134340"  # a planet of the program, not an asteroid


def asteroid_class(a, e):
    q = a * (1 - e)
    if q < 1.3:
        return 1, "Near-Earth asteroid"
    if a > 5.5:
        return 3, "Centaur" if a < 30.1 else "Trans-Neptunian object"
    if 5.05 <= a <= 5.35:
        return 2, "Jupiter trojan"
    if 3.7 <= a <= 4.2:
        return 2, "Hilda asteroid"
    if a >= 3.7:
        return 2, "Outer asteroid"
    if q < 1.666:
        return 0, "Mars-crosser"
    if a < 2.0:
        return 0, "Hungaria asteroid"
    return 0, "Main-belt asteroid"


def comet_key(name):
    """The program's short identity of a comet or asteroid name."""
    if not name:
        return ""
    if name[0].isdigit():
        cut = [i for i in (name.find(" "), name.find("/")) if i >= 0]
        return name[:min(cut)] if cut else ""
    if "(" not in name:
        return ""
    return name[:name.find("(")].replace(" ", "")


def check_keys(path, names):
    seen = {}
    for n in names:
        k = comet_key(n)
        if not k:
            fail("%s: %r has no key" % (path, n))
        if k in seen:
            fail("%s: %r and %r have the same key %r" % (path, seen[k], n, k))
        seen[k] = n


def asteroid_records(path):
    rows = read_csv(path, ASTEROID_COLUMNS)
    out, names = [], []
    for i, row in enumerate(rows, start=2):
        where = "%s line %d" % (path, i)
        num = row["number"].strip()
        if not num or num == PLUTO_NUMBER or not row["H"].strip():
            continue
        a = number(where + " a_au", row["a_au"], 0.0)
        e = number(where + " e", row["e"], 0.0)
        if e >= 1 or a <= 0:
            continue  # not a closed orbit in asteroid form
        H = number(where + " H", row["H"], -10.0, 40.0)
        q = a * (1 - e)
        if H + 5 * math.log10(q * max(q - 1, 0.2)) > ASTEROID_PEAK_LIMIT:
            continue
        name = num + (" " + row["name"].strip() if row["name"].strip() else " " + row["designation"].strip())
        symbol, cls = asteroid_class(a, e)
        info = "%s, MPC elements, epoch %s" % (cls, row["epoch_tt"].strip())
        fields = [name, info, str(symbol), "0",
                  decimal_text(where + " epoch_jd_tt", row["epoch_jd_tt"], 2000000.0, 3000000.0),
                  decimal_text(where + " M_deg", row["M_deg"], 0.0, 360.0),
                  decimal_text(where + " a_au", row["a_au"], 0.0),
                  decimal_text(where + " e", row["e"], 0.0, 1.0),
                  decimal_text(where + " peri_deg", row["peri_deg"], 0.0, 360.0),
                  decimal_text(where + " node_deg", row["node_deg"], 0.0, 360.0),
                  decimal_text(where + " incl_deg", row["incl_deg"], 0.0, 180.0),
                  decimal_text(where + " H", row["H"]),
                  decimal_text(where + " G", row["G"], -1.0, 2.0) if row["G"].strip() else "0.15"]
        names.append(name)
        out.append((int(num), record(fields)))
    out.sort(key=lambda r: r[0])
    check_keys(path, names)
    return [r for _, r in out]


def comet_records(path):
    rows = read_csv(path, COMET_COLUMNS)
    out = []
    names = []
    keys = set()
    for i, row in enumerate(rows, start=2):
        where = "%s line %d" % (path, i)
        otype = row["orbit_type"].strip()
        if otype in ("D", "A"):  # defunct comets, asteroids on cometary orbits
            continue
        if not row["H"].strip() or not row["K_2.5G"].strip():
            continue
        q = number(where + " q_au", row["q_au"], 0.0)
        e = number(where + " e", row["e"], 0.0)
        H = number(where + " H", row["H"], -10.0, 40.0)
        K = number(where + " K_2.5G", row["K_2.5G"], 0.0, 50.0)
        jd = number(where + " perihelion_jd_tt", row["perihelion_jd_tt"], 2000000.0, 3000000.0)
        if q <= 0:
            continue
        peak = H + 5 * math.log10(max(abs(q - 1), 0.2)) + K * math.log10(q)
        period = None
        if e < 1:
            period = (q / (1 - e)) ** 1.5  # years
        periodic = otype == "P" and period is not None and period < 200
        in_window = COMET_WINDOW_JD[0] <= jd <= COMET_WINDOW_JD[1]
        if peak > COMET_PEAK_LIMIT or not (periodic or in_window or peak <= GREAT_COMET_LIMIT):
            continue
        name = row["designation_name"].strip()
        # A selection of a body is kept by its key: a name without one (a
        # fragment without a name in parentheses) or with the key of an
        # earlier body could not be selected again after a restart.
        key = comet_key(name)
        if not key or key in keys:
            continue
        keys.add(key)
        when = row["perihelion_time_tt"].strip()[:10]
        if otype == "I":
            symbol, info = 3, "Interstellar object, perihelion %s" % when
        elif e >= 1:
            symbol, info = 2, "Comet on an open orbit, perihelion %s" % when
        elif periodic:
            symbol, info = 0, "Periodic comet, period %.1f years, perihelion %s" % (period, when)
        else:
            symbol, info = 1, "Long-period comet, perihelion %s" % when
        fields = [name, info, str(symbol), "1",
                  decimal_text(where + " perihelion_jd_tt", row["perihelion_jd_tt"]), "0",
                  decimal_text(where + " q_au", row["q_au"]),
                  decimal_text(where + " e", row["e"]),
                  decimal_text(where + " peri_deg", row["peri_deg"], 0.0, 360.0),
                  decimal_text(where + " node_deg", row["node_deg"], 0.0, 360.0),
                  decimal_text(where + " incl_deg", row["incl_deg"], 0.0, 180.0),
                  decimal_text(where + " H", row["H"]),
                  decimal_text(where + " K_2.5G", row["K_2.5G"])]
        names.append(name)
        out.append(record(fields))
    check_keys(path, names)
    return out


# --- output --------------------------------------------------------------------------------

def file_bytes(records):
    return ("\ufeff" + "".join(r + "\r\n" for r in records)).encode("utf-8")


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--deepsky", default=os.path.join(ROOT, "catalogs", "deepsky"))
    p.add_argument("--orbits", default=os.path.join(ROOT, "catalogs", "orbits"))
    p.add_argument("--output", default=os.path.join(ROOT, "resources", "data"))
    args = p.parse_args()
    try:
        files = {
            "Messier.puo": deepsky_records(os.path.join(args.deepsky, "messier.csv"), "M", 110),
            "Caldwell.puo": deepsky_records(os.path.join(args.deepsky, "caldwell.csv"), "C", 109),
            "Asteroids.pco": asteroid_records(os.path.join(args.orbits, "asteroids.csv")),
            "Comets.pco": comet_records(os.path.join(args.orbits, "comets.csv")),
        }
    except InputError as e:
        print("make_object_files: %s" % e, file=sys.stderr)
        return 1
    # Everything is checked before anything is written.
    os.makedirs(args.output, exist_ok=True)
    for name, records in files.items():
        with open(os.path.join(args.output, name), "wb") as f:
            f.write(file_bytes(records))
        print("%s: %d records" % (name, len(records)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
