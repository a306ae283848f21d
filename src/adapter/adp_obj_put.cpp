// Object SQL: updates of stored rows (plain, stamp-checked, many at once)
// with their change rows and row-version steps.
#include <cstring>
#include <string>
#include <vector>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/clk/clk_text.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"

namespace {

constexpr long kStampOption = 32;
constexpr long kPlainRowPhrase = 27;
constexpr long kIncrRowPhrase = 23;
constexpr long kDevReadPhrase = 25;
constexpr long kDevInsertPhrase = 26;
constexpr long kDevStepsPhrase = 29;
constexpr long kPlainRowColPhrase = 20;
constexpr long kStaleRowPhrase = 36;

bool any_dirty(const dbs_ty_lobj* o) {
  for (long i = 0; i < o->schema->nfields; ++i) {
    if (adp_obj_dirty(o, i)) return true;
  }
  return false;
}

const char* oid_name(const adp_obj_ctx& c) { return c.schema->fields[c.oid_index].name; }

// The SET list and WHERE of an update; search: the S_ copies. Every value
// is rendered with the field's own flag byte: an incremented field's slot
// holds the amount, so it is written as a step of the column ("count+2"),
// the new value its change row computes, never as the amount itself.
long update_text(KAdpSqlBatch* b, const adp_obj_ctx& c, long rows, const char* plain_head, bool search) {
  bool first = true;
  for (long i = 0; i < c.schema->nfields; ++i) {
    const typ_sch_frec& f = c.schema->fields[i];
    if (!adp_obj_dirty(c.object, i) || adp_obj_is_key(f)) continue;
    const int steps = static_cast<int>(rows > 0 ? rows : 1);
    if (first && c.roamer) b->AppendSqlFormat(adp_obj_phrase(c.con, kDevStepsPhrase), c.table, steps);
    else if (first) b->AppendSqlFormat(plain_head, c.table);
    else *b << ",";
    first = false;
    b->AppendSqlFormat("%s = ", f.name);
    if (long st = adp_obj_field_save_it(b, &f, &c.object->slots[i], c.object->dirty[i], nullptr)) return st;
    if (search && c.search && (f.flags & ADP_FLD_SEARCHABLE)) {
      b->AppendSqlFormat(", S_%s = ", f.name);
      if (long st = adp_obj_field_save_it_in_upcase(b, &f, &c.object->slots[i], nullptr)) return st;
    }
  }
  b->AppendSqlFormat("\n where %s = ", oid_name(c));
  *b << KAdpBindParam(adp_obj_number(c));
  return b->GetStatus();
}

// The Oracle block's refusal of a stale row (raised by phrase 36, or the
// dev read finding no row): the database alerts are popped.
bool stale_row_refused() {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  bool stale = false;
  for (long i = 0; i < n; ++i) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_ith(nullptr, i, &code, &text);
    if (code == ADP_DB_ERROR && text != nullptr &&
        (std::strstr(text, "20899") || std::strstr(text, "may have been changed") || std::strstr(text, "ORA-01403")))
      stale = true;
  }
  if (!stale) return false;
  long code = 0;
  const char* text = nullptr;
  while (cmn_alrt_top(nullptr, &code, &text) == 0 && code == ADP_DB_ERROR) cmn_alrt_pop(nullptr, &code, &text);
  return true;
}

// The update's application transaction and batch.
long begin_update(KAdpConnId* con, KAdpSqlBatch** b) {
  if (long st = adp_trn_begin(con)) return st;
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  *b = static_cast<KAdpSqlBatch*>(stmt);
  return 0;
}

long stale(const adp_obj_ctx& c) {
  return adp_obj_push(ADP_OBJ_NOT_FOUND, 2, c.schema->info->name, adp_obj_number(c));
}

}  // namespace

