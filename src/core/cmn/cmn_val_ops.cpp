// The value class: +=, *=, /=, comparisons and stream output.
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_val.h"
#include "core/cmn/cmn_val_int.h"

namespace {

using dec_op = long (*)(const cmn_ty_decimal*, const cmn_ty_decimal*, cmn_ty_decimal*);

bool is_numeric(long t) {
  return t == CMN_TYP_LONG || t == CMN_TYP_SHORT || t == CMN_TYP_FLOAT || t == CMN_TYP_DOUBLE;
}

long as_long(const OrbnCmnVal& v) { return v.type == CMN_TYP_SHORT ? v.value.s : v.value.l; }

// this op= other when a decimal takes part.
void decimal_step(OrbnCmnVal& self, const OrbnCmnVal& other, dec_op op) {
  cmn_ty_decimal* a = self.ToDecimal();
  cmn_ty_decimal* b = other.ToDecimal();
  if (a != nullptr && b != nullptr) {
    cmn_ty_decimal r{};
    if (op(a, b, &r) == 0) {
      if (self.type != CMN_TYP_DECIMAL) {
        // The result takes the other operand's digit counts.
        r.precision = other.value.dec.precision;
        r.scale = other.value.dec.scale;
      }
      self.type = CMN_TYP_DECIMAL;
      self.value.dec = r;
    }
  }
  cmn_val_free(a);
  cmn_val_free(b);
}

template <class Op>
void numeric_step(OrbnCmnVal& self, const OrbnCmnVal& other, Op op) {
  long t = self.type, o = other.type;
  if (t == CMN_TYP_DOUBLE || o == CMN_TYP_DOUBLE) {
    self.value.d = op(cmn_val_as_double(self), cmn_val_as_double(other));
    self.type = CMN_TYP_DOUBLE;
  } else if (t == CMN_TYP_FLOAT || o == CMN_TYP_FLOAT) {
    self.value.f = op(static_cast<float>(cmn_val_as_double(self)), static_cast<float>(cmn_val_as_double(other)));
    self.type = CMN_TYP_FLOAT;
  } else if (t == CMN_TYP_SHORT && o == CMN_TYP_SHORT) {
    // 16-bit arithmetic: the result wraps.
    self.value.s = static_cast<short>(op(static_cast<int>(self.value.s), static_cast<int>(other.value.s)));
  } else {
    unsigned long r = op(static_cast<unsigned long>(as_long(self)), static_cast<unsigned long>(as_long(other)));
    self.value.l = static_cast<long>(r);
    self.type = CMN_TYP_LONG;
  }
}

template <class Op>
OrbnCmnVal& combine(OrbnCmnVal& self, const OrbnCmnVal& other, Op op, dec_op dop) {
  if (self.type == CMN_TYP_DECIMAL || other.type == CMN_TYP_DECIMAL) {
    if ((is_numeric(self.type) || self.type == CMN_TYP_DECIMAL) &&
        (is_numeric(other.type) || other.type == CMN_TYP_DECIMAL))
      decimal_step(self, other, dop);
    return self;
  }
  if (is_numeric(self.type) && is_numeric(other.type)) numeric_step(self, other, op);
  return self;
}

bool is_zero(const OrbnCmnVal& v) {
  switch (v.type) {
    case CMN_TYP_LONG: return v.value.l == 0;
    case CMN_TYP_SHORT: return v.value.s == 0;
    case CMN_TYP_FLOAT: return v.value.f == 0.0f;
    case CMN_TYP_DOUBLE: return v.value.d == 0.0;
    case CMN_TYP_DECIMAL: {
      cmn_ty_decimal zero{"0.0", 2, 1};
      long r = 1;
      return cmn_dec_comp(&v.value.dec, &zero, &r) == 0 && r == 0;
    }
    default: return false;
  }
}

// The quotient's text cut after 28 characters, in normal form again.
void cut_quotient(cmn_ty_decimal* d) {
  if (std::strlen(d->text) > 28) d->text[28] = '\0';
  char* point = std::strchr(d->text, '.');
  if (point != nullptr) {
    size_t n = std::strlen(d->text);
    while (n > 0 && d->text[n - 1] == '0') d->text[--n] = '\0';
    if (n > 0 && d->text[n - 1] == '.') d->text[--n] = '\0';
  }
  long digits = 0, scale = 0;
  bool after = false, nonzero = false;
  for (const char* p = d->text; *p; ++p) {
    if (*p == '.') after = true;
    if (*p >= '0' && *p <= '9') {
      ++digits;
      scale += after;
      nonzero = nonzero || *p != '0';
    }
  }
  if (!nonzero) {
    std::strcpy(d->text, "0.0");
    digits = 2;
    scale = 1;
  }
  d->precision = digits;
  d->scale = scale;
}

// -1, 0, 1; false when the two do not compare.
bool compare(const OrbnCmnVal& a, const OrbnCmnVal& b, long* result) {
  if (a.type == CMN_TYP_DECIMAL || b.type == CMN_TYP_DECIMAL) {
    if (!(is_numeric(a.type) || a.type == CMN_TYP_DECIMAL) || !(is_numeric(b.type) || b.type == CMN_TYP_DECIMAL))
      return false;
    cmn_ty_decimal* x = a.ToDecimal();
    cmn_ty_decimal* y = b.ToDecimal();
    bool ok = x != nullptr && y != nullptr && cmn_dec_comp(x, y, result) == 0;
    cmn_val_free(x);
    cmn_val_free(y);
    return ok;
  }
  if (!is_numeric(a.type) || !is_numeric(b.type)) return false;
  bool integral = (a.type == CMN_TYP_LONG || a.type == CMN_TYP_SHORT) && (b.type == CMN_TYP_LONG || b.type == CMN_TYP_SHORT);
  if (integral) {
    long x = as_long(a), y = as_long(b);
    *result = x < y ? -1 : (x > y ? 1 : 0);
  } else if (a.type == CMN_TYP_DOUBLE || b.type == CMN_TYP_DOUBLE) {
    double x = cmn_val_as_double(a), y = cmn_val_as_double(b);
    *result = x < y ? -1 : (x > y ? 1 : 0);
  } else {
    float x = static_cast<float>(cmn_val_as_double(a)), y = static_cast<float>(cmn_val_as_double(b));
    *result = x < y ? -1 : (x > y ? 1 : 0);
  }
  return true;
}

}  // namespace

