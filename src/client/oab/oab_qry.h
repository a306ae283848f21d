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
