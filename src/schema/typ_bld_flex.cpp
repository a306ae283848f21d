// Flexible-attribute tables: the "fa_" table of an object that allows
// them, its relations to the object and to "flex_defn", and the stable
// type ids of such tables.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_bld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

char typ_bld_flex_pending = 0;
char typ_bld_has_flex = 0;

namespace {

// Flexible-attribute table names handed a type id since the compile
// started, with their ids.
std::map<std::string, long> g_flex_ids;

struct flex_field {
  const char* name;
  long data_type;
  long db_type;
  long gen_id;
  long size;
  char searchable;
  unsigned long options;
};

const flex_field kFlexFields[] = {
    {"objid", CMN_TYP_LONG, 0, 3, -1, 0, 0},
    {"attribute_name", CMN_TYP_CHAR_P, 7, -1, 80, 0, 0},
    {"attribute_value", CMN_TYP_CHAR_P, 7, -1, 1300, 1, TYP_BLD_OPT_ALLOW_NULL},
    {"attribute_datatype", CMN_TYP_LONG, 0, -1, -1, 0, 0},
    {"dev", CMN_TYP_LONG, 0, 5, -1, 0, TYP_BLD_OPT_ALLOW_NULL},
};

typ_sch_srec* by_id(long type_id) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  return s;
}

}  // namespace

long typ_bld_add_fa_table_to_schema(long type_id, unsigned long options, typ_sch_srec* owner) {
  const std::string x = owner->info->name;
  const std::string t = "fa_" + x;
  const long tid = type_id + TYP_FLEX_ID_BASE;
  if (options & TYP_BLD_TRACE) osl_print_mes("Processing object '%s'\n", t.c_str());
  if (long st = typ_sch_check_for_existing(t.c_str())) return st;
  // The table's type id is checked as any other.
  if (!cmn_typ_is_valid_db_type(tid)) {
    printf("%ld Invalid object type, object type out of range.\n", tid);
    return 1;
  }
  if (long st = typ_sch_check_for_existing_type(tid)) return st;
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_define_obj_wattr(t.c_str(), tid, "", "This is a temp Schema map build for flex attribute on the fly",
                                         -1, -1, TYP_BLD_CACHEOBJIDS | TYP_SCH_OBJECT, &s))
    return st;
  for (const flex_field& f : kFlexFields) {
    if (long st = typ_bld_field(typ_bld_con, by_id(tid), f.name, f.data_type, f.db_type, f.gen_id, f.size, -1, -1, 1,
                                1, f.searchable, nullptr, nullptr, nullptr, f.options))
      return st;
  }
  const std::string t2x = t + "2" + x, x2t = x + "2" + t;
  const std::string t2defn = t + "2flex_defn", defn2t = "flex_defn2" + t;
  long pos = -1;
  if (long st = typ_sch_define_rel(by_id(tid), t2x.c_str(), TYP_REL_MTO, x.c_str(), -1, &pos, x2t.c_str(), 0, "", "",
                                   "", "", 0, ""))
    return st;
  if (long st = typ_sch_define_rel(by_id(type_id), x2t.c_str(), TYP_REL_OTM, t.c_str(), -1, &pos, t2x.c_str(), 0, "",
                                   "", "", "", 0, ""))
    return st;
  if (long st = typ_sch_define_rel(by_id(tid), t2defn.c_str(), TYP_REL_MTO, "flex_defn", -1, &pos, defn2t.c_str(), 0,
                                   "", "", "", "", 0, ""))
    return st;
  // One unique index over the name and the owner.
  utl_ty_col* list = nullptr;
  utl_ty_col* members = nullptr;
  if (long st = utl_col_make("typ_bld_add_fa_table_to_schema", 517, 1, 1, 0, 0, &list)) return st;
  if (long st = utl_col_make("typ_bld_add_fa_table_to_schema", 516, 3, 3, 0, 0, &members)) return st;
  utl_col_push(list, &members, nullptr);
  utl_col_push(members, "name_unique", nullptr);
  utl_col_push(members, "attribute_name", nullptr);
  utl_col_push(members, t2x.c_str(), nullptr);
  utl_col_set_ext(members, 1);
  s = by_id(tid);
  typ_sch_uptr_set(s, list);
  s->flags |= TYP_SCH_FLEX_TABLE;
  typ_sch_set_changed(s);
  typ_sch_set_changed(by_id(type_id));
  typ_bld_has_flex = 1;
  return 0;
}

