// KZString and variants.
#include <cstring>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_var.h"
#include "kclassic/kc_zstr.h"

namespace KCLASSIC {

namespace {

// The variant text's bytes up to its first NUL.
int text_length(const char* s) { return s ? int(strnlen(s, KBinSysStringByteLen(s))) : 0; }

} // namespace

KZString& KZString::operator=(tagKVARIANT v) {
  if (v.vt == KVT_KSTR) {
    AssignCopy(text_length(v.bstrVal), v.bstrVal ? v.bstrVal : "");
    return *this;
  }
  // v is this call's own copy; for a type other than text it owns nothing,
  // and the converted text is freed here.
  long st = KVariantChangeType(&v, &v, 0, KVT_KSTR);
  KAfxCheckError(st);
  AssignCopy(text_length(v.bstrVal), v.bstrVal ? v.bstrVal : "");
  KVariantClear(&v);
  return *this;
}

tagKVARIANT& KZString::ToKVariant(tagKVARIANT& v) const {
  v.vt = KVT_KSTR;
  v.bstrVal = KBinSysAllocStringByteLen(m_pchData, unsigned(GetLength()));
  return v;
}

} // namespace KCLASSIC
