#!/usr/bin/env python3
"""Builds the table of built-in places, settings/places_table.cpp.

Inputs (catalogs/places/, see its README for provenance):
  cities_geonames.csv    GeoNames: towns of 100 000 people or more and every
                         country's capital, with country, first-level
                         division, population and IANA zone
  cities_stellarium.csv  Stellarium's location list: capitals (role C),
                         smaller towns, and the standard offset of every IANA
                         zone from the tz database 2025b
  cities.csv             the KStars city list, used only to cross-check
                         coordinates and zone offsets

The selection, region by region (quotas in REGION_QUOTAS, 608 in all):
  1. the fixed rows (FIXED_ROWS: values the table must carry as they are) and
     the required towns (REQUIRED: taken from the sources);
  2. every capital (Stellarium role C, located in GeoNames);
  3. in the United States and Canada the largest town of every state,
     province and territory;
  4. then, until the region's quota is reached, the town with the best
     score = population * min(1, d / 400 km) / sqrt(1 + n), where d is the
     distance to the nearest town chosen so far and n the number of towns
     chosen so far in the same country; towns within 50 km of a chosen one
     are passed over. This spreads the places over the land rather than
     stacking them in the largest conurbations.

Names are plain ASCII in English usage (NAME_ALIASES); towns in the United
States and Canada carry their state or province code ("Akron, OH"), other
towns a short country tag when two chosen places would otherwise share a
name ("Valencia, Spain"). Coordinates are rounded half away from zero to a
tenth of a degree from the decimal text of the source; longitude is stored
west positive. The zone is the standard-time offset of the town's IANA zone
in the tz database 2025b (GeoNames' own offsets are older for some
countries).

usage: make_places.py [--source DIR] [--output FILE] [--report]
  --report  print region counts and the cross-checks against KStars to stderr
"""
import argparse
import bisect
import collections
import csv
import decimal
import math
import os
import re
import sys
import unicodedata

TOTAL = 608
# Region names of the program, in the order of its region list.
REGIONS = ["Africa", "America", "Asia", "Carribean", "Europe", "Oceania"]
SOURCE_REGION = {"Africa": "Africa", "America": "America", "Asia": "Asia", "Caribbean": "Carribean",
                 "Europe": "Europe", "Oceania": "Oceania"}
REGION_QUOTAS = {"America": 160, "Europe": 145, "Asia": 117, "Africa": 106, "Oceania": 45, "Carribean": 35}

# Rows the table carries unchanged, because the program's place names and
# coordinates must stay what users already have saved: name, region, latitude, longitude
# (west positive), zone in minutes; the source row they stand for
# (normalised name, country code) is not chosen a second time.
# Adamstown keeps Pitcairn's present offset (UTC-8 since 1998).
FIXED_ROWS = [
    ("Aberdeen, Scot", "Europe", "57.2", "2.1", 0, "Aberdeen", "GB"),
    ("Abu Dhabi", "Asia", "24.5", "-54.4", 240, "Abu Dhabi", "AE"),
    ("Adamstown", "Oceania", "-25.1", "130.1", -480, "Adamstown", "PN"),
    ("Adelaide", "Oceania", "-34.9", "-138.6", 570, "Adelaide", "AU"),
    ("Greenwich", "Europe", "51.5", "0.0", 0, "Greenwich", "GB"),
    ("Honolulu, HI", "America", "21.3", "157.9", -600, "Honolulu", "US"),
    ("Kathmandu", "Asia", "27.7", "-85.3", 345, "Kathmandu", "NP"),
    ("New York, NY", "America", "40.7", "74.0", -300, "New York City", "US"),
    ("Reykjavik", "Europe", "64.2", "21.8", 0, "Reykjavik", "IS"),
    ("Sydney", "Oceania", "-33.9", "-151.2", 600, "Sydney", "AU"),
    ("Tokyo", "Asia", "35.7", "-139.8", 540, "Tokyo", "JP"),
    ("Zurich", "Europe", "47.4", "-8.5", 60, "Zurich", "CH"),
]

# Towns that are always chosen, with their values from the sources:
# (source name, country code, first-level division).
REQUIRED = [
    ("Akron", "US", "Ohio"),
    ("Jerusalem", "IL", None),
    ("Albany", "US", "New York"),
]

# Source rows that are not towns in their own right (a district whose
# GeoNames population is that of its city).
EXCLUDED = {("Budta", "PH")}

