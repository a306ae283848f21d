"""Language and territory objects of the locale data generator, from glibc's
locale sources (LC_TIME, LC_NUMERIC, LC_MONETARY, LC_IDENTIFICATION,
LC_ADDRESS) and the small tables below (ids, defaults, Windows numbers)."""

import os
import re

from gc_locgen_nls import CLASS_LANGUAGE, CLASS_TERRITORY, be16, put16, utext

# Languages: id, object name, glibc locale of its names, Windows primary
# language number, default territory, code page and sort ("Binary": none).
LANGUAGES = [
    (1, "English", "en_US", 0x09, "UnitedStates", "Latin1", "Default"),
    (2, "German", "de_DE", 0x07, "Germany", "Latin1", "Default"),
    (3, "Arabic", "ar_SA", 0x01, "SaudiArabia", "ISO-8859-6", "Default"),
    (4, "Bulgarian", "bg_BG", 0x02, "Bulgaria", "ISO-8859-5", "Default"),
    (5, "Czech", "cs_CZ", 0x05, "CzechRepublic", "ISO-8859-2", "Czech"),
    (6, "Danish", "da_DK", 0x06, "Denmark", "Latin1", "Danish"),
    (7, "Greek", "el_GR", 0x08, "Greece", "ISO-8859-7", "Default"),
    (8, "Spanish", "es_ES", 0x0A, "Spain", "Latin1", "Spanish"),
    (9, "Estonian", "et_EE", 0x25, "Estonia", "ISO-8859-2", "Czech"),
    (10, "Finnish", "fi_FI", 0x0B, "Finland", "Latin1", "Finnish"),
    (11, "French", "fr_FR", 0x0C, "France", "Latin1", "Default"),
    (12, "CanadianFrench", "fr_CA", 0x0C, "French-Canada", "Latin1", "Default"),
    (13, "Hebrew", "he_IL", 0x0D, "Israel", "ISO-8859-8", "Default"),
    (14, "Croatian", "hr_HR", 0x1A, "Croatia", "ISO-8859-2", "Croatian"),
    (15, "Hungarian", "hu_HU", 0x0E, "Hungary", "ISO-8859-2", "Default"),
    (16, "Italian", "it_IT", 0x10, "Italy", "Latin1", "Default"),
    (17, "Japanese", "ja_JP", 0x11, "Japan", "euc-jp", "Binary"),
    (18, "Korean", "ko_KR", 0x12, "Korea", "euc-kr", "Binary"),
    (19, "Lithuanian", "lt_LT", 0x27, "Lithuania", "ISO-8859-4", "Lithuanian"),
    (20, "Latvian", "lv_LV", 0x26, "Latvia", "ISO-8859-4", "Latvian"),
    (21, "Macedonian", "mk_MK", 0x2F, "Macedonia", "ISO-8859-5", "Default"),
    (22, "Dutch", "nl_NL", 0x13, "Netherlands", "Latin1", "Default"),
    (23, "Norwegian", "nb_NO", 0x14, "Norway", "Latin1", "Danish"),
    (24, "NorwegianNynorsk", "nn_NO", 0x14, "Norway", "Latin1", "Danish"),
    (25, "Bosnian", "bs_BA", 0x1A, "Bosnia", "ISO-8859-2", "Default"),
    (26, "Polish", "pl_PL", 0x15, "Poland", "ISO-8859-2", "Default"),
    (27, "Portuguese", "pt_PT", 0x16, "Portugal", "Latin1", "Default"),
    (28, "Romanian", "ro_RO", 0x18, "Romania", "ISO-8859-2", "Romanian"),
    (29, "Russian", "ru_RU", 0x19, "Russia", "ISO-8859-5", "Default"),
    (30, "Slovak", "sk_SK", 0x1B, "Slovakia", "ISO-8859-2", "Slovak"),
    (31, "Slovenian", "sl_SI", 0x24, "Slovenia", "ISO-8859-2", "Slovenian"),
    (32, "Albanian", "sq_AL", 0x1C, "Albania", "ISO-8859-2", "Default"),
    (33, "CyrillicSerbian", "sr_RS", 0x1A, "Yugoslavia", "ISO-8859-5", "Default"),
    (34, "Swedish", "sv_SE", 0x1D, "Sweden", "Latin1", "Swedish"),
    (35, "Thai", "th_TH", 0x1E, "Thailand", "windows-874", "Thai"),
    (36, "Turkish", "tr_TR", 0x1F, "Turkey", "ISO-8859-9", "Default"),
    (37, "TraditionalChinese", "zh_TW", 0x04, "Taiwan", "EUC-TW", "Binary"),
    (38, "SimplifiedChinese", "zh_CN", 0x04, "China", "euc-cn", "Binary"),
]

