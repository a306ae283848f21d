"""Data-file layer of the locale data generator: big-endian packing, the
80-byte file header, object files and the control file "control.nls"."""

import os
import struct

MAGIC = 0x476CF462
VERSION_WORD = 0x30080000  # format version 3 in the top four bits

CLASS_LANGUAGE, CLASS_TERRITORY, CLASS_CODEPAGE, CLASS_SORT = range(4)
PREFIX = ("la", "te", "cp", "so")


def be16(v):
    return struct.pack(">H", v & 0xFFFF)


def be32(v):
    return struct.pack(">I", v & 0xFFFFFFFF)


def put16(buf, at, v):
    buf[at:at + 2] = be16(v)


def put32(buf, at, v):
    buf[at:at + 4] = be32(v)


def utext(s):
    """A NUL-terminated 16-bit Unicode text."""
    out = bytearray()
    for ch in s:
        code = ord(ch)
        if code > 0xFFFF:
            raise ValueError("text %r has a character outside UCS-2" % s)
        out += be16(code)
    return bytes(out + b"\0\0")


def data_file(sections, note="generated locale data"):
    """An object file: the header followed by its sections (1 to 4). An
    empty section gets size 0 and offset 0."""
    if not 1 <= len(sections) <= 4:
        raise ValueError("a data file has 1 to 4 sections")
    head = bytearray(80)
    put32(head, 0, MAGIC)
    put32(head, 4, VERSION_WORD)
    put16(head, 8, len(sections))
    at = 80
    for i, sec in enumerate(sections):
        put32(head, 12 + 8 * i, len(sec))
        put32(head, 16 + 8 * i, at if sec else 0)
        at += len(sec)
    text = note.encode("ascii")[:33]
    head[44:44 + len(text)] = text
    return bytes(head) + b"".join(bytes(s) for s in sections)


def object_file_name(cls, ident):
    return "%s_%04d.nls" % (PREFIX[cls], ident)


def directory(entries):
    """The directory section: 60-byte entries (id, class, name), ordered by
    class and then id."""
    out = bytearray()
    for ident, cls, name in sorted(entries, key=lambda e: (e[1], e[0])):
        raw = name.encode("ascii")
        if len(raw) > 35:
            raise ValueError("object name %r is longer than 35 characters" % name)
        out += be16(ident) + bytes([cls, 0]) + raw + bytes(56 - len(raw))
    return bytes(out)


def write(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