bool adp_obj_is_key(const typ_sch_frec& f) {
  return strcasecmp(f.name, "dev") == 0 || strcasecmp(f.name, "objid") == 0;
}
bool adp_obj_dirty(const dbs_ty_lobj* o, long i) { return (o->dirty[i] & ADP_OBJ_DIRTY) != 0; }
bool adp_obj_stepped(const dbs_ty_lobj* o, long i) { return (o->dirty[i] & (ADP_OBJ_INCR | ADP_OBJ_DECR)) != 0; }
bool adp_obj_in_detail(const dbs_ty_lobj* o, long i) {
  const typ_sch_frec& f = o->schema->fields[i];
  return adp_obj_dirty(o, i) && !(f.flags & ADP_FLD_NO_DETAIL) && !adp_obj_is_key(f);
}
long adp_obj_number(const adp_obj_ctx& c) { return c.object->slots[c.oid_index].l; }

long adp_obj_plain_detail(const dbs_ty_lobj* o, const std::vector<adp_obj_detail_extra>& extra, std::string* detail) {
  std::string head, values;
  long n = 0;
  for (long i = 0; i < o->schema->nfields; ++i) {
    if (!adp_obj_in_detail(o, i) || adp_obj_stepped(o, i)) continue;
    if (long st = adp_obj_field_set_tx_detail(&o->schema->fields[i], o->dirty[i], &o->slots[i], 0, &head, &values))
      return st;
    ++n;
  }
  for (const adp_obj_detail_extra& e : extra) {
    head += " " + std::string(e.name) + " " + std::to_string(e.value.size());
    values += e.value;
    ++n;
  }
  *detail = n > 0 ? std::to_string(n) + head + " " + values : "";
  return 0;
}

long adp_obj_increment_rows(KAdpSqlBatch* b, const adp_obj_ctx& c, long* k, const std::string& stamp) {
  const bool oracle = adp_db_is_db_oracle() != 0;
  for (long i = 0; i < c.schema->nfields; ++i) {
    if (!adp_obj_in_detail(c.object, i) || !adp_obj_stepped(c.object, i)) continue;
    std::string expr;
    if (long st = adp_obj_set_tx_detail2(&c.schema->fields[i], c.object->dirty[i], &c.object->slots[i], 0, &expr))
      return st;
    b->AppendSqlFormat(adp_obj_phrase(c.con, kIncrRowPhrase), *k, *k);
    *b << KAdpBindParam(c.table) << ", " << adp_obj_keep_text(expr) << " \n";
    b->AppendSqlFormat("FROM %s WHERE %s = ", c.table, oid_name(c));
    *b << KAdpBindParam(adp_obj_number(c));
    if (!stamp.empty()) b->AppendSqlFormat(" and %s", stamp.c_str());
    *b << " \n";
    if (oracle) *b << " ; ";
    else *b << KAdpSqlBatch::kEndStmt;
    ++*k;
  }
  return b->GetStatus();
}

long adp_obj_put_options(KAdpConnId* con, dbs_ty_lobj* object, long options) {
  if (options & kStampOption) return adp_obj_put_commit(con, object, options);
  return adp_obj_put(con, object);
}

long adp_obj_put(KAdpConnId* con, dbs_ty_lobj* object) {
  adp_obj_ctx c;
  if (long st = adp_obj_prologue(con, object, false, ADP_OBJ_CHECK_CONN, &c)) return st;
  if (!any_dirty(object)) return 0;
  KAdpSqlBatch* b = nullptr;
  if (long st = begin_update(con, &b)) return st;
  adp_obj_bind_switch binding(con, c.roamer != 0, 1);
  const bool oracle = adp_db_is_db_oracle() != 0;
  long k = 0;
  if (c.roamer) {
    if (oracle) *b << "BEGIN \n";
    std::string detail;
    if (long st = adp_obj_plain_detail(object, {}, &detail)) return st;
    if (!detail.empty()) {
      *b << adp_obj_phrase(con, kPlainRowPhrase) << KAdpBindParam(c.table) << " , "
         << KAdpBindParam(adp_obj_keep_text(detail));
      b->AppendSqlFormat(" from %s where objid = ", c.table);
      *b << KAdpBindParam(adp_obj_number(c)) << (oracle ? " ; " : "\n if (@@error=0)\n");
      k = 1;
    }
    if (long st = adp_obj_increment_rows(b, c, &k, "")) return st;
  }
  if (long st = update_text(b, c, k, "update %s \n set ", true)) return st;
  if (!oracle) *b << KAdpSqlBatch::kEndStmt;
  else if (c.roamer) *b << "; END;\n";
  if (long st = b->GetStatus()) return st;
  binding.restore();
  long rows = 0;
  if (long st = adp_obj_run_all(con, b, &rows)) return st;
  adp_sql_free(con, b);
  return adp_trn_commit(con);
}

