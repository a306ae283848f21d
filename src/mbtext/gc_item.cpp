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
    case 59: return GC_SEP_DECIMAL;
    case 60: return GC_SEP_THOUSANDS;
    case 61: return GC_SEP_LIST;
    case 66: return GC_SEP_MON_DECIMAL;
    case 67: return GC_SEP_MON_THOUSANDS;
    default: return -1;
  }
}

int gcItemTextIndex(int item, int* entry) {
  static const int items[GC_TXT_COUNT] = {62, 64, 68, 71, 72, 79, 80, 81};
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
  return d + gc_be16(d + 12 + 2 * entry);
}

const uint8_t* terr_text(const GCObj* terr, int entry) {
  const uint8_t* d = gcObjSection(terr);
  return d + gc_be16(d + 24 + 2 * entry);
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
  int entry;
  int sep = gcItemSepIndex(item);
  int t = gcItemTextIndex(item, &entry);
  if (item >= 16 && item <= 57) r = lang_text(loc->language, item - 14);
  else if (item == 3 || item == 4) r = lang_text(loc->language, item - 3);
  else if (item == 7 || item == 8) r = terr_text(loc->territory, item - 7);
  else if (item == 65) r = terr_text(loc->territory, 5);
  else if (sep >= 0) {
    if (fromLocale) {
      r = &loc->sep[sep];
      k = GC_TEXT_CODEPAGE;
    } else {
      r = gcObjSection(loc->territory) + 2 * sep;
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
      case 2: r = loc->language->name; break;
      case 6: r = loc->territory->name; break;
      case 10: r = loc->codepage->name; break;
      case 12: r = loc->sort ? loc->sort->name : kBinary; break;
      case 13: r = default_name(loc, GC_CLASS_TERRITORY, 0); break;
      case 14: r = default_name(loc, GC_CLASS_CODEPAGE, 2); break;
      case 15: r = default_name(loc, GC_CLASS_SORT, 4); break;
      case 94: {
        const uint8_t* n = gcCpMain(loc->codepage) + 4368;
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
  if (item == 88) {
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
  const uint16_t tf = gc_be16(td + 20);
  auto pick = [&](uint16_t tbit, uint16_t lbit) -> int32_t {
    return terr ? ((tf & tbit) ? 1 : 0) : ((loc->flags & lbit) ? 1 : 0);
  };
  switch (item) {
    case 1: return loc->language->id;
    case 5: return loc->territory->id;
    case 9: return loc->codepage->id;
    case 11: return loc->sort ? loc->sort->id : 0;
    case 58: return (tf & 0x01) ? 1 : 0;
    case 63: return terr ? gc_be16(td + 10) : loc->digits;
    case 69: return terr ? gc_be16(td + 12) : loc->curr_digits;
    case 70: return terr ? gc_be16(td + 14) : loc->intl_curr_digits;
    case 73: return pick(0x02, GC_LF_CURR_PRECEDES_POS);
    case 74: return pick(0x04, GC_LF_CURR_SPACE_POS);
    case 75: return pick(0x08, GC_LF_CURR_PRECEDES_NEG);
    case 76: return pick(0x10, GC_LF_CURR_SPACE_NEG);
    case 77: return terr ? td[16] : loc->pos_sign_posn;
    case 78: return terr ? td[17] : loc->neg_sign_posn;
    case 82: return pick(0x20, GC_LF_TERR_FLAG1);
    case 83: return pick(0x40, GC_LF_TERR_FLAG2);
    case 84: return gc_be16(td + 18);
    case 85: return gcCpMaxLen(loc->codepage);
    case 86: return gcCpIsAsciiBased(loc->codepage) ? 1 : 0;
    case 87: return (loc->flags & GC_LF_SHIFT) ? 1 : 0;
    case 91: return gc_be16(gcObjSection(loc->language) + 10);
    case 92: return gc_be16(td + 22);
    case 93: return gcCpWindowsNumber(loc->codepage);
    default:
      loc->status = GC_E_NO_ITEM;
      return -1;
  }
}
