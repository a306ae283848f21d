#include "kclassic/kc_ln.h"

#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_odt.h"
#include "kclassic/kc_var.h"

namespace KCLASSIC {

void RaiseError(long code, const char* method, const char* text) { throw new KErr(code, method, text); }

void UtlCheckHResult(long result, const char* method) {
  if (result >= 0) return;
  throw new KErr(KERR_ILLEGAL_ARGUMENT, method, result, "Input Value");
}

void UtlCStringReplace(KZString& s, const char* oldText, const char* newText) { s.Replace(oldText, newText); }

namespace {

KZString decimal_separator() {
  KZString sep;
  UtlGetThreadLocale().GetSDecimal(sep);
  return sep;
}

// A variant of the value's record changed to type, its result checked under
// method; the variant is cleared on every path.
struct Converted : tagKVARIANT {
  Converted(const tagKVARIANT& v, unsigned short type, const char* method) {
    std::memcpy(static_cast<void*>(static_cast<tagKVARIANT*>(this)), &v, sizeof v);
    long st = KVariantChangeType(this, this, 0, type);
    if (st < 0) {
      KVariantClear(this);
      UtlCheckHResult(st, method);
    }
  }
  ~Converted() { KVariantClear(this); }
  Converted(const Converted&) = delete;
  Converted& operator=(const Converted&) = delete;
};

KZString to_ln(const tagKVARIANT& v, const char* method) {
  Converted c(v, KVT_KSTR, method);
  KZString s;
  s = static_cast<const tagKVARIANT&>(c);
  return UtlConvertToLnString(s);
}

// The text under the thread locale's separator, as a text variant changed
// to type.
template <class F>
auto from_ln(const char* text, unsigned short type, const char* method, F take) {
  KZString s(text);
  UtlConvertFromLnString(s);
  tagKVARIANT v;
  KVariantInit(&v);
  s.ToKVariant(v);
  Converted c(v, type, method);
  return take(static_cast<const tagKVARIANT&>(c));
}

tagKVARIANT of_type(unsigned short type) {
  tagKVARIANT v;
  KVariantInit(&v);
  v.vt = type;
  return v;
}

} // namespace

KZString& UtlConvertToLnString(KZString& s) {
  KZString sep = decimal_separator();
  if (!sep.IsEmpty() && sep != ".") s.Replace(sep, ".");
  return s;
}

KZString& UtlConvertFromLnString(KZString& s) {
  KZString sep = decimal_separator();
  if (!sep.IsEmpty() && sep != ".") s.Replace(".", sep);
  return s;
}

KZString UtlLongToLnString(long value) {
  tagKVARIANT v = of_type(KVT_I4);
  v.lVal = int32_t(value);
  return to_ln(v, "UtlLongToLnString");
}

long UtlLnStringToLong(const char* text) {
  return from_ln(text, KVT_I4, "UtlLnStringToLong", [](const tagKVARIANT& v) { return long(v.lVal); });
}

KZString UtlDoubleToLnString(double value) {
  tagKVARIANT v = of_type(KVT_R8);
  v.dblVal = value;
  return to_ln(v, "UtlDoubleToLnString");
}

double UtlLnStringToDouble(const char* text) {
  return from_ln(text, KVT_R8, "UtlLnStringToDouble", [](const tagKVARIANT& v) { return v.dblVal; });
}

KZString UtlCurrencyToLnString(tagKCY value) {
  tagKVARIANT v = of_type(KVT_CY);
  v.cyVal = value;
  return to_ln(v, "UtlCurrencyToLnString");
}

tagKCY UtlLnStringToCurrency(const char* text) {
  return from_ln(text, KVT_CY, "UtlLnStringToCurrency", [](const tagKVARIANT& v) { return v.cyVal; });
}

KZString UtlDecimalToLnString(tagKDEC value) {
  // The record is a decimal whatever its reserved word holds (a record made
  // by KDecimal::GetDecimalVal has 0 there, which would read as empty).
  value.wReserved = KVT_DECIMAL;
  tagKVARIANT v;
  std::memcpy(static_cast<void*>(&v), &value, sizeof v);
  return to_ln(v, "UtlDecimalToLnString");
}

tagKDEC UtlLnStringToDecimal(const char* text) {
  return from_ln(text, KVT_DECIMAL, "UtlLnStringToDecimal", [](const tagKVARIANT& v) {
    tagKDEC d;
    std::memcpy(&d, &v, sizeof d);
    return d;
  });
}

KZString UtlDateToLnString(double date) {
  KOleDateTime d(date);
  return d.Format(STR_ISO_DTFORMAT);
}

double UtlLnStringToDate(const char* text) {
  KOleDateTime d(0.0);
  d.ParseDateTime(text);
  return d.m_dt;
}

} // namespace KCLASSIC
