#include "core/cmn/cmn_dec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"

namespace {

cmn_ty_decimal dec(const char* text) {
  cmn_ty_decimal d{};
  std::strncpy(d.text, text, sizeof d.text - 1);
  return d;
}

class CmnDec : public ::testing::Test {
 protected:
  void SetUp() override {
    core_start_cmn();
    cmn_alrt_clear(nullptr);
  }
};

using op_fn = long (*)(const cmn_ty_decimal*, const cmn_ty_decimal*, cmn_ty_decimal*);

struct op_case {
  op_fn op;
  const char* a;
  const char* b;
  const char* text;
  long precision;
  long scale;
};

TEST_F(CmnDec, ResultsAreInNormalForm) {
  const std::string thirds(38, '3'), sixes(38, '6');
  const op_case cases[] = {
      {cmn_dec_plus, "0.1", "0.2", ".3", 1, 1},
      {cmn_dec_minus, "5", "5", "0.0", 2, 1},
      {cmn_dec_plus, "-2", "5", "3", 1, 0},
      {cmn_dec_plus, "2", "-5", "-3", 1, 0},
      {cmn_dec_plus, "-2", "2", "0.0", 2, 1},
      {cmn_dec_minus, "-2", "-2", "0.0", 2, 1},
      {cmn_dec_minus, "1", "1.25", "-.25", 2, 2},
      {cmn_dec_multiply, "-0.5", "0.5", "-.25", 2, 2},
      {cmn_dec_multiply, "-0.5", "0", "0.0", 2, 1},
      {cmn_dec_multiply, "1.5E2", "+002", "300", 3, 0},
      {cmn_dec_multiply, "1E-20", "1E-20", "0.0", 2, 1},  // cut below 38 places
      {cmn_dec_divide, "7", "2", "3.5", 2, 1},
      {cmn_dec_divide, "-1", "4", "-.25", 2, 2},
      {cmn_dec_divide, "1", "3", nullptr, 38, 38},
      {cmn_dec_divide, "2", "3", nullptr, 38, 38},
      {cmn_dec_plus, "1.50", "0", "1.5", 2, 1},
  };
  for (const op_case& c : cases) {
    cmn_ty_decimal a = dec(c.a), b = dec(c.b), r = dec("untouched");
    ASSERT_EQ(c.op(&a, &b, &r), 0) << c.a << " " << c.b;
    std::string want = c.text ? c.text : "." + (std::string(c.a) == "1" ? thirds : sixes);
    EXPECT_EQ(std::string(r.text), want) << c.a << " " << c.b;
    EXPECT_EQ(r.precision, c.precision) << c.a << " " << c.b;
    EXPECT_EQ(r.scale, c.scale) << c.a << " " << c.b;
  }
}

TEST_F(CmnDec, FailuresPushAndLeaveTheResult) {
  const std::string nines(38, '9');
  const std::string big = "1" + std::string(20, '0');
  const op_case cases[] = {
      {cmn_dec_plus, nines.c_str(), nines.c_str(), nullptr, CMN_DEC_OVERFLOW, 0},
      {cmn_dec_multiply, big.c_str(), big.c_str(), nullptr, CMN_DEC_OVERFLOW, 0},
      {cmn_dec_divide, "1", "0.0", nullptr, CMN_DEC_DIVIDE_BY_ZERO, 0},
      {cmn_dec_divide, "0", "-0", nullptr, CMN_DEC_DIVIDE_BY_ZERO, 0},
      {cmn_dec_divide, nines.c_str(), ".1", nullptr, CMN_DEC_OVERFLOW, 0},
      {cmn_dec_plus, "1E38", "1", nullptr, CMN_DEC_OVERFLOW, 0},     // 39 integer digits
      {cmn_dec_plus, "1E-39", "1", nullptr, CMN_DEC_OVERFLOW, 0},    // 39 fraction digits
      {cmn_dec_plus, "12a", "1", nullptr, CMN_DEC_NOT_A_NUMBER, 0},
      {cmn_dec_minus, "1", "(null)", nullptr, CMN_DEC_NOT_A_NUMBER, 0},
      {cmn_dec_minus, "1", "1..2", nullptr, CMN_DEC_NOT_A_NUMBER, 0},
      {cmn_dec_minus, "1", "", nullptr, CMN_DEC_NOT_A_NUMBER, 0},
  };
  for (const op_case& c : cases) {
    cmn_alrt_clear(nullptr);
    cmn_ty_decimal a = dec(c.a), b = dec(c.b), r = dec("untouched");
    EXPECT_EQ(c.op(&a, &b, &r), c.precision) << c.a << " " << c.b;
    EXPECT_STREQ(r.text, "untouched");
    long code = 0;
    cmn_alrt_top(nullptr, &code, nullptr);
    EXPECT_EQ(code, c.precision);
  }
  // Zeros beyond the work form are harmless.
  cmn_ty_decimal a = dec(("000" + nines).c_str()), b = dec("1.000000000000000000000000000000000000000000"), r{};
  EXPECT_EQ(cmn_dec_minus(&a, &b, &r), 0);
  EXPECT_EQ(std::string(r.text), std::string(37, '9') + "8");
}

TEST_F(CmnDec, ComparisonAndUnaryMinus) {
  struct {
    const char* a;
    const char* b;
    long want;
  } cases[] = {{"1.50", "1.5", 0}, {"-1", "1", -1}, {"1", "-1", 1}, {"-2", "-1", -1},
               {"-0", "0.0", 0},  {".5", "0.4999", 1}, {"1E2", "100", 0}};
  for (auto& c : cases) {
    cmn_ty_decimal a = dec(c.a), b = dec(c.b);
    long r = 9;
    ASSERT_EQ(cmn_dec_comp(&a, &b, &r), 0);
    EXPECT_EQ(r, c.want) << c.a << " " << c.b;
  }
  cmn_ty_decimal d = dec("0012.50");
  ASSERT_EQ(cmn_dec_unary_minus(&d), 0);
  EXPECT_STREQ(d.text, "-12.5");
  ASSERT_EQ(cmn_dec_unary_minus(&d), 0);
  EXPECT_STREQ(d.text, "12.5");
  d = dec("0");
  ASSERT_EQ(cmn_dec_unary_minus(&d), 0);
  EXPECT_STREQ(d.text, "0.0");
}

TEST_F(CmnDec, WorkFormRoundTripAndTableArithmetic) {
  char w1[78], w2[78], w3[78];
  long s1 = 9, s2 = 9, cmp = 9;
  cmn_ty_decimal a = dec("-12.5"), b = dec("7.75"), r{};
  ASSERT_EQ(cmn_dec_convert_dec_to_str(&a, w1, &s1), 0);
  ASSERT_EQ(cmn_dec_convert_dec_to_str(&b, w2, &s2), 0);
  EXPECT_EQ(s1, 0);
  EXPECT_EQ(s2, 1);
  EXPECT_EQ(std::string(w1, 41), std::string(37, '0') + "1250");
  ASSERT_EQ(cmn_dec_plus_str(w1, w2, w3), 0);
  ASSERT_EQ(cmn_dec_convert_str_to_dec(w3, 1, &r), 0);
  EXPECT_STREQ(r.text, "20.25");
  ASSERT_EQ(cmn_dec_minus_str(w1, w2, w3), 0);
  ASSERT_EQ(cmn_dec_convert_str_to_dec(w3, 0, &r), 0);
  EXPECT_STREQ(r.text, "-4.75");
  cmn_dec_comp_str(w1, w2, &cmp);
  EXPECT_EQ(cmp, 1);
  std::string nines(77, '9');
  nines[0] = '0';
  // The sum reaches the guard digit, which the conversion refuses; a carry
  // out of the guard digit fails at once.
  ASSERT_EQ(cmn_dec_plus_str(nines.c_str(), nines.c_str(), w3), 0);
  EXPECT_EQ(w3[0], '1');
  EXPECT_EQ(cmn_dec_convert_str_to_dec(w3, 1, &r), CMN_DEC_OVERFLOW);
  w3[0] = '9';
  EXPECT_EQ(cmn_dec_plus_str(w3, w3, w1), CMN_DEC_OVERFLOW);
  EXPECT_EQ(table_multiply_2[79], '6');
  EXPECT_EQ(table_minus_2[12], '1');
}

// Reference: scaled 128-bit integers.
using i128 = __int128;

std::string i128_text(i128 v) {
  if (v == 0) return "0";
  std::string s;
  bool neg = v < 0;
  unsigned __int128 m = neg ? -static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
  while (m) {
    s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  }
  return neg ? "-" + s : s;
}

// Normal form of v / 10^scale.
std::string normal_form(i128 v, int scale) {
  if (v == 0) return "0.0";
  std::string digits = i128_text(v < 0 ? -v : v);
  if (static_cast<int>(digits.size()) <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  std::string ip = digits.substr(0, digits.size() - scale), fp = digits.substr(digits.size() - scale);
  while (!ip.empty() && ip[0] == '0') ip.erase(0, 1);
  while (!fp.empty() && fp.back() == '0') fp.pop_back();
  std::string s = (v < 0 ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
  return s;
}

// Quotient a / b truncated to 38 significant (and fraction) digits.
std::string quotient_form(i128 a, i128 b) {
  bool neg = (a < 0) != (b < 0);
  unsigned __int128 x = a < 0 ? -static_cast<unsigned __int128>(a) : a;
  unsigned __int128 y = b < 0 ? -static_cast<unsigned __int128>(b) : b;
  std::string ip = i128_text(static_cast<i128>(x / y));
  if (ip == "0") ip.clear();
  unsigned __int128 rem = x % y;
  std::string fp;
  for (size_t n = ip.size(); fp.size() < 38 && n < 38; ++n) {
    rem *= 10;  // rem < y < 2^100, no overflow
    fp += static_cast<char>('0' + static_cast<int>(rem / y));
    rem %= y;
  }
  while (!fp.empty() && fp.back() == '0') fp.pop_back();
  if (ip.empty() && fp.empty()) return "0.0";
  return (neg ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
}

TEST_F(CmnDec, AgreesWithScaledIntegerArithmetic) {
  std::mt19937_64 rng(20261210);
  auto value = [&](int max_digits) {
    int n = 1 + static_cast<int>(rng() % max_digits);
    i128 v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + static_cast<int>(rng() % 10);
    return (rng() & 1) ? -v : v;
  };
  for (int iter = 0; iter < 3000; ++iter) {
    int sa = static_cast<int>(rng() % 12), sb = static_cast<int>(rng() % 12);
    i128 A = value(18), B = value(18);
    std::string ta = normal_form(A, sa), tb = normal_form(B, sb);
    cmn_ty_decimal a = dec(ta.c_str()), b = dec(tb.c_str()), r{};
    // Common scale for sums.
    int s = sa > sb ? sa : sb;
    i128 As = A, Bs = B;
    for (int i = sa; i < s; ++i) As *= 10;
    for (int i = sb; i < s; ++i) Bs *= 10;
    ASSERT_EQ(cmn_dec_plus(&a, &b, &r), 0);
    EXPECT_EQ(std::string(r.text), normal_form(As + Bs, s)) << ta << " + " << tb;
    ASSERT_EQ(cmn_dec_minus(&a, &b, &r), 0);
    EXPECT_EQ(std::string(r.text), normal_form(As - Bs, s)) << ta << " - " << tb;
    ASSERT_EQ(cmn_dec_multiply(&a, &b, &r), 0);
    EXPECT_EQ(std::string(r.text), normal_form(A * B, sa + sb)) << ta << " * " << tb;
    long cmp = 9;
    ASSERT_EQ(cmn_dec_comp(&a, &b, &cmp), 0);
    EXPECT_EQ(cmp, As < Bs ? -1 : (As > Bs ? 1 : 0)) << ta << " ? " << tb;
    if (B != 0) {
      ASSERT_EQ(cmn_dec_divide(&a, &b, &r), 0);
      EXPECT_EQ(std::string(r.text), quotient_form(As, Bs)) << ta << " / " << tb;
      long digits = 0;
      for (const char* p = r.text; *p; ++p) digits += *p >= '0' && *p <= '9';
      EXPECT_EQ(r.precision, digits) << r.text;
    }
  }
}

}  // namespace

namespace {

// Plain texts take a digit-by-digit path; the same operands with an
// exponent mark go through the general one. Both must agree, also where the
// result is cut to 38 digits or overflows.
TEST_F(CmnDec, PlainAndExponentFormsAgree) {
  std::mt19937_64 rng(7);
  auto digits = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
  };
  for (int iter = 0; iter < 8000; ++iter) {
    // Every other pair has at most 20 digits a part (around the short
    // numbers' limit of 18), the rest up to 38 integer digits.
    int span = iter % 2 == 0 ? 21 : 39;
    int ia = static_cast<int>(rng() % span), fa = static_cast<int>(rng() % (span < 25 ? span : 25));
    int ib = static_cast<int>(rng() % span), fb = static_cast<int>(rng() % (span < 25 ? span : 25));
    if (ia + fa > 42) fa = 42 - ia;
    if (ib + fb > 42) fb = 42 - ib;
    if (ia + fa == 0) ia = 1;
    if (ib + fb == 0) ib = 1;
    std::string a = std::string((rng() & 1) ? "-" : "") + digits(ia) + (fa ? "." + digits(fa) : "");
    std::string b = std::string((rng() & 1) ? "-" : "") + digits(ib) + (fb ? "." + digits(fb) : "");
    if (rng() % 8 == 0) b = a;  // equal magnitudes
    if (rng() % 8 == 0 && a.size() + 6 < sizeof(cmn_ty_decimal::text)) {  // leading and trailing zeros
      a.insert(a[0] == '-' ? 1 : 0, "00");
      if (fa) a += "00";
    }
    cmn_ty_decimal pa = dec(a.c_str()), pb = dec(b.c_str());
    cmn_ty_decimal ea = dec((a + "E0").c_str()), eb = dec((b + "E0").c_str());
    for (op_fn op : {cmn_dec_plus, cmn_dec_minus}) {
      cmn_ty_decimal r1 = dec("x"), r2 = dec("x");
      long rc1 = op(&pa, &pb, &r1), rc2 = op(&ea, &eb, &r2);
      ASSERT_EQ(rc1, rc2) << a << " " << b;
      EXPECT_STREQ(r1.text, r2.text) << a << " " << b;
      EXPECT_EQ(r1.precision, r2.precision) << a << " " << b;
      EXPECT_EQ(r1.scale, r2.scale) << a << " " << b;
    }
  }
}

}  // namespace

namespace {

// Long division on work forms through the digit-table helpers, one
// quotient digit per step: an independent reference for cmn_dec_divide.
// Returns 0 or CMN_DEC_OVERFLOW.
long table_divide(const cmn_ty_decimal& a, const cmn_ty_decimal& b, cmn_ty_decimal* out) {
  char wa[78], wb[78];
  long sa = 1, sb = 1;
  if (cmn_dec_convert_dec_to_str(&a, wa, &sa) != 0 || cmn_dec_convert_dec_to_str(&b, wb, &sb) != 0) return -1;
  std::string rem(77, '0'), quot(77, '0');
  for (int k = 0; k < 115; ++k) {
    if (rem[0] != '0') return CMN_DEC_OVERFLOW;
    rem = rem.substr(1) + (k < 77 ? wa[k] : '0');
    std::string multiple(77, '0');
    int m = 0;
    for (;;) {
      char next[78];
      if (cmn_dec_plus_str(multiple.c_str(), wb, next) != 0) break;
      long cmp = 0;
      cmn_dec_comp_str(next, rem.c_str(), &cmp);
      if (cmp > 0) break;
      multiple = next;
      ++m;
    }
    char diff[78];
    cmn_dec_minus_str(rem.c_str(), multiple.c_str(), diff);
    rem = diff;
    if (m != 0) {
      if (k <= 38) return CMN_DEC_OVERFLOW;
      quot[k - 38] = static_cast<char>('0' + m);
    }
  }
  return cmn_dec_convert_str_to_dec(quot.c_str(), sa == sb ? 1 : 0, out);
}

TEST_F(CmnDec, DivisionAgreesWithDigitByDigitLongDivision) {
  std::mt19937_64 rng(11);
  auto text = [&]() {
    int i = static_cast<int>(rng() % 24), f = static_cast<int>(rng() % 20);
    if (i + f == 0) i = 1;
    std::string s = (rng() & 1) ? "-" : "";
    for (int k = 0; k < i; ++k) s += static_cast<char>('0' + rng() % 10);
    if (f > 0) s += ".";
    for (int k = 0; k < f; ++k) s += static_cast<char>('0' + rng() % 10);
    return s;
  };
  int compared = 0;
  for (int iter = 0; iter < 300; ++iter) {
    std::string ta = text(), tb = text();
    cmn_ty_decimal a = dec(ta.c_str()), b = dec(tb.c_str()), got = dec("x"), want = dec("y");
    long zero = 1;
    cmn_ty_decimal z = dec("0");
    cmn_dec_comp(&b, &z, &zero);
    if (zero == 0) continue;
    long rc_want = table_divide(a, b, &want);
    cmn_alrt_clear(nullptr);
    long rc_got = cmn_dec_divide(&a, &b, &got);
    ASSERT_EQ(rc_got, rc_want) << ta << " / " << tb;
    if (rc_got == 0) {
      EXPECT_STREQ(got.text, want.text) << ta << " / " << tb;
      EXPECT_EQ(got.precision, want.precision);
      ++compared;
    }
  }
  EXPECT_GT(compared, 200);
}

// Divisors whose significant digits fill two 18-digit limbs of the working
// form (the integer digits with up to 18 fraction digits, 19 to 36 integer
// digits, or 19 to 36 fraction digits after the 18th): their own division
// path, against the digit-by-digit reference. Edges: the divisor just
// below and at 2^64 (18.446744073709551615 / ...616), at 10^18 + 1, at
// 10^36 - 1, and dividends that make the quotient estimate too large.
TEST_F(CmnDec, TwoLimbDivisorsAgreeWithDigitByDigitLongDivision) {
  std::mt19937_64 rng(56);
  auto digits = [&](int n, bool lead) {
    std::string s;
    for (int k = 0; k < n; ++k) s += static_cast<char>('0' + (k == 0 && lead ? 1 + rng() % 9 : rng() % 10));
    return s;
  };
  auto divisor = [&]() -> std::string {
    switch (rng() % 3) {
      case 0:  // units limb and the first fraction limb
        return digits(1 + static_cast<int>(rng() % 18), true) + "." + digits(1 + static_cast<int>(rng() % 18), false) + "7";
      case 1:  // two integer limbs
        return digits(19 + static_cast<int>(rng() % 18), true);
      default:  // two fraction limbs below the first
        return "0." + std::string(18, '0') + digits(1 + static_cast<int>(rng() % 17), true) + "3";
    }
  };
  auto dividend = [&]() {
    std::string s = digits(1 + static_cast<int>(rng() % 38), true);
    if (rng() % 2) s += "." + digits(1 + static_cast<int>(rng() % 38), false);
    return s;
  };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"1", "18.446744073709551615"},
      {"1", "18.446744073709551616"},
      {"99999999999999999999999999999999999999", "18.446744073709551616"},
      {"1", "1.000000000000000001"},
      {"12345678901234567890.123456789012345678", "1.000000000000000001"},
      {"1", "999999999999999999999999999999999999"},
      {"99999999999999999999999999999999999999.99999999999999999999999999999999999999",
       "999999999999999999999999999999999999"},
      {"99999999999999999999999999999999999999", "100000000000000000.999999999999999999"},
      {"1", "0.000000000000000000999999999999999999"},
      {"0.00000000000000000000000000000000000001", "0.000000000000000000100000000000000001"},
      {"17014118346046923173168730371588410572", "18446744073709551617"},
  };
  for (int iter = 0; iter < 300; ++iter) cases.emplace_back(dividend(), divisor());
  int compared = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    const std::string ta = (i % 2 ? "-" : "") + cases[i].first, tb = (i % 3 ? "" : "-") + cases[i].second;
    cmn_ty_decimal a = dec(ta.c_str()), b = dec(tb.c_str()), got = dec("x"), want = dec("y");
    const long rc_want = table_divide(a, b, &want);
    cmn_alrt_clear(nullptr);
    const long rc_got = cmn_dec_divide(&a, &b, &got);
    ASSERT_EQ(rc_got, rc_want) << ta << " / " << tb;
    if (rc_got != 0) continue;
    EXPECT_STREQ(got.text, want.text) << ta << " / " << tb;
    EXPECT_EQ(got.precision, want.precision) << ta << " / " << tb;
    EXPECT_EQ(got.scale, want.scale) << ta << " / " << tb;
    ++compared;
  }
  EXPECT_GT(compared, 250);
}

}  // namespace

