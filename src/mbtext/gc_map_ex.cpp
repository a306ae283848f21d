#include <algorithm>
#include <cstring>

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_map_mb_int.h"
#include "mbtext/gc_str.h"

// Mapping of text in a shift-state code page: single-byte characters and
// double-byte characters (the code page's maximum length) alternate, switched
// by shift-out (into double-byte mode) and shift-in (back) codes. The shift
// states of source and destination at their starts are given by the caller.

namespace {

// UCS-2 value of a character of a shift-state page in its mode.
GCUChar shiftUcs2(const GCObj* cp, const uint8_t* p, int n, bool wide) {
  return wide ? gcCpTrieLookup(cp, p, n) : gcCpByteToUcs2(cp, p[0]);
}

struct ShiftPage {
  const GCObj* cp;
  uint8_t so;
  uint8_t si;
  int dbl; // bytes of a character in double-byte mode (1 to 4)

  explicit ShiftPage(const GCObj* page)
      : cp(page), so(gcCpShiftOut(page)), si(gcCpShiftIn(page)),
        dbl(std::clamp<int>(gcCpMaxLen(page), 1, 4)) {}

  bool isShift(uint8_t b) const { return b == so || b == si; }

  // Steps over a run of shift codes at pos (if any) and sets the state from
  // its last code. False when the run reaches the end (no character follows).
  bool skipRun(const uint8_t* s, int32_t len, int32_t* pos, int* state) const {
    if (*pos >= len || !isShift(s[*pos])) return *pos < len;
    const int32_t last = *pos + gcCpShiftRunEnd(s + *pos, len - *pos, so, si);
    *state = s[last] == si ? 0 : 1;
    *pos = last + 1;
    return *pos < len;
  }

  GCUChar ucs2(const uint8_t* p, int state) const { return shiftUcs2(cp, p, state ? dbl : 1, state == 1); }
};

// Destination that inserts the shift code a piece needs: a shift-in before a
// one-byte piece written in double-byte mode, a shift-out before a longer
// piece written in single-byte mode. A piece is written together with its
// shift code or not at all.
struct ShiftSink {
  const ShiftPage& page;
  char* buf;
  int32_t cap;
  int state;
  int32_t len = 0;

  bool put(const char* bytes, int n) {
    int code = -1;
    if (n == 1 && state == 1) code = page.si;
    if (n >= 2 && state == 0) code = page.so;
    const int total = n + (code >= 0 ? 1 : 0);
    if (n <= 0 || total > cap - len) return false;
    if (code >= 0) {
      buf[len++] = static_cast<char>(code);
      state = code == page.si ? 0 : 1;
    }
    std::memcpy(buf + len, bytes, static_cast<size_t>(n));
    len += n;
    return true;
  }
};

void mapShift(GCLocale* loc, const ShiftPage& page, const GCMapMode& mode, GCMapSpecialFn special,
              const uint8_t* src, int32_t srcLen, int srcState, ShiftSink* sink) {
  int32_t pos = 0;
  int state = srcState;
  while (pos < srcLen) {
    if (!page.skipRun(src, srcLen, &pos, &state)) break;
    const int n = state ? page.dbl : 1;
    if (pos + n > srcLen) break; // cut by the source length
    const uint8_t* p = src + pos;
    int32_t next = pos + n;
    int nextState = state;
    if (mode.special && special != nullptr) {
      const GCUChar c = page.ucs2(p, state);
      GCUChar r1 = 0;
      GCUChar r2 = 0;
      int found = special(loc, c, 0, &r1, &r2, mode.list);
      if (found == 0) {
        int32_t q = next;
        int qState = state;
        if (page.skipRun(src, srcLen, &q, &qState)) {
          const int m = qState ? page.dbl : 1;
          if (q + m <= srcLen) {
            found = special(loc, c, page.ucs2(src + q, qState), &r1, &r2, mode.list);
            if (found != 0) {
              next = q + m;
              nextState = qState;
            }
          }
        }
      }
      if (found == 1 || found == 2) {
        GCMapPiece first;
        gcMapEncode(page.cp, r1, 0, &first);
        if (!sink->put(first.bytes, first.len)) return;
        if (found == 2) {
          GCMapPiece second;
          gcMapEncode(page.cp, r2, 0, &second);
          if (!sink->put(second.bytes, second.len)) return;
        }
        pos = next;
        state = nextState;
        continue;
      }
    }
    GCMapPiece piece;
    gcMapChar(page.cp, mode.kind, p, n, state == 1, shiftUcs2, &piece);
    if (!sink->put(piece.bytes, piece.len)) return;
    pos += n;
  }
}

// Whole characters of shift-state text, counted from a state up to a limit;
// shift codes are not counted. Stores the bytes through the last counted
// character.
int32_t countShiftChars(const ShiftPage& page, const uint8_t* s, int32_t len, int state, int32_t limit,
                        int32_t* bytes) {
  int32_t pos = 0;
  int32_t count = 0;
  *bytes = 0;
  while (pos < len && count < limit) {
    if (!page.skipRun(s, len, &pos, &state)) break;
    const int n = state ? page.dbl : 1;
    if (pos + n > len) break;
    pos += n;
    ++count;
    *bytes = pos;
  }
  return count;
}

} // namespace

