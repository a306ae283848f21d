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
#include "mbtext/gc_strto_int.h"

namespace gcstrto {

namespace {

constexpr int kDigits = 10;
constexpr size_t kClassBytes = 4 * kDigits;

struct Record {
  bool valid = false;
  // The state the record was made from.
  const GCObj* cp = nullptr;
  const uint8_t* section = nullptr;
  uint32_t size = 0;
  uint16_t id = 0;
  uint16_t flags = 0;
  unsigned char thousands = 0;
  uint32_t mapflag = 0;
  const uint8_t* main = nullptr;      // the page's main table (or the built-in one)
  uint8_t pageFlags[2] = {};          // its flags word (ASCII- or EBCDIC-based)
  uint8_t classes[kClassBytes] = {};  // the digits' class words
  uint8_t leads[kDigits] = {};        // and their lead lengths
  // What was made from it.
  char thousandsText[4] = {};
  TokenReader reader{};
};

thread_local Record tlRecord;

// Whether the N bytes at a and b are the same, eight at a time without an
// early exit.
template <size_t N>
bool sameBytes(const uint8_t* a, const uint8_t* b) {
  uint64_t diff = 0;
  size_t i = 0;
  for (; i + 8 <= N; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    diff |= x ^ y;
  }
  for (; i < N; ++i) diff |= uint64_t(a[i] ^ b[i]);
  return diff == 0;
}

bool sameState(const Record& r, const GCLocale* loc, const uint8_t* section, uint32_t mapflag) {
  const GCObj* cp = loc->codepage;
  if (!r.valid || r.cp != cp || r.section != section || r.flags != loc->flags ||
      r.thousands != loc->sep[GC_SEP_THOUSANDS] || r.mapflag != mapflag)
    return false;
  if (cp && (r.size != cp->sect_size[0] || r.id != cp->id)) return false;
  // The tables the record read, read again in place.
  const TokenReader& t = r.reader;
  if (!sameBytes<sizeof r.pageFlags>(r.pageFlags, r.main + GC_CPM_FLAGS)) return false;
  if (t.cls && !sameBytes<kClassBytes>(r.classes, t.cls + 4 * unsigned(t.zero))) return false;
  return t.lens.single || sameBytes<kDigits>(r.leads, t.lens.lead + t.zero);
}

void build(Record* r, GCLocale* loc, const uint8_t* section, uint32_t mapflag) {
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
  if (t.cls) std::memcpy(r->classes, t.cls + 4 * unsigned(t.zero), kClassBytes);
  if (!t.lens.single) std::memcpy(r->leads, t.lens.lead + t.zero, kDigits);
  r->valid = true;
}

}  // namespace

TokenReader* numberReader(GCLocale* loc, uint32_t mapflag) {
  if (loc->flags & GC_LF_SHIFT) return nullptr;
  Record& r = tlRecord;
  const uint8_t* section = loc->codepage ? gcObjSection(loc->codepage) : nullptr;
  if (!sameState(r, loc, section, mapflag)) build(&r, loc, section, mapflag);
  r.reader.loc = loc;
  return &r.reader;
}

}  // namespace gcstrto
