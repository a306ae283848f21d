// Change stamps, schema and view writing, and the currency flags of views.
#include "schema/typ_write.h"

#include "adapter/adp_obj.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_acc.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kDateTime = 9;

// The last field of the schema with the given generic id, or -1.
long last_gen(const typ_sch_srec* s, long gen) {
  long found = -1;
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].gen_id == gen) found = i;
  return found;
}

bool written_kind(unsigned long flags) {
  return (flags & (TYP_SCH_OBJECT | TYP_SCH_CHANGED)) == (TYP_SCH_OBJECT | TYP_SCH_CHANGED) ||
         (flags & (TYP_SCH_SUBOBJ | TYP_SCH_CHANGED)) == (TYP_SCH_SUBOBJ | TYP_SCH_CHANGED);
}

long note(utl_ty_col* written, long type_id) { return written ? utl_col_push(written, &type_id, nullptr) : 0; }

typ_sch_rrec* rel_of(const typ_sch_rel_inst& e) {
  if (e.rel) return e.rel;
  return e.rel_index >= 0 && e.rel_index < typ_sch_num_rels ? &typ_sch_relations[e.rel_index] : nullptr;
}

bool touched(const typ_sch_rrec* r) {
  return (r->pschema && (r->pschema->flags & TYP_SCH_WRITTEN)) || (r->fschema && (r->fschema->flags & TYP_SCH_WRITTEN));
}

long write_views(KAdpConnId* con, char with_rels, utl_ty_col* written, bool sql_views) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* v = &typ_sch_schemas[i];
    if (!(v->flags & TYP_SCH_VIEW) || ((v->flags & TYP_SCH_SQL_VIEW) != 0) != sql_views) continue;
    if (v->flags & TYP_SCH_CHANGED) {
      v->flags &= ~TYP_SCH_CHANGED;
      if (long st = adp_sch_write(con, v, with_rels, nullptr)) return st;
      v->flags |= TYP_SCH_WRITTEN;
      if (long st = note(written, v->type_id)) return st;
    } else if (v->flags & TYP_SCH_DELETED) {
      if (long st = adp_sch_delete_view(con, v->type_id, v->info->name)) return st;
    }
  }
  return 0;
}

}  // namespace

long typ_sch_put_dirty_timestamp(KAdpConnId*, dbs_ty_lobj* o, char force) {
  if (!o || !o->schema) return 0;
  const typ_sch_srec* s = o->schema;
  bool wanted = force != 0;
  long stamp = -1;
  for (long i = 0; i < s->nfields; ++i) {
    if ((s->fields[i].flags & TYP_FLD_STAMPS) && (o->dirty[i] & 1)) wanted = true;
    if (s->fields[i].flags & TYP_FLD_STAMP) stamp = i;
  }
  if (!wanted || stamp < 0 || s->fields[stamp].db_type != kDateTime) return 0;
  clktime now{};
  if (long st = clk_time_get_option(1, &now)) return st;
  if (typ_sch_get_skip_timestamp()) return 0;
  clktime* p = &now;
  return dbs_fld_set_it(o, stamp, &p, 0);
}

long typ_sch_dirty_update_timestamp(KAdpConnId*, dbs_ty_lobj* o, long flag, long) {
  if (!flag || !o || !o->schema) return 0;
  long i = last_gen(o->schema, 46);
  if (i >= 0 && o->schema->fields[i].db_type == kDateTime) o->dirty[i] |= 1;
  return 0;
}

long typ_sch_dirty_update_localeid(KAdpConnId*, dbs_ty_lobj* o, long flag, long) {
  if (!flag || !o || !o->schema) return 0;
  long i = last_gen(o->schema, 153);
  if (i >= 0) o->dirty[i] |= 1;
  return 0;
}

