#!/usr/bin/env python3
"""Writes src/mbtext/gc_unitab_data.cpp: the compiled-in Unicode case, width
and digit tables of the multibyte text library.

The tables cover the repertoire of Unicode 2.1: a character assigned in a
later version of Unicode, or whose counterpart was assigned later, maps to
itself.  The values come from the Unicode character database as Debian's
"unicode-data" package installs it (UnicodeData.txt and DerivedAge.txt under
/usr/share/unicode).

Usage:
  gc_unitab_gen.py [--ucd DIR] [--output FILE]   write the tables
  gc_unitab_gen.py [--ucd DIR] --check FILE      exit 0 when FILE holds
                                                 exactly what would be written,
                                                 1 when it differs

Run it by hand when the tables must change and commit its output, so that the
build itself never needs Python or the Unicode data.
"""

import argparse
import os
import sys

REPERTOIRE = (2, 1)

# (name, first code of the table, last code of the table)
LOWER_TABLES = [
    ("GC_UNICODE_Lower1", 0x0100, 0x01FE),
    ("GC_UNICODE_Lower2", 0x0200, 0x0275),
    ("GC_UNICODE_Lower3", 0x0380, 0x03EE),
    ("GC_UNICODE_Lower4", 0x0400, 0x04F8),
    ("GC_UNICODE_Lower5", 0x1E00, 0x1EF8),
    ("GC_UNICODE_Lower6", 0x1F00, 0x1FFC),
]
UPPER_TABLES = [
    ("GC_UNICODE_Upper1", 0x0100, 0x01FF),
    ("GC_UNICODE_Upper2", 0x0200, 0x0292),
    ("GC_UNICODE_Upper3", 0x03A0, 0x03F1),
    ("GC_UNICODE_Upper4", 0x0430, 0x04F9),
    ("GC_UNICODE_Upper5", 0x1E00, 0x1EF9),
    ("GC_UNICODE_Upper6", 0x1F00, 0x1FF3),
]
H2F_TABLES = [
    ("GC_UNICODE_H2F1", 0x00A0, 0x00AF),
    ("GC_UNICODE_H2F2", 0xFF60, 0xFFEE),
]
F2H_TABLES = [
    ("GC_UNICODE_F2H1", 0x2500, 0x25CB),
    ("GC_UNICODE_F2H2", 0x3000, 0x30FC),
    ("GC_UNICODE_F2H3", 0x3130, 0x3164),
    ("GC_UNICODE_F2H4", 0xFFE0, 0xFFE6),
]

DIGIT_COUNT = 179