# English names of the program, by (source name, country code).
NAME_ALIASES = {
    ("Acapulco de Juárez", "MX"): "Acapulco", ("Al Mawşil al Jadīdah", "IQ"): "Mosul",
    ("Arkhangel’sk", "RU"): "Arkhangelsk", ("Århus", "DK"): "Aarhus", ("Bogotá", "CO"): "Bogota",
    ("Chattogram", "BD"): "Chittagong", ("Frankfurt am Main", "DE"): "Frankfurt",
    ("Genève", "CH"): "Geneva", ("Göteborg", "SE"): "Gothenburg", ("Hargeysa", "SO"): "Hargeisa",
    ("Homyel'", "BY"): "Gomel", ("Irákleion", "GR"): "Heraklion", ("Köln", "DE"): "Cologne",
    ("Kryvyy Rih", "UA"): "Kryvyi Rih", ("Las Palmas de Gran Canaria", "ES"): "Las Palmas",
    ("León de los Aldama", "MX"): "Leon", ("Lexington-Fayette", "US"): "Lexington",
    ("Mahilyow", "BY"): "Mogilev", ("Mişrātah", "LY"): "Misrata", ("Nay Pyi Taw", "MM"): "Naypyidaw",
    ("New York City", "US"): "New York", ("Nizhniy Novgorod", "RU"): "Nizhny Novgorod",
    ("Nürnberg", "DE"): "Nuremberg", ("Nur-Sultan", "KZ"): "Astana",
    ("Palikir - National Government Center", "FM"): "Palikir", ("Panamá", "PA"): "Panama City",
    ("Rostov-na-Donu", "RU"): "Rostov-on-Don", ("San Miguel de Tucumán", "AR"): "Tucuman",
    ("Sevilla", "ES"): "Seville", ("Tuxtla", "MX"): "Tuxtla Gutierrez", ("Ulan Bator", "MN"): "Ulaanbaatar",
    ("Vinnytsya", "UA"): "Vinnytsia", ("Washington", "US"): "Washington",
    ("Dnipro", "UA"): "Dnipro", ("Kyiv", "UA"): "Kyiv", ("Odessa", "UA"): "Odesa",
    ("Ciudad Guayana", "VE"): "Ciudad Guayana", ("Ho Chi Minh City", "VN"): "Ho Chi Minh City",
    ("Luxembourg", "LU"): "Luxembourg", ("Male", "MV"): "Male", ("Macau", "MO"): "Macau",
    ("Saint-Pierre", "PM"): "Saint-Pierre", ("Yangon", "MM"): "Yangon",
    ("Al Ḩudaydah", "YE"): "Hodeidah", ("Hamhŭng", "KP"): "Hamhung", ("Iaşi", "RO"): "Iasi",
    ("Sankt Petersburg", "RU"): "Saint Petersburg", ("Tórshavn", "FO"): "Torshavn",
    ("N’dalatando", "AO"): "N'dalatando", ("Okanagan", "CA"): "Kelowna",
}

US_STATES = {
    "Alabama": "AL", "Alaska": "AK", "Arizona": "AZ", "Arkansas": "AR", "California": "CA", "Colorado": "CO",
    "Connecticut": "CT", "Delaware": "DE", "Florida": "FL", "Georgia": "GA", "Hawaii": "HI", "Idaho": "ID",
    "Illinois": "IL", "Indiana": "IN", "Iowa": "IA", "Kansas": "KS", "Kentucky": "KY", "Louisiana": "LA",
    "Maine": "ME", "Maryland": "MD", "Massachusetts": "MA", "Michigan": "MI", "Minnesota": "MN",
    "Mississippi": "MS", "Missouri": "MO", "Montana": "MT", "Nebraska": "NE", "Nevada": "NV",
    "New Hampshire": "NH", "New Jersey": "NJ", "New Mexico": "NM", "New York": "NY", "North Carolina": "NC",
    "North Dakota": "ND", "Ohio": "OH", "Oklahoma": "OK", "Oregon": "OR", "Pennsylvania": "PA",
    "Rhode Island": "RI", "South Carolina": "SC", "South Dakota": "SD", "Tennessee": "TN", "Texas": "TX",
    "Utah": "UT", "Vermont": "VT", "Virginia": "VA", "Washington": "WA", "West Virginia": "WV",
    "Wisconsin": "WI", "Wyoming": "WY", "Washington, D.C.": "DC", "District of Columbia": "DC",
}
CA_PROVINCES = {
    "Alberta": "AB", "British Columbia": "BC", "Manitoba": "MB", "New Brunswick": "NB",
    "Newfoundland and Labrador": "NL", "Nova Scotia": "NS", "Ontario": "ON", "Prince Edward Island": "PE",
    "Quebec": "QC", "Saskatchewan": "SK", "Northwest Territories": "NT", "Nunavut": "NU", "Yukon": "YT",
}
STATE_CODES = {"US": US_STATES, "CA": CA_PROVINCES}

