// Lists of database objects (collections of object handles, element type
// 517): copying data fields, matching by field or object id, filtering by
// relation, freeing and sorting by one or several fields.
#pragma once

#include "store/dbs_oid.h"

struct dbs_ty_lobj;
struct ost_ty_state;
struct utl_ty_col;

constexpr long OAB_OBJ_ANY_TYPE = 216;   // a type that takes the fields of any type
constexpr long OAB_OBJ_MAX_SORT = 7;     // fields of a field list that count
constexpr long OAB_OBJ_END = -1;         // ends a field list; "match by id" field

long oab_obj_init();
long oab_obj_term();
long oab_obj_copy_data_fields(dbs_ty_lobj* source, dbs_ty_lobj* destination);
long oab_obj_free_objs_in_col(ost_ty_state* state, utl_ty_col* list);
// value: the value itself for a type kept in the word, else a pointer to it.
long oab_obj_match_field_in_col(utl_ty_col* list, long field_id, const void* value, long* index,
                                dbs_ty_lobj** object);
long oab_obj_match_oid_in_col(utl_ty_col* list, const obj_id* id, long* index, dbs_ty_lobj** object);
// flag 1: the list holds id numbers of objects of type_id; else object handles.
long oab_obj_filter_col_with_oid(utl_ty_col* list, long type_id, long rel_id, obj_id* other, char flag);
long oab_obj_sort_col_by_field(utl_ty_col* list, long field_id);
long oab_obj_sort_col_by_fields(utl_ty_col* list, const long* field_ids);
long oab_obj_rev_sort_col_by_field(utl_ty_col* list, long field_id);
long oab_obj_rev_sort_col_by_fields(utl_ty_col* list, const long* field_ids);

// The procedures handed to the collection walks and sorts.
long oab_obj_free_obj_proc(utl_ty_col* col, void* element, long index, long type, void* arg, long* stop);
long oab_obj_match_fld_proc(utl_ty_col* col, void* element, long index, long type, void* arg, long* stop);
long oab_obj_cmp_fld_proc(const void* a, const void* b, void* field_id);
long oab_obj_cmp_flds_proc(const void* a, const void* b, void* field_ids);
long oab_obj_rev_cmp_fld_proc(const void* a, const void* b, void* field_id);
