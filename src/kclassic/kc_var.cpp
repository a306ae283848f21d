#include "kclassic/kc_var.h"

#include <cmath>
#include <cstring>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_dec.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_locswitch.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_numtext.h"
#include "kclassic/kc_tconv.h"

namespace KCLASSIC {

namespace {

// A copy of a text that keeps its byte length (embedded NULs included).
char* copy_text(const char* s) { return s ? KBinSysAllocStringByteLen(s, KBinSysStringByteLen(s)) : nullptr; }

// The variant that converts: a scratch copy of the source, cleared however
// the conversion ends.
struct Scratch : tagKVARIANT {
  Scratch() { KVariantInit(this); }
  ~Scratch() { KVariantClear(this); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
};

// Bytes of the text block a conversion writes into.
constexpr unsigned kMadeTextSize = 255;

// Sets dst to the text a conversion made: a block of 255 bytes holding s
// and its NUL, the rest zero (a longer text gets the room it needs, not
// cut); 0 or the out-of-memory status.
long set_text(tagKVARIANT* dst, const KZString& s) {
  const unsigned n = unsigned(s.GetLength());
  dst->bstrVal = KBinSysAllocStringByteLen(nullptr, n + 1 > kMadeTextSize ? n + 1 : kMadeTextSize);
  if (!dst->bstrVal) return KE_OUTOFMEMORY;
  std::memcpy(dst->bstrVal, static_cast<const char*>(s), n);
  return KS_OK;
}

long set_bstr(tagKVARIANT* dst, char* s) {
  dst->bstrVal = s;
  return s ? KS_OK : KE_OUTOFMEMORY;
}

// A 32-bit integer from a wider value; overflow outside the range.
long fit_long(long long v, tagKVARIANT* dst) {
  if (v < INT32_MIN || v > INT32_MAX) return KDISP_E_OVERFLOW;
  dst->lVal = int32_t(v);
  return KS_OK;
}

long from_double_text(const KZString& text, tagKVARIANT* dst, unsigned short type) {
  if (type == KVT_CY) {
    dst->cyVal.int64 = KOsKBstrToInt64(text);
    return KS_OK;
  }
  if (type == KVT_DECIMAL) {
    KDecimal dec;
    long st = dec.ReadText(text);
    if (st != KS_OK) return st;
    tagKDEC d = dec.GetDecimalVal();
    std::memcpy(static_cast<void*>(dst), &d, sizeof d);
    return KS_OK;
  }
  return set_text(dst, text);
}

long from_r4(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (type) {
    case KVT_R4: dst->fltVal = s.fltVal; return KS_OK;
    case KVT_R8: dst->dblVal = double(s.fltVal); return KS_OK;
    case KVT_CY:
    case KVT_DECIMAL:
    case KVT_KSTR: {
      KZString text;
      text.Format("%f", double(s.fltVal));
      return from_double_text(text, dst, type);
    }
    default: return KDISP_E_TYPEMISMATCH;
  }
}

long from_r8(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (type) {
    case KVT_I4:
      // Every value outside the 32-bit range, and NaN, overflows.
      if (!(s.dblVal > -2147483649.0 && s.dblVal < 2147483648.0)) return KDISP_E_OVERFLOW;
      dst->lVal = int32_t(s.dblVal);
      return KS_OK;
    case KVT_R4: dst->fltVal = float(s.dblVal); return KS_OK;
    case KVT_R8: dst->dblVal = s.dblVal; return KS_OK;
    case KVT_CY:
    case KVT_DECIMAL:
    case KVT_KSTR: {
      KZString text;
      text.Format("%f", s.dblVal);
      return from_double_text(text, dst, type);
    }
    default: return KDISP_E_TYPEMISMATCH;
  }
}

long from_i4(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (type) {
    case KVT_I4: dst->lVal = s.lVal; return KS_OK;
    case KVT_R4: dst->fltVal = float(s.lVal); return KS_OK;
    case KVT_CY: dst->cyVal.int64 = int64_t(s.lVal) * 10000; return KS_OK;
    case KVT_BOOL: dst->boolVal = int16_t(s.lVal & 0xFFFF); return KS_OK;  // the low 16 bits
    case KVT_KSTR: {
      KZString text;
      text.Format("%d", int(s.lVal));
      return set_text(dst, text);
    }
    default: return KDISP_E_TYPEMISMATCH;
  }
}

long from_cy(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (type) {
    case KVT_I4: return fit_long(s.cyVal.int64 / 10000, dst);
    case KVT_CY: dst->cyVal = s.cyVal; return KS_OK;
    case KVT_R4:
    case KVT_R8:
    case KVT_DECIMAL:
    case KVT_KSTR: break;
    default: return KDISP_E_TYPEMISMATCH;
  }
  char* text = KOsInt64ToKBstr(s.cyVal.int64);
  if (!text) return KE_OUTOFMEMORY;
  if (type == KVT_KSTR) return set_bstr(dst, text);
  long st = KS_OK;
  if (type == KVT_DECIMAL) {
    KDecimal dec;
    st = dec.ReadText(text);
    tagKDEC d = dec.GetDecimalVal();
    if (st == KS_OK) std::memcpy(static_cast<void*>(dst), &d, sizeof d);
  } else {
    double v = KNumTextToDouble(text);
    if (type == KVT_R4) dst->fltVal = float(v);
    else dst->dblVal = v;
  }
  KBinSysFreeString(text);
  return st;
}

long from_date(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  if (type == KVT_DATE) {
    dst->date = s.date;
    return KS_OK;
  }
  if (type != KVT_KSTR) return KDISP_E_TYPEMISMATCH;
  std::tm t{};
  if (!KTmFromOleDate(s.date, t)) throw new KErr(KERR_ILLEGAL_ARGUMENT, "KVariantChangeType", "Invalid Date");
  char buf[80];
  KTmToISODateStr(buf, t);
  return set_text(dst, KZString(buf));
}

long from_bool(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (type) {
    case KVT_I4: dst->lVal = s.boolVal; return KS_OK;
    case KVT_R8: dst->dblVal = double(s.boolVal); return KS_OK;
    case KVT_BOOL: dst->boolVal = s.boolVal; return KS_OK;
    default: return KDISP_E_TYPEMISMATCH;
  }
}

long from_decimal(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  if (type == KVT_DECIMAL) {
    std::memcpy(static_cast<void*>(dst), &s, sizeof s);
    return KS_OK;
  }
  if (type != KVT_R8 && type != KVT_CY && type != KVT_KSTR) return KDISP_E_TYPEMISMATCH;
  KDecimal dec;
  dec.CreateFromVariant(s);
  char* text = dec.GetBSTRVal();
  if (!text) return KE_OUTOFMEMORY;
  if (type == KVT_KSTR) return set_bstr(dst, text);
  struct Free {
    char* p;
    ~Free() { KBinSysFreeString(p); }
  } owned{text};
  if (type == KVT_R8) dst->dblVal = KNumTextToDouble(text);
  else dst->cyVal.int64 = KOsKBstrToInt64(text);
  return KS_OK;
}

long from_text(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  const char* text = s.bstrVal ? s.bstrVal : "";
  switch (type) {
    case KVT_I4: return fit_long(katol(text), dst);
    case KVT_R4: dst->fltVal = float(katof(text)); return KS_OK;
    case KVT_R8: dst->dblVal = katof(text); return KS_OK;
    case KVT_CY: dst->cyVal.int64 = KOsKBstrToInt64(s.bstrVal); return KS_OK;
    case KVT_DATE: {
      KUtlTypeConvert conv;
      KZString in(text);
      KOleDateTime d;
      conv.ConvertDate(in, d, UtlGetThreadLocale());
      dst->date = d.m_dt;
      return KS_OK;
    }
    case KVT_DECIMAL: {
      KDecimal dec;
      long st = dec.ReadText(text);
      if (st != KS_OK) return st;
      tagKDEC d = dec.GetDecimalVal();
      std::memcpy(static_cast<void*>(dst), &d, sizeof d);
      return KS_OK;
    }
    case KVT_KSTR:
      dst->bstrVal = copy_text(s.bstrVal);
      return s.bstrVal && !dst->bstrVal ? KE_OUTOFMEMORY : KS_OK;
    default: return KDISP_E_TYPEMISMATCH;
  }
}

long convert(const tagKVARIANT& s, tagKVARIANT* dst, unsigned short type) {
  switch (s.vt) {
    case KVT_EMPTY:
    case KVT_NULL: KVariantInit(dst); return KS_OK;
    case KVT_I4: return from_i4(s, dst, type);
    case KVT_R4: return from_r4(s, dst, type);
    case KVT_R8: return from_r8(s, dst, type);
    case KVT_CY: return from_cy(s, dst, type);
    case KVT_DATE: return from_date(s, dst, type);
    case KVT_ERROR:
      if (type != KVT_ERROR) return KDISP_E_TYPEMISMATCH;
      dst->scode = s.scode;
      return KS_OK;
    case KVT_BOOL: return from_bool(s, dst, type);
    case KVT_DECIMAL: return from_decimal(s, dst, type);
    case KVT_KSTR: return from_text(s, dst, type);
    default: return KDISP_E_BADVARTYPE;
  }
}

} // namespace

void KVariantInit(tagKVARIANT* v) {
  if (v) std::memset(static_cast<void*>(v), 0, sizeof *v);
}
void KAfxVariantInit(tagKVARIANT* v) { KVariantInit(v); }

long KVariantClear(tagKVARIANT* v) {
  if (!v) return KE_INVALIDARG;
  switch (v->vt) {
    case KVT_KSTR:
      KBinSysFreeString(v->bstrVal);
      v->bstrVal = nullptr;
      break;
    case KVT_I4:
    case KVT_R4: v->lVal = 0; break;
    case KVT_R8:
    case KVT_CY:
    case KVT_DATE: v->llVal = 0; break;
    case KVT_BOOL: v->boolVal = 0; break;
    case KVT_DECIMAL: KVariantInit(v); break;
    default: break;
  }
  v->vt = KVT_EMPTY;
  return KS_OK;
}

long KVariantCopy(tagKVARIANT* dst, tagKVARIANT* src) {
  if (!dst || !src) return KE_INVALIDARG;
  if (dst == src) return KS_OK;
  KVariantClear(dst);
  switch (src->vt) {
    case KVT_KSTR: dst->bstrVal = copy_text(src->bstrVal); break;
    case KVT_I4:
    case KVT_R4:
    case KVT_ERROR: dst->lVal = src->lVal; break;
    case KVT_R8:
    case KVT_CY:
    case KVT_DATE: dst->llVal = src->llVal; break;
    case KVT_I2:
    case KVT_BOOL:
    case KVT_UI1: dst->iVal = src->iVal; break;
    case KVT_DECIMAL: std::memcpy(static_cast<void*>(dst), src, sizeof *dst); break;
    default: break;
  }
  dst->vt = src->vt;
  return KS_OK;
}

long KVariantChangeType(tagKVARIANT* dst, tagKVARIANT* src, unsigned short, unsigned short type) {
  if (!dst || !src) return KE_INVALIDARG;
  Scratch tmp;
  KVariantCopy(&tmp, src);
  KVariantClear(dst);
  long st = convert(tmp, dst, type);
  if (st != KS_OK) {
    KVariantInit(dst);
    dst->vt = KVT_ERROR;
    dst->scode = int32_t(st);
    return st;
  }
  dst->vt = type;
  return KS_OK;
}

long KVariantChangeTypeEx(tagKVARIANT* dst, tagKVARIANT* src, KUtlLocale& locale, unsigned short flags,
                          unsigned short type) {
  KThreadLocaleSwitch use(locale);
  return KVariantChangeType(dst, src, flags, type);
}

} // namespace KCLASSIC
