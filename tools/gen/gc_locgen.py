#!/usr/bin/env python3
"""Writes the locale data directory of the multibyte text library: the
control file "control.nls" and one object file per language, territory,
code page and sort.

Sources (Debian packages): glibc's charmaps and locale sources ("locales",
/usr/share/i18n), glibc's iconv converters ("libc6", for windows-874 and the
shift-state EBCDIC code page 930) and the Unicode character database
("unicode-data", /usr/share/unicode).

Usage:
  gc_locgen.py --output DIR [--i18n DIR] [--ucd DIR] [--only KIND]

--only writes the object files of one kind (codepages, locales or sorts)
and the whole control file, for working on one part of the generator.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import gc_locgen_cp as cp  # noqa: E402
import gc_locgen_loc as loc  # noqa: E402
import gc_locgen_nls as nls  # noqa: E402
import gc_locgen_sort as sort  # noqa: E402
import gc_locgen_src as src  # noqa: E402
import gc_locgen_uni as uni  # noqa: E402

# Code pages: id, object name, source ("charmap:NAME", "iconv:NAME",
# "shift:NAME" or "utf8"), Windows code-page number, second character-set
# name (number item 94; also iconv's name of the set, which is asked for the
# byte sequences that its converter reads beyond the charmap), ASCII-based.
CODE_PAGES = [
    (1, "US-ASCII", "charmap:ANSI_X3.4-1968", 20127, "ANSI_X3.4-1968", True),
    (2, "Latin1", "charmap:ISO-8859-1", 28591, "ISO-8859-1", True),
    (3, "ISO-8859-2", "charmap:ISO-8859-2", 28592, "ISO-8859-2", True),
    (4, "ISO-8859-4", "charmap:ISO-8859-4", 28594, "ISO-8859-4", True),
    (5, "ISO-8859-5", "charmap:ISO-8859-5", 28595, "ISO-8859-5", True),
    (6, "ISO-8859-6", "charmap:ISO-8859-6", 28596, "ISO-8859-6", True),
    (7, "ISO-8859-7", "charmap:ISO-8859-7", 28597, "ISO-8859-7", True),
    (8, "ISO-8859-8", "charmap:ISO-8859-8", 28598, "ISO-8859-8", True),
    (9, "ISO-8859-9", "charmap:ISO-8859-9", 28599, "ISO-8859-9", True),
    (15, "ISO-8859-15", "charmap:ISO-8859-15", 28605, "ISO-8859-15", True),
    (20, "windows-874", "iconv:CP874", 874, "CP874", True),
    (21, "KOI8-R", "charmap:KOI8-R", 20866, "KOI8-R", True),
    (40, "euc-jp", "charmap:EUC-JP", 20932, "EUC-JP", True),
    (41, "Shift-JIS", "charmap:SHIFT_JIS", 932, "SHIFT_JIS", True),
    (42, "euc-kr", "charmap:EUC-KR", 51949, "EUC-KR", True),
    (43, "EUC-TW", "charmap:EUC-TW", 51950, "EUC-TW", True),
    (44, "euc-cn", "charmap:GB2312", 51936, "EUC-CN", True),
    (45, "GBK", "charmap:GBK", 936, "GBK", True),
    (46, "big5", "charmap:BIG5", 950, "BIG5", True),
    (106, "UTF-8", "utf8", 65001, "UTF-8", True),
    (930, "IBM-930", "shift:IBM930", 50930, "IBM930", False),
]

SHIFT_OUT, SHIFT_IN = 0x0E, 0x0F


def charset(source, i18n, ucd, iconv_name=None):
    kind, _, name = source.partition(":")
    if kind == "charmap":
        pairs = src.read_charmap(os.path.join(i18n, "charmaps"), name)
        if iconv_name and any(len(raw) > 1 for raw, _ in pairs):
            pairs += src.iconv_extra_decodes(iconv_name, pairs)
        return cp.CharSet(pairs)
    if kind == "iconv":
        return cp.CharSet(src.read_iconv_single(name))
    if kind == "shift":
        pairs, preferred = src.read_iconv_shift(name, SHIFT_OUT, SHIFT_IN)
        return cp.CharSet(pairs, preferred, shift=(SHIFT_OUT, SHIFT_IN))
    return cp.utf8_charset(ucd)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--output", required=True)
    parser.add_argument("--i18n", default="/usr/share/i18n")
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--only", choices=("codepages", "locales", "sorts"))
    args = parser.parse_args()

    start = time.time()
    for path, package in ((os.path.join(args.i18n, "charmaps"), "locales"),
                          (os.path.join(args.i18n, "locales", "iso14651_t1_common"), "locales"),
                          (os.path.join(args.ucd, "UnicodeData.txt"), "unicode-data")):
        if not os.path.exists(path):
            raise SystemExit("%s is missing: install Debian's \"%s\" package" % (path, package))
    os.makedirs(args.output, exist_ok=True)
    ucd = uni.Ucd(args.ucd)
    entries = []
    charsets = {}
    for ident, name, source, wincp, second, ascii_based in CODE_PAGES:
        cs = charset(source, args.i18n, ucd, second)
        charsets[name] = cs
        entries.append((ident, nls.CLASS_CODEPAGE, name))
        if args.only in (None, "codepages"):
            sections = cp.build(ident, cs, ucd, wincp, second, ascii_based)
            nls.write(os.path.join(args.output, nls.object_file_name(nls.CLASS_CODEPAGE, ident)),
                      nls.data_file(sections, "code page " + name))

    cp_ids = {name: ident for ident, name, *_ in CODE_PAGES}
    sort_ids = {name: ident for ident, name, *_ in sort.SORTS}
    for cls, ident, name, data in loc.objects(args.i18n, cp_ids, sort_ids):
        entries.append((ident, cls, name))
        if args.only in (None, "locales"):
            nls.write(os.path.join(args.output, nls.object_file_name(cls, ident)), nls.data_file([data], name))
    for ident, name, data in sort.objects(args.i18n, args.only in (None, "sorts")):
        entries.append((ident, nls.CLASS_SORT, name))
        if data is not None:
            nls.write(os.path.join(args.output, nls.object_file_name(nls.CLASS_SORT, ident)),
                      nls.data_file([data], "sort " + name))

    # Which glibc locale each language and territory was made from, for the
    # tests that compare the two.
    with open(os.path.join(args.output, "glibc-sources.txt"), "w", encoding="ascii") as f:
        for _, name, source, *_ in loc.LANGUAGES:
            f.write("language %s %s\n" % (name, source))
        for _, name, source, *_ in loc.TERRITORIES:
            f.write("territory %s %s\n" % (name, source))
    nls.write(os.path.join(args.output, "control.nls"), nls.data_file([nls.directory(entries)], "control"))
    print("locale data: %d objects in %s (%.1f s)" % (len(entries), args.output, time.time() - start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