class Ucd:
    def __init__(self, directory):
        self.age = {}
        self.records = {}
        self._read_age(os.path.join(directory, "DerivedAge.txt"))
        self._read_data(os.path.join(directory, "UnicodeData.txt"))

    def _read_age(self, path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if not line:
                    continue
                codes, version = [part.strip() for part in line.split(";")]
                major, minor = (int(x) for x in version.split(".")[:2])
                if ".." in codes:
                    first, last = (int(x, 16) for x in codes.split(".."))
                else:
                    first = last = int(codes, 16)
                for code in range(max(first, 0), min(last, 0xFFFF) + 1):
                    self.age[code] = (major, minor)

    def _read_data(self, path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split(";")
                if len(fields) != 15:
                    continue
                code = int(fields[0], 16)
                if code > 0xFFFF:
                    continue
                self.records[code] = fields

    def known(self, code):
        """True when the code was assigned in the tables' repertoire."""
        age = self.age.get(code)
        return age is not None and age <= REPERTOIRE and code in self.records

    def field(self, code, index):
        return self.records[code][index] if code in self.records else ""

    def simple_mapping(self, code, index):
        text = self.field(code, index)
        if not text:
            return None
        target = int(text, 16)
        if not (self.known(code) and self.known(target)):
            return None
        return target

    def decomposition(self, code, tag):
        """The single character that the code decomposes into under the tag."""
        if not self.known(code):
            return None
        parts = self.field(code, 5).split()
        if len(parts) == 2 and parts[0] == tag:
            target = int(parts[1], 16)
            return target if self.known(target) else None
        return None


def lower_of(ucd, code):
    target = ucd.simple_mapping(code, 13)
    return code if target is None else target


def upper_of(ucd, code):
    # A title-case letter is already upper case at its start; upper-casing
    # leaves it alone (U+01C5 stays U+01C5).
    if ucd.field(code, 2) == "Lt":
        return code
    target = ucd.simple_mapping(code, 12)
    return code if target is None else target


def inverse_decompositions(ucd, tag):
    inverse = {}
    for code in ucd.records:
        target = ucd.decomposition(code, tag)
        if target is None:
            continue
        if target in inverse:
            raise SystemExit("two %s forms of U+%04X" % (tag, target))
        inverse[target] = code
    return inverse


def width_maps(ucd):
    wide_of = inverse_decompositions(ucd, "<wide>")
    narrow_of = inverse_decompositions(ucd, "<narrow>")

    def to_full(code):
        target = ucd.decomposition(code, "<narrow>")
        if target is not None:
            return target
        return wide_of.get(code, code)

    def to_half(code):
        target = ucd.decomposition(code, "<wide>")
        if target is not None:
            return target
        return narrow_of.get(code, code)

    return to_full, to_half


def digits(ucd):
    pairs = []
    for code in sorted(ucd.records):
        if not ucd.known(code):
            continue
        value = ucd.field(code, 7)
        if len(value) != 1 or not value.isdigit():
            continue
        tag = ucd.field(code, 5).split(" ")[0]
        if ucd.field(code, 2) == "Nd" or tag in ("<super>", "<sub>"):
            pairs.append((code, ord(value)))
    return pairs


def build(ucd):
    to_full, to_half = width_maps(ucd)
    tables = []
    for name, first, last in LOWER_TABLES:
        tables.append((name, first, [lower_of(ucd, c) for c in range(first, last + 1)]))
    for name, first, last in UPPER_TABLES:
        tables.append((name, first, [upper_of(ucd, c) for c in range(first, last + 1)]))
    for name, first, last in H2F_TABLES:
        tables.append((name, first, [to_full(c) for c in range(first, last + 1)]))
    for name, first, last in F2H_TABLES:
        tables.append((name, first, [to_half(c) for c in range(first, last + 1)]))
    return tables, digits(ucd)


def check(tables, pairs):
    """Stops when the data does not give the tables their known shape."""
    by_name = {name: (first, values) for name, first, values in tables}

    def value(name, code):
        first, values = by_name[name]
        return values[code - first]

    sizes = {
        "lower": sum(len(by_name[t[0]][1]) for t in LOWER_TABLES),
        "upper": sum(len(by_name[t[0]][1]) for t in UPPER_TABLES),
        "width": sum(len(by_name[t[0]][1]) for t in H2F_TABLES + F2H_TABLES),
    }
    expected = {"lower": 1235, "upper": 1181, "width": 676}
    if sizes != expected:
        raise SystemExit("table sizes %r, expected %r" % (sizes, expected))
    rows = [
        ("GC_UNICODE_Lower1", 0x0130, 0x0069),
        ("GC_UNICODE_Upper6", 0x1F80, 0x1F88),
        ("GC_UNICODE_Upper1", 0x01C5, 0x01C5),
        ("GC_UNICODE_Lower2", 0x0218, 0x0218),
        ("GC_UNICODE_Lower4", 0x0400, 0x0400),
        ("GC_UNICODE_Upper4", 0x0450, 0x0450),
        ("GC_UNICODE_Lower5", 0x1E9E, 0x1E9E),
        ("GC_UNICODE_H2F1", 0x00A2, 0xFFE0),
        ("GC_UNICODE_H2F2", 0xFF61, 0x3002),
        ("GC_UNICODE_H2F2", 0xFFE8, 0x2502),
        ("GC_UNICODE_H2F2", 0xFFEE, 0x25CB),
        ("GC_UNICODE_F2H1", 0x2502, 0xFFE8),
        ("GC_UNICODE_F2H2", 0x3000, 0x0020),
        ("GC_UNICODE_F2H2", 0x3001, 0xFF64),
        ("GC_UNICODE_F2H2", 0x3002, 0xFF61),
        ("GC_UNICODE_F2H3", 0x3131, 0xFFA1),
        ("GC_UNICODE_F2H4", 0xFFE6, 0x20A9),
    ]
    for name, code, want in rows:
        got = value(name, code)
        if got != want:
            raise SystemExit("%s[U+%04X] is U+%04X, expected U+%04X" % (name, code, got, want))
    if len(pairs) != DIGIT_COUNT:
        raise SystemExit("%d digits, expected %d" % (len(pairs), DIGIT_COUNT))


def render(tables, pairs):
    out = []
    out.append("// Generated by tools/gen/gc_unitab_gen.py from the Unicode character")
    out.append("// database; do not edit by hand.  Repertoire: Unicode %d.%d." % REPERTOIRE)
    out.append("#include \"mbtext/gc_unitab.h\"")
    out.append("#include \"mbtext/gc_digits.h\"")
    out.append("")
    for name, first, values in tables:
        last = first + len(values) - 1
        out.append("// U+%04X to U+%04X" % (first, last))
        out.append("const std::uint16_t %s[%d] = {" % (name, len(values)))
        for start in range(0, len(values), 8):
            row = ", ".join("0x%04X" % v for v in values[start:start + 8])
            out.append("    %s," % row)
        out.append("};")
        out.append("")
    out.append("// Decimal digit characters and the ASCII digit of their value, by character.")
    out.append("const std::uint16_t GCDigits[%d][2] = {" % len(pairs))
    for start in range(0, len(pairs), 4):
        row = ", ".join("{0x%04X, 0x%02X}" % p for p in pairs[start:start + 4])
        out.append("    %s," % row)
    out.append("};")
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--output")
    parser.add_argument("--check", metavar="FILE")
    args = parser.parse_args()

    tables, pairs = build(Ucd(args.ucd))
    check(tables, pairs)
    text = render(tables, pairs)

    if args.check:
        with open(args.check, encoding="utf-8") as f:
            if f.read() != text:
                print("%s differs from the generated tables" % args.check, file=sys.stderr)
                return 1
        return 0
    output = args.output or os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "mbtext", "gc_unitab_data.cpp")
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
