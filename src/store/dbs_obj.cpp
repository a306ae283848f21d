// Local objects: making, freeing, reference counts, flags and identity.
#include "store/dbs_obj.h"

#include <cstdio>
#include <cstring>

#include "adapter/adp_main.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/clk/clk_time.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj_int.h"

namespace {

dbs_ty_lobj* debug_list = nullptr;
long num_objects = 0;
bool show_count = false;
long local_debug_mode = 0;

bool debug_on() { return cmn_main_is_debug_mode() == 1 || local_debug_mode == 1; }

bool on_debug_list(const dbs_ty_lobj* o) {
  for (const dbs_ty_lobj* p = debug_list; p; p = p->next)
    if (p == o) return true;
  return false;
}

bool unlink(dbs_ty_lobj* o) {
  for (dbs_ty_lobj** p = &debug_list; *p; p = &(*p)->next) {
    if (*p == o) {
      *p = o->next;
      return true;
    }
  }
  return false;
}

const char* kInvalidRef[] = {"ATTEMPT to get ref_cnt  for an invalid local object\n",
                             "ATTEMPT to set ref_cnt  for an invalid local object\n",
                             "ATTEMPT to increase ref_cnt  for an invalid local object\n"};

void count_change(long delta) {
  num_objects += delta;
  if (show_count) std::printf(delta > 0 ? "NEW +NUM OBJECTS: %ld\n" : "NEW -NUM OBJECTS: %ld\n", num_objects);
}

}  // namespace

bool dbs_obj_is_valid(const dbs_ty_lobj* o) {
  if (!o) return false;
  if (debug_on() && !on_debug_list(o)) return false;
  return o->schema && o->pool && (o->slots || o->schema->nfields == 0);
}

long dbs_obj_init() {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  info.size = sizeof(dbs_ty_lobj);
  if (long st = cmn_typ_install_info(DBS_TY_LOBJ, &info)) return st;
  cmn_typ_init_info(&info);
  info.size = sizeof(obj_id);
  info.compare = cmn_typ_proc(dbs_obj_oidcmp);
  info.print = cmn_typ_proc(dbs_obj_oid_print_val);
  if (long st = cmn_typ_install_info(DBS_TY_OID, &info)) return st;
  return adp_obj_set_oid_get_proc(dbs_obj_oid_get);
}

long dbs_obj_term() { return 0; }

long dbs_obj_make(void*, long type_id, dbs_ty_lobj** out) {
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(type_id, &s)) return st;
  long n = s->nfields;
  const long types[3] = {DBS_TY_LOBJ, 512, 516};
  const long sizes[3] = {static_cast<long>(sizeof(dbs_ty_lobj)), n * static_cast<long>(sizeof(dbs_ty_slot)), n};
  void* blocks[3] = {};
  if (long st = utl_mem_alloc("dbs_obj_make", 3, types, sizes, blocks)) return st;
  auto* o = static_cast<dbs_ty_lobj*>(blocks[0]);
  *o = dbs_ty_lobj{};
  o->schema = s;
  o->slots = static_cast<dbs_ty_slot*>(blocks[1]);
  o->dirty = static_cast<unsigned char*>(blocks[2]);
  o->ref_count = 1;
  if (long st = utl_pl_create_with_extent("dbs_obj_make", dbs_obj_extent_size(s), &o->pool)) {
    utl_mem_free("dbs_obj_make", o);
    return st;
  }
  if (debug_on()) {
    o->next = debug_list;
    debug_list = o;
  }
  if (long st = dbs_obj_init_fields(o, true, false)) {
    unlink(o);
    utl_pl_free("dbs_obj_make", o->pool);
    utl_mem_free("dbs_obj_make", o);
    return st;
  }
  count_change(1);
  *out = o;
  return 0;
}

long dbs_obj_free_norel(void*, dbs_ty_lobj* o) {
  if (!o) return 0;
  // Unlinked whenever it is listed, so that no freed object stays on the
  // list after the debug mode was switched off.
  if (!unlink(o) && debug_on()) return dbs_alrt("dbs_obj_free_norel", DBS_NO_OBJECT, reinterpret_cast<long>(o));
  utl_pl_free("dbs_obj_free_norel", o->pool);
  utl_mem_free("dbs_obj_free_norel", o);
  return 0;
}

