// Debug trace of the locale layer and the message lists.
//
// Threads: the trace procedure's slot is process-wide and unguarded: set it at
// start-up.
#pragma once

#include "orb_api.h"

// A trace procedure: (topic, level, format, arguments as a va_list).
#include <cstdarg>
using loc_ty_dbg_proc = long (*)(const char* topic, long level, const char* format, va_list args);

// Trace level, initially -1 (nothing at level 0 or above is printed).
extern long loc_dbg_dlevel;

ORB_API long loc_dbg_set_topic(const char* topic, long level, loc_ty_dbg_proc proc);
// With a procedure installed that returns non-zero: that result. Otherwise,
// at a level of at most loc_dbg_dlevel, prints "loc_dbg_print: " and the
// formatted text; 0.
ORB_API long loc_dbg_print(const char* topic, long level, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
