#!/usr/bin/python3
"""Short ReadMe excerpts for the import tests and ERFA reference positions for them.

Writes tests/data/cds-excerpts/<name>/ReadMe and table.dat (one folder for each import rule)
and positions.csv: excerpt, label, and the J2000.0 position (degrees) that each record's own
fields give for the position set that should be chosen, referred to J2000.0 with ERFA's
IAU 1976 precession (eraPrec76 angles, rotated as in tools/gen-precession-vectors.py).

The columns are read here from each record by the byte ranges written below, not by the
program under test.  Run: /usr/bin/python3 tools/gen-import-excerpts.py  (needs python3-erfa)
"""
import math
import os

import erfa

RULE = "-" * 80
HEAD = "   Bytes Format Units   Label    Explanations"


def readme(title, rows, summary=None, header="", name="table.dat"):
    text = title + "\n" + "=" * 80 + "\n" + header
    if summary is not None:
        text += ("File Summary:\n" + RULE + "\n FileName    Lrecl  Records   Explanations\n" +
                 RULE + "\n" + summary + RULE + "\n\n")
    text += ("Byte-by-byte Description of file: " + name + "\n" + RULE + "\n" + HEAD + "\n" +
             RULE + "\n" + rows + RULE + "\n" + "=" * 80 + "\n(End)\n")
    return text


def place(fields, length):
    """A record from (first byte, text) pairs."""
    line = [" "] * length
    for first, text in fields:
        for k, c in enumerate(text):
            line[first - 1 + k] = c
    return "".join(line).rstrip()


EXCERPTS = {}

# A byte-by-byte table divided into sections by rules and a heading.
EXCERPTS["sectioned"] = (
    readme("J/X/2       Stars in two sections                                (Test, 2026)",
           "   1-  5  A5    ---     Name     Star name\n"
           "   7-  8  I2    h       RAh      Right ascension (J2000)\n"
           "  10- 11  I2    min     RAm      Right ascension (J2000)\n"
           "  13- 17  F5.2  s       RAs      Right ascension (J2000)\n"
           "      19  A1    ---     DE-      Declination sign (J2000)\n"
           "  20- 21  I2    deg     DEd      Declination (J2000)\n"
           "  23- 24  I2    arcmin  DEm      Declination (J2000)\n"
           "  26- 29  F4.1  arcsec  DEs      Declination (J2000)\n" + RULE + "\n"
           "                             Photometry\n" + RULE + "\n"
           "  31- 35  F5.2  mag     Vmag     Apparent V magnitude\n"),
    [place([(1, "Alpha"), (7, "01 02 03.45 +12 34 56.7"), (31, " 5.43")], 35),
     place([(1, "Beta"), (7, "23 59 59.99 -89 59 59.9"), (31, "10.01")], 35)],
    {"ra": [(7, 8, 1), (10, 11, 60), (13, 17, 3600)], "sign": 19,
     "dec": [(20, 21, 1), (23, 24, 60), (26, 29, 3600)], "epoch": "J2000.0", "label": (1, 5, "")})

