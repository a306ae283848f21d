// Byte helpers without a locale.
//
// Threads: GCmemicmp reads the process's C locale (tolower) and nothing else.
#pragma once

#include <cstdint>

#include "orb_api.h"

// Compares n bytes without regard to case (the process's C library case
// rules): the difference of the lower-case forms of the first pair that still
// differs, else 0.
ORB_API int GCmemicmp(const void* a, const void* b, uint32_t n);
