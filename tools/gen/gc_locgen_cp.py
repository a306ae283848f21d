"""Code-page objects of the locale data generator: the main table (lead-byte
lengths, case tables, single-byte UCS-2 and class tables, UCS-2 page index,
width tables, character-class trie), the multibyte trie and the two value
blocks of the UCS-2 to multibyte direction."""

from gc_locgen_nls import be16, be32, put16, put32
import gc_locgen_uni as uni

MAIN_SIZE = 4412
UTF8_ID = 106

FLAG_ASCII = 0x0001
FLAG_SHIFT = 0x0002


def pack(raw):
    v = 0
    for b in raw:
        v = (v << 8) | b
    return v


class CharSet:
    """The characters of one code page: decode (bytes -> UCS-2) and encode
    (UCS-2 -> bytes) maps. A shift-state code page lists its double-byte
    characters without shift codes."""

    def __init__(self, pairs, preferred=None, shift=None):
        self.decode = {}
        self.encode = {}
        self.shift = shift  # (shift-out, shift-in) or None
        for raw, code in pairs:
            self.decode.setdefault(raw, code)
            self.encode.setdefault(code, raw)
        if preferred:
            for code, raw in preferred.items():
                if raw in self.decode and self.decode[raw] == code:
                    self.encode[code] = raw


def utf8_charset(ucd):
    pairs = []
    for code in range(0x10000):
        if code < 0x80 or (ucd.assigned(code) and not 0xD800 <= code <= 0xDFFF):
            pairs.append((chr(code).encode("utf-8"), code))
    return CharSet(pairs)


# ---------------------------------------------------------------------------
# Tries.

class _MbTrie:
    """Multibyte trie: 6-byte nodes (leaf, mask, lowest, highest, index) and
    the UCS-2 value array. Children and values are stored only for the
    accepted range of each node; identical leaves share their values."""

    DUMMY = (1, 0, 1, 0, 0)  # accepts no byte

    def __init__(self):
        self.nodes = [self.DUMMY]
        self.values = [0xFFFD] * 256  # lets index = base - lowest stay >= 0
        self.leaves = {}

    def fill(self, n, entries, depth):
        bs = sorted({raw[depth] for raw, _ in entries})
        lo, hi = bs[0], bs[-1]
        leaf = all(len(raw) == depth + 1 for raw, _ in entries)
        if leaf:
            by_byte = {raw[depth]: code for raw, code in entries}
            vals = tuple(by_byte.get(b, 0xFFFD) for b in range(lo, hi + 1))
            base = self.leaves.get(vals)
            if base is None:
                base = self.leaves[vals] = len(self.values)
                self.values.extend(vals)
            self.nodes[n] = (1, 0xFF, lo, hi, base - lo)
            return
        if any(len(raw) == depth + 1 for raw, _ in entries):
            raise SystemExit("a character is the start of another")
        while len(self.nodes) < lo:
            self.nodes.append(self.DUMMY)
        first = len(self.nodes)
        self.nodes.extend([self.DUMMY] * (hi - lo + 1))
        self.nodes[n] = (0, 0xFF, lo, hi, first - lo)
        for b in bs:
            self.fill(first + b - lo, [e for e in entries if e[0][depth] == b], depth + 1)

    def section(self):
        if len(self.nodes) * 6 > 0xFFFF or len(self.values) > 0xFFFF + 1:
            raise SystemExit("multibyte trie too large")
        out = bytearray()
        for leaf, mask, lo, hi, index in self.nodes:
            if not 0 <= index <= 0xFFFF:
                raise SystemExit("multibyte trie index out of range")
            out += bytes([leaf, mask, lo, hi]) + be16(index)
        valoff = len(out)
        for v in self.values:
            out += be16(v)
        return bytes(out), valoff