long dbs_obj_free_local(const char* caller, dbs_ty_lobj* o) {
  if (!o) return 0;
  if (!dbs_obj_is_valid(o)) {
    std::printf("ATTEMPT to free invalid local object by '%s'\n", caller ? caller : "");
    return dbs_alrt("dbs_obj_free_local", DBS_FREE_INVALID, caller ? caller : "");
  }
  if (--o->ref_count > 0) return 0;
  if (long st = dbs_obj_free_norel(nullptr, o)) return st;
  count_change(-1);
  return 0;
}

long dbs_obj_get_ref(dbs_ty_lobj* o, long* count) {
  if (!o) return 0;
  if (!dbs_obj_is_valid(o)) {
    std::fputs(kInvalidRef[0], stdout);
    return DBS_BAD_LOBJ;
  }
  *count = o->ref_count;
  return 0;
}

long dbs_obj_set_ref(dbs_ty_lobj* o, long count) {
  if (!o) return 0;
  if (!dbs_obj_is_valid(o)) {
    std::fputs(kInvalidRef[1], stdout);
    return DBS_BAD_LOBJ;
  }
  if (count >= 1) o->ref_count = count;
  return 0;
}

long dbs_obj_incr_ref(dbs_ty_lobj* o) { return dbs_obj_incr_refs(o, 1); }

long dbs_obj_incr_refs(dbs_ty_lobj* o, long n) {
  if (!o) return 0;
  if (!dbs_obj_is_valid(o)) {
    std::fputs(kInvalidRef[2], stdout);
    return DBS_BAD_LOBJ;
  }
  o->ref_count += n;
  if (n != 1) std::printf("SETTING  DBS obj 0x%lx ref to %ld\n", reinterpret_cast<unsigned long>(o), o->ref_count);
  return 0;
}

long dbs_obj_chk_lobj(dbs_ty_lobj* o) {
  if (!debug_on()) return 0;
  bool ok = o && on_debug_list(o) && o->schema && o->pool && o->slots;
  for (long i = 0; ok && i < o->schema->nfields; ++i) {
    char maps = 0;
    dbs_fld_verify(o, i, &maps);
    ok = maps == 1;
  }
  if (ok) return 0;
  std::fputs("******************\n", stdout);
  std::fputs("INVALID LOCAL OBJECT!\n", stdout);
  std::fputs("******************\n", stdout);
  return dbs_alrt("dbs_obj_chk_lobj", DBS_BAD_LOBJ, reinterpret_cast<long>(o));
}

long dbs_obj_chk_valid_obj(dbs_ty_lobj* o) {
  if (!o) return dbs_alrt("dbs_obj_chk_valid_obj", DBS_BAD_LOBJ, 0L);
  if (long st = typ_sch_check(o->schema)) return st;
  for (long i = 0; i < o->schema->nfields; ++i) {
    char maps = 0;
    dbs_fld_verify(o, i, &maps);
    if (!maps) return dbs_alrt("dbs_obj_chk_valid_obj", DBS_BAD_LOBJ, reinterpret_cast<long>(o));
  }
  return 0;
}

long dbs_obj_clear(dbs_ty_lobj* o) {
  if (long st = dbs_obj_chk_lobj(o)) return st;
  if (!o) return dbs_alrt("dbs_obj_clear", DBS_NULL_OBJECT);
  o->flags = 0;
  o->uptr = nullptr;
  return dbs_obj_init_fields(o, true, false);
}

long dbs_obj_reset_fields(dbs_ty_lobj* o, char keep_decimals) {
  if (!o) return dbs_alrt("dbs_obj_reset_fields", DBS_NULL_OBJECT);
  return dbs_obj_init_fields(o, false, keep_decimals == 1);
}

long dbs_obj_free_local_col(void*, utl_ty_col* col) {
  if (!col) return 0;
  if (long st = dbs_obj_reset_local_col(col)) return st;
  return utl_col_free("dbs_obj_free_local_col", col);
}

long dbs_obj_reset_local_col(utl_ty_col* col) {
  if (!col) return 0;
  long n = 0;
  utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    auto* o = e ? *static_cast<dbs_ty_lobj**>(e) : nullptr;
    if (o) {
      if (long st = dbs_obj_free_local("dbs_obj_reset_local_col", o)) return st;
    }
  }
  return utl_col_reset(col);
}

