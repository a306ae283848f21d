// KLongNumber, a 96-bit unsigned number with a carry flag and a sign bit
// (a 97th bit, so differences carry a two's-complement sign), and KDecimal,
// the 96-bit decimal of variants of type 14 with its text conversions.
#pragma once

#include <cstdint>

#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class ORB_API KLongNumber {
 public:
  KLongNumber();
  explicit KLongNumber(const uint8_t* bytes);
  KLongNumber(const uint8_t* bytes, int carry, int sign);
  KLongNumber(const KLongNumber& other) = default;
  KLongNumber& operator=(const KLongNumber& other) = default;

  uint8_t& operator[](int i) { return m_bytes[i]; }
  uint8_t operator[](int i) const { return m_bytes[i]; }
  // The 12 bytes; the flags are not compared.
  bool operator==(const KLongNumber& b) const;
  // this - b is negative.
  bool operator<(const KLongNumber& b) const;
  // Strictly greater.
  bool operator>(const KLongNumber& b) const;

  KLongNumber operator+(const KLongNumber& b) const;
  KLongNumber operator-(const KLongNumber& b) const;
  KLongNumber operator~() const;
  KLongNumber operator&(const KLongNumber& b) const;
  KLongNumber operator|(const KLongNumber& b) const;
  // The low byte combined with m; the other bytes 0.
  KLongNumber operator&(unsigned m) const;
  KLongNumber operator|(unsigned m) const;
  KLongNumber operator*(unsigned m) const; // modulo 2^96
  // Divides this number by d in place and returns the remainder.
  unsigned operator%(unsigned d);
  KLongNumber operator<<(int bits) const;
  KLongNumber operator>>(int bits) const;

  static void LeftShift(uint8_t* bytes, int bits);
  static void RightShift(uint8_t* bytes, int bits);
  // 1 when all 12 bytes are 0xFF.
  static int NegetiveZero(const uint8_t* bytes);

  int GetCarry() const { return m_carry; }
  int GetSign() const { return m_sign; }
  bool IsZero() const;

  uint8_t m_bytes[12]; // least significant first
  int32_t m_carry = 0;
  int32_t m_sign = 0;
};

// Unchanged quotient and remainder for a zero dividend or divisor.
ORB_API void unsigned_divide(KLongNumber dividend, KLongNumber divisor, KLongNumber& quotient, KLongNumber& remainder);

class ORB_API KDecimal {
 public:
  KDecimal() = default;

  int CreateFromDecimal(const tagKDEC& dec);
  int CreateFromVariant(const tagKVARIANT& v);
  // An optional sign, digits and at most one point ("." or the thread
  // locale's separator), white space around; at most 28 fraction digits and
  // 96 bits. 1 when read; 0 (nothing changed) for any other text.
  int CreateFromBSTR(const char* text);
  int CreateFromKString(KZString text);
  // The same reading with a variant status: 0, 0x80020005 for a text of
  // another form, 0x8002000A for a value beyond the decimal's range.
  long ReadText(const char* text);

  // A new length-prefixed text; trailing fraction zeros stay.
  char* GetBSTRVal() const;
  tagKDEC GetDecimalVal() const;
  tagKVARIANT GetVariantVal() const;
  void AddLongNumber(const KLongNumber& n);

  KLongNumber m_mag;
  int32_t m_negative = 0;
  int32_t m_scale = 0;
};

} // namespace KCLASSIC