class _ClassTrie:
    """Character-class trie: 4-byte nodes (leaf, mask, index) and 8-byte
    records (class word, case delta). Record 0 is empty; every leaf covers
    all 256 byte values from its index, and identical leaves share records."""

    DUMMY = (1, 0, 0)

    def __init__(self):
        self.nodes = [self.DUMMY]
        self.records = [(0, 0)] * 256
        self.leaves = {}

    def fill(self, n, entries, depth):
        bs = sorted({raw[depth] for raw, _, _ in entries})
        lo, hi = bs[0], bs[-1]
        if all(len(raw) == depth + 1 for raw, _, _ in entries):
            by_byte = {raw[depth]: (cls, delta) for raw, cls, delta in entries}
            recs = tuple(by_byte.get(b, (0, 0)) for b in range(lo, hi + 1))
            base = self.leaves.get(recs)
            if base is None:
                base = self.leaves[recs] = len(self.records)
                self.records.extend(recs)
            self.nodes[n] = (1, 0xFF, base - lo)
            return
        first = len(self.nodes)
        self.nodes.extend([self.DUMMY] * 256)
        self.nodes[n] = (0, 0xFF, first)
        for b in bs:
            self.fill(first + b, [e for e in entries if e[0][depth] == b and len(e[0]) > depth + 1],
                      depth + 1)

    def parts(self):
        self.records.extend([(0, 0)] * 256)  # every leaf may be read up to index + 255
        if len(self.records) > 0xFFFF + 256 or len(self.nodes) > 0xFFFF:
            raise SystemExit("class trie too large")
        nodes = bytearray()
        for leaf, mask, index in self.nodes:
            nodes += bytes([leaf, mask]) + be16(index)
        recs = bytearray()
        for cls, delta in self.records:
            recs += be32(cls) + be32(delta & 0xFFFFFFFF)
        return bytes(nodes), bytes(recs)


# ---------------------------------------------------------------------------

def _page_index(main, cs, defchar, utf8):
    """Writes the UCS-2 page index into the main table; returns the low-part
    and high-part blocks."""
    low, high = bytearray(), bytearray()
    pages = {}
    if not utf8:
        for code, raw in cs.encode.items():
            pages.setdefault(code >> 8, {})[code & 0xFF] = pack(raw)

    def place(block, scale, lo):
        while len(block) < scale * lo:
            block.append(0)
        return len(block) - scale * lo

    for p in range(256):
        at = 2316 + 8 * p
        vals = pages.get(p)
        if not vals:
            main[at:at + 8] = bytes([0, 0, 1, 0, 0, 0, 0, 0])
            continue
        lo, hi = min(vals), max(vals)
        biggest = max(vals.values())
        run = [vals.get(i, defchar) for i in range(lo, hi + 1)]
        if biggest <= 0xFF:
            kind, loff, hoff = 0, place(low, 1, lo), 0
            low += bytes(run)
        elif biggest <= 0xFFFF:
            kind, loff, hoff = 4, place(low, 1, lo), place(high, 1, lo)
            low += bytes(v & 0xFF for v in run)
            high += bytes(v >> 8 for v in run)
        elif biggest <= 0xFFFFFF:
            kind, loff, hoff = 2, place(low, 2, lo), place(high, 1, lo)
            for v in run:
                low += be16(v)
                high.append(v >> 16)
        else:
            kind, loff, hoff = 3, place(low, 2, lo), place(high, 2, lo)
            for v in run:
                low += be16(v)
                high += be16(v >> 16)
        if loff > 0xFFFF or hoff > 0xFFFF:
            raise SystemExit("UCS-2 value blocks too large")
        main[at:at + 8] = bytes([kind, 0xFF, lo, hi]) + be16(loff) + be16(hoff)
    return bytes(low), bytes(high)


def _case_delta(ucd, cs, code, raw, cls):
    other = None
    if cls & uni.LOWER:
        other = ucd.upper(code)
    elif cls & uni.UPPER:
        other = ucd.lower(code)
    target = cs.encode.get(other) if other is not None else None
    if target is None or len(target) != len(raw):
        return 0
    return pack(target) - pack(raw)


