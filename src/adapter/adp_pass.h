// The SQL layer's calls that the object store hands its callers' own SQL to:
// pings, single commands, selects into collections, stored procedures, the
// multi-query batch, the SQL texts of queries and the SQL log. Implemented by
// the adapter's statement layer.
#pragma once

#include "adapter/adp_sql.h"
#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;

// Connection check with a statement (null: the connection's batch).
ORB_API long adp_sql_ping(KAdpConnId* con, void* statement);
ORB_API long adp_sql_rowcount(KAdpConnId* con, long* count);
// Runs a formatted command (format and up to five arguments).
ORB_API long adp_sql_exec_query(KAdpConnId* con, const char* format, ...);
// Fetches the next row; found is 1 when a row came.
ORB_API long adp_sql_nextrow(KAdpConnId* con, void* statement, char* found);

ORB_API long adp_sql_dbstrlen(KAdpConnId* con);
ORB_API long adp_sql_multi_select(KAdpConnId* con);
// Runs a stored procedure through the connection's dialect. The seven
// untyped arguments are, in order: the procedure name (char*), the number of
// inputs (a long in the pointer), the inputs (cmn_ty_value*), the number of
// outputs (a long in the pointer), the outputs' lengths (long*, may be null;
// a positive one caps a text output), the outputs (cmn_ty_value*, written
// back), and one not used.
ORB_API long adp_sql_execute_proc(KAdpConnId* con, void* a1, void* a2, void* a3, void* a4, void* a5, void* a6,
                                  void* a7);

// The multi-query batch.
ORB_API long adp_sql_batch_create(KAdpConnId* con, void** batch);
ORB_API long adp_sql_batch_start(KAdpConnId* con);
ORB_API long adp_sql_batch_free(KAdpConnId* con, void* batch);
ORB_API long adp_sql_execute_batch(KAdpConnId* con, utl_ty_col** out);
ORB_API long adp_sql_result_batch(KAdpConnId* con);
ORB_API long adp_sql_get_result(KAdpConnId* con, void* batch, char* more);
ORB_API long adp_sql_get_sqlvar_batch(KAdpConnId* con, void* statement, long n);
ORB_API void adp_sql_set_alt_format(KAdpConnId* con);
ORB_API void adp_sql_mark_cmd_end(KAdpConnId* con);

// The SQL texts of queries, read in one multi-query batch.
ORB_API long adp_qry_simple_sql(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order, void* orderings,
                                long flags);
ORB_API long adp_qry_simple_sql_batch(KAdpConnId* con, utl_ty_col* results, void* desc, long n_order,
                                      void* orderings, long flags);
ORB_API long adp_qry_related_objs_sql(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id,
                                      void* target_desc, long n_order, void* orderings, char parsed, long flags);
// adp_qry_related_objs_sql with flags 0 (the last argument is not read).
ORB_API long adp_qry_relation_sql(KAdpConnId* con, utl_ty_col* results, void* from_desc, long rel_id,
                                  void* target_desc, long n_order, void* orderings, char parsed, long flags);
ORB_API long adp_obj_get_sql_batch(KAdpConnId* con, utl_ty_col* results, long type_id, long number, long options);

// The SQL log: a file of that name, or a procedure receiving each line.
using adp_ty_sql_log_cb = void (*)(const char* text, long flag);
ORB_API long adp_sql_log_file(const char* name);
ORB_API long adp_sql_install_debugger_log_cb(adp_ty_sql_log_cb proc);