OrbnCmnVal& OrbnCmnVal::operator+=(const OrbnCmnVal& other) {
  return combine(*this, other, [](auto x, auto y) { return x + y; }, cmn_dec_plus);
}

OrbnCmnVal& OrbnCmnVal::operator*=(const OrbnCmnVal& other) {
  return combine(*this, other, [](auto x, auto y) { return x * y; }, cmn_dec_multiply);
}

OrbnCmnVal& OrbnCmnVal::operator/=(const OrbnCmnVal& other) {
  bool self_ok = is_numeric(type) || type == CMN_TYP_DECIMAL;
  bool other_ok = is_numeric(other.type) || other.type == CMN_TYP_DECIMAL;
  if (!self_ok || !other_ok || is_zero(other)) return *this;
  cmn_ty_decimal* a = ToDecimal();
  cmn_ty_decimal* b = other.ToDecimal();
  cmn_ty_decimal r{};
  if (a != nullptr && b != nullptr && cmn_dec_divide(a, b, &r) == 0) {
    cut_quotient(&r);
    type = CMN_TYP_DECIMAL;
    value.dec = r;
  }
  cmn_val_free(a);
  cmn_val_free(b);
  return *this;
}

bool operator<=(const OrbnCmnVal& a, const OrbnCmnVal& b) {
  long r = 0;
  return compare(a, b, &r) && r <= 0;
}

bool operator>=(const OrbnCmnVal& a, const OrbnCmnVal& b) {
  long r = 0;
  return compare(a, b, &r) && r >= 0;
}

std::ostream& operator<<(std::ostream& out, const OrbnCmnVal& v) {
  switch (v.type) {
    case CMN_TYP_LONG: return out << v.value.l;
    case CMN_TYP_SHORT: return out << v.value.s;
    case CMN_TYP_FLOAT: return out << v.value.f;
    case CMN_TYP_DOUBLE: return out << v.value.d;
    case CMN_TYP_DECIMAL: return out << v.value.dec.text;
    case CMN_TYP_CHAR_P: return v.value.p != nullptr ? out << v.value.p : out;
    default: return out;
  }
}
