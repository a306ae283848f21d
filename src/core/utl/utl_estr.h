// Extensible strings: growable text buffers, optionally under a maximum length
// at which appends are cut (the cut is remembered). A string can also hold a
// sequence of zero-ended pieces (appends with option 1).
//
// Threads: one caller at a time. The live list, the checking switch and the
// 41,000-byte formatting buffer are process-wide and unguarded; no lock.
#pragma once

#include "orb_api.h"

#include <cstdarg>

struct utl_ty_estr {
  long length;   // characters in use (the terminator not counted)
  long size;     // bytes of the text buffer
  long extend;   // minimum growth; -1: grow as much as needed
  const char* owner;
  char* text;    // always terminated at [length]
  long max;      // maximum length including the terminator; -1: none
  long flags;    // UTL_ESTR_CUT
  utl_ty_estr* next;  // live list
  utl_ty_estr* prev;
};

constexpr long UTL_ESTR_CUT = 1;         // an append was cut at the maximum
constexpr long UTL_ESTR_MAX_FORMAT = 40000;  // longest formatted text

// Substitution callback: name is the text between opener and closer; result
// points at a buffer of `size` bytes that the procedure may fill (NUL-ended)
// or repoint; set *replaced to use it. A non-zero result ends the
// substitution with that status.
using utl_ty_estr_subst_proc = long (*)(const char* name, char opener, char closer, void* arg,
                                        long* replaced, long size, char** result);

// With a text: length = its length, size = length + 1. Without: empty, of the
// given size. size < 1 or extend neither -1 nor >= 1 gives 17.
ORB_API long utl_estr_create(const char* owner, const char* text, long size, long extend,
                     utl_ty_estr** estr);
ORB_API long utl_estr_free(const char* owner, utl_ty_estr* estr);
ORB_API long utl_estr_reset(utl_ty_estr* estr);
// The text; "" when empty; null for an invalid handle.
ORB_API const char* utl_estr_get(utl_ty_estr* estr);
ORB_API long utl_estr_get_size(utl_ty_estr* estr, const char** text, long* length);
ORB_API long utl_estr_get_length(utl_ty_estr* estr, long* length);

ORB_API long utl_estr_append(utl_ty_estr* estr, const char* text);
// option non-zero keeps a terminator after the piece inside the length.
ORB_API long utl_estr_append_option(utl_ty_estr* estr, const char* text, long option);
// n raw bytes; no maximum applies.
ORB_API long utl_estr_append_binary(utl_ty_estr* estr, const void* bytes, long n);

// Formatted replace / append. A result over 40,000 characters is refused
// with utl 47 and the string is unchanged; a format with %n gives 17.
ORB_API long utl_estr_sprintf(utl_ty_estr* estr, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
ORB_API long utl_estr_aprintf(utl_ty_estr* estr, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
ORB_API long utl_estr_vsprintf(utl_ty_estr* estr, const char* format, va_list args);
ORB_API long utl_estr_vaprintf(utl_ty_estr* estr, const char* format, va_list args);
// Replaces the content with text, where "%%" stands for "%" (no conversions
// are made: any other '%' is copied as it is).
ORB_API long utl_estr_cpy(utl_ty_estr* estr, const char* text);

// maximum < 1: none.
ORB_API long utl_estr_set_max(utl_ty_estr* estr, long maximum);
ORB_API long utl_estr_get_max(utl_ty_estr* estr, long* maximum, char* cut);

// A new string (extend-by 50): prefix, the collection's strings joined by the
// separator, suffix (null parts are left out).
struct utl_ty_col;
ORB_API long utl_estr_from_strcol(utl_ty_col* col, const char* prefix, const char* separator,
                          const char* suffix, utl_ty_estr** estr);

// Appends text to estr with the parts between opener[i] and closer[i]
// replaced through the procedure.
ORB_API long utl_estr_substitute(const char* text, long n, const char* openers, const char* closers,
                         utl_ty_estr_subst_proc proc, void* arg, utl_ty_estr* estr);

// Overwrites n bytes at offset; 1 when offset + n passes the length.
ORB_API long utl_estr_write_at(utl_ty_estr* estr, long offset, const void* bytes, long n);
// option 0: length = n (1 when n is above the length); option non-zero:
// needs n + 1 <= length, then length = n with bytes n and n + 1 zero. The
// text is terminated at n.
ORB_API long utl_estr_truncate(utl_ty_estr* estr, long n, long option);

// With checking on (the default), utl 10 for a handle that is not a live
// string; null handles always give utl 10.
ORB_API long utl_estr_check(utl_ty_estr* estr);
ORB_API long utl_estr_set_checking(long flag);
ORB_API long utl_estr_get_checking();

ORB_API long utl_estr_verify(utl_ty_estr* estr);
ORB_API long utl_estr_verify_one(utl_ty_estr* estr);
ORB_API long utl_estr_dump(utl_ty_estr* estr);
ORB_API long utl_estr_dump_all();
ORB_API long utl_estr_init();
ORB_API long utl_estr_term();
