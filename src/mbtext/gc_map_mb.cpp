#include "mbtext/gc_map_mb_int.h"

#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_digits.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_mem_be_int.h"

bool GCMapSink::put(const char* p, int n) {
  if (n < 0 || n > cap - len) return false;
  if (n > 0) std::memcpy(buf + len, p, static_cast<size_t>(n));
  len += n;
  return true;
}

GCPacked gcMapPack(const uint8_t* p, int n) {
  GCPacked v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
  return v;
}

GCUChar gcMapUcs2(const GCObj* cp, const uint8_t* p, int n) {
  GCUChar u[2] = {GC_UCS2_INVALID, 0};
  int used = 0;
  // A character beyond UCS-2 (two units) has no single UCS-2 value.
  if (gcCpToUcs2(cp, p, n, u, &used) != 1) return GC_UCS2_INVALID;
  return u[0];
}

GCPacked gcMapFullOfByte(const GCObj* cp, uint8_t b) {
  const uint8_t* main = gcCpMain(cp);
  const uint32_t size = gcCpMainSize(cp);
  const uint32_t off = gc_be16(main + GC_CPM_OFF_FULLW);
  uint32_t v = 0;
  if (off == 0 || !gc_rd32(main, size, uint64_t(off) + 4u * b, &v)) return 0;
  return v;
}

void gcMapEncode(const GCObj* cp, GCUChar first, GCUChar second, GCMapPiece* piece) {
  piece->len = GCCpUnicodeToChar(cp, first, piece->bytes);
  if (second != 0) piece->len += GCCpUnicodeToChar(cp, second, piece->bytes + piece->len);
}

void gcMapChar(const GCObj* cp, GCMapKind kind, const uint8_t* p, int n, bool wide, GCMapUcs2Fn ucs2,
               GCMapPiece* out) {
  out->len = 0;
  switch (kind) {
  case GCMapKind::Upper:
  case GCMapKind::Lower: {
    const bool upper = kind == GCMapKind::Upper;
    if (!wide) {
      out->bytes[0] = static_cast<char>(upper ? gcCpUpperByte(cp, p[0]) : gcCpLowerByte(cp, p[0]));
      out->len = 1;
    } else {
      const GCPacked v = gcMapPack(p, n);
      const GCPacked r = GCCpMbCaseConvW(cp, v, upper ? GC_C_LOWER : GC_C_UPPER);
      if (r != v) out->len = GCWToMb(out->bytes, r);
    }
    break;
  }
  case GCMapKind::HalfToFull:
  case GCMapKind::FullToHalf: {
    GCPacked v = 0;
    if (kind == GCMapKind::FullToHalf)
      v = GCCpFullToHalfW(cp, gcMapPack(p, n));
    else
      v = wide ? GCCpMbHalfToFullW(cp, gcMapPack(p, n)) : gcMapFullOfByte(cp, p[0]);
    if (v != 0) out->len = GCWToMb(out->bytes, v);
    if (out->len > 0 && out->bytes[0] == 0) out->len = 0;
    break;
  }
  case GCMapKind::Digits: {
    const uint32_t cls = wide ? gcCtypeClass(GCGetMbCtypeW(cp, gcMapPack(p, n))) : gcCpByteClass(cp, p[0]);
    if ((cls & GC_C_DIGIT) == 0) break;
    const GCUChar ascii = GCDigitLookup(ucs2(cp, p, n, wide));
    if (ascii != 0) gcMapEncode(cp, ascii, 0, out);
    break;
  }
  case GCMapKind::Copy:
  case GCMapKind::Invalid:
    break;
  }
  if (out->len <= 0) { // no mapped form: the character stays as it is
    std::memcpy(out->bytes, p, static_cast<size_t>(n));
    out->len = n;
  }
}
