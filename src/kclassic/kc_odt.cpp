#include "kclassic/kc_odt.h"

#include <cmath>
#include <cstring>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

const int32_t g_aMonthDays[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

namespace {

constexpr long kDaysToDay0 = 693959; // day 0 counted from the start of year 0
constexpr double kHalfSecond = 1.0 / 172800.0;

bool is_leap(long year) { return (year & 3) == 0 && (year % 100 != 0 || year % 400 == 0); }

} // namespace

int KOleDateFromTm(unsigned short year, unsigned short month, unsigned short day, unsigned short hour,
                   unsigned short minute, unsigned short second, double& out) {
  if (year > 9999 || month < 1 || month > 12) return 0;
  bool leap = is_leap(year);
  int mdays = g_aMonthDays[month] - g_aMonthDays[month - 1] + ((leap && month == 2 && day == 29) ? 1 : 0);
  if (day < 1 || day > mdays || hour > 23 || minute > 59 || second > 59) return 0;
  long n = long(year) * 365 + year / 4 - year / 100 + year / 400 + g_aMonthDays[month - 1] + day;
  if (month <= 2 && leap) --n;
  n -= kDaysToDay0;
  double t = double(long(hour) * 3600 + long(minute) * 60 + second) / 86400.0;
  out = n >= 0 ? double(n) + t : double(n) - t;
  return 1;
}

int KTmFromOleDate(double days, std::tm& out) {
  if (!(days <= KOLE_DATE_MAX && days >= KOLE_DATE_MIN)) return 0;
  double d = days > 0 ? days + kHalfSecond : days - kHalfSecond;
  long n = long(d) + kDaysToDay0;
  double a = std::fabs(d);
  long secs = long((a - std::floor(a)) * 86400.0);

  out.tm_wday = int((n - 1) % 7 + 1);
  long q400 = n / 146097;
  n %= 146097;
  long century = (n - 1) / 36524;
  long q4, d4;
  bool leap4 = true;
  if (century != 0) {
    n = (n - 1) % 36524;
    q4 = (n + 1) / 1461;
    if (q4 != 0) {
      d4 = (n + 1) % 1461;
    } else {
      leap4 = false;
      d4 = n;
    }
  } else {
    q4 = n / 1461;
    d4 = n % 1461;
  }
  long y;
  if (leap4) {
    y = (d4 - 1) / 365;
    if (y != 0) d4 = (d4 - 1) % 365;
  } else {
    y = d4 / 365;
    d4 %= 365;
  }
  out.tm_yday = int(d4 + 1);
  out.tm_year = int(q400 * 400 + century * 100 + q4 * 4 + y);
  bool feb29 = false;
  if (y == 0 && leap4) {
    if (d4 == 59) {
      out.tm_mon = 2;
      out.tm_mday = 29;
      feb29 = true;
    } else if (d4 >= 60) {
      --d4;
    }
  }
  if (!feb29) {
    ++d4;
    int month = int(d4 / 32 + 1);
    while (d4 > g_aMonthDays[month]) ++month;
    out.tm_mon = month;
    out.tm_mday = int(d4 - g_aMonthDays[month - 1]);
  }
  out.tm_sec = int(secs % 60);
  out.tm_min = int((secs / 60) % 60);
  out.tm_hour = int(secs / 3600);
  return 1;
}

void KTmConvertToStandardFormat(std::tm& t) {
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  t.tm_wday -= 1;
  t.tm_yday -= 1;
}

double KDoubleFromDate(double days) {
  if (days >= 0) return days;
  double c = std::ceil(days);
  return c - (days - c);
}

double KDateFromDouble(double linear) {
  if (linear >= 0) return linear;
  double f = std::floor(linear);
  return f + (f - linear);
}

void KTmToISODateStr(char* out, std::tm t) {
  ksprintf(out, "%4d-%02d-%02d %02d:%02d:%02d", t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

int KISODateStrToTm(std::tm& out, const char* text) {
  if (!text) return 0;
  size_t len = std::strlen(text);
  if (len > 127) return 0;
  static const int widths[6] = {4, 2, 2, 2, 2, 2};
  long values[6];
  const char* p = text;
  for (int i = 0; i < 6; ++i) {
    while (*p == '-' || *p == ' ' || *p == ':') ++p;
    const char* start = p;
    while (*p && *p != '-' && *p != ' ' && *p != ':') ++p;
    if (p - start != widths[i]) return 0;
    long v = 0;
    for (const char* q = start; q < p; ++q) {
      if (*q < '0' || *q > '9') return 0;
      v = v * 10 + (*q - '0');
    }
    values[i] = v;
  }
  out.tm_year = int(values[0]);
  out.tm_mon = int(values[1]);
  out.tm_mday = int(values[2]);
  out.tm_hour = int(values[3]);
  out.tm_min = int(values[4]);
  out.tm_sec = int(values[5]);
  return 1;
}

// ---------------------------------------------------------------------------

KOleDateTime KOleDateTime::GetCurrentTime() {
  KOleDateTime d;
  long now = long(std::time(nullptr));
  d = now;
  return d;
}

KOleDateTime& KOleDateTime::operator=(const long& t) {
  std::time_t tt = std::time_t(t);
  std::tm tmv{};
  if (!localtime_r(&tt, &tmv)) {
    m_status = invalid;
    return *this;
  }
  m_status = KOleDateFromTm(static_cast<unsigned short>(tmv.tm_year + 1900), static_cast<unsigned short>(tmv.tm_mon + 1),
                            static_cast<unsigned short>(tmv.tm_mday), static_cast<unsigned short>(tmv.tm_hour),
                            static_cast<unsigned short>(tmv.tm_min), static_cast<unsigned short>(tmv.tm_sec), m_dt)
                 ? valid
                 : invalid;
  return *this;
}

KOleDateTime& KOleDateTime::operator=(double days) {
  m_dt = days;
  m_status = valid;
  return *this;
}

int KOleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
  m_status = KOleDateFromTm(static_cast<unsigned short>(year), static_cast<unsigned short>(month),
                            static_cast<unsigned short>(day), static_cast<unsigned short>(hour),
                            static_cast<unsigned short>(minute), static_cast<unsigned short>(second), m_dt)
                 ? valid
                 : invalid;
  return m_status;
}

int KOleDateTime::ParseDateTime(const char* text) {
  std::tm t{};
  double days = 0;
  if (!KISODateStrToTm(t, text) ||
      !KOleDateFromTm(static_cast<unsigned short>(t.tm_year), static_cast<unsigned short>(t.tm_mon),
                      static_cast<unsigned short>(t.tm_mday), static_cast<unsigned short>(t.tm_hour),
                      static_cast<unsigned short>(t.tm_min), static_cast<unsigned short>(t.tm_sec), days))
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "KOleDateTime::ParseDateTime", "Invalid Date");
  m_dt = days;
  m_status = valid;
  return 1;
}

int KOleDateTime::Broken(std::tm& t) const {
  if (m_status != valid) return 0;
  return KTmFromOleDate(m_dt, t);
}

namespace {

template <class F>
int field(const KOleDateTime& d, int (KOleDateTime::*broken)(std::tm&) const, F pick) {
  std::tm t{};
  return (d.*broken)(t) ? pick(t) : -1;
}

} // namespace

int KOleDateTime::GetYear() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_year; }); }
int KOleDateTime::GetMonth() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_mon; }); }
int KOleDateTime::GetDay() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_mday; }); }
int KOleDateTime::GetHour() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_hour; }); }
int KOleDateTime::GetMinute() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_min; }); }
int KOleDateTime::GetSecond() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_sec; }); }
int KOleDateTime::GetDayOfWeek() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_wday; }); }
int KOleDateTime::GetDayOfYear() const { return field(*this, &KOleDateTime::Broken, [](const std::tm& t) { return t.tm_yday; }); }

