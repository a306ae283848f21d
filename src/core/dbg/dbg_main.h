// The debug facility. Debug topics and the procedure stack are present as an
// interface only: every call succeeds and does nothing, so the layers above
// can call them unconditionally (and a routine is therefore never reported on
// top of the procedure stack). The test-coverage list of routines, whose
// marked points would be counted, is kept.
//
// Threads: the calls that do nothing are safe from several threads; the coverage
// list is process-wide and unguarded.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "orb_api.h"

constexpr long DBG_NO_MEMORY = 0x300005;     // byte count, procedure
constexpr long DBG_TC_NOT_FOUND = 0x300008;  // routine
constexpr long DBG_TC_NO_PRC = 0x300009;     // none
constexpr long DBG_TC_WRONG_TOP = 0x30000A;  // top routine, marked routine

ORB_API long dbg_main_init();
ORB_API long dbg_main_term();
long dbg_d_init();
long dbg_d_term();
long dbg_prc_init();
long dbg_prc_term();
long dbg_tc_init();
long dbg_tc_term();

// Debug topics (no effect).
ORB_API long dbg_d_check_topic(long topic);
ORB_API long dbg_d_set_topic(long topic, long level);
ORB_API long dbg_d_get_topic(long topic, long* level);
ORB_API long dbg_d_should_print(long topic, long level, long* should);
ORB_API long dbg_d_set_log(const char* name);
ORB_API long dbg_d_dump_topics(FILE* stream);
ORB_API long dbg_d_set_mode(long mode);
ORB_API long dbg_d_get_topic_byname(const char* name, long* topic);
ORB_API long dbg_d_get_mode(long* mode);        // mode 0
ORB_API long dbg_d_get_log(const char** name);  // an empty name
// printed (may be null) becomes 0.
ORB_API long dbg_d_print(long topic, long level, const char* format, va_list args, long* printed);

// Procedure stack (no effect).
ORB_API long dbg_prc_dump_rtns(FILE* stream);
ORB_API long dbg_prc_enter(const char* routine);
ORB_API long dbg_prc_exit(const char* routine);
ORB_API long dbg_prc_exit_err(const char* routine, long code);
ORB_API long dbg_prc_dump(FILE* stream);
ORB_API long dbg_prc_get(long depth, const char** routine);
ORB_API long dbg_prc_get_top(const char** routine);
ORB_API long dbg_prc_set_top(const char* routine);
ORB_API long dbg_prc_set_mode(long mode);
ORB_API long dbg_prc_set_installed(long installed);
ORB_API long dbg_prc_get_indent(long* indent);
ORB_API long dbg_prc_get_mode(long* mode, long* installed);  // both 0
ORB_API void dbg_prc_trap();
ORB_API void dbg_prc_disable_trap();
ORB_API void dbg_prc_enable_trap();

// Test coverage.
struct dbg_ty_tc_hit {
  dbg_ty_tc_hit* next;
  long count;
  char* marker;
};

struct dbg_ty_tc_rtn {
  dbg_ty_tc_rtn* next;
  char* text;  // a routine name, "name_*" or "*"
  dbg_ty_tc_hit* hits;  // ascending marker names
};

// The list, newest first.
ORB_API dbg_ty_tc_rtn* dbg_tc_first();
ORB_API long dbg_tc_find_routine(const char* name, long exact, dbg_ty_tc_rtn** entry, dbg_ty_tc_rtn** previous);
ORB_API long dbg_tc_activate(const char* prefix, const char* routine);
// 9 after pushing 0x300008 when the text is not in the list.
ORB_API long dbg_tc_deactivate(const char* prefix, const char* routine);
ORB_API long dbg_tc_mark(const char* routine, const char* marker);
ORB_API long dbg_tc_dump(FILE* stream, const char* routine, long indent, const dbg_ty_tc_hit* hits);

// The switch of the adapter's SQL log to standard output: not supported.
ORB_API long adp_sql_log_stdout();
