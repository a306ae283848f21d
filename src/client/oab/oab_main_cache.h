// The application services' main module: the registry of caches that other
// modules install (flushed together or by selector), the time stamps of
// cached lists held in configuration items, thirty common words and the
// print command.
#pragma once

#include <cstdio>

struct dbs_ty_lobj;
struct ost_ty_state;
struct clktime;

constexpr long OAB_CACHE_ENTRY_TYPE = 703;
constexpr long OAB_CACHE_FLUSH_ALL = 0;
constexpr long OAB_CACHE_FLUSH_SELECTOR = 1;
constexpr long OAB_MAIN_GSTRS = 30;
constexpr long OAB_PRINT_NOT_FOUND = 0xe000ef;
constexpr long OAB_PRINT_VAR_NAME = 0xe000ee;

// States of oab_main_check_cache_time.
constexpr long OAB_CACHE_TIME_SAME = 1;
constexpr long OAB_CACHE_TIME_CHANGED = 2;
constexpr long OAB_CACHE_TIME_NO_ITEM = 4;

// A cache's flush procedure: mode 0 flush, 1 terminate; data as registered.
using oab_ty_cache_proc = long (*)(long mode, void* data);

struct oab_ty_cache_entry {
  const char* installer;
  long selector;
  oab_ty_cache_proc proc;
  void* data;
};

long oab_main_init_cache();
long oab_main_register_cache_cb(const char* installer, long selector, oab_ty_cache_proc proc, void* data);
// Flush mode 0: every cache; 1: those of the selector; any other: none.
long oab_main_flush_cache(long selector, long mode);
long oab_main_term_cache();
long oab_main_cache_count();
long oab_main_cache_dump_one(FILE* stream, long indent, const void* entry, long type_id, long index);
long oab_main_cache_dump_all(FILE* stream);

long oab_main_get_cache_config(long force, dbs_ty_lobj** out);
long oab_main_reset_cache_config();
long oab_main_check_cache_time(void* reserved, const clktime* time, long* state);
long oab_main_state_save(ost_ty_state* state, long option);
long oab_main_update_cfg_items(ost_ty_state* state, long user_lists, long application_lists);

// The common word of an index ("" outside 0-29).
const char* oab_main_get_gstr(long index, long reserved);
// The print command into out (size bytes at most, NUL included).
long oab_main_get_print_path(char* out, long size);
