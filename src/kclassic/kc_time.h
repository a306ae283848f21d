// KTime, an absolute time in whole seconds since 1970-01-01 00:00:00 UTC,
// with local or UTC calendar fields and strftime formatting, and KTimeSpan,
// a count of seconds. Both hold 64-bit values.
#pragma once

#include <cstdint>
#include <ctime>

#include "kclassic/kc_sys.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

class ORB_API KTimeSpan {
 public:
  KTimeSpan() = default;
  KTimeSpan(int64_t seconds) : m_span(seconds) {}
  int64_t GetTotalSeconds() const { return m_span; }
  bool operator==(KTimeSpan o) const { return m_span == o.m_span; }
  bool operator!=(KTimeSpan o) const { return m_span != o.m_span; }

 private:
  int64_t m_span = 0;
};

class ORB_API KTime {
 public:
  KTime() = default;
  KTime(int64_t t) : m_time(t) {}
  // A local time through mktime (fields out of range are normalised); -1
  // when mktime fails.
  KTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
  // The same from a system time; 0 for a year before 1900.
  KTime(const _KSYSTEMTIME& st, int dst = -1);
  KTime& operator=(int64_t t) {
    m_time = t;
    return *this;
  }

  static KTime GetCurrentTime();
  int64_t GetTime() const { return m_time; }

  tm* GetGmtTm(tm* out) const;
  tm* GetLocalTm(tm* out) const;
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const; // 1 = Sunday
  int GetAsSystemTime(_KSYSTEMTIME& st) const;

  // strftime of the local (or UTC) time; "" when the result exceeds 127
  // characters.
  KZString Format(const char* pattern) const;
  KZString FormatGmt(const char* pattern) const;
  KZString Format(unsigned id) const;
  KZString FormatGmt(unsigned id) const;

  bool operator==(KTime o) const { return m_time == o.m_time; }
  bool operator!=(KTime o) const { return m_time != o.m_time; }
  bool operator<(KTime o) const { return m_time < o.m_time; }
  bool operator>(KTime o) const { return m_time > o.m_time; }
  bool operator<=(KTime o) const { return m_time <= o.m_time; }
  bool operator>=(KTime o) const { return m_time >= o.m_time; }
  KTimeSpan operator-(KTime o) const { return KTimeSpan(m_time - o.m_time); }
  KTime operator+(KTimeSpan s) const { return KTime(m_time + s.GetTotalSeconds()); }
  KTime operator-(KTimeSpan s) const { return KTime(m_time - s.GetTotalSeconds()); }
  KTime& operator+=(KTimeSpan s) {
    m_time += s.GetTotalSeconds();
    return *this;
  }
  KTime& operator-=(KTimeSpan s) {
    m_time -= s.GetTotalSeconds();
    return *this;
  }

 private:
  int64_t m_time = 0;
  tm Local() const;
  KZString Strftime(const char* pattern, bool gmt) const;
};

} // namespace KCLASSIC
