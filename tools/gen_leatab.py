#!/usr/bin/env python3
"""Generate ephemerides/leatab.cpp, the LEA-406b lunar series as text rows.

Usage:
    python3 tools/gen_leatab.py [DATADIR OUTPUT]
    python3 tools/gen_leatab.py --check [DATADIR OUTPUT]

DATADIR defaults to tools/data/lea406b/ and OUTPUT to ephemerides/leatab.cpp,
both found from this script's own place in the repository, so that it runs
from any working directory.  DATADIR holds R.txt (distance), V.txt
(longitude) and U.txt (latitude), whose provenance its README.md gives: one
term per line, 21 blank-separated fields (N, 14 integer multipliers of
l l' F D Omega Me Ve EMB Ma Ju Sa Ur Ne p_A, A0 with 7 decimals, A1 and A2
with 6, phi0 phi1 phi2 in degrees with 12).  The table has 3874 slots of 160
characters:

    slot 0            title row: the block counts 1029 1753 1089 and a title
    slots 1..1029     distance terms (km, cosine series)
    slots 1030..2782  longitude terms (arcsec, sine series)
    slots 2783..3871  latitude terms (arcsec, sine series)
    slot 3872         a note on the number of lines
    slot 3873         "  0  "

Each term row is 154 characters: the 21 fields right-aligned in fixed widths
(N 4, each multiplier 3, A0 15, A1 11, A2 11, each phase 17) and separated by
one blank.  The widest values are N 1753 (4), a multiplier -15 (3),
A0 385000.5391914 (14), A1 16.817589 and A2 47.914428 (9) and a phase
-179.998214819583 (17), so every field keeps at least the width it needs and
A0 always has a blank of its own before it (the term rows are read with a
scan format that has two blanks before the first real).

The generator stops with an error (exit status 1) on any mismatch: input
checksums, row and field counts, term numbering, decimals and widths, value
ranges, the counts of A1 > 0 and A2 > 0 per block, and the published sample
rows: the data must hold each of them exactly as published, and each must
finally stand in its slot of the table exactly as published.  --check
regenerates into memory and fails if the committed file differs.
"""

import hashlib
import os
import re
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_DATADIR = os.path.join("tools", "data", "lea406b")
DEFAULT_OUTPUT = os.path.join("ephemerides", "leatab.cpp")

BLOCKS = [  # file, name, count, rows with A1 > 0, rows with A2 > 0, sha256
    ("R.txt", "distance", 1029, 553, 431,
     "9edca61cc38ad69495322f3a225dbfd1acc00b9b8af75cc8ece7340a8b0eb860"),
    ("V.txt", "longitude", 1753, 1152, 892,
     "c53ca8472d330a841f3722d00ea09f5b1b55a4206addb102a66654e090ac96e7"),
    ("U.txt", "latitude", 1089, 662, 489,
     "ef01721047f8d9f717af7a7d10fb943838984201cc7e1734815f65f4df6ac0d9"),
]

SLOTS = 3874
SLOT_WIDTH = 160
ROW_LENGTH = 154
WIDTHS = [4] + [3] * 14 + [15, 11, 11] + [17] * 3
assert sum(WIDTHS) + len(WIDTHS) - 1 == ROW_LENGTH

RE_INT = re.compile(r"-?\d+")
RE_REAL = {d: re.compile(r"-?\d+\.\d{%d}" % d) for d in (6, 7, 12)}
DECIMALS = [7, 6, 6, 12, 12, 12]  # A0 A1 A2 phi0 phi1 phi2

# The published sample rows, as published: block, N, multipliers, A0, A1, A2,
# phi0, phi1, phi2.
SAMPLES = [
    ("distance", 1, "0 0 0 0 0 0 0 0 0 0 0 0 0 0", "385000.5391914", "0.022719", "0.000373",
     "0.000000000000", "0.000000000000", "180.000000000000"),
    ("distance", 2, "1 0 0 0 0 0 0 0 0 0 0 0 0 0", "20905.1323372", "0.980795", "5.053451",
     "-179.998214819582", "20.874852007105", "86.848103326125"),
    ("distance", 3, "-1 0 0 2 0 0 0 0 0 0 0 0 0 0", "3699.1526315", "0.038997", "0.796336",
     "-179.998304061664", "-45.887843750265", "88.054967690317"),
    ("distance", 1029, "-2 0 0 2 0 0 6 -6 0 0 0 0 0 0", "0.0010077", "0.000000", "0.000000",
     "179.972867971696", "158.793064179036", "158.793064179036"),
    ("longitude", 1, "1 0 0 0 0 0 0 0 0 0 0 0 0 0", "22639.4323623", "0.901286", "5.524167",
     "0.000626771183", "-111.628732249300", "-91.004872180211"),
    ("longitude", 2, "-1 0 0 2 0 0 0 0 0 0 0 0 0 0", "4586.4641733", "0.048256", "0.993133",
     "0.000434004044", "-57.058622998514", "-90.833936416988"),
    ("longitude", 1753, "-4 0 3 1 0 0 0 -8 0 -15 0 0 0 -4", "0.0000000", "0.000000", "0.000057",
     "-120.549768797233", "-113.809390481642", "-23.809390481789"),
    ("latitude", 1, "0 0 1 0 0 0 0 0 0 0 0 0 0 0", "18461.3045037", "0.706748", "4.386216",
     "-0.000010526140", "-86.594593605340", "-90.013463073815"),
    ("latitude", 2, "1 0 1 0 0 0 0 0 0 0 0 0 0 0", "1010.2097449", "0.105852", "0.474547",
     "0.004326848548", "-3.271568848030", "-86.984526215771"),
    ("latitude", 1089, "-5 0 2 2 0 0 13 7 0 0 0 0 0 -2", "0.0000000", "0.000185", "0.000000",
     "-143.057397593790", "115.851629367730", "-143.057397593790"),
]

