// Decimal digit characters of UCS-2 and the ASCII digit of their value.
//
// Threads: safe from several threads; the table is read-only.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

inline constexpr int GC_DIGIT_COUNT = 179;

// Pairs (digit character, ASCII code '0'..'9' of its value), ascending by
// character: the ASCII digits, the superscript and subscript digits, the
// digits of the other scripts and the full-width digits.
extern const std::uint16_t GCDigits[GC_DIGIT_COUNT][2];

// The ASCII digit ('0'..'9') whose value the character has, or 0 when the
// character is not in GCDigits. Binary search; no locale involved.
ORB_API GCUChar GCDigitLookup(GCUChar c);