int32_t gcMapStringExWith(GCLocale* locale, char* dst, int dstState, int32_t dstLen, const char* src,
                          int srcState, int32_t srcLen, uint32_t flags, GCMapSpecialFn special) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if ((loc->flags & GC_LF_SHIFT) == 0)
    return gcMapStringWith(loc, dst, dstLen, src, srcLen, flags, special);
  const GCMapMode mode = gcMapMode(flags);
  if (!gcMapArgsOk(mode, dst, dstLen, src, srcLen)) return gcMapFail(loc);
  if ((dstState != 0 && dstState != 1) || (srcState != 0 && srcState != 1)) return gcMapFail(loc);
  const bool chars = (flags & GC_FL_CHARS) != 0;
  const ShiftPage page(loc->codepage);
  if (mode.kind == GCMapKind::Copy) {
    const int32_t copied = GCStrcpyEx(loc, dst, dstState, dstLen, src, srcState, srcLen, chars ? GC_FL_CHARS : 0);
    loc->status = GC_OK;
    return copied;
  }

  if (chars && srcLen > 0) srcLen = gcCpCharsToBytes(page.cp, src, srcState, srcLen, false);
  if (srcLen < 0) {
    srcLen = gcMapTerminatedLength(src);
    if (srcLen < 0) return gcMapFail(loc);
  }
  const auto* s = reinterpret_cast<const uint8_t*>(src);
  if (!chars) {
    ShiftSink sink{page, dst, dstLen, dstState};
    mapShift(loc, page, mode, special, s, srcLen, srcState, &sink);
    loc->status = GC_OK;
    return sink.len;
  }

  char buffer[kGCMapCharBuffer];
  // The caller's destination holds dstLen characters of the longest form:
  // shift codes count against those bytes, as in the string conversion.
  const int64_t room = std::min<int64_t>({int64_t(dstLen) * 6, kGCMapCharBuffer, gcConvByteBound(page.cp, dstLen)});
  ShiftSink sink{page, buffer, static_cast<int32_t>(room), dstState};
  mapShift(loc, page, mode, special, s, srcLen, srcState, &sink);
  int32_t bytes = 0;
  const int32_t count = countShiftChars(page, reinterpret_cast<const uint8_t*>(buffer), sink.len, dstState,
                                        dstLen, &bytes);
  if (bytes > 0) std::memcpy(dst, buffer, static_cast<size_t>(bytes));
  loc->status = GC_OK;
  return count;
}

int32_t GCMapStringEx(GCLocale* locale, char* dst, int dstState, int32_t dstLen, const char* src,
                      int srcState, int32_t srcLen, uint32_t flags) {
  return gcMapStringExWith(locale, dst, dstState, dstLen, src, srcState, srcLen, flags, gcMapSpecial);
}
