// Batch texts of object rows for the relation write batch: the insert of a
// new row with the foreign keys the batch folds into it, and the delete of a
// row with the references to it.
#include <cstring>
#include <string>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_write.h"
#include "store/dbs_db.h"
#include "store/dbs_main.h"

namespace {

constexpr long kChangeRowPhrase = 20;
constexpr long kDevStepPhrase = 28;
constexpr long kLongTextNumber = 9;
constexpr long kTypeMask = 0x1FFFF;
constexpr long kNoCascadeFlag = 4;       // the store's super flag: references are left
constexpr long kSkipUserRels = 2;        // delete option: user relations are left
constexpr long kSkipOtherRels = 1;       // delete option: the other relations are left
constexpr long kNullExtra = -1;

bool listed(const std::vector<const char*>& names, const char* name) {
  for (const char* n : names)
    if (strcasecmp(n, name) == 0) return true;
  return false;
}

bool is_dev(const typ_sch_frec& f) { return strcasecmp(f.name, "dev") == 0; }

void end_statement(KAdpSqlBatch* b, bool oracle) {
  if (oracle) *b << ";\n";
  else *b << KAdpSqlBatch::kEndStmt;
}

void write_number(KAdpSqlBatch* b, long number) {
  if (number == 0) *b << " NULL ";
  else *b << KAdpBindParam(number);
}

bool passed_over(const typ_sch_rel_inst& e, long options) {
  if (dbs_main_get_super_flag() & kNoCascadeFlag) return true;
  const typ_sch_rrec* r = e.rel;
  long n = 0;
  typ_sch_rel_inst** kept = nullptr;
  if (r->fschema != nullptr && adp_obj_row_rels(r->fschema, &n, &kept) == 0) {
    for (long i = 0; i < n; ++i)
      if (kept[i]->rel == r) return true;
  }
  return (e.flags & TYP_REL_USER) ? (options & kSkipUserRels) != 0 : (options & kSkipOtherRels) != 0;
}

// The references of one relation entry to the deleted row.
long clear_references(KAdpConnId* con, KAdpSqlBatch* b, const typ_sch_rel_inst& e, const obj_id& id, long options) {
  const typ_sch_rrec* r = e.rel;
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (adp_rel_kind(r) == ADP_REL_MTM) {
    b->AppendSqlFormat("DELETE FROM %s WHERE %s = ", r->mtm_table, e.side == 'p' ? r->pname : r->fname);
    *b << KAdpBindParam(id.num);
    end_statement(b, oracle);
    return b->GetStatus();
  }
  if (e.side != 'p' || r->fschema == nullptr || passed_over(e, options)) return 0;
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  const char* column = p.focus ? r->phys_name : r->fname;
  const long type_word = id.type & kTypeMask;
  if (p.roamer) {
    const std::string detail = p.focus ? "2 " + std::string(column) + " 4 " + r->focus_field + " 4 NULLNULL"
                                       : "1 " + std::string(column) + " 4 NULL";
    *b << adp_obj_phrase(con, kChangeRowPhrase) << KAdpBindParam(p.table) << ", "
       << KAdpBindParam(adp_obj_keep_text(detail));
    b->AppendSqlFormat("\n from %s where %s = ", p.table, column);
    *b << KAdpBindParam(id.num) << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, kDevStepPhrase), p.table);
    if (p.focus) b->AppendSqlFormat("%s = NULL, %s = NULL WHERE %s = ", column, r->focus_field, column);
    else b->AppendSqlFormat("%s = NULL WHERE %s = ", column, column);
  } else if (p.focus) {
    b->AppendSqlFormat("UPDATE %s SET %s = NULL, %s = NULL WHERE %s = ", p.table, column, r->focus_field, column);
  } else {
    b->AppendSqlFormat("UPDATE %s SET %s = NULL WHERE %s = ", p.table, column, column);
  }
  *b << KAdpBindParam(id.num);
  if (p.focus) {
    b->AppendSqlFormat(" and %s = ", r->focus_field);
    *b << KAdpBindParam(type_word);
  }
  end_statement(b, oracle);
  return b->GetStatus();
}

}  // namespace

