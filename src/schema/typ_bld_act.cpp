// Build actions of the schema compiler: object and subobject definitions,
// fields, binary-array fields, relations with their exclusive groups, and
// index members.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_fld.h"
#include "schema/typ_lex.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

// Exclusive groups declared in the current definition, and the {group,
// target} pairs used, with the type id they were built for.
struct group_decl {
  std::string name, type_field, objid_field;
};
std::vector<group_decl> g_groups;
std::vector<std::pair<std::string, std::string>> g_pairs;
long g_pairs_type = -1;
long g_current_type = -1;
std::string g_current_group;
unsigned long g_rflags = 0;

bool same_i(const char* a, const char* b) { return strcasecmp(a ? a : "", b ? b : "") == 0; }

long check_new_type(const char* proc, const char* name, long type_id, bool check_name, bool check_id) {
  if (!cmn_typ_is_valid_db_type(type_id)) {
    printf("%ld Invalid object type, object type out of range.\n", type_id);
    return 1;
  }
  if (check_name)
    if (long st = typ_sch_check_for_existing(name)) return st;
  if (check_id)
    if (long st = typ_sch_check_for_existing_type(type_id)) return st;
  (void)proc;
  return 0;
}

void begin_definition(long type_id) {
  g_current_type = type_id;
  g_pairs.clear();
  g_groups.clear();
  g_current_group.clear();
}

}  // namespace

long typ_bld_obj(const char* name, long type_id, const char* subject, unsigned long options,
                 const char* comment, typ_sch_srec** out) {
  if (options & TYP_BLD_TRACE) osl_print_mes("Processing object '%s'\n", name);
  if (long st = check_new_type("typ_bld_obj", name, type_id, true, true)) return st;
  typ_sch_srec* s = nullptr;
  // The attribute bits replace the default kind: the object bit goes with them.
  if (long st = typ_sch_define_obj_wattr(name, type_id, subject, comment, -1, -1,
                                         (options & TYP_BLD_CACHEOBJIDS) | TYP_SCH_OBJECT, &s))
    return st;
  typ_sch_set_changed(s);
  if (options & TYP_BLD_ALLOW_FLEX) {
    s->flags |= TYP_SCH_ALLOW_FLEX;
    typ_bld_flex_pending = 1;
  }
  begin_definition(type_id);
  *out = s;
  return 0;
}

long typ_bld_subobj(const char* name, long type_id, const char* subject, unsigned long options,
                    const char* comment, typ_sch_srec** out) {
  if (options & TYP_BLD_TRACE) osl_print_mes("Processing subobject '%s'\n", name);
  // The type id of a subobject is checked for reuse as an object's is.
  if (long st = check_new_type("typ_bld_subobj", name, type_id, true, true)) return st;
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_define_subobj(name, type_id, subject, comment, &s)) return st;
  typ_sch_set_changed(s);
  begin_definition(type_id);
  static const struct {
    const char* name;
    long gen;
  } kFields[] = {{"seq_num", 3}, {"subobj_to_obj", -1}, {"parent_type", -1}};
  for (const auto& f : kFields) {
    typ_sch_find_handle(type_id, nullptr, &s);
    // A size on a database type 0 column is dropped anyway: none is given.
    if (long st = typ_bld_field(typ_bld_con, s, f.name, CMN_TYP_LONG, 0, f.gen, -1, -1, -1, 1, 1, 0, nullptr,
                                nullptr, nullptr, 0))
      return st;
  }
  typ_sch_find_handle(type_id, nullptr, out);
  return 0;
}

long typ_bld_is_gen_used(typ_sch_srec* s, long gen_id, const char* name) {
  if (gen_id == -1) return 0;
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].gen_id == gen_id)
      return typ_alrt("typ_bld_is_gen_used", TYP_BLD_GEN_USED, s->fields[i].name, name, s->info->name);
  return 0;
}

