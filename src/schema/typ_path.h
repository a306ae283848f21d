// Field paths ("relation:relation:field", a relation optionally followed by
// "(count)") and the traversal marks that marking walks leave on the model
// for the SQL generator.
#pragma once

#include "orb_api.h"

#include "schema/typ_rec.h"

// Entry-flag and traversal-word bits of marking walks.
constexpr unsigned long TYP_MARK_TRAVERSED = 0x80000000;
constexpr unsigned long TYP_MARK_COUNT = 0x40000000;       // count in bits 0-7
constexpr unsigned long TYP_MARK_PREV_COUNT = 0x20000000;  // previous count in bits 8-15
constexpr unsigned long TYP_TRAV_RECURSIVE = 0x1000000;    // number in bits 0-7, repeats in 8-15
constexpr unsigned long TYP_TRAV_PREV = 0x2000000;

// Longest step: a relation name of 64 characters with a count in parentheses.
constexpr long TYP_PATH_STEP_MAX = TYP_NAME_MAX + 24;

ORB_API long typ_sch_field_path_walk(typ_sch_srec* schema, const char* path, long mark, long recursive,
                                     typ_sch_srec** final_schema, typ_sch_frec** field, long* count_flag,
                                     long* count, long* recursion_flag, unsigned long* recursion_word);
ORB_API long typ_sch_traverse_rel(typ_sch_srec* schema, const char* step, long mark, long recursive,
                                  typ_sch_srec** related, long* count_flag, long* count, long* recursion_flag,
                                  unsigned long* recursion_word);
ORB_API long typ_sch_field_path_walk_new(typ_sch_srec* schema, const char* path, long mark, long recursive,
                                         typ_sch_srec** final_schema, typ_sch_frec** field, long* count_flag,
                                         long* count, long* recursion_flag, unsigned long* recursion_word,
                                         const char* rel_name);
ORB_API long typ_sch_field_path_mark(typ_sch_srec* schema, const char* path);
ORB_API long typ_sch_field_path_info_get(long type_id, const char* path, long* out_type_id, long* field_id,
                                         long* data_type);
ORB_API long typ_sch_clear_recursive_rel(typ_sch_srec* schema, const char* rel_name, typ_sch_srec** related);
ORB_API long typ_sch_clear_recur_mark(typ_sch_srec* schema, const char* path);
ORB_API long typ_sch_clear_marks(typ_sch_srec* schema, long ignored);
ORB_API long typ_sch_mark_visited_table(typ_sch_srec* schema, long ignored);
