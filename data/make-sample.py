#!/usr/bin/env python3
"""Builds data/sample/ from the project's shared copy of real navigation data.

Usage: data/make-sample.py SHARED_DATA_FOLDER
The sample: the Pacific Northwest airports (apt.dat), their CIFP files, and the US fix and navaid
files cut to the region with a margin, plus every fix and navaid the region's procedures name.
"""
import os
import shutil
import sys

# 45N-49.5N, 125W-116.5W, the region of the airports, and a margin for procedure transitions.
LAT_MIN, LAT_MAX, LON_MIN, LON_MAX = 45.0, 49.5, -125.0, -116.5
MARGIN = 2.0


def in_box(lat, lon):
    return (LAT_MIN - MARGIN <= lat <= LAT_MAX + MARGIN) and (LON_MIN - MARGIN <= lon <= LON_MAX + MARGIN)


def procedure_references(cifp_folder):
    """(ident, region) pairs of the fixes the procedures name."""
    refs = set()
    for name in os.listdir(cifp_folder):
        with open(os.path.join(cifp_folder, name), encoding="latin-1") as f:
            for line in f:
                fields = line.split(":", 1)[-1].split(",")
                if len(fields) > 5 and fields[4].strip():
                    refs.add((fields[4].strip(), fields[5].strip()))
    return refs


def cut(source, target, position, ident_region, refs):
    kept = 0
    with open(source, "rb") as f, open(target, "wb") as out:
        for number, raw in enumerate(f):
            fields = raw.split()
            if number < 3 or not fields or fields[0] == b"99":
                out.write(raw)
                continue
            lat, lon = position(fields)
            ident, region = ident_region(fields)
            if in_box(lat, lon) or (ident, region) in refs:
                out.write(raw)
                kept += 1
    return kept


def main():
    shared = sys.argv[1]
    here = os.path.dirname(os.path.abspath(__file__))
    sample = os.path.join(here, "sample")
    navdata = os.path.join(sample, "navdata")
    shutil.rmtree(sample, ignore_errors=True)
    os.makedirs(navdata)
    shutil.copyfile(os.path.join(shared, "pnw", "apt.dat"), os.path.join(sample, "apt.dat"))
    shutil.copytree(os.path.join(shared, "pnw", "CIFP"), os.path.join(navdata, "CIFP"))
    refs = procedure_references(os.path.join(navdata, "CIFP"))
    us = os.path.join(shared, "us-1911")
    fixes = cut(os.path.join(us, "earth_fix.dat"), os.path.join(navdata, "earth_fix.dat"),
                lambda f: (float(f[0]), float(f[1])), lambda f: (f[2].decode(), f[4].decode()), refs)
    # Navaid rows: code lat lon elevation frequency range (bearing|slaved) ident airport/ENRT region ...
    navaids = cut(os.path.join(us, "earth_nav.dat"), os.path.join(navdata, "earth_nav.dat"),
                  lambda f: (float(f[1]), float(f[2])), lambda f: (f[7].decode(), f[9].decode()), refs)
    print(f"sample: {fixes} fixes, {navaids} navaids, {len(os.listdir(os.path.join(navdata, 'CIFP')))} CIFP files")


if __name__ == "__main__":
    main()
