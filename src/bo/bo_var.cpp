// KVariant: construction, reading and writing, kinds and conversion.
#include "bo/bo_var.h"

#include <cstring>

#include "bo/bo_num.h"
#include "bo/bo_util.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_dec.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

KVariant* KVariant::m_pEmpty = nullptr;

namespace {

constexpr const char* kChangeTypeMethod = "KVariant::ChangeType";
constexpr const char* kChangeTypeFailed = "Change type failed";

// Variant type of each kind, index = kind.
constexpr uint16_t kKindTypes[] = {KVT_EMPTY, KVT_NULL, KVT_I4, KVT_R4, KVT_R8, KVT_KSTR, KVT_DATE, KVT_CY, KVT_DECIMAL};

uint16_t type_of_kind(EKVType kind) {
  auto i = size_t(kind);
  return i < sizeof kKindTypes / sizeof kKindTypes[0] ? kKindTypes[i] : uint16_t(KVT_EMPTY);
}

bool is_numeric_type(uint16_t t) {
  return t == KVT_I4 || t == KVT_R4 || t == KVT_R8 || t == KVT_CY || t == KVT_DECIMAL;
}

// Integer types the variant layer does not convert, widened to a long.
void widen_small_integer(tagKVARIANT& v) {
  switch (v.vt) {
    case KVT_I2: v.lVal = v.iVal; break;
    case KVT_UI1: v.lVal = v.bVal & 0xFF; break;
    case BO_VT_UI2: v.lVal = v.bVal; break;
    case BO_VT_UI4: break;
    default: return;
  }
  v.vt = KVT_I4;
}

// Converts src into dst. Where the variant layer has no direct way from a
// long, the long goes through its exact double first.
long convert(tagKVARIANT& dst, tagKVARIANT& src, uint16_t target) {
  long st = KVariantChangeType(&dst, &src, 0, target);
  if (st >= 0 || src.vt != KVT_I4) return st;
  tagKVARIANT wide{};
  wide.vt = KVT_R8;
  wide.dblVal = double(src.lVal);
  if (target == KVT_R8) {
    KVariantClear(&dst);
    dst = wide;
    return KS_OK;
  }
  return KVariantChangeType(&dst, &wide, 0, target);
}

[[noreturn]] void throw_change_failed(bool withInner) {
  if (withInner) throw new KErr(KERR_ILLEGAL_ARGUMENT, kChangeTypeMethod, new KErr(), kChangeTypeFailed);
  throw new KErr(KERR_ILLEGAL_ARGUMENT, kChangeTypeMethod, kChangeTypeFailed);
}

} // namespace

KVariant::KVariant(long value) : KOleVariant(value, KVT_I4) {}
KVariant::KVariant(const char* text) { SetValue(text); }
KVariant::KVariant(const KZString& text) { SetText(text, text.GetLength()); }
KVariant::KVariant(float value) {
  vt = KVT_R4;
  fltVal = value;
}
KVariant::KVariant(double value) {
  vt = KVT_R8;
  dblVal = value;
}
KVariant::KVariant(const KOleCurrency& value) {
  vt = KVT_CY;
  cyVal = value.m_cur;
}
KVariant::KVariant(const KDateTime& value) {
  tagKVARIANT d{};
  d.vt = KVT_DATE;
  d.date = value.m_dt;
  UtlNormalizeVariantGuts(&d, *this);
}
KVariant::KVariant(const KOleVariant& value) { *this = KVariant(static_cast<const tagKVARIANT&>(value)); }
KVariant::KVariant(const tagKVARIANT& value) {
  tagKVARIANT in = value;
  UtlNormalizeVariantGuts(&in, *this);
}
KVariant::KVariant(const KVariant& value) : KOleVariant() {
  KVariantCopy(this, const_cast<KVariant*>(&value));
}
KVariant& KVariant::operator=(const KVariant& value) {
  if (this != &value) KVariantCopy(this, const_cast<KVariant*>(&value));
  return *this;
}

EKVType KVariant::GetType() const {
  switch (vt & ~KVT_BYREF) {
    case KVT_EMPTY: return kvEmpty;
    case KVT_NULL: return kvNull;
    case KVT_I2:
    case KVT_I4: return kvLong;
    case KVT_R4: return kvFloat;
    case KVT_R8: return kvDouble;
    case KVT_DATE: return kvDateTime;
    case KVT_CY: return kvCurrency;
    case KVT_DECIMAL: return kvDecimal;
    default: return kvString;
  }
}

int KVariant::IsNegative() const {
  switch (GetType()) {
    case kvLong: return vt == KVT_I4 && lVal < 0;
    case kvFloat: return vt == KVT_R4 && fltVal < 0.0f;
    case kvDouble: return vt == KVT_R8 && dblVal < 0.0;
    case kvCurrency: return vt == KVT_CY && cyVal.int64 < 0;
    case kvDecimal: {
      tagKDEC d;
      std::memcpy(&d, static_cast<const tagKVARIANT*>(this), sizeof d);
      return vt == KVT_DECIMAL && d.sign != 0;
    }
    default: return 0;
  }
}