# Special case mappings of a language (tables 44 upper, 45 lower): records
# (first, second, out first, out second).
SPECIAL = {
    "German": ([(0x00DF, 0, 0x0053, 0x0053)], []),
    "Turkish": ([(0x0069, 0, 0x0130, 0)], [(0x0049, 0, 0x0131, 0)]),
}

# Territories: id, object name, glibc locale of its conventions, Windows
# sublanguage number, country name (None: glibc's), abbreviation (None:
# glibc's three-letter code).
TERRITORIES = [
    (1, "UnitedStates", "en_US", 0x01, "United States", None),
    (2, "Germany", "de_DE", 0x01, None, None),
    (3, "SaudiArabia", "ar_SA", 0x01, None, None),
    (4, "Bulgaria", "bg_BG", 0x01, None, None),
    (5, "CzechRepublic", "cs_CZ", 0x01, "Czech Republic", None),
    (6, "Denmark", "da_DK", 0x01, None, None),
    (7, "Austria", "de_AT", 0x03, None, None),
    (8, "German-Switzerland", "de_CH", 0x02, None, None),
    (9, "Greece", "el_GR", 0x01, None, None),
    (10, "Australia", "en_AU", 0x03, None, None),
    (11, "Canada", "en_CA", 0x04, None, None),
    (12, "Europe", "en_IE", 0x01, "Europe", "EUR"),
    (13, "UnitedKingdom", "en_GB", 0x02, None, None),
    (14, "Ireland", "en_IE", 0x06, None, None),
    (15, "NewZealand", "en_NZ", 0x05, None, None),
    (16, "Spain", "es_ES", 0x03, None, None),
    (17, "Argentina", "es_AR", 0x0B, None, None),
    (18, "Bolivia", "es_BO", 0x10, None, None),
    (19, "Chile", "es_CL", 0x0D, None, None),
    (20, "Columbia", "es_CO", 0x09, None, None),
    (21, "CostaRica", "es_CR", 0x05, None, None),
    (22, "Ecuador", "es_EC", 0x0C, None, None),
    (23, "Guatemala", "es_GT", 0x04, None, None),
    (24, "Mexico", "es_MX", 0x02, None, None),
    (25, "Nicaragua", "es_NI", 0x13, None, None),
    (26, "Panama", "es_PA", 0x06, None, None),
    (27, "Peru", "es_PE", 0x0A, None, None),
    (28, "Paraguay", "es_PY", 0x0F, None, None),
    (29, "ElSalvador", "es_SV", 0x11, None, None),
    (30, "Uruguay", "es_UY", 0x0E, None, None),
    (31, "Venezuela", "es_VE", 0x08, None, None),
    (32, "Estonia", "et_EE", 0x01, None, None),
    (33, "Finland", "fi_FI", 0x01, None, None),
    (34, "France", "fr_FR", 0x01, None, None),
    (35, "French-Belgium", "fr_BE", 0x02, None, None),
    (36, "French-Canada", "fr_CA", 0x03, None, None),
    (37, "French-Switzerland", "fr_CH", 0x04, None, None),
    (38, "Israel", "he_IL", 0x01, None, None),
    (39, "Croatia", "hr_HR", 0x01, None, None),
    (40, "Hungary", "hu_HU", 0x01, None, None),
    (41, "Italy", "it_IT", 0x01, None, None),
    (42, "Japan", "ja_JP", 0x01, None, None),
    (43, "Korea", "ko_KR", 0x01, "Korea", None),
    (44, "Lithuania", "lt_LT", 0x01, None, None),
    (45, "Latvia", "lv_LV", 0x01, None, None),
    (46, "Macedonia", "mk_MK", 0x01, "Macedonia", None),
    (47, "Netherlands", "nl_NL", 0x01, None, None),
    (48, "Dutch-Belgium", "nl_BE", 0x02, None, None),
    (49, "Norway", "nb_NO", 0x01, None, None),
    (50, "Bosnia", "bs_BA", 0x05, "Bosnia and Herzegovina", None),
    (51, "Poland", "pl_PL", 0x01, None, None),
    (52, "Portugal", "pt_PT", 0x02, None, None),
    (53, "Brazil", "pt_BR", 0x01, None, None),
    (54, "Romania", "ro_RO", 0x01, None, None),
    (55, "Russia", "ru_RU", 0x01, None, None),
    (56, "Slovakia", "sk_SK", 0x01, None, None),
    (57, "Slovenia", "sl_SI", 0x01, None, None),
    (58, "Albania", "sq_AL", 0x01, None, None),
    (59, "Yugoslavia", "sr_RS", 0x03, "Yugoslavia", "YUG"),
    (60, "Sweden", "sv_SE", 0x01, None, None),
    (61, "Thailand", "th_TH", 0x01, None, None),
    (62, "Turkey", "tr_TR", 0x01, None, None),
    (63, "Taiwan", "zh_TW", 0x01, None, None),
    (64, "China", "zh_CN", 0x02, None, None),
]


