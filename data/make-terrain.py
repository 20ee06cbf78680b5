#!/usr/bin/env python3
"""Builds data/sample/terrain.dem, the ground under the sample region, for simhost's terrain probe.

Usage: data/make-terrain.py SHARED_DATA_FOLDER
Reads terrain/pnw-dem-45s.grid (int16 metres, 45 arc-seconds) and flattens every land airport of
data/sample/apt.dat to its elevation over its runways and startup locations, with a margin of a cell,
blending back to the terrain over the next two cells, as X-Plane flattens its airports. Writes the
grid in a compact form: the same header, then each row's cells as the difference from the cell to
their west (the first from 0), zig-zag mapped and written as little-endian base-128 varints.
"""
import array
import math
import os
import sys

FEET_TO_METRES = 0.3048
MARGIN_CELLS = 1.0
BLEND_CELLS = 2.0


def read_grid(path):
    data = open(path, "rb").read()
    end = data.index(b"\nend\n") + 5
    header = {}
    for line in data[:end].decode("ascii").splitlines():
        fields = line.split()
        if len(fields) >= 2:
            for key, value in zip(fields[0::2], fields[1::2]):
                header[key] = value
    cells = array.array("h")
    cells.frombytes(data[end:])
    if sys.byteorder != "little":
        cells.byteswap()
    return header, cells


def airports(apt_dat):
    """(elevation m, [(lat, lon) of runway ends and startup locations], longest runway) per land airport."""
    found, current = [], None
    with open(apt_dat, encoding="latin-1") as f:
        for line in f:
            fields = line.split()
            if not fields:
                continue
            code = fields[0]
            if code in ("1", "16", "17"):
                current = None
                if code == "1" and len(fields) >= 5:
                    current = [float(fields[1]) * FEET_TO_METRES, [], 0.0]
                    found.append(current)
            elif current is None:
                continue
            elif code == "100" and len(fields) >= 20:
                ends = [(float(fields[9]), float(fields[10])), (float(fields[18]), float(fields[19]))]
                current[1].extend(ends)
                current[2] = max(current[2], math.dist(*ends))
            elif code in ("1300", "15") and len(fields) >= 3:
                current[1].append((float(fields[1]), float(fields[2])))
    return [a for a in found if a[1]]


def flatten(header, cells, found):
    west, north = float(header["west"]), float(header["north"])
    cols, rows, step = int(header["cols"]), int(header["rows"]), float(header["step_deg"])
    # Smaller airports first: where two meet, the larger one's level wins.
    for elevation, points, _ in sorted(found, key=lambda a: a[2]):
        lats = [p[0] for p in points]
        lons = [p[1] for p in points]
        c0 = (min(lons) - west) / step - 0.5 - MARGIN_CELLS
        c1 = (max(lons) - west) / step - 0.5 + MARGIN_CELLS
        r0 = (north - max(lats)) / step - 0.5 - MARGIN_CELLS
        r1 = (north - min(lats)) / step - 0.5 + MARGIN_CELLS
        reach = BLEND_CELLS + 1
        for r in range(max(0, math.floor(r0 - reach)), min(rows, math.ceil(r1 + reach) + 1)):
            for c in range(max(0, math.floor(c0 - reach)), min(cols, math.ceil(c1 + reach) + 1)):
                # Cells distance outside the flattened box (0 inside).
                dc = max(math.floor(c0) - c, 0, c - math.ceil(c1))
                dr = max(math.floor(r0) - r, 0, r - math.ceil(r1))
                outside = max(dc, dr)
                if outside > BLEND_CELLS:
                    continue
                weight = 1.0 - outside / (BLEND_CELLS + 1)
                i = r * cols + c
                cells[i] = int(round(weight * elevation + (1 - weight) * cells[i]))


def encode(cells, cols, rows):
    out = bytearray()
    for r in range(rows):
        previous = 0
        for c in range(cols):
            value = cells[r * cols + c]
            delta = value - previous
            previous = value
            z = (delta << 1) ^ (delta >> 31)
            while z >= 0x80:
                out.append((z & 0x7F) | 0x80)
                z >>= 7
            out.append(z)
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    header, cells = read_grid(os.path.join(sys.argv[1], "terrain", "pnw-dem-45s.grid"))
    found = airports(os.path.join(here, "sample", "apt.dat"))
    flatten(header, cells, found)
    cols, rows = int(header["cols"]), int(header["rows"])
    text = (
        "VELLOMIR-DEM 2\n"
        "source SRTM30_PLUS v11 land heights (= USGS SRTM30, public domain), airports flattened to their apt.dat elevation\n"
        f"west {header['west']} east {header['east']} south {header['south']} north {header['north']}\n"
        f"cols {cols} rows {rows} step_deg {header['step_deg']}\n"
        "format varint_zigzag_row_delta_metres_north_first_cell_centres\n"
        "end\n"
    )
    with open(os.path.join(here, "sample", "terrain.dem"), "wb") as f:
        f.write(text.encode("ascii") + encode(cells, cols, rows))
    print(f"{len(found)} airports flattened")


if __name__ == "__main__":
    main()
