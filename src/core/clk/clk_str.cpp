// The clock's message list: compiled-in texts, argument descriptors, the
// registration, and the month and weekday names read from it.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/clk/clk_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

const char* const kTexts[CLK_NUM_MSGS] = {
    "Date/time entered is not valid (cannot be before Jan 1, 1753).\n",  // 0
    "Time %ld of the clk_date is out of the valid range.\n",  // 1
    "Datepart %ld passed in is invalid.\n",  // 2
    "Can't convert from source type %ld to destination type %ld for conversion type %ld.\n",  // 3
    "Data type %ld unexpected.\n",  // 4
    "Month %ld is invalid; valid number are in the range 1 - 12.\n",  // 5
    "Day %ld is not valid for month '%s' of the year %ld.\n",  // 6
    "Date/time entered is not valid.\n",  // 7
    "Elapsed time '%s' entered was not valid.\n",  // 8
    "Elapsed time %s cannot be greater than 3009 days.\n",  // 9
    "Clock time '%s' is not valid.\n",  // 10
    "Date time can't be later than Dec. 31, 4712.\n",  // 11
    "Calculation of date/time difference overflowed.\n",  // 12
    "The difference between the client clock and the server clock is more than 24 hours.\n",  // 13
    "NOTE: the client clock has drifted %ld seconds from the server clock.\n",  // 14
    "NOTE: the client clock appears to have been reset.\n",  // 15
    "The month specified in the date/time (%ld) was invalid (must be between 1 and 12 or Jan to "
    "Dec).\n",  // 16
    "The day of the month specified in the date/time (%ld) was invalid (must be between 1 and "
    "31).\n",  // 17
    "The hours specified in the date/time (%ld) were invalid (must be between 0 and 23).\n",  // 18
    "The minutes specified in the date/time (%ld) were invalid (must be between 0 and 59).\n",  // 19
    "The seconds specified in the date/time (%ld) were invalid (must be between 0 and 59).\n",  // 20
    "Do not call %s with force_local==TRUE before the server/local clock delta has been "
    "cached.\n",  // 21
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC",  // 22-33
    "January", "February", "March", "April", "May", "June", "July", "August", "September",
    "November", "October", "December",  // 34-45 (43 November, 44 October)
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",  // 46-52
};

// Argument count and class of each message.
signed char g_args[2 * CLK_NUM_MSGS];

void fill_args() {
  static const signed char counts[22] = {1, 1, 1, 3, 1, 1, 3, 0, 1, 1, 1,
                                         0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1};
  for (long i = 0; i < CLK_NUM_MSGS; ++i) {
    g_args[2 * i] = i < 22 ? counts[i] : 0;
    g_args[2 * i + 1] = 0;
  }
}

// Short month names as loaded at start (month_info: message code, text).
struct month_row {
  long code;
  char text[16];
};
month_row g_month_info[12];

// Long month names by month: October and November swap places in the list.
constexpr long kLongMonth[12] = {34, 35, 36, 37, 38, 39, 40, 41, 42, 44, 43, 45};
constexpr long kWeekday[7] = {46, 47, 48, 49, 50, 51, 52};

const char* message_text(long index) {
  const char* text = nullptr;
  if (cmn_alrt_get_msg(clk_code(index), &text) != 0 || text == nullptr) return "";
  return text;
}

}  // namespace

long clk_str_init() {
  fill_args();
  if (long st = cmn_list_install_res_table(CLK_FIRST_ID, CLK_NUM_MSGS, kTexts)) return st;
  return loc_str_init_list("clk", CLK_SUBSYS, CLK_FIRST_ID, CLK_LAST_ID, CLK_NUM_MSGS, g_args);
}

const char* clk_str_text(long n) { return n >= 0 && n < CLK_NUM_MSGS ? kTexts[n] : nullptr; }

long clk_str_load_months() {
  for (long m = 0; m < 12; ++m) {
    g_month_info[m].code = clk_code(22 + m);
    std::snprintf(g_month_info[m].text, sizeof g_month_info[m].text, "%s", message_text(22 + m));
  }
  return 0;
}

const char* clk_str_short_month(long month) {
  if (month < 0 || month > 11) return nullptr;
  if (g_month_info[month].code == 0) clk_str_load_months();
  return g_month_info[month].text;
}

const char* clk_str_long_month(long month) {
  return month >= 0 && month < 12 ? message_text(kLongMonth[month]) : "";
}

const char* clk_str_weekday(long weekday) {
  return weekday >= 0 && weekday < 7 ? message_text(kWeekday[weekday]) : "";
}

long clk_alrt(const char* proc, long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, proc, code, 0, args);
  va_end(args);
  return code;
}
