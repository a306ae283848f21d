// Putting the number and the date parts into a scheme's template.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "client/gen/gen_num.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_time.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_loc.h"
#include "core/osl/osl_time.h"

namespace {

constexpr long kYearDigits = 4;

std::string two_digits(long v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02ld", v);
  return buf;
}

// The text with its date parts rewritten (not cut).
std::string date_text(const std::string& text, long day, long month, long year) {
  std::string y = std::to_string(year);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    switch (c) {
      case 'm': out += two_digits(month); break;
      case 'd': out += two_digits(day); break;
      case 'y': out += y.size() > 2 ? y.substr(2, 2) : std::string(); break;
      case 'Y': out += y.substr(0, kYearDigits); break;
      default: out += c; break;
    }
  }
  return out;
}

std::string with_number(const char* templ, long number, long zero_fill, long width) {
  char digits[64];
  if (zero_fill != 0)
    std::snprintf(digits, sizeof digits, "%.*ld", static_cast<int>(std::clamp(width, 0L, 40L)), number);
  else
    std::snprintf(digits, sizeof digits, "%ld", number);
  std::string out;
  for (const char* p = templ; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 'i') {
      out += digits;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

// The date parts of now: the process's local time through strftime when the
// clock adjusts to the client, else the CRM clock's time.
long dated(const std::string& work, std::string* out) {
  if (clk_time_get_adjust_client() == 1) {
    time_t now = 0;
    osl_time_get(&now);
    const struct tm* local = osl_loc_localtime(&now);
    if (work.empty() || local == nullptr) {
      *out = work;
      return 0;
    }
    std::vector<char> buf(work.size() * 8 + 256);
    size_t n = std::strftime(buf.data(), buf.size(), work.c_str(), local);
    *out = std::string(buf.data(), n);
    return 0;
  }
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  clk_ty_cmp cmp{};
  if (long st = clk_time_to_cmp_adj(0, &now, &cmp)) return st;
  *out = date_text(work, cmp.day, cmp.month + 1, cmp.year);
  return 0;
}

}  // namespace

long gen_num_format_date(const char* text, long day, long month, long year, long size, char* output) {
  if (size < 1) return 0;
  std::string out = date_text(text != nullptr ? text : "", day, month, year);
  size_t n = std::min(out.size(), static_cast<size_t>(size - 1));
  std::memcpy(output, out.data(), n);
  output[n] = '\0';
  return 0;
}

long gen_num_substitute(const char* templ, long number, long zero_fill, long width, long size, char* output) {
  std::string result;
  if (long st = dated(with_number(templ != nullptr ? templ : "", number, zero_fill, width), &result)) return st;
  if (size < 1 || result.size() >= static_cast<size_t>(size)) {
    cmn_alrt_push(nullptr, "gen_num_substitute", GEN_NUM_TOO_LONG, 2, templ != nullptr ? templ : "", size);
    return GEN_NUM_TOO_LONG;
  }
  std::memcpy(output, result.c_str(), result.size() + 1);
  return 0;
}
