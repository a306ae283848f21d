// Alert codes and alert stacks: the error convention of every procedural
// layer. A failing function pushes an alert (code and formatted message) on
// the current stack and returns the code; 0 means success.
//
// Alert code: bits 20..29 hold the subsystem number (see cmn_subs.h), the low
// 20 bits the index of the message in that subsystem's message list.
//
// A null stack argument always means the current stack. Message texts may
// reorder their arguments with the positional markers ":1" to ":5" placed
// right after a conversion; arguments are real typed arguments (va_list).
//
// Threads: not safe from several threads. The chain of stacks, the current
// stack, the suspend and push-in-progress flags and the shared 2049-byte text
// buffer are process-wide and no lock guards them; one thread at a time (the
// cmn_alrt_code helpers are pure and safe anywhere).
#pragma once

#include "orb_api.h"

#include <cstdarg>
#include <cstdio>

struct cmn_ty_alert {
  long code;
  const char* text;  // formatted message, NUL-ended, owned by the stack
};

// Opaque: created with cmn_alrt_new, released with cmn_alrt_free.
struct cmn_ty_alert_stack;

// Codes of the cmn list used by this module.
constexpr long CMN_ALRT_NO_MEMORY = 0x100003;      // byte count, owner text
constexpr long CMN_ALRT_BAD_SUBSYSTEM = 0x100007;  // subsystem number, code
constexpr long CMN_ALRT_CANNOT_FORMAT = 0x100008;  // code
constexpr long CMN_ALRT_BAD_STACK = 0x100009;      // stack handle
constexpr long CMN_ALRT_UNEXPECTED = 0x100018;     // no arguments

// Size of the shared buffer that receives each formatted text (with NUL).
constexpr long CMN_ALRT_BUF_SIZE = 2049;

constexpr long cmn_alrt_code(long subsystem, long index) { return (subsystem << 20) | index; }
constexpr long cmn_alrt_code_subs(long code) { return (code & 0x3FF00000L) >> 20; }
constexpr long cmn_alrt_code_index(long code) { return code & 0xFFFFFL; }

// Start-up: registers type 527 and makes a current stack of 20 entries.
ORB_API long cmn_alrt_init();
ORB_API long cmn_alrt_term();  // nothing to do; 0

// Stacks and the chain of live stacks.
ORB_API long cmn_alrt_new(long capacity, cmn_ty_alert_stack** stack);
ORB_API long cmn_alrt_free(const char* proc, cmn_ty_alert_stack* stack);
ORB_API long cmn_alrt_copy(cmn_ty_alert_stack* stack, cmn_ty_alert_stack** copy);
ORB_API long cmn_alrt_check(cmn_ty_alert_stack* stack);   // 0, or pushes 0x100009
ORB_API long cmn_alrt_verify(cmn_ty_alert_stack* stack);  // same as cmn_alrt_check
ORB_API long cmn_alrt_set_current(cmn_ty_alert_stack* stack, cmn_ty_alert_stack** previous);
ORB_API long cmn_alrt_get_current(cmn_ty_alert_stack** stack);
// While set, pushes addressed to the current stack (null stack) are dropped.
ORB_API long cmn_alrt_suspend(long flag);

// Push with a looked-up, formatted message. proc and nargs are accepted for
// the callers' benefit and not used: the message text's conversions decide
// which arguments are read. Returns 0 when pushed (or dropped by suspend mode
// or because a push is already in progress), else the failure to push.
ORB_API long cmn_alrt_push(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs, ...);
ORB_API long cmn_alrt_vpush(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs,
                    va_list args);
// As cmn_alrt_push without the guard against pushes during a push.
ORB_API long cmn_alrt_quiet_push(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs, ...);
ORB_API long cmn_alrt_quiet_vpush(cmn_ty_alert_stack* stack, const char* proc, long code, long nargs,
                          va_list args);
