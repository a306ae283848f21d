// Reading locale items by number.
#include <cstdio>
#include <cstring>

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_item_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_nav_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"

int gcItemSepIndex(int item) {
  switch (item) {
    case GC_ITEM_DECIMAL: return GC_SEP_DECIMAL;
    case GC_ITEM_THOUSANDS: return GC_SEP_THOUSANDS;
    case GC_ITEM_LIST: return GC_SEP_LIST;
    case GC_ITEM_MON_DECIMAL: return GC_SEP_MON_DECIMAL;
    case GC_ITEM_MON_THOUSANDS: return GC_SEP_MON_THOUSANDS;
    default: return -1;
  }
}

int gcItemTextIndex(int item, int* entry) {
  static const int items[GC_TXT_COUNT] = {GC_ITEM_GROUPING, GC_ITEM_CURRENCY, GC_ITEM_MON_GROUPING,
                                          GC_ITEM_POS_SIGN, GC_ITEM_NEG_SIGN,  GC_ITEM_TIME_FMT,
                                          GC_ITEM_SDATE_FMT, GC_ITEM_LDATE_FMT};
  for (int t = 0; t < GC_TXT_COUNT; ++t)
    if (items[t] == item) {
      if (entry) *entry = GC_TXT_TERR_ENTRY[t];
      return t;
    }
  return -1;
}

namespace {

constexpr char kBinary[] = "Binary";

const uint8_t* lang_text(const GCObj* lang, int entry) {
  const uint8_t* d = gcObjSection(lang);
  return d + gc_be16(d + GC_LANG_OFFSETS + 2 * entry);
}

const uint8_t* terr_text(const GCObj* terr, int entry) {
  const uint8_t* d = gcObjSection(terr);
  return d + gc_be16(d + GC_TERR_OFFSETS + 2 * entry);
}

// Name of a language's default object of a class, found without loading.
const char* default_name(const GCLocale* loc, uint8_t cls, int offset) {
  uint16_t id = gc_be16(gcObjSection(loc->language) + offset);
  if (cls == GC_CLASS_SORT && id == 0) return kBinary;
  GCOctx* ocx = gcObjManager();
  if (!ocx) return nullptr;
  uint32_t st;
  const GCObj* e = GCGetObjFromID(ocx, cls, id, GC_FIND_ONLY, &st);
  return e ? e->name : nullptr;
}

} // namespace

const void* GCLocaleGetTextItem(GCLocale* locale, int item, int fromLocale, int* kind) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  int k = GC_TEXT_UNICODE;
  const void* r = nullptr;
  int entry = 0;
  int sep = gcItemSepIndex(item);
  int t = gcItemTextIndex(item, &entry);
  if (item >= GC_ITEM_DAY && item <= GC_ITEM_PM) r = lang_text(loc->language, GC_LANG_DAY + item - GC_ITEM_DAY);
  else if (item == GC_ITEM_LANGUAGE_ABBREV) r = lang_text(loc->language, GC_LANG_ABBREV);
  else if (item == GC_ITEM_LANGUAGE_NAME) r = lang_text(loc->language, GC_LANG_NAME);
  else if (item == GC_ITEM_COUNTRY_ABBREV) r = terr_text(loc->territory, GC_TERR_ABBREV);
  else if (item == GC_ITEM_COUNTRY_NAME) r = terr_text(loc->territory, GC_TERR_NAME);
  else if (item == GC_ITEM_INTL_CURRENCY) r = terr_text(loc->territory, GC_TERR_INTL_CURRENCY);
  else if (sep >= 0) {
    if (fromLocale) {
      r = &loc->sep[sep];
      k = GC_TEXT_CODEPAGE;
    } else {
      r = gcObjSection(loc->territory) + GC_TERR_SEPS + 2 * sep;
    }
  } else if (t >= 0) {
    if (fromLocale) {
      r = loc->text[t];
      k = GC_TEXT_CODEPAGE;
    } else {
      r = terr_text(loc->territory, entry);
    }
  } else {
    k = GC_TEXT_ASCII;
    switch (item) {
      case GC_ITEM_LANGUAGE_OBJ: r = loc->language->name; break;
      case GC_ITEM_TERRITORY_OBJ: r = loc->territory->name; break;
      case GC_ITEM_CODEPAGE_OBJ: r = loc->codepage->name; break;
      case GC_ITEM_SORT_OBJ: r = loc->sort ? loc->sort->name : kBinary; break;
      case GC_ITEM_DEFAULT_TERRITORY: r = default_name(loc, GC_CLASS_TERRITORY, GC_LANG_DEF_TERRITORY); break;
      case GC_ITEM_DEFAULT_CODEPAGE: r = default_name(loc, GC_CLASS_CODEPAGE, GC_LANG_DEF_CODEPAGE); break;
      case GC_ITEM_DEFAULT_SORT: r = default_name(loc, GC_CLASS_SORT, GC_LANG_DEF_SORT); break;
      case GC_ITEM_CHARSET_NAME2: {
        const uint8_t* n = gcCpMain(loc->codepage) + GC_CPM_CHARSET2;
        if (std::memchr(n, 0, 32)) r = n; // a name that fills its field has no end
        break;
      }
      default: break;
    }
  }
  if (kind) *kind = k;
  return r;
}

