// Locale names: the mapping of native locale names to locale names, and the
// user's locale name.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "mbtext/gc_locobj.h"
#include "mbtext/gc_locobj_int.h"

namespace {

constexpr char kUnknown[] = "Unknown";
constexpr int kComp = 64; // room for one native name component

struct NameParts {
  const char* language = kUnknown;
  const char* territory = kUnknown;
  const char* codepage = kUnknown;
  const char* sort = kUnknown;
};

const GCNativeLocale* find_row(const char* native) {
  for (const GCNativeLocale& r : GCPlocaleMap)
    if (std::strcmp(r.native, native) == 0) return &r;
  return nullptr;
}

struct Pair {
  const char* key;
  const char* value;
};

// Language codes of this platform whose row in the map has another name.
constexpr Pair kLanguageRow[] = {
    {"cs", "cz"},       {"nb", "no"},       {"nn", "no_NY"},    {"bs", "nr"},    {"sr", "sr_SP"},
    {"bg", "bg_BG"},    {"hr", "hr_HR"},    {"mk", "mk_MK"},    {"ro", "ro_RO"}, {"sk", "sk_SK"},
    {"sl", "sl_SI"},    {"sq", "sq_AL"},    {"th", "th_TH"},    {"en", "en_US"}, {"iw", "he"},
    {"C", "C"},         {"POSIX", "POSIX"}};

constexpr Pair kTerritory[] = {
    {"SA", "SaudiArabia"}, {"BG", "Bulgaria"},   {"CZ", "CzechRepublic"}, {"DK", "Denmark"},
    {"DE", "Germany"},     {"AT", "Austria"},    {"GR", "Greece"},        {"AU", "Australia"},
    {"CA", "Canada"},      {"GB", "UnitedKingdom"}, {"IE", "Ireland"},    {"NZ", "NewZealand"},
    {"US", "UnitedStates"}, {"ES", "Spain"},     {"AR", "Argentina"},     {"BO", "Bolivia"},
    {"CL", "Chile"},       {"CO", "Columbia"},   {"CR", "CostaRica"},     {"EC", "Ecuador"},
    {"GT", "Guatemala"},   {"MX", "Mexico"},     {"NI", "Nicaragua"},     {"PA", "Panama"},
    {"PE", "Peru"},        {"PY", "Paraguay"},   {"SV", "ElSalvador"},    {"UY", "Uruguay"},
    {"VE", "Venezuela"},   {"EE", "Estonia"},    {"FI", "Finland"},       {"FR", "France"},
    {"IL", "Israel"},      {"HR", "Croatia"},    {"HU", "Hungary"},       {"IT", "Italy"},
    {"JP", "Japan"},       {"KR", "Korea"},      {"LT", "Lithuania"},     {"LV", "Latvia"},
    {"MK", "Macedonia"},   {"NL", "Netherlands"}, {"NO", "Norway"},       {"BA", "Bosnia"},
    {"PL", "Poland"},      {"PT", "Portugal"},   {"BR", "Brazil"},        {"RO", "Romania"},
    {"RU", "Russia"},      {"SK", "Slovakia"},   {"SI", "Slovenia"},      {"AL", "Albania"},
    {"SE", "Sweden"},      {"TH", "Thailand"},   {"TR", "Turkey"},        {"TW", "Taiwan"},
    {"CN", "China"}};

// Code sets, compared in lower case without "-" and "_".
constexpr Pair kCodeSet[] = {
    {"utf8", "UTF-8"},           {"iso88591", "Latin1"},        {"iso885915", "ISO-8859-15"},
    {"iso88592", "ISO-8859-2"},  {"iso88594", "ISO-8859-4"},    {"iso88595", "ISO-8859-5"},
    {"iso88596", "ISO-8859-6"},  {"iso88597", "ISO-8859-7"},    {"iso88598", "ISO-8859-8"},
    {"iso88599", "ISO-8859-9"},  {"eucjp", "euc-jp"},           {"sjis", "Shift-JIS"},
    {"shiftjis", "Shift-JIS"},   {"pck", "Shift-JIS"},          {"euckr", "euc-kr"},
    {"euctw", "EUC-TW"},         {"euccn", "euc-cn"},           {"gb2312", "euc-cn"},
    {"gbk", "GBK"},              {"big5", "big5"},              {"koi8r", "KOI8-R"},
    {"tis620", "windows-874"},   {"cp874", "windows-874"},      {"ansix341968", "US-ASCII"},
    {"ascii", "US-ASCII"},       {"usascii", "US-ASCII"}};

const char* lookup(const Pair* table, size_t n, const char* key) {
  for (size_t i = 0; i < n; ++i)
    if (std::strcmp(table[i].key, key) == 0) return table[i].value;
  return nullptr;
}

// Copies at most the first n bytes of s (cut to the room of out).
void copy_part(char* out, size_t room, const char* s, size_t n) {
  if (n >= room) n = room - 1;
  std::memcpy(out, s, n);
  out[n] = 0;
}

// A name of the form language[_TERRITORY][.codeset][@modifier].
bool map_platform_name(const char* name, NameParts* p) {
  char lang[kComp], terr[kComp], set[kComp], key[2 * kComp];
  size_t n = std::strcspn(name, "_.@");
  copy_part(lang, sizeof lang, name, n);
  const char* s = name + n;
  terr[0] = set[0] = 0;
  if (*s == '_') {
    ++s;
    n = std::strcspn(s, ".@");
    copy_part(terr, sizeof terr, s, n);
    s += n;
  }
  if (*s == '.') {
    ++s;
    n = std::strcspn(s, "@");
    size_t k = 0;
    for (size_t i = 0; i < n && k + 1 < sizeof set; ++i) {
      char c = s[i];
      if (c == '-' || c == '_') continue;
      set[k++] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    set[k] = 0;
  }
  if (!lang[0]) return false;
  const GCNativeLocale* row = nullptr;
  bool exact = false;
  if (terr[0]) {
    std::snprintf(key, sizeof key, "%s_%s", lang, terr);
    row = find_row(key);
    exact = row != nullptr;
  }
  if (!row) row = find_row(lang);
  if (!row) {
    const char* alias = lookup(kLanguageRow, std::size(kLanguageRow), lang);
    if (alias) row = find_row(alias);
  }
  if (!row) return false;
  const char* cp = row->codepage;
  if (set[0]) {
    cp = lookup(kCodeSet, std::size(kCodeSet), set);
    if (!cp) return false;
  }
  p->language = row->language;
  p->territory = row->territory;
  if (terr[0] && !exact) {
    const char* t = lookup(kTerritory, std::size(kTerritory), terr);
    if (t) p->territory = t;
  }
  p->codepage = cp;
  p->sort = row->sort;
  return true;
}

// One native name, not composite.
bool map_single(const char* name, NameParts* p) {
  if (const GCNativeLocale* r = find_row(name)) {
    p->language = r->language;
    p->territory = r->territory;
    p->codepage = r->codepage;
    p->sort = r->sort;
    return true;
  }
  return map_platform_name(name, p);
}

// Component i (0 character classes, 1 numeric, 2 time, 3 collation) of a
// composite name.
bool component(const char* native, int i, char* out, size_t room) {
  static const char* const keys[4] = {"LC_CTYPE=", "LC_NUMERIC=", "LC_TIME=", "LC_COLLATE="};
  if (native[0] == '/') {
    const char* s = native;
    for (int k = 0; k <= i; ++k) {
      if (*s != '/') return false;
      ++s;
      size_t n = std::strcspn(s, "/");
      if (k == i) {
        copy_part(out, room, s, n);
        return true;
      }
      s += n;
    }
    return false;
  }
  const char* at = std::strstr(native, keys[i]);
  if (!at) return false;
  at += std::strlen(keys[i]);
  copy_part(out, room, at, std::strcspn(at, ";"));
  return true;
}

} // namespace

char* GCMapNativeLocale(const char* native, char* buffer, int32_t size) {
  if (!buffer || size < 1) return buffer;
  if (!native) native = "";
  char text[4 * 32 + 4];
  bool composite = native[0] == '/' || std::strstr(native, "LC_CTYPE=") != nullptr;
  if (composite) {
    NameParts comp[4];
    char c[kComp];
    for (int i = 0; i < 4; ++i)
      if (!component(native, i, c, sizeof c) || !map_single(c, &comp[i])) comp[i] = NameParts{};
    std::snprintf(text, sizeof text, "%s_%s.%s@%s", comp[2].language, comp[1].territory,
                  comp[0].codepage, comp[3].sort);
  } else {
    NameParts p;
    if (map_single(native, &p))
      std::snprintf(text, sizeof text, "%s_%s.%s@%s", p.language, p.territory, p.codepage, p.sort);
    else
      std::snprintf(text, sizeof text, "%s", kUnknown);
  }
  copy_part(buffer, size_t(size), text, std::strlen(text));
  return buffer;
}

int GCGetUserLocale(char* buffer, int32_t size) {
  if (!buffer || size < 1) return 0;
  if (const char* v = std::getenv("GC_LANG")) {
    copy_part(buffer, size_t(size), v, std::strlen(v));
    return 1;
  }
  // The environment's native locale, read through a locale of our own: the
  // process's locale is not switched.
  char now[1024];
  now[0] = 0;
  if (locale_t l = newlocale(LC_ALL_MASK, "", locale_t(nullptr))) {
    gcNativeLocaleName(l, now, sizeof now);
    freelocale(l);
  }
  GCMapNativeLocale(now, buffer, size);
  return 2;
}
