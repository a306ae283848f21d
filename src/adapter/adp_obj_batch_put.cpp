// Batch texts of object rows for the relation write batch: the update of a
// stored row with the foreign keys the batch folds into it, its change rows,
// and the queued condition of a batched update.
#include <cstring>
#include <string>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"

namespace {

constexpr long kDevReadPhrase = 22;
constexpr long kDevStepPhrase = 28;
constexpr long kDevStepsPhrase = 29;
constexpr long kNoRowPhrase = 36;
constexpr long kNullExtra = -1;

// One queued condition: the local object and the two words of its parsed
// condition (count and conditions).
struct cond_entry {
  long words[3];
};

// The detail of the plain changed fields and the folded columns (0 or -1:
// NULL).
long folded_detail(const dbs_ty_lobj* o, const adp_obj_batch_cols& cols, std::string* detail) {
  std::vector<adp_obj_detail_extra> extra;
  for (size_t i = 0; i < cols.id_cols.size(); ++i)
    extra.push_back({cols.id_cols[i], cols.ids[i].num == 0 ? "NULL" : std::to_string(cols.ids[i].num)});
  for (size_t i = 0; i < cols.extra_cols.size(); ++i) {
    const long v = cols.extra_values[i];
    extra.push_back({cols.extra_cols[i], v == kNullExtra ? "NULL" : std::to_string(v)});
  }
  return adp_obj_plain_detail(o, extra, detail);
}

void end_statement(KAdpSqlBatch* b, bool oracle) {
  if (oracle) *b << " ; ";
  else *b << KAdpSqlBatch::kEndStmt;
}

// The change row of the plain fields, read from the row's version.
void dev_block(KAdpSqlBatch* b, const adp_obj_ctx& c, const std::string& detail, bool oracle) {
  b->AppendSqlFormat(adp_obj_phrase(c.con, kDevReadPhrase), c.table);
  *b << KAdpBindParam(adp_obj_number(c)) << "; \n"
     << "INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
     << (oracle ? "VALUES ( " : "SELECT ") << KAdpBindParam(adp_obj_number(c))
     << (oracle ? ", dev+1, dev, " : ", @dev+1, @dev, ") << KAdpBindParam(c.table) << ", "
     << KAdpBindParam(adp_obj_keep_text(detail));
  if (oracle) *b << " ); ";
  *b << "\n END; \n ";
  // SQL Server: the update stays a statement of its own, so that its row
  // count is its own.
  if (!oracle) *b << KAdpSqlBatch::kEndStmt;
}

// The SET list: the dirty fields, then the folded columns.
long set_list(KAdpSqlBatch* b, const adp_obj_ctx& c, const adp_obj_batch_cols& cols, long rows,
              std::vector<dbs_ty_lobj*>* long_texts) {
  bool first = true;
  auto open = [&](bool by_field) {
    if (!first) {
      *b << ",";
      return;
    }
    first = false;
    if (c.roamer && by_field) b->AppendSqlFormat(adp_obj_phrase(c.con, kDevStepsPhrase), c.table, static_cast<int>(rows > 0 ? rows : 1));
    else if (c.roamer) b->AppendSqlFormat(adp_obj_phrase(c.con, kDevStepPhrase), c.table);
    else b->AppendSqlFormat(" update %s\n set ", c.table);
  };
  for (long i = 0; i < c.schema->nfields; ++i) {
    const typ_sch_frec& f = c.schema->fields[i];
    if (!adp_obj_dirty(c.object, i) || adp_obj_is_key(f)) continue;
    open(true);
    b->AppendSqlFormat("%s=", f.name);
    dbs_ty_slot& slot = c.object->slots[i];
    if (adp_obj_defer_long_text(c.con, f, slot, c.object, long_texts)) {
      *b << "NULL";
    } else if (long st = adp_obj_field_save_it(b, &f, &slot, c.object->dirty[i], nullptr)) {
      return st;
    }
    if (c.search && (f.flags & ADP_FLD_SEARCHABLE)) {
      b->AppendSqlFormat(", S_%s = ", f.name);
      if (long st = adp_obj_field_save_it_in_upcase(b, &f, &slot, nullptr)) return st;
    }
  }
  for (size_t i = 0; i < cols.id_cols.size(); ++i) {
    open(false);
    if (cols.ids[i].num == 0) b->AppendSqlFormat("%s=NULL", cols.id_cols[i]);
    else b->AppendSqlFormat("%s=%ld", cols.id_cols[i], cols.ids[i].num);
  }
  for (size_t i = 0; i < cols.extra_cols.size(); ++i) {
    open(false);
    if (cols.extra_values[i] == kNullExtra) b->AppendSqlFormat("%s=NULL", cols.extra_cols[i]);
    else b->AppendSqlFormat("%s=%ld", cols.extra_cols[i], cols.extra_values[i]);
  }
  return b->GetStatus();
}

bool any_change(const dbs_ty_lobj* o, const adp_obj_batch_cols& cols) {
  if (!cols.id_cols.empty() || !cols.extra_cols.empty()) return true;
  for (long i = 0; i < o->schema->nfields; ++i)
    if (adp_obj_dirty(o, i) && !adp_obj_is_key(o->schema->fields[i])) return true;
  return false;
}

}  // namespace

long adp_obj_put_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, const adp_obj_batch_cols& cols,
                     std::vector<dbs_ty_lobj*>* long_texts, char* wrote, char* cond) {
  *wrote = 0;
  *cond = 0;
  adp_obj_ctx c;
  if (long st = adp_obj_prologue(con, object, false, ADP_OBJ_KEEP_TEXTS, &c)) return st;
  if (!any_change(object, cols)) return 0;
  const bool oracle = adp_db_is_db_oracle() != 0;
  // The switch found is put back when the text is written.
  adp_obj_bind_switch binding(con, c.roamer != 0, 1);
  if (oracle) *b << "\nBEGIN\n";
  long k = 0;
  if (c.roamer) {
    std::string detail;
    if (long st = folded_detail(object, cols, &detail)) return st;
    if (!detail.empty()) {
      dev_block(b, c, detail, oracle);
      k = 1;
    }
    if (long st = adp_obj_increment_rows(b, c, &k, "")) return st;
  }
  if (long st = set_list(b, c, cols, k, long_texts)) return st;
  b->AppendSqlFormat("\n where %s = ", c.schema->fields[c.oid_index].name);
  *b << KAdpBindParam(adp_obj_number(c));
  if (long st = adp_obj_get_cond_sql(con, b, object, cond)) return st;
  end_statement(b, oracle);
  if (oracle) *b << "\nEND;\n";
  *wrote = 1;
  return b->GetStatus();
}

long adp_obj_get_cond_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, char* found) {
  if (found != nullptr) *found = 0;
  utl_ty_col* conds = adp_cond_queue();
  long n = 0;
  if (conds == nullptr || utl_col_num(conds, &n) != 0) return 0;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(conds, i, &e)) return st;
    const auto* entry = static_cast<const cond_entry*>(e);
    if (entry->words[0] != reinterpret_cast<long>(object)) continue;
    *b << " AND ";
    adp_ty_qry desc{object->schema->type_id, entry->words[1], reinterpret_cast<void*>(entry->words[2]), 0};
    if (long st = adp_qry_where_parsed(con, b, object->schema, &desc)) return st;
    if (adp_db_is_db_oracle()) *b << adp_obj_phrase(con, kNoRowPhrase);
    if (found != nullptr) *found = 1;
    return b->GetStatus();
  }
  return 0;
}
