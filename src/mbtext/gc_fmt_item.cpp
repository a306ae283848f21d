// Locale items for the formatters, read through the locale item calls with
// the caller's status left as it was.
#include "mbtext/gc_fmt_item_int.h"

#include "mbtext/gc_item.h"

int gcfmtTextItem(GCLocale* locale, int item, char* buf, int size, uint32_t itemflag) {
  if (!locale || !buf || size < 1) return -1;
  const uint32_t keep = locale->status;
  int n = GCGetLocaleTextInfo(locale, item, buf, size, itemflag & 1);
  locale->status = keep;
  if (n < 1) {
    buf[0] = '\0';
    return n < 0 ? -1 : 1;
  }
  return n;
}

int gcfmtDigits(const GCLocale* locale, uint32_t itemflag) {
  if (!locale) return 0;
  GCLocale* loc = const_cast<GCLocale*>(locale);
  const uint32_t keep = loc->status;
  int n = GCGetLocaleNumInfo(loc, GC_ITEM_DIGITS, itemflag & 1);
  loc->status = keep;
  return n < 0 ? 0 : n;
}