void GCLocaleGetLocaleString(const GCLocale* locale, char* buffer) {
  if (!buffer) return;
  const GCLocale* loc = gcLocaleOrDefault(const_cast<GCLocale*>(locale));
  const char* parts[7] = {loc->language->name, "_", loc->territory->name, ".", loc->codepage->name,
                          "@", loc->sort ? loc->sort->name : kBinary};
  size_t n = 0;
  for (const char* part : parts)
    for (size_t i = 0; part[i] != 0 && i < GC_OBJ_NAME_SIZE && n + 1 < GC_LOCALE_STRING_SIZE; ++i)
      buffer[n++] = part[i];
  buffer[n] = 0;
}

int32_t GCGetLocaleTextInfo(GCLocale* locale, int item, char* buffer, int32_t size, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if ((flags & ~(GC_FL_ITEM | GC_FL_CHARS)) != 0 || size < 0 || (size > 0 && !buffer)) {
    loc->status = GC_E_ARG;
    return -1;
  }
  loc->status = GC_OK;
  if (size == 0) return 0;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  const bool fromLocale = !(flags & GC_FL_ITEM);
  char name[GC_LOCALE_STRING_SIZE];
  uint8_t one[4] = {0, 0, 0, 0};
  const void* src;
  int kind;
  if (item == GC_ITEM_LOCALE_NAME) {
    GCLocaleGetLocaleString(loc, name);
    src = name;
    kind = GC_TEXT_ASCII;
  } else {
    src = GCLocaleGetTextItem(loc, item, fromLocale ? 1 : 0, &kind);
    if (!src) {
      loc->status = GC_E_NO_ITEM;
      return -1;
    }
  }
  if (gcItemSepIndex(item) >= 0) {
    // One character: a terminated copy of the separator.
    std::memcpy(one, src, kind == GC_TEXT_UNICODE ? 2 : 1);
    src = one;
    if (size > 2) size = 2;
  }
  const GCObj* cp = loc->codepage;
  const bool asciiBased = gcCpIsAsciiBased(cp);
  // ASCII names are converted through code page 1 only where the locale's
  // page is not ASCII-based.
  const GCObj* ascii = kind == GC_TEXT_ASCII && !asciiBased ? gcCodePageAscii() : nullptr;
  const int32_t given = size;
  const int32_t byteLimit = chars ? gcConvByteBound(cp, size) : size;
  GCConvWriter w;
  gcConvWriterInit(&w, cp, false);
  int32_t remaining = size, bytes = 0;
  bool srcDbcs = false;
  const auto* p = static_cast<const uint8_t*>(src);
  while (remaining >= 2) {
    uint8_t b[8];
    int k, step;
    bool dbcs = w.dbcs;
    if (kind == GC_TEXT_UNICODE || (kind == GC_TEXT_ASCII && !asciiBased)) {
      GCUChar u[2];
      int avail = 1;
      if (kind == GC_TEXT_UNICODE) {
        u[0] = gc_be16(p);
        if (u[0] == 0) break;
        u[1] = gc_be16(p + 2);
        if (u[1] != 0) avail = 2;
      } else {
        if (p[0] == 0) break;
        u[0] = gcCpByteToUcs2(ascii, p[0]);
      }
      int used;
      k = gcConvEncode(&w, u, avail, b, &used, &dbcs);
      step = kind == GC_TEXT_UNICODE ? 2 * used : 1;
    } else if (loc->flags & GC_LF_SHIFT) {
      // Shift codes of the text set the mode; the copy writes its own.
      const uint8_t so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
      if (p[0] == so || p[0] == si) {
        p += gcCpShiftRunEnd(p, -1, si, so);
        srcDbcs = *p != si;
        ++p;
        continue;
      }
      if (p[0] == 0) break;
      int len = srcDbcs ? gcCpMaxLen(cp) : 1;
      if (std::memchr(p, 0, size_t(len))) break; // cut by the end of the text
      k = 0;
      if (srcDbcs != w.dbcs) b[k++] = srcDbcs ? so : si;
      std::memcpy(b + k, p, size_t(len));
      k += len;
      dbcs = srcDbcs;
      step = len;
    } else {
      if (p[0] == 0) break;
      bool whole;
      k = gcNavSpan(loc, p, -1, &whole);
      if (k > 4) k = 4;
      std::memcpy(b, p, size_t(k));
      step = k;
    }
    // Room for the character, a closing shift-in code and the NUL.
    int32_t need = k + (dbcs ? 1 : 0) + 1;
    if (bytes + need > byteLimit) break;
    std::memcpy(buffer + bytes, b, size_t(k));
    bytes += k;
    w.dbcs = dbcs;
    p += step;
    remaining -= chars ? 1 : k;
  }
  if (w.dbcs) buffer[bytes++] = char(gcCpShiftIn(cp));
  buffer[bytes++] = 0;
  return chars ? given - remaining + 1 : bytes;
}

