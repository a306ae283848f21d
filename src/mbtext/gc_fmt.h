// Formatted output under a locale: printf-style formats written in the
// locale's code page (ASCII- or EBCDIC-based), multibyte characters passed
// through whole, positional arguments ('%2$s'), the locale's decimal
// separator in floating-point output and the ',' flag that re-formats a
// number with the locale's grouping.
//
// '%n' is accepted and consumes its pointer argument but writes nothing.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default); floating-point text is made
// in a per-thread C locale (uselocale), never by switching the process's.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Flags of GCVsprintf.
inline constexpr uint32_t GC_FMT_ITEMFLAG = 0x1;      // handed to the number formatters
inline constexpr uint32_t GC_FMT_NUMFLAG = 0x10000;   // accepted; the number formatters take none of it
// (GC_FL_NUL 0x8 and GC_FL_CHARS 0x4000 as everywhere.)

// Largest precision of a conversion; a larger one is refused (status 2).
inline constexpr int GC_FMT_MAXPREC = 500;

// Kinds of arguments.
enum GCArgKind : uint32_t {
  GC_ARG_INT = 0,
  GC_ARG_PTR = 1,
  GC_ARG_LONG = 2,
  GC_ARG_SHORT = 3,
  GC_ARG_WCHAR = 4,
  GC_ARG_DOUBLE = 5,
  GC_ARG_LDOUBLE = 6,
  GC_ARG_LLONG = 7,
  GC_ARG_WSTR = 8
};

// Per consumer: the position of the argument it reads; per position: its kind.
struct GCArgRecord {
  uint32_t position;
  uint32_t kind;
};

// One argument taken from the list.
union GCArgValue {
  int i;
  unsigned u;
  long l;
  long long ll;
  const void* p;
  double d;
  long double ld;
};

// Output sink: next byte and the bytes still allowed.
struct GCSink {
  char* next;
  int32_t left;
};

// Formats the argument list into buffer (length bytes; negative = unbounded).
// Result: bytes written (with GC_FL_NUL including the NUL; with GC_FL_CHARS
// counted in characters). Failures: -1 with status 2 (flags), 40 (null
// buffer, no memory), 51 (empty or malformed positional format); 0 with
// status 51 for positions that do not match; 0 with status 40 for a length
// of 0 with GC_FL_NUL. When the output does not fit: status 40 and the bytes
// of the whole characters that fit. A precision above GC_FMT_MAXPREC: status
// 2 and the bytes written before that conversion.
ORB_API int GCVsprintf(GCLocale* locale, char* buffer, int32_t length, const char* format, int32_t fmtlen, uint32_t flags,
               va_list args);

// The engine behind GCVsprintf: walks the format and writes the conversions
// of the collected arguments into the sink. Returns the bytes written, or -1
// once the sink is full or a conversion was refused (status 51 for a
// multibyte character directly after '%', 2 for a precision above
// GC_FMT_MAXPREC, stored in the locale).
ORB_API int GCOutput(GCLocale* locale, GCSink* sink, const char* format, int ascii, const GCArgValue* values,
             const GCArgRecord* records, uint32_t flags);

// Format scanners (ascii: the format is ASCII-based, else EBCDIC).
// 1 positional, 0 not, -1 malformed.
ORB_API int GCIsNumArgValid(GCLocale* locale, const char* format, int ascii);
// Number of argument consumers: conversions and '*' widths and precisions.
ORB_API int GCGetArgCount(GCLocale* locale, const char* format, int ascii);
// Positions of a positional format's consumers; the count, or -1.
ORB_API int GCFillNumArgValues(GCLocale* locale, const char* format, GCArgRecord* records, int consumers, int ascii);
// Kinds of the positions; the count of consumers.
ORB_API int GCFillArgSize(GCLocale* locale, const char* format, GCArgRecord* records, int ascii);

// Sink writers; the count becomes -1 once a byte does not fit.
ORB_API int GCmputc(int byte, GCSink* sink);
ORB_API void GCWrite_char(int byte, GCSink* sink, int* count);
ORB_API void GCWrite_multiple_char(int byte, int n, GCSink* sink, int* count);
// Writes whole characters only: a character that does not fit sets the count
// to -1; one cut by the end of the text is not written.
ORB_API void GCWrite_string(GCLocale* locale, const char* text, int length, GCSink* sink, int* count);