def build(ident, cs, ucd, wincp, charset_name, ascii_based=True):
    """The four sections of a code-page object."""
    utf8 = ident == UTF8_ID
    single = {raw[0]: code for raw, code in cs.decode.items() if len(raw) == 1}
    multi = {raw: code for raw, code in cs.decode.items() if len(raw) > 1}
    shift = cs.shift

    lead = [1] * 256
    if utf8:
        for b in range(0xC0, 0xE0):
            lead[b] = 2
        for b in range(0xE0, 0xF0):
            lead[b] = 3
    elif not shift:
        for raw in multi:
            if lead[raw[0]] not in (1, len(raw)) or raw[0] in single:
                raise SystemExit("lead byte 0x%02X starts characters of different lengths" % raw[0])
            lead[raw[0]] = len(raw)
    maxlen = max([1] + [len(r) for r in multi]) if not utf8 else 3
    if shift:
        maxlen = 2

    def one_byte(code):
        raw = cs.encode.get(code)
        return raw[0] if raw is not None and len(raw) == 1 else None

    q = one_byte(0x3F)
    defchar = q if q is not None else 0x3F
    main = bytearray(MAIN_SIZE)
    main[0] = defchar
    lf, cr = one_byte(0x0A), one_byte(0x0D)
    main[1:5] = bytes([lf or 0x0A, cr or 0x0D, lf or 0x0A, lf or 0x0A])
    main[5] = maxlen
    if shift:
        main[8], main[9] = shift
    for b in range(256):
        code = single.get(b)
        main[10 + b] = lead[b]
        up = lo = b
        cls = 0
        if code is not None:
            cls = ucd.class_word(code)
            u = ucd.upper(code)
            l = ucd.lower(code)
            up = one_byte(u) if u is not None and one_byte(u) is not None else b
            lo = one_byte(l) if l is not None and one_byte(l) is not None else b
        main[266 + b] = up
        main[522 + b] = lo
        put16(main, 778 + 2 * b, code if code is not None else 0xFFFD)
        put32(main, 1292 + 4 * b, cls)
    low, high = _page_index(main, cs, defchar, utf8)
    put16(main, 4364, (FLAG_ASCII if ascii_based else 0) | (FLAG_SHIFT if shift else 0))
    put16(main, 4366, wincp)
    name = charset_name.encode("ascii")[:31]
    main[4368:4368 + len(name)] = name

    # Width tables: full-width forms of half-width characters.
    fullw = [0] * 256
    pairs = {}
    for code, raw in cs.encode.items():
        full = ucd.full_of(code)
        target = cs.encode.get(full) if full is not None else None
        if target is None or target == raw:
            continue
        if len(raw) == 1:
            fullw[raw[0]] = fullw[raw[0]] or pack(target)
        else:
            pairs.setdefault(pack(raw), pack(target))

    trie = b""
    if multi or fullw != [0] * 256 or pairs:
        put16(main, 4400, len(main))
        for v in fullw:
            main += be32(v)
        put16(main, 4402, len(main))
        for half in sorted(pairs):
            main += be32(half) + be32(pairs[half])
        put16(main, 6, len(pairs))
        ct = _ClassTrie()
        entries = []
        for raw, code in multi.items():
            cls = ucd.class_word(code)
            entries.append((raw, cls, _case_delta(ucd, cs, code, raw, cls)))
        if entries:
            ct.fill(0, entries, 0)
        nodes, recs = ct.parts()
        put16(main, 4404, len(main))
        main += nodes
        put16(main, 4406, len(main))
        if len(main) > 0xFFFF:
            raise SystemExit("code page main table too large")
        main += recs
        if multi and not utf8:
            mt = _MbTrie()
            mt.fill(0, list(multi.items()), 0)
            trie, valoff = mt.section()
            put16(main, 4408, valoff)
    return [bytes(main), trie, low, high]