int32_t GCGetLocaleNumInfo(GCLocale* locale, int item, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags != 0 && flags != GC_FL_ITEM) {
    loc->status = GC_E_ARG;
    return -1;
  }
  loc->status = GC_OK;
  const bool terr = flags == GC_FL_ITEM;
  const uint8_t* td = gcObjSection(loc->territory);
  const uint16_t tf = gc_be16(td + GC_TERR_FLAGS);
  auto pick = [&](uint16_t tbit, uint16_t lbit) -> int32_t {
    return terr ? ((tf & tbit) ? 1 : 0) : ((loc->flags & lbit) ? 1 : 0);
  };
  switch (item) {
    case GC_ITEM_LANGUAGE_ID: return loc->language->id;
    case GC_ITEM_TERRITORY_ID: return loc->territory->id;
    case GC_ITEM_CODEPAGE_ID: return loc->codepage->id;
    case GC_ITEM_SORT_ID: return loc->sort ? loc->sort->id : 0;
    case GC_ITEM_TERR_FLAG1: return (tf & GC_TERRF_FLAG0) ? 1 : 0;
    case GC_ITEM_DIGITS: return terr ? gc_be16(td + GC_TERR_DIGITS) : loc->digits;
    case GC_ITEM_CURR_DIGITS: return terr ? gc_be16(td + GC_TERR_CURR_DIGITS) : loc->curr_digits;
    case GC_ITEM_INTL_CURR_DIGITS: return terr ? gc_be16(td + GC_TERR_INTL_DIGITS) : loc->intl_curr_digits;
    case GC_ITEM_CURR_PRECEDES_POS: return pick(GC_TERRF_CURR_PRECEDES_POS, GC_LF_CURR_PRECEDES_POS);
    case GC_ITEM_CURR_SPACE_POS: return pick(GC_TERRF_CURR_SPACE_POS, GC_LF_CURR_SPACE_POS);
    case GC_ITEM_CURR_PRECEDES_NEG: return pick(GC_TERRF_CURR_PRECEDES_NEG, GC_LF_CURR_PRECEDES_NEG);
    case GC_ITEM_CURR_SPACE_NEG: return pick(GC_TERRF_CURR_SPACE_NEG, GC_LF_CURR_SPACE_NEG);
    case GC_ITEM_POS_SIGN_POSN: return terr ? td[GC_TERR_POS_SIGN_POSN] : loc->pos_sign_posn;
    case GC_ITEM_NEG_SIGN_POSN: return terr ? td[GC_TERR_NEG_SIGN_POSN] : loc->neg_sign_posn;
    case GC_ITEM_TERR_FLAG2: return pick(GC_TERRF_FLAG1, GC_LF_TERR_FLAG1);
    case GC_ITEM_TERR_FLAG3: return pick(GC_TERRF_FLAG2, GC_LF_TERR_FLAG2);
    case GC_ITEM_TERR_VALUE18: return gc_be16(td + GC_TERR_VALUE18);
    case GC_ITEM_MAX_CHAR_BYTES: return gcCpMaxLen(loc->codepage);
    case GC_ITEM_ASCII_BASED: return gcCpIsAsciiBased(loc->codepage) ? 1 : 0;
    case GC_ITEM_SHIFT_STATE: return (loc->flags & GC_LF_SHIFT) ? 1 : 0;
    case GC_ITEM_LANGUAGE_CODE: return gc_be16(gcObjSection(loc->language) + GC_LANG_CODE);
    case GC_ITEM_SUBLANGUAGE_CODE: return gc_be16(td + GC_TERR_SUBLANG);
    case GC_ITEM_CODEPAGE_CODE: return gcCpWindowsNumber(loc->codepage);
    default:
      loc->status = GC_E_NO_ITEM;
      return -1;
  }
}
