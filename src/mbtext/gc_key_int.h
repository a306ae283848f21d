// Internals of sort keys.
#pragma once

#include <cstdint>

#include "mbtext/gc_key.h"

// The sort key of len bytes of src under flags (already checked) in a newly
// allocated buffer that the caller frees with gcFree; null when memory runs
// out.
uint8_t* gcKeyOf(GCLocale* loc, const char* src, int32_t len, uint32_t flags, int32_t* keyLen);