long typ_bld_field(KAdpConnId*, typ_sch_srec* s, const char* name, long data_type, long db_type, long gen_id,
                   long array_size, long dec_precision, long dec_scale, char predefined, char mandatory,
                   char searchable, const char* def, const char* comment, const char* old_name,
                   unsigned long options) {
  static const char* const kProc = "typ_bld_field";
  for (long i = 0; i < s->nfields; ++i)
    if (same_i(s->fields[i].name, name)) return typ_alrt(kProc, TYP_BLD_DUP_FIELD, name, s->info->name);
  unsigned long flags = 0;
  const adp_db_dhead* header = adp_db_get_head_addr();
  char yes = 0;
  if (searchable && header && adp_db_is_header_flags_set(header, 1, &yes) == 0 && yes) flags |= 0x100;
  if (db_type == 10) {
    yes = 0;
    if (!((adp_main_server_type() & 1) != 0 && header && adp_db_is_header_flags_set(header, 16, &yes) == 0 && yes))
      db_type = 8;
  }
  if (db_type == 8 || db_type == 10) flags |= 0x80;
  static const unsigned long kMap[][2] = {{TYP_BLD_OPT_CHANGE_DATE, 0x400}, {TYP_BLD_OPT_CHANGE_FIELD, 0x200},
                                          {TYP_BLD_OPT_NO_CLIENT, 0x800},   {TYP_BLD_OPT_NO_SERVER, 0x1000},
                                          {TYP_BLD_OPT_ALLOW_NULL, 0x80},   {TYP_BLD_OPT_CURRENCY, 0x2000}};
  for (const auto& m : kMap)
    if (options & m[0]) flags |= m[1];
  if (db_type != 6 && db_type != 7 && array_size != -1) {
    printf("Warning: Ignoring ARRAY_SIZE for the field '%s' of type '%s'\n", name, s->info->name);
    array_size = -1;
  }
  if (db_type != 11 && (dec_precision != -1 || dec_scale != -1)) {
    printf("Warning: Ignoring DEC_PRECISION and DEC_SCALE for the field '%s' of type '%s'\n", name,
           s->info->name);
    dec_precision = dec_scale = -1;
  }
  if (long st = typ_bld_is_gen_used(s, gen_id, name)) return st;
  if ((db_type == 6 || db_type == 7) && array_size < 1)
    return typ_alrt(kProc, TYP_BLD_STR_LEN, name, s->info->name);
  if (mandatory) flags |= TYP_FLD_MANDATORY;
  typ_sch_frec d{};
  d.name = const_cast<char*>(name);
  d.flags = flags;
  d.array_size = array_size;
  d.dec_precision = dec_precision;
  d.dec_scale = dec_scale;
  d.data_type = data_type;
  d.db_type = db_type;
  d.gen_id = gen_id;
  d.spec_id = -1;
  d.def = const_cast<char*>(def);
  d.comment = const_cast<char*>(comment);
  d.old_name = const_cast<char*>(old_name);
  long st = predefined ? typ_sch_add_pfield(s, &d, nullptr) : typ_sch_add_ufield(s, &d, nullptr);
  return st ? 1 : 0;
}

long typ_bld_barray_field(typ_sch_srec* s, const char* name, long gen_id, const char* comment,
                          const char* old_name) {
  if (gen_id == -1) return typ_alrt("typ_bld_field", TYP_BLD_ARRAY_GEN, typ_bld_return_lineno());
  if (long st = typ_sch_add_barray_field(s, name, gen_id, 0, comment, old_name)) return st;
  typ_bld_array a{s->type_id, gen_id};
  return typ_bld_array_col ? utl_col_push(typ_bld_array_col, &a, nullptr) : 0;
}

long typ_bld_set_rflag(unsigned long bits) {
  g_rflags |= bits;
  return 0;
}

long typ_bld_reset_rflag() {
  g_rflags = 0;
  return 0;
}

long typ_define_exclusive_fields(const char* group, const char* type_field, const char* objid_field) {
  for (const group_decl& g : g_groups)
    if (same_i(g.name.c_str(), group) || same_i(g.type_field.c_str(), type_field) ||
        same_i(g.objid_field.c_str(), objid_field))
      return typ_alrt("typ_define_exclusive_fields", TYP_BLD_GROUP_SIDE, group);
  g_groups.push_back({group, type_field, objid_field});
  return 0;
}

long typ_bld_is_exclusive_group(const char* name) {
  for (const group_decl& g : g_groups)
    if (same_i(g.name.c_str(), name)) return 1;
  return 0;
}

long typ_reset_exclusive_fields() {
  g_groups.clear();
  return 0;
}

long typ_bld_set_exclusive_group(const char* name) {
  g_current_group = name ? name : "";
  return 0;
}

