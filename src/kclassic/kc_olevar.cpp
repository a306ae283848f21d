#include <cstring>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_var.h"

namespace KCLASSIC {

namespace {

// A new text of n bytes of s (NULL for a NULL s); a failed allocation
// throws the out-of-memory error.
char* new_text(const char* s, size_t n) {
  if (!s) return nullptr;
  char* p = KBinSysAllocStringByteLen(s, unsigned(n));
  if (!p) KAfxThrowMemoryException();
  return p;
}

} // namespace

KOleVariant::KOleVariant(const tagKVARIANT& v) {
  KVariantInit(this);
  KAfxCheckError(KVariantCopy(this, const_cast<tagKVARIANT*>(&v)));
}

KOleVariant::KOleVariant(const tagKVARIANT* v) {
  KVariantInit(this);
  KAfxCheckError(KVariantCopy(this, const_cast<tagKVARIANT*>(v)));
}

KOleVariant::KOleVariant(const KOleVariant& v) : KOleVariant(static_cast<const tagKVARIANT&>(v)) {}

KOleVariant::KOleVariant(const char* text, unsigned short type) {
  KVariantInit(this);
  vt = KVT_KSTR;
  bstrVal = new_text(text, text ? std::strlen(text) : 0);
  if (type != KVT_KSTR) KVariantChangeType(this, this, 0, type);
}

KOleVariant::KOleVariant(short value, unsigned short type) {
  KVariantInit(this);
  if (type == KVT_BOOL) {
    vt = KVT_BOOL;
    boolVal = value != 0 ? 1 : 0;
  } else {
    vt = KVT_I2;
    iVal = value;
  }
}

KOleVariant::KOleVariant(long value, unsigned short type) {
  KVariantInit(this);
  if (type == KVT_ERROR) {
    vt = KVT_ERROR;
    scode = int32_t(value);
  } else if (type == KVT_BOOL) {
    vt = KVT_BOOL;
    boolVal = value != 0 ? 1 : 0;
  } else {
    vt = KVT_I4;
    lVal = int32_t(value);
  }
}

void KOleVariant::SetString(const char* text, unsigned short) {
  KVariantClear(this);
  bstrVal = new_text(text, text ? std::strlen(text) : 0);
  vt = KVT_KSTR;
}

void KOleVariant::ChangeType(unsigned short type, tagKVARIANT* src) {
  if (src && src != this) {
    KAfxCheckError(KVariantChangeType(this, src, 0, type));
  } else if (vt != type) {
    KAfxCheckError(KVariantChangeType(this, this, 0, type));
  }
}

void KOleVariant::Attach(tagKVARIANT& v) {
  KVariantClear(this);
  std::memcpy(static_cast<void*>(static_cast<tagKVARIANT*>(this)), &v, sizeof v);
  v.vt = KVT_EMPTY;
}

tagKVARIANT KOleVariant::Detach() {
  tagKVARIANT v;
  std::memcpy(static_cast<void*>(&v), static_cast<const tagKVARIANT*>(this), sizeof v);
  vt = KVT_EMPTY;
  return v;
}

bool KOleVariant::operator==(const tagKVARIANT* other) const {
  if (other == this) return true;
  if (vt != other->vt) return false;
  switch (vt) {
    case KVT_EMPTY:
    case KVT_NULL: return true;
    case KVT_I2:
    case KVT_BOOL:
    case KVT_UI1: return iVal == other->iVal;
    case KVT_I4: return lVal == other->lVal;
    case KVT_R4: return fltVal == other->fltVal;
    case KVT_R8:
    case KVT_DATE: return dblVal == other->dblVal;
    case KVT_CY: return cyVal.int64 == other->cyVal.int64;
    case KVT_DECIMAL: return std::memcmp(static_cast<const tagKVARIANT*>(this), other, sizeof *other) == 0;
    case KVT_KSTR: {
      unsigned n = KBinSysStringByteLen(bstrVal);
      if (n != KBinSysStringByteLen(other->bstrVal)) return false;
      return n == 0 || std::memcmp(bstrVal, other->bstrVal, n) == 0;
    }
    default: throw new KErr(KERR_ILLEGAL_ARGUMENT, "KOleVariant::operator==", "Invalid VARIANT type");
  }
}

KOleVariant& KOleVariant::operator=(const tagKVARIANT& v) {
  KAfxCheckError(KVariantCopy(this, const_cast<tagKVARIANT*>(&v)));
  return *this;
}

KOleVariant& KOleVariant::operator=(const tagKVARIANT* v) {
  KAfxCheckError(KVariantCopy(this, const_cast<tagKVARIANT*>(v)));
  return *this;
}

KOleVariant& KOleVariant::operator=(const KOleVariant& v) { return *this = static_cast<const tagKVARIANT&>(v); }

KOleVariant& KOleVariant::operator=(const char* text) {
  SetString(text);
  return *this;
}

KOleVariant& KOleVariant::operator=(const KZString& text) {
  char* p = new_text(text, size_t(text.GetLength()));
  KVariantClear(this);
  bstrVal = p;
  vt = KVT_KSTR;
  return *this;
}

void KOleVariant::Retype(unsigned short type) {
  if (vt != type) {
    KVariantClear(this);
    vt = type;
  }
}

KOleVariant& KOleVariant::operator=(unsigned char value) {
  Retype(KVT_UI1);
  bVal = value;
  return *this;
}

KOleVariant& KOleVariant::operator=(short value) {
  if (vt == KVT_BOOL) {
    boolVal = value != 0 ? 1 : 0;
  } else {
    Retype(KVT_I2);
    iVal = value;
  }
  return *this;
}

KOleVariant& KOleVariant::operator=(long value) {
  if (vt == KVT_BOOL) {
    boolVal = value != 0 ? 1 : 0;
  } else if (vt == KVT_ERROR) {
    scode = int32_t(value);
  } else {
    Retype(KVT_I4);
    lVal = int32_t(value);
  }
  return *this;
}

KOleVariant& KOleVariant::operator=(const KOleCurrency& value) {
  Retype(KVT_CY);
  cyVal = value.m_cur;
  return *this;
}

KOleVariant& KOleVariant::operator=(float value) {
  Retype(KVT_R4);
  fltVal = value;
  return *this;
}

KOleVariant& KOleVariant::operator=(double value) {
  Retype(KVT_R8);
  dblVal = value;
  return *this;
}

KOleVariant& KOleVariant::operator=(const KOleDateTime& value) {
  Retype(KVT_DATE);
  date = value.m_dt;
  return *this;
}

// ---------------------------------------------------------------------------
// Date and currency from a variant: converted to their type first; a
// conversion error leaves an invalid value.

KOleDateTime& KOleDateTime::operator=(const tagKVARIANT& v) {
  if (v.vt == KVT_DATE) {
    m_dt = v.date;
    m_status = valid;
    return *this;
  }
  try {
    KOleVariant tmp(v);
    tmp.ChangeType(KVT_DATE);
    m_dt = tmp.date;
    m_status = valid;
  } catch (KErr* e) {
    delete e;
    m_dt = 0.0;
    m_status = invalid;
  }
  return *this;
}

KOleCurrency& KOleCurrency::operator=(const tagKVARIANT& v) {
  if (v.vt == KVT_CY) {
    m_cur = v.cyVal;
    m_status = valid;
    return *this;
  }
  try {
    KOleVariant tmp(v);
    tmp.ChangeType(KVT_CY);
    m_cur = tmp.cyVal;
    m_status = valid;
  } catch (KErr* e) {
    delete e;
    m_cur.int64 = 0;
    m_status = invalid;
  }
  return *this;
}

} // namespace KCLASSIC
