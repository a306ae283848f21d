// Relation maps: per object type, the mappings from generic relation ids
// (-102 to 0) to the type's specific relation and the target type; relating
// and unrelating through them (in the database or inside a state); the
// relatives of an object and their ids.
#pragma once

#include "store/dbs_oid.h"

struct dbs_ty_lobj;
struct ost_ty_state;
struct utl_ty_col;

constexpr long OAB_REL_MAP_TYPE = 572;
constexpr long OAB_REL_GEN_MIN = -102;
constexpr long OAB_REL_GEN_MAX = 0;
constexpr long OAB_REL_BUILTIN_ROWS = 421;
constexpr long OAB_REL_OID_TYPE = 594;

struct oab_rel_node {
  long gen_id;
  long target_type;
  long sp_id;
  oab_rel_node* next;
};

long oab_rel_init();
long oab_rel_term();
long oab_rel_install_a_mapping(long type, long gen_id, long target_type, long sp_id, oab_rel_node* node);
long oab_rel_install_mapping_mult(const long (*rows)[4], long count);
oab_rel_node* oab_rel_find_map_by_objtype(long type);
long oab_rel_set_map_by_objtype(long type, oab_rel_node* head);
long oab_rel_map_gen_to_sp(long type, long gen_id, long target_type, long* sp_id);
long oab_rel_map_gen_all(long type, long gen_id, long* count, oab_rel_node** first);
long oab_rel_sp_ith(long count, oab_rel_node* first, long index, long* sp_id);

long oab_rel_relate(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long gen_id);
long oab_rel_unrelate(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long gen_id);
long oab_rel_relate_sp(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long sp_id);
long oab_rel_unrelate_sp(ost_ty_state* state, dbs_ty_lobj* object, dbs_ty_lobj* other, long sp_id);
long oab_rel_relate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* object, const obj_id* other, long gen_id);
long oab_rel_unrelate_id_byhndl(ost_ty_state* state, dbs_ty_lobj* object, const obj_id* other, long gen_id);
long oab_rel_relate_id_byid(ost_ty_state* state, const obj_id* object, const obj_id* other, long gen_id);
long oab_rel_unrelate_id_byid(ost_ty_state* state, const obj_id* object, const obj_id* other, long gen_id);

long oab_rel_get_relatives_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                              utl_ty_col** out);
long oab_rel_get_relatives_gen(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                               utl_ty_col** out);
long oab_rel_get_one_relative(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                              dbs_ty_lobj** out);
long oab_rel_get_one_relative_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                                 dbs_ty_lobj** out);
long oab_rel_get_1st_relative_sp(ost_ty_state* state, dbs_ty_lobj* object, long sp_id, long options,
                                 dbs_ty_lobj** out);
long oab_rel_get_one_rel_col(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                             utl_ty_col** out);
long oab_rel_get_merged_rel_col(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, long options,
                                utl_ty_col** out);
long oab_rel_release_relatives(ost_ty_state* state, utl_ty_col* cols);
long oab_rel_release_rel_col(ost_ty_state* state, utl_ty_col* col);
long oab_rel_release_one_relative(ost_ty_state* state, dbs_ty_lobj* object);
// Whether the objects are related through the generic relation (mapped with
// the two objects' types); a state refuses (0xE0005B).
long oab_rel_related(ost_ty_state* state, dbs_ty_lobj* object, long gen_id, dbs_ty_lobj* other, char* related);

// Ids of relatives: a negative relation id is generic (all its mappings),
// 0 or more a specific relation.
long oab_rel_get_rel_oid_gen(dbs_ty_lobj* object, long rel_id, long options, utl_ty_col** out);
long oab_rel_get_one_oid_gen(dbs_ty_lobj* object, long rel_id, long options, obj_id* out);
long oab_rel_get_rel_oid_byid_gen(obj_id* id, long gen_id, long options, utl_ty_col** out);
long oab_rel_get_one_oid_byid_gen(obj_id* id, long gen_id, long options, obj_id* out);
long oab_rel_get_one_oid_byid_sp(obj_id* id, long sp_id, long options, obj_id* out);
// The one related object meeting the target conditions (a store query
// description's type, conditions, count and join word).
long oab_rel_get_one_obj_w_cond(dbs_ty_lobj* object, long rel_id, long type, void* conds, long count, long join,
                                long* found, dbs_ty_lobj** out);
