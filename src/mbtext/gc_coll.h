// Collation: reading the collation elements of multibyte text, placing
// their weights into the four weight levels, and comparing two strings in a
// locale's collation order.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstddef>
#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_sort.h"

// Collation flags (whole values; 0x4000 may be added to each).
inline constexpr uint32_t GC_COLL_ICASE = 0x80000040u;  // ignore case
inline constexpr uint32_t GC_COLL_IWIDTH = 0x80000041u; // ignore character width

// The four weight levels of one string, kept as the bytes of a sort key:
// level 1 two bytes a weight, levels 2 and 3 one byte, level 4 four bytes
// (position, special weight), all most significant byte first. Counts are
// in entries. Each level has an insertion point and an end.
struct GCSortLevels {
  uint8_t* l1;
  uint32_t ins1, end1;
  uint8_t* l2;
  uint32_t ins2, end2;
  uint8_t* l3;
  uint32_t ins3, end3;
  uint8_t* l4;
  uint32_t ins4, end4;
};

// Places one element's non-zero weights. A level whose order bit is set
// gets the weight at its end and the insertion point moves there; a clear
// bit inserts the weight at the insertion point, so a run of such weights
// comes out in reverse order. The entries after a level's insertion point
// are put in their final order by the next appended entry of that level or
// by gcSortLevelsFinish, which must be called before the lists are read.
ORB_API void GCStrInsertWeights(GCSortLevels* lv, uint16_t primary, uint8_t secondary, uint8_t tertiary,
                        uint16_t special, uint16_t position, uint8_t order);

// The same as an interface of separate values; *look is 0xFFFF when no
// character is held.
ORB_API int GCStrGetNextWeight(GCLocale* locale, const char** p, int32_t* remaining, uint32_t* position,
                       uint16_t* primary, uint8_t* secondary, uint8_t* tertiary, uint16_t* special,
                       uint16_t* primary2, uint8_t* secondary2, uint8_t* tertiary2, uint16_t* special2,
                       uint8_t* order, GCUChar* look);

// Compares len1 bytes of s1 with len2 bytes of s2 (-1: up to the NUL) in
// the locale's collation order. flags: 0, GC_COLL_ICASE, GC_COLL_IWIDTH,
// each optionally with 0x4000. Without a sort object this is GCStrcmp.
// Bad flags: status 2, result 0. When memory runs out the texts are
// compared by value and the status is 20. The status is not set otherwise.
ORB_API int GCStrcoll(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
              uint32_t flags);