# Two position sets with their years in the explanations (one a bare year), a per-row equinox
# column, and no J2000.0 set: the more precise set with its own epoch, B1875.0.
EXCERPTS["sets"] = (
    readme("J/X/3       Old positions                                        (Test, 2026)",
           "   1-  4  I4    ---     Seq      Running number\n"
           "   6-  7  I2    h       RA1875h  Right Ascension 1875 (hours)\n"
           "   9- 10  I2    min     RA1875m  Right Ascension 1875 (minutes)\n"
           "  12- 16  F5.2  s       RA1875s  Right Ascension 1875 (seconds)\n"
           "      18  A1    ---     DE1875-  Declination 1875 (sign)\n"
           "  19- 20  I2    deg     DE1875d  Declination 1875 (degrees)\n"
           "  22- 23  I2    arcmin  DE1875m  Declination 1875 (minutes)\n"
           "  25- 28  F4.1  arcsec  DE1875s  Declination 1875 (seconds)\n"
           "  30- 31  I2    h       RAh      Hours RA, 1950\n"
           "  33- 34  I2    min     RAm      Minutes RA, 1950\n"
           "  36- 37  I2    s       RAs      Seconds RA, 1950\n"
           "      39  A1    ---     DE-      Sign Dec, 1950\n"
           "  40- 41  I2    deg     DEd      Degrees Dec, 1950\n"
           "  43- 44  I2    arcmin  DEm      Minutes Dec, 1950\n"
           "  46- 51  F6.1  yr      Equinox  Equinox of the measured position\n"),
    [place([(1, "   1"), (6, "05 30 12.34 +22 10 05.5 05 32 42 +22 13"), (46, "1950.0")], 51),
     place([(1, "   2"), (6, "18 35 02.10 -38 50 44.0 18 38 35 -38 48"), (46, "1900.0")], 51)],
    {"ra": [(6, 7, 1), (9, 10, 60), (12, 16, 3600)], "sign": 18,
     "dec": [(19, 20, 1), (22, 23, 60), (25, 28, 3600)], "epoch": "B1875.0",
     "label": (1, 4, "")})

# Three sets: 1900.0, 2000 and a bare 1970; the J2000.0 set is taken.
EXCERPTS["sets2000"] = (
    readme("J/X/4       Three epochs                                         (Test, 2026)",
           "   1-  5  A5    ---     Name     Name\n"
           "   7-  8  I2    h       RA1900h  Hours RA, 1900.0\n"
           "  10- 11  I2    min     RA1900m  Minutes RA, 1900.0\n"
           "  13- 16  F4.1  s       RA1900s  Seconds RA, 1900.0\n"
           "      18  A1    ---     DE1900-  Sign Dec, 1900.0\n"
           "  19- 20  I2    deg     DE1900d  Degrees Dec, 1900.0\n"
           "  22- 23  I2    arcmin  DE1900m  Minutes Dec, 1900.0\n"
           "  25- 26  I2    h       RA2000h  Right Ascension 2000 (hours)\n"
           "  28- 29  I2    min     RA2000m  Right Ascension 2000 (minutes)\n"
           "  31- 35  F5.2  s       RA2000s  Right Ascension 2000 (seconds)\n"
           "      37  A1    ---     DE2000-  Declination 2000 (sign)\n"
           "  38- 39  I2    deg     DE2000d  Declination 2000 (degrees)\n"
           "  41- 42  I2    arcmin  DE2000m  Declination 2000 (arcmin)\n"
           "  44- 47  F4.1  arcsec  DE2000s  Declination 2000 (arcsec)\n"
           "  49- 55  F7.4  h       RAh      Right ascension 1970 (decimal hours)\n"
           "  57- 63  F7.3  deg     DEdeg    Declination 1970 (decimal degrees)\n"),
    [place([(1, "Star1"), (7, "05 29 44.0 +22 05"), (25, "05 34 31.94 +22 00 52.2"),
            (49, " 5.5589"), (57, " 22.031")], 63),
     place([(1, "Star2"), (7, "13 20 01.0 -10 38"), (25, "13 25 11.58 -11 09 40.8"),
            (49, "13.4029"), (57, "-10.995")], 63)],
    {"ra": [(25, 26, 1), (28, 29, 60), (31, 35, 3600)], "sign": 37,
     "dec": [(38, 39, 1), (41, 42, 60), (44, 47, 3600)], "epoch": "J2000.0",
     "label": (1, 5, "")})

