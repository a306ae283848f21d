// The statement interface: the procedural face of the connection's SQL batch.
// A statement handle (void*) is the connection's one batch; callers create a
// statement, append formatted text, prepare or execute it, bind result
// columns and fetch rows through them. Every function returns 0 or an alert
// code (already pushed unless said otherwise).
//
// Formatting calls take printf arguments; prebuilt SQL is never used as a
// format. Threads: the module state (buffers, fault injection, the queued
// statement record) is process-wide and unguarded.
#pragma once

#include <cstdio>

#include "adapter/adp_batch.h"
#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_col;
struct utl_ty_estr;

constexpr long ADP_SQL_BUF_SIZE = 65530;     // longest text adp_sql_dbfcmd formats
constexpr long ADP_SQL_NO_HEADER = 0x600020;  // the connection check found no header row
constexpr long ADP_SQL_BAD_COL_TYPE = 0x60001F;
constexpr long ADP_SQL_NULL_POINTER = 0x600052;
constexpr long ADP_SQL_TOO_LONG = 0x600064;   // returned, not pushed

// A statement id record: collection, position, state (2 when clean).
struct adp_ty_sql_id {
  utl_ty_col* col;
  long position;
  long state;
};

// One entry of adp_sql_exec_bind's column list, ended by type -1.
struct adp_sql_col_type {
  long type;
  long ignored;
  void* destination;
};