namespace {

// The old stamp: its text (SQL Server and Oracle's change rows) and clock.
struct old_stamp {
  const typ_sch_frec* field = nullptr;
  clktime clock{};
  char text[CLK_TEXT_SIZE + 64] = {};
};

long keep_stamp(const adp_obj_ctx& c, bool oracle, old_stamp* s) {
  long index = -1;
  if (long st = typ_sch_gen_to_sp(c.schema, TYP_GENERIC | ADP_GEN_MOD_STAMP, &index)) return st;
  if (index < 0) return adp_obj_push(ADP_OBJ_NO_STAMP, 1, ADP_GEN_MOD_STAMP);
  s->field = &c.schema->fields[index];
  s->clock = *static_cast<const clktime*>(c.object->slots[index].p);
  if (!oracle) return adp_time_clk_to_str(&s->clock, s->text);
  if (c.roamer) return adp_obj_gen_svr_clk_str(&s->clock, 1, s->text);
  return 0;
}

}  // namespace

long adp_obj_put_commit(KAdpConnId* con, dbs_ty_lobj* object, long) {
  adp_obj_kept_texts().clear();
  const bool oracle = adp_db_is_db_oracle() != 0;
  adp_obj_ctx c;
  c.con = con;
  c.object = object;
  c.schema = object->schema;
  // The stamp's old value is kept before the prologue refreshes it.
  if (long st = adp_db_check_conn(con)) return st;
  if (c.schema->flags & ADP_SCH_STRUCTURE) return adp_obj_push(ADP_OBJ_STRUCTURE, 1, object);
  if (long st = typ_sch_gen_to_sp(c.schema, TYP_GENERIC | ADP_GEN_OBJID, &c.oid_index)) return st;
  dbs_db_if_roamer_enabled(con, &c.roamer);
  old_stamp s;
  if (long st = keep_stamp(c, oracle, &s)) return st;
  if (long st = adp_obj_prologue(con, object, false, 0, &c)) return st;
  c.search = 0;
  if (!any_dirty(object)) return 0;
  KAdpSqlBatch* b = nullptr;
  if (long st = begin_update(con, &b)) return st;
  adp_obj_bind_switch binding(con, c.roamer != 0, 1);
  if (oracle) *b << "BEGIN\n";
  long k = 0;
  if (c.roamer) {
    std::string detail;
    if (long st = adp_obj_plain_detail(object, {}, &detail)) return st;
    if (!detail.empty()) {
      b->AppendSqlFormat(adp_obj_phrase(con, kDevReadPhrase), c.table);
      *b << KAdpBindParam(adp_obj_number(c));
      b->AppendSqlFormat(" AND %s = ", s.field->name);
      if (oracle) *b << KAdpBindParam(s.clock) << " ; \n ";
      else *b << KAdpBindParam(adp_obj_keep_text(s.text));
      *b << adp_obj_phrase(con, kDevInsertPhrase) << KAdpBindParam(adp_obj_number(c)) << (oracle ? ", dev+1, dev, " : ", @dev+1, @dev, ")
         << KAdpBindParam(c.table) << ", " << KAdpBindParam(adp_obj_keep_text(detail)) << " ); \n END;\n";
      k = 1;
    }
    std::string cond = std::string(s.field->name) + " = " + (oracle ? s.text : "'" + std::string(s.text) + "'");
    if (long st = adp_obj_increment_rows(b, c, &k, cond)) return st;
  }
  if (long st = update_text(b, c, k, " update %s\n set ", false)) return st;
  *b << "\n";
  if (oracle) {
    b->AppendSqlFormat(" and %s = ", s.field->name);
    *b << KAdpBindParam(s.clock) << "\n";
    if (c.roamer) *b << adp_obj_phrase(con, kStaleRowPhrase);
    *b << " ; " << "END;";
  } else {
    b->AppendSqlFormat(" and %s = '%s'\n", s.field->name, s.text);
    *b << KAdpSqlBatch::kEndStmt;
  }
  if (long st = b->GetStatus()) return st;
  binding.restore();
  long rows = 0;
  long st = adp_obj_run_all(con, b, &rows);
  if (st == DBS_NOT_UNIQUE) {
    adp_obj_alert2();
    long level = 0;
    adp_trn_appl_level(&level);
    if (level > 0) adp_trn_rollback(con);
    return st;
  }
  if (st != 0 && oracle && c.roamer && stale_row_refused()) return stale(c);
  if (st != 0) return st;
  if (!(oracle && c.roamer) && rows == 0) return stale(c);
  adp_sql_free(con, b);
  return adp_trn_commit(con);
}