# RA seconds in deci-seconds and Dec minutes in tenths of arcminutes.
EXCERPTS["scaled"] = (
    readme("J/X/5       Scaled units                                         (Test, 2026)",
           "   1-  5  A5    ---     Name     Name\n"
           "   7-  8  I2    h       RAh      Right ascension (J2000)\n"
           "  10- 11  I2    min     RAm      Right ascension (J2000)\n"
           "  13- 15  I3    0.1s    RAs      Right ascension (J2000), deci-seconds\n"
           "      17  A1    ---     DE-      Declination sign (J2000)\n"
           "  18- 19  I2    deg     DEd      Declination (J2000)\n"
           "  21- 23  I3 0.1arcmin  DEm      Declination (J2000), 0.1 arcmin\n"),
    [place([(1, "Gamma"), (7, "12 34 567 -45 123")], 23),
     place([(1, "Delta"), (7, "00 00 005 +00 001")], 23)],
    {"ra": [(7, 8, 1), (10, 11, 60), (13, 15, 36000)], "sign": 17,
     "dec": [(18, 19, 1), (21, 23, 600)], "epoch": "J2000.0", "label": (1, 5, "")})

# Positions in degrees under the plain labels RA and Dec.
EXCERPTS["radec"] = (
    readme("J/X/6       Journal table                                        (Test, 2026)",
           "   1-  8  A8    ---     ID       Source identifier\n"
           "  10- 19  F10.6 deg     RA       Right ascension (J2000)\n"
           "  21- 30  F10.6 deg     Dec      Declination (J2000)\n"),
    [place([(1, "src-1"), (10, "201.298247"), (21, "-43.019112")], 30),
     place([(1, "src-2"), (10, "  0.000100"), (21, " 89.999900")], 30)],
    {"ra": [(10, 19, 15)], "dec": [(21, 30, 1)], "epoch": "J2000.0", "label": (1, 8, "")})

# Latin-1 text, tabs and bullets in the file summary, which names the file differently; the
# equinox only in the description.
EXCERPTS["latin1"] = (
    readme("J/X/7       Nébuleuses sombres                                   (Test, 2026)",
           "   1-  6  A6    ---     Name     Designation\n"
           "   8-  9  I2    h       RAh      Right ascension\n"
           "  11- 12  I2    min     RAm      Right ascension\n"
           "      14  A1    ---     DE-      Declination sign\n"
           "  15- 16  I2    deg     DEd      Declination (\xb0)\n"
           "  18- 19  I2    arcmin  DEm      Declination\n",
           summary="\xd7 ReadMe\t80\t.\tThis file\n\xd7 table1.dat\t19\t2\tLes n\xe9buleuses\n",
           header="Description:\n    Positions for the equinox B1950.0.\n\n"),
    [place([(1, "LDN 1"), (8, "16 22 -24 10")], 19),
     place([(1, "LDN 2"), (8, "03 25 +30 45")], 19)],
    {"ra": [(8, 9, 1), (11, 12, 60)], "sign": 14, "dec": [(15, 16, 1), (18, 19, 60)],
     "epoch": "B1950.0", "label": (1, 6, "")})

# A catalogue number as the only identifier, its prefix from its explanation.
EXCERPTS["number"] = (
    readme("VII/20      Catalogue of HII Regions                         (Sharpless 1959)",
           "   1-  3  I3    ---     Sh2      [1/313] Sharpless catalog number\n"
           "   5-  6  I2    h       RAh      Right ascension (1950)\n"
           "   8-  9  I2    min     RAm      Right ascension (1950)\n"
           "  11- 12  I2    s       RAs      Right ascension (1950)\n"
           "      14  A1    ---     DE-      Declination sign (1950)\n"
           "  15- 16  I2    deg     DEd      Declination (1950)\n"
           "  18- 19  I2    arcmin  DEm      Declination (1950)\n"
           "  21- 23  I3    arcmin  Diam     Diameter\n"),
    [place([(1, "  1"), (5, "15 57 00 -25 52  20")], 23),
     place([(1, " 25"), (5, "18 00 36 -24 23 120")], 23)],
    {"ra": [(5, 6, 1), (8, 9, 60), (11, 12, 3600)], "sign": 14,
     "dec": [(15, 16, 1), (18, 19, 60)], "epoch": "B1950.0", "label": (1, 3, "Sh2-")})


