// Field values: the writer, the readers, dirty marks and comparisons.
#include "store/dbs_fld.h"

#include <cstring>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_val.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_obj_int.h"

namespace {

bool is_unlimited(long db_type) { return db_type == 8 || db_type == 10; }

// A text's length limit, or -1 for none.
long text_limit(const typ_sch_frec& f, long flags) {
  if (flags & DBS_FLD_NO_CHECK) return -1;
  return is_unlimited(f.db_type) ? DBS_FLD_UNLIMITED : f.array_size;
}

long copy_box(dbs_ty_lobj* o, dbs_ty_slot& slot, const void* from, long size) {
  if (!slot.p && utl_pl_alloc4(o->pool, size, &slot.p) != 0) return cmn_alrt_push_no_memory(size, "dbs_fld_set_it");
  std::memcpy(slot.p, from, static_cast<size_t>(size));
  return 0;
}

long set_text(dbs_ty_lobj* o, const typ_sch_frec& f, dbs_ty_slot& slot, const char* text, long flags) {
  if (!text) text = "";
  long len = static_cast<long>(std::strlen(text));
  long limit = text_limit(f, flags);
  if (limit >= 0 && len > limit) {
    if (!(flags & DBS_FLD_CUT)) {
      std::string head(text, static_cast<size_t>(len < 20 ? len : 20));
      return dbs_alrt("dbs_fld_set_it", DBS_TOO_LONG, head.c_str(), f.name, o->schema->info->name);
    }
    len = limit;
  }
  void* block = nullptr;
  if (long st = utl_pl_alloc(o->pool, len + 1, &block)) return st;
  std::memcpy(block, text, static_cast<size_t>(len));
  static_cast<char*>(block)[len] = '\0';
  slot.p = block;
  return 0;
}

}  // namespace

void dbs_dec_round(void* value) {
  auto* d = static_cast<cmn_ty_decimal*>(value);
  if (d && d->scale >= 0) cmn_round(d->text, d->scale);
}

const void* dbs_fld_element(const dbs_ty_lobj* o, long i) {
  const typ_sch_frec& f = o->schema->fields[i];
  if (f.flags & TYP_FLD_INTEGER) return &o->slots[i].l;
  if (f.data_type == 512) return &o->slots[i].l;
  return o->slots[i].p;
}

void* dbs_fld_cell(dbs_ty_lobj* o, long i) {
  const typ_sch_frec& f = o->schema->fields[i];
  if (f.flags & TYP_FLD_INTEGER || f.data_type == 512) return &o->slots[i].l;
  // Texts and decimals: the address of the pointer to the value.
  if (f.data_type == 516 || f.data_type == 766) return &o->slots[i].p;
  return o->slots[i].p;
}

long dbs_fld_set_it(dbs_ty_lobj* o, long field_id, const void* value, long flags) {
  static const char* const kProc = "dbs_fld_set_it";
  if (!o || !value) return dbs_alrt(kProc, DBS_NULL_OBJECT);
  typ_sch_srec* s = o->schema;
  if (s->flags & TYP_SCH_VIEW) flags |= DBS_FLD_NO_CHECK;
  long index = 0;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  const typ_sch_frec& f = s->fields[index];
  if (f.gen_id == 3 && !(flags & DBS_FLD_OID_OK)) return dbs_alrt(kProc, DBS_OID_FIELD, reinterpret_cast<long>(o));
  dbs_ty_slot& slot = o->slots[index];
  long st = 0;
  if (f.flags & TYP_FLD_INTEGER) {
    slot.l = *static_cast<const long*>(value);
  } else {
    const void* v = *static_cast<void* const*>(value);
    // A boxed value must be given; a null text is written as the empty text.
    if (!v && f.data_type != 516) return dbs_alrt(kProc, DBS_NULL_OBJECT);
    switch (f.data_type) {
      case 609: st = copy_box(o, slot, v, sizeof(clktime)); break;
      case 766: {
        cmn_ty_decimal d = *static_cast<const cmn_ty_decimal*>(v);
        dbs_dec_round(&d);
        st = copy_box(o, slot, &d, sizeof d);
        break;
      }
      case 514: st = copy_box(o, slot, v, sizeof(float)); break;
      case 613:
      case 614: st = copy_box(o, slot, v, sizeof(double)); break;
      case 516: st = set_text(o, f, slot, static_cast<const char*>(v), flags); break;
      default:
        return dbs_alrt(kProc, DBS_BAD_FIELD_TYPE, f.data_type, f.name, s->info->name);
    }
  }
  if (st) return st;
  o->dirty[index] |= 1;
  if (flags & DBS_FLD_MARK2) o->dirty[index] |= 2;
  if (flags & DBS_FLD_MARK4) o->dirty[index] |= 4;
  return 0;
}

