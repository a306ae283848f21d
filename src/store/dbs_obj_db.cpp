// Local objects: the database operations, the ordering by ids, printing,
// copying and comparing.
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_obj.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_sch.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_ids.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_obj_int.h"

namespace {

// Writes the number into the object-id field when the schema has one.
void set_id_field(dbs_ty_lobj* o, const obj_id& id) {
  long index = -1;
  typ_ty_find_spec_id(o->schema->info ? o->schema->info->fmap : nullptr, 3, &index);
  if (index >= 0) o->slots[index].l = id.num;
}

long insert(KAdpConnId* con, obj_id* id, dbs_ty_lobj* o, bool wrap) {
  if (wrap) {
    if (long st = adp_trn_begin(con)) return st;
  }
  set_id_field(o, *id);
  if (long st = adp_obj_create(con, id, o)) {
    // The transaction begun here does not outlive the failed insert.
    if (wrap) adp_trn_rollback(con);
    return st;
  }
  if (wrap) {
    if (long st = adp_trn_commit(con)) return st;
  }
  o->flags |= DBS_OBJ_PERM;
  return 0;
}

}  // namespace

long dbs_obj_create(KAdpConnId* con, dbs_ty_lobj* o, obj_id* out) {
  if (!o) return dbs_alrt("dbs_obj_create", DBS_NULL_OBJECT);
  if (long st = dbs_obj_chk_lobj(o)) return st;
  obj_id id{};
  if (long st = dbs_obj_id_create(con, o, &id)) return st;
  if (long st = insert(con, &id, o, true)) return st;
  if (out) *out = id;
  return 0;
}

long dbs_obj_create_with_id(KAdpConnId* con, obj_id* id, dbs_ty_lobj* o, char wrap) {
  if (!o) return dbs_alrt("dbs_obj_create_with_id", DBS_NULL_OBJECT);
  if (long st = dbs_obj_chk_lobj(o)) return st;
  return insert(con, id, o, wrap == 1);
}

long dbs_obj_create_subobject(KAdpConnId* con, obj_id* parent, dbs_ty_lobj* o) {
  if (!o) return dbs_alrt("dbs_obj_create_subobject", DBS_NULL_OBJECT);
  if (long st = dbs_obj_chk_lobj(o)) return st;
  if (o->schema->nfields < 3) return dbs_alrt("dbs_obj_create_subobject", DBS_BAD_LOBJ, reinterpret_cast<long>(o));
  o->slots[1].l = parent->num;
  o->slots[2].l = parent->type;
  long sub = 0;
  if (long st = adp_obj_subnumber(con, &sub)) return st;
  o->slots[0].l = sub;
  obj_id id{};
  dbs_obj_oid_get(o, &id);
  if (long st = adp_obj_create(con, &id, o)) return st;
  o->flags |= DBS_OBJ_PERM;
  return 0;
}

long dbs_obj_get(KAdpConnId* con, obj_id* id, long option, dbs_ty_lobj** object) {
  long type = id->type & DBS_OID_TYPE_MASK;
  if (long st = dbs_obj_chk_type(type)) return st;
  bool made = false;
  if (!*object) {
    if (long st = dbs_obj_make(nullptr, type, object)) return st;
    made = true;
  }
  if (long st = adp_obj_get(con, type, id->num, option, *object)) {
    if (made) {
      dbs_obj_free_local("dbs_obj_get", *object);
      *object = nullptr;
    }
    return st;
  }
  (*object)->flags |= DBS_OBJ_PERM;
  return 0;
}

long dbs_obj_put(KAdpConnId* con, dbs_ty_lobj* o) { return dbs_obj_put_options(con, o, 0); }

long dbs_obj_incr_field(KAdpConnId* con, long type_id, const char* key, const char* key_column, long number,
                        const char* field, long* out) {
  return adp_obj_incr_field(con, type_id, key, key_column, number, field, out);
}

long dbs_obj_not_unique_fields(long* type_id, const char** fields) {
  return adp_obj_not_unique_fields(type_id, fields);
}

