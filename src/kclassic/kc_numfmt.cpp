// Number and currency formatting of decimal text (KGetNumberFormat,
// KGetCurrencyFormat).
#include <cstring>
#include <string>

#include "kclassic/kc_sys.h"

namespace KCLASSIC {

namespace {

constexpr size_t kMaxSeparator = 16;
constexpr uint32_t kMaxFraction = 32;
constexpr size_t kMaxValue = 132;
constexpr int kMinOut = 324;

bool TooLong(const char* s) { return s && std::strlen(s) > kMaxSeparator; }

// The digits of value, rounded to the asked fraction digits, with the
// separators and grouping of fmt, between prefix and suffix (chosen by
// the caller from the sign). Returns false when refused.
struct Number {
  bool negative = false;
  bool hasDot = false;
  std::string intPart;
  std::string fraction;
};

Number Split(const char* value, uint32_t digits) {
  Number n;
  if (*value == '-') {
    n.negative = true;
    ++value;
  }
  const char* dot = std::strchr(value, '.');
  n.hasDot = dot != nullptr;
  n.intPart.assign(value, dot ? size_t(dot - value) : std::strlen(value));
  if (dot) n.fraction = dot + 1;
  if (n.fraction.size() > digits) {
    bool up = n.fraction[digits] >= '5';
    n.fraction.resize(digits);
    if (up) {
      // Carry from the last kept digit leftwards through the integer digits.
      bool carry = true;
      for (size_t i = n.fraction.size(); carry && i-- > 0;) {
        if (n.fraction[i] == '9') n.fraction[i] = '0';
        else {
          ++n.fraction[i];
          carry = false;
        }
      }
      for (size_t i = n.intPart.size(); carry && i-- > 0;) {
        if (n.intPart[i] == '9') n.intPart[i] = '0';
        else {
          ++n.intPart[i];
          carry = false;
        }
      }
      if (carry) n.intPart.insert(n.intPart.begin(), '1');
    }
  }
  return n;
}

std::string Body(const Number& n, uint32_t digits, uint32_t grouping, const char* decSep, const char* thouSep) {
  std::string s;
  if (n.intPart.empty()) s = "0";
  for (size_t i = 0; i < n.intPart.size(); ++i) {
    s += n.intPart[i];
    size_t rest = n.intPart.size() - i - 1;
    if (thouSep && grouping > 0 && rest > 0 && rest % grouping == 0) s += thouSep;
  }
  if (decSep && (digits > 0 || n.hasDot)) {
    s += decSep;
    s += n.fraction;
    if (n.fraction.size() < digits) s.append(digits - n.fraction.size(), '0');
  }
  return s;
}

int Emit(const std::string& text, char* out, int size) {
  // The separators and grouping can make the text longer than the minimum
  // buffer: refuse rather than write past it.
  if (text.size() + 1 > size_t(size)) return 0;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return int(text.size());
}

bool Refused(unsigned long locale, const char* value, uint32_t digits, uint32_t leadingZero, const char* dec,
             const char* thou, char* out, int size) {
  return locale != 0 || !value || !out || leadingZero != 1 || TooLong(dec) || TooLong(thou) ||
         digits > kMaxFraction || std::strlen(value) > kMaxValue || size < kMinOut;
}

} // namespace

int KGetNumberFormat(unsigned long locale, const char* value, const _knumberfmt* fmt, char* out, int size) {
  if (!fmt || Refused(locale, value, fmt->NumDigits, fmt->LeadingZero, fmt->lpDecimalSep, fmt->lpThousandSep, out,
                      size))
    return 0;
  Number n = Split(value, fmt->NumDigits);
  std::string before, after;
  if (n.negative) {
    static const char* const kSigns[][2] = {{"(", ")"}, {"-", ""}, {"- ", ""}, {"", "-"}, {"", " -"}};
    if (fmt->NegativeOrder < 5) {
      before = kSigns[fmt->NegativeOrder][0];
      after = kSigns[fmt->NegativeOrder][1];
    }
  }
  return Emit(before + Body(n, fmt->NumDigits, fmt->Grouping, fmt->lpDecimalSep, fmt->lpThousandSep) + after, out,
              size);
}

int KGetCurrencyFormat(unsigned long locale, const char* value, const _kcurrencyfmt* fmt, char* out, int size) {
  if (!fmt || TooLong(fmt->lpCurrencySymbol) ||
      Refused(locale, value, fmt->NumDigits, fmt->LeadingZero, fmt->lpDecimalSep, fmt->lpThousandSep, out, size))
    return 0;
  Number n = Split(value, fmt->NumDigits);
  // In the patterns, 'S' stands for the currency symbol.
  const char* pre = "";
  const char* post = "";
  if (!n.negative) {
    static const char* const kPositive[][2] = {{"S", ""}, {"", "S"}, {"S ", ""}, {"", " S"}};
    if (fmt->PositiveOrder < 4) {
      pre = kPositive[fmt->PositiveOrder][0];
      post = kPositive[fmt->PositiveOrder][1];
    }
  } else {
    static const char* const kNegative[][2] = {
        {"(S", ")"}, {"-S", ""},  {"S-", ""},   {"S", "-"},   {"(", "S)"},   {"-", "S"},    {"", "-S"},  {"", "S-"},
        {"-", " S"}, {"-S ", ""}, {"", " S-"}, {"S ", "-"}, {"S -", ""}, {"", "- S"}, {"(S ", ")"}, {"(", " S)"}};
    if (fmt->NegativeOrder < 16) {
      pre = kNegative[fmt->NegativeOrder][0];
      post = kNegative[fmt->NegativeOrder][1];
    }
  }
  const char* symbol = fmt->lpCurrencySymbol ? fmt->lpCurrencySymbol : "";
  auto expand = [symbol](const char* pattern) {
    std::string s;
    for (; *pattern; ++pattern) {
      if (*pattern == 'S') s += symbol;
      else s += *pattern;
    }
    return s;
  };
  return Emit(expand(pre) + Body(n, fmt->NumDigits, fmt->Grouping, fmt->lpDecimalSep, fmt->lpThousandSep) +
                  expand(post),
              out, size);
}

} // namespace KCLASSIC