namespace {

// Magnitude N = value * 10^38 as 76 decimal digits, most significant first;
// a schoolbook reference for products at full width.
using digits76 = std::string;

digits76 magnitude(const std::string& text, bool* negative) {
  std::string s = text;
  *negative = !s.empty() && s[0] == '-';
  if (*negative) s.erase(0, 1);
  size_t dot = s.find('.');
  std::string ip = dot == std::string::npos ? s : s.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : s.substr(dot + 1);
  return std::string(38 - ip.size(), '0') + ip + fp + std::string(38 - fp.size(), '0');
}

// Normal form of a 76-digit magnitude: at most 38 significant digits.
std::string normal_of(const digits76& n, bool negative) {
  size_t first = n.find_first_not_of('0');
  if (first == std::string::npos) return "0.0";
  std::string ip = first < 38 ? n.substr(first, 38 - first) : "";
  std::string fp = n.substr(38);
  if (!ip.empty()) fp = fp.substr(0, 38 - ip.size());
  while (!fp.empty() && fp.back() == '0') fp.pop_back();
  if (ip.empty() && fp.empty()) return "0.0";
  return (negative ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
}

// The product cut below the 38th fraction digit; empty on overflow.
std::string product_of(const std::string& a, const std::string& b) {
  bool na, nb;
  digits76 x = magnitude(a, &na), y = magnitude(b, &nb);
  std::vector<int> p(152, 0);
  for (int i = 75; i >= 0; --i)
    for (int j = 75; j >= 0; --j) p[static_cast<size_t>(i + j + 1)] += (x[i] - '0') * (y[j] - '0');
  for (int k = 151; k > 0; --k) {
    p[static_cast<size_t>(k - 1)] += p[static_cast<size_t>(k)] / 10;
    p[static_cast<size_t>(k)] %= 10;
  }
  for (int k = 0; k < 38; ++k)
    if (p[static_cast<size_t>(k)] != 0) return "";
  digits76 n;
  for (int k = 38; k < 114; ++k) n += static_cast<char>('0' + p[static_cast<size_t>(k)]);
  return normal_of(n, na != nb);
}

// Operands at full width: 38 digits in all, split anywhere around the
// point, and values just beside powers of ten (all nines, a one after
// zeros) where carries run through every limb.
TEST_F(CmnDec, FullWidthOperandsAgreeWithSchoolbookProducts) {
  std::mt19937_64 rng(38);
  auto operand = [&](int digits) {
    int ints = static_cast<int>(rng() % static_cast<unsigned>(digits + 1));
    std::string s = (rng() & 1) ? "-" : "";
    int kind = static_cast<int>(rng() % 4);
    for (int k = 0; k < digits; ++k) {
      char c = static_cast<char>('0' + rng() % 10);
      if (kind == 1) c = '9';
      if (kind == 2) c = k == 0 || k == digits - 1 ? '1' : '0';
      if (k == ints) s += s.empty() || s == "-" ? "0." : ".";
      s += c;
    }
    return s;
  };
  int products = 0;
  for (int iter = 0; iter < 3000; ++iter) {
    std::string ta = operand(1 + static_cast<int>(rng() % 38)), tb = operand(1 + static_cast<int>(rng() % 38));
    cmn_ty_decimal a = dec(ta.c_str()), b = dec(tb.c_str()), r = dec("x");
    cmn_alrt_clear(nullptr);
    std::string want = product_of(ta, tb);
    long rc = cmn_dec_multiply(&a, &b, &r);
    ASSERT_EQ(rc, want.empty() ? CMN_DEC_OVERFLOW : 0) << ta << " * " << tb;
    if (rc == 0) {
      EXPECT_EQ(std::string(r.text), want) << ta << " * " << tb;
      ++products;
    }
    // Quotients against the digit-by-digit long division.
    long zero = 1;
    cmn_ty_decimal z = dec("0");
    cmn_dec_comp(&b, &z, &zero);
    if (zero != 0 && iter % 10 == 0) {
      cmn_ty_decimal got = dec("x"), expect = dec("y");
      long rc_want = table_divide(a, b, &expect);
      cmn_alrt_clear(nullptr);
      ASSERT_EQ(cmn_dec_divide(&a, &b, &got), rc_want) << ta << " / " << tb;
      if (rc_want == 0) {
        EXPECT_STREQ(got.text, expect.text) << ta << " / " << tb;
      }
    }
  }
  EXPECT_GT(products, 1000);
}

// Results at the edges of the working form: 38 digits either side, the
// cut below the 38th fraction digit, and zeros that never carry a sign.
TEST_F(CmnDec, EdgesOfTheWorkingForm) {
  const std::string n38(38, '9'), f38 = "." + std::string(37, '0') + "1";
  const std::string two38 = "." + std::string(37, '0') + "2", tenth37 = "-." + std::string(36, '0') + "1";
  const op_case cases[] = {
      {cmn_dec_minus, n38.c_str(), n38.c_str(), "0.0", 2, 1},
      {cmn_dec_plus, f38.c_str(), f38.c_str(), two38.c_str(), 38, 38},
      {cmn_dec_multiply, f38.c_str(), ".1", "0.0", 2, 1},                  // cut to nothing
      {cmn_dec_multiply, f38.c_str(), "-10", tenth37.c_str(), 37, 37},
      {cmn_dec_multiply, "-0.0", "5", "0.0", 2, 1},
      {cmn_dec_multiply, "-1E-20", "1E-20", "0.0", 2, 1},
      {cmn_dec_divide, "-0", "3", "0.0", 2, 1},
      {cmn_dec_divide, f38.c_str(), "-2", "0.0", 2, 1},                    // half the last place is cut
      {cmn_dec_divide, n38.c_str(), "1", n38.c_str(), 38, 0},
  };
  for (const op_case& c : cases) {
    cmn_ty_decimal a = dec(c.a), b = dec(c.b), r = dec("untouched");
    ASSERT_EQ(c.op(&a, &b, &r), 0) << c.a << " " << c.b;
    EXPECT_EQ(std::string(r.text), c.text) << c.a << " " << c.b;
    EXPECT_EQ(r.precision, c.precision) << c.a << " " << c.b;
    EXPECT_EQ(r.scale, c.scale) << c.a << " " << c.b;
  }
  // One significant digit too many: the integer part keeps all 38, the
  // fraction goes.
  cmn_ty_decimal a = dec((n38 + ".5").c_str()), b = dec("0"), r{};
  for (op_fn op : {cmn_dec_plus, cmn_dec_divide}) {
    b = dec(op == cmn_dec_plus ? "0" : "1");
    ASSERT_EQ(op(&a, &b, &r), 0);
    EXPECT_EQ(std::string(r.text), n38);
  }
  a = dec(("1" + std::string(36, '0') + ".5").c_str());
  ASSERT_EQ(cmn_dec_multiply(&a, &a, &r), CMN_DEC_OVERFLOW);
  a = dec(("1" + std::string(18, '0') + ".25").c_str());
  b = dec("1.5");
  ASSERT_EQ(cmn_dec_multiply(&a, &b, &r), 0);
  EXPECT_EQ(std::string(r.text), "15" + std::string(17, '0') + ".375");
  a = dec(("1" + std::string(36, '0') + ".25").c_str());
  ASSERT_EQ(cmn_dec_multiply(&a, &b, &r), 0);
  EXPECT_EQ(std::string(r.text), "15" + std::string(35, '0') + ".3");  // 38 significant digits
  EXPECT_EQ(r.precision, 38);
  // Negative zero in: no sign out, also in place.
  cmn_ty_decimal d = dec("-0.000");
  ASSERT_EQ(cmn_dec_unary_minus(&d), 0);
  EXPECT_STREQ(d.text, "0.0");
  // The whole text field is written: no stale bytes after the NUL.
  cmn_ty_decimal out;
  std::memset(&out, 'x', sizeof out);
  a = dec("2");
  b = dec("3");
  ASSERT_EQ(cmn_dec_multiply(&a, &b, &out), 0);
  EXPECT_EQ(std::string(out.text, sizeof out.text), "6" + std::string(sizeof out.text - 1, '\0'));
}

}  // namespace

namespace {

// Sums of operands with at most 18 digits either side of the point (each a
// pair of words) at the places where the words carry, borrow or reach the
// 19th integer digit, and just past those sizes. Each result also matches
// the same operands written with an exponent (the general path), and the
// whole field is written.
TEST_F(CmnDec, ShortOperandSumsAtTheirEdges) {
  const std::string n18(18, '9'), f18 = "." + std::string(18, '9'), one18 = "." + std::string(17, '0') + "1";
  const std::string top19 = "1" + std::string(18, '0'), n19(19, '9');
  const std::string mixed = n18 + f18, mixed_plus = "1" + std::string(17, '0') + "1";
  struct sum_case {
    op_fn op;
    std::string a, b, text;
    long precision, scale;
  };
  const sum_case cases[] = {
      {cmn_dec_plus, n18, "1", top19, 19, 0},                          // 19th digit
      {cmn_dec_plus, n18, n18, "1" + std::string(17, '9') + "8", 19, 0},
      {cmn_dec_plus, f18, one18, "1", 1, 0},                           // fraction carry
      {cmn_dec_plus, mixed, one18, top19, 19, 0},
      {cmn_dec_plus, mixed, "1" + one18, mixed_plus, 19, 0},
      {cmn_dec_minus, "1", one18, f18, 18, 18},                        // borrow
      {cmn_dec_minus, "1" + std::string(17, '0'), one18, std::string(17, '9') + f18, 35, 18},
      {cmn_dec_minus, one18, "1", "-" + f18, 18, 18},
      {cmn_dec_plus, "-" + mixed, mixed, "0.0", 2, 1},
      {cmn_dec_minus, "-0.0", "0", "0.0", 2, 1},
      {cmn_dec_plus, "-0", "-.5", "-.5", 1, 1},
      {cmn_dec_minus, "-0", "-.5", ".5", 1, 1},
      {cmn_dec_plus, "+5.", ".50", "5.5", 2, 1},
      {cmn_dec_plus, "000012.3400", "-12.34", "0.0", 2, 1},
      {cmn_dec_plus, n19, "1", "1" + std::string(19, '0'), 20, 0},  // past 18 digits
      {cmn_dec_plus, "." + std::string(19, '9'), "." + std::string(18, '0') + "1", "1", 1, 0},
      {cmn_dec_minus, mixed, "-" + n18 + f18, "1" + n18 + "." + std::string(17, '9') + "8", 37, 18},
  };
  for (const sum_case& c : cases) {
    cmn_ty_decimal a = dec(c.a.c_str()), b = dec(c.b.c_str()), r;
    std::memset(&r, 'x', sizeof r);
    ASSERT_EQ(c.op(&a, &b, &r), 0) << c.a << " " << c.b;
    EXPECT_EQ(std::string(r.text, sizeof r.text), c.text + std::string(sizeof r.text - c.text.size(), '\0'))
        << c.a << " " << c.b;
    EXPECT_EQ(r.precision, c.precision) << c.a << " " << c.b;
    EXPECT_EQ(r.scale, c.scale) << c.a << " " << c.b;
    cmn_ty_decimal ea = dec((c.a + "E0").c_str()), eb = dec((c.b + "E0").c_str()), er{};
    ASSERT_EQ(c.op(&ea, &eb, &er), 0) << c.a << " " << c.b;
    EXPECT_EQ(std::string(er.text), c.text) << c.a << " " << c.b;
  }
}

}  // namespace
