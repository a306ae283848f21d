// Query helpers: the store's simple queries in the forms the services use,
// the view map of secured views, the operator and wildcard transforms
// between simple and power queries, and the tokenisers of "is in" and
// "between" operands.
#pragma once

#include <string>

#include "store/dbs_oid.h"

struct dbs_ty_lobj;
struct dbs_ty_qry_cond;
struct utl_ty_col;

// Simple-query operators (the store's condition codes).
constexpr long OAB_SQ_GT = 0;
constexpr long OAB_SQ_GE = 1;
constexpr long OAB_SQ_LT = 2;
constexpr long OAB_SQ_LE = 3;
constexpr long OAB_SQ_EQ = 4;
constexpr long OAB_SQ_NE = 5;
constexpr long OAB_SQ_LIKE = 6;
constexpr long OAB_SQ_NOT_LIKE = 7;
constexpr long OAB_SQ_SOUNDS = 8;
// Power-query operators.
constexpr long OAB_PQ_EQ = 4;
constexpr long OAB_PQ_NE = 5;
constexpr long OAB_PQ_STARTS = 6;
constexpr long OAB_PQ_ENDS = 7;
constexpr long OAB_PQ_CONTAINS = 8;
constexpr long OAB_PQ_IN = 9;
constexpr long OAB_PQ_BETWEEN = 10;
constexpr long OAB_PQ_NOT_STARTS = 11;
constexpr long OAB_PQ_NOT_ENDS = 12;
constexpr long OAB_PQ_NOT_CONTAINS = 13;
constexpr long OAB_PQ_NOT_BETWEEN = 14;
constexpr long OAB_PQ_NOT_IN = 15;
constexpr long OAB_PQ_SOUNDS = 16;

constexpr long OAB_QRY_BAD_BETWEEN = 0xE00129;
constexpr long OAB_QRY_BAD_OPERATOR = 0xE0000D;  // operator, form (0 simple, 1 power), 0
constexpr long OAB_QRY_TOO_MANY_NAMES = -2;
constexpr long OAB_QRY_VIEW_ROWS = 30;

long oab_qry_all_of_a_kind(long type, utl_ty_col* result);
long oab_qry_all_of_a_kind_w_cond(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join);
long oab_qry_all_of_a_kind_w_order(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join,
                                   void* orders, long num_orders);
long oab_qry_all_id_of_a_kind(long type, utl_ty_col* result);
long oab_qry_all_id_of_a_kind_w_cond(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count,
                                     long join);
long oab_qry_all_id_of_a_kind_w_orde(long type, utl_ty_col* result, dbs_ty_qry_cond* conds, long count, long join,
                                     void* orders, long num_orders);
long oab_qry_unique_oid_w_cond(long type, dbs_ty_qry_cond* conds, long count, long join, long* found, obj_id* out);
long oab_qry_unique_obj_w_cond(long type, dbs_ty_qry_cond* conds, long count, long join, long* found,
                               dbs_ty_lobj** out);
long oab_qry_find_obj_by_one_fld(long type, long field, long op, long value, dbs_ty_lobj** out, long flag);

// The view map: the object type of a view (-1 when none) and, for a field
// id other than -1, the path of that field (null when none).
long oab_qry_view_to_obj_map(long view, long field, long* type, const char** path);

// Simple to power form of one operator and value: wildcards "%" at the
// ends are taken off the value.
long oab_qry_xform_string_val(long op, const char* value, long* pwr_op, std::string* pwr_value);
long oab_qry_xform_long_val(long op, long value, long* pwr_op, std::string* pwr_value);
// Power to simple form; an operator without a simple form is refused.
long oab_qry_simple_xform_stringv(long pwr_op, const char* value, long* op, std::string* out);
long oab_qry_simple_xform_longv(long pwr_op, const char* value, long* op, long* out);

// The SQL operand of an "is in" condition (null when no token) and of a
// "between" condition; the texts stay valid until the next call.
long oab_qry_in_operand_tokenize(long type, const char* label, const char* path, const char* operand,
                                 const char** out);
long oab_qry_bet_operand_tokenize(long type, const char* label, const char* path, const char* operand,
                                  const char** out);
// One token of an "is in" operand from *pos: false at the end of the text.
bool oab_qry_in_operand_next_token(const char* text, size_t* pos, std::string* token);
// Appends a token in single quotes with each inner single quote doubled.
void oab_qry_token_append(std::string* out, const std::string& token);

// Follows a field path ("rel:rel:field") from the start object: a copy of
// the first end object into *out_obj, copies of all into out_col (emptied
// first), and the final field's type, id and data type.
long oab_qry_traverse_path(void* unused, dbs_ty_lobj* start, const char* path, dbs_ty_lobj** out_obj,
                           utl_ty_col* out_col, long* final_type, long* field_id, long* data_type, long flag);

// ---- Power-query records built from simple queries and objects ----

struct dbs_ty_qry_desc;
struct dbs_ty_pwr_list;

// An ordering of a simple query: field id and a word whose first byte gives
// the direction.
struct oab_ty_qry_order {
  long field;
  long direction;
};
// Order record of a power query: type, field paths and direction.
struct oab_ty_pwr_order {
  long type_id;
  long count;
  const char** paths;
  long direction;
};

// Simple to power form through the view map. Conditions with operators
// 9-11, without a path in the map or on a field that is neither text (with
// a value) nor long are left out: (*out)->count tells how many were taken.
// The texts live in the scratch collections until they are reset.
long oab_qry_xform_simple_query(dbs_ty_qry_desc* query, long num_orders, const oab_ty_qry_order* orders,
                                dbs_ty_pwr_list** out, oab_ty_pwr_order** order, char* flag);
// A power-query record from condition objects (field 1 path, 3 operator, 5
// value) when bit 0 of flags is set; the texts stay the objects'.
long oab_qry_xform_qry(long type, utl_ty_col* conditions, dbs_ty_pwr_list** out, long flags);
// An order record from sort objects (field 3 paths not all blank, copied).
long oab_qry_xform_mult_sort(long type, long direction, utl_ty_col* sorts, oab_ty_pwr_order** out);

// Frees a power-query record made here (its condition array), an order
// record made by the simple-query transform, and empties the scratch
// collections. The word forms suit the store's clean-up procedure.
long oab_qry_dealloc_query(dbs_ty_pwr_list* query, long order_record, long unused);
long oab_qry_reset_scratch_cols();
// Frees a record's condition array, and the record unless bit 0 of flag.
long oab_qry_pwr_obj_cond_free(dbs_ty_pwr_list* query, long flag);
// Frees the path texts and the array of an order record of
// oab_qry_xform_mult_sort, and the record.
long oab_qry_pwr_order_free(oab_ty_pwr_order* order);
// Keeps a copy of text in the scratch collection until the next reset.
long oab_qry_scratch_keep(const char* text, const char** kept);
// Frees the scratch collections (at the end of a session).
long oab_qry_scratch_free();
