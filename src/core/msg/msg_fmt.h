// Message texts with positional argument markers: the one formatter of the
// message and alert layers. A leaf module: it calls only the C library, so
// every layer (the message lists of loc, the alerts of cmn) may use it.
//
// A marker ":1" to ":5" placed right after a conversion names the argument
// that conversion takes; arguments are real typed arguments (va_list), each
// fetched as the type of the conversion that consumes it. %n is never
// honoured; output is bounded.
//
// Threads: safe from several threads: no shared state (each call works
// on its own stack and the caller's buffer).
#pragma once

#include <cstdarg>

#include "orb_api.h"

// Removes the markers, routes the arguments and formats into out (size
// bytes, NUL-ended when size > 0). A null text formats as an empty text. 0.
ORB_API long msg_fmt_format(char* out, long size, const char* text, ...);
ORB_API long msg_fmt_vformat(char* out, long size, const char* text, va_list args);
// Arguments a text can route: 1 to 5.
constexpr long MSG_FMT_SLOTS = 5;

// What formatting the text would read: *count the highest argument number
// any conversion consumes (0 when none); *conflict 1 when some argument is
// consumed as two different types (such conversions are printed as they
// stand, never fed); kinds (room for MSG_FMT_SLOTS + 1) receives one letter
// per argument 1..count, NUL-ended: 'i' int, 'l' long, 'L' long long, 'z'
// size_t, 'j' intmax_t, 't' ptrdiff_t, 'd' double, 'D' long double,
// 's' string, 'w' wide string, 'p' pointer, '-' not consumed. Any output may
// be null. 0.
ORB_API long msg_fmt_args(const char* text, long* count, long* conflict, char* kinds);
