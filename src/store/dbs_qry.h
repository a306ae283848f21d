// The store's query entry points: simple queries over one type, relation
// queries from an object over one relation, their count, first-n, id,
// distinct and parsed forms, aggregates, several relations at once, wildcard
// texts and sub-object conditions. The adapter builds and runs the SQL; this
// layer checks the result collections, applies the installed security
// procedure to id queries and fixes the adapter's arguments.
//
// Threads: the installed security procedure is process-wide.
#pragma once

#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;
struct utl_ty_col;
struct dbs_ty_lobj;

// A condition of a query: field id, operator code (1 >=, 3 <=, 4 =, 9 in),
// value.
struct dbs_ty_qry_cond {
  long field;
  long op;
  long value;
};

// Sub-object conditions: flags 4 when made by dbs_qry_make_subobj_conds, 5
// when made with its option byte.
struct dbs_ty_subobj_conds {
  char flag;
  dbs_ty_qry_cond* conds;
  long count;
  long flags;
};

// Security procedure of id queries: may hand back a power-query object to
// run in place of the query (the caller frees it).
using dbs_ty_qry_secure_proc = long (*)(void* desc, void* order, void* order_flags, dbs_ty_lobj** pwr_object,
                                        long reserved);
ORB_API long dbs_qry_secure_install(dbs_ty_qry_secure_proc proc);

ORB_API long dbs_qry_simple(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_simple_distinct(KAdpConnId* c, void* desc, void* order, void* order_flags,
                                     utl_ty_col* objects);
ORB_API long dbs_qry_simple_option(KAdpConnId* c, void* desc, void* order, void* order_flags, long option,
                                   utl_ty_col* objects);
ORB_API long dbs_qry_simple_parsed(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_simple_first(KAdpConnId* c, void* desc, void* order, void* order_flags, long n,
                                  utl_ty_col* objects);
ORB_API long dbs_qry_simple_with_cond(KAdpConnId* c, void* desc, void* conds, void* order, void* order_flags,
                                      utl_ty_col* objects);
ORB_API long dbs_qry_simple_num(KAdpConnId* c, void* desc, long* count);
ORB_API long dbs_qry_simple_with_id(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* ids,
                                    long first, long last, utl_ty_col* objects);
// Option bit value 2 keeps the ids already in the collection.
ORB_API long dbs_qry_simple_for_id_option(KAdpConnId* c, void* desc, void* order, void* order_flags, long option,
                                          utl_ty_col* ids);
ORB_API long dbs_qry_simple_for_id(KAdpConnId* c, void* desc, void* order, void* order_flags, utl_ty_col* ids);

ORB_API long dbs_qry_relation(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                              void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_relation_parsed(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                     void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_relation_first(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                    void* order_flags, long n, utl_ty_col* objects);
ORB_API long dbs_qry_relation_with_cond(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                        void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_relation_num(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, long* count);
ORB_API long dbs_qry_relation_for_id(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                     void* order_flags, utl_ty_col* ids);
ORB_API long dbs_qry_relation_id_parsed(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                        void* order_flags, utl_ty_col* ids);
ORB_API long dbs_qry_relation_for_uni_id(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                         void* order_flags, utl_ty_col* ids);
ORB_API long dbs_qry_relation_with_id(KAdpConnId* c, obj_id* id, long rel_id, void* target_desc, void* order,
                                      void* order_flags, utl_ty_col* objects);
ORB_API long dbs_qry_aggregate(KAdpConnId* c, void* desc, void* aggregates, void* group, utl_ty_col* result);

ORB_API long dbs_qry_wildcard_len(const char* pattern, long* length);
// size must hold the wildcard length + 2, one more with a prefix, one less
// without a suffix; else 0x700010.
ORB_API long dbs_qry_wildcard_transform(const char* prefix, const char* pattern, const char* suffix, char* out,
                                        long size);
// One id collection per id (made as needed), filled in one SQL batch.
ORB_API long dbs_qry_mult_rel_for_id(KAdpConnId* c, long n, obj_id* ids, utl_ty_col* id_cols);

// Conditions "field 1 = parent number" and "field 2 = parent type".
ORB_API long dbs_qry_make_subobj_conds(const obj_id* parent, char flag, char option, dbs_ty_subobj_conds* desc,
                                       utl_ty_col** conds);
ORB_API long dbs_qry_add_to_subobj_conds(long field, long op, long value, utl_ty_col* conds,
                                         dbs_ty_subobj_conds* desc);

// A query description as the store builds it for its own queries: the type,
// its conditions (joined by AND) and the ordering field (0 none).
struct dbs_ty_qry_desc {
  long type_id;
  long count;
  dbs_ty_qry_cond* conds;
  long order_field;
};

// Message texts from the database (type 326: field 1 id, 2 text, 3 locale,
// 4 and 5 classes); the core's text callback. texts[0 .. last-first] receive
// copies the store keeps until dbs_qry_free_res_strs (the message lists hold
// on to them while the database serves texts). con is the connection handle
// as the core passes it.
ORB_API long dbs_qry_list_res_str(long con, long first_id, long last_id, long* count, const char** texts);
ORB_API long dbs_qry_list_class_res_str(KAdpConnId* c, long first_id, long last_id, long class_a, long class_b,
                                        long* count, const char** texts);
// Bit value 1: a result count other than the ids asked for fails (0x70008a).
ORB_API long dbs_qry_set_res_str_option(long option);
// Frees every text handed out so far; callers drop their pointers first.
ORB_API long dbs_qry_free_res_strs();
// The locale the texts are chosen for (1033, the default, means the OS
// locale); forgets the earlier choice.
ORB_API long dbs_qry_set_res_str_locale(long locale_id);

// The one object related by a one-to-one relation (by its id in the id's
// type), or null; 0x70001c for another relation kind or more than one.
ORB_API long dbs_qry_get_oto_byid(KAdpConnId* c, obj_id* id, long rel_id, dbs_ty_lobj** object);