KOleDateTime KOleDateTime::Shifted(const KOleDateTimeSpan& span, int sign) const {
  KOleDateTime r;
  if (m_status == null || span.m_status == null) {
    r.m_status = null;
  } else if (m_status == invalid || span.m_status == KOleDateTime::invalid) {
    r.m_status = invalid;
  } else {
    r.m_dt = KDateFromDouble(KDoubleFromDate(m_dt) + sign * span.m_span);
    r.CheckRange();
  }
  return r;
}

KOleDateTime KOleDateTime::operator+(const KOleDateTimeSpan& span) const { return Shifted(span, 1); }
KOleDateTime KOleDateTime::operator-(const KOleDateTimeSpan& span) const { return Shifted(span, -1); }

KOleDateTimeSpan KOleDateTime::operator-(const KOleDateTime& other) const {
  KOleDateTimeSpan r;
  if (m_status == null || other.m_status == null) r.m_status = null;
  else if (m_status == invalid || other.m_status == invalid) r.m_status = invalid;
  else r.m_span = KDoubleFromDate(m_dt) - KDoubleFromDate(other.m_dt);
  return r;
}

void KOleDateTime::CheckRange() {
  if (!(m_dt <= KOLE_DATE_MAX && m_dt >= KOLE_DATE_MIN)) m_status = invalid;
}

KZString KOleDateTime::Format(const char* pattern) const {
  if (m_status == null) return KZString();
  std::tm t{};
  if (m_status == invalid || !KTmFromOleDate(m_dt, t)) return KZString("Invalid DateTime.");
  KTmConvertToStandardFormat(t);
  t.tm_isdst = -1;
  if (!pattern || !*pattern) return KZString();
  // strftime gives 0 both for an empty result and for one that does not
  // fit; the buffer grows until the text fits (or plainly is empty).
  KZString out;
  for (int size = 128; size <= 65536; size *= 4) {
    char* buf = out.GetBuffer(size);
    size_t n = std::strftime(buf, size_t(size), pattern, &t);
    if (n > 0 || size >= 65536) {
      out.ReleaseBuffer(int(n));
      return out;
    }
    out.ReleaseBuffer(0);
  }
  return out;
}

KZString KOleDateTime::Format(unsigned id) const {
  KZString pattern;
  pattern.LoadString(id);
  return Format(static_cast<const char*>(pattern));
}

KZString KOleDateTime::Format(unsigned long) const {
  if (m_status == invalid) return KZString("Invalid DateTime.");
  return KZString();
}

} // namespace KCLASSIC
