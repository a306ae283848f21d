// String conversion at locale level: locale text to UCS-2, packed wide
// characters to a locale's code page, and between two locales.
#include <cstring>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"

namespace {

bool single_byte(const GCLocale* loc) {
  return (loc->flags & GC_LF_SINGLEBYTE) && !(loc->flags & GC_LF_SHIFT);
}

} // namespace

int32_t GCStringToUnicode(GCUChar* out, int32_t outLen, GCLocale* locale, const char* src,
                          int32_t srcLen, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  uint32_t rest = flags & ~GC_FL_CHARS;
  if ((rest != 0 && rest != GC_FL_NUL) || outLen < 0) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (outLen == 0 || !out) return 0;
  if ((flags & GC_FL_CHARS) && srcLen > 0 && src && !single_byte(loc))
    srcLen = gcCpCharsToBytes(loc->codepage, src, 0, srcLen, false);
  bool terminated = false;
  if (srcLen < 0 || !src) {
    srcLen = src ? gcTextLen(src) : 0;
    if (srcLen < 0) {
      loc->status = GC_E_ARG;
      return -1;
    }
    terminated = true;
  }
  const bool nul = rest == GC_FL_NUL;
  const int32_t cap = nul ? outLen - 1 : outLen;
  GCConvReader r;
  gcConvReaderInit(&r, loc->codepage, single_byte(loc), src ? src : "", srcLen);
  r.partial = true;
  int32_t n = gcConvReadRun(&r, out, cap); // stops where the output is full
  GCUChar u[2];
  int32_t next;
  bool dbcs;
  // Shift codes that end the text belong to it as well.
  if (r.pos < r.len && !gcConvRead(&r, u, &next, &dbcs) && next >= r.len) r.pos = next;
  if (nul || (terminated && r.pos >= r.len && n < outLen)) out[n++] = 0;
  return n;
}

int32_t GCWideToMb(GCLocale* locale, char* out, int32_t outLen, const uint32_t* src, int32_t srcLen,
                   uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if ((flags != 0 && flags != GC_FL_CHARS) || outLen < 0) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (!src || !out) return 0;
  if (srcLen < 0) {
    srcLen = 0;
    while (src[srcLen] != 0) ++srcLen;
    ++srcLen; // the terminating 0 is converted too
  }
  if (srcLen == 0 || outLen == 0) return 0;
  const GCObj* cp = loc->codepage;
  if (single_byte(loc)) {
    int32_t n = srcLen < outLen ? srcLen : outLen;
    // A value that is no single byte has no place here: the default character.
    for (int32_t i = 0; i < n; ++i) out[i] = src[i] < 256 ? char(src[i]) : char(gcCpDefaultChar(cp));
    return n;
  }
  const bool chars = flags == GC_FL_CHARS;
  const int32_t byteCap = chars ? gcConvByteBound(cp, outLen) : outLen;
  int32_t bytes = 0, count = 0;
  for (int32_t i = 0; i < srcLen; ++i) {
    if (chars && count >= outLen) break;
    char b[4];
    int k = GCWToMb(b, src[i]);
    if (bytes + k > byteCap) break;
    std::memcpy(out + bytes, b, size_t(k));
    bytes += k;
    ++count;
  }
  return chars ? count : bytes;
}

