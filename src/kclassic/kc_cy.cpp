#include "kclassic/kc_cy.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_numtext.h"

namespace KCLASSIC {

namespace {

constexpr int64_t kMin = INT64_MIN;
constexpr size_t kMaxText = 24;

[[noreturn]] void refuse(const char* method, const char* insert) {
  throw new KErr(KERR_ILLEGAL_ARGUMENT, method, insert);
}

} // namespace

int KOsConvertToFixedPoint(char* digits, int lastIntegerIndex, int fractionDigits) {
  if (fractionDigits < 4) {
    size_t len = std::strlen(digits);
    for (int i = fractionDigits; i < 4; ++i) digits[len++] = '0';
    digits[len] = 0;
    return 0;
  }
  std::string work;
  const char* d = digits;
  if (*d == '-') {
    work += '-';
    ++d;
    --lastIntegerIndex;
  } else {
    work += '+';
  }
  work += '0'; // room for a carry
  int keep = lastIntegerIndex + 5; // digits kept, counted from the first
  int len = int(std::strlen(d));
  if (keep > len) keep = len;
  if (keep < 0) keep = 0;
  work.append(d, size_t(keep));
  // Half away from zero on the first dropped digit.
  if (keep < len && d[keep] >= '5') {
    size_t i = work.size() - 1;
    while (work[i] == '9') work[i--] = '0';
    work[i] = char(work[i] + 1); // at worst the spare '0' becomes '1'
  }
  std::memcpy(digits, work.c_str(), work.size() + 1);
  return 0;
}

long long KOsKBstrToInt64(const char* text) {
  if (!text) refuse("KOsKBstrToInt64", "NULL parameter");
  if (std::strlen(text) > kMaxText) refuse("KOsKBstrToInt64", "Param exceeds maximum length");
  KNumText num;
  if (!KNumTextRead(text, num)) refuse("KOsKBstrToInt64", text);
  // The digits without the point, then brought to four fraction digits.
  char digits[kMaxText + 8];
  int n = 0;
  if (num.negative) digits[n++] = '-';
  for (char c : num.integer) digits[n++] = c;
  for (char c : num.fraction) digits[n++] = c;
  digits[n] = 0;
  int lastInteger = int(num.integer.size()) - 1 + (num.negative ? 1 : 0);
  KOsConvertToFixedPoint(digits, lastInteger, int(num.fraction.size()));
  // A signed digit string; out of range is refused, never wrapped.
  const char* p = digits;
  bool neg = false;
  if (*p == '-' || *p == '+') neg = *p++ == '-';
  uint64_t mag = 0;
  const uint64_t limit = neg ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  for (; *p; ++p) {
    uint64_t d = uint64_t(*p - '0');
    if (mag > (limit - d) / 10) refuse("atoll", digits);
    mag = mag * 10 + d;
  }
  return neg ? int64_t(0 - mag) : int64_t(mag);
}

char* KOsInt64ToKBstr(const long long value) {
  uint64_t mag = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
  uint64_t q = mag / 10000, r = mag % 10000;
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%s%llu", value < 0 ? "-" : "", static_cast<unsigned long long>(q));
  if (r != 0) std::snprintf(buf + n, sizeof buf - size_t(n), ".%04llu", static_cast<unsigned long long>(r));
  return KBinSysAllocString(buf);
}

// ---------------------------------------------------------------------------

void KOleCurrency::SetCurrency(long units, long fraction) {
  m_status = valid;
  int64_t v;
  if (__builtin_mul_overflow(int64_t(units), int64_t(10000), &v)) {
    m_cur.int64 = kMin;
    m_status = invalid;
    return;
  }
  if (__builtin_add_overflow(v, int64_t(fraction), &m_cur.int64)) m_status = invalid;
}

KOleCurrency& KOleCurrency::operator=(tagKCY cy) {
  m_cur = cy;
  m_status = valid;
  return *this;
}

namespace {

// The status rule of the two-operand operations; true when r was decided.
bool status_rule(const KOleCurrency& a, const KOleCurrency& b, KOleCurrency& r) {
  if (a.m_status == KOleCurrency::null || b.m_status == KOleCurrency::null) r.m_status = KOleCurrency::null;
  else if (a.m_status == KOleCurrency::invalid || b.m_status == KOleCurrency::invalid) r.m_status = KOleCurrency::invalid;
  else return false;
  r.m_cur.int64 = 0;
  return true;
}

} // namespace

KOleCurrency KOleCurrency::operator+(const KOleCurrency& o) const {
  KOleCurrency r;
  if (status_rule(*this, o, r)) return r;
  if (__builtin_add_overflow(m_cur.int64, o.m_cur.int64, &r.m_cur.int64)) r.m_status = invalid;
  return r;
}

KOleCurrency KOleCurrency::operator-(const KOleCurrency& o) const {
  KOleCurrency r;
  if (status_rule(*this, o, r)) return r;
  if (__builtin_sub_overflow(m_cur.int64, o.m_cur.int64, &r.m_cur.int64)) r.m_status = invalid;
  return r;
}

KOleCurrency KOleCurrency::operator-() const {
  if (m_status != valid) return *this;
  KOleCurrency r;
  if (m_cur.int64 == kMin) {
    r.m_cur.int64 = kMin;
    r.m_status = invalid;
  } else {
    r.m_cur.int64 = -m_cur.int64;
  }
  return r;
}

namespace {

uint64_t magnitude(int64_t v) { return v < 0 ? 0 - uint64_t(v) : uint64_t(v); }

// The signed result of a magnitude; false when it does not fit.
bool signed_result(uint64_t mag, bool negative, int64_t& out) {
  if (mag > (negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1)) return false;
  out = negative ? int64_t(0 - mag) : int64_t(mag);
  return true;
}

} // namespace

KOleCurrency KOleCurrency::operator*(long n) const {
  if (m_status != valid) return *this;
  KOleCurrency r;
  if (m_cur.int64 == 0 || n == 0) return r;
  uint64_t prod;
  bool negative = (m_cur.int64 < 0) != (n < 0);
  if (__builtin_mul_overflow(magnitude(m_cur.int64), magnitude(n), &prod) ||
      !signed_result(prod, negative, r.m_cur.int64)) {
    r.m_cur.int64 = kMin;
    r.m_status = invalid;
  }
  return r;
}

KOleCurrency KOleCurrency::operator/(long n) const {
  if (m_status != valid) return *this;
  KOleCurrency r;
  bool negative = (m_cur.int64 < 0) != (n < 0);
  if (n == 0 || !signed_result(magnitude(m_cur.int64) / magnitude(n), negative, r.m_cur.int64)) {
    r.m_cur.int64 = kMin;
    r.m_status = invalid;
  }
  return r;
}

int KOleCurrency::ParseCurrency(const char* text, unsigned long) {
  try {
    m_cur.int64 = KOsKBstrToInt64(text);
    m_status = valid;
    return 1;
  } catch (KErr* e) {
    delete e;
    m_cur.int64 = 0;
    m_status = invalid;
    return 0;
  } catch (...) {
    throw new KErr(KERR_UNKNOWN_EXCEPTION, "KOleCurrency::ParseCurrency", "Ole Exception");
  }
}

KZString KOleCurrency::Format(unsigned long) const {
  if (m_status == invalid) return KZString("Invalid Currency.");
  return KZString();
}

} // namespace KCLASSIC
