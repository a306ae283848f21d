// Collation: reading the collation elements of multibyte text, placing
// their weights into the four weight levels, and comparing two strings in a
// locale's collation order.
#pragma once

#include <cstddef>
#include <cstdint>

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

// Points the levels at room for n characters (two elements each) starting
// at base: level 1 4n bytes, a gap byte, level 2 2n bytes, a gap byte,
// level 3 2n bytes, a gap byte, level 4 8n bytes; 16n + 3 bytes in all.
void gcSortLevelsInit(GCSortLevels* lv, uint8_t* base, uint32_t n);
inline uint64_t gcSortLevelsSize(uint64_t n) { return 16 * n + 3; }

// Places one element's non-zero weights. A level whose order bit is set
// gets the weight at its end and the insertion point moves there; a clear
// bit inserts the weight at the insertion point, so a run of such weights
// comes out in reverse order. The entries after a level's insertion point
// are put in their final order by the next appended entry of that level or
// by gcSortLevelsFinish, which must be called before the lists are read.
void GCStrInsertWeights(GCSortLevels* lv, uint16_t primary, uint8_t secondary, uint8_t tertiary,
                        uint16_t special, uint16_t position, uint8_t order);
void gcSortLevelsFinish(GCSortLevels* lv);

// Position of a weight: the 1-based character index, held at 0xFFFF for
// characters beyond that (positions never wrap).
inline uint16_t gcSortPosition(uint64_t index) { return index > 0xFFFF ? 0xFFFF : uint16_t(index); }

// Reading collation elements of multibyte text.
struct GCCollReader {
  const GCLocale* loc;
  const uint8_t* p;
  int32_t remaining; // bytes left, plus 1 while a read-ahead character is held
  uint32_t position; // characters read
  bool held;
  GCUChar look;
};

// UCS-2 value of the character at p within avail bytes and its byte length
// in *len; *len 0 when the text ends or the character is cut. A character
// without a UCS-2 value (beyond U+FFFF) reads as U+FFFD.
GCUChar gcCollChar(const GCLocale* loc, const uint8_t* p, int32_t avail, int* len);

// The next element: 0 (text ended, or a character without weights), 1 (e1)
// or 2 (an expansion: e1, then e2).
int gcCollNext(GCCollReader* r, GCSortElem* e1, GCSortElem* e2, uint8_t* order);

// The same as an interface of separate values; *look is 0xFFFF when no
// character is held.
int GCStrGetNextWeight(GCLocale* locale, const char** p, int32_t* remaining, uint32_t* position,
                       uint16_t* primary, uint8_t* secondary, uint8_t* tertiary, uint16_t* special,
                       uint16_t* primary2, uint8_t* secondary2, uint8_t* tertiary2, uint16_t* special2,
                       uint8_t* order, GCUChar* look);

// Compares len1 bytes of s1 with len2 bytes of s2 (-1: up to the NUL) in
// the locale's collation order. flags: 0, GC_COLL_ICASE, GC_COLL_IWIDTH,
// each optionally with 0x4000. Without a sort object this is GCStrcmp.
// Bad flags: status 2, result 0. When memory runs out the texts are
// compared by value and the status is 20. The status is not set otherwise.
int GCStrcoll(GCLocale* locale, const char* s1, int32_t len1, const char* s2, int32_t len2,
              uint32_t flags);

// Bytewise comparison of two byte strings; a proper prefix comes first.
// Result -1, 0 or 1.
int gcSortBytesCompare(const uint8_t* a, size_t la, const uint8_t* b, size_t lb);

// Compares two weight levels (finishing them first) as their sort keys compare (trailing
// default secondary and tertiary weights dropped; positions left out of
// level 4 when levels 1 to 3 of both are empty).
int gcSortLevelsCompare(const GCObj* sort, GCSortLevels* a, GCSortLevels* b);
