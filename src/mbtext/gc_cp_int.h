// Internal access to the sections of a code-page object.
#pragma once

#include <cstdint>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_mem_be.h"

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
