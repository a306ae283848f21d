"""Sort objects of the locale data generator: glibc's common collation table
(iso14651_t1_common with the CJK block of iso14651_t1) compressed into the
sort-table layout read by the library, and the tailored sorts of glibc's
locales ("reorder-after" of symbols, collating elements as two-character
combinations, redefined characters).

Every sort table has four levels: the primary symbol, one weight for the
character's accent sequence (sequences ranked element by element; when
there are more than 255, the rarest share the weight of their neighbours),
one weight for its case / variant sequence, and, for characters without a
primary weight, a special weight in table order. Characters that the table does
not list sort after all listed ones, in code order. Expansions keep their
first two elements. The common template's own collating elements (the
reordered vowel-consonant pairs of the Lao, Tai Viet, New Tai Lue and Thai
scripts) are left out: the library looks combinations up linearly for every
character, and hundreds of them would slow every comparison; the Thai sort
keeps its own pairs."""

import os
import re

from gc_locgen_nls import be16, be32, put16, put32

# Sorts: id, object name, glibc locale whose LC_COLLATE it is (several: read
# one over the other).
SORTS = [
    (1, "Default", "iso14651_t1"),
    (2, "Czech", "cs_CZ"),
    (3, "Danish", "da_DK"),
    (4, "Spanish", "es_ES"),
    (5, "Finnish", "fi_FI"),
    (6, "Swedish", "sv_SE"),
    (7, "Croatian", "hr_HR"),
    (8, "Lithuanian", "lt_LT"),
    (9, "Latvian", "lv_LV"),
    (10, "Romanian", "ro_RO"),
    (11, "Slovak", "sk_SK"),
    (12, "Slovenian", "sl_SI"),
    # glibc's Thai table lists only Thai and some punctuation; over the common
    # table every other script keeps its common order.
    (13, "Thai", ("iso14651_t1", "th_TH")),
]

HEADER_SIZE = 2068
ORDER_ALL = 0x0F  # every level appended in string order
F_SPECIAL, F_EXPAND = 0x8000, 0x4000

_SYM = re.compile(r"<([^>]+)>")
_ENTRY = re.compile(r"^(<[^>]+>|\.\.)\s+([^;\s]+)\s*;\s*([^;\s]+)\s*;\s*([^;\s]+)")
_UCODE = re.compile(r"^U([0-9A-Fa-f]{4,8})$")


def _codes(text):
    """Characters of a collating element's "from" text."""
    out = []
    pos = 0
    while pos < len(text):
        m = re.match(r"<U([0-9A-Fa-f]{4,8})>", text[pos:])
        if m:
            out.append(int(m.group(1), 16))
            pos += m.end()
        else:
            out.append(ord(text[pos]))
            pos += 1
    return tuple(out)


