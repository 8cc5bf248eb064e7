#!/usr/bin/python3
"""Reference vectors for the precession to J2000.0, made with ERFA (Debian's python3-erfa).

Writes tests/data/precession/angles.csv and positions.csv beside this repository's tests:
  angles.csv     epoch text, Julian date, and ERFA's IAU 1976 angles zeta, z, theta (radians)
                 from that epoch to J2000.0 (eraPrec76);
  positions.csv  epoch text, a position (RA, Dec in radians) at that epoch and the same
                 position referred to J2000.0, rotated with ERFA's own matrix helpers
                 (R3(-z) . R2(theta) . R3(-zeta), as eraPmat76 builds it) on unit vectors;
  degrees.csv    epoch text, the RA and Dec texts of a catalogue in decimal degrees (bright
                 stars, the poles and both ends of the RA circle) and that position referred
                 to J2000.0 (radians), rotated the same way; at J2000.0 the text's own value.

The Julian date of an epoch follows the catalogue convention: Besselian
(Y - 1950) * 365.2421988 + 2433282.4235, Julian (Y - 2000) * 365.25 + 2451545.0. It is handed
to ERFA as a two-part date (2400000.5 + rest), ERFA's usual split.

Run: /usr/bin/python3 tools/gen-precession-vectors.py   (needs python3-erfa and numpy)
"""
import math
import os

import erfa
import numpy as np

EPOCHS = ["B1850.0", "B1875.0", "B1900.0", "B1925.5", "B1950.0", "B1975.0", "B2000.0",
          "B2025.0", "B2050.0", "J1900.0", "J1925.0", "J1950.0", "J1975.0", "J1999.9",
          "J2000.1", "J2025.0", "J2050.0", "J2075.0", "J2100.0"]


def julian_date(epoch):
    year = float(epoch[1:])
    if epoch[0] == "B":
        return (year - 1950.0) * 365.2421988 + 2433282.4235
    return (year - 2000.0) * 365.25 + 2451545.0


def positions():
    """Positions all over the sky: poles, the equator, RA near 0 and 24 h."""
    two_pi = 2.0 * math.pi
    ras = [0.0, 1e-9, 0.1, 0.5, 1.0, math.pi / 2, 2.0, 3.0, math.pi, 4.0, 4.7, 5.5, 6.0,
           two_pi - 1e-6, two_pi - 1e-12]
    decs = [-math.pi / 2, -math.pi / 2 + 1e-6, -1.4, -1.0, -0.5, -0.1, 0.0, 1e-9, 0.3, 0.7,
            1.2, 1.55, math.pi / 2 - 1e-6, math.pi / 2]
    return [(ra, dec) for ra in ras for dec in decs]


# (RA degrees, Dec degrees) as a catalogue in decimal degrees writes them.
DEGREE_TEXTS = [("101.287155", "-16.716116"), ("37.954561", "+89.264109"),
                ("279.234735", "+38.783689"), ("83.633083", "+22.014500"),
                ("0.000000", "+0.000000"), ("359.999990", "-0.500000"),
                ("213.915300", "+19.182410"), ("95.987958", "-52.695661"),
                ("180.000000", "-89.990000"), ("0.000139", "+45.000000")]
DEGREE_EPOCHS = ["B1950.0", "J2000.0", "B1875.0", "J2050.0"]
DEGREES_TO_RADIANS = 0.017453292519943295


def rotation(zeta, z, theta):
    matrix = erfa.ir()
    matrix = erfa.rz(-zeta, matrix)
    matrix = erfa.ry(theta, matrix)
    return erfa.rz(-z, matrix)


def write_degrees(root):
    with open(os.path.join(root, "degrees.csv"), "w") as out:
        out.write("# made by tools/gen-precession-vectors.py with ERFA %s\n" % erfa.__version__)
        out.write("epoch,ra_text,dec_text,ra2000,dec2000\n")
        for epoch in DEGREE_EPOCHS:
            jd = julian_date(epoch)
            matrix = rotation(*erfa.prec76(2400000.5, jd - 2400000.5, 2451545.0, 0.0))
            for ra_text, dec_text in DEGREE_TEXTS:
                ra = float(ra_text) * DEGREES_TO_RADIANS
                dec = float(dec_text) * DEGREES_TO_RADIANS
                if epoch != "J2000.0":
                    ra, dec = erfa.c2s(erfa.rxp(matrix, erfa.s2c(ra, dec)))
                    ra = erfa.anp(ra)
                out.write("%s,%s,%s,%.17g,%.17g\n" % (epoch, ra_text, dec_text, ra, dec))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data",
                        "precession")
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(root, "angles.csv"), "w") as angles, \
            open(os.path.join(root, "positions.csv"), "w") as rotated:
        angles.write("# made by tools/gen-precession-vectors.py with ERFA %s\n" % erfa.__version__)
        angles.write("epoch,jd,zeta,z,theta\n")
        rotated.write("# made by tools/gen-precession-vectors.py with ERFA %s\n" % erfa.__version__)
        rotated.write("epoch,ra,dec,ra2000,dec2000\n")
        for epoch in EPOCHS:
            jd = julian_date(epoch)
            zeta, z, theta = erfa.prec76(2400000.5, jd - 2400000.5, 2451545.0, 0.0)
            angles.write("%s,%.17g,%.17g,%.17g,%.17g\n" % (epoch, jd, zeta, z, theta))
            matrix = erfa.ir()
            matrix = erfa.rz(-zeta, matrix)
            matrix = erfa.ry(theta, matrix)
            matrix = erfa.rz(-z, matrix)
            for ra, dec in positions():
                vector = erfa.rxp(matrix, erfa.s2c(ra, dec))
                ra2, dec2 = erfa.c2s(vector)
                rotated.write("%s,%.17g,%.17g,%.17g,%.17g\n"
                              % (epoch, ra, dec, erfa.anp(ra2), dec2))
    write_degrees(root)


if __name__ == "__main__":
    main()