long dbs_obj_get_multi_fk_cols_sql() { return adp_obj_get_multi_fk_cols_sql(); }

long dbs_obj_put_options(KAdpConnId* con, dbs_ty_lobj* o, long options) {
  if (!o) return dbs_alrt("dbs_obj_put_options", DBS_NULL_OBJECT);
  if (long st = dbs_obj_chk_lobj(o)) return st;
  return adp_obj_put_options(con, o, options);
}

namespace {
long delete_it(KAdpConnId* con, obj_id* id, long force) {
  if (long st = adp_obj_valid_number(id->type & DBS_OID_TYPE_MASK, 0)) return st;
  return adp_obj_delete(con, id, force);
}
}  // namespace

long dbs_obj_delete(KAdpConnId* con, obj_id* id) { return delete_it(con, id, 0); }
long dbs_obj_delete_force(KAdpConnId* con, obj_id* id) { return delete_it(con, id, 1); }

long dbs_obj_exist(KAdpConnId* con, obj_id* id, char* out) {
  long type = id->type & DBS_OID_TYPE_MASK;
  if (long st = dbs_obj_chk_type(type)) return st;
  return adp_obj_exist(con, type, id->num, 0, out);
}

long dbs_obj_order_by_id(utl_ty_col* ids, long first, long last, utl_ty_col* objects) {
  for (long i = first; i <= last; ++i) {
    long pos = i - first;
    void* e = nullptr;
    if (utl_col_ith(ids, i, &e) != 0 || !e) return dbs_alrt("dbs_obj_order_by_id", DBS_BAD_ID_COL, reinterpret_cast<long>(ids));
    const auto* want = static_cast<const obj_id*>(e);
    long n = 0;
    utl_col_num(objects, &n);
    long found = -1;
    for (long j = pos; j < n && found < 0; ++j) {
      void* oe = nullptr;
      utl_col_ith(objects, j, &oe);
      auto* o = *static_cast<dbs_ty_lobj**>(oe);
      if (o && dbs_obj_id_field(o) == want->num) found = j;
    }
    if (found < 0) {
      dbs_ty_lobj* none = nullptr;
      if (long st = utl_col_insert_expand(objects, &none, pos, nullptr)) return st;
    } else if (found != pos) {
      if (long st = utl_col_swap(objects, pos, found)) return st;
    }
  }
  long want = last - first + 1, n = 0;
  utl_col_num(objects, &n);
  while (n > want) {
    void* oe = nullptr;
    utl_col_ith(objects, n - 1, &oe);
    dbs_obj_free_local("dbs_obj_order_by_id", *static_cast<dbs_ty_lobj**>(oe));
    utl_col_pop(objects);
    --n;
  }
  return 0;
}

long dbs_obj_print(dbs_ty_lobj* o, long options, FILE* stream) {
  if (!o) return dbs_alrt("dbs_obj_print", DBS_NULL_OBJECT);
  FILE* out = stream ? stream : stdout;
  unsigned long mask = ((options & 1) ? TYP_FLD_PREDEFINED : 0) | ((options & 2) ? TYP_FLD_USER : 0);
  for (long i = 0; i < o->schema->nfields; ++i) {
    const typ_sch_frec& f = o->schema->fields[i];
    if (!(f.flags & mask)) continue;
    std::fprintf(out, " %s (%s)", f.name, (o->dirty[i] & 1) ? "DIRTY" : "CLEAN");
    cmn_typ_print_val(out, 2, dbs_fld_element(o, i), f.data_type, 0);
  }
  std::fputs("\n", out);
  return 0;
}

long dbs_obj_oid_print_val(FILE* stream, long indent, const void* e, long type_id, long) {
  FILE* out = stream ? stream : stdout;
  const auto* id = static_cast<const obj_id*>(e);
  int ind = static_cast<int>(indent);
  if (type_id < 812) {
    std::fprintf(out, "%*.*sOBJECT TYPE = %ld\n", ind, ind, "", id->type);
    std::fprintf(out, "%*.*sLONG INTEGER = %ld (0x%lx)\n", ind, ind, "", id->num, static_cast<unsigned long>(id->num));
  } else {
    std::fprintf(out, "%*.*sINVALID DATA TYPE %ld = %ld\n", ind, ind, "", type_id, id->num);
  }
  return 0;
}