# ---------------------------------------------------------------------------
# glibc locale sources.

_CATEGORIES = ("LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LC_IDENTIFICATION", "LC_ADDRESS")


class LocaleSource:
    """The keywords of some categories of one glibc locale source, with
    "copy" followed into the named locale."""

    _cache = {}

    def __init__(self, directory, name):
        self.directory = directory
        self.name = name
        self.cats = {}
        self.copies = {}
        self._read(os.path.join(directory, name))

    @classmethod
    def get(cls, directory, name):
        key = (directory, name)
        if key not in cls._cache:
            cls._cache[key] = LocaleSource(directory, name)
        return cls._cache[key]

    def _read(self, path):
        escape, comment = "\\", "#"
        with open(path, encoding="utf-8") as f:
            raw = f.read().split("\n")
        lines = []
        pending = ""
        for line in raw:
            if line.startswith("escape_char"):
                escape = line.split()[1]
                continue
            if line.startswith("comment_char"):
                comment = line.split()[1]
                continue
            if not pending and line.lstrip().startswith(comment):
                continue  # (a continued line may start with the comment character)
            if line.rstrip().endswith(escape) and not line.rstrip().endswith(escape * 2):
                pending += line.rstrip()[:-1]
                continue
            lines.append(pending + line)
            pending = ""
        self.escape = escape
        cat = None
        for line in lines:
            stripped = line.strip()
            if not stripped:
                continue
            if stripped in _CATEGORIES:
                cat = stripped
                self.cats[cat] = {}
                continue
            if stripped.startswith("END "):
                cat = None
                continue
            if cat is None:
                continue
            parts = re.split(r"\s+", stripped, maxsplit=1)
            key, value = parts[0], parts[1] if len(parts) > 1 else ""
            if key == "copy":
                self.copies[cat] = self._strings(value.strip())[0]
            else:
                self.cats[cat][key] = value.strip()

    def _strings(self, value):
        """The quoted texts of a value, escapes and <Uxxxx> resolved."""
        out = []
        for m in re.finditer(r'"((?:[^"%s]|%s.)*)"' % (re.escape(self.escape), re.escape(self.escape)), value):
            text = re.sub(r"<U([0-9A-Fa-f]{4,8})>", lambda u: chr(int(u.group(1), 16)), m.group(1))
            text = re.sub(re.escape(self.escape) + "(.)", r"\1", text)
            out.append(text)
        return out

    def _lookup(self, cat, key):
        if key in self.cats.get(cat, {}):
            return self, self.cats[cat][key]
        if cat in self.copies:
            return LocaleSource.get(self.directory, self.copies[cat])._lookup(cat, key)
        return self, None

    def strings(self, cat, key):
        src, value = self._lookup(cat, key)
        return src._strings(value) if value is not None else []

    def string(self, cat, key, default=""):
        texts = self.strings(cat, key)
        return texts[0] if texts else default

    def number(self, cat, key, default=0):
        _, value = self._lookup(cat, key)
        if value is None:
            return default
        try:
            number = int(value.split(";")[0])
        except ValueError:
            return default
        return default if number in (-1, 127) else number  # glibc's "not available"

    def grouping(self, cat, key):
        _, value = self._lookup(cat, key)
        sizes = [int(x) for x in (value or "-1").split(";") if x.strip()]
        if not sizes or sizes[0] <= 0:
            return "0"
        return ";".join(str(x) for x in sizes if 0 < x < 127) + ";0"


