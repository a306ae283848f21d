// Internal access to the sections of a code-page object.
#pragma once

#include <cstdint>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_mem_be_int.h"

// The main table of cp; the built-in table when cp has no usable one, so
// the fixed part (GC_CP_MAIN_SIZE bytes) can always be read.
const uint8_t* gcCpMain(const GCObj* cp);

// Bytes of the first chars characters of s from a shift state. With
// lookAhead (NUL-terminated text) a run of shift codes right after the last
// character is included; without it (a caller's counted text) nothing past
// the last counted character is read.
int32_t gcCpCharsToBytes(const GCObj* cp, const char* s, int state, int32_t chars, bool lookAhead);
uint32_t gcCpMainSize(const GCObj* cp);

// Multibyte trie lookup of at most len bytes at p (negative: as many as the
// trie asks for, up to the NUL); U+FFFD when the trie rejects them. *used
// (when given) receives the bytes the character spans: len, or the bytes
// before the first byte that the trie rejects (at least 1).
GCUChar gcCpTrieLookup(const GCObj* cp, const uint8_t* p, int len, int* used = nullptr);

// Page-index lookup: true and the packed value (and whether it is a direct
// single byte) when the code page represents u.
bool gcCpPageLookup(const GCObj* cp, GCUChar u, GCPacked* value, bool* direct);

// True when a version-1 main table (and trie) can be upgraded; false when it
// is malformed.
bool gcCpV1WellFormed(const uint8_t* old_main, uint32_t old_size, const uint8_t* old_trie,
                      uint32_t old_trie_size);

// ---------------------------------------------------------------------------
// Main table layout (byte offsets; big-endian fields).
inline constexpr uint32_t GC_CPM_DEFCHAR = 0;    // default character byte
inline constexpr uint32_t GC_CPM_EOL = 1;        // four end-of-line codes
inline constexpr uint32_t GC_CPM_MAXLEN = 5;     // maximum character length
inline constexpr uint32_t GC_CPM_PAIRCOUNT = 6;  // width pair count (16)
inline constexpr uint32_t GC_CPM_SO = 8;         // shift-out code
inline constexpr uint32_t GC_CPM_SI = 9;         // shift-in code
inline constexpr uint32_t GC_CPM_LEADLEN = 10;   // 256 lead-byte lengths
inline constexpr uint32_t GC_CPM_UPPER = 266;    // 256 upper-case bytes
inline constexpr uint32_t GC_CPM_LOWER = 522;    // 256 lower-case bytes
inline constexpr uint32_t GC_CPM_TOUCS2 = 778;   // 256 x 16-bit UCS-2
inline constexpr uint32_t GC_CPM_CLASS = 1292;   // 256 x 32-bit class words
inline constexpr uint32_t GC_CPM_PAGES = 2316;   // 256 x 8-byte page records
inline constexpr uint32_t GC_CPM_FLAGS = 4364;   // code-page flags (16)
inline constexpr uint32_t GC_CPM_WINCP = 4366;   // Windows code-page number (16)
inline constexpr uint32_t GC_CPM_CHARSET2 = 4368; // second character set name (32 bytes)
inline constexpr uint32_t GC_CPM_OFF_FULLW = 4400;  // offset: 256 x 32-bit full-width values
inline constexpr uint32_t GC_CPM_OFF_PAIRS = 4402;  // offset: width pairs (2 x 32-bit)
inline constexpr uint32_t GC_CPM_OFF_CTRIE = 4404;  // offset: class trie nodes (4 bytes)
inline constexpr uint32_t GC_CPM_OFF_CREC = 4406;   // offset: class records (8 bytes)
inline constexpr uint32_t GC_CPM_OFF_VALUES = 4408; // offset of the value array in section 1
inline constexpr uint32_t GC_CP_MAIN_SIZE = 4412;   // fixed part

