// The number-reading record (gc_strto_rec.cpp): the reader of plain
// numbers kept per thread with the locale state it was made from. The
// comparison with the locale's state is made in line on every call.
#pragma once

#include <cstdint>
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_strto_int.h"

namespace gcstrto {

constexpr int kRecordDigits = 10;
constexpr size_t kRecordClassBytes = 4 * kRecordDigits;

struct NumberRecord {
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
  uint8_t classes[kRecordClassBytes] = {};  // the digits' class words
  uint8_t leads[kRecordDigits] = {};        // and their lead lengths
  // What was made from it.
  char thousandsText[4] = {};
  TokenReader reader{};
};

// Each thread's record (made on its first number, then whenever the state
// differs).
extern constinit thread_local NumberRecord tlNumberRecord;

// Whether the N bytes at a and b are the same, eight at a time without an
// early exit.
template <size_t N>
inline bool sameBytes(const uint8_t* a, const uint8_t* b) {
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

inline bool sameState(const NumberRecord& r, const GCLocale* loc, const uint8_t* section, uint32_t mapflag) {
  const GCObj* cp = loc->codepage;
  if (!r.valid || r.cp != cp || r.section != section || r.flags != loc->flags ||
      r.thousands != loc->sep[GC_SEP_THOUSANDS] || r.mapflag != mapflag)
    return false;
  if (cp && (r.size != cp->sect_size[0] || r.id != cp->id)) return false;
  // The tables the record read, read again in place.
  const TokenReader& t = r.reader;
  if (!sameBytes<sizeof r.pageFlags>(r.pageFlags, r.main + GC_CPM_FLAGS)) return false;
  if (t.cls && !sameBytes<kRecordClassBytes>(r.classes, t.cls + 4 * unsigned(t.zero))) return false;
  return t.lens.single || sameBytes<kRecordDigits>(r.leads, t.lens.lead + t.zero);
}

// Makes r from loc as it is now.
void recordBuild(NumberRecord* r, GCLocale* loc, const uint8_t* section, uint32_t mapflag);

// The reader of plain numbers (the locale's thousands separator, the
// page's plain signs; neither monetary items nor the territory's) for loc
// as it is now, kept per thread between calls; null for a page with shift
// codes. Valid until the thread's next call.
inline TokenReader* numberReader(GCLocale* loc, uint32_t mapflag) {
  if (loc->flags & GC_LF_SHIFT) return nullptr;
  NumberRecord& r = tlNumberRecord;
  const uint8_t* section = loc->codepage ? gcObjSection(loc->codepage) : nullptr;
  if (!sameState(r, loc, section, mapflag)) recordBuild(&r, loc, section, mapflag);
  r.reader.loc = loc;
  return &r.reader;
}

}  // namespace gcstrto
