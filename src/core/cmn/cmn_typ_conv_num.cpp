// Conversions from longs, floats, doubles, money and booleans.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv_int.h"
#include "core/loc/loc_num.h"

namespace {

template <class T>
long put_value(void* slot, long size, long type, long* allocated, T value) {
  void* storage = nullptr;
  long need = static_cast<long>(sizeof(T));
  long rc = cmn_conv_storage(slot, size, need, need, type, allocated, &storage);
  if (rc != 0) return rc;
  std::memcpy(storage, &value, sizeof(T));
  return 0;
}

template <class T>
T read_at(const void* cell) {
  T v;
  std::memcpy(&v, cell, sizeof(T));
  return v;
}

// The datum whose address the cell holds.
template <class T>
T read_through(const void* cell) {
  return read_at<T>(*static_cast<void* const*>(cell));
}

long long_to_text(long v, void* slot, long size, long* allocated) {
  char plain[32];
  std::snprintf(plain, sizeof plain, "%ld", v);
  std::string text = plain;
  if (cmn_conv_localized()) {
    const char* loc = loc_st_localize_long(plain);
    if (loc == nullptr) return cmn_conv_push_value(CMN_TYP_BAD_INTEGER, plain);
    text = loc;
  }
  return cmn_conv_put_text(slot, size, 11, 12, allocated, text);
}

long real_to_text(double v, void* slot, long size, long* allocated) {
  std::string text;
  if (cmn_conv_localized()) {
    long rc = cmn_conv_currency_text(v, &text);
    if (rc != 0) return rc;
  } else {
    text = cmn_conv_fixed(v, 2);
  }
  return cmn_conv_put_text(slot, size, 20, 20, allocated, text);
}

}  // namespace

std::string cmn_conv_fixed(double v, int places) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, places);
  if (r.ec != std::errc()) return "0";
  return std::string(buf, r.ptr);
}

long cmn_conv_currency_text(double v, std::string* out) {
  std::string plain = cmn_conv_fixed(v, 6);
  cmn_conv_settings& s = cmn_conv();
  const char* text;
  if (s.dec_precision < 0) {
    text = loc_st_localize_decimal(plain.c_str());
    s.read_flag = s.write_flag = false;
  } else {
    text = loc_st_localize_decimal_prec(plain.c_str(), cmn_conv_take_cur_precision(s.dec_precision));
  }
  if (text == nullptr) return cmn_conv_push_value(CMN_TYP_BAD_REAL, plain.c_str());
  *out = text;
  return 0;
}

long cmn_conv_put_long(void* slot, long size, long* allocated, long value) {
  return put_value(slot, size, CMN_TYP_LONG, allocated, value);
}

long cmn_conv_from_number(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                          long* allocated) {
  switch (src_type * 1000 + dst_type) {
    case CMN_TYP_LONG * 1000 + CMN_TYP_LONG:
      *static_cast<void**>(slot) = src;
      return 0;
    case CMN_TYP_LONG * 1000 + CMN_TYP_FLOAT:
      return put_value(slot, size, dst_type, allocated, static_cast<float>(read_at<long>(src)));
    case CMN_TYP_LONG * 1000 + CMN_TYP_DOUBLE:
      return put_value(slot, size, dst_type, allocated, static_cast<double>(read_at<long>(src)));
    case CMN_TYP_LONG * 1000 + CMN_TYP_CHAR_P:
      return long_to_text(read_at<long>(src), slot, size, allocated);
    case CMN_TYP_LONG * 1000 + CMN_TYP_VOID_P:
      return put_value(slot, size, dst_type, allocated, read_at<long>(src));
    case CMN_TYP_LONG * 1000 + CMN_TYP_BOOLEAN:
      // The low byte of the long (256 is false).
      return put_value(slot, size, dst_type, allocated, static_cast<char>(read_at<long>(src) & 0xFF));
    case CMN_TYP_FLOAT * 1000 + CMN_TYP_FLOAT:
      return put_value(slot, size, dst_type, allocated, read_at<float>(src));
    case CMN_TYP_FLOAT * 1000 + CMN_TYP_DOUBLE:
      return put_value(slot, size, dst_type, allocated, static_cast<double>(read_through<float>(src)));
    case CMN_TYP_FLOAT * 1000 + CMN_TYP_CHAR_P:
      return real_to_text(read_through<float>(src), slot, size, allocated);
    case CMN_TYP_DOUBLE * 1000 + CMN_TYP_DOUBLE:
      return put_value(slot, size, dst_type, allocated, read_at<double>(src));
    case CMN_TYP_DOUBLE * 1000 + CMN_TYP_FLOAT:
      return put_value(slot, size, dst_type, allocated, static_cast<float>(read_through<double>(src)));
    case CMN_TYP_DOUBLE * 1000 + CMN_TYP_CHAR_P:
      return real_to_text(read_through<double>(src), slot, size, allocated);
    case CMN_TYP_MONEY * 1000 + CMN_TYP_DOUBLE:
      return put_value(slot, size, dst_type, allocated, read_through<double>(src));
    case CMN_TYP_MONEY * 1000 + CMN_TYP_FLOAT:
      return put_value(slot, size, dst_type, allocated, static_cast<float>(read_through<double>(src)));
    case CMN_TYP_BOOLEAN * 1000 + CMN_TYP_CHAR_P:
      *static_cast<const char**>(slot) = read_at<signed char>(src) != 0 ? "True" : "False";
      return 0;
    case CMN_TYP_BOOLEAN * 1000 + CMN_TYP_LONG:
      return put_value(slot, size, dst_type, allocated, static_cast<long>(read_at<signed char>(src)));
    default:
      return cmn_conv_no_proc(owner, src_type, dst_type);
  }
}
