// Code-page properties and conversions between characters and UCS-2.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_cp_utf8_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"

namespace {

bool main_usable(const GCObj* cp) {
  return cp && gcObjSection(cp) && cp->sect_size[0] >= GC_CP_MAIN_SIZE;
}

} // namespace

const uint8_t* gcCpMain(const GCObj* cp) {
  return main_usable(cp) ? gcObjSection(cp) : gcBuiltinCodePage()->sect[0];
}

uint32_t gcCpMainSize(const GCObj* cp) {
  return main_usable(cp) ? cp->sect_size[0] : gcBuiltinCodePage()->sect_size[0];
}

bool gcCpIsUtf8(const GCObj* cp) { return main_usable(cp) && cp->id == GC_CP_ID_UTF8; }
bool gcCpIsEbcdic930(const GCObj* cp) { return cp && cp->id == GC_CP_ID_EBCDIC930; }
uint8_t gcCpMaxLen(const GCObj* cp) {
  uint8_t n = gcCpMain(cp)[GC_CPM_MAXLEN];
  return n < 1 ? 1 : n > 4 ? 4 : n;
}
bool gcCpIsAsciiBased(const GCObj* cp) {
  return (gc_be16(gcCpMain(cp) + GC_CPM_FLAGS) & GC_CPF_ASCII) != 0;
}
bool gcCpIsShiftState(const GCObj* cp) {
  return (gc_be16(gcCpMain(cp) + GC_CPM_FLAGS) & GC_CPF_SHIFT) != 0;
}
uint8_t gcCpShiftOut(const GCObj* cp) { return gcCpMain(cp)[GC_CPM_SO]; }
uint8_t gcCpShiftIn(const GCObj* cp) { return gcCpMain(cp)[GC_CPM_SI]; }
uint8_t gcCpDefaultChar(const GCObj* cp) { return gcCpMain(cp)[GC_CPM_DEFCHAR]; }
uint8_t gcCpEol(const GCObj* cp, int which) {
  return (which >= 0 && which < 4) ? gcCpMain(cp)[GC_CPM_EOL + which] : 0;
}
uint16_t gcCpWindowsNumber(const GCObj* cp) { return gc_be16(gcCpMain(cp) + GC_CPM_WINCP); }
uint8_t gcCpLeadLen(const GCObj* cp, uint8_t b) { return gcCpMain(cp)[GC_CPM_LEADLEN + b]; }
GCUChar gcCpByteToUcs2(const GCObj* cp, uint8_t b) {
  return gc_be16(gcCpMain(cp) + GC_CPM_TOUCS2 + 2 * b);
}
uint32_t gcCpByteClass(const GCObj* cp, uint8_t b) {
  return gc_be32(gcCpMain(cp) + GC_CPM_CLASS + 4 * b);
}
uint8_t gcCpUpperByte(const GCObj* cp, uint8_t b) { return gcCpMain(cp)[GC_CPM_UPPER + b]; }
uint8_t gcCpLowerByte(const GCObj* cp, uint8_t b) { return gcCpMain(cp)[GC_CPM_LOWER + b]; }

int gcCpCharLen(const GCObj* cp, const uint8_t* p, int32_t avail) {
  if (!p || avail == 0) return 0;
  if (gcCpIsUtf8(cp)) {
    uint32_t v;
    return gcUtf8Decode(p, avail, &v);
  }
  int n = gcCpLeadLen(cp, p[0]);
  if (n < 1) n = 1;
  if (n > 4) n = 4;
  if (avail >= 0) return n <= avail ? n : 0;
  for (int i = 1; i < n; ++i)
    if (p[i] == 0) return 0; // the text ends inside the character
  return n;
}