class Collation:
    def __init__(self):
        self.order = []         # symbols (and listed characters) in weight order
        self.entries = {}       # code or (first, second) -> (primaries, secondaries, tertiaries)
        self.elements = {}      # collating-element name -> characters
        self.ranges = {}        # range symbol -> (first code, last code)
        self._pending_range = None
        self._idx = None
        self._members = set()
        self.template_combos = set()  # character pairs of the common template's elements

    # -- reading --------------------------------------------------------------

    def read(self, directory, name):
        path = os.path.join(directory, name)
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        in_collate = name.startswith("iso14651_t1_common")
        skipping = False
        mode = "symbols"
        anchor = None
        previous = None  # last character entry, for ".." ranges
        for raw in lines:
            line = raw.split("%", 1)[0].strip() if not raw.lstrip().startswith("%") else ""
            if not line:
                continue
            word = line.split()[0]
            if word == "LC_COLLATE":
                in_collate = True
                continue
            if word == "END" and line.endswith("LC_COLLATE"):
                in_collate = False
                continue
            if not in_collate:
                continue
            if word == "ifdef":
                skipping = True
                continue
            if word == "else":
                skipping = False
                continue
            if word == "endif":
                skipping = False
                continue
            if skipping:
                continue
            if word == "copy":
                self._copy(directory, re.search(r'"([^"]+)"', line).group(1))
                continue
            if word in ("collating-symbol", "script", "define", "order_end", "reorder-end", "UNDEFINED"):
                continue
            if word == "collating-element":
                m = re.match(r'collating-element\s+<([^>]+)>\s+from\s+"([^"]*)"', line)
                self.elements[m.group(1)] = _codes(m.group(2))
                if name.startswith("iso14651_t1_common"):
                    self.template_combos.add(self.elements[m.group(1)])
                else:
                    self.template_combos.discard(self.elements[m.group(1)])
                continue
            if word == "order_start":
                mode, anchor = "entries", None
                continue
            if word == "reorder-after":
                mode, anchor = "reorder", _SYM.search(line).group(1)
                continue
            m = _ENTRY.match(line)
            if m is None:
                sym = _SYM.fullmatch(line)
                if sym:
                    self._place(sym.group(1), mode, anchor)
                    if mode == "reorder":
                        anchor = sym.group(1)
                continue
            key = m.group(1)
            weights = tuple(self._weights(m.group(i)) for i in (2, 3, 4))
            if key == "..":
                self._pending_range = previous + 1
                continue
            name_ = key[1:-1]
            code = self._key(name_)
            if code is None:
                continue
            if self._pending_range is not None and isinstance(code, int):
                first = self._pending_range
                self._pending_range = None
                rname = "RANGE-%04X-%04X" % (first, code - 1)
                self.ranges[rname] = (first, code - 1)
                self._place(rname, mode, anchor)
            self._place(name_, mode, anchor)
            if mode == "reorder":
                anchor = name_
            self.entries[code] = weights
            if isinstance(code, int):
                previous = code

    _parsed = {}

    def _copy(self, directory, name):
        """Takes over a whole collation read before (each file is read once)."""
        key = (directory, name)
        if key not in Collation._parsed:
            base = Collation()
            base.read(directory, name)
            Collation._parsed[key] = base
        base = Collation._parsed[key]
        self.order = list(base.order)
        self.entries = dict(base.entries)
        self.elements = dict(base.elements)
        self.ranges = dict(base.ranges)
        self._members = set(base._members)
        self.template_combos = set(base.template_combos)
        self._idx = None

    def _key(self, name):
        m = _UCODE.match(name)
        if m:
            code = int(m.group(1), 16)
            return code if code <= 0xFFFF else None
        chars = self.elements.get(name)
        if chars and len(chars) == 2 and max(chars) <= 0xFFFF:
            return chars
        return None

    @staticmethod
    def _weights(field):
        if field == "IGNORE":
            return ()
        return tuple(_SYM.findall(field))

    def _place(self, sym, mode, anchor):
        self._idx = None
        if mode == "reorder" and anchor is not None:
            if sym in self._members:
                self.order.remove(sym)
            self.order.insert(self.order.index(anchor) + 1, sym)
            self._members.add(sym)
        elif sym not in self._members:
            self.order.append(sym)
            self._members.add(sym)

    def _index(self):
        if self._idx is None:
            self._idx = {s: i for i, s in enumerate(self.order)}
        return self._idx

    # -- weights --------------------------------------------------------------

    def merge_combinations(self):
        """A combination whose weights are a sequence (Thai's vowel before its
        consonant: the consonant, then the vowel) becomes one element placed
        right after the first element's symbol, ordered by the second; the
        table holds one element per combination."""
        groups = {}
        for key, w in self.entries.items():
            if isinstance(key, tuple) and len(w[0]) >= 2:
                groups.setdefault(w[0][0], []).append(key)
        pos = self._index()
        after = {}
        for first, keys in groups.items():
            if first not in pos:
                continue
            keys.sort(key=lambda k: pos.get(self.entries[k][0][1], 0))
            for key in keys:
                w = self.entries[key]
                synth = w[0][0] + "+" + w[0][1]
                if synth not in self._members:
                    after.setdefault(first, []).append(synth)
                    self._members.add(synth)
                self.entries[key] = ((synth,), w[1][:1], w[2][:1])
        if after:
            order = []
            for sym in self.order:
                order.append(sym)
                order.extend(after.get(sym, ()))
            self.order = order
            self._idx = None

    def ranks(self, level, limit):
        """Weights 1..n of the symbols used at a level, in order."""
        used = set()
        for w in self.entries.values():
            used.update(w[level])
        if level == 0:
            used.update(self.ranges)
        pos = self._index()
        ordered = sorted((s for s in used if s in pos), key=pos.get)
        rank = {}
        n = 0
        for s in ordered:
            if s in self.ranges and level == 0:
                first, last = self.ranges[s]
                rank[s] = n + 1
                n += last - first + 1
            else:
                n += 1
                rank[s] = n
        if n > limit:
            raise SystemExit("%d weights at level %d, more than %d" % (n, level + 1, limit))
        return rank, n


