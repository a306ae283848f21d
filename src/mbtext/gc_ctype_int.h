// Internals of the character classes: UCS-2 bitmap tests.
#pragma once

#include <cstdint>

#include "mbtext/gc_ctype.h"

// Tests of one UCS-2 value against the bitmaps.
bool gcIsSpaceU(GCUChar c);
bool gcIsDigitU(GCUChar c);
