// Filling the region record from the process locale and the environment.
#include "core/osl/osl_loc.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "core/osl/osl_loc_int.h"
#include "core/osl/osl_print.h"

namespace {

unsigned long osl_loc_region_change_count = 0;

constexpr loc_ty_region make_defaults() {
  loc_ty_region r{};
  auto put = [](char* field, const char* text) {
    for (int i = 0; text[i] != '\0'; ++i) field[i] = text[i];
  };
  put(r.neg_sign, "-");
  put(r.dec_sym, ".");
  put(r.further_sym, ",");
  put(r.group_sym, ",");
  r.precision = -1;
  r.neg_format = 1;
  r.leading_zero = 1;
  r.flag1 = 1;
  r.flag2 = 1;
  r.mon_precision = 2;
  put(r.currency, "$");
  put(r.mon_neg_sign, "-");
  put(r.mon_dec_sym, ".");
  put(r.mon_group_sym, ",");
  put(r.short_date, "%m/%d/%y");
  put(r.long_date, "%e %B, %Y");
  put(r.date_time, "%m/%d/%y %H:%M:%S");
  const char* days[7] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"};
  const char* months[12] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                            "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
  for (int i = 0; i < 7; ++i) {
    put(r.day_names[i], days[i]);
    for (int k = 0; k < 3; ++k) r.day_abbr[i][k] = days[i][k];
  }
  for (int i = 0; i < 12; ++i) {
    put(r.month_names[i], months[i]);
    for (int k = 0; k < 3; ++k) r.month_abbr[i][k] = months[i][k];
  }
  put(r.time_fmt, "%H:%M:%S");
  put(r.date_sep, "/");
  put(r.time_sep, ":");
  put(r.ts_format, "%m/%d/%y %H:%M:%S");
  put(r.site_ts_format, "%m/%d/%y %H:%M:%S");
  return r;
}

char osl_loc_name[64] = "";

const int kCategories[] = {LC_NUMERIC, LC_MONETARY, LC_COLLATE, LC_CTYPE, LC_TIME};

// Copies a non-empty text into a field of max characters.
void put_if_set(char* field, const char* text, size_t max) {
  if (text == nullptr || *text == '\0') return;
  osl_loc_copy(field, max + 1, text);
}

void set_num_locale(const char* name) {
  std::setlocale(LC_MONETARY, name);
  std::setlocale(LC_NUMERIC, name);
}

}  // namespace

unsigned long osl_loc_region_changes() { return osl_loc_region_change_count; }

constexpr loc_ty_region osl_loc_us_defaults = make_defaults();

void osl_loc_copy(char* field, size_t size, const char* text) {
  if (size == 0) return;
  size_t n = std::strlen(text);
  if (n >= size) n = size - 1;
  std::memcpy(field, text, n);
  field[n] = '\0';
}

const char* osl_loc_locale_name() { return osl_loc_name; }

long osl_loc_init_region(loc_ty_region* region) { return osl_loc_init_region_option(region, ""); }

long osl_loc_init_region_option(loc_ty_region* region, const char* locale) {
  if (locale == nullptr) locale = "";
  *region = osl_loc_us_defaults;
  for (int c : kCategories) std::setlocale(c, locale);
  const char* date_format;
  const char* time_format;
  if (osl_loc_date_flags_have(OSL_LOC_FIXED_DATE)) {
    date_format = "%d-%m-%y";
    time_format = nullptr;
  } else {
    date_format = std::getenv("ORBISAN_DATE_FORMAT");
    time_format = std::getenv("ORBISAN_TIME_FORMAT");
  }
  osl_loc_copy(osl_loc_name, sizeof osl_loc_name, locale);
  osl_loc_get_spellings(region);
  osl_loc_extract_date(date_format, region);
  osl_loc_extract_time(time_format, region);
  if (std::strlen(region->short_date) + 1 + std::strlen(region->time_fmt) < sizeof region->date_time) {
    std::strcpy(region->date_time, region->short_date);
    std::strcat(region->date_time, " ");
    std::strcat(region->date_time, region->time_fmt);
  } else {
    osl_print_mes("date time format %s %s is too long, using default: %%m/%%d/%%Y %%H:%%M:%%S\n",
                  region->short_date, region->time_fmt);
    std::strcpy(region->date_time, "%m/%d/%Y %H:%M:%S");
  }
  set_num_locale(locale);
  const struct lconv* lc = std::localeconv();
  put_if_set(region->neg_sign, lc->negative_sign, 3);
  put_if_set(region->mon_neg_sign, lc->negative_sign, 4);
  put_if_set(region->dec_sym, lc->decimal_point, 3);
  put_if_set(region->group_sym, lc->thousands_sep, 3);
  osl_loc_copy(region->grouping, sizeof region->grouping, lc->grouping ? lc->grouping : "");
  put_if_set(region->currency, lc->currency_symbol, 4);
  put_if_set(region->mon_dec_sym, lc->mon_decimal_point, 4);
  put_if_set(region->mon_group_sym, lc->mon_thousands_sep, 4);
  osl_loc_copy(region->mon_grouping, sizeof region->mon_grouping, lc->mon_grouping ? lc->mon_grouping : "");
  if (lc->frac_digits != 127) {
    region->precision = static_cast<signed char>(lc->frac_digits);
    region->mon_precision = static_cast<signed char>(lc->frac_digits);
  }
  region->flag1 = 1;
  region->flag2 = 1;
  ++osl_loc_region_change_count;
  return 0;
}

long osl_loc_reset_region(loc_ty_region* region) {
  osl_loc_copy(osl_loc_name, sizeof osl_loc_name, "C");
  osl_loc_set_no_locale(1);
  *region = osl_loc_us_defaults;
  ++osl_loc_region_change_count;
  return 0;
}

long osl_loc_disable_loc_region(loc_ty_region* region) {
  *region = osl_loc_us_defaults;
  ++osl_loc_region_change_count;
  set_num_locale("C");
  return 0;
}

long osl_loc_enable_loc_region() {
  set_num_locale(osl_loc_name);
  return 0;
}

long osl_loc_enable_loc_num() { return osl_loc_enable_loc_region(); }

long osl_loc_disable_loc_num() {
  set_num_locale("C");
  return 0;
}

long osl_loc_get_spellings(loc_ty_region* region) {
  struct tm t{};
  t.tm_year = 100;
  t.tm_mday = 1;
  char buf[15];
  for (int d = 0; d < 7; ++d) {
    t.tm_wday = d;
    if (std::strftime(buf, sizeof buf, "%A", &t) > 0) osl_loc_copy(region->day_names[d], 15, buf);
    if (std::strftime(buf, sizeof buf, "%a", &t) > 0) osl_loc_copy(region->day_abbr[d], 15, buf);
  }
  for (int m = 0; m < 12; ++m) {
    t.tm_mon = m;
    if (std::strftime(buf, sizeof buf, "%B", &t) > 0) osl_loc_copy(region->month_names[m], 15, buf);
    if (std::strftime(buf, sizeof buf, "%b", &t) > 0) osl_loc_copy(region->month_abbr[m], 15, buf);
  }
  return 0;
}

long osl_loc_force_date_format(loc_ty_region* region, const char* format) {
  if (format == nullptr) return 0;
  osl_loc_copy(region->short_date, sizeof region->short_date, format);
  char dt[sizeof region->date_time + sizeof region->time_fmt + 2];
  std::strcpy(dt, region->short_date);
  std::strcat(dt, " ");
  std::strcat(dt, region->time_fmt);
  osl_loc_copy(region->date_time, sizeof region->date_time, dt);
  ++osl_loc_region_change_count;
  return 0;
}
