#include "kclassic/kc_dec.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kclassic/kc_bstr.h"
#include "kclassic/kc_numtext.h"

namespace KCLASSIC {

namespace {

using u128 = unsigned __int128;
const u128 kMask96 = (u128(1) << 96) - 1;

u128 value(const KLongNumber& n) {
  u128 v = 0;
  for (int i = 11; i >= 0; --i) v = (v << 8) | n.m_bytes[i];
  return v;
}

KLongNumber number(u128 v, int carry = 0, int sign = 0) {
  KLongNumber n;
  for (int i = 0; i < 12; ++i) n.m_bytes[i] = uint8_t(v >> (8 * i));
  n.m_carry = carry;
  n.m_sign = sign;
  return n;
}

void put_word(uint8_t* bytes, uint32_t w) {
  for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(w >> (8 * i));
}

uint32_t get_word(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

constexpr int kMaxScale = 28;

} // namespace

KLongNumber::KLongNumber() { std::memset(m_bytes, 0, sizeof m_bytes); }
KLongNumber::KLongNumber(const uint8_t* bytes) { std::memcpy(m_bytes, bytes, sizeof m_bytes); }
KLongNumber::KLongNumber(const uint8_t* bytes, int carry, int sign) : m_carry(carry), m_sign(sign) {
  std::memcpy(m_bytes, bytes, sizeof m_bytes);
}

bool KLongNumber::operator==(const KLongNumber& b) const { return std::memcmp(m_bytes, b.m_bytes, 12) == 0; }
bool KLongNumber::operator<(const KLongNumber& b) const { return (*this - b).m_sign != 0; }
bool KLongNumber::operator>(const KLongNumber& b) const { return !(*this < b) && !(*this == b); }
bool KLongNumber::IsZero() const { return value(*this) == 0; }

KLongNumber KLongNumber::operator+(const KLongNumber& b) const {
  u128 sum = value(*this) + value(b);
  int carryOut = int(sum >> 96) & 1;
  int top = (m_sign & 1) + (b.m_sign & 1) + carryOut;
  return number(sum & kMask96, top >> 1, top & 1);
}

KLongNumber KLongNumber::operator~() const {
  return number(~value(*this) & kMask96, m_carry, m_sign ? 0 : 1);
}

KLongNumber KLongNumber::operator-(const KLongNumber& b) const { return *this + (~b + number(1)); }

KLongNumber KLongNumber::operator&(const KLongNumber& b) const { return number(value(*this) & value(b)); }
KLongNumber KLongNumber::operator|(const KLongNumber& b) const { return number(value(*this) | value(b)); }
KLongNumber KLongNumber::operator&(unsigned m) const { return number(m_bytes[0] & (m & 0xFF)); }
KLongNumber KLongNumber::operator|(unsigned m) const { return number(m_bytes[0] | (m & 0xFF)); }

KLongNumber KLongNumber::operator*(unsigned m) const {
  return number((value(*this) * u128(m)) & kMask96, m_carry, m_sign);
}

unsigned KLongNumber::operator%(unsigned d) {
  if (d == 0) return 0;
  u128 v = value(*this);
  unsigned r = unsigned(v % d);
  KLongNumber q = number(v / d, m_carry, m_sign);
  *this = q;
  return r;
}

KLongNumber KLongNumber::operator<<(int bits) const {
  KLongNumber r = *this;
  LeftShift(r.m_bytes, bits);
  r.m_carry = 0;
  return r;
}

KLongNumber KLongNumber::operator>>(int bits) const {
  KLongNumber r = *this;
  RightShift(r.m_bytes, bits);
  r.m_carry = 0;
  return r;
}

void KLongNumber::LeftShift(uint8_t* bytes, int bits) {
  KLongNumber n(bytes);
  u128 v = bits >= 96 || bits < 0 ? 0 : (value(n) << bits) & kMask96;
  std::memcpy(bytes, number(v).m_bytes, 12);
}

void KLongNumber::RightShift(uint8_t* bytes, int bits) {
  KLongNumber n(bytes);
  u128 v = bits >= 96 || bits < 0 ? 0 : value(n) >> bits;
  std::memcpy(bytes, number(v).m_bytes, 12);
}

int KLongNumber::NegetiveZero(const uint8_t* bytes) {
  for (int i = 0; i < 12; ++i)
    if (bytes[i] != 0xFF) return 0;
  return 1;
}

void unsigned_divide(KLongNumber dividend, KLongNumber divisor, KLongNumber& quotient, KLongNumber& remainder) {
  u128 a = value(dividend), b = value(divisor);
  if (a == 0 || b == 0) return;
  quotient = number(a / b);
  remainder = number(a % b);
}

// ---------------------------------------------------------------------------

int KDecimal::CreateFromDecimal(const tagKDEC& dec) {
  m_negative = dec.sign == KDECIMAL_NEG ? 1 : 0;
  m_scale = dec.scale;
  KLongNumber n;
  put_word(n.m_bytes, dec.Lo32);
  put_word(n.m_bytes + 4, dec.Mid32);
  put_word(n.m_bytes + 8, dec.Hi32);
  m_mag = n;
  return 1;
}

int KDecimal::CreateFromVariant(const tagKVARIANT& v) {
  if (v.vt == KVT_DECIMAL) {
    tagKDEC dec;
    std::memcpy(&dec, &v, sizeof dec);
    return CreateFromDecimal(dec);
  }
  if (v.vt == KVT_KSTR) return CreateFromBSTR(v.bstrVal);
  return 0;
}

long KDecimal::ReadText(const char* text) {
  KNumText num;
  if (!KNumTextRead(text, num)) return KDISP_E_TYPEMISMATCH;
  if (num.fraction.size() > size_t(kMaxScale)) return KDISP_E_OVERFLOW;
  u128 v = 0;
  for (const std::string* part : {&num.integer, &num.fraction}) {
    for (char c : *part) {
      v = v * 10 + u128(c - '0');
      if (v > kMask96) return KDISP_E_OVERFLOW;
    }
  }
  m_mag = number(v);
  m_negative = num.negative ? 1 : 0;
  m_scale = int32_t(num.fraction.size());
  return 0;
}

int KDecimal::CreateFromBSTR(const char* text) { return ReadText(text) == 0 ? 1 : 0; }
int KDecimal::CreateFromKString(KZString text) { return CreateFromBSTR(text); }

char* KDecimal::GetBSTRVal() const {
  // The digits least significant first, with the point after the scale-th.
  std::vector<char> rev;
  KLongNumber n = m_mag;
  int count = std::max(29, m_scale + 1);
  for (int i = 1; i <= count; ++i) {
    rev.push_back(char('0' + n % 10));
    if (m_scale >= 1 && i == m_scale) rev.push_back('.');
  }
  while (!rev.empty() && rev.back() == '0') rev.pop_back(); // leading zeros
  std::vector<char> text;
  if (m_negative) text.push_back('-');
  if (rev.empty()) text.push_back('0');
  else if (rev.back() == '.') text.push_back('0');
  text.insert(text.end(), rev.rbegin(), rev.rend());
  return KBinSysAllocStringByteLen(text.data(), unsigned(text.size()));
}

tagKDEC KDecimal::GetDecimalVal() const {
  tagKDEC d;
  d.wReserved = 0;
  d.scale = uint8_t(m_scale);
  d.sign = m_negative ? KDECIMAL_NEG : 0;
  d.Lo32 = get_word(m_mag.m_bytes);
  d.Mid32 = get_word(m_mag.m_bytes + 4);
  d.Hi32 = get_word(m_mag.m_bytes + 8);
  return d;
}

tagKVARIANT KDecimal::GetVariantVal() const {
  tagKDEC d = GetDecimalVal();
  d.wReserved = KVT_DECIMAL;
  tagKVARIANT v;
  std::memcpy(&v, &d, sizeof v);
  return v;
}

void KDecimal::AddLongNumber(const KLongNumber& n) { m_mag = m_mag + n; }

} // namespace KCLASSIC