bool adp_obj_defer_long_text(KAdpConnId* con, const typ_sch_frec& f, const dbs_ty_slot& slot, dbs_ty_lobj* object,
                             std::vector<dbs_ty_lobj*>* long_texts) {
  if (!adp_db_is_db_oracle() || f.db_type != ADP_KIND_LONG_TEXT || f.data_type != ADP_VT_STRING) return false;
  const char* text = static_cast<const char*>(slot.p);
  const long limit = con->GetDbOperation()->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kLongTextNumber));
  if (text == nullptr || static_cast<long>(std::strlen(text)) <= limit) return false;
  if (long_texts != nullptr) {
    for (dbs_ty_lobj* x : *long_texts)
      if (x == object) return true;
    long_texts->push_back(object);
  }
  return true;
}

long adp_obj_create_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, const adp_obj_batch_cols& cols,
                        std::vector<dbs_ty_lobj*>* long_texts) {
  adp_obj_ctx c;
  if (long st = adp_obj_prologue(con, object, true, ADP_OBJ_KEEP_TEXTS, &c)) return st;
  const bool oracle = adp_db_is_db_oracle() != 0;
  auto written = [&](const typ_sch_frec& f) {
    return (c.roamer || !is_dev(f)) && !listed(cols.id_cols, f.name) && !listed(cols.extra_cols, f.name);
  };
  b->AppendSqlFormat(" insert into %s (", c.table);
  bool first = true;
  for (long i = 0; i < c.schema->nfields; ++i) {
    const typ_sch_frec& f = c.schema->fields[i];
    if (!written(f)) continue;
    b->AppendSqlFormat(first ? "%s" : ",%s", f.name);
    first = false;
    if (c.search && (f.flags & ADP_FLD_SEARCHABLE)) b->AppendSqlFormat(",S_%s", f.name);
  }
  for (const char* n : cols.id_cols) b->AppendSqlFormat(",%s", n);
  for (const char* n : cols.extra_cols) b->AppendSqlFormat(",%s", n);
  *b << ")\n values(";
  first = true;
  for (long i = 0; i < c.schema->nfields; ++i) {
    const typ_sch_frec& f = c.schema->fields[i];
    if (!written(f)) continue;
    if (!first) *b << ",";
    first = false;
    dbs_ty_slot& slot = object->slots[i];
    if (adp_obj_defer_long_text(con, f, slot, object, long_texts)) {
      *b << "NULL";
    } else if (long st = adp_obj_field_save_it(b, &f, &slot, 1, nullptr)) {
      return st;
    }
    if (c.search && (f.flags & ADP_FLD_SEARCHABLE)) {
      *b << ",";
      if (long st = adp_obj_field_save_it_in_upcase(b, &f, &slot, nullptr)) return st;
    }
  }
  for (const obj_id& id : cols.ids) {
    *b << ", ";
    write_number(b, id.num);
  }
  for (long v : cols.extra_values) {
    *b << ", ";
    if (v == kNullExtra) *b << " NULL ";
    else b->AppendSqlFormat(" %ld ", v);
  }
  *b << ")\n";
  if (oracle) *b << ";\n";
  else *b << KAdpSqlBatch::kEndStmt;
  return b->GetStatus();
}

long adp_obj_delete_sql(KAdpConnId* con, KAdpSqlBatch* b, obj_id* id, char from_batch, long options) {
  typ_sch_srec* s = nullptr;
  if (long st = typ_sch_find_handle(id->type & kTypeMask, nullptr, &s)) return st;
  if (s->flags & ADP_SCH_STRUCTURE) return adp_obj_push(ADP_OBJ_DEL_STRUCT, 1, id->num);
  if (from_batch == 0 && !(s->flags & ADP_SCH_DELETABLE)) return adp_obj_push(ADP_OBJ_NO_DELETE, 1, s->info->name);
  const char* table = nullptr;
  if (long st = adp_sch_tbl_find(s->type_id, &table)) return st;
  long oid = -1;
  if (long st = typ_sch_gen_to_sp(s, TYP_GENERIC | ADP_GEN_OBJID, &oid)) return st;
  b->AppendSqlFormat("DELETE FROM %s WHERE %s = ", table, s->fields[oid].name);
  *b << KAdpBindParam(id->num);
  end_statement(b, adp_db_is_db_oracle() != 0);
  for (long i = 0; i < s->nrels; ++i) {
    if (s->rels[i].rel == nullptr) continue;
    if (long st = clear_references(con, b, s->rels[i], *id, options)) return st;
  }
  return b->GetStatus();
}
