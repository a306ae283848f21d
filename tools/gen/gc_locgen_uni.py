"""Unicode properties of the locale data generator: class words, simple case
mappings and half-width / full-width counterparts of UCS-2 characters, read
from the Unicode character database (Debian's "unicode-data")."""

import os

# Class word, group 1: character type bits.
ALPHA, UPPER, LOWER, DIGIT, XDIGIT, PUNCT, SPACE, BLANK, CNTRL, DEFINED = (
    0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x080, 0x100, 0x200)
# Group 3 (shifted left 22): width and script bits.
NONSPACING, DIACRITIC, VOWELMARK, SYMBOL, KATAKANA, HIRAGANA, HALFWIDTH, FULLWIDTH, IDEOGRAPH, KASHIDA = (
    0x001, 0x002, 0x004, 0x008, 0x010, 0x020, 0x040, 0x080, 0x100, 0x200)

# Group 2: bidirectional categories.
BIDI = {"L": 1, "R": 2, "AL": 2, "EN": 3, "ES": 4, "ET": 5, "AN": 6, "CS": 7, "B": 8, "S": 9, "WS": 10,
        "ON": 11}


class Ucd:
    def __init__(self, directory):
        self.records = {}
        self._read_data(os.path.join(directory, "UnicodeData.txt"))
        self.eaw = {}
        self._read_eaw(os.path.join(directory, "EastAsianWidth.txt"))
        self._class_cache = {}
        self._wide_of = self._inverse("<wide>")
        self._narrow_of = self._inverse("<narrow>")

    def _read_data(self, path):
        first = None
        with open(path, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split(";")
                if len(fields) != 15:
                    continue
                code = int(fields[0], 16)
                if code > 0xFFFF:
                    continue
                if fields[1].endswith(", First>"):
                    first = code
                    continue
                if fields[1].endswith(", Last>"):
                    if fields[2] not in ("Cs", "Co"):  # no surrogates or private use
                        for c in range(first, code + 1):
                            self.records[c] = fields
                    continue
                self.records[code] = fields

    def _read_eaw(self, path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if not line:
                    continue
                codes, width = [p.strip() for p in line.split(";")]
                if ".." in codes:
                    a, b = (int(x, 16) for x in codes.split(".."))
                else:
                    a = b = int(codes, 16)
                for c in range(a, min(b, 0xFFFF) + 1):
                    self.eaw[c] = width

    def _inverse(self, tag):
        inverse = {}
        for code, fields in self.records.items():
            parts = fields[5].split()
            if len(parts) == 2 and parts[0] == tag:
                inverse.setdefault(int(parts[1], 16), code)
        return inverse

    def assigned(self, code):
        return code in self.records

    def category(self, code):
        rec = self.records.get(code)
        return rec[2] if rec else ""

    def upper(self, code):
        rec = self.records.get(code)
        return int(rec[12], 16) if rec and rec[12] else None

    def lower(self, code):
        rec = self.records.get(code)
        return int(rec[13], 16) if rec and rec[13] else None

    def full_of(self, code):
        """The full-width counterpart of a half-width character, or None."""
        rec = self.records.get(code)
        if rec:
            parts = rec[5].split()
            if len(parts) == 2 and parts[0] == "<narrow>":
                return int(parts[1], 16)
        return self._wide_of.get(code)

    def class_word(self, code):
        word = self._class_cache.get(code)
        if word is None:
            word = self._class_cache[code] = self._compute_class(code)
        return word

    def _compute_class(self, code):
        rec = self.records.get(code)
        if rec is None:
            return 0
        cat, bidi = rec[2], rec[4]
        t = DEFINED
        if cat.startswith("L"):
            t |= ALPHA
        if cat in ("Lu", "Lt"):
            t |= UPPER
        if cat == "Ll":
            t |= LOWER
        if cat == "Nd":
            t |= DIGIT
        if (0x30 <= code <= 0x39 or 0x41 <= code <= 0x46 or 0x61 <= code <= 0x66 or
                0xFF10 <= code <= 0xFF19 or 0xFF21 <= code <= 0xFF26 or 0xFF41 <= code <= 0xFF46):
            t |= XDIGIT
        if cat[:1] in ("P", "S"):
            t |= PUNCT
        if cat == "Zs" or 0x09 <= code <= 0x0D or code in (0x85, 0x2028, 0x2029):
            t |= SPACE
        if cat == "Zs" or code == 0x09:
            t |= BLANK
        if cat == "Cc":
            t |= CNTRL
        b = BIDI.get(bidi, 0)
        if cat == "Cc" and not 0x09 <= code <= 0x0D:
            b = 0
        w = 0
        if cat == "Mn":
            w |= NONSPACING
        if cat == "Sk" or cat == "Lm":
            w |= DIACRITIC
        if cat == "Mc":
            w |= VOWELMARK
        if cat[:1] in ("P", "S", "Z") or (t & SPACE):
            w |= SYMBOL
        if 0x30A0 <= code <= 0x30FF or 0xFF66 <= code <= 0xFF9F or 0x31F0 <= code <= 0x31FF:
            w |= KATAKANA
        if 0x3040 <= code <= 0x309F:
            w |= HIRAGANA
        eaw = self.eaw.get(code, "N")
        if code < 0x80 or eaw in ("H", "Na"):
            w |= HALFWIDTH
        if eaw in ("F", "W"):
            w |= FULLWIDTH
        if (0x3400 <= code <= 0x4DBF or 0x4E00 <= code <= 0x9FFF or 0xF900 <= code <= 0xFAFF or
                code in (0x3005, 0x3006, 0x3007)):
            w |= IDEOGRAPH
        if code == 0x0640:
            w |= KASHIDA
        return t | ((1 << b) << 10) | (w << 22)
