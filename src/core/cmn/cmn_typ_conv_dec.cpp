// Conversions of decimals: decimal text for users, text to decimal with its
// validation, decimal to float.
#include <strings.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv_int.h"
#include "core/loc/loc_num.h"
#include "core/loc/loc_reg.h"

namespace {

constexpr long kDecimalTextSize = 44;

std::string trimmed(const std::string& t) {
  size_t a = t.find_first_not_of(" \t\n\r");
  if (a == std::string::npos) return "";
  size_t b = t.find_last_not_of(" \t\n\r");
  return t.substr(a, b - a + 1);
}

double plain_value(const char* text) {
  double v = 0.0;
  const char* p = text;
  if (*p == '+') ++p;
  std::from_chars(p, p + std::strlen(p), v);
  return v;
}

long decimal_text(const cmn_ty_decimal* d, std::string* out) {
  cmn_conv_settings& s = cmn_conv();
  long p = s.dec_precision;
  bool localized = cmn_conv_localized();
  const char* text = nullptr;
  if (p >= 0 && d->scale > p) {
    if (localized) {
      text = loc_st_localize_decimal_prec(d->text, cmn_conv_take_cur_precision(p));
    } else {
      *out = cmn_conv_fixed(plain_value(d->text), static_cast<int>(p));
      return 0;
    }
  } else if (localized) {
    if (s.read_flag || s.write_flag)
      text = loc_st_localize_decimal_prec(d->text, cmn_conv_take_cur_precision(p));
    else
      text = loc_st_localize_decimal(d->text);
  } else {
    *out = d->text;
    return 0;
  }
  if (text == nullptr) return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, d->text);
  *out = text;
  return 0;
}

}  // namespace

long cmn_conv_from_decimal(long owner, void* src, long dst_type, void* slot, long size, long* allocated) {
  const cmn_ty_decimal* d = *static_cast<cmn_ty_decimal* const*>(src);
  if (dst_type == CMN_TYP_CHAR_P) {
    if (strcasecmp(d->text, "(null)") == 0) {
      *static_cast<const char**>(slot) = "";
      return 0;
    }
    std::string text;
    long rc = decimal_text(d, &text);
    if (rc != 0) return rc;
    return cmn_conv_put_text(slot, size, kDecimalTextSize, kDecimalTextSize, allocated, text);
  }
  if (dst_type == CMN_TYP_FLOAT) {
    void* storage = nullptr;
    long rc = cmn_conv_storage(slot, size, sizeof(float), sizeof(float), dst_type, allocated, &storage);
    if (rc != 0) return rc;
    float v = static_cast<float>(cmn_conv_localized() ? loc_st_localize_dectof(d->text) : plain_value(d->text));
    std::memcpy(storage, &v, sizeof v);
    return 0;
  }
  return cmn_conv_no_proc(owner, CMN_TYP_DECIMAL, dst_type);
}

long cmn_conv_text_to_decimal(const char* text, void* slot, long size, long* allocated) {
  void* storage = nullptr;
  long rc = cmn_conv_storage(slot, size, sizeof(cmn_ty_decimal), sizeof(cmn_ty_decimal), CMN_TYP_DECIMAL,
                             allocated, &storage);
  if (rc != 0) return rc;
  cmn_ty_decimal* d = static_cast<cmn_ty_decimal*>(storage);
  const char* source = text != nullptr ? text : "";
  std::string work = source;
  work = trimmed(work);
  if (cmn_conv_localized() && !work.empty()) {
    // Only the part before an exponent mark is written with the region's
    // symbols; the exponent keeps its own sign.
    size_t mark = work.find_first_of("Ee");
    std::string mantissa = work.substr(0, mark);
    std::string rest = mark == std::string::npos ? "" : work.substr(mark);
    const loc_ty_region* region = loc_reg_get_region();
    size_t first = mantissa.find(region->dec_sym);
    if (region->dec_sym[0] != '\0' && first != std::string::npos &&
        mantissa.find(region->dec_sym, first + 1) != std::string::npos)
      return cmn_conv_push_value(CMN_TYP_TWO_POINTS, source);
    if (!loc_st_isreal(mantissa.c_str())) return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
    const char* plain = loc_st_delocalize_decimal(mantissa.c_str());
    if (plain == nullptr) return cmn_conv_push_value(CMN_TYP_DECIMAL_TOO_LONG, source);
    work = trimmed(plain + rest);
  }
  if (static_cast<long>(work.size()) >= kDecimalTextSize) return cmn_conv_push_value(CMN_TYP_DECIMAL_TOO_LONG, source);
  if (work.empty()) {
    std::strcpy(d->text, "0.0");
    d->precision = 2;
    d->scale = 1;
    return 0;
  }
  long digits = 0, int_digits = 0, frac_digits = 0, points = 0, marks = 0, signs = 0;
  long mark_at = -1;
  for (size_t i = 0; i < work.size(); ++i) {
    char c = work[i];
    if (c >= '0' && c <= '9') {
      ++digits;
      if (points == 0 && marks == 0) ++int_digits;
      else if (points == 1 && marks == 0) ++frac_digits;
    } else if (c == '.') {
      // A point inside the exponent makes no number.
      if (marks > 0) return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
      ++points;
    } else if (c == '+' || c == '-') {
      ++signs;
    } else if (c == 'E' || c == 'e') {
      ++marks;
      mark_at = static_cast<long>(i);
    } else {
      return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
    }
  }
  if (points >= 2) return cmn_conv_push_value(CMN_TYP_TWO_POINTS, source);
  if (marks >= 2) return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
  // Without a digit before the mark there is no number.
  if (int_digits + frac_digits == 0) return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
  long precision, scale;
  if (marks == 1) {
    auto is_sign = [&](long i) { return i < static_cast<long>(work.size()) && (work[i] == '+' || work[i] == '-'); };
    bool first = is_sign(0), after = is_sign(mark_at + 1);
    bool ok = signs == 2 ? first && after : signs == 1 ? first || after : signs == 0;
    // The exponent is a whole number right after the mark.
    const char* e_text = work.c_str() + mark_at + 1;
    char* end = nullptr;
    long e = std::strtol(e_text, &end, 10);
    if (!ok || end == e_text || *end != '\0' || !(e_text[0] == '+' || e_text[0] == '-' ||
                                                   (e_text[0] >= '0' && e_text[0] <= '9')))
      return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
    if (e < 0) {
      if (int_digits < -e) {
        precision = scale = frac_digits - e;
      } else {
        precision = int_digits + frac_digits;
        scale = frac_digits - e;
      }
    } else if (frac_digits < e) {
      scale = 0;
      precision = int_digits + e;
    } else {
      precision = int_digits + frac_digits;
      scale = frac_digits - e;
    }
  } else {
    if (signs > 1 || (signs == 1 && work[0] != '+' && work[0] != '-'))
      return cmn_conv_push_value(CMN_TYP_BAD_DECIMAL, source);
    precision = digits;
    scale = frac_digits;
  }
  std::memcpy(d->text, work.c_str(), work.size() + 1);
  d->precision = precision;
  d->scale = scale;
  return 0;
}