# ---------------------------------------------------------------------------
# Formats: glibc's strftime directives to this library's.

_DIRECTIVE = re.compile(r"%([-_0^#]?)([EO]?)([A-Za-z%+])")
_KNOWN = set("abcdehjklmnprtuwxyzABCDEHIMORSTUVWXYZ%")
_REPLACE = {"F": "%Y-%m-%d", "P": "%p", "G": "%Y", "g": "%y", "s": "", "N": "", "+": "%c", "q": "", "L": ""}
_TIME_PARTS = "HIklMSTrRpPZzX"


def translate_format(fmt, ampm="%I:%M:%S %p"):
    """glibc's strftime directives as this library's: '-' and '_' padding as
    '#', glibc's extensions spelled out, the zone left out (the library
    writes nothing for it), and '%r' (which here is the locale's own time
    format) replaced by the 12-hour format."""
    def one(m):
        flag, mod, letter = m.groups()
        if letter == "r":
            return translate_format(ampm) if "%r" not in ampm else "%I:%M:%S %p"
        if letter in _REPLACE:
            return _REPLACE[letter]
        if letter not in _KNOWN or letter in ("Z", "z"):
            return "\0"
        return "%" + ("#" if flag in ("-", "_", "#") else "") + mod + letter
    text = _DIRECTIVE.sub(one, fmt)
    return re.sub(r"\s*\0", "", text).strip()


def long_date(src):
    """A long date format: glibc's date_fmt (or d_t_fmt) without its time of
    day and zone (each such directive goes with the text that directly
    follows it, as in "%H:" or "%H<hour>"), with full day and month names."""
    fmt = src.string("LC_TIME", "date_fmt") or src.string("LC_TIME", "d_t_fmt")
    fmt = re.sub(r"%[-_0^#]?[EO]?[" + _TIME_PARTS + r"][^\s%]*", "", fmt)
    fmt = re.sub(r"%([-_0^#]?)[EO]?([abh])", lambda m: "%" + m.group(1) + ("A" if m.group(2) == "a" else "B"), fmt)
    fmt = re.sub(r"\s+", " ", fmt).strip(" ,")
    return translate_format(fmt)


# ---------------------------------------------------------------------------
# Sections.

