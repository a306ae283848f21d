// Schema difference records: the sink that fills and stores them, their
// print forms and order, the report writer with its pending section
// heading, the names of database storage types and small upgrade helpers.
#pragma once

#include "orb_api.h"

#include <cstdio>

#include "schema/typ_rec.h"

struct utl_ty_col;
struct utl_ty_estr;

// Operation codes.
enum : long {
  TYP_DIFF_ADD_FIELD = 0,
  TYP_DIFF_DELETE_FIELD = 1,
  TYP_DIFF_MODIFY_FIELD = 2,
  TYP_DIFF_RENAME_FIELD = 3,
  TYP_DIFF_ADD_REL = 4,
  TYP_DIFF_DELETE_REL = 5,
  TYP_DIFF_MODIFY_REL = 6,
  TYP_DIFF_RENAME_REL = 7,
  TYP_DIFF_ADD_TYPE = 8,
  TYP_DIFF_DELETE_TYPE = 9,
  TYP_DIFF_MODIFY_TYPE = 10,
  TYP_DIFF_RECOMPILE_VIEW = 11,
  TYP_DIFF_SCHEMA = 12,
  TYP_DIFF_INDEXES = 13,
  TYP_DIFF_REL_SCHEMA = 14,
  TYP_DIFF_REL_KEPT = 16,
  TYP_DIFF_EXCL_ADD = 17,
  TYP_DIFF_EXCL_JOIN = 18,
  TYP_DIFF_EXCL_DROP = 19,
  TYP_DIFF_ATTRIBUTE = 20,
  TYP_DIFF_MODIFY_KEEP = 21,
};

constexpr unsigned long TYP_OPT_ALLOW_DROPS = 0x800000;

// Summary of one relation entry.
struct typ_sch_diff_rel_info {
  typ_sch_srec* target;
  char* name;
  long rel_type;
  long side;  // 'p' or 'f'
  char* inv_name;
  long gen_id;  // always -1
  char* comment;
  long spec_id;
  char* mtm_table;
  unsigned long flags;
};

// Difference record (type 702).
struct typ_sch_diff_rec {
  long op;
  long type_id;
  typ_sch_srec* schema;
  typ_sch_srec* old_schema;
  typ_sch_frec old_field;
  typ_sch_frec new_field;
  typ_sch_diff_rel_info rel;
  typ_sch_diff_rel_info new_rel;
  typ_sch_rrec* rel_rec;
  typ_sch_rrec* new_rel_rec;
  char droppable;
};

// Report output context, owned by the caller of a comparison.
struct typ_sch_diff_out {
  const char* file_name;
  FILE* stream;
  long reserved;
  utl_ty_estr* estr;
};

using typ_ty_add_diff_proc = long (*)(typ_sch_srec* old_schema, typ_sch_srec* new_schema, const void* first,
                                      const void* second, long op, utl_ty_col* list, unsigned long options);

ORB_API long typ_sch_add_diff(typ_sch_srec* old_schema, typ_sch_srec* new_schema, const void* first,
                              const void* second, long op, utl_ty_col* list, unsigned long options);
ORB_API long typ_sch_assign_rel_info(const typ_sch_rel_inst* entry, typ_sch_diff_rel_info* info);
ORB_API long typ_sch_print_diff(FILE* stream, long word, const void* record, long w1, long w2, long w3);
ORB_API long typ_sch_compare_diff(const void* a, const void* b);
// Clears every pointer of the list's records (schemas, relation records,
// names, defaults, comments), keeping their operations, type ids and
// numeric attributes: for a list that outlives the model it was made from.
ORB_API long typ_sch_diff_clear_refs(utl_ty_col* list);
ORB_API long typ_sch_pdiff(typ_sch_diff_out* out, const char* format, ...);
ORB_API long typ_sch_set_next_diff_type(const char* text);
ORB_API const char* typ_sch_dtype_name(long code);
ORB_API long typ_sch_is_custom_table(long type_id, char* custom);
ORB_API long typ_sch_adjust_view_rel_ptr();
