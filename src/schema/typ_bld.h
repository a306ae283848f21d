// The schema compiler: compile state, the build actions run by the grammar
// when a definition, field, relation, index, view field or join is
// complete, exclusive relation groups, flexible-attribute tables and the
// remembered schema revisions.
#pragma once

#include "orb_api.h"

#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_col;
struct utl_ty_pool;
struct typ_sch_saved;

// Compile option bits.
constexpr unsigned long TYP_BLD_UPGRADE = 1;
constexpr unsigned long TYP_BLD_VIEW_REUSE_NAME = 32;
constexpr unsigned long TYP_BLD_WRITE_REVS = 128;
constexpr unsigned long TYP_BLD_TRACE = 0x400;
constexpr unsigned long TYP_BLD_CACHEOBJIDS = 0x80000;
constexpr unsigned long TYP_BLD_ALLOW_FLEX = 0x200000;

// Field option bits of the schema language.
constexpr unsigned long TYP_BLD_OPT_CHANGE_DATE = 1;
constexpr unsigned long TYP_BLD_OPT_CHANGE_FIELD = 2;
constexpr unsigned long TYP_BLD_OPT_NO_CLIENT = 4;
constexpr unsigned long TYP_BLD_OPT_NO_SERVER = 8;
constexpr unsigned long TYP_BLD_OPT_ALLOW_NULL = 16;
constexpr unsigned long TYP_BLD_OPT_CURRENCY = 32;

// Schema flags of flexible-attribute owners and tables.
constexpr unsigned long TYP_SCH_ALLOW_FLEX = 0x200000;
constexpr unsigned long TYP_SCH_FLEX_TABLE = 0x400000;
constexpr long TYP_FLEX_ID_BASE = 100000;
constexpr long TYP_FLEX_MAX = 1024;

// Binary-array list entry (record type 597).
struct typ_bld_array {
  long type_id;
  long gen_id;
};
constexpr long TYP_TY_BLD_ARRAY = 597;

// Compile state.
extern unsigned long typ_bld_options;
extern utl_ty_col* typ_bld_array_col;
extern utl_ty_pool* typ_bld_temp_pl;
extern typ_sch_saved* typ_bld_saved_schema;
extern KAdpConnId* typ_bld_con;

ORB_API long typ_bld_init();
ORB_API long typ_bld_remember_schema_rev(long revision);
ORB_API long typ_bld_remember_cust_rev(const char* text);
// text receives up to 256 characters and the zero.
ORB_API long typ_bld_get_saved_schema_rev(long* revision, char* text, long reset);
ORB_API long typ_bld_get_read_sch_rev(long* revision);

// Definitions. The record pointer stays valid until the next type is defined.
long typ_bld_obj(const char* name, long type_id, const char* subject, unsigned long options,
                 const char* comment, typ_sch_srec** out);
long typ_bld_subobj(const char* name, long type_id, const char* subject, unsigned long options,
                    const char* comment, typ_sch_srec** out);
long typ_bld_field(KAdpConnId* con, typ_sch_srec* schema, const char* name, long data_type, long db_type,
                   long gen_id, long array_size, long dec_precision, long dec_scale, char predefined,
                   char mandatory, char searchable, const char* def, const char* comment,
                   const char* old_name, unsigned long options);
// A binary-array field: needs its generic id; listed for table creation.
long typ_bld_barray_field(typ_sch_srec* schema, const char* name, long gen_id, const char* comment,
                          const char* old_name);
long typ_bld_is_gen_used(typ_sch_srec* schema, long gen_id, const char* name);
long typ_bld_relation(typ_sch_srec* schema, const char* name, long rel_type, const char* target, long gen_id,
                      const char* inverse, const char* comment, const char* old_name, unsigned long flags);
long typ_bld_set_rflag(unsigned long bits);
long typ_bld_reset_rflag();

// Exclusive groups of the current definition.
long typ_define_exclusive_fields(const char* group, const char* type_field, const char* objid_field);
long typ_bld_is_exclusive_group(const char* name);
long typ_reset_exclusive_fields();
// The current group ("" for none).
long typ_bld_set_exclusive_group(const char* name);
long typ_sch_validate_ex_rel_fields(typ_sch_srec* schema, const char* objid_field, const char* type_field,
                                    const char* group);

// Index members.
long typ_bld_verify_field(typ_sch_srec* schema, const char* name, utl_ty_col* members, long* found);
long typ_bld_verify_relation(typ_sch_srec* schema, const char* name, utl_ty_col* members, long* position,
                             typ_sch_rel_inst** entry);

// Views.
long typ_bld_view(const char* name, long type_id, const char* subject, unsigned long options,
                  const char* comment, typ_sch_srec** out);
long typ_bld_view_alias(typ_sch_srec* view, utl_ty_col* names, utl_ty_col* aliases);
long typ_bld_alias(utl_ty_col* names, utl_ty_col* aliases, const char* type_name, const char* alias);
// forward: the source is named (src_type_name, src_field_name), else given
// by ids (src_type, src_field).
long typ_bld_vfield(typ_sch_srec* view, const char* name, char forward, long src_type, long src_field,
                    const char* src_type_name, const char* src_field_name, long gen_id, char predefined,
                    char mandatory, const char* alias, const char* comment);
long typ_bld_svfield(typ_sch_srec* view, const char* name, long gen_id, const char* base_table,
                     const typ_sch_frec* desc);
long typ_bld_join(typ_sch_srec* view, long alias_count, utl_ty_col* names, utl_ty_col* aliases,
                  const char* left_alias, const char* left_field, const char* right_alias,
                  const char* right_field, const char* comment, long option);
long typ_bld_process_sql(typ_sch_srec* view, const char* text);

// Flexible-attribute tables.
long typ_bld_add_fa_table_to_schema(long type_id, unsigned long options, typ_sch_srec* schema);
long typ_bld_add_rel_flex_to_flex_defn();
ORB_API long typ_bld_get_flex_new_type_id(const char* name, long* type_id);
// Forgets the ids handed out so far (each compile starts afresh from the
// saved model).
long typ_bld_reset_flex_ids();
// Pending table of the current definition, and whether the schema has any.
extern char typ_bld_flex_pending;
extern char typ_bld_has_flex;
// Adds the pending table of the definition with type id `type_id`, if any.
long typ_bld_flush_flex(long type_id);

// Binary-array tables of the list, in order; the first failure stops.
ORB_API long typ_bld_write_arrays(KAdpConnId* con, utl_ty_col* list);

ORB_API const char* typ_sch_reltype_name(long type);
ORB_API long typ_sch_get_exclusive_mark(const typ_sch_rrec* rel, const char* phys_name, const char** out);

// Parses the scanner's input (0 accepted, 1 not).
ORB_API int ddparse();
ORB_API int dderror(const char* text);
// Resets the parser's state for a new compile.
void typ_bld_parse_reset();

// The compile up to the new model (steps shared by both modes): with
// TYP_BLD_UPGRADE the loaded model is saved first (typ_bld_saved_schema).
// On failure the saved model is current again and the status returned.
ORB_API long typ_bld_compile_model(KAdpConnId* con, const char* file_name, unsigned long options);
// Switches back to the saved model (direct mode: clears the model) and
// frees the binary-array list; returns status.
long typ_bld_cleanup(long status);
// Frees the saved model, keeping the current one.
long typ_bld_discard_saved();