def language_section(src, name, langcode, territory, codepage, sort):
    texts = [src.string("LC_ADDRESS", "lang_ab", name[:2]).upper(), name]
    days = src.strings("LC_TIME", "day")
    abdays = src.strings("LC_TIME", "abday")
    mons = src.strings("LC_TIME", "mon")
    abmons = src.strings("LC_TIME", "abmon")
    if len(days) != 7 or len(abdays) != 7 or len(mons) != 12 or len(abmons) != 12:
        raise SystemExit("%s: incomplete day or month names" % src.name)
    am_pm = src.strings("LC_TIME", "am_pm") or ["", ""]
    texts += days + abdays + mons + [""] + abmons + [""] + am_pm[:2]
    upper, lower = SPECIAL.get(name, ([], []))
    head = bytearray(12 + 46 * 2)
    for at, v in ((0, territory), (2, codepage), (4, sort), (6, len(upper)), (8, len(lower)), (10, langcode)):
        put16(head, at, v)
    body = bytearray(head)
    for i, t in enumerate(texts):
        put16(body, 12 + 2 * i, len(body))
        body += utext(t)
    for t, table in enumerate((upper, lower)):
        put16(body, 12 + 2 * (44 + t), len(body))
        for rec in table:
            body += b"".join(be16(v) for v in rec)
    return bytes(body)


def _separator(text):
    if not text:
        return 0
    code = ord(text[0])
    return 0x00A0 if code in (0x202F, 0x2009) else code


def territory_section(src, sublang, country, abbrev):
    m = "LC_MONETARY"
    decimal = _separator(src.string("LC_NUMERIC", "decimal_point", "."))
    seps = [decimal, _separator(src.string("LC_NUMERIC", "thousands_sep")),
            0x3B if decimal == 0x2C else 0x2C,
            _separator(src.string(m, "mon_decimal_point", ".")),
            _separator(src.string(m, "mon_thousands_sep"))]
    flags = 0
    for bit, key in ((0x02, "p_cs_precedes"), (0x04, "p_sep_by_space"), (0x08, "n_cs_precedes"),
                     (0x10, "n_sep_by_space")):
        if src.number(m, key) != 0:
            flags |= bit
    head = bytearray(24 + 12 * 2)
    for i, s in enumerate(seps):
        put16(head, 2 * i, s)
    put16(head, 10, 2)
    put16(head, 12, max(0, min(src.number(m, "frac_digits", 2), 9)))
    put16(head, 14, max(0, min(src.number(m, "int_frac_digits", 2), 9)))
    head[16] = max(0, min(src.number(m, "p_sign_posn", 1), 4))
    head[17] = max(0, min(src.number(m, "n_sign_posn", 1), 4))
    put16(head, 20, flags)
    put16(head, 22, sublang)
    texts = [
        abbrev or src.string("LC_ADDRESS", "country_ab3"),
        country or src.string("LC_IDENTIFICATION", "territory"),
        src.grouping("LC_NUMERIC", "grouping"),
        src.grouping(m, "mon_grouping"),
        src.string(m, "currency_symbol"),
        src.string(m, "int_curr_symbol").strip(),
        src.string(m, "positive_sign"),
        src.string(m, "negative_sign"),
        translate_format(src.string("LC_TIME", "t_fmt"), src.string("LC_TIME", "t_fmt_ampm") or "%I:%M:%S %p"),
        translate_format(src.string("LC_TIME", "d_fmt")),
        long_date(src),
    ]
    body = bytearray(head)
    for i, t in enumerate(texts):
        put16(body, 24 + 2 * i, len(body))
        body += utext(t)
    put16(body, 24 + 2 * 11, len(body))
    return bytes(body)


def objects(i18n, cp_ids, sort_ids):
    """(class, id, name, section 0) of every language and territory."""
    locales = os.path.join(i18n, "locales")
    terr_ids = {name: ident for ident, name, *_ in TERRITORIES}
    out = []
    for ident, name, source, langcode, terr, cpage, sort in LANGUAGES:
        src = LocaleSource.get(locales, source)
        data = language_section(src, name, langcode, terr_ids[terr], cp_ids[cpage],
                                0 if sort == "Binary" else sort_ids[sort])
        out.append((CLASS_LANGUAGE, ident, name, data))
    for ident, name, source, sublang, country, abbrev in TERRITORIES:
        src = LocaleSource.get(locales, source)
        out.append((CLASS_TERRITORY, ident, name, territory_section(src, sublang, country, abbrev)))
    return out
