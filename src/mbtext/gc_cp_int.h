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

// Class word and case delta of an 8-byte class record.
uint32_t gcCtypeClass(const uint8_t* rec);
int32_t gcCtypeDelta(const uint8_t* rec);

// Offset of the last byte of the run of shift codes at p (0 when p is not at
// one); the run ends at the end of the text (avail bytes, negative = NUL).
int32_t gcCpShiftRunEnd(const uint8_t* p, int32_t avail, uint8_t c1, uint8_t c2);
