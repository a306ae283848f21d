// The value class: constructors, assignment, unary minus, ToDecimal,
// CommonType.
#include "core/cmn/cmn_val.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/cmn/cmn_typ_conv_int.h"
#include "core/cmn/cmn_val_int.h"

namespace {

bool is_numeric(long t) {
  return t == CMN_TYP_LONG || t == CMN_TYP_SHORT || t == CMN_TYP_FLOAT || t == CMN_TYP_DOUBLE;
}

std::string fixed(double v, int places) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, places);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

}  // namespace

cmn_ty_decimal* cmn_val_text_decimal(const std::string& text) {
  cmn_conv_settings& s = cmn_conv();
  bool localized = s.localized;
  s.localized = false;
  const char* src = text.c_str();
  void* slot = nullptr;
  long allocated = 0;
  long rc = cmn_typ_convert(-1, CMN_TYP_CHAR_P, &src, CMN_TYP_DECIMAL, &slot, 0, &allocated);
  s.localized = localized;
  if (rc != 0) {
    if (allocated == 1) cmn_typ_dealloc("OrbnCmnVal", slot);
    return nullptr;
  }
  return static_cast<cmn_ty_decimal*>(slot);
}

cmn_ty_decimal cmn_val_double_decimal(double v) {
  cmn_ty_decimal d{};
  std::string t = fixed(v, 6);
  std::snprintf(d.text, sizeof d.text, "%s", t.c_str());
  return d;
}

double cmn_val_as_double(const OrbnCmnVal& v) {
  switch (v.type) {
    case CMN_TYP_LONG: return static_cast<double>(v.value.l);
    case CMN_TYP_SHORT: return v.value.s;
    case CMN_TYP_FLOAT: return v.value.f;
    case CMN_TYP_DOUBLE: return v.value.d;
    case CMN_TYP_DECIMAL: {
      double d = 0.0;
      const char* p = v.value.dec.text;
      if (*p == '+') ++p;
      std::from_chars(p, p + std::strlen(p), d);
      return d;
    }
    default: return 0.0;
  }
}

void cmn_val_free(cmn_ty_decimal* d) {
  if (d != nullptr) cmn_typ_dealloc("OrbnCmnVal", d);
}

OrbnCmnVal::OrbnCmnVal() : type(CMN_TYP_LONG), value{} { value.l = 0; }
OrbnCmnVal::OrbnCmnVal(long v) : type(CMN_TYP_LONG), value{} { value.l = v; }
OrbnCmnVal::OrbnCmnVal(signed char v) : type(CMN_TYP_SHORT), value{} { value.s = v; }
OrbnCmnVal::OrbnCmnVal(float v) : type(CMN_TYP_FLOAT), value{} { value.f = v; }
OrbnCmnVal::OrbnCmnVal(double v) : type(CMN_TYP_DOUBLE), value{} { value.d = v; }
OrbnCmnVal::OrbnCmnVal(const cmn_ty_decimal& v) : type(CMN_TYP_DECIMAL), value{} { value.dec = v; }
OrbnCmnVal::OrbnCmnVal(char* v) : type(CMN_TYP_CHAR_P), value{} { value.p = v; }
OrbnCmnVal::OrbnCmnVal(const cmn_ty_value* v) : type(v->type), value{} {
  std::memcpy(&value, &v->value, sizeof v->value);
}
OrbnCmnVal::OrbnCmnVal(const OrbnCmnValRec* v) : type(v->type), value(v->value) {}

OrbnCmnVal::OrbnCmnVal(long t, double v) : type(t), value{} {
  switch (t) {
    case CMN_TYP_CHAR_P: value.p = const_cast<char*>(""); break;
    case CMN_TYP_DOUBLE: value.d = v; break;
    case CMN_TYP_DECIMAL: value.dec = cmn_val_double_decimal(v); break;
    case CMN_TYP_SHORT: value.s = static_cast<short>(v); break;
    case CMN_TYP_FLOAT: value.f = static_cast<float>(v); break;
    default:
      type = CMN_TYP_LONG;
      value.l = static_cast<long>(v);
      break;
  }
}

OrbnCmnVal::OrbnCmnVal(const OrbnCmnVal& other) : type(other.type), value{} {
  switch (type) {
    case CMN_TYP_SHORT: value.s = other.value.s; break;
    case CMN_TYP_FLOAT: value.f = other.value.f; break;
    case CMN_TYP_CHAR_P: value.p = other.value.p; break;
    case CMN_TYP_DOUBLE: value.d = other.value.d; break;
    case CMN_TYP_DECIMAL: value.dec = other.value.dec; break;
    default: value.l = other.value.l; break;
  }
}

