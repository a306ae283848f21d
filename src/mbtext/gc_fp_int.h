// Internals of the floating-point conversion.
#pragma once

#include <cstdint>

#include "mbtext/gc_fp.h"

// Character helpers of the code page's form.
inline char gcFpPoint(int ascii) { return ascii ? '.' : static_cast<char>(0x4B); }