// Version-1 main table layout (upgraded on load).
inline constexpr uint32_t GC_CPM1_LEADLEN = 8;
inline constexpr uint32_t GC_CPM1_TOUCS2 = 776;
inline constexpr uint32_t GC_CPM1_CLASS = 1288;
inline constexpr uint32_t GC_CPM1_PAGES = 2312;
inline constexpr uint32_t GC_CPM1_FLAGS = 4360;
inline constexpr uint32_t GC_CPM1_OFFSETS = 4362; // four 16-bit offsets
inline constexpr uint32_t GC_CPM1_VALUES = 4370;  // value-array offset in the v1 trie
inline constexpr uint32_t GC_CP1_MAIN_SIZE = 4372;

// Code-page flags.
inline constexpr uint16_t GC_CPF_ASCII = 0x0001; // clear = EBCDIC-based
inline constexpr uint16_t GC_CPF_SHIFT = 0x0002; // shift-state code page

inline constexpr uint32_t GC_CP_NODE_SIZE = 6;   // multibyte trie node
inline constexpr uint32_t GC_CP_NODE1_SIZE = 4;  // version-1 trie node
inline constexpr uint32_t GC_CP_CNODE_SIZE = 4;  // class trie node
inline constexpr uint32_t GC_CP_CREC_SIZE = 8;   // class record

// ---------------------------------------------------------------------------
// Properties of a code page (cp must be a loaded code-page object).
bool gcCpIsUtf8(const GCObj* cp);       // id 106: converted by rule
bool gcCpIsEbcdic930(const GCObj* cp);  // id 930: its own EBCDIC digit table
uint8_t gcCpMaxLen(const GCObj* cp);
bool gcCpIsAsciiBased(const GCObj* cp);
bool gcCpIsShiftState(const GCObj* cp);
uint8_t gcCpShiftOut(const GCObj* cp);
uint8_t gcCpShiftIn(const GCObj* cp);
uint8_t gcCpDefaultChar(const GCObj* cp);
uint8_t gcCpEol(const GCObj* cp, int which); // which 0..3
uint16_t gcCpWindowsNumber(const GCObj* cp);
uint8_t gcCpLeadLen(const GCObj* cp, uint8_t byte);  // raw table entry
GCUChar gcCpByteToUcs2(const GCObj* cp, uint8_t byte);
uint32_t gcCpByteClass(const GCObj* cp, uint8_t byte);
uint8_t gcCpUpperByte(const GCObj* cp, uint8_t byte);
uint8_t gcCpLowerByte(const GCObj* cp, uint8_t byte);

// Length of the character at p that lies whole within the text: avail bytes
// (negative: the text ends at its NUL). UTF-8 lengths follow the encoding
// rules (an invalid byte is a character of length 1); a lead-byte entry of 0
// counts as 1. Returns 0 when the text ends (avail 0 or a NUL at p with a
// negative avail is still a one-byte character) or when the character is cut
// by the end of the text.
int gcCpCharLen(const GCObj* cp, const uint8_t* p, int32_t avail);

// One character to UCS-2: writes 1 unit (2 for a UTF-8 character beyond
// U+FFFF, as a surrogate pair) and stores the bytes consumed in *used.
// Invalid or cut input gives U+FFFD for at least one byte. 0 when avail is 0.
int gcCpToUcs2(const GCObj* cp, const uint8_t* p, int32_t avail, GCUChar out[2], int* used);

// UCS-2 to one character: writes 1-4 bytes and stores the units consumed
// (2 for a surrogate pair converted to UTF-8) in *used. A value that the code
// page cannot represent (a lone surrogate in UTF-8) gives the default
// character. 0 when avail is 0.
int gcCpFromUcs2(const GCObj* cp, const GCUChar* u, int32_t avail, uint8_t out[4], int* used);

