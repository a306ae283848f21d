// Reading code-page text character by character into UCS-2 and writing
// UCS-2 back, with the shift codes of shift-state code pages.
#include <cstdint>
#include <cstring>

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"

int gcConvMaxBytes(const GCObj* cp) {
  int n = gcCpMaxLen(cp);
  if (gcCpIsUtf8(cp)) n = 4; // the four-byte forms are read whatever the table says
  return n;
}

int32_t gcConvByteBound(const GCObj* cp, int32_t chars) {
  int64_t b = int64_t(chars) * gcConvMaxBytes(cp);
  return b > INT32_MAX ? INT32_MAX : int32_t(b);
}

void gcConvReaderInit(GCConvReader* r, const GCObj* cp, bool single, const char* s, int32_t len) {
  r->cp = cp;
  r->s = reinterpret_cast<const uint8_t*>(s);
  r->len = len;
  r->pos = 0;
  r->shift = gcCpIsShiftState(cp);
  r->single = single && !r->shift;
  r->dbcs = false;
  r->partial = false;
  r->stopNul = false;
}

int gcConvRead(const GCConvReader* r, GCUChar out[2], int32_t* next, bool* dbcs) {
  int32_t pos = r->pos;
  *dbcs = r->dbcs;
  *next = pos;
  if (pos >= r->len) return 0;
  const uint8_t* p = r->s + pos;
  if (r->stopNul && p[0] == 0) return 0;
  if (r->single) {
    out[0] = gcCpByteToUcs2(r->cp, p[0]);
    *next = pos + 1;
    return 1;
  }
  if (r->shift) {
    const uint8_t so = gcCpShiftOut(r->cp), si = gcCpShiftIn(r->cp);
    while (pos < r->len && (r->s[pos] == so || r->s[pos] == si)) {
      int32_t run = gcCpShiftRunEnd(r->s + pos, r->len - pos, si, so);
      *dbcs = r->s[pos + run] != si;
      pos += run + 1;
    }
    *next = pos;
    if (pos >= r->len) return 0;
    p = r->s + pos;
    if (r->stopNul && p[0] == 0) return 0;
    int n = *dbcs ? gcCpMaxLen(r->cp) : 1;
    if (n > r->len - pos) return 0;
    if (r->stopNul && std::memchr(p, 0, size_t(n))) return 0;
    if (n == 1) {
      out[0] = gcCpByteToUcs2(r->cp, p[0]);
    } else {
      out[0] = gcCpTrieLookup(r->cp, p, n);
    }
    *next = pos + n;
    return 1;
  }
  int n = gcCpCharLen(r->cp, p, r->len - pos);
  if (n == 0) return 0; // cut by the end of the text
  if (r->stopNul && std::memchr(p, 0, size_t(n))) return 0;
  if (gcCpIsUtf8(r->cp)) {
    int used;
    int k = gcCpToUcs2(r->cp, p, n, out, &used);
    *next = pos + used;
    return k;
  }
  if (n == 1) {
    out[0] = gcCpByteToUcs2(r->cp, p[0]);
    *next = pos + 1;
    return 1;
  }
  int used;
  out[0] = gcCpTrieLookup(r->cp, p, n, &used);
  *next = pos + (r->partial ? used : n);
  return 1;
}

void gcConvWriterInit(GCConvWriter* w, const GCObj* cp, bool dbcs) {
  w->cp = cp;
  w->shift = gcCpIsShiftState(cp);
  w->dbcs = w->shift && dbcs;
}

int gcConvEncode(const GCConvWriter* w, const GCUChar* u, int n, uint8_t out[8], int* used,
                 bool* dbcs) {
  uint8_t b[4];
  int k = gcCpFromUcs2(w->cp, u, n > 2 ? 2 : n, b, used);
  *dbcs = w->dbcs;
  int at = 0;
  if (w->shift) {
    if (k == 1 && w->dbcs) {
      out[at++] = gcCpShiftIn(w->cp);
      *dbcs = false;
    } else if (k >= 2 && !w->dbcs) {
      out[at++] = gcCpShiftOut(w->cp);
      *dbcs = true;
    }
  }
  std::memcpy(out + at, b, size_t(k));
  return at + k;
}