long typ_sch_write(KAdpConnId* con, char with_rels, utl_ty_col* written, long id_argument) {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* s = &typ_sch_schemas[i];
    if (written_kind(s->flags)) {
      s->flags &= ~TYP_SCH_CHANGED;
      if (!(s->flags & 0x10000))
        s->flags |= TYP_SCH_WRITTEN;
      else
        s->flags &= ~0x10000UL;
      char out = 1;
      if (long st = adp_sch_write(con, s, with_rels, &out)) return st;
      if (out == 0) {
        if (long st = adp_obj_oid_init(con, s->type_id, id_argument)) return st;
      }
      if (long st = note(written, s->type_id)) return st;
    } else if ((s->flags & TYP_SCH_OBJECT) && (s->flags & TYP_SCH_DELETED)) {
      if (long st = adp_sch_delete_type(con, s->type_id, s->info->name)) return st;
    }
  }
  if (with_rels) {
    for (long i = 0; i < typ_sch_num_schs; ++i) {
      typ_sch_srec* s = &typ_sch_schemas[i];
      if (!(s->flags & (TYP_SCH_OBJECT | TYP_SCH_SUBOBJ))) continue;
      for (long j = 0; j < s->nrels; ++j) {
        const typ_sch_rel_inst& e = s->rels[j];
        typ_sch_rrec* r = rel_of(e);
        if (!r) continue;
        bool side = e.side == 'f' || (e.side == 'p' && (r->type & 0xff) == TYP_REL_MTM);
        if (side && touched(r)) {
          if (long st = adp_sch_rel_create(con, r)) return st;
        }
      }
      if (long st = adp_ind_create(con, s)) return st;
    }
  }
  if (long st = write_views(con, with_rels, written, false)) return st;
  if (long st = write_views(con, with_rels, written, true)) return st;
  return dbs_db_put_header(con, nullptr);
}

long typ_sch_write_view(KAdpConnId* con) {
  if (long st = typ_sch_fetch_views_and_fld(con)) return st;
  if (long st = typ_sch_optimize_view()) return st;
  if (long st = adp_trn_begin(con)) return st;
  long st = adp_sch_del_view_info(con);
  for (long i = 0; st == 0 && i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].flags & TYP_SCH_VIEW) st = adp_sch_write(con, &typ_sch_schemas[i], 0, nullptr);
  if (st == 0) st = adp_trn_commit(con);
  if (st) {
    adp_trn_rollback(con);
    return st;
  }
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* v = &typ_sch_schemas[i];
    if (!(v->flags & TYP_SCH_VIEW)) continue;
    if (adp_sch_drop_view(con, v) != 0) cmn_alrt_pop(nullptr, nullptr, nullptr);
    utl_ty_estr* def = nullptr;
    if (long s2 = adp_sch_view_def(con, v, &def)) return s2;
    void* stmt = nullptr;
    long s3 = adp_sql_create(con, &stmt);
    if (s3 == 0) s3 = adp_sql_append(con, stmt, def ? utl_estr_get(def) : "");
    if (s3 == 0) s3 = adp_sql_execute(con, stmt);
    if (s3 == 0) s3 = adp_sql_result();
    adp_sql_free(con, stmt);
    if (def) utl_estr_free("typ_sch_write_view", def);
    if (s3) return s3;
    if (long s4 = adp_usr_view_grant(con, v)) return s4;
  }
  return 0;
}

long typ_sch_set_view_currency_flag(KAdpConnId*, utl_ty_col* former) {
  typ_sch_srec* old_array = nullptr;
  long old_count = 0;
  if (former) {
    void* a = nullptr;
    utl_col_get_array(former, &a, &old_count);
    old_array = static_cast<typ_sch_srec*>(a);
  }
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec* v = &typ_sch_schemas[i];
    if (!(v->flags & TYP_SCH_VIEW) || (v->flags & TYP_SCH_SQL_VIEW) || v->type_id == -2) continue;
    typ_sch_srec* old = nullptr;
    for (long k = 0; k < old_count && !old; ++k)
      if (old_array[k].type_id == v->type_id) old = &old_array[k];
    for (long f = 0; f < v->nfields; ++f) {
      typ_sch_frec& fld = v->fields[f];
      auto* info = static_cast<typ_sch_vinfo*>(fld.uptr);
      if (!info) continue;
      char cur = 0;
      if (long st = dbs_fld_is_currency_field(info->src_type_id, info->src_field, &cur)) return st;
      unsigned long before = fld.flags & TYP_FLD_CURRENCY;
      if (cur)
        fld.flags |= TYP_FLD_CURRENCY;
      else
        fld.flags &= ~TYP_FLD_CURRENCY;
      unsigned long now = fld.flags & TYP_FLD_CURRENCY;
      if (v->flags & TYP_SCH_CHANGED) continue;
      if (old) {
        if (f >= old->nfields) continue;
        if (!old->fields[f].uptr) return 1;
        if ((old->fields[f].flags & TYP_FLD_CURRENCY) != now) v->flags |= TYP_SCH_CHANGED;
      } else if (before != now) {
        v->flags |= TYP_SCH_CHANGED;
      }
    }
  }
  return 0;
}
