// The double's schema loading from its small dictionary, the type cache and
// the schema writing calls.
#include <cstdio>
#include <string>

#include "adapter/adp_sch_load.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_store.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

using adp_double::record;
using adp_store::st;

namespace {

std::string num(long n) { return std::to_string(n); }

typ_sch_srec* schema_of(long type_id) {
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].type_id == type_id) return &typ_sch_schemas[i];
  return nullptr;
}

long define_schema(long type_id, typ_sch_srec** out) {
  auto it = st().type_cache.find(type_id);
  if (it == st().type_cache.end()) return 1;
  long nf = 0, nr = 0;
  for (const auto& f : st().fields) nf += f.type_id == type_id;
  for (const auto& r : st().rels) nr += r.type_id == type_id;
  long flags = it->second.first;
  const char* name = it->second.second.c_str();
  if (flags & 2) {
    if (long s = typ_sch_define_object(name, type_id, "", "", nf, nr, out)) return s;
    (*out)->flags |= static_cast<unsigned long>(flags);
    return 0;
  }
  if (flags & 8) return typ_sch_define_subobj(name, type_id, "", "", out);
  if (flags & 4) return typ_sch_define_structure(name, type_id, "", "", nullptr, nf, nr, out);
  return 1;
}

}  // namespace

long adp_sch_alloc() {
  st().type_cache.clear();
  return record("adp_sch_alloc", {});
}

long adp_sch_types_clear() {
  st().type_cache.clear();
  typ_sch_clear();
  return record("adp_sch_types_clear", {});
}

long adp_sch_type_insert(long type_id, long flags, const char* name) {
  st().type_cache[type_id] = {flags, name ? name : ""};
  return record("adp_sch_type_insert", {num(type_id), num(flags), name ? name : "null"});
}

long adp_sch_types_init(KAdpConnId*, FILE* stream) {
  if (long s = record("adp_sch_types_init", {stream ? "stream" : "null"})) return s;
  st().type_cache.clear();
  typ_sch_clear();
  if (stream) std::fputs("{\n", stream);
  for (const auto& t : st().types) {
    st().type_cache[t.type_id] = {t.flags, t.name};
    if (stream) std::fprintf(stream, "(%ld,%ld,%s)\n", t.type_id, t.flags, t.name.c_str());
  }
  if (stream) std::fputs("}\n", stream);
  return 0;
}

long adp_sch_read_all(KAdpConnId*, FILE* stream) {
  if (long s = record("adp_sch_read_all", {stream ? "stream" : "null"})) return s;
  if (stream) std::fputs("{\n", stream);
  long current = -1;
  typ_sch_srec* s = nullptr;
  for (const auto& f : st().fields) {
    if (f.type_id != current) {
      current = f.type_id;
      if (long e = define_schema(current, &s)) return e;
    }
    long pos = -1;
    if (long e = typ_sch_fadd(s, f.name.c_str(), f.cmn_type, f.db_type, f.gen_id, -1,
                              static_cast<unsigned long>(f.flags), f.array_size, f.precision, f.scale, 0, 0,
                              f.def.empty() ? nullptr : f.def.c_str(), "", &pos))
      return e;
    if (stream) {
      std::fprintf(stream, "(%s,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", f.name.c_str(), f.cmn_type, f.db_type,
                   f.array_size, f.precision, f.scale, f.flags, f.gen_id, f.spec_id, f.type_id);
      if (!f.def.empty())
        std::fprintf(stream, ",%s)\n", f.def.c_str());
      else
        std::fputs(")\n", stream);
    }
  }
  if (stream) std::fputs("}\n{\n", stream);
  for (const auto& r : st().rels) {
    typ_sch_srec* rs = schema_of(r.type_id);
    if (!rs) return 1;
    long pos = -1;
    if (long e = typ_sch_define_rel(rs, r.name.c_str(), r.rel_type, r.target.c_str(), r.gen_id, &pos,
                                    r.inverse.c_str(), r.rel_flags, r.phys_name.c_str(), r.focus_field.c_str(), "",
                                    "", static_cast<unsigned long>(r.flags), r.excl_set.c_str()))
      return e;
    if (stream)
      std::fprintf(stream, "(%s,%ld,%s,%ld,%ld,%s,%ld,%s,%s,%ld,%ld,%s)\n", r.name.c_str(), r.rel_type,
                   r.target.c_str(), r.gen_id, r.spec_id, r.inverse.c_str(), r.rel_flags, r.phys_name.c_str(),
                   r.focus_field.c_str(), r.flags, r.type_id, r.excl_set.c_str());
  }
  if (stream) std::fputs("}\n", stream);
  if (long e = typ_sch_rel_check()) return e;
  return typ_sch_optimize();
}

