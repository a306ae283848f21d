// OS layer: time stamps and the client's time zone.
//
// Threads: osl_time_str and osl_time_get_client_tz return static buffers and
// are not safe from several threads; the stamp calls keep no state and are.
// No lock.
#pragma once

#include "orb_api.h"

#include <cstdint>
#include <ctime>

// Elapsed-time stamp: seconds and microseconds as gettimeofday gives them.
struct osl_ty_etime {
  int32_t seconds = 0;
  int32_t microseconds = 0;
};

// The client's time zone as the clock's zone records hold it: zone word 0,
// offset of local time from UTC in seconds (positive east), no daylight
// period lists, and the zone name (a static buffer, valid until the next
// call).
struct osl_ty_client_tz {
  long zone_word = 0;
  long gmt_offset = 0;
  void* dst_starts = nullptr;
  void* dst_ends = nullptr;
  const char* name = nullptr;
};

// time(t); returns the time as well.
ORB_API long osl_time_get(time_t* t);
// gettimeofday into *stamp. 0, or 1 when the clock cannot be read.
ORB_API long osl_time_eget(osl_ty_etime* stamp);
// *seconds = b - a. 0.
ORB_API long osl_time_ediff(const osl_ty_etime* a, const osl_ty_etime* b, float* seconds);
// *result = stamp + *seconds (a copy of stamp when *seconds <= 0). 0.
ORB_API long osl_time_ecalc(const osl_ty_etime* stamp, const float* seconds, osl_ty_etime* result);
// -1, 0 or 1 by seconds, then microseconds.
ORB_API long osl_time_ecmp(const osl_ty_etime* a, const osl_ty_etime* b);
// *t as UTC text "%D %T %Z" in a static buffer (valid until the next call).
ORB_API const char* osl_time_str(const time_t* t);
// Fills the client time-zone record. 0.
ORB_API long osl_time_get_client_tz(osl_ty_client_tz* record);
