// SQL of the client layers run through the adapter: single commands, selects,
// stored procedures, multi-query batches, the SQL texts of queries, the SQL
// log, and two private message stacks that park alerts while SQL runs.
//
// Threads: the two stacks and the saved batch size are process-wide, without
// locks.
#pragma once

#include "adapter/adp_pass.h"
#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct utl_ty_estr;

// Forwarders: same arguments and result as the adapter call.
ORB_API long dbs_sql_ping(KAdpConnId* con, void* statement);
ORB_API long dbs_sql_rowcount(KAdpConnId* con, long* count);
// The format with up to five arguments is formatted here and run as it
// stands (its text is never formatted a second time).
ORB_API long dbs_sql_exec_command(KAdpConnId* con, const char* format, ...);
ORB_API long dbs_sql_cancel_all(KAdpConnId* con);
ORB_API long dbs_sql_qry_related_objs(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id,
                                      void* target_desc, long n_order, void* orderings, char parsed, long flags);
ORB_API long dbs_sql_qry_relation(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id,
                                  void* target_desc, long n_order, void* orderings, char parsed);
ORB_API long dbs_sql_qry_simple(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                                long flags);
ORB_API long dbs_sql_qry_simple_batch(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order,
                                      void* orderings, long flags);
ORB_API long dbs_sql_obj_get_batch(KAdpConnId* con, utl_ty_col* results, long type_id, long number, long options);
ORB_API long dbs_sql_get_sqlvar_batch(KAdpConnId* con, void* statement, long n);
ORB_API long dbs_sql_execute_batch(KAdpConnId* con, utl_ty_col** out);
ORB_API long dbs_sql_result_batch(KAdpConnId* con);
ORB_API long dbs_sql_print_out(KAdpConnId* con, const char* text);
ORB_API void dbs_sql_set_alt_format(KAdpConnId* con);
ORB_API void dbs_sql_mark_cmd_end(KAdpConnId* con);
ORB_API long dbs_sql_get_result(KAdpConnId* con, void* batch, char* more);
ORB_API long dbs_sql_batch_create(KAdpConnId* con, void** batch);
ORB_API long dbs_sql_batch_start(KAdpConnId* con);
ORB_API long dbs_sql_batch_free(KAdpConnId* con, void* batch);
ORB_API long dbs_sql_execute_proc(KAdpConnId* con, void* a1, void* a2, void* a3, void* a4, void* a5, void* a6,
                                  void* a7);
ORB_API long dbs_sql_log_file(const char* name);
ORB_API long dbs_sql_install_log_callback(adp_ty_sql_log_cb proc);
ORB_API long dbs_sql_select(KAdpConnId* con, const char* text, long n, const long* type_ids, const long* sizes,
                            utl_ty_col* out);
ORB_API long dbs_sql_dbstrlen(KAdpConnId* con);
ORB_API long dbs_sql_multi_select(KAdpConnId* con);

// Pings with a statement of its own.
ORB_API long dbs_sql_ping_by_app(KAdpConnId* con);
// Runs the text; found is 1 when it returned a row. Returns the command's
// failure (found 0, alert on the stack), else 0.
ORB_API long dbs_sql_execute_sql(KAdpConnId* con, const char* text, char* found);
// The adapter's default character set on the SQL Server family, else 0.
ORB_API long dbs_sql_get_default_charset();
// Without restore: saves "MAX_PER_BATCH" (25 when unset or unreadable) and
// sets it to count (25 for count < 1). With restore: puts the saved value
// back (25 when below 1).
ORB_API long dbs_sql_set_max_per_batch(long count, char restore);

// Parks the top alert of the current stack (display stack of 5) and clears
// the current stack.
ORB_API long dbs_sql_catch_message();
// Pushes the parked alerts back in order; the code of the last, or 0.
ORB_API long dbs_sql_raise_message();
// The object-id message stack (5 entries).
ORB_API long dbs_sql_objid_msg_push(long code);
// The top message's text into text; its code, or 0 when none. Clears the
// stack.
ORB_API long dbs_sql_objid_msg_pop(utl_ty_estr* text);
