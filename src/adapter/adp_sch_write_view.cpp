// A view in the dictionary and in the database: its field rows, the origin
// of each view field (adp_view_field_info) and its joins
// (adp_view_join_info), an optimised view's earlier definition first, then
// the view itself built by the dialect, granted, and on Oracle made public.
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr long kTableConvert = 0;
constexpr long kRevJoinFlag = 10;                 // join_flag written from here
constexpr unsigned long kEliminatedJoin = 0x10000000;  // entry bit 28: the join's relation number carries 0x4000

const char* text_of(const char* text) { return text != nullptr ? text : ""; }

// The definition an optimised view had before its joins were eliminated.
typ_sch_srec* earlier_definition(typ_sch_srec* view) {
  if ((view->flags & TYP_SCH_VIEW_OPT) == 0 || view->info->uptr == nullptr) return nullptr;
  return static_cast<typ_sch_alias_blk*>(view->info->uptr)->copy;
}


typ_sch_srec* source_schema(const typ_sch_vinfo& origin) {
  if (origin.src_schema >= 0 && origin.src_schema < typ_sch_num_schs) return &typ_sch_schemas[origin.src_schema];
  typ_sch_srec* found = nullptr;
  typ_sch_find_handle(origin.src_type_id, nullptr, &found);
  return found;
}

// The field's origin as stored: source type, field (or relation) number and
// the comment (the field's own, else the source field's).
struct field_origin {
  long type_id = -1;
  long field_id = -1;
  std::string comment;
};

field_origin origin_of(const typ_sch_frec& f, const typ_sch_vinfo& origin) {
  field_origin out;
  const typ_sch_srec* src = source_schema(origin);
  out.type_id = src != nullptr ? src->type_id : origin.src_type_id;
  if ((origin.src_field2 & TYP_VINFO_REL) != 0) {
    const long rel = origin.src_field2 - TYP_VINFO_REL;
    if (rel >= 0 && rel < typ_sch_num_rels) out.field_id = typ_sch_relations[rel].fspec + TYP_VINFO_REL;
    return out;
  }
  out.field_id = origin.src_field;
  out.comment = text_of(f.comment);
  if (out.comment.empty() && src != nullptr && origin.src_field >= 0 && origin.src_field < src->nfields) {
    out.comment = text_of(src->fields[origin.src_field].comment);
  }
  return out;
}

long field_rows(KAdpConnId* con, long view_id, typ_sch_srec* rows, long flags) {
  return adp_sch_in_transaction(con, [&]() -> long {
    std::vector<long> ids;
    if (long st = adp_sch_row_ids(con, rows->nfields, &ids)) return st;
    for (long i = 0; i < rows->nfields; ++i) {
      const typ_sch_frec& f = rows->fields[i];
      const auto* origin = static_cast<const typ_sch_vinfo*>(f.uptr);
      if (origin == nullptr) continue;
      const field_origin o = origin_of(f, *origin);
      const std::string comment = adp_sch_server_text(con, o.comment.c_str());
      const long* id = ids.empty() ? nullptr : &ids[static_cast<size_t>(i)];
      if (long st = adp_sch_run(con, [&](KAdpSqlBatch& b) {
            b << "INSERT INTO adp_view_field_info "
              << "(view_type_id, view_spec_field_id,from_obj_type, from_field_id, alias, flags, comments ";
            if (id != nullptr) b << ", objid, dev";
            b << ")" << "VALUES (" << KAdpBindParam(view_id) << "," << KAdpBindParam(i) << ","
              << KAdpBindParam(o.type_id) << "," << KAdpBindParam(o.field_id) << ","
              << KAdpBindParam(text_of(origin->alias)) << "," << KAdpBindParam(flags) << ","
              << KAdpBindParam(comment.c_str());
            if (id != nullptr) b << "," << KAdpBindParam(*id) << ", 1";
            b << ")";
          })) {
        return st;
      }
    }
    return 0;
  });
}

