#!/usr/bin/env python3
"""Builds data/plugin/acc.dat, the plug-in's list of area (centre) controllers, from the project's shared
copy of real data.

Usage: data/make-acc.py SHARED_DATA_FOLDER [OUTPUT]

Sources: the centre rows (types CNTR, ACC, ARTC, CTR) of OurAirports' airport-frequencies.csv give each
airport that has one its centre's name and frequency; the airports of the world apt.dat give the
positions. Coverage:
  - every airport with a centre row of its own whose frequency is a COM frequency (118.000-136.990 MHz);
  - every other airport of the world apt.dat within NEIGHBOUR_NM of such an airport in the same area
    (the same ICAO region prefix), which takes the centre of the nearest one.
Every other airport has no line: the plug-in then makes a frequency up.

Output: one line per centre (name and frequency), "IDENT IDENT ...:Name Center:127.125", identifiers
sorted, lines sorted by name and frequency, after a "#" header with the attribution.
"""
import csv
import gzip
import math
import os
import sys
from collections import defaultdict

NEIGHBOUR_NM = 60.0
BAND_MHZ = (118.0, 136.99)
CENTRE_TYPES = ("CNTR", "ACC", "ARTC", "CTR")
# The word a facility is called by on the radio, from the abbreviations the descriptions use.
FACILITY_WORDS = {
    "CNTR": "Center", "CTR": "Center", "CENTER": "Center", "CENTRE": "Center", "CNTL": "Control",
    "ACC": "Control", "CON": "Control", "CONTROL": "Control", "APP": "Control",
    "RADAR": "Radar", "RDR": "Radar", "RDO": "Radio", "RADIO": "Radio",
}
# ICAO regions whose first letter alone names the country (the rest use two letters).
ONE_LETTER_REGIONS = "KCYZU"


def spoken_name(description):
    """'SEATTLE CNTR' gives 'Seattle Center', 'REYKJAVIK ACC' 'Reykjavik Control', 'SEATTLE' 'Seattle
    Center'; a description without a place ('ACC', 'CTR') gives '' (not usable)."""
    place, facility = [], None
    for word in description.replace("/", " ").split():
        upper = word.upper().strip(".,()")
        if upper in FACILITY_WORDS:
            facility = facility or FACILITY_WORDS[upper]
            continue
        if facility is None and upper.isalpha():
            place.append(upper.capitalize())
    if not place:
        return ""
    return " ".join(place + [facility or "Center"])


def frequency_text(mhz_text):
    """'126.625' stays, '120.3' gives '120.300'; None outside the COM band or not a number."""
    try:
        mhz = float(mhz_text)
    except ValueError:
        return None
    if not (BAND_MHZ[0] <= mhz <= BAND_MHZ[1] + 1e-9):
        return None
    return "%.3f" % mhz


def is_icao(ident):
    return len(ident) == 4 and ident.isalpha() and ident.isupper()


def region(ident):
    return ident[0] if ident[0] in ONE_LETTER_REGIONS else ident[:2]


