// Accessors of the finished model by schema index and by record, change
// stamp switch, saving and switching whole models, the view blocks of the
// schema cache file, build options and forwarders to the adapter.
#pragma once

#include "orb_api.h"

#include <cstdio>

#include "schema/typ_rec.h"

struct utl_ty_col;
struct utl_ty_pool;

// A saved model: its collections and name pool.
struct typ_sch_saved {
  utl_ty_col* schemas;
  utl_ty_col* relations;
  utl_ty_col* waiting;
  utl_ty_pool* names;
};

ORB_API long typ_sch_num_types();
ORB_API const char* typ_sch_get_name(long index);
ORB_API const char* typ_sch_get_description(long index);
ORB_API long typ_sch_get_type(long index);
ORB_API long typ_sch_is_flag_set(long index, unsigned long bits);
ORB_API long typ_sch_is_a_view(long index);
ORB_API long typ_sch_is_a_object(long index);
ORB_API const char* typ_sch_get_nameP(const typ_sch_srec* schema);
ORB_API long typ_sch_get_typeP(const typ_sch_srec* schema);
ORB_API long typ_sch_is_flag_setP(const typ_sch_srec* schema, unsigned long bits);
ORB_API long typ_sch_is_a_viewP(const typ_sch_srec* schema);

ORB_API char typ_sch_get_skip_timestamp();
ORB_API long typ_sch_set_skip_timestamp(char flag);

ORB_API long typ_sch_save_and_reset(typ_sch_saved** saved);
ORB_API long typ_sch_switch_schemas(typ_sch_saved* saved, long mode);
ORB_API long typ_sch_get_saved_schema(typ_sch_saved* saved, long* nschemas, typ_sch_srec** schemas,
                                      long* nrels, typ_sch_rrec** rels);
ORB_API long typ_sch_cache_joins(FILE* stream);

ORB_API long typ_sch_is_unicode_upgrade(char* flag);
ORB_API long typ_sch_is_unicode_cmdline_flag(char* flag);
ORB_API long typ_sch_is_lob_upgrade(char* flag);
ORB_API long typ_sch_set_init_once(char flag);
ORB_API long typ_sch_set_bld_options(unsigned long options);
ORB_API unsigned long typ_sch_get_bld_options();
ORB_API long typ_sch_set_comment_flag();
ORB_API long typ_sch_set_join_flag();
ORB_API const char* typ_sch_type_to_string(long value);
ORB_API long typ_sch_tbl_find(long type_id, const char** table);
