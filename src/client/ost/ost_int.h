// Helpers shared by the object-state engine's files.
#pragma once

#include "client/ost/ost_ty.h"

struct utl_ty_col;

// The element at index i of a collection of pointers (type 517), or null.
void* ost_ptr_ith(utl_ty_col* col, long i);
// The count of a collection (0 for null).
long ost_col_count(utl_ty_col* col);
// The object's id, or zero when it cannot be read.
obj_id ost_oid_of(dbs_ty_lobj* handle);
// True when the id holds a number (its second word).
inline bool ost_oid_has_number(const obj_id& id) { return id.num != 0; }
// Same type id (low 17 bits), number and third word.
bool ost_oid_same(const obj_id& a, const obj_id& b);
// The state's name for messages: "<null>" for an unnamed state.
const char* ost_state_label(const ost_ty_state* state);
// Writes a line to the state's connection's SQL log.
void ost_sql_log(ost_ty_state* state, const char* text);
void ost_sql_log_con(KAdpConnId* con, const char* text);
// The module's key counter: the next key, taken.
long ost_obj_take_key();
