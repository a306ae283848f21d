// OS layer: time stamps and the client's time zone.
#include "core/osl/osl_time.h"

#include <sys/time.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kMicro = 1000000;

int32_t clamp32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

char g_time_text[256];
char g_zone_name[80];

}  // namespace

long osl_time_get(time_t* t) { return static_cast<long>(time(t)); }

long osl_time_eget(osl_ty_etime* stamp) {
  timeval tv{};
  if (gettimeofday(&tv, nullptr) != 0) return 1;
  stamp->seconds = static_cast<int32_t>(tv.tv_sec);
  stamp->microseconds = static_cast<int32_t>(tv.tv_usec);
  return 0;
}

long osl_time_ediff(const osl_ty_etime* a, const osl_ty_etime* b, float* seconds) {
  int64_t secs = static_cast<int64_t>(b->seconds) - a->seconds;
  int64_t micros;
  if (b->microseconds <= a->microseconds) {
    --secs;
    micros = static_cast<int64_t>(b->microseconds) + kMicro - a->microseconds;
  } else {
    micros = static_cast<int64_t>(b->microseconds) - a->microseconds;
  }
  *seconds = static_cast<float>(static_cast<double>(secs) +
                                static_cast<double>(micros) / static_cast<double>(kMicro));
  return 0;
}

long osl_time_ecalc(const osl_ty_etime* stamp, const float* seconds, osl_ty_etime* result) {
  double add = *seconds;
  if (!(add > 0.0)) {  // also a NaN
    *result = *stamp;
    return 0;
  }
  if (add > static_cast<double>(INT32_MAX)) add = static_cast<double>(INT32_MAX);
  double whole = std::floor(add);
  // The fraction to the nearest microsecond: a float such as 0.7 lies just
  // below its decimal value and would otherwise lose one microsecond.
  int64_t micros = static_cast<int64_t>(stamp->microseconds) +
                   std::llround((add - whole) * static_cast<double>(kMicro));
  int64_t secs = static_cast<int64_t>(stamp->seconds) + static_cast<int64_t>(whole);
  secs += micros / kMicro;
  micros %= kMicro;
  if (micros < 0) {  // a stamp with negative microseconds
    micros += kMicro;
    --secs;
  }
  result->seconds = clamp32(secs);
  result->microseconds = static_cast<int32_t>(micros);
  return 0;
}

long osl_time_ecmp(const osl_ty_etime* a, const osl_ty_etime* b) {
  if (a->seconds != b->seconds) return a->seconds < b->seconds ? -1 : 1;
  if (a->microseconds != b->microseconds) return a->microseconds < b->microseconds ? -1 : 1;
  return 0;
}

const char* osl_time_str(const time_t* t) {
  tm broken{};
  g_time_text[0] = '\0';
  if (t != nullptr && gmtime_r(t, &broken) != nullptr)
    strftime(g_time_text, sizeof(g_time_text), "%D %T %Z", &broken);
  return g_time_text;
}

long osl_time_get_client_tz(osl_ty_client_tz* record) {
  time_t now = time(nullptr);
  tm broken{};
  gmtime_r(&now, &broken);
  // The UTC wall-clock time read as local time: the difference is the
  // zone's offset (positive east of UTC).
  time_t as_local = mktime(&broken);
  g_zone_name[0] = '\0';
  strftime(g_zone_name, sizeof(g_zone_name), "%Z", &broken);
  record->zone_word = 0;
  record->gmt_offset = static_cast<long>(difftime(now, as_local));
  record->dst_starts = nullptr;
  record->dst_ends = nullptr;
  record->name = g_zone_name;
  return 0;
}
