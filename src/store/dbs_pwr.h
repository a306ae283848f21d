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
ORB_API long dbs_pwr_validate_final_str(const char* text);