long CommonType(const OrbnCmnVal& a, const OrbnCmnVal& b) {
  long x = a.type, y = b.type;
  auto known = [](long t) { return is_numeric(t) || t == CMN_TYP_CHAR_P || t == CMN_TYP_DECIMAL; };
  if (!known(x)) return 0;
  if (!known(y)) return -1;
  if (x == CMN_TYP_CHAR_P || y == CMN_TYP_CHAR_P) return x == y ? CMN_TYP_CHAR_P : -1;
  if (x == CMN_TYP_DECIMAL) return CMN_TYP_DECIMAL;
  if (x == CMN_TYP_DOUBLE || y == CMN_TYP_DOUBLE) return CMN_TYP_DOUBLE;
  if (y == CMN_TYP_DECIMAL) return CMN_TYP_DECIMAL;
  if (x == CMN_TYP_FLOAT || y == CMN_TYP_FLOAT) return CMN_TYP_FLOAT;
  if (x == CMN_TYP_SHORT && y == CMN_TYP_SHORT) return CMN_TYP_SHORT;
  return CMN_TYP_LONG;
}

OrbnCmnVal& OrbnCmnVal::operator=(const OrbnCmnVal& other) {
  if (this == &other) return *this;
  if (type == CMN_VAL_RAW) {
    type = other.type;
    value = other.value;
    return *this;
  }
  long ct = CommonType(*this, other);
  if (ct <= 0 || ct == CMN_TYP_CHAR_P) return *this;
  cmn_ty_val_union v{};
  switch (ct) {
    case CMN_TYP_LONG: v.l = other.type == CMN_TYP_SHORT ? other.value.s : other.value.l; break;
    case CMN_TYP_SHORT: v.s = other.value.s; break;
    case CMN_TYP_FLOAT: v.f = static_cast<float>(cmn_val_as_double(other)); break;
    case CMN_TYP_DOUBLE: v.d = cmn_val_as_double(other); break;
    case CMN_TYP_DECIMAL:
      if (other.type == CMN_TYP_DECIMAL) {
        v.dec = other.value.dec;
      } else if (other.type == CMN_TYP_LONG || other.type == CMN_TYP_SHORT) {
        v.dec = cmn_ty_decimal{};
        std::snprintf(v.dec.text, sizeof v.dec.text, "%ld",
                      other.type == CMN_TYP_SHORT ? static_cast<long>(other.value.s) : other.value.l);
      } else {
        v.dec = cmn_val_double_decimal(cmn_val_as_double(other));
      }
      break;
  }
  type = ct;
  value = v;
  return *this;
}

OrbnCmnVal OrbnCmnVal::operator-() const {
  OrbnCmnVal r(*this);
  switch (type) {
    case CMN_TYP_LONG: r.value.l = static_cast<long>(0UL - static_cast<unsigned long>(value.l)); break;
    case CMN_TYP_SHORT: r.value.s = static_cast<short>(-value.s); break;
    case CMN_TYP_FLOAT: r.value.f = -value.f; break;
    case CMN_TYP_DOUBLE: r.value.d = -value.d; break;
    case CMN_TYP_DECIMAL: cmn_dec_unary_minus(&r.value.dec); break;
    default: break;
  }
  return r;
}

cmn_ty_decimal* OrbnCmnVal::ToDecimal() const {
  switch (type) {
    case CMN_TYP_DECIMAL: {
      void* block = nullptr;
      long size = sizeof(cmn_ty_decimal), t = CMN_TYP_DECIMAL;
      if (cmn_typ_alloc("OrbnCmnVal", 1, &t, &size, &block) != 0) return nullptr;
      std::memcpy(block, &value.dec, sizeof value.dec);
      return static_cast<cmn_ty_decimal*>(block);
    }
    case CMN_TYP_LONG:
    case CMN_TYP_SHORT: {
      char text[32];
      std::snprintf(text, sizeof text, "%ld", type == CMN_TYP_SHORT ? static_cast<long>(value.s) : value.l);
      return cmn_val_text_decimal(text);
    }
    case CMN_TYP_FLOAT:
    case CMN_TYP_DOUBLE: {
      std::string t = fixed(type == CMN_TYP_FLOAT ? value.f : value.d, 44);
      size_t point = t.find('.');
      // Index 44 of the printed text: walk back over zeros before it, or cut
      // after it.
      if (t.size() > 44) {
        if (t[44] == '0') {
          size_t end = 44;
          while (end > 0 && t[end - 1] == '0') --end;
          if (end > 0 && t[end - 1] == '.') --end;
          if (point != std::string::npos && end > point) t.resize(end);
          else if (point != std::string::npos) t.resize(point);
        } else {
          t.resize(45);
        }
      }
      return cmn_val_text_decimal(t);
    }
    default:
      return nullptr;
  }
}
