// Build actions of views: the view definition, aliases, view fields, SQL
// view fields, joins and SQL text.
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_bld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

// A copy of text in the compile's temporary pool (the text itself when
// there is no pool).
const char* temp_copy(const char* text) {
  if (!text || !typ_bld_temp_pl) return text;
  void* p = nullptr;
  const long n = long(strlen(text)) + 1;
  if (utl_pl_alloc(typ_bld_temp_pl, n, &p) || !p) return text;
  memcpy(p, text, size_t(n));
  return static_cast<const char*>(p);
}

}  // namespace

long typ_bld_view(const char* name, long type_id, const char* subject, unsigned long options, const char* comment,
                  typ_sch_srec** out) {
  if (options & TYP_BLD_TRACE) osl_print_mes("Processing view '%s'\n", name);
  if (!(options & TYP_BLD_VIEW_REUSE_NAME))
    if (long st = typ_sch_check_for_existing(name)) return st;
  if (!cmn_typ_is_valid_db_type(type_id)) {
    printf("%ld Invalid object type, object type out of range.\n", type_id);
    return 1;
  }
  if (long st = typ_sch_check_for_existing_type(type_id)) return st;
  typ_sch_srec* v = nullptr;
  if (long st = typ_sch_define_struct(name, type_id, subject, comment, nullptr, &v)) return st;
  typ_sch_set_changed(v);
  *out = v;
  return 0;
}

long typ_bld_view_alias(typ_sch_srec* v, utl_ty_col* names, utl_ty_col* aliases) {
  return typ_sch_make_view_alias(v, names, aliases);
}

long typ_bld_alias(utl_ty_col* names, utl_ty_col* aliases, const char* type_name, const char* alias) {
  if (long st = utl_col_push(names, type_name, nullptr)) return st;
  return utl_col_push(aliases, alias, nullptr);
}

long typ_bld_vfield(typ_sch_srec* v, const char* name, char forward, long src_type, long src_field,
                    const char* src_type_name, const char* src_field_name, long gen_id, char predefined,
                    char mandatory, const char* alias, const char* comment) {
  unsigned long flags = predefined ? (mandatory ? 9 : 1) : (mandatory ? 12 : 4);
  if (long st = typ_bld_is_gen_used(v, gen_id, name)) return st;
  long pos = -1;
  long st = forward ? typ_sch_add_vfield(v, name, 1, -1, temp_copy(src_type_name), alias, -1,
                                         temp_copy(src_field_name), gen_id, flags, comment, &pos)
                    : typ_sch_add_vfield(v, name, 0, src_type, nullptr, alias, src_field, nullptr, gen_id, flags,
                                         comment, &pos);
  return st ? 1 : 0;
}

long typ_bld_svfield(typ_sch_srec* v, const char* name, long gen_id, const char* base_table,
                     const typ_sch_frec* desc) {
  if (long st = typ_bld_is_gen_used(v, gen_id, name)) return st;
  long pos = -1;
  // The object id of the base table is the one special view field.
  long st = typ_sch_add_svfield(v, name, gen_id == 3 ? 3 : 0, &pos, base_table, desc);
  return st ? 1 : 0;
}

long typ_bld_join(typ_sch_srec* v, long, utl_ty_col*, utl_ty_col*, const char* left_alias, const char* left_field,
                  const char* right_alias, const char* right_field, const char* comment, long option) {
  return typ_sch_define_join(v, temp_copy(left_alias), temp_copy(left_field), temp_copy(right_alias),
                             temp_copy(right_field), comment, option);
}

long typ_bld_process_sql(typ_sch_srec* v, const char* text) {
  typ_sch_define_sql(v, text);
  return 0;
}
