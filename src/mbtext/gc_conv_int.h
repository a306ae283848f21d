// Character-at-a-time reading and writing shared by the string conversions.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"

// Reader of code-page text: one character at a time to UCS-2, following the
// shift codes of a shift-state code page (which give no characters).
struct GCConvReader {
  const GCObj* cp;
  const uint8_t* s;
  int32_t len;  // bytes of the text
  int32_t pos;  // next byte to read
  bool single;  // one byte per character
  bool shift;   // shift-state code page
  bool dbcs;    // double-byte mode is open
  bool partial; // a rejected multibyte sequence consumes only the bytes before the rejection
  bool stopNul; // a NUL byte ends the text
};

void gcConvReaderInit(GCConvReader* r, const GCObj* cp, bool single, const char* s, int32_t len);
// Next character: 1 or 2 units (a UTF-8 character beyond U+FFFF gives a
// surrogate pair) and the position after it in *next (the reader is not
// moved; assign r->pos = *next to accept it). 0 at the end of the text or
// before a character cut by it. *dbcs receives the shift state after it.
int gcConvRead(const GCConvReader* r, GCUChar out[2], int32_t* next, bool* dbcs);

// Writer state of a target code page.
struct GCConvWriter {
  const GCObj* cp;
  bool shift; // shift-state code page: shift codes are written as needed
  bool dbcs;  // double-byte mode is open
};

void gcConvWriterInit(GCConvWriter* w, const GCObj* cp, bool dbcs);
// Bytes of the next character of the n units at u (a surrogate pair makes one
// character in UTF-8), with a shift code before them when the mode changes,
// into out (room for 8); *used receives the units taken, *dbcs the mode
// after them.
int gcConvEncode(const GCConvWriter* w, const GCUChar* u, int n, uint8_t out[8], int* used,
                 bool* dbcs);

// Largest number of bytes one character of the code page can take.
int gcConvMaxBytes(const GCObj* cp);
// Bytes that chars characters of the code page can take at most (capped at
// INT32_MAX): the byte room of an output counted in characters.
int32_t gcConvByteBound(const GCObj* cp, int32_t chars);
