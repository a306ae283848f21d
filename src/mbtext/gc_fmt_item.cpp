// Locale items for the formatters.
#include "mbtext/gc_fmt_item.h"

#include <cstring>

#include "mbtext/gc_fmt_cp.h"

namespace {

// Offsets in the language data (section 0 of a language object).
constexpr uint32_t kLangOffsets = 12;
constexpr int kLangEntries = 46;
// Offsets in the territory data (section 0 of a territory object).
constexpr uint32_t kTerrOffsets = 24;
constexpr int kTerrEntries = 12;

int copyCodePageText(const GCLocale* locale, const char* text, char* buf, int size) {
  int n = 0;
  if (text) {
    int i = 0;
    while (text[i]) {
      int len = gcfmtCharLen(locale, static_cast<unsigned char>(text[i]));
      int k = 1;
      while (k < len && text[i + k]) ++k;
      if (k < len || n + len > size - 1) break;
      std::memcpy(buf + n, text + i, static_cast<size_t>(len));
      n += len;
      i += len;
    }
  }
  buf[n] = '\0';
  return n + 1;
}

// Unicode text number `entry` of an object's data (offset table at `table`),
// converted into the locale's code page.
int objectText(GCLocale* locale, const GCObj* obj, uint32_t table, int entries, int entry, char* buf, int size) {
  buf[0] = '\0';
  if (!obj || !obj->sect[0] || entry < 0 || entry >= entries) return 1;
  const uint8_t* d = obj->sect[0];
  uint32_t sz = obj->sect_size[0];
  uint32_t at = table + 2 * static_cast<uint32_t>(entry);
  if (at + 2 > sz) return 1;
  uint32_t off = (uint32_t(d[at]) << 8) | d[at + 1];
  int n = 0;
  while (off + 2 <= sz) {
    GCUChar u = static_cast<GCUChar>((d[off] << 8) | d[off + 1]);
    if (u == 0) break;
    char ch[4];
    int len = gcfmtUcsToChar(locale, u, ch);
    if (n + len > size - 1) break;  // whole characters only
    std::memcpy(buf + n, ch, static_cast<size_t>(len));
    n += len;
    off += 2;
  }
  buf[n] = '\0';
  return n + 1;
}

int languageText(GCLocale* locale, int entry, char* buf, int size) {
  return objectText(locale, locale->language, kLangOffsets, kLangEntries, entry, buf, size);
}

// The territory's own separator (its Unicode value in the code page).
int territorySeparator(GCLocale* locale, int index, char* buf, int size) {
  const GCObj* terr = locale->territory;
  buf[0] = '\0';
  if (!terr || !terr->sect[0] || terr->sect_size[0] < 10 || size < 2) return 1;
  const uint8_t* d = terr->sect[0] + 2 * index;
  GCUChar u = static_cast<GCUChar>((d[0] << 8) | d[1]);
  if (u == 0) return 1;
  char ch[4];
  if (gcfmtUcsToChar(locale, u, ch) != 1) return 1;
  buf[0] = ch[0];
  buf[1] = '\0';
  return 2;
}

int separator(const GCLocale* locale, int index, char* buf, int size) {
  unsigned char c = locale->sep[index];
  if (c && size >= 2) {
    buf[0] = static_cast<char>(c);
    buf[1] = '\0';
    return 2;
  }
  buf[0] = '\0';
  return 1;
}

}  // namespace

int gcfmtTextItem(GCLocale* locale, int item, char* buf, int size, uint32_t itemflag) {
  if (!locale || !buf || size < 1) return -1;
  if (item >= GC_ITEM_DAY && item <= GC_ITEM_PM) return languageText(locale, item - GC_ITEM_DAY + 2, buf, size);
  if (itemflag & 1) {
    // The territory's own values rather than the locale's changed ones.
    switch (item) {
      case GC_ITEM_DECIMAL: return territorySeparator(locale, GC_SEP_DECIMAL, buf, size);
      case GC_ITEM_THOUSANDS: return territorySeparator(locale, GC_SEP_THOUSANDS, buf, size);
      case GC_ITEM_MON_DECIMAL: return territorySeparator(locale, GC_SEP_MON_DECIMAL, buf, size);
      case GC_ITEM_MON_THOUSANDS: return territorySeparator(locale, GC_SEP_MON_THOUSANDS, buf, size);
      case GC_ITEM_GROUPING: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 2, buf, size);
      case GC_ITEM_POS_SIGN: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 6, buf, size);
      case GC_ITEM_NEG_SIGN: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 7, buf, size);
      case GC_ITEM_TIME_FMT: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 8, buf, size);
      case GC_ITEM_SDATE_FMT: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 9, buf, size);
      case GC_ITEM_LDATE_FMT: return objectText(locale, locale->territory, kTerrOffsets, kTerrEntries, 10, buf, size);
      default: return -1;
    }
  }
  switch (item) {
    case GC_ITEM_DECIMAL: return separator(locale, GC_SEP_DECIMAL, buf, size);
    case GC_ITEM_THOUSANDS: return separator(locale, GC_SEP_THOUSANDS, buf, size);
    case GC_ITEM_MON_DECIMAL: return separator(locale, GC_SEP_MON_DECIMAL, buf, size);
    case GC_ITEM_MON_THOUSANDS: return separator(locale, GC_SEP_MON_THOUSANDS, buf, size);
    case GC_ITEM_GROUPING: return copyCodePageText(locale, locale->text[GC_TXT_GROUPING], buf, size);
    case GC_ITEM_POS_SIGN: return copyCodePageText(locale, locale->text[GC_TXT_POS_SIGN], buf, size);
    case GC_ITEM_NEG_SIGN: return copyCodePageText(locale, locale->text[GC_TXT_NEG_SIGN], buf, size);
    case GC_ITEM_TIME_FMT: return copyCodePageText(locale, locale->text[GC_TXT_TIME_FMT], buf, size);
    case GC_ITEM_SDATE_FMT: return copyCodePageText(locale, locale->text[GC_TXT_SDATE_FMT], buf, size);
    case GC_ITEM_LDATE_FMT: return copyCodePageText(locale, locale->text[GC_TXT_LDATE_FMT], buf, size);
    default: return -1;
  }
}

int gcfmtDigits(const GCLocale* locale, uint32_t itemflag) {
  if (!locale) return 0;
  if (itemflag & 1) {
    const GCObj* terr = locale->territory;
    if (terr && terr->sect[0] && terr->sect_size[0] >= 12) return (terr->sect[0][10] << 8) | terr->sect[0][11];
  }
  return locale->digits;
}