GCUChar gcCpTrieLookup(const GCObj* cp, const uint8_t* p, int len, int* used) {
  int local;
  if (!used) used = &local;
  *used = len > 0 ? len : 1;
  const uint8_t* t = cp ? cp->sect[1] : nullptr;
  uint32_t tsize = cp ? cp->sect_size[1] : 0;
  if (!t || len == 0) return GC_UCS2_INVALID;
  uint32_t valoff = gc_be16(gcCpMain(cp) + GC_CPM_OFF_VALUES);
  if (valoff > tsize) return GC_UCS2_INVALID;
  uint32_t node = 0;
  for (int depth = 0; (len < 0 || depth < len) && depth < 4; ++depth) {
    uint64_t at = uint64_t(node) * GC_CP_NODE_SIZE;
    if (at + GC_CP_NODE_SIZE > valoff) return GC_UCS2_INVALID;
    const uint8_t* n = t + at;
    uint8_t b = p[depth];
    if (len < 0 && depth > 0 && b == 0) return GC_UCS2_INVALID; // the text ended
    if (b < n[2] || b > n[3]) {
      // The rejected byte starts the next character (the first byte is
      // always consumed).
      *used = depth > 0 ? depth : 1;
      return GC_UCS2_INVALID;
    }
    uint32_t idx = uint32_t(gc_be16(n + 4)) + (b & n[1]);
    if (n[0] != 0) {
      if (len < 0) *used = depth + 1;
      uint16_t v;
      if (!gc_rd16(t, tsize, uint64_t(valoff) + 2ull * idx, &v)) return GC_UCS2_INVALID;
      return v;
    }
    node = idx;
  }
  return GC_UCS2_INVALID; // more bytes needed than the character has
}

void gcCpViewInit(GCCpView* v, const GCObj* cp) {
  v->main = gcCpMain(cp);
  v->low = cp ? cp->sect[2] : nullptr;
  v->lowSize = cp ? cp->sect_size[2] : 0;
  v->high = cp ? cp->sect[3] : nullptr;
  v->highSize = cp ? cp->sect_size[3] : 0;
  v->utf8 = main_usable(cp) && cp->id == GC_CP_ID_UTF8;
  v->shift = (gc_be16(v->main + GC_CPM_FLAGS) & GC_CPF_SHIFT) != 0;
  v->defChar = v->main[GC_CPM_DEFCHAR];
}

bool gcCpPageLookup(const GCObj* cp, GCUChar u, GCPacked* value, bool* direct) {
  GCCpView v;
  gcCpViewInit(&v, cp);
  return gcCpViewPage(&v, u, value, direct);
}

GCUChar GCCpMbToUnicode(const GCObj* cp, const char* mb) {
  if (!mb) return GC_UCS2_INVALID;
  const auto* p = reinterpret_cast<const uint8_t*>(mb);
  if (gcCpIsUtf8(cp)) {
    uint32_t v;
    if (p[0] >= 0x80 && gcUtf8Decode(p, -1, &v) > 1 && v <= 0xFFFF) return GCUChar(v);
    if (p[0] < 0x80) return p[0];
    return GC_UCS2_INVALID; // invalid, or beyond U+FFFF (see gcCpToUcs2)
  }
  return gcCpTrieLookup(cp, p, -1);
}

GCUChar GCCpMbToUnicodeW(const GCObj* cp, GCPacked value) {
  char buf[5] = {};
  GCWToMb(buf, value);
  return GCCpMbToUnicode(cp, buf);
}