long adp_sch_map_names(KAdpConnId*) { return record("adp_sch_map_names", {}); }

long adp_sch_type_info_get(long type_id, long* flags, const char** name, typ_sch_srec** schema) {
  auto it = st().type_cache.find(type_id);
  if (it == st().type_cache.end()) {
    cmn_alrt_push(nullptr, "adp_sch_type_info_get", 0x600006, 1, type_id);
    return 0x600006;
  }
  *flags = it->second.first;
  *name = it->second.second.c_str();
  *schema = schema_of(type_id);
  return 0;
}

long adp_sch_types_sch_init() { return record("adp_sch_types_sch_init", {}); }

long adp_sch_find_fld_rel_cnt(utl_ty_col* counts, long type_id, long* nfields, long* nrels) {
  *nfields = 0;
  *nrels = 0;
  long n = 0;
  utl_col_num(counts, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(counts, i, &e);
    const auto* rec = static_cast<const long*>(e);
    if (rec[0] == type_id) {
      *nfields = rec[1];
      *nrels = rec[2];
    }
  }
  return 0;
}

long adp_sch_shandle_find(long type_id, typ_sch_srec** schema) {
  typ_sch_srec* s = schema_of(type_id);
  if (!s) {
    cmn_alrt_push(nullptr, "adp_sch_shandle_find", 0x600006, 1, type_id);
    return 0x600006;
  }
  *schema = s;
  return 0;
}

long adp_sch_write(KAdpConnId*, typ_sch_srec* schema, char with_rels, char* out) {
  long s = record("adp_sch_write", {num(schema ? schema->type_id : -1), num(with_rels)});
  if (out) *out = 0;
  return s;
}
long adp_sch_rel_create(KAdpConnId*, typ_sch_rrec* rel) {
  return record("adp_sch_rel_create", {rel && rel->pname ? rel->pname : "null"});
}
long adp_sch_delete_type(KAdpConnId*, long type_id, const char* name) {
  return record("adp_sch_delete_type", {num(type_id), name ? name : "null"});
}
long adp_sch_delete_view(KAdpConnId*, long type_id, const char* name) {
  return record("adp_sch_delete_view", {num(type_id), name ? name : "null"});
}
long adp_ind_create(KAdpConnId*, typ_sch_srec* schema) {
  return record("adp_ind_create", {num(schema ? schema->type_id : -1)});
}
long adp_ind_create_declared(KAdpConnId*, typ_sch_srec* schema, FILE* stream, long options) {
  return record("adp_ind_create_declared",
                {num(schema ? schema->type_id : -1), std::string(stream ? "stream" : "-") + "/" + num(options)});
}

// Statements and views of the schema writer.
#include "adapter/adp_sql.h"
#include "core/utl/utl_estr.h"

long adp_sql_create(KAdpConnId*, void** statement) {
  static int batch;
  *statement = &batch;
  return record("adp_sql_create", {});
}
long adp_sql_append(KAdpConnId*, void*, const char* text) { return record("adp_sql_append", {text ? text : "null"}); }
long adp_sql_execute(KAdpConnId*, void*) { return record("adp_sql_execute", {}); }
long adp_sql_result() { return record("adp_sql_result", {}); }
long adp_sql_free(KAdpConnId*, void*) { return record("adp_sql_free", {}); }
long adp_sch_del_view_info(KAdpConnId*) { return record("adp_sch_del_view_info", {}); }
long adp_sch_drop_view(KAdpConnId*, typ_sch_srec* view) {
  long s = record("adp_sch_drop_view", {num(view->type_id)});
  if (s) cmn_alrt_push(nullptr, "adp_sch_drop_view", 0x600029, 1, "no such view");
  return s;
}
long adp_sch_view_def(KAdpConnId*, typ_sch_srec* view, utl_ty_estr** text) {
  std::string sql = "CREATE VIEW v" + num(view->type_id);
  if (long s = record("adp_sch_view_def", {num(view->type_id)})) return s;
  return utl_estr_create("adp_sch_view_def", sql.c_str(), 64, 64, text);
}
long adp_usr_view_grant(KAdpConnId*, typ_sch_srec* view) { return record("adp_usr_view_grant", {num(view->type_id)}); }