# Short country tags for names that two chosen places share.
COUNTRY_TAGS = {
    "AR": "Arg", "AU": "Austr", "BM": "Berm", "BR": "Braz", "CL": "Chile", "CO": "Col", "CR": "CR",
    "CU": "Cuba", "DO": "DomRep", "ES": "Spain", "GB": "UK", "IN": "India", "JM": "Jam", "MX": "Mex",
    "NF": "Norf", "NZ": "NZ", "PE": "Peru", "PH": "Phil", "PK": "Pak", "PR": "PR", "VE": "Ven",
    "ZA": "SAfr", "IE": "Irl", "FR": "France", "RE": "Reun", "TT": "Trin", "SC": "Seych", "GY": "Guy",
    "KY": "Caym", "SV": "ElSal", "BO": "Bol", "PY": "Par", "GT": "Guat", "HN": "Hond", "NI": "Nic",
    "IT": "Italy", "DE": "Germ", "PT": "Port", "GR": "Greece", "RU": "Russ", "UA": "Ukr", "CN": "China",
}
UK_TAGS = {"England": "Eng", "Scotland": "Scot", "Wales": "Wales", "Northern Ireland": "NI"}

# Letters that Unicode decomposition does not reduce to ASCII.
FOLD = {"ø": "o", "Ø": "O", "æ": "ae", "Æ": "AE", "ß": "ss", "ł": "l", "Ł": "L", "đ": "d", "Đ": "D",
        "ı": "i", "œ": "oe", "Œ": "OE", "þ": "th", "ð": "d", "‘": "'", "’": "'", "ʻ": "'", "ʼ": "'",
        "`": "'", "–": "-", "—": "-"}

# Towns whose IANA zone in the sources is older than the tz database's
# present one: Ciudad Juarez has its own zone (America/Ciudad_Juarez, UTC-7)
# since tz 2022g; both sources still give America/Ojinaga (UTC-6).
ZONE_OVERRIDES = {("Ciudad Juárez", "MX"): -420}

# IANA names that the tz database has renamed.
TZ_ALIASES = {"America/Godthab": "America/Nuuk"}

# Countries whose towns are counted by state in the spreading score.
FEDERAL = {"US", "CA", "AU"}

MIN_SUPPLEMENT_POPULATION = 30000
SPREAD_KM = 400.0
NEAR_KM = 50.0


class InputError(Exception):
    pass


def norm(s):
    s = unicodedata.normalize("NFKD", s).encode("ascii", "ignore").decode().lower()
    s = re.sub(r"\(.*?\)", "", s)
    s = re.sub(r"\b(st|saint|sankt)\b\.?", "st", s)
    return re.sub(r"[^a-z]", "", s)


def ascii_name(s):
    s = "".join(FOLD.get(c, c) for c in s)
    s = unicodedata.normalize("NFKD", s)
    s = "".join(c for c in s if not unicodedata.combining(c))
    if any(ord(c) > 126 or ord(c) < 32 for c in s):
        raise InputError("no ASCII form for the name %r" % s)
    return s


def km(lat1, lon1, lat2, lon2):
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dp, dl = p2 - p1, math.radians(lon2 - lon1)
    h = math.sin(dp / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dl / 2) ** 2
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(h)))


def tenths(text):
    """A decimal text rounded half away from zero to tenths, as an integer."""
    try:
        d = decimal.Decimal(text.strip())
    except decimal.InvalidOperation:
        raise InputError("not a number: %r" % text)
    return int((d * 10).quantize(decimal.Decimal(1), rounding=decimal.ROUND_HALF_UP))


def negated(text):
    t = text.strip()
    return t[1:] if t.startswith("-") else "-" + t


