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

void tokenReaderStrings(TokenReader* t, const char* cmps1, const char* cmps2) {
  t->cmps1 = cmps1;
  t->cmps2 = cmps2;
  auto length = [](const char* c) {
    return !c || !c[0] ? 0 : (!c[1] ? 1 : static_cast<int32_t>(std::strlen(c))); // signs are mostly one byte
  };
  t->n1 = length(cmps1);
  t->n2 = length(cmps2);
  // The digits that readToken takes at once: one-byte characters that are
  // no space and whose table value is their digit, less the bytes that
  // start a comparison string or are a comparison character.
  // (Every digit table gives zero + d the value d.)
  // Mostly all ten are: their classes and lengths are looked at together.
  // (The class words are or-ed as stored and turned around once.)
  uint32_t stored = 0;
  if (t->cls) {
    const uint8_t* words = t->cls + 4 * unsigned(t->zero);
    for (unsigned d = 0; d < 10; ++d) {
      uint32_t w;
      std::memcpy(&w, words + 4 * d, sizeof w);
      stored |= w;
    }
  }
  const uint32_t classes = gc_be32(reinterpret_cast<const uint8_t*>(&stored));
  uint8_t longest = 1;
  if (!t->lens.single)
    for (unsigned d = 0; d < 10; ++d) longest = t->lens.lead[t->zero + d] > longest ? t->lens.lead[t->zero + d] : longest;
  unsigned plain = 0x3FF;
  if ((classes & GC_C_SPACE) || longest > 1) {
    plain = 0;
    for (unsigned d = 0; d < 10; ++d) {
      const unsigned char c = static_cast<unsigned char>(t->zero + d);
      const bool oneByte = t->lens.single || t->lens.lead[c] <= 1;
      const bool space = t->cls ? (gc_be32(t->cls + 4 * c) & GC_C_SPACE) != 0 : false;
      plain |= (oneByte && !space) ? 1u << d : 0u;
    }
  }
  const char* taken[4] = {t->n1 ? t->cmps1 : nullptr, t->n2 ? t->cmps2 : nullptr, t->cmpc1, t->cmpc2};
  for (const char* k : taken) {
    const unsigned d = k ? static_cast<unsigned>(static_cast<unsigned char>(*k) - t->zero) : 10u;
    if (d < 10) plain &= ~(1u << d);
  }
  t->plain = static_cast<uint16_t>(plain);
}

int readTokenSlow(TokenReader* t, const char* text, int32_t remaining, const char** next) {
  *next = text;
  if (t->flags == 0 && remaining > 0 && text) {
    const int r = readTokenOneByte(t, text, remaining, next);
    if (r != kTokUndecided) return r;
  }
  return GCStrGetDigit(t->loc, text, remaining, next, t->cmpc1, t->cmpc2, t->cmps1, t->cmps2, t->ascii, t->flags);
}

void tokenReaderInit(TokenReader* t, GCLocale* loc, const char* cmpc1, const char* cmpc2, const char* cmps1,
                     const char* cmps2, int ascii, uint32_t flags) {
  t->loc = loc; // resolved by the caller
  gcfmtLensInit(&t->lens, t->loc);
  const GCObj* cp = t->loc->codepage;
  // gcfmtIsSpace's code page: one whose main table is there whole.
  t->cls = (cp && gcObjSection(cp) && cp->sect_size[0] >= GC_CP_MAIN_SIZE) ? gcCpMain(cp) + GC_CPM_CLASS : nullptr;
  t->digits = ascii ? kAscii.v : (cp && cp->id == GC_CP_ID_EBCDIC930) ? kEbcdic930.v : kEbcdic.v;
  t->cmpc1 = cmpc1;
  t->cmpc2 = cmpc2;
  t->ascii = ascii;
  t->flags = flags;
  t->zero = ascii ? '0' : 0xF0;
  tokenReaderStrings(t, cmps1, cmps2);
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

namespace {

// A separator item into buf (room for 2 bytes): the locale's own separator
// byte of a page without shift codes is the item text itself (one byte, or
// none), as GCGetLocaleTextInfo copies it; others are read as items.
void separatorItem(GCLocale* loc, int item, int sep, char* buf, uint32_t itemflag) {
  if (!itemflag && !(loc->flags & GC_LF_SHIFT)) {
    buf[0] = static_cast<char>(loc->sep[sep]);
    buf[1] = '\0';
    return;
  }
  gcfmtTextItem(loc, item, buf, 2, itemflag);
}

}  // namespace

void readNumberItems(GCLocale* loc, uint32_t flags, int ascii, bool withDecimal, NumberItems* items) {
  const uint32_t itemflag = flags & GC_NUM_ITEMFLAG;
  items->plus = plainPlus(ascii);
  items->minus = plainMinus(ascii);
  if (flags & GC_NUM_MONETARY) {
    separatorItem(loc, GC_ITEM_MON_THOUSANDS, GC_SEP_MON_THOUSANDS, items->thou, itemflag);
    if (withDecimal) separatorItem(loc, GC_ITEM_MON_DECIMAL, GC_SEP_MON_DECIMAL, items->dec, itemflag);
    gcfmtTextItem(loc, GC_ITEM_POS_SIGN, items->pos, sizeof items->pos, itemflag);
    gcfmtTextItem(loc, GC_ITEM_NEG_SIGN, items->neg, sizeof items->neg, itemflag);
    items->plus = items->pos;
    items->minus = items->neg;
  } else {
    separatorItem(loc, GC_ITEM_THOUSANDS, GC_SEP_THOUSANDS, items->thou, itemflag);
    if (withDecimal) separatorItem(loc, GC_ITEM_DECIMAL, GC_SEP_DECIMAL, items->dec, itemflag);
  }
  items->thouc = items->thou[0] ? items->thou : nullptr;
  items->decc = items->dec[0] ? items->dec : nullptr;
}

}  // namespace gcstrto
