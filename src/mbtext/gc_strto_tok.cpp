// Token readers of the number parsers: multibyte text, UCS-2 units, packed
// values and shift-state text.
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_strto_int.h"

using namespace gcstrto;

namespace {

// The tokens that open a UCS-2 or packed text before any character test: a
// run of white space, then the first and the second comparison string. Sets
// *next past the token; GC_TOK_END when none of them stands at the start.
template <class Unit, class IsSpace>
int leadToken(const Unit* text, int32_t remaining, const Unit** next, const Unit* cmps1, const Unit* cmps2,
              IsSpace isSpace) {
  if (int32_t n = spaceRun(text, remaining, isSpace)) {
    *next = text + n;
    return GC_TOK_SPACE;
  }
  if (int32_t n = matchUnits(text, remaining, cmps1)) {
    *next = text + n;
    return GC_TOK_STR1;
  }
  if (int32_t n = matchUnits(text, remaining, cmps2)) {
    *next = text + n;
    return GC_TOK_STR2;
  }
  return GC_TOK_END;
}

}  // namespace

int GCStrGetDigit(GCLocale* locale, const char* text, int32_t remaining, const char** next, const char* cmpc1,
                  const char* cmpc2, const char* cmps1, const char* cmps2, int ascii, uint32_t flags) {
  *next = text;
  if (flags != 0 && flags != GC_NUM_MAP) return GC_TOK_END;
  if (remaining <= 0 || !text) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  int len = gcfmtCharLen(loc, p[0]);
  if (len > remaining) return GC_TOK_END;
  if (isSpaceChar(loc, p, len)) {
    // The run of white space, whole characters within the remaining bytes.
    int32_t i = len;
    while (i < remaining) {
      int l = gcfmtCharLen(loc, p[i]);
      if (l > remaining - i || !isSpaceChar(loc, p + i, l)) break;
      i += l;
    }
    *next = text + i;
    return GC_TOK_SPACE;
  }
  if (int32_t slen = matchText(text, remaining, cmps1)) {
    *next = text + slen;
    return GC_TOK_STR1;
  }
  if (int32_t slen = matchText(text, remaining, cmps2)) {
    *next = text + slen;
    return GC_TOK_STR2;
  }
  // Only (mapped) one-byte characters are separators or digits.
  unsigned char c = p[0];
  int clen = len;
  if (flags & GC_NUM_MAP) clen = mapChar(loc, text, len, &c);
  if (clen != 1) return GC_TOK_END;
  if (cmpc1 && static_cast<unsigned char>(*cmpc1) == c && c) {
    *next = text + len;
    return GC_TOK_CHAR1;
  }
  if (cmpc2 && static_cast<unsigned char>(*cmpc2) == c && c) {
    *next = text + len;
    return GC_TOK_CHAR2;
  }
  int32_t v = ascii ? digitAscii(c) : digitEbcdic(c);
  if (v < 0) return GC_TOK_END;
  *next = text + len;
  return v;
}

int GCStrGetDigitU(GCLocale* locale, const GCUChar* text, int32_t remaining, const GCUChar** next, GCUChar cmp1,
                   GCUChar cmp2, const GCUChar* cmps1, const GCUChar* cmps2, uint32_t flags) {
  *next = text;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  const int lead = leadToken(text, remaining, next, cmps1, cmps2, [](GCUChar u) { return isSpaceU(u); });
  if (lead != GC_TOK_END) return lead;
  GCUChar c = text[0];
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    GCUChar m = c;
    if (GCMapStringU(loc, &m, 1, &c, 1, GC_MAP_DIGITS) == 1) c = m;
    loc->status = keep;
  }
  if (cmp1 && c == cmp1) {
    *next = text + 1;
    return GC_TOK_CHAR1;
  }
  if (cmp2 && c == cmp2) {
    *next = text + 1;
    return GC_TOK_CHAR2;
  }
  if (c >= 256 || digitAscii(static_cast<unsigned char>(c)) < 0) return GC_TOK_END;
  *next = text + 1;
  return digitAscii(static_cast<unsigned char>(c));
}

