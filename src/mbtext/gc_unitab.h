// Fixed Unicode case and width tables and the single-character mappings
// built on them. The tables hold one 16-bit value per code of their range,
// indexed by the code minus the first code of the table; a code without a
// counterpart maps to itself.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Lower case: tables for U+0100-U+01FE, U+0200-U+0275, U+0380-U+03EE,
// U+0400-U+04F8, U+1E00-U+1EF8 and U+1F00-U+1FFC.
extern const std::uint16_t GC_UNICODE_Lower1[0x01FE - 0x0100 + 1];
extern const std::uint16_t GC_UNICODE_Lower2[0x0275 - 0x0200 + 1];
extern const std::uint16_t GC_UNICODE_Lower3[0x03EE - 0x0380 + 1];
extern const std::uint16_t GC_UNICODE_Lower4[0x04F8 - 0x0400 + 1];
extern const std::uint16_t GC_UNICODE_Lower5[0x1EF8 - 0x1E00 + 1];
extern const std::uint16_t GC_UNICODE_Lower6[0x1FFC - 0x1F00 + 1];

// Upper case: tables for U+0100-U+01FF, U+0200-U+0292, U+03A0-U+03F1,
// U+0430-U+04F9, U+1E00-U+1EF9 and U+1F00-U+1FF3.
extern const std::uint16_t GC_UNICODE_Upper1[0x01FF - 0x0100 + 1];
extern const std::uint16_t GC_UNICODE_Upper2[0x0292 - 0x0200 + 1];
extern const std::uint16_t GC_UNICODE_Upper3[0x03F1 - 0x03A0 + 1];
extern const std::uint16_t GC_UNICODE_Upper4[0x04F9 - 0x0430 + 1];
extern const std::uint16_t GC_UNICODE_Upper5[0x1EF9 - 0x1E00 + 1];
extern const std::uint16_t GC_UNICODE_Upper6[0x1FF3 - 0x1F00 + 1];

// Half-width to full-width: U+00A0-U+00AF and U+FF60-U+FFEE.
extern const std::uint16_t GC_UNICODE_H2F1[0x00AF - 0x00A0 + 1];
extern const std::uint16_t GC_UNICODE_H2F2[0xFFEE - 0xFF60 + 1];

// Full-width to half-width: U+2500-U+25CB, U+3000-U+30FC, U+3130-U+3164 and
// U+FFE0-U+FFE6.
extern const std::uint16_t GC_UNICODE_F2H1[0x25CB - 0x2500 + 1];
extern const std::uint16_t GC_UNICODE_F2H2[0x30FC - 0x3000 + 1];
extern const std::uint16_t GC_UNICODE_F2H3[0x3164 - 0x3130 + 1];
extern const std::uint16_t GC_UNICODE_F2H4[0xFFE6 - 0xFFE0 + 1];

// Single-character mappings. The locale (null: the default locale) only
// receives the status 0; the mappings themselves do not depend on it.
ORB_API GCUChar GCUnicodeToLower(GCLocale* locale, GCUChar c);
ORB_API GCUChar GCUnicodeToUpper(GCLocale* locale, GCUChar c);
ORB_API GCUChar GCUnicodeToH2F(GCLocale* locale, GCUChar c); // half-width to full-width
ORB_API GCUChar GCUnicodeToF2H(GCLocale* locale, GCUChar c); // full-width to half-width
