#include "kclassic/kc_time.h"

namespace KCLASSIC {

KTime::KTime(int year, int month, int day, int hour, int minute, int second, int dst) {
  tm b{};
  b.tm_sec = second;
  b.tm_min = minute;
  b.tm_hour = hour;
  b.tm_mday = day;
  b.tm_mon = month - 1;
  b.tm_year = year - 1900;
  b.tm_isdst = dst;
  m_time = int64_t(::mktime(&b));
}

KTime::KTime(const _KSYSTEMTIME& st, int dst) {
  if (st.wYear < 1900) return;
  *this = KTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, dst);
}

KTime KTime::GetCurrentTime() { return KTime(int64_t(::time(nullptr))); }

tm* KTime::GetGmtTm(tm* out) const {
  if (!out) return nullptr;
  long t = long(m_time);
  KGmTime(&t, out);
  return out;
}

tm* KTime::GetLocalTm(tm* out) const {
  if (!out) return nullptr;
  long t = long(m_time);
  KLocalTime(&t, out);
  return out;
}

tm KTime::Local() const {
  tm b{};
  GetLocalTm(&b);
  return b;
}

int KTime::GetYear() const { return Local().tm_year + 1900; }
int KTime::GetMonth() const { return Local().tm_mon + 1; }
int KTime::GetDay() const { return Local().tm_mday; }
int KTime::GetHour() const { return Local().tm_hour; }
int KTime::GetMinute() const { return Local().tm_min; }
int KTime::GetSecond() const { return Local().tm_sec; }
int KTime::GetDayOfWeek() const { return Local().tm_wday + 1; }

int KTime::GetAsSystemTime(_KSYSTEMTIME& st) const {
  tm b = Local();
  st.wYear = uint16_t(b.tm_year + 1900);
  st.wMonth = uint16_t(b.tm_mon + 1);
  st.wDayOfWeek = uint16_t(b.tm_wday);
  st.wDay = uint16_t(b.tm_mday);
  st.wHour = uint16_t(b.tm_hour);
  st.wMinute = uint16_t(b.tm_min);
  st.wSecond = uint16_t(b.tm_sec);
  st.wMilliseconds = 0;
  return 1;
}

KZString KTime::Strftime(const char* pattern, bool gmt) const {
  tm b{};
  if (gmt) GetGmtTm(&b);
  else GetLocalTm(&b);
  char buffer[128];
  if (!pattern || ::strftime(buffer, sizeof buffer, pattern, &b) == 0) return KZString();
  return KZString(buffer);
}

KZString KTime::Format(const char* pattern) const { return Strftime(pattern, false); }
KZString KTime::FormatGmt(const char* pattern) const { return Strftime(pattern, true); }

KZString KTime::Format(unsigned id) const {
  KZString pattern;
  pattern.LoadString(id);
  return Strftime(pattern, false);
}

KZString KTime::FormatGmt(unsigned id) const {
  KZString pattern;
  pattern.LoadString(id);
  return Strftime(pattern, true);
}

} // namespace KCLASSIC
