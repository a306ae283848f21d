// Character-at-a-time reading and writing shared by the string conversions.
#pragma once

#include <cstdint>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale.h"

// Reader of code-page text: one character at a time to UCS-2, following the
// shift codes of a shift-state code page (which give no characters).
struct GCConvReader {
  const GCObj* cp;
  GCCpView view; // the code page's tables, looked up once
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

// gcConvRead with the one-byte characters (every byte of a single-byte
// reader, ASCII in UTF-8, bytes whose lead length is 1 otherwise) done
// in line.
inline int gcConvReadFast(const GCConvReader* r, GCUChar out[2], int32_t* next, bool* dbcs) {
  if (!r->shift && r->pos < r->len) {
    const uint8_t b = r->s[r->pos];
    if (!(b == 0 && r->stopNul)) {
      if (r->single || (r->view.utf8 ? b < 0x80 : gcCpViewLead(&r->view, b) <= 1)) {
        out[0] = (r->view.utf8 && !r->single) ? GCUChar(b) : gcCpViewByte(&r->view, b);
        *next = r->pos + 1;
        *dbcs = r->dbcs;
        return 1;
      }
    }
  }
  return gcConvRead(r, out, next, dbcs);
}

// Reads characters into out while they fit in room units, as a loop of
// gcConvRead would (accepting each character), with the one-byte cases in
// tight loops. Stops at the end of the text, before a character cut by it,
// at a NUL when the reader stops there, and before a character whose units
// do not fit. r->pos and r->dbcs follow. Result: units written.
int32_t gcConvReadRun(GCConvReader* r, GCUChar* out, int32_t room);

// Writer state of a target code page.
struct GCConvWriter {
  const GCObj* cp;
  GCCpView view;
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

// gcConvEncode with a character of a page without shift codes done in line
// (all but the surrogates of UTF-8).
inline int gcConvEncodeFast(const GCConvWriter* w, const GCUChar* u, int n, uint8_t out[8], int* used,
                            bool* dbcs) {
  if (!w->shift && n > 0 && !(w->view.utf8 && u[0] >= 0xD800 && u[0] <= 0xDFFF)) {
    *used = 1;
    *dbcs = w->dbcs;
    return gcCpViewToChar(&w->view, u[0], out);
  }
  return gcConvEncode(w, u, n, out, used, dbcs);
}

// The units at u (up to length units or the first 0 unit) as a loop of
// gcConvEncode would write them, into out (room for 4 bytes a unit plus
// shift codes); w->dbcs follows. Result: bytes written.
int32_t gcConvWriteRun(GCConvWriter* w, const GCUChar* u, int32_t length, uint8_t* out);

// Largest number of bytes one character of the code page can take.
int gcConvMaxBytes(const GCObj* cp);
// Bytes that chars characters of the code page can take at most (capped at
// INT32_MAX): the byte room of an output counted in characters.
int32_t gcConvByteBound(const GCObj* cp, int32_t chars);