class Grid:
    """Points binned by whole degrees, for neighbourhood searches."""

    def __init__(self):
        self.cells = collections.defaultdict(list)

    def add(self, item):
        self.cells[(math.floor(item["la"]), math.floor(item["lo"]))].append(item)

    def near(self, la, lo, radius_km):
        dlat = int(radius_km / 110.0) + 1
        coslat = max(math.cos(math.radians(min(89.0, abs(la) + dlat))), 0.02)
        dlon = min(int(radius_km / (111.3 * coslat)) + 1, 180)
        cla, clo = math.floor(la), math.floor(lo)
        for i in range(cla - dlat, cla + dlat + 1):
            for j in range(clo - dlon, clo + dlon + 1):
                jj = (j + 180) % 360 - 180
                for item in self.cells.get((i, jj), ()):
                    d = km(la, lo, item["la"], item["lo"])
                    if d <= radius_km:
                        yield d, item


def read_csv(path, columns):
    try:
        with open(path, newline="", encoding="utf-8") as f:
            reader = csv.DictReader(f)
            missing = [c for c in columns if c not in (reader.fieldnames or [])]
            if missing:
                raise InputError("%s: missing columns %s" % (path, ", ".join(missing)))
            rows = list(reader)
    except OSError as e:
        raise InputError("cannot read %s: %s" % (path, e))
    except UnicodeDecodeError as e:
        raise InputError("%s is not UTF-8: %s" % (path, e))
    return rows


def number(row, key, path, kind=float):
    try:
        v = kind(row[key])
    except (TypeError, ValueError):
        raise InputError("%s: bad %s %r in the row of %s" % (path, key, row.get(key), row.get("name")))
    if kind is float and not math.isfinite(v):
        raise InputError("%s: bad %s %r" % (path, key, row.get(key)))
    return v


def load(source):
    gpath = os.path.join(source, "cities_geonames.csv")
    spath = os.path.join(source, "cities_stellarium.csv")
    kpath = os.path.join(source, "cities.csv")
    geo = read_csv(gpath, ["name", "admin1", "country_code", "continent", "lat", "lon_east_positive",
                           "utc_offset_minutes", "population", "iana_tz"])
    stel = read_csv(spath, ["name", "state", "continent", "lat", "lon_east_positive", "utc_offset_minutes",
                            "population", "iana_tz", "role"])
    kst = read_csv(kpath, ["name", "lat", "lon_east_positive", "utc_offset_minutes", "province", "country_code"])

    # Standard offsets of the tz database, by zone name.
    zone_offsets = {}
    for r in stel:
        if not r["iana_tz"] or r["utc_offset_minutes"] == "":
            continue
        off = number(r, "utc_offset_minutes", spath, int)
        if zone_offsets.setdefault(r["iana_tz"], off) != off:
            raise InputError("%s: zone %s has two offsets" % (spath, r["iana_tz"]))

    for i, r in enumerate(geo):
        r["la"] = number(r, "lat", gpath)
        r["lo"] = number(r, "lon_east_positive", gpath)
        r["pop"] = number(r, "population", gpath, int)
        if not (-90 <= r["la"] <= 90 and -180 <= r["lo"] <= 180):
            raise InputError("%s: coordinates out of range for %s" % (gpath, r["name"]))
        r["lat_text"], r["lon_text"] = r["lat"], r["lon_east_positive"]
        r["src"], r["order"] = "geonames", i
        r["raw_offset"] = number(r, "utc_offset_minutes", gpath, int)
        r["country"] = r["country_code"]
        if r["continent"] not in SOURCE_REGION:
            r["continent"] = None
    for r in stel:
        r["la"] = number(r, "lat", spath)
        r["lo"] = number(r, "lon_east_positive", spath)
        r["pop"] = number(r, "population", spath, int) if r["population"] else 0
    for r in kst:
        r["la"] = number(r, "lat", kpath)
        r["lo"] = number(r, "lon_east_positive", kpath)
    return geo, stel, kst, zone_offsets


def zone_of(row, zone_offsets):
    if (row["name"], row["country"]) in ZONE_OVERRIDES:
        return ZONE_OVERRIDES[(row["name"], row["country"])]
    tz = TZ_ALIASES.get(row["iana_tz"], row["iana_tz"])
    if tz in zone_offsets:
        return zone_offsets[tz]
    if row.get("raw_offset") is not None:
        return row["raw_offset"]
    raise InputError("no offset for the zone %r of %s" % (row["iana_tz"], row["name"]))


