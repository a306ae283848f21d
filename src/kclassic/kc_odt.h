// OLE dates: a day count since 30 December 1899 in a double, the time of day
// as the fraction (subtracted for days before day 0), with a status; the span
// between two dates; and the free conversions between day counts, broken-down
// fields and ISO text "YYYY-MM-DD hh:mm:ss".
//
// The conversion form of a tm record: tm_mon 1 to 12, tm_year the full year,
// tm_wday 1 to 7 (1 = Sunday), tm_yday 1 to 366. KTmConvertToStandardFormat
// turns it into libc's form. The ISO functions take the form they are handed.
//
// Threads: the free functions keep no state and may run on several threads
// at once; a value is used by one thread at a time.
#pragma once

#include <cstdint>
#include <ctime>

#include "kclassic/kc_vtypes.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

namespace KCLASSIC {

struct _KSYSTEMTIME;
class KArchive;

// Cumulative day counts of a common year, index 0 to 12.
extern ORB_API const int32_t g_aMonthDays[13];

// The valid range: 1 January 1753 to 31 December 9999 00:00:00.
inline constexpr double KOLE_DATE_MIN = -53688.0;
inline constexpr double KOLE_DATE_MAX = 2958465.0;

ORB_API int KOleDateFromTm(unsigned short year, unsigned short month, unsigned short day, unsigned short hour,
                           unsigned short minute, unsigned short second, double& out);
ORB_API int KTmFromOleDate(double days, std::tm& out);
ORB_API void KTmConvertToStandardFormat(std::tm& t);
// The linear scale that runs with time on both sides of day 0.
ORB_API double KDoubleFromDate(double days);
ORB_API double KDateFromDouble(double linear);
// out holds at least 80 bytes (enough for any field values).
ORB_API void KTmToISODateStr(char* out, std::tm t);
// 1 when the six fields (4-digit year, then 2 digits each) were read; text
// after them is ignored. Text over 127 bytes is refused.
ORB_API int KISODateStrToTm(std::tm& out, const char* text);

class KOleDateTimeSpan;

class ORB_API KOleDateTime {
 public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  KOleDateTime() = default;
  KOleDateTime(double days) : m_dt(days) {}
  explicit KOleDateTime(const tagKVARIANT& v) { *this = v; }
  KOleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
  }

  static KOleDateTime GetCurrentTime();

  KOleDateTime& operator=(const long& t); // a time_t, local time
  KOleDateTime& operator=(const _KSYSTEMTIME& st);
  KOleDateTime& operator=(double days);
  KOleDateTime& operator=(const tagKVARIANT& v);

  int SetDateTime(int year, int month, int day, int hour, int minute, int second);
  int ParseDateTime(const char* text);
  DateTimeStatus GetStatus() const { return DateTimeStatus(m_status); }
  void SetStatus(DateTimeStatus s) { m_status = s; }
  operator double() const { return m_dt; }

  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;
  int GetDayOfYear() const;
  int GetAsSystemTime(_KSYSTEMTIME& st) const;

  bool operator<(const KOleDateTime& o) const { return KDoubleFromDate(m_dt) < KDoubleFromDate(o.m_dt); }
  bool operator>(const KOleDateTime& o) const { return KDoubleFromDate(m_dt) > KDoubleFromDate(o.m_dt); }
  bool operator<=(const KOleDateTime& o) const { return KDoubleFromDate(m_dt) <= KDoubleFromDate(o.m_dt); }
  bool operator>=(const KOleDateTime& o) const { return KDoubleFromDate(m_dt) >= KDoubleFromDate(o.m_dt); }

  KOleDateTime operator+(const KOleDateTimeSpan& span) const;
  KOleDateTime operator-(const KOleDateTimeSpan& span) const;
  KOleDateTimeSpan operator-(const KOleDateTime& other) const;

  KZString Format(const char* pattern) const;
  KZString Format(unsigned id) const;
  KZString Format(unsigned long flags) const;

  // Marks the value invalid when it lies outside the range.
  void CheckRange();

  double m_dt = 0.0;
  int32_t m_status = valid;

 private:
  // The broken-down value in the conversion form; 0 when not valid.
  int Broken(std::tm& t) const;
  KOleDateTime Shifted(const KOleDateTimeSpan& span, int sign) const;
};

class ORB_API KOleDateTimeSpan {
 public:
  KOleDateTimeSpan() = default;
  KOleDateTimeSpan(double span, int status = KOleDateTime::valid) : m_span(span), m_status(status) {}
  KOleDateTime::DateTimeStatus GetStatus() const { return KOleDateTime::DateTimeStatus(m_status); }
  void SetStatus(KOleDateTime::DateTimeStatus s) { m_status = s; }
  operator double() const { return m_span; }

  double m_span = 0.0;
  int32_t m_status = KOleDateTime::valid;
};

// Archive image: the status (32 bits), then the day count (IEEE double),
// big-endian; read back as stored.
ORB_API KArchive& operator<<(KArchive& ar, KOleDateTime d);
ORB_API KArchive& operator>>(KArchive& ar, KOleDateTime& d);

// The date-time of the business-object layer: the OLE date value first.
class ORB_API KDateTime : public KOleDateTime {
 public:
  KDateTime() = default;
  KDateTime(const KOleDateTime& d) : KOleDateTime(d) {}
  KDateTime(double days) : KOleDateTime(days) {}
  using KOleDateTime::operator=;
  KDateTime& operator=(const KOleDateTime& d) {
    KOleDateTime::operator=(d);
    return *this;
  }
};

} // namespace KCLASSIC
