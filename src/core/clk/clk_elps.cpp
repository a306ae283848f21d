// Elapsed times: seconds, their broken-down form and their texts.
#include <cctype>
#include <cstdio>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_time.h"

long clk_time_elps_to_cmp(long seconds, long flags, clk_elps_cmp* out) {
  clk_elps_cmp c{};
  if (flags & 16) {
    c.seconds = seconds;
    *out = c;
    return 0;
  }
  // Each unit is split off in turn; the stopping unit keeps the rest.
  c.seconds = seconds % 60;
  long rest = seconds / 60;
  if (flags & 8) {
    c.minutes = rest;
  } else {
    c.minutes = rest % 60;
    rest /= 60;
    if (flags & 4) {
      c.hours = rest;
    } else {
      c.hours = rest % 24;
      rest /= 24;
      if (flags & 2) {
        c.days = rest;
      } else {
        c.days = rest % 7;
        c.weeks = rest / 7;
      }
    }
  }
  *out = c;
  return 0;
}

long clk_time_cmp_to_elps(const clk_elps_cmp* cmp, long* seconds) {
  *seconds = (((cmp->weeks * 7 + cmp->days) * 24 + cmp->hours) * 60 + cmp->minutes) * 60 + cmp->seconds;
  return 0;
}

long clk_time_elps_cmp_to_str(const clk_elps_cmp* c, long short_form, char* out, long size) {
  if (out == nullptr || size <= 0) return 0;
  if (short_form) {
    std::snprintf(out, static_cast<size_t>(size), "%.3ld %.2ld:%.2ld", c->days, c->hours, c->minutes);
  } else if (c->weeks != 0) {
    std::snprintf(out, static_cast<size_t>(size), "%ld wks:%ld days:%ld hrs:%ld mins:%ld secs", c->weeks, c->days,
                  c->hours, c->minutes, c->seconds);
  } else if (c->days != 0) {
    std::snprintf(out, static_cast<size_t>(size), "%ld days:%ld hrs:%ld mins:%ld secs", c->days, c->hours,
                  c->minutes, c->seconds);
  } else if (c->hours != 0) {
    std::snprintf(out, static_cast<size_t>(size), "%ld hrs:%ld mins:%ld secs", c->hours, c->minutes, c->seconds);
  } else if (c->minutes != 0) {
    std::snprintf(out, static_cast<size_t>(size), "%ld mins:%ld secs", c->minutes, c->seconds);
  } else {
    std::snprintf(out, static_cast<size_t>(size), "%ld secs", c->seconds);
  }
  return 0;
}

long clk_time_elps_str_parse(long mask, const char* text, clk_elps_cmp* out) {
  static const char* kProc = "clk_time_elps_str_parse";
  const char* p = text != nullptr ? text : "";
  const char* q = p;
  while (*q == ' ') ++q;
  if (*q == '\0') {
    *out = clk_elps_cmp{};
    return 0;
  }
  struct unit {
    long bit;
    long limit;  // largest value accepted
    bool day_limit;  // beyond the limit gives #9 instead of #8
    long clk_elps_cmp::*field;
  };
  static const unit kUnits[5] = {{1, CLK_ELPS_MAX_WEEKS, true, &clk_elps_cmp::weeks},
                                 {2, CLK_ELPS_MAX_DAYS, true, &clk_elps_cmp::days},
                                 {4, 23, false, &clk_elps_cmp::hours},
                                 {8, 59, false, &clk_elps_cmp::minutes},
                                 {16, 59, false, &clk_elps_cmp::seconds}};
  clk_elps_cmp c{};
  for (const unit& u : kUnits) {
    if (!(mask & u.bit)) continue;
    while (*q == ' ') ++q;
    if (!std::isdigit(static_cast<unsigned char>(*q))) return clk_alrt(kProc, CLK_BAD_ELAPSED, p);
    long v = 0;
    bool over = false;
    while (std::isdigit(static_cast<unsigned char>(*q))) {
      if (v <= 100000000) v = v * 10 + (*q - '0');
      else over = true;
      ++q;
    }
    if (over || v > u.limit) return clk_alrt(kProc, u.day_limit ? CLK_ELAPSED_LIMIT : CLK_BAD_ELAPSED, p);
    c.*(u.field) = v;
    if (*q != '\0') ++q;  // one separator character
  }
  while (*q == ' ') ++q;
  if (*q != '\0') return clk_alrt(kProc, CLK_BAD_ELAPSED, p);
  *out = c;
  return 0;
}

long clk_time_elps_str_to_cmp(const char* text, clk_elps_cmp* out) { return clk_time_elps_str_parse(14, text, out); }

long clk_time_elps_to_str(long seconds, char* out, long size) {
  clk_elps_cmp c{};
  clk_time_elps_to_cmp(seconds, 2, &c);
  return clk_time_elps_cmp_to_str(&c, 1, out, size);
}

long clk_time_str_to_elps(const char* text, long* seconds) {
  clk_elps_cmp c{};
  if (long st = clk_time_elps_str_to_cmp(text, &c)) return st;
  return clk_time_cmp_to_elps(&c, seconds);
}