# The rebuilt rows keep each phase only to the grid that their source allows
# (the README of the data gives the details), but the rows of SAMPLES are
# held in the data exactly as published; the generator checks that they are.

TITLE = (" 1029 1753 1089  LEA-406b lunar series: distance (km, cosines), "
         "longitude and latitude (arcsec, sines), mean equinox of date")
NOTE = (" 3871 term lines: 1029 distance, 1753 longitude, 1089 latitude; "
        "the title line, this line and the last are not read")
LAST = "  0  "


class Mismatch(Exception):
    pass


def fail(msg):
    raise Mismatch(msg)


def micro12(text):
    """A phase with 12 decimals as an integer count of 1e-12 degree."""
    neg = text.startswith("-")
    whole, frac = text.lstrip("-").split(".")
    v = int(whole) * 10**12 + int(frac)
    return -v if neg else v


def lay_out(f, where):
    """The 21 fields right-aligned in their widths, one blank between."""
    for k, w in enumerate(WIDTHS):
        if len(f[k]) > w:
            fail(f"{where}: field {k + 1} {f[k]!r} wider than {w}")
    row = " ".join(x.rjust(w) for x, w in zip(f, WIDTHS))
    if len(row) != ROW_LENGTH:
        fail(f"{where}: laid out as {len(row)} characters, expected {ROW_LENGTH}")
    if row.split() != f:
        fail(f"{where}: layout does not give back the fields")
    return row


def read_block(path, name, count, n_a1, n_a2, sha):
    data = open(path, "rb").read()
    digest = hashlib.sha256(data).hexdigest()
    if digest != sha:
        fail(f"{path}: sha256 {digest}, expected {sha}")
    text = data.decode("ascii")
    if "\r" in text or not text.endswith("\n"):
        fail(f"{path}: expected LF line ends and a final line end")
    lines = text.split("\n")[:-1]
    if len(lines) != count:
        fail(f"{path}: {len(lines)} rows, expected {count}")
    rows = []
    a1_pos = a2_pos = 0
    for i, line in enumerate(lines, start=1):
        f = line.split(" ")
        where = f"{path} row {i}"
        if len(f) != 21:
            fail(f"{where}: {len(f)} fields, expected 21")
        for k in range(15):
            if not RE_INT.fullmatch(f[k]):
                fail(f"{where}: field {k + 1} {f[k]!r} is not an integer")
        if int(f[0]) != i:
            fail(f"{where}: term number {f[0]}")
        mult = [int(x) for x in f[1:15]]
        if any(m < -20 or m > 20 for m in mult):
            fail(f"{where}: multiplier out of [-20, 20]")
        if mult[11] != 0 or mult[12] != 0:
            fail(f"{where}: Ur or Ne multiplier is not 0")
        for k, d in enumerate(DECIMALS):
            if not RE_REAL[d].fullmatch(f[15 + k]):
                fail(f"{where}: field {16 + k} {f[15 + k]!r} does not have {d} decimals")
        amps = [float(x) for x in f[15:18]]
        if any(a < 0 for a in amps):
            fail(f"{where}: negative amplitude")
        for k in range(3):
            p = micro12(f[18 + k])
            if p < -180 * 10**12 or p > 180 * 10**12:
                fail(f"{where}: phase {f[18 + k]} outside [-180, 180]")
        a1_pos += amps[1] > 0
        a2_pos += amps[2] > 0
        rows.append((f, lay_out(f, where)))
    if a1_pos != n_a1 or a2_pos != n_a2:
        fail(f"{path}: A1 > 0 in {a1_pos} rows and A2 > 0 in {a2_pos}, "
             f"expected {n_a1} and {n_a2}")
    print(f"{name:9s} {path}: {count} rows, A1 > 0 in {a1_pos}, A2 > 0 in {a2_pos}, "
          f"sha256 ok, every row {ROW_LENGTH} characters")
    return rows


