// Clocks and calendar time of the system-call layer.
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "kclassic/kc_err.h"
#include "kclassic/kc_sys.h"

namespace KCLASSIC {

namespace {

int64_t MonotonicNanoseconds() {
  timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void FillSystemTime(_KSYSTEMTIME* st, bool local, const char* method, const char* insert) {
  if (!st) throw new KErr(KERR_ILLEGAL_ARGUMENT, method, insert);
  timeval tv;
  if (::gettimeofday(&tv, nullptr) != 0) throw new KErr(KERR_SYSTEM_ERROR, method, "gettimeofday");
  long t = long(tv.tv_sec);
  tm b{};
  if (local) KLocalTime(&t, &b);
  else KGmTime(&t, &b);
  st->wYear = uint16_t(b.tm_year + 1900);
  st->wMonth = uint16_t(b.tm_mon + 1);
  st->wDayOfWeek = uint16_t(b.tm_wday);
  st->wDay = uint16_t(b.tm_mday);
  st->wHour = uint16_t(b.tm_hour);
  st->wMinute = uint16_t(b.tm_min);
  st->wSecond = uint16_t(b.tm_sec);
  st->wMilliseconds = uint16_t(tv.tv_usec / 1000);
}

} // namespace

void KGetSystemTime(_KSYSTEMTIME* st) { FillSystemTime(st, false, "KGetSystemTime", "pSystemTime"); }
void KGetLocalTime(_KSYSTEMTIME* st) { FillSystemTime(st, true, "KGetLocalTime", "pLocalTime"); }

unsigned long KGetTickCount() { return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000); }

int64_t KGetPerfCounter() { return MonotonicNanoseconds(); }

int64_t KGetPerfCounterFreq() { return 1000000000; }

int KQueryPerformanceFrequency(_KLARGE_INTEGER* freq) {
  if (!freq) return 0;
  freq->HighPart = 0;
  freq->LowPart = 1000000000;
  return 1;
}

int KQueryPerformanceCounter(_KLARGE_INTEGER* count) {
  if (!count) return 0;
  uint64_t v = uint64_t(KGetPerfCounter());
  count->HighPart = uint32_t(v >> 32);
  count->LowPart = uint32_t(v);
  return 1;
}

void KGmTime(const long* t, tm* out) {
  if (!out || !t) return;
  time_t v = time_t(*t);
  ::gmtime_r(&v, out);
}

void KLocalTime(const long* t, tm* out) {
  if (!out || !t) return;
  time_t v = time_t(*t);
  ::localtime_r(&v, out);
}

unsigned long KGetFileTimestamp(const char* path) {
  struct stat st;
  if (!path || ::stat(path, &st) != 0) return 0;
  return static_cast<unsigned long>(st.st_mtime);
}

void KSleep(unsigned long ms) {
  unsigned long s = ms / 1000;
  ::sleep(unsigned(s == 0 ? 1 : s));
}

} // namespace KCLASSIC
