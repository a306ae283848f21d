// Parsing date and time texts with a region's formats.
#include <strings.h>

#include <cctype>
#include <cstdlib>
#include <cstdint>
#include <cstring>

#include "core/osl/osl_loc.h"
#include "core/osl/osl_loc_int.h"

namespace {

const char* const kMonthAbbr[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                    "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

constexpr size_t kTextMax = 80;    // texts must be shorter
constexpr size_t kFormatMax = 40;  // formats must be shorter
constexpr size_t kAmPmSize = 11;

}  // namespace

long osl_loc_month_atol(const loc_ty_region* region, const char* text) {
  if (text == nullptr) return -1;
  for (int i = 0; i < 12; ++i) {
    if (strcasecmp(text, region->month_names[i]) == 0 || strcasecmp(text, region->month_abbr[i]) == 0)
      return i;
    char upper[16];
    osl_loc_copy(upper, sizeof upper, text);
    for (char* p = upper; *p; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if (std::strcmp(upper, kMonthAbbr[i]) == 0) return i;
  }
  return -1;
}

long osl_loc_get_ampm(char* am, char* pm) {
  struct tm t{};
  t.tm_year = 100;
  t.tm_mday = 1;
  t.tm_hour = 6;
  if (std::strftime(am, kAmPmSize, "%p", &t) == 0) am[0] = '\0';
  t.tm_hour = 18;
  if (std::strftime(pm, kAmPmSize, "%p", &t) == 0) pm[0] = '\0';
  return 0;
}

long osl_loc_strptime(const char* text, const char* format, long, const loc_ty_region* region,
                      loc_ty_tm* time) {
  char am[kAmPmSize], pm[kAmPmSize];
  osl_loc_get_ampm(am, pm);
  time->second = 0;
  time->minute = 0;
  time->hour = 0;
  time->day = 32;
  time->month = 15;
  time->year = -1;
  if (text == nullptr || format == nullptr) return 0;
  if (std::strlen(text) >= kTextMax || std::strlen(format) >= kFormatMax) return 0;

  // Enough words for the text's kind?
  char work[kTextMax];
  std::strcpy(work, text);
  long words = 0;
  char* save = nullptr;
  for (char* w = strtok_r(work, " \t\n/", &save); w != nullptr; w = strtok_r(nullptr, " \t\n/", &save))
    if ((am[0] == '\0' || strcasecmp(w, am) != 0) && (pm[0] == '\0' || strcasecmp(w, pm) != 0)) ++words;
  if (words < (std::strchr(text, ':') != nullptr ? 4 : 3)) return 0;

  char delims[8] = {' ', '\t', '\n', region->date_sep[0], region->time_sep[0], '\0'};
  if (delims[3] == '\0') delims[3] = ' ';
  std::strcpy(work, text);
  save = nullptr;
  char* token = strtok_r(work, delims, &save);
  bool afternoon = false;
  bool morning = false;  // the AM text was read: 12 is the hour after midnight
  // A number that is out of range is kept before the parse stops, so that
  // the caller's range checks name it.
  auto word = [](long v) { return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v); };
  auto number = [](const char* t, long* v) {
    if (!std::isdigit(static_cast<unsigned char>(*t))) return false;
    *v = std::strtol(t, nullptr, 10);
    return true;
  };
  for (const char* f = format; *f != '\0' && token != nullptr; ++f) {
    if (*f != '%') continue;
    char c = *++f;
    if (c == '\0') break;
    long v = 0;
    bool stop = false;
    switch (c) {
      case 'm':
      case 'B':
      case 'b':
        if (number(token, &v)) {
          time->month = word(v - 1);
          stop = v < 1 || v > 12;
        } else {
          v = osl_loc_month_atol(region, token);
          if (v < 0) stop = true;
          else time->month = word(v);
        }
        break;
      case 'd':
        if (!number(token, &v)) {
          stop = true;
          break;
        }
        time->day = word(v);
        stop = v == 0 || v > 31;
        break;
      case 'y':
      case 'Y':
        if (!number(token, &v)) {
          stop = true;
          break;
        }
        if (v < 100) v += v >= 30 ? 1900 : 2000;
        time->year = word(v);
        break;
      case 'H':
      case 'I':
        if (!number(token, &v)) {
          stop = true;
          break;
        }
        time->hour = word(v);
        if (v < 0 || v > 23) return 0;
        break;
      case 'p':
        if (pm[0] != '\0' && std::strcmp(token, pm) == 0) {
          afternoon = true;
          morning = false;
        } else if (am[0] != '\0' && std::strcmp(token, am) == 0) {
          afternoon = false;
          morning = true;
        } else {
          stop = true;
        }
        break;
      case 'M':
      case 'S':
        if (!number(token, &v)) {
          stop = true;
          break;
        }
        (c == 'M' ? time->minute : time->second) = word(v);
        stop = v > 59;
        break;
      default:
        continue;  // no token taken
    }
    if (stop) break;
    token = strtok_r(nullptr, delims, &save);
  }
  constexpr int32_t kNoon = 12;
  if (afternoon && time->hour >= 0 && time->hour < kNoon) time->hour += kNoon;
  if (morning && time->hour == kNoon) time->hour = 0;
  return 0;
}
