// Client interface: traversal-map queries.
#pragma once

#include "client/cpi_ty.h"
#include "orb_api.h"

// Sets count levels to their defaults (names null, parent -1, kind 4, no
// conditions, no orders, result entry null); the flag byte is left alone.
ORB_API long cpi_qry_trav_map_init(long count, cpi_ty_trav_map* maps);
ORB_API long cpi_qry_traverse_map(long con_id, long state, const cpi_ty_objid* root_objid,
                                  long count, cpi_ty_trav_map* maps, long option,
                                  cpi_ty_qry_result** out_result);
ORB_API long cpi_qry_traverse_map_cached(long con_id, long state, void* root_object, long count,
                                         cpi_ty_trav_map* maps, long option,
                                         cpi_ty_qry_result** out_result);
ORB_API long cpi_qry_get_result(cpi_ty_qry_result* result, long level, long reserved,
                                long* out_count, void*** out_objects);
ORB_API long cpi_qry_free_results(cpi_ty_qry_result* result);

using cpi_ty_obj_proc = long (*)(void* object, long level, long index, void* obj_args,
                                 long* stop);
using cpi_ty_field_proc = long (*)(void* object, long level, long index, void* field_arg,
                                   const char* field_name, void* value, long value_type,
                                   long* stop);
ORB_API long cpi_qry_object_apply(cpi_ty_qry_result* result, cpi_ty_level_entry* level_entry,
                                  void* user_arg, long apply_type, cpi_ty_obj_proc obj_proc,
                                  void* obj_args, cpi_ty_field_proc field_proc, void* field_arg);
ORB_API long cpi_qry_field_apply(void* object, void* user_arg, cpi_ty_field_proc field_proc,
                                 void* field_arg);
