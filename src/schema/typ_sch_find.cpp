// Look-ups of schema records by type id and name, and the record-level
// readers.
#include <cstring>

#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"

long typ_sch_find_handle(long type_id, const char* name, typ_sch_srec** out) {
  *out = nullptr;
  if (type_id != -1) {
    for (long i = 0; i < typ_sch_num_schs; ++i)
      if (typ_sch_schemas[i].type_id == type_id) {
        *out = &typ_sch_schemas[i];
        return 0;
      }
    return 0;
  }
  if (!name || !*name) return typ_alrt("typ_sch_find_handle", TYP_NO_TYPE, type_id, "<null>");
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (std::strcmp(typ_sch_schemas[i].info->name, name) == 0) {
      *out = &typ_sch_schemas[i];
      return 0;
    }
  return 0;
}

static long find_or_alert(const char* proc, long type_id, const char* name, typ_sch_srec** out) {
  if (long st = typ_sch_find_handle(type_id, name, out)) return st;
  if (!*out) return typ_alrt(proc, TYP_NO_TYPE, type_id, name && *name ? name : "<null>");
  return 0;
}

long typ_sch_find_finfo(long type_id, const char* name, typ_sch_srec** out, long* nfields,
                        typ_sch_frec** fields) {
  typ_sch_srec* s = nullptr;
  if (long st = find_or_alert("typ_sch_find_finfo", type_id, name, &s)) return st;
  if (out) *out = s;
  return typ_sch_get_finfo(s, nfields, fields);
}

long typ_sch_find_rinfo(long type_id, const char* name, typ_sch_srec** out, long* nrels,
                        typ_sch_rel_inst** rels) {
  typ_sch_srec* s = nullptr;
  if (long st = find_or_alert("typ_sch_find_rinfo", type_id, name, &s)) return st;
  if (out) *out = s;
  return typ_sch_get_rinfo(s, nrels, rels);
}

long typ_sch_get_finfo(typ_sch_srec* s, long* nfields, typ_sch_frec** fields) {
  if (nfields) *nfields = s->nfields;
  if (fields) *fields = s->fields;
  return 0;
}

long typ_sch_get_rinfo(typ_sch_srec* s, long* nrels, typ_sch_rel_inst** rels) {
  if (nrels) *nrels = s->nrels;
  if (rels) *rels = s->rels;
  return 0;
}

long typ_sch_info(typ_sch_srec* s, long* type_id, typ_sch_iblk** info, long* size, long* is_object,
                  long* nfields, typ_sch_frec** fields, long* entry_word) {
  if (type_id) *type_id = s->type_id;
  if (info) *info = s->info;
  if (is_object) *is_object = (s->flags & TYP_SCH_OBJECT) ? 1 : 0;
  if (nfields) *nfields = s->nfields;
  if (fields) *fields = s->fields;
  if (size || entry_word) {
    if (long st = cmn_typ_info(s->type_id, entry_word, nullptr, nullptr, size, nullptr, nullptr, nullptr,
                               nullptr))
      return st;
  }
  return 0;
}

long typ_sch_get(utl_ty_col* type_ids, long* count, typ_sch_srec*** array) {
  long n = typ_sch_num_schs;
  long nids = 0;
  if (type_ids) {
    if (long st = utl_col_num(type_ids, &nids)) return st;
    n = nids;
  }
  *count = 0;
  *array = nullptr;
  if (n == 0) return 0;
  const long tid = CMN_TYP_VOID_P;
  const long bytes = n * static_cast<long>(sizeof(typ_sch_srec*));
  void* block = nullptr;
  if (long st = utl_mem_alloc("typ_sch_get", 1, &tid, &bytes, &block)) return st;
  auto** out = static_cast<typ_sch_srec**>(block);
  if (!type_ids) {
    for (long i = 0; i < n; ++i) out[i] = &typ_sch_schemas[i];
    *count = n;
  } else {
    long found = 0;
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(type_ids, i, &e);
      out[i] = nullptr;
      if (!e) continue;
      typ_sch_find_handle(*static_cast<long*>(e), nullptr, &out[i]);
      if (out[i]) ++found;
    }
    *count = found;
  }
  *array = out;
  return 0;
}

using name_cmp = int (*)(const char*, const char*);

static long name_to_id(const char* type_name, const char* field_name, long* type_id, long* field_id,
                       bool ci) {
  if (!type_name) return 0;
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    bool same = ci ? loc_st_strcmpi(s->info->name, type_name) == 0
                   : std::strcmp(s->info->name, type_name) == 0;
    if (!same) continue;
    *type_id = s->type_id;
    if (field_name && s->nfields > 0) {
      for (long f = 0; f < s->nfields; ++f) {
        const char* fn = s->fields[f].name ? s->fields[f].name : "";
        bool fs = ci ? loc_st_strcmpi(fn, field_name) == 0 : std::strcmp(fn, field_name) == 0;
        if (fs) {
          if (field_id) *field_id = s->fields[f].spec_id;
          break;
        }
      }
    }
    return 0;
  }
  return 0;
}

long typ_sch_name_to_id(const char* type_name, const char* field_name, long* type_id, long* field_id) {
  return name_to_id(type_name, field_name, type_id, field_id, false);
}

long typ_sch_name_to_id_i(const char* type_name, const char* field_name, long* type_id,
                          long* field_id) {
  return name_to_id(type_name, field_name, type_id, field_id, true);
}

long typ_sch_id_to_name(long type_id, long field_id, const char** type_name, const char** field_name) {
  *type_name = nullptr;
  if (field_id != -1 && field_name) *field_name = nullptr;
  typ_sch_srec* s = nullptr;
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].type_id == type_id) {
      s = &typ_sch_schemas[i];
      break;
    }
  if (!s) return 0;
  *type_name = s->info->name;
  if (field_id == -1 || !field_name) return 0;
  long index = -1;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  for (long f = 0; f < s->nfields; ++f)
    if (s->fields[f].spec_id == index) {
      *field_name = s->fields[f].name;
      break;
    }
  return 0;
}

long typ_sch_get_field_info(long type_id, const char* field_name, long* index, long* data_type) {
  typ_sch_srec* s = nullptr;
  if (long st = find_or_alert("typ_sch_get_field_info", type_id, nullptr, &s)) return st;
  for (long f = 0; f < s->nfields; ++f)
    if (s->fields[f].name && field_name && loc_st_strcmp(s->fields[f].name, field_name) == 0) {
      if (index) *index = f;
      if (data_type) *data_type = s->fields[f].data_type;
      return 0;
    }
  return typ_alrt("typ_sch_get_field_info", TYP_NO_FIELD, field_name ? field_name : "",
                  cmn_typ_name(type_id) ? cmn_typ_name(type_id) : "");
}

long typ_sch_get_all_finfo(long type_id, long* count, void** fields) {
  typ_sch_frec* f = nullptr;
  long st = typ_sch_find_finfo(type_id, nullptr, nullptr, count, &f);
  if (fields) *fields = f;
  return st;
}