int GCStrGetDigitW(GCLocale* locale, const uint32_t* text, int32_t remaining, const uint32_t** next, uint32_t cmp1,
                   uint32_t cmp2, const uint32_t* cmps1, const uint32_t* cmps2, int ascii, uint32_t flags) {
  *next = text;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  auto isSpace = [&](uint32_t v) {
    if (v < 256) return gcfmtIsSpace(loc, static_cast<unsigned char>(v));
    if (!loc->codepage || gcCpIsUtf8(loc->codepage) || !gcObjSection(loc->codepage)) return false;
    const uint8_t* rec = GCGetMbCtypeW(loc->codepage, v);
    return rec && (gcCtypeClass(rec) & GC_C_SPACE) != 0;
  };
  const int lead = leadToken(text, remaining, next, cmps1, cmps2, isSpace);
  if (lead != GC_TOK_END) return lead;
  uint32_t c = text[0];
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    GCPacked m = c;
    GCPacked src = c;
    if (GCMapStringW(loc, &m, 1, &src, 1, GC_MAP_DIGITS) == 1) c = m;
    loc->status = keep;
  }
  if (c >= 256) return GC_TOK_END;
  if (cmp1 && c == cmp1) {
    *next = text + 1;
    return GC_TOK_CHAR1;
  }
  if (cmp2 && c == cmp2) {
    *next = text + 1;
    return GC_TOK_CHAR2;
  }
  int32_t v = digitOf(loc, ascii, static_cast<unsigned char>(c));
  if (v < 0) return GC_TOK_END;
  *next = text + 1;
  return v;
}

int GCStrGetDigitEx(GCLocale* locale, const char* text, int state, int32_t remaining, const char** next,
                    int* outState, const char* cmpc1, const char* cmpc2, const char* cmps1, const char* cmps2,
                    int ascii, uint32_t flags) {
  *next = text;
  if (outState) *outState = state;
  if ((flags != 0 && flags != GC_NUM_MAP) || !text || remaining <= 0) return GC_TOK_END;
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCObj* cp = loc->codepage;
  if (!cp || !gcObjSection(cp)) return GC_TOK_END;
  const unsigned char so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
  const int maxLen = gcCpMaxLen(cp) < 1 ? 1 : gcCpMaxLen(cp);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  auto isShift = [&](unsigned char b) { return b == so || b == si; };
  int32_t i = 0;
  // Steps over a run of shift codes, setting the state from its last code.
  auto skipShifts = [&]() {
    while (i < remaining && isShift(p[i])) {
      state = p[i] == si ? 0 : 1;
      ++i;
    }
  };
  skipShifts();
  if (outState) *outState = state;
  if (i >= remaining) return GC_TOK_END;
  auto charLen = [&]() { return state == 1 ? maxLen : 1; };
  auto isSpaceAt = [&](int32_t at, int len) { return isSpaceChar(loc, p + at, len); };
  int len = charLen();
  if (len > remaining - i) return GC_TOK_END;
  if (isSpaceAt(i, len)) {
    i += len;
    for (;;) {
      int32_t mark = i;
      int markState = state;
      skipShifts();
      len = charLen();
      if (i >= remaining || len > remaining - i || !isSpaceAt(i, len)) {
        i = mark;
        state = markState;
        break;
      }
      i += len;
    }
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_SPACE;
  }
  // Comparison strings: a leading shift-out run is skipped and trailing shift
  // codes are not compared.
  auto matchString = [&](const char* cs) -> bool {
    if (!cs || !*cs) return false;
    const unsigned char* c = reinterpret_cast<const unsigned char*>(cs);
    int32_t n = static_cast<int32_t>(std::strlen(cs));
    int32_t b = 0;
    while (b < n && c[b] == so) ++b;
    while (n > b && isShift(c[n - 1])) --n;
    int32_t m = n - b;
    if (m <= 0 || m > remaining - i || std::memcmp(p + i, c + b, static_cast<size_t>(m)) != 0) return false;
    for (int32_t k = 0; k < m; ++k)
      if (isShift(p[i + k])) state = p[i + k] == si ? 0 : 1;
    i += m;
    return true;
  };
  if (matchString(cmps1)) {
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_STR1;
  }
  if (matchString(cmps2)) {
    *next = text + i;
    if (outState) *outState = state;
    return GC_TOK_STR2;
  }
  unsigned char c = p[i];
  int clen = len;
  if (flags & GC_NUM_MAP) {
    uint32_t keep = loc->status;
    char mapped[8];
    int m = GCMapStringEx(loc, mapped, 0, sizeof mapped, text + i, state, len, GC_MAP_DIGITS);
    loc->status = keep;
    if (m > 0) {
      c = static_cast<unsigned char>(mapped[0]);
      clen = m;
    }
  }
  if (clen != 1) return GC_TOK_END;
  int token = GC_TOK_END;
  if (cmpc1 && *cmpc1 && static_cast<unsigned char>(*cmpc1) == c) {
    token = GC_TOK_CHAR1;
  } else if (cmpc2 && *cmpc2 && static_cast<unsigned char>(*cmpc2) == c) {
    token = GC_TOK_CHAR2;
  } else {
    token = digitOf(loc, ascii, c);
    if (token < 0) return GC_TOK_END;
  }
  *next = text + i + len;
  if (outState) *outState = state;
  return token;
}
