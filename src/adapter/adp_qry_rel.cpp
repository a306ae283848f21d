// Relation queries: the link-table form joins target, from and link table;
// the foreign-key form selects the targets whose key (or object id) lies in
// a sub-select of the from objects, or in their listed ids. Relations with
// relation flags are read through their physical-name column and the focus
// column of the table that holds it.
#include "adapter/adp_qry_rel.h"

#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_qry_run.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "core/cmn/cmn_alrt.h"

using namespace adp_qry;

namespace {

constexpr const char* kFromAlias = "T1";
constexpr const char* kTargetAlias = "T2";

KAdpSqlBatch* batch(void* stmt) { return static_cast<KAdpSqlBatch*>(stmt); }
const char* name_of(typ_sch_srec* s) { return s != nullptr && s->info != nullptr ? s->info->name : ""; }

struct rel_parts {
  typ_sch_srec* from = nullptr;
  typ_sch_srec* target = nullptr;
  const char* from_table = nullptr;
  const char* target_table = nullptr;
  long index = 0;
  char side = 0;
  typ_sch_rrec* rel = nullptr;
};

long push(long code, long n, long a = 0, long b = 0, long c = 0) {
  long rc = n == 1 ? cmn_alrt_push(nullptr, nullptr, code, 1, a)
                   : (n == 2 ? cmn_alrt_push(nullptr, nullptr, code, 2, a, b) : cmn_alrt_push(nullptr, nullptr, code, 3, a, b, c));
  (void)rc;
  return code;
}

long look_up(const adp_ty_rel_query& q, rel_parts& p) {
  if (long st = adp_sch_shandle_find(q.from->type_id, &p.from)) return st;
  if (long st = adp_sch_shandle_find(q.target->type_id, &p.target)) return st;
  if (long st = adp_sch_tbl_find(q.from->type_id, &p.from_table)) return st;
  if (long st = adp_sch_tbl_find(q.target->type_id, &p.target_table)) return st;
  if (long st = typ_sch_rel_map(p.from, q.rel_id, &p.index)) return st;
  p.side = p.from->rels[p.index].side;
  p.rel = p.from->rels[p.index].rel;
  if (p.rel == nullptr || (p.side != 'p' && p.side != 'f'))
    return push(ADP_REL_BAD_SIDE, 2, p.index, reinterpret_cast<long>(name_of(p.from)));
  return 0;
}

bool many_to_many(const typ_sch_rrec* r) { return (r->type & ~TYP_REL_INDEX_MARK) == TYP_REL_MTM; }
bool focus(const typ_sch_rrec* r) { return r->exclusive != 0 && r->phys_name != nullptr && r->focus_field != nullptr; }

long where_alias(KAdpConnId* con, void* stmt, typ_sch_srec* s, const char* alias, const adp_ty_qry* d, char parsed) {
  return parsed == 1 ? adp_qry_where_wtbl_name_parsed(con, stmt, s, alias, d)
                     : adp_qry_where_with_tbl_name(con, stmt, s, alias, d);
}
long where_plain(KAdpConnId* con, void* stmt, typ_sch_srec* s, const adp_ty_qry* d, char parsed) {
  return parsed == 1 ? adp_qry_where_parsed(con, stmt, s, d) : adp_qry_where(con, stmt, s, d, 0, 0);
}

long run_statement(KAdpConnId* con, const adp_ty_rel_query& q, const rel_parts& p, void* stmt) {
  if (q.text_into != nullptr) return batch(stmt)->GetStatus();
  const long type = q.target->type_id;
  switch (q.result) {
    case ADP_REL_COUNT: return adp_qry_process_num(con, stmt, type, p.target, q.count);
    case ADP_REL_IDS:
      if (adp_qry_join_open_batch(con, stmt, type, q.out)) return batch(stmt)->GetStatus();
      return adp_qry_process_id(con, stmt, type, p.target, q.limit, q.out);
    default:
      if (q.to_batch == 1 && adp_qry_join_open_batch(con, stmt, type, nullptr)) return batch(stmt)->GetStatus();
      return adp_qry_process(con, stmt, type, p.target, q.limit, q.out);
  }
}

// The target's columns under its alias, as written into a caller's
// statement (dates as the server gives them).
long alias_select_list(KAdpSqlBatch* b, typ_sch_srec* target) {
  *b << "select";
  for (long i = 0; i < target->nfields; ++i) b->AppendSqlFormat(i == 0 ? " %s.%s" : ", %s.%s", kTargetAlias, target->fields[i].name);
  return b->GetStatus();
}

// Link-table form.
long link_query(KAdpConnId* con, const adp_ty_rel_query& q, const rel_parts& p) {
  const typ_sch_rrec* r = p.rel;
  const char* palias = p.side == 'p' ? kFromAlias : kTargetAlias;
  const char* falias = p.side == 'p' ? kTargetAlias : kFromAlias;
  typ_sch_frec* pid = nullptr;
  typ_sch_frec* fid = nullptr;
  typ_sch_frec* tid = nullptr;
  if (long st = objid_of(r->pschema, &pid)) return st;
  if (long st = objid_of(r->fschema, &fid)) return st;
  if (long st = objid_of(p.target, &tid)) return st;
  void* stmt = nullptr;
  long st = 0;
  if (q.result == ADP_REL_COUNT) {
    if ((st = adp_qry_prepare_num(con, q.target->type_id, p.target, &stmt)) != 0) return st;
    batch(stmt)->AppendSqlFormat(" %s, %s %s, %s ", kTargetAlias, p.from_table, kFromAlias, r->mtm_table);
  } else {
    if (q.text_into != nullptr) {
      stmt = q.text_into;
      st = q.result == ADP_REL_OBJECTS ? alias_select_list(batch(stmt), p.target)
                                       : batch(stmt)->AppendSqlFormat("select %s.%s", kTargetAlias, tid->name);
    } else if (q.result == ADP_REL_OBJECTS) {
      st = adp_qry_prepare_with_tbl_name(con, q.target->type_id, p.target, kTargetAlias, &stmt, q.flags);
    } else if ((st = adp_sql_create(con, &stmt)) == 0) {
      batch(stmt)->AppendSqlFormat("select %s.%s", kTargetAlias, tid->name);
    }
    if (st != 0) return st;
    batch(stmt)->AppendSqlFormat("\n from %s %s, %s %s, %s ", p.target_table, kTargetAlias, p.from_table,
                                 kFromAlias, r->mtm_table);
  }
  KAdpSqlBatch* b = batch(stmt);
  b->AppendSqlFormat("\n where %s.%s = %s.%s ", palias, pid->name, r->mtm_table, r->pname);
  b->AppendSqlFormat("AND %s.%s = %s.%s ", falias, fid->name, r->mtm_table, r->fname);
  const char parsed = q.result == ADP_REL_COUNT ? 0 : q.parsed;
  if ((st = where_alias(con, stmt, p.from, kFromAlias, q.from, parsed)) != 0) return st;
  if ((st = where_alias(con, stmt, p.target, kTargetAlias, q.target, parsed)) != 0) return st;
  if (q.result != ADP_REL_COUNT &&
      (st = adp_qry_order_with_tbl_name(con, stmt, p.target, q.norder, q.orders, kTargetAlias)) != 0)
    return st;
  return run_statement(con, q, p, stmt);
}

// Every from condition is an equality on the object id.
bool all_objid_equalities(const adp_ty_rel_query& q, const rel_parts& p) {
  typ_sch_frec* id = nullptr;
  if (objid_of(p.from, &id) != 0) {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_pop(nullptr, &code, &text);
    return false;
  }
  for (long i = 0; i < q.from->count; ++i) {
    long field = 0, op = 0;
    if (q.parsed == 1) {
      const auto& c = static_cast<const adp_ty_qry_pcond*>(q.from->conds)[i];
      field = c.field, op = c.op;
    } else {
      const auto& c = static_cast<const adp_ty_qry_cond*>(q.from->conds)[i];
      field = c.field, op = c.op;
    }
    typ_sch_frec* f = nullptr;
    if (op != ADP_OPR_EQ || field_of(p.from, field, &f) != 0 || f != id) {
      if (op == ADP_OPR_EQ && f == nullptr) {
        long code = 0;
        const char* text = nullptr;
        cmn_alrt_pop(nullptr, &code, &text);
      }
      return false;
    }
  }
  return true;
}

// The from objects are listed by id (an AND list of more than one, unparsed,
// is not a list: it can match one object at most).
bool objid_shortcut(const adp_ty_rel_query& q, const rel_parts& p) {
  if (p.side != 'p' || q.from->count < 1) return false;
  if (q.parsed != 1 && q.from->count > 1 && (q.from->join_flags & ADP_QRY_JOIN_AND) != 0) return false;
  return all_objid_equalities(q, p);
}

// The from side is exactly one object given by its id: its number.
bool one_object(const adp_ty_rel_query& q, const rel_parts& p, long* number) {
  if (q.from->count != 1 || !all_objid_equalities(q, p)) return false;
  *number = q.parsed == 1 ? static_cast<const adp_ty_qry_pcond*>(q.from->conds)[0].value
                          : static_cast<const adp_ty_qry_cond*>(q.from->conds)[0].value;
  return true;
}

long id_list(const adp_ty_rel_query& q, KAdpSqlBatch* b) {
  *b << "(";
  for (long i = 0; i < q.from->count; ++i) {
    if (i > 0) *b << ", ";
    if (q.parsed == 1) b->AppendSqlFormat("%ld", static_cast<const adp_ty_qry_pcond*>(q.from->conds)[i].value);
    else *b << KAdpBindParam(static_cast<const adp_ty_qry_cond*>(q.from->conds)[i].value);
  }
  *b << ")";
  return b->GetStatus();
}

long fk_prepare(KAdpConnId* con, const adp_ty_rel_query& q, const rel_parts& p, void** stmt) {
  if (q.text_into != nullptr) {
    *stmt = q.text_into;
    if (q.result == ADP_REL_OBJECTS) return adp_qry_prepare_sql(con, *stmt, q.target->type_id, p.target, q.flags);
    return adp_qry_prepare_id(con, q.target->type_id, p.target, 0, 0, stmt);
  }
  switch (q.result) {
    case ADP_REL_COUNT: return adp_qry_prepare_num(con, q.target->type_id, p.target, stmt);
    case ADP_REL_IDS: return adp_qry_prepare_id(con, q.target->type_id, p.target, 0, 1, stmt);
    default: return adp_qry_prepare(con, q.target->type_id, p.target, q.flags, stmt);
  }
}

// Foreign-key form.
long fk_query(KAdpConnId* con, const adp_ty_rel_query& q, const rel_parts& p) {
  const typ_sch_rrec* r = p.rel;
  const bool joins = p.side == 'p' ? (r->pschema == p.from && r->fschema == p.target)
                                   : (r->fschema == p.from && r->pschema == p.target);
  if (!joins)
    return push(ADP_REL_NOT_JOINING, 3, reinterpret_cast<long>(name_of(p.from)), q.rel_id,
                reinterpret_cast<long>(name_of(p.target)));
  typ_sch_frec* from_id = nullptr;
  typ_sch_frec* target_id = nullptr;
  if (long st = objid_of(p.from, &from_id)) return st;
  if (long st = objid_of(p.target, &target_id)) return st;
  const char* fk = focus(r) ? r->phys_name : r->fname;
  const char* outer = p.side == 'p' ? fk : target_id->name;
  const char* inner = p.side == 'p' ? from_id->name : fk;
  void* stmt = nullptr;
  if (long st = fk_prepare(con, q, p, &stmt)) return st;
  KAdpSqlBatch* b = batch(stmt);
  if (q.target->count > 0) {
    *b << "\n where (";
    if (long st = where_plain(con, stmt, p.target, q.target, q.parsed)) return st;
    *b << ") \n     AND ";
  } else {
    *b << "\n where ";
  }
  if (q.result == ADP_REL_OBJECTS && q.extra != nullptr) b->AppendSqlFormat(" (%s)\n AND ", q.extra);
  // The focus column lies in the table that holds the key.
  if (focus(r) && p.side == 'p') b->AppendSqlFormat("( %s = %ld ) AND ", r->focus_field, q.from->type_id);
  b->AppendSqlFormat("%s IN ", outer);
  if (objid_shortcut(q, p)) {
    if (long st = id_list(q, b)) return st;
  } else {
    const bool distinct = q.result == ADP_REL_COUNT || q.distinct_sub != 0;
    b->AppendSqlFormat(distinct ? "(select distinct %s \n     from %s" : "(select %s \n     from %s",
                       inner, p.from_table);
    const bool inner_focus = focus(r) && p.side == 'f';
    if (q.from->count > 0) {
      *b << "\n     where ";
      if (long st = where_plain(con, stmt, p.from, q.from, q.parsed)) return st;
      if (inner_focus) b->AppendSqlFormat(" AND ( %s = %ld )", r->focus_field, q.target->type_id);
    } else if (inner_focus) {
      b->AppendSqlFormat("\n     where ( %s = %ld )", r->focus_field, q.target->type_id);
    }
    *b << "\n     )";
  }
  if (q.result != ADP_REL_COUNT) {
    if (long st = adp_qry_order(con, stmt, p.target, q.norder, q.orders)) return st;
  }
  return run_statement(con, q, p, stmt);
}

// The link-table id query of one from object: the link table alone when
// nothing is asked of the targets, else the targets joined to it.
long link_ids_of_one(KAdpConnId* con, const adp_ty_rel_query& q, const rel_parts& p, long number) {
  const typ_sch_rrec* r = p.rel;
  const char* from_col = p.side == 'p' ? r->pname : r->fname;
  const char* target_col = p.side == 'p' ? r->fname : r->pname;
  KAdpSqlBatch* b = batch(q.text_into);
  if (q.target->count <= 0 && q.norder <= 0) {
    b->AppendSqlFormat("select %s", target_col);
    b->AppendSqlFormat("\n from %s ", r->mtm_table);
    b->AppendSqlFormat("\n where %s = %ld ", from_col, number);
    return b->GetStatus();
  }
  typ_sch_frec* tid = nullptr;
  if (long st = objid_of(p.target, &tid)) return st;
  b->AppendSqlFormat("select %s.%s", kTargetAlias, tid->name);
  b->AppendSqlFormat("\n from %s %s, %s ", p.target_table, kTargetAlias, r->mtm_table);
  b->AppendSqlFormat("\n where %s.%s = %s.%s ", kTargetAlias, tid->name, r->mtm_table, target_col);
  b->AppendSqlFormat("\n AND ( %s.%s = %ld )", r->mtm_table, from_col, number);
  if (long st = where_alias(con, q.text_into, p.target, kTargetAlias, q.target, q.parsed)) return st;
  if (long st = adp_qry_order_with_tbl_name(con, q.text_into, p.target, q.norder, q.orders, kTargetAlias)) return st;
  return b->GetStatus();
}

}  // namespace

