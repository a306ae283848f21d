#include "kc_testvar.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "kclassic/kc_bstr.h"

using namespace KCLASSIC;

namespace kctest {

namespace {

KOleVariant typed(unsigned short vt) {
  KOleVariant v;
  v.vt = vt;
  return v;
}

} // namespace

KOleVariant empty() { return KOleVariant(); }
KOleVariant nullv() { return typed(KVT_NULL); }

KOleVariant i4(int32_t x) {
  KOleVariant v = typed(KVT_I4);
  v.lVal = x;
  return v;
}

KOleVariant r4(float x) {
  KOleVariant v = typed(KVT_R4);
  v.fltVal = x;
  return v;
}

KOleVariant r8(double x) {
  KOleVariant v = typed(KVT_R8);
  v.dblVal = x;
  return v;
}

KOleVariant cy(long long x) {
  KOleVariant v = typed(KVT_CY);
  v.cyVal.int64 = x;
  return v;
}

KOleVariant date(double x) {
  KOleVariant v = typed(KVT_DATE);
  v.date = x;
  return v;
}

KOleVariant err(int32_t x) {
  KOleVariant v = typed(KVT_ERROR);
  v.scode = x;
  return v;
}

KOleVariant boolean(int x) {
  KOleVariant v = typed(KVT_BOOL);
  v.boolVal = int16_t(x);
  return v;
}

KOleVariant dec(const char* text) {
  KDecimal d;
  EXPECT_EQ(d.CreateFromBSTR(text), 1) << text;
  tagKVARIANT raw = d.GetVariantVal();
  return KOleVariant(raw);
}

KOleVariant str(const char* text) { return KOleVariant(text); }

std::string describe(const tagKVARIANT& v) {
  char buf[96];
  switch (v.vt) {
    case KVT_I4: std::snprintf(buf, sizeof buf, "long %d", int(v.lVal)); break;
    case KVT_R4: std::snprintf(buf, sizeof buf, "float %.9g", double(v.fltVal)); break;
    case KVT_R8: std::snprintf(buf, sizeof buf, "double %.17g", v.dblVal); break;
    case KVT_DATE: std::snprintf(buf, sizeof buf, "date %.17g", v.date); break;
    case KVT_CY: std::snprintf(buf, sizeof buf, "currency %lld", static_cast<long long>(v.cyVal.int64)); break;
    case KVT_BOOL: std::snprintf(buf, sizeof buf, "boolean %d", int(v.boolVal)); break;
    case KVT_KSTR:
      return "text [" + (v.bstrVal ? std::string(v.bstrVal, KBinSysStringByteLen(v.bstrVal)) : "NULL") + "]";
    case KVT_DECIMAL: {
      KDecimal d;
      d.CreateFromVariant(v);
      char* t = d.GetBSTRVal();
      std::string s = std::string("decimal ") + t;
      KBinSysFreeString(t);
      return s;
    }
    default: std::snprintf(buf, sizeof buf, "type %u", unsigned(v.vt)); break;
  }
  return buf;
}

} // namespace kctest
