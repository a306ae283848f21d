// OS layer: diagnostic messages and the wildcard matcher.
//
// Messages go to the message stream (osl_file_set_stdout; standard output
// when none is set) and are printed only while the message mode is on
// (the default). Every message is flushed at once.
//
// Threads: the message mode and stream are process-wide and unguarded, so
// messages are printed by one thread at a time; the matchers keep no state and
// are safe from several threads. No lock.
#pragma once

#include "orb_api.h"

#include <cstdarg>
#include <cstdio>

#include "core/osl/osl_file.h"

// printf-style message; returns 0 (also when the mode is off).
ORB_API long osl_print_mes(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
ORB_API long osl_print_vmes(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));

// As osl_print_mes, first writing indent blanks when indent > 0.
ORB_API long osl_print_mes_i(long indent, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
ORB_API long osl_print_vmes_i(long indent, const char* fmt, va_list args)
    __attribute__((format(printf, 2, 0)));

// Message mode: 0 silences osl_print_mes and osl_print_mes_i; non-zero prints.
ORB_API void osl_print_set_msg_mode(long mode);
ORB_API long osl_print_get_msg_mode();

// Whole-text wildcard match: 1 when text matches pattern, else 0.
// '*' any run of characters (also none), '?' any one character,
// '/' takes the next pattern character literally. case_sensitive 0 compares
// after tolower of both sides.
ORB_API long osl_print_match(const char* text, const char* pattern, long case_sensitive);
// As osl_print_match, but '/' is an ordinary character up to the first '*';
// the rest of the pattern after that '*' is matched with '/' as escape.
ORB_API long osl_print_match2(const char* text, const char* pattern, long case_sensitive);
