#!/usr/bin/env python3
"""Writes the exposure limits shipped with the program (limits/*.xml).

ICNIRP 2010 reference levels for magnetic flux density (RMS), in tesla, for the
general public and for workers. A limits file holds one value up to each upper
frequency, so every falling part of a curve becomes steps whose value is the
curve at the step's upper end (its minimum over the step): the file never
accepts a field the guidelines refuse, and no step lies more than 10 % below
the curve. Numbers are cut, never rounded up, to six significant digits.
Run again only to change the tables: the files are kept in the repository.
"""
import math
import os

# (lower Hz, upper Hz, coefficient, power): B = coefficient / f^power.
TABLES = {
    "ICNIRP2010_GeneralPublic.xml": (
        "ICNIRP 2010, general public",
        [(1, 8, 4e-2, 2), (8, 25, 5e-3, 1), (25, 400, 2e-4, 0), (400, 3e3, 8e-2, 1), (3e3, 10e6, 2.7e-5, 0)],
    ),
    "ICNIRP2010_Occupational.xml": (
        "ICNIRP 2010, occupational",
        [(1, 8, 0.2, 2), (8, 25, 2.5e-2, 1), (25, 300, 1e-3, 0), (300, 3e3, 0.3, 1), (3e3, 10e6, 1e-4, 0)],
    ),
}
# A step may lie this far below the curve at its lower end; a little under 10 %
# leaves room for the six-digit numbers.
MAX_DROP = 0.91


def cut(x):
    """x to six significant digits, towards zero."""
    e = math.floor(math.log10(x)) - 5
    return math.floor(x / 10.0**e) * 10.0**e


def steps(lower, upper, coefficient, power):
    if power == 0:
        return [(upper, coefficient)]
    ratio = MAX_DROP ** (-1.0 / power)
    count = math.ceil(math.log(upper / lower) / math.log(ratio))
    result = []
    for i in range(1, count + 1):
        f = upper if i == count else float("%.6g" % (lower * (upper / lower) ** (i / count)))
        result.append((f, cut(coefficient / f**power)))
    return result


def number(x):
    return ("%.6g" % x).replace("e+0", "e+").replace("e-0", "e-")


folder = os.path.join(os.path.dirname(__file__), "..", "limits")
for name, (title, table) in TABLES.items():
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        "<!-- " + title + ": magnetic flux density reference levels (RMS). Written by scripts/make_limits.py. -->",
        '<KorvelinExposureLimitsFile ver="1.0">',
    ]
    for piece in table:
        for f, value in steps(*piece):
            lines.append(
                "    <freqRange><upperFreqLimit>%s</upperFreqLimit><freqUnits>Hz</freqUnits>"
                "<exposureLimitValue>%s</exposureLimitValue><valueUnits>T</valueUnits></freqRange>"
                % (number(f), number(value))
            )
    lines.append("</KorvelinExposureLimitsFile>")
    with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines) + "\n")