long adp_qry_rel_text(KAdpConnId* con, const adp_ty_rel_query& q) {
  if (q.text_into == nullptr || q.result == ADP_REL_COUNT) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_SQL_NULL_POINTER, 0);
    (void)rc;
    return ADP_SQL_NULL_POINTER;
  }
  rel_parts p;
  if (long st = look_up(q, p)) return st;
  return adp_err_guard([&]() -> long {
    if (!many_to_many(p.rel)) return fk_query(con, q, p);
    long number = 0;
    if (q.result == ADP_REL_IDS && one_object(q, p, &number)) return link_ids_of_one(con, q, p, number);
    return link_query(con, q, p);
  });
}

long adp_qry_rel_run(KAdpConnId* con, const adp_ty_rel_query& q) {
  rel_parts p;
  if (long st = look_up(q, p)) return st;
  const bool mtm = many_to_many(p.rel);
  if (mtm && q.extra != nullptr) return push(ADP_REL_MTM_EXTRA, 1, reinterpret_cast<long>(p.rel->pname));
  if (q.extra != nullptr && !adp_qry_sql_text_is_safe(q.extra)) return push(ADP_QRY_REFUSED, 1, reinterpret_cast<long>(q.extra));
  return adp_qry_with_retry(con, [&]() -> long {
    return adp_err_guard([&] { return mtm ? link_query(con, q, p) : fk_query(con, q, p); });
  });
}
