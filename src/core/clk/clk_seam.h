// The clock's calls up the layers. The object store, the adapter and the
// query SQL sit above the core runtime; each fills its slots of this table
// when it starts, so the core links and is tested alone. The real functions
// keep their own names in their own subsystems (dbs_main_server_type,
// adp_time_get, adp_db_get_conn, adp_db_set_conn, adp_db_get_gmt_diff,
// adp_time_sqr_str_convert, adp_time_str_to_clk, adp_qry_install_convert).
//
// An empty slot invents nothing: the adapter calls fail with
// CLK_SEAM_MISSING and a text naming the call, the server type reads 0, and
// the query-date conversion is kept until the query SQL installs its slot.
// The local clock is read through the table too; empty, it is the OS clock.
//
// Threads: the slots are filled at start-up and only read afterwards; filling a
// slot while other threads call the clock is not safe.
#pragma once

#include <ctime>

#include "core/clk/clk_time.h"
#include "orb_api.h"

// Writes a clock time into query SQL text (size bytes with the NUL).
using clk_ty_qry_convert_proc = long (*)(long adjust, const clktime* time, char* out, long size);

struct clk_ty_seams {
  long (*server_type)();                                  // dbs_main_server_type
  long (*time_get)(clktime* out);                         // adp_time_get
  void* (*db_get_conn)();                                 // adp_db_get_conn
  long (*db_set_conn)(void* connection);                  // adp_db_set_conn
  long (*db_get_gmt_diff)(void* connection);              // adp_db_get_gmt_diff (seconds)
  long (*sqr_str_convert)(const char* text, char* out, long size);  // adp_time_sqr_str_convert
  long (*str_to_clk)(const char* text, clktime* out);     // adp_time_str_to_clk
  long (*qry_install_convert)(clk_ty_qry_convert_proc proc);  // adp_qry_install_convert
  long (*local_time)(struct tm* out);                     // local wall-clock time now
};

// Alert code of an empty slot: cmn "no method installed", pushed with a text
// that names the missing call.
constexpr long CLK_SEAM_MISSING = 0x10001e;

// Copies every non-null slot of procs into the table. When the query SQL's
// slot arrives and the clock has a conversion waiting, it is handed over.
ORB_API long clk_seam_install(const clk_ty_seams* procs);
// Empties every slot (and forgets a waiting conversion).
ORB_API long clk_seam_reset();
ORB_API const clk_ty_seams* clk_seam_get();

// The calls, through the table.
long clk_seam_server_type();
long clk_seam_time_get(clktime* out);
void* clk_seam_db_get_conn();
long clk_seam_db_set_conn(void* connection);
long clk_seam_db_get_gmt_diff(void* connection, long* seconds);
long clk_seam_sqr_str_convert(const char* text, char* out, long size);
long clk_seam_str_to_clk(const char* text, clktime* out);
// Installs the conversion now, or keeps it for the query SQL.
long clk_seam_qry_install_convert(clk_ty_qry_convert_proc proc);
// The conversion kept while the query SQL's slot is empty (else null).
ORB_API clk_ty_qry_convert_proc clk_seam_kept_qry_convert();
// Local wall-clock time now.
long clk_seam_local_time(struct tm* out);
