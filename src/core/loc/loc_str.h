// Message lists: one slot per subsystem number holding the list's id range,
// name, argument descriptors and the cache of its texts. A text is found in
// the cache, else through the database source once installed, else in the
// texts compiled into the library (cmn_list.h).
//
// These functions return 0 or -1 and report through the OS message printer.
// The module sits below the alert layer: it reaches the subsystem table and
// the compiled-in texts only through the procedures installed here (the cmn
// module installs cmn_subs_get and cmn_list_res_str at start-up).
//
// Texts from the database are checked against their argument descriptors
// before they are used as formats (see loc_str_get_str).
//
// Threads: none of these calls is safe from several threads; the slot table,
// the caches and the formatting buffer are process-wide and unguarded (one
// caller at a time, as the alert layer above).
#pragma once

#include "orb_api.h"

#include <cstdarg>
#include <cstdio>

struct loc_ty_slist {
  long first_id;        // -1: no list installed
  long last_id;         // -1
  char name[65];        // at most 64 characters
  long count;           // texts loaded
  const char** texts;   // the cache, null when nothing is loaded
  long num_args;        // number of argument descriptors
  const signed char* args;  // two bytes per message: argument count, class
};

// Looks a subsystem up by name (cmn_subs_get has this shape).
using loc_ty_subs_proc = long (*)(const char* name, long* number, long* first_id, long* range);
// Database source of texts: fills texts[0 .. last-first] for the ids first..last
// (entries it lacks stay null) and sets count; 0 on success.
using loc_ty_qry_string_cb = long (*)(long con_id, long first_id, long last_id, long* count,
                                      const char** texts);

// Source of the texts compiled into the library: the table of the list
// first_id..last_id and its count; non-zero when there is none
// (cmn_list_res_str has this shape).
using loc_ty_res_proc = long (*)(long first_id, long last_id, long* count,
                                 const char* const** texts);

constexpr long LOC_STR_BUF_SIZE = 1025;

// An argument table for N messages whose argument counts are not known (-1:
// their texts are taken as they come) and whose class bytes are all `cls`.
template <long N>
struct loc_ty_arg_table {
  signed char bytes[2 * N];
  explicit constexpr loc_ty_arg_table(signed char cls) : bytes{} {
    for (long i = 0; i < N; ++i) {
      bytes[2 * i] = -1;
      bytes[2 * i + 1] = cls;
    }
  }
};

ORB_API long loc_str_init();
ORB_API long loc_str_term();
ORB_API long loc_str_install_subs(long num_slots, loc_ty_subs_proc proc);
ORB_API loc_ty_subs_proc loc_str_get_subs_proc();
// Installs the source of compiled-in texts (null: none). 0.
ORB_API long loc_str_install_res_proc(loc_ty_res_proc proc);
// Registers the list of subsystem `number` (1..slot count).
ORB_API long loc_str_init_list(const char* name, long number, long first_id, long last_id,
                       long num_args, const signed char* args);
// con_id points at the current connection id, read at each call.
ORB_API long loc_str_install_qry_string_cb(loc_ty_qry_string_cb cb, const long* con_id);
// The text of entry index of list `number`, with its descriptor (argument
// count, class). A text from the database that reads more arguments than its
// descriptor gives, or one argument as two types, is not used: the
// compiled-in text stands in (an empty text when there is none) and a
// message is printed.
ORB_API long loc_str_get_str(long number, long index, const char** text, long* nargs, long* cls);
// Looks the text up and formats it with the arguments (positional markers
// honoured) into buffer: at most size-1 bytes and a NUL.
ORB_API long loc_str_format_str(long number, long index, long size, char* buffer, ...);
ORB_API long loc_str_vformat_str(long number, long index, long size, char* buffer, va_list args);
ORB_API long loc_str_format_str_byresid(long message_id, long size, char* buffer, ...);
ORB_API long loc_str_vformat_str_byresid(long message_id, long size, char* buffer, va_list args);
ORB_API long loc_str_get_subs(const char* name, long* found, long* first_id, long* last_id, long* count,
                      const char*** texts);
ORB_API long loc_str_assert_static_strings(long flag);
ORB_API long loc_str_reset_subs();
ORB_API long loc_str_dump(FILE* stream, long indent, const char* title);
// The slot of a subsystem number, or null (for inspection).
ORB_API const loc_ty_slist* loc_str_slot(long number);
