"""Character-set sources of the locale data generator: glibc's charmaps
(Debian's "locales" package) and glibc's iconv converters, read through
the C library."""

import ctypes
import gzip
import os
import re

_LINE = re.compile(r"^<U([0-9A-Fa-f]{4,8})>\s+(\S+)")


def _parse_bytes(text, escape):
    out = bytearray()
    i = 0
    while i < len(text):
        if text[i] != escape:
            raise ValueError("bad byte sequence %r" % text)
        kind = text[i + 1]
        if kind == "x":
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        elif kind == "d":
            m = re.match(r"\d{1,3}", text[i + 2:])
            out.append(int(m.group(0)))
            i += 2 + len(m.group(0))
        elif kind == "o":
            m = re.match(r"[0-7]{1,3}", text[i + 2:])
            out.append(int(m.group(0), 8))
            i += 2 + len(m.group(0))
        else:
            raise ValueError("bad byte sequence %r" % text)
    return bytes(out)


def read_charmap(directory, name):
    """The (bytes, UCS-2 value) pairs of a charmap, in file order. Characters
    outside UCS-2 and entries of several characters are left out."""
    path = os.path.join(directory, name + ".gz")
    opener = gzip.open
    if not os.path.exists(path):
        path = os.path.join(directory, name)
        opener = open
    pairs = []
    escape = "\\"
    in_map = False
    with opener(path, "rt", encoding="latin-1") as f:
        for line in f:
            if line.startswith("<escape_char>"):
                escape = line.split()[1]
            elif line.startswith("CHARMAP"):
                in_map = True
            elif line.startswith("END CHARMAP"):
                break
            elif in_map:
                m = _LINE.match(line)
                if not m:
                    continue
                code = int(m.group(1), 16)
                if code > 0xFFFF or 0xD800 <= code <= 0xDFFF:
                    continue
                pairs.append((_parse_bytes(m.group(2), escape), code))
    if not pairs:
        raise SystemExit("charmap %s holds no characters" % path)
    return pairs


class Iconv:
    """One direction of a glibc iconv converter."""

    _libc = None

    def __init__(self, to_code, from_code):
        if Iconv._libc is None:
            libc = ctypes.CDLL("libc.so.6", use_errno=True)
            libc.iconv_open.restype = ctypes.c_void_p
            libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
            libc.iconv.restype = ctypes.c_size_t
            libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_void_p),
                                   ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_void_p),
                                   ctypes.POINTER(ctypes.c_size_t)]
            libc.iconv_close.argtypes = [ctypes.c_void_p]
            Iconv._libc = libc
        self.cd = Iconv._libc.iconv_open(to_code.encode(), from_code.encode())
        if self.cd is None or self.cd == ctypes.c_void_p(-1).value:
            raise SystemExit("iconv cannot convert from %s to %s" % (from_code, to_code))
        self.inbuf = ctypes.create_string_buffer(64)
        self.outbuf = ctypes.create_string_buffer(64)

    def convert(self, data):
        """The converted bytes, or None when iconv refuses the input."""
        lib = Iconv._libc
        lib.iconv(self.cd, None, None, None, None)
        ctypes.memmove(self.inbuf, data, len(data))
        inp = ctypes.c_void_p(ctypes.addressof(self.inbuf))
        inleft = ctypes.c_size_t(len(data))
        outp = ctypes.c_void_p(ctypes.addressof(self.outbuf))
        outleft = ctypes.c_size_t(64)
        if lib.iconv(self.cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp),
                     ctypes.byref(outleft)) == ctypes.c_size_t(-1).value:
            return None
        if lib.iconv(self.cd, None, None, ctypes.byref(outp), ctypes.byref(outleft)) == ctypes.c_size_t(-1).value:
            return None
        return self.outbuf.raw[:64 - outleft.value]


def _single_code(ucs4):
    if ucs4 is None or len(ucs4) != 4:
        return None
    code = int.from_bytes(ucs4, "big")
    return code if code <= 0xFFFF and not 0xD800 <= code <= 0xDFFF else None


def read_iconv_single(charset):
    """The single-byte characters of an iconv character set."""
    dec = Iconv("UCS-4BE", charset)
    pairs = []
    for b in range(256):
        code = _single_code(dec.convert(bytes([b])))
        if code is not None:
            pairs.append((bytes([b]), code))
    return pairs


def read_iconv_shift(charset, so, si, first=0x40, last=0xFE):
    """The characters of a shift-state iconv character set: single bytes, and
    double-byte characters (without their shift codes) from the range
    first..last of both bytes. The encoding of a character that has several
    is the one iconv writes."""
    dec = Iconv("UCS-4BE", charset)
    enc = Iconv(charset, "UCS-4BE")
    pairs = []
    for b in range(256):
        if b in (so, si):
            continue
        code = _single_code(dec.convert(bytes([b])))
        if code is not None:
            pairs.append((bytes([b]), code))
    for b1 in range(first, last + 1):
        for b2 in range(first, last + 1):
            code = _single_code(dec.convert(bytes([so, b1, b2, si])))
            if code is not None:
                pairs.append((bytes([b1, b2]), code))
    preferred = {}
    for raw, code in pairs:
        if code in preferred:
            continue
        out = enc.convert(code.to_bytes(4, "big"))
        if out is not None:
            preferred[code] = out.replace(bytes([so]), b"").replace(bytes([si]), b"")
    return pairs, preferred


def iconv_extra_decodes(charset, pairs):
    """Byte sequences that glibc's converter reads as a UCS-2 character
    although the charmap does not list them (second forms of characters,
    such as EUC-TW's four-byte form of plane 1). Probed over every trail byte
    of the charmap's two-byte lead bytes and over the EUC ranges of its
    three- and four-byte forms."""
    dec = Iconv("UCS-4BE", charset)
    known = {raw for raw, _ in pairs}
    leads = {}
    for raw, _ in pairs:
        if len(raw) > 1:
            leads.setdefault(raw[0], len(raw))
    euc = range(0xA1, 0xFF)
    extra = []
    for lead, length in sorted(leads.items()):
        if length == 2:
            candidates = (bytes([lead, t]) for t in range(1, 256))
        elif length == 3:
            candidates = (bytes([lead, a, b]) for a in euc for b in euc)
        else:
            candidates = (bytes([lead, p, a, b]) for p in range(0xA1, 0xB1) for a in euc for b in euc)
        for raw in candidates:
            if raw in known:
                continue
            code = _single_code(dec.convert(raw))
            if code is not None:
                extra.append((raw, code))
    return extra
