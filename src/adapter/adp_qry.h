// The adapter's query layer as the object store calls it: simple and
// relation queries into collections of local objects or object ids, counts,
// aggregates, several relations at once, wildcard texts, and the power-query
// execution. order and order_flags are the caller's ordering (passed
// through); limit -1 is none; parsed 1 says the condition values are parsed.
#pragma once

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct utl_ty_col;

// Registers the query record type (794: three longs).
ORB_API long adp_qry_init();

ORB_API long adp_qry_simple(KAdpConnId* con, void* desc, void* order, void* order_flags, long limit, long option,
                            char parsed, utl_ty_col* objects);
ORB_API long adp_qry_simple_with_cond(KAdpConnId* con, void* desc, void* conds, void* order, void* order_flags,
                                      long limit, long option, char parsed, utl_ty_col* objects);
ORB_API long adp_qry_simple_num(KAdpConnId* con, void* desc, long* count);
ORB_API long adp_qry_simple_with_id2(KAdpConnId* con, void* desc, void* order, void* order_flags, utl_ty_col* ids,
                                     long first, long last, long limit, utl_ty_col* objects, long option);
ORB_API long adp_qry_simple_for_id(KAdpConnId* con, void* desc, void* order, void* order_flags, long limit,
                                   long option, utl_ty_col* ids);
ORB_API long adp_qry_relation(KAdpConnId* con, obj_id* id, long rel_id, void* target_desc, void* order,
                              void* order_flags, long limit, char parsed, utl_ty_col* objects);
ORB_API long adp_qry_relation_with_cond(KAdpConnId* con, obj_id* id, long rel_id, void* target_desc, void* order,
                                        void* order_flags, long limit, char parsed, utl_ty_col* objects);
ORB_API long adp_qry_relation_num(KAdpConnId* con, obj_id* id, long rel_id, void* target_desc, long* count);
ORB_API long adp_qry_relation_for_id(KAdpConnId* con, obj_id* id, long rel_id, void* target_desc, void* order,
                                     void* order_flags, long limit, char parsed, utl_ty_col* ids);
ORB_API long adp_qry_relation_with_id(KAdpConnId* con, obj_id* id, long rel_id, void* target_desc, void* order,
                                      void* order_flags, long limit, utl_ty_col* objects);
ORB_API long adp_qry_aggregate(KAdpConnId* con, void* desc, void* aggregates, void* group, utl_ty_col* result);
ORB_API long adp_qry_mult_rel_for_id(KAdpConnId* con, long n, obj_id* ids, long option, utl_ty_col* id_cols);
ORB_API long adp_qry_wildcard_len(const char* pattern, long* length);
ORB_API long adp_qry_wildcard_transform(const char* prefix, const char* pattern, const char* suffix, char* out,
                                        long size);

// The object ids of the statement's current result set into ids (count -1:
// all of them), then the result set is released.
ORB_API long adp_qry_get_id_from_buf(void* statement, long count, utl_ty_col* ids);
// Runs the query written in statement and reads its first column row by
// row into ids, a collection of longs (else 0x60001F), until no row is left
// or count ids were taken (count -1: all). With a bit of the dialect's
// duplicate option (number 6) in option, a row repeating the id before it
// is skipped.
ORB_API long adp_qry_non_block_results(void* statement, long count, utl_ty_col* ids, long option);

// Relation queries written into the caller's statement (from adp_sql_create)
// without running them; the caller reads the rows (adp_qry_process,
// adp_qry_process_id, adp_qry_non_block_results). from and target are
// adp_ty_qry descriptions, orderings a qry_order array.
// The related objects; the foreign-key sub-select selects DISTINCT.
ORB_API long adp_qry_relation_non_mtm_sql(KAdpConnId* con, void* stmt, void* from_desc, long rel_id,
                                          void* target_desc, long n_order, void* orderings, char parsed, long flags);
// The related ids; from one object given by its id, the link-table form
// reads the link table alone when no target condition or ordering is given.
ORB_API long adp_qry_sql_rel_for_id(KAdpConnId* con, void* stmt, void* from_desc, long rel_id, void* target_desc,
                                    long n_order, void* orderings, char parsed);

// Power queries: the ids of a written SQL text, duplicates removed.
ORB_API long adp_pwr_qry_execute(KAdpConnId* con, const char* proc_name, const char* sql, utl_ty_col* ids);
ORB_API long adp_pwr_eliminate_dup_id(utl_ty_col* ids);

// Stored procedures of power queries.
ORB_API long adp_pwr_stored_proc_create(KAdpConnId* con, const char* name, const char* sql);
ORB_API long adp_pwr_stored_proc_delete(KAdpConnId* con, const char* name);

struct typ_sch_srec;
// Writes the SQL of a power query into sql (70016 bytes).
ORB_API long adp_pwr_qry_construct(KAdpConnId* con, typ_sch_srec* schema, void* list, void* list2,
                                   void* client_query, char* sql);
ORB_API long adp_pwr_trend_qry_execute(KAdpConnId* con, const char* sql, void* x);
ORB_API long adp_pwr_non_block_exe(KAdpConnId* con, const char* proc_name, const char* sql);
ORB_API long adp_pwr_non_block_check(void* a, void* b, long* state);
ORB_API long adp_pwr_non_block_results(KAdpConnId* con, utl_ty_col* ids);
ORB_API long adp_pwr_non_block_cancel();
