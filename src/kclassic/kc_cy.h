// Currency: a signed 64-bit count of ten-thousandths with a status, whose
// arithmetic reports overflow in the status; and the currency text
// conversions between decimal text and that count. Values only: nothing is
// shared, so every call is safe from several threads.
#pragma once

#include <cstdint>

#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class KArchive;

// The count of ten-thousandths in text: an optional sign, digits and at most
// one point ("." or the thread locale's decimal separator), with white space
// around; more than four fraction digits round half away from zero on the
// first dropped digit. Throws KErr 0x8B000C9 for NULL, text over 24
// characters, any other text and a value out of range.
ORB_API long long KOsKBstrToInt64(const char* text);
// A new length-prefixed text of the amount: the integer part, then '.' and
// four digits when the fraction is not 0.
ORB_API char* KOsInt64ToKBstr(const long long value);
// Brings a digit string (optionally signed, point removed) with
// fractionDigits digits after index lastIntegerIndex to exactly four
// fraction digits, rounding on the first dropped digit. The buffer needs
// room for four more bytes. Returns 0.
ORB_API int KOsConvertToFixedPoint(char* digits, int lastIntegerIndex, int fractionDigits);

class ORB_API KOleCurrency {
 public:
  enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };

  KOleCurrency() = default;
  KOleCurrency(tagKCY cy) : m_cur(cy) {}
  KOleCurrency(long units, long fraction) { SetCurrency(units, fraction); }
  explicit KOleCurrency(const tagKVARIANT& v) { *this = v; }

  // units * 10,000 + fraction; an amount out of range is reported invalid.
  void SetCurrency(long units, long fraction);
  CurrencyStatus GetStatus() const { return CurrencyStatus(m_status); }
  void SetStatus(CurrencyStatus s) { m_status = s; }

  KOleCurrency& operator=(tagKCY cy);
  KOleCurrency& operator=(const KOleCurrency& other) = default;
  KOleCurrency(const KOleCurrency& other) = default;
  KOleCurrency& operator=(const tagKVARIANT& v);

  bool operator<(const KOleCurrency& o) const { return m_cur.int64 < o.m_cur.int64; }
  bool operator>(const KOleCurrency& o) const { return m_cur.int64 > o.m_cur.int64; }
  bool operator<=(const KOleCurrency& o) const { return m_cur.int64 <= o.m_cur.int64; }
  bool operator>=(const KOleCurrency& o) const { return m_cur.int64 >= o.m_cur.int64; }

  KOleCurrency operator+(const KOleCurrency& o) const;
  KOleCurrency operator-(const KOleCurrency& o) const;
  KOleCurrency operator-() const;
  KOleCurrency operator*(long n) const;
  KOleCurrency operator/(long n) const;

  int ParseCurrency(const char* text, unsigned long flags = 0);
  KZString Format(unsigned long flags = 0) const;

  tagKCY m_cur = {0};
  int32_t m_status = valid;
};

// Archive image: the status, the high and the low 32 bits of the value,
// big-endian; read back as stored.
ORB_API KArchive& operator<<(KArchive& ar, KOleCurrency c);
ORB_API KArchive& operator>>(KArchive& ar, KOleCurrency& c);

} // namespace KCLASSIC
