// Concatenation and copies of multibyte text, also between shift states.
#include <algorithm>
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_str_int.h"

namespace {

int32_t bad(GCLocale* loc) {
  loc->status = GC_E_ARG;
  return -1;
}

// Bytes of the first chars characters of s within avail bytes (negative:
// the text and its NUL, which counts as a character; a text that ends
// inside a character gives its bytes up to and including the NUL, as a
// byte count to the terminator would).
int32_t charBytes(const GCLocale* loc, const uint8_t* s, int32_t avail, int32_t chars) {
  const bool terminated = avail < 0;
  int32_t pos = 0;
  for (int32_t c = 0; c < chars; ++c) {
    if (terminated && s[pos] == 0) return pos + 1;
    int n = terminated ? gcStrLeadLen(loc, s + pos) : gcStrCharLen(loc, s + pos, avail - pos);
    if (terminated)
      for (int i = 1; i < n; ++i)
        if (s[pos + i] == 0) return pos + i + 1;
    if (n < 1) break;
    pos += n;
  }
  return pos;
}

} // namespace

int32_t GCStrcat(GCLocale* locale, char* dst, const char* src, int32_t count, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags & ~(GC_FL_CHARS | GC_FL_NUL)) return bad(loc);
  if (!dst) return bad(loc);
  loc->status = GC_OK;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  const int32_t L = gcTextLen(dst);
  if (L < 0) return bad(loc);
  auto result = [&](int32_t bytes) {
    return chars ? GCNumChars(loc, dst, bytes, 0) : bytes;
  };
  if (count == 0 || !src) {
    int32_t r = result(L + 1);
    loc->status = GC_OK;
    return r;
  }
  const auto* s = reinterpret_cast<const uint8_t*>(src);
  bool nul = (flags & GC_FL_NUL) != 0;
  int32_t n;
  if (count < 0) {
    n = gcTextLen(src);
    if (n < 0 || int64_t(L) + n >= INT32_MAX) return bad(loc);
    nul = true;
  } else {
    // A count that runs past the source's terminator stops there; the
    // source is not read beyond the count.
    n = chars ? charBytes(loc, s, -1, count) : count;
    n = int32_t(strnlen(src, size_t(n)));
    n = gcStrWhole(loc, s, n);
    if (int64_t(L) + n >= INT32_MAX) return bad(loc);
  }
  std::memmove(dst + L, src, size_t(n));
  // The destination stays a terminated text; the NUL is counted only when
  // it was asked for.
  dst[L + n] = 0;
  int32_t r = result(L + n + (nul ? 1 : 0));
  loc->status = GC_OK;
  return r;
}

int32_t GCStrcpy(GCLocale* locale, char* dst, int32_t size, const char* src, int32_t srcLen,
                 uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags & ~GC_FL_CHARS) return bad(loc);
  loc->status = GC_OK;
  if (srcLen == 0 || size < 1 || !src || !dst) return 0;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  const auto* s = reinterpret_cast<const uint8_t*>(src);
  // The source in bytes; a terminated source includes its NUL.
  int32_t avail;
  if (srcLen < 0) {
    const int32_t len = gcTextLen(src);
    if (len < 0) return bad(loc);
    avail = len + 1;
  } else {
    avail = chars ? charBytes(loc, s, -1, srcLen) : srcLen;
  }
  // Whole characters that fit; nothing is written beyond them. A size in
  // characters holds that many of the code page's longest characters.
  const int32_t bytes = chars ? gcConvByteBound(loc->codepage, size) : size;
  int32_t pos = 0, count = 0;
  while (pos < avail) {
    int n = gcStrCharLen(loc, s + pos, avail - pos);
    if (n < 1) break; // a character cut by the source length ends the source
    if ((chars && count + 1 > size) || pos + n > bytes) break;
    pos += n;
    ++count;
  }
  std::memmove(dst, src, size_t(pos));
  return chars ? count : pos;
}

int32_t GCStrcpyEx(GCLocale* locale, char* dst, int dstState, int32_t size, const char* src,
                   int srcState, int32_t srcLen, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if (flags & ~GC_FL_CHARS) return bad(loc);
  if (!(loc->flags & GC_LF_SHIFT)) return GCStrcpy(loc, dst, size, src, srcLen, flags);
  if ((dstState != 0 && dstState != 1) || (srcState != 0 && srcState != 1)) return bad(loc);
  loc->status = GC_OK;
  if (srcLen == 0 || size < 1 || !src || !dst) return 0;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  const GCObj* cp = loc->codepage;
  const uint8_t so = gcCpShiftOut(cp), si = gcCpShiftIn(cp);
  const int dbl = gcCpMaxLen(cp) < 1 ? 1 : gcCpMaxLen(cp);
  const auto* s = reinterpret_cast<const uint8_t*>(src);

  int32_t n;
  if (chars) {
    const int32_t want = srcLen < 0 ? size : std::min(srcLen, size);
    n = gcCpCharsToBytes(cp, src, srcState, want, srcLen < 0);
    // The terminator counts as a character when the text has fewer.
    if (GCNumCharsEx(loc, src, srcState, n, 0) < want) {
      const int32_t rest = gcTextLen(src + n);
      if (rest < 0 || int64_t(n) + rest >= INT32_MAX) return bad(loc);
      n += rest + 1;
    }
    srcLen = n;
  } else {
    if (srcLen < 0) {
      if ((srcLen = gcTextLen(src)) < 0) return bad(loc);
      ++srcLen;
    }
    n = std::min(size, srcLen);
  }

  // Reconcile the shift states of the destination and the source.
  int32_t out = 0;
  int32_t room = size;
  const int32_t run = (s[0] == so || s[0] == si) ? gcCpShiftRunEnd(s, srcLen, so, si) + 1 : 0;
  const uint8_t last = run > 0 ? s[run - 1] : 0;
  int state = srcState;
  if (dstState != srcState) {
    // A leading run that ends in the code of the destination's mode is
    // skipped; otherwise the code of the source's mode is written first,
    // when it fits with one character of that mode.
    const uint8_t toDst = dstState == 0 ? si : so;
    if (run > 0 && last == toDst) {
      s += run;
      srcLen = std::max(0, srcLen - run);
      n = std::max(0, n - run);
      state = dstState;
    } else {
      if (!chars && room < (srcState == 1 ? dbl + 1 : 2)) return 0;
      dst[out++] = char(srcState == 1 ? so : si);
      if (!chars) --room;
    }
  }
  // Byte mode: the size in bytes. Character mode: the size in characters
  // bounds the bytes too (size times the longest character, as conversions
  // bound their output), so redundant shift codes count against the room.
  if (!chars) n = std::min(room, srcLen);
  else n = std::max(0, std::min(n, gcConvByteBound(cp, size) - out));

  // Walk whole characters and shift runs up to n bytes.
  const int startState = state;
  int32_t pos = 0, endText = 0;
  while (pos < n) {
    if (s[pos] == so || s[pos] == si) {
      int32_t end = pos + gcCpShiftRunEnd(s + pos, n - pos, so, si) + 1;
      if (end >= n) break;
      state = s[end - 1] == so ? 1 : 0;
      pos = end;
    }
    int len = state ? dbl : 1;
    if (pos + len > n) break;
    pos += len;
    endText = pos;
  }
  // A trailing run of shift codes is not copied.
  std::memmove(dst + out, s, size_t(endText));
  int32_t written = out + endText;
  if (chars) {
    int32_t c = GCNumCharsEx(loc, reinterpret_cast<const char*>(s), startState, endText, 0);
    loc->status = GC_OK;
    return c;
  }
  return written;
}
