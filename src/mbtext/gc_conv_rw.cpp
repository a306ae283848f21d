// Reading code-page text character by character into UCS-2 and writing
// UCS-2 back, with the shift codes of shift-state code pages.
#include <cstdint>
#include <cstring>

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_cp_utf8_int.h"

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
  gcCpViewInit(&r->view, cp);
  r->s = reinterpret_cast<const uint8_t*>(s);
  r->len = len;
  r->pos = 0;
  r->shift = r->view.shift;
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
    out[0] = gcCpViewByte(&r->view, p[0]);
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
  if (r->view.utf8) { // decoded once
    uint32_t v;
    int n = gcUtf8Decode(p, r->len - pos, &v);
    if (n == 0) return 0; // cut by the end of the text
    if (r->stopNul && std::memchr(p, 0, size_t(n))) return 0;
    *next = pos + n;
    if (v >= 0x10000) {
      v -= 0x10000;
      out[0] = GCUChar(0xD800 | (v >> 10));
      out[1] = GCUChar(0xDC00 | (v & 0x3FF));
      return 2;
    }
    out[0] = GCUChar(v);
    return 1;
  }
  int n = gcCpCharLen(r->cp, p, r->len - pos);
  if (n == 0) return 0; // cut by the end of the text
  if (r->stopNul && std::memchr(p, 0, size_t(n))) return 0;
  if (n == 1) {
    out[0] = gcCpViewByte(&r->view, p[0]);
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
  gcCpViewInit(&w->view, cp);
  w->shift = w->view.shift;
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

int32_t gcConvReadRun(GCConvReader* r, GCUChar* out, int32_t room) {
  const uint8_t* const s = r->s;
  const GCCpView* const v = &r->view;
  int32_t pos = r->pos, n = 0;
  if (r->single) {
    int32_t end = r->len - pos > room ? pos + room : r->len;
    if (r->stopNul)
      for (; pos < end && s[pos] != 0; ++pos) out[n++] = gcCpViewByte(v, s[pos]);
    else
      for (; pos < end; ++pos) out[n++] = gcCpViewByte(v, s[pos]);
    r->pos = pos;
    return n;
  }
  while (n < room) {
    if (!r->shift) {
      // One-byte characters up to the first that is not (or the end).
      int32_t end = r->len - pos > room - n ? pos + (room - n) : r->len;
      if (v->utf8) {
        // ASCII, and the two- and three-byte forms that lie whole within
        // the text (gcUtf8Decode's rules); anything else goes the long way.
        while (pos < end) {
          const uint8_t b0 = s[pos];
          if (b0 < 0x80) {
            if (b0 == 0 && r->stopNul) break;
            out[n++] = b0;
            ++pos;
          } else if (b0 >= 0xC2 && b0 <= 0xDF && r->len - pos >= 2 && (s[pos + 1] & 0xC0) == 0x80) {
            out[n++] = GCUChar(((b0 & 0x1F) << 6) | (s[pos + 1] & 0x3F));
            pos += 2;
          } else if (b0 >= 0xE0 && b0 <= 0xEF && r->len - pos >= 3) {
            const uint8_t b1 = s[pos + 1], b2 = s[pos + 2];
            const uint8_t lo = b0 == 0xE0 ? 0xA0 : 0x80, hi = b0 == 0xED ? 0x9F : 0xBF;
            if (b1 < lo || b1 > hi || (b2 & 0xC0) != 0x80) break;
            out[n++] = GCUChar(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
            pos += 3;
          } else {
            break;
          }
          // (A character gives one unit for at least one byte: within end
          // the units stay within room.)
        }
      } else
        for (; pos < end && gcCpViewLead(v, s[pos]) <= 1 && (s[pos] != 0 || !r->stopNul); ++pos)
          out[n++] = gcCpViewByte(v, s[pos]);
      if (n >= room) break;
    }
    r->pos = pos;
    GCUChar u[2];
    int32_t next;
    bool dbcs;
    int k = gcConvRead(r, u, &next, &dbcs);
    if (k == 0 || n + k > room) break;
    out[n++] = u[0];
    if (k == 2) out[n++] = u[1];
    pos = next;
    r->dbcs = dbcs;
  }
  r->pos = pos;
  return n;
}

int32_t gcConvWriteRun(GCConvWriter* w, const GCUChar* u, int32_t length, uint8_t* out) {
  const GCCpView* const v = &w->view;
  int32_t n = 0, i = 0;
  while (i < length && u[i] != 0) {
    if (!w->shift) {
      if (v->utf8) {
        for (; i < length && u[i] != 0; ++i) {
          const GCUChar c = u[i];
          if (c < 0x80) {
            out[n++] = uint8_t(c);
          } else if (c < 0x800) {
            out[n++] = uint8_t(0xC0 | (c >> 6));
            out[n++] = uint8_t(0x80 | (c & 0x3F));
          } else if (c < 0xD800 || c > 0xDFFF) {
            out[n++] = uint8_t(0xE0 | (c >> 12));
            out[n++] = uint8_t(0x80 | ((c >> 6) & 0x3F));
            out[n++] = uint8_t(0x80 | (c & 0x3F));
          } else {
            break; // surrogates: pairs and lone ones the long way
          }
        }
      } else {
        // Units of pages whose record gives one byte directly, the record
        // of the page in hand read once while the page stays the same.
        unsigned page = 0x100; // none yet
        const uint8_t* bytes = nullptr; // the page's direct bytes; null: not direct
        uint8_t mask = 0, first = 0, last = 0;
        for (; i < length && u[i] != 0; ++i) {
          const GCUChar c = u[i];
          if (unsigned(c >> 8) != page) {
            page = c >> 8;
            const uint8_t* rec = v->main + GC_CPM_PAGES + 8 * page;
            const uint32_t lo = gc_be16(rec + 4);
            mask = rec[1];
            first = rec[2];
            last = rec[3];
            // Direct, and every index the mask allows lies in the block.
            bytes = (rec[0] == 0 && v->low && uint64_t(lo) + mask < v->lowSize) ? v->low + lo : nullptr;
          }
          const uint8_t low = uint8_t(c & 0xFF);
          if (!bytes || low < first || low > last) break;
          out[n++] = bytes[low & mask];
        }
      }
      if (i >= length || u[i] == 0) break;
    }
    uint8_t b[8];
    bool dbcs;
    int units;
    int k = gcConvEncodeFast(w, u + i, length - i, b, &units, &dbcs);
    for (int j = 0; j < k; ++j) out[n + j] = b[j];
    n += k;
    w->dbcs = dbcs;
    i += units;
  }
  return n;
}
