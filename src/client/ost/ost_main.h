// The object-state engine's start-up and stop, the operator table of
// traversal conditions, and the text dumps of states, entries, cached
// relations and traversal maps.
#pragma once

#include <cstdio>

#include "client/ost/ost_ty.h"
#include "orb_api.h"

ORB_API long ost_main_init();
ORB_API long ost_main_term();

// Option bit 1: dump the child states too.
ORB_API long ost_state_dump(FILE* file, long indent, const char* title, long options, ost_ty_state* state);
ORB_API long ost_state_dump_all(FILE* file, long indent, const char* title, long options);
ORB_API ost_ty_state* ost_state_get_dump();
ORB_API long ost_state_set_dump(ost_ty_state* state);

// One row of the operator table (codes 0 to 12 of the store's conditions).
struct ost_ty_op_info {
  const char* text;
  long text_value;
  long list_value;
};
constexpr long OST_NUM_OPS = 13;
extern const ost_ty_op_info op_info[OST_NUM_OPS];

ORB_API long ost_rel_op_expects_str(long op);
ORB_API long ost_rel_op_expects_col(long op);

struct utl_ty_col;
ORB_API long ost_rel_dump_trav(FILE* file, long indent, utl_ty_col* level_names, long nlevels,
                               const ost_ty_trav_level* levels, long root_type, long options);
ORB_API long ost_rel_dump_conds(FILE* file, long indent, long count, const ost_ty_trav_cond* conds, long type_id);
ORB_API long ost_rel_dump_order(FILE* file, long indent, long count, const ost_ty_trav_order* orders, long type_id);
// The type of each level into types (nlevels longs): a name from level_names
// (type 516 texts, null entries skipped) or by following relations.
ORB_API long ost_rel_trav_make_types(utl_ty_col* level_names, long nlevels, const ost_ty_trav_level* levels,
                                     long root_type, long* types);
ORB_API long ost_rel_build_trav_type(utl_ty_col* level_names, long nlevels, const ost_ty_trav_level* levels,
                                     long root_type, long index, long* type);
ORB_API long ost_rel_get_trav_type(long from_type, long rel, long* type);