def build_pool(geo, stel):
    """GeoNames rows, and Stellarium towns that GeoNames lacks, with the
    country and region of the GeoNames town they belong to."""
    geo_grid = Grid()
    for r in geo:
        geo_grid.add(r)
    by_admin = collections.defaultdict(list)
    by_region = collections.defaultdict(list)
    for r in geo:
        by_admin[r["admin1"]].append(r)
        by_region[r["continent"]].append(r)

    # Capitals: Stellarium marks them; GeoNames holds each of them.
    for c in stel:
        if c["role"] != "C":
            continue
        near = [(d, g) for d, g in geo_grid.near(c["la"], c["lo"], 60.0) if norm(g["name"]) == norm(c["name"])]
        if not near:
            raise InputError("the capital %s is missing from GeoNames" % c["name"])
        min(near, key=lambda t: (t[0], t[1]["order"]))[1]["capital"] = True

    supplements = []
    order = len(geo)
    for r in stel:
        if r["role"] not in ("C", "R", "N"):
            continue
        # Small towns only as the seats of states and territories of the
        # United States and Canada, which may have no larger town.
        seat = r["role"] == "R" and any(r["state"] in states for states in STATE_CODES.values())
        if r["pop"] < MIN_SUPPLEMENT_POPULATION and not seat:
            continue
        if r["continent"] not in SOURCE_REGION or not r["iana_tz"]:
            continue
        known = False
        for d, g in geo_grid.near(r["la"], r["lo"], 30.0):
            if d < 10.0 or norm(g["name"]) == norm(r["name"]):
                known = True
                break
        if known:
            continue
        # The country: by the first-level division where GeoNames knows it
        # (state names of the United States and Canada are unique), else the
        # nearest GeoNames town of the same region.
        owner = None
        for cc, states in STATE_CODES.items():
            if r["state"] in states:
                cands = [g for g in by_admin.get(r["state"], ()) if g["country"] == cc]
                owner = min(cands, key=lambda g: km(r["la"], r["lo"], g["la"], g["lo"])) if cands else {
                    "country": cc, "continent": "America", "admin1": r["state"]}
                break
        if owner is None:
            cands = [g for g in by_admin.get(r["state"], ())
                     if km(r["la"], r["lo"], g["la"], g["lo"]) < 1500.0]
            if not cands:
                cands = by_region.get(r["continent"], [])
            if not cands:
                continue
            owner = min(cands, key=lambda g: (km(r["la"], r["lo"], g["la"], g["lo"]), g["order"]))
        supplements.append({
            "name": re.sub(r"\s*\(.*?\)\s*", "", r["name"]).strip(), "admin1": r["state"],
            "country": owner["country"], "continent": owner["continent"], "la": r["la"], "lo": r["lo"],
            "lat_text": r["lat"], "lon_text": r["lon_east_positive"], "pop": r["pop"], "iana_tz": r["iana_tz"],
            "raw_offset": None, "src": "stellarium", "order": order})
        order += 1
    return [g for g in geo if g["continent"]] + supplements


def share_key(item):
    # The large federal countries count their towns by state.
    if item.get("country") in FEDERAL:
        return (item["country"], item.get("admin1"))
    return (item.get("country"), None)


