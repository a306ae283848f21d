// Setting locale items, and the special case mappings of a language.
#include <cstring>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_item_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_nav_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_types_int.h"

namespace {

constexpr int kMaxText = 32;  // characters of a text set by the caller
constexpr int kMaxName = 32;  // bytes of an object name

int fail(GCLocale* loc, uint32_t st) {
  loc->status = st;
  return 0;
}

int set_object(GCLocale* loc, int item, const char* value, int32_t length) {
  if (length > kMaxName) length = kMaxName;
  char name[kMaxName + 1];
  const GCObj* cp = loc->codepage;
  if (gcCpIsAsciiBased(cp)) {
    std::memcpy(name, value, size_t(length));
  } else {
    // Object names are ASCII: every byte must be a character of its own.
    const GCObj* ascii = gcCodePageAscii();
    for (int32_t i = 0; i < length; ++i) {
      auto b = uint8_t(value[i]);
      bool whole;
      if (gcNavSpan(loc, &b, 1, &whole) != 1 || !whole || gcCpLeadLen(cp, b) > 1)
        return fail(loc, GC_E_NOT_FOUND);
      char out[4];
      if (GCCpUnicodeToChar(ascii, gcCpByteToUcs2(cp, b), out) != 1) return fail(loc, GC_E_NOT_FOUND);
      name[i] = out[0];
    }
  }
  name[length] = 0;
  GCOctx* ocx = gcObjManager();
  if (!ocx) return fail(loc, GC_E_NOT_FOUND);
  static const uint8_t cls_of[4] = {GC_CLASS_LANGUAGE, GC_CLASS_TERRITORY, GC_CLASS_CODEPAGE,
                                    GC_CLASS_SORT};
  uint8_t cls = cls_of[item == GC_ITEM_LANGUAGE_OBJ    ? 0
                       : item == GC_ITEM_TERRITORY_OBJ ? 1
                       : item == GC_ITEM_CODEPAGE_OBJ  ? 2
                                                       : 3];
  uint32_t st = GC_OK;
  GCObj* obj = GCGetObjFromName(ocx, cls, name, length, GC_FIND_LOAD, &st);
  if (!obj && !(cls == GC_CLASS_SORT && st == GC_OK)) return fail(loc, st);
  switch (item) {
    case GC_ITEM_LANGUAGE_OBJ: loc->language = obj; break;
    case GC_ITEM_TERRITORY_OBJ: {
      uint32_t r = GCLocaleChangeTerritory(loc, obj);
      if (r != GC_OK) return fail(loc, r);
      break;
    }
    case GC_ITEM_CODEPAGE_OBJ:
      if (obj != loc->codepage) {
        uint32_t r = GCLocaleChangeCodePage(loc, obj);
        if (r != GC_OK) return fail(loc, r);
      }
      break;
    default:
      loc->sort = obj;
      if (obj) loc->flags = uint16_t(loc->flags & ~GC_LF_NOSORT);
      else loc->flags |= GC_LF_NOSORT;
      break;
  }
  loc->status = GC_OK;
  return 1;
}

int set_separator(GCLocale* loc, int i, const char* value) {
  const GCObj* cp = loc->codepage;
  const auto b = uint8_t(value[0]);
  bool whole;
  uint8_t one[2] = {b, 0};
  if (b != 0 && (gcNavSpan(loc, one, 1, &whole) != 1 || !whole || gcCpLeadLen(cp, b) > 1 ||
                 ((loc->flags & GC_LF_SHIFT) && (b == gcCpShiftOut(cp) || b == gcCpShiftIn(cp)))))
    return fail(loc, GC_E_NOT_FOUND);
  if (i != GC_SEP_LIST) {
    bool digit = gcCpIsAsciiBased(cp) ? (b >= 0x30 && b <= 0x39) : (b >= 0xF0 && b <= 0xF9);
    if (digit) return fail(loc, GC_E_NOT_FOUND);
  }
  int partner = i == GC_SEP_DECIMAL       ? GC_SEP_THOUSANDS
                : i == GC_SEP_THOUSANDS   ? GC_SEP_DECIMAL
                : i == GC_SEP_MON_DECIMAL ? GC_SEP_MON_THOUSANDS
                : i == GC_SEP_MON_THOUSANDS ? GC_SEP_MON_DECIMAL
                                            : -1;
  if (partner >= 0 && b != 0 && loc->sep[partner] == b) return fail(loc, GC_E_NOT_FOUND);
  if ((i == GC_SEP_DECIMAL || i == GC_SEP_MON_DECIMAL) && b == 0) return fail(loc, GC_E_NOT_FOUND);
  loc->sep[i] = b;
  loc->sepU[i] = b == 0 ? 0 : gcCpByteToUcs2(cp, b);
  loc->kept |= GC_KEEP_SEP_FIRST << i;
  loc->status = GC_OK;
  return 1;
}

int set_text(GCLocale* loc, int t, const char* value, int32_t length) {
  const GCObj* cp = loc->codepage;
  // Whole characters only.
  int32_t bytes = 0, chars = 0;
  while (bytes < length) {
    bool whole;
    int n = gcNavSpan(loc, reinterpret_cast<const uint8_t*>(value) + bytes, length - bytes, &whole);
    if (n < 1 || !whole) break;
    bytes += n;
    ++chars;
  }
  if (chars > kMaxText) return fail(loc, GC_E_ARG);
  auto* text = static_cast<char*>(gcAlloc(uint32_t(bytes) + 1));
  // At most one unit per byte (a UTF-8 character of four bytes gives two).
  auto* textU = static_cast<GCUChar*>(gcAlloc(2 * (uint32_t(bytes) + 1)));
  if (!text || !textU) {
    gcFree(text);
    gcFree(textU);
    return fail(loc, GC_E_NOMEM);
  }
  std::memcpy(text, value, size_t(bytes));
  text[bytes] = 0;
  int32_t units = bytes > 0 ? GCCpStrToUnicode(cp, text, bytes, textU) : 0;
  if (units < 0) units = 0;
  textU[units] = 0;
  gcFree(loc->text[t]);
  gcFree(loc->textU[t]);
  loc->text[t] = text;
  loc->textU[t] = textU;
  loc->kept |= GC_KEEP_TEXT_FIRST << t;
  loc->status = GC_OK;
  return 1;
}

} // namespace

