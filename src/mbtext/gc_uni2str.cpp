// UCS-2 text to the locale's code page.
#include "mbtext/gc_uni2str.h"

#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"

int GCUnicodeToString(GCLocale* locale, char* out, int32_t outlen, const GCUChar* src, int32_t srclen,
                      uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  flags &= ~GC_FL_CHARS;
  if (flags != 0 && flags != GC_FL_NUL) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (!out || outlen <= 0) return 0;
  bool terminated = false;
  if (srclen < 0 || !src) {
    srclen = 0;
    if (src)
      while (src[srclen]) ++srclen;
    terminated = src != nullptr;
  }
  const bool nul = (flags & GC_FL_NUL) != 0;
  int32_t room = nul ? outlen - 1 : outlen;
  const GCObj* cp = loc->codepage;
  const bool single = (loc->flags & GC_LF_SINGLEBYTE) != 0;
  // A shift-state page gets a shift-out code before double-byte characters
  // and a shift-in code before single-byte ones and at the end, so that the
  // text reads back as it was written.
  const bool shift = !single && (loc->flags & GC_LF_SHIFT) != 0;
  const char so = shift ? static_cast<char>(gcCpShiftOut(cp)) : 0;
  const char si = shift ? static_cast<char>(gcCpShiftIn(cp)) : 0;
  int state = 0;
  int32_t bytes = 0, count = 0, i = 0;
  while (i < srclen && count < room) {
    uint8_t ch[4];
    int used = 0;
    int n = gcCpFromUcs2(cp, src + i, srclen - i, ch, &used);
    if (n <= 0 || used <= 0) break;
    if (single) n = 1;
    const int want = n > 1 ? 1 : 0;
    const int switchCode = (shift && want != state) ? 1 : 0;
    const int closing = (shift && want == 1) ? 1 : 0;  // room for the final shift-in
    if (!chars && bytes + switchCode + n + closing > room) break;
    if (switchCode) out[bytes++] = want ? so : si;
    state = shift ? want : 0;
    std::memcpy(out + bytes, ch, static_cast<size_t>(n));
    bytes += n;
    count += chars ? 1 : n + switchCode;
    i += used;
  }
  if (state == 1) {
    out[bytes++] = si;
    if (!chars) ++count;
  }
  if (nul || (terminated && i == srclen && count < outlen)) {
    out[bytes++] = '\0';
    ++count;
  }
  return chars ? count : bytes;
}