long dbs_fld_set_local(dbs_ty_lobj* o, long id, const void* v, char oid_ok) {
  return dbs_fld_set_it(o, id, v, DBS_FLD_CUT | (oid_ok == 1 ? DBS_FLD_OID_OK : 0));
}
long dbs_fld_set_relative(dbs_ty_lobj* o, long id, const void* v, char mark2) {
  return dbs_fld_set_it(o, id, v, mark2 == 1 ? DBS_FLD_MARK2 : DBS_FLD_MARK4);
}
long dbs_fld_set(dbs_ty_lobj* o, long id, const void* v) { return dbs_fld_set_it(o, id, v, DBS_FLD_CUT); }
long dbs_fld_set_trunc(dbs_ty_lobj* o, long id, const void* v) { return dbs_fld_set_it(o, id, v, DBS_FLD_CUT); }

long dbs_fld_set_by_name(dbs_ty_lobj* o, const char* name, const void* v) {
  long id = 0;
  if (long st = dbs_fld_id_get_by_name(o, name, &id)) return st;
  return dbs_fld_set_local(o, id, v, 1);
}

long dbs_fld_set_by_name_trunc(dbs_ty_lobj* o, const char* name, const void* v) {
  long id = 0;
  if (long st = dbs_fld_id_get_by_name(o, name, &id)) return st;
  return dbs_fld_set_trunc(o, id, v);
}

long dbs_fld_set_mult(dbs_ty_lobj* o, long n, const long* ids, const void* const* values) {
  for (long i = 0; i < n; ++i)
    if (long st = dbs_fld_set(o, ids[i], values[i])) return st;
  return 0;
}

long dbs_fld_copy(dbs_ty_lobj* from, long id, dbs_ty_lobj* to, long to_id) {
  long word = 0;
  if (long st = dbs_fld_get(from, id, &word, nullptr)) return st;
  return dbs_fld_set_local(to, to_id, &word, 1);
}

long dbs_fld_get(dbs_ty_lobj* o, long id, long* value, long* type) {
  if (!o) return 0;
  if (id == DBS_FLD_TYPE_ID) {
    *value = o->schema->type_id;
    if (type) *type = 512;
    return 0;
  }
  long index = 0;
  if (long st = typ_sch_map(o->schema, id, &index)) return st;
  const typ_sch_frec& f = o->schema->fields[index];
  if (f.data_type == 766 && !(f.flags & TYP_FLD_INTEGER)) dbs_dec_round(o->slots[index].p);
  *value = o->slots[index].l;
  if (type) *type = f.data_type;
  return 0;
}

long dbs_fld_get_by_name(dbs_ty_lobj* o, const char* name, long* value, long* type) {
  long id = 0;
  if (long st = dbs_fld_id_get_by_name(o, name, &id)) return st;
  return dbs_fld_get(o, id, value, type);
}

long dbs_fld_get_mult(dbs_ty_lobj* o, long n, const long* ids, long* values) {
  for (long i = 0; i < n; ++i)
    if (long st = dbs_fld_get(o, ids[i], &values[i], nullptr)) return st;
  return 0;
}

long dbs_fld_get_addr(dbs_ty_lobj* o, long id, void** address, long* type, char* inline_value, long* max_length) {
  if (!o) return dbs_alrt("dbs_fld_get_addr", DBS_NULL_OBJECT);
  if (id == DBS_FLD_TYPE_ID) {
    *address = &o->schema->type_id;
    *type = 512;
    *inline_value = 1;
    *max_length = -1;
    return 0;
  }
  long index = 0;
  if (long st = typ_sch_map(o->schema, id, &index)) return st;
  const typ_sch_frec& f = o->schema->fields[index];
  *address = &o->slots[index];
  *type = f.data_type;
  *max_length = is_unlimited(f.db_type) ? DBS_FLD_UNLIMITED : f.array_size;
  *inline_value = (f.flags & TYP_FLD_INTEGER) ? 1 : 0;
  return 0;
}

long dbs_fld_for_all(dbs_ty_lobj* o, dbs_ty_fld_proc proc, void* user, unsigned long mask) {
  if (!o) return dbs_alrt("dbs_fld_for_all", DBS_NULL_OBJECT);
  for (long i = 0; i < o->schema->nfields; ++i) {
    const typ_sch_frec& f = o->schema->fields[i];
    if (!(f.flags & mask)) continue;
    char stop = 0;
    if (long st = proc(o, i, i, f.data_type, &o->slots[i], user, &stop)) return st;
    if (stop == 1) return 0;
  }
  return 0;
}

long dbs_fld_set_dirty(dbs_ty_lobj* o, long id, char dirty) {
  if (!o) return dbs_alrt("dbs_fld_set_dirty", DBS_NULL_OBJECT);
  long index = 0;
  if (long st = typ_sch_map(o->schema, id, &index)) return st;
  if (dirty)
    o->dirty[index] |= 1;
  else
    o->dirty[index] &= static_cast<unsigned char>(~1u);
  return 0;
}

long dbs_fld_is_dirty(dbs_ty_lobj* o, long id, char* dirty) {
  if (!o) return dbs_alrt("dbs_fld_is_dirty", DBS_NULL_OBJECT);
  long index = 0;
  if (long st = typ_sch_map(o->schema, id, &index)) return st;
  *dirty = (o->dirty[index] & 1) ? 1 : 0;
  return 0;
}

