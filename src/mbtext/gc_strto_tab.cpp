// Digit tables of the number readers and their small character tests.
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_ctype.h"
#include "mbtext/gc_ctype_int.h"
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_item_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_strto_int.h"

namespace {

constexpr auto makeAscii() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v['0' + i] = i;
  for (int i = 0; i < 26; ++i) t.v['A' + i] = t.v['a' + i] = 10 + i;
  return t;
}

constexpr auto makeEbcdic() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v[0xF0 + i] = i;
  for (int i = 0; i < 9; ++i) t.v[0xC1 + i] = t.v[0x81 + i] = 10 + i;
  for (int i = 0; i < 9; ++i) t.v[0xD1 + i] = t.v[0x91 + i] = 19 + i;
  for (int i = 0; i < 8; ++i) t.v[0xE2 + i] = t.v[0xA2 + i] = 28 + i;
  return t;
}

constexpr auto makeEbcdic930() {
  struct T {
    int32_t v[256];
  } t{};
  for (int i = 0; i < 256; ++i) t.v[i] = -1;
  for (int i = 0; i < 10; ++i) t.v[0xF0 + i] = i;
  for (int i = 0; i < 9; ++i) t.v[0xC1 + i] = 10 + i;
  for (int i = 0; i < 9; ++i) t.v[0xD1 + i] = 19 + i;
  for (int i = 0; i < 8; ++i) t.v[0xE2 + i] = 28 + i;
  for (int i = 0; i < 8; ++i) t.v[0x62 + i] = 10 + i;
  for (int i = 0; i < 8; ++i) t.v[0x71 + i] = 18 + i;
  t.v[0x8B] = 26;
  t.v[0x9B] = 27;
  t.v[0xAB] = 28;
  for (int i = 0; i < 7; ++i) t.v[0xB3 + i] = 29 + i;
  return t;
}

constexpr auto kAscii = makeAscii();
constexpr auto kEbcdic = makeEbcdic();
constexpr auto kEbcdic930 = makeEbcdic930();

}  // namespace

const int32_t (&GCAsciiToNum)[256] = kAscii.v;
const int32_t (&GCEbcdicToNum)[256] = kEbcdic.v;
const int32_t (&GCEbcdic930ToNum)[256] = kEbcdic930.v;

namespace gcstrto {

int32_t digitAscii(unsigned char c) { return kAscii.v[c]; }
int32_t digitEbcdic(unsigned char c) { return kEbcdic.v[c]; }
int32_t digitEbcdic930(unsigned char c) { return kEbcdic930.v[c]; }

int32_t digitOf(const GCLocale* loc, int ascii, unsigned char c) {
  if (ascii) return kAscii.v[c];
  if (loc && loc->codepage && loc->codepage->id == GC_CP_ID_EBCDIC930) return kEbcdic930.v[c];
  return kEbcdic.v[c];
}

int mapChar(GCLocale* loc, const char* p, int len, unsigned char* c) {
  uint32_t keep = loc->status;
  char mapped[5];
  int m = GCMapString(loc, mapped, sizeof mapped, p, len, GC_MAP_DIGITS);
  loc->status = keep;
  if (m <= 0) {
    *c = static_cast<unsigned char>(p[0]);
    return len;
  }
  *c = static_cast<unsigned char>(mapped[0]);
  return m;
}

bool isSpaceU(uint32_t u) { return u <= 0xFFFF && gcIsSpaceU(static_cast<GCUChar>(u)); }

bool isSpaceChar(GCLocale* loc, const unsigned char* p, int len) {
  if (len == 1) return gcfmtIsSpace(loc, p[0]);
  const GCObj* cp = loc->codepage;
  if (!cp || !gcObjSection(cp)) return false;
  if (gcCpIsUtf8(cp)) {
    GCUChar u[2];
    int used = 0;
    return gcCpToUcs2(cp, p, len, u, &used) > 0 && isSpaceU(u[0]);
  }
  GCPacked v = 0;
  for (int k = 0; k < len; ++k) v = (v << 8) | p[k];
  return (gcCtypeClass(GCGetMbCtypeW(cp, v)) & GC_C_SPACE) != 0;
}

int32_t matchText(const char* text, int32_t remaining, const char* s) {
  if (!s || !*s) return 0;
  int32_t n = static_cast<int32_t>(std::strlen(s));
  if (n > remaining || std::memcmp(text, s, static_cast<size_t>(n)) != 0) return 0;
  return n;
}

void readNumberItems(GCLocale* loc, uint32_t flags, int ascii, bool withDecimal, NumberItems* items) {
  const uint32_t itemflag = flags & GC_NUM_ITEMFLAG;
  items->plus = plainPlus(ascii);
  items->minus = plainMinus(ascii);
  if (flags & GC_NUM_MONETARY) {
    gcfmtTextItem(loc, GC_ITEM_MON_THOUSANDS, items->thou, 2, itemflag);
    if (withDecimal) gcfmtTextItem(loc, GC_ITEM_MON_DECIMAL, items->dec, 2, itemflag);
    gcfmtTextItem(loc, GC_ITEM_POS_SIGN, items->pos, sizeof items->pos, itemflag);
    gcfmtTextItem(loc, GC_ITEM_NEG_SIGN, items->neg, sizeof items->neg, itemflag);
    items->plus = items->pos;
    items->minus = items->neg;
  } else {
    gcfmtTextItem(loc, GC_ITEM_THOUSANDS, items->thou, 2, itemflag);
    if (withDecimal) gcfmtTextItem(loc, GC_ITEM_DECIMAL, items->dec, 2, itemflag);
  }
  items->thouc = items->thou[0] ? items->thou : nullptr;
  items->decc = items->dec[0] ? items->dec : nullptr;
}

}  // namespace gcstrto
