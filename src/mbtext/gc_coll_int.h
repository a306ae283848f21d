// Internals of collation: the weight levels of one string, reading
// collation elements and comparing levels.
#pragma once

#include <cstdint>

#include "mbtext/gc_coll.h"
#include "mbtext/gc_sort.h"
#include "mbtext/gc_sort_int.h"

// Points the levels at room for n characters (two elements each) starting
// at base: level 1 4n bytes, a gap byte, level 2 2n bytes, a gap byte,
// level 3 2n bytes, a gap byte, level 4 8n bytes; 16n + 3 bytes in all.
void gcSortLevelsInit(GCSortLevels* lv, uint8_t* base, uint32_t n);
inline uint64_t gcSortLevelsSize(uint64_t n) { return 16 * n + 3; }

void gcSortLevelsFinish(GCSortLevels* lv);

// Position of a weight: the 1-based character index, held at 0xFFFF for
// characters beyond that (positions never wrap).
inline uint16_t gcSortPosition(uint64_t index) { return index > 0xFFFF ? 0xFFFF : uint16_t(index); }

// The weights of U+0000-U+00FF as the sort object gives them, looked up
// once each for one call (kept by the caller, shared by both texts of a
// comparison).
struct GCCollMemo {
  struct Weights { // a GCSortElem without initialisers, so that the table costs nothing to make
    uint16_t primary, special;
    uint8_t secondary, tertiary;
  };
  struct Entry {
    int8_t result; // gcSortWeights' result
    uint8_t order;
    Weights e1, e2;
  };
  bool known[256] = {};
  Entry entry[256];
  int32_t combinations = -1;         // the sort's combination count, once read
  const uint8_t* toUcs2 = nullptr;   // the single-byte page's UCS-2 table, once looked up
};

// Reading collation elements of multibyte text.
struct GCCollReader {
  const GCLocale* loc;
  const uint8_t* p;
  int32_t remaining; // bytes left, plus 1 while a read-ahead character is held
  uint32_t position; // characters read
  bool held;
  GCUChar look;
  GCCollMemo* memo = nullptr; // when given: element results of 0 leave e1, e2 and order unset
  const GCSortBytes* bytes = nullptr; // the sort's own weights of U+0000-U+00FF, when it has them
  const uint8_t* toUcs2 = nullptr;    // a single-byte page's UCS-2 table, once looked up
};

// UCS-2 value of the character at p within avail bytes and its byte length
// in *len; *len 0 when the text ends or the character is cut. A character
// without a UCS-2 value (beyond U+FFFF) reads as U+FFFD.
GCUChar gcCollChar(const GCLocale* loc, const uint8_t* p, int32_t avail, int* len);

// The next element: 0 (text ended, or a character without weights), 1 (e1)
// or 2 (an expansion: e1, then e2).
int gcCollNext(GCCollReader* r, GCSortElem* e1, GCSortElem* e2, uint8_t* order);

// Bytewise comparison of two byte strings; a proper prefix comes first.
// Result -1, 0 or 1.
int gcSortBytesCompare(const uint8_t* a, size_t la, const uint8_t* b, size_t lb);

// Compares two weight levels (finishing them first) as their sort keys compare (trailing
// default secondary and tertiary weights dropped; positions left out of
// level 4 when levels 1 to 3 of both are empty).
int gcSortLevelsCompare(const GCObj* sort, GCSortLevels* a, GCSortLevels* b);