long adp_obj_put_col(KAdpConnId* con, utl_ty_col* objects) {
  if (long st = adp_db_check_conn(con)) return st;
  long type = 0, n = 0, cap = 0, ext = 0;
  utl_col_info(objects, &type, &n, &cap, &ext, nullptr, nullptr);
  if (n == 0) return 0;
  adp_obj_kept_texts().clear();
  KAdpSqlBatch* b = nullptr;
  if (long st = begin_update(con, &b)) return st;
  bool any = false;
  for (long j = 0; j < n; ++j) {
    void* e = nullptr;
    if (long st = utl_col_ith(objects, j, &e)) return st;
    auto* o = *static_cast<dbs_ty_lobj**>(e);
    if (o->schema->flags & ADP_SCH_STRUCTURE) return 0;
    if (!any_dirty(o)) continue;
    adp_obj_ctx c;
    c.con = con;
    c.object = o;
    c.schema = o->schema;
    dbs_db_if_roamer_enabled(con, &c.roamer);
    adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &c.search);
    if (long st = typ_sch_gen_to_sp(c.schema, TYP_GENERIC | ADP_GEN_OBJID, &c.oid_index)) return st;
    if (long st = adp_sch_dest_tbl_find(o, &c.table)) return st;
    if (long st = typ_sch_put_dirty_timestamp(con, o, 0)) return st;
    if (long st = typ_sch_dirty_update_timestamp(con, o, 1, 0)) return st;
    long k = 0;
    if (c.roamer) {
      std::string detail;
      if (long st = adp_obj_plain_detail(o, {}, &detail)) return st;
      if (!detail.empty()) {
        *b << adp_obj_phrase(con, kPlainRowColPhrase) << KAdpBindParam(c.table) << ", "
           << KAdpBindParam(adp_obj_keep_text(detail));
        b->AppendSqlFormat("\n from %s where %s = ", c.table, oid_name(c));
        *b << KAdpBindParam(adp_obj_number(c)) << "; \n";
        k = 1;
      }
      if (long st = adp_obj_increment_rows(b, c, &k, "")) return st;
    }
    if (long st = update_text(b, c, k, " update %s \n set ", true)) return st;
    *b << "\n" << KAdpSqlBatch::kEndStmt;
    any = true;
  }
  if (any) {
    long rows = 0;
    if (long st = adp_obj_run_all(con, b, &rows)) return st;
  }
  adp_sql_free(con, b);
  return adp_trn_commit(con);
}