long typ_sch_validate_ex_rel_fields(typ_sch_srec* s, const char* objid_field, const char* type_field,
                                    const char* group) {
  static const char* const kProc = "typ_sch_validate_ex_rel_fields";
  for (long i = 0; i < s->nfields; ++i) {
    const typ_sch_frec& f = s->fields[i];
    if (same_i(f.name, objid_field) && strcmp(f.name, objid_field) != 0)
      return typ_alrt(kProc, TYP_BLD_GROUP_CASE, f.name, objid_field, group);
    if (strcmp(f.name, objid_field) == 0 && (f.db_type != 0 || f.data_type != CMN_TYP_LONG))
      return typ_alrt(kProc, TYP_BLD_GROUP_OBJID, f.name, group);
    if (strcmp(f.name, type_field) == 0 && ((f.db_type != 0 && f.db_type != 1) || f.data_type != CMN_TYP_LONG))
      return typ_alrt(kProc, TYP_BLD_GROUP_TYPE, f.name, group);
  }
  return 0;
}

long typ_bld_relation(typ_sch_srec* s, const char* name, long rel_type, const char* target, long gen_id,
                      const char* inverse, const char* comment, const char* old_name, unsigned long flags) {
  static const char* const kProc = "typ_bld_relation";
  flags |= g_rflags;
  if ((flags & TYP_REL_USER) && typ_bld_flex_pending) {
    const long tid = s->type_id;
    if (long st = typ_bld_flush_flex(tid)) return st;
    typ_sch_find_handle(tid, nullptr, &s);
  }
  long pos = -1;
  if (g_current_group.empty()) {
    long st = typ_sch_define_rel(s, name, rel_type, target, gen_id, &pos, inverse, 0, "", "", comment, old_name,
                                 flags, "");
    return st ? 1 : 0;
  }
  const char* group = g_current_group.c_str();
  if (g_current_group.size() >= 23) return typ_alrt(kProc, TYP_BLD_GROUP_LONG, group, s->info->name);
  if (rel_type != TYP_REL_MTO && rel_type != TYP_REL_OTOP) return typ_alrt(kProc, TYP_BLD_GROUP_SIDE, group);
  if (g_pairs_type != g_current_type) {
    g_pairs.clear();
    g_pairs_type = g_current_type;
  }
  for (const auto& p : g_pairs)
    if (p.first == g_current_group && p.second == (target ? target : ""))
      return typ_alrt(kProc, TYP_BLD_GROUP_TARGET, target, group);
  g_pairs.emplace_back(g_current_group, target ? target : "");
  std::string objid_field = "group2" + g_current_group;
  std::string type_field = "gr_type_" + g_current_group;
  for (const group_decl& g : g_groups)
    if (same_i(g.name.c_str(), group)) {
      objid_field = g.objid_field;
      type_field = g.type_field;
    }
  if (long st = typ_sch_validate_ex_rel_fields(s, objid_field.c_str(), type_field.c_str(), group)) return st;
  long st = typ_sch_define_rel(s, name, rel_type, target, gen_id, &pos, inverse, 1, objid_field.c_str(),
                               type_field.c_str(), comment, old_name, flags, group);
  return st ? 1 : 0;
}

long typ_bld_verify_field(typ_sch_srec* s, const char* name, utl_ty_col* members, long* found) {
  *found = 0;
  for (long i = 0; i < s->nfields; ++i)
    if (same_i(s->fields[i].name, name)) {
      *found = 1;
      return utl_col_push(members, name, nullptr);
    }
  return 0;
}

long typ_bld_verify_relation(typ_sch_srec* s, const char* name, utl_ty_col* members, long* position,
                             typ_sch_rel_inst** entry) {
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst* e = &s->rels[i];
    if (e->side != 'f') continue;
    typ_sch_rrec* r = e->rel;
    if (!r) typ_sch_find_temp_rel(e->rel_index, &r);
    // The foreign side of an MTO/OTM or OTOP/OTOF relation; a link table
    // has no column to index.
    if (r && r->type != TYP_REL_MTM && same_i(typ_sch_get_frel_name(r), name)) {
      if (long st = utl_col_push(members, name, nullptr)) return st;
      *position = i;
      *entry = e;
      return 0;
    }
  }
  return typ_alrt("typ_bld_verify_relation", TYP_BLD_IDX_REL, name);
}

const char* typ_sch_reltype_name(long type) {
  static const char* const kNames[] = {"OTM", "MTO", "OTOP", "OTOF", "MTM"};
  return type >= 1 && type <= 5 ? kNames[type - 1] : "UNKNOWN TYPE";
}

long typ_sch_get_exclusive_mark(const typ_sch_rrec* rel, const char* phys_name, const char** out) {
  if (rel && rel->excl_set && *rel->excl_set) {
    *out = rel->excl_set;
    return 0;
  }
  // The text after "group2"; a shorter name has none.
  *out = phys_name && strlen(phys_name) >= 7 ? phys_name + 6 : "";
  return 0;
}