namespace {

// Copies every predefined and user-defined field, then flags and dirty bytes.
long copy_fields(dbs_ty_lobj* from, dbs_ty_lobj* to) {
  for (long i = 0; i < from->schema->nfields; ++i) {
    const typ_sch_frec& f = from->schema->fields[i];
    if (!(f.flags & (TYP_FLD_PREDEFINED | TYP_FLD_USER))) continue;
    long word = from->slots[i].l;
    long flags = f.data_type == 516 && !(f.flags & TYP_FLD_INTEGER) ? 16 : 1;
    if (long st = dbs_fld_set_it(to, i, &word, flags)) return st;
  }
  to->flags = from->flags;
  std::memcpy(to->dirty, from->dirty, static_cast<size_t>(from->schema->nfields));
  return 0;
}

}  // namespace

long dbs_obj_copy(dbs_ty_lobj* from, dbs_ty_lobj** out) {
  if (!from) return dbs_alrt("dbs_obj_copy", DBS_NULL_OBJECT);
  long type = from->schema->type_id;
  if (long st = dbs_obj_make(nullptr, type, out)) {
    std::printf("%s: cannot make object of type %ld\n", "dbs_obj_copy", type);
    return st;
  }
  if (long st = copy_fields(from, *out)) {
    std::printf("%s: cannot copy fields of object of type %ld\n", "dbs_obj_copy", type);
    dbs_obj_free_local("dbs_obj_copy", *out);
    *out = nullptr;
    return st;
  }
  return 0;
}

long dbs_obj_copy_no_make(dbs_ty_lobj* from, dbs_ty_lobj* to) {
  if (!from || !to) return dbs_alrt("dbs_obj_copy_no_make", DBS_NULL_OBJECT);
  if (from->schema->type_id != to->schema->type_id) {
    std::printf("%s: From-object type %ld and to-object type %ld are not the same.\n", "dbs_obj_copy_no_make",
                from->schema->type_id, to->schema->type_id);
    return 1;
  }
  if (long st = copy_fields(from, to)) {
    std::printf("%s: cannot copy fields of object of type %ld\n", "dbs_obj_copy_no_make", from->schema->type_id);
    return st;
  }
  return 0;
}

long dbs_obj_compare_objs(dbs_ty_lobj* a, dbs_ty_lobj* b, long options, char* same) {
  if (!a || !b) return dbs_alrt("dbs_obj_compare_objs", DBS_NULL_OBJECT);
  *same = 0;
  if (a->schema->type_id != b->schema->type_id || a->schema->nfields != b->schema->nfields) return 0;
  for (long i = 0; i < a->schema->nfields; ++i) {
    const typ_sch_frec& f = a->schema->fields[i];
    if (!(f.flags & (TYP_FLD_PREDEFINED | TYP_FLD_USER))) continue;
    if ((options & 1) && !((a->dirty[i] & 1) && (b->dirty[i] & 1))) continue;
    if (f.gen_id == 46 || loc_st_strcmpi(f.name, "dev") == 0) continue;
    long r = 0;
    if (long st = cmn_typ_valcomp(f.data_type, dbs_fld_element(a, i), dbs_fld_element(b, i), &r)) return st;
    if (r != 0) return 0;
  }
  *same = 1;
  return 0;
}