int GCSetLocaleTextInfo(GCLocale* locale, int item, const char* value, int32_t length, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags != 0 && flags != GC_FL_CHARS) return fail(loc, GC_E_ARG);
  // The built-in default locale is shared, read-only data.
  if (!locale && !gcglocale) return fail(loc, GC_E_ARG);
  if (!value && length != 0) return fail(loc, GC_E_ARG);
  if (length < -1) return fail(loc, GC_E_ARG);
  const bool isObj = item == GC_ITEM_LANGUAGE_OBJ || item == GC_ITEM_TERRITORY_OBJ ||
                     item == GC_ITEM_CODEPAGE_OBJ || item == GC_ITEM_SORT_OBJ;
  const int sep = gcItemSepIndex(item), t = gcItemTextIndex(item, nullptr);
  if (!isObj && sep < 0 && t < 0) return fail(loc, GC_E_NO_ITEM);
  if (flags == GC_FL_CHARS && length >= 1) {
    length = gcCpCharsToBytes(loc->codepage, value, 0, length, false); // stops at the NUL
  } else if (length == -1 && (length = gcTextLen(value)) < 0) {
    return fail(loc, GC_E_ARG);
  }
  if (length == 0) {
    loc->status = GC_OK;
    return 1;
  }
  if (isObj) return set_object(loc, item, value, length);
  if (sep >= 0) return set_separator(loc, sep, value);
  return set_text(loc, t, value, length);
}

int GCLangGetSpecial(const GCObj* language, GCUChar first, GCUChar second, GCUChar* out1,
                     GCUChar* out2, int table) {
  const uint8_t* d = language ? gcObjSection(language) : nullptr;
  if (!d || (table != GC_LANG_TABLE_UPPER && table != GC_LANG_TABLE_LOWER)) return 0;
  uint32_t count = gc_be16(d + (table == GC_LANG_TABLE_UPPER ? GC_LANG_UPPER_COUNT : GC_LANG_LOWER_COUNT));
  const uint8_t* rec = d + gc_be16(d + GC_LANG_OFFSETS + 2 * table);
  for (uint32_t i = 0; i < count; ++i, rec += GC_LANG_SPECIAL_SIZE) {
    if (gc_be16(rec) != first || gc_be16(rec + 2) != second) continue;
    GCUChar o1 = gc_be16(rec + 4), o2 = gc_be16(rec + 6);
    if (out1) *out1 = o1;
    if (out2) *out2 = o2;
    return o2 == 0 ? 1 : 2;
  }
  return 0;
}

int gcLangSpecialFirsts(const GCObj* language, int table, GCUChar* firsts, int max) {
  const uint8_t* d = language ? gcObjSection(language) : nullptr;
  if (!d || (table != GC_LANG_TABLE_UPPER && table != GC_LANG_TABLE_LOWER)) return 0;
  uint32_t count = gc_be16(d + (table == GC_LANG_TABLE_UPPER ? GC_LANG_UPPER_COUNT : GC_LANG_LOWER_COUNT));
  const uint8_t* rec = d + gc_be16(d + GC_LANG_OFFSETS + 2 * table);
  int n = 0;
  for (uint32_t i = 0; i < count; ++i, rec += GC_LANG_SPECIAL_SIZE) {
    const GCUChar f = gc_be16(rec);
    bool known = false;
    for (int j = 0; j < n && !known; ++j) known = firsts[j] == f;
    if (known) continue;
    if (n == max) return -1;
    firsts[n++] = f;
  }
  return n;
}