long dbs_fld_exist(dbs_ty_lobj* o, const char* name, long* spec_id) {
  if (!o) return dbs_alrt("dbs_fld_exist", DBS_NULL_OBJECT);
  *spec_id = -1;
  for (long i = 0; i < o->schema->nfields; ++i) {
    if (std::strcmp(o->schema->fields[i].name, name) == 0) {
      *spec_id = i;
      break;
    }
  }
  return 0;
}

long dbs_fld_verify(dbs_ty_lobj* o, long id, char* maps) {
  long index = 0;
  if (o && typ_sch_map(o->schema, id, &index) == 0) {
    *maps = 1;
    return 0;
  }
  if (o) cmn_alrt_pop(nullptr, nullptr, nullptr);
  *maps = 0;
  return 0;
}

long dbs_fld_id_get_by_name(dbs_ty_lobj* o, const char* name, long* spec_id) {
  if (!o) return dbs_alrt("dbs_fld_id_get_by_name", DBS_NULL_OBJECT);
  typ_sch_frec* f = nullptr;
  if (long st = typ_sch_field_get_by_name(o->schema, name, &f)) return st;
  *spec_id = f->spec_id;
  return 0;
}

long dbs_fld_id_get_by_name_for_genid(dbs_ty_lobj* o, const char* name, long* spec_id, char* has_locale) {
  if (!o) return dbs_alrt("dbs_fld_id_get_by_name_for_genid", DBS_NULL_OBJECT);
  for (long i = 0; i < o->schema->nfields; ++i)
    if (o->schema->fields[i].gen_id == 153) *has_locale = 1;
  return dbs_fld_id_get_by_name(o, name, spec_id);
}

long dbs_fld_is_currency_field(long type_id, long id, char* out) {
  *out = 0;
  typ_sch_srec* s = nullptr;
  if (adp_sch_shandle_find(type_id, &s) != 0 || !s) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  long index = 0;
  if (long st = typ_sch_map(s, id, &index)) return st;
  *out = (s->fields[index].flags & TYP_FLD_CURRENCY) ? 1 : 0;
  return 0;
}

long dbs_fld_val_cmp(dbs_ty_lobj* a, long ida, dbs_ty_lobj* b, long idb, long* result) {
  if (!a || !b) return dbs_alrt("dbs_fld_val_cmp", DBS_NULL_OBJECT);
  long ia = 0, ib = 0;
  if (long st = typ_sch_map(a->schema, ida, &ia)) return st;
  if (long st = typ_sch_map(b->schema, idb, &ib)) return st;
  long ta = a->schema->fields[ia].data_type, tb = b->schema->fields[ib].data_type;
  if (ta != tb) return dbs_alrt("dbs_fld_val_cmp", DBS_CMP_TYPES, ta, tb);
  return cmn_typ_valcomp(ta, dbs_fld_element(a, ia), dbs_fld_element(b, ib), result);
}

long dbs_fld_obj_cmp(const void* a, const void* b, long id) {
  auto* x = *static_cast<dbs_ty_lobj* const*>(a);
  auto* y = *static_cast<dbs_ty_lobj* const*>(b);
  long r = 0;
  if (dbs_fld_val_cmp(x, id, y, id, &r) != 0) return 0;
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

long dbs_fld_set_mult_by_name(dbs_ty_lobj* o, long n, const char* const* names, const void* const* values) {
  for (long i = 0; i < n; ++i)
    if (long st = dbs_fld_set_by_name(o, names[i], values[i])) return st;
  return 0;
}

long dbs_fld_get_mult_by_name(dbs_ty_lobj* o, long n, const char* const* names, long* values, long* types) {
  for (long i = 0; i < n; ++i)
    if (long st = dbs_fld_get_by_name(o, names[i], &values[i], types ? &types[i] : nullptr)) return st;
  return 0;
}

long dbs_fld_val_cmp_mult(dbs_ty_lobj* a, const long* ids, dbs_ty_lobj* b, const long* ids_b, long n, long* result) {
  *result = 0;
  for (long i = 0; i < n && *result == 0; ++i)
    if (long st = dbs_fld_val_cmp(a, ids[i], b, ids_b ? ids_b[i] : ids[i], result)) return st;
  return 0;
}

long dbs_fld_val_cmp_obj2objs(dbs_ty_lobj* a, const long* ids, dbs_ty_lobj* const* objects, const long* ids_b,
                              long n, long* result) {
  *result = 0;
  for (long i = 0; i < n && *result == 0; ++i)
    if (long st = dbs_fld_val_cmp(a, ids[i], objects[i], ids_b ? ids_b[i] : ids[i], result)) return st;
  return 0;
}

long dbs_fld_check_case(KAdpConnId*, long type_id, long field_id, char* out) {
  *out = 0;
  if (!adp_db_get_head_read() || !(adp_db_get_flags() & 1)) return 0;
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(type_id, &s)) return st;
  long index = 0;
  if (long st = typ_sch_map(s, field_id, &index)) return st;
  *out = (s->fields[index].flags & TYP_FLD_CARRIED) ? 1 : 0;
  return 0;
}