# Real catalogues (tests/data/cds-real): data file, and the chosen set's byte ranges.
REAL = {
    "bsc": ("bsc/catalog", {"ra": [(76, 77, 1), (78, 79, 60), (80, 83, 3600)], "sign": 84,
                            "dec": [(85, 86, 1), (87, 88, 60), (89, 90, 3600)],
                            "epoch": "J2000.0", "label": [(5, 14, ""), (1, 4, "HR ")]}),
    "deg": ("deg/table2.dat", {"ra": [(19, 29, 15)], "dec": [(31, 41, 1)], "epoch": "J2000.0",
                               "label": [(8, 17, ""), (1, 6, "HIP ")]}),
    "mrt": ("mrt/datafile3.txt", {"ra": [(5, 6, 1), (8, 9, 60), (11, 15, 3600)], "sign": 17,
                                  "dec": [(18, 19, 1), (21, 22, 60), (24, 27, 3600)],
                                  "epoch": "J2000.0", "label": [(1, 3, "")], "skip": 37}),
}


def julian_date(epoch):
    year = float(epoch[1:])
    if epoch[0] == "B":
        return (year - 1950.0) * 365.2421988 + 2433282.4235
    return (year - 2000.0) * 365.25 + 2451545.0


def to_j2000(ra_deg, dec_deg, epoch):
    if epoch == "J2000.0":
        return ra_deg, dec_deg
    jd = julian_date(epoch)
    zeta, z, theta = erfa.prec76(2400000.5, jd - 2400000.5, 2451545.0, 0.0)
    matrix = erfa.rz(-z, erfa.ry(theta, erfa.rz(-zeta, erfa.ir())))
    ra, dec = erfa.c2s(erfa.rxp(matrix, erfa.s2c(math.radians(ra_deg), math.radians(dec_deg))))
    return math.degrees(erfa.anp(ra)), math.degrees(dec)


def value(line, first, last):
    text = line[first - 1:last].strip()
    return float(text) if text else 0.0


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data",
                        "cds-excerpts")
    rows = []
    for name, (text, records, layout) in EXCERPTS.items():
        folder = os.path.join(root, name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "ReadMe"), "w", encoding="latin-1", newline="\n") as out:
            out.write(text)
        with open(os.path.join(folder, "table.dat"), "w", encoding="latin-1", newline="\n") as out:
            out.write("".join(r + "\n" for r in records))
        rows.extend(positions(name, records, layout))
    for name, (path, layout) in REAL.items():
        with open(os.path.join(root, "..", "cds-real", path), encoding="latin-1") as data:
            records = data.read().splitlines()[layout.get("skip", 0):]
        rows.extend(positions(name, records, layout))
    with open(os.path.join(root, "positions.csv"), "w") as out:
        out.write("# made by tools/gen-import-excerpts.py with ERFA %s\n" % erfa.__version__)
        out.write("excerpt,label,ra_deg,dec_deg\n")
        out.writelines(rows)


def positions(name, records, layout):
    """Rows of positions.csv for the records that have a position."""
    rows = []
    for line in records:
        padded = line.ljust(300)
        if not any(c.isdigit() for a, b, d in layout["ra"] for c in padded[a - 1:b]):
            continue
        if True:
            ra = 15.0 * sum(abs(value(padded, a, b)) / d for a, b, d in layout["ra"])
            dec = sum(abs(value(padded, a, b)) / d for a, b, d in layout["dec"])
            sign = padded[layout["sign"] - 1] if "sign" in layout else ""
            if sign == "-" or (not sign and padded[layout["dec"][0][0] - 1:layout["dec"][0][1]].strip().startswith("-")):
                dec = -dec
            ra, dec = to_j2000(ra, dec, layout["epoch"])
            labels = layout["label"] if isinstance(layout["label"], list) else [layout["label"]]
            label = ""
            for first, last, prefix in labels:
                if padded[first - 1:last].strip():
                    label = prefix + padded[first - 1:last].strip()
                    break
            rows.append("%s,%s,%.10f,%.10f\n" % (name, label, ra, dec))
    return rows


if __name__ == "__main__":
    main()
