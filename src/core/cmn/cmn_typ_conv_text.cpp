// Conversions from texts (types 515 and 516): to text, boolean, decimal,
// double and money, long, float and clock time.
#include <strings.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv_int.h"
#include "core/loc/loc_num.h"

namespace {

std::string trimmed(const char* text) {
  std::string t = text != nullptr ? text : "";
  size_t a = t.find_first_not_of(" \t\n\r");
  if (a == std::string::npos) return "";
  size_t b = t.find_last_not_of(" \t\n\r");
  return t.substr(a, b - a + 1);
}

template <class T>
long storage_for(void* slot, long size, long type, long* allocated, T** out) {
  void* storage = nullptr;
  long need = static_cast<long>(sizeof(T));
  long rc = cmn_conv_storage(slot, size, need, need, type, allocated, &storage);
  if (rc != 0) return rc;
  *out = static_cast<T*>(storage);
  return 0;
}

// A whole text read as a number ('.' as the point, whatever the C locale
// says); false when nothing or not all of it was read.
bool read_double(const std::string& t, double* v) {
  const char* p = t.c_str();
  const char* end = p + t.size();
  if (*p == '+') ++p;
  auto r = std::from_chars(p, end, *v);
  return r.ec == std::errc() && r.ptr == end;
}

long text_to_long(const char* text, void* slot, long size, long* allocated) {
  long* out = nullptr;
  long rc = storage_for(slot, size, CMN_TYP_LONG, allocated, &out);
  if (rc != 0) return rc;
  std::string t = trimmed(text);
  if (t.empty()) {
    *out = 0;
    return 0;
  }
  if (cmn_conv_localized()) {
    const char* plain = loc_st_delocalize_decimal(t.c_str());
    if (plain == nullptr) return cmn_conv_push_value(CMN_TYP_BAD_INTEGER, text);
    t = plain;
  }
  for (char c : t)
    if (!loc_st_isintch(static_cast<unsigned char>(c))) return cmn_conv_push_value(CMN_TYP_BAD_INTEGER, text);
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, 10);
  // The whole text must be the number, within the long's range.
  if (end == t.c_str() || *end != '\0' || errno == ERANGE) return cmn_conv_push_value(CMN_TYP_BAD_INTEGER, text);
  *out = v;
  return 0;
}

// Reads a real number for the float and double results; 0 or a pushed code.
long text_to_real(const char* text, bool for_float, double* v) {
  std::string t = trimmed(text);
  *v = 0.0;
  if (t.empty()) return 0;
  if (cmn_conv_localized()) {
    if (!loc_st_isreal(t.c_str())) return cmn_conv_push_value(CMN_TYP_BAD_REAL, text);
    const char* plain = loc_st_delocalize_decimal(t.c_str());
    if (plain == nullptr) return cmn_conv_push_value(CMN_TYP_BAD_REAL, text);
    *v = loc_st_localize_dectof(std::string(plain).c_str());
    return 0;
  }
  if (for_float) {
    long points = 0;
    for (char c : t) {
      if (!loc_st_isnumeric(static_cast<unsigned char>(c))) return cmn_conv_push_value(CMN_TYP_BAD_REAL, text);
      points += c == '.';
    }
    if (points > 1) return cmn_conv_push_value(CMN_TYP_TWO_POINTS, text);
    if (!read_double(t, v)) return cmn_conv_push_value(CMN_TYP_BAD_REAL, text);
    return 0;
  }
  if (!read_double(t, v)) return cmn_conv_push_value(CMN_TYP_NO_REAL, text);
  return 0;
}

}  // namespace

long cmn_conv_from_text(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                        long* allocated) {
  const char* text = *static_cast<char* const*>(src);
  switch (dst_type) {
    case CMN_TYP_CHAR_P:
      *static_cast<const char**>(slot) = text;
      return 0;
    case CMN_TYP_BOOLEAN: {
      char* out = nullptr;
      long rc = storage_for(slot, size, dst_type, allocated, &out);
      if (rc != 0) return rc;
      *out = text != nullptr && strcasecmp(text, "True") == 0 ? 1 : 0;
      return 0;
    }
    case CMN_TYP_DECIMAL:
      return cmn_conv_text_to_decimal(text, slot, size, allocated);
    case CMN_TYP_DOUBLE:
    case CMN_TYP_MONEY: {
      double* out = nullptr;
      long rc = storage_for(slot, size, dst_type, allocated, &out);
      if (rc != 0) return rc;
      double v = 0.0;
      rc = text_to_real(text, false, &v);
      if (rc != 0) return rc;
      *out = v;
      return cmn_conv_range_check(v);
    }
    case CMN_TYP_LONG:
      return text_to_long(text, slot, size, allocated);
    case CMN_TYP_FLOAT: {
      float* out = nullptr;
      long rc = storage_for(slot, size, dst_type, allocated, &out);
      if (rc != 0) return rc;
      double v = 0.0;
      rc = text_to_real(text, true, &v);
      if (rc != 0) return rc;
      *out = static_cast<float>(v);
      return cmn_conv_range_check(v);
    }
    case CMN_TYP_CLK_TIME:
      return cmn_conv_by_clock(owner, src_type, src, dst_type, slot, size, allocated);
    default:
      return cmn_conv_no_proc(owner, src_type, dst_type);
  }
}
