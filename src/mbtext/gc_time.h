// Time to text: the library's strftime over a broken-down time, with the
// locale's day and month names, AM/PM designators and date and time formats,
// written in the locale's code page (ASCII- or EBCDIC-based).
//
// Differences from C kept for stored formats and callers: '%j' counts from
// 000; '%#' writes numbers without leading zeros and the long date format for
// 'c' and 'x'; 'z' and 'Z' write nothing. A date or time format of the locale
// that names itself (directly or through another one) is refused with
// status 51. Years below 0 are written with a minus sign and years above 9999
// with all their digits.
//
// Threads: safe from several threads; the only shared state a call writes is
// the last-status word of the locale it is given (a null locale is the
// calling thread's own default).
#pragma once

#include <cstdint>
#include <ctime>

#include "orb_api.h"
#include "mbtext/gc_types.h"

// Flags: 0x1 (item flag), 0x8 (NUL written and counted), 0x100/0x200/0x400/
// 0x800 (line end of '%n'), 0x4000 (lengths and result in characters).
// Result: bytes (or characters) written; -1 with status 2 (flags, negative
// length), 51 (unknown directive, refused modifier, '%' at the end, a format
// that expands itself) or 37 (a field out of range); 0 with status 40 for a
// buffer length of 0; status 40 when the output was cut.
ORB_API int GCTimeToString(GCLocale* locale, const struct tm* time, char* buffer, int32_t length, const char* format,
                   int32_t fmtlen, uint32_t flags);

// Expands the directive whose '%' is at format[*fpos] into out at *pos
// (outlen bytes), advancing both. Returns a status: 0, 37, 40 or 51.
ORB_API uint32_t GCStrExpandTime(GCLocale* locale, const struct tm* time, char* out, int32_t* pos, int32_t outlen,
                         const char* format, int32_t* fpos, int32_t fmtlen, uint32_t itemflag, int ascii,
                         uint32_t flags);

// Appends the text of a locale item (whole characters); 0, or 40 when cut.
ORB_API uint32_t GCStrWriteWord(GCLocale* locale, char* out, int32_t* pos, int32_t outlen, int item, uint32_t itemflag);

// Appends a number: exactly width digits (higher digits dropped), or with
// suppress at most width digits without leading zeros. 0, or 40 when cut.
ORB_API uint32_t GCStrWriteNumber(char* out, int32_t* pos, int32_t outlen, uint32_t value, int width, int ascii,
                          int suppress);