// ---------------------------------------------------------------------------
// A code page's tables looked up once for a whole call: the main table (as
// gcCpMain gives it), the low and high blocks of the page records, and the
// properties that the per-character paths test. Valid while the code page
// stays loaded, as the object itself.
struct GCCpView {
  const uint8_t* main;
  const uint8_t* low;
  uint32_t lowSize;
  const uint8_t* high;
  uint32_t highSize;
  bool utf8;
  bool shift;
  uint8_t defChar;
};
void gcCpViewInit(GCCpView* v, const GCObj* cp);
inline GCUChar gcCpViewByte(const GCCpView* v, uint8_t b) { return gc_be16(v->main + GC_CPM_TOUCS2 + 2 * b); }
inline uint8_t gcCpViewLead(const GCCpView* v, uint8_t b) { return v->main[GC_CPM_LEADLEN + b]; }

// gcCpPageLookup on a view.
inline bool gcCpViewPage(const GCCpView* v, GCUChar u, GCPacked* value, bool* direct) {
  const uint8_t* rec = v->main + GC_CPM_PAGES + 8 * (u >> 8);
  uint8_t low = uint8_t(u & 0xFF);
  *direct = false;
  if (low < rec[2] || low > rec[3]) return false;
  uint32_t i = low & rec[1];
  uint32_t lo = gc_be16(rec + 4), hi = gc_be16(rec + 6);
  const uint8_t* L = v->low;
  const uint8_t* H = v->high;
  const uint32_t Ls = v->lowSize, Hs = v->highSize;
  uint8_t b8, h8;
  uint16_t w16, h16;
  switch (rec[0]) {
    case 0:
      if (!gc_rd8(L, Ls, lo + uint64_t(i), &b8)) return false;
      *value = b8;
      *direct = true;
      return true;
    case 1:
      if (!gc_rd16(L, Ls, lo + 2ull * i, &w16)) return false;
      *value = w16;
      return true;
    case 2:
      if (!gc_rd16(L, Ls, lo + 2ull * i, &w16) || !gc_rd8(H, Hs, hi + uint64_t(i), &h8)) return false;
      *value = uint32_t(w16) + (uint32_t(h8) << 16);
      return true;
    case 3:
      if (!gc_rd16(L, Ls, lo + 2ull * i, &w16) || !gc_rd16(H, Hs, hi + 2ull * i, &h16)) return false;
      *value = (uint32_t(h16) << 16) | w16;
      return true;
    case 4:
      if (!gc_rd8(L, Ls, lo + uint64_t(i), &b8) || !gc_rd8(H, Hs, hi + uint64_t(i), &h8)) return false;
      *value = uint32_t(b8) + (uint32_t(h8) << 8);
      return true;
    default:
      return false; // undefined record type: not representable
  }
}

// GCCpUnicodeToChar on a view: the 1-4 bytes of u (the default character
// when the code page has none; a surrogate in UTF-8 is none).
inline int gcCpViewToChar(const GCCpView* v, GCUChar u, uint8_t out[4]) {
  if (v->utf8) {
    if (u < 0x80) {
      out[0] = uint8_t(u);
      return 1;
    }
    if (u < 0x800) {
      out[0] = uint8_t(0xC0 | (u >> 6));
      out[1] = uint8_t(0x80 | (u & 0x3F));
      return 2;
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out[0] = v->defChar;
      return 1;
    }
    out[0] = uint8_t(0xE0 | (u >> 12));
    out[1] = uint8_t(0x80 | ((u >> 6) & 0x3F));
    out[2] = uint8_t(0x80 | (u & 0x3F));
    return 3;
  }
  GCPacked val;
  bool direct;
  if (!gcCpViewPage(v, u, &val, &direct)) {
    out[0] = v->defChar;
    return 1;
  }
  if (direct) {
    out[0] = uint8_t(val);
    return 1;
  }
  return GCWToMb(reinterpret_cast<char*>(out), val);
}

// Class word and case delta of an 8-byte class record.
uint32_t gcCtypeClass(const uint8_t* rec);
int32_t gcCtypeDelta(const uint8_t* rec);

// Offset of the last byte of the run of shift codes at p (0 when p is not at
// one); the run ends at the end of the text (avail bytes, negative = NUL).
int32_t gcCpShiftRunEnd(const uint8_t* p, int32_t avail, uint8_t c1, uint8_t c2);