// Text and statements.
ORB_API long adp_sql_create(KAdpConnId* con, void** stmt);
ORB_API long adp_sql_append(KAdpConnId* con, void* stmt, const char* text);
ORB_API long adp_sql_sprintf(KAdpConnId* con, void* stmt, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Formats into the module buffer; a text of more than 65530 characters
// returns 0x600064 (not pushed); else the reset batch receives it.
ORB_API long adp_sql_dbfcmd(KAdpConnId* con, const char* format, ...) __attribute__((format(printf, 2, 3)));
ORB_API long adp_sql_flsprintf(KAdpConnId* con, long ignored, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Appends "select @v%ld\n" with |n|.
ORB_API long adp_sql_get_sqlvar_batch(KAdpConnId* con, void* stmt, long n);
ORB_API long adp_sql_check(KAdpConnId* con, void* p);
// *out: the text with every single quote doubled, in a module buffer that
// the next call reuses ("" for a null or empty text).
ORB_API long adp_sql_escape_str(const char* text, char** out);
ORB_API long adp_sql_free(KAdpConnId* con, void* stmt);

// Preparing and executing.
ORB_API long adp_sql_parse_ddl(KAdpConnId* con, void* stmt);
ORB_API long adp_sql_parse(KAdpConnId* con, void* stmt);
ORB_API long adp_sql_parse_and_bind(KAdpConnId* con, void* stmt);
// Runs the next statement (a null statement: the connection's batch, not
// reset); then the fault-injection step.
ORB_API long adp_sql_execute(KAdpConnId* con, void* stmt);
ORB_API long adp_sql_dont_execute(KAdpConnId* con);
ORB_API long adp_sql_execute_opt(KAdpConnId* con, void* stmt, long ignored, long option);
ORB_API long adp_sql_parse_ddl_opt(KAdpConnId* con, void* stmt, long ignored, long option);
ORB_API long adp_sql_exec_and_fetch(KAdpConnId* con, char* found);
// found 1 when a row came; a failed fetch or conversion returns its code
// (found 0).
ORB_API long adp_sql_nextrow(KAdpConnId* con, void* stmt, char* found);
ORB_API long adp_sql_rowcount(KAdpConnId* con, long* count);
ORB_API long adp_sql_define(KAdpConnId* con, KAdpBindCol col);
ORB_API long adp_sql_bind(KAdpConnId* con, void* p, long ignored, long sql_type, long ignored2, void* dest);
// Type id to record SQL type: 512 0, 514 3, 516 6, 766 6; else 0x60001F.
ORB_API long adp_sql_define_type_mapping(long type, long* sql_type);

// One-call forms.
ORB_API long adp_sql_parse_ddl_now(KAdpConnId* con, const char* format, ...) __attribute__((format(printf, 2, 3)));
ORB_API long adp_sql_parse_ddl_opt_now(KAdpConnId* con, long option, long flag, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
ORB_API long adp_sql_parse_now(KAdpConnId* con, const char* format, ...) __attribute__((format(printf, 2, 3)));
ORB_API long adp_sql_exec_query(KAdpConnId* con, const char* format, ...) __attribute__((format(printf, 2, 3)));
ORB_API long adp_sql_exec_opt_now(KAdpConnId* con, long option, long flag, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
ORB_API long adp_sql_exec_and_fetch_now(KAdpConnId* con, char* found, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Joins the two texts (already formatted by the caller) and runs the joined
// text as it stands.
ORB_API long adp_sql_10exec_query(KAdpConnId* con, const char* text1, const char* text2);

// Selecting into collections: out receives one collection per column.
ORB_API long adp_sql_select(KAdpConnId* con, const char* text, long n, const long* types, const long* sizes,
                            utl_ty_col* out);
ORB_API long adp_sql_select_withsqlid(KAdpConnId* con, void* stmt, long n, const long* types,
                                      const long* sizes, utl_ty_col* out);
// A format (when not null) is first prepared; each entry binds its
// destination; the statement is executed; the caller reads rows with
// adp_sql_nextrow.
ORB_API long adp_sql_exec_bind(KAdpConnId* con, const adp_sql_col_type* list, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Multi-query batch (SQL Server).
ORB_API long adp_sql_batch_create(KAdpConnId* con, void** out);
ORB_API long adp_sql_batch_start(KAdpConnId* con);
ORB_API long adp_sql_get_result(KAdpConnId* con, void* record, char* more);
ORB_API long adp_sql_batch_free(KAdpConnId* con, void* record);
ORB_API long adp_sql_result_batch(KAdpConnId* con);

ORB_API long adp_sql_id_init(adp_ty_sql_id* id);
ORB_API long adp_sql_id_clean(adp_ty_sql_id* id);

// Stubs (0) and no-ops.
ORB_API long adp_sql_cancel(KAdpConnId* con);
ORB_API long adp_sql_cancel_all(KAdpConnId* con, long flag);
ORB_API long adp_sql_result();
ORB_API long adp_sql_set_client_charset();
ORB_API long adp_sql_get_default_charset(KAdpConnId* con, char* out);
ORB_API long adp_sql_get_perf_flag(KAdpConnId* con);
ORB_API long adp_sql_dbstrlen(KAdpConnId* con);
ORB_API long adp_sql_multi_select(KAdpConnId* con);
ORB_API void adp_sql_set_alt_format(KAdpConnId* con);
ORB_API void adp_sql_mark_cmd_end(KAdpConnId* con);
ORB_API long adp_sql_get_num_execs();
ORB_API long adp_sql_set_num_execs(long n);

// With a statement the debugger callback receives the statement being built
// (flag 0); unless the lines go to the debugger only, every statement of the
// batch is printed to f (standard output when null). 0.
ORB_API long adp_sql_print(KAdpConnId* con, void* stmt, FILE* f);
// "select site_id from adp_db_header": 0 with a row, 0x600020 without.
ORB_API long adp_sql_ping(KAdpConnId* con, void* stmt);

// Fault injection: armed, the first execution after arming reports 1, then
// the second after it, then the third, and so on.
ORB_API long adp_db_reset_fail_num();
ORB_API long adp_db_disable_fail_mode();
// 1 once after an injected failure (traps enabled again).
ORB_API long adp_db_test_fired();

// View dictionary rows, the view itself and its grant (the schema writer's
// calls).
ORB_API long adp_sch_del_view_info(KAdpConnId* con);
ORB_API long adp_sch_drop_view(KAdpConnId* con, typ_sch_srec* view);
ORB_API long adp_sch_view_def(KAdpConnId* con, typ_sch_srec* view, utl_ty_estr** text);
ORB_API long adp_usr_view_grant(KAdpConnId* con, typ_sch_srec* view);