namespace {

// Makes objects of the type until the collection holds as many as there
// are ids, then reads them column-wise.
long get_col(KAdpConnId* con, long type, utl_ty_col* ids, long option, utl_ty_col* objects, long flag) {
  long n = 0, have = 0;
  utl_col_num(ids, &n);
  if (n == 0) return 0;
  utl_col_num(objects, &have);
  for (; have < n; ++have) {
    dbs_ty_lobj* o = nullptr;
    if (long st = dbs_obj_make(nullptr, type, &o)) return st;
    if (long st = utl_col_push(objects, &o, nullptr)) {
      dbs_obj_free_local("dbs_obj_get_col", o);
      return st;
    }
  }
  return adp_obj_get_col(con, type, ids, n, option, objects, flag);
}

}  // namespace

long dbs_obj_get_col(KAdpConnId* con, utl_ty_col* ids, long option, utl_ty_col* objects) {
  long n = 0;
  utl_col_num(ids, &n);
  if (n == 0) return 0;
  void* e = nullptr;
  utl_col_ith(ids, 0, &e);
  return get_col(con, static_cast<obj_id*>(e)->type & DBS_OID_TYPE_MASK, ids, option, objects, 0);
}

long dbs_obj_get_col_special(KAdpConnId* con, long type_id, utl_ty_col* ids, long option, utl_ty_col* objects) {
  return get_col(con, type_id, ids, option, objects, 1);
}

long dbs_obj_put_col(KAdpConnId* con, utl_ty_col* objects) { return adp_obj_put_col(con, objects); }

long dbs_obj_free_remote(KAdpConnId* con, void* pool, dbs_ty_lobj* o) {
  if (!o) return 0;
  obj_id id{};
  if (long st = dbs_obj_oid_get(o, &id)) return st;
  if (long st = dbs_obj_delete(con, &id)) return st;
  (void)pool;
  return dbs_obj_free_local("dbs_obj_free_remote", o);
}

long dbs_obj_free_remote_col(KAdpConnId* con, void* pool, utl_ty_col* objects) {
  if (!objects) return 0;
  long n = 0;
  utl_col_num(objects, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(objects, i, &e);
    auto* o = *static_cast<dbs_ty_lobj**>(e);
    if (!o) continue;
    obj_id id{};
    if (long st = dbs_obj_oid_get(o, &id)) return st;
    if (long st = dbs_obj_delete(con, &id)) return st;
    *static_cast<dbs_ty_lobj**>(e) = nullptr;
    dbs_obj_free_local("dbs_obj_free_remote_col", o);
  }
  (void)pool;
  return utl_col_free("dbs_obj_free_remote_col", objects);
}

long dbs_obj_dump_estr(dbs_ty_lobj* o, long, long indent, utl_ty_estr** out) {
  if (!o) return dbs_alrt("dbs_obj_dump_estr", DBS_NULL_OBJECT);
  if (long st = utl_estr_create("dbs_obj_dump_estr", "", 256, 256, out)) return st;
  int ind = static_cast<int>(indent);
  std::string text;
  char line[512];
  std::snprintf(line, sizeof line, "%*.*s%s object:%s", ind, ind, "", o->schema->info->name, "\n");
  text += line;
  for (long i = 0; i < o->schema->nfields; ++i) {
    const typ_sch_frec& f = o->schema->fields[i];
    if (!(f.flags & (TYP_FLD_PREDEFINED | TYP_FLD_USER))) continue;
    std::snprintf(line, sizeof line, "%*.*s%s ", ind + 2, ind + 2, "", f.name);
    text += line;
    const char* v = cmn_typ_val(dbs_fld_cell(o, i), f.data_type, 0);
    text += v ? v : "";
    text += "\n";
  }
  return utl_estr_append(*out, text.c_str());
}

long dbs_obj_name_to_id(const char* type_name, const char* field_name, long* type_id, long* field_id, void*) {
  return typ_sch_name_to_id(type_name, field_name, type_id, field_id);
}

long dbs_obj_get_from_buf(KAdpConnId*, void* batch, long type_id, void* constructor, utl_ty_col* objects) {
  return adp_obj_get_from_buf(batch, type_id, constructor, objects);
}

long dbs_obj_get_id_from_buf(KAdpConnId*, void* batch, long, utl_ty_col* ids) {
  return adp_qry_get_id_from_buf(batch, -1, ids);
}