def _element(rank_p, rank_s, rank_t, w, i):
    p = rank_p.get(w[0][i], 0)
    return p, rank_s.get(_secondary(w, i), 0), rank_t.get(_tertiary(w, i), 0)


def _secondary(w, i):
    """The accents of element i: its own weight when each element has one,
    otherwise the whole sequence without its base weights ("<BASE>" alone
    when nothing else is left)."""
    if len(w[0]) > 1 and len(w[1]) == len(w[0]):
        return (w[1][i],)
    return tuple(x for x in w[1] if x != "BASE") or w[1][:1]


def secondary_ranks(coll):
    """Weights 1..n of the accent sequences in use, ordered element by element.
    There is room for 255: while there are more, the sequence that the fewest
    characters use shares the weight of the one before it (which makes ties,
    never a changed order)."""
    pos = coll._index()
    uses = {}
    for w in coll.entries.values():
        for i in range(max(1, min(len(w[0]), 2))):
            seq = _secondary(w, i)
            if seq:
                uses[seq] = uses.get(seq, 0) + 1
    groups = [[q] for q in sorted(uses, key=lambda q: [pos.get(x, -1) for x in q])]
    counts = [uses[g[0]] for g in groups]
    while len(groups) > 0xFF:
        k = min(range(1, len(groups)), key=lambda j: counts[j])
        groups[k - 1] += groups.pop(k)
        counts[k - 1] += counts.pop(k)
    return {q: n + 1 for n, g in enumerate(groups) for q in g}


def _tertiary(w, i):
    """The tertiary weights of element i as one sequence: an element's own
    weight when each element has one, otherwise the whole sequence (which
    tells, for one, the capital of a two-letter character from its title
    form)."""
    if len(w[0]) > 1 and len(w[2]) == len(w[0]):
        return (w[2][i],)
    return w[2]


def tertiary_ranks(coll):
    """Weights 1..n of the tertiary sequences in use, ordered element by
    element (a sequence before its own extensions)."""
    pos = coll._index()
    used = set()
    for w in coll.entries.values():
        for i in range(max(1, min(len(w[0]), 2))):
            used.add(_tertiary(w, i))
    used.discard(())
    ordered = sorted(used, key=lambda t: [pos.get(x, -1) for x in t])
    if len(ordered) > 0xFF:
        raise SystemExit("%d tertiary weights, more than 255" % len(ordered))
    return {t: n + 1 for n, t in enumerate(ordered)}