long join_rows(KAdpConnId* con, long view_id, typ_sch_srec* rows, long flags) {
  return adp_sch_in_transaction(con, [&]() -> long {
    std::vector<long> ids;
    if (long st = adp_sch_row_ids(con, rows->nrels, &ids)) return st;
    const bool join_flag = con->GetRevision(0) >= kRevJoinFlag;
    for (long i = 0; i < rows->nrels; ++i) {
      const typ_sch_rel_inst& e = rows->rels[i];
      const typ_sch_rrec* r = adp_sch_entry_rel(e);
      if (r == nullptr) continue;
      const long target = r->fschema != nullptr ? r->fschema->type_id : -1;
      const long spec = r->fspec + ((e.flags & kEliminatedJoin) != 0 ? TYP_VINFO_REL : 0);
      const typ_sch_join_blk* j = e.join;
      const std::string text = adp_sch_server_text(con, j != nullptr ? text_of(j->text) : "");
      const long* id = ids.empty() ? nullptr : &ids[static_cast<size_t>(i)];
      if (long st = adp_sch_run(con, [&](KAdpSqlBatch& b) {
            b << "INSERT INTO adp_view_join_info (view_type_id, "
              << "obj_type_id, obj_spec_rel_id, palias, falias, comments, flags";
            if (join_flag) b << ", join_flag";
            if (id != nullptr) b << ", objid, dev";
            b << ")" << " VALUES (" << KAdpBindParam(view_id) << "," << KAdpBindParam(target) << ","
              << KAdpBindParam(spec) << "," << KAdpBindParam(j != nullptr ? text_of(j->palias) : "") << ","
              << KAdpBindParam(j != nullptr ? text_of(j->falias) : "") << "," << KAdpBindParam(text.c_str()) << ","
              << KAdpBindParam(flags);
            if (join_flag) b << "," << KAdpBindParam(e.join_kind);
            if (id != nullptr) b << "," << KAdpBindParam(*id) << ", 1";
            b << ")";
          })) {
        return st;
      }
    }
    return 0;
  });
}

using row_writer = long (*)(KAdpConnId*, long, typ_sch_srec*, long);

// The earlier definition's rows (flags 0) before the current ones (flags 1).
long with_earlier(KAdpConnId* con, typ_sch_srec* view, row_writer write) {
  typ_sch_srec* earlier = earlier_definition(view);
  if (earlier == nullptr) return write(con, view->type_id, view, 0);
  if (long st = write(con, view->type_id, earlier, 0)) return st;
  return write(con, view->type_id, view, 1);
}

long create_view(KAdpConnId* con, typ_sch_srec* view) {
  const std::string name = adp_sch_phys(con, view->info->name, kTableConvert);
  char exists = 0;
  if (long st = adp_sch_does_view_exist(con, name.c_str(), &exists)) return st;
  if (exists != 0) {
    if (long st = adp_sql_exec_query(con, "DROP VIEW %s", name.c_str())) return st;
  }
  utl_ty_estr* def = nullptr;
  if (long st = adp_sch_view_def(con, view, &def)) return st;
  long st = adp_sch_run_ddl(con, def != nullptr ? utl_estr_get(def) : "", false);
  if (def != nullptr) utl_estr_free("adp_sch_write_view", def);
  if (st != 0) return st;
  if (long g = adp_usr_table_grant(con, name.c_str(), 0, 0)) return g;
  if (adp_db_is_db_oracle() &&
      adp_sql_exec_query(con, "create public synonym %s for %s", name.c_str(), name.c_str()) != 0) {
    cmn_alrt_clear(nullptr);
  }
  return 0;
}

}  // namespace

long adp_sch_write_view_fields(KAdpConnId* con, typ_sch_srec* view) { return with_earlier(con, view, field_rows); }

long adp_sch_write_view_joins(KAdpConnId* con, typ_sch_srec* view) { return with_earlier(con, view, join_rows); }

long adp_sch_write_view(KAdpConnId* con, typ_sch_srec* view, char create) {
  if (long st = adp_sch_write_fields(con, view, view->nfields, view->fields)) return st;
  if (long st = adp_sch_write_view_fields(con, view)) return st;
  if (long st = adp_sch_write_view_joins(con, view)) return st;
  if (create == 0) {
    if (long st = adp_trn_commit(con)) return st;
  }
  return create_view(con, view);
}

long adp_sch_view_def(KAdpConnId* con, typ_sch_srec* view, utl_ty_estr** text) {
  if (long st = adp_db_check_conn(con)) return st;
  return con->GetDbOperation()->SchViewDefSql(con, view, text);
}
