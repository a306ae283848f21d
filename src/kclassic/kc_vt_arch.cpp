// Archive images of dates, currency and variants.
#include <cstring>
#include <string>

#include "kclassic/kc_arch.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_cy.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_var.h"

namespace KCLASSIC {

KArchive& operator<<(KArchive& ar, KOleDateTime d) {
  ar.Put32(uint32_t(d.m_status));
  return ar << d.m_dt;
}

KArchive& operator>>(KArchive& ar, KOleDateTime& d) {
  d.m_status = int32_t(ar.Get32());
  return ar >> d.m_dt;
}

KArchive& operator<<(KArchive& ar, KOleCurrency c) {
  ar.Put32(uint32_t(c.m_status));
  ar.Put32(uint32_t(c.m_cur.Hi()));
  return ar.Put32(c.m_cur.Lo());
}

KArchive& operator>>(KArchive& ar, KOleCurrency& c) {
  c.m_status = int32_t(ar.Get32());
  int32_t hi = int32_t(ar.Get32());
  uint32_t lo = ar.Get32();
  c.m_cur = tagKCY::FromWords(hi, lo);
  return ar;
}

KArchive& operator<<(KArchive& ar, const KOleVariant& v) {
  ar.Put16(v.vt);
  if (v.vt & (KVT_BYREF | KVT_ARRAY)) return ar;
  switch (v.vt) {
    case KVT_I2:
    case KVT_BOOL:
    case KVT_UI1: return ar.Put16(uint16_t(v.iVal));
    case KVT_I4:
    case KVT_R4:
    case KVT_ERROR: return ar.Put32(uint32_t(v.lVal));
    case KVT_R8:
    case KVT_DATE: return ar << v.dblVal;
    case KVT_CY:
      ar.Put32(v.cyVal.Lo());
      return ar.Put32(uint32_t(v.cyVal.Hi()));
    case KVT_KSTR: {
      if (!v.bstrVal) return ar.Put32(0);
      unsigned n = KBinSysStringByteLen(v.bstrVal);
      ar.Put32(n + 1);
      ar.Write(v.bstrVal, n + 1); // the text and its NUL
      return ar;
    }
    default: return ar;
  }
}

namespace {

// n bytes of a text, read in pieces so that a damaged count cannot demand a
// huge block before the stream runs out.
std::string read_bytes(KArchive& ar, uint32_t n) {
  std::string s;
  char piece[4096];
  while (s.size() < n) {
    unsigned want = unsigned(n - s.size() < sizeof piece ? n - s.size() : sizeof piece);
    unsigned got = ar.Read(piece, want);
    s.append(piece, got);
    if (got < want) throw new KErr(KERR_END_OF_FILE, "KArchive::FillBuffer");
  }
  return s;
}

} // namespace

KArchive& operator>>(KArchive& ar, KOleVariant& v) {
  if (v.vt != KVT_EMPTY) v.Clear();
  uint16_t vt = ar.Get16();
  KVariantInit(&v);
  if (vt & (KVT_BYREF | KVT_ARRAY)) {
    v.vt = vt;
    return ar;
  }
  switch (vt) {
    case KVT_I2:
    case KVT_BOOL:
    case KVT_UI1: v.iVal = int16_t(ar.Get16()); break;
    case KVT_I4:
    case KVT_R4:
    case KVT_ERROR: v.lVal = int32_t(ar.Get32()); break;
    case KVT_R8:
    case KVT_DATE: ar >> v.dblVal; break;
    case KVT_CY: {
      uint32_t lo = ar.Get32();
      int32_t hi = int32_t(ar.Get32());
      v.cyVal = tagKCY::FromWords(hi, lo);
      break;
    }
    case KVT_KSTR: {
      uint32_t n = ar.Get32();
      if (n == 0) break;
      // The stored NUL stays: the text read back is one byte longer.
      std::string s = read_bytes(ar, n);
      v.bstrVal = KBinSysAllocStringByteLen(s.data(), unsigned(s.size()));
      if (!v.bstrVal) KAfxThrowMemoryException();
      break;
    }
    default: break;
  }
  v.vt = vt;
  return ar;
}

} // namespace KCLASSIC
