// The number-reading record: what GCStringToLong looks up in a locale
// before it reads a digit (separators, signs, the code page's lengths and
// classes, which digits read in line), kept per thread for the locale state
// it was made from.
//
// Locales are shared between threads, so the record is never stored in
// one: each thread keeps the record of the last state it read numbers in.
// The state is compared on every call (the code page, its loaded table,
// the locale's flags and thousands separator, and the page's flags word and
// the class words and lengths of the digits themselves), so a changed locale, a code page
// loaded again or unloaded, or a table changed in place makes a new record.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_strto_rec_int.h"

namespace gcstrto {

constinit thread_local NumberRecord tlNumberRecord;

void recordBuild(NumberRecord* r, GCLocale* loc, const uint8_t* section, uint32_t mapflag) {
  const GCObj* cp = loc->codepage;
  const int ascii = gcfmtAscii(loc) ? 1 : 0;
  NumberItems items;
  readNumberItems(loc, 0, ascii, false, &items);
  std::memcpy(r->thousandsText, items.thou, sizeof r->thousandsText);
  tokenReaderInit(&r->reader, loc, r->thousandsText[0] ? r->thousandsText : nullptr, nullptr, items.plus,
                  items.minus, ascii, mapflag);
  r->cp = cp;
  r->section = section;
  r->size = cp ? cp->sect_size[0] : 0;
  r->id = cp ? cp->id : 0;
  r->flags = loc->flags;
  r->thousands = loc->sep[GC_SEP_THOUSANDS];
  r->mapflag = mapflag;
  r->main = cp ? gcCpMain(cp) : gcBuiltinCodePage()->sect[0];
  std::memcpy(r->pageFlags, r->main + GC_CPM_FLAGS, sizeof r->pageFlags);
  const TokenReader& t = r->reader;
  if (t.cls) std::memcpy(r->classes, t.cls + 4 * unsigned(t.zero), kRecordClassBytes);
  if (!t.lens.single) std::memcpy(r->leads, t.lens.lead + t.zero, kRecordDigits);
  r->valid = true;
}

}  // namespace gcstrto