def check_samples(blocks):
    """Every published sample row stands in the data exactly as published."""
    for blk, n, mult, *vals in SAMPLES:
        f, _ = blocks[blk][n - 1]
        want = [str(n)] + mult.split() + list(vals)
        if f != want:
            fail(f"{blk} row {n} of the data is not the published row:\n"
                 f"  {' '.join(f)}\n  published: {' '.join(want)}")
    print(f"sample rows: all {len(SAMPLES)} published rows stand in the data as published")


def check_sample_slots(slots, first):
    """Every published sample row stands in its slot exactly as published."""
    for blk, n, mult, *vals in SAMPLES:
        slot = first[blk] + n - 1
        want = [str(n)] + mult.split() + list(vals)
        if slots[slot].split() != want:
            fail(f"slot {slot} ({blk} row {n}) does not hold the published row:\n"
                 f"  {slots[slot]}\n  published: {' '.join(want)}")
    print(f"sample rows: all {len(SAMPLES)} stand in the table as published")


def c_string(s):
    if any(c in s for c in '"\\') or not s.isascii():
        fail(f"row text needs escaping: {s!r}")
    return '"' + s + '"'


def generate(datadir, out_name):
    blocks = {}
    inputs = []
    for fname, name, count, n_a1, n_a2, sha in BLOCKS:
        blocks[name] = read_block(f"{datadir}/{fname}", name, count, n_a1, n_a2, sha)
        inputs.append((fname, name, count, sha))
    check_samples(blocks)
    slots = [TITLE]
    first = {}
    for _, name, *_rest in BLOCKS:
        first[name] = len(slots)
        slots.extend(r for _, r in blocks[name])
    slots += [NOTE, LAST]
    if len(slots) != SLOTS:
        fail(f"{len(slots)} slots, expected {SLOTS}")
    for i, s in enumerate(slots):
        if len(s) >= SLOT_WIDTH:
            fail(f"slot {i}: {len(s)} characters do not fit a slot of {SLOT_WIDTH}")
    if not slots[0].startswith(" 1029 1753 1089 "):
        fail("title row does not start with the block counts")
    check_sample_slots(slots, first)

    out = []
    out.append("// The LEA-406b lunar series as text rows: generated, do not edit.")
    out.append("//")
    out.append("// Generated by: python3 tools/gen_leatab.py")
    out.append("// from the LEA-406b term rows in tools/data/lea406b/ (see its README.md):")
    for fname, name, count, sha in inputs:
        out.append(f"//   {fname:6s} {name:9s} {count:4d} rows  sha256 {sha}")
    out.append("//")
    out.append("// Slot 0 is the title row with the block counts, slots 1 to 3871 the terms")
    out.append("// (distance 1..1029, longitude 1030..2782, latitude 2783..3871), slot 3872 a")
    out.append("// note, slot 3873 the end mark.  A term row: N, the multipliers of l l' F D")
    out.append("// Omega Me Ve EMB Ma Ju Sa Ur Ne p_A, A0, A1 (per millennium), A2 (per")
    out.append("// millennium squared), phi0 phi1 phi2 (degrees).  The published sample rows")
    out.append("// (distance 1, 2, 3, 1029; longitude 1, 2, 1753; latitude 1, 2, 1089) stand")
    out.append("// as published.")
    out.append('#include "leatab.h"')
    out.append("")
    out.append(f"const char leatab[{SLOTS}][{SLOT_WIDTH}] = {{")
    for i, s in enumerate(slots):
        if i % 10 == 0:
            out.append(f"    // slot {i}")
        out.append(f"    {c_string(s)},")
    out.append("};")
    return "\n".join(out) + "\n"


def main(argv):
    check = False
    if argv and argv[0] == "--check":
        check, argv = True, argv[1:]
    if len(argv) == 0:
        datadir = os.path.join(REPO, DEFAULT_DATADIR)
        out_name = os.path.join(REPO, DEFAULT_OUTPUT)
    elif len(argv) == 2:
        datadir, out_name = argv
    else:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        text = generate(datadir, out_name)
    except (Mismatch, OSError, UnicodeDecodeError) as e:
        print(f"gen_leatab: MISMATCH: {e}", file=sys.stderr)
        return 1
    if check:
        try:
            old = open(out_name, encoding="ascii").read()
        except OSError as e:
            print(f"gen_leatab: {e}", file=sys.stderr)
            return 1
        if old != text:
            print(f"gen_leatab: {out_name} differs from what the generator writes", file=sys.stderr)
            return 1
        print(f"{out_name} is up to date")
        return 0
    with open(out_name, "w", encoding="ascii", newline="\n") as fh:
        fh.write(text)
    print(f"wrote {out_name}: {SLOTS} slots of {SLOT_WIDTH}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