def select(pool, zone_offsets):
    chosen = []
    taken = set()
    grid = Grid()
    counts = collections.Counter()
    per_country = collections.Counter()

    def take(item, region):
        item["region"] = region
        chosen.append(item)
        taken.add(item["order"])
        grid.add(item)
        counts[region] += 1
        per_country[share_key(item)] += 1

    def find(name, country, admin1=None, near=None):
        cands = [p for p in pool if p["order"] not in taken and p["country"] == country
                 and norm(p["name"]) == norm(name) and (admin1 is None or p["admin1"] == admin1)]
        if near is not None:
            cands = [p for p in cands if km(near[0], near[1], p["la"], p["lo"]) < 50.0]
        return min(cands, key=lambda p: (-p["pop"], p["order"])) if cands else None

    for name, region, lat, lon_west, zone, src_name, cc in FIXED_ROWS:
        la, lo = float(lat), -float(lon_west)
        item = {"name": name, "fixed": True, "country": cc, "la": la, "lo": lo, "lat10": tenths(lat),
                "lon10": tenths(lon_west), "zone": zone, "order": -1 - len(chosen), "pop": 0}
        source = find(src_name, cc, near=(la, lo))
        if source is not None:
            taken.add(source["order"])
            item["source"] = source
            item["admin1"] = source["admin1"]
        take(item, region)
    for name, cc, admin1 in REQUIRED:
        item = find(name, cc, admin1)
        if item is None:
            raise InputError("the required town %s (%s, %s) is missing" % (name, admin1, cc))
        take(item, SOURCE_REGION[item["continent"]])

    for p in pool:
        if p.get("capital") and p["order"] not in taken:
            take(p, SOURCE_REGION[p["continent"]])

    for cc, states in STATE_CODES.items():
        done = {c.get("admin1") for c in chosen if c.get("country") == cc}
        best = {}
        for p in pool:
            if p["country"] != cc or p["order"] in taken or p["admin1"] not in states or p["admin1"] in done:
                continue
            if (p["name"], p["country"]) in EXCLUDED:
                continue
            b = best.get(p["admin1"])
            if b is None or (p["pop"], -p["order"]) > (b["pop"], -b["order"]):
                best[p["admin1"]] = p
        for admin1 in sorted(best):
            p = best[admin1]
            take(p, SOURCE_REGION[p["continent"]])

    for region in ["America", "Europe", "Asia", "Africa", "Oceania", "Carribean"]:
        cands = [p for p in pool if SOURCE_REGION[p["continent"]] == region and p["order"] not in taken
                 and (p["name"], p["country"]) not in EXCLUDED]
        for p in cands:
            p["d"] = min([d for d, _ in grid.near(p["la"], p["lo"], SPREAD_KM)] + [SPREAD_KM])
        while counts[region] < REGION_QUOTAS[region]:
            best, best_key = None, None
            for p in cands:
                if p["d"] < NEAR_KM:
                    continue
                score = p["pop"] * min(1.0, p["d"] / SPREAD_KM) / math.sqrt(1 + per_country[share_key(p)])
                key = (score, -p["order"])
                if best_key is None or key > best_key:
                    best, best_key = p, key
            if best is None:
                raise InputError("too few towns for the region %s" % region)
            cands.remove(best)
            take(best, region)
            for p in cands:
                p["d"] = min(p["d"], km(p["la"], p["lo"], best["la"], best["lo"]))

    if len(chosen) != TOTAL:
        raise InputError("%d places chosen, not %d" % (len(chosen), TOTAL))

    for item in chosen:
        if item.get("fixed"):
            continue
        item["lat10"] = tenths(item["lat_text"])
        item["lon10"] = tenths(negated(item["lon_text"]))
        item["zone"] = zone_of(item, zone_offsets)
    name_places(chosen)
    return chosen, counts


def name_places(chosen):
    for item in chosen:
        if item.get("fixed"):
            item["display"] = item["name"]
            continue
        base = NAME_ALIASES.get((item["name"], item["country"]))
        if base is None:
            base = re.sub(r"\s*\(.*?\)\s*", "", item["name"]).strip()
        base = ascii_name(base)
        item["base"] = base
        states = STATE_CODES.get(item["country"])
        if states is not None:
            if item["admin1"] not in states:
                raise InputError("no state code for %s, %s" % (item["name"], item["admin1"]))
            item["display"] = base + ", " + states[item["admin1"]]
    # A name that another chosen place also has (a town of the United States
    # or Canada with its code, or a fixed row with its tag) gets a tag.
    by_base = collections.defaultdict(list)
    for item in chosen:
        if "display" not in item:
            by_base[item["base"]].append(item)
    other_bases = collections.Counter(i["base"] for i in chosen if "base" in i and "display" in i)
    other_bases.update(i["display"].split(",")[0] for i in chosen if i.get("fixed"))
    for base, items in by_base.items():
        clash = len(items) > 1 or base in other_bases
        for item in items:
            if not clash:
                item["display"] = base
                continue
            if item["country"] == "GB" and item["admin1"] in UK_TAGS:
                tag = UK_TAGS[item["admin1"]]
            elif item["country"] in COUNTRY_TAGS:
                tag = COUNTRY_TAGS[item["country"]]
            else:
                raise InputError("no country tag for %s (%s)" % (item["name"], item["country"]))
            item["display"] = base + ", " + tag
    names = collections.Counter(i["display"] for i in chosen)
    twice = [n for n, c in names.items() if c > 1]
    if twice:
        raise InputError("names given twice: %s" % ", ".join(sorted(twice)))


