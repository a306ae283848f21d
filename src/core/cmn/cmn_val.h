// The value class: a small numeric value of one of six registry types with
// arithmetic that promotes mixed operands (integers to float, float to
// double, anything meeting a decimal to decimal text arithmetic). Text values
// are carried but take part in nothing. Failures of the decimal operations
// and conversions stay on the current alert stack; the value is unchanged.
//
// Threads: a value belongs to its caller; the operations are as safe as the decimal
// operations and conversions they use (cmn_dec.h, cmn_typ_conv.h).
#pragma once

#include <ostream>

#include "core/cmn/cmn_dec.h"
#include "orb_api.h"

// A type id and a pointer-wide value word (type 597).
struct cmn_ty_value {
  long type;
  long value;
};

constexpr long CMN_VAL_RAW = 99;  // marks a raw record on assignment

union cmn_ty_val_union {
  long l;
  short s;
  float f;
  char* p;
  double d;
  cmn_ty_decimal dec;
};

struct OrbnCmnValRec {
  long type;
  cmn_ty_val_union value;
};

class ORB_API OrbnCmnVal {
 public:
  OrbnCmnVal();
  OrbnCmnVal(long v);
  OrbnCmnVal(signed char v);
  OrbnCmnVal(float v);
  OrbnCmnVal(double v);
  OrbnCmnVal(const cmn_ty_decimal& v);
  OrbnCmnVal(char* v);
  OrbnCmnVal(const cmn_ty_value* v);
  OrbnCmnVal(const OrbnCmnValRec* v);
  OrbnCmnVal(long type, double v);
  OrbnCmnVal(const OrbnCmnVal& other);
  ~OrbnCmnVal() {}

  long GetValType() const { return type; }
  short GetShortVal() const { return value.s; }
  long GetLongVal() const { return value.l; }
  float GetFloatVal() const { return value.f; }
  double GetDoubleVal() const { return value.d; }
  cmn_ty_decimal GetDecimalVal() const { return value.dec; }
  // A new decimal (free it with cmn_typ_dealloc), or null.
  cmn_ty_decimal* ToDecimal() const;

  OrbnCmnVal operator-() const;
  OrbnCmnVal& operator=(const OrbnCmnVal& other);
  OrbnCmnVal& operator+=(const OrbnCmnVal& other);
  OrbnCmnVal& operator*=(const OrbnCmnVal& other);
  OrbnCmnVal& operator/=(const OrbnCmnVal& other);

  long type;
  cmn_ty_val_union value;
};

// -1: the types do not combine; 0: a's type is none of the six.
ORB_API long CommonType(const OrbnCmnVal& a, const OrbnCmnVal& b);
ORB_API bool operator<=(const OrbnCmnVal& a, const OrbnCmnVal& b);
ORB_API bool operator>=(const OrbnCmnVal& a, const OrbnCmnVal& b);
ORB_API std::ostream& operator<<(std::ostream& out, const OrbnCmnVal& v);

// Rounds a number text in place, half up on the first digit cut, carrying
// left; 0 places gives an integer text. A text that is no plain number
// becomes "0.00" (text must have room for it).
ORB_API long cmn_round(char* text, long places);
// Decimal field values pass unchanged; 0.
ORB_API long cmn_val_round(void* value, long type, long scale);
// '1'..'9' give 1..9, anything else 0; 0..8 give '0'..'8', anything else '9'.
ORB_API long cmn_ctoi(char c);
ORB_API char cmn_itoa(long n);
