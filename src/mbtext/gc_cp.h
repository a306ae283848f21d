// Code pages: multibyte text <-> UCS-2 conversion, character classes, case
// and width conversion inside a code page, length conversions, and the
// upgrade of old main tables.
//
// A code page is an object of class GC_CLASS_CODEPAGE (gc_locale.h) whose
// sections are: 0 main table, 1 multibyte trie and UCS-2 value array,
// 2 low-part block, 3 high-part block. Every table read is bounds-checked
// against the section sizes; the object manager has validated them on load.
//
// Threads: safe from several threads: code-page tables are read-only once
// loaded, and GCCpV1toV2 allocates only through the library callbacks.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// ---------------------------------------------------------------------------
// Per-character and table functions.
ORB_API GCUChar GCCpMbToUnicode(const GCObj* cp, const char* mb);
ORB_API GCUChar GCCpMbToUnicodeW(const GCObj* cp, GCPacked value);
ORB_API int GCCpUnicodeToChar(const GCObj* cp, GCUChar u, char* out); // out: room for 4 bytes
ORB_API GCPacked GCCpUnicodeToCharW(const GCObj* cp, GCUChar u);
ORB_API GCPacked GCMbToW(const GCObj* cp, const char* p);
ORB_API GCPacked GCMbToWS(const GCObj* cp, const char* p, int whole);
ORB_API int GCWToMb(char* out, GCPacked value);
ORB_API const uint8_t* GCGetMbCtype(const GCObj* cp, const char* p);
ORB_API const uint8_t* GCGetMbCtypeW(const GCObj* cp, GCPacked value);
ORB_API int GCCpMbCaseConv(const GCObj* cp, const char* src, char* out, uint32_t mask);
ORB_API GCPacked GCCpMbCaseConvW(const GCObj* cp, GCPacked value, uint32_t mask);
ORB_API int GCCpMbCaseConvS(const GCObj* cp, const char* src, char* out, uint32_t mask);
ORB_API GCPacked GCCpMbHalfToFullW(const GCObj* cp, GCPacked half);
ORB_API GCPacked GCCpFullToHalfW(const GCObj* cp, GCPacked full);

// Lengths; both stop at the end of the text (a NUL, or the byte count).
ORB_API int32_t GCCpStrCharToByteLen(const GCObj* cp, const char* s, int state, int32_t chars);
ORB_API int32_t GCCpStrByteToCharLen(const GCObj* cp, const char* s, int state, int32_t bytes);

// Upgrade of a version-1 main table (and its trie section, may be null).
// Returns the new main table (allocated through the library callback) and
// its size, and the new trie section (or null) with its size; null when an
// allocation fails or the old table is malformed (nothing stays allocated).
ORB_API uint8_t* GCCpV1toV2(const uint8_t* old_main, uint32_t old_size, const uint8_t* old_trie,
                    uint32_t old_trie_size, uint8_t** new_trie, uint32_t* new_main_size,
                    uint32_t* new_trie_size);

// Locale level: byte length of the character at p (null locale = default).
ORB_API int32_t GCByteLength(GCLocale* locale, const char* p, uint32_t flags);

