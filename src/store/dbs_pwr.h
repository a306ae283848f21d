// Power queries: a query whose SQL text is written once and kept in a
// power-query object (field 5 the stored-procedure name, field 6 the SQL).
#pragma once

#include <string>

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;
struct dbs_ty_lobj;

// Empties ids and fills them with the ids the object's SQL finds.
ORB_API long dbs_pwr_qry_execute(KAdpConnId* c, dbs_ty_lobj* pwr_object, utl_ty_col* ids);

// A condition of a power query and a condition list (and_flag 1: joined by
// "AND ", else "OR "). pattern is the list's connector pattern once built.
struct dbs_ty_pwr_cond {
  const char* field;
  long op;
  const char* value;
};
struct dbs_ty_pwr_list {
  long type_id;
  long count;
  dbs_ty_pwr_cond* conds;
  long and_flag;
  char* pattern;
  long pattern_count;
};

// The connector patterns of the first and of the second condition list
// (into list->pattern, osl_mem_alloc; null without conditions).
ORB_API long dbs_pwr_pattern_first(dbs_ty_pwr_list* list);
ORB_API long dbs_pwr_pattern_second(dbs_ty_pwr_list* list);

// text as an SQL string literal; size >= length + quotes + 3, else 0x700026.
ORB_API long dbs_pwr_str_convert(const char* text, char* out, long size);

// Stored procedures: the name is login + "_" + title (field 1) and may hold
// only letters, digits, '_', '#' and '$' (else 0x700001).
ORB_API long dbs_pwr_stored_proc_create(KAdpConnId* c, dbs_ty_lobj* pwr_object, const char* login);
ORB_API long dbs_pwr_stored_proc_delete(KAdpConnId* c, dbs_ty_lobj* pwr_object);

// The rewrite gate and the UNION rewrite of an OR-joined secured query. The
// rewrite returns the text unchanged when it does not apply or would not
// balance its parentheses.
ORB_API long dbs_pwr_verify_code_flow(const char* name);
ORB_API long union_not_required();
// Sets the flag the security procedure's answer gives (for the host).
ORB_API long dbs_pwr_set_convert_to_union(char on);
ORB_API std::string dbs_pwr_convert_to_union_if_secure_on(const std::string& sql);
// 1 when the text has as many '(' as ')'.
ORB_API long dbs_pwr_validate_final_str(const char* text);
// Helpers of the rewrite. The texts they return are new blocks (null when
// out of memory), freed with dbs_pwr_deallocate_memory, which ignores null.
// Every `find` in text replaced; *count the replacements.
ORB_API char* dbs_pwr_find_and_replace(const char* text, const char* find, const char* replace, long* count);
// The comma-separated table entries whose alias (the word after the first
// blank, else the name) followed by "." occurs in the alternative (not as
// the tail of a longer name), joined
// by ", "; with mssql an entry's "(NOLOCK)" is set aside for the test and
// put back as " (NOLOCK)".
ORB_API char* dbs_pwr_make_from_to_where_clause(const char* tables, const char* alternative, char mssql);
// Leading / trailing blanks removed in place; the text is returned.
ORB_API char* dbs_pwr_trim_left(char* text);
ORB_API char* dbs_pwr_trim_right(char* text);
ORB_API long dbs_pwr_deallocate_memory(void* block);

// Security procedure: may hand back a replacement first list and ask for the
// UNION rewrite (convert 1); the clean-up procedure frees the replacement.
using dbs_ty_pwr_secure_proc = long (*)(dbs_ty_pwr_list* list, dbs_ty_pwr_list** replacement, char* convert,
                                        long reserved);
using dbs_ty_pwr_cleanup_proc = long (*)(dbs_ty_pwr_list* replacement, long a, long b);
ORB_API long dbs_pwr_qry_secure_install(dbs_ty_pwr_secure_proc secure, dbs_ty_pwr_cleanup_proc cleanup);
// Builds both connector patterns, assembles the SQL (field 6 of the object)
// and frees the patterns. Option bit 2: no security. Bit 1 (distinct) asks
// for nothing more: every text without sort keys selects DISTINCT, and the
// execution removes duplicate ids when sort keys are given.
ORB_API long dbs_pwr_qry_construct2(KAdpConnId* c, dbs_ty_pwr_list* list, dbs_ty_pwr_list* list2,
                                    void* client_query, dbs_ty_lobj* pwr_object, long options);
ORB_API long dbs_pwr_qry_construct3(KAdpConnId* c, dbs_ty_pwr_list* list, dbs_ty_pwr_list* list2,
                                    void* client_query, dbs_ty_lobj* pwr_object, long options);
ORB_API long dbs_pwr_trend_qry_execute(KAdpConnId* c, dbs_ty_lobj* pwr_object, void* x);
ORB_API long dbs_pwr_non_block_exe(KAdpConnId* c, dbs_ty_lobj* pwr_object);
ORB_API long dbs_pwr_non_block_check(void* a, void* b, long* state);
ORB_API long dbs_pwr_non_block_results(KAdpConnId* c, utl_ty_col* ids);
ORB_API long dbs_pwr_non_block_cancel();
// The last ':' of a relation path, or null.
ORB_API const char* dbs_pwr_is_path(const char* name);
// 1 when the first condition is an in-list on the reached "objid" long
// field, else 0; a failing step gives its status cut to its low byte. The
// transaction begun here is ended on every return.
ORB_API long dbs_checkforin(KAdpConnId* c, dbs_ty_pwr_list* list);

struct typ_sch_frec;
// One relation step: "name" or "name(condition)" from the object; a to-many
// step needs the condition (0x700024). *objects is made here.
ORB_API long dbs_pwr_traverse_rel(KAdpConnId* c, dbs_ty_lobj* object, const char* rel_text, long options,
                                  utl_ty_col** objects);
ORB_API long dbs_pwr_traverse_rel_w_cond(KAdpConnId* c, dbs_ty_lobj* object, long target_type, long rel_id,
                                         const char* condition, long options, utl_ty_col** objects);
// Walks "rel:rel:field". The objects fetched on the way are freed: when the
// end was reached through a fetched object, *out is null and *fetched 1.
ORB_API long dbs_pwr_rel_path_walk(KAdpConnId* c, dbs_ty_lobj* object, const char* path, long options,
                                   dbs_ty_lobj** out, typ_sch_frec** field, char* fetched);
// The object reached (null when it was fetched and freed), the field's spec
// id and cmn type (-1 and -1 when the path ends without a field).
ORB_API long dbs_pwr_rel_path_target_get(KAdpConnId* c, dbs_ty_lobj* object, const char* path, long options,
                                         dbs_ty_lobj** out, long* spec_id, long* cmn_type);