// Pushes a ready text (no look-up, no formatting).
ORB_API long cmn_alrt_push_msg(cmn_ty_alert_stack* stack, long code, const char* text);
// Prints an alert that cannot be stacked through the OS message printer; 0.
ORB_API long cmn_alrt_push_special(long code, const char* text);
// Pushes 0x100003 for a failed allocation of `bytes` made for `owner` on the
// current stack and returns 0x100003.
ORB_API long cmn_alrt_push_no_memory(long bytes, const char* owner);

// Readers. Text outputs point into the stack's pools and stay valid until the
// stack is cleared or freed. Null outputs are allowed where noted.
ORB_API long cmn_alrt_num(cmn_ty_alert_stack* stack, long* n);
// i-th alert, 0 the oldest; i outside 0..count-1 leaves the outputs as they
// are and returns 0. code and text may be null.
ORB_API long cmn_alrt_ith(cmn_ty_alert_stack* stack, long i, long* code, const char** text);
// Newest alert, kept on the stack. On an empty stack pushes 0x100018 on the
// current stack and returns 0x100018 (see the implementation for the text).
ORB_API long cmn_alrt_top(cmn_ty_alert_stack* stack, long* code, const char** text);
// Removes the newest alert; empty stack: code -1, text null, returns 0.
ORB_API long cmn_alrt_pop(cmn_ty_alert_stack* stack, long* code, const char** text);
ORB_API long cmn_alrt_clear(cmn_ty_alert_stack* stack);

// Message texts of codes, without pushing.
ORB_API long cmn_alrt_get_msg(long code, const char** text);
ORB_API long cmn_alrt_get_msg_info(long code, const char** text, long* nargs, long* argflag);
ORB_API long cmn_alrt_get_str(long subsystem, long index, const char** text, long* nargs, long* argflag);
ORB_API long cmn_alrt_get_messages(long n, const long* codes, const char** texts);
ORB_API long cmn_alrt_get_msg_and_clear(long code, const char** text);
ORB_API const char* cmn_alrt_get(long code);
ORB_API const char* cmn_alrt_ret_msg(long code);
ORB_API long cmn_alrt_print_msg(long code);
// Formats the code's message with the arguments into buffer (size bytes,
// always NUL-ended when size > 0); failure pushes 0x100008.
ORB_API long cmn_alrt_get_fmsg(long code, long size, char* buffer, ...);
ORB_API long cmn_alrt_vget_fmsg(long code, long size, char* buffer, va_list args);
// Format into the shared 2049-byte buffer and return it / print it.
ORB_API const char* cmn_alrt_ret_fmsg(long code, ...);
ORB_API long cmn_alrt_print_fmsg(long code, ...);
ORB_API const char* cmn_alrt_subs_name(long code);

// Positional-marker formatting used for every message text (the leaf module
// msg_fmt.h under these names): removes the
// markers ":1".. ":5", routes the arguments accordingly and formats with
// bounded output into out (size bytes, NUL-ended when size > 0). %n is never
// honoured. A null text formats as an empty text. Returns 0.
ORB_API long cmn_alrt_reformat_msg(char* out, long size, const char* text, ...);
ORB_API long cmn_alrt_vreformat_msg(char* out, long size, const char* text, va_list args);

// Printing. stream null means standard output.
// Type-527 print procedure: "ALERT #n, code 0x.., msg: '...'".
ORB_API long cmn_alrt_print_alert(FILE* stream, long indent, const void* alert, long type_id, long number);
ORB_API long cmn_alrt_dump(FILE* stream, long indent, const char* heading, cmn_ty_alert_stack* stack);
// Prints the current stack newest first, wrapped at 80 columns.
ORB_API long cmn_alrt_print(FILE* stream, long indent, const char* heading);
// As cmn_alrt_print; with a string, the lines are appended to it while each
// whole line fits in size bytes (with the NUL) instead of being printed.
ORB_API long cmn_alrt_print_out(FILE* stream, char* string, long size, long indent, const char* heading);