long typ_bld_flush_flex(long type_id) {
  if (!typ_bld_flex_pending) return 0;
  typ_bld_flex_pending = 0;
  typ_sch_srec* s = by_id(type_id);
  if (!s) return 0;
  return typ_bld_add_fa_table_to_schema(type_id, typ_bld_options, s);
}

long typ_bld_add_rel_flex_to_flex_defn() {
  typ_sch_srec* defn = nullptr;
  typ_sch_find_handle(-1, "flex_defn", &defn);
  if (!defn) {
    // The missing type is named on the stack under the printed title.
    typ_alrt("typ_bld_add_rel_flex_to_flex_defn", TYP_NO_TYPE, -1L, "flex_defn");
    osl_print_mes("%s: There is no flex_defn object defined \n", "typ_bld_add_rel_flex_to_flex_defn");
    cmn_alrt_print(stdout, 0, "Schema file error..");
    return -1;
  }
  const long defn_id = defn->type_id;
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    if (!(typ_sch_schemas[i].flags & TYP_SCH_FLEX_TABLE)) continue;
    const std::string t = typ_sch_schemas[i].info->name;
    const std::string inv = t + "2flex_defn", name = "flex_defn2" + t;
    defn = by_id(defn_id);
    bool present = false;
    for (long r = 0; r < defn->nrels && !present; ++r) {
      typ_sch_rrec* rec = defn->rels[r].rel;
      if (!rec) typ_sch_find_temp_rel(defn->rels[r].rel_index, &rec);
      if (rec && defn->rels[r].side == 'f' && inv == typ_sch_get_frel_name(rec)) present = true;
    }
    if (present) continue;
    long pos = -1;
    if (long st = typ_sch_define_rel(defn, name.c_str(), TYP_REL_OTM, t.c_str(), -1, &pos, inv.c_str(), 0, "", "", "",
                                     "", 0, ""))
      return st;
  }
  return 0;
}

long typ_bld_reset_flex_ids() {
  g_flex_ids.clear();
  return 0;
}

long typ_bld_get_flex_new_type_id(const char* name, long* type_id) {
  // Names handed out in this compile keep their ids; the saved model's
  // tables keep theirs.
  std::map<std::string, long>& known = g_flex_ids;
  const std::string key = name ? name : "";
  if (auto it = known.find(key); it != known.end()) {
    *type_id = it->second;
    return 0;
  }
  long nsaved = 0, nrels = 0;
  typ_sch_srec* saved = nullptr;
  typ_sch_rrec* rels = nullptr;
  if (typ_bld_saved_schema) typ_sch_get_saved_schema(typ_bld_saved_schema, &nsaved, &saved, &nrels, &rels);
  bool used[TYP_FLEX_MAX + 1] = {};
  for (long i = 0; i < nsaved; ++i) {
    const long slot = saved[i].type_id - TYP_FLEX_ID_BASE;
    if (!(saved[i].flags & TYP_SCH_ALLOW_FLEX) && !(saved[i].flags & TYP_SCH_FLEX_TABLE)) continue;
    if (key == saved[i].info->name) {
      known[key] = saved[i].type_id;
      *type_id = saved[i].type_id;
      return 0;
    }
    if (slot >= 1 && slot <= TYP_FLEX_MAX) used[slot] = true;
  }
  for (const auto& k : known)
    if (k.second - TYP_FLEX_ID_BASE >= 1 && k.second - TYP_FLEX_ID_BASE <= TYP_FLEX_MAX)
      used[k.second - TYP_FLEX_ID_BASE] = true;
  for (long slot = 1; slot <= TYP_FLEX_MAX; ++slot)
    if (!used[slot]) {
      known[key] = TYP_FLEX_ID_BASE + slot;
      *type_id = TYP_FLEX_ID_BASE + slot;
      return 0;
    }
  osl_print_mes("%s: maximum flex ids are exceed the the limit %d \n", "typ_bld_get_flex_new_type_id",
                int(TYP_FLEX_MAX));
  cmn_alrt_print(stdout, 0, "Internal error..");
  *type_id = -1;
  return -1;
}
