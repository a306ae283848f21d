// Variant normalisation and the conversions with defaults.
#include <cstring>

#include "bo/bo_num.h"
#include "bo/bo_util.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

namespace {

// By-reference chains longer than this are taken as a loop.
constexpr int kMaxRefDepth = 64;
constexpr const char* kUnrecognized = "Unrecognized Variant Type";

[[noreturn]] void refuse() { throw new KErr(KERR_ILLEGAL_ARGUMENT, "UtlNormalizeVariant", kUnrecognized); }

const void* ref_target(const tagKVARIANT& v) {
  const void* p = nullptr;
  std::memcpy(&p, &v.llVal, sizeof p);
  return p;
}

template <class T>
T read_ref(const void* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

// A by-value view of what a by-reference variant points at (a text is not
// copied). False for a null reference or a type that cannot be read.
bool load_ref(const tagKVARIANT& ref, uint16_t base, tagKVARIANT& val) {
  const void* p = ref_target(ref);
  if (!p) return false;
  switch (base) {
    case KVT_I2:
    case KVT_BOOL: val.iVal = read_ref<int16_t>(p); break;
    case KVT_UI1: val.bVal = read_ref<uint8_t>(p); break;
    case BO_VT_UI2: val.bVal = read_ref<uint16_t>(p); break;
    case KVT_I4:
    case BO_VT_UI4:
    case KVT_ERROR: val.lVal = read_ref<int32_t>(p); break;
    case KVT_R4: val.fltVal = read_ref<float>(p); break;
    case KVT_R8:
    case KVT_DATE: val.dblVal = read_ref<double>(p); break;
    case KVT_CY: val.cyVal = read_ref<tagKCY>(p); break;
    case KVT_KSTR: val.bstrVal = read_ref<char*>(p); break;
    case KVT_DECIMAL: std::memcpy(static_cast<void*>(&val), p, sizeof val); break;
    default: return false;
  }
  val.vt = base;
  return true;
}

void set_long(tagKVARIANT& out, long value) {
  out.vt = KVT_I4;
  out.lVal = int32_t(value);
}

// The normalised value of a variant in the variant layer's conversions.
long convert(tagKVARIANT& out, const tagKVARIANT& val, uint16_t type) {
  tagKVARIANT src = val; // a view: the conversion copies what it needs
  return KVariantChangeType(&out, &src, 0, type);
}

// A copy of v normalised and converted to type; throws from method when it
// cannot be. False (nothing thrown) for an empty, null or error value.
bool convert_with_default(const tagKVARIANT& v, uint16_t type, KOleVariant& out, const char* method) {
  tagKVARIANT in = v;
  UtlNormalizeVariantGuts(&in, out);
  if (out.vt == KVT_EMPTY || out.vt == KVT_NULL || out.vt == KVT_ERROR) return false;
  // The variant layer reads a text that is no number as 0.
  bool numeric = type == KVT_I4 || type == KVT_R8;
  if (out.vt == KVT_KSTR && numeric && !bo_text_is_number(out.bstrVal, type == KVT_I4))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "");
  if (KVariantChangeType(&out, &out, 0, type) < 0) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, "");
  return true;
}

} // namespace

void UtlNormalizeVariantGuts(tagKVARIANT* in, tagKVARIANT& out) {
  KVariantClear(&out);
  if (!in) refuse();
  const tagKVARIANT* v = in;
  for (int depth = 0; v->vt == (KVT_BYREF | BO_VT_VARIANT); ++depth) {
    v = static_cast<const tagKVARIANT*>(ref_target(*v));
    if (!v || depth >= kMaxRefDepth) refuse();
  }
  uint16_t base = uint16_t(v->vt & ~KVT_BYREF);
  if (base == BO_VT_OBJECT || (v->vt & KVT_ARRAY)) refuse();
  tagKVARIANT val = *v;
  if ((v->vt & KVT_BYREF) && !load_ref(*v, base, val)) refuse();
  switch (base) {
    case KVT_I2: set_long(out, val.iVal); return;
    case KVT_UI1: set_long(out, val.bVal & 0xFF); return;
    case BO_VT_UI2: set_long(out, val.bVal); return;
    case BO_VT_UI4:
      if (val.lVal < 0) refuse(); // beyond the 32-bit long
      set_long(out, val.lVal);
      return;
    case KVT_R4:
      out.vt = KVT_R8;
      out.dblVal = double(val.fltVal);
      return;
    default:
      if (convert(out, val, base) < 0) {
        KVariantInit(&out);
        refuse();
      }
  }
}

void UtlNormalizeVariant(tagKVARIANT* in, tagKVARIANT& out) { UtlNormalizeVariantGuts(in, out); }

KOleVariant UtlNormalizeVariant(const tagKVARIANT* in) {
  KOleVariant out;
  tagKVARIANT copy{};
  if (in) copy = *in;
  UtlNormalizeVariantGuts(in ? &copy : nullptr, out);
  return out;
}

double UtlVariantToDouble(const tagKVARIANT& v, double dflt) {
  KOleVariant out;
  return convert_with_default(v, KVT_R8, out, "KUtlMisc::UtlVariantToDouble") ? out.dblVal : dflt;
}

long UtlVariantToLong(const tagKVARIANT& v, long dflt) {
  KOleVariant out;
  return convert_with_default(v, KVT_I4, out, "KUtlMisc::UtlVariantToLong") ? long(out.lVal) : dflt;
}

int UtlVariantToBool(const tagKVARIANT& v, int dflt) {
  KOleVariant out;
  if (!convert_with_default(v, KVT_BOOL, out, "KUtlMisc::UtlVariantToBool")) return dflt;
  return out.boolVal != 0 ? 1 : 0;
}

const char* UtlVariantToString(const tagKVARIANT& v, KZString& out, const char* dflt) {
  KOleVariant text;
  if (!convert_with_default(v, KVT_KSTR, text, "KUtlMisc::UtlVariantToString")) {
    out = dflt;
    return dflt;
  }
  out = KZString(text.bstrVal, long(KBinSysStringByteLen(text.bstrVal)));
  return out;
}

} // namespace KCLASSIC
