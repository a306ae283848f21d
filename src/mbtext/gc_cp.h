// Code pages: multibyte text <-> UCS-2 conversion, character classes, case
// and width conversion inside a code page, length conversions, and the
// upgrade of old main tables.
//
// A code page is an object of class GC_CLASS_CODEPAGE (gc_locale.h) whose
// sections are: 0 main table, 1 multibyte trie and UCS-2 value array,
// 2 low-part block, 3 high-part block. Every table read is bounds-checked
// against the section sizes; the object manager has validated them on load.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"

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

// ---------------------------------------------------------------------------
// Per-character and table functions.
GCUChar GCCpMbToUnicode(const GCObj* cp, const char* mb);
GCUChar GCCpMbToUnicodeW(const GCObj* cp, GCPacked value);
int GCCpUnicodeToChar(const GCObj* cp, GCUChar u, char* out); // out: room for 4 bytes
GCPacked GCCpUnicodeToCharW(const GCObj* cp, GCUChar u);
GCPacked GCMbToW(const GCObj* cp, const char* p);
GCPacked GCMbToWS(const GCObj* cp, const char* p, int whole);
int GCWToMb(char* out, GCPacked value);
const uint8_t* GCGetMbCtype(const GCObj* cp, const char* p);
const uint8_t* GCGetMbCtypeW(const GCObj* cp, GCPacked value);
int GCCpMbCaseConv(const GCObj* cp, const char* src, char* out, uint32_t mask);
GCPacked GCCpMbCaseConvW(const GCObj* cp, GCPacked value, uint32_t mask);
int GCCpMbCaseConvS(const GCObj* cp, const char* src, char* out, uint32_t mask);
GCPacked GCCpMbHalfToFullW(const GCObj* cp, GCPacked half);
GCPacked GCCpFullToHalfW(const GCObj* cp, GCPacked full);

// Lengths; both stop at the end of the text (a NUL, or the byte count).
int32_t GCCpStrCharToByteLen(const GCObj* cp, const char* s, int state, int32_t chars);
int32_t GCCpStrByteToCharLen(const GCObj* cp, const char* s, int state, int32_t bytes);

// Upgrade of a version-1 main table (and its trie section, may be null).
// Returns the new main table (allocated through the library callback) and
// its size, and the new trie section (or null) with its size; null when an
// allocation fails or the old table is malformed (nothing stays allocated).
uint8_t* GCCpV1toV2(const uint8_t* old_main, uint32_t old_size, const uint8_t* old_trie,
                    uint32_t old_trie_size, uint8_t** new_trie, uint32_t* new_main_size,
                    uint32_t* new_trie_size);

// Locale level: byte length of the character at p (null locale = default).
int32_t GCByteLength(GCLocale* locale, const char* p, uint32_t flags);

// Offset of the last byte of the run of shift codes at p (0 when p is not at
// one); the run ends at the end of the text (avail bytes, negative = NUL).
int32_t gcCpShiftRunEnd(const uint8_t* p, int32_t avail, uint8_t c1, uint8_t c2);