def ordinal_key(s):
    # The program orders names by UTF-16 code units; the names are ASCII.
    return s.encode("utf-16-be")


def render(chosen):
    rows = sorted(chosen, key=lambda i: ordinal_key(i["display"]))
    out = []
    out.append("// Generated by tools/make_places.py from catalogs/places/; do not edit.")
    out.append("// The built-in places in ordinal order of name: name, region, latitude and")
    out.append("// longitude in tenths of a degree (north and WEST positive), standard-time")
    out.append("// offset in minutes east of UT.")
    out.append('#include "settings/places.h"')
    out.append("")
    out.append("namespace Data {")
    out.append("")
    out.append("const BuiltinPlace kBuiltinPlaces[kBuiltinPlaceCount] = {")
    for i in rows:
        name = i["display"].replace("\\", "\\\\").replace('"', '\\"')
        out.append('    {u"%s", %d, %d, %d, %d},' % (name, REGIONS.index(i["region"]), i["lat10"], i["lon10"],
                                                     i["zone"]))
    out.append("};")
    out.append("")
    out.append("}  // namespace Data")
    return "\n".join(out) + "\n"


def report(chosen, counts, kst, zone_offsets):
    w = sys.stderr.write
    w("places: %d\n" % len(chosen))
    for region in REGIONS:
        w("  %-10s %d\n" % (region, counts[region]))
    sources = collections.Counter("fixed" if i.get("fixed") else i["src"] for i in chosen)
    w("by source: %s\n" % ", ".join("%s %d" % kv for kv in sorted(sources.items())))
    w("capitals: %d\n" % sum(1 for i in chosen if i.get("capital") or i.get("source", {}).get("capital")))
    kgrid = Grid()
    for r in kst:
        kgrid.add(r)
    unmatched, outliers, zone_diff, stale = [], [], [], []
    for item in chosen:
        src = item.get("source", item)
        if "lat_text" not in src:
            unmatched.append(item["display"])
            continue
        la, lo = item["lat10"] / 10.0, -item["lon10"] / 10.0
        near = [(d, k) for d, k in kgrid.near(src["la"], src["lo"], 150.0)
                if norm(k["name"]) == norm(src["name"]) and k["country_code"] == src["country"]]
        if not near:
            unmatched.append(item["display"])
        else:
            d, k = min(near, key=lambda t: t[0])
            d_table = km(la, lo, k["la"], k["lo"])
            if d > 20.0 or d_table > 25.0:
                outliers.append((d, item["display"], src["la"], src["lo"], k["la"], k["lo"], d_table))
            koff = int(k["utc_offset_minutes"])
            if koff != item["zone"]:
                zone_diff.append((item["display"], item["zone"], koff))
        if src.get("raw_offset") is not None and src["raw_offset"] != item["zone"]:
            stale.append((item["display"], item["zone"], src["raw_offset"]))
    w("cross-check against KStars: %d matched, %d not in KStars\n" % (
        len(chosen) - len(unmatched), len(unmatched)))
    w("coordinate outliers (GeoNames/Stellarium vs KStars > 20 km, or table vs KStars > 25 km): %d\n"
      % len(outliers))
    for d, name, la, lo, kla, klo, dt in sorted(outliers, reverse=True):
        w("  %-28s %7.1f km  source %.3f,%.3f  KStars %.3f,%.3f  table-KStars %.1f km\n"
          % (name, d, la, lo, kla, klo, dt))
    w("zone offsets that differ from KStars (table first): %d\n" % len(zone_diff))
    for name, z, k in zone_diff:
        w("  %-28s %5d  KStars %5d\n" % (name, z, k))
    w("zone offsets that differ from GeoNames' own (table first): %d\n" % len(stale))
    for name, z, k in stale:
        w("  %-28s %5d  GeoNames %5d\n" % (name, z, k))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--source", default=os.path.join(here, "..", "catalogs", "places"))
    ap.add_argument("--output", default=os.path.join(here, "..", "settings", "places_table.cpp"))
    ap.add_argument("--report", action="store_true")
    args = ap.parse_args()
    try:
        geo, stel, kst, zone_offsets = load(args.source)
        pool = build_pool(geo, stel)
        chosen, counts = select(pool, zone_offsets)
        text = render(chosen)
    except InputError as e:
        sys.stderr.write("make_places: %s\n" % e)
        return 1
    if args.report:
        report(chosen, counts, kst, zone_offsets)
    tmp = args.output + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(tmp, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