int KVariant::KV2BOType(EKVType kind) {
  switch (kind) {
    case kvLong: return BO_TYPE_LONG;
    case kvFloat: return BO_TYPE_FLOAT;
    case kvDouble: return BO_TYPE_DOUBLE;
    case kvDateTime: return BO_TYPE_DATE;
    case kvDecimal: return BO_TYPE_DECIMAL;
    case kvCurrency: return BO_TYPE_CURRENCY;
    default: return BO_TYPE_STRING;
  }
}

void KVariant::ChangeType(EKVType kind) {
  if (kind == kvEmpty) {
    KVariantClear(this);
    return;
  }
  uint16_t target = type_of_kind(kind);
  if (vt == target) return;
  widen_small_integer(*this);
  if (vt == target) return;
  // The variant layer reads a text that is no number as 0.
  if (vt == KVT_KSTR && is_numeric_type(target) && !bo_text_is_number(bstrVal, target == KVT_I4))
    throw_change_failed(true);
  // Converted on a copy: a failure leaves the value as it was.
  KOleVariant result;
  long st = 0;
  try {
    st = convert(result, *this, target);
  } catch (KErr* e) {
    delete e;
    throw_change_failed(false);
  } catch (...) {
    throw_change_failed(false);
  }
  if (st < 0) throw_change_failed(true);
  KVariantClear(this);
  static_cast<tagKVARIANT&>(*this) = result.Detach();
}

KVariant KVariant::Converted(EKVType kind) const {
  KVariant copy(*this);
  copy.ChangeType(kind);
  return copy;
}

long KVariant::AsLong() const { return vt == KVT_I4 ? long(lVal) : long(Converted(kvLong).lVal); }
float KVariant::AsFloat() const { return vt == KVT_R4 ? fltVal : Converted(kvFloat).fltVal; }
double KVariant::AsDouble() const { return vt == KVT_R8 ? dblVal : Converted(kvDouble).dblVal; }

KZString& KVariant::AsString(KZString& out) const {
  if (vt == KVT_KSTR) {
    out = KZString(bstrVal, long(KBinSysStringByteLen(bstrVal)));
    return out;
  }
  // A converted text is a block holding the text up to its NUL.
  const KVariant text = Converted(kvString);
  const char* s = text.bstrVal;
  out = KZString(s, s ? long(strnlen(s, KBinSysStringByteLen(s))) : 0);
  return out;
}

KDateTime& KVariant::AsDateTime(KDateTime& out) const {
  out = vt == KVT_DATE ? date : Converted(kvDateTime).date;
  return out;
}

KOleCurrency& KVariant::AsCurrency(KOleCurrency& out) const {
  out = vt == KVT_CY ? cyVal : Converted(kvCurrency).cyVal;
  return out;
}

std::tm& KVariant::AsTm(std::tm& out) const {
  KDateTime d;
  UtlTmFromOleDate(AsDateTime(d).m_dt, out);
  return out;
}

tagKVARIANT& KVariant::GetVariant(tagKVARIANT& out) const {
  KVariantInit(&out);
  KVariantCopy(&out, const_cast<KVariant*>(this));
  return out;
}

void KVariant::SetText(const char* text, long len) {
  KVariantClear(this);
  bstrVal = KBinSysAllocStringByteLen(text, unsigned(len));
  if (!bstrVal) KAfxThrowMemoryException();
  vt = KVT_KSTR;
}

void KVariant::SetValue(long value) {
  KVariantClear(this);
  vt = KVT_I4;
  lVal = int32_t(value);
}
void KVariant::SetValue(double value) {
  KVariantClear(this);
  vt = KVT_R8;
  dblVal = value;
}
void KVariant::SetValue(float value) {
  KVariantClear(this);
  vt = KVT_R4;
  fltVal = value;
}
void KVariant::SetValue(KZString& text) { SetText(text, text.GetLength()); }
void KVariant::SetValue(const char* text) { SetText(text ? text : "", text ? long(std::strlen(text)) : 0); }
void KVariant::SetValue(KDateTime& value) { *this = KVariant(value); }
void KVariant::SetValue(KOleCurrency& value) {
  KVariantClear(this);
  vt = KVT_CY;
  cyVal = value.m_cur;
}

void KVariant::Negate() {
  switch (GetType()) {
    case kvLong:
      if (vt == KVT_I4) lVal = int32_t(0u - uint32_t(lVal));
      break;
    case kvFloat:
      if (vt == KVT_R4) fltVal = -fltVal;
      break;
    case kvDouble:
      if (vt == KVT_R8) dblVal = -dblVal;
      break;
    case kvCurrency:
      if (vt == KVT_CY) cyVal.int64 = int64_t(0ull - uint64_t(cyVal.int64));
      break;
    case kvDecimal: {
      if (vt != KVT_DECIMAL) break;
      tagKDEC d;
      std::memcpy(&d, static_cast<tagKVARIANT*>(this), sizeof d);
      KDecimal dec;
      dec.CreateFromDecimal(d);
      dec.m_negative = dec.m_negative == 0 ? 1 : 0;
      d = dec.GetDecimalVal();
      std::memcpy(static_cast<void*>(static_cast<tagKVARIANT*>(this)), &d, sizeof d);
      vt = KVT_DECIMAL;
      break;
    }
    default: break;
  }
}

} // namespace KCLASSIC