def table(coll):
    """The sort table (version 3) of a collation."""
    coll.merge_combinations()
    rank_p, n_p = coll.ranks(0, 0xFFFF)
    rank_s = secondary_ranks(coll)
    rank_t = tertiary_ranks(coll)
    base = "BASE"
    pos = coll._index()

    chars = {}       # code -> ("w", p, s, t) / ("x", e1, e2) / ("s", special)
    combos = []
    specials = sorted((k for k, w in coll.entries.items() if not w[0]),
                      key=lambda k: pos.get(("U%04X" % k) if isinstance(k, int) else "", 0))
    special_of = {k: i + 1 for i, k in enumerate(specials)}
    for key, w in coll.entries.items():
        if not w[0]:
            rec = ("s", special_of[key])
        elif len(w[0]) == 1 or not isinstance(key, int):
            rec = ("w",) + _element(rank_p, rank_s, rank_t, w, 0)
        else:
            rec = ("x", _element(rank_p, rank_s, rank_t, w, 0), _element(rank_p, rank_s, rank_t, w, 1))
        if isinstance(key, int):
            chars[key] = rec
        elif key not in coll.template_combos:
            combos.append((key, rec))
    algorithmic = {}
    for rname, (first, last) in coll.ranges.items():
        start = rank_p.get(rname)
        if start is None:
            continue
        for c in range(first, last + 1):
            if c not in chars:
                algorithmic[c] = start + c - first
    for c, p in algorithmic.items():
        chars.setdefault(c, ("w", p, 0, 0))

    # Characters the table does not list: after every listed one, in code order.
    next_p = n_p + 1
    head = bytearray(HEADER_SIZE)
    # Trailing default weights are dropped from sort keys, which keeps the
    # order only when the default is the lowest weight of its level.
    head[0] = 1 if rank_s.get((base,)) == 1 else 0
    head[1] = 1 if rank_t.get(("MIN",)) == 1 else 0
    records = bytearray()
    expansions = bytearray()
    n_exp = 0
    n_rec = 0
    for page in range(256):
        at = 8 + 8 * page
        codes = range(page << 8, (page + 1) << 8)
        if 0xD8 <= page <= 0xDF:
            head[at] = 0x01
            continue
        listed = [c for c in codes if c in chars]
        if not listed:
            if next_p + 255 > 0xFFFF:
                raise SystemExit("too many primary weights")
            head[at], head[at + 1] = 0x02, ORDER_ALL
            put32(head, at + 4, next_p)
            next_p += 256
            continue
        first_p = chars[page << 8][1] if chars.get(page << 8, ("",))[0] == "w" else None
        if (first_p is not None and all(chars.get(c, ("",))[0] == "w" and chars[c][2:] == (0, 0) and
                                        chars[c][1] == first_p + (c & 0xFF) for c in codes)):
            head[at], head[at + 1] = 0x02, ORDER_ALL
            put32(head, at + 4, first_p)
            continue
        head[at + 1] = ORDER_ALL
        put32(head, at + 4, n_rec)
        for c in codes:
            rec = chars.get(c)
            if rec is None:
                rec = ("w", min(next_p, 0xFFFF), 0, 0)
                next_p += 1
            if rec[0] == "w":
                records += be16(rec[1]) + bytes([rec[2], rec[3]]) + be16(ORDER_ALL << 10)
            elif rec[0] == "s":
                records += be16(rec[1]) + b"\0\0" + be16(F_SPECIAL | ORDER_ALL << 10)
            else:
                records += b"\0\0\0\0" + be16(F_EXPAND | ORDER_ALL << 10)
                (p1, s1, t1), (p2, s2, t2) = rec[1], rec[2]
                expansions += be16(c) + be16(p1) + bytes([s1, t1]) + be16(p2) + bytes([s2, t2]) + be32(0)
                n_exp += 1
            n_rec += 1
    combo_bytes = bytearray()
    for (first, second), rec in combos:
        if rec[0] == "s":
            combo_bytes += be16(first) + be16(second) + be16(rec[1]) + b"\0\0" + be16(F_SPECIAL | ORDER_ALL << 10)
        else:
            combo_bytes += be16(first) + be16(second) + be16(rec[1]) + bytes([rec[2], rec[3]]) + be16(ORDER_ALL << 10)
    if n_exp > 0xFFFF or len(combos) > 0xFFFF:
        raise SystemExit("too many expansions or combinations")
    put16(head, 2, n_exp)
    put16(head, 4, len(combos))
    put32(head, 2056, HEADER_SIZE)
    put32(head, 2060, HEADER_SIZE + len(records))
    put32(head, 2064, HEADER_SIZE + len(records) + len(expansions))
    return bytes(head + records + expansions + combo_bytes)


def objects(i18n, write):
    """(id, name, sort table or None) of every sort; the tables are built only
    when write is set."""
    locales = os.path.join(i18n, "locales")
    out = []
    for ident, name, source in SORTS:
        data = None
        if write:
            coll = Collation()
            for part in (source,) if isinstance(source, str) else source:
                coll.read(locales, part)
            data = table(coll)
        out.append((ident, name, data))
    return out