def read_centres(csv_path):
    """ident -> (name, frequency text) from the first usable centre row of each airport."""
    centres, skipped = {}, 0
    with open(csv_path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            if row["type"] not in CENTRE_TYPES:
                continue
            ident = row["airport_ident"].strip()
            name = spoken_name(row["description"] or "")
            frequency = frequency_text(row["frequency_mhz"])
            # OurAirports' own identifiers (US-1234) are no simulator's; ':' and blanks would break a line.
            if not name or frequency is None or "-" in ident or not ident.isalnum():
                skipped += 1
                continue
            centres.setdefault(ident, (name, frequency))
    return centres, skipped


def read_airports(apt_path):
    """ident -> (lat, lon): the middle of the runway ends, water runways and helipads of each airport."""
    airports = {}
    ident, points = None, []

    def close():
        if ident and points:
            airports[ident] = (sum(p[0] for p in points) / len(points), sum(p[1] for p in points) / len(points))

    with gzip.open(apt_path, "rt", encoding="latin-1") as f:
        for line in f:
            fields = line.split()
            if not fields:
                continue
            code = fields[0]
            try:
                if code in ("1", "16", "17") and len(fields) >= 5:
                    close()
                    ident, points = fields[4], []
                elif code == "100" and len(fields) >= 20:
                    points += [(float(fields[9]), float(fields[10])), (float(fields[18]), float(fields[19]))]
                elif code == "101" and len(fields) >= 9:
                    points += [(float(fields[4]), float(fields[5])), (float(fields[7]), float(fields[8]))]
                elif code == "102" and len(fields) >= 4:
                    points.append((float(fields[2]), float(fields[3])))
            except ValueError:
                pass
    close()
    return airports


def distance_nm(a, b):
    lat1, lon1, lat2, lon2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((lat2 - lat1) / 2) ** 2 + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2
    return 2 * 3440.065 * math.asin(min(1.0, math.sqrt(h)))


def area_of(airports, grid):
    """ident -> region: an ICAO identifier's own; any other takes the region of the nearest ICAO airport."""
    areas = {}
    for ident, position in airports.items():
        if is_icao(ident):
            areas[ident] = region(ident)
    for ident, position in airports.items():
        if ident in areas:
            continue
        best = nearest(position, grid, lambda other: is_icao(other), 300.0)
        areas[ident] = region(best) if best else ""
    return areas


def make_grid(airports, wanted):
    grid = defaultdict(list)
    for ident, (lat, lon) in airports.items():
        if wanted(ident):
            grid[(int(math.floor(lat)), int(math.floor(lon)))].append((ident, (lat, lon)))
    return grid


def nearest(position, grid, accept, limit_nm):
    """The nearest accepted identifier of the grid within limit_nm, searched ring by ring."""
    lat, lon = position
    cell = (int(math.floor(lat)), int(math.floor(lon)))
    best, best_nm = None, limit_nm
    rings = int(limit_nm / 60.0 / max(0.05, math.cos(math.radians(min(89.0, abs(lat)))))) + 2
    for ring in range(0, min(rings, 180) + 1):
        for dlat in range(-ring, ring + 1):
            for dlon in range(-ring, ring + 1):
                if max(abs(dlat), abs(dlon)) != ring:
                    continue
                key = (cell[0] + dlat, (cell[1] + dlon + 180) % 360 - 180)
                for ident, other in grid.get(key, ()):
                    if not accept(ident):
                        continue
                    d = distance_nm(position, other)
                    if d < best_nm or (d == best_nm and best is not None and ident < best):
                        best, best_nm = ident, d
        if best is not None and ring * 60.0 * math.cos(math.radians(min(89.0, abs(lat)))) > best_nm + 60.0:
            break
    return best


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 1
    shared = sys.argv[1]
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "plugin", "acc.dat")
    centres, skipped = read_centres(os.path.join(shared, "ourairports", "airport-frequencies.csv"))
    airports = read_airports(os.path.join(shared, "world", "apt.dat.gz"))
    everything = make_grid(airports, lambda ident: True)
    areas = area_of(airports, everything)
    covered_grid = make_grid(airports, lambda ident: ident in centres)

    served = dict(centres)  # ident -> (name, frequency)
    by_neighbour = 0
    for ident, position in airports.items():
        if ident in served or not areas.get(ident):
            continue
        donor = nearest(position, covered_grid, lambda other: areas.get(other) == areas[ident], NEIGHBOUR_NM)
        if donor is not None:
            served[ident] = centres[donor]
            by_neighbour += 1

    lines = defaultdict(list)
    for ident, centre in served.items():
        lines[centre].append(ident)
    with open(output, "w", encoding="ascii", newline="\n") as out:
        out.write("# Vellomir area (centre) controllers: airport identifiers:spoken name:frequency in MHz\n")
        out.write("# Centre names and frequencies: OurAirports (ourairports.com), airport-frequencies.csv,\n")
        out.write("# public domain. Airports without a centre row of their own take the centre of the nearest\n")
        out.write("# one within %d nm in the same ICAO region; their identifiers and positions come from\n"
                  % NEIGHBOUR_NM)
        out.write("# FlightGear's apt.dat (X-Plane data, Copyright 2013 Robin A. Peel), GNU GPL v2 or later.\n")
        out.write("# Generated by data/make-acc.py. Not for real-world navigation.\n")
        for (name, frequency), idents in sorted(lines.items()):
            out.write("%s:%s:%s\n" % (" ".join(sorted(idents)), name, frequency))

    in_world = sum(1 for ident in centres if ident in airports)
    areas_used = len({areas.get(ident, "") for ident in served if ident in airports})
    print("centre rows skipped (not a COM frequency, no place name, not an identifier): %d" % skipped)
    print("airports with a centre row of their own: %d (%d of them in the world apt.dat)" % (len(centres), in_world))
    print("airports covered by a neighbour within %d nm: %d" % (NEIGHBOUR_NM, by_neighbour))
    print("airports covered: %d of %d in the world apt.dat; %d lines (centres); %d ICAO regions"
          % (sum(1 for ident in served if ident in airports), len(airports), len(lines), areas_used))
    print("written: %s (%d bytes)" % (output, os.path.getsize(output)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