long dbs_obj_move(dbs_ty_lobj* to, dbs_ty_lobj* from) {
  if (!to || !from) return dbs_alrt("dbs_obj_move", DBS_NULL_OBJECT);
  // The slot words move with the pool that holds their values; both objects
  // keep their own slot arrays, so they must have the same number of fields.
  if (to->schema->nfields != from->schema->nfields)
    return dbs_alrt("dbs_obj_move", DBS_BAD_LOBJ, reinterpret_cast<long>(to));
  long n = from->schema->nfields;
  to->schema = from->schema;
  to->flags = from->flags;
  std::memcpy(to->slots, from->slots, static_cast<size_t>(n) * sizeof(dbs_ty_slot));
  std::memcpy(to->dirty, from->dirty, static_cast<size_t>(n));
  utl_ty_pool* pool = to->pool;
  to->pool = from->pool;
  from->pool = pool;
  // The source is released as dbs_obj_free_local does; one still held
  // elsewhere is left empty (initial values in its new pool).
  if (from->ref_count > 1) {
    from->flags = 0;
    if (long st = dbs_obj_init_fields(from, true, false)) return st;
  }
  return dbs_obj_free_local("dbs_obj_move", from);
}

long dbs_obj_set_flag(dbs_ty_lobj* o, long bits, char on) {
  if (!o) return dbs_alrt("dbs_obj_set_flag", DBS_NULL_OBJECT);
  if (on)
    o->flags |= bits;
  else
    o->flags &= ~bits;
  return 0;
}

long dbs_obj_get_flag(dbs_ty_lobj* o, long bits, char* out) {
  if (!o) return dbs_alrt("dbs_obj_get_flag", DBS_NULL_OBJECT);
  *out = (o->flags & bits) ? 1 : 0;
  return 0;
}

long dbs_obj_is_temp(dbs_ty_lobj* o) { return o && (o->flags & DBS_OBJ_PERM) ? 0 : 1; }

long dbs_obj_make_perm(dbs_ty_lobj* o, char perm) {
  if (!o) return 0;
  o->flags &= ~7L;
  if (perm) o->flags |= DBS_OBJ_PERM;
  return 0;
}

long dbs_obj_change_to_new(dbs_ty_lobj* o) {
  if (long st = dbs_obj_chk_lobj(o)) return st;
  if (!o) return dbs_alrt("dbs_obj_change_to_new", DBS_NULL_OBJECT);
  o->flags &= ~7L;
  long zero = 0;
  return dbs_fld_set_it(o, TYP_GENERIC | 3, &zero, 1);
}

long dbs_obj_check_dirty(dbs_ty_lobj* o, char* out) {
  if (!o) return dbs_alrt("dbs_obj_check_dirty", DBS_NULL_OBJECT);
  *out = 0;
  for (long i = 0; i < o->schema->nfields; ++i)
    if (o->dirty[i] & 1) *out = 1;
  return 0;
}

long dbs_obj_mark_dirty(dbs_ty_lobj* o, char dirty) {
  if (!o) return dbs_alrt("dbs_obj_mark_dirty", DBS_NULL_OBJECT);
  for (long i = 0; i < o->schema->nfields; ++i) {
    if (dirty)
      o->dirty[i] |= 1;
    else
      o->dirty[i] &= static_cast<unsigned char>(~1u);
  }
  return 0;
}

long dbs_obj_id_field(dbs_ty_lobj* o) {
  long index = -1;
  typ_ty_find_spec_id(o->schema->info ? o->schema->info->fmap : nullptr, 3, &index);
  return index >= 0 ? o->slots[index].l : 0;
}

long dbs_obj_oid_get(dbs_ty_lobj* o, obj_id* out) {
  if (!o) return dbs_alrt("dbs_obj_oid_get", DBS_NULL_OBJECT);
  typ_sch_srec* s = o->schema;
  if (s->flags & TYP_SCH_SUBOBJ) {
    if (s->nfields < 3) return dbs_alrt("dbs_obj_oid_get", DBS_BAD_LOBJ, reinterpret_cast<long>(o));
    *out = {o->slots[2].l & DBS_OID_TYPE_MASK, o->slots[1].l, o->slots[0].l};
    return 0;
  }
  long index = 0;
  if (long st = typ_sch_map(s, TYP_GENERIC | 3, &index)) return st;
  *out = {s->type_id & DBS_OID_TYPE_MASK, o->slots[index].l, 0};
  return 0;
}

long dbs_obj_oidcmp(const void* a, const void* b) {
  const auto* x = static_cast<const obj_id*>(a);
  const auto* y = static_cast<const obj_id*>(b);
  long tx = x->type & DBS_OID_TYPE_MASK, ty = y->type & DBS_OID_TYPE_MASK;
  if (tx != ty) return tx < ty ? -1 : 1;
  if (x->num != y->num) return x->num < y->num ? -1 : 1;
  return 0;
}

