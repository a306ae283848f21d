// Internals of character navigation.
#pragma once

#include <cstdint>

#include "mbtext/gc_nav.h"

// Bytes of the character at p within avail bytes (negative: up to the NUL),
// at least 1 while text remains; *whole tells whether the character lies
// whole within the text (a cut character spans the bytes up to the end).
// 0 when no text remains (avail 0).
int gcNavSpan(const GCLocale* locale, const uint8_t* p, int32_t avail, bool* whole);