int32_t GCConvertString(GCLocale* dst, char* out, int32_t outLen, GCLocale* src, const char* s,
                        int32_t srcLen, uint32_t flags) {
  GCLocale* dl = gcLocaleOrDefault(dst);
  GCLocale* sl = gcLocaleOrDefault(src);
  const bool chars = (flags & GC_FL_CHARS) != 0;
  uint32_t rest = flags & ~GC_FL_CHARS;
  if ((rest != 0 && rest != GC_FL_NUL) || outLen < 0) {
    dl->status = GC_E_ARG;
    return chars ? 0 : -1;
  }
  dl->status = GC_OK;
  const bool nul = rest == GC_FL_NUL;
  if (chars && srcLen > 0 && s && !single_byte(sl))
    srcLen = gcCpCharsToBytes(sl->codepage, s, 0, srcLen, false);
  if (!out || srcLen == 0 || outLen == 0 || !s) {
    if (out && nul && outLen != 0) {
      out[0] = 0;
      return 1;
    }
    return 0;
  }
  bool terminated = false;
  if (srcLen < 0) {
    srcLen = gcTextLen(s);
    if (srcLen < 0) {
      dl->status = GC_E_ARG;
      return chars ? 0 : -1;
    }
    terminated = true;
  }
  const GCObj* dcp = dl->codepage;
  // Limits: characters (character mode) and bytes, one of each kept for the
  // terminator with flag 8.
  const int32_t charCap = nul ? outLen - 1 : outLen;
  const int32_t byteLimit = chars ? gcConvByteBound(dcp, outLen) : outLen;
  const int32_t byteCap = nul ? byteLimit - 1 : byteLimit;
  GCConvReader r;
  gcConvReaderInit(&r, sl->codepage, single_byte(sl), s, srcLen);
  GCConvWriter w;
  gcConvWriterInit(&w, dcp, false);
  int32_t bytes = 0, count = 0;
  GCUChar u[2];
  int32_t next;
  bool sdbcs;
  if (r.single && !w.shift) {
    // One byte, one unit, one character of the target at a time.
    auto* o = reinterpret_cast<uint8_t*>(out);
    int32_t pos = 0;
    while (pos < r.len) {
      if (w.view.utf8) {
        // The run whose units are ASCII: one byte each, within both limits.
        int32_t fit = byteCap - bytes;
        if (chars && charCap - count < fit) fit = charCap - count;
        int32_t end = r.len - pos < fit ? r.len : pos + (fit > 0 ? fit : 0);
        int32_t start = pos;
        for (GCUChar c; pos < end && (c = gcCpViewByte(&r.view, r.s[pos])) < 0x80; ++pos) o[bytes++] = uint8_t(c);
        count += pos - start;
        if (pos >= r.len) break;
      }
      uint8_t b[4];
      int m = gcCpViewToChar(&w.view, gcCpViewByte(&r.view, r.s[pos]), b);
      if (chars && count + 1 > charCap) break;
      if (bytes + m > byteCap) break;
      for (int j = 0; j < m; ++j) o[bytes + j] = b[j];
      bytes += m;
      ++count;
      ++pos;
    }
    r.pos = pos;
  }
  for (int k; (k = gcConvReadFast(&r, u, &next, &sdbcs)) > 0;) {
    uint8_t b[8];
    int used;
    bool ddbcs;
    int m = gcConvEncodeFast(&w, u, k, b, &used, &ddbcs);
    if (used < k) { // a surrogate pair the target cannot hold: one character each
      uint8_t b2[8];
      bool d2;
      int used2;
      GCConvWriter w2 = w;
      w2.dbcs = ddbcs;
      int m2 = gcConvEncode(&w2, u + 1, 1, b2, &used2, &d2);
      std::memcpy(b + m, b2, size_t(m2));
      m += m2;
      ddbcs = d2;
    }
    if (chars && count + 1 > charCap) break;
    // A shift-state target keeps room for the shift-in code that closes it.
    if (bytes + m + (ddbcs ? 1 : 0) > byteCap) break;
    std::memcpy(out + bytes, b, size_t(m));
    bytes += m;
    ++count;
    w.dbcs = ddbcs;
    r.pos = next;
    r.dbcs = sdbcs;
  }
  if (r.pos < r.len && !gcConvRead(&r, u, &next, &sdbcs) && next >= r.len) r.pos = next;
  if (w.dbcs) out[bytes++] = char(gcCpShiftIn(dcp));
  bool whole = r.pos >= r.len;
  if (nul || (terminated && whole && (chars ? count < outLen && bytes < byteLimit : bytes < outLen))) {
    out[bytes++] = 0;
    ++count;
  }
  return chars ? count : bytes;
}