long dbs_obj_are_same_obj(dbs_ty_lobj* a, dbs_ty_lobj* b, char* out) {
  obj_id x{}, y{};
  if (long st = dbs_obj_oid_get(a, &x)) return st;
  if (long st = dbs_obj_oid_get(b, &y)) return st;
  *out = (x.type & DBS_OID_TYPE_MASK) == (y.type & DBS_OID_TYPE_MASK) && x.num == y.num && x.sub == y.sub;
  return 0;
}

long dbs_obj_type(dbs_ty_lobj* o, long* type_id) {
  if (!o) return dbs_alrt("dbs_obj_type", DBS_NULL_OBJECT);
  *type_id = o->schema->type_id;
  return 0;
}

typ_sch_srec* dbs_obj_get_schema(dbs_ty_lobj* o) { return o ? o->schema : nullptr; }
utl_ty_pool* dbs_obj_get_pool(dbs_ty_lobj* o) { return o ? o->pool : nullptr; }

long dbs_obj_uptr_set(dbs_ty_lobj* o, void* uptr) {
  if (!o) return dbs_alrt("dbs_obj_uptr_set", DBS_NULL_OBJECT);
  o->uptr = uptr;
  return 0;
}

long dbs_obj_uptr_get(dbs_ty_lobj* o, void** uptr) {
  if (!o) return dbs_alrt("dbs_obj_uptr_get", DBS_NULL_OBJECT);
  *uptr = o->uptr;
  return 0;
}

long dbs_obj_allocate(dbs_ty_lobj* o, long n, void** out) {
  if (!o) return dbs_alrt("dbs_obj_allocate", DBS_NULL_OBJECT);
  return utl_pl_alloc(o->pool, n + 1, out);
}

long dbs_obj_update_schema(dbs_ty_lobj* o, long type_id) {
  if (!o) return 0;
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(type_id, &s)) return st;
  o->schema = s;
  return 0;
}

long dbs_obj_num_created() { return num_objects; }
long dbs_obj_set_obj_debug(long mode) {
  local_debug_mode = mode;
  return 0;
}
long dbs_obj_set_show(char show) {
  show_count = show != 0;
  return 0;
}

long dbs_obj_find_field_id(dbs_ty_lobj* o, const char* name, long* spec_id) {
  return dbs_fld_id_get_by_name(o, name, spec_id);
}

long dbs_obj_find_field_name(dbs_ty_lobj* o, long field_id, const char** name) {
  if (!o) return dbs_alrt("dbs_obj_find_field_name", DBS_NULL_OBJECT);
  long index = 0;
  if (typ_sch_map(o->schema, field_id, &index) != 0) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    *name = nullptr;
    return 0;
  }
  *name = o->schema->fields[index].name;
  return 0;
}

long dbs_obj_id_to_oid_col(utl_ty_col* numbers, long type_id, utl_ty_col* ids) {
  long n = 0;
  utl_col_num(numbers, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(numbers, i, &e);
    obj_id id{type_id & DBS_OID_TYPE_MASK, *static_cast<long*>(e), 0};
    if (long st = utl_col_push(ids, &id, nullptr)) return st;
  }
  return 0;
}

long dbs_obj_chk_name(const char* name) {
  static const char* const kProc = "dbs_obj_chk_name";
  auto refuse = [&] { return dbs_alrt(kProc, DBS_BAD_NAME, name ? name : ""); };
  if (!name) return refuse();
  long len = static_cast<long>(std::strlen(name));
  if (len < 1 || len > 30) return refuse();
  long server = adp_main_server_type();
  auto c0 = static_cast<unsigned char>(name[0]);
  if ((server & 1) && (c0 == '_' || c0 == '#' || c0 == '$')) return refuse();
  if ((server & 0x102) && !loc_st_isalpha(c0)) return refuse();
  for (long i = 1; i < len; ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (loc_st_isalnum(c) || (c && std::strchr("#$&*-@!^_", c))) continue;
    return refuse();
  }
  return 0;
}

long dbs_obj_chk_type(long type_id) {
  typ_sch_srec* s = nullptr;
  return adp_sch_shandle_find(type_id, &s);
}

long dbs_obj_dump_all(FILE* stream, long indent) {
  FILE* out = stream ? stream : stdout;
  int ind = static_cast<int>(indent);
  for (const dbs_ty_lobj* o = debug_list; o; o = o->next)
    std::fprintf(out, "%*.*sOBJECT %ld a %s, '%s'\n", ind, ind, "", reinterpret_cast<long>(o),
                 o->schema && o->schema->info ? o->schema->info->name : "", "dbs_obj_make");
  return 0;
}