int gcCpToUcs2(const GCObj* cp, const uint8_t* p, int32_t avail, GCUChar out[2], int* used) {
  *used = 0;
  if (!p || avail == 0) return 0;
  if (gcCpIsUtf8(cp)) {
    uint32_t v;
    int n = gcUtf8Decode(p, avail, &v);
    if (n == 0) { // cut at the end of a counted text: the rest becomes one U+FFFD
      *used = int(avail);
      out[0] = GC_UCS2_INVALID;
      return 1;
    }
    *used = n;
    if (v >= 0x10000) {
      v -= 0x10000;
      out[0] = GCUChar(0xD800 | (v >> 10));
      out[1] = GCUChar(0xDC00 | (v & 0x3FF));
      return 2;
    }
    out[0] = GCUChar(v);
    return 1;
  }
  int n = gcCpCharLen(cp, p, avail);
  if (n == 0) { // a character cut by the end of the text
    int rest = 0;
    if (avail > 0) rest = int(avail);
    else
      while (p[rest] != 0) ++rest;
    *used = rest > 0 ? rest : 1;
    out[0] = GC_UCS2_INVALID;
    return 1;
  }
  *used = n;
  out[0] = n == 1 ? gcCpByteToUcs2(cp, p[0]) : gcCpTrieLookup(cp, p, n);
  return 1;
}

int GCWToMb(char* out, GCPacked v) {
  int n = 0;
  if (v >= 0x1000000u) out[n++] = char(v >> 24);
  if (v & 0xFF0000u) out[n++] = char(v >> 16);
  if (v & 0xFF00u) out[n++] = char(v >> 8);
  out[n++] = char(v);
  return n;
}

int GCCpUnicodeToChar(const GCObj* cp, GCUChar u, char* out) {
  GCCpView v;
  gcCpViewInit(&v, cp);
  uint8_t b[4];
  int n = gcCpViewToChar(&v, u, b);
  std::memcpy(out, b, size_t(n));
  return n;
}

GCPacked GCCpUnicodeToCharW(const GCObj* cp, GCUChar u) {
  if (gcCpIsUtf8(cp)) {
    if (u >= 0xD800 && u <= 0xDFFF) return gcCpDefaultChar(cp);
    if (u < 0x80) return u;
    if (u > 0x7FF)
      return 0xE08080u | ((uint32_t(u) & 0xF000) << 4) | ((uint32_t(u) & 0xFC0) << 2) | (u & 0x3F);
    return 0xC080u | ((uint32_t(u) & 0x7C0) << 2) | (u & 0x3F);
  }
  GCPacked v;
  bool direct;
  if (!gcCpPageLookup(cp, u, &v, &direct)) return gcCpDefaultChar(cp);
  return v;
}

int gcCpFromUcs2(const GCObj* cp, const GCUChar* u, int32_t avail, uint8_t out[4], int* used) {
  *used = 0;
  if (!u || avail == 0) return 0;
  *used = 1;
  GCUChar c = u[0];
  if (gcCpIsUtf8(cp) && c >= 0xD800 && c <= 0xDBFF) {
    bool have_next = avail < 0 ? u[1] != 0 : avail >= 2;
    if (have_next && u[1] >= 0xDC00 && u[1] <= 0xDFFF) {
      uint32_t v = 0x10000u + ((uint32_t(c) - 0xD800u) << 10) + (uint32_t(u[1]) - 0xDC00u);
      *used = 2;
      return gcUtf8Encode(v, out);
    }
  }
  return GCCpUnicodeToChar(cp, c, reinterpret_cast<char*>(out));
}

GCPacked GCMbToW(const GCObj* cp, const char* s) {
  if (!s) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  int n;
  if (gcCpIsUtf8(cp)) {
    uint32_t v;
    n = gcUtf8Decode(p, -1, &v);
  } else {
    n = gcCpLeadLen(cp, p[0]);
    if (n == 0) return 0;
    if (n > 4) n = 4;
  }
  GCPacked v = 0;
  for (int i = 0; i < n; ++i) {
    if (i > 0 && p[i] == 0) break; // never read past the end of the text
    v = (v << 8) | p[i];
  }
  return v;
}

GCPacked GCMbToWS(const GCObj* cp, const char* s, int whole) {
  if (!s) return 0;
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  int n = whole ? gcCpMaxLen(cp) : 1;
  GCPacked v = 0;
  for (int i = 0; i < n; ++i) {
    if (i > 0 && p[i] == 0) break;
    v = (v << 8) | p[i];
  }
  return v;
}
